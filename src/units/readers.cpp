#include "units/readers.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/tbassert.h"
#include "base/userinterface.h"

namespace {

constexpr int kMaxDigits = 10;
constexpr std::int64_t kLargestRun = std::numeric_limits<std::int32_t>::max();

constexpr const char* kTooLong = "The number is too long. (maximum: 10 digits)";
constexpr const char* kNoValue = "Input has no value.";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A digit right after a full run: the reader would stop there and read the
// rest as a unit, so '99999999999' would be "a unit that does not exist".
bool RunTooLong(const std::string& text, std::size_t pos, int digits) {
  return digits == kMaxDigits && pos < text.size() && IsDigit(text[pos]);
}

bool OnlyBlanksFrom(const std::string& text, std::size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos == text.size();
}

// At most ten digits from `pos`; returns how many were read. Ten digits
// always fit 64 bits, so the run itself cannot overflow.
int ReadDigits(const std::string& text, std::size_t& pos, std::int64_t& run) {
  run = 0;
  int count = 0;
  while (count < kMaxDigits && pos < text.size() && IsDigit(text[pos])) {
    run = run * 10 + (text[pos] - '0');
    ++pos;
    ++count;
  }
  return count;
}

// A whole-number run is a 32-bit integer, but ten digits can reach
// 9999999999. Such a run saturates at the largest 32-bit value rather than
// wrapping, so '9999999999' reads as 2147483647.
std::int32_t SaturateRun(std::int64_t run) {
  return static_cast<std::int32_t>(run > kLargestRun ? kLargestRun : run);
}

// Single-precision steps: a double beyond the float range becomes an
// infinity explicitly instead of through an out-of-range conversion.
float ToSingle(double value) {
  if (value > FLT_MAX) return std::numeric_limits<float>::infinity();
  if (value < -FLT_MAX) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

bool Fail(TStringReader& reader, const char* text) {
  reader.Error = text;
  return false;
}

// "+", then "-", then a digit run (empty reads 0), from `pos`.
std::int32_t ReadSignedRun(const std::string& text, std::size_t& pos, bool& hadDigits,
                           bool& tooLong) {
  if (pos < text.size() && text[pos] == '+') ++pos;
  bool negative = false;
  if (pos < text.size() && text[pos] == '-') {
    negative = true;
    ++pos;
  }
  std::int64_t run = 0;
  const int digits = ReadDigits(text, pos, run);
  hadDigits = digits > 0;
  tooLong = RunTooLong(text, pos, digits);
  const std::int32_t value = SaturateRun(run);
  return negative ? -value : value;
}

}  // namespace

bool ReadNumber(TStringReader& reader, double& number, std::size_t& end) {
  const std::string& text = reader.Text();
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && text[pos] == '-') {
    negative = true;
    ++pos;
  } else if (pos < text.size() && text[pos] == '+') {
    ++pos;
  }
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  std::int64_t run = 0;
  const int digitsBefore = ReadDigits(text, pos, run);
  if (RunTooLong(text, pos, digitsBefore)) return Fail(reader, kTooLong);
  const std::int32_t a = SaturateRun(run);
  double value = 0;
  if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
    ++pos;
    // The fraction run is only ever scaled down, so it keeps all ten digits
    // exactly instead of saturating (a clipped '.9999999999' would read 0.21).
    // Dividing by the exact power of ten rounds the fraction once, so '0.3'
    // and '0.30' read the same double (3 * 0.1 would not be 0.3).
    std::int64_t fraction = 0;
    const int n = ReadDigits(text, pos, fraction);
    if (RunTooLong(text, pos, n)) return Fail(reader, kTooLong);
    value = static_cast<double>(a) + static_cast<double>(fraction) / std::pow(10.0, n);
  } else if (pos < text.size() && text[pos] == '/') {
    ++pos;
    std::int64_t divisorRun = 0;
    const int digitsAfter = ReadDigits(text, pos, divisorRun);
    if (RunTooLong(text, pos, digitsAfter)) return Fail(reader, kTooLong);
    if (digitsBefore == 0) return Fail(reader, "Input has no value before '/'.");
    if (digitsAfter == 0) return Fail(reader, "Input has no value after '/'.");
    const std::int32_t b = SaturateRun(divisorRun);
    if (b == 0) return Fail(reader, "Broke is invalid.");
    value = static_cast<double>(a) / static_cast<double>(b);
  } else {
    if (digitsBefore == 0) return Fail(reader, kNoValue);
    value = a;
  }
  number = negative ? -value : value;
  end = pos;
  return true;
}

