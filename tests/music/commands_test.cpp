#include <gtest/gtest.h>

#include <functional>

#include "music/noteplay.h"
#include "scorebuilder.h"

namespace {

// Edit mode with `symbol` selected, the document saved and notes recorded.
struct Editing {
  explicit Editing(ScoreBuilder&& builder) : doc(builder.release()) {
    doc->SetNotePlayback(&played);
    doc->MusicAutoPlayExecute();
    doc->MusicModeEditExecute();
    doc->SetSaved();
  }
  void Select(TStaveSymbol* symbol) { doc->SetSelected(symbol); }
  std::string chain() const { return Chain(*doc); }

  PlaybackRecorder played;
  std::unique_ptr<TUnitMuz> doc;
};

}  // namespace

TEST(TUnitMuz, NewScoreDefaults) {
  TUnitMuz doc("NONAME1");
  doc.InitNew();
  EXPECT_EQ(Chain(doc), "K(F,0) B(4/4)");
  const TNoteStave* stave = doc.GetStartStave();
  EXPECT_EQ(doc.CountStaves(), 1);
  EXPECT_EQ(stave->RoomUp.GetValue(), 80);
  EXPECT_EQ(stave->RoomDown.GetValue(), 80);
  ASSERT_EQ(stave->CountNoteGroups(), 1);
  const TNoteGroup* group = stave->GetStartNoteGroup();
  EXPECT_EQ(stave->GetSelectedNoteGroup(), group);
  EXPECT_EQ(group->NoteColor, 0u);
  EXPECT_EQ(group->GetShape(), noteShapeNormal);
  EXPECT_EQ(group->GetStickDirection(), drawStickDown);
  ASSERT_EQ(group->GetPlayer()->CountPlayers(), 1);
  const TOnePlayerProps& player = group->GetPlayer()->GetStartOnePlayer()->GetProps();
  EXPECT_EQ(player.NotePlayerKind, notePlayerRollOutSampler);
  EXPECT_EQ(player.RollOutSampler.SampleWave.GetName(), "sample");
  EXPECT_DOUBLE_EQ(player.RollOutSampler.BasicFreq.GetValue(), 0.001);
  EXPECT_EQ(player.VolumeFactor.GetValue(), 0.5);
  EXPECT_EQ(doc.GetFrequency(), 22050);
  EXPECT_EQ(doc.GetMonoStereo(), 1);
  EXPECT_EQ(doc.GetBytesPSample(), 2);
  EXPECT_EQ(doc.GetUnitMuzMode(), unitMuzAdd);
  EXPECT_EQ(doc.GetSelectedSymbol(), nullptr);
  EXPECT_TRUE(doc.IsNew());
}

TEST(MusicNote, BarKeepsItsDurationAsFarAsWholeCountsAllow) {
  const struct {
    std::int32_t count;
    std::uint8_t length;
    std::int32_t newLength, newCount;
  } cases[] = {
      {4, 4, 8, 8},   {4, 4, 2, 2},   {1, 1, 64, 64}, {3, 4, 2, 2},  // 1.5 rounds up, not 3*2/4 = 1
      {99, 4, 1, 25}, {60, 4, 8, 99}, {99, 64, 1, 2},
  };
  for (const auto& c : cases) {
    Editing e(score(c.count, c.length).stave(keyKindG));
    e.Select(e.doc->GetBar());
    e.doc->MusicNoteExecute(c.newLength);
    EXPECT_EQ(e.doc->GetBar()->GetCountNotes(), c.newCount) << c.count << '/' << int{c.length};
    EXPECT_EQ(e.doc->GetBar()->GetNoteLength(), c.newLength);
    EXPECT_EQ(e.doc->GetState(), TUnitState::Changed);
  }
}

