#include "music/muznote.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "base/tbassert.h"
#include "music/stave.h"
#include "music/unitmuz.h"

std::int32_t WrapSteps(std::int32_t x, std::int32_t low) {
  std::int32_t r = (x - low) % 7;
  if (r < 0) r += 7;
  return r + low;
}

bool IsLengthKind(std::int32_t lengthKind) {
  for (std::int32_t l = 1; l <= 64; l *= 2)
    if (l == lengthKind) return true;
  return false;
}

double NoteValue(std::int32_t lengthKind, std::int32_t points) {
  TB_ASSERT(IsLengthKind(lengthKind));
  TB_ASSERT(points >= 0 && points <= kMaxPoints);
  // Single precision, as the renderer takes it; every value is a binary
  // fraction, so nothing is lost.
  const float value =
      (1.0F / static_cast<float>(lengthKind)) * (2.0F - std::pow(0.5F, static_cast<float>(points)));
  return static_cast<double>(value);
}

std::int32_t NoteShiftSemitones(std::uint8_t kind) {
  TB_ASSERT(kind <= noteShiftDoubleMol);
  return 2 - static_cast<std::int32_t>(kind);
}

namespace {

std::int32_t ClefOf(const TKey* key) { return key == nullptr ? keyKindG : key->GetKeyKind(); }

}  // namespace

// ---------------------------------------------------------------------------
// TStaveSymbol

TStaveSymbol::~TStaveSymbol() {
  // The chain is destroyed by its document, one symbol at a time; a symbol
  // destroyed on its own holds no followers.
  std::unique_ptr<TStaveSymbol> rest = std::move(Next);
  while (rest != nullptr) rest = std::move(rest->Next);
}

std::int32_t TStaveSymbol::OrderClass() const {
  switch (GetStaveSymbolKind()) {
    case staveSymbolKey:
      return 1;
    case staveSymbolNoteShift:
      return static_cast<const TNoteShift*>(this)->GetNoteShiftScopeKind() == noteShiftScopeKey ? 1
                                                                                                : 4;
    case staveSymbolMuzBar:
      return 3;
    case staveSymbolNote:
      return 5;
    case staveSilence:
      return 6;
  }
  return 6;
}

std::int32_t TStaveSymbol::OrderSecondary() const {
  if (GetStaveSymbolKind() == staveSymbolKey)
    return 2 * static_cast<const TKey*>(this)->GetSequenceNumber();
  if (GetStaveSymbolKind() == staveSymbolNoteShift) {
    const auto* shift = static_cast<const TNoteShift*>(this);
    if (shift->GetNoteShiftScopeKind() == noteShiftScopeKey)
      return 2 * shift->GetKeySequenceNumber() + 1;
  }
  return 0;
}

bool TStaveSymbol::Before(const TStaveSymbol& other) const {
  if (Position < other.Position) return true;
  if (Position > other.Position) return false;
  const std::int32_t classA = OrderClass(), classB = other.OrderClass();
  if (classA != classB) return classA < classB;
  const std::int32_t secondA = OrderSecondary(), secondB = other.OrderSecondary();
  if (secondA != secondB) return secondA < secondB;
  const TStaveSymbolKind kind = GetStaveSymbolKind();
  if (kind != other.GetStaveSymbolKind()) return false;
  if (kind == staveSymbolNoteShift) {
    const auto& a = static_cast<const TNoteShift&>(*this);
    const auto& b = static_cast<const TNoteShift&>(other);
    if (a.GetNoteShiftKind() != b.GetNoteShiftKind())
      return a.GetNoteShiftKind() < b.GetNoteShiftKind();
    // Signature order: sharps F C G D A E B, flats B E A D G C F.
    const std::int32_t clef = ClefOf(FindKey(other.GetNoteStave()));
    std::int32_t f = 2, o = -1;
    if (a.GetNoteShiftKind() <= noteShiftNormal) {
      o = clef == keyKindF ? 3 : clef == keyKindC ? 1 : -1;
    } else {
      f = 5;
      o = clef == keyKindF ? 3 : clef == keyKindC ? 5 : 0;
    }
    return WrapSteps(f * a.GetHeight() + o) <= WrapSteps(f * b.GetHeight() + o);
  }
  if (kind == staveSymbolNote)
    return static_cast<const TNoteNote&>(*this).GetHeight() >
           static_cast<const TNoteNote&>(other).GetHeight();
  return false;
}

