#include "units/writers.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "base/tbassert.h"

namespace {

// The largest exponent whose power of ten is still a finite double.
constexpr int kLargestPowerOfTen = 308;

// Single-precision reciprocals: the divisor is rounded to float first; a
// double beyond the float range becomes an infinity explicitly.
double SingleQuotient(float dividend, double divisor) {
  float single = std::numeric_limits<float>::infinity();
  if (divisor < -FLT_MAX) {
    single = -single;
  } else if (divisor <= FLT_MAX) {
    single = static_cast<float>(divisor);
  }
  return static_cast<double>(dividend / single);
}

}  // namespace

std::string FormatNumber(double value, int minDigBefore, int minDigAfter, int maxDigAfter) {
  TB_ASSERT(minDigAfter <= maxDigAfter);
  TB_ASSERT(minDigBefore >= 1);
  TB_ASSERT(minDigAfter >= 0);
  if (!std::isfinite(value)) return kNoNumberText;
  std::string text;
  if (value < 0) {
    text += '-';
    value = -value;
  }
  int n = value == 0 ? 1 : static_cast<int>(std::trunc(std::log10(value))) + 1;
  n = std::max(n, minDigBefore);
  // One unit of the first dropped digit guards against representation error
  // (0.3 is stored a little below 0.3).
  value = value + std::pow(10.0, -(maxDigAfter + 1));
  if (n <= kLargestPowerOfTen) {
    value = value / std::pow(10.0, n);
  } else {  // 10^n itself would be infinite
    value = value / std::pow(10.0, kLargestPowerOfTen) / std::pow(10.0, n - kLargestPowerOfTen);
  }
  bool started = false;
  bool pointWritten = false;
  int heldZeros = 0;
  // Position p is the digit of 10^p; position n only shows a digit the guard
  // carried into.
  for (int p = n; p >= -maxDigAfter; --p) {
    const int digit = static_cast<int>(value);
    value = (value - digit) * 10;
    if (!started) {
      if (digit == 0 && p != n - 1) continue;
      started = true;
    }
    const char c = static_cast<char>('0' + digit);
    if (p >= -minDigAfter) {
      text += c;
      if (p == 0 && minDigAfter > 0) {
        text += '.';
        pointWritten = true;
      }
    } else if (digit == 0) {
      ++heldZeros;
    } else {
      if (!pointWritten) {
        text += '.';
        pointWritten = true;
      }
      text.append(heldZeros, '0');
      heldZeros = 0;
      text += c;
    }
  }
  return text;
}

namespace {

// Decimals after the point for `precisie` significant digits, and the
// minimum digits before it.
void PrecisionDigits(double value, int precisie, int& before, int& after) {
  const int l = value == 0 ? 1 : static_cast<int>(std::trunc(std::log10(std::fabs(value))));
  before = std::max(l, 1);
  after = std::max(0, precisie - l - 1);
}

std::string FormatPrecisionStep(double value, int precisie, bool strip, int steps) {
  if (!std::isfinite(value)) return kNoNumberText;
  if (steps != 0) {
    int before = 0;
    int after = 0;
    PrecisionDigits(value, precisie, before, after);
    value = value + steps * std::pow(10.0, -after);
  }
  return FormatPrecision(value, precisie, strip);
}

}  // namespace

std::string FormatPrecision(double value, int precisie, bool strip) {
  TB_ASSERT(precisie >= 1);
  if (!std::isfinite(value)) return kNoNumberText;
  int before = 0;
  int after = 0;
  PrecisionDigits(value, precisie, before, after);
  return strip ? FormatNumber(value, before, 0, after) : FormatNumber(value, before, after, after);
}

std::string FormatUnitStep(double value, std::uint8_t unitCode, int precisie, bool strip,
                           bool isFrequency, int steps) {
  auto precision = [&](double shown) { return FormatPrecisionStep(shown, precisie, strip, steps); };
  switch (unitCode) {
    case kUnitNone:
      return precision(value);
    case kUnitPercent:
      return precision(value * 100) + " %";
    case kUnitDB: {
      const double db = 20 * std::log10(value);
      const double moved = steps == 0 || !std::isfinite(db) ? db : db + steps * 0.001;
      return FormatNumber(moved, 1, 0, 3) + " dB";
    }
    case kUnitSeconds:
      if (!isFrequency) return precision(value) + " s";
      if (value == 0) return "* s";
      return precision(SingleQuotient(1.0f, value)) + " s";
    case kUnitMilliseconds:
      if (!isFrequency) return precision(value * 1000) + " ms";
      if (value == 0) return "* ms";
      return precision(SingleQuotient(1000.0f, value)) + " ms";
    case kUnitHz:
      if (isFrequency) return precision(value) + " Hz";
      if (value == 0) return "* Hz";
      return precision(SingleQuotient(1.0f, value)) + " Hz";
    case kUnitKHz:
      if (isFrequency) return precision(value * 0.001) + " kHz";
      if (value == 0) return "* kHz";
      return precision(0.001 / value) + " kHz";
    case kUnitDegrees:
      if (value >= 0.5) value = value - 1;
      return precision(value * 360) + " '";
    case kUnitBalanceDegrees:
      return precision(value * 90) + " '";
    default:
      return "***";
  }
}