TEST(MusicNote, LengthOfAChordShiftsOnlyItsStave) {
  Editing e(score()
                .stave(keyKindG)
                .note(0, 4, 2)
                .note(0, 4, 0)
                .note(0.25, 4, 1)
                .rest(0.5, 4)
                .stave(keyKindF)
                .note(0.25, 4, 0));
  e.Select(NoteAt(*e.doc, 0, 0));
  e.doc->MusicNoteExecute(2);
  EXPECT_EQ(e.chain(),
            "2K(F,0) 1K(G,0) B(4/4) 1N(2,0,h2) 1N(2,0,h0) 2N(4,0.25,h0) 1N(4,0.5,h1) 1R(4,0.75)");
  EXPECT_EQ(e.played.heights, std::vector<std::int32_t>{0});
  EXPECT_EQ(e.played.tempos, std::vector<double>{2.0});
  EXPECT_EQ(e.doc->GetState(), TUnitState::Changed);
}

TEST(MusicSilence, NoteBecomesRestAndBackFollowersKeepTheirPitch) {
  Editing e(score()
                .stave(keyKindG)
                .note(0, 4, 0)
                .shift(0.25, -3, noteShiftKruis)
                .note(0.25, 4, -3)
                .note(0.5, 4, -3)
                .note(0.75, 4, 0));
  e.Select(NoteAt(*e.doc, 0.25, -3));
  e.doc->MusicSilenceExecute(2);
  // The F# at 0.5 lost the sharp before it: it is written at its new place.
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) N(4,0,h0) R(2,0.25) a(#,-3,0.75) N(4,0.75,h-3) N(4,1,h0)");
  EXPECT_EQ(Sounding(*e.doc), (std::vector<std::int32_t>{2, -3, 2}));
  ASSERT_EQ(e.doc->GetSelectedSymbol()->GetStaveSymbolKind(), staveSilence);

  e.doc->MusicNoteExecute(4);
  EXPECT_EQ(e.chain(),
            "K(G,0) B(4/4) N(4,0,h0) N(4,0.25,h0) a(#,-3,0.5) N(4,0.5,h-3) N(4,0.75,h0)");
  EXPECT_EQ(e.doc->GetSelectedSymbol(), NoteAt(*e.doc, 0.25, 0));
}

TEST(MusicPoint, DotsUpToThreeAndTheBarCount) {
  Editing e(score(99, 4).stave(keyKindG).note(0, 4, 0).note(0.25, 4, 1));
  e.Select(NoteAt(*e.doc, 0, 0));
  for (int i = 0; i < 3; ++i) e.doc->MusicPointAddExecute();
  EXPECT_EQ(e.chain(), "K(G,0) B(99/4) N(4...,0,h0) N(4,0.46875,h1)");
  EXPECT_FALSE(e.doc->CanMusicPointAddExecute());
  for (int i = 0; i < 3; ++i) e.doc->MusicPointDeleteExecute();
  EXPECT_EQ(e.chain(), "K(G,0) B(99/4) N(4,0,h0) N(4,0.25,h1)");
  EXPECT_FALSE(e.doc->CanMusicPointDeleteExecute());

  e.Select(e.doc->GetBar());
  EXPECT_FALSE(e.doc->CanMusicPointAddExecute());
  e.doc->MusicPointDeleteExecute();
  EXPECT_EQ(e.doc->GetBar()->GetCountNotes(), 98);

  e.doc->MusicModeAddExecute();
  for (int i = 0; i < 3; ++i) e.doc->MusicPointAddExecute();
  EXPECT_EQ(e.doc->GetAddPoints(), 3);
  EXPECT_FALSE(e.doc->CanMusicPointAddExecute());
}

