#include "music/unitmuz.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "base/tbassert.h"
#include "music/noteplay.h"

namespace {

TUnitMuz::TMusicFileWriter& FileWriter() {
  static TUnitMuz::TMusicFileWriter writer;
  return writer;
}

bool Is(const TStaveSymbol* symbol, TStaveSymbolKind kind) {
  return symbol != nullptr && symbol->GetStaveSymbolKind() == kind;
}

TNoteNote* AsNote(TStaveSymbol* symbol) {
  return Is(symbol, staveSymbolNote) ? static_cast<TNoteNote*>(symbol) : nullptr;
}

bool IsKeyScope(const TStaveSymbol* symbol) {
  return Is(symbol, staveSymbolNoteShift) &&
         static_cast<const TNoteShift*>(symbol)->GetNoteShiftScopeKind() == noteShiftScopeKey;
}

// Strictly before: equal accidentals count as either order, and moving a
// symbol past its equal would never end.
bool StrictlyBefore(const TStaveSymbol& a, const TStaveSymbol& b) {
  return a.Before(b) && !b.Before(a);
}

// The height of a signature accidental of `kind` under `clef`, reduced by
// octaves into the band where signatures are written.
std::int32_t SignatureHeight(std::int32_t height, std::int32_t clef, std::uint8_t kind) {
  const bool sharp = kind == noteShiftKruis;
  const std::int32_t top = clef == keyKindF   ? (sharp ? 4 : 2)
                           : clef == keyKindC ? (sharp ? 5 : 3)
                                              : (sharp ? 6 : 4);
  return WrapSteps(height, top - 7);
}

constexpr std::int32_t kNoHeight = std::numeric_limits<std::int32_t>::min();

}  // namespace

TUnitMuz::TUnitMuz(const std::string& fileName) : TUnit(kUnitKindMuz, fileName, TUnitState::New) {}

TUnitMuz::~TUnitMuz() { DestroyChain(); }

void TUnitMuz::DestroyChain() {
  SelectedSymbol = nullptr;
  std::unique_ptr<TStaveSymbol> symbol = std::move(FirstSymbol);
  while (symbol != nullptr) symbol = std::move(symbol->Next);
}

void TUnitMuz::InitNew() {
  TB_ASSERT_TEXT(StartStave == nullptr && FirstSymbol == nullptr,
                 "StartStave == NULL && FirstSymbol == NULL");
  TNoteStave* stave = NewStave(nullptr, keyKindF);
  InsertSymbol(std::make_unique<TMuzBar>(4, 4, 0.0, 0.0));
  CurrentStave = stave;
}

bool TUnitMuz::SaveAs(const std::string& fileName, bool /*temporary*/) {
  return FileWriter() ? FileWriter()(*this, fileName) : false;
}

void TUnitMuz::SetMusicFileWriter(TMusicFileWriter writer) { FileWriter() = std::move(writer); }

void TUnitMuz::ChangeProperties(const TWaveFileProps& /*oldProps*/,
                                const TWaveFileProps& newProps) {
  TB_ASSERT(newProps.MonoStereo == 1 || newProps.MonoStereo == 2);
  TB_ASSERT(newProps.BytesPSample == 1 || newProps.BytesPSample == 2);
  if (newProps == RenderProps) return;
  RenderProps = newProps;
  SetChanged();
}

bool TUnitMuz::PlayNote(const TNoteNote& note, double tempo) const {
  return Playback == nullptr || Playback->PlayNote(note, tempo);
}

void TUnitMuz::Changed() {
  SetChanged();
  if (Listener != nullptr) Listener->ScoreChanged();
}

// ---------------------------------------------------------------------------
// Staves and groups

TNoteStave* TUnitMuz::InsertStave(TNoteStave* afterStave, std::unique_ptr<TNoteStave> stave) {
  TNoteStave* added = stave.get();
  if (StartStave == nullptr || afterStave == nullptr) {
    stave->Next = std::move(StartStave);
    if (stave->Next != nullptr) stave->Next->Previous = added;
    StartStave = std::move(stave);
    return added;
  }
  TNoteStave* prevStave = StartStave.get();
  while (prevStave != afterStave) {
    TB_ASSERT_TEXT(prevStave->GetNext() != nullptr || prevStave == afterStave,
                   "prevStave->GetNext() != NULL || prevStave == afterStave");
    prevStave = prevStave->GetNext();
  }
  stave->Next = std::move(afterStave->Next);
  if (stave->Next != nullptr) stave->Next->Previous = added;
  stave->Previous = afterStave;
  afterStave->Next = std::move(stave);
  return added;
}

TNoteStave* TUnitMuz::NewStave(TNoteStave* afterStave, std::int8_t keyKind) {
  auto stave = std::make_unique<TNoteStave>(this, 80, 80);
  stave->InsertNoteGroup(
      nullptr, std::make_unique<TNoteGroup>(stave.get(), NewDefaultCompoundPlayer(this), 0,
                                            noteShapeNormal, drawStickDown));
  stave->SetSelectedNoteGroup(stave->GetStartNoteGroup());
  TNoteStave* added = InsertStave(afterStave, std::move(stave));
  InsertSymbol(std::make_unique<TKey>(this, keyKind, 0, 0.0, added, 1));
  return added;
}

void TUnitMuz::DeleteStave(TNoteStave* deleteStave) {
  TB_ASSERT_TEXT(StartStave != nullptr, "StartStave != NULL");
  TB_ASSERT_TEXT(deleteStave != nullptr, "deleteStave != NULL");
  TNoteStave* thisStave = StartStave.get();
  while (thisStave != deleteStave) {
    TB_ASSERT_TEXT(thisStave->GetNext() != nullptr || thisStave == deleteStave,
                   "thisStave->GetNext() != NULL || thisStave == deleteStave");
    thisStave = thisStave->GetNext();
  }
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr;) {
    TStaveSymbol* next = s->GetNext();
    if (s->GetNoteStave() == deleteStave) RemoveSymbol(s);
    s = next;
  }
  if (CurrentStave == deleteStave) CurrentStave = nullptr;
  std::unique_ptr<TNoteStave>& link =
      deleteStave->Previous == nullptr ? StartStave : deleteStave->Previous->Next;
  std::unique_ptr<TNoteStave> removed = std::move(link);
  link = std::move(removed->Next);
  if (link != nullptr) link->Previous = removed->Previous;
}

void TUnitMuz::DeleteNoteGroup(TNoteGroup* group) {
  TB_ASSERT_TEXT(group != nullptr, "deleteGroup != NULL");
  TNoteStave* stave = group->GetStave();
  TB_ASSERT(stave->CountNoteGroups() > 1);
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr;) {
    TNoteNote* note = AsNote(s);
    if (note == nullptr || note->GetNoteGroup() != group) {
      s = s->GetNext();
      continue;
    }
    RemoveWrittenNoteShift(*note);
    s = note->GetNext();
    RemoveSymbol(note);
  }
  stave->RemoveNoteGroup(group);
  if (stave->GetSelectedNoteGroup() == group)
    stave->SetSelectedNoteGroup(stave->GetStartNoteGroup());
  // The time the group's notes held becomes rests, each the longest that
  // fits from where the gap begins.
  std::vector<std::pair<double, double>> gaps;
  double covered = 0;
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr; s = s->GetNext()) {
    if (s->GetNoteStave() != stave || s->GetDuration() == 0) continue;
    if (s->GetSymbolPosition() > covered) gaps.emplace_back(covered, s->GetSymbolPosition());
    covered = std::max(covered, s->GetSymbolPosition() + s->GetDuration());
  }
  for (auto [from, to] : gaps) {
    while (to - from >= 1.0 / 64) {
      std::uint8_t length = 1;
      while (1.0 / length > to - from) length *= 2;
      InsertSymbol(std::make_unique<TSilence>(length, 0, from, stave));
      from += 1.0 / length;
    }
  }
}

std::int32_t TUnitMuz::CountStaves() const {
  std::int32_t count = 0;
  for (const TNoteStave* s = StartStave.get(); s != nullptr; s = s->GetNext()) ++count;
  return count;
}

// ---------------------------------------------------------------------------
// The chain

TStaveSymbol* TUnitMuz::GetLastSymbol() const {
  TStaveSymbol* last = FirstSymbol.get();
  while (last != nullptr && last->GetNext() != nullptr) last = last->GetNext();
  return last;
}

TMuzBar* TUnitMuz::GetBar() const {
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr; s = s->GetNext())
    if (Is(s, staveSymbolMuzBar)) return static_cast<TMuzBar*>(s);
  return nullptr;
}

void TUnitMuz::LinkAfter(TStaveSymbol* after, std::unique_ptr<TStaveSymbol> symbol) {
  TStaveSymbol* raw = symbol.get();
  std::unique_ptr<TStaveSymbol>& link = after == nullptr ? FirstSymbol : after->Next;
  raw->Next = std::move(link);
  if (raw->Next != nullptr) raw->Next->Previous = raw;
  raw->Previous = after;
  link = std::move(symbol);
}

void TUnitMuz::Unlink(TStaveSymbol* symbol, std::unique_ptr<TStaveSymbol>& owner) {
  std::unique_ptr<TStaveSymbol>& link =
      symbol->Previous == nullptr ? FirstSymbol : symbol->Previous->Next;
  TB_ASSERT_TEXT(link.get() == symbol, "link == symbol");
  owner = std::move(link);
  link = std::move(owner->Next);
  if (link != nullptr) link->Previous = owner->Previous;
  owner->Previous = nullptr;
}

