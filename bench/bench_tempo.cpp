// Length, tempo and pitch on ten minutes of 44.1 kHz stereo held in memory:
// the file named by TONBRISK_BENCH_WAV when set (so a comparison with other
// tools runs on the same samples), otherwise a generated busy signal. Items
// are source values of both channels, so items per second compare directly
// with the copy yardstick (BM_CopyYardstick).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "benchsound.h"
#include "sound/sound.h"
#include "sound/wave.h"

namespace {

void Finish(benchmark::State& state, const Sound& sound) {
  state.SetItemsProcessed(state.iterations() * BenchItems(sound));
}

void BM_LengthFactor(benchmark::State& state) {
  const Sound& sound = BenchSound();
  for (auto _ : state) {
    bool failed = false;
    std::int32_t begin = 0;
    std::int32_t end = sound.GetValues();
    auto result = sound.Length(failed, 1.5, begin, end);
    benchmark::DoNotOptimize(result.get());
    if (failed) state.SkipWithError("out of memory");
  }
  Finish(state, sound);
}

// Tempo 1.25 at the same pitch, as a time-stretch tool does it: the result
// is 1 / 1.25 of the length, read in blocks of 40 ms.
void TempoPitchBench(benchmark::State& state, int method) {
  const Sound& sound = BenchSound();
  for (auto _ : state) {
    bool failed = false;
    std::int32_t begin = 0;
    std::int32_t end = sound.GetValues();
    auto result = sound.TempoPitch(failed, 1.25, 0, 1 / 1.25, 1, 0.04, method, begin, end);
    benchmark::DoNotOptimize(result.get());
    if (failed) state.SkipWithError("out of memory");
  }
  Finish(state, sound);
}

void BM_TempoPitchBlocks(benchmark::State& state) { TempoPitchBench(state, 0); }
void BM_TempoPitchCross(benchmark::State& state) { TempoPitchBench(state, 1); }

}  // namespace

BENCHMARK(BM_LengthFactor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TempoPitchBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TempoPitchCross)->Unit(benchmark::kMillisecond);
