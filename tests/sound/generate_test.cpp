#include <gtest/gtest.h>

#include <string>

#include "base/random.h"
#include "sound/sinetable.h"
#include "wavetestutil.h"

namespace {

using V = std::vector<std::int16_t>;

class WaveGenerate : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateSineTable()); }
  void TearDown() override { DestroySineTable(); }
};

// The generated values replace the range (values of `input` after it move);
// the range returns around them.
TEST_F(WaveGenerate, MatchesWorkedValues) {
  const auto zero = MakeWave({0});               // 0 / 65535 + 0.5: the middle at one half
  const auto sweep = MakeWave({-32768, 32767});  // the middle from 0 to 1
  const auto three = MakeWave({-32768, 0, 32767});
  V longSilence = Constant(2502, 0);
  longSilence.front() = 7;
  longSilence.back() = 8;
  // Fields: name, input, begin, end, returned end, operation, expected.
  // clang-format off
  ExpectWaves({
      {"SilenceLongerThanTheRange", {1, 2, 3, 4, 5}, 1, 3, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.silence(f, 4, b, e); },
       {1, 0, 0, 0, 0, 4, 5}},
      {"SilenceOfNoValuesRemoves", {1, 2, 3, 4, 5}, 1, 3, 1, [](auto& w, auto& f, auto& b, auto& e) { return w.silence(f, 0, b, e); },
       {1, 4, 5}},
      {"SilenceInserted", {1, 2, 3, 4, 5}, 2, 2, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.silence(f, 2, b, e); },
       {1, 2, 0, 0, 3, 4, 5}},
      {"SilenceToTheEnd", {1, 2, 3, 4, 5}, 3, -1, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.silence(f, 1, b, e); },
       {1, 2, 3, 0}},
      {"SilenceAppended", {1, 2, 3, 4, 5}, 5, 5, 7, [](auto& w, auto& f, auto& b, auto& e) { return w.silence(f, 2, b, e); },
       {1, 2, 3, 4, 5, 0, 0}},
      {"SilenceOverBlocks", {7, 8}, 1, 1, 2501, [](auto& w, auto& f, auto& b, auto& e) { return w.silence(f, 2500, b, e); },
       longSilence},
      // Lines step evenly and truncate toward 0; one value becomes two, both ends.
      {"Line", {}, 0, 0, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.line(f, 0, 100, 5, b, e); }, {0, 25, 50, 75, 100}},
      {"LineOfOne", {}, 0, 0, 2, [](auto& w, auto& f, auto& b, auto& e) { return w.line(f, 0, 100, 1, b, e); }, {0, 100}},
      {"LineTruncatesDown", {}, 0, 0, 3, [](auto& w, auto& f, auto& b, auto& e) { return w.line(f, 1, 2, 3, b, e); }, {1, 1, 2}},
      {"LineTruncatesUp", {}, 0, 0, 3, [](auto& w, auto& f, auto& b, auto& e) { return w.line(f, 0, -3, 3, b, e); }, {0, -1, -3}},
      {"LineDown", {}, 0, 0, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.line(f, 0, -9, 4, b, e); }, {0, -3, -6, -9}},
      // 33000 and 34000 wrap
      {"LineWraps", {}, 0, 0, 3, [](auto& w, auto& f, auto& b, auto& e) { return w.line(f, 32000, 34000, 3, b, e); },
       {32000, -32536, -31536}},
      {"LineReplacesTheRange", {9, 9, 9, 9}, 1, -1, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.line(f, 10, 30, 3, b, e); },
       {9, 10, 20, 30}},
      // The ratio is the root of the length, not of length - 1: 16 ^ (1/4) = 2,
      // so the last value is 800, one ratio short of 1600.
      {"ExpLine", {5, 6}, 1, 1, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.expLine(f, 100, 1600, 4, b, e); },
       {5, 100, 200, 400, 800, 6}},
      {"ExpLineDown", {5, 6}, 1, 1, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.expLine(f, -100, -1600, 4, b, e); },
       {5, -100, -200, -400, -800, 6}},
      {"ExpLineOfOne", {5, 6}, 1, 1, 3, [](auto& w, auto& f, auto& b, auto& e) { return w.expLine(f, 100, 400, 1, b, e); },
       {5, 100, 200, 6}},
      {"NoiseOfVolume0", {}, 0, 0, 1500, [](auto& w, auto& f, auto& b, auto& e) { return w.noise(f, 0, 1500, b, e); }, Constant(1500,
       0)},
      // Block waves of period 4 between -1000 and 1000 with an envelope for
      // the middle, stretched over the length: 5 values read -32768,
      // -16384.25, -0.5, 16383.25, 32767, a middle just below 0, 1/4, 1/2,
      // 3/4 and 1 against the phases 0, .2, .4, .6, .8.
      {"BlockWaveEnvelopeOfZero", {}, 0, 0, 8,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.blockWaveEnvelope(f, -1000, 1000, 4, *zero, 8, 0, false, b, e); },
       {-1000, -1000, 1000, 1000, -1000, -1000, 1000, 1000}},
      {"TriangleEnvelopeOfZero", {}, 0, 0, 8,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.blockWaveEnvelope(f, -1000, 1000, 4, *zero, 8, 0, true, b, e); },
       {-1000, 0, 1000, 0, -1000, 0, 1000, 0}},
      {"BlockWaveEnvelopeStretched", {}, 0, 0, 5,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.blockWaveEnvelope(f, -1000, 1000, 5, *sweep, 5, 0, false, b, e); },
       {1000, -1000, -1000, -1000, -1000}},
      // Two values read the first and the last of three envelope values: phase
      // 0 against a middle of about 0, phase .5 against about 1.
      {"BlockWaveEnvelopeEnds", {}, 0, 0, 2,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.blockWaveEnvelope(f, -1000, 1000, 2, *three, 2, 0, false, b, e); },
       {1000, -1000}},
      // Sinus: period 4 reads the table at 0, 2249.75, 4499.5, 6749.25: 0;
      // .25 x 32766 + .75 x 32767 = 32766.75; (22 + 0) / 2 = 11; -32766.25;
      // times 2000 / 65535: 999.977, 0.34, -999.96.
      {"SinusQuarterPeriods", {}, 0, 0, 8, [](auto& w, auto& f, auto& b, auto& e) { return w.sinus(f, 1000, -1000, 4, 2, 0, b, e); },
       {0, 999, 0, -999, 0, 999, 0, -999}},
      // The offset trunc((3000 + 1000) / 2) = 2000 is added before truncating.
      {"SinusOffset", {}, 0, 0, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.sinus(f, 3000, 1000, 4, 1, 0, b, e); },
       {2000, 2999, 2000, 1000}},
      {"SinusFromAQuarter", {}, 0, 0, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.sinus(f, 1000, -1000, 4, 1, 0.25, b, e); },
       {999, 0, -999, 0}},
      // trunc((40000 + 30000) / 2) = 35000, kept as 16 bits: -30536
      {"SinusOffsetWraps", {}, 0, 0, 1, [](auto& w, auto& f, auto& b, auto& e) { return w.sinus(f, 40000, 30000, 4, 0.25, 0, b, e); },
       {-30536}},
      // The length is count x period, at least one value; offset trunc(1001 x 0.5) = 500.
      {"SinusAtLeastOneValue", {}, 0, 0, 1, [](auto& w, auto& f, auto& b, auto& e) { return w.sinus(f, 1001, 0, 4, 0.1, 0, b, e); },
       {500}},
      {"SinusOneAndAHalfPeriods", {}, 0, 0, 6, [](auto& w, auto& f, auto& b, auto& e) { return w.sinus(f, 1000, -1000, 4, 1.5, 0, b, e); },
       {0, 999, 0, -999, 0, 999}},
      // trunc(3 x 2.5) = 7 values; the table is read with the step 8999 / 2.5
      // = 3599.6, wrapping by 8999 like the quarter periods above: 0, 3599.6
      // (19266.6), 7199.2 (-31168.6), 1799.8 (31161.6), 5399.4 (-19248.2),
      // 8999 (-22), 3599.6; times 2000 / 65535: 587.98, -951.2, 950.98, -587.4,
      // -0.67.
      {"SinusFractionalPeriod", {}, 0, 0, 7, [](auto& w, auto& f, auto& b, auto& e) { return w.sinus(f, 1000, -1000, 2.5, 3, 0, b, e); },
       {0, 587, -951, 950, -587, 0, 587}},
      {"SinusReplacesTheRange", {5, 5, 5, 5}, 1, 3, 5,
       [](auto& w, auto& f, auto& b, auto& e) { return w.sinus(f, 1000, -1000, 4, 1, 0, b, e); },
       {5, 0, 999, 0, -999, 5}},
  });
  // clang-format on
}

