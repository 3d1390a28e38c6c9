// The cost of a listener: the one-pass low pass and the volume of
// bench_filter_echo and bench_generate_volume run under a progress scope
// whose interface counts the fractions. Compare with BM_LowPass/1 and
// BM_Volume, which run with nobody listening.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "base/progress.h"
#include "base/userinterface.h"
#include "benchsound.h"
#include "sound/sound.h"

namespace {

class CountingUi : public StderrUserInterface {
 public:
  void Progress(double /*fraction*/) override { ++reports; }
  std::int64_t reports = 0;
};

template <class Op>
void RunListened(benchmark::State& state, Op op) {
  CountingUi ui;
  const ScopedUserInterface scope(ui);
  const Sound& sound = BenchSound();
  for (auto _ : state) {
    const ProgressScope progress;
    bool failed = false;
    std::unique_ptr<Sound> result = op(sound, failed);
    if (failed || !result) state.SkipWithError("operation failed");
    benchmark::DoNotOptimize(result.get());
  }
  state.SetItemsProcessed(state.iterations() * BenchItems(sound));
  state.counters["reports"] =
      benchmark::Counter(static_cast<double>(ui.reports), benchmark::Counter::kAvgIterations);
}

void BM_LowPassListened(benchmark::State& state) {
  RunListened(state, [](const Sound& s, bool& failed) {
    return s.Filter1(failed, &Wave::lowPass, 0.001, 0.5, 1, 1, 0, -1);
  });
}

void BM_VolumeListened(benchmark::State& state) {
  RunListened(state, [](const Sound& s, bool& failed) { return s.Volume(failed, 0.5, 0, -1); });
}

BENCHMARK(BM_LowPassListened)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VolumeListened)->Unit(benchmark::kMillisecond);

}  // namespace