TStaveSymbol* TUnitMuz::InsertSymbol(std::unique_ptr<TStaveSymbol> symbol) {
  TB_ASSERT_TEXT(symbol != nullptr, "symbol != NULL");
  TStaveSymbol* after = nullptr;
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr && s->Before(*symbol); s = s->GetNext())
    after = s;
  TStaveSymbol* raw = symbol.get();
  LinkAfter(after, std::move(symbol));
  if (const TNoteNote* note = AsNote(raw); note != nullptr) {
    const std::int32_t pitch = note->GetPitch();
    TB_ASSERT(pitch >= -43);
    TB_ASSERT(pitch <= 43);
  }
  return raw;
}

std::unique_ptr<TStaveSymbol> TUnitMuz::RemoveSymbol(TStaveSymbol* symbol) {
  TB_ASSERT_TEXT(symbol != nullptr, "symbol != NULL");
  if (SelectedSymbol == symbol) SelectedSymbol = nullptr;
  std::unique_ptr<TStaveSymbol> owned;
  Unlink(symbol, owned);
  return owned;
}

void TUnitMuz::Relocate(TStaveSymbol* symbol) {
  TStaveSymbol* prev = symbol->GetPrevious();
  TStaveSymbol* next = symbol->GetNext();
  const bool toLeft = prev != nullptr && StrictlyBefore(*symbol, *prev);
  const bool toRight = next != nullptr && StrictlyBefore(*next, *symbol);
  TB_ASSERT(!toLeft || !toRight);
  if (!toLeft && !toRight) return;
  std::unique_ptr<TStaveSymbol> owned;
  if (toLeft) {
    TStaveSymbol* target = prev;
    while (target->GetPrevious() != nullptr && StrictlyBefore(*symbol, *target->GetPrevious()))
      target = target->GetPrevious();
    TStaveSymbol* after = target->GetPrevious();
    Unlink(symbol, owned);
    LinkAfter(after, std::move(owned));
  } else {
    TStaveSymbol* target = next;
    while (target->GetNext() != nullptr && StrictlyBefore(*target->GetNext(), *symbol))
      target = target->GetNext();
    Unlink(symbol, owned);
    LinkAfter(target, std::move(owned));
  }
}

void TUnitMuz::Resort(const std::vector<TStaveSymbol*>& symbols) {
  std::vector<std::unique_ptr<TStaveSymbol>> owned;
  TStaveSymbol* const selected = SelectedSymbol;
  for (TStaveSymbol* s : symbols) owned.push_back(RemoveSymbol(s));
  for (auto& s : owned) InsertSymbol(std::move(s));
  SelectedSymbol = selected;
}

std::vector<TNoteShift*> TUnitMuz::GetSignature(const TKey& key) const {
  std::vector<TNoteShift*> signature;
  for (TStaveSymbol* s = key.GetNext(); s != nullptr; s = s->GetNext()) {
    if (s->GetNoteStave() != key.GetNoteStave()) continue;
    if (!IsKeyScope(s)) break;
    auto* shift = static_cast<TNoteShift*>(s);
    if (shift->GetKeySequenceNumber() != key.GetSequenceNumber()) break;
    signature.push_back(shift);
  }
  return signature;
}

TNoteShift* TUnitMuz::NoteShiftAtKey(const TKey& key, std::int32_t height) const {
  for (TNoteShift* shift : GetSignature(key))
    if (shift->GetHeight() == height) return shift;
  return nullptr;
}

std::vector<TNoteNote*> TUnitMuz::GetChord(const TNoteStave& stave, double position) const {
  std::vector<TNoteNote*> chord;
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr; s = s->GetNext()) {
    if (s->GetSymbolPosition() > position) break;
    TNoteNote* note = AsNote(s);
    if (note != nullptr && note->GetNoteStave() == &stave && note->GetPosition() == position)
      chord.push_back(note);
  }
  return chord;
}

std::vector<TNoteNote*> TUnitMuz::NotesOfStave(const TNoteStave* stave) const {
  std::vector<TNoteNote*> notes;
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr; s = s->GetNext())
    if (TNoteNote* note = AsNote(s); note != nullptr && note->GetNoteStave() == stave)
      notes.push_back(note);
  return notes;
}

void TUnitMuz::PushAll(const std::vector<TNoteNote*>& notes) {
  for (TNoteNote* note : notes) note->Push();
}

void TUnitMuz::PopAll(const std::vector<TNoteNote*>& notes) {
  // In chain order: a popped note may write an accidental that the notes
  // after it in the bar then take into account.
  std::vector<TNoteNote*> pushed;
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr; s = s->GetNext())
    if (TNoteNote* note = AsNote(s); note != nullptr && note->IsPushed()) pushed.push_back(note);
  TB_ASSERT(pushed.size() == notes.size());
  // Every height first, then every accidental: the notes of a chord that
  // move together never meet on one height halfway, sharing an accidental.
  std::vector<std::int32_t> heights;
  for (TNoteNote* note : pushed)
    heights.push_back(note->GetHeight() - note->GetPitch() + note->GetPushedPitch());
  for (std::size_t i = 0; i < pushed.size(); ++i)
    if (heights[i] != pushed[i]->GetHeight()) RemoveWrittenNoteShift(*pushed[i]);
  for (std::size_t i = 0; i < pushed.size(); ++i)
    if (heights[i] != pushed[i]->GetHeight()) SetNoteHeight(*pushed[i], heights[i]);
  for (TNoteNote* note : pushed) {
    SetNoteShiftOfNote(*note, note->GetPushedNoteShift());
    note->Pushed = false;
  }
}

// ---------------------------------------------------------------------------
// Accidentals of notes

void TUnitMuz::DeleteNoteShift(TNoteShift* noteShift) { RemoveSymbol(noteShift); }

void TUnitMuz::FixFollowing(const TNoteNote& note, std::uint8_t oldKind, std::uint8_t newKind) {
  if (oldKind == newKind) return;
  TNoteStave* stave = note.GetNoteStave();
  const TMuzBar* bar = note.FindBar();
  const double barEnd =
      bar == nullptr ? std::numeric_limits<double>::infinity() : bar->GetBarEnd(note.GetPosition());
  for (TStaveSymbol* s = stave->NextSymbol(&note); s != nullptr; s = stave->NextSymbol(s)) {
    if (s->GetSymbolPosition() == note.GetPosition()) continue;
    if (Is(s, staveSymbolMuzBar) || Is(s, staveSymbolKey)) return;
    if (s->GetSymbolPosition() >= barEnd) return;
    if (TNoteNote* follower = AsNote(s); follower != nullptr) {
      if (follower->GetHeight() != note.GetHeight()) continue;
      InsertSymbol(std::make_unique<TNoteShift>(
          oldKind, follower->GetHeight(), follower->GetPosition(), noteShiftScopeNote, stave, 0));
      return;
    }
    if (Is(s, staveSymbolNoteShift)) {
      auto* shift = static_cast<TNoteShift*>(s);
      if (shift->GetNoteShiftScopeKind() != noteShiftScopeNote ||
          shift->GetHeight() != note.GetHeight())
        continue;
      if (shift->GetNoteShiftKind() == newKind) DeleteNoteShift(shift);
      return;
    }
  }
}

void TUnitMuz::RemoveWrittenNoteShift(TNoteNote& note) {
  TNoteShift* written = note.GetNoteShiftWritten();
  if (written == nullptr) return;
  const std::uint8_t at = note.GetNoteShiftKindInEffect();
  DeleteNoteShift(written);
  FixFollowing(note, at, note.GetNoteShiftKindInEffect());
}

void TUnitMuz::SetNoteShiftOfNote(TNoteNote& note, std::uint8_t kind) {
  const std::uint8_t before = note.GetNoteShiftKindBefore();
  const std::uint8_t at = note.GetNoteShiftKindInEffect();
  TNoteShift* written = note.GetNoteShiftWritten();
  if (kind == before) {
    if (written != nullptr) DeleteNoteShift(written);
  } else if (written != nullptr) {
    written->Kind = kind;
    Relocate(written);
  } else {
    InsertSymbol(std::make_unique<TNoteShift>(kind, note.GetHeight(), note.GetPosition(),
                                              noteShiftScopeNote, note.GetNoteStave(), 0));
  }
  FixFollowing(note, at, kind);
}

void TUnitMuz::SetNoteHeight(TNoteNote& note, std::int32_t height) {
  note.Height = height;
  Relocate(&note);
  const std::int32_t pitch = note.GetPitch();
  TB_ASSERT(pitch >= -43);
  TB_ASSERT(pitch <= 43);
}

void TUnitMuz::PopNote(TNoteNote& note) {
  TB_ASSERT(note.IsPushed());
  const std::int32_t height = note.GetHeight() - note.GetPitch() + note.GetPushedPitch();
  if (height != note.GetHeight()) {
    RemoveWrittenNoteShift(note);
    SetNoteHeight(note, height);
  }
  SetNoteShiftOfNote(note, note.GetPushedNoteShift());
}

// ---------------------------------------------------------------------------
// Shifting

TStaveSymbol* TUnitMuz::ChordEnd(TStaveSymbol* symbol) const {
  if (!Is(symbol, staveSymbolNote)) return symbol;
  const TNoteStave* stave = symbol->GetNoteStave();
  TStaveSymbol* end = symbol;
  for (TStaveSymbol* s = stave->NextSymbol(symbol);
       Is(s, staveSymbolNote) && s->GetSymbolPosition() == symbol->GetSymbolPosition();
       s = stave->NextSymbol(s))
    end = s;
  return end;
}

