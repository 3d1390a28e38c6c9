#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "wavetestutil.h"

namespace {

using V = std::vector<std::int16_t>;

constexpr double kPi = 3.14159265358979323846;

// A wave long enough to cross several blocks, with values all over the range.
V Busy(std::size_t count, int seed = 1) {
  V values(count);
  std::uint32_t state = static_cast<std::uint32_t>(seed);
  for (std::size_t i = 0; i < count; ++i) {
    state = state * 1664525U + 1013904223U;
    values[i] = static_cast<std::int16_t>((state >> 16) % 40000) - 20000;
  }
  return values;
}

// ---- low and high pass ------------------------------------------------------

// With factor 0.6 (a = 0.6, sqrt(1 - a^2) = 0.8) and time 3 pi the pole is
// c = 1 - 2 pi 0.6 / (0.8 x 3 pi) = 0.5, so y = 0.5 x + 0.5 y:
//   x = 1003, 2000, -3001 -> y = 501.5, 1250.75, -875.125 -> 501, 1250, -875
//   high pass x - y      -> 501.5, 749.25, -2125.875 -> 501, 749, -2125
// A second pass over 501, 1250, -875 -> y = 250.5, 750.25, -62.375.
struct OnePoleRow {
  const char* name;
  bool high;
  double factor;
  int countBer;
  int countCmd;
  V expected;
};

class OnePoleByHand : public ::testing::TestWithParam<OnePoleRow> {};

TEST_P(OnePoleByHand, MatchesWorkedValues) {
  const OnePoleRow& row = GetParam();
  auto w = MakeWave({7, 1003, 2000, -3001, 9});
  bool failed = false;
  const double time = 3 * kPi;
  auto result = row.high ? w->highPass(failed, time, row.factor, row.countBer, row.countCmd, 1, 4)
                         : w->lowPass(failed, time, row.factor, row.countBer, row.countCmd, 1, 4);
  EXPECT_FALSE(failed);
  EXPECT_EQ(ValuesOf(result.get()), row.expected);
  EXPECT_EQ(ValuesOf(w.get()), (V{7, 1003, 2000, -3001, 9}));
}

INSTANTIATE_TEST_SUITE_P(
    WaveOnePole, OnePoleByHand,
    ::testing::Values(OnePoleRow{"Low", false, 0.6, 1, 1, {7, 501, 1250, -875, 9}},
                      OnePoleRow{"High", true, 0.6, 1, 1, {7, 501, 749, -2125, 9}},
                      // 0.36^(1/2) = 0.6: two stages of 0.6 reach factor 0.36.
                      OnePoleRow{"LowTwoStages", false, 0.36, 2, 1, {7, 501, 1250, -875, 9}},
                      OnePoleRow{"LowTwoPasses", false, 0.6, 1, 2, {7, 250, 750, -62, 9}},
                      // Second high pass over 501, 749, -2125: y = 250.5,
                      // 499.75, -812.625; x - y = 250.5, 249.25, -1312.375.
                      OnePoleRow{"HighTwoPasses", true, 0.6, 1, 2, {7, 250, 249, -1312, 9}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WaveOnePole, NegativePoleCopiesLowAndZeroesHigh) {
  // time 1, factor 0.5: c = 1 - pi / (0.866 x 1) < 0, so c = 0 and y = x.
  auto w = MakeWave({5, 300, -400, 32767, -32768, 6});
  bool failed = false;
  EXPECT_EQ(ValuesOf(w->lowPass(failed, 1, 0.5, 1, 3, 1, 5).get()),
            (V{5, 300, -400, 32767, -32768, 6}));
  EXPECT_EQ(ValuesOf(w->highPass(failed, 1, 0.5, 1, 3, 1, 5).get()), (V{5, 0, 0, 0, 0, 6}));
  EXPECT_FALSE(failed);
}

TEST(WaveOnePole, ConstantInputRisesThroughLowAndDecaysThroughHigh) {
  auto w = MakeWave(Constant(400, 1000));
  bool failed = false;
  auto low = w->lowPass(failed, 20, 0.5, 1, 1, 0, -1);
  auto high = w->highPass(failed, 20, 0.5, 1, 1, 0, -1);
  ASSERT_EQ(low->getValues(), 400);
  for (std::int32_t i = 1; i < 400; ++i) {
    EXPECT_GE(low->at(i), low->at(i - 1)) << i;
    EXPECT_LE(high->at(i), high->at(i - 1)) << i;
  }
  EXPECT_GT(low->at(0), 0);
  EXPECT_LT(low->at(0), 1000);
  EXPECT_GE(low->at(399), 999);
  EXPECT_LE(high->at(399), 1);
  EXPECT_GE(high->at(399), 0);
}

TEST(WaveOnePole, HighPassWrapsAroundWithoutClipping) {
  // A long run of -32768 drags the slow low pass far below 0; the step to
  // 32767 then gives x - y > 32767, which wraps to a negative value (a
  // clipping filter would give 32767).
  V input = Constant(100, -32768);
  input.push_back(32767);
  auto w = MakeWave(input);
  bool failed = false;
  auto high = w->highPass(failed, 1000, 0.5, 1, 1, 0, -1);
  EXPECT_LT(high->at(100), 0);
}

// Several passes run fused in one loop; they must give what the same number
// of single passes gives, however many there are (groups of up to four).
TEST(WaveOnePole, PassesEqualRepeatedSinglePasses) {
  auto w = MakeWave(Busy(2600));
  for (const bool high : {false, true}) {
    for (int passes = 1; passes <= 9; ++passes) {
      bool failed = false;
      auto fused = high ? w->highPass(failed, 7.3, 0.3, 2, passes, 100, 2500)
                        : w->lowPass(failed, 7.3, 0.3, 2, passes, 100, 2500);
      std::unique_ptr<Wave> step = CopyWave(failed, w.get());
      for (int i = 0; i < passes; ++i) {
        step = high ? step->highPass(failed, 7.3, 0.3, 2, 1, 100, 2500)
                    : step->lowPass(failed, 7.3, 0.3, 2, 1, 100, 2500);
      }
      EXPECT_EQ(ValuesOf(fused.get()), ValuesOf(step.get())) << high << " " << passes;
    }
  }
}

TEST(WaveOnePole, PairEqualsChannelByChannel) {
  auto left = MakeWave(Busy(3100, 1));
  auto right = MakeWave(Busy(3100, 2));
  for (const bool high : {false, true}) {
    for (const int passes : {1, 4, 6}) {
      bool failed = false;
      const Wave* in[2] = {left.get(), right.get()};
      std::unique_ptr<Wave> out[2];
      Wave::onePolePair(failed, high, in, out, 2, 12.5, 0.4, 1, passes, 3, 3050);
      auto l = high ? left->highPass(failed, 12.5, 0.4, 1, passes, 3, 3050)
                    : left->lowPass(failed, 12.5, 0.4, 1, passes, 3, 3050);
      auto r = high ? right->highPass(failed, 12.5, 0.4, 1, passes, 3, 3050)
                    : right->lowPass(failed, 12.5, 0.4, 1, passes, 3, 3050);
      EXPECT_EQ(ValuesOf(out[0].get()), ValuesOf(l.get()));
      EXPECT_EQ(ValuesOf(out[1].get()), ValuesOf(r.get()));
      EXPECT_FALSE(failed);
    }
  }
}

// ---- envelope low and high pass ----------------------------------------------

TEST(WaveOnePoleEnvelope, LowestValueIsTwentyHertz) {
  // e = -32768: 20 x 10^0 = 20 Hz exactly, a period of 44100 / 20 values.
  auto w = MakeWave(Busy(1500));
  auto envelope = MakeWave({-32768, -32768, -32768});
  bool failed = false;
  auto enveloped = w->lowPassEnvelope(failed, *envelope, 0.3, 2, 2, 44100, 10, 1400);
  auto constant = w->lowPass(failed, 44100.0 / 20, 0.3, 2, 2, 10, 1400);
  EXPECT_EQ(ValuesOf(enveloped.get()), ValuesOf(constant.get()));
  auto highEnveloped = w->highPassEnvelope(failed, *envelope, 0.3, 1, 1, 44100, 10, 1400);
  auto highConstant = w->highPass(failed, 44100.0 / 20, 0.3, 1, 1, 10, 1400);
  EXPECT_EQ(ValuesOf(highEnveloped.get()), ValuesOf(highConstant.get()));
}

TEST(WaveOnePoleEnvelope, HighestValueIsTwentyKilohertz) {
  // e = 32767: 20 x 10^3 Hz, a period of 44100 / 20000 = 2.205 values (up
  // to the rounding of the exponent, so a value may differ by one).
  auto w = MakeWave(Busy(800));
  auto envelope = MakeWave({32767});
  bool failed = false;
  auto enveloped = w->lowPassEnvelope(failed, *envelope, 0.5, 1, 1, 44100, 0, -1);
  auto constant = w->lowPass(failed, 2.205, 0.5, 1, 1, 0, -1);
  ASSERT_EQ(enveloped->getValues(), 800);
  for (std::int32_t i = 0; i < 800; ++i) EXPECT_NEAR(enveloped->at(i), constant->at(i), 1) << i;
}

TEST(WaveOnePoleEnvelope, EnvelopeRestartsForEveryPass) {
  // A sweeping envelope: two passes must equal two single passes, each
  // reading the envelope from its start.
  auto w = MakeWave(Busy(2100));
  auto envelope = MakeWave({-30000, 20000, -5000, 32767});
  bool failed = false;
  auto twice = w->highPassEnvelope(failed, *envelope, 0.2, 1, 2, 22050, 50, 2050);
  auto once = w->highPassEnvelope(failed, *envelope, 0.2, 1, 1, 22050, 50, 2050);
  auto again = once->highPassEnvelope(failed, *envelope, 0.2, 1, 1, 22050, 50, 2050);
  EXPECT_EQ(ValuesOf(twice.get()), ValuesOf(again.get()));
}

TEST(WaveOnePoleEnvelope, EnvelopeIsStretchedOverTheRange) {
  // Two values -32768 then 32767: the first output uses 20 Hz, so it equals
  // the 20 Hz filter's first output; the last uses 20 kHz (c = 0 at 8 kHz
  // sampling), so the low pass there is nearly the input.
  auto w = MakeWave(Constant(50, 10000));
  auto envelope = MakeWave({-32768, 32767});
  bool failed = false;
  auto swept = w->lowPassEnvelope(failed, *envelope, 0.5, 1, 1, 8000, 0, 50);
  auto slow = w->lowPass(failed, 8000.0 / 20, 0.5, 1, 1, 0, 50);
  EXPECT_EQ(swept->at(0), slow->at(0));
  EXPECT_EQ(swept->at(49), 10000);
}

// ---- resonant and notch ------------------------------------------------------

// per 2, factor 0.75: d = 0.25^(1/2) = 0.5, k = 2.466 / 4 = 0.6165. First
// value x = 1000 from v = y = 0, four sub-steps (y += k v; v -= y;
// y = 0.5 x + 0.5 y):
//   y 500 (v 0); y 750 (v -500); y 441.75 -> v -941.75 -> y 720.875;
//   y 140.286125 -> v -1082.036125 -> y 570.1430625  => 570, notch 429
// The following values 0, 0, -1000 continue the same way: y = -70.587...,
// -3.738..., -564.041... (notch x - y = 70.58, 3.73, -435.95).
TEST(WaveResonant, MatchesWorkedValues) {
  auto w = MakeWave({11, 1000, 0, 0, -1000, 12});
  bool failed = false;
  EXPECT_EQ(ValuesOf(w->resonant(failed, 2, 0.75, 1, 5).get()), (V{11, 570, -70, -3, -564, 12}));
  EXPECT_EQ(ValuesOf(w->notch(failed, 2, 0.75, 1, 5).get()), (V{11, 429, 70, 3, -435, 12}));
  EXPECT_FALSE(failed);
}

TEST(WaveResonant, FullWidthPassesInputAndNotchSilences) {
  // factor 1: d = 0, so y = x after every sub-step.
  const V input{3, -32768, 32767, 1234, -5};
  auto w = MakeWave(input);
  bool failed = false;
  EXPECT_EQ(ValuesOf(w->resonant(failed, 7.5, 1, 0, -1).get()), input);
  EXPECT_EQ(ValuesOf(w->notch(failed, 7.5, 1, 0, -1).get()), (V{0, 0, 0, 0, 0}));
}

TEST(WaveResonant, FrequencyEnvelopeTakesTwentySmallerSteps) {
  // sampleFreq 40 and e = -32768 (20 Hz): per = 2, d = 0.5 as above, but
  // k = 0.09864 / 4 = 0.02466 and twenty sub-steps per value: y after the
  // first value 1000 is 714.818..., then -141.28..., -48.36..., -731.37...
  auto w = MakeWave({1000, 0, 0, -1000});
  auto envelope = MakeWave({-32768});
  bool failed = false;
  EXPECT_EQ(ValuesOf(w->resonantFreqEnvelope(failed, *envelope, 0.75, 40, 0, 4).get()),
            (V{714, -141, -48, -731}));
  EXPECT_EQ(ValuesOf(w->notchFreqEnvelope(failed, *envelope, 0.75, 40, 0, 4).get()),
            (V{285, 141, 48, -268}));
}

TEST(WaveResonant, WidthEnvelopeOfAConstantEqualsTheConstantFilter) {
  // e = 16384 stands for the width (16384 + 32768) / 65536 = 0.75; with a
  // 20 Hz frequency envelope at 40 Hz sampling the period is 2.
  auto w = MakeWave(Busy(1200));
  auto width = MakeWave({16384, 16384});
  auto freq = MakeWave({-32768});
  bool failed = false;
  const V resonant = ValuesOf(w->resonant(failed, 2, 0.75, 5, 1100).get());
  const V notch = ValuesOf(w->notch(failed, 2, 0.75, 5, 1100).get());
  EXPECT_EQ(ValuesOf(w->resonantWidthEnvelope(failed, 2, *width, 5, 1100).get()), resonant);
  EXPECT_EQ(ValuesOf(w->notchWidthEnvelope(failed, 2, *width, 5, 1100).get()), notch);
  EXPECT_EQ(ValuesOf(w->resonantEnvelopes(failed, *freq, *width, 40, 5, 1100).get()), resonant);
  EXPECT_EQ(ValuesOf(w->notchEnvelopes(failed, *freq, *width, 40, 5, 1100).get()), notch);
}

TEST(WaveResonant, PairEqualsChannelByChannel) {
  auto left = MakeWave(Busy(2500, 3));
  auto right = MakeWave(Busy(2500, 4));
  for (const bool notch : {false, true}) {
    bool failed = false;
    const Wave* in[2] = {left.get(), right.get()};
    std::unique_ptr<Wave> out[2];
    Wave::resonantPair(failed, notch, in, out, 2, 23.7, 0.05, 0, 2500);
    auto l = notch ? left->notch(failed, 23.7, 0.05, 0, 2500)
                   : left->resonant(failed, 23.7, 0.05, 0, 2500);
    auto r = notch ? right->notch(failed, 23.7, 0.05, 0, 2500)
                   : right->resonant(failed, 23.7, 0.05, 0, 2500);
    EXPECT_EQ(ValuesOf(out[0].get()), ValuesOf(l.get()));
    EXPECT_EQ(ValuesOf(out[1].get()), ValuesOf(r.get()));
  }
}

// ---- block filter ------------------------------------------------------------

struct BlockRow {
  const char* name;
  double time;
  V input;
  std::int32_t begin, end;
  V expected;
  std::int32_t endOut;
};

class BlockFilterByHand : public ::testing::TestWithParam<BlockRow> {};

TEST_P(BlockFilterByHand, MatchesWorkedValues) {
  const BlockRow& row = GetParam();
  auto w = MakeWave(row.input);
  bool failed = false;
  std::int32_t begin = row.begin;
  std::int32_t end = row.end;
  auto result = w->blockFilter(failed, row.time, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), row.expected);
  EXPECT_EQ(begin, row.begin);
  EXPECT_EQ(end, row.endOut);
}

INSTANTIATE_TEST_SUITE_P(
    WaveBlockFilter, BlockFilterByHand,
    ::testing::Values(
        // n = 3; each output is half the mean of the two values before it.
        BlockRow{
            "TimeTwo", 2, {1, 100, 100, 100, 100, 2}, 1, 5, {1, 0, 25, 50, 50, 50, 25, 0, 2}, 8},
        BlockRow{"ToTheEnd", 2, {100, 100, 100, 100}, 0, -1, {0, 25, 50, 50, 50, 25, 0}, 7},
        // Negative time: p starts at begin, the sum adds S(p) / 2 and drops
        // S(p - 2) / 2: 25, 50, 50, 50, 25, 0, 0.
        BlockRow{"NegativeTime", -2, {100, 100, 100, 100}, 0, 4, {25, 50, 50, 50, 25, 0, 0}, 7},
        // time 1.5, n = 2, p from -1: S(1.5) = 100 enters at p = 0 (+66.67,
        // output 33), leaves at p = 1 (S(2.5) lies past the range: 0), and
        // S(2) leaves at p = 2 (-66.67, output -33).
        BlockRow{"FractionalTime", 1.5, {7, 100, 100, 9}, 1, 3, {7, 0, 33, 0, -33, 9}, 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WaveBlockFilterEnvelope, CentresTheWindowOnEachOutput) {
  // maxTime 3, envelope 32767: T = 32767 x 3 / 32767 = 3, margin m = 4 on
  // each side. Output k stands for c = begin - 4 + k and averages c - 1, c,
  // c + 1: over four values 96 the sums are 32, 64, 96, 96, 64, 32 (halved).
  auto w = MakeWave({5, 96, 96, 96, 96, 6});
  auto envelope = MakeWave({32767});
  bool failed = false;
  std::int32_t begin = 1;
  std::int32_t end = 5;
  auto result = w->blockFilterEnvelope(failed, 3, *envelope, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), (V{5, 0, 0, 0, 16, 32, 48, 48, 32, 16, 0, 0, 0, 6}));
  EXPECT_EQ(begin, 1);
  EXPECT_EQ(end, 13);
}

TEST(WaveBlockFilterEnvelope, NarrowWidthTakesTheValueItself) {
  // Envelope 0: T = 0, |T| <= 1, so the sum is the source value at c and the
  // output is half of it; margin trunc(2.5 + 1) = 3.
  auto w = MakeWave({101, -201, 301});
  auto envelope = MakeWave({0, 0});
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 3;
  auto result = w->blockFilterEnvelope(failed, 2.5, *envelope, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), (V{0, 0, 0, 50, -100, 150, 0, 0, 0}));
  EXPECT_EQ(end, 9);
}

TEST(WaveBlockFilterEnvelope, EnvelopeSpansTheRangeNotTheMargins) {
  // maxTime 2: m = 3, 2 + 6 = 8 outputs, output k standing for c = k - 3.
  // The envelope {32767, 0} spans the two range values: step 1 / 1, so
  // output 0 reads 32767 (T = 2) and every later output reads the last
  // value 0 (T = 0: the sum is S(c)). Output 0: T = 2, lo = c = -3, the
  // sum adds S(-2) / 2 and drops S(-4) / 2, both outside: 0. Outputs 1 ... 7
  // take S(-2), S(-1), S(0), S(1), S(2), S(3), S(4) = 0, 0, 1000, 1000, 0,
  // 0, 0, halved.
  auto w = MakeWave({1000, 1000});
  auto envelope = MakeWave({32767, 0});
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 2;
  auto result = w->blockFilterEnvelope(failed, 2, *envelope, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), (V{0, 0, 0, 500, 500, 0, 0, 0}));
  EXPECT_EQ(begin, 0);
  EXPECT_EQ(end, 8);
}

TEST(WaveBlockFilterEnvelope, NegativeWidthAveragesTheSameWindow) {
  // e = -32767 gives T = -3: the same centred window, entered from the other
  // side, so the same result as T = 3.
  auto w = MakeWave({96, 96, 96, 96});
  auto up = MakeWave({32767});
  auto down = MakeWave({-32767});
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 4;
  auto positive = w->blockFilterEnvelope(failed, 3, *up, begin, end);
  begin = 0;
  end = 4;
  auto negative = w->blockFilterEnvelope(failed, 3, *down, begin, end);
  EXPECT_EQ(ValuesOf(negative.get()), ValuesOf(positive.get()));
}

// ---- sound level -------------------------------------------------------------

TEST(SoundFilter1, StereoEqualsEachChannelFiltered) {
  auto sound = MakeStereo(Busy(2300, 5), Busy(2300, 6), 8000);
  for (const WaveFilter1 filter : {WaveFilter1{&Wave::lowPass}, WaveFilter1{&Wave::highPass}}) {
    bool failed = false;
    // 0.002 s at 8000 Hz: a period of 16 values.
    auto result = sound->Filter1(failed, filter, 0.002, 0.3, 2, 3, 7, 2201);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetMoSt(), 2);
    EXPECT_EQ(result->GetFreq(), 8000);
    auto left = (sound->GetLeft()->*filter)(failed, 16, 0.3, 2, 3, 7, 2201);
    auto right = (sound->GetRight()->*filter)(failed, 16, 0.3, 2, 3, 7, 2201);
    EXPECT_EQ(ValuesOf(result->GetLeft()), ValuesOf(left.get()));
    EXPECT_EQ(ValuesOf(result->GetRight()), ValuesOf(right.get()));
  }
}

