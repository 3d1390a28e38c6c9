#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

// Progress and cancel of the long operation running on this thread. Whoever
// runs an operation (the desktop program's worker thread, the command line)
// installs a ProgressScope on that thread for the operation's lifetime. The
// sound core's block loops (ForBlocks) then hand their fractions to
// Ui().Progress, rate-limited, and stop at a cancel request by setting the
// operation's failure flag: the operation ends as after an out-of-memory
// failure, without the message. Without a scope a loop pays one pointer test
// per block.
class ProgressScope {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kDefaultInterval = std::chrono::milliseconds(250);

  // Fractions are reported at most once per `interval`, and once more (1)
  // at the end of a loop that reported any.
  explicit ProgressScope(Clock::duration interval = kDefaultInterval);
  ~ProgressScope();
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

  // Safe from any thread; the operation stops at its next block.
  void RequestCancel() { cancel_.store(true, std::memory_order_release); }
  bool CancelRequested() const { return cancel_.load(std::memory_order_acquire); }

  // For the block loops: before the block that starts at `done` of `total`
  // values, and after the last block.
  void BeforeBlock(bool& failed, std::int64_t done, std::int64_t total);
  void LoopEnded(bool failed);

 private:
  std::atomic<bool> cancel_{false};
  Clock::duration interval_;
  Clock::time_point lastReport_;
  bool loopReported_ = false;
  ProgressScope* previous_;
};

// The scope installed on this thread, or null.
ProgressScope* CurrentProgress();
