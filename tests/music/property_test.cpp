#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>

#include "scorebuilder.h"

namespace {

using Rng = std::mt19937;

int Uniform(Rng& rng, int low, int high) { return std::uniform_int_distribution<>(low, high)(rng); }

// Two staves of notes, chords, rests and accidentals, the first with a key
// signature, a clef change and a second note group.
std::unique_ptr<TUnitMuz> RandomScore(Rng& rng) {
  static const std::int32_t sharps[] = {4, 1, 5};
  auto s = score();
  for (std::int8_t clef : {keyKindG, keyKindF}) {
    s.stave(clef);
    for (int i = Uniform(rng, 0, 3) * (clef == keyKindG); i > 0; --i)
      s.sig(noteShiftKruis, sharps[i - 1]);
    for (double position = 0; position < 2; position += 0.25) {
      if (position == 1.25 && clef == keyKindG) s.key(1.25, keyKindC);
      if (position == 1 && clef == keyKindG) s.group();
      if (Uniform(rng, 0, 5) == 0) {
        s.rest(position, 4);
        continue;
      }
      std::set<std::int32_t> heights;
      for (int n = Uniform(rng, 1, 3); n > 0; --n) heights.insert(Uniform(rng, -8, 8));
      for (std::int32_t h : heights) {
        if (Uniform(rng, 0, 4) == 0)
          s.shift(position, h, static_cast<std::uint8_t>(Uniform(rng, 0, 4)));
        s.note(position, 4, h);
      }
    }
  }
  auto doc = s.release();
  doc->MusicAutoPlayExecute();
  return doc;
}

std::vector<TStaveSymbol*> Symbols(const TUnitMuz& doc) {
  std::vector<TStaveSymbol*> all;
  for (TStaveSymbol* s = doc.GetFirstSymbol(); s != nullptr; s = s->GetNext()) all.push_back(s);
  return all;
}

void CheckScore(const TUnitMuz& doc, const std::string& what) {
  SCOPED_TRACE(what);
  std::set<const TNoteStave*> started;
  std::set<std::tuple<const TNoteStave*, double, std::int32_t>> keyNumbers;
  bool selectedFound = doc.GetSelectedSymbol() == nullptr;
  for (const TStaveSymbol* s = doc.GetFirstSymbol(); s != nullptr; s = s->GetNext()) {
    ASSERT_GE(s->GetSymbolPosition(), 0);
    if (s == doc.GetSelectedSymbol()) selectedFound = true;
    if (const TStaveSymbol* next = s->GetNext(); next != nullptr) {
      ASSERT_FALSE(next->Before(*s) && !s->Before(*next)) << s->Dump() << " / " << next->Dump();
    }
    const TNoteStave* stave = s->GetNoteStave();
    if (stave == nullptr) continue;
    if (started.insert(stave).second) {
      ASSERT_EQ(s->GetStaveSymbolKind(), staveSymbolKey) << s->Dump();
      ASSERT_EQ(s->GetSymbolPosition(), 0);
    }
    switch (s->GetStaveSymbolKind()) {
      case staveSymbolKey: {
        const auto* key = static_cast<const TKey*>(s);
        ASSERT_TRUE(
            keyNumbers.insert({stave, s->GetSymbolPosition(), key->GetSequenceNumber()}).second)
            << s->Dump();
        std::int32_t count = 0;
        key->ToonLadder(count);  // asserts that the signature holds sharps and flats only
        break;
      }
      case staveSymbolNoteShift: {
        const auto* shift = static_cast<const TNoteShift*>(s);
        if (shift->GetNoteShiftScopeKind() != noteShiftScopeKey) break;
        const TKey* key = s->FindKey(stave);
        ASSERT_NE(key, nullptr);
        const auto signature = doc.GetSignature(*key);
        ASSERT_NE(std::find(signature.begin(), signature.end(), shift), signature.end())
            << s->Dump();
        break;
      }
      case staveSymbolNote: {
        const auto* note = static_cast<const TNoteNote*>(s);
        ASSERT_LE(std::abs(note->GetPitch()), 43);
        ASSERT_FALSE(note->IsPushed());
        ASSERT_EQ(note->GetMark(), 0);
        ASSERT_EQ(note->GetNoteGroup()->GetStave(), stave);
        break;
      }
      default:
        break;
    }
  }
  ASSERT_TRUE(selectedFound);
}

std::map<const TNoteNote*, std::int32_t> SoundingByNote(const TUnitMuz& doc) {
  std::map<const TNoteNote*, std::int32_t> result;
  for (const TStaveSymbol* s = doc.GetFirstSymbol(); s != nullptr; s = s->GetNext())
    if (s->GetStaveSymbolKind() == staveSymbolNote) {
      const auto* note = static_cast<const TNoteNote*>(s);
      result[note] = note->GetSemitonesFromA();
    }
  return result;
}

struct Command {
  const char* name;
  std::function<bool(TUnitMuz&)> can;
  std::function<void(TUnitMuz&)> run;
  // Whether every note but the selected one keeps sounding as it did.
  bool keepsPitch;
};

std::vector<Command> EditCommands(Rng& rng) {
  const int length = 1 << Uniform(rng, 0, 6);
  const auto kind = static_cast<std::uint8_t>(Uniform(rng, 0, 4));
  const std::int8_t clefs[] = {keyKindG, keyKindC, keyKindF};
  const std::int8_t clef = clefs[Uniform(rng, 0, 2)];
  auto c = [](const char* name, bool (TUnitMuz::*can)() const, void (TUnitMuz::*run)(),
              bool keeps) {
    return Command{name, [can](TUnitMuz& d) { return (d.*can)(); },
                   [run](TUnitMuz& d) { (d.*run)(); }, keeps};
  };
  return {
      {"Note", [=](TUnitMuz& d) { return d.CanMusicNoteExecute(length); },
       [=](TUnitMuz& d) { d.MusicNoteExecute(length); }, true},
      {"Silence", [=](TUnitMuz& d) { return d.CanMusicSilenceExecute(length); },
       [=](TUnitMuz& d) { d.MusicSilenceExecute(length); }, true},
      {"Key", [=](TUnitMuz& d) { return d.CanMusicKeyExecute(clef); },
       [=](TUnitMuz& d) { d.MusicKeyExecute(clef); }, true},
      {"NoteShift", [=](TUnitMuz& d) { return d.CanMusicNoteShiftExecute(kind); },
       [=](TUnitMuz& d) { d.MusicNoteShiftExecute(kind); }, true},
      c("PointAdd", &TUnitMuz::CanMusicPointAddExecute, &TUnitMuz::MusicPointAddExecute, true),
      c("PointDelete", &TUnitMuz::CanMusicPointDeleteExecute, &TUnitMuz::MusicPointDeleteExecute,
        true),
      c("SelectUp", &TUnitMuz::CanMusicSelectUpExecute, &TUnitMuz::MusicSelectUpExecute, true),
      c("SelectDown", &TUnitMuz::CanMusicSelectDownExecute, &TUnitMuz::MusicSelectDownExecute,
        true),
      c("SelectPrev", &TUnitMuz::CanMusicSelectPrevExecute, &TUnitMuz::MusicSelectPrevExecute,
        true),
      c("SelectNext", &TUnitMuz::CanMusicSelectNextExecute, &TUnitMuz::MusicSelectNextExecute,
        true),
      c("MoveUp", &TUnitMuz::CanMusicMoveUpExecute, &TUnitMuz::MusicMoveUpExecute, true),
      c("MoveDown", &TUnitMuz::CanMusicMoveDownExecute, &TUnitMuz::MusicMoveDownExecute, true),
      c("MoveOctUp", &TUnitMuz::CanMusicMoveOctUpExecute, &TUnitMuz::MusicMoveOctUpExecute, true),
      c("MoveOctDown", &TUnitMuz::CanMusicMoveOctDownExecute, &TUnitMuz::MusicMoveOctDownExecute,
        true),
      c("MovePrev", &TUnitMuz::CanMusicMovePrevExecute, &TUnitMuz::MusicMovePrevExecute, true),
      c("MoveNext", &TUnitMuz::CanMusicMoveNextExecute, &TUnitMuz::MusicMoveNextExecute, true),
      c("NoteGroupPrev", &TUnitMuz::CanMusicNoteGroupPrevExecute,
        &TUnitMuz::MusicNoteGroupPrevExecute, true),
      c("NoteGroupNext", &TUnitMuz::CanMusicNoteGroupNextExecute,
        &TUnitMuz::MusicNoteGroupNextExecute, true),
      c("Delete", &TUnitMuz::CanMusicDeleteExecute, &TUnitMuz::MusicDeleteExecute, true),
  };
}

// What the window hands to the insert operation: a symbol of the stave (or
// the bar) and the next one, free-standing accidentals only.
void RandomInsert(TUnitMuz& doc, Rng& rng, std::string& what, bool& keepsPitch) {
  TNoteStave* stave =
      Uniform(rng, 0, 1) == 0 ? doc.GetStartStave() : doc.GetStartStave()->GetNext();
  std::vector<TStaveSymbol*> candidates;
  std::vector<TNoteNote*> notes;
  for (TStaveSymbol* s : Symbols(doc)) {
    if (s->GetNoteStave() != stave && s->GetNoteStave() != nullptr) continue;
    if (s->GetStaveSymbolKind() == staveSymbolNoteShift) continue;
    candidates.push_back(s);
    if (s->GetStaveSymbolKind() == staveSymbolNote) notes.push_back(static_cast<TNoteNote*>(s));
  }
  TStaveSymbol* before = candidates[Uniform(rng, 0, static_cast<int>(candidates.size()) - 1)];
  TStaveSymbol* after = stave->NextSymbol(before);
  while (after != nullptr && after->GetStaveSymbolKind() == staveSymbolNoteShift)
    after = stave->NextSymbol(after);
  if (Uniform(rng, 0, 4) == 0) {
    doc.MusicNoteShiftExecute(static_cast<std::uint8_t>(Uniform(rng, 0, 4)));
    if (!doc.CanAddNoteShiftAt(before)) return;
    what = "Add accidental " + std::to_string(doc.GetAddNoteShiftKind()) + " at " + before->Dump();
    keepsPitch = false;
    doc.AddNoteShiftAt(before);
    return;
  }
  TNoteNote* chord = nullptr;
  if (Uniform(rng, 0, 3) == 0 && !notes.empty())
    chord = notes[Uniform(rng, 0, static_cast<int>(notes.size()) - 1)];
  switch (Uniform(rng, 0, 3)) {
    case 0:
      doc.MusicKeyExecute(Uniform(rng, 0, 1) == 0 ? keyKindC : keyKindF);
      keepsPitch = false;
      break;
    case 1:
      doc.MusicSilenceExecute(1 << Uniform(rng, 1, 4));
      break;
    default:
      doc.MusicNoteExecute(1 << Uniform(rng, 1, 4));
  }
  const std::int32_t height = Uniform(rng, -12, 12);
  if (!doc.CanAddSymbol(stave, chord, before, after, height)) return;
  what = "Add " + std::to_string(doc.GetAddSymbolKind()) + " before " +
         (after == nullptr ? "end" : after->Dump()) + " after " + before->Dump();
  doc.AddSymbol(stave, chord, before, after, height);
}

// Deleting a key or a note's accidental changes the notes after it on
// purpose; a signature accidental is deleted with the notes kept sounding.
bool ChangesOnPurpose(const TStaveSymbol& deleted) {
  if (deleted.GetStaveSymbolKind() == staveSymbolKey) return true;
  return deleted.GetStaveSymbolKind() == staveSymbolNoteShift &&
         static_cast<const TNoteShift&>(deleted).GetNoteShiftScopeKind() == noteShiftScopeNote;
}

}  // namespace

