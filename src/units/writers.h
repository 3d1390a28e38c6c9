#pragma once

#include <cstdint>
#include <string>

#include "units/unitcodes.h"

// The writers turn numbers into the texts that dialogs, status panels and
// files show. They use "." as the decimal separator and "-" for negatives,
// never a thousands separator or an exponent, and they truncate rather than
// round. A value that is not finite is written as kNoNumberText.

inline constexpr const char* kNoNumberText = "***";

// Decimal text with at least `minDigBefore` digits before the point and
// `minDigAfter` ... `maxDigAfter` after it; further digits are cut off.
std::string FormatNumber(double value, int minDigBefore, int minDigAfter, int maxDigAfter);

// About `precisie` significant digits; `strip` drops trailing zeros.
std::string FormatPrecision(double value, int precisie, bool strip);

// The text of a unit value: the value in the unit's form with the unit's
// suffix. `isFrequency` tells whether `value` is in hertz (true) or seconds.
std::string FormatUnit(double value, std::uint8_t unitCode, int precisie, bool strip,
                       bool isFrequency);

// As FormatUnit, with the shown number moved by `steps` units of its last
// written digit first: the neighbouring texts at the same precision.
std::string FormatUnitStep(double value, std::uint8_t unitCode, int precisie, bool strip,
                           bool isFrequency, int steps);

// Hours, minutes and seconds: '5.25000 s', '1:15.50000', '1:00:05.00000'.
std::string FormatTime(double seconds);

// A sample frequency: '44.1 kHz', '8.00 kHz', '500 Hz'.
std::string FormatFrequency(double hertz);

// A 16-bit sample as a fraction of full scale (unit 0), a percentage (1) or
// raw (7); empty for other units.
std::string FormatWaveValue(std::int16_t sample, std::uint8_t unitCode);

// A data size in bytes with b, kb, Mb or Gb: '800 b', '1.72 kb', '12.5 Mb'.
std::string FormatDataSize(std::int64_t bytes);

// A number to be written: real (kind 0), integer (kind 1) or an integer
// padded to ten digits (kind 2).
class TNumber {
 public:
  explicit TNumber(double value) : kind_(0), value_(value) {}
  explicit TNumber(std::int64_t value, bool padded = false)
      : kind_(padded ? 2 : 1), value_(static_cast<double>(value)) {}

  std::uint8_t Kind() const { return kind_; }
  double Value() const { return value_; }
  std::string Text() const;

 private:
  std::uint8_t kind_;
  double value_;
};
