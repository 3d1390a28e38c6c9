#include <gtest/gtest.h>

#include "base/allocation.h"
#include "support/recordingui.h"
#include "wavetestutil.h"

using V = std::vector<std::int16_t>;

TEST(WaveConstruction, EmptyAndCopies) {
  bool failed = false;
  Wave empty(failed, 0);
  EXPECT_EQ(empty.getValues(), 0);
  EXPECT_EQ(empty.data(), nullptr);
  auto source = MakeWave({1, -2, 3});
  auto copy = CopyWave(failed, source.get());
  EXPECT_EQ(ValuesOf(copy.get()), (V{1, -2, 3}));
  EXPECT_NE(copy->data(), source->data());
  EXPECT_EQ(CopyWave(failed, nullptr), nullptr);
  failed = true;
  EXPECT_EQ(NewWave(failed, 5), nullptr);
  EXPECT_EQ(CopyWave(failed, source.get()), nullptr);
}

TEST(WaveConstruction, AllocationFailureReportsOnceAndLeavesEmpty) {
  RecordingUi ui;
  bool failed = false;
  FailAllocationAfter(0);
  auto wave = NewWave(failed, 100);
  EXPECT_EQ(wave, nullptr);
  EXPECT_TRUE(failed);
  // Nothing more is tried, or reported, while the flag is set.
  EXPECT_EQ(NewWave(failed, 100), nullptr);
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{
                            "System Error: There is not enough memmory for this operation."});
}

TEST(WaveRanges, ExtractRemoveReplaceWithEndOfWave) {
  bool failed = false;
  auto w = MakeWave({10, 11, 12, 13, 14});
  EXPECT_EQ(ValuesOf(w->extract(failed, 1, 3).get()), (V{11, 12}));
  EXPECT_EQ(ValuesOf(w->extract(failed, 3, -1).get()), (V{13, 14}));
  EXPECT_EQ(ValuesOf(w->remove(failed, 1, 3).get()), (V{10, 13, 14}));
  EXPECT_EQ(ValuesOf(w->remove(failed, 2, -1).get()), (V{10, 11}));
  auto other = MakeWave({-1, -2});
  // begin = end inserts.
  EXPECT_EQ(ValuesOf(w->replace(failed, *other, 2, 2).get()), (V{10, 11, -1, -2, 12, 13, 14}));
  EXPECT_EQ(ValuesOf(w->replace(failed, *other, 1, 4).get()), (V{10, -1, -2, 14}));
  EXPECT_EQ(ValuesOf(w->replace(failed, *other, 3, -1).get()), (V{10, 11, 12, -1, -2}));
  // An empty other removes the range.
  Wave none;
  EXPECT_EQ(ValuesOf(w->replace(failed, none, 1, 4).get()), (V{10, 14}));
  EXPECT_EQ(ValuesOf(w->append(failed, *other).get()), (V{10, 11, 12, 13, 14, -1, -2}));
  EXPECT_FALSE(failed);
  // The source is never changed.
  EXPECT_EQ(ValuesOf(w.get()), (V{10, 11, 12, 13, 14}));
}

TEST(WaveArithmetic, AddsWrapAndMaxAbs) {
  bool failed = false;
  auto w = MakeWave({30000, 5, -7});
  auto add = MakeWave({10000, 1});
  w->addFrom(*add, 0, 2, 0);
  EXPECT_EQ(ValuesOf(w.get()), (V{-25536, 6, -7}));
  auto x = MakeWave({30000, 0, 0});
  x->addAfter(failed, *add, 0);
  EXPECT_EQ(ValuesOf(x.get()), (V{-25536, 1, 0}));
  auto big = MakeWave({100, -32768, 32767, 5});
  EXPECT_EQ(big->maxAbs(0, 4), 32768);
  EXPECT_EQ(big->maxAbs(2, 4), 32767);
  EXPECT_EQ(big->maxAbs(3, 3), 0);
  auto m = MakeWave({30000});
  auto clip = MakeWave({10000});
  auto mixed = m->mixAt(failed, *clip, 0, -1, false);
  EXPECT_EQ(ValuesOf(mixed.get()), (V{-25536}));
}

TEST(WaveMix, MixTruncatesAndAverageHalves) {
  bool failed = false;
  auto a = MakeWave({1000, 3, 7, -5});
  auto b = MakeWave({-1000, 4, 0, 0});
  // Outside the range `a` is kept; inside trunc(a*0.5 + b*0.25).
  EXPECT_EQ(ValuesOf(a->mix(failed, 0.5, *b, 0.25, 1, 3).get()), (V{1000, 2, 3, -5}));
  // trunc(3.5) = 3, trunc(-2.5) = -2.
  EXPECT_EQ(ValuesOf(a->average(failed, *b).get()), (V{0, 3, 3, -2}));
}

TEST(WaveMix, MixAfterStopsAtEitherEnd) {
  bool failed = false;
  auto w = MakeWave({100, 100, 100, 100});
  auto other = MakeWave({10, 20, 30});
  w->mixAfter(failed, *other, 2, 0.5);
  // trunc(100 + 10*0.5) = 105, trunc(100 + 20*0.5) = 110; 30 has no room.
  EXPECT_EQ(ValuesOf(w.get()), (V{100, 100, 105, 110}));
}

