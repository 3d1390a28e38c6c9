#pragma once

#include <algorithm>
#include <cstdint>

#include "sound/wave.h"

// Runs `body(offset, count)` over 0 ... total in blocks of at most
// kBlockValues, testing the failure flag before each block. Returns false
// when it stopped because the flag was set.
template <class Body>
bool ForBlocks(const bool& failed, std::int32_t total, Body body) {
  for (std::int32_t offset = 0; offset < total; offset += kBlockValues) {
    if (failed) return false;
    body(offset, std::min(kBlockValues, total - offset));
  }
  return !failed;
}
