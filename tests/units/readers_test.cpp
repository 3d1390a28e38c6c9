#include "units/readers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/recordingui.h"

namespace {

// Which reader a table row goes through.
enum class Reader {
  Number,
  Integer,
  IntegerPosMore,
  Factor,
  FactorPos,
  Volume,
  Angle,
  Balance,
  Time,
  TimePosMore,
  TimeNegative,
  Frequency,
  WaveValue,
  WaveValuePosMore,
  Note,
};

struct ReadCase {
  Reader reader;
  const char* text;
  bool ok;
  double value;       // when ok
  const char* error;  // when not ok
  double tolerance = 0;
};

// Runs one reader; the result goes to `value`, which a failure must leave
// untouched (it starts at a marker).
bool RunReader(Reader kind, TStringReader& reader, double& value) {
  switch (kind) {
    case Reader::Number: {
      std::size_t end = 0;
      return ReadNumber(reader, value, end);
    }
    case Reader::Integer:
    case Reader::IntegerPosMore: {
      std::int32_t i = -77;
      const bool ok =
          ReadInteger(reader, i, kind == Reader::Integer ? kRestrictNone : kRestrictPositiveMore);
      if (i != -77 || ok) value = i;
      return ok;
    }
    case Reader::Factor:
      return ReadFactor(reader, value, kRestrictNone);
    case Reader::FactorPos:
      return ReadFactor(reader, value, kRestrictPositive);
    case Reader::Volume:
      return ReadVolumeFactor(reader, value);
    case Reader::Angle:
      return ReadAngle(reader, value);
    case Reader::Balance:
      return ReadBalanceAngle(reader, value);
    case Reader::Time:
      return ReadTime(reader, value, kRestrictNone);
    case Reader::TimePosMore:
      return ReadTime(reader, value, kRestrictPositiveMore);
    case Reader::TimeNegative:
      return ReadTime(reader, value, kRestrictNegative);
    case Reader::Frequency:
      return ReadFrequency(reader, value, kRestrictNone);
    case Reader::WaveValue:
    case Reader::WaveValuePosMore: {
      std::int16_t s = -77;
      const bool ok = ReadWaveValue(
          reader, s, kind == Reader::WaveValue ? kRestrictNone : kRestrictPositiveMore);
      if (s != -77 || ok) value = s;
      return ok;
    }
    case Reader::Note:
      return ReadNote(reader, value);
  }
  return false;
}

class ReaderTable : public testing::TestWithParam<ReadCase> {};

TEST_P(ReaderTable, ReadsOrExplains) {
  const ReadCase& c = GetParam();
  TStringReader reader(c.text);
  constexpr double kMarker = -12345.25;
  double value = kMarker;
  const bool ok = RunReader(c.reader, reader, value);
  ASSERT_EQ(ok, c.ok) << "'" << c.text << "': " << reader.Error;
  if (c.ok) {
    if (c.tolerance == 0) {
      EXPECT_EQ(value, c.value) << "'" << c.text << "'";
    } else {
      EXPECT_NEAR(value, c.value, c.tolerance) << "'" << c.text << "'";
    }
    EXPECT_EQ(reader.Error, "");
  } else {
    EXPECT_EQ(reader.Error, c.error) << "'" << c.text << "'";
    EXPECT_EQ(value, kMarker) << "a failed read changed its result";
  }
  EXPECT_EQ(reader.Text(), c.text);
}

ReadCase Ok(Reader r, const char* text, double value, double tolerance = 0) {
  return {r, text, true, value, "", tolerance};
}
ReadCase Bad(Reader r, const char* text, const char* error) { return {r, text, false, 0, error}; }

INSTANTIATE_TEST_SUITE_P(
    Number, ReaderTable,
    testing::Values(Ok(Reader::Number, "5", 5), Ok(Reader::Number, "-5", -5),
                    Ok(Reader::Number, "+5", 5), Ok(Reader::Number, "- 5", -5),
                    Ok(Reader::Number, " 5", 5), Ok(Reader::Number, "\t7", 7),
                    Bad(Reader::Number, " -5", "Input has no value."),
                    Ok(Reader::Number, ".5", 0.5), Ok(Reader::Number, ",5", 0.5),
                    Ok(Reader::Number, ".", 0), Ok(Reader::Number, "3.", 3),
                    Ok(Reader::Number, "2.25", 2.25),
                    // The fraction is rounded once: the double nearest 0.3, however many
                    // zeros follow.
                    Ok(Reader::Number, "0.3", 0.3), Ok(Reader::Number, "0.300", 0.3),
                    Ok(Reader::Number, "-1,7", -1.7), Ok(Reader::Number, "1/4", 0.25),
                    Ok(Reader::Number, "-1/3", -1.0 / 3), Ok(Reader::Number, "1.5/2", 1.5),
                    Bad(Reader::Number, "1/0", "Broke is invalid."),
                    Bad(Reader::Number, "/4", "Input has no value before '/'."),
                    Bad(Reader::Number, "/", "Input has no value before '/'."),
                    Bad(Reader::Number, "4/", "Input has no value after '/'."),
                    Bad(Reader::Number, "abc", "Input has no value."),
                    Bad(Reader::Number, "", "Input has no value."),
                    Bad(Reader::Number, "-", "Input has no value."),
                    // Reading stops after the tenth digit.
                    Ok(Reader::Number, "12345678901", 1234567890.0),
                    // Ten digits beyond 32 bits saturate.
                    Ok(Reader::Number, "9999999999", 2147483647.0),
                    Ok(Reader::Number, "-9999999999", -2147483647.0),
                    Ok(Reader::Number, "1/9999999999", 1.0 / 2147483647),
                    // A fraction run keeps its ten digits.
                    Ok(Reader::Number, "0.9999999999", 0.9999999999, 1e-15)));

INSTANTIATE_TEST_SUITE_P(
    Integer, ReaderTable,
    testing::Values(Ok(Reader::Integer, "12abc", 12), Ok(Reader::Integer, "", 0),
                    Ok(Reader::Integer, "+-5", -5), Ok(Reader::Integer, "-+5", 0),
                    Ok(Reader::Integer, " 5", 0), Ok(Reader::Integer, "-42", -42),
                    Ok(Reader::Integer, "9999999999", 2147483647.0),
                    Ok(Reader::Integer, "-9999999999", -2147483647.0),
                    Ok(Reader::Integer, "12345678901", 1234567890.0),
                    Ok(Reader::IntegerPosMore, "3", 3),
                    Bad(Reader::IntegerPosMore, "0", "Value must be positive and more than 0."),
                    Bad(Reader::IntegerPosMore, "x", "Value must be positive and more than 0.")));

INSTANTIATE_TEST_SUITE_P(
    Factor, ReaderTable,
    testing::Values(Ok(Reader::Factor, "50 %", 0.5), Ok(Reader::Factor, "0.5", 0.5),
                    Ok(Reader::Factor, "1/4", 0.25), Ok(Reader::Factor, "-2", -2),
                    Ok(Reader::Factor, "50%", 0.5),
                    Bad(Reader::Factor, "5 kg", "This unit does not exist, use: '%' or no unit."),
                    Bad(Reader::Factor, "5 s", "Wrong unit used, use: '%' or no unit."),
                    Bad(Reader::Factor, "5 dB", "Wrong unit used, use: '%' or no unit."),
                    Bad(Reader::Factor, "abc", "Input has no value."),
                    Bad(Reader::FactorPos, "-5 %", "Value must be positive."),
                    Ok(Reader::FactorPos, "0", 0)));

// 10^(0.05 * -6) = 10^-0.3 = 0.501187...
INSTANTIATE_TEST_SUITE_P(
    VolumeFactor, ReaderTable,
    testing::Values(Ok(Reader::Volume, "-6 dB", 0.5011872336, 1e-10), Ok(Reader::Volume, "0 dB", 1),
                    Ok(Reader::Volume, "20 db", 10, 1e-12), Ok(Reader::Volume, "50 %", 0.5),
                    Ok(Reader::Volume, "-2", -2),
                    Bad(Reader::Volume, "6 s", "Wrong unit used, use: '%', 'dB' or no unit."),
                    Bad(Reader::Volume, "6 xyz",
                        "This unit does not exist, use: '%', 'dB' or no unit."),
                    Bad(Reader::Volume, "abc", "Input has no value.")));

INSTANTIATE_TEST_SUITE_P(
    Angle, ReaderTable,
    testing::Values(Ok(Reader::Angle, "0.25", 0.25), Ok(Reader::Angle, "-0.25", 0.75),
                    Ok(Reader::Angle, "-25 %", 0.75), Ok(Reader::Angle, "-90'", 0.75),
                    Ok(Reader::Angle, "90 '", 0.25), Ok(Reader::Angle, "-1", 0),
                    Ok(Reader::Angle, "-360'", 0), Ok(Reader::Angle, "359 '", 359.0 / 360),
                    // -0.1 + 1 in single precision is the float nearest 0.9.
                    Ok(Reader::Angle, "-0.1", static_cast<double>(0.9f)),
                    // A phase a hair below 0 would round up to a whole turn: it is the start.
                    Ok(Reader::Angle, "-0.0000000001", 0),
                    Bad(Reader::Angle, "1", "Fase is too high. (maximum: less than 1 or 100 %)"),
                    Bad(Reader::Angle, "-101 %", "Fase is too low. (minimum: -1 or -100 %)"),
                    Bad(Reader::Angle, "360'", "Fase is too high. (maximum: less than 360' )"),
                    Bad(Reader::Angle, "-361 '", "Fase is too low. (minimum: -360' )"),
                    Bad(Reader::Angle, "5 s", "Wrong unit used, use: '%', ' ' ' or no unit."),
                    Bad(Reader::Angle, "5 x",
                        "This unit does not exist, use: '%', ' ' ' or no unit."),
                    Bad(Reader::Angle, "x", "Input has no value.")));

INSTANTIATE_TEST_SUITE_P(
    BalanceAngle, ReaderTable,
    testing::Values(
        Ok(Reader::Balance, "0.5", 0.5), Ok(Reader::Balance, "-100 %", -1),
        Ok(Reader::Balance, "1", 1), Ok(Reader::Balance, "45'", 0.5),
        Ok(Reader::Balance, "-90 '", -1),
        Bad(Reader::Balance, "1.5", "Balance Factor is too high. (maximum: 1 or 100 %)"),
        Bad(Reader::Balance, "-101 %", "Balance Factor is too low. (minimum: -1 or -100 %)"),
        Bad(Reader::Balance, "91'", "Balance Angle is too high. (maximum: 90' )"),
        Bad(Reader::Balance, "-91'", "Balance Angle is too low. (minimum: -90' )"),
        Bad(Reader::Balance, "5 ms", "Wrong unit used, use: '%', ' ' ' or no unit."),
        Bad(Reader::Balance, "5 kg", "This unit does not exist, use: '%', ' ' ' or no unit.")));

// A4 = 523.26 * 2^(9/12 - 1) = 440.00746; its period is taken in single
// precision.
INSTANTIATE_TEST_SUITE_P(
    Time, ReaderTable,
    testing::Values(Ok(Reader::Time, "440 Hz", static_cast<double>(1.0f / 440.0f)),
                    Ok(Reader::Time, "2.5 ms", 2.5 * 0.001), Ok(Reader::Time, "1.5 s", 1.5),
                    Ok(Reader::Time, "5 sec", 5), Ok(Reader::Time, "2 kHz", 0.0005),
                    Ok(Reader::Time, "A4", static_cast<double>(1.0f / 440.00746f)),
                    Ok(Reader::Time, "-1 s", -1),
                    Bad(Reader::Time, "0 Hz", "You cannot use 0 with 'Hz'."),
                    Bad(Reader::Time, "0 kHz", "You cannot use 0 with 'kHz'."),
                    Bad(Reader::Time, "5", "Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'."),
                    Bad(Reader::Time, "5 %", "Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'."),
                    Bad(Reader::Time, "5 kg",
                        "This unit does not exist, use: 's', 'ms', 'Hz', 'kHz'."),
                    Bad(Reader::Time, "H", "Input has no value."),
                    Bad(Reader::Time, "e#", "This note cannot have a \"#\"."),
                    Bad(Reader::TimePosMore, "-1 s", "Value must be positive and more than 0."),
                    Bad(Reader::TimePosMore, "0 ms", "Value must be positive and more than 0."),
                    // A note is a pitch: no restriction applies to it.
                    Ok(Reader::TimeNegative, "A4", static_cast<double>(1.0f / 440.00746f)),
                    Bad(Reader::TimeNegative, "1 s", "Value must be negative.")));

// 'a' = A5 = 523.26 * 2^0.75 = 880.0149; 'c#4' = 523.26 * 2^(1/12 - 1) =
// 277.1873; C-2 = 523.26 / 128; F# = 523.26 * sqrt 2.
INSTANTIATE_TEST_SUITE_P(
    Frequency, ReaderTable,
    testing::Values(
        Ok(Reader::Frequency, "440 Hz", 440), Ok(Reader::Frequency, "a", 880.0149165, 1e-6),
        Ok(Reader::Frequency, "c#4", 277.1873294, 1e-6),
        Ok(Reader::Frequency, "C-2", 523.26 / 128, 1e-12),
        Ok(Reader::Frequency, "F#", 523.26 * std::sqrt(2.0), 1e-9),
        Ok(Reader::Frequency, "A+4", 440.0074582, 1e-6),
        Ok(Reader::Frequency, "Ax", 880.0149165, 1e-6), Ok(Reader::Frequency, "2 kHz", 2000),
        // kHz are scaled in single precision.
        Ok(Reader::Frequency, "1.234567 kHz", static_cast<double>(1.234567f * 1000.0f)),
        Ok(Reader::Frequency, "4 s", 0.25), Ok(Reader::Frequency, "2 ms", 500),
        Ok(Reader::Frequency, "-5 Hz", -5),
        Bad(Reader::Frequency, "0 s", "You cannot use 0 with 's'."),
        Bad(Reader::Frequency, "0 ms", "You cannot use 0 with 'ms'."),
        Bad(Reader::Frequency, "440", "Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'."),
        Bad(Reader::Frequency, "440 dB", "Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'."),
        Bad(Reader::Frequency, "440 q", "This unit does not exist, use: 's', 'ms', 'Hz', 'kHz'."),
        Bad(Reader::Frequency, "e#", "This note cannot have a \"#\"."),
        Bad(Reader::Frequency, "B#3", "This note cannot have a \"#\"."),
        Bad(Reader::Frequency, "A13", "The maximum Octave number is 12."),
        Bad(Reader::Frequency, "C-3", "The minimum Octave number is -2."),
        Bad(Reader::Frequency, "G9999999999", "The maximum Octave number is 12.")));

INSTANTIATE_TEST_SUITE_P(Note, ReaderTable,
                         testing::Values(Ok(Reader::Note, "C5", 523.26),
                                         Ok(Reader::Note, "g12",
                                            523.26 * std::pow(2.0, 7.0 + 7.0 / 12), 1e-9),
                                         Bad(Reader::Note, "E#4", "This note cannot have a \"#\"."),
                                         Bad(Reader::Note, "5", "Input has no value.")));

// 0.5 * 32767 = 16383.5 -> 16383; 50 % * 327.67 = 16383.5 -> 16383.
INSTANTIATE_TEST_SUITE_P(
    WaveValue, ReaderTable,
    testing::Values(
        Ok(Reader::WaveValue, "100 $", 100), Ok(Reader::WaveValue, "0.5", 16383),
        Ok(Reader::WaveValue, "50 %", 16383), Ok(Reader::WaveValue, "-0.5", -16383),
        Ok(Reader::WaveValue, "1", 32767), Ok(Reader::WaveValue, "-1", -32767),
        Ok(Reader::WaveValue, "-100 %", -32767), Ok(Reader::WaveValue, "-32768 $", -32768),
        Ok(Reader::WaveValue, "2.9 $", 2),
        Bad(Reader::WaveValue, "1.5", "Wave Value is too high. (maximum: 1)"),
        Bad(Reader::WaveValue, "-1.5", "Wave Value is too low. (minimum: -1)"),
        Bad(Reader::WaveValue, "101 %", "Wave Value is too high. (maximum: 100 %)"),
        Bad(Reader::WaveValue, "-101%", "Wave Value is too low. (minimum: -100 %)"),
        Bad(Reader::WaveValue, "32768 $", "Wave Value is too high. (maximum: 32767 $)"),
        Bad(Reader::WaveValue, "-32769 $", "Wave Value is too low. (minimum: -32768 $)"),
        Bad(Reader::WaveValue, "5 s", "Wrong unit used, use: '%', '$' or no unit."),
        Bad(Reader::WaveValue, "5 q", "This unit does not exist, use: '%', '$' or no unit."),
        Bad(Reader::WaveValuePosMore, "0", "Value must be positive and more than 0."),
        // The restriction is on the sample: 0.00001 * 32767 truncates to 0.
        Bad(Reader::WaveValuePosMore, "0.00001", "Value must be positive and more than 0."),
        Ok(Reader::WaveValuePosMore, "0.0001", 3)));

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

TEST(ReadersDeathTest, AssertsOnUnknownCodes) {
  TStringReader reader("5");
  std::int32_t value = 0;
  EXPECT_DEATH(ReadIntegerCompare(reader, value, 6, 0), "\"false\" in readers");
  EXPECT_DEATH(CheckRestriction(reader, 1, 8), "restriction <= kRestrictBetween01");
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
