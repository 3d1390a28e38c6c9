#include <gtest/gtest.h>

#include <vector>

#include "wavetestutil.h"

namespace {

using V = std::vector<std::int16_t>;

// At 44100 Hz the largest delay d is 44100 / 3400 x 2 = 25.941176... values.

// ---- constant direction --------------------------------------------------------

// The volume and the ear that is placed. Constant direction p: the left
// factor (1 - p) x 0.5, the right (1 + p) x 0.5. A direction envelope d gives
// the volume envelopes trunc(d x -+0.5 + 16383): 16383 straight ahead (1001 x
// 16383 / 32767 = 500.47, 20000 -> 9999.69), 0 and 32766 hard right (1001 x
// 32766 / 32767 = 1000.97). A stereo sound places its left channel only.
TEST(SoundBalance, VolumeFollowsTheDirection) {
  const auto mono = MakeMono({1001, -1001, 3, 32767}, 44100);
  const auto small = MakeMono({1001, -1001, 3}, 44100);
  const auto stereo = MakeStereo({1000, 2000}, {3, 4}, 44100);
  const auto ramp = MakeMono(Ramp(40, 0, 500), 44100);
  const auto loud = MakeMono({1001, -1001, 3, 20000}, 44100);
  const auto ahead = MakeMono({0, 0}, 100);
  const auto right = MakeMono({32767}, 100);
  V rampThenSilence = Ramp(40, 0, 500);
  rampThenSilence.resize(66, 0);
  // position -0.5: the near left ear (factor 0.75) gets trunc(18.34 + 1) = 19
  // zeros appended, the far right ear (0.25) is delayed to trunc(1 + 18.34 +
  // 3) = 22 values.
  const auto near = MakeMono({1001, -1001, 401}, 44100);
  V nearLeft{750, -750, 300};
  nearLeft.resize(22, 0);
  // Fields: name, begin, end, returned end (no range here), operation, channels.
  // clang-format off
  ExpectSounds({
      {"StraightAheadHalves", 0, 0, 0, [&](bool& f, auto&, auto&) { return mono->Balance(f, 0, false, true, false); },
       {{500, -500, 1, 16383}, {500, -500, 1, 16383}}},
      {"HardRightSilencesTheLeft", 0, 0, 0, [&](bool& f, auto&, auto&) { return small->Balance(f, 1, false, true, false); },
       {{0, 0, 0}, {1001, -1001, 3}}},
      {"NoOptionCopies", 0, 0, 0, [&](bool& f, auto&, auto&) { return small->Balance(f, 0.3, false, false, false); },
       {{1001, -1001, 3}, {1001, -1001, 3}}},
      {"HardRightDelayedAndSilenced", 0, 0, 0, [&](bool& f, auto&, auto&) { return ramp->Balance(f, 1, true, true, false); },
       {V(66, 0), rampThenSilence}},
      {"StereoPlacesItsLeftChannel", 0, 0, 0, [&](bool& f, auto&, auto&) { return stereo->Balance(f, 0, false, true, false); },
       {{500, 1000}, {500, 1000}}},
      {"EnvelopeStraightAheadHalves", 0, 0, 0, [&](bool& f, auto&, auto&) { return loud->BalanceEnvelope(f, *ahead, false, true, false); },
       {{500, -500, 1, 9999}, {500, -500, 1, 9999}}},
      {"EnvelopeHardRightSilencesTheLeft", 0, 0, 0, [&](bool& f, auto&, auto&) { return small->BalanceEnvelope(f, *right, false, true,
       false); },
       {{0, 0, 0}, {1000, -1000, 2}}},
      // 1000 x 16383 / 32767 = 499.98, 2000 -> 999.97
      {"EnvelopeStereoPlacesItsLeftChannel", 0, 0, 0, [&](bool& f, auto&, auto&) { return stereo->BalanceEnvelope(f, *ahead, false, true,
       false); },
       {{499, 999}, {499, 999}}},
  });
  // clang-format on
  bool failed = false;
  auto result = near->Balance(failed, -0.5, true, true, false);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result->GetLeft()), nearLeft);
  EXPECT_EQ(result->GetRight()->getValues(), 22);
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

// ---- direction envelope --------------------------------------------------------

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

}  // namespace
