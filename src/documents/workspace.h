#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "documents/props.h"
#include "documents/undo.h"
#include "documents/viewprops.h"
#include "documents/wavefileprops.h"
#include "units/waveregistry.h"

class Sound;
class TUnit;
class TUnitWave;

// The application-wide state of the editor that is not about widgets: the
// open documents, the one undo record, the internal clipboard, the default
// parameter and view records and the counter of "NONAME" names. The main
// window owns one and delegates to it; tonbrisk-cli uses one directly.
//
// Documents: the workspace owns them (`AddUnit`, `CloseUnit`), in window
// order, the first being the oldest window. The desktop program mirrors its
// window stacking with `SetWindowOrder` where the order matters (the look-up
// by register name goes from the last window to the first).
//
// While it lives, the workspace is the registry through which unit values
// list and find the open waves.
class TWorkspace : public WaveRegistry {
 public:
  TWorkspace();
  ~TWorkspace() override;
  TWorkspace(const TWorkspace&) = delete;
  TWorkspace& operator=(const TWorkspace&) = delete;

  // --- documents ------------------------------------------------------------
  // Takes a document into the workspace; a wave document gets the default
  // records.
  TUnit* AddUnit(std::unique_ptr<TUnit> unit);
  TUnitWave* AddWave(std::unique_ptr<TUnitWave> unit);
  // Destroys a document (its window closed).
  void CloseUnit(TUnit* unit);
  const std::vector<std::unique_ptr<TUnit>>& Units() const { return units_; }
  // Reorders the documents; `order` must hold exactly the open documents.
  void SetWindowOrder(const std::vector<TUnit*>& order);

  // "NONAME" followed by the next number of the shared counter.
  std::string NextNonameName();
  std::int32_t GetNonameCounter() const { return NonameCounter; }

  // New wave: an empty document of the given format named "NONAME" + n.
  TUnitWave* NewWave(const TWaveFileProps& props);
  // Open wave: the file read into a new document named by its path; on
  // failure the "File Error" message and null.
  TUnitWave* OpenWave(const std::string& path);
  // A generated or derived sound as a new changed document "NONAME" + n.
  TUnitWave* AddGeneratedWave(std::unique_ptr<Sound> sound);

  // --- register names -----------------------------------------------------
  TUnit* FindUnitByRegisterName(const std::string& name) const;
  TUnitWave* FindWaveUnitByRegisterName(const std::string& name) const;
  std::optional<TRegisteredWave> FindWave(const std::string& name) const override;
  std::vector<std::string> WaveNames() const override;
  // An empty name is always accepted; a name another document already has
  // shows "A wave with name "NAME" already exists." and is refused.
  bool CheckRegisterName(const std::string& name, const TUnit* unit) const;

  // --- undo -----------------------------------------------------------------
  void NewUndo(TUnitWave& unitWave);
  void DeleteUndo();
  void UnitDestroyed(const TUnitWave* unitWave);
  TUndoUnit* GetUndoUnit() const { return UndoUnit.get(); }
  // Takes the record out of the slot, and puts one back (replacing what is
  // there): the command runner keeps the previous record while it finds out
  // whether a command accepts its parameters.
  std::unique_ptr<TUndoUnit> ReleaseUndo() { return std::move(UndoUnit); }
  void RestoreUndo(std::unique_ptr<TUndoUnit> undo);
  // Undo of the last change, on whichever document it belongs to.
  void Undo();
  // A document let go of a sound: the undo record keeps it if it is its saved
  // state; otherwise it comes back to be destroyed.
  std::unique_ptr<Sound> SoundReleased(const TUnitWave& unitWave, std::unique_ptr<Sound> sound);

  // --- clipboard -------------------------------------------------------------
  bool HasClipBoardSound() const { return ClipBoardSound != nullptr; }
  const Sound& GetClipBoardSound() const;
  void SetClipBoardSound(std::unique_ptr<Sound> sound);
  void ClearClipBoard();

  // --- defaults ------------------------------------------------------------
  TWaveRecords Defaults;
  TWaveViewProps WaveView;
  TVoldViewProps VoldView;
  // Copies the default records into a document.
  void SetUnitRecords(TUnitWave& unitWave) const;

 private:
  std::vector<std::unique_ptr<TUnit>> units_;
  std::unique_ptr<TUndoUnit> UndoUnit;
  std::unique_ptr<Sound> ClipBoardSound;
  std::int32_t NonameCounter = 0;
  ScopedWaveRegistry registryScope_;
};