std::uint8_t ReadUnit(const TStringReader& reader, std::size_t begin) {
  const std::string& text = reader.Text();
  std::size_t pos = begin;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos >= text.size()) return kUnitNone;
  std::string rest = text.substr(pos);
  for (char& c : rest) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  struct Token {
    const char* text;
    std::uint8_t code;
  };
  // The order matters: the first token the rest begins with wins.
  static constexpr Token kTokens[] = {
      {"%", kUnitPercent},       {"$", kUnitSample}, {"S", kUnitSeconds}, {"'", kUnitDegrees},
      {"MS", kUnitMilliseconds}, {"HZ", kUnitHz},    {"KHZ", kUnitKHz},   {"DB", kUnitDB}};
  for (const Token& token : kTokens) {
    if (rest.starts_with(token.text)) return token.code;
  }
  return kUnitUnknown;
}

bool ReadNumberAndUnit(TStringReader& reader, double& number, std::uint8_t& unitCode) {
  double value = 0;
  std::size_t end = 0;
  if (!ReadNumber(reader, value, end)) return false;
  number = value;
  unitCode = ReadUnit(reader, end);
  return true;
}

bool CheckRestriction(TStringReader& reader, double value, std::uint8_t restriction) {
  switch (restriction) {
    case kRestrictNone:
      return true;
    case kRestrictNotZero:
      return value != 0 || Fail(reader, "Value must be not 0.");
    case kRestrictNegative:
      return value <= 0 || Fail(reader, "Value must be negative.");
    case kRestrictPositive:
      return value >= 0 || Fail(reader, "Value must be positive.");
    case kRestrictNegativeLess:
      return value < 0 || Fail(reader, "Value must be negative and less than 0.");
    case kRestrictPositiveMore:
      return value > 0 || Fail(reader, "Value must be positive and more than 0.");
    case kRestrictMax1:
      if (value < 0) return Fail(reader, "Value must be positive.");
      if (value > 1) return Fail(reader, "Value must be no more than 1.");
      return true;
    case kRestrictBetween01:
      if (value <= 0) return Fail(reader, "Value must be positive and more than 0.");
      if (value >= 1) return Fail(reader, "Value must be less than 1.");
      return true;
    default:
      TB_ASSERT(restriction <= kRestrictBetween01);
      return false;
  }
}

bool CheckComparison(TStringReader& reader, std::int32_t value, std::uint8_t comparison,
                     std::int32_t limit) {
  bool accepted = false;
  const char* text = "";
  switch (comparison) {
    case kCompareUnequal:
      accepted = value != limit;
      text = "Value must be unequal of ";
      break;
    case kCompareLessEqual:
      accepted = value <= limit;
      text = "Value must be less or equal of ";
      break;
    case kCompareMoreEqual:
      accepted = value >= limit;
      text = "Value must be more or equal of ";
      break;
    case kCompareLess:
      accepted = value < limit;
      text = "Value must be less than ";
      break;
    case kCompareMore:
      accepted = value > limit;
      text = "Value must be more than ";
      break;
    default:
      TB_ASSERT(false);
  }
  if (!accepted) reader.Error = text + std::to_string(limit) + ".";
  return accepted;
}

namespace {

// The integer readers' run. An empty text reads 0 as the dialogs always
// did; a text without any digit ('maybe', '-') is no number at all.
bool ReadIntegerRun(TStringReader& reader, std::int32_t& read) {
  std::size_t pos = 0;
  bool hadDigits = false;
  bool tooLong = false;
  read = ReadSignedRun(reader.Text(), pos, hadDigits, tooLong);
  if (tooLong) return Fail(reader, kTooLong);
  if (!hadDigits && !reader.Text().empty()) return Fail(reader, kNoValue);
  return true;
}

}  // namespace

bool ReadInteger(TStringReader& reader, std::int32_t& value, std::uint8_t restriction) {
  std::int32_t read = 0;
  if (!ReadIntegerRun(reader, read)) return false;
  if (!CheckRestriction(reader, read, restriction)) return false;
  value = read;
  return true;
}

bool ReadIntegerCompare(TStringReader& reader, std::int32_t& value, std::uint8_t comparison,
                        std::int32_t limit) {
  std::int32_t read = 0;
  if (!ReadIntegerRun(reader, read)) return false;
  if (!CheckComparison(reader, read, comparison, limit)) return false;
  value = read;
  return true;
}

bool ReadFactor(TStringReader& reader, double& value, std::uint8_t restriction) {
  double number = 0;
  std::uint8_t unitCode = kUnitNone;
  if (!ReadNumberAndUnit(reader, number, unitCode)) return false;
  double factor = 0;
  if (unitCode == kUnitNone) {
    factor = number;
  } else if (unitCode == kUnitPercent) {
    factor = number * 0.01;
  } else if (unitCode == kUnitUnknown) {
    return Fail(reader, "This unit does not exist, use: '%' or no unit.");
  } else {
    return Fail(reader, "Wrong unit used, use: '%' or no unit.");
  }
  if (!CheckRestriction(reader, factor, restriction)) return false;
  value = factor;
  return true;
}

