// Effects steered by an envelope, and the roll-in, on ten minutes of 44.1 kHz
// stereo held in memory (BenchSound). The envelope is a ramp of 1000 values
// at the sound's own frequency, so it is read as it is, not resampled. Items
// are the values of both channels.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "benchsound.h"
#include "sound/sound.h"
#include "sound/wave.h"

namespace {

const Sound& Ramp() {
  static const std::unique_ptr<Sound> ramp = [] {
    bool failed = false;
    std::unique_ptr<Wave> wave = NewWave(failed, 1000);
    wave->drawLine(0, -20000, 1000, 20000);
    return std::make_unique<MonoSound>(std::move(wave), kBenchFreq, 2);
  }();
  return *ramp;
}

template <class Op>
void RunWhole(benchmark::State& state, Op op) {
  const Sound& sound = BenchSound();
  for (auto _ : state) {
    bool failed = false;
    std::int32_t begin = 0;
    std::int32_t end = sound.GetValues();
    std::unique_ptr<Sound> result = op(sound, failed, begin, end);
    if (failed || !result) state.SkipWithError("operation failed");
    benchmark::DoNotOptimize(result.get());
  }
  state.SetItemsProcessed(state.iterations() * BenchItems(sound));
}

void BM_LowPassEnvelope(benchmark::State& state) {
  RunWhole(state, [](const Sound& s, bool& failed, std::int32_t& begin, std::int32_t& end) {
    return s.Filter1Envelope(failed, &Wave::lowPassEnvelope, Ramp(), 0.5, 1, 1, begin, end);
  });
}

// Two echoes 0.25 s apart whose volume follows the ramp.
void BM_EchoVolumeEnvelope(benchmark::State& state) {
  RunWhole(state, [](const Sound& s, bool& failed, std::int32_t& begin, std::int32_t& end) {
    return s.EchoVolumeEnvelope(failed, 0.25, Ramp(), 2, begin, end);
  });
}

void BM_VolumeEnvelope(benchmark::State& state) {
  RunWhole(state, [](const Sound& s, bool& failed, std::int32_t& begin, std::int32_t& end) {
    return s.VolumeEnvelope(failed, Ramp(), begin, end);
  });
}

// The whole sound folded onto one second.
void BM_RollIn(benchmark::State& state) {
  RunWhole(state, [](const Sound& s, bool& failed, std::int32_t& begin, std::int32_t& end) {
    return s.RollIn(failed, 1, 0, begin, end);
  });
}

BENCHMARK(BM_LowPassEnvelope)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EchoVolumeEnvelope)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VolumeEnvelope)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RollIn)->Unit(benchmark::kMillisecond);

}  // namespace