// ---- noise ---------------------------------------------------------------

TEST(WaveNoise, FollowsTheRandomSourceWithTheRoundedScale) {
  // With volume 16384 the scale 16384 * 6.1035156e-5 is 0.999999996, just
  // below 1: every value is r - 16384 moved one step toward 0 (0 stays 0).
  bool failed = false;
  Wave empty;
  std::int32_t begin = 0;
  std::int32_t end = 0;
  SeedRandom(12345);
  auto result = empty.noise(failed, 16384, 2000, begin, end);
  ASSERT_EQ(result->getValues(), 2000);
  SeedRandom(12345);
  for (std::int32_t i = 0; i < 2000; ++i) {
    const int centred = NextRandom() - 16384;
    const int expected = centred > 0 ? centred - 1 : centred < 0 ? centred + 1 : 0;
    ASSERT_EQ(result->at(i), expected) << i;
  }
}

// ---- block and triangle waves ---------------------------------------------

struct BlockRow {
  double middle, startPhase;
  bool triangle;
  V expected;
};

TEST(WaveBlockWave, SquareAndTriangleByPhase) {
  // period 4 values, first -1000, second 1000, 8 values
  const BlockRow rows[] = {
      {0.5, 0, false, {-1000, -1000, 1000, 1000, -1000, -1000, 1000, 1000}},
      {0.5, 0.5, false, {1000, 1000, -1000, -1000, 1000, 1000, -1000, -1000}},
      {0.25, 0, false, {-1000, 1000, 1000, 1000, -1000, 1000, 1000, 1000}},
      {0, 0, false, Constant(8, 1000)},   // never below the middle
      {1, 0, false, Constant(8, -1000)},  // always below it
      // up 4000 per period, down -4000: -1000 + 0.25 * 4000, -1000 + (-0.5)(-4000) ...
      {0.5, 0, true, {-1000, 0, 1000, 0, -1000, 0, 1000, 0}},
      // middle 1: a rising saw, up = 2000
      {1, 0, true, {-1000, -500, 0, 500, -1000, -500, 0, 500}},
      // middle 0: a falling saw, -1000 + (phase - 1) * -2000
      {0, 0, true, {1000, 500, 0, -500, 1000, 500, 0, -500}},
  };
  for (const BlockRow& row : rows) {
    bool failed = false;
    Wave empty;
    std::int32_t begin = 0;
    std::int32_t end = 0;
    auto result = empty.blockWave(failed, -1000, 1000, 4, row.middle, 8, row.startPhase,
                                  row.triangle, begin, end);
    EXPECT_EQ(ValuesOf(result.get()), row.expected)
        << "middle " << row.middle << " phase " << row.startPhase << " triangle " << row.triangle;
    EXPECT_EQ(end, 8);
  }
}