TEST(AddSymbol, NotesRestsAndKeysGoInAtTheGap) {
  Editing e(score().stave(keyKindG).note(0, 4, 0).note(0.25, 4, 1));
  TUnitMuz& doc = *e.doc;
  TNoteStave* stave = doc.GetStartStave();
  doc.MusicModeAddExecute();
  doc.MusicNoteExecute(8);
  doc.AddSymbol(stave, nullptr, NoteAt(doc, 0, 0), NoteAt(doc, 0.25, 1), 3);
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) N(4,0,h0) N(8,0.25,h3) N(4,0.375,h1)");
  EXPECT_EQ(e.played.heights, std::vector<std::int32_t>{3});

  // Into a chord: a free height within the range of the clef.
  TNoteNote* chord = NoteAt(doc, 0, 0);
  EXPECT_FALSE(doc.CanAddSymbol(stave, chord, nullptr, nullptr, 0));
  EXPECT_FALSE(doc.CanAddSymbol(stave, chord, nullptr, nullptr, 38));  // pitch 44
  EXPECT_TRUE(doc.CanAddSymbol(stave, chord, nullptr, nullptr, 37));
  doc.AddSymbol(stave, chord, nullptr, nullptr, 2);
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) N(4,0,h2) N(4,0,h0) N(8,0.25,h3) N(4,0.375,h1)");

  doc.MusicSilenceExecute(2);
  doc.AddSymbol(stave, nullptr, NoteAt(doc, 0.375, 1), nullptr, 0);
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) N(4,0,h2) N(4,0,h0) N(8,0.25,h3) N(4,0.375,h1) R(2,0.625)");

  // No key at 0, and a note or rest needs the bar before the gap.
  doc.MusicKeyCExecute();
  EXPECT_FALSE(doc.CanAddSymbol(stave, nullptr, doc.GetFirstSymbol(), doc.GetBar(), 0));
  doc.MusicNoteExecute(4);
  EXPECT_FALSE(doc.CanAddSymbol(stave, nullptr, doc.GetFirstSymbol(), doc.GetBar(), 0));
  EXPECT_TRUE(doc.CanAddSymbol(stave, nullptr, doc.GetBar(), NoteAt(doc, 0, 2), 0));
}

TEST(AddSymbol, ANewClefKeepsTheNotesSounding) {
  Editing e(score().stave(keyKindG).sig(noteShiftKruis, 4).note(0, 4, -3).note(0.25, 4, -3));
  TUnitMuz& doc = *e.doc;
  doc.MusicModeAddExecute();
  doc.MusicKeyFExecute();
  doc.AddSymbol(doc.GetStartStave(), nullptr, NoteAt(doc, 0, -3), NoteAt(doc, 0.25, -3), 0);
  // F#4 under the F clef: height 3 + 6, the sharp written as the new key has none.
  EXPECT_EQ(e.chain(), "K(G,0) k(#,4) B(4/4) N(4,0,h-3) K(F,0.25) a(#,9,0.25) N(4,0.25,h9)");
  EXPECT_EQ(Sounding(doc), (std::vector<std::int32_t>{-3, -3}));
}

TEST(AddSymbol, AKeyBeforeKeysAtItsPlaceNumbersThemOn) {
  Editing e(score().stave(keyKindG).key(0.5, keyKindC).sig(noteShiftMol, -1).note(0.5, 4, 0));
  TUnitMuz& doc = *e.doc;
  doc.MusicModeAddExecute();
  doc.MusicKeyGExecute();
  TStaveSymbol* cKey = NoteAt(doc, 0.5, 0)->GetKey();
  doc.AddSymbol(doc.GetStartStave(), nullptr, doc.GetBar(), cKey, 0);
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) K(G,0.5) K(C,0.5,#2) k(b,-1) N(4,0.5,h0)");
  std::int32_t count = 0;
  EXPECT_TRUE(static_cast<TKey*>(cKey)->ToonLadder(count));
  EXPECT_EQ(count, -1);
}

