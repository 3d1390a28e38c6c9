#include "sound/dicer.h"

#include "base/random.h"
#include "base/tbassert.h"

namespace {
// 0x3FFF0000, a little below the largest die value 2^30 - 1.
constexpr double kDiceDivisor = 1073676288;
}  // namespace

Dicer::Dicer(unsigned seed) { SeedRandom(seed); }

void Dicer::Roll() {
  for (std::int32_t& die : dice_) {
    // Two draws of 15 bits, the first giving the high half.
    const std::int32_t high = NextRandom();
    const std::int32_t low = NextRandom();
    die = high * 32768 + low;
  }
}

double Dicer::Get(int dice, double high, double low) const {
  TB_ASSERT(dice >= 0);
  TB_ASSERT(dice < DICES);
  return dice_[dice] / kDiceDivisor * (high - low) + low;
}

std::int32_t Dicer::Value(int dice) const {
  TB_ASSERT(dice >= 0);
  TB_ASSERT(dice < DICES);
  return dice_[dice];
}