// Random enabled commands on random scores: the chain stays in order, every
// stave starts with its key at 0, signatures stay whole, no note leaves the
// pitch range, and commands that promise it keep the other notes sounding.
TEST(MusicProperty, RandomEditsKeepTheScoreWhole) {
  Rng rng(20261206);
  int applied = 0;
  for (int round = 0; round < 25; ++round) {
    std::unique_ptr<TUnitMuz> doc = RandomScore(rng);
    CheckScore(*doc, "built");
    for (int step = 0; step < 160 && !HasFatalFailure(); ++step) {
      const std::map<const TNoteNote*, std::int32_t> sounding = SoundingByNote(*doc);
      const std::string before = Chain(*doc);
      std::string what;
      bool keepsPitch = true;
      // What the command works on, taken before it may be deleted.
      const TNoteNote* edited = nullptr;
      const TNoteStave* shiftStave = nullptr;
      const int choice = Uniform(rng, 0, 9);
      const std::vector<TStaveSymbol*> all = Symbols(*doc);
      TStaveSymbol* symbol = all[Uniform(rng, 0, static_cast<int>(all.size()) - 1)];
      if (choice < 6) {
        doc->MusicModeEditExecute();
        doc->SetSelected(symbol);
        std::vector<Command> commands = EditCommands(rng);
        const Command& command = commands[Uniform(rng, 0, static_cast<int>(commands.size()) - 1)];
        if (!command.can(*doc)) continue;
        what = std::string(command.name) + " on " + symbol->Dump();
        if (symbol->GetStaveSymbolKind() == staveSymbolNote)
          edited = static_cast<const TNoteNote*>(symbol);
        if (symbol->GetStaveSymbolKind() == staveSymbolNoteShift)
          shiftStave = symbol->GetNoteStave();
        // A bar that changes moves the bar lines, which end accidentals; a
        // deleted accidental or key changes what follows on purpose.
        keepsPitch = command.keepsPitch && symbol->GetStaveSymbolKind() != staveSymbolMuzBar &&
                     !(std::string(command.name) == "Delete" && ChangesOnPurpose(*symbol));
        command.run(*doc);
      } else if (choice < 9) {
        doc->MusicModeAddExecute();
        RandomInsert(*doc, rng, what, keepsPitch);
        if (what.empty()) continue;
      } else {
        doc->MusicModeDeleteExecute();
        if (!doc->CanDeleteSymbol(symbol)) continue;
        what = "Delete " + symbol->Dump();
        keepsPitch = !ChangesOnPurpose(*symbol);
        doc->DeleteSymbol(symbol);
      }
      ++applied;
      CheckScore(*doc, what + "\n" + before);
      if (!keepsPitch) continue;
      // The edited note (and a note whose accidental was edited) may change.
      for (const auto& [note, semitones] : SoundingByNote(*doc)) {
        auto old = sounding.find(note);
        if (old == sounding.end() || note == edited) continue;
        if (note->GetNoteStave() == shiftStave) continue;
        ASSERT_EQ(semitones, old->second) << what << "\n" << before << "\n" << Chain(*doc);
      }
    }
  }
  EXPECT_GT(applied, 2000);
}
