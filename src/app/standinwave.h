#pragma once

#include "app/childwindow.h"

class QLabel;
class TUnitWave;

// Shows a wave document as text (length, format, selection) where the
// program is built without the painting wave window.
class TMDIChildWaveStandIn : public TMDIChildTonbrisk {
  Q_OBJECT

 public:
  TMDIChildWaveStandIn(TMainForm& mainForm, TUnitWave& unitWave);
  std::uint8_t GetKind() const override { return 1; }
  void Refresh();

 private:
  TUnitWave& UnitWave;
  QLabel* Text;
};
