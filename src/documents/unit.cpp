#include "documents/unit.h"

#include <utility>

#include "base/userinterface.h"

TUnit::TUnit(std::uint8_t kind, std::string fileName, TUnitState state)
    : Kind(kind), FileName(std::move(fileName)), State(state) {}

TUnit::~TUnit() = default;

bool TUnit::NeedsSave() const { return State != TUnitState::Saved; }

bool TUnit::Save(bool temporary) { return SaveAs(FileName, temporary); }

void TUnit::SetFileName(const std::string& name) {
  FileName = name;
  State = TUnitState::Saved;
}

void TUnit::SetChanged() {
  if (State == TUnitState::Saved) State = TUnitState::Changed;
}

void ShowCannotWrite(const std::string& fileName) {
  ShowMessage("File Error", "Cannot write the file: \"" + fileName + "\".", MessageIcon::Error,
              MessageButtons::Ok);
}

bool TUnit::SaveReported() {
  if (!Save(false)) {
    ShowCannotWrite(FileName);
    return false;
  }
  SetSaved();
  return true;
}

bool TUnit::SaveAsReported(const std::string& fileName) {
  if (!SaveAs(fileName, false)) {
    ShowCannotWrite(fileName);
    return false;
  }
  SetFileName(fileName);
  return true;
}
