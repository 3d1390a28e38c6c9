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

TEST(WaveVolume, OnlyTheRangeChangesAcrossBlocks) {
  bool failed = false;
  auto w = MakeWave(Ramp(2500));
  auto result = w->volume(failed, 2, 1, 2499);
  ASSERT_EQ(result->getValues(), 2500);
  EXPECT_EQ(result->at(0), 0);
  for (std::int32_t i = 1; i < 2499; ++i) ASSERT_EQ(result->at(i), 2 * i) << i;
  EXPECT_EQ(result->at(2499), 2499);
  EXPECT_EQ(w->at(1000), 1000);  // the source stays
}

TEST(WaveVolume, InPlaceEmptyRangeDoesNothing) {
  bool failed = false;
  auto w = MakeWave({10, 20, 30});
  w->volumeInPlace(failed, 3, 2, 2);
  EXPECT_EQ(ValuesOf(w.get()), (V{10, 20, 30}));
  w->volumeInPlace(failed, 3, 1, 2);
  EXPECT_EQ(ValuesOf(w.get()), (V{10, 60, 30}));
}

TEST(WaveVolumeEnvelope, StretchedOverTheRange) {
  // 5 values read the envelope (16384, 0, -16384) at 0, .5, 1, 1.5, 2:
  // e = 16384, 8192, 0, -8192, -16384; 1000 * e / 32767 = 500.015, 250.008 ...
  bool failed = false;
  auto w = MakeWave({7, 1000, 1000, 1000, 1000, 1000, 7});
  auto envelope = MakeWave({16384, 0, -16384});
  EXPECT_EQ(ValuesOf(w->volumeEnvelope(failed, *envelope, 1, 6).get()),
            (V{7, 500, 250, 0, -250, -500, 7}));
  // A range shorter than the envelope skips values: 3 values read 0, 2, 4.
  auto five = MakeWave({16384, 1, 8192, 1, -16384});
  EXPECT_EQ(ValuesOf(w->volumeEnvelope(failed, *five, 1, 4).get()),
            (V{7, 500, 250, -500, 1000, 1000, 7}));
  // One value reads the envelope's start.
  EXPECT_EQ(ValuesOf(w->volumeEnvelope(failed, *envelope, 6, -1).get()),
            (V{7, 1000, 1000, 1000, 1000, 1000, 3}));  // 7 * 16384 / 32767 = 3.5
}

// ---- reverse, up -------------------------------------------------------------------

TEST(WaveReverse, ReversesOnlyTheRange) {
  bool failed = false;
  auto w = MakeWave({1, 2, 3, 4, 5});
  EXPECT_EQ(ValuesOf(w->reverse(failed, 1, 4).get()), (V{1, 4, 3, 2, 5}));
  EXPECT_EQ(ValuesOf(w->reverse(failed, 1, -1).get()), (V{1, 5, 4, 3, 2}));
  EXPECT_EQ(ValuesOf(w->reverse(failed, 2, 2).get()), (V{1, 2, 3, 4, 5}));
  auto ramp = MakeWave(Ramp(2500));
  auto reversed = ramp->reverse(failed, 0, -1);
  for (std::int32_t i = 0; i < 2500; ++i) ASSERT_EQ(reversed->at(i), 2499 - i) << i;
}

TEST(WaveReverse, EmptyRangeCopiesTheWave) {
  // Nothing to reverse: not even the address before the range is formed
  // (the sanitizer build stops on it), also for an empty wave.
  bool failed = false;
  auto w = MakeWave({1, 2, 3});
  EXPECT_EQ(ValuesOf(w->reverse(failed, 0, 0).get()), (V{1, 2, 3}));
  EXPECT_EQ(ValuesOf(w->reverse(failed, 3, 3).get()), (V{1, 2, 3}));
  Wave empty;
  auto result = empty.reverse(failed, 0, -1);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->getValues(), 0);
  EXPECT_FALSE(failed);
}