// ---- multi-frequency ----------------------------------------------------------

struct Partial {
  double volume, period, angle, decay;
};

V MultiFreqOf(const V& source, std::int32_t length, const std::vector<Partial>& partials) {
  std::vector<double> volumes, periods, angles, decays;
  for (const Partial& p : partials) {
    volumes.push_back(p.volume);
    periods.push_back(p.period);
    angles.push_back(p.angle);
    decays.push_back(p.decay);
  }
  auto wave = MakeWave(source);
  bool failed = false;
  Wave empty;
  std::int32_t begin = 0;
  std::int32_t end = 0;
  auto result =
      empty.multiFreq(failed, length, *wave, static_cast<int>(partials.size()), volumes.data(),
                      periods.data(), angles.data(), decays.data(), begin, end);
  EXPECT_EQ(end, length);
  return ValuesOf(result.get());
}

TEST(WaveMultiFreq, ReadsTheSourceInterpolatedAndWrappedByItsLengthMinus1) {
  // 5 values, period 10: advance 5 / 10 = 0.5, start 5 * 0.1 = 0.5
  EXPECT_EQ(MultiFreqOf({0, 100, 200, 300, 400}, 4, {{1, 10, 0.1, 1}}), (V{50, 100, 150, 200}));
  // start 3 * -0.5 = -1.5, advance 1: -1.5, -0.5 lie outside and read 0
  EXPECT_EQ(MultiFreqOf({1000, 1000, 1000}, 4, {{1, 3, -0.5, 1}}), (V{0, 0, 1000, 1000}));
  // advance 5 / 2 = 2.5: 0, 2.5, 5 -> 1, 3.5, 6 -> 2, 4.5 -> 0.5, 3
  EXPECT_EQ(MultiFreqOf({0, 100, 200, 300, 400}, 7, {{1, 2, 0, 1}}),
            (V{0, 250, 100, 350, 200, 50, 300}));
  // advance 1: position 4 is the last value and is read; 5 wraps to 1
  EXPECT_EQ(MultiFreqOf({0, 100, 200, 300, 400}, 7, {{1, 5, 0, 1}}),
            (V{0, 100, 200, 300, 400, 100, 200}));
}

