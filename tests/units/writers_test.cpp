#include "units/writers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct NumberCase {
  double value;
  int minBefore;
  int minAfter;
  int maxAfter;
  const char* text;
};

class FormatNumberTable : public testing::TestWithParam<NumberCase> {};

TEST_P(FormatNumberTable, WritesTruncatedDigits) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(FormatNumber(c.value, c.minBefore, c.minAfter, c.maxAfter), c.text)
      << c.value << " " << c.minBefore << " " << c.minAfter << " " << c.maxAfter;
}

// The guard adds one unit of the first dropped digit before the digits are
// cut, so 0.25 with one decimal is 0.26 -> '0.2', and 9.99 with one decimal
// is 10.00 -> '10'.
INSTANTIATE_TEST_SUITE_P(
    FormatNumber, FormatNumberTable,
    testing::Values(NumberCase{2.5, 1, 0, 3, "2.5"}, NumberCase{2, 1, 2, 2, "2.00"},
                    NumberCase{0.25, 1, 0, 1, "0.2"}, NumberCase{-3, 2, 0, 0, "-03"},
                    NumberCase{0, 1, 0, 0, "0"}, NumberCase{0.5, 1, 0, 0, "0"},
                    NumberCase{5, 2, 0, 0, "05"}, NumberCase{9.96, 1, 0, 1, "9.9"},
                    NumberCase{9.99, 1, 0, 1, "10"}, NumberCase{1.05, 1, 0, 3, "1.05"},
                    NumberCase{1.5, 1, 1, 3, "1.5"}, NumberCase{100, 1, 0, 2, "100"},
                    NumberCase{0.001, 1, 0, 3, "0.001"}, NumberCase{0.0004, 1, 0, 3, "0"},
                    NumberCase{-0.25, 1, 2, 2, "-0.25"}, NumberCase{0.3, 1, 0, 6, "0.3"},
                    NumberCase{123456789, 1, 0, 0, "123456789"},
                    NumberCase{7.25, 3, 4, 6, "007.2500"}, NumberCase{1e-5, 1, 0, 9, "0.00001"},
                    // Held zeros are written once a non-zero digit follows.
                    NumberCase{3.0005, 1, 1, 4, "3.0005"}));

TEST(FormatNumber, WritesNoNumberForInfinityAndNaN) {
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), 1, 0, 3), "***");
  EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity(), 1, 0, 3), "***");
  EXPECT_EQ(FormatNumber(std::nan(""), 1, 0, 3), "***");
}

TEST(FormatNumber, WritesTheLargestDoubleWithAllItsDigits) {
  const std::string text = FormatNumber(std::numeric_limits<double>::max(), 1, 0, 0);
  EXPECT_EQ(text.size(), 309u);
  EXPECT_EQ(text.substr(0, 3), "179");
}

struct PrecisionCase {
  double value;
  int precisie;
  bool strip;
  const char* text;
};

class FormatPrecisionTable : public testing::TestWithParam<PrecisionCase> {};

TEST_P(FormatPrecisionTable, WritesSignificantDigits) {
  const PrecisionCase& c = GetParam();
  EXPECT_EQ(FormatPrecision(c.value, c.precisie, c.strip), c.text) << c.value;
}

// L = trunc(log10 |v|) without + 1, a = max(0, precisie - L - 1) decimals:
// 440: L 2, a 4; 0.05: L -1, a 7; 12345.678: L 4, a 2 (truncated);
// 0.000123456789: L -3, a 9, so only six significant digits survive.
INSTANTIATE_TEST_SUITE_P(
    FormatPrecision, FormatPrecisionTable,
    testing::Values(PrecisionCase{440, 7, true, "440"}, PrecisionCase{0.05, 7, true, "0.05"},
                    PrecisionCase{1 / 0.44, 7, true, "2.272727"}, PrecisionCase{0, 7, true, "0"},
                    PrecisionCase{2.5, 3, false, "2.50"}, PrecisionCase{0, 3, false, "0.0"},
                    PrecisionCase{12345.678, 7, true, "12345.67"},
                    PrecisionCase{-0.5, 7, true, "-0.5"},
                    PrecisionCase{123456789, 7, true, "123456789"},
                    PrecisionCase{0.000123456789, 7, true, "0.000123456"}));

struct UnitCase {
  double value;
  std::uint8_t unitCode;
  bool isFrequency;
  const char* text;
};

class FormatUnitTable : public testing::TestWithParam<UnitCase> {};

TEST_P(FormatUnitTable, WritesTheValueInItsUnit) {
  const UnitCase& c = GetParam();
  EXPECT_EQ(FormatUnit(c.value, c.unitCode, 7, true, c.isFrequency), c.text)
      << c.value << " unit " << int(c.unitCode);
}

