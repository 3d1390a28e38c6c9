#include "documents/workspace.h"

#include <algorithm>
#include <utility>

#include "base/tbassert.h"
#include "base/userinterface.h"
#include "documents/unitwave.h"
#include "sound/sound.h"
#include "sound/wavfile.h"

TWorkspace::TWorkspace() : registryScope_(*this) {}

TWorkspace::~TWorkspace() {
  // The record may own a document's old sound and refers to its document.
  DeleteUndo();
  while (!units_.empty()) units_.pop_back();
  ClipBoardSound.reset();
}

// --- documents ----------------------------------------------------------------

TUnit* TWorkspace::AddUnit(std::unique_ptr<TUnit> unit) {
  TB_ASSERT_TEXT(unit != nullptr, "unit != NULL");
  unit->SetWorkspace(this);
  if (unit->GetKind() == kUnitKindWave) SetUnitRecords(static_cast<TUnitWave&>(*unit));
  units_.push_back(std::move(unit));
  return units_.back().get();
}

TUnitWave* TWorkspace::AddWave(std::unique_ptr<TUnitWave> unit) {
  return static_cast<TUnitWave*>(AddUnit(std::move(unit)));
}

void TWorkspace::CloseUnit(TUnit* unit) {
  auto found = std::find_if(units_.begin(), units_.end(),
                            [unit](const std::unique_ptr<TUnit>& u) { return u.get() == unit; });
  TB_ASSERT(found != units_.end());
  std::unique_ptr<TUnit> closing = std::move(*found);
  units_.erase(found);
  closing.reset();  // a wave document drops the undo record that is its own
}

void TWorkspace::SetWindowOrder(const std::vector<TUnit*>& order) {
  TB_ASSERT(order.size() == units_.size());
  std::vector<std::unique_ptr<TUnit>> reordered;
  for (TUnit* unit : order) {
    auto found = std::find_if(units_.begin(), units_.end(),
                              [unit](const std::unique_ptr<TUnit>& u) { return u.get() == unit; });
    TB_ASSERT(found != units_.end() && *found != nullptr);
    reordered.push_back(std::move(*found));
  }
  units_ = std::move(reordered);
}

std::string TWorkspace::NextNonameName() {
  ++NonameCounter;
  return "NONAME" + std::to_string(NonameCounter);
}

TUnitWave* TWorkspace::NewWave(const TWaveFileProps& props) {
  const std::string name = NextNonameName();
  return AddWave(std::make_unique<TUnitWave>(props, name));
}

TUnitWave* TWorkspace::OpenWave(const std::string& path) {
  std::unique_ptr<Sound> sound;
  std::string message;
  WavSource source;
  bool read;
  {
    WaitCursor wait;
    read = ReadWavFile(path, sound, message, source);
  }
  if (!read || !sound) {
    // The reader's reason follows the closing quote directly.
    ShowMessage("File Error", "Cannot read the file: \"" + path + "\"" + message,
                MessageIcon::Information, MessageButtons::Ok);
    return nullptr;
  }
  TUnitWave* unitWave = AddWave(std::make_unique<TUnitWave>(std::move(sound), path));
  unitWave->SetSource(source);
  return unitWave;
}

TUnitWave* TWorkspace::AddGeneratedWave(std::unique_ptr<Sound> sound) {
  if (!sound) return nullptr;
  const std::string name = NextNonameName();
  TUnitWave* unit = AddWave(std::make_unique<TUnitWave>(std::move(sound), name));
  unit->SetChanged();
  return unit;
}

// --- register names ---------------------------------------------------------

TUnit* TWorkspace::FindUnitByRegisterName(const std::string& name) const {
  for (auto it = units_.rbegin(); it != units_.rend(); ++it)
    if ((*it)->GetRegisterName() == name) return it->get();
  return nullptr;
}

TUnitWave* TWorkspace::FindWaveUnitByRegisterName(const std::string& name) const {
  TUnit* unit = FindUnitByRegisterName(name);
  if (unit == nullptr || unit->GetKind() != kUnitKindWave) return nullptr;
  return static_cast<TUnitWave*>(unit);
}

std::optional<TRegisteredWave> TWorkspace::FindWave(const std::string& name) const {
  const TUnitWave* unitWave = FindWaveUnitByRegisterName(name);
  if (unitWave == nullptr) return std::nullopt;
  return TRegisteredWave{&unitWave->GetSound(), unitWave->GetSelBegin(), unitWave->GetSelEnd()};
}

std::vector<std::string> TWorkspace::WaveNames() const {
  std::vector<std::string> names;
  for (const auto& unit : units_)
    if (unit->GetKind() == kUnitKindWave && !unit->GetRegisterName().empty())
      names.push_back(unit->GetRegisterName());
  return names;
}

bool TWorkspace::CheckRegisterName(const std::string& name, const TUnit* unit) const {
  if (name.empty()) return true;
  for (const auto& other : units_) {
    if (other.get() != unit && other->GetRegisterName() == name) {
      ShowMessage("Error", "A wave with name \"" + name + "\" already exists.",
                  MessageIcon::Information, MessageButtons::Ok);
      return false;
    }
  }
  return true;
}

// --- undo ---------------------------------------------------------------------

void TWorkspace::NewUndo(TUnitWave& unitWave) {
  DeleteUndo();
  UndoUnit = std::make_unique<TUndoUnit>(unitWave);
}

void TWorkspace::DeleteUndo() { UndoUnit.reset(); }

void TWorkspace::UnitDestroyed(const TUnitWave* unitWave) {
  if (UndoUnit && UndoUnit->GetUnitWave() == unitWave) DeleteUndo();
}

void TWorkspace::RestoreUndo(std::unique_ptr<TUndoUnit> undo) {
  DeleteUndo();
  UndoUnit = std::move(undo);
}

void TWorkspace::Undo() {
  if (UndoUnit) UndoUnit->Undo();
}

std::unique_ptr<Sound> TWorkspace::SoundReleased(const TUnitWave& unitWave,
                                                 std::unique_ptr<Sound> sound) {
  if (UndoUnit && UndoUnit->GetUnitWave() == &unitWave) return UndoUnit->Adopt(std::move(sound));
  return sound;
}

// --- clipboard ------------------------------------------------------------------

const Sound& TWorkspace::GetClipBoardSound() const {
  TB_ASSERT_TEXT(ClipBoardSound != nullptr, "ClipBoardSound != 0");
  return *ClipBoardSound;
}

void TWorkspace::SetClipBoardSound(std::unique_ptr<Sound> sound) {
  ClipBoardSound = std::move(sound);
}

void TWorkspace::ClearClipBoard() { ClipBoardSound.reset(); }

void TWorkspace::SetUnitRecords(TUnitWave& unitWave) const { unitWave.Records = Defaults; }