TEST(WaveUp, Adds16BitWithWrapAround) {
  bool failed = false;
  auto w = MakeWave({32767, 0, -32768, 5});
  EXPECT_EQ(ValuesOf(w->up(failed, 1, 0, 3).get()), (V{-32768, 1, -32767, 5}));
  EXPECT_EQ(ValuesOf(w->up(failed, -5, 2, -1).get()), (V{32767, 0, 32763, 0}));
}

// ---- block ----------------------------------------------------------------------------

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

TEST(WaveBlock, StartsAtTheRangeAndLeavesTheRest) {
  bool failed = false;
  auto w = MakeWave({9, 1, 2, 3, 4, 9});
  EXPECT_EQ(ValuesOf(w->block(failed, 2, 0, 1, 5).get()), (V{9, 1, 1, 3, 3, 9}));
}

TEST(WaveBlock, LongRangeHoldsEveryBlock) {
  bool failed = false;
  auto w = MakeWave(Ramp(3001));
  auto result = w->block(failed, 4, 0, 0, -1);
  // Blocks of 4 from 0: average of 4k ... 4k + 3 = 4k + 1.5 -> 4k + 1; the
  // last block holds 3000 alone.
  for (std::int32_t i = 0; i < 3000; ++i) ASSERT_EQ(result->at(i), i / 4 * 4 + 1) << i;
  EXPECT_EQ(result->at(3000), 3000);
}

// ---- rotate ----------------------------------------------------------------------------

TEST(WaveRotate, RotatesTheRangeLeft) {
  bool failed = false;
  auto w = MakeWave({1, 2, 3, 4, 5});
  EXPECT_EQ(ValuesOf(w->rotate(failed, 2, 0, -1).get()), (V{3, 4, 5, 1, 2}));
  EXPECT_EQ(ValuesOf(w->rotate(failed, 0, 0, 5).get()), (V{1, 2, 3, 4, 5}));
  EXPECT_EQ(ValuesOf(w->rotate(failed, 5, 0, 5).get()), (V{1, 2, 3, 4, 5}));
  EXPECT_EQ(ValuesOf(w->rotate(failed, 1, 1, 4).get()), (V{1, 3, 4, 2, 5}));
}

// ---- roll in ------------------------------------------------------------------------------

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

TEST(WaveRollIn, ShortSourceLeavesZerosAndSumsWrap) {
  bool failed = false;
  auto w = MakeWave({100, 5, 6, 200});
  std::int32_t begin = 1;
  std::int32_t end = 3;
  EXPECT_EQ(ValuesOf(w->rollIn(failed, 4, 1, begin, end).get()), (V{100, 0, 5, 6, 0, 200}));
  EXPECT_EQ(end, 5);
  auto loud = MakeWave({30000, 10000});
  begin = 0;
  end = 2;
  EXPECT_EQ(ValuesOf(loud->rollIn(failed, 1, 0, begin, end).get()), (V{-25536}));
  EXPECT_EQ(end, 1);
}

// ---- roll out -------------------------------------------------------------------------------

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