TEST(WaveMultiFreq, PositionsCarryAcrossBlocks) {
  // advance 1 over 0, 100, 200, 300, 400: 0, then 100, 200, 300, 400 repeated
  const V values = MultiFreqOf({0, 100, 200, 300, 400}, 2500, {{1, 5, 0, 1}});
  ASSERT_EQ(values.size(), 2500U);
  EXPECT_EQ(values[0], 0);
  for (std::size_t n = 1; n < values.size(); ++n) {
    ASSERT_EQ(values[n], static_cast<int>(100 * ((n - 1) % 4 + 1))) << n;
  }
}

TEST(WaveMultiFreq, TruncatesAfterEveryPartialAndDecays) {
  // 1000 * 0.0015 = 1.5 -> 1; then 1000 * 0.0015 + 1 = 2.5 -> 2 (not 3)
  EXPECT_EQ(MultiFreqOf({1000, 1000, 1000}, 2, {{0.0015, 3, 0, 1}, {0.0015, 3, 0, 1}}), (V{2, 2}));
  // amplitude 8 halved per value
  EXPECT_EQ(MultiFreqOf({1000, 1000, 1000}, 4, {{8, 3, 0, 0.5}}), (V{8000, 4000, 2000, 1000}));
  // the sum wraps: 20000 + 20000 = 40000 -> -25536
  EXPECT_EQ(MultiFreqOf({1000, 1000, 1000}, 1, {{20, 3, 0, 1}, {20, 3, 0, 1}}), (V{-25536}));
}

// ---- sound level ----------------------------------------------------------------

class SoundGenerate : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateSineTable()); }
  void TearDown() override { DestroySineTable(); }
};

