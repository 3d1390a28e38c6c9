#include "base/allocation.h"

#include <cstdint>

#include "base/userinterface.h"
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
int allocationsBeforeFailure = -1;
}

void ReportOutOfMemory(bool& failed) {
  failed = true;
  ShowMessage("System Error", kOutOfMemoryText, MessageIcon::Information);
}

void FailAllocationAfter(int successes) { allocationsBeforeFailure = successes; }

bool InjectedAllocationFailure() {
  if (allocationsBeforeFailure < 0) return false;
  if (allocationsBeforeFailure > 0) {
    --allocationsBeforeFailure;
    return false;
  }
  allocationsBeforeFailure = -1;
  return true;
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