TEST(WaveRollOutForm, ReplacesTheRangeByTheNewLength) {
  bool failed = false;
  auto w = MakeWave({7, 0, 30, 60, 90, 7});
  std::int32_t begin = 1;
  std::int32_t end = 5;
  EXPECT_EQ(ValuesOf(w->rollOutForm(failed, *w, 4, 0.5, 0, 1, 5, begin, end).get()),
            (V{7, 0, 22, 7}));
  EXPECT_EQ(end, 3);
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

TEST(WaveRollOutEnvelope, EnvelopeSpansTheNewRange) {
  // 4 new values over the 2 source values 10, 0 (indices 1, 2): the
  // envelope (32767, 0, 32767) advances by (2 / 2) / 2 = 0.5, giving speeds
  // 1, 16383.5 / 32767 = 0.5, 0, 0.5. Positions from 1: 2, 2.5, 2.5, 3.
  // After index 2 the loop continues at index 1, so 2.5 reads
  // 0.5 * 0 + 0.5 * 10 and 3 wraps onto index 1.
  bool failed = false;
  auto w = MakeWave({99, 10, 0, 99});
  auto envelope = MakeWave({32767, 0, 32767});
  std::int32_t begin = 1;
  std::int32_t end = 3;
  auto result = w->rollOutEnvelope(failed, *envelope, 2, 1, 0, begin, end);
  EXPECT_EQ(ValuesOf(result.get()), (V{99, 0, 5, 5, 10, 99}));
  EXPECT_EQ(end, 5);
}

TEST(WaveRollOutEnvelope, WholeLoopsBackwardsStayInTheRange) {
  // A one-value range played backwards: begin - 1 wraps by
  // trunc(1 / 1 + 1) = 2 loops onto `end`, which is `begin` again; it must
  // never read the value after the range.
  bool failed = false;
  auto w = MakeWave({5, 9, 7});
  auto envelope = MakeWave({32767});
  std::int32_t begin = 1;
  std::int32_t end = 2;
  EXPECT_EQ(ValuesOf(w->rollOutEnvelope(failed, *envelope, 3, -1, 0, begin, end).get()),
            (V{5, 9, 9, 9, 7}));
  // The same at the end of the wave, where `end` is not a value at all.
  auto tail = MakeWave({5, 9});
  begin = 1;
  end = 2;
  EXPECT_EQ(ValuesOf(tail->rollOutEnvelope(failed, *envelope, 2, -1, 0, begin, end).get()),
            (V{5, 9, 9}));
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

TEST(SoundVolume, EveryChannelAlike) {
  bool failed = false;
  auto stereo = MakeStereo({10, 20, 30}, {-1, -2, -3}, 1000);
  auto result = stereo->Volume(failed, 2, 1, -1);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetMoSt(), 2);
  EXPECT_EQ(result->GetFreq(), 1000);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{10, 40, 60}));
  EXPECT_EQ(ValuesOf(result->Channel(1)), (V{-1, -4, -6}));
  EXPECT_EQ(ValuesOf(stereo->Channel(0)), (V{10, 20, 30}));

  stereo->VolumeInPlace(failed, -1, 0, 2);
  EXPECT_EQ(ValuesOf(stereo->Channel(0)), (V{-10, -20, 30}));
  EXPECT_EQ(ValuesOf(stereo->Channel(1)), (V{1, 2, -3}));

  result = stereo->Up(failed, 5, 2, 3);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{-10, -20, 35}));
  EXPECT_EQ(ValuesOf(result->Channel(1)), (V{1, 2, 2}));

  result = stereo->Reverse(failed, 0, -1);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{30, -20, -10}));
  EXPECT_EQ(ValuesOf(result->Channel(1)), (V{-3, 2, 1}));
}

TEST(SoundVolume, EnvelopeIsTheMiddleOfAnotherSound) {
  // (16384 + 0) / 2 = 8192: 1000 * 8192 / 32767 = 250.008. Its frequency
  // plays no part: the envelope is stretched, not resampled.
  auto envelope = MakeStereo({16384}, {0}, 8000);
  bool failed = false;
  auto mono = MakeMono({1000, 1000, 4}, 1000);
  auto result = mono->VolumeEnvelope(failed, *envelope, 0, 2);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{250, 250, 4}));
}

