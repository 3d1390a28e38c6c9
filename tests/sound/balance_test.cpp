#include <gtest/gtest.h>

#include <vector>

#include "wavetestutil.h"

namespace {

using V = std::vector<std::int16_t>;

// At 44100 Hz the largest delay is 44100 / 3400 x 2 = 25.941176... values.
constexpr double kLargestDelay = 44100.0 / 3400 * 2;

// ---- constant direction --------------------------------------------------------

TEST(SoundBalance, StraightAheadHalvesBothChannels) {
  // position 0: factor (1 - 0) x 0.5 on both sides.
  auto sound = MakeMono({1001, -1001, 3, 32767}, 44100);
  bool failed = false;
  auto result = sound->Balance(failed, 0, false, true, false);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetMoSt(), 2);
  EXPECT_EQ(result->GetFreq(), 44100);
  EXPECT_EQ(result->GetBytesPSample(), 2);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{500, -500, 1, 16383}));
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{500, -500, 1, 16383}));
}

TEST(SoundBalance, HardRightSilencesTheLeft) {
  // Left p = 1: factor 0; right p = -1: factor 1.
  auto sound = MakeMono({1001, -1001, 3}, 44100);
  bool failed = false;
  auto result = sound->Balance(failed, 1, false, true, false);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{0, 0, 0}));
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{1001, -1001, 3}));
}

TEST(SoundBalance, NoOptionCopiesBothChannels) {
  auto sound = MakeMono({5, -6, 7}, 44100);
  bool failed = false;
  auto result = sound->Balance(failed, 0.3, false, false, false);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{5, -6, 7}));
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{5, -6, 7}));
}

TEST(SoundBalance, HardRightDelaysTheLeftEar) {
  // d = 25.94: the left becomes trunc(1 + d + 40) = 66 values, value j the
  // source at j + 1 - d; the right gets trunc(d + 1) = 26 zeros appended.
  // With the ramp 500 i: j = 25 reads 0.0588 -> 29.41, j = 26 reads 1.0588
  // -> 529.41, j = 63 reads 38.0588 -> 19029.41, j = 64 reads past 39.
  auto sound = MakeMono(Ramp(40, 0, 500), 44100);
  bool failed = false;
  auto result = sound->Balance(failed, 1, true, false, false);
  ASSERT_NE(result, nullptr);
  const Wave* left = result->GetLeft();
  const Wave* right = result->GetRight();
  ASSERT_EQ(left->getValues(), 66);
  ASSERT_EQ(right->getValues(), 66);
  for (int j = 0; j < 25; ++j) EXPECT_EQ(left->at(j), 0) << j;
  EXPECT_EQ(left->at(25), 29);
  EXPECT_EQ(left->at(26), 529);
  EXPECT_EQ(left->at(40), 7529);  // 15.0588 x 500
  EXPECT_EQ(left->at(63), 19029);
  EXPECT_EQ(left->at(64), 0);
  EXPECT_EQ(left->at(65), 0);
  for (int j = 0; j < 40; ++j) EXPECT_EQ(right->at(j), 500 * j) << j;
  for (int j = 40; j < 66; ++j) EXPECT_EQ(right->at(j), 0) << j;
}

TEST(SoundBalance, HardRightWithVolumeSilencesTheDelayedLeft) {
  auto sound = MakeMono(Ramp(40, 0, 500), 44100);
  bool failed = false;
  auto result = sound->Balance(failed, 1, true, true, false);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), V(66, 0));
  V right = Ramp(40, 0, 500);
  right.resize(66, 0);
  EXPECT_EQ(ValuesOf(result->GetRight()), right);
}

TEST(SoundBalance, NearEarIsScaledToo) {
  // position -0.5: left p = -0.5 (near, factor 0.75, d = -18.34 -> 19 zeros
  // appended), right p = 0.5 (far, factor 0.25, trunc(1 + 18.34 + 3) = 22
  // values read at j + 1 - 18.34).
  auto sound = MakeMono({1001, -1001, 401}, 44100);
  bool failed = false;
  auto result = sound->Balance(failed, -0.5, true, true, false);
  ASSERT_NE(result, nullptr);
  V left{750, -750, 300};
  left.resize(22, 0);
  EXPECT_EQ(ValuesOf(result->GetLeft()), left);
  EXPECT_EQ(result->GetRight()->getValues(), 22);
}

TEST(SoundBalance, HeadShadowFollowsTheDirection) {
  // Hard right: the left ear (p = 1) reads the curve's last value, about
  // 350 Hz; the right ear (p = -1) its first, 20000 Hz. Each channel is the
  // low pass at that frequency (factor 0.4), up to the rounding of the curve.
  V input(3000);
  for (int i = 0; i < 3000; ++i) input[i] = static_cast<std::int16_t>((i * 7919) % 30000 - 15000);
  auto sound = MakeMono(input, 44100);
  bool failed = false;
  auto result = sound->Balance(failed, 1, false, false, true);
  ASSERT_NE(result, nullptr);
  auto far = sound->GetLeft()->lowPass(failed, 44100.0 / 350, 0.4, 1, 1, 0, -1);
  auto near = sound->GetLeft()->lowPass(failed, 44100.0 / 20000, 0.4, 1, 1, 0, -1);
  for (int i = 0; i < 3000; ++i) {
    ASSERT_NEAR(result->GetLeft()->at(i), far->at(i), 2) << i;
    ASSERT_NEAR(result->GetRight()->at(i), near->at(i), 1) << i;
  }
  // The far ear is clearly duller than the source.
  EXPECT_GT(std::abs(result->GetLeft()->at(100) - input[100]), 1000);
}

