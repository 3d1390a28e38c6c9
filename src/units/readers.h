#pragma once

#include <cstdint>
#include <string>

#include "units/unitcodes.h"

// The readers turn what the user typed ('50 %', '-6 dB', '440 Hz', 'A4',
// '1/3') into values. Each reader takes its own cursor into the text, never
// changes it, returns true on success and otherwise leaves the reason in
// `Error` and its result untouched.

class TStringReader {
 public:
  explicit TStringReader(std::string text) : text_(std::move(text)) {}
  const std::string& Text() const { return text_; }

  // The reason of the last failure; empty until a read fails.
  std::string Error;

 private:
  std::string text_;
};

// A number at the start of the text: an optional sign as the very first
// character, spaces and tabs, digits with an optional "." or "," fraction or
// a "/" divisor. `end` is where the number stopped. A run of more than ten
// digits fails as too long rather than leaving digits to be read as a unit.
bool ReadNumber(TStringReader& reader, double& number, std::size_t& end);

// The unit code of the text from `begin` on (spaces and tabs skipped first).
std::uint8_t ReadUnit(const TStringReader& reader, std::size_t begin);

// A number followed by its unit.
bool ReadNumberAndUnit(TStringReader& reader, double& number, std::uint8_t& unitCode);

// Tests `value` against a restriction code; the message of a violation goes
// to `reader.Error`.
bool CheckRestriction(TStringReader& reader, double value, std::uint8_t restriction);

// Tests `value` against the limit with a comparison code.
bool CheckComparison(TStringReader& reader, std::int32_t value, std::uint8_t comparison,
                     std::int32_t limit);

// "+", then "-", then digits; nothing after the digits is looked at. An
// empty text reads 0; a text without a digit, or a run of more than ten
// digits, fails.
bool ReadInteger(TStringReader& reader, std::int32_t& value, std::uint8_t restriction);
bool ReadIntegerCompare(TStringReader& reader, std::int32_t& value, std::uint8_t comparison,
                        std::int32_t limit);

// A plain number or a percentage.
bool ReadFactor(TStringReader& reader, double& value, std::uint8_t restriction);

// A factor, or decibels.
bool ReadVolumeFactor(TStringReader& reader, double& value);

// A phase as a fraction of a turn in 0 ... < 1, typed as a factor in
// -1 ... < 1 or in degrees -360 ... < 360.
bool ReadAngle(TStringReader& reader, double& value);

// A direction in -1 ... 1, typed as a factor or in degrees -90 ... 90.
bool ReadBalanceAngle(TStringReader& reader, double& value);

// Seconds, typed as a time or as a frequency (stored as its period) or as a
// note name.
bool ReadTime(TStringReader& reader, double& seconds, std::uint8_t restriction);

// Hertz, typed as a frequency, as a period or as a note name.
bool ReadFrequency(TStringReader& reader, double& hertz, std::uint8_t restriction);

// A 16-bit sample typed as a fraction of full scale, a percentage or raw ("$").
bool ReadWaveValue(TStringReader& reader, std::int16_t& sample, std::uint8_t restriction);

// True when the text starts with a note letter A ... G (either case).
bool StartsWithNote(const TStringReader& reader);

// The frequency of a note name such as 'A4', 'c#3' or 'G'. Only blanks may
// follow it: 'bogus' or 'A4x' is no note.
bool ReadNote(TStringReader& reader, double& hertz);

// The check of text fields that must not be empty: shows
// "In <name>: Field should not be empty." and clears `ok`.
void CheckNotEmpty(bool& ok, const std::string& text, const std::string& name);