TEST(SoundMaxVolume, LoudestValueOfTheRangeOverAllChannels) {
  struct Row {
    V left, right;
    std::int32_t begin, end;
    V outLeft, outRight;
  };
  const Row rows[] = {
      // factor 32767 / 16384: 32767 and -16383.5
      {{16384, -8192}, {}, 0, -1, {32767, -16383}, {}},
      {{0, 0}, {}, 0, 2, {0, 0}, {}},  // silence stays silence
      // factor 32767 / 32768: -32767 and 16383.5
      {{-32768, 16384}, {}, 0, -1, {-32767, 16383}, {}},
      // only the range counts: factor 32767 / 200
      {{30000, 100, -200, 30000}, {}, 1, 3, {30000, 16383, -32767, 30000}, {}},
      // stereo: the right channel is louder and sets the factor for both
      {{8192, 0}, {16384, -4096}, 0, -1, {16383, 0}, {32767, -8191}},
  };
  for (const Row& row : rows) {
    bool failed = false;
    std::unique_ptr<Sound> sound;
    if (row.right.empty()) {
      sound = MakeMono(row.left);
    } else {
      sound = MakeStereo(row.left, row.right);
    }
    auto result = sound->MaxVolume(failed, row.begin, row.end);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(ValuesOf(result->Channel(0)), row.outLeft);
    if (!row.right.empty()) {
      EXPECT_EQ(ValuesOf(result->Channel(1)), row.outRight);
    }
  }
}

TEST(SoundShape, SecondsBecomeValuesWithFreq) {
  bool failed = false;
  auto stereo = MakeStereo({1, 2, 3, 4, 5, 6, 7}, {7, 6, 5, 4, 3, 2, 1}, 1000);
  // 0.003 s at 1000 Hz: blocks of 3 values
  auto result = stereo->Block(failed, 0.003, 0, 0, -1);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{2, 2, 2, 5, 5, 5, 7}));
  EXPECT_EQ(ValuesOf(result->Channel(1)), (V{6, 6, 6, 3, 3, 3, 1}));
  // 0.002 s: rotate by 2 values
  result = stereo->Rotate(failed, 0.002, 0, 5);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{3, 4, 5, 1, 2, 6, 7}));
  EXPECT_EQ(ValuesOf(result->Channel(1)), (V{5, 4, 3, 7, 6, 2, 1}));
  // 0.003 s: fold 7 values into 3
  std::int32_t begin = 0;
  std::int32_t end = -1;
  result = stereo->RollIn(failed, 0.003, 0, begin, end);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{1 + 4 + 7, 2 + 5, 3 + 6}));
  EXPECT_EQ(ValuesOf(result->Channel(1)), (V{7 + 4 + 1, 6 + 3, 5 + 2}));
  EXPECT_EQ(end, 3);
}

TEST(SoundShape, RollOutFormPlaysEachChannelsOwnRange) {
  bool failed = false;
  auto stereo = MakeStereo({9, 0, 30, 60, 90, 9}, {9, 90, 60, 30, 0, 9}, 1000);
  std::int32_t begin = 1;
  std::int32_t end = 5;
  // period 0.004 s = 4 values, twice
  auto result = stereo->RollOutForm(failed, 0.004, 2, 0, begin, end);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{9, 0, 22, 45, 67, 0, 22, 45, 67, 9}));
  EXPECT_EQ(ValuesOf(result->Channel(1)), (V{9, 90, 67, 45, 22, 90, 67, 45, 22, 9}));
  EXPECT_EQ(begin, 1);
  EXPECT_EQ(end, 9);
}

TEST(SoundShape, RollOutEnvelopeAndDistortReadOtherSounds) {
  bool failed = false;
  auto mono = MakeMono({0, 10, 20, 30}, 1000);
  auto speed = MakeStereo({32767}, {32767}, 22050);
  std::int32_t begin = 0;
  std::int32_t end = -1;
  auto result = mono->RollOutEnvelope(failed, *speed, 1.5, 1, 0, begin, end);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{10, 20, 30, 0, 10, 20}));
  EXPECT_EQ(end, 6);

  // the inverting curve, given as a stereo sound whose channels agree
  auto curve = MakeStereo({32767, -32768}, {32767, -32768}, 8000);
  result = mono->Distort(failed, *curve, 1, 3);
  EXPECT_EQ(ValuesOf(result->Channel(0)), (V{0, -10, -20, 30}));  // -s - 0.5
}

}  // namespace
