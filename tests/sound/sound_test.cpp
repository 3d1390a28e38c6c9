#include <gtest/gtest.h>

#include "wavetestutil.h"

using V = std::vector<std::int16_t>;

TEST(SoundChannels, MiddleOfStereoIsTruncatedAverage) {
  bool failed = false;
  auto opposite = MakeStereo(Constant(4, 1000), Constant(4, -1000));
  WaveHandle middle = opposite->GetMiddle(failed);
  EXPECT_TRUE(middle.IsCopy());
  EXPECT_EQ(ValuesOf(middle.get()), Constant(4, 0));
  auto near = MakeStereo({3}, {4});
  EXPECT_EQ(ValuesOf(near->GetMiddle(failed).get()), (V{3}));
  auto mono = MakeMono({1, 2});
  WaveHandle own = mono->GetMiddleAt(failed, 1000);
  EXPECT_FALSE(own.IsCopy());
  EXPECT_EQ(own.get(), mono->GetLeft());
  // A stereo sound at its own frequency still gives a new average.
  EXPECT_TRUE(near->GetMiddleAt(failed, 1000).IsCopy());
}

TEST(SoundChannels, ConversionsAverageAndDuplicate) {
  bool failed = false;
  auto stereo = MakeStereo({10, 20}, {30, -20}, 8000);
  MonoSound mono(failed, *stereo);
  EXPECT_EQ(mono.GetMoSt(), 1);
  EXPECT_EQ(mono.GetFreq(), 8000);
  EXPECT_EQ(ValuesOf(mono.GetLeft()), (V{20, 0}));
  StereoSound back(failed, mono);
  EXPECT_EQ(back.GetMoSt(), 2);
  EXPECT_EQ(ValuesOf(back.GetLeft()), (V{20, 0}));
  EXPECT_EQ(ValuesOf(back.GetRight()), (V{20, 0}));
  EXPECT_NE(back.GetLeft(), back.GetRight());
  auto empty = std::make_unique<StereoSound>(44100, 1);
  MonoSound fromEmpty(failed, *empty);
  EXPECT_EQ(fromEmpty.GetValues(), 0);
  EXPECT_EQ(fromEmpty.GetBytesPSample(), 1);
  EXPECT_FALSE(failed);
}

TEST(SoundChannels, ReadingAtAnotherFrequencyResamples) {
  bool failed = false;
  auto mono = MakeMono(Ramp(10, 0, 10), 44100);
  WaveHandle half = mono->GetLeftAt(failed, 22050);
  EXPECT_TRUE(half.IsCopy());
  EXPECT_EQ(ValuesOf(half.get()), (V{0, 20, 40, 60, 80}));
  auto changed = mono->ChangeFreq(failed, 22050.7);
  EXPECT_EQ(changed->GetFreq(), 22050);
  EXPECT_EQ(changed->GetValues(), 5);
  auto none = std::make_unique<MonoSound>(44100, 2);
  EXPECT_EQ(none->ChangeFreq(failed, 8000)->GetValues(), 0);
  std::unique_ptr<Wave> taken = mono->TakeMiddle(failed, 0);
  EXPECT_NE(taken.get(), mono->GetLeft());
  EXPECT_EQ(ValuesOf(taken.get()), ValuesOf(mono->GetLeft()));
}

TEST(SoundChannels, ValueAtMapsFullScale) {
  bool failed = false;
  auto mono = MakeMono({-32768, 32767, 0});
  EXPECT_DOUBLE_EQ(mono->GetValueAt(failed, 0, 1, -1), -1);
  EXPECT_DOUBLE_EQ(mono->GetValueAt(failed, 0.5, 1, -1), 1);
  EXPECT_DOUBLE_EQ(mono->GetValueAt(failed, 0.25, 10, 0),
                   5);  // value 0 at position 0.5 of (-32768, 32767)
}

TEST(SoundChannels, ValueAtOfStereoIsTheUntruncatedMeanOfBothReads) {
  // With top 32767 and bottom -32768 the map is the identity.
  bool failed = false;
  // Position 0.5 of two values reads index 0.5: left 4, right 5, mean 4.5
  // (not the read of the truncated average wave {3, 5}, which gives 4).
  auto stereo = MakeStereo({3, 5}, {4, 6});
  EXPECT_DOUBLE_EQ(stereo->GetValueAt(failed, 0.5, 32767, -32768), 4.5);
  // One value: index 0 on both, mean (3 + 4) / 2 = 3.5.
  auto single = MakeStereo({3}, {4});
  EXPECT_DOUBLE_EQ(single->GetValueAt(failed, 0.5, 32767, -32768), 3.5);
  // Mapped afterwards: 3.5 on (-32768, 32767) -> (0, 65535) is 32771.5.
  EXPECT_DOUBLE_EQ(single->GetValueAt(failed, 0, 65535, 0), 32771.5);
  EXPECT_FALSE(failed);
}

