#include "music/stave.h"

#include <cmath>
#include <utility>

#include "base/tbassert.h"
#include "music/muznote.h"
#include "music/noteplay.h"
#include "music/unitmuz.h"

TStave::~TStave() {
  std::unique_ptr<TNoteGroup> group = std::move(StartNoteGroup);
  while (group != nullptr) group = std::move(group->Next);
  // Staves after this one go one at a time, not recursively.
  std::unique_ptr<TNoteStave> rest = std::move(Next);
  while (rest != nullptr) rest = std::move(rest->Next);
}

void TStave::InsertNoteGroup(TNoteGroup* afterGroup, std::unique_ptr<TNoteGroup> group) {
  if (StartNoteGroup == nullptr || afterGroup == nullptr) {
    group->Next = std::move(StartNoteGroup);
    StartNoteGroup = std::move(group);
    return;
  }
  TNoteGroup* prevGroup = StartNoteGroup.get();
  while (prevGroup != afterGroup) {
    TB_ASSERT_TEXT(prevGroup->GetNext() != nullptr || prevGroup == afterGroup,
                   "prevGroup->GetNext() != NULL || prevGroup == afterGroup");
    prevGroup = prevGroup->GetNext();
  }
  group->Next = std::move(afterGroup->Next);
  afterGroup->Next = std::move(group);
}

TNoteGroup* TStave::GetPreviousNoteGroup(const TNoteGroup* group) const {
  TB_ASSERT_TEXT(StartNoteGroup != nullptr, "startNoteGroup != NULL");
  TNoteGroup* previous = nullptr;
  for (TNoteGroup* g = StartNoteGroup.get(); g != nullptr && g != group; g = g->GetNext())
    previous = g;
  return previous;
}

std::unique_ptr<TNoteGroup> TStave::RemoveNoteGroup(TNoteGroup* group) {
  TB_ASSERT_TEXT(group != nullptr, "deleteGroup != NULL");
  std::unique_ptr<TNoteGroup>* link = &StartNoteGroup;
  while (link->get() != group) {
    TB_ASSERT_TEXT(*link != nullptr, "false");
    link = &(*link)->Next;
  }
  std::unique_ptr<TNoteGroup> removed = std::move(*link);
  *link = std::move(removed->Next);
  TB_ASSERT_TEXT(StartNoteGroup != nullptr, "StartNoteGroup != NULL");
  return removed;
}

std::int32_t TStave::CountNoteGroups() const {
  std::int32_t count = 0;
  for (const TNoteGroup* g = StartNoteGroup.get(); g != nullptr; g = g->GetNext()) ++count;
  return count;
}

TNoteStave::TNoteStave(TUnitMuz* unit, std::int32_t roomUp, std::int32_t roomDown)
    : RoomUp(roomUp), RoomDown(roomDown), Unit(unit) {}

void TNoteStave::SetSelectedNoteGroup(TNoteGroup* group) {
  TB_ASSERT_TEXT(group != nullptr && group->GetStave() == this,
                 "group != NULL && group->GetStave() == this");
  SelectedNoteGroup = group;
}

std::uint8_t TNoteStave::GetStickDirection(const TNoteGroup& group) const {
  return IsAutoStick() ? std::uint8_t{drawStickAuto} : group.GetStickDirection();
}

TStaveSymbol* TNoteStave::NextSymbol(const TStaveSymbol* from) const {
  for (TStaveSymbol* s = from->GetNext(); s != nullptr; s = s->GetNext())
    if (s->GetNoteStave() == this || s->GetNoteStave() == nullptr) return s;
  return nullptr;
}

TStaveSymbol* TNoteStave::PreviousSymbol(const TStaveSymbol* from) const {
  for (TStaveSymbol* s = from->GetPrevious(); s != nullptr; s = s->GetPrevious())
    if (s->GetNoteStave() == this || s->GetNoteStave() == nullptr) return s;
  return nullptr;
}

TStaveSymbol* TNoteStave::Column(const TStaveSymbol* from, bool forward) const {
  const TNoteStave* noteStaveCheck = from->GetNoteStave();
  TB_ASSERT_TEXT(noteStaveCheck == nullptr || noteStaveCheck == this,
                 "noteStaveCheck == NULL || noteStaveCheck == this");
  const bool fromNote = from->GetStaveSymbolKind() == staveSymbolNote;
  TStaveSymbol* s = forward ? NextSymbol(from) : PreviousSymbol(from);
  while (s != nullptr && fromNote && s->GetStaveSymbolKind() == staveSymbolNote &&
         s->GetSymbolPosition() == from->GetSymbolPosition())
    s = forward ? NextSymbol(s) : PreviousSymbol(s);
  return s;
}

TStaveSymbol* TNoteStave::NextColumn(const TStaveSymbol* from) const { return Column(from, true); }

TStaveSymbol* TNoteStave::PreviousColumn(const TStaveSymbol* from) const {
  return Column(from, false);
}

TStaveSymbol* TNoteStave::NearestSymbol(double position) const {
  TStaveSymbol* best = nullptr;
  double bestDistance = 0;
  for (TStaveSymbol* s = Unit->GetFirstSymbol(); s != nullptr; s = s->GetNext()) {
    if (s->GetNoteStave() != this) continue;
    const double distance = std::abs(s->GetSymbolPosition() - position);
    if (best == nullptr || distance < bestDistance) {
      best = s;
      bestDistance = distance;
    }
  }
  TB_ASSERT_TEXT(best != nullptr, "testSymbol != NULL");
  return best;
}

TNoteGroup::TNoteGroup(TNoteStave* stave, std::unique_ptr<TCompoundPlayer> player,
                       TRgbColor noteColor, std::uint8_t shape, std::uint8_t stickDirection)
    : NoteColor(noteColor), Player(std::move(player)), Shape(shape), Stave(stave) {
  TB_ASSERT_TEXT(stave != nullptr, "noteStave != NULL");
  SetShape(shape);
  SetStickDirection(stickDirection);
}

TNoteGroup::~TNoteGroup() = default;

void TNoteGroup::SetShape(std::uint8_t shape) {
  TB_ASSERT(shape == noteShapeNormal || shape == noteShapeRectangle);
  Shape = shape;
}

void TNoteGroup::SetStickDirection(std::uint8_t drawStickKind) {
  TB_ASSERT(drawStickKind == drawStickUp || drawStickKind == drawStickDown);
  StickDirection = drawStickKind;
}
