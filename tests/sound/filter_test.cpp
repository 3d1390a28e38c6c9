#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
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

// ---- worked values -------------------------------------------------------------

// One pole: with factor 0.6 (a = 0.6, sqrt(1 - a^2) = 0.8) and time 3 pi the
// pole is c = 1 - 2 pi 0.6 / (0.8 x 3 pi) = 0.5, so y = 0.5 x + 0.5 y:
//   x = 1003, 2000, -3001 -> y = 501.5, 1250.75, -875.125 -> 501, 1250, -875
//   high pass x - y      -> 501.5, 749.25, -2125.875 -> 501, 749, -2125
// A second pass over 501, 1250, -875 -> y = 250.5, 750.25, -62.375; a second
// high pass over 501, 749, -2125: y = 250.5, 499.75, -812.625, x - y = 250.5,
// 249.25, -1312.375. Time 1, factor 0.5: c = 1 - pi / (0.866 x 1) < 0, so
// c = 0 and y = x.
//
// Resonant, per 2, factor 0.75: d = 0.25^(1/2) = 0.5, k = 2.466 / 4 = 0.6165.
// First value x = 1000 from v = y = 0, four sub-steps (y += k v; v -= y;
// y = 0.5 x + 0.5 y): y 500 (v 0); y 750 (v -500); y 441.75 -> v -941.75 ->
// y 720.875; y 140.286125 -> v -1082.036125 -> y 570.1430625 => 570, notch
// 429. The values 0, 0, -1000 continue the same way: y = -70.587...,
// -3.738..., -564.041... (notch x - y = 70.58, 3.73, -435.95). Factor 1: d = 0,
// so y = x after every sub-step. A frequency envelope at sampleFreq 40 and
// e = -32768 (20 Hz) gives per = 2, d = 0.5, but k = 0.09864 / 4 = 0.02466 and
// twenty sub-steps per value: y = 714.818..., -141.28..., -48.36..., -731.37...
//
// Block filter, time 2: n = 3, each output half the mean of the two values
// before it. Negative time: p starts at begin, the sum adds S(p) / 2 and
// drops S(p - 2) / 2. Time 1.5, n = 2, p from -1: S(1.5) = 100 enters at
// p = 0 (+66.67, output 33), leaves at p = 1 (S(2.5) lies past the range: 0),
// and S(2) leaves at p = 2 (-66.67, output -33).
//
// Block filter with an envelope, maxTime 3 and envelope 32767: T = 3, margin
// m = 4 on each side; output k stands for c = begin - 4 + k and averages c - 1,
// c, c + 1: over four values 96 the sums are 32, 64, 96, 96, 64, 32 (halved).
// e = -32767 gives T = -3: the same window entered from the other side.
// Envelope 0: T = 0, so the sum is the value at c, halved; margin
// trunc(2.5 + 1) = 3. maxTime 2 and envelope {32767, 0} over the two range
// values: m = 3, 8 outputs standing for c = k - 3; output 0 reads 32767
// (T = 2: S(-2) / 2 in, S(-4) / 2 out, both outside: 0), every later one the
// last value 0 (T = 0): S(-2) ... S(4) = 0, 0, 1000, 1000, 0, 0, 0, halved.
TEST(WaveFilter, MatchesWorkedValues) {
  const auto twenty = MakeWave({-32768});
  const auto up = MakeWave({32767});
  const auto down = MakeWave({-32767});
  const auto still = MakeWave({0, 0});
  const auto first = MakeWave({32767, 0});
  const V pole{7, 1003, 2000, -3001, 9};
  const V steep{5, 300, -400, 32767, -32768, 6};
  const V ring{11, 1000, 0, 0, -1000, 12};
  const V full{3, -32768, 32767, 1234, -5};
  const V hundreds{100, 100, 100, 100};
  const V ninetySix{96, 96, 96, 96};
  const V windowed{0, 0, 0, 16, 32, 48, 48, 32, 16, 0, 0, 0};
  // Fields: name, input, begin, end, returned end, operation, expected.
  // clang-format off
  ExpectWaves({
      {"Low", pole, 1, 4, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.lowPass(f, 3 * kPi, 0.6, 1, 1, b, e); },
       {7, 501, 1250, -875, 9}},
      {"High", pole, 1, 4, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.highPass(f, 3 * kPi, 0.6, 1, 1, b, e); },
       {7, 501, 749, -2125, 9}},
      // 0.36^(1/2) = 0.6: two stages of 0.6 reach factor 0.36.
      {"LowTwoStages", pole, 1, 4, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.lowPass(f, 3 * kPi, 0.36, 2, 1, b, e); },
       {7, 501, 1250, -875, 9}},
      {"LowTwoPasses", pole, 1, 4, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.lowPass(f, 3 * kPi, 0.6, 1, 2, b, e); },
       {7, 250, 750, -62, 9}},
      {"HighTwoPasses", pole, 1, 4, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.highPass(f, 3 * kPi, 0.6, 1, 2, b, e); },
       {7, 250, 249, -1312, 9}},
      {"NegativePoleCopiesLow", steep, 1, 5, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.lowPass(f, 1, 0.5, 1, 3, b, e); },
       steep},
      {"NegativePoleZeroesHigh", steep, 1, 5, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.highPass(f, 1, 0.5, 1, 3, b, e); },
       {5, 0, 0, 0, 0, 6}},
      {"Resonant", ring, 1, 5, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.resonant(f, 2, 0.75, b, e); },
       {11, 570, -70, -3, -564, 12}},
      {"Notch", ring, 1, 5, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.notch(f, 2, 0.75, b, e); },
       {11, 429, 70, 3, -435, 12}},
      {"ResonantFullWidthPasses", full, 0, -1, -1, [](auto& w, auto& f, auto& b, auto& e) { return w.resonant(f, 7.5, 1, b, e); },
       full},
      {"NotchFullWidthSilences", full, 0, -1, -1, [](auto& w, auto& f, auto& b, auto& e) { return w.notch(f, 7.5, 1, b, e); },
       {0, 0, 0, 0, 0}},
      {"ResonantFrequencyEnvelope", {1000, 0, 0, -1000}, 0, 4, 4,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.resonantFreqEnvelope(f, *twenty, 0.75, 40, b, e); },
       {714, -141, -48, -731}},
      {"NotchFrequencyEnvelope", {1000, 0, 0, -1000}, 0, 4, 4,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.notchFreqEnvelope(f, *twenty, 0.75, 40, b, e); },
       {285, 141, 48, -268}},
      {"BlockTimeTwo", {1, 100, 100, 100, 100, 2}, 1, 5, 8, [](auto& w, auto& f, auto& b, auto& e) { return w.blockFilter(f, 2, b, e); },
       {1, 0, 25, 50, 50, 50, 25, 0, 2}},
      {"BlockToTheEnd", hundreds, 0, -1, 7, [](auto& w, auto& f, auto& b, auto& e) { return w.blockFilter(f, 2, b, e); },
       {0, 25, 50, 50, 50, 25, 0}},
      {"BlockNegativeTime", hundreds, 0, 4, 7, [](auto& w, auto& f, auto& b, auto& e) { return w.blockFilter(f, -2, b, e); },
       {25, 50, 50, 50, 25, 0, 0}},
      {"BlockFractionalTime", {7, 100, 100, 9}, 1, 3, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.blockFilter(f, 1.5, b, e); },
       {7, 0, 33, 0, -33, 9}},
      {"BlockEnvelopeCentresTheWindow", {5, 96, 96, 96, 96, 6}, 1, 5, 13,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.blockFilterEnvelope(f, 3, *up, b, e); },
       {5, 0, 0, 0, 16, 32, 48, 48, 32, 16, 0, 0, 0, 6}},
      {"BlockEnvelopeWidthUp", ninetySix, 0, 4, 12,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.blockFilterEnvelope(f, 3, *up, b, e); },
       windowed},
      {"BlockEnvelopeWidthDown", ninetySix, 0, 4, 12,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.blockFilterEnvelope(f, 3, *down, b, e); },
       windowed},
      {"BlockEnvelopeNarrow", {101, -201, 301}, 0, 3, 9,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.blockFilterEnvelope(f, 2.5, *still, b, e); },
       {0, 0, 0, 50, -100, 150, 0, 0, 0}},
      {"BlockEnvelopeSpansTheRange", {1000, 1000}, 0, 2, 8,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.blockFilterEnvelope(f, 2, *first, b, e); },
       {0, 0, 0, 500, 500, 0, 0, 0}},
  });
  // clang-format on
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

