#include <QApplication>
#include <QScreen>
#include <QStringList>

#include "app/mainform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tonbrisk");
  QApplication::setApplicationVersion("7.0");
  TMainForm mainForm;
  // Most of the screen, so the four tool bars fit in their rows.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect free = screen->availableGeometry();
    mainForm.resize(free.size() * 9 / 10);
    mainForm.move(free.center() - mainForm.rect().center());
  }
  mainForm.show();
  // Files named on the command line open at start.
  QStringList files = QApplication::arguments();
  files.removeFirst();
  mainForm.OpenWaveFiles(files);
  mainForm.UpdateCommands();
  return QApplication::exec();
}