void TUnitMuz::ShiftAfter(TNoteStave* stave, TStaveSymbol* anchor, double time) {
  if (time == 0) return;
  TStaveSymbol* start = anchor == nullptr ? FirstSymbol.get() : anchor->GetNext();
  std::vector<TNoteNote*> notes;
  for (TStaveSymbol* s = start; s != nullptr; s = s->GetNext())
    if (TNoteNote* note = AsNote(s); note != nullptr && note->GetNoteStave() == stave)
      notes.push_back(note);
  PushAll(notes);
  for (TNoteNote* note : notes) RemoveWrittenNoteShift(*note);

  // A key's signature moves with its key and only with it.
  start = anchor == nullptr ? FirstSymbol.get() : anchor->GetNext();
  std::vector<TStaveSymbol*> moved;
  std::vector<const TKey*> movedKeys;
  for (TStaveSymbol* s = start; s != nullptr; s = s->GetNext()) {
    if (s->GetNoteStave() != stave) continue;
    if (IsKeyScope(s)) {
      const auto* shift = static_cast<const TNoteShift*>(s);
      const TKey* key = s->FindKey(stave);
      if (key == nullptr || std::find(movedKeys.begin(), movedKeys.end(), key) == movedKeys.end() ||
          key->GetSequenceNumber() != shift->GetKeySequenceNumber())
        continue;
    }
    if (Is(s, staveSymbolKey)) movedKeys.push_back(static_cast<const TKey*>(s));
    moved.push_back(s);
  }
  if (moved.empty()) {
    PopAll(notes);
    return;
  }
  // Nothing moves back past the anchor (only symbols that overlapped it
  // could, in a score read from a file).
  if (time < 0) {
    const double anchorPosition = anchor == nullptr ? 0 : anchor->GetSymbolPosition();
    double lowest = moved.front()->GetSymbolPosition();
    for (const TStaveSymbol* s : moved) lowest = std::min(lowest, s->GetSymbolPosition());
    time = std::max(time, anchorPosition - lowest);
  }
  // A key that lands where the stave has keys already comes after them.
  std::vector<std::pair<const TKey*, std::int32_t>> renumbered;
  for (const TKey* key : movedKeys) {
    std::int32_t highest = 0;
    const double target = key->GetSymbolPosition() + time;
    for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr; s = s->GetNext())
      if (Is(s, staveSymbolKey) && s->GetNoteStave() == stave && s->GetSymbolPosition() == target &&
          std::find(movedKeys.begin(), movedKeys.end(), s) == movedKeys.end())
        highest = std::max(highest, static_cast<TKey*>(s)->GetSequenceNumber());
    renumbered.emplace_back(key, highest);
  }
  for (TStaveSymbol* s : moved) {
    s->Position += time;
    if (Is(s, staveSymbolKey)) {
      for (const auto& [key, offset] : renumbered)
        if (key == s) static_cast<TKey*>(s)->SequenceNumber += offset;
    } else if (IsKeyScope(s)) {
      auto* shift = static_cast<TNoteShift*>(s);
      shift->KeySequenceNumber = shift->FindKey(stave)->GetSequenceNumber();
    }
  }
  if (time < 0) {
    for (TStaveSymbol* s : moved) Relocate(s);
  } else {
    for (auto it = moved.rbegin(); it != moved.rend(); ++it) Relocate(*it);
  }
  PopAll(notes);
}

// ---------------------------------------------------------------------------
// Keys

void TUnitMuz::ChangeKey(TKey& key, std::int8_t keyKind, std::int32_t addOctaves) {
  if (key.KeyKind == keyKind && key.AddOctaves == addOctaves) return;
  TB_ASSERT(addOctaves >= -2);
  TB_ASSERT(addOctaves <= 2);
  TNoteStave* stave = key.GetNoteStave();
  const std::vector<TNoteNote*> notes = NotesOfStave(stave);
  PushAll(notes);
  const std::int32_t oldClef = key.KeyKind;
  std::vector<std::unique_ptr<TStaveSymbol>> signature;
  for (TNoteShift* shift : GetSignature(key)) {
    const std::uint8_t noteShiftKind = shift->GetNoteShiftKind();
    TB_ASSERT(noteShiftKind == noteShiftMol || noteShiftKind == noteShiftKruis);
    shift->Height = SignatureHeight(shift->Height + oldClef - keyKind, keyKind, noteShiftKind);
    signature.push_back(RemoveSymbol(shift));
  }
  key.KeyKind = keyKind;
  key.AddOctaves = addOctaves;
  for (auto& shift : signature) InsertSymbol(std::move(shift));
  // The clef orders the accidentals at one position: place those under
  // this key anew.
  std::vector<std::unique_ptr<TStaveSymbol>> governed;
  for (TStaveSymbol* s = stave->NextSymbol(&key); s != nullptr;) {
    TStaveSymbol* next = stave->NextSymbol(s);
    if (Is(s, staveSymbolKey)) break;
    if (Is(s, staveSymbolNoteShift) && !IsKeyScope(s)) governed.push_back(RemoveSymbol(s));
    s = next;
  }
  for (auto& shift : governed) InsertSymbol(std::move(shift));
  PopAll(notes);
}

void TUnitMuz::RenumberKeysAt(TNoteStave* stave, double position) {
  std::int32_t number = 0;
  std::vector<TStaveSymbol*> renumbered;
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr; s = s->GetNext()) {
    if (s->GetSymbolPosition() > position) break;
    if (s->GetNoteStave() != stave || s->GetSymbolPosition() != position) continue;
    if (Is(s, staveSymbolKey)) {
      static_cast<TKey*>(s)->SequenceNumber = ++number;
      renumbered.push_back(s);
    } else if (IsKeyScope(s)) {
      static_cast<TNoteShift*>(s)->KeySequenceNumber = number;
      renumbered.push_back(s);
    }
  }
  // The numbers order keys of other staves at the position too.
  Resort(renumbered);
}

bool TUnitMuz::IsOnlyKeyAtZero(const TKey& key) const {
  if (key.GetSymbolPosition() != 0) return false;
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr && s->GetSymbolPosition() == 0;
       s = s->GetNext())
    if (s != &key && Is(s, staveSymbolKey) && s->GetNoteStave() == key.GetNoteStave()) return false;
  return true;
}

namespace {

// The signature count after adding (or removing) one accidental of `kind`,
// and whether that removes one.
struct KeyShiftStep {
  bool remove;
  std::int32_t count;  // the place of the accidental concerned
};

KeyShiftStep StepFor(std::int32_t toonladder, std::uint8_t kind) {
  if (kind == noteShiftKruis)
    return toonladder < 0 ? KeyShiftStep{true, toonladder} : KeyShiftStep{false, toonladder + 1};
  return toonladder > 0 ? KeyShiftStep{true, toonladder} : KeyShiftStep{false, toonladder - 1};
}

std::int32_t SignaturePlace(std::int32_t count, std::int32_t clef) {
  std::int32_t h = count > 0 ? WrapSteps(4 * count - 1, -2) : WrapSteps(-3 * count - 4, -4);
  if (clef == keyKindG) h += 1;
  if (clef == keyKindF) h -= 1;
  return h;
}

}  // namespace

bool TUnitMuz::CanKeyNoteShift(const TKey& key, std::uint8_t kind) const {
  if (kind != noteShiftKruis && kind != noteShiftMol) return false;
  for (const TNoteShift* shift : GetSignature(key))
    if (shift->GetNoteShiftKind() != noteShiftKruis && shift->GetNoteShiftKind() != noteShiftMol)
      return false;
  std::int32_t toonladder = 0;
  if (!key.ToonLadder(toonladder)) return false;
  return kind == noteShiftMol ? toonladder > -7 : toonladder < 7;
}

void TUnitMuz::KeyNoteShift(TKey& key, std::uint8_t kind) {
  std::int32_t toonladder = 0;
  const bool valid = key.ToonLadder(toonladder);
  TB_ASSERT(valid);
  const KeyShiftStep step = StepFor(toonladder, kind);
  const std::int32_t height = SignaturePlace(step.count, key.GetKeyKind());
  const std::vector<TNoteNote*> notes = NotesOfStave(key.GetNoteStave());
  PushAll(notes);
  if (step.remove) {
    TNoteShift* noteShift = NoteShiftAtKey(key, height);
    TB_ASSERT_TEXT(noteShift != nullptr, "noteShift != NULL");
    if (kind == noteShiftKruis)
      TB_ASSERT(noteShift->GetNoteShiftKind() == noteShiftMol);
    else
      TB_ASSERT(noteShift->GetNoteShiftKind() == noteShiftKruis);
    DeleteNoteShift(noteShift);
  } else {
    TB_ASSERT_TEXT(NoteShiftAtKey(key, height) == nullptr, "NoteShiftAtKey(key, pitch) == NULL");
    InsertSymbol(std::make_unique<TNoteShift>(kind, height, key.GetSymbolPosition(),
                                              noteShiftScopeKey, key.GetNoteStave(),
                                              key.GetSequenceNumber()));
  }
  PopAll(notes);
}

void TUnitMuz::ChangeSignatureKind(TNoteShift& noteShift, std::uint8_t kind) {
  TNoteStave* stave = noteShift.GetNoteStave();
  const TKey* key = noteShift.FindKey(stave);
  const std::vector<TNoteNote*> notes = NotesOfStave(stave);
  PushAll(notes);
  std::unique_ptr<TStaveSymbol> owned = RemoveSymbol(&noteShift);
  noteShift.Kind = kind;
  noteShift.Height = SignatureHeight(noteShift.Height, key->GetKeyKind(), kind);
  InsertSymbol(std::move(owned));
  PopAll(notes);
}

