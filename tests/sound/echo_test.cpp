#include <gtest/gtest.h>

#include <vector>

#include "wavetestutil.h"

namespace {

using V = std::vector<std::int16_t>;

// ---- constant echo -----------------------------------------------------------

TEST(WaveEchoConstant, LengthensTheWaveByTheEchoes) {
  // 200 values 7, then a range of 1000 values 1001 up to the end. diffTime
  // 100, factor 0.5, count 2: the region grows by trunc(101) x 2 = 202.
  // Echo 1 adds trunc(500.5 + v) from 300 on, echo 2 trunc(250.25 + v) from
  // 400 on: 1000, 1501, 1751 in the range; after it 500 + 250 = 750, then
  // 250 (only the second echo), then the two last values stay 0.
  V input = Constant(200, 7);
  const V range = Constant(1000, 1001);
  input.insert(input.end(), range.begin(), range.end());
  auto w = MakeWave(input);
  bool failed = false;
  std::int32_t begin = 200;
  std::int32_t end = -1;
  auto result = w->echoConstant(failed, 100, 0.5, 2, begin, end);
  ASSERT_NE(result, nullptr);
  ASSERT_EQ(result->getValues(), 1402);
  EXPECT_EQ(begin, 200);
  EXPECT_EQ(end, 1402);
  const struct {
    std::int32_t from, to;
    std::int16_t value;
  } spans[] = {{0, 200, 7},       {200, 300, 1001},  {300, 400, 1501}, {400, 1200, 1751},
               {1200, 1300, 750}, {1300, 1400, 250}, {1400, 1402, 0}};
  for (const auto& span : spans) {
    for (std::int32_t t = span.from; t < span.to; ++t) ASSERT_EQ(result->at(t), span.value) << t;
  }
}

TEST(WaveEchoConstant, LongRangesMatchAcrossBlocks) {
  // A fractional and a whole shift over several blocks must agree with the
  // value-by-value rule at a few spots worked by hand: a ramp v(i) = i.
  V input(3000);
  for (int i = 0; i < 3000; ++i) input[i] = static_cast<std::int16_t>(i);
  auto w = MakeWave(input);
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 3000;
  auto result = w->echoConstant(failed, 999.5, 0.5, 2, begin, end);
  // t = 1500: echo 1 reads 500.5 -> 1500 + 250.25 -> 1750; echo 2 reads 1500
  // - 1999 < 0: none. t = 2500: 2500 + 750.25 -> 3250, echo 2 reads 501 ->
  // 3250 + 125.25 -> 3375.
  EXPECT_EQ(result->at(1500), 1750);
  EXPECT_EQ(result->at(2500), 3375);
  EXPECT_EQ(end, 3000 + 1000 * 2);
  // t = 4000: past the wave; echo 1 reads 3000.5 (outside), echo 2 reads
  // 2001 -> 500.25 -> 500.
  EXPECT_EQ(result->at(4000), 500);
}

// ---- worked cases ------------------------------------------------------------

// Constant echoes: region end 4 + trunc(2.5) = 6 for diffTime 1.5: t = 2
// reads 0.5 (50): 200 + 25; t = 3 reads 1.5 (150): 300 + 75; t = 4 reads 2.5
// (250): 125; t = 5 would read 3.5, past the range: nothing. A negative time
// starts the region at 0 + trunc(-3) = -3, three zeros lead, the echo values
// 50, 100, 150 land at -2, -1, 0. Each echo is truncated on its own: trunc(5 x
// 0.7) = 3, trunc(5 x 0.49) = 2. Sums wrap: 60000 - 65536 = -5536.
//
// Envelope echoes, diffTime 1, count 1: region 0 ... 6, the volume envelope
// 32767 -> -32767 stretched with step 1/5: amplitudes 1, 0.6, 0.2, -0.2,
// -0.6, -1 on the source 101 one value later. 32767 x (1/32767) = 1: full
// volume like factor 1. -16384 (about -0.5) is squared for the second echo:
// -500.02 -> -500, +250.01 -> 250. A time envelope of 32767 puts the echo
// diffTime later, -32767 as much earlier, 0 on the values themselves; the
// region grows by trunc(diffTime + 1) on both sides.
//
// addEnvelope spreads the envelope over one value more than the range: 0,
// 1000 over four values is read at 0, 0.2, 0.4, 0.6 (1000 is not reached).
TEST(WaveEcho, MatchesWorkedValues) {
  const auto sweep = MakeWave({32767, -32767});
  const auto full = MakeWave({32767});
  const auto inverse = MakeWave({-32767});
  const auto halfInverse = MakeWave({-16384});
  const auto still = MakeWave({0});
  const auto ramp = MakeWave({0, 1000});
  const auto ten = MakeWave({10000});
  const V three{100, 200, 300};
  // Fields: name, input, begin, end, returned end, operation, expected.
  // clang-format off
  ExpectWaves({
      {"FractionalTime", {0, 100, 200, 300}, 0, 4, 6,
       [](auto& w, auto& f, auto& b, auto& e) { return w.echoConstant(f, 1.5, 0.5, 1, b, e); },
       {0, 100, 225, 375, 125, 0}},
      {"NegativeTimePrepends", three, 0, 3, 6, [](auto& w, auto& f, auto& b, auto& e) { return w.echoConstant(f, -2, 0.5, 1, b, e); },
       {0, 50, 100, 250, 200, 300}},
      // Region 1 ... 3 + 4 = 7, one value past the wave: echo 1 (x 0.5) puts
      // 50, 100 at 2, 3, echo 2 (x 0.25) 25, 50 at 3, 4.
      {"RangeInsideKeepsTheRest", {9, 100, 200, 1, 2, 3}, 1, 3, 7,
       [](auto& w, auto& f, auto& b, auto& e) { return w.echoConstant(f, 1, 0.5, 2, b, e); },
       {9, 100, 250, 126, 52, 3, 0}},
      {"EachEchoTruncatedInTurn", {5, 0, 0}, 0, 2, 6, [](auto& w, auto& f, auto& b, auto& e) { return w.echoConstant(f, 1, 0.7, 2, b, e); },
       {5, 3, 2, 0, 0, 0}},
      {"ZeroCountCopies", {1, 2, 3}, 0, 3, 3, [](auto& w, auto& f, auto& b, auto& e) { return w.echoConstant(f, 10, 0.5, 0, b, e); },
       {1, 2, 3}},
      {"WrapsWithoutClipping", {30000, 30000, 0}, 0, 2, 4,
       [](auto& w, auto& f, auto& b, auto& e) { return w.echoConstant(f, 1, 1, 1, b, e); },
       {30000, -5536, 30000, 0}},
      {"VolumeFollowsTheEnvelope", {101, 101, 101, 101}, 0, 4, 6,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.echoVolumeEnvelope(f, 1, *sweep, 1, b, e); },
       {101, 161, 121, 80, -60, 0}},
      // t1 -200 + 100, t2 300 - 200 + 100, t3 7 + 300 - 200, t4 300
      {"FullVolumeEnvelope", {100, -200, 300, 7}, 0, 3, 7,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.echoVolumeEnvelope(f, 1, *full, 2, b, e); },
       {100, -100, 200, 107, 300, 0, 0}},
      {"VolumeEnvelopeSquared", {1000, 0}, 0, 2, 6,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.echoVolumeEnvelope(f, 1, *halfInverse, 2, b, e); },
       {1000, -500, 250, 0, 0, 0}},
      {"TimeEnvelopeLater", three, 0, 3, 9,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.echoTimeEnvelope(f, 2, *full, 0.5, 1, b, e); },
       {0, 0, 0, 100, 200, 350, 100, 150, 0}},
      {"TimeEnvelopeEarlier", three, 0, 3, 9,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.echoTimeEnvelope(f, 2, *inverse, 0.5, 1, b, e); },
       {0, 50, 100, 250, 200, 300, 0, 0, 0}},
      {"TimeEnvelopeInPlace", three, 0, 3, 9,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.echoTimeEnvelope(f, 2, *still, 0.5, 1, b, e); },
       {0, 0, 0, 150, 300, 450, 0, 0, 0}},
      // two values later at amplitude -1
      {"TimeAndVolumeEnvelopes", three, 0, 3, 9,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.echoEnvelopes(f, 2, *full, *inverse, 1, b, e); },
       {0, 0, 0, 100, 200, 200, -200, -300, 0}},
      {"AddEnvelope", {9, 1, 1, 1, 1, 9}, 1, 5, 5, [&](auto& w, auto& f, auto& b, auto& e) { return w.addEnvelope(f, *ramp, b, e); },
       {9, 1, 201, 401, 601, 9}},
      {"AddEnvelopeWraps", {30000}, 0, 1, 1, [&](auto& w, auto& f, auto& b, auto& e) { return w.addEnvelope(f, *ten, b, e); },
       {-25536}},
  });
  // clang-format on
}

