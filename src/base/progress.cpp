#include "base/progress.h"

#include "base/userinterface.h"

namespace {
// Per thread: an operation on a worker thread reports through its own scope
// while the user-interface thread may run one of its own.
thread_local ProgressScope* current = nullptr;
}  // namespace

ProgressScope::ProgressScope(Clock::duration interval)
    : interval_(interval), lastReport_(Clock::now()), previous_(current) {
  current = this;
}

ProgressScope::~ProgressScope() { current = previous_; }

void ProgressScope::BeforeBlock(bool& failed, std::int64_t done, std::int64_t total) {
  if (done > 0) {
    const Clock::time_point now = Clock::now();
    if (now - lastReport_ >= interval_) {
      lastReport_ = now;
      loopReported_ = true;
      Ui().Progress(static_cast<double>(done) / static_cast<double>(total));
    }
  }
  // After the report: a Cancel pressed while it was shown stops this block.
  if (CancelRequested()) failed = true;
}

void ProgressScope::LoopEnded(bool failed) {
  // A bar that moved is left full rather than just short of the end.
  if (loopReported_ && !failed) Ui().Progress(1);
  loopReported_ = false;
}

ProgressScope* CurrentProgress() { return current; }
