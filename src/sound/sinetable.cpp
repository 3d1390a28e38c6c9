#include "sound/sinetable.h"

#include <cmath>
#include <new>
#include <numbers>

#include "base/allocation.h"
#include "base/sampleconv.h"
#include "base/userinterface.h"

namespace {
std::unique_ptr<Wave> sinus;
}  // namespace

bool CreateSineTable() {
  sinus.reset();
  // Allocated here rather than through NewWave: the one message the user
  // gets for a missing table is the one below.
  std::unique_ptr<std::int16_t[]> values;
  if (!InjectedAllocationFailure()) {
    values.reset(new (std::nothrow) std::int16_t[kSineTableValues]);
  }
  if (!values) {
    ShowMessage("System Error", "Could not create sinus.", MessageIcon::Error);
    return false;
  }
  const double twoPi = 2 * std::numbers::pi;
  for (std::int32_t i = 0; i < kSineTableValues; ++i) {
    values[i] = TruncSample(std::sin(twoPi * i / kSineTableValues) * 32767);
  }
  sinus = std::make_unique<Wave>(std::move(values), kSineTableValues);
  return true;
}

void DestroySineTable() { sinus.reset(); }

const Wave* SineTable() { return sinus.get(); }
