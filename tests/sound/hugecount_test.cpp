#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "base/allocation.h"
#include "support/recordingui.h"
#include "wavetestutil.h"

// Durations, counts and factors whose results no wave can hold (more values
// than 32 bits count) are an out-of-memory failure like any other: one
// "System Error" message, the flag set, no result. None of these cases may
// allocate the huge wave, stop on an assertion or overflow on the way.

namespace {

using V = std::vector<std::int16_t>;

constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();

struct HugeRow {
  const char* name;
  // Runs the operation with the flag; true when it gave a result.
  std::function<bool(bool&)> run;
};

class HugeCount : public ::testing::TestWithParam<HugeRow> {};

TEST_P(HugeCount, ReportsOutOfMemoryOnce) {
  RecordingUi ui;
  bool failed = false;
  EXPECT_FALSE(GetParam().run(failed));
  EXPECT_TRUE(failed);
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_EQ(ui.messages[0].title, "System Error");
  EXPECT_EQ(ui.messages[0].text, "There is not enough memmory for this operation.");
}

// A mono and a stereo sound of three values at 44100 Hz: 1e6 seconds are
// 4.41e10 values, far beyond 2^31 - 1.
bool MonoSilence(bool& failed) {
  auto sound = MakeMono({1, 2, 3}, 44100);
  std::int32_t begin = 1;
  std::int32_t end = 1;
  return sound->Silence(failed, 1e6, begin, end) != nullptr;
}

bool StereoSilence(bool& failed) {
  auto sound = MakeStereo({1, 2, 3}, {4, 5, 6}, 44100);
  std::int32_t begin = 3;
  std::int32_t end = 3;
  return sound->Silence(failed, 1e6, begin, end) != nullptr;
}

// A new document: silence into an empty sound, whose length alone must fail.
bool EmptySilence(bool& failed) {
  MonoSound sound(44100, 2);
  std::int32_t begin = 0;
  std::int32_t end = 0;
  return sound.Silence(failed, 1e6, begin, end) != nullptr;
}

bool WaveEcho(bool& failed, double diffTime, int kind) {
  // Region: 2 + trunc(44100 + 1) x 100000 = 4410100002 values (or as many
  // before the range for negative shifts, or on both sides).
  auto w = MakeWave({1000, 2000});
  auto envelope = MakeWave({32767, 32767});
  std::int32_t begin = 0;
  std::int32_t end = 2;
  switch (kind) {
    case 0:
      return w->echoConstant(failed, diffTime, 0.5, 100000, begin, end) != nullptr;
    case 1:
      return w->echoVolumeEnvelope(failed, diffTime, *envelope, 100000, begin, end) != nullptr;
    case 2:
      return w->echoTimeEnvelope(failed, diffTime, *envelope, 0.5, 100000, begin, end) != nullptr;
    default:
      return w->echoEnvelopes(failed, diffTime, *envelope, *envelope, 100000, begin, end) !=
             nullptr;
  }
}

bool BlockFilter(bool& failed, double time) {
  auto w = MakeWave({100, 100, 100});
  std::int32_t begin = 0;
  std::int32_t end = 3;
  return w->blockFilter(failed, time, begin, end) != nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    SoundLimits, HugeCount,
    ::testing::Values(
        HugeRow{"MonoSilence", MonoSilence}, HugeRow{"StereoSilence", StereoSilence},
        HugeRow{"EchoConstantAfter", [](bool& f) { return WaveEcho(f, 44100, 0); }},
        HugeRow{"EchoConstantBefore", [](bool& f) { return WaveEcho(f, -44100, 0); }},
        HugeRow{"EchoVolumeEnvelope", [](bool& f) { return WaveEcho(f, 44100, 1); }},
        HugeRow{"EchoTimeEnvelope", [](bool& f) { return WaveEcho(f, 44100, 2); }},
        HugeRow{"EchoEnvelopes", [](bool& f) { return WaveEcho(f, 44100, 3); }},
        HugeRow{"SoundEchoConstant",
                [](bool& f) {
                  // 1 s at 44100 Hz, 100000 echoes, on a stereo sound.
                  auto sound = MakeStereo({1, 2}, {3, 4}, 44100);
                  std::int32_t begin = 0;
                  std::int32_t end = 2;
                  return sound->EchoConstant(f, 1, 0.5, 100000, begin, end) != nullptr;
                }},
        // trunc(3e9) saturates at 2^31 - 1: the range grows by 2^31 values.
        HugeRow{"BlockFilterWide", [](bool& f) { return BlockFilter(f, 3e9); }},
        HugeRow{"BlockFilterWideNegative", [](bool& f) { return BlockFilter(f, -3e9); }},
        HugeRow{"BlockFilterEnvelopeWide",
                [](bool& f) {
                  auto w = MakeWave({100, 100, 100});
                  auto envelope = MakeWave({32767});
                  std::int32_t begin = 0;
                  std::int32_t end = 3;
                  return w->blockFilterEnvelope(f, 3e9, *envelope, begin, end) != nullptr;
                }},
        HugeRow{"LengthAllHugeFactor",
                [](bool& f) {
                  return MakeWave({1, 2})->lengthAll(f, 1e10) != nullptr;
                }},
        HugeRow{"SoundLengthHugeFactor",
                [](bool& f) {
                  auto sound = MakeStereo({1, 2, 3}, {4, 5, 6});
                  std::int32_t begin = 0;
                  std::int32_t end = 2;
                  return sound->Length(f, 1e10, begin, end) != nullptr;
                }},
        HugeRow{"MixAtFarAfterTheEnd",
                [](bool& f) {
                  auto w = MakeWave({1, 2});
                  auto clip = MakeWave({3, 4, 5});
                  return w->mixAt(f, *clip, kMaxInt, -1, false) != nullptr;
                }},
        HugeRow{"MixBeforeFarBeforeTheStart",
                [](bool& f) {
                  // The clip starts 3 values before -2^31.
                  auto w = MakeWave({1, 2});
                  auto clip = MakeWave({3, 4, 5});
                  return w->mixBefore(f, *clip, kMinInt, -1, false) != nullptr;
                }},
        HugeRow{"SoundRollIn",
                [](bool& f) {
                  auto sound = MakeMono({1, 2, 3}, 44100);
                  std::int32_t begin = 1;
                  std::int32_t end = 3;
                  return sound->RollIn(f, 1e6, 0, begin, end) != nullptr;
                }},
        HugeRow{"SoundRollOutForm",
                [](bool& f) {
                  auto sound = MakeMono({1, 2, 3}, 44100);
                  std::int32_t begin = 1;
                  std::int32_t end = 3;
                  return sound->RollOutForm(f, 1, 1e6, 0, begin, end) != nullptr;
                }},
        HugeRow{"SoundLine",
                [](bool& f) {
                  auto sound = MakeStereo({1, 2, 3}, {4, 5, 6}, 44100);
                  std::int32_t begin = 3;
                  std::int32_t end = 3;
                  return sound->Line(f, 0, 100, 1e6, false, begin, end) != nullptr;
                }},
        HugeRow{"SoundNoise",
                [](bool& f) {
                  auto sound = MakeStereo({1, 2, 3}, {4, 5, 6}, 44100);
                  std::int32_t begin = 3;
                  std::int32_t end = 3;
                  return sound->Noise(f, 100, 1e6, begin, end) != nullptr;
                }},
        HugeRow{"SoundBlockWave",
                [](bool& f) {
                  auto sound = MakeMono({1, 2, 3}, 44100);
                  std::int32_t begin = 2;
                  std::int32_t end = 2;
                  return sound->BlockWave(f, 100, -100, 0.01, 0.5, 1e6, 0, false, begin, end) !=
                         nullptr;
                }},
        HugeRow{"SoundMultiFreqForm",
                [](bool& f) {
                  auto sound = MakeMono({1, 2, 3}, 44100);
                  auto form = MakeMono({0, 1000, 0, -1000}, 44100);
                  const double volumes[] = {1};
                  const double periods[] = {0.01};
                  const double times[] = {1};
                  const double factors[] = {1};
                  const double angles[] = {0};
                  std::int32_t begin = 3;
                  std::int32_t end = 3;
                  return sound->MultiFreqForm(f, 1e6, 1, volumes, periods, times, factors, angles,
                                              *form, begin, end) != nullptr;
                }}),
    [](const auto& info) { return std::string(info.param.name); });

// Counts that saturated at exactly 2^31 - 1 are refused without allocating
// the 4 GB they would stand for.
INSTANTIATE_TEST_SUITE_P(SoundLimitsSaturated, HugeCount,
                         ::testing::Values(HugeRow{"EmptySilence", EmptySilence},
                                           HugeRow{"SilenceAllHugeCount",
                                                   [](bool& f) {
                                                     auto sound = MakeMono({1, 2, 3}, 44100);
                                                     return sound->SilenceAll(f, 1e12) != nullptr;
                                                   }}),
                         [](const auto& info) { return std::string(info.param.name); });

// The largest counts that still fit are not refused on the way: a long echo
// region that fits 32 bits is built and holds the echoes worked by hand.
TEST(SoundLimits, LargeEchoRegionThatFitsIsBuilt) {
  // diffTime 1000, 3 echoes of factor 0.5 on {1000, 2000}: region 2 + 1001 x
  // 3 = 3005 values; echo i at 1000 i: 500/1000, 250/500, 125/250.
  RecordingUi ui;
  auto w = MakeWave({1000, 2000});
  bool failed = false;
  std::int32_t begin = 0;
  std::int32_t end = 2;
  auto result = w->echoConstant(failed, 1000, 0.5, 3, begin, end);
  ASSERT_NE(result, nullptr);
  EXPECT_FALSE(failed);
  EXPECT_EQ(end, 3005);
  EXPECT_EQ(result->getValues(), 3005);
  EXPECT_EQ(result->at(1000), 500);
  EXPECT_EQ(result->at(1001), 1000);
  EXPECT_EQ(result->at(2000), 250);
  EXPECT_EQ(result->at(3001), 250);
  EXPECT_EQ(result->at(3002), 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(SoundLimits, FlagSetBeforehandGivesNoSecondMessage) {
  RecordingUi ui;
  auto sound = MakeMono({1, 2, 3}, 44100);
  bool failed = true;
  std::int32_t begin = 1;
  std::int32_t end = 1;
  EXPECT_EQ(sound->Silence(failed, 1e6, begin, end), nullptr);
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
