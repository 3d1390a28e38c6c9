#include <gtest/gtest.h>

#include <string>

#include "base/random.h"
#include "sound/sinetable.h"
#include "wavetestutil.h"

namespace {

using V = std::vector<std::int16_t>;

// ---- silence -----------------------------------------------------------

TEST(WaveSilence, ReplacesInsertsAndAppends) {
  struct Row {
    std::int32_t begin, end, length;
    V expected;
    std::int32_t endOut;
  };
  const Row rows[] = {
      {1, 3, 4, {1, 0, 0, 0, 0, 4, 5}, 5},  // longer than the range
      {1, 3, 0, {1, 4, 5}, 1},              // no values: the range goes
      {2, 2, 2, {1, 2, 0, 0, 3, 4, 5}, 4},  // empty range: inserted
      {3, -1, 1, {1, 2, 3, 0}, 4},          // up to the end of the wave
      {5, 5, 2, {1, 2, 3, 4, 5, 0, 0}, 7},  // at the end: appended
  };
  auto w = MakeWave({1, 2, 3, 4, 5});
  for (const Row& row : rows) {
    bool failed = false;
    std::int32_t begin = row.begin;
    std::int32_t end = row.end;
    auto result = w->silence(failed, row.length, begin, end);
    EXPECT_EQ(ValuesOf(result.get()), row.expected) << row.begin << ".." << row.end;
    EXPECT_EQ(begin, row.begin);
    EXPECT_EQ(end, row.endOut);
    EXPECT_FALSE(failed);
  }
  EXPECT_EQ(ValuesOf(w.get()), (V{1, 2, 3, 4, 5}));
}

TEST(WaveSilence, LongerThanOneBlock) {
  bool failed = false;
  auto w = MakeWave({7, 8});
  std::int32_t begin = 1;
  std::int32_t end = 1;
  auto result = w->silence(failed, 2500, begin, end);
  ASSERT_EQ(result->getValues(), 2502);
  EXPECT_EQ(result->at(0), 7);
  for (std::int32_t i = 1; i <= 2500; ++i) ASSERT_EQ(result->at(i), 0) << i;
  EXPECT_EQ(result->at(2501), 8);
  EXPECT_EQ(end, 2501);
}

// ---- lines ---------------------------------------------------------------

struct LineRow {
  double from, to;
  std::int32_t length;
  V expected;
};

TEST(WaveLine, StepsEvenlyAndTruncatesToward0) {
  const LineRow rows[] = {
      {0, 100, 5, {0, 25, 50, 75, 100}},
      {0, 100, 1, {0, 100}},    // one value becomes two: both ends
      {1, 2, 3, {1, 1, 2}},     // 1.5 truncates down
      {0, -3, 3, {0, -1, -3}},  // -1.5 truncates up, toward 0
      {0, -9, 4, {0, -3, -6, -9}},
      {32000, 34000, 3, {32000, -32536, -31536}},  // 33000 and 34000 wrap
  };
  for (const LineRow& row : rows) {
    bool failed = false;
    Wave empty;
    std::int32_t begin = 0;
    std::int32_t end = 0;
    auto result = empty.line(failed, row.from, row.to, row.length, begin, end);
    EXPECT_EQ(ValuesOf(result.get()), row.expected) << row.from << " -> " << row.to;
    EXPECT_EQ(end, static_cast<std::int32_t>(row.expected.size()));
  }
}

TEST(WaveLine, ReplacesTheRange) {
  bool failed = false;
  auto w = MakeWave({9, 9, 9, 9});
  std::int32_t begin = 1;
  std::int32_t end = -1;
  auto result = w->line(failed, 10, 30, 3, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), (V{9, 10, 20, 30}));
  EXPECT_EQ(end, 4);
}

