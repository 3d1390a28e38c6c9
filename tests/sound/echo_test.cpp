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

TEST(WaveEchoConstant, SmallCasesByHand) {
  struct Row {
    const char* name;
    V input;
    double diffTime, factor;
    int count;
    std::int32_t begin, end;
    V expected;
    std::int32_t endOut;
  };
  const Row rows[] = {
      // Region end 4 + trunc(2.5) = 6. t = 2 reads 0.5 (50): 200 + 25; t = 3
      // reads 1.5 (150): 300 + 75; t = 4 reads 2.5 (250): 125; t = 5 would
      // read 3.5, past the last value of the range: nothing.
      {"FractionalTime", {0, 100, 200, 300}, 1.5, 0.5, 1, 0, 4, {0, 100, 225, 375, 125, 0}, 6},
      // The region starts at 0 + trunc(-3) = -3, so three zeros lead; echo
      // values 50, 100, 150 land at -2, -1, 0.
      {"NegativeTimePrepends", {100, 200, 300}, -2, 0.5, 1, 0, 3, {0, 50, 100, 250, 200, 300}, 6},
      // Region 1 ... 3 + 4 = 7, one value past the wave. Echo 1 (x0.5): t 2, 3
      // get 50, 100; echo 2 (x0.25): t 3, 4 get 25, 50.
      {"RangeInsideKeepsTheRest",
       {9, 100, 200, 1, 2, 3},
       1,
       0.5,
       2,
       1,
       3,
       {9, 100, 250, 126, 52, 3, 0},
       7},
      // t = 1 gets trunc(5 x 0.7) = 3, t = 2 trunc(5 x 0.49) = 2 (each echo
      // rounds on its own); region 0 ... 2 + 4 = 6.
      {"EachEchoTruncatedInTurn", {5, 0, 0}, 1, 0.7, 2, 0, 2, {5, 3, 2, 0, 0, 0}, 6},
      {"ZeroCountCopies", {1, 2, 3}, 10, 0.5, 0, 0, 3, {1, 2, 3}, 3},
      // 30000 + trunc(30000 x 1) wraps: 60000 - 65536 = -5536; the region
      // ends at 2 + trunc(2) = 4, one value past the wave.
      {"WrapsWithoutClipping", {30000, 30000, 0}, 1, 1, 1, 0, 2, {30000, -5536, 30000, 0}, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto w = MakeWave(row.input);
    bool failed = false;
    std::int32_t begin = row.begin;
    std::int32_t end = row.end;
    auto result = w->echoConstant(failed, row.diffTime, row.factor, row.count, begin, end);
    EXPECT_EQ(ValuesOf(result.get()), row.expected);
    EXPECT_EQ(begin, row.begin);
    EXPECT_EQ(end, row.endOut);
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

// ---- envelope echoes ---------------------------------------------------------

TEST(WaveEchoVolumeEnvelope, AmplitudeFollowsTheEnvelopeOverTheRegion) {
  // diffTime 1, count 1: region 0 ... 6, envelope 32767 -> -32767 stretched
  // with step 1/5: amplitudes 1, 0.6, 0.2, -0.2, -0.6, -1. Source 101 one
  // value later: t1 101 + 60.6, t2 101 + 20.2, t3 101 - 20.2, t4 -60.6.
  auto w = MakeWave({101, 101, 101, 101});
  auto envelope = MakeWave({32767, -32767});
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 4;
  auto result = w->echoVolumeEnvelope(failed, 1, *envelope, 1, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), (V{101, 161, 121, 80, -60, 0}));
  EXPECT_EQ(end, 6);
}

TEST(WaveEchoVolumeEnvelope, FullEnvelopeEqualsFactorOne) {
  // 32767 x (1/32767) = 1, so every echo comes at full volume, like
  // echoConstant with factor 1.
  auto w = MakeWave({100, -200, 300, 7});
  auto envelope = MakeWave({32767});
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 3;
  auto result = w->echoVolumeEnvelope(failed, 1, *envelope, 2, begin, end);
  // Region 0 ... 3 + 4 = 7: t1 -200 + 100, t2 300 - 200 + 100, t3 7 + 300 -
  // 200, t4 300.
  EXPECT_EQ(ValuesOf(result.get()), (V{100, -100, 200, 107, 300, 0, 0}));
  EXPECT_EQ(end, 7);
}

TEST(WaveEchoVolumeEnvelope, SquaresTheEnvelopeForTheSecondEcho) {
  // Envelope -16384 (about -0.5): echo 1 -0.50002, echo 2 +0.250015.
  // Value 1000 at 0: t1 gets -500.02 -> -500, t2 +250.01 -> 250.
  auto w = MakeWave({1000, 0});
  auto envelope = MakeWave({-16384});
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 2;
  auto result = w->echoVolumeEnvelope(failed, 1, *envelope, 2, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), (V{1000, -500, 250, 0, 0, 0}));
}

struct TimeEnvelopeRow {
  const char* name;
  std::int16_t envelope;
  V expected;
};

class WaveEchoTimeEnvelope : public ::testing::TestWithParam<TimeEnvelopeRow> {};

// diffTime 2, factor 0.5, count 1 on the whole wave 100, 200, 300: the region
// grows by trunc(3) on both sides (three zeros before, three after). With
// e = 32767 the echo comes 2 values later, with -32767 2 values earlier, with
// 0 on the values themselves.
TEST_P(WaveEchoTimeEnvelope, ShiftFollowsTheEnvelope) {
  const TimeEnvelopeRow& row = GetParam();
  auto w = MakeWave({100, 200, 300});
  auto envelope = MakeWave({row.envelope});
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 3;
  auto result = w->echoTimeEnvelope(failed, 2, *envelope, 0.5, 1, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), row.expected);
  EXPECT_EQ(begin, 0);
  EXPECT_EQ(end, 9);
}

