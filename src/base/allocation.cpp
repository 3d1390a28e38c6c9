#include "base/allocation.h"

#include <atomic>
#include <cstdint>

#include "base/userinterface.h"
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
// Atomic: a test may arm it on one thread for an operation on another.
std::atomic<int> allocationsBeforeFailure{-1};
}  // namespace

void ReportOutOfMemory(bool& failed) {
  failed = true;
  ShowMessage("System Error", kOutOfMemoryText, MessageIcon::Information);
}

void FailAllocationAfter(int successes) { allocationsBeforeFailure = successes; }

bool InjectedAllocationFailure() {
  int left = allocationsBeforeFailure.load();
  for (;;) {
    if (left < 0) return false;
    // A success counts down; the failure that is due switches the hook off.
    const int next = left > 0 ? left - 1 : -1;
    if (allocationsBeforeFailure.compare_exchange_weak(left, next)) return left == 0;
  }
}

void AdviseLargePages(void* memory, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only the whole 2 MB pages inside the array; shorter arrays gain nothing.
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} * 1024 * 1024;
  const auto address = reinterpret_cast<std::uintptr_t>(memory);
  const std::uintptr_t begin = (address + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t end = (address + bytes) & ~(kLargePage - 1);
  if (end > begin) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): an address rounded to a page
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  }
#else
  static_cast<void>(memory);
  static_cast<void>(bytes);
#endif
}
