#pragma once

#include <cstdint>
#include <memory>

#include "units/unitvalues.h"

// Staves and note groups. A score has one or more staves, each with one or
// more note groups (voices); the symbols themselves stay in the score's one
// chain, each naming its stave and each note its group.

class TCompoundPlayer;
class TNoteGroup;
class TNoteStave;
class TStaveSymbol;
class TUnitMuz;

enum TNoteShape : std::uint8_t { noteShapeNormal = 0, noteShapeRectangle = 1 };

enum TDrawStickKind : std::uint8_t {
  drawStickUp = 0,
  drawStickDown = 1,
  drawStickAuto = 2,  // only as a result, never stored in a group
};

// Colours are 0x00BBGGRR.
using TRgbColor = std::uint32_t;

// An element of the document's doubly linked stave list; owns the stave
// after it and the stave's note groups.
class TStave {
 public:
  virtual ~TStave();
  TStave(const TStave&) = delete;
  TStave& operator=(const TStave&) = delete;

  TNoteStave* GetNext() const { return Next.get(); }
  TNoteStave* GetPrevious() const { return Previous; }
  TNoteGroup* GetStartNoteGroup() const { return StartNoteGroup.get(); }

  // Links `group` after `afterGroup`, or first when `afterGroup` is none.
  void InsertNoteGroup(TNoteGroup* afterGroup, std::unique_ptr<TNoteGroup> group);
  // The group before `group`; none for the first.
  TNoteGroup* GetPreviousNoteGroup(const TNoteGroup* group) const;
  // Unlinks `group` (never the last one) and hands it back.
  std::unique_ptr<TNoteGroup> RemoveNoteGroup(TNoteGroup* group);
  std::int32_t CountNoteGroups() const;

 protected:
  TStave() = default;

 private:
  friend class TUnitMuz;
  std::unique_ptr<TNoteStave> Next;
  TNoteStave* Previous = nullptr;
  std::unique_ptr<TNoteGroup> StartNoteGroup;
};

class TNoteStave final : public TStave {
 public:
  explicit TNoteStave(TUnitMuz* unit, std::int32_t roomUp = 80, std::int32_t roomDown = 80);

  TUnitMuz* GetUnit() const { return Unit; }

  TRgbColor ForegroundColor = 0x000000;
  TRgbColor BackgroundColor = 0xFFFFFF;
  // Pixels of the stave's band above and below its middle line.
  unitIntegerPos RoomUp;
  unitIntegerPos RoomDown;
  // False: every stick direction is chosen automatically (AutoStick).
  bool StickByGroup = false;
  bool AllowJoinFlags = true;
  // Left out when the score is rendered or played.
  bool Mute = false;

  bool IsAutoStick() const { return !StickByGroup; }
  void SetAutoStick(bool autoStick) { StickByGroup = !autoStick; }

  // The group that receives new notes; never none once there is a group.
  TNoteGroup* GetSelectedNoteGroup() const { return SelectedNoteGroup; }
  void SetSelectedNoteGroup(TNoteGroup* group);

  // drawStickAuto on an AutoStick stave, else the group's own direction.
  std::uint8_t GetStickDirection(const TNoteGroup& group) const;

  // Walks over the chain from `from`: the next (previous) symbol of this
  // stave, stopping also at a bar (a symbol without stave); none at the end.
  TStaveSymbol* NextSymbol(const TStaveSymbol* from) const;
  TStaveSymbol* PreviousSymbol(const TStaveSymbol* from) const;
  // The same, but leaving the chord of a note: notes of this stave at the
  // position of the note started from do not stop the walk. `from` must be
  // on this stave or be a bar.
  TStaveSymbol* NextColumn(const TStaveSymbol* from) const;
  TStaveSymbol* PreviousColumn(const TStaveSymbol* from) const;
  // The symbol of this stave closest to `position`; the first wins a tie.
  TStaveSymbol* NearestSymbol(double position) const;

 private:
  friend class TUnitMuz;
  TStaveSymbol* Column(const TStaveSymbol* from, bool forward) const;

  TUnitMuz* Unit;
  TNoteGroup* SelectedNoteGroup = nullptr;
};

// A voice: its notes share a player, a head shape, a stick direction and a
// colour.
class TNoteGroup {
 public:
  TNoteGroup(TNoteStave* stave, std::unique_ptr<TCompoundPlayer> player, TRgbColor noteColor = 0,
             std::uint8_t shape = noteShapeNormal, std::uint8_t stickDirection = drawStickDown);
  ~TNoteGroup();
  TNoteGroup(const TNoteGroup&) = delete;
  TNoteGroup& operator=(const TNoteGroup&) = delete;

  TNoteGroup* GetNext() const { return Next.get(); }
  TNoteStave* GetStave() const { return Stave; }
  TCompoundPlayer* GetPlayer() const { return Player.get(); }
  std::uint8_t GetShape() const { return Shape; }
  void SetShape(std::uint8_t shape);
  std::uint8_t GetStickDirection() const { return StickDirection; }
  void SetStickDirection(std::uint8_t stickDirection);

  TRgbColor NoteColor;

 private:
  friend class TStave;
  std::unique_ptr<TNoteGroup> Next;
  std::unique_ptr<TCompoundPlayer> Player;
  std::uint8_t Shape;
  std::uint8_t StickDirection;
  TNoteStave* Stave;
};
