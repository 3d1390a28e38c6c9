#include "documents/savewave.h"

#include "base/tbassert.h"
#include "base/userinterface.h"
#include "documents/unitwave.h"

bool SaveWaveAs(TUnitWave* unitWave, const TAskFileName& askFileName) {
  TB_ASSERT_TEXT(unitWave != nullptr, "unitWave != NULL");
  TB_ASSERT(unitWave->GetValues() != 0);
  const std::optional<std::string> name = askFileName();
  if (!name) return false;
  WaitCursor wait;
  return unitWave->SaveAsReported(*name);
}

bool SaveWave(TUnitWave* unitWave, const TAskFileName& askFileName) {
  TB_ASSERT_TEXT(unitWave != nullptr, "unitWave != NULL");
  TB_ASSERT(unitWave->GetValues() != 0);
  if (unitWave->IsNew()) return SaveWaveAs(unitWave, askFileName);
  WaitCursor wait;
  return unitWave->SaveReported();
}
