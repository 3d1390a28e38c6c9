#include "sound/blocks.h"

bool ForBlocksReporting(ProgressScope& progress, bool& failed, std::int32_t total,
                        void (*block)(void* body, std::int32_t offset, std::int32_t count),
                        void* body) {
  for (std::int32_t offset = 0; offset < total; offset += kBlockValues) {
    progress.BeforeBlock(failed, offset, total);
    if (failed) return false;
    block(body, offset, std::min(kBlockValues, total - offset));
  }
  progress.LoopEnded(failed);
  return !failed;
}