TEST(SoundChannels, ValueAtOutsideTheWaveReadsItsEnds) {
  bool failed = false;
  auto mono = MakeMono({10, 20});
  EXPECT_DOUBLE_EQ(mono->GetValueAt(failed, -0.5, 32767, -32768), 10);
  EXPECT_DOUBLE_EQ(mono->GetValueAt(failed, 1.5, 32767, -32768), 20);
  auto stereo = MakeStereo({10, 20}, {30, 40});
  EXPECT_DOUBLE_EQ(stereo->GetValueAt(failed, 3, 32767, -32768), 30);
}

TEST(SoundEditing, DeleteExtractAndReplace) {
  bool failed = false;
  auto stereo = MakeStereo({1, 2, 3, 4}, {5, 6, 7, 8}, 1000);
  auto all = stereo->Delete(failed, 0, 4);
  EXPECT_EQ(all->GetValues(), 0);
  EXPECT_EQ(all->GetMoSt(), 2);
  EXPECT_EQ(all->GetFreq(), 1000);
  auto part = stereo->Delete(failed, 1, 3);
  EXPECT_EQ(ValuesOf(part->GetLeft()), (V{1, 4}));
  EXPECT_EQ(ValuesOf(part->GetRight()), (V{5, 8}));
  EXPECT_EQ(stereo->Extract(failed, 2, 2)->GetValues(), 0);
  auto extracted = stereo->Extract(failed, 1, 3);
  EXPECT_EQ(ValuesOf(extracted->GetRight()), (V{6, 7}));
  // A mono clip goes into both channels of a stereo sound.
  auto clip = MakeMono({-1, -2}, 1000);
  auto replaced = stereo->Replace(failed, *clip, 1, 1);
  EXPECT_EQ(ValuesOf(replaced->GetLeft()), (V{1, -1, -2, 2, 3, 4}));
  EXPECT_EQ(ValuesOf(replaced->GetRight()), (V{5, -1, -2, 6, 7, 8}));
  // A stereo clip into a mono sound is averaged, at the mono sound's frequency.
  auto mono = MakeMono({0, 0}, 500);
  auto stereoClip = MakeStereo({10, 10, 30, 30}, {20, 20, 40, 40}, 1000);
  auto intoMono = mono->Replace(failed, *stereoClip, 0, 2);
  EXPECT_EQ(ValuesOf(intoMono->GetLeft()), (V{15, 35}));
  EXPECT_FALSE(failed);
}

TEST(SoundEditing, InPlaceMixingUsesPartnerChannels) {
  bool failed = false;
  auto stereo = MakeStereo({0, 0, 0}, {0, 0, 0});
  auto clip = MakeStereo({1, 2}, {3, 4});
  stereo->AddAfter(failed, *clip, 1);
  EXPECT_EQ(ValuesOf(stereo->GetLeft()), (V{0, 1, 2}));
  EXPECT_EQ(ValuesOf(stereo->GetRight()), (V{0, 3, 4}));
  stereo->MixCycleAfterThis(failed, *clip, 2);
  EXPECT_EQ(ValuesOf(stereo->GetLeft()), (V{2, 1, 3}));
  stereo->MixAfterSeconds(failed, *clip, 0.001, 10);  // after = trunc(1000 * 0.001) = 1
  EXPECT_EQ(ValuesOf(stereo->GetRight()), (V{4, 33, 47}));
}

TEST(SoundOwnership, ProtectedWavesOutliveTheSound) {
  auto left = MakeWave({1, 2});
  auto right = MakeWave({3, 4});
  Wave* leftRaw = left.get();
  Wave* rightRaw = right.get();
  {
    StereoSound sound(std::move(left), std::move(right), 1000, 2);
    sound.SetProtectWave(true);
  }
  // The waves belong to the caller again.
  std::unique_ptr<Wave> l(leftRaw);
  std::unique_ptr<Wave> r(rightRaw);
  EXPECT_EQ(ValuesOf(l.get()), (V{1, 2}));
  EXPECT_EQ(ValuesOf(r.get()), (V{3, 4}));
}