TEST(WaveExpLine, RatioIsRootOfLengthNotLengthMinus1) {
  const LineRow rows[] = {
      // ratio = 16 ^ (1/4) = 2: the last value is 800, one ratio short of 1600
      {100, 1600, 4, {100, 200, 400, 800}},
      {-100, -1600, 4, {-100, -200, -400, -800}},
      // one value becomes two: ratio = 4 ^ (1/2)
      {100, 400, 1, {100, 200}},
  };
  for (const LineRow& row : rows) {
    bool failed = false;
    auto w = MakeWave({5, 6});
    std::int32_t begin = 1;
    std::int32_t end = 1;
    auto result = w->expLine(failed, row.from, row.to, row.length, begin, end);
    V expected = row.expected;
    expected.insert(expected.begin(), 5);
    expected.push_back(6);
    EXPECT_EQ(ValuesOf(result.get()), expected) << row.from << " -> " << row.to;
    EXPECT_EQ(end, 1 + static_cast<std::int32_t>(row.expected.size()));
  }
}

// ---- noise ---------------------------------------------------------------

TEST(WaveNoise, VolumeZeroIsSilence) {
  bool failed = false;
  Wave empty;
  std::int32_t begin = 0;
  std::int32_t end = 0;
  auto result = empty.noise(failed, 0, 1500, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), Constant(1500, 0));
  EXPECT_EQ(end, 1500);
}

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

TEST(WaveNoise, StaysWithinVolumeAndRepeatsWithItsSeed) {
  auto make = [](unsigned seed) {
    bool failed = false;
    Wave empty;
    std::int32_t begin = 0;
    std::int32_t end = 0;
    SeedRandom(seed);
    return ValuesOf(empty.noise(failed, 1000, 3000, begin, end).get());
  };
  const V first = make(7);
  for (std::int16_t v : first) ASSERT_LE(std::abs(v), 1000);
  EXPECT_EQ(make(7), first);
  EXPECT_NE(make(8), first);
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

TEST(WaveBlockWaveEnvelope, ConstantEnvelopeOf0IsMiddleHalf) {
  auto envelope = MakeWave({0});  // 0 / 65535 + 0.5 = 0.5
  for (bool triangle : {false, true}) {
    bool failed = false;
    Wave empty;
    std::int32_t begin = 0;
    std::int32_t end = 0;
    auto result =
        empty.blockWaveEnvelope(failed, -1000, 1000, 4, *envelope, 8, 0, triangle, begin, end);
    const V expected = triangle ? V{-1000, 0, 1000, 0, -1000, 0, 1000, 0}
                                : V{-1000, -1000, 1000, 1000, -1000, -1000, 1000, 1000};
    EXPECT_EQ(ValuesOf(result.get()), expected) << triangle;
  }
}

TEST(WaveBlockWaveEnvelope, EnvelopeIsStretchedOverTheLength) {
  // 5 values read the envelope (-32768, 32767) at 0, 1/4, 1/2, 3/4, 1:
  // e = -32768, -16384.25, -0.5, 16383.25, 32767, so middle is just below
  // 0, 1/4, 1/2, 3/4 and 1. Period 5: phases 0, .2, .4, .6, .8.
  auto envelope = MakeWave({-32768, 32767});
  bool failed = false;
  Wave empty;
  std::int32_t begin = 0;
  std::int32_t end = 0;
  auto result = empty.blockWaveEnvelope(failed, -1000, 1000, 5, *envelope, 5, 0, false, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), (V{1000, -1000, -1000, -1000, -1000}));

  // Two values read the first and the last of three envelope values.
  auto three = MakeWave({-32768, 0, 32767});
  end = 0;
  result = empty.blockWaveEnvelope(failed, -1000, 1000, 2, *three, 2, 0, false, begin, end);
  // phase 0 against middle ~0: second; phase .5 against middle ~1: first
  EXPECT_EQ(ValuesOf(result.get()), (V{1000, -1000}));
}

// ---- sinus -----------------------------------------------------------------

class WaveSinus : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateSineTable()); }
  void TearDown() override { DestroySineTable(); }

  V Sinus(double top, double bottom, double period, double count, double startAngle) {
    bool failed = false;
    Wave empty;
    std::int32_t begin = 0;
    std::int32_t end = 0;
    auto result = empty.sinus(failed, top, bottom, period, count, startAngle, begin, end);
    EXPECT_EQ(end, result ? result->getValues() : -1);
    return ValuesOf(result.get());
  }
};

