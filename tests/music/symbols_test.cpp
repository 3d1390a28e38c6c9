#include <gtest/gtest.h>

#include <cmath>

#include "music/noteplay.h"
#include "scorebuilder.h"

// Semitones above A 440 worked out by hand from the clef's middle line,
// the height and the octave shift.
TEST(TNote, PeriodUnderEveryClefAndOctaveShift) {
  const struct {
    std::int8_t clef;
    std::int32_t octaves, height, semitones;
  } cases[] = {
      {keyKindG, 0, -1, 0},           // A4, the A above middle C
      {keyKindG, 0, 0, 2},            // B4
      {keyKindC, 0, 0, -9},           // middle C
      {keyKindF, 0, 0, -19},          // D3
      {keyKindG, 1, -1, 12},          // A5
      {keyKindF, -2, 0, -43},         // D1
      {keyKindC, 0, -8, -22},         // B2
      {keyKindG, 2, 22, 12 * 5 + 3},  // pitch 6 + 14 + 22 = 42: C9
  };
  for (const auto& c : cases) {
    auto s = score().stave(c.clef, c.octaves).note(0, 4, c.height);
    const TNoteNote* note = NoteAt(s.doc(), 0, c.height);
    EXPECT_EQ(note->GetSemitonesFromA(), c.semitones) << int{c.clef} << ' ' << c.height;
    EXPECT_DOUBLE_EQ(note->GetPeriod(), 1 / (440 * std::pow(2.0, c.semitones / 12.0)));
  }
  EXPECT_DOUBLE_EQ(NoteAt(score().stave(keyKindG).note(0, 4, -1).doc(), 0, -1)->GetPeriod(),
                   1.0 / 440);
  EXPECT_NEAR(1 / NoteAt(score().stave(keyKindC).note(0, 4, 0).doc(), 0, 0)->GetPeriod(), 261.626,
              1e-3);
}

TEST(NoteValue, DotsAddHalves) {
  EXPECT_EQ(NoteValue(4, 0), 0.25);
  EXPECT_EQ(NoteValue(4, 1), 0.375);
  EXPECT_EQ(NoteValue(2, 3), 15.0 / 16);
  EXPECT_EQ(NoteValue(64, 0), 1.0 / 64);
  EXPECT_EQ(NoteValue(1, 2), 1.75);
}

TEST(TMuzBar, BarEndIsARealQuotient) {
  const TMuzBar threeFour(4, 3, 0, 0);
  EXPECT_EQ(threeFour.GetBarEnd(0), 0.75);
  EXPECT_EQ(threeFour.GetBarEnd(0.75), 1.5);
  EXPECT_EQ(threeFour.GetBarEnd(0.8), 1.5);
  EXPECT_EQ(TMuzBar(8, 6, 0, 0).GetBarEnd(0.5), 0.75);
  EXPECT_EQ(TMuzBar(4, 4, 0.125, 0).GetBarEnd(0.5), 1.125);
}

// G clef with F# in the key; a natural before the F at 0.25 holds to the
// bar end, on that height only.
TEST(TNote, AccidentalsInEffectAfterKeyAndBar) {
  auto s = score()
               .stave(keyKindG)
               .sig(noteShiftKruis, 4)
               .note(0, 4, -3)
               .shift(0.25, -3, noteShiftNormal)
               .note(0.25, 4, -3)
               .note(0.5, 4, -3)
               .note(0.5, 4, 4)
               .note(0.75, 4, -2)
               .note(1, 4, -3);
  const TUnitMuz& doc = s.doc();
  const struct {
    double position;
    std::int32_t height;
    std::uint8_t at, before;
    bool written;
  } cases[] = {
      {0, -3, noteShiftKruis, noteShiftKruis, false},      // F4 from the key
      {0.25, -3, noteShiftNormal, noteShiftKruis, true},   // its own natural
      {0.5, -3, noteShiftNormal, noteShiftNormal, false},  // the natural holds
      {0.5, 4, noteShiftKruis, noteShiftKruis, false},     // F5: another height
      {0.75, -2, noteShiftNormal, noteShiftNormal, false},
      {1, -3, noteShiftKruis, noteShiftKruis, false},  // at the bar end: the key again
  };
  for (const auto& c : cases) {
    const TNoteNote* note = NoteAt(doc, c.position, c.height);
    EXPECT_EQ(note->GetNoteShiftKindInEffect(), c.at) << c.position << ' ' << c.height;
    EXPECT_EQ(note->GetNoteShiftKindBefore(), c.before) << c.position << ' ' << c.height;
    EXPECT_EQ(note->GetNoteShiftWritten() != nullptr, c.written);
  }
  // F#4 is three semitones below A4.
  EXPECT_EQ(NoteAt(doc, 0, -3)->GetSemitonesFromA(), -3);
}

TEST(TNote, AKeyOnAnotherStaveDoesNotCancelAnAccidental) {
  auto s = score()
               .stave(keyKindG)
               .shift(0, -3, noteShiftKruis)
               .note(0, 4, -3)
               .note(0.75, 4, -3)
               .stave(keyKindG)
               .key(0.5, keyKindC);
  EXPECT_EQ(NoteAt(s.doc(), 0.75, -3)->GetNoteShiftKindInEffect(), noteShiftKruis);
}