INSTANTIATE_TEST_SUITE_P(
    WaveEchoTime, WaveEchoTimeEnvelope,
    ::testing::Values(TimeEnvelopeRow{"Later", 32767, {0, 0, 0, 100, 200, 350, 100, 150, 0}},
                      TimeEnvelopeRow{"Earlier", -32767, {0, 50, 100, 250, 200, 300, 0, 0, 0}},
                      TimeEnvelopeRow{"InPlace", 0, {0, 0, 0, 150, 300, 450, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WaveEchoEnvelopes, TimeAndVolumeTogether) {
  // Time envelope 32767 (2 later), volume -32767 (amplitude -1).
  auto w = MakeWave({100, 200, 300});
  auto time = MakeWave({32767});
  auto volume = MakeWave({-32767});
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 3;
  auto result = w->echoEnvelopes(failed, 2, *time, *volume, 1, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), (V{0, 0, 0, 100, 200, 200, -200, -300, 0}));
  EXPECT_EQ(end, 9);
}

// ---- add envelope ------------------------------------------------------------

TEST(WaveAddEnvelope, EnvelopeIsSpreadOverOneValueMore) {
  // Envelope 0, 1000 over four values: step 1/5, positions 0, 0.2, 0.4, 0.6
  // -> 0, 200, 400, 600 added (the last value 1000 is not reached).
  auto w = MakeWave({9, 1, 1, 1, 1, 9});
  auto envelope = MakeWave({0, 1000});
  bool failed = false;
  auto result = w->addEnvelope(failed, *envelope, 1, 5);
  EXPECT_EQ(ValuesOf(result.get()), (V{9, 1, 201, 401, 601, 9}));
}

TEST(WaveAddEnvelope, WrapsAround) {
  auto w = MakeWave({30000});
  auto envelope = MakeWave({10000});
  bool failed = false;
  EXPECT_EQ(ValuesOf(w->addEnvelope(failed, *envelope, 0, 1).get()), (V{-25536}));
}

// ---- sound level -------------------------------------------------------------

TEST(SoundEchoConstant, SecondsBecomeValuesOnBothChannels) {
  // 0.002 s at 1000 Hz: diffTime 2.
  auto sound = MakeStereo({100, 200, 300}, {-100, -200, -300}, 1000);
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 3;
  auto result = sound->EchoConstant(failed, 0.002, 0.5, 1, begin, end);
  ASSERT_NE(result, nullptr);
  // Region 0 ... 3 + 3 = 6: echoes 50, 100, 150 at 2, 3, 4.
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{100, 200, 350, 100, 150, 0}));
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{-100, -200, -350, -100, -150, 0}));
  EXPECT_EQ(begin, 0);
  EXPECT_EQ(end, 6);
  EXPECT_EQ(result->GetFreq(), 1000);
}