TEST(WaveMix, MixCycleFoldsOntoItself) {
  bool failed = false;
  auto w = MakeWave({1, 2, 3});
  auto clip = MakeWave({10, 20, 30, 40, 50, 60});
  // A clip twice as long as the wave adds clip[k] and clip[k + 3] to value k.
  w->mixCycleAfterThis(failed, *clip, 0);
  EXPECT_EQ(ValuesOf(w.get()), (V{51, 72, 93}));
  auto v = MakeWave({0, 0, 0});
  auto two = MakeWave({5, 6});
  v->mixCycleAfterThis(failed, *two, 2);
  EXPECT_EQ(ValuesOf(v.get()), (V{6, 0, 5}));
  // A set flag stops it before any addition.
  bool set = true;
  auto u = MakeWave({1, 1});
  u->mixCycleAfterThis(set, *two, 0);
  EXPECT_EQ(ValuesOf(u.get()), (V{1, 1}));
}

TEST(WaveMix, MixAtBeforeTheStartAndPastTheEnd) {
  bool failed = false;
  auto wave = MakeWave(Constant(1000, 1));
  auto clip = MakeWave(Constant(300, 2));
  auto before = wave->mixAt(failed, *clip, -100, -1, false);
  ASSERT_EQ(before->getValues(), 1100);
  // 100 leading zeros plus the first 200 values of the wave get the clip.
  EXPECT_EQ(before->at(0), 2);
  EXPECT_EQ(before->at(99), 2);
  EXPECT_EQ(before->at(100), 3);
  EXPECT_EQ(before->at(299), 3);
  EXPECT_EQ(before->at(300), 1);
  auto after = wave->mixAt(failed, *clip, 900, -1, false);
  ASSERT_EQ(after->getValues(), 1200);
  EXPECT_EQ(after->at(899), 1);
  EXPECT_EQ(after->at(900), 3);
  EXPECT_EQ(after->at(999), 3);
  EXPECT_EQ(after->at(1000), 2);
  EXPECT_EQ(after->at(1199), 2);
}

TEST(WaveMix, MixAtCountTakesStartOrEndOfClip) {
  bool failed = false;
  auto wave = MakeWave({0, 0, 0, 0});
  auto clip = MakeWave({1, 2, 3});
  EXPECT_EQ(ValuesOf(wave->mixAt(failed, *clip, 1, 2, false).get()), (V{0, 1, 2, 0}));
  EXPECT_EQ(ValuesOf(wave->mixAt(failed, *clip, 1, 2, true).get()), (V{0, 2, 3, 0}));
  // mixBefore ends the clip at the position.
  EXPECT_EQ(ValuesOf(wave->mixBefore(failed, *clip, 4, -1, false).get()), (V{0, 1, 2, 3}));
  EXPECT_EQ(ValuesOf(wave->mixBefore(failed, *clip, 2, 2, true).get()), (V{2, 3, 0, 0}));
  EXPECT_EQ(ValuesOf(wave->mixBefore(failed, *clip, 1, -1, false).get()), (V{1, 2, 3, 0, 0, 0}));
}

TEST(WaveDrawLine, RunsFromFirstToLastValue) {
  auto w = MakeWave(Constant(7, 9));
  w->drawLine(1, 0, 6, 100);
  EXPECT_EQ(ValuesOf(w.get()), (V{9, 0, 25, 50, 75, 100, 9}));
  w->drawLine(0, 3, 1, 4);
  EXPECT_EQ(w->at(0), 3);  // trunc((3 + 4) * 0.5)
}

TEST(WaveResize, StretchesAndReverses) {
  bool failed = false;
  auto w = MakeWave({0, 300, 600, 900});
  std::int32_t end = 3;
  auto longer = w->resize(failed, 6, false, 0, end);
  // The last value interpolates toward the value after the range.
  EXPECT_EQ(ValuesOf(longer.get()), (V{0, 150, 300, 450, 600, 750, 900}));
  EXPECT_EQ(end, 6);
  end = 3;
  auto reversed = w->resize(failed, 3, true, 0, end);
  // Read at 3, 2, 1: the first value is the one just after the range.
  EXPECT_EQ(ValuesOf(reversed.get()), (V{900, 600, 300, 900}));
  // At the end of the wave the last value stands in for the missing one.
  end = 4;
  auto tail = w->resize(failed, 8, false, 2, end);
  EXPECT_EQ(ValuesOf(tail.get()), (V{0, 300, 600, 675, 750, 825, 900, 900, 900, 900}));
}

TEST(WaveResize, LengthAllHalvesAndEmpties) {
  bool failed = false;
  auto w = MakeWave(Ramp(10, 0, 10));
  auto half = w->lengthAll(failed, 0.5);
  EXPECT_EQ(ValuesOf(half.get()), (V{0, 20, 40, 60, 80}));
  auto reversed = w->lengthAll(failed, -0.5);
  // Reversed reads start past the end (the last value) and step back by 2.
  EXPECT_EQ(ValuesOf(reversed.get()), (V{90, 80, 60, 40, 20}));
  EXPECT_EQ(w->lengthAll(failed, 0.05)->getValues(), 0);
  Wave empty;
  EXPECT_EQ(empty.lengthAll(failed, 2)->getValues(), 0);
}

TEST(WaveBlocks, LoopsStopWhenFlagIsSet) {
  // A copy of more than one block made while the flag is already set stops
  // before its first block.
  bool failed = true;
  auto big = MakeWave(Constant(5000, 1));
  Wave copy(failed, *big);
  EXPECT_EQ(copy.getValues(), 5000);
  auto other = MakeWave(Constant(5000, 3));
  big->addAfter(failed, *other, 0);
  EXPECT_EQ(big->at(0), 1);
}