// ---------------------------------------------------------------------------
// Accidentals applied to a symbol

namespace {

// The note a note-scope accidental is written at, or none.
TNoteNote* NoteOfNoteShift(const TNoteShift& noteShift) {
  const TNoteStave* stave = noteShift.GetNoteStave();
  for (TStaveSymbol* s = stave->NextSymbol(&noteShift);
       s != nullptr && s->GetSymbolPosition() == noteShift.GetSymbolPosition();
       s = stave->NextSymbol(s)) {
    TNoteNote* note = AsNote(s);
    if (note != nullptr && note->GetHeight() == noteShift.GetHeight()) return note;
  }
  return nullptr;
}

}  // namespace

bool TUnitMuz::CanApplyNoteShift(const TStaveSymbol* symbol, std::uint8_t kind) const {
  if (symbol == nullptr || kind > noteShiftDoubleMol) return false;
  switch (symbol->GetStaveSymbolKind()) {
    case staveSymbolKey:
      return CanKeyNoteShift(*static_cast<const TKey*>(symbol), kind);
    case staveSymbolNoteShift: {
      const auto* shift = static_cast<const TNoteShift*>(symbol);
      if (shift->GetNoteShiftScopeKind() == noteShiftScopeNote) return true;
      // A signature holds only sharps and flats.
      return kind == shift->GetNoteShiftKind() || kind == noteShiftNormal ||
             kind == noteShiftKruis || kind == noteShiftMol;
    }
    case staveSymbolNote:
      return true;
    default:
      return false;
  }
}

void TUnitMuz::ApplyNoteShift(TStaveSymbol* symbol, std::uint8_t kind) {
  TB_ASSERT_TEXT(CanApplyNoteShift(symbol, kind), "CanApplyNoteShift(symbol, kind)");
  switch (symbol->GetStaveSymbolKind()) {
    case staveSymbolKey:
      KeyNoteShift(*static_cast<TKey*>(symbol), kind);
      break;
    case staveSymbolNoteShift: {
      auto* shift = static_cast<TNoteShift*>(symbol);
      if (shift->GetNoteShiftKind() == kind) return;
      if (shift->GetNoteShiftScopeKind() == noteShiftScopeKey) {
        if (kind != noteShiftNormal) {
          ChangeSignatureKind(*shift, kind);
          break;
        }
        TKey* key = shift->FindKey(shift->GetNoteStave());
        const bool wasSelected = SelectedSymbol == shift;
        const std::vector<TNoteNote*> notes = NotesOfStave(shift->GetNoteStave());
        PushAll(notes);
        DeleteNoteShift(shift);
        PopAll(notes);
        if (wasSelected) SetSelected(key);
        break;
      }
      TNoteNote* note = NoteOfNoteShift(*shift);
      if (note == nullptr) {
        // A free-standing accidental just changes its kind.
        shift->Kind = kind;
        Relocate(shift);
        break;
      }
      SetNoteShiftOfNote(*note, kind);
      if (SelectedSymbol == nullptr && UnitMuzMode == unitMuzSel) SetSelected(note);
      Changed();
      note->AutoPlayNote(Tempo.GetValue());
      return;
    }
    case staveSymbolNote: {
      auto* note = static_cast<TNoteNote*>(symbol);
      SetNoteShiftOfNote(*note, kind);
      Changed();
      note->AutoPlayNote(Tempo.GetValue());
      return;
    }
    default:
      break;
  }
  Changed();
}

// ---------------------------------------------------------------------------
// Selection and modes

void TUnitMuz::SetSelected(TStaveSymbol* symbol) {
  if (symbol != nullptr && symbol->GetNoteStave() != nullptr) CurrentStave = symbol->GetNoteStave();
  if (Is(symbol, staveSymbolMuzBar) && SelectedSymbol != nullptr &&
      SelectedSymbol->GetNoteStave() != nullptr)
    CurrentStave = SelectedSymbol->GetNoteStave();
  SelectedSymbol = symbol;
  if (Listener != nullptr) Listener->ScoreChanged();
}

void TUnitMuz::MusicModeAddExecute() { UnitMuzMode = unitMuzAdd; }

void TUnitMuz::MusicModeEditExecute() { UnitMuzMode = unitMuzSel; }

void TUnitMuz::MusicModeDeleteExecute() {
  UnitMuzMode = unitMuzDel;
  SetSelected(nullptr);
}

bool TUnitMuz::IsSelected(TStaveSymbolKind kind) const {
  return UnitMuzMode == unitMuzSel && Is(SelectedSymbol, kind);
}

TNoteNote* TUnitMuz::SelectedNote() const {
  return IsSelected(staveSymbolNote) ? static_cast<TNoteNote*>(SelectedSymbol) : nullptr;
}

TKey* TUnitMuz::SelectedKey() const {
  return IsSelected(staveSymbolKey) ? static_cast<TKey*>(SelectedSymbol) : nullptr;
}

bool TUnitMuz::IsChord(const TNoteNote& note) const {
  const TNoteStave* stave = note.GetNoteStave();
  for (const TStaveSymbol* s : {stave->PreviousSymbol(&note), stave->NextSymbol(&note)})
    if (Is(s, staveSymbolNote) && s->GetSymbolPosition() == note.GetPosition()) return true;
  return false;
}

// ---------------------------------------------------------------------------
// Length commands

bool TUnitMuz::CanMusicNoteExecute(std::int32_t length) const {
  if (!IsLengthKind(length) || UnitMuzMode == unitMuzDel) return false;
  if (UnitMuzMode == unitMuzAdd) return true;
  if (IsSelected(staveSymbolMuzBar) || IsSelected(staveSymbolNote)) return true;
  return IsSelected(staveSilence) && SelectedSymbol->GetNoteStave()->GetSelectedNoteGroup();
}

void TUnitMuz::MusicNoteExecute(std::int32_t length) {
  TB_ASSERT(UnitMuzMode != unitMuzDel);
  TB_ASSERT_TEXT(CanMusicNoteExecute(length), "CanMusicNoteExecute(length)");
  const auto lengthKind = static_cast<std::uint8_t>(length);
  if (UnitMuzMode == unitMuzAdd) {
    AddLength = lengthKind;
    AddSymbolKind = staveSymbolNote;
    return;
  }
  TNoteStave* stave = SelectedSymbol->GetNoteStave();
  switch (SelectedSymbol->GetStaveSymbolKind()) {
    case staveSymbolMuzBar: {
      auto* bar = static_cast<TMuzBar*>(SelectedSymbol);
      const double count = std::trunc(static_cast<double>(bar->CountNotes) * length /
                                          static_cast<double>(bar->NoteLength) +
                                      0.5);
      bar->CountNotes = static_cast<std::int32_t>(std::clamp(count, 1.0, 99.0));
      bar->NoteLength = lengthKind;
      Changed();
      return;
    }
    case staveSymbolNote: {
      auto* note = static_cast<TNoteNote*>(SelectedSymbol);
      const double oldLength = note->GetNoteLength();
      TStaveSymbol* end = ChordEnd(note);
      for (TNoteNote* n : GetChord(*stave, note->GetPosition())) n->LengthKind = lengthKind;
      ShiftAfter(stave, end, note->GetNoteLength() - oldLength);
      Changed();
      note->AutoPlayNote(Tempo.GetValue());
      return;
    }
    default: {
      auto* rest = static_cast<TSilence*>(SelectedSymbol);
      TNoteGroup* group = stave->GetSelectedNoteGroup();
      TB_ASSERT_TEXT(stave != nullptr, "noteStave != NULL");
      TB_ASSERT_TEXT(group != nullptr, "SelectedNoteGroup != NULL");
      const double oldLength = rest->GetDuration();
      auto note = std::make_unique<TNoteNote>(this, group, lengthKind, rest->Points,
                                              rest->GetSymbolPosition(), 0, stave);
      RemoveSymbol(rest);
      TStaveSymbol* added = InsertSymbol(std::move(note));
      SetSelected(added);
      ShiftAfter(stave, added, added->GetDuration() - oldLength);
      Changed();
      return;
    }
  }
}

bool TUnitMuz::CanMusicSilenceExecute(std::int32_t length) const {
  if (!IsLengthKind(length) || UnitMuzMode == unitMuzDel) return false;
  return UnitMuzMode == unitMuzAdd || IsSelected(staveSymbolNote) || IsSelected(staveSilence);
}

void TUnitMuz::MusicSilenceExecute(std::int32_t length) {
  TB_ASSERT(UnitMuzMode != unitMuzDel);
  TB_ASSERT_TEXT(CanMusicSilenceExecute(length), "CanMusicSilenceExecute(length)");
  const auto lengthKind = static_cast<std::uint8_t>(length);
  if (UnitMuzMode == unitMuzAdd) {
    AddLength = lengthKind;
    AddSymbolKind = staveSilence;
    return;
  }
  TNoteStave* stave = SelectedSymbol->GetNoteStave();
  if (Is(SelectedSymbol, staveSilence)) {
    auto* rest = static_cast<TSilence*>(SelectedSymbol);
    const double oldLength = rest->GetDuration();
    rest->NoteLength = lengthKind;
    ShiftAfter(stave, rest, rest->GetDuration() - oldLength);
    Changed();
    return;
  }
  auto* selected = static_cast<TNoteNote*>(SelectedSymbol);
  const double position = selected->GetPosition();
  const double oldLength = selected->GetNoteLength();
  const std::int32_t points = selected->GetPoints();
  for (TNoteNote* deleteSymbol : GetChord(*stave, position)) {
    TB_ASSERT(deleteSymbol->GetStaveSymbolKind() == staveSymbolNote);
    TB_ASSERT(deleteSymbol->GetSymbolPosition() == position);
    RemoveWrittenNoteShift(*deleteSymbol);
    RemoveSymbol(deleteSymbol);
  }
  TStaveSymbol* rest =
      InsertSymbol(std::make_unique<TSilence>(lengthKind, points, position, stave));
  SetSelected(rest);
  ShiftAfter(stave, rest, rest->GetDuration() - oldLength);
  Changed();
}

