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

#include "sound/sound.h"
#include "sound/wave.h"
#include "sound/wavfile.h"

namespace {

constexpr std::int32_t kTempoFreq = 44100;
constexpr std::int32_t kTempoValues = kTempoFreq * 600;

std::unique_ptr<Wave> TempoTestWave(std::uint32_t seed) {
  bool failed = false;
  auto wave = std::make_unique<Wave>(failed, kTempoValues);
  std::int16_t* p = wave->data();
  // A cheap generator: every interpolation has real work to do.
  std::uint32_t state = seed;
  for (std::int32_t i = 0; i < kTempoValues; ++i) {
    state = state * 1664525u + 1013904223u;
    p[i] = static_cast<std::int16_t>(state >> 16);
  }
  return wave;
}

std::unique_ptr<Sound> LoadTenMinutes() {
  if (const char* file = std::getenv("TONBRISK_BENCH_WAV")) {
    std::unique_ptr<Sound> sound;
    std::string message;
    if (ReadWavFile(file, sound, message) && sound->GetMoSt() == 2) return sound;
  }
  return std::make_unique<StereoSound>(TempoTestWave(1), TempoTestWave(2), kTempoFreq, 2);
}

const Sound& TenMinutes() {
  static const std::unique_ptr<Sound> sound = LoadTenMinutes();
  return *sound;
}

void Finish(benchmark::State& state, const Sound& sound) {
  state.SetItemsProcessed(state.iterations() * 2 * static_cast<std::int64_t>(sound.GetValues()));
}

void BM_LengthFactor(benchmark::State& state) {
  const Sound& sound = TenMinutes();
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
  const Sound& sound = TenMinutes();
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
