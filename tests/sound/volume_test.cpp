#include <gtest/gtest.h>

#include <string>

#include "wavetestutil.h"

namespace {

using V = std::vector<std::int16_t>;

// ---- volume ------------------------------------------------------------------

struct VolumeRow {
  double factor;
  V in, out;
};

TEST(WaveVolume, TruncatesToward0AndWrapsAround) {
  const VolumeRow rows[] = {
      {2, {20000}, {-25536}},    // 40000 wraps
      {-1, {-32768}, {-32768}},  // 32768 wraps back
      {0.5, {3, -3, 1, -1}, {1, -1, 0, 0}},
      {0, {123, -456}, {0, 0}},
      // beyond 32 bits' reach: 100000 and 200000 keep their low 16 bits
      {100000, {1, -1, 0, 2}, {-31072, 31072, 0, 3392}},
      {70000, {1, -32768}, {4464, 0}},  // -2293760000 = -35000 * 65536
  };
  for (const VolumeRow& row : rows) {
    bool failed = false;
    auto w = MakeWave(row.in);
    EXPECT_EQ(ValuesOf(w->volume(failed, row.factor, 0, -1).get()), row.out) << row.factor;
    w->volumeInPlace(failed, row.factor, 0, -1);
    EXPECT_EQ(ValuesOf(w.get()), row.out) << "in place " << row.factor;
  }
}

TEST(WaveVolume, InPlaceEmptyRangeDoesNothing) {
  bool failed = false;
  auto w = MakeWave({10, 20, 30});
  w->volumeInPlace(failed, 3, 2, 2);
  EXPECT_EQ(ValuesOf(w.get()), (V{10, 20, 30}));
  w->volumeInPlace(failed, 3, 1, 2);
  EXPECT_EQ(ValuesOf(w.get()), (V{10, 60, 30}));
}

// Worked cases of single operations; the tables below vary one rule each.
TEST(WaveShape, MatchesWorkedValues) {
  // 5 values read the envelope (16384, 0, -16384) at 0, .5, 1, 1.5, 2:
  // e = 16384, 8192, 0, -8192, -16384; 1000 x e / 32767 = 500.015, 250.008 ...
  const auto envelope = MakeWave({16384, 0, -16384});
  // A range shorter than the envelope skips values: 3 values read 0, 2, 4.
  const auto five = MakeWave({16384, 1, 8192, 1, -16384});
  const auto full = MakeWave({32767});
  // 4 new values over the 2 source values 10, 0 (indices 1, 2): the envelope
  // (32767, 0, 32767) advances by (2 / 2) / 2 = 0.5, giving speeds 1,
  // 16383.5 / 32767 = 0.5, 0, 0.5. Positions from 1: 2, 2.5, 2.5, 3. After
  // index 2 the loop continues at index 1, so 2.5 reads 0.5 x 0 + 0.5 x 10
  // and 3 wraps onto index 1.
  const auto dip = MakeWave({32767, 0, 32767});
  const V thousands{7, 1000, 1000, 1000, 1000, 1000, 7};
  V doubled = Ramp(2500, 0, 2);
  doubled.back() = 2499;
  V reversed = Ramp(2500, 2499, -1);
  // Blocks of 4 from 0: the mean of 4k ... 4k + 3 is 4k + 1.5 -> 4k + 1; the
  // last block holds 3000 alone.
  V blocks(3001);
  for (int i = 0; i < 3001; ++i)
    blocks[i] = static_cast<std::int16_t>(i < 3000 ? i / 4 * 4 + 1 : 3000);
  // Fields: name, input, begin, end, returned end, operation, expected.
  // clang-format off
  ExpectWaves({
      {"VolumeOnlyInTheRange", Ramp(2500), 1, 2499, 2499, [](auto& w, auto& f, auto& b, auto& e) { return w.volume(f, 2, b, e); },
       doubled},
      {"VolumeEnvelopeStretched", thousands, 1, 6, 6,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.volumeEnvelope(f, *envelope, b, e); },
       {7, 500, 250, 0, -250, -500, 7}},
      {"VolumeEnvelopeSkips", thousands, 1, 4, 4, [&](auto& w, auto& f, auto& b, auto& e) { return w.volumeEnvelope(f, *five, b, e); },
       {7, 500, 250, -500, 1000, 1000, 7}},
      // One value reads the envelope's start: 7 x 16384 / 32767 = 3.5.
      {"VolumeEnvelopeOfOneValue", thousands, 6, -1, -1,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.volumeEnvelope(f, *envelope, b, e); },
       {7, 1000, 1000, 1000, 1000, 1000, 3}},
      {"Reverse", {1, 2, 3, 4, 5}, 1, 4, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.reverse(f, b, e); }, {1, 4, 3, 2, 5}},
      {"ReverseToTheEnd", {1, 2, 3, 4, 5}, 1, -1, -1, [](auto& w, auto& f, auto& b, auto& e) { return w.reverse(f, b, e); },
       {1, 5, 4, 3, 2}},
      {"ReverseOverBlocks", Ramp(2500), 0, -1, -1, [](auto& w, auto& f, auto& b, auto& e) { return w.reverse(f, b, e); }, reversed},
      // Nothing to reverse: not even the address before the range is formed
      // (the sanitizer build stops on it), also for an empty wave.
      {"ReverseEmptyRangeAtTheStart", {1, 2, 3}, 0, 0, 0, [](auto& w, auto& f, auto& b, auto& e) { return w.reverse(f, b, e); },
       {1, 2, 3}},
      {"ReverseEmptyRangeAtTheEnd", {1, 2, 3}, 3, 3, 3, [](auto& w, auto& f, auto& b, auto& e) { return w.reverse(f, b, e); },
       {1, 2, 3}},
      {"ReverseEmptyWave", {}, 0, -1, -1, [](auto& w, auto& f, auto& b, auto& e) { return w.reverse(f, b, e); }, {}},
      // 16-bit additions wrap around.
      {"Up", {32767, 0, -32768, 5}, 0, 3, 3, [](auto& w, auto& f, auto& b, auto& e) { return w.up(f, 1, b, e); },
       {-32768, 1, -32767, 5}},
      {"Down", {32767, 0, -32768, 5}, 2, -1, -1, [](auto& w, auto& f, auto& b, auto& e) { return w.up(f, -5, b, e); },
       {32767, 0, 32763, 0}},
      {"BlockFromTheRange", {9, 1, 2, 3, 4, 9}, 1, 5, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.block(f, 2, 0, b, e); },
       {9, 1, 1, 3, 3, 9}},
      {"BlockOverBlocks", Ramp(3001), 0, -1, -1, [](auto& w, auto& f, auto& b, auto& e) { return w.block(f, 4, 0, b, e); }, blocks},
      // Rotating the range left, by none, all or some of its values.
      {"Rotate", {1, 2, 3, 4, 5}, 0, -1, -1, [](auto& w, auto& f, auto& b, auto& e) { return w.rotate(f, 2, b, e); },
       {3, 4, 5, 1, 2}},
      {"RotateByNothing", {1, 2, 3, 4, 5}, 0, 5, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.rotate(f, 0, b, e); },
       {1, 2, 3, 4, 5}},
      {"RotateByAll", {1, 2, 3, 4, 5}, 0, 5, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.rotate(f, 5, b, e); },
       {1, 2, 3, 4, 5}},
      {"RotateInside", {1, 2, 3, 4, 5}, 1, 4, 4, [](auto& w, auto& f, auto& b, auto& e) { return w.rotate(f, 1, b, e); },
       {1, 3, 4, 2, 5}},
      // A short source leaves zeros; sums wrap.
      {"RollInShortSource", {100, 5, 6, 200}, 1, 3, 5, [](auto& w, auto& f, auto& b, auto& e) { return w.rollIn(f, 4, 1, b, e); },
       {100, 0, 5, 6, 0, 200}},
      {"RollInWraps", {30000, 10000}, 0, 2, 1, [](auto& w, auto& f, auto& b, auto& e) { return w.rollIn(f, 1, 0, b, e); }, {-25536}},
      // 3 / 8 per value over the segment 0, 30, 60, 90: 11.25.
      {"RollOutFormReplacesTheRange", {7, 0, 30, 60, 90, 7}, 1, 5, 3,
       [](auto& w, auto& f, auto& b, auto& e) { return w.rollOutForm(f, w, 4, 0.5, 0, 1, 5, b, e); },
       {7, 0, 22, 7}},
      {"RollOutEnvelopeSpansTheNewRange", {99, 10, 0, 99}, 1, 3, 5,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.rollOutEnvelope(f, *dip, 2, 1, 0, b, e); },
       {99, 0, 5, 5, 10, 99}},
      // A one-value range played backwards: begin - 1 wraps by trunc(1 / 1 +
      // 1) = 2 loops onto `end`, which is `begin` again; it must never read
      // the value after the range, nor past the wave when the range ends it.
      {"RollOutEnvelopeBackwardsInside", {5, 9, 7}, 1, 2, 4,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.rollOutEnvelope(f, *full, 3, -1, 0, b, e); },
       {5, 9, 9, 9, 7}},
      {"RollOutEnvelopeBackwardsAtTheEnd", {5, 9}, 1, 2, 3,
       [&](auto& w, auto& f, auto& b, auto& e) { return w.rollOutEnvelope(f, *full, 2, -1, 0, b, e); },
       {5, 9, 9}},
  });
  // clang-format on
}