std::string FormatUnit(double value, std::uint8_t unitCode, int precisie, bool strip,
                       bool isFrequency) {
  return FormatUnitStep(value, unitCode, precisie, strip, isFrequency, 0);
}

std::string FormatTime(double seconds) {
  if (!std::isfinite(seconds)) return kNoNumberText;
  // Lengths are never negative; should one be, it is written as the length
  // with a minus sign rather than as mixed-sign fields.
  if (seconds < 0) return "-" + FormatTime(-seconds);
  // Kept in double: a count of minutes can exceed 32 bits for absurd input.
  double totalMinutes = std::trunc(seconds / 60);
  double rest = seconds - 60 * totalMinutes;
  // The seconds are written with the digit writer's guard of one unit of the
  // sixth decimal; a rest that the guard takes to 60 is a whole minute more,
  // not "1:60.00000".
  if (rest + 0.000001 >= 60) {
    totalMinutes += 1;
    rest = std::max(0.0, rest - 60);
  }
  const double hours = std::floor(totalMinutes / 60);
  const double minutes = totalMinutes - 60 * hours;
  std::string text;
  if (hours > 0) text += FormatNumber(hours, 1, 0, 0) + ":";
  if (hours > 0 || minutes > 0) text += FormatNumber(minutes, hours == 0 ? 1 : 2, 0, 0) + ":";
  const bool secondsOnly = hours == 0 && minutes == 0;
  text += FormatNumber(rest, secondsOnly ? 1 : 2, 5, 5);
  if (secondsOnly) text += " s";
  return text;
}

std::string FormatFrequency(double hertz) {
  if (hertz < 100) return FormatNumber(hertz, 2, 1, 1) + " Hz";
  if (hertz < 1000) return FormatNumber(hertz, 3, 0, 0) + " Hz";
  if (hertz < 10000) return FormatNumber(hertz * 0.001, 1, 2, 2) + " kHz";
  return FormatNumber(hertz * 0.001, 2, 1, 1) + " kHz";
}

std::string FormatWaveValue(std::int16_t sample, std::uint8_t unitCode) {
  // The offsets make the truncating formatter round half away from zero at
  // the last written decimal.
  switch (unitCode) {
    case kUnitNone: {
      double x = sample / 32767.0;
      x = x < 0 ? x - 0.00005 : x + 0.00005;
      return FormatNumber(x, 1, 0, 4);
    }
    case kUnitPercent: {
      double x = sample * 100 / 32767.0;
      x = x > 0 ? x + 0.005 : x - 0.005;  // 0 counts as negative here
      return FormatNumber(x, 1, 0, 2) + " %";
    }
    case kUnitSample:
      return FormatNumber(sample, 1, 0, 0) + " $";
    default:
      return "";
  }
}

std::string FormatDataSize(std::int64_t bytes) {
  if (bytes < 1024) return FormatNumber(static_cast<double>(bytes), 1, 0, 0) + " b";
  // Two decimals below 10, one below 100, none below 1024.
  auto scaled = [](double size, const char* suffix) {
    const int decimals = size < 10 ? 2 : size < 100 ? 1 : 0;
    return FormatNumber(size, 1, decimals, decimals) + suffix;
  };
  double size = static_cast<double>(bytes) / 1024;
  if (size < 1024) return scaled(size, " kb");
  size = size / 1024;
  if (size < 1024) return scaled(size, " Mb");
  size = size / 1024;
  return FormatNumber(size, 1, 2, 2) + " Gb";
}

std::string TNumber::Text() const {
  // Integers have no decimals to write: asking for none makes the writer's
  // guard 0.1, so every integer a double holds exactly is written exactly.
  if (kind_ == 1) return FormatNumber(value_, 1, 0, 0);
  if (kind_ == 2) return FormatNumber(value_, 10, 0, 0);
  // A double holds about 15 significant digits and the digit loop loses a
  // little more; digits beyond 14 would be representation error the guard
  // cannot cover, so at most 14 are written (never more than nine decimals).
  const double magnitude = std::fabs(value_);
  const int before = magnitude < 1 ? 1 : static_cast<int>(std::trunc(std::log10(magnitude))) + 1;
  return FormatNumber(value_, 1, 0, std::min(9, std::max(0, 14 - before)));
}