TEST(KeyNoteShift, SharpsRemoveFlatsThenAddInOrder) {
  Editing e(score().stave(keyKindG).sig(noteShiftMol, 0).sig(noteShiftMol, 3).note(0, 4, 3));
  TUnitMuz& doc = *e.doc;
  e.Select(doc.GetFirstSymbol());
  const std::vector<std::int32_t> sounding = Sounding(doc);  // E flat
  doc.MusicNoteShiftExecute(noteShiftKruis);
  EXPECT_EQ(e.chain(), "K(G,0) k(b,0) B(4/4) a(b,3,0) N(4,0,h3)");
  doc.MusicNoteShiftExecute(noteShiftKruis);
  doc.MusicNoteShiftExecute(noteShiftKruis);
  doc.MusicNoteShiftExecute(noteShiftKruis);
  EXPECT_EQ(e.chain(), "K(G,0) k(#,4) k(#,1) B(4/4) a(b,3,0) N(4,0,h3)");
  EXPECT_EQ(Sounding(doc), sounding);
  for (int i = 0; i < 5; ++i) doc.MusicNoteShiftExecute(noteShiftKruis);
  std::int32_t count = 0;
  EXPECT_TRUE(static_cast<TKey*>(doc.GetFirstSymbol())->ToonLadder(count));
  EXPECT_EQ(count, 7);
  EXPECT_FALSE(doc.CanMusicNoteShiftExecute(noteShiftKruis));
  EXPECT_FALSE(doc.CanMusicNoteShiftExecute(noteShiftNormal));
  EXPECT_TRUE(doc.CanMusicNoteShiftExecute(noteShiftMol));
  EXPECT_EQ(Sounding(doc), sounding);
}

TEST(ChangeKey, ClefAndOctaveKeepPitchAndMoveTheSignature) {
  Editing e(score().stave(keyKindG).sig(noteShiftKruis, 4).note(0, 4, -3).note(0.25, 4, 4));
  TUnitMuz& doc = *e.doc;
  e.Select(doc.GetFirstSymbol());
  doc.MusicKeyFExecute();
  EXPECT_EQ(e.chain(), "K(F,0) k(#,2) B(4/4) N(4,0,h9) N(4,0.25,h16)");
  doc.MusicMoveOctUpExecute();
  EXPECT_EQ(e.chain(), "K(F+1,0) k(#,2) B(4/4) N(4,0,h2) N(4,0.25,h9)");
  EXPECT_EQ(Sounding(doc), (std::vector<std::int32_t>{-3, 9}));
  doc.MusicMoveOctUpExecute();
  EXPECT_FALSE(doc.CanMusicMoveOctUpExecute());
}

TEST(NoteAccidental, LaterNotesOfTheBarKeepTheirPitch) {
  Editing e(score().stave(keyKindG).note(0, 4, -3).note(0.5, 4, -3).note(1, 4, -3));
  TUnitMuz& doc = *e.doc;
  e.Select(NoteAt(doc, 0, -3));
  doc.MusicNoteShiftExecute(noteShiftKruis);
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) a(#,-3,0) N(4,0,h-3) a(n,-3,0.5) N(4,0.5,h-3) N(4,1,h-3)");
  EXPECT_EQ(Sounding(doc), (std::vector<std::int32_t>{-3, -4, -4}));
  doc.MusicNoteShiftExecute(noteShiftNormal);
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) N(4,0,h-3) N(4,0.5,h-3) N(4,1,h-3)");
  EXPECT_EQ(e.played.heights.size(), 2u);
}

TEST(MoveNote, StepsSkipTheChordAndStayInRange) {
  Editing e(score().stave(keyKindG).note(0, 4, 0).note(0, 4, 1).note(0, 4, 3).note(1, 4, 37));
  TUnitMuz& doc = *e.doc;
  TNoteNote* note = NoteAt(doc, 0, 0);
  e.Select(note);
  doc.MusicMoveUpExecute();
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) N(4,0,h3) N(4,0,h2) N(4,0,h1) N(4,1,h37)");
  EXPECT_EQ(doc.GetSelectedSymbol(), note);
  doc.MusicMoveDownExecute();
  doc.MusicMoveOctUpExecute();
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) N(4,0,h7) N(4,0,h3) N(4,0,h1) N(4,1,h37)");
  EXPECT_EQ(e.played.heights, (std::vector<std::int32_t>{2, 0, 7}));

  e.Select(NoteAt(doc, 1, 37));  // pitch 43, the highest
  EXPECT_FALSE(doc.CanMusicMoveUpExecute());
  EXPECT_FALSE(doc.CanMusicMoveOctUpExecute());
  EXPECT_TRUE(doc.CanMusicMoveDownExecute());
}