TEST(WaveFilter, PairsEqualChannelByChannel) {
  auto left = MakeWave(Busy(3100, 1));
  auto right = MakeWave(Busy(3100, 2));
  const Wave* in[2] = {left.get(), right.get()};
  for (const bool high : {false, true}) {
    for (const int passes : {1, 4, 6}) {
      bool failed = false;
      std::unique_ptr<Wave> out[2];
      Wave::onePolePair(failed, high, in, out, 2, 12.5, 0.4, 1, passes, 3, 3050);
      for (int ch = 0; ch < 2; ++ch) {
        auto alone = high ? in[ch]->highPass(failed, 12.5, 0.4, 1, passes, 3, 3050)
                          : in[ch]->lowPass(failed, 12.5, 0.4, 1, passes, 3, 3050);
        EXPECT_EQ(ValuesOf(out[ch].get()), ValuesOf(alone.get())) << high << passes << ch;
      }
      EXPECT_FALSE(failed);
    }
  }
  for (const bool notch : {false, true}) {
    bool failed = false;
    std::unique_ptr<Wave> out[2];
    Wave::resonantPair(failed, notch, in, out, 2, 23.7, 0.05, 0, 3100);
    for (int ch = 0; ch < 2; ++ch) {
      auto alone = notch ? in[ch]->notch(failed, 23.7, 0.05, 0, 3100)
                         : in[ch]->resonant(failed, 23.7, 0.05, 0, 3100);
      EXPECT_EQ(ValuesOf(out[ch].get()), ValuesOf(alone.get())) << notch << ch;
    }
  }
}

