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

// The operations that give a new wave, on ranges whose end -1 stands for the
// end of the wave; the source is never changed.
TEST(WaveRanges, MatchWorkedValues) {
  const auto other = MakeWave({-1, -2});
  const Wave none;
  const auto b = MakeWave({-1000, 4, 0, 0});
  const auto clip = MakeWave({1, 2, 3});
  const V five{10, 11, 12, 13, 14};
  const V zeros{0, 0, 0, 0};
  const V ramp{0, 300, 600, 900};
  // Fields: name, input, begin, end, returned end, operation, expected.
  // clang-format off
  ExpectWaves({
      {"Extract", five, 1, 3, 3, [](auto& w, auto& f, auto& b, auto& e) { return w.extract(f, b, e); }, {11, 12}},
      {"ExtractToTheEnd", five, 3, -1, -1, [](auto& w, auto& f, auto& b, auto& e) { return w.extract(f, b, e); }, {13, 14}},
      {"Remove", five, 1, 3, 3, [](auto& w, auto& f, auto& b, auto& e) { return w.remove(f, b, e); }, {10, 13, 14}},
      {"RemoveToTheEnd", five, 2, -1, -1, [](auto& w, auto& f, auto& b, auto& e) { return w.remove(f, b, e); }, {10, 11}},
      {"ReplaceInserts", five, 2, 2, 2, [&](auto& w, auto& f, auto& b, auto& e) { return w.replace(f, *other, b, e); },
       {10, 11, -1, -2, 12, 13, 14}},
      {"Replace", five, 1, 4, 4, [&](auto& w, auto& f, auto& b, auto& e) { return w.replace(f, *other, b, e); }, {10, -1, -2, 14}},
      {"ReplaceToTheEnd", five, 3, -1, -1, [&](auto& w, auto& f, auto& b, auto& e) { return w.replace(f, *other, b, e); },
       {10, 11, 12, -1, -2}},
      {"ReplaceByNothingRemoves", five, 1, 4, 4, [&](auto& w, auto& f, auto& b, auto& e) { return w.replace(f, none, b, e); },
       {10, 14}},
      {"Append", five, 0, 0, 0, [&](auto& w, auto& f, auto&, auto&) { return w.append(f, *other); }, {10, 11, 12, 13, 14, -1, -2}},
      // Outside the range the wave is kept; inside trunc(a x 0.5 + b x 0.25).
      {"Mix", {1000, 3, 7, -5}, 1, 3, 3, [&](auto& w, auto& f, auto& b1, auto& e) { return w.mix(f, 0.5, *b, 0.25, b1, e); },
       {1000, 2, 3, -5}},
      // trunc(3.5) = 3, trunc(-2.5) = -2
      {"Average", {1000, 3, 7, -5}, 0, 0, 0, [&](auto& w, auto& f, auto&, auto&) { return w.average(f, *b); }, {0, 3, 3, -2}},
      // Part of the clip, from its start or its end; mixBefore ends it at the position.
      {"MixAtStartOfClip", zeros, 0, 0, 0, [&](auto& w, auto& f, auto&, auto&) { return w.mixAt(f, *clip, 1, 2, false); },
       {0, 1, 2, 0}},
      {"MixAtEndOfClip", zeros, 0, 0, 0, [&](auto& w, auto& f, auto&, auto&) { return w.mixAt(f, *clip, 1, 2, true); }, {0, 2, 3, 0}},
      {"MixBefore", zeros, 0, 0, 0, [&](auto& w, auto& f, auto&, auto&) { return w.mixBefore(f, *clip, 4, -1, false); },
       {0, 1, 2, 3}},
      {"MixBeforeEndOfClip", zeros, 0, 0, 0, [&](auto& w, auto& f, auto&, auto&) { return w.mixBefore(f, *clip, 2, 2, true); },
       {2, 3, 0, 0}},
      {"MixBeforeTheStart", zeros, 0, 0, 0, [&](auto& w, auto& f, auto&, auto&) { return w.mixBefore(f, *clip, 1, -1, false); },
       {1, 2, 3, 0, 0, 0}},
      // The last value interpolates toward the value after the range.
      {"ResizeLonger", ramp, 0, 3, 6, [](auto& w, auto& f, auto& b, auto& e) { return w.resize(f, 6, false, b, e); },
       {0, 150, 300, 450, 600, 750, 900}},
      // Read at 3, 2, 1: the first value is the one just after the range.
      {"ResizeReversed", ramp, 0, 3, 3, [](auto& w, auto& f, auto& b, auto& e) { return w.resize(f, 3, true, b, e); },
       {900, 600, 300, 900}},
      // At the end of the wave the last value stands in for the missing one.
      {"ResizeAtTheEnd", ramp, 2, 4, 10, [](auto& w, auto& f, auto& b, auto& e) { return w.resize(f, 8, false, b, e); },
       {0, 300, 600, 675, 750, 825, 900, 900, 900, 900}},
  });
  // clang-format on
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

TEST(WaveDrawLine, RunsFromFirstToLastValue) {
  auto w = MakeWave(Constant(7, 9));
  w->drawLine(1, 0, 6, 100);
  EXPECT_EQ(ValuesOf(w.get()), (V{9, 0, 25, 50, 75, 100, 9}));
  w->drawLine(0, 3, 1, 4);
  EXPECT_EQ(w->at(0), 3);  // trunc((3 + 4) * 0.5)
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
