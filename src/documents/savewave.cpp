#include "documents/savewave.h"

#include <filesystem>
#include <system_error>

#include "base/tbassert.h"
#include "base/userinterface.h"
#include "documents/unitwave.h"

namespace {

// Whether `fileName` is the file the document was opened from, under any
// spelling of its path.
bool IsOwnFile(const TUnitWave& unitWave, const std::string& fileName) {
  std::error_code error;
  return fileName == unitWave.GetFileName() ||
         std::filesystem::equivalent(fileName, unitWave.GetFileName(), error);
}

// Writing fewer bits over a file that holds more loses its precision for
// good, so the user says yes to it first.
bool MayWriteOver(const TUnitWave& unitWave, const std::string& fileName) {
  const WavSource& source = unitWave.GetSource();
  const int writes = 8 * unitWave.GetBytesPSample();
  if (source.bits <= writes || !IsOwnFile(unitWave, fileName)) return true;
  const std::string held = std::to_string(source.bits) + (source.isFloat ? "-bit float" : "-bit");
  return ShowMessage("Save",
                     "The file holds " + held + " samples; saving writes " +
                         std::to_string(writes) + " bits. Save anyway?",
                     MessageIcon::Question, MessageButtons::YesNo) == MessageResult::Yes;
}

}  // namespace

bool SaveWaveAs(TUnitWave* unitWave, const TAskFileName& askFileName) {
  TB_ASSERT_TEXT(unitWave != nullptr, "unitWave != NULL");
  TB_ASSERT(unitWave->GetValues() != 0);
  const std::optional<std::string> name = askFileName();
  if (!name || !MayWriteOver(*unitWave, *name)) return false;
  WaitCursor wait;
  if (!unitWave->SaveAsReported(*name)) return false;
  unitWave->SetSource({});
  return true;
}

bool SaveWave(TUnitWave* unitWave, const TAskFileName& askFileName) {
  TB_ASSERT_TEXT(unitWave != nullptr, "unitWave != NULL");
  TB_ASSERT(unitWave->GetValues() != 0);
  if (unitWave->IsNew()) return SaveWaveAs(unitWave, askFileName);
  if (!MayWriteOver(*unitWave, unitWave->GetFileName())) return false;
  WaitCursor wait;
  if (!unitWave->SaveReported()) return false;
  unitWave->SetSource({});
  return true;
}