TKey* TStaveSymbol::FindKey(const TNoteStave* stave) const {
  for (const TStaveSymbol* s = this; s != nullptr; s = s->Previous)
    if (s->GetStaveSymbolKind() == staveSymbolKey && s->NoteStave == stave)
      return const_cast<TKey*>(static_cast<const TKey*>(s));
  return nullptr;
}

TMuzBar* TStaveSymbol::FindBar() const {
  for (const TStaveSymbol* s = this; s != nullptr; s = s->Previous)
    if (s->GetStaveSymbolKind() == staveSymbolMuzBar)
      return const_cast<TMuzBar*>(static_cast<const TMuzBar*>(s));
  return nullptr;
}

// ---------------------------------------------------------------------------
// TKey

TKey::TKey(TUnitMuz* unit, std::int8_t keyKind, std::int32_t addOctaves, double position,
           TNoteStave* noteStave, std::int32_t sequenceNumber)
    : TStaveSymbol(noteStave, position),
      KeyKind(keyKind),
      AddOctaves(addOctaves),
      SequenceNumber(sequenceNumber),
      Unit(unit) {
  TB_ASSERT(keyKind == keyKindG || keyKind == keyKindC || keyKind == keyKindF);
  TB_ASSERT(addOctaves >= -2);
  TB_ASSERT(addOctaves <= 2);
  TB_ASSERT_TEXT(noteStave != nullptr, "noteStave != NULL");
}

double TKey::DistanceTo(double middleLineY, double y) const {
  const double d = std::abs(y - middleLineY);
  return d < 15 ? 0 : d - 15;
}

std::string TKey::Dump() const {
  std::ostringstream out;
  out << "TKey: Position=" << GetSymbolPosition() << " KeyKind=" << int{KeyKind}
      << " AddOctaves=" << AddOctaves << " Volgnr=" << SequenceNumber;
  return out.str();
}

bool TKey::ToonLadder(std::int32_t& toonladder) const {
  std::int32_t sharps = 0, flats = 0;
  for (const TStaveSymbol* s = GetNext(); s != nullptr; s = s->GetNext()) {
    if (s->GetNoteStave() != GetNoteStave()) continue;
    if (s->GetStaveSymbolKind() != staveSymbolNoteShift) break;
    const auto* shift = static_cast<const TNoteShift*>(s);
    if (shift->GetNoteShiftScopeKind() != noteShiftScopeKey) break;
    const std::uint8_t kind = shift->GetNoteShiftKind();
    TB_ASSERT(kind == noteShiftKruis || kind == noteShiftMol);
    std::int32_t h = shift->GetHeight();
    if (KeyKind == keyKindG) h -= 1;
    if (KeyKind == keyKindF) h += 1;
    if (kind == noteShiftKruis) {
      if (flats > 0 || WrapSteps(2 * h + 1) != sharps) return false;
      ++sharps;
    } else {
      if (sharps > 0 || WrapSteps(5 * h + 5) != flats) return false;
      ++flats;
    }
    if (sharps > 7 || flats > 7) return false;
  }
  toonladder = sharps > 0 ? sharps : -flats;
  return true;
}

// ---------------------------------------------------------------------------
// TNoteShift, TMuzBar, TSilence

TNoteShift::TNoteShift(std::uint8_t kind, std::int32_t height, double position, std::uint8_t scope,
                       TNoteStave* noteStave, std::int32_t keySequenceNumber)
    : TStaveSymbol(noteStave, position),
      Kind(kind),
      Height(height),
      Scope(scope),
      KeySequenceNumber(keySequenceNumber) {
  TB_ASSERT(kind <= noteShiftDoubleMol);
  TB_ASSERT(scope == noteShiftScopeKey || scope == noteShiftScopeNote);
  TB_ASSERT_TEXT(noteStave != nullptr, "noteStave != NULL");
}

double TNoteShift::DistanceTo(double middleLineY, double y) const {
  return std::abs((middleLineY - 5.0 * Height) - y);
}

std::string TNoteShift::Dump() const {
  std::ostringstream out;
  out << "NoteShift: Position=" << GetSymbolPosition() << " Kind=" << int{Kind}
      << " Height=" << Height << " Scope=" << int{Scope} << " KeyVolgnr=" << KeySequenceNumber;
  return out.str();
}