TEST(SoundEchoEnvelopes, EnvelopesAreMiddlesOfTheirSounds) {
  // Stereo envelopes averaged: time (32767 + 32767) / 2, volume
  // (-32767 + -32767) / 2; the same as the wave-level worked case.
  auto sound = MakeMono({100, 200, 300}, 1000);
  auto time = MakeStereo({32767}, {32767}, 8000);
  auto volume = MakeStereo({-32767}, {-32767}, 8000);
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 3;
  auto both = sound->EchoEnvelopes(failed, 0.002, *time, *volume, 1, begin, end);
  ASSERT_NE(both, nullptr);
  EXPECT_EQ(ValuesOf(both->GetLeft()), (V{0, 0, 0, 100, 200, 200, -200, -300, 0}));
  begin = 0;
  end = 3;
  auto timed = sound->EchoTimeEnvelope(failed, 0.002, *time, 0.5, 1, begin, end);
  EXPECT_EQ(ValuesOf(timed->GetLeft()), (V{0, 0, 0, 100, 200, 350, 100, 150, 0}));
  begin = 0;
  end = 3;
  auto loud = sound->EchoVolumeEnvelope(failed, 0.001, *volume, 1, begin, end);
  // diffTime 1, amplitude -1: region 0 ... 5.
  EXPECT_EQ(ValuesOf(loud->GetLeft()), (V{100, 100, 100, -300, 0}));
  EXPECT_FALSE(failed);
}

TEST(SoundAddEnvelope, StereoTakesLeftAndRightWithoutResampling) {
  auto sound = MakeStereo({1, 1, 1, 1}, {2, 2, 2, 2}, 1000);
  // At another frequency: still read as it is.
  auto envelope = MakeStereo({0, 1000}, {0, -1000}, 4000);
  bool failed = false;
  auto result = sound->AddEnvelope(failed, *envelope, 0, 4);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{1, 201, 401, 601}));
  // -200 + 2 = -198, -400 + 2 = -398, -600.0000000000001 + 2 -> -598.
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{2, -198, -398, -598}));
}

TEST(SoundAddEnvelope, MonoTakesTheMiddle) {
  auto sound = MakeMono({1, 1, 1, 1}, 1000);
  auto envelope = MakeStereo({0, 1000}, {0, 3000}, 1000);  // middle 0, 2000
  bool failed = false;
  auto result = sound->AddEnvelope(failed, *envelope, 0, 4);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{1, 401, 801, 1201}));
}

struct MixRow {
  const char* name;
  double l2l, l2r, r2l, r2r;
  V left, right;
};

class StereoMixLeftRight : public ::testing::TestWithParam<MixRow> {};

// Left 100, -200, 7 and right 50, 30, 8, mixed over the first two values.
TEST_P(StereoMixLeftRight, MixesFromTheOldValues) {
  const MixRow& row = GetParam();
  auto sound = MakeStereo({100, -200, 7}, {50, 30, 8});
  bool failed = false;
  auto result = sound->MixLeftRight(failed, row.l2l, row.l2r, row.r2l, row.r2r, 0, 2);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), row.left);
  EXPECT_EQ(ValuesOf(result->GetRight()), row.right);
  EXPECT_EQ(ValuesOf(sound->GetLeft()), (V{100, -200, 7}));
}

INSTANTIATE_TEST_SUITE_P(
    StereoMix, StereoMixLeftRight,
    ::testing::Values(MixRow{"Identity", 1, 0, 0, 1, {100, -200, 7}, {50, 30, 8}},
                      MixRow{"Swap", 0, 1, 1, 0, {50, 30, 7}, {100, -200, 8}},
                      // left: 50 + 37.5, -100 + 22.5; right: 25 + 25, 15 - 50.
                      MixRow{"Blend", 0.5, 0.25, 0.75, 0.5, {87, -77, 7}, {50, -35, 8}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