// ---------------------------------------------------------------------------
// Key and accidental commands

bool TUnitMuz::CanMusicKeyExecute(std::int8_t keyKind) const {
  if (keyKind != keyKindG && keyKind != keyKindC && keyKind != keyKindF) return false;
  return UnitMuzMode == unitMuzAdd || SelectedKey() != nullptr;
}

void TUnitMuz::MusicKeyExecute(std::int8_t keyKind) {
  TB_ASSERT(UnitMuzMode != unitMuzDel);
  TB_ASSERT_TEXT(CanMusicKeyExecute(keyKind), "CanMusicKeyExecute(keyKind)");
  if (UnitMuzMode == unitMuzAdd) {
    AddKeyKind = keyKind;
    AddSymbolKind = staveSymbolKey;
    return;
  }
  TKey* key = SelectedKey();
  if (key->GetKeyKind() == keyKind) return;
  ChangeKey(*key, keyKind, key->GetAddOctaves());
  Changed();
}

bool TUnitMuz::CanMusicNoteShiftExecute(std::uint8_t kind) const {
  if (kind > noteShiftDoubleMol || UnitMuzMode == unitMuzDel) return false;
  return UnitMuzMode == unitMuzAdd || CanApplyNoteShift(SelectedSymbol, kind);
}

void TUnitMuz::MusicNoteShiftExecute(std::uint8_t kind) {
  TB_ASSERT(UnitMuzMode != unitMuzDel);
  TB_ASSERT_TEXT(CanMusicNoteShiftExecute(kind), "CanMusicNoteShiftExecute(kind)");
  if (UnitMuzMode == unitMuzAdd) {
    AddNoteShiftKind = kind;
    AddSymbolKind = staveSymbolNoteShift;
    return;
  }
  ApplyNoteShift(SelectedSymbol, kind);
}

bool TUnitMuz::CanAddNoteShiftAt(const TStaveSymbol* symbol) const {
  return UnitMuzMode == unitMuzAdd && CanApplyNoteShift(symbol, AddNoteShiftKind);
}

void TUnitMuz::AddNoteShiftAt(TStaveSymbol* symbol) {
  TB_ASSERT_TEXT(CanAddNoteShiftAt(symbol), "CanAddNoteShiftAt(symbol)");
  ApplyNoteShift(symbol, AddNoteShiftKind);
}

// ---------------------------------------------------------------------------
// Dots

bool TUnitMuz::CanMusicPointAddExecute() const {
  if (UnitMuzMode == unitMuzDel) return false;
  if (UnitMuzMode == unitMuzAdd) return AddPoints < kMaxPoints;
  if (IsSelected(staveSymbolMuzBar))
    return static_cast<const TMuzBar*>(SelectedSymbol)->GetCountNotes() < kMaxCountNotes;
  if (IsSelected(staveSilence))
    return static_cast<const TSilence*>(SelectedSymbol)->GetPoints() < kMaxPoints;
  if (const TNoteNote* note = SelectedNote(); note != nullptr) {
    for (const TNoteNote* n : GetChord(*note->GetNoteStave(), note->GetPosition()))
      if (n->GetPoints() >= kMaxPoints) return false;
    return true;
  }
  return false;
}

bool TUnitMuz::CanMusicPointDeleteExecute() const {
  if (UnitMuzMode == unitMuzDel) return false;
  if (UnitMuzMode == unitMuzAdd) return AddPoints > 0;
  if (IsSelected(staveSymbolMuzBar))
    return static_cast<const TMuzBar*>(SelectedSymbol)->GetCountNotes() > 1;
  if (IsSelected(staveSilence))
    return static_cast<const TSilence*>(SelectedSymbol)->GetPoints() > 0;
  if (const TNoteNote* note = SelectedNote(); note != nullptr) {
    for (const TNoteNote* n : GetChord(*note->GetNoteStave(), note->GetPosition()))
      if (n->GetPoints() <= 0) return false;
    return true;
  }
  return false;
}

void TUnitMuz::MusicPointAddExecute() {
  TB_ASSERT(UnitMuzMode != unitMuzDel);
  if (UnitMuzMode == unitMuzAdd) TB_ASSERT(AddPoints < 3);
  TB_ASSERT_TEXT(CanMusicPointAddExecute(), "CanMusicPointAddExecute()");
  if (UnitMuzMode == unitMuzAdd) {
    ++AddPoints;
    return;
  }
  if (IsSelected(staveSymbolMuzBar)) {
    ++static_cast<TMuzBar*>(SelectedSymbol)->CountNotes;
    Changed();
    return;
  }
  TNoteStave* stave = SelectedSymbol->GetNoteStave();
  const double oldLength = SelectedSymbol->GetDuration();
  if (IsSelected(staveSilence)) {
    ++static_cast<TSilence*>(SelectedSymbol)->Points;
    ShiftAfter(stave, SelectedSymbol, SelectedSymbol->GetDuration() - oldLength);
    Changed();
    return;
  }
  TNoteNote* note = SelectedNote();
  TStaveSymbol* end = ChordEnd(note);
  for (TNoteNote* n : GetChord(*stave, note->GetPosition())) ++n->Points;
  ShiftAfter(stave, end, note->GetNoteLength() - oldLength);
  Changed();
  note->AutoPlayNote(Tempo.GetValue());
}

void TUnitMuz::MusicPointDeleteExecute() {
  TB_ASSERT(UnitMuzMode != unitMuzDel);
  if (UnitMuzMode == unitMuzAdd) TB_ASSERT(AddPoints > 0);
  TB_ASSERT_TEXT(CanMusicPointDeleteExecute(), "CanMusicPointDeleteExecute()");
  if (UnitMuzMode == unitMuzAdd) {
    --AddPoints;
    return;
  }
  if (IsSelected(staveSymbolMuzBar)) {
    --static_cast<TMuzBar*>(SelectedSymbol)->CountNotes;
    Changed();
    return;
  }
  TNoteStave* stave = SelectedSymbol->GetNoteStave();
  const double oldLength = SelectedSymbol->GetDuration();
  if (IsSelected(staveSilence)) {
    --static_cast<TSilence*>(SelectedSymbol)->Points;
    ShiftAfter(stave, SelectedSymbol, SelectedSymbol->GetDuration() - oldLength);
    Changed();
    return;
  }
  TNoteNote* note = SelectedNote();
  TStaveSymbol* end = ChordEnd(note);
  for (TNoteNote* n : GetChord(*stave, note->GetPosition())) --n->Points;
  ShiftAfter(stave, end, note->GetNoteLength() - oldLength);
  Changed();
  note->AutoPlayNote(Tempo.GetValue());
}

// ---------------------------------------------------------------------------
// Selection moves

bool TUnitMuz::CanMusicSelectUpExecute() const {
  const TNoteNote* note = SelectedNote();
  if (note == nullptr) return false;
  const TStaveSymbol* prevSymbol = note->GetNoteStave()->PreviousSymbol(note);
  return Is(prevSymbol, staveSymbolNote) && prevSymbol->GetSymbolPosition() == note->GetPosition();
}

void TUnitMuz::MusicSelectUpExecute() {
  TB_ASSERT(UnitMuzMode == unitMuzSel);
  TB_ASSERT_TEXT(CanMusicSelectUpExecute(), "CanMusicSelectUpExecute()");
  SetSelected(SelectedSymbol->GetNoteStave()->PreviousSymbol(SelectedSymbol));
}

bool TUnitMuz::CanMusicSelectDownExecute() const {
  const TNoteNote* note = SelectedNote();
  if (note == nullptr) return false;
  const TStaveSymbol* nextSymbol = note->GetNoteStave()->NextSymbol(note);
  return Is(nextSymbol, staveSymbolNote) && nextSymbol->GetSymbolPosition() == note->GetPosition();
}

void TUnitMuz::MusicSelectDownExecute() {
  TB_ASSERT(UnitMuzMode == unitMuzSel);
  TB_ASSERT_TEXT(CanMusicSelectDownExecute(), "CanMusicSelectDownExecute()");
  SetSelected(SelectedSymbol->GetNoteStave()->NextSymbol(SelectedSymbol));
}

TStaveSymbol* TUnitMuz::SelectedColumn(bool next) const {
  if (UnitMuzMode != unitMuzSel || SelectedSymbol == nullptr) return nullptr;
  const TNoteStave* stave =
      SelectedSymbol->GetNoteStave() != nullptr ? SelectedSymbol->GetNoteStave() : CurrentStave;
  if (stave == nullptr) return nullptr;
  return next ? stave->NextColumn(SelectedSymbol) : stave->PreviousColumn(SelectedSymbol);
}

bool TUnitMuz::CanMusicSelectPrevExecute() const { return SelectedColumn(false) != nullptr; }