bool ReadVolumeFactor(TStringReader& reader, double& value) {
  // A scratch reader keeps the factor's complaint out of `Error` when the
  // text turns out to be decibels.
  TStringReader asFactor(reader.Text());
  if (ReadFactor(asFactor, value, kRestrictNone)) return true;
  double number = 0;
  std::uint8_t unitCode = kUnitNone;
  if (!ReadNumberAndUnit(reader, number, unitCode)) return false;
  if (unitCode == kUnitDB) {
    value = std::pow(10.0, 0.05 * number);
    return true;
  }
  if (unitCode == kUnitUnknown) {
    return Fail(reader, "This unit does not exist, use: '%', 'dB' or no unit.");
  }
  return Fail(reader, "Wrong unit used, use: '%', 'dB' or no unit.");
}

namespace {

// Degrees of the angle readers; anything else is a unit error.
bool ReadDegrees(TStringReader& reader, double& degrees) {
  std::uint8_t unitCode = kUnitNone;
  if (!ReadNumberAndUnit(reader, degrees, unitCode)) return false;
  if (unitCode == kUnitDegrees) return true;
  if (unitCode == kUnitUnknown) {
    return Fail(reader, "This unit does not exist, use: '%', ' ' ' or no unit.");
  }
  return Fail(reader, "Wrong unit used, use: '%', ' ' ' or no unit.");
}

// A phase just below 0 plus one turn can round up to a whole turn, which is
// the start of the period again; the phase stays below 1.
double WrapTurn(double turn) { return turn >= 1 ? 0 : turn; }

}  // namespace

bool ReadAngle(TStringReader& reader, double& value) {
  TStringReader asFactor(reader.Text());
  double factor = 0;
  if (ReadFactor(asFactor, factor, kRestrictNone)) {
    if (factor < -1) return Fail(reader, "Fase is too low. (minimum: -1 or -100 %)");
    if (factor >= 1) return Fail(reader, "Fase is too high. (maximum: less than 1 or 100 %)");
    if (factor < 0) factor = WrapTurn(static_cast<double>(ToSingle(factor) + 1.0f));
    value = factor;
    return true;
  }
  double degrees = 0;
  if (!ReadDegrees(reader, degrees)) return false;
  if (degrees < -360) return Fail(reader, "Fase is too low. (minimum: -360' )");
  if (degrees >= 360) return Fail(reader, "Fase is too high. (maximum: less than 360' )");
  double turn = degrees / 360;
  if (turn < 0) turn = WrapTurn(turn + 1);
  value = turn;
  return true;
}

bool ReadBalanceAngle(TStringReader& reader, double& value) {
  TStringReader asFactor(reader.Text());
  double factor = 0;
  if (ReadFactor(asFactor, factor, kRestrictNone)) {
    if (factor < -1) return Fail(reader, "Balance Factor is too low. (minimum: -1 or -100 %)");
    if (factor > 1) return Fail(reader, "Balance Factor is too high. (maximum: 1 or 100 %)");
    value = factor;
    return true;
  }
  double degrees = 0;
  if (!ReadDegrees(reader, degrees)) return false;
  if (degrees < -90) return Fail(reader, "Balance Angle is too low. (minimum: -90' )");
  if (degrees > 90) return Fail(reader, "Balance Angle is too high. (maximum: 90' )");
  value = degrees / 90;
  return true;
}

namespace {

constexpr const char* kTimeUnitMissing = "This unit does not exist, use: 's', 'ms', 'Hz', 'kHz'.";
constexpr const char* kTimeUnitWrong = "Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'.";

}  // namespace

bool ReadTime(TStringReader& reader, double& seconds, std::uint8_t restriction) {
  if (StartsWithNote(reader)) {
    // A note gives its period; no restriction applies to a pitch.
    double hertz = 0;
    if (!ReadNote(reader, hertz)) return false;
    seconds = static_cast<double>(1.0f / ToSingle(hertz));
    return true;
  }
  double number = 0;
  std::uint8_t unitCode = kUnitNone;
  if (!ReadNumberAndUnit(reader, number, unitCode)) return false;
  double value = 0;
  switch (unitCode) {
    case kUnitSeconds:
      value = number;
      break;
    case kUnitMilliseconds:
      value = number * 0.001;
      break;
    case kUnitHz:
      if (number == 0) return Fail(reader, "You cannot use 0 with 'Hz'.");
      value = static_cast<double>(1.0f / ToSingle(number));
      break;
    case kUnitKHz:
      if (number == 0) return Fail(reader, "You cannot use 0 with 'kHz'.");
      value = 0.001 / number;
      break;
    case kUnitUnknown:
      return Fail(reader, kTimeUnitMissing);
    default:  // no unit: a time needs one
      return Fail(reader, kTimeUnitWrong);
  }
  if (!CheckRestriction(reader, value, restriction)) return false;
  seconds = value;
  return true;
}

