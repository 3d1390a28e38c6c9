#include "documents/wavewindowlink.h"

TNullWaveWindowLink& TNullWaveWindowLink::Instance() {
  static TNullWaveWindowLink link;
  return link;
}
