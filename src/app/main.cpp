#include <QApplication>
#include <QStringList>

#include "app/mainform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tonbrisk");
  QApplication::setApplicationVersion("7.0");
  QApplication::setApplicationDisplayName("Tonbrisk 7.0");
  TMainForm mainForm;
  mainForm.resize(1200, 800);
  mainForm.show();
  // Files named on the command line open at start.
  QStringList files = QApplication::arguments();
  files.removeFirst();
  mainForm.OpenWaveFiles(files);
  mainForm.UpdateCommands();
  return QApplication::exec();
}
