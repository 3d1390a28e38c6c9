#pragma once

#include <cstddef>
#include <memory>
#include <new>

// Sample memory is the one resource the sound core can run out of. Every
// large allocation goes through here so that a failure is reported once, in
// one wording, and sets the caller's failure flag.

inline constexpr const char* kOutOfMemoryText = "There is not enough memmory for this operation.";

// Shows the "System Error" box and sets the flag.
void ReportOutOfMemory(bool& failed);

// Test hook: the next `successes` allocations succeed, the one after fails
// (once). A negative value switches the injection off.
void FailAllocationAfter(int successes);

// True when an injected failure is due now; consumes it.
bool InjectedAllocationFailure();

// Asks the system to back a long array with large pages: sample arrays are
// written once from start to end, and most of the cost of that first write
// is page faults. Only a hint; a system without it ignores it.
void AdviseLargePages(void* memory, std::size_t bytes);

// `count` uninitialised elements, or null after ReportOutOfMemory.
template <class T>
std::unique_ptr<T[]> AllocateArray(bool& failed, std::size_t count) {
  if (InjectedAllocationFailure()) {
    ReportOutOfMemory(failed);
    return nullptr;
  }
  std::unique_ptr<T[]> array(new (std::nothrow) T[count]);
  if (!array) {
    ReportOutOfMemory(failed);
    return nullptr;
  }
  AdviseLargePages(array.get(), sizeof(T) * count);
  return array;
}