void TUnitMuz::MusicSelectPrevExecute() {
  TB_ASSERT(UnitMuzMode == unitMuzSel);
  TB_ASSERT_TEXT(CanMusicSelectPrevExecute(), "CanMusicSelectPrevExecute()");
  SetSelected(SelectedColumn(false));
}

bool TUnitMuz::CanMusicSelectNextExecute() const { return SelectedColumn(true) != nullptr; }

void TUnitMuz::MusicSelectNextExecute() {
  TB_ASSERT(UnitMuzMode == unitMuzSel);
  TB_ASSERT_TEXT(CanMusicSelectNextExecute(), "CanMusicSelectNextExecute()");
  SetSelected(SelectedColumn(true));
}

// ---------------------------------------------------------------------------
// Moves of notes and keys

std::int32_t TUnitMuz::FreeHeight(const TNoteNote& note, std::int32_t step) const {
  const TKey* key = note.GetKey();
  const std::vector<TNoteNote*> chord = GetChord(*note.GetNoteStave(), note.GetPosition());
  auto taken = [&chord](std::int32_t height) {
    return std::any_of(chord.begin(), chord.end(),
                       [height](const TNoteNote* n) { return n->GetHeight() == height; });
  };
  if (step == 7 || step == -7) {
    const std::int32_t height = note.GetHeight() + step;
    return key->IsHeightAllowed(height) && !taken(height) ? height : kNoHeight;
  }
  for (std::int32_t height = note.GetHeight() + step; key->IsHeightAllowed(height); height += step)
    if (!taken(height)) return height;
  return kNoHeight;
}

bool TUnitMuz::CanMusicMoveUpExecute() const {
  const TNoteNote* note = SelectedNote();
  return note != nullptr && FreeHeight(*note, 1) != kNoHeight;
}

bool TUnitMuz::CanMusicMoveDownExecute() const {
  const TNoteNote* note = SelectedNote();
  return note != nullptr && FreeHeight(*note, -1) != kNoHeight;
}

bool TUnitMuz::CanMusicMoveOctUpExecute() const {
  if (const TKey* key = SelectedKey(); key != nullptr) return key->GetAddOctaves() < 2;
  const TNoteNote* note = SelectedNote();
  return note != nullptr && FreeHeight(*note, 7) != kNoHeight;
}

bool TUnitMuz::CanMusicMoveOctDownExecute() const {
  if (const TKey* key = SelectedKey(); key != nullptr) return key->GetAddOctaves() > -2;
  const TNoteNote* note = SelectedNote();
  return note != nullptr && FreeHeight(*note, -7) != kNoHeight;
}

namespace {

const char* MoveCondition(std::int32_t step) {
  switch (step) {
    case 1:
      return "UpperPosition(moveNote, pitch)";
    case -1:
      return "LowerPosition(moveNote, pitch)";
    case 7:
      return "UpperOctPosition(moveNote, pitch)";
    default:
      return "LowerOctPosition(moveNote, pitch)";
  }
}

}  // namespace

// One move of the selected note: its written accidental goes, it takes the
// free height `step` away and sounds with what is in effect there.
#define TB_MOVE_NOTE(step)                                    \
  do {                                                        \
    TB_ASSERT(UnitMuzMode == unitMuzSel);                     \
    TNoteNote* moveNote = SelectedNote();                     \
    TB_ASSERT_TEXT(moveNote != nullptr, "moveNote != NULL");  \
    const std::int32_t height = FreeHeight(*moveNote, step);  \
    TB_ASSERT_TEXT(height != kNoHeight, MoveCondition(step)); \
    RemoveWrittenNoteShift(*moveNote);                        \
    SetNoteHeight(*moveNote, height);                         \
    Changed();                                                \
    moveNote->AutoPlayNote(Tempo.GetValue());                 \
  } while (false)

void TUnitMuz::MusicMoveUpExecute() { TB_MOVE_NOTE(1); }

void TUnitMuz::MusicMoveDownExecute() { TB_MOVE_NOTE(-1); }

void TUnitMuz::MusicMoveOctUpExecute() {
  if (TKey* key = SelectedKey(); key != nullptr) {
    const std::int32_t addOctaves = key->GetAddOctaves();
    TB_ASSERT(addOctaves < 2);
    ChangeKey(*key, key->GetKeyKind(), addOctaves + 1);
    Changed();
    return;
  }
  TB_MOVE_NOTE(7);
}

void TUnitMuz::MusicMoveOctDownExecute() {
  if (TKey* key = SelectedKey(); key != nullptr) {
    const std::int32_t addOctaves = key->GetAddOctaves();
    TB_ASSERT(addOctaves > -2);
    ChangeKey(*key, key->GetKeyKind(), addOctaves - 1);
    Changed();
    return;
  }
  TB_MOVE_NOTE(-7);
}

#undef TB_MOVE_NOTE

// ---------------------------------------------------------------------------
// Note groups

TNoteGroup* TUnitMuz::NeighbourGroup(const TNoteNote& note, bool next) const {
  const TNoteGroup* group = note.GetNoteGroup();
  return next ? group->GetNext() : note.GetNoteStave()->GetPreviousNoteGroup(group);
}

bool TUnitMuz::CanMusicNoteGroupPrevExecute() const {
  const TNoteNote* note = SelectedNote();
  return note != nullptr && NeighbourGroup(*note, false) != nullptr;
}

bool TUnitMuz::CanMusicNoteGroupNextExecute() const {
  const TNoteNote* note = SelectedNote();
  return note != nullptr && NeighbourGroup(*note, true) != nullptr;
}

void TUnitMuz::MusicNoteGroupPrevExecute() {
  TB_ASSERT(UnitMuzMode == unitMuzSel);
  TB_ASSERT_TEXT(CanMusicNoteGroupPrevExecute(), "CanMusicNoteGroupPrevExecute()");
  TNoteNote* note = SelectedNote();
  note->NoteGroup = NeighbourGroup(*note, false);
  note->GetNoteStave()->SetSelectedNoteGroup(note->NoteGroup);
  Changed();
  note->AutoPlayNote(Tempo.GetValue());
}

void TUnitMuz::MusicNoteGroupNextExecute() {
  TB_ASSERT(UnitMuzMode == unitMuzSel);
  TB_ASSERT_TEXT(CanMusicNoteGroupNextExecute(), "CanMusicNoteGroupNextExecute()");
  TNoteNote* note = SelectedNote();
  note->NoteGroup = NeighbourGroup(*note, true);
  note->GetNoteStave()->SetSelectedNoteGroup(note->NoteGroup);
  Changed();
  note->AutoPlayNote(Tempo.GetValue());
}

// ---------------------------------------------------------------------------
// Delete

bool TUnitMuz::CanDeleteSymbol(const TStaveSymbol* symbol) const {
  if (symbol == nullptr) return false;
  if (Is(symbol, staveSymbolMuzBar)) return symbol->GetSymbolPosition() != 0;
  if (Is(symbol, staveSymbolKey)) return !IsOnlyKeyAtZero(*static_cast<const TKey*>(symbol));
  return true;
}

bool TUnitMuz::CanMusicDeleteExecute() const {
  return UnitMuzMode == unitMuzSel && CanDeleteSymbol(SelectedSymbol);
}

void TUnitMuz::MusicDeleteExecute() {
  TB_ASSERT(UnitMuzMode == unitMuzSel);
  TB_ASSERT_TEXT(CanMusicDeleteExecute(), "CanMusicDeleteExecute()");
  DeleteSymbol(SelectedSymbol);
}

void TUnitMuz::DeleteSymbol(TStaveSymbol* symbol) {
  TB_ASSERT_TEXT(CanDeleteSymbol(symbol), "CanDeleteSymbol(symbol)");
  TNoteStave* stave = symbol->GetNoteStave();
  // The symbol of the stave before the deleted one (not an accidental that
  // goes with it), to find the neighbours afterwards.
  TStaveSymbol* before = stave == nullptr ? symbol->GetPrevious() : stave->PreviousSymbol(symbol);
  if (TNoteNote* note = AsNote(symbol); note != nullptr) {
    while (before != nullptr && Is(before, staveSymbolNoteShift) &&
           before->GetSymbolPosition() == note->GetPosition())
      before = stave->PreviousSymbol(before);
  }
  switch (symbol->GetStaveSymbolKind()) {
    case staveSymbolKey: {
      auto* key = static_cast<TKey*>(symbol);
      const double position = key->GetSymbolPosition();
      const TKey* prevKey =
          key->GetPrevious() == nullptr ? nullptr : key->GetPrevious()->FindKey(stave);
      const bool otherClef =
          prevKey != nullptr && (prevKey->GetKeyKind() != key->GetKeyKind() ||
                                 prevKey->GetAddOctaves() != key->GetAddOctaves());
      std::vector<TNoteNote*> notes;
      if (otherClef) notes = NotesOfStave(stave);
      PushAll(notes);
      // The signature goes with its key: left behind it would be read as
      // part of the key before.
      for (TNoteShift* shift : GetSignature(*key)) RemoveSymbol(shift);
      const std::int32_t number = key->GetSequenceNumber();
      TStaveSymbol* after = key->GetNext();
      RemoveSymbol(key);
      std::int32_t next = number - 1;
      std::vector<TStaveSymbol*> renumbered;
      for (TStaveSymbol* s = after; s != nullptr && s->GetSymbolPosition() == position;
           s = s->GetNext()) {
        if (s->GetNoteStave() != stave) continue;
        if (Is(s, staveSymbolKey)) {
          static_cast<TKey*>(s)->SequenceNumber = ++next;
          renumbered.push_back(s);
        } else if (IsKeyScope(s)) {
          static_cast<TNoteShift*>(s)->KeySequenceNumber = next;
          renumbered.push_back(s);
        }
      }
      Resort(renumbered);
      PopAll(notes);
      break;
    }
    case staveSymbolMuzBar:
      RemoveSymbol(symbol);
      break;
    case staveSymbolNoteShift:
      if (IsKeyScope(symbol)) {
        const std::vector<TNoteNote*> notes = NotesOfStave(stave);
        PushAll(notes);
        RemoveSymbol(symbol);
        PopAll(notes);
      } else {
        RemoveSymbol(symbol);
      }
      break;
    case staveSymbolNote: {
      auto* note = static_cast<TNoteNote*>(symbol);
      // Its accidental goes first: a note shifted back onto its place and
      // height gets one of its own there.
      RemoveWrittenNoteShift(*note);
      note->AutoPlayNote(Tempo.GetValue());
      if (!IsChord(*note)) ShiftAfter(stave, note, -note->GetNoteLength());
      RemoveSymbol(note);
      break;
    }
    case staveSilence:
      ShiftAfter(stave, symbol, -symbol->GetDuration());
      RemoveSymbol(symbol);
      break;
  }
  if (UnitMuzMode == unitMuzSel) {
    TStaveSymbol* next = nullptr;
    if (stave == nullptr)
      next = before == nullptr ? FirstSymbol.get() : before->GetNext();
    else if (before != nullptr)
      next = stave->NextSymbol(before);
    else
      for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr && next == nullptr; s = s->GetNext())
        if (s->GetNoteStave() == stave) next = s;
    SetSelected(next != nullptr ? next : before);
  }
  Changed();
}

