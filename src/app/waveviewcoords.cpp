#include "app/waveviewcoords.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/numeric.h"

double TWaveCoords::VisibleBegin() const {
  if (!Zoomed || Range <= 0) return 0;
  return static_cast<double>(Values) * Position / Range;
}

double TWaveCoords::VisibleEnd() const {
  if (!Zoomed || Range <= 0) return Values;
  return static_cast<double>(Values) * (static_cast<double>(Width) + Position) / Range;
}

double TWaveCoords::PixelToPosition(double x) const {
  if (Width <= 0) return VisibleBegin();
  return Map(x + 0.5, 0, Width, VisibleBegin(), VisibleEnd());
}

int TWaveCoords::PositionToPixel(double position) const {
  const double begin = VisibleBegin();
  const double end = VisibleEnd();
  if (end <= begin) return 0;
  // Far outside the client area a column number need not be exact, only
  // representable.
  const double x = Clip(Map(position, begin, end, 0, Width), -1e9, 1e9);
  return static_cast<int>(std::trunc(x));
}

void TWaveCoords::SetZoom(double from, double to) {
  Zoomed = true;
  // A span under one value would divide by nothing; a range beyond what an
  // int counts would wrap around.
  const double span = std::max(to - from, 1.0);
  const double limit = std::numeric_limits<int>::max() - static_cast<double>(Width);
  const double range = std::trunc(static_cast<double>(Width) * Values / span);
  Range = static_cast<int>(Clip(range, std::max(Width, 1), limit));
  const double position = std::trunc(Values > 0 ? from / Values * Range : 0);
  Position = static_cast<int>(Clip(position, 0, std::max(Range - Width, 0)));
  Increment = Width / 10;
}

int TWaveCoords::CursorPixel(std::int32_t cursor) const {
  if (Values > 0 && cursor >= Values) cursor = Values - 1;
  return PositionToPixel(cursor);
}