TEST(SoundBalance, StereoSoundPlacesItsFirstChannel) {
  // The left channel is the source; position 0 with volumeDiff halves it on
  // both sides: 1000 -> 500, 2000 -> 1000. The right channel is not used.
  auto sound = MakeStereo({1000, 2000}, {3, 4}, 44100);
  bool failed = false;
  auto result = sound->Balance(failed, 0, false, true, false);
  ASSERT_NE(result, nullptr);
  EXPECT_FALSE(failed);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{500, 1000}));
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{500, 1000}));
}

// ---- direction envelope --------------------------------------------------------

TEST(SoundBalanceEnvelope, StraightAheadHalvesBothChannels) {
  // Direction 0: volume envelope trunc(0 x -+0.5 + 16383) = 16383 on both
  // sides; 1001 x 16383 / 32767 = 500.47, 20000 -> 9999.69.
  auto sound = MakeMono({1001, -1001, 3, 20000}, 44100);
  auto direction = MakeMono({0, 0}, 100);
  bool failed = false;
  auto result = sound->BalanceEnvelope(failed, *direction, false, true, false);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{500, -500, 1, 9999}));
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{500, -500, 1, 9999}));
}

TEST(SoundBalanceEnvelope, HardRightSilencesTheLeft) {
  // Direction 32767: left trunc(-16383.5 + 16383) = 0, right
  // trunc(16383.5 + 16383) = 32766: 1001 x 32766 / 32767 = 1000.97.
  auto sound = MakeMono({1001, -1001, 3}, 44100);
  auto direction = MakeMono({32767}, 100);
  bool failed = false;
  auto result = sound->BalanceEnvelope(failed, *direction, false, true, false);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{0, 0, 0}));
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{1000, -1000, 2}));
}

TEST(SoundBalanceEnvelope, HardRightDelaysTheLeftEar) {
  // Both ears are delayed by 12.97 plus or minus the direction's share:
  // left 25.94, right 0; both grow by trunc(2 x 12.97 + 1) = 26. Left value
  // j is the source at j - 25.94: j = 26 reads 0.0588 -> 29.41.
  auto sound = MakeMono(Ramp(40, 0, 500), 44100);
  auto direction = MakeMono({32767}, 100);
  bool failed = false;
  auto result = sound->BalanceEnvelope(failed, *direction, true, false, false);
  ASSERT_NE(result, nullptr);
  const Wave* left = result->GetLeft();
  ASSERT_EQ(left->getValues(), 66);
  ASSERT_EQ(result->GetRight()->getValues(), 66);
  for (int j = 0; j < 26; ++j) EXPECT_EQ(left->at(j), 0) << j;
  EXPECT_EQ(left->at(26), 29);
  EXPECT_EQ(left->at(27), 529);
  EXPECT_EQ(left->at(64), 19029);  // 38.0588 x 500
  EXPECT_EQ(left->at(65), 0);      // 39.0588 lies past the last value
  V right = Ramp(40, 0, 500);
  right.resize(66, 0);
  EXPECT_EQ(ValuesOf(result->GetRight()), right);
}

TEST(SoundBalanceEnvelope, HeadShadowFollowsTheDirection) {
  // Hard left (-32768): the left ear reads the curve's first value (20 kHz),
  // the right ear the mirrored direction 32767, the curve's end (350 Hz).
  V input(2000);
  for (int i = 0; i < 2000; ++i) input[i] = static_cast<std::int16_t>((i * 7919) % 30000 - 15000);
  auto sound = MakeMono(input, 44100);
  auto direction = MakeMono({-32768, -32768, -32768}, 100);
  bool failed = false;
  auto result = sound->BalanceEnvelope(failed, *direction, false, false, true);
  ASSERT_NE(result, nullptr);
  auto near = sound->GetLeft()->lowPass(failed, 44100.0 / 20000, 0.4, 1, 1, 0, -1);
  auto far = sound->GetLeft()->lowPass(failed, 44100.0 / 350, 0.4, 1, 1, 0, -1);
  for (int i = 0; i < 2000; ++i) {
    ASSERT_NEAR(result->GetLeft()->at(i), near->at(i), 1) << i;
    ASSERT_NEAR(result->GetRight()->at(i), far->at(i), 2) << i;
  }
}

TEST(SoundBalanceEnvelope, StereoSoundPlacesItsFirstChannel) {
  // Direction 0: both volume envelopes 16383; 1000 x 16383 / 32767 =
  // 499.98 -> 499, 2000 -> 999.97 -> 999, from the left channel only.
  auto sound = MakeStereo({1000, 2000}, {3, 4}, 44100);
  auto direction = MakeMono({0, 0}, 100);
  bool failed = false;
  auto result = sound->BalanceEnvelope(failed, *direction, false, true, false);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), (V{499, 999}));
  EXPECT_EQ(ValuesOf(result->GetRight()), (V{499, 999}));
}

}  // namespace