// ---- tables ------------------------------------------------------------------------------

struct BlockRow {
  double time;
  std::int32_t levels;
  V in, out;
};

TEST(WaveBlock, HoldsAveragesAndQuantises) {
  const BlockRow rows[] = {
      {3, 0, {1, 2, 3, 4, 5, 6, 7}, {2, 2, 2, 5, 5, 5, 7}},
      {1, 0, {1, -7, 300}, {1, -7, 300}},    // unchanged
      {0.2, 0, {1, -7, 300}, {1, -7, 300}},  // below 1 counts as 1
      // positions 1.5, 3, 4.5, 6 hold [1], [2, 3], [4], [5, 6]
      {1.5, 0, {1, 2, 3, 4, 5, 6}, {1, 2, 2, 4, 5, 5}},
      {2, 0, {-1, -2, 7}, {-1, -1, 7}},     // -1.5 truncates toward 0
      {10, 0, {1, 2, 3, 4}, {2, 2, 2, 2}},  // one block longer than the range
      // levels 2: q = trunc((avg + 32768) * 2 / 65536) is 0 below 0, else 1
      {1, 2, {-5, 5, -30000, 30000, 0}, {-32768, 32767, -32768, 32767, 32767}},
      // levels 3: q 0, 1, 2 -> -32768, trunc(32767.5 - 32768) = 0, 32767
      {1, 3, {-20000, 0, 32767, 10000}, {-32768, 0, 32767, 0}},
      {2, 1, {100, -100, 5}, {0, 0, 0}},  // levels 1: silence
  };
  for (const BlockRow& row : rows) {
    bool failed = false;
    auto w = MakeWave(row.in);
    EXPECT_EQ(ValuesOf(w->block(failed, row.time, row.levels, 0, -1).get()), row.out)
        << "time " << row.time << " levels " << row.levels;
  }
}

