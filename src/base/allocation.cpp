#include "base/allocation.h"

#include "base/userinterface.h"

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
