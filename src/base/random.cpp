#include "base/random.h"

#include <cstdint>

namespace {
// Classic linear congruential generator; its high bits give 15 random bits.
// One sequence per thread: noise or a random echo made on a worker thread
// never races with random sampling on the user-interface thread.
thread_local std::uint32_t state = 1;
}  // namespace

void SeedRandom(unsigned seed) { state = seed; }

int NextRandom() {
  state = state * 1103515245U + 12345U;
  return static_cast<int>((state / 65536U) % 32768U);
}