// ---------------------------------------------------------------------------
// Insertion

namespace {

double InsertPosition(const TStaveSymbol* before, const TStaveSymbol* after) {
  if (after != nullptr) return after->GetSymbolPosition();
  return before->GetSymbolPosition() + before->GetDuration();
}

// A gap inside a chord (between two of its notes) is no gap: what goes
// in there would land in the chord.
bool InsideAColumn(const TStaveSymbol* before, const TStaveSymbol* after) {
  return (Is(before, staveSymbolNote) || Is(before, staveSilence)) && after != nullptr &&
         after->GetSymbolPosition() <= before->GetSymbolPosition();
}

bool HasChordHeight(const std::vector<TNoteNote*>& chord, std::int32_t height) {
  return std::any_of(chord.begin(), chord.end(),
                     [height](const TNoteNote* n) { return n->GetHeight() == height; });
}

}  // namespace

bool TUnitMuz::CanAddSymbol(TNoteStave* stave, TNoteNote* chordNote, TStaveSymbol* before,
                            TStaveSymbol* after, std::int32_t height) const {
  if (UnitMuzMode != unitMuzAdd || stave == nullptr) return false;
  if (chordNote == nullptr && before == nullptr && after == nullptr) return false;
  for (const TStaveSymbol* s :
       {static_cast<const TStaveSymbol*>(chordNote), static_cast<const TStaveSymbol*>(before),
        static_cast<const TStaveSymbol*>(after)})
    if (s != nullptr && s->GetNoteStave() != nullptr && s->GetNoteStave() != stave) return false;
  switch (AddSymbolKind) {
    case staveSymbolKey:
      if (before == nullptr && after == nullptr) return false;
      return InsertPosition(before, after) > 0;
    case staveSymbolNote: {
      if (stave->GetSelectedNoteGroup() == nullptr) return false;
      if (chordNote != nullptr) {
        const TKey* key = chordNote->FindKey(stave);
        return key != nullptr && key->IsHeightAllowed(height) &&
               !HasChordHeight(GetChord(*stave, chordNote->GetPosition()), height);
      }
      if (before == nullptr || before->FindBar() == nullptr || InsideAColumn(before, after))
        return false;
      const TKey* key = before->FindKey(stave);
      return key != nullptr && key->IsHeightAllowed(height);
    }
    case staveSilence:
      return chordNote == nullptr && before != nullptr && before->FindBar() != nullptr &&
             before->FindKey(stave) != nullptr && !InsideAColumn(before, after);
    default:
      return false;
  }
}