// ---- sound level -------------------------------------------------------------

// Seconds become values at the sound's frequency (1000 Hz) on every channel;
// envelopes are the middles of their sounds; added envelopes come from the
// other sound without resampling, channel by channel (its middle for a mono
// sound); MixLeftRight mixes from the old values of both channels.
TEST(SoundEcho, SecondsBecomeValuesOnEveryChannel) {
  const auto stereo = MakeStereo({100, 200, 300}, {-100, -200, -300}, 1000);
  const auto mono = MakeMono({100, 200, 300}, 1000);
  const auto later = MakeStereo({32767}, {32767}, 8000);
  const auto inverse = MakeStereo({-32767}, {-32767}, 8000);
  const auto ones = MakeStereo({1, 1, 1, 1}, {2, 2, 2, 2}, 1000);
  const auto monoOnes = MakeMono({1, 1, 1, 1}, 1000);
  const auto ramps = MakeStereo({0, 1000}, {0, -1000}, 4000);
  const auto middle = MakeStereo({0, 1000}, {0, 3000}, 1000);  // middle 0, 2000
  const auto mix = MakeStereo({100, -200, 7}, {50, 30, 8});
  // Fields: name, begin, end, returned end, operation, channels.
  // clang-format off
  ExpectSounds({
      // 0.002 s: diffTime 2; region 0 ... 3 + 3 = 6, echoes 50, 100, 150 at 2, 3, 4
      {"EchoConstant", 0, 3, 6, [&](bool& f, auto& b, auto& e) { return stereo->EchoConstant(f, 0.002, 0.5, 1, b, e); },
       {{100, 200, 350, 100, 150, 0}, {-100, -200, -350, -100, -150, 0}}},
      {"EchoEnvelopes", 0, 3, 9, [&](bool& f, auto& b, auto& e) { return mono->EchoEnvelopes(f, 0.002, *later, *inverse, 1, b, e); },
       {{0, 0, 0, 100, 200, 200, -200, -300, 0}}},
      {"EchoTimeEnvelope", 0, 3, 9, [&](bool& f, auto& b, auto& e) { return mono->EchoTimeEnvelope(f, 0.002, *later, 0.5, 1, b, e); },
       {{0, 0, 0, 100, 200, 350, 100, 150, 0}}},
      // diffTime 1, amplitude -1: region 0 ... 5
      {"EchoVolumeEnvelope", 0, 3, 5, [&](bool& f, auto& b, auto& e) { return mono->EchoVolumeEnvelope(f, 0.001, *inverse, 1, b, e); },
       {{100, 100, 100, -300, 0}}},
      // -600.0000000000001 + 2 truncates to -598
      {"AddEnvelopeOfAStereoSound", 0, 4, 4, [&](bool& f, auto& b, auto& e) { return ones->AddEnvelope(f, *ramps, b, e); },
       {{1, 201, 401, 601}, {2, -198, -398, -598}}},
      {"AddEnvelopeToMono", 0, 4, 4, [&](bool& f, auto& b, auto& e) { return monoOnes->AddEnvelope(f, *middle, b, e); },
       {{1, 401, 801, 1201}}},
      {"MixIdentity", 0, 2, 2, [&](bool& f, auto& b, auto& e) { return mix->MixLeftRight(f, 1, 0, 0, 1, b, e); },
       {{100, -200, 7}, {50, 30, 8}}},
      {"MixSwap", 0, 2, 2, [&](bool& f, auto& b, auto& e) { return mix->MixLeftRight(f, 0, 1, 1, 0, b, e); },
       {{50, 30, 7}, {100, -200, 8}}},
      // left: 50 + 37.5, -100 + 22.5; right: 25 + 25, 15 - 50
      {"MixBlend", 0, 2, 2, [&](bool& f, auto& b, auto& e) { return mix->MixLeftRight(f, 0.5, 0.25, 0.75, 0.5, b, e); },
       {{87, -77, 7}, {50, -35, 8}}},
  });
  // clang-format on
}

}  // namespace