bool ReadFrequency(TStringReader& reader, double& hertz, std::uint8_t restriction) {
  double value = 0;
  if (StartsWithNote(reader)) {
    if (!ReadNote(reader, value)) return false;
  } else {
    double number = 0;
    std::uint8_t unitCode = kUnitNone;
    if (!ReadNumberAndUnit(reader, number, unitCode)) return false;
    switch (unitCode) {
      case kUnitSeconds:
        if (number == 0) return Fail(reader, "You cannot use 0 with 's'.");
        value = 1 / number;
        break;
      case kUnitMilliseconds:
        if (number == 0) return Fail(reader, "You cannot use 0 with 'ms'.");
        value = 1000 / number;
        break;
      case kUnitHz:
        value = number;
        break;
      case kUnitKHz:
        value = static_cast<double>(ToSingle(number) * 1000.0f);
        break;
      case kUnitUnknown:
        return Fail(reader, kTimeUnitMissing);
      default:
        return Fail(reader, kTimeUnitWrong);
    }
  }
  if (!CheckRestriction(reader, value, restriction)) return false;
  hertz = value;
  return true;
}

bool ReadWaveValue(TStringReader& reader, std::int16_t& sample, std::uint8_t restriction) {
  double number = 0;
  std::uint8_t unitCode = kUnitNone;
  if (!ReadNumberAndUnit(reader, number, unitCode)) return false;
  double scaled = 0;
  switch (unitCode) {
    case kUnitNone:
      if (number > 1) return Fail(reader, "Wave Value is too high. (maximum: 1)");
      if (number < -1) return Fail(reader, "Wave Value is too low. (minimum: -1)");
      scaled = number * 32767;
      break;
    case kUnitPercent:
      if (number > 100) return Fail(reader, "Wave Value is too high. (maximum: 100 %)");
      if (number < -100) return Fail(reader, "Wave Value is too low. (minimum: -100 %)");
      scaled = number * 327.67;
      break;
    case kUnitSample:
      if (number > 32767) return Fail(reader, "Wave Value is too high. (maximum: 32767 $)");
      if (number < -32768) return Fail(reader, "Wave Value is too low. (minimum: -32768 $)");
      scaled = number;
      break;
    case kUnitUnknown:
      return Fail(reader, "This unit does not exist, use: '%', '$' or no unit.");
    default:
      return Fail(reader, "Wrong unit used, use: '%', '$' or no unit.");
  }
  // In range by the checks above, so the truncation fits 16 bits.
  const auto value = static_cast<std::int16_t>(std::trunc(scaled));
  if (!CheckRestriction(reader, value, restriction)) return false;
  sample = value;
  return true;
}

bool StartsWithNote(const TStringReader& reader) {
  const std::string& text = reader.Text();
  if (text.empty()) return false;
  const char c = text[0];
  return (c >= 'A' && c <= 'G') || (c >= 'a' && c <= 'g');
}

bool ReadNote(TStringReader& reader, double& hertz) {
  if (!StartsWithNote(reader)) return Fail(reader, kNoValue);
  const std::string& text = reader.Text();
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  // Semitones above C of the letters A ... G.
  static constexpr int kSemitones[] = {9, 11, 0, 2, 4, 5, 7};
  int semitone = kSemitones[letter - 'A'];
  std::size_t pos = 1;
  if (pos < text.size() && text[pos] == '#') {
    if (letter == 'B' || letter == 'E') return Fail(reader, "This note cannot have a \"#\".");
    ++semitone;
    ++pos;
  }
  // A word that merely starts with a to g ('bogus', 'gone') is no note.
  if (pos == 1 && pos < text.size() && std::isalpha(static_cast<unsigned char>(text[pos]))) {
    return Fail(reader, kNoValue);
  }
  bool hadDigits = false;
  bool tooLong = false;
  std::int32_t octave = ReadSignedRun(text, pos, hadDigits, tooLong);
  if (tooLong) return Fail(reader, kTooLong);
  if (!OnlyBlanksFrom(text, pos)) return Fail(reader, "Only blanks may follow a note name.");
  if (!hadDigits) octave = 5;
  if (octave < -2) return Fail(reader, "The minimum Octave number is -2.");
  if (octave > 12) return Fail(reader, "The maximum Octave number is 12.");
  hertz = 523.26 * std::pow(2.0, semitone / 12.0 + octave - 5);
  return true;
}

void CheckNotEmpty(bool& ok, const std::string& text, const std::string& name) {
  if (!ok) return;
  if (!text.empty()) return;
  ShowMessage("Input Error", "In " + name + ": Field should not be empty.",
              MessageIcon::Information);
  ok = false;
}
