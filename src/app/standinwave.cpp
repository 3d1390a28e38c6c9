#include "app/standinwave.h"

#include <QIcon>
#include <QLabel>

#include "documents/unitwave.h"

TMDIChildWaveStandIn::TMDIChildWaveStandIn(TMainForm& mainForm, TUnitWave& unitWave)
    : TMDIChildTonbrisk(mainForm, unitWave), UnitWave(unitWave), Text(new QLabel(this)) {
  Text->setAlignment(Qt::AlignCenter);
  Text->setMinimumSize(320, 160);
  setWidget(Text);
  setWindowIcon(QIcon(":/icons/ViewWave.svg"));
  Refresh();
}

void TMDIChildWaveStandIn::Refresh() {
  Text->setText(QString("%1 values, %2 Hz, %3 channel(s)\nselection %4 ... %5")
                    .arg(UnitWave.GetValues())
                    .arg(UnitWave.GetFrequency())
                    .arg(UnitWave.GetMonoStereo())
                    .arg(UnitWave.GetSelLow())
                    .arg(UnitWave.GetSelHigh()));
}
