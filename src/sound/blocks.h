#pragma once

#include <algorithm>
#include <cstdint>

#include "base/progress.h"
#include "sound/wave.h"

// The loop under a ProgressScope, out of line: a copy of the body inlined
// beside the plain loop made some loops measurably slower (the block filter
// by half), so the loop nobody listens to keeps the code it had.
bool ForBlocksReporting(ProgressScope& progress, bool& failed, std::int32_t total,
                        void (*block)(void* body, std::int32_t offset, std::int32_t count),
                        void* body);

// Runs `body(offset, count)` over 0 ... total in blocks of at most
// kBlockValues, testing the failure flag before each block. Every block loop
// of the sound core goes through here: under a ProgressScope it reports how
// far it is and turns a cancel request into the failure flag at the next
// block. Returns false when it stopped because the flag was set.
template <class Body>
bool ForBlocks(bool& failed, std::int32_t total, Body body) {
  if (ProgressScope* const progress = CurrentProgress(); progress != nullptr) {
    auto block = [](void* erased, std::int32_t offset, std::int32_t count) {
      (*static_cast<Body*>(erased))(offset, count);
    };
    return ForBlocksReporting(*progress, failed, total, block, &body);
  }
  for (std::int32_t offset = 0; offset < total; offset += kBlockValues) {
    if (failed) return false;
    body(offset, std::min(kBlockValues, total - offset));
  }
  return !failed;
}

// Sets the in/out `end` of a range from `begin` that becomes `length` new
// values to begin + length. A sum beyond 32 bits belongs to a result no wave
// can hold, which newAround reports; `end` then stays as it was.
inline void SetRangeEnd(std::int32_t begin, std::int64_t length, std::int32_t& end) {
  const std::int64_t sum = begin + length;
  if (sum >= INT32_MIN && sum <= INT32_MAX) end = static_cast<std::int32_t>(sum);
}
