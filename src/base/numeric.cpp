#include "base/numeric.h"

#include <cmath>

double Clip(double value, double min, double max) {
  if (value < min) return min;
  if (value > max) return max;
  return value;
}

double Map(double x, double x0, double x1, double y0, double y1) {
  return y0 + (x - x0) * (y1 - y0) / (x1 - x0);
}

double Nice(double x) {
  const double e = std::floor(std::log10(x));
  const double power = std::pow(10.0, e);
  const double m = std::trunc(x / power);
  if (m < 3) return power * 2;
  if (m < 6) return power * 5;
  return power * 10;
}