TEST(Select, ChordColumnsAndTheBar) {
  Editing e(score().stave(keyKindG).note(0, 4, 3).note(0, 4, 1).note(0.25, 4, 0));
  TUnitMuz& doc = *e.doc;
  TNoteNote* high = NoteAt(doc, 0, 3);
  TNoteNote* low = NoteAt(doc, 0, 1);
  e.Select(low);
  doc.MusicSelectUpExecute();
  EXPECT_EQ(doc.GetSelectedSymbol(), high);
  EXPECT_FALSE(doc.CanMusicSelectUpExecute());
  doc.MusicSelectNextExecute();
  EXPECT_EQ(doc.GetSelectedSymbol(), NoteAt(doc, 0.25, 0));
  EXPECT_FALSE(doc.CanMusicSelectNextExecute());
  doc.MusicSelectPrevExecute();
  EXPECT_EQ(doc.GetSelectedSymbol(), low);
  doc.MusicSelectPrevExecute();
  EXPECT_EQ(doc.GetSelectedSymbol(), doc.GetBar());
  EXPECT_EQ(doc.GetCurrentStave(), doc.GetStartStave());
  doc.MusicSelectPrevExecute();
  EXPECT_EQ(doc.GetSelectedSymbol(), doc.GetFirstSymbol());
  EXPECT_FALSE(doc.CanMusicSelectPrevExecute());
}

TEST(MoveColumn, NotesExchangeAndKeepTheirPitch) {
  Editing e(score()
                .stave(keyKindG)
                .shift(0, -3, noteShiftKruis)
                .note(0, 4, -3)
                .note(0.25, 8, -3)
                .note(0.5, 4, 0));
  TUnitMuz& doc = *e.doc;
  TNoteNote* eighth = NoteAt(doc, 0.25, -3);
  e.Select(eighth);
  doc.MusicMovePrevExecute();
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) a(#,-3,0) N(8,0,h-3) N(4,0.125,h-3) N(4,0.5,h0)");
  EXPECT_EQ(Sounding(doc), (std::vector<std::int32_t>{-3, -3, 2}));
  EXPECT_EQ(doc.GetSelectedSymbol(), eighth);
  EXPECT_FALSE(doc.CanMusicMovePrevExecute());  // nothing before it but the bar
}

TEST(MoveColumn, KeysSwitchAndMovePastNotes) {
  Editing e(score().stave(keyKindG).key(0, keyKindC, 2).note(0, 4, 0));
  TUnitMuz& doc = *e.doc;
  TStaveSymbol* cKey = doc.GetFirstSymbol()->GetNext();
  e.Select(cKey);
  doc.MusicMovePrevExecute();
  EXPECT_EQ(e.chain(), "K(C,0) K(G,0,#2) B(4/4) N(4,0,h-6)");

  Editing f(score().stave(keyKindG).note(0, 4, 0).key(0.25, keyKindC).note(0.25, 4, 0));
  TUnitMuz& doc2 = *f.doc;
  TKey* key = NoteAt(doc2, 0.25, 0)->GetKey();
  f.Select(key);
  doc2.MusicMovePrevExecute();
  EXPECT_EQ(f.chain(), "K(G,0) K(C,0,#2) B(4/4) N(4,0,h6) N(4,0.25,h0)");
  doc2.MusicMoveNextExecute();
  EXPECT_EQ(f.chain(), "K(G,0) B(4/4) N(4,0,h0) K(C,0.25) N(4,0.25,h0)");
  EXPECT_EQ(doc2.GetSelectedSymbol(), key);
}