// Seconds become values at the sound's frequency (here 1000 Hz) and every
// channel gets the wave generator's values; the range returns around them.
TEST_F(SoundGenerate, SecondsBecomeValuesOnEveryChannel) {
  const auto mono = MakeMono({1, 2, 3}, 1000);
  const auto stereo = MakeStereo({1, 2, 3}, {4, 5, 6}, 1000);
  const auto none = MakeMono({}, 1000);
  // One partial: volume, period, time, factor, angle.
  const double one[] = {1}, period[] = {0.004}, zero[] = {0};
  const double eight[] = {8}, period3[] = {0.003}, time2[] = {0.002}, quarter[] = {0.25};
  const auto form = MakeStereo({1000, 1000, 1000}, {1000, 1000, 1000}, 22050);
  // Left 32767 and right -32767 average to 0: a middle of 0.5 throughout; the
  // envelope's own frequency plays no part.
  const auto envelope = MakeStereo({32767, 32767}, {-32767, -32767}, 44100);
  // Fields: name, begin, end, returned end, operation, channels.
  // clang-format off
  ExpectSounds({
      // trunc(0 x 1000 + 1) = 1 value
      {"SilenceOfNoSeconds", 1, 1, 2, [&](bool& f, auto& b, auto& e) { return mono->Silence(f, 0, b, e); },
       {{1, 0, 2, 3}}},
      // trunc(2 + 1) = 3 values replace one
      {"StereoSilence", 1, 2, 4, [&](bool& f, auto& b, auto& e) { return stereo->Silence(f, 0.002, b, e); },
       {{1, 0, 0, 0, 3}, {4, 0, 0, 0, 6}}},
      // a count of trunc(2.7) values replaces everything
      {"SilenceAll", 0, 0, 0, [&](bool& f, auto&, auto&) { return stereo->SilenceAll(f, 2.7); },
       {{0, 0}, {0, 0}}},
      // 4 + 1 values
      {"Line", 0, 0, 5, [&](bool& f, auto& b, auto& e) { return none->Line(f, 0, 100, 0.004, false, b, e); },
       {{0, 25, 50, 75, 100}}},
      {"ExpLine", 0, 0, 4, [&](bool& f, auto& b, auto& e) { return none->Line(f, 100, 1600, 0.003, true, b, e); },
       {{100, 200, 400, 800}}},
      // a period of 4 values, twice
      {"Sinus", 0, 0, 8, [&](bool& f, auto& b, auto& e) { return none->Sinus(f, 1000, -1000, 0.004, 2, 0, b, e); },
       {{0, 999, 0, -999, 0, 999, 0, -999}}},
      // starts at the second height
      {"BlockWave", 1, 1, 9,
       [&](bool& f, auto& b, auto& e) { return stereo->BlockWave(f, 1000, -1000, 0.004, 0.5, 0.008, 0, false, b, e); },
       {{1, -1000, -1000, 1000, 1000, -1000, -1000, 1000, 1000, 2, 3},
        {4, -1000, -1000, 1000, 1000, -1000, -1000, 1000, 1000, 5, 6}}},
      {"BlockWaveEnvelopeOfAStereoMiddle", 0, 0, 4,
       [&](bool& f, auto& b, auto& e) { return none->BlockWaveEnvelope(f, 1000, -1000, 0.004, *envelope, 0.004, 0, true, b, e); },
       {{-1000, 0, 1000, 0}}},
      // A period of 4 values: advance 9000 / 4 = 2250 over the sine table;
      // 9000 is past the last index 8999 and wraps to 1.
      {"MultiFreq", 0, 0, 5,
       [&](bool& f, auto& b, auto& e) { return none->MultiFreq(f, 0.005, 1, one, period, one, one, zero, b, e); },
       {{0, 32767, 0, -32767, 22}}},
      // Factor 0.25 every 0.002 s = 2 values: 0.25 ^ (1/2) = 0.5 per value.
      {"MultiFreqFormDecays", 1, 1, 5,
       [&](bool& f, auto& b, auto& e) { return stereo->MultiFreqForm(f, 0.004, 1, eight, period3, time2, quarter, zero, *form, b, e); },
       {{1, 8000, 4000, 2000, 1000, 2, 3}, {4, 8000, 4000, 2000, 1000, 5, 6}}},
  });
  // clang-format on
}

TEST_F(SoundGenerate, NoiseLengthIsTruncatedSecondsAndChannelsDrawInTurn) {
  bool failed = false;
  auto stereo = MakeStereo({}, {}, 1000);
  std::int32_t begin = 0;
  std::int32_t end = 0;
  SeedRandom(99);
  auto result = stereo->Noise(failed, 16384, 0.005, begin, end);  // trunc(5) values
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(end, 5);
  // Each channel draws its own values: the right one continues the sequence.
  SeedRandom(99);
  for (int channel = 0; channel < 2; ++channel) {
    for (std::int32_t i = 0; i < 5; ++i) {
      const int centred = NextRandom() - 16384;
      const int expected = centred > 0 ? centred - 1 : centred < 0 ? centred + 1 : 0;
      EXPECT_EQ(result->Channel(channel)->at(i), expected) << channel << " " << i;
    }
  }
}

}  // namespace