// ---- envelopes ---------------------------------------------------------------

TEST(WaveOnePoleEnvelope, EndsAreTwentyHertzAndTwentyKilohertz) {
  // e = -32768: 20 x 10^0 = 20 Hz exactly, a period of 44100 / 20 values;
  // e = 32767: 20 x 10^3 Hz, a period of 44100 / 20000 = 2.205 values (up to
  // the rounding of the exponent, so a value may differ by one).
  auto w = MakeWave(Busy(1500));
  for (const auto& [e, period, tolerance] :
       {std::tuple{-32768, 44100.0 / 20, 0}, std::tuple{32767, 2.205, 1}}) {
    auto envelope = MakeWave({static_cast<std::int16_t>(e), static_cast<std::int16_t>(e)});
    for (const bool high : {false, true}) {
      bool failed = false;
      auto enveloped = high ? w->highPassEnvelope(failed, *envelope, 0.3, 2, 2, 44100, 10, 1400)
                            : w->lowPassEnvelope(failed, *envelope, 0.3, 2, 2, 44100, 10, 1400);
      auto constant = high ? w->highPass(failed, period, 0.3, 2, 2, 10, 1400)
                           : w->lowPass(failed, period, 0.3, 2, 2, 10, 1400);
      ASSERT_EQ(enveloped->getValues(), 1500);
      for (std::int32_t i = 0; i < 1500; ++i) {
        ASSERT_NEAR(enveloped->at(i), constant->at(i), tolerance) << e << " " << high << " " << i;
      }
    }
  }
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

// Seconds become values at the sound's frequency, on every channel.
TEST(SoundFilter, SecondsBecomeValuesOnEveryChannel) {
  const auto pole = MakeMono({7, 1003, 2000, -3001, 9}, 1000);
  const auto flat = MakeStereo({100, 100, 100, 100}, {200, 200, 200, 200}, 1000);
  const auto ninetySix = MakeMono({5, 96, 96, 96, 96, 6}, 1000);
  const auto envelope = MakeMono({32767}, 500);
  // m = 2000 over both channels; factor 22936.9 / 2000 = 11.46845:
  // 1000 -> 11468.45, -2000 -> -22936.9, 500 -> 5734.225.
  const auto loud = MakeStereo({1000, -2000, 3}, {500, 0, 4});
  const auto silent = MakeMono({0, 0, 0});
  // Fields: name, begin, end, returned end, operation, channels.
  // clang-format off
  ExpectSounds({
      // 3 pi / 1000 seconds at 1000 Hz: time 3 pi, the worked low pass.
      {"Filter1OfMono", 1, 4, 4, [&](bool& f, auto& b, auto& e) { return pole->Filter1(f, &Wave::lowPass, 3 * kPi / 1000, 0.6, 1, 1, b,
       e); },
       {{7, 501, 1250, -875, 9}}},
      // 0.002 s: time 2, three values longer.
      {"BlockFilter", 0, 4, 7, [&](bool& f, auto& b, auto& e) { return flat->BlockFilter(f, 0.002, b, e); },
       {{0, 25, 50, 50, 50, 25, 0}, {0, 50, 100, 100, 100, 50, 0}}},
      {"BlockFilterEnvelope", 1, 5, 13, [&](bool& f, auto& b, auto& e) { return ninetySix->BlockFilterEnvelope(f, *envelope, 0.003, b,
       e); },
       {{5, 0, 0, 0, 16, 32, 48, 48, 32, 16, 0, 0, 0, 6}}},
      {"NormalizeToSeventyPercent", 0, 2, 2, [&](bool& f, auto& b, auto& e) { return loud->Normalize(f, b, e); },
       {{11468, -22936, 3}, {5734, 0, 4}}},
      {"NormalizeSilence", 0, 3, 3, [&](bool& f, auto& b, auto& e) { return silent->Normalize(f, b, e); }, {{0, 0, 0}}},
  });
  // clang-format on
}

TEST(SoundNormalize, InPlaceOverTheWholeSound) {
  // Still m = 2000, as above, now also over the last values.
  auto sound = MakeStereo({1000, -2000, 3}, {500, 0, 4});
  bool failed = false;
  sound->NormalizeInPlace(failed, 0, -1);
  EXPECT_EQ(ValuesOf(sound->GetLeft()), (V{11468, -22936, 34}));
  EXPECT_EQ(ValuesOf(sound->GetRight()), (V{5734, 0, 45}));
  EXPECT_FALSE(failed);
}

}  // namespace