TEST_F(WaveSinus, QuarterPeriodsOfTheTable) {
  // Period 4 reads the table at 0, 2249.75, 4499.5, 6749.25:
  //   0; .25 * 32766 + .75 * 32767 = 32766.75; (22 + 0) / 2 = 11;
  //   .75 * -32766 + .25 * -32767 = -32766.25.
  // amplitude 2000 / 65535: 999.977, 0.34, -999.96.
  EXPECT_EQ(Sinus(1000, -1000, 4, 2, 0), (V{0, 999, 0, -999, 0, 999, 0, -999}));
  // The offset trunc((3000 + 1000) / 2) = 2000 is added before truncating.
  EXPECT_EQ(Sinus(3000, 1000, 4, 1, 0), (V{2000, 2999, 2000, 1000}));
  // Starting a quarter period on.
  EXPECT_EQ(Sinus(1000, -1000, 4, 1, 0.25), (V{999, 0, -999, 0}));
  // trunc((40000 + 30000) / 2) = 35000, kept as 16 bits: -30536
  EXPECT_EQ(Sinus(40000, 30000, 4, 0.25, 0), (V{-30536}));
}

TEST_F(WaveSinus, LengthIsCountTimesPeriodAtLeastOne) {
  EXPECT_EQ(Sinus(1000, -1000, 4, 0.1, 0), (V{0}));
  // offset trunc(1001 * 0.5) = 500
  EXPECT_EQ(Sinus(1001, 0, 4, 0.1, 0), (V{500}));
  EXPECT_EQ(Sinus(1000, -1000, 4, 1.5, 0).size(), 6U);
  EXPECT_EQ(Sinus(1000, -1000, 2.5, 3, 0).size(), 7U);  // trunc(7.5)
}

TEST_F(WaveSinus, ReplacesTheRange) {
  bool failed = false;
  auto w = MakeWave({5, 5, 5, 5});
  std::int32_t begin = 1;
  std::int32_t end = 3;
  auto result = w->sinus(failed, 1000, -1000, 4, 1, 0, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), (V{5, 0, 999, 0, -999, 5}));
  EXPECT_EQ(end, 5);
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

TEST_F(SoundGenerate, SilenceLengthIsSecondsTimesFreqPlus1) {
  bool failed = false;
  auto mono = MakeMono({1, 2, 3}, 1000);
  std::int32_t begin = 1;
  std::int32_t end = 1;
  auto result = mono->Silence(failed, 0, begin, end);  // trunc(0 + 1) = 1 value
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{1, 0, 2, 3}));
  EXPECT_EQ(end, 2);
  EXPECT_EQ(result->GetFreq(), 1000);
  EXPECT_EQ(result->GetMoSt(), 1);

  auto stereo = MakeStereo({1, 2, 3}, {4, 5, 6}, 1000);
  begin = 1;
  end = 2;
  result = stereo->Silence(failed, 0.002, begin, end);  // trunc(2 + 1) = 3 values
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetMoSt(), 2);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{1, 0, 0, 0, 3}));
  EXPECT_EQ(ValuesOf(result->Channel(1)), (V{4, 0, 0, 0, 6}));
  EXPECT_EQ(end, 4);
  EXPECT_EQ(ValuesOf(stereo->Channel(0)), (V{1, 2, 3}));
}

TEST_F(SoundGenerate, SilenceAllReplacesEverythingByTruncatedCount) {
  bool failed = false;
  auto stereo = MakeStereo({1, 2, 3}, {4, 5, 6}, 8000);
  auto result = stereo->SilenceAll(failed, 2.7);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{0, 0}));
  EXPECT_EQ(ValuesOf(result->Channel(1)), (V{0, 0}));
  EXPECT_EQ(result->GetFreq(), 8000);
}