INSTANTIATE_TEST_SUITE_P(
    FormatUnit, FormatUnitTable,
    testing::Values(
        UnitCase{0.5, kUnitNone, false, "0.5"}, UnitCase{0.5, kUnitPercent, false, "50 %"},
        UnitCase{1, kUnitDB, false, "0 dB"},
        // 20 log10 0.5 = -6.0206: three decimals at most, the zero dropped.
        UnitCase{0.5, kUnitDB, false, "-6.02 dB"}, UnitCase{0.25, kUnitSeconds, false, "0.25 s"},
        UnitCase{0.0025, kUnitMilliseconds, false, "2.5 ms"},
        UnitCase{1.0 / 440, kUnitHz, false, "440 Hz"}, UnitCase{0.0005, kUnitKHz, false, "2 kHz"},
        UnitCase{0, kUnitHz, false, "* Hz"}, UnitCase{0, kUnitKHz, false, "* kHz"},
        UnitCase{0, kUnitSeconds, true, "* s"}, UnitCase{0, kUnitMilliseconds, true, "* ms"},
        UnitCase{440, kUnitHz, true, "440 Hz"}, UnitCase{2000, kUnitKHz, true, "2 kHz"},
        UnitCase{4, kUnitSeconds, true, "0.25 s"}, UnitCase{500, kUnitMilliseconds, true, "2 ms"},
        UnitCase{0.75, kUnitDegrees, false, "-90 '"}, UnitCase{0.25, kUnitDegrees, false, "90 '"},
        UnitCase{0.5, kUnitDegrees, false, "-180 '"},
        UnitCase{0.5, kUnitBalanceDegrees, false, "45 '"},
        UnitCase{-1, kUnitBalanceDegrees, false, "-90 '"}, UnitCase{1, kUnitSample, false, "***"},
        UnitCase{1, kUnitUnknown, false, "***"},
        // The reciprocal is taken in single precision: float(1/7) is a
        // little above 1/7 and its float reciprocal 6.9999995 is cut.
        UnitCase{1.0 / 7, kUnitHz, false, "6.999999 Hz"}));

TEST(FormatUnit, StepsMoveTheLastWrittenDigit) {
  EXPECT_EQ(FormatUnitStep(1.0 / 7, kUnitHz, 7, true, false, 1), "7 Hz");
  EXPECT_EQ(FormatUnitStep(1.0 / 7, kUnitHz, 7, true, false, -1), "6.999998 Hz");
  EXPECT_EQ(FormatUnitStep(0.5, kUnitDB, 7, true, false, 1), "-6.019 dB");
}

TEST(FormatUnit, ZeroInDecibelsIsNoNumber) {
  EXPECT_EQ(FormatUnit(0, kUnitDB, 7, true, false), "*** dB");
}

struct TimeCase {
  double seconds;
  const char* text;
};

class FormatTimeTable : public testing::TestWithParam<TimeCase> {};