TEST(NoteGroup, NoteMovesToTheNeighbourGroup) {
  Editing e(score().stave(keyKindG).note(0, 4, 0).group().note(0.25, 4, 1));
  TUnitMuz& doc = *e.doc;
  TNoteNote* note = NoteAt(doc, 0.25, 1);
  TNoteStave* stave = doc.GetStartStave();
  e.Select(note);
  EXPECT_FALSE(doc.CanMusicNoteGroupNextExecute());
  doc.MusicNoteGroupPrevExecute();
  EXPECT_EQ(note->GetNoteGroup(), stave->GetStartNoteGroup());
  EXPECT_EQ(stave->GetSelectedNoteGroup(), stave->GetStartNoteGroup());
  EXPECT_TRUE(doc.CanMusicNoteGroupNextExecute());
  EXPECT_EQ(e.played.heights, std::vector<std::int32_t>{1});
}

TEST(DeleteNoteGroup, GapsBecomeTheLongestRestsThatFit) {
  auto s = score()
               .stave(keyKindG)
               .note(0, 4, 0)
               .note(1, 4, 0)
               .group()
               .note(0.25, 4, 1, 1)
               .note(0.625, 8, 2);
  TUnitMuz& doc = s.doc();
  TNoteStave* stave = doc.GetStartStave();
  doc.DeleteNoteGroup(stave->GetStartNoteGroup()->GetNext());
  // 0.25 ... 1: a whole does not fit, a half does, then a quarter.
  EXPECT_EQ(Chain(doc), "K(G,0) B(4/4) N(4,0,h0) R(2,0.25) R(4,0.75) N(4,1,h0)");
  EXPECT_EQ(stave->CountNoteGroups(), 1);
  EXPECT_EQ(stave->GetSelectedNoteGroup(), stave->GetStartNoteGroup());
}

TEST(Delete, ShiftsBackAndSelectsANeighbour) {
  Editing e(score().stave(keyKindG).note(0, 4, 0).note(0.25, 4, 1).rest(0.5, 2));
  TUnitMuz& doc = *e.doc;
  e.Select(doc.GetFirstSymbol());
  EXPECT_FALSE(doc.CanMusicDeleteExecute());  // the only key at 0
  e.Select(doc.GetBar());
  EXPECT_FALSE(doc.CanMusicDeleteExecute());
  e.Select(NoteAt(doc, 0.25, 1));
  doc.MusicDeleteExecute();
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) N(4,0,h0) R(2,0.25)");
  ASSERT_EQ(doc.GetSelectedSymbol(), SymbolAt(doc, 3));
  doc.MusicDeleteExecute();
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) N(4,0,h0)");
  EXPECT_EQ(doc.GetSelectedSymbol(), NoteAt(doc, 0, 0));
}

TEST(Delete, AKeyGoesWithItsSignatureNotesKeepTheirPitch) {
  Editing e(score()
                .stave(keyKindG)
                .note(0, 4, 0)
                .key(0.25, keyKindF)
                .sig(noteShiftKruis, 2)
                .note(0.25, 4, 2));
  TUnitMuz& doc = *e.doc;
  e.Select(NoteAt(doc, 0.25, 2)->GetKey());
  doc.MusicDeleteExecute();
  EXPECT_EQ(e.chain(), "K(G,0) B(4/4) N(4,0,h0) a(#,-10,0.25) N(4,0.25,h-10)");
  EXPECT_EQ(Sounding(doc), (std::vector<std::int32_t>{2, -15}));
}