TEST(TKey, ToonLadderCountsValidSignatures) {
  using Sig = std::vector<std::pair<std::uint8_t, std::int32_t>>;
  const std::uint8_t S = noteShiftKruis, b = noteShiftMol;
  const struct {
    std::int8_t clef;
    Sig signature;
    bool valid;
    std::int32_t count;
  } cases[] = {
      {keyKindG, {}, true, 0},
      {keyKindG, {{S, 4}}, true, 1},
      {keyKindG, {{S, 4}, {S, 1}}, true, 2},
      {keyKindG, {{S, 1}}, false, 0},  // C# without F#
      {keyKindG, {{b, 0}, {b, 3}}, true, -2},
      {keyKindG, {{S, 4}, {b, 0}}, false, 0},
      {keyKindG, {{S, 4}, {S, 1}, {S, 5}, {S, 2}, {S, -1}, {S, 3}, {S, 0}}, true, 7},
      {keyKindF, {{S, 2}}, true, 1},
      {keyKindC, {{b, -1}}, true, -1},
  };
  for (const auto& c : cases) {
    auto s = score().stave(c.clef);
    for (const auto& [kind, height] : c.signature) s.sig(kind, height);
    const auto* key = static_cast<const TKey*>(s.doc().GetFirstSymbol());
    std::int32_t count = 99;
    EXPECT_EQ(key->ToonLadder(count), c.valid) << Chain(s.doc());
    if (c.valid) {
      EXPECT_EQ(count, c.count) << Chain(s.doc());
    }
  }
}

// Inserted in a scrambled order, the chain comes out in time order: keys
// by sequence number each with its signature, the bar, accidentals, notes
// highest first over all staves, rests last. Equal symbols (the two keys
// at 0) keep the later one first: it goes after those that come before it.
TEST(Chain, InsertionKeepsTheOrder) {
  auto s = score()
               .stave(keyKindG)
               .rest(0.5, 4)
               .note(0, 4, -3)
               .key(0.5, keyKindC, 2)
               .sig(noteShiftMol, -1)
               .key(0.5, keyKindF, 1)
               .sig(noteShiftKruis, 2)
               .note(0, 4, 2)
               .shift(0, -3, noteShiftKruis)
               .shift(0, 2, noteShiftMol)
               .stave(keyKindF)
               .note(0, 4, 0);
  EXPECT_EQ(Chain(s.doc()),
            "2K(F,0) 1K(G,0) B(4/4) 1a(#,-3,0) 1a(b,2,0) 1N(4,0,h2) 2N(4,0,h0) 1N(4,0,h-3) "
            "1K(F,0.5) 1k(#,2) 1K(C,0.5,#2) 1k(b,-1) 1R(4,0.5)");
}

TEST(TNoteStave, ColumnWalksLeaveTheChord) {
  auto s = score().stave(keyKindG).note(0, 4, 2).note(0, 4, 0).note(0.25, 4, 1);
  const TUnitMuz& doc = s.doc();
  const TNoteStave* stave = doc.GetStartStave();
  TNoteNote* high = NoteAt(doc, 0, 2);
  TNoteNote* low = NoteAt(doc, 0, 0);
  TNoteNote* next = NoteAt(doc, 0.25, 1);
  EXPECT_EQ(stave->NextColumn(low), next);
  EXPECT_EQ(stave->NextColumn(high), next);
  EXPECT_EQ(stave->NextSymbol(high), low);
  EXPECT_EQ(stave->PreviousColumn(low), doc.GetBar());
  EXPECT_EQ(stave->NextColumn(next), nullptr);
  EXPECT_EQ(stave->NearestSymbol(0.2), next);
  EXPECT_EQ(stave->NearestSymbol(0.125), doc.GetFirstSymbol());  // a tie: the first
}

TEST(TNoteStave, GroupListAndStickDirection) {
  auto s = score().stave(keyKindG);
  TUnitMuz& doc = s.doc();
  TNoteStave* stave = doc.GetStartStave();
  TNoteGroup* first = stave->GetStartNoteGroup();
  stave->InsertNoteGroup(nullptr,
                         std::make_unique<TNoteGroup>(stave, NewDefaultCompoundPlayer(&doc), 0xFF,
                                                      noteShapeRectangle, drawStickUp));
  TNoteGroup* added = stave->GetStartNoteGroup();
  EXPECT_NE(added, first);
  EXPECT_EQ(added->GetNext(), first);
  EXPECT_EQ(stave->GetPreviousNoteGroup(first), added);
  EXPECT_EQ(stave->GetPreviousNoteGroup(added), nullptr);
  EXPECT_EQ(stave->GetStickDirection(*added), drawStickAuto);
  stave->SetAutoStick(false);
  EXPECT_EQ(stave->GetStickDirection(*added), drawStickUp);
  EXPECT_EQ(stave->GetStickDirection(*first), drawStickDown);
}