TEST_P(FormatTimeTable, WritesHoursMinutesSeconds) {
  EXPECT_EQ(FormatTime(GetParam().seconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    FormatTime, FormatTimeTable,
    testing::Values(TimeCase{5.25, "5.25000 s"}, TimeCase{75.5, "1:15.50000"},
                    TimeCase{3605, "1:00:05.00000"}, TimeCase{0, "0.00000 s"},
                    TimeCase{60, "1:00.00000"}, TimeCase{3600, "1:00:00.00000"},
                    TimeCase{36061.5, "10:01:01.50000"}, TimeCase{0.1, "0.10000 s"},
                    TimeCase{-5.25, "-5.25000 s"},
                    // The guard takes these to a whole minute,
                    // which carries into the minutes.
                    TimeCase{59.9999999, "1:00.00000"}, TimeCase{119.9999999, "2:00.00000"},
                    TimeCase{3599.9999999, "1:00:00.00000"}, TimeCase{119.99998, "1:59.99998"}));

struct FrequencyCase {
  double hertz;
  const char* text;
};

class FormatFrequencyTable : public testing::TestWithParam<FrequencyCase> {};

TEST_P(FormatFrequencyTable, WritesHzOrKHz) {
  EXPECT_EQ(FormatFrequency(GetParam().hertz), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    FormatFrequency, FormatFrequencyTable,
    testing::Values(FrequencyCase{8000, "8.00 kHz"}, FrequencyCase{22050, "22.0 kHz"},
                    FrequencyCase{44100, "44.1 kHz"}, FrequencyCase{11025, "11.0 kHz"},
                    FrequencyCase{500, "500 Hz"}, FrequencyCase{50, "50.0 Hz"},
                    FrequencyCase{5, "05.0 Hz"}, FrequencyCase{99.95, "99.9 Hz"},
                    FrequencyCase{1000, "1.00 kHz"},
                    // 9.999 plus the guard 0.001 carries into a new digit.
                    FrequencyCase{9999, "10.00 kHz"}));

struct WaveValueCase {
  std::int16_t sample;
  std::uint8_t unitCode;
  const char* text;
};

class FormatWaveValueTable : public testing::TestWithParam<WaveValueCase> {};

TEST_P(FormatWaveValueTable, WritesFractionPercentOrRaw) {
  const WaveValueCase& c = GetParam();
  EXPECT_EQ(FormatWaveValue(c.sample, c.unitCode), c.text) << c.sample;
}

// 16384 / 32767 = 0.500015 -> '0.5'; 3 / 32767 = 0.0000916 + 0.00005 ->
// '0.0001'; 2 in %: 0.0061 + 0.005 -> '0.01'; 1 in %: 0.0031 + 0.005 -> '0'.
// A sample of 0 counts as negative in %: -0.005 is written '-0'.
INSTANTIATE_TEST_SUITE_P(
    FormatWaveValue, FormatWaveValueTable,
    testing::Values(WaveValueCase{32767, kUnitPercent, "100 %"},
                    WaveValueCase{-32768, kUnitPercent, "-100 %"},
                    WaveValueCase{16384, kUnitNone, "0.5"},
                    WaveValueCase{-16384, kUnitNone, "-0.5"}, WaveValueCase{0, kUnitNone, "0"},
                    WaveValueCase{0, kUnitPercent, "-0 %"}, WaveValueCase{3, kUnitNone, "0.0001"},
                    WaveValueCase{2, kUnitPercent, "0.01 %"}, WaveValueCase{1, kUnitPercent, "0 %"},
                    WaveValueCase{100, kUnitSample, "100 $"},
                    WaveValueCase{-5, kUnitSample, "-5 $"}, WaveValueCase{1, kUnitDB, ""}));

struct DataSizeCase {
  std::int64_t bytes;
  const char* text;
};

class FormatDataSizeTable : public testing::TestWithParam<DataSizeCase> {};

TEST_P(FormatDataSizeTable, WritesBytesWithUnit) {
  EXPECT_EQ(FormatDataSize(GetParam().bytes), GetParam().text);
}

// 1762 / 1024 = 1.7207; 1048575 / 1024 = 1023.999, whose guard (0.1 with no
// decimals) lifts it to 1024; 13107200 = 12.5 * 1024 * 1024.
INSTANTIATE_TEST_SUITE_P(
    FormatDataSize, FormatDataSizeTable,
    testing::Values(DataSizeCase{0, "0 b"}, DataSizeCase{1023, "1023 b"},
                    DataSizeCase{1024, "1.00 kb"}, DataSizeCase{1762, "1.72 kb"},
                    DataSizeCase{10240, "10.0 kb"}, DataSizeCase{102400, "100 kb"},
                    DataSizeCase{1048575, "1024 kb"}, DataSizeCase{1048576, "1.00 Mb"},
                    DataSizeCase{13107200, "12.5 Mb"}, DataSizeCase{1073741824, "1.00 Gb"},
                    DataSizeCase{5497558138880, "5120.00 Gb"}));

TEST(TNumber, WritesRealsIntegersAndPaddedIntegers) {
  EXPECT_EQ(TNumber(2.5).Text(), "2.5");
  EXPECT_EQ(TNumber(1.0 / 3).Text(), "0.333333333");
  EXPECT_EQ(TNumber(std::int64_t{42}).Text(), "42");
  EXPECT_EQ(TNumber(std::int64_t{42}, true).Text(), "0000000042");
  EXPECT_EQ(TNumber(std::int64_t{42}, true).Kind(), 2);
  // Large numbers are written with their own digits, not the drift of a
  // guard smaller than half a step of the double.
  EXPECT_EQ(TNumber(std::int64_t{1234567}).Text(), "1234567");
  EXPECT_EQ(TNumber(std::int64_t{2147483647}).Text(), "2147483647");
  EXPECT_EQ(TNumber(std::int64_t{9999999999}, true).Text(), "9999999999");
  EXPECT_EQ(TNumber(std::int64_t{-1234567}).Text(), "-1234567");
  // 897485.833: six digits before the point leave eight of the fourteen
  // significant digits after it: 897485.83300000 without trailing zeros.
  EXPECT_EQ(TNumber(897485.833).Text(), "897485.833");
}

}  // namespace
