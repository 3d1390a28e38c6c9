#include "sound/dicer.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/random.h"

namespace {

std::vector<std::int32_t> Throws(unsigned seed, int rolls) {
  Dicer dicer(seed);
  std::vector<std::int32_t> values;
  for (int r = 0; r < rolls; ++r) {
    dicer.Roll();
    for (int d = 0; d < Dicer::DICES; ++d) values.push_back(dicer.Value(d));
  }
  return values;
}

TEST(Dicer, SameSeedGivesTheSameDice) { EXPECT_EQ(Throws(1234, 5), Throws(1234, 5)); }

TEST(Dicer, DifferentSeedsGiveDifferentDice) { EXPECT_NE(Throws(1234, 5), Throws(1235, 5)); }

TEST(Dicer, DieIsTwoDrawsHighHalfFirst) {
  // Each die is r1 x 2^15 + r2 of two successive draws of the generator.
  std::vector<int> draws;
  SeedRandom(77);
  for (int i = 0; i < 2 * Dicer::DICES; ++i) draws.push_back(NextRandom());
  Dicer dicer(77);
  dicer.Roll();
  for (int d = 0; d < Dicer::DICES; ++d) {
    EXPECT_EQ(dicer.Value(d), draws[2 * d] * 32768 + draws[2 * d + 1]) << d;
    EXPECT_GE(dicer.Value(d), 0);
    EXPECT_LE(dicer.Value(d), (1 << 30) - 1);
  }
}

TEST(Dicer, DiceReadZeroBeforeTheFirstRoll) {
  const Dicer dicer(5);
  EXPECT_EQ(dicer.Get(0, 10, -3), -3);
}

TEST(Dicer, GetMapsOntoTheSpan) {
  Dicer dicer(99);
  for (int r = 0; r < 50; ++r) {
    dicer.Roll();
    for (int d = 0; d < Dicer::DICES; ++d) {
      // v / 1073676288 x (high - low) + low.
      const double fraction = dicer.Value(d) / 1073676288.0;
      EXPECT_DOUBLE_EQ(dicer.Get(d, 1, 0), fraction);
      EXPECT_DOUBLE_EQ(dicer.Get(d, 5, -5), fraction * 10 - 5);
      // The divisor sits a little below 2^30 - 1: at most 0.006 % over.
      EXPECT_LE(dicer.Get(d, 1, 0), 1.0000607);
      // high = low gives low.
      EXPECT_EQ(dicer.Get(d, 0.25, 0.25), 0.25);
    }
  }
}

}  // namespace