TEST(SoundFilter1, MonoUsesTheOneWave) {
  auto sound = MakeMono({7, 1003, 2000, -3001, 9}, 1000);
  bool failed = false;
  // 3 pi / 1000 seconds at 1000 Hz: time 3 pi, the worked low pass above.
  auto result = sound->Filter1(failed, &Wave::lowPass, 3 * kPi / 1000, 0.6, 1, 1, 1, 4);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetMoSt(), 1);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{7, 501, 1250, -875, 9}));
}

TEST(SoundFilter1, EnvelopeIsTheMiddleOfAStereoSound) {
  // Left -32768 and right -32768 average to -32768 (20 Hz).
  auto sound = MakeStereo(Busy(900, 7), Busy(900, 8), 44100);
  auto envelope = MakeStereo({-32768, -32768}, {-32768, -32768}, 11025);
  bool failed = false;
  auto result =
      sound->Filter1Envelope(failed, &Wave::highPassEnvelope, *envelope, 0.5, 1, 1, 0, 900);
  ASSERT_NE(result, nullptr);
  auto left = sound->GetLeft()->highPass(failed, 44100.0 / 20, 0.5, 1, 1, 0, 900);
  auto right = sound->GetRight()->highPass(failed, 44100.0 / 20, 0.5, 1, 1, 0, 900);
  EXPECT_EQ(ValuesOf(result->GetLeft()), ValuesOf(left.get()));
  EXPECT_EQ(ValuesOf(result->GetRight()), ValuesOf(right.get()));
}

