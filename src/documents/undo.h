#pragma once

#include <cstdint>
#include <memory>

class Sound;
class TUnitWave;

// The one-level undo: the state of one wave document before the last
// command that changed a wave. Commands never change a sound in place, so the
// record keeps the old sound object itself; Undo swaps it with the
// document's, and a second Undo swaps back.
//
// Ownership: `TheSound` names the sound of the saved state. The record owns
// it (in `OwnedSound`) exactly when it is not the document's current sound;
// after a failed command both name the same sound and only the document owns
// it.
class TUndoUnit {
 public:
  explicit TUndoUnit(TUnitWave& unitWave);
  ~TUndoUnit();
  TUndoUnit(const TUndoUnit&) = delete;
  TUndoUnit& operator=(const TUndoUnit&) = delete;

  // Exchanges the saved state with the document's.
  void Undo();

  TUnitWave* GetUnitWave() const { return UnitWave; }
  const Sound* GetSound() const { return TheSound; }
  bool OwnsSound() const { return OwnedSound != nullptr; }
  std::int32_t GetCursor() const { return Cursor; }
  std::int32_t GetAnchor() const { return Anchor; }

  // The document let go of `sound`: the record keeps it when it is the
  // saved state's sound, otherwise hands it back (to be destroyed).
  std::unique_ptr<Sound> Adopt(std::unique_ptr<Sound> sound);

 private:
  friend class TUnitWave;

  TUnitWave* UnitWave;
  const Sound* TheSound;
  std::unique_ptr<Sound> OwnedSound;
  std::int32_t Cursor;
  std::int32_t Anchor;
};