TEST(WaveRollIn, FoldsTheRangeCyclically) {
  struct Row {
    std::int32_t length, target;
    V out;
  };
  // source 1 ... 10
  const Row rows[] = {
      {4, 0, {1 + 5 + 9, 2 + 6 + 10, 3 + 7, 4 + 8}},
      {4, 1, {4 + 8, 1 + 5 + 9, 2 + 6 + 10, 3 + 7}},
      {12, 3, {0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},  // 10 wraps to the start
  };
  for (const Row& row : rows) {
    bool failed = false;
    auto w = MakeWave(Ramp(10, 1));
    std::int32_t begin = 0;
    std::int32_t end = -1;
    auto result = w->rollIn(failed, row.length, row.target, begin, end);
    V expected = row.out;
    if (row.length == 12) expected[0] = 10;
    EXPECT_EQ(ValuesOf(result.get()), expected) << row.length << " " << row.target;
    EXPECT_EQ(end, row.length);
  }
}

TEST(WaveRollOutForm, RepeatsTheSegmentForwardsAndBackwards) {
  // segment 0, 30, 60, 90 read at 3 * phase: 0, 2.25 ... -> 0, 22.5, 45, 67.5
  struct Row {
    double per, count, phase;
    V out;
  };
  const Row rows[] = {
      {4, 2, 0, {0, 22, 45, 67, 0, 22, 45, 67}},
      {-4, 2, 0, {0, 67, 45, 22, 0, 67, 45, 22}},
      {4, 1, 0.5, {45, 67, 0, 22}},
      {8, 0.5, 0, {0, 11, 22, 33}},  // 3 / 8 per value: 11.25, 22.5, 33.75
  };
  for (const Row& row : rows) {
    bool failed = false;
    auto w = MakeWave({0, 30, 60, 90});
    std::int32_t begin = 0;
    std::int32_t end = -1;
    auto result = w->rollOutForm(failed, *w, row.per, row.count, row.phase, 0, 4, begin, end);
    EXPECT_EQ(ValuesOf(result.get()), row.out) << row.per << " " << row.count;
    EXPECT_EQ(end, static_cast<std::int32_t>(row.out.size()));
  }
}

struct RollOutRow {
  double speed, startpos, lengthfactor;
  V out;
};

TEST(WaveRollOutEnvelope, PlaysTheRangeAsALoopAtTheSpeed) {
  // range 0, 10, 20, 30; the envelope 32767 gives speed * 32767 / 32767 =
  // speed per value, added before each read
  const RollOutRow rows[] = {
      {1, 0, 2, {10, 20, 30, 0, 10, 20, 30, 0}},
      {-1, 0, 2, {30, 20, 10, 0, 30, 20, 10, 0}},
      // half speed: at 3.5 the loop interpolates 30 and the first value 0
      {0.5, 0, 2, {5, 10, 15, 20, 25, 30, 15, 0}},
      {1, 0.5, 1, {30, 0, 10, 20}},  // starts at 4 * 0.5 = 2
      {1, 0, 0.5, {10, 20}},
      {6, 0, 1, {20, 0, 20, 0}},  // 6 = one loop and a half
  };
  for (const RollOutRow& row : rows) {
    bool failed = false;
    auto w = MakeWave({0, 10, 20, 30});
    auto envelope = MakeWave({32767});
    std::int32_t begin = 0;
    std::int32_t end = 4;
    auto result = w->rollOutEnvelope(failed, *envelope, row.lengthfactor, row.speed, row.startpos,
                                     begin, end);
    EXPECT_EQ(ValuesOf(result.get()), row.out) << row.speed << " " << row.startpos;
    EXPECT_EQ(end, static_cast<std::int32_t>(row.out.size()));
  }
}

// ---- distort -----------------------------------------------------------------------------------

TEST(WaveDistort, ShapeIsATransferCurve) {
  struct Row {
    V shape, out;
  };
  // in: 100, -100, 0, 32767, -32768
  const Row rows[] = {
      // identity: -32768 + 65535 p = s - 0.5
      {{-32768, 32767}, {99, -100, 0, 32766, -32768}},
      // inverse: 32767 - 65535 p = -s - 0.5
      {{32767, -32768}, {-100, 99, 0, -32767, 32767}},
      // a tent: 0 reads the middle value exactly, +-100 fall 0.003 to
      // either side (996.9); the extremes lie a hair outside 0 ... 2 and
      // read almost 0
      {{0, 1000, 0}, {996, 996, 1000, 0, 0}},
      {{321}, {321, 321, 321, 321, 321}},
  };
  for (const Row& row : rows) {
    bool failed = false;
    auto w = MakeWave({100, -100, 0, 32767, -32768});
    auto shape = MakeWave(row.shape);
    EXPECT_EQ(ValuesOf(w->distort(failed, *shape, 0, -1).get()), row.out) << row.shape.size();
  }
}

// ---- sound level ------------------------------------------------------------------------------

// Seconds become values at the sound's frequency (1000 Hz), every channel
// alike; envelopes and curves are the middles of other sounds, stretched,
// whatever their frequency.
TEST(SoundShape, SecondsBecomeValuesOnEveryChannel) {
  const auto stereo = MakeStereo({10, 20, 30}, {-1, -2, -3}, 1000);
  // (16384 + 0) / 2 = 8192: 1000 x 8192 / 32767 = 250.008.
  const auto envelope = MakeStereo({16384}, {0}, 8000);
  const auto mono = MakeMono({1000, 1000, 4}, 1000);
  const auto seven = MakeStereo({1, 2, 3, 4, 5, 6, 7}, {7, 6, 5, 4, 3, 2, 1}, 1000);
  const auto segment = MakeStereo({9, 0, 30, 60, 90, 9}, {9, 90, 60, 30, 0, 9}, 1000);
  const auto loop = MakeMono({0, 10, 20, 30}, 1000);
  const auto speed = MakeStereo({32767}, {32767}, 22050);
  // the inverting curve, given as a stereo sound whose channels agree
  const auto curve = MakeStereo({32767, -32768}, {32767, -32768}, 8000);
  // MaxVolume: factor 32767 / 16384 (32767 and -16383.5), 32767 / 32768
  // (-32767 and 16383.5), 32767 / 200 for the range only; in stereo the
  // louder right channel sets the factor for both.
  const auto half = MakeMono({16384, -8192});
  const auto full = MakeMono({-32768, 16384});
  const auto ranged = MakeMono({30000, 100, -200, 30000});
  const auto louderRight = MakeStereo({8192, 0}, {16384, -4096});
  const auto quiet = MakeMono({0, 0});
  // Fields: name, begin, end, returned end, operation, channels.
  // clang-format off
  ExpectSounds({
      {"Volume", 1, -1, -1, [&](bool& f, auto& b, auto& e) { return stereo->Volume(f, 2, b, e); }, {{10, 40, 60}, {-1, -4, -6}}},
      {"Up", 2, 3, 3, [&](bool& f, auto& b, auto& e) { return stereo->Up(f, 5, b, e); }, {{10, 20, 35}, {-1, -2, 2}}},
      {"Reverse", 0, -1, -1, [&](bool& f, auto& b, auto& e) { return stereo->Reverse(f, b, e); }, {{30, 20, 10}, {-3, -2, -1}}},
      {"VolumeEnvelope", 0, 2, 2, [&](bool& f, auto& b, auto& e) { return mono->VolumeEnvelope(f, *envelope, b, e); }, {{250, 250, 4}}},
      {"MaxVolumeHalf", 0, -1, -1, [&](bool& f, auto& b, auto& e) { return half->MaxVolume(f, b, e); }, {{32767, -16383}}},
      {"MaxVolumeFull", 0, -1, -1, [&](bool& f, auto& b, auto& e) { return full->MaxVolume(f, b, e); }, {{-32767, 16383}}},
      {"MaxVolumeOfTheRange", 1, 3, 3, [&](bool& f, auto& b, auto& e) { return ranged->MaxVolume(f, b, e); },
       {{30000, 16383, -32767, 30000}}},
      {"MaxVolumeOverBothChannels", 0, -1, -1, [&](bool& f, auto& b, auto& e) { return louderRight->MaxVolume(f, b, e); },
       {{16383, 0}, {32767, -8191}}},
      {"MaxVolumeOfSilence", 0, 2, 2, [&](bool& f, auto& b, auto& e) { return quiet->MaxVolume(f, b, e); }, {{0, 0}}},
      // 0.003 s: blocks of 3 values
      {"Block", 0, -1, -1, [&](bool& f, auto& b, auto& e) { return seven->Block(f, 0.003, 0, b, e); },
       {{2, 2, 2, 5, 5, 5, 7}, {6, 6, 6, 3, 3, 3, 1}}},
      // 0.002 s: rotate by 2 values
      {"Rotate", 0, 5, 5, [&](bool& f, auto& b, auto& e) { return seven->Rotate(f, 0.002, b, e); },
       {{3, 4, 5, 1, 2, 6, 7}, {5, 4, 3, 7, 6, 2, 1}}},
      // 0.003 s: fold 7 values into 3
      {"RollIn", 0, -1, 3, [&](bool& f, auto& b, auto& e) { return seven->RollIn(f, 0.003, 0, b, e); },
       {{1 + 4 + 7, 2 + 5, 3 + 6}, {7 + 4 + 1, 6 + 3, 5 + 2}}},
      // each channel's own range, a period of 0.004 s = 4 values, twice
      {"RollOutForm", 1, 5, 9, [&](bool& f, auto& b, auto& e) { return segment->RollOutForm(f, 0.004, 2, 0, b, e); },
       {{9, 0, 22, 45, 67, 0, 22, 45, 67, 9}, {9, 90, 67, 45, 22, 90, 67, 45, 22, 9}}},
      {"RollOutEnvelope", 0, -1, 6, [&](bool& f, auto& b, auto& e) { return loop->RollOutEnvelope(f, *speed, 1.5, 1, 0, b, e); },
       {{10, 20, 30, 0, 10, 20}}},
      // -s - 0.5, truncated
      {"Distort", 1, 3, 3, [&](bool& f, auto& b, auto& e) { return loop->Distort(f, *curve, b, e); }, {{0, -10, -20, 30}}},
  });
  // clang-format on
}

TEST(SoundVolume, InPlaceOnEveryChannel) {
  bool failed = false;
  auto stereo = MakeStereo({10, 20, 30}, {-1, -2, -3}, 1000);
  stereo->VolumeInPlace(failed, -1, 0, 2);
  EXPECT_EQ(ValuesOf(stereo->Channel(0)), (V{-10, -20, 30}));
  EXPECT_EQ(ValuesOf(stereo->Channel(1)), (V{1, 2, -3}));
  EXPECT_FALSE(failed);
}

}  // namespace
