#include "units/readers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/recordingui.h"
#include "units/writers.h"

namespace {

// A reader as a table row runs it: the result goes to `value`, which a
// failure must leave untouched (it starts at a marker).
using ReadFn = bool (*)(TStringReader&, double&);

struct ReadCase {
  ReadFn read;
  const char* text;
  bool ok;
  double value;       // when ok
  const char* error;  // when not ok
  double tolerance = 0;
};

class ReaderTable : public testing::TestWithParam<ReadCase> {};

TEST_P(ReaderTable, ReadsOrExplains) {
  const ReadCase& c = GetParam();
  TStringReader reader(c.text);
  constexpr double kMarker = -12345.25;
  double value = kMarker;
  const bool ok = c.read(reader, value);
  ASSERT_EQ(ok, c.ok) << "'" << c.text << "': " << reader.Error;
  if (c.ok) {
    EXPECT_NEAR(value, c.value, c.tolerance) << "'" << c.text << "'";
    EXPECT_EQ(reader.Error, "");
  } else {
    EXPECT_EQ(reader.Error, c.error) << "'" << c.text << "'";
    EXPECT_EQ(value, kMarker) << "a failed read changed its result";
  }
  EXPECT_EQ(reader.Text(), c.text);
}

// The rows of one reader: kTime.Ok("1.5 s", 1.5), kTime.Bad("5", "Wrong ...").
struct Rows {
  ReadFn read;
  ReadCase Ok(const char* text, double value, double tolerance = 0) const {
    return {read, text, true, value, "", tolerance};
  }
  ReadCase Bad(const char* text, const char* error) const { return {read, text, false, 0, error}; }
};

// Integer readers: the integer goes to `value` only when it was written.
template <std::uint8_t kRestriction>
bool Integer(TStringReader& reader, double& value) {
  std::int32_t i = -77;
  const bool ok = ReadInteger(reader, i, kRestriction);
  if (i != -77 || ok) value = i;
  return ok;
}

template <std::uint8_t kRestriction>
bool WaveValue(TStringReader& reader, double& value) {
  std::int16_t s = -77;
  const bool ok = ReadWaveValue(reader, s, kRestriction);
  if (s != -77 || ok) value = s;
  return ok;
}

// clang-format off
const Rows kNumber{[](TStringReader& r, double& v) { std::size_t end = 0; return ReadNumber(r, v, end); }};
const Rows kInteger{Integer<kRestrictNone>}, kIntegerPosMore{Integer<kRestrictPositiveMore>};
const Rows kFactor{[](TStringReader& r, double& v) { return ReadFactor(r, v, kRestrictNone); }};
const Rows kFactorPos{[](TStringReader& r, double& v) { return ReadFactor(r, v, kRestrictPositive); }};
const Rows kVolume{ReadVolumeFactor}, kAngle{ReadAngle}, kBalance{ReadBalanceAngle}, kNote{ReadNote};
const Rows kTime{[](TStringReader& r, double& v) { return ReadTime(r, v, kRestrictNone); }};
const Rows kTimePosMore{[](TStringReader& r, double& v) { return ReadTime(r, v, kRestrictPositiveMore); }};
const Rows kTimeNegative{[](TStringReader& r, double& v) { return ReadTime(r, v, kRestrictNegative); }};
const Rows kFrequency{[](TStringReader& r, double& v) { return ReadFrequency(r, v, kRestrictNone); }};
const Rows kWaveValue{WaveValue<kRestrictNone>}, kWaveValuePosMore{WaveValue<kRestrictPositiveMore>};
// clang-format on
constexpr const char* kTooLong = "The number is too long. (maximum: 10 digits)";

INSTANTIATE_TEST_SUITE_P(
    Number, ReaderTable,
    testing::Values(kNumber.Ok("5", 5), kNumber.Ok("-5", -5), kNumber.Ok("+5", 5),
                    kNumber.Ok("- 5", -5), kNumber.Ok(" 5", 5), kNumber.Ok("\t7", 7),
                    kNumber.Bad(" -5", "Input has no value."), kNumber.Ok(".5", 0.5),
                    kNumber.Ok(",5", 0.5), kNumber.Ok(".", 0), kNumber.Ok("3.", 3),
                    kNumber.Ok("2.25", 2.25),
                    // The fraction is rounded once: the double nearest 0.3, however many
                    // zeros follow.
                    kNumber.Ok("0.3", 0.3), kNumber.Ok("0.300", 0.3), kNumber.Ok("-1,7", -1.7),
                    kNumber.Ok("1/4", 0.25), kNumber.Ok("-1/3", -1.0 / 3), kNumber.Ok("1.5/2", 1.5),
                    kNumber.Bad("1/0", "Broke is invalid."),
                    kNumber.Bad("/4", "Input has no value before '/'."),
                    kNumber.Bad("/", "Input has no value before '/'."),
                    kNumber.Bad("4/", "Input has no value after '/'."),
                    kNumber.Bad("abc", "Input has no value."),
                    kNumber.Bad("", "Input has no value."), kNumber.Bad("-", "Input has no value."),
                    // More than ten digits are refused, in every run, rather
                    // than leaving a digit to be read as a unit.
                    kNumber.Bad("12345678901", kTooLong), kNumber.Bad(".12345678901", kTooLong),
                    kNumber.Bad("1/12345678901", kTooLong), kFactor.Bad("00000000001", kTooLong),
                    // Ten digits beyond 32 bits saturate.
                    kNumber.Ok("9999999999", 2147483647.0),
                    kNumber.Ok("-9999999999", -2147483647.0),
                    kNumber.Ok("1/9999999999", 1.0 / 2147483647),
                    // A fraction run keeps its ten digits.
                    kNumber.Ok("0.9999999999", 0.9999999999, 1e-15)));

INSTANTIATE_TEST_SUITE_P(
    Integer, ReaderTable,
    testing::Values(kInteger.Ok("12abc", 12), kInteger.Ok("", 0), kInteger.Ok("+-5", -5),
                    kInteger.Ok("-42", -42),
                    // A text with no digit is no number (an empty one reads 0).
                    kInteger.Bad("-+5", "Input has no value."),
                    kInteger.Bad(" 5", "Input has no value."),
                    kInteger.Bad("maybe", "Input has no value."),
                    kInteger.Bad("99999999999999999999", kTooLong),
                    kInteger.Ok("9999999999", 2147483647.0),
                    kInteger.Ok("-9999999999", -2147483647.0), kIntegerPosMore.Ok("3", 3),
                    kIntegerPosMore.Bad("0", "Value must be positive and more than 0."),
                    kIntegerPosMore.Bad("x", "Input has no value.")));

INSTANTIATE_TEST_SUITE_P(
    Factor, ReaderTable,
    testing::Values(kFactor.Ok("50 %", 0.5), kFactor.Ok("0.5", 0.5), kFactor.Ok("1/4", 0.25),
                    kFactor.Ok("-2", -2), kFactor.Ok("50%", 0.5),
                    kFactor.Bad("5 kg", "This unit does not exist, use: '%' or no unit."),
                    kFactor.Bad("5 s", "Wrong unit used, use: '%' or no unit."),
                    kFactor.Bad("5 dB", "Wrong unit used, use: '%' or no unit."),
                    kFactor.Bad("abc", "Input has no value."),
                    kFactorPos.Bad("-5 %", "Value must be positive."), kFactorPos.Ok("0", 0)));

// 10^(0.05 * -6) = 10^-0.3 = 0.501187...
INSTANTIATE_TEST_SUITE_P(
    VolumeFactor, ReaderTable,
    testing::Values(kVolume.Ok("-6 dB", 0.5011872336, 1e-10), kVolume.Ok("0 dB", 1),
                    kVolume.Ok("20 db", 10, 1e-12), kVolume.Ok("50 %", 0.5), kVolume.Ok("-2", -2),
                    kVolume.Bad("6 s", "Wrong unit used, use: '%', 'dB' or no unit."),
                    kVolume.Bad("6 xyz", "This unit does not exist, use: '%', 'dB' or no unit."),
                    kVolume.Bad("abc", "Input has no value.")));

INSTANTIATE_TEST_SUITE_P(
    Angle, ReaderTable,
    testing::Values(kAngle.Ok("0.25", 0.25), kAngle.Ok("-0.25", 0.75), kAngle.Ok("-25 %", 0.75),
                    kAngle.Ok("-90'", 0.75), kAngle.Ok("90 '", 0.25), kAngle.Ok("-1", 0),
                    kAngle.Ok("-360'", 0), kAngle.Ok("359 '", 359.0 / 360),
                    // -0.1 + 1 in single precision is the float nearest 0.9.
                    kAngle.Ok("-0.1", static_cast<double>(0.9f)),
                    // A phase a hair below 0 would round up to a whole turn: it is the start.
                    kAngle.Ok("-0.0000000001", 0),
                    kAngle.Bad("1", "Fase is too high. (maximum: less than 1 or 100 %)"),
                    kAngle.Bad("-101 %", "Fase is too low. (minimum: -1 or -100 %)"),
                    kAngle.Bad("360'", "Fase is too high. (maximum: less than 360' )"),
                    kAngle.Bad("-361 '", "Fase is too low. (minimum: -360' )"),
                    kAngle.Bad("5 s", "Wrong unit used, use: '%', ' ' ' or no unit."),
                    kAngle.Bad("5 x", "This unit does not exist, use: '%', ' ' ' or no unit."),
                    kAngle.Bad("x", "Input has no value.")));

INSTANTIATE_TEST_SUITE_P(
    BalanceAngle, ReaderTable,
    testing::Values(kBalance.Ok("0.5", 0.5), kBalance.Ok("-100 %", -1), kBalance.Ok("1", 1),
                    kBalance.Ok("45'", 0.5), kBalance.Ok("-90 '", -1),
                    kBalance.Bad("1.5", "Balance Factor is too high. (maximum: 1 or 100 %)"),
                    kBalance.Bad("-101 %", "Balance Factor is too low. (minimum: -1 or -100 %)"),
                    kBalance.Bad("91'", "Balance Angle is too high. (maximum: 90' )"),
                    kBalance.Bad("-91'", "Balance Angle is too low. (minimum: -90' )"),
                    kBalance.Bad("5 ms", "Wrong unit used, use: '%', ' ' ' or no unit."),
                    kBalance.Bad("5 kg", "This unit does not exist, use: '%', ' ' ' or no unit.")));

// A4 = 523.26 * 2^(9/12 - 1) = 440.00746; its period is taken in single
// precision.
INSTANTIATE_TEST_SUITE_P(
    Time, ReaderTable,
    testing::Values(kTime.Ok("440 Hz", static_cast<double>(1.0f / 440.0f)),
                    kTime.Ok("2.5 ms", 2.5 * 0.001), kTime.Ok("1.5 s", 1.5), kTime.Ok("5 sec", 5),
                    kTime.Ok("2 kHz", 0.0005),
                    kTime.Ok("A4", static_cast<double>(1.0f / 440.00746f)), kTime.Ok("-1 s", -1),
                    kTime.Bad("0 Hz", "You cannot use 0 with 'Hz'."),
                    kTime.Bad("0 kHz", "You cannot use 0 with 'kHz'."),
                    kTime.Bad("5", "Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'."),
                    kTime.Bad("5 %", "Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'."),
                    kTime.Bad("5 kg", "This unit does not exist, use: 's', 'ms', 'Hz', 'kHz'."),
                    kTime.Bad("H", "Input has no value."),
                    kTime.Bad("e#", "This note cannot have a \"#\"."),
                    kTimePosMore.Bad("-1 s", "Value must be positive and more than 0."),
                    kTimePosMore.Bad("0 ms", "Value must be positive and more than 0."),
                    // A note is a pitch: no restriction applies to it.
                    kTimeNegative.Ok("A4", static_cast<double>(1.0f / 440.00746f)),
                    kTimeNegative.Bad("1 s", "Value must be negative.")));

// 'a' = A5 = 523.26 * 2^0.75 = 880.0149; 'c#4' = 523.26 * 2^(1/12 - 1) =
// 277.1873; C-2 = 523.26 / 128; F# = 523.26 * sqrt 2.
INSTANTIATE_TEST_SUITE_P(
    Frequency, ReaderTable,
    testing::Values(
        kFrequency.Ok("440 Hz", 440), kFrequency.Ok("a", 880.0149165, 1e-6),
        kFrequency.Ok("c#4", 277.1873294, 1e-6), kFrequency.Ok("C-2", 523.26 / 128, 1e-12),
        kFrequency.Ok("F#", 523.26 * std::sqrt(2.0), 1e-9), kFrequency.Ok("A+4", 440.0074582, 1e-6),
        kFrequency.Ok("A4 \t", 440.0074582, 1e-6), kFrequency.Ok("2 kHz", 2000),
        // A word that starts with a to g is no note, nor is a note with a tail.
        kFrequency.Bad("Ax", "Input has no value."), kTime.Bad("bogus", "Input has no value."),
        kFrequency.Bad("A4x", "Only blanks may follow a note name."),
        kFrequency.Bad("c#3 Hz", "Only blanks may follow a note name."),
        kFrequency.Bad("C12345678901", kTooLong),
        // kHz are scaled in single precision.
        kFrequency.Ok("1.234567 kHz", static_cast<double>(1.234567f * 1000.0f)),
        kFrequency.Ok("4 s", 0.25), kFrequency.Ok("2 ms", 500), kFrequency.Ok("-5 Hz", -5),
        kFrequency.Bad("0 s", "You cannot use 0 with 's'."),
        kFrequency.Bad("0 ms", "You cannot use 0 with 'ms'."),
        kFrequency.Bad("440", "Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'."),
        kFrequency.Bad("440 dB", "Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'."),
        kFrequency.Bad("440 q", "This unit does not exist, use: 's', 'ms', 'Hz', 'kHz'."),
        kFrequency.Bad("e#", "This note cannot have a \"#\"."),
        kFrequency.Bad("B#3", "This note cannot have a \"#\"."),
        kFrequency.Bad("A13", "The maximum Octave number is 12."),
        kFrequency.Bad("C-3", "The minimum Octave number is -2."),
        kFrequency.Bad("G9999999999", "The maximum Octave number is 12.")));

INSTANTIATE_TEST_SUITE_P(Note, ReaderTable,
                         testing::Values(kNote.Ok("C5", 523.26),
                                         kNote.Ok("g12", 523.26 * std::pow(2.0, 7.0 + 7.0 / 12),
                                                  1e-9),
                                         kNote.Bad("E#4", "This note cannot have a \"#\"."),
                                         kNote.Bad("5", "Input has no value.")));

// 0.5 * 32767 = 16383.5 -> 16383; 50 % * 327.67 = 16383.5 -> 16383.
INSTANTIATE_TEST_SUITE_P(
    WaveValue, ReaderTable,
    testing::Values(kWaveValue.Ok("100 $", 100), kWaveValue.Ok("0.5", 16383),
                    kWaveValue.Ok("50 %", 16383), kWaveValue.Ok("-0.5", -16383),
                    kWaveValue.Ok("1", 32767), kWaveValue.Ok("-1", -32767),
                    kWaveValue.Ok("-100 %", -32767), kWaveValue.Ok("-32768 $", -32768),
                    kWaveValue.Ok("2.9 $", 2),
                    kWaveValue.Bad("1.5", "Wave Value is too high. (maximum: 1)"),
                    kWaveValue.Bad("-1.5", "Wave Value is too low. (minimum: -1)"),
                    kWaveValue.Bad("101 %", "Wave Value is too high. (maximum: 100 %)"),
                    kWaveValue.Bad("-101%", "Wave Value is too low. (minimum: -100 %)"),
                    kWaveValue.Bad("32768 $", "Wave Value is too high. (maximum: 32767 $)"),
                    kWaveValue.Bad("-32769 $", "Wave Value is too low. (minimum: -32768 $)"),
                    kWaveValue.Bad("5 s", "Wrong unit used, use: '%', '$' or no unit."),
                    kWaveValue.Bad("5 q", "This unit does not exist, use: '%', '$' or no unit."),
                    kWaveValuePosMore.Bad("0", "Value must be positive and more than 0."),
                    // The restriction is on the sample: 0.00001 * 32767 truncates to 0.
                    kWaveValuePosMore.Bad("0.00001", "Value must be positive and more than 0."),
                    kWaveValuePosMore.Ok("0.0001", 3)));

struct UnitTokenCase {
  const char* text;
  std::uint8_t code;
};

class UnitTokenTable : public testing::TestWithParam<UnitTokenCase> {};

TEST_P(UnitTokenTable, GivesTheFirstTokenTheRestBeginsWith) {
  TStringReader reader(GetParam().text);
  double number = 0;
  std::uint8_t code = 99;
  ASSERT_TRUE(ReadNumberAndUnit(reader, number, code));
  EXPECT_EQ(code, GetParam().code) << "'" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    ReadUnit, UnitTokenTable,
    testing::Values(UnitTokenCase{"5", kUnitNone}, UnitTokenCase{"5  ", kUnitNone},
                    UnitTokenCase{"5 %", kUnitPercent}, UnitTokenCase{"5dB", kUnitDB},
                    UnitTokenCase{"5 db", kUnitDB}, UnitTokenCase{"5 s", kUnitSeconds},
                    UnitTokenCase{"5 sec", kUnitSeconds}, UnitTokenCase{"5 ms", kUnitMilliseconds},
                    UnitTokenCase{"5 MSX", kUnitMilliseconds}, UnitTokenCase{"5 Hz", kUnitHz},
                    UnitTokenCase{"5 hzz", kUnitHz}, UnitTokenCase{"5 khz", kUnitKHz},
                    UnitTokenCase{"5 $", kUnitSample}, UnitTokenCase{"5 '", kUnitDegrees},
                    UnitTokenCase{"5\t%", kUnitPercent}, UnitTokenCase{"5 kg", kUnitUnknown},
                    UnitTokenCase{"5 d", kUnitUnknown}, UnitTokenCase{"5 /2", kUnitUnknown}));

struct RestrictionCase {
  double value;
  std::uint8_t code;
  const char* error;  // empty: accepted
};

class RestrictionTable : public testing::TestWithParam<RestrictionCase> {};

TEST_P(RestrictionTable, AcceptsOrExplains) {
  const RestrictionCase& c = GetParam();
  TStringReader reader("");
  const bool accepted = CheckRestriction(reader, c.value, c.code);
  EXPECT_EQ(accepted, std::string(c.error).empty()) << c.value << " code " << int(c.code);
  EXPECT_EQ(reader.Error, c.error) << c.value << " code " << int(c.code);
}

INSTANTIATE_TEST_SUITE_P(
    CheckRestriction, RestrictionTable,
    testing::Values(
        RestrictionCase{-3, kRestrictNone, ""},
        RestrictionCase{0, kRestrictNotZero, "Value must be not 0."},
        RestrictionCase{-1, kRestrictNotZero, ""},
        RestrictionCase{0.5, kRestrictNegative, "Value must be negative."},
        RestrictionCase{0, kRestrictNegative, ""},
        RestrictionCase{-0.5, kRestrictPositive, "Value must be positive."},
        RestrictionCase{0, kRestrictPositive, ""},
        RestrictionCase{0, kRestrictNegativeLess, "Value must be negative and less than 0."},
        RestrictionCase{-1, kRestrictNegativeLess, ""},
        RestrictionCase{0, kRestrictPositiveMore, "Value must be positive and more than 0."},
        RestrictionCase{1, kRestrictPositiveMore, ""},
        RestrictionCase{-0.1, kRestrictMax1, "Value must be positive."},
        RestrictionCase{1.1, kRestrictMax1, "Value must be no more than 1."},
        RestrictionCase{0, kRestrictMax1, ""}, RestrictionCase{1, kRestrictMax1, ""},
        RestrictionCase{0, kRestrictBetween01, "Value must be positive and more than 0."},
        RestrictionCase{1, kRestrictBetween01, "Value must be less than 1."},
        RestrictionCase{0.5, kRestrictBetween01, ""}));

struct ComparisonCase {
  std::int32_t value;
  std::uint8_t code;
  std::int32_t limit;
  const char* error;
};

class ComparisonTable : public testing::TestWithParam<ComparisonCase> {};

TEST_P(ComparisonTable, AcceptsOrNamesTheLimit) {
  const ComparisonCase& c = GetParam();
  TStringReader reader(std::to_string(c.value));
  std::int32_t value = -77;
  const bool accepted = ReadIntegerCompare(reader, value, c.code, c.limit);
  EXPECT_EQ(accepted, std::string(c.error).empty());
  EXPECT_EQ(reader.Error, c.error);
  EXPECT_EQ(value, accepted ? c.value : -77);
}

INSTANTIATE_TEST_SUITE_P(
    ReadIntegerCompare, ComparisonTable,
    testing::Values(ComparisonCase{3, kCompareUnequal, 3, "Value must be unequal of 3."},
                    ComparisonCase{2, kCompareUnequal, 3, ""},
                    ComparisonCase{4, kCompareLessEqual, 3, "Value must be less or equal of 3."},
                    ComparisonCase{3, kCompareLessEqual, 3, ""},
                    ComparisonCase{2, kCompareMoreEqual, 3, "Value must be more or equal of 3."},
                    ComparisonCase{3, kCompareMoreEqual, 3, ""},
                    ComparisonCase{3, kCompareLess, 3, "Value must be less than 3."},
                    ComparisonCase{2, kCompareLess, 3, ""},
                    ComparisonCase{3, kCompareMore, 3, "Value must be more than 3."},
                    ComparisonCase{-2, kCompareMore, -1, "Value must be more than -1."},
                    ComparisonCase{4, kCompareMore, 3, ""}));

// Preconditions of the units library stop the program with the condition
// quoted and the source named.
TEST(UnitsDeathTest, PreconditionsStopTheProgram) {
  const struct {
    void (*call)();
    const char* message;
  } cases[] = {
      {[] {
         TStringReader reader("5");
         std::int32_t value = 0;
         ReadIntegerCompare(reader, value, 6, 0);
       },
       "\"false\" in readers"},
      {[] {
         TStringReader reader("5");
         CheckRestriction(reader, 1, 8);
       },
       "restriction <= kRestrictBetween01"},
      {[] { FormatNumber(1, 1, 3, 2); }, "minDigAfter <= maxDigAfter"},
      {[] { FormatNumber(1, 0, 0, 0); }, "minDigBefore >= 1"},
      {[] { FormatPrecision(1, 0, true); }, "precisie >= 1"},
  };
  for (const auto& c : cases) EXPECT_DEATH(c.call(), c.message);
}

TEST(TStringReader, StartsWithoutErrorAndKeepsTheLastOne) {
  TStringReader reader("5 kg");
  EXPECT_EQ(reader.Error, "");
  double value = 0;
  EXPECT_FALSE(ReadFactor(reader, value, kRestrictNone));
  EXPECT_FALSE(ReadTime(reader, value, kRestrictNone));
  EXPECT_EQ(reader.Error, "This unit does not exist, use: 's', 'ms', 'Hz', 'kHz'.");
}

TEST(ReadVolumeFactor, LeavesNoFactorComplaintWhenDecibelsSucceed) {
  TStringReader reader("-6 dB");
  double value = 0;
  ASSERT_TRUE(ReadVolumeFactor(reader, value));
  EXPECT_EQ(reader.Error, "");
}

TEST(CheckNotEmpty, ReportsAnEmptyFieldOnceInTheChain) {
  RecordingUi ui;
  bool ok = true;
  CheckNotEmpty(ok, "x", "Name:");
  EXPECT_TRUE(ok);
  CheckNotEmpty(ok, "", "Name:");
  CheckNotEmpty(ok, "", "Other");
  EXPECT_FALSE(ok);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Input Error");
  EXPECT_EQ(ui.messages[0].text, "In Name:: Field should not be empty.");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
}

}  // namespace