TMuzBar::TMuzBar(std::uint8_t noteLength, std::int32_t countNotes, double extraTime,
                 double position)
    : TStaveSymbol(nullptr, position),
      NoteLength(noteLength),
      CountNotes(countNotes),
      ExtraTime(extraTime) {
  TB_ASSERT(IsLengthKind(noteLength));
  TB_ASSERT(countNotes >= 1 && countNotes <= kMaxCountNotes);
}

double TMuzBar::DistanceTo(double, double) const { return 0; }

std::string TMuzBar::Dump() const {
  std::ostringstream out;
  out << "TMuzBar: Position=" << GetSymbolPosition() << " NoteLength=" << int{NoteLength}
      << " CountNotes=" << CountNotes << " ExtraTime=" << ExtraTime;
  return out.str();
}

double TMuzBar::GetBarLength() const {
  return static_cast<double>(CountNotes) / static_cast<double>(NoteLength);
}

double TMuzBar::GetBarEnd(double position) const {
  const double length = GetBarLength();
  return (std::trunc(position / length) + 1) * length + ExtraTime;
}

TSilence::TSilence(std::uint8_t noteLength, std::int32_t points, double position,
                   TNoteStave* noteStave)
    : TStaveSymbol(noteStave, position), NoteLength(noteLength), Points(points) {
  TB_ASSERT(IsLengthKind(noteLength));
  TB_ASSERT(points >= 0 && points <= kMaxPoints);
  TB_ASSERT_TEXT(noteStave != nullptr, "noteStave != NULL");
}

double TSilence::DistanceTo(double middleLineY, double y) const {
  const double d = std::abs(y - middleLineY);
  return d < 15 ? 0 : d - 15;
}

std::string TSilence::Dump() const {
  std::ostringstream out;
  out << "TSilence: Position=" << GetSymbolPosition() << " Length=" << int{NoteLength}
      << " Points=" << Points;
  return out.str();
}

// ---------------------------------------------------------------------------
// TNoteNote

TNoteNote::TNoteNote(TUnitMuz* unit, TNoteGroup* noteGroup, std::uint8_t lengthKind,
                     std::int32_t points, double position, std::int32_t height,
                     TNoteStave* noteStave)
    : TStaveSymbol(noteStave, position),
      NoteGroup(noteGroup),
      Unit(unit),
      LengthKind(lengthKind),
      Points(points),
      Height(height) {
  TB_ASSERT(IsLengthKind(lengthKind));
  TB_ASSERT(points >= 0 && points <= kMaxPoints);
  TB_ASSERT_TEXT(noteStave != nullptr, "noteStave != NULL");
  TB_ASSERT_TEXT(noteGroup != nullptr && noteGroup->GetStave() == noteStave,
                 "noteGroup != NULL && noteGroup->GetStave() == noteStave");
}

double TNoteNote::DistanceTo(double middleLineY, double y) const {
  return std::abs((middleLineY - 5.0 * Height) - y);
}

std::string TNoteNote::Dump() const {
  std::ostringstream out;
  out << "TNoteNote: Position=" << GetSymbolPosition() << " Length=" << int{LengthKind}
      << " Points=" << Points << " Height=" << Height << " Mark=" << Mark;
  return out.str();
}

TNoteNote* TNoteNote::GetNextNote() const {
  for (TStaveSymbol* s = GetNext(); s != nullptr; s = s->GetNext())
    if (s->GetStaveSymbolKind() == staveSymbolNote) return static_cast<TNoteNote*>(s);
  return nullptr;
}

TCompoundPlayer* TNoteNote::GetPlayer() const { return NoteGroup->GetPlayer(); }

bool TNoteNote::IsMuted() const { return GetNoteStave()->Mute; }

TKey* TNoteNote::GetKey() const {
  TKey* key = FindKey(GetNoteStave());
  TB_ASSERT_TEXT(key != nullptr, "key != NULL");
  return key;
}

std::int32_t TNoteNote::GetPitch() const { return GetKey()->GetBasePitch() + Height; }

std::int32_t TNoteNote::GetSemitonesFromA() const {
  const std::int32_t d = GetPitch() - 5;
  const std::int32_t s = WrapSteps(d);
  const std::int32_t octave = (d - s) / 7;
  std::int32_t semitones = 2 * s;
  if (semitones >= 9) semitones -= 1;
  if (semitones >= 3) semitones -= 1;
  return semitones + 12 * octave + NoteShiftSemitones(GetNoteShiftKindInEffect());
}