TEST_F(SoundGenerate, LineAndSinusSecondsBecomeValues) {
  bool failed = false;
  auto mono = MakeMono({}, 1000);
  std::int32_t begin = 0;
  std::int32_t end = 0;
  auto result = mono->Line(failed, 0, 100, 0.004, false, begin, end);  // 4 + 1 values
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{0, 25, 50, 75, 100}));
  EXPECT_EQ(end, 5);
  end = 0;
  result = mono->Line(failed, 100, 1600, 0.003, true, begin, end);  // 3 + 1 values
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{100, 200, 400, 800}));
  end = 0;
  result = mono->Sinus(failed, 1000, -1000, 0.004, 2, 0, begin, end);  // period 4 values
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{0, 999, 0, -999, 0, 999, 0, -999}));
  EXPECT_EQ(end, 8);
}

TEST_F(SoundGenerate, BlockWaveStartsAtTheSecondHeight) {
  bool failed = false;
  auto stereo = MakeStereo({7}, {8}, 1000);
  std::int32_t begin = 1;
  std::int32_t end = 1;
  // period 0.004 s = 4 values, 0.008 s = 8 values
  auto result = stereo->BlockWave(failed, 1000, -1000, 0.004, 0.5, 0.008, 0, false, begin, end);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->Channel(0)),
            (V{7, -1000, -1000, 1000, 1000, -1000, -1000, 1000, 1000}));
  EXPECT_EQ(ValuesOf(result->Channel(1)),
            (V{8, -1000, -1000, 1000, 1000, -1000, -1000, 1000, 1000}));
  EXPECT_EQ(end, 9);
}

TEST_F(SoundGenerate, BlockWaveEnvelopeUsesTheMiddleOfAStereoEnvelope) {
  // Left 32767 and right -32767 average to 0: middle 0.5 throughout. The
  // envelope's own frequency plays no part.
  auto envelope = MakeStereo({32767, 32767}, {-32767, -32767}, 44100);
  bool failed = false;
  auto mono = MakeMono({}, 1000);
  std::int32_t begin = 0;
  std::int32_t end = 0;
  auto result =
      mono->BlockWaveEnvelope(failed, 1000, -1000, 0.004, *envelope, 0.004, 0, true, begin, end);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{-1000, 0, 1000, 0}));
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

TEST_F(SoundGenerate, MultiFreqReadsTheSineTable) {
  // One partial of period 0.004 s = 4 values: advance 9000 / 4 = 2250 over
  // the table; 9000 is past the last index 8999 and wraps to 1.
  const double volumes[] = {1};
  const double periods[] = {0.004};
  const double times[] = {1};
  const double factors[] = {1};
  const double angles[] = {0};
  bool failed = false;
  auto mono = MakeMono({}, 1000);
  std::int32_t begin = 0;
  std::int32_t end = 0;
  auto result =
      mono->MultiFreq(failed, 0.005, 1, volumes, periods, times, factors, angles, begin, end);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{0, 32767, 0, -32767, 22}));
}

TEST_F(SoundGenerate, MultiFreqFormDecaysByFactorPerTime) {
  // Factor 0.25 every 0.002 s = 2 values: 0.25 ^ (1/2) = 0.5 per value.
  const double volumes[] = {8};
  const double periods[] = {0.003};
  const double times[] = {0.002};
  const double factors[] = {0.25};
  const double angles[] = {0};
  auto form = MakeStereo({1000, 1000, 1000}, {1000, 1000, 1000}, 22050);
  bool failed = false;
  auto stereo = MakeStereo({1, 2}, {3, 4}, 1000);
  std::int32_t begin = 1;
  std::int32_t end = 1;
  auto result = stereo->MultiFreqForm(failed, 0.004, 1, volumes, periods, times, factors, angles,
                                      *form, begin, end);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{1, 8000, 4000, 2000, 1000, 2}));
  EXPECT_EQ(ValuesOf(result->Channel(1)), (V{3, 8000, 4000, 2000, 1000, 4}));
  EXPECT_EQ(end, 5);
}

}  // namespace
