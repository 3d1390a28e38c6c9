#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

#include "base/random.h"
#include "units/unitvalues.h"

// A value read from text and written back must give a text that reads to the
// same value in the same unit: a dialog shows again what was typed, and a
// music file read and saved keeps its numbers. The texts are made at the
// precision the class writes (seven significant digits; three decimals of a
// decibel; four decimals of a sample fraction, two of a percentage).

namespace {

struct TextShape {
  const char* suffix;  // the unit as typed, e.g. " Hz"
  int maxSignificant;  // digits of the number
  int maxDecimals;     // digits after the point
  bool negative;       // also negative numbers
  double limit;        // numbers beyond +-limit are not made
};

// A decimal text made digit by digit, so it is exactly what a user types.
std::string MakeNumber(const TextShape& shape) {
  int digits = 1 + NextRandom() % shape.maxSignificant;
  const int decimals = NextRandom() % (shape.maxDecimals + 1);
  // Below 1 the writer keeps one significant digit less (0.1234567 is
  // written '0.123456').
  if (decimals >= digits && digits == 7) digits = 6;
  std::string run(1, static_cast<char>('1' + NextRandom() % 9));
  for (int i = 1; i < digits; ++i) run += static_cast<char>('0' + NextRandom() % 10);
  std::string text;
  if (decimals >= digits) {
    text = "0." + std::string(decimals - digits, '0') + run;
  } else if (decimals > 0) {
    text = run.substr(0, digits - decimals) + "." + run.substr(digits - decimals);
  } else {
    text = run;
  }
  if (shape.negative && NextRandom() % 2 == 1) text = "-" + text;
  return text;
}

std::vector<std::string> MakeTexts(const TextShape& shape, int count) {
  std::vector<std::string> texts;
  while (static_cast<int>(texts.size()) < count) {
    const std::string number = MakeNumber(shape);
    if (std::fabs(std::strtod(number.c_str(), nullptr)) > shape.limit) continue;
    texts.push_back(number + shape.suffix);
  }
  return texts;
}

constexpr int kTexts = 400;

// Reads every text into a fresh copy of `prototype`, writes it and reads the
// written text into another copy. Texts the class refuses (restrictions,
// ranges) are skipped, but most must be read.
//
// With a `tolerance`, the second value may differ by that much, but the text
// written from it must then read back exactly (it is stable from there on).
template <class T>
void ExpectRoundTrips(const T& prototype, const TextShape& shape, unsigned seed,
                      double tolerance = 0) {
  SeedRandom(seed);
  int read = 0;
  for (const std::string& text : MakeTexts(shape, kTexts)) {
    T first = prototype;
    std::string message;
    if (!first.ReadFromText(text, "X", message)) continue;
    ++read;
    const std::string written = first.ToText();
    T second = prototype;
    // The unit must come from the text again (an integer always shows none).
    if constexpr (!std::is_base_of_v<unitInteger, T>) second.SetDisplayUnit(kUnitUnknown);
    ASSERT_TRUE(second.ReadFromText(written, "X", message))
        << "'" << text << "' -> '" << written << "': " << message;
    EXPECT_EQ(second.GetDisplayUnit(), first.GetDisplayUnit())
        << "'" << text << "' -> '" << written << "'";
    if (tolerance == 0) {
      EXPECT_EQ(second.GetValue(), first.GetValue()) << "'" << text << "' -> '" << written << "'";
      continue;
    }
    EXPECT_NEAR(second.GetValue(), first.GetValue(), tolerance)
        << "'" << text << "' -> '" << written << "'";
    T third = prototype;
    ASSERT_TRUE(third.ReadFromText(second.ToText(), "X", message));
    EXPECT_EQ(third.GetValue(), second.GetValue())
        << "'" << text << "' -> '" << written << "' -> '" << second.ToText() << "'";
  }
  EXPECT_GT(read, kTexts * 3 / 4) << "too few texts were accepted: " << shape.suffix;
}

// Degrees from 180 on are written as the negative angle ('188'' as
// '-172''), and -172 / 360 + 1 need not be the same double as 188 / 360:
// they may differ in the last bit of a value below 1.
const double kDegreeStep = std::ldexp(1.0, -52);

TEST(RoundTrip, Factors) {
  ExpectRoundTrips(unitFactor(), {"", 7, 7, true, 1e7}, 1);
  ExpectRoundTrips(unitFactor(), {" %", 7, 5, true, 1e7}, 2);
  ExpectRoundTrips(unitFactorPos(), {"%", 7, 5, false, 1e7}, 3);
  ExpectRoundTrips(unitFactorNotNul(), {"", 7, 7, true, 1e7}, 4);
  ExpectRoundTrips(unitFactorPosMore(), {" %", 7, 5, false, 1e7}, 5);
  ExpectRoundTrips(unitFactorPosMax1(), {"", 7, 7, false, 1}, 6);
  ExpectRoundTrips(unitFactorPosMax1(), {" %", 7, 5, false, 100}, 7);
}

TEST(RoundTrip, VolumeFactors) {
  ExpectRoundTrips(unitVolumeFactor(), {"", 7, 7, true, 1e7}, 11);
  ExpectRoundTrips(unitVolumeFactor(), {" %", 7, 5, true, 1e7}, 12);
  ExpectRoundTrips(unitVolumeFactor(), {" dB", 6, 3, true, 300}, 13);
  ExpectRoundTrips(unitVolumeFactorPosMoreLess1(), {" dB", 5, 3, true, 120}, 14);
}

TEST(RoundTrip, Angles) {
  ExpectRoundTrips(unitAngleFactor(), {"", 7, 7, false, 0.9999999}, 21);
  ExpectRoundTrips(unitAngleFactor(), {" %", 7, 5, false, 99.99999}, 22);
  ExpectRoundTrips(unitAngleFactor(), {" '", 7, 4, true, 359.9999}, 23, kDegreeStep);
  // A negative fraction of a turn gets its whole turn added in single
  // precision, and the positive phase is written with six decimals (below 1
  // the writer keeps six significant digits): '-0.0351614' is 0.9648386 and
  // comes back as '0.964838', within one unit of the sixth decimal, and from
  // then on it is stable.
  ExpectRoundTrips(unitAngleFactor(), {"", 7, 7, true, 0.9999999}, 27, 1e-6);
  ExpectRoundTrips(unitAngleFactor(), {" %", 7, 5, true, 99.99999}, 28, 1e-6);
  ExpectRoundTrips(unitBalAngleFactor(), {"", 7, 7, true, 1}, 24);
  ExpectRoundTrips(unitBalAngleFactor(), {" %", 7, 5, true, 100}, 25);
  ExpectRoundTrips(unitBalAngleFactor(), {"'", 7, 5, true, 90}, 26);
}

TEST(RoundTrip, Integers) {
  ExpectRoundTrips(unitInteger(), {"", 10, 0, true, 2147483647}, 31);
  ExpectRoundTrips(unitIntegerPos(), {"", 9, 0, false, 1e9}, 32);
  ExpectRoundTrips(unitIntegerPosMore(), {"", 9, 0, false, 1e9}, 33);
  ExpectRoundTrips(unitIntegerMoreUser(5, -1000000), {"", 6, 0, true, 1e9}, 34);
}

TEST(RoundTrip, Times) {
  ExpectRoundTrips(unitTime(), {" s", 7, 7, true, 1e6}, 41);
  ExpectRoundTrips(unitTime(), {" ms", 7, 6, true, 1e7}, 42);
  ExpectRoundTrips(unitTime(), {" Hz", 7, 4, true, 1e6}, 43);
  ExpectRoundTrips(unitTime(), {" kHz", 7, 6, true, 1e4}, 44);
  ExpectRoundTrips(unitTimePos(), {"Hz", 7, 3, false, 1e5}, 45);
  ExpectRoundTrips(unitTimePosMore(), {" Hz", 5, 2, false, 50000}, 46);
  ExpectRoundTrips(unitTimePosMore(), {" ms", 7, 3, false, 1e6}, 47);
}

TEST(RoundTrip, Frequencies) {
  ExpectRoundTrips(unitFreq(), {" Hz", 7, 5, true, 1e6}, 51);
  ExpectRoundTrips(unitFreq(), {" kHz", 7, 4, true, 1e3}, 52);
  ExpectRoundTrips(unitFreq(), {" s", 7, 6, true, 1e4}, 53);
  ExpectRoundTrips(unitFreq(), {" ms", 7, 4, true, 1e5}, 54);
}

TEST(RoundTrip, WaveValues) {
  ExpectRoundTrips(unitWaveVal(), {"", 4, 4, true, 1}, 61);
  ExpectRoundTrips(unitWaveVal(), {" %", 5, 2, true, 100}, 62);
  ExpectRoundTrips(unitWaveVal(), {" $", 5, 0, true, 32767}, 63);
  ExpectRoundTrips(unitWaveValPosMore(), {" %", 5, 2, false, 100}, 64);
}

TEST(RoundTrip, WavePositions) {
  const unitWavePosition position(0, kUnitPercent, 1000);
  ExpectRoundTrips(position, {" s", 7, 4, true, 999.9999}, 71);
  ExpectRoundTrips(position, {" ms", 7, 3, true, 999999.9}, 72);
  ExpectRoundTrips(position, {" Hz", 7, 4, true, 1e5}, 73);
  ExpectRoundTrips(position, {" %", 7, 5, false, 99.99999}, 74);
  ExpectRoundTrips(position, {"", 7, 7, false, 0.9999999}, 75);
  ExpectRoundTrips(position, {"'", 7, 4, true, 359.9999}, 76, 1000 * kDegreeStep);
}

TEST(RoundTrip, WaveChoices) {
  for (const char* name : {"Wave1", "drum loop", " spaced ", "50 %"}) {
    unitUnitWave first;
    std::string message;
    ASSERT_TRUE(first.ReadFromText(name, "X", message));
    unitUnitWave second;
    ASSERT_TRUE(second.ReadFromText(first.ToText(), "X", message));
    EXPECT_EQ(second.GetName(), name);
  }
}

}  // namespace
