#include "documents/undo.h"

#include "base/userinterface.h"
#include "documents/unitwave.h"
#include "sound/sound.h"

TUndoUnit::TUndoUnit(TUnitWave& unitWave)
    : UnitWave(&unitWave),
      TheSound(&unitWave.GetSound()),
      Cursor(unitWave.GetCursor()),
      Anchor(unitWave.GetAnchor()) {
  Trace("in TUndoUnit::TUndoUnit(TUnitWave *unitWave)\n");
  Trace("-- TUndoUnit::TUndoUnit(WU): TheSound = UnitWave->TheSound (");
  TraceAddress(TheSound);
  Trace(")");
  Trace("uit TUndoUnit::TUndoUnit(TUnitWave *unitWave)\n");
}

TUndoUnit::~TUndoUnit() {
  Trace("in TUndoUnit::~TUndoUnit(TWaveUnit *waveUnit)\n");
  Trace("-- TUndoUnit::~TUndoUnit: kijk of TheSound != NULL is, dan deleten\n");
  Trace("-- TUndoUnit::~TUndoUnit: kijk of TheSound != WU->TheSound is, dan echt deleten\n");
  if (OwnedSound) {
    Trace("-- TUndoUnit::~TUndoUnit: delete TheSound (");
    TraceAddress(OwnedSound.get());
    Trace(")");
  }
  OwnedSound.reset();
  Trace("uit TUndoUnit::~TUndoUnit(TWaveUnit *waveUnit)\n");
}

void TUndoUnit::Undo() { UnitWave->ExchangeSound(*this); }

std::unique_ptr<Sound> TUndoUnit::Adopt(std::unique_ptr<Sound> sound) {
  if (sound && sound.get() == TheSound && !OwnedSound) {
    OwnedSound = std::move(sound);
    return nullptr;
  }
  return sound;
}