void TUnitMuz::AddSymbol(TNoteStave* inNoteStave, TNoteNote* inNote, TStaveSymbol* firstSymbol,
                         TStaveSymbol* lastSymbol, std::int32_t height) {
  TB_ASSERT_TEXT(inNote != nullptr || firstSymbol != nullptr || lastSymbol != nullptr,
                 "inNote != NULL | firstSymbol!= NULL || lastSymbol != NULL");
  TB_ASSERT_TEXT(inNoteStave != nullptr, "inNoteStave != NULL");
  TB_ASSERT_TEXT(CanAddSymbol(inNoteStave, inNote, firstSymbol, lastSymbol, height),
                 "CanAddSymbol(stave, chordNote, before, after, height)");
  TNoteStave* stave = inNoteStave;
  switch (AddSymbolKind) {
    case staveSymbolKey: {
      const double position = InsertPosition(firstSymbol, lastSymbol);
      std::vector<TNoteNote*> notes;
      if (lastSymbol != nullptr) {
        const TKey* inEffect = lastSymbol->FindKey(stave);
        if (inEffect != nullptr &&
            (inEffect->GetKeyKind() != AddKeyKind || inEffect->GetAddOctaves() != 0))
          notes = NotesOfStave(stave);
      }
      PushAll(notes);
      std::int32_t number = 1;
      if (Is(firstSymbol, staveSymbolKey))
        number = static_cast<TKey*>(firstSymbol)->GetSequenceNumber() + 1;
      else if (IsKeyScope(firstSymbol))
        number = static_cast<TNoteShift*>(firstSymbol)->GetKeySequenceNumber() + 1;
      // A gap between the notes of a chord lies after the keys of its
      // position: the new key follows them.
      for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr && s != lastSymbol; s = s->GetNext())
        if (Is(s, staveSymbolKey) && s->GetNoteStave() == stave &&
            s->GetSymbolPosition() == position)
          number = std::max(number, static_cast<TKey*>(s)->GetSequenceNumber() + 1);
      // The keys at this position after the gap follow the new one.
      std::int32_t next = number;
      std::vector<TStaveSymbol*> renumbered;
      for (TStaveSymbol* s = lastSymbol; s != nullptr && s->GetSymbolPosition() == position;
           s = s->GetNext()) {
        if (s->GetNoteStave() != stave) continue;
        if (Is(s, staveSymbolKey)) {
          static_cast<TKey*>(s)->SequenceNumber = ++next;
          renumbered.push_back(s);
        } else if (IsKeyScope(s) && next > number) {
          static_cast<TNoteShift*>(s)->KeySequenceNumber = next;
          renumbered.push_back(s);
        }
      }
      Resort(renumbered);
      InsertSymbol(std::make_unique<TKey>(this, AddKeyKind, 0, position, stave, number));
      PopAll(notes);
      Changed();
      return;
    }
    case staveSymbolNote: {
      TNoteGroup* group = stave->GetSelectedNoteGroup();
      TB_ASSERT_TEXT(group != nullptr, "SelectedNoteGroup != NULL");
      if (inNote != nullptr) {
        auto* note = static_cast<TNoteNote*>(InsertSymbol(
            std::make_unique<TNoteNote>(this, group, inNote->GetLengthKind(), inNote->GetPoints(),
                                        inNote->GetPosition(), height, stave)));
        Changed();
        note->AutoPlayNote(Tempo.GetValue());
        return;
      }
      auto note =
          std::make_unique<TNoteNote>(this, group, AddLength, AddPoints,
                                      InsertPosition(firstSymbol, lastSymbol), height, stave);
      ShiftAfter(stave, ChordEnd(firstSymbol), note->GetNoteLength());
      auto* added = static_cast<TNoteNote*>(InsertSymbol(std::move(note)));
      Changed();
      added->AutoPlayNote(Tempo.GetValue());
      return;
    }
    default: {
      auto rest = std::make_unique<TSilence>(AddLength, AddPoints,
                                             InsertPosition(firstSymbol, lastSymbol), stave);
      ShiftAfter(stave, ChordEnd(firstSymbol), rest->GetDuration());
      InsertSymbol(std::move(rest));
      Changed();
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Column exchange

bool TUnitMuz::SearchForSwitch(TStaveSymbol* start, TSwitchSide side, TStaveSymbol*& found) const {
  found = nullptr;
  if (start == nullptr) return false;
  const TStaveSymbolKind startKind = start->GetStaveSymbolKind();
  // The bar stands at the start for good; accidentals go with their notes.
  if (startKind == staveSymbolMuzBar || startKind == staveSymbolNoteShift) return false;
  if (startKind == staveSymbolKey && IsOnlyKeyAtZero(*static_cast<TKey*>(start))) return false;
  const TNoteStave* stave = start->GetNoteStave();
  const bool noteOrRest = startKind == staveSymbolNote || startKind == staveSilence;
  for (TStaveSymbol* s = side == side2Left ? start->GetPrevious() : start->GetNext(); s != nullptr;
       s = side == side2Left ? s->GetPrevious() : s->GetNext()) {
    if (Is(s, staveSymbolMuzBar)) {
      if (noteOrRest) return false;
      continue;
    }
    if (s->GetNoteStave() != stave || Is(s, staveSymbolNoteShift)) continue;
    if (Is(s, staveSymbolNote) && startKind == staveSymbolNote &&
        s->GetSymbolPosition() == start->GetSymbolPosition())
      continue;
    found = s;
    break;
  }
  if (found == nullptr) return false;
  if (Is(found, staveSymbolKey)) {
    const auto* key = static_cast<const TKey*>(found);
    if (IsOnlyKeyAtZero(*key)) return false;
    if (startKind == staveSymbolKey) {
      // Keys are exchanged only at one position, where their numbers meet.
      const auto* other = static_cast<const TKey*>(start);
      if (key->GetSymbolPosition() != other->GetSymbolPosition()) return false;
      return std::abs(key->GetSequenceNumber() - other->GetSequenceNumber()) == 1;
    }
  }
  return true;
}

bool TUnitMuz::CanMusicMovePrevExecute() const {
  TStaveSymbol* found = nullptr;
  return UnitMuzMode == unitMuzSel && SearchForSwitch(SelectedSymbol, side2Left, found);
}

bool TUnitMuz::CanMusicMoveNextExecute() const {
  TStaveSymbol* found = nullptr;
  return UnitMuzMode == unitMuzSel && SearchForSwitch(SelectedSymbol, side2Right, found);
}

void TUnitMuz::MusicMovePrevExecute() {
  TB_ASSERT(UnitMuzMode == unitMuzSel);
  TB_ASSERT_TEXT(CanMusicMovePrevExecute(), "CanMusicMovePrevExecute()");
  ExchangeColumns(side2Left);
}

void TUnitMuz::MusicMoveNextExecute() {
  TB_ASSERT(UnitMuzMode == unitMuzSel);
  TB_ASSERT_TEXT(CanMusicMoveNextExecute(), "CanMusicMoveNextExecute()");
  ExchangeColumns(side2Right);
}

void TUnitMuz::SwitchKeys(TKey& prevKey, TKey& nextKey) {
  const std::int32_t prevVolgnr = prevKey.GetSequenceNumber();
  const std::int32_t nextVolgnr = nextKey.GetSequenceNumber();
  const double prevPos = prevKey.GetSymbolPosition(), nextPos = nextKey.GetSymbolPosition();
  const TNoteStave* prevNoteStave = prevKey.GetNoteStave();
  const TNoteStave* nextNoteStave = nextKey.GetNoteStave();
  TB_ASSERT(prevVolgnr == nextVolgnr - 1);
  TB_ASSERT(prevPos == nextPos);
  TB_ASSERT_TEXT(prevNoteStave != nullptr && prevNoteStave == nextNoteStave,
                 "prevNoteStave != NULL && prevNoteStave == nextNoteStave");
  TNoteStave* stave = prevKey.GetNoteStave();
  std::vector<TNoteNote*> notes;
  if (prevKey.GetKeyKind() != nextKey.GetKeyKind() ||
      prevKey.GetAddOctaves() != nextKey.GetAddOctaves())
    notes = NotesOfStave(stave);
  PushAll(notes);
  std::vector<std::unique_ptr<TStaveSymbol>> moved;
  for (TKey* key : {&prevKey, &nextKey}) {
    const std::int32_t number = key == &prevKey ? nextVolgnr : prevVolgnr;
    for (TNoteShift* shift : GetSignature(*key)) {
      shift->KeySequenceNumber = number;
      moved.push_back(RemoveSymbol(shift));
    }
    key->SequenceNumber = number;
  }
  moved.push_back(RemoveSymbol(&prevKey));
  moved.push_back(RemoveSymbol(&nextKey));
  // Keys first, so each signature finds its clef when it is placed.
  for (auto it = moved.rbegin(); it != moved.rend(); ++it) InsertSymbol(std::move(*it));
  PopAll(notes);
}

void TUnitMuz::MoveKey(TKey& key, double newPos) {
  const double oldPos = key.GetSymbolPosition();
  TB_ASSERT(oldPos != newPos);
  TNoteStave* stave = key.GetNoteStave();
  std::vector<std::unique_ptr<TStaveSymbol>> moved;
  for (TNoteShift* shift : GetSignature(key)) moved.push_back(RemoveSymbol(shift));
  std::unique_ptr<TStaveSymbol> owned = RemoveSymbol(&key);
  // Moved back it comes after the keys already there, moved on before them.
  std::int32_t highest = 0;
  for (TStaveSymbol* s = FirstSymbol.get(); s != nullptr; s = s->GetNext())
    if (Is(s, staveSymbolKey) && s->GetNoteStave() == stave && s->GetSymbolPosition() == newPos)
      highest = std::max(highest, static_cast<TKey*>(s)->GetSequenceNumber());
  key.Position = newPos;
  key.SequenceNumber = newPos < oldPos ? highest + 1 : 0;
  for (auto& shift : moved) {
    shift->Position = newPos;
    static_cast<TNoteShift*>(shift.get())->KeySequenceNumber = key.SequenceNumber;
  }
  InsertSymbol(std::move(owned));
  for (auto& shift : moved) InsertSymbol(std::move(shift));
  RenumberKeysAt(stave, newPos);
  RenumberKeysAt(stave, oldPos);
}

void TUnitMuz::ExchangeColumns(TSwitchSide side) {
  TStaveSymbol* start = SelectedSymbol;
  TStaveSymbol* found = nullptr;
  const bool ok = SearchForSwitch(start, side, found);
  // The selected symbol only moves: it stays selected.
  TStaveSymbol* const selected = SelectedSymbol;
  TB_ASSERT(ok);
  TB_ASSERT(start->GetStaveSymbolKind() != staveSymbolNoteShift);
  TNoteStave* stave = start->GetNoteStave();
  TStaveSymbol* prevSymbol = side == side2Left ? found : start;
  TStaveSymbol* nextSymbol = side == side2Left ? start : found;
  if (Is(prevSymbol, staveSymbolKey) && Is(nextSymbol, staveSymbolKey)) {
    auto* a = static_cast<TKey*>(prevSymbol);
    auto* b = static_cast<TKey*>(nextSymbol);
    if (a->GetSequenceNumber() > b->GetSequenceNumber()) std::swap(a, b);
    SwitchKeys(*a, *b);
    SelectedSymbol = selected;
    Changed();
    return;
  }
  const double prevPosition = prevSymbol->GetSymbolPosition();
  const double nextLength = Is(nextSymbol, staveSymbolKey) ? 0 : nextSymbol->GetDuration();
  const double newNextPosition = prevPosition;
  const double newPrevPosition = prevPosition + nextLength;

  std::vector<TNoteNote*> marked;
  for (auto [symbol, mark] : {std::pair{prevSymbol, 2}, std::pair{nextSymbol, 1}}) {
    if (!Is(symbol, staveSymbolNote)) continue;
    for (TNoteNote* note : GetChord(*stave, symbol->GetSymbolPosition())) {
      note->SetMark(mark);
      note->Push();
      marked.push_back(note);
    }
  }
  for (TNoteNote* note : marked) RemoveWrittenNoteShift(*note);
  for (auto [symbol, position] :
       {std::pair{prevSymbol, newPrevPosition}, std::pair{nextSymbol, newNextPosition}}) {
    if (Is(symbol, staveSilence)) {
      symbol->Position = position;
      InsertSymbol(RemoveSymbol(symbol));
    } else if (Is(symbol, staveSymbolKey)) {
      MoveKey(*static_cast<TKey*>(symbol), position);
    }
  }
  std::vector<std::unique_ptr<TStaveSymbol>> moving;
  for (TNoteNote* note : marked) {
    note->Position = note->GetMark() == 2 ? newPrevPosition : newNextPosition;
    note->ClearMark();
    moving.push_back(RemoveSymbol(note));
  }
  for (auto& note : moving) InsertSymbol(std::move(note));
  SelectedSymbol = selected;
  // Popped in chain order, after every note has its new place.
  PopAll(marked);
  Changed();
}

// ---------------------------------------------------------------------------
// Checked states

bool TUnitMuz::IsMusicNoteChecked(std::int32_t length) const {
  if (UnitMuzMode == unitMuzAdd) return AddSymbolKind == staveSymbolNote && AddLength == length;
  if (const TNoteNote* note = SelectedNote(); note != nullptr)
    return note->GetLengthKind() == length;
  return IsSelected(staveSymbolMuzBar) &&
         static_cast<const TMuzBar*>(SelectedSymbol)->GetNoteLength() == length;
}

bool TUnitMuz::IsMusicSilenceChecked(std::int32_t length) const {
  if (UnitMuzMode == unitMuzAdd) return AddSymbolKind == staveSilence && AddLength == length;
  return IsSelected(staveSilence) &&
         static_cast<const TSilence*>(SelectedSymbol)->GetNoteLength() == length;
}

bool TUnitMuz::IsMusicKeyChecked(std::int8_t keyKind) const {
  if (UnitMuzMode == unitMuzAdd) return AddSymbolKind == staveSymbolKey && AddKeyKind == keyKind;
  const TKey* key = SelectedKey();
  return key != nullptr && key->GetKeyKind() == keyKind;
}

bool TUnitMuz::IsMusicNoteShiftChecked(std::uint8_t kind) const {
  if (UnitMuzMode == unitMuzAdd)
    return AddSymbolKind == staveSymbolNoteShift && AddNoteShiftKind == kind;
  if (IsSelected(staveSymbolNoteShift))
    return static_cast<const TNoteShift*>(SelectedSymbol)->GetNoteShiftKind() == kind;
  const TNoteNote* note = SelectedNote();
  const TNoteShift* written = note == nullptr ? nullptr : note->GetNoteShiftWritten();
  return written != nullptr && written->GetNoteShiftKind() == kind;
}
