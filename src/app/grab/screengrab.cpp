// Saves the whole screen of the X display as a PNG: the screenshot smoke test
// needs no image tools beyond Qt.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "Usage: tonbrisk-screengrab OUT.png\n");
    return 2;
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  const QPixmap shot = screen != nullptr ? screen->grabWindow(0) : QPixmap();
  if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "tonbrisk-screengrab: cannot grab the screen into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