double TNoteNote::GetPeriod() const {
  return 1.0 / (440.0 * std::pow(2.0, GetSemitonesFromA() / 12.0));
}

// Only the keys of the note's own stave end the search: a clef change on
// another stave in the middle of a bar does not cancel this stave's
// accidentals.
TNoteShift* TNoteNote::FindNoteShift(bool atOwnPosition) const {
  const TNoteStave* stave = GetNoteStave();
  for (const TStaveSymbol* s = this; s != nullptr; s = s->GetPrevious()) {
    if (s->GetNoteStave() != stave) continue;
    if (s->GetStaveSymbolKind() == staveSymbolKey) return nullptr;
    if (s->GetStaveSymbolKind() != staveSymbolNoteShift) continue;
    const auto* shift = static_cast<const TNoteShift*>(s);
    if (shift->GetNoteShiftScopeKind() != noteShiftScopeNote || shift->GetHeight() != Height)
      continue;
    if (!atOwnPosition && shift->GetSymbolPosition() >= GetSymbolPosition()) continue;
    return const_cast<TNoteShift*>(shift);
  }
  return nullptr;
}

TNoteShift* TNoteNote::GetNoteShiftWritten() const {
  TNoteShift* shift = FindNoteShift(true);
  if (shift != nullptr && shift->GetSymbolPosition() == GetSymbolPosition()) return shift;
  return nullptr;
}

namespace {

TNoteShift* InEffect(const TNoteNote& note, TNoteShift* noteScope) {
  if (noteScope != nullptr) {
    const TMuzBar* bar = note.FindBar();
    if (bar == nullptr || note.GetSymbolPosition() < bar->GetBarEnd(noteScope->GetSymbolPosition()))
      return noteScope;
  }
  const TNoteStave* stave = note.GetNoteStave();
  const std::int32_t heightClass = WrapSteps(note.GetHeight());
  for (const TStaveSymbol* s = &note; s != nullptr; s = s->GetPrevious()) {
    if (s->GetNoteStave() != stave) continue;
    if (s->GetStaveSymbolKind() == staveSymbolKey) return nullptr;
    if (s->GetStaveSymbolKind() != staveSymbolNoteShift) continue;
    const auto* shift = static_cast<const TNoteShift*>(s);
    if (shift->GetNoteShiftScopeKind() == noteShiftScopeKey &&
        WrapSteps(shift->GetHeight()) == heightClass)
      return const_cast<TNoteShift*>(shift);
  }
  return nullptr;
}

}  // namespace

TNoteShift* TNoteNote::GetNoteShiftInEffect() const { return InEffect(*this, FindNoteShift(true)); }

TNoteShift* TNoteNote::GetNoteShiftBefore() const { return InEffect(*this, FindNoteShift(false)); }

std::uint8_t TNoteNote::GetNoteShiftKindInEffect() const {
  const TNoteShift* shift = GetNoteShiftInEffect();
  return shift == nullptr ? std::uint8_t{noteShiftNormal} : shift->GetNoteShiftKind();
}

std::uint8_t TNoteNote::GetNoteShiftKindBefore() const {
  const TNoteShift* shift = GetNoteShiftBefore();
  return shift == nullptr ? std::uint8_t{noteShiftNormal} : shift->GetNoteShiftKind();
}

void TNoteNote::Push() {
  TB_ASSERT(!Pushed);
  PushedPitch = GetPitch();
  PushedNoteShift = GetNoteShiftKindInEffect();
  Pushed = true;
}

void TNoteNote::Pop() {
  TB_ASSERT(Pushed);
  Unit->PopNote(*this);
  Pushed = false;
}

void TNoteNote::SetMark(std::int32_t mark) {
  TB_ASSERT(mark != 0);
  TB_ASSERT(Mark == 0);
  Mark = mark;
}

void TNoteNote::ClearMark() {
  TB_ASSERT(Mark != 0);
  Mark = 0;
}

bool TNoteNote::AutoPlayNote(double tempo) const {
  if (!Unit->GetAutoPlay()) return true;
  return Unit->PlayNote(*this, tempo);
}