struct Filter2Row {
  const char* name;
  bool freqConstant;
  bool widthConstant;
};

class SoundFilter2Choice : public ::testing::TestWithParam<Filter2Row> {};

// Each combination of constant and envelope picks its own filter of the
// family; the envelopes (20 Hz, width 0.75 at 40 Hz sampling) and the
// constants (period 2 = 0.05 s, width 0.75) describe the same filter except
// for the sub-steps of the frequency-envelope variant.
TEST_P(SoundFilter2Choice, PicksTheFilterOfTheFamily) {
  const Filter2Row& row = GetParam();
  auto sound = MakeStereo(Busy(600, 9), Busy(600, 10), 40);
  auto freq = MakeMono({-32768}, 40);
  auto width = MakeMono({16384}, 40);
  for (const bool notch : {false, true}) {
    bool failed = false;
    auto result = notch ? sound->Filter2(failed, row.freqConstant, row.widthConstant, 0.05, 0.75,
                                         row.freqConstant ? nullptr : freq.get(),
                                         row.widthConstant ? nullptr : width.get(), &Wave::notch,
                                         &Wave::notchFreqEnvelope, &Wave::notchWidthEnvelope,
                                         &Wave::notchEnvelopes, 3, 590)
                        : sound->Filter2(failed, row.freqConstant, row.widthConstant, 0.05, 0.75,
                                         row.freqConstant ? nullptr : freq.get(),
                                         row.widthConstant ? nullptr : width.get(), &Wave::resonant,
                                         &Wave::resonantFreqEnvelope, &Wave::resonantWidthEnvelope,
                                         &Wave::resonantEnvelopes, 3, 590);
    ASSERT_NE(result, nullptr);
    for (int ch = 0; ch < 2; ++ch) {
      const Wave* w = ch == 0 ? sound->GetLeft() : sound->GetRight();
      std::unique_ptr<Wave> expected;
      if (!row.freqConstant && row.widthConstant) {
        expected = notch ? w->notchFreqEnvelope(failed, *freq->GetLeft(), 0.75, 40, 3, 590)
                         : w->resonantFreqEnvelope(failed, *freq->GetLeft(), 0.75, 40, 3, 590);
      } else {
        expected = notch ? w->notch(failed, 2, 0.75, 3, 590) : w->resonant(failed, 2, 0.75, 3, 590);
      }
      EXPECT_EQ(ValuesOf(ch == 0 ? result->GetLeft() : result->GetRight()),
                ValuesOf(expected.get()))
          << notch << " " << ch;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(SoundFilter2, SoundFilter2Choice,
                         ::testing::Values(Filter2Row{"Constant", true, true},
                                           Filter2Row{"FreqEnvelope", false, true},
                                           Filter2Row{"WidthEnvelope", true, false},
                                           Filter2Row{"BothEnvelopes", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SoundBlockFilter, SecondsBecomeValuesAndBothChannelsGrow) {
  // 0.002 s at 1000 Hz: time 2, three values longer.
  auto sound = MakeStereo({100, 100, 100, 100}, {200, 200, 200, 200}, 1000);
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 4;
  auto result = sound->BlockFilter(failed, 0.002, begin, end);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{0, 25, 50, 50, 50, 25, 0}));
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{0, 50, 100, 100, 100, 50, 0}));
  EXPECT_EQ(begin, 0);
  EXPECT_EQ(end, 7);
}

TEST(SoundBlockFilter, EnvelopeVersionUsesMaxSeconds) {
  auto sound = MakeMono({5, 96, 96, 96, 96, 6}, 1000);
  auto envelope = MakeMono({32767}, 500);
  bool failed = false;
  std::int32_t begin = 1;
  std::int32_t end = 5;
  auto result = sound->BlockFilterEnvelope(failed, *envelope, 0.003, begin, end);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{5, 0, 0, 0, 16, 32, 48, 48, 32, 16, 0, 0, 0, 6}));
  EXPECT_EQ(end, 13);
}

TEST(SoundNormalize, LoudestChannelReachesSeventyPercent) {
  // m = 2000 over both channels; factor 22936.9 / 2000 = 11.46845:
  // 1000 -> 11468.45, -2000 -> -22936.9, 500 -> 5734.225.
  auto sound = MakeStereo({1000, -2000, 3}, {500, 0, 4});
  bool failed = false;
  auto result = sound->Normalize(failed, 0, 2);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{11468, -22936, 3}));
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{5734, 0, 4}));
  sound->NormalizeInPlace(failed, 0, -1);
  // Whole sound: still m = 2000.
  EXPECT_EQ(ValuesOf(sound->GetLeft()), (V{11468, -22936, 34}));
  EXPECT_EQ(ValuesOf(sound->GetRight()), (V{5734, 0, 45}));
  EXPECT_FALSE(failed);
}

TEST(SoundNormalize, SilenceStaysSilent) {
  auto sound = MakeMono({0, 0, 0});
  bool failed = false;
  auto result = sound->Normalize(failed, 0, 3);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{0, 0, 0}));
}

}  // namespace