// Which commands each mode offers: none of the editing ones in delete mode,
// none of the selection ones without a selection.
TEST(Enabling, ModesAndSelection) {
  Editing e(score().stave(keyKindG).note(0, 4, 0).note(0.25, 4, 1));
  TUnitMuz& doc = *e.doc;
  const std::vector<std::pair<const char*, std::function<bool()>>> commands = {
      {"Note", [&] { return doc.CanMusicNoteExecute(4); }},
      {"Silence", [&] { return doc.CanMusicSilenceExecute(4); }},
      {"KeyG", [&] { return doc.CanMusicKeyExecute(keyKindG); }},
      {"Sharp", [&] { return doc.CanMusicNoteShiftExecute(noteShiftKruis); }},
      {"PointAdd", [&] { return doc.CanMusicPointAddExecute(); }},
      {"SelectNext", [&] { return doc.CanMusicSelectNextExecute(); }},
      {"MoveUp", [&] { return doc.CanMusicMoveUpExecute(); }},
      {"MoveNext", [&] { return doc.CanMusicMoveNextExecute(); }},
      {"Delete", [&] { return doc.CanMusicDeleteExecute(); }},
  };
  auto enabled = [&] {
    std::string result;
    for (const auto& [name, can] : commands)
      if (can()) result += std::string(result.empty() ? "" : " ") + name;
    return result;
  };
  e.Select(NoteAt(doc, 0, 0));
  EXPECT_EQ(enabled(), "Note Silence Sharp PointAdd SelectNext MoveUp MoveNext Delete");
  e.Select(doc.GetFirstSymbol());
  EXPECT_EQ(enabled(), "KeyG Sharp SelectNext");
  e.Select(nullptr);
  EXPECT_EQ(enabled(), "");
  doc.MusicModeAddExecute();
  EXPECT_EQ(enabled(), "Note Silence KeyG Sharp PointAdd");
  doc.MusicModeDeleteExecute();
  EXPECT_EQ(enabled(), "");
}

TEST(Checked, AddSettingsOrTheSelectedSymbol) {
  Editing e(score().stave(keyKindG).shift(0, 0, noteShiftMol).note(0, 8, 0));
  TUnitMuz& doc = *e.doc;
  e.Select(NoteAt(doc, 0, 0));
  EXPECT_TRUE(doc.IsMusicNoteChecked(8));
  EXPECT_FALSE(doc.IsMusicNoteChecked(4));
  EXPECT_TRUE(doc.IsMusicNoteShiftChecked(noteShiftMol));
  EXPECT_FALSE(doc.IsMusicSilenceChecked(8));
  doc.MusicModeAddExecute();
  doc.MusicSilenceExecute(16);
  EXPECT_TRUE(doc.IsMusicSilenceChecked(16));
  EXPECT_FALSE(doc.IsMusicNoteChecked(16));
  doc.MusicKeyCExecute();
  EXPECT_TRUE(doc.IsMusicKeyChecked(keyKindC));
  EXPECT_FALSE(doc.IsMusicSilenceChecked(16));
}

TEST(MusicDeathTest, PreconditionsStopTheProgram) {
  const struct {
    std::function<void()> call;
    const char* condition;
  } cases[] = {
      {[] {
         Editing e(score().stave(keyKindG));
         e.Select(e.doc->GetFirstSymbol());
         e.doc->MusicDeleteExecute();
       },
       "CanMusicDeleteExecute\\(\\)"},
      {[] {
         Editing e(score().stave(keyKindG).note(0, 4, 0));
         e.doc->MusicModeAddExecute();
         e.doc->MusicSelectUpExecute();
       },
       "UnitMuzMode == unitMuzSel"},
      {[] {
         auto s = score().stave(keyKindG).note(0, 4, 0);
         TNoteNote* note = NoteAt(s.doc(), 0, 0);
         note->Push();
         note->Push();
       },
       "!Pushed"},
      {[] { score().stave(keyKindG).note(0, 4, 38); }, "pitch <= 43"},
      {[] { NoteAt(score().stave(keyKindG).note(0, 4, 0).doc(), 0, 0)->SetMark(0); }, "mark != 0"},
  };
  for (const auto& c : cases) EXPECT_DEATH(c.call(), c.condition);
}
