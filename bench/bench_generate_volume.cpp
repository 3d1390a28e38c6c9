// Generators and volume/shape operations on ten minutes of 44.1 kHz stereo
// held in memory: the file named by TONBRISK_BENCH_WAV when set, otherwise
// two generated tones. Items are values of both channels, so items per
// second compare directly with the copy yardstick.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>

#include "benchsound.h"
#include "sound/sinetable.h"
#include "sound/sound.h"

namespace {

// The yardstick of memory speed: the samples copied into new buffers.
void BM_CopyYardstick(benchmark::State& state) {
  const Sound& sound = BenchSound();
  const auto values = static_cast<std::size_t>(sound.GetValues());
  for (auto _ : state) {
    for (int c = 0; c < sound.GetMoSt(); ++c) {
      std::unique_ptr<std::int16_t[]> copy(new std::int16_t[values]);
      std::memcpy(copy.get(), sound.Channel(c)->data(), values * sizeof(std::int16_t));
      benchmark::DoNotOptimize(copy.get());
      benchmark::ClobberMemory();
    }
  }
  state.SetItemsProcessed(state.iterations() * BenchItems(sound));
}

template <class Op>
void RunWhole(benchmark::State& state, Op op) {
  const Sound& sound = BenchSound();
  for (auto _ : state) {
    bool failed = false;
    std::unique_ptr<Sound> result = op(sound, failed);
    if (failed || !result) state.SkipWithError("operation failed");
    benchmark::DoNotOptimize(result.get());
  }
  state.SetItemsProcessed(state.iterations() * BenchItems(sound));
}

void BM_Volume(benchmark::State& state) {
  RunWhole(state, [](const Sound& s, bool& failed) { return s.Volume(failed, 0.5, 0, -1); });
}

void BM_Reverse(benchmark::State& state) {
  RunWhole(state, [](const Sound& s, bool& failed) { return s.Reverse(failed, 0, -1); });
}

void BM_Up(benchmark::State& state) {
  RunWhole(state, [](const Sound& s, bool& failed) { return s.Up(failed, 1000, 0, -1); });
}

// Blocks of 0.1 ms (4.41 values) quantised to 256 levels.
void BM_Block(benchmark::State& state) {
  RunWhole(state, [](const Sound& s, bool& failed) { return s.Block(failed, 0.0001, 256, 0, -1); });
}

// Ten minutes of a 440 Hz sine in both channels of an empty sound.
void BM_Sinus(benchmark::State& state) {
  SineTableLifetime table;
  const StereoSound empty(kBenchFreq, 2);
  for (auto _ : state) {
    bool failed = false;
    std::int32_t begin = 0;
    std::int32_t end = 0;
    auto result = empty.Sinus(failed, 20000, -20000, 1.0 / 440, 600 * 440, 0, begin, end);
    if (failed || !result) state.SkipWithError("sinus failed");
    benchmark::DoNotOptimize(result.get());
  }
  state.SetItemsProcessed(state.iterations() * 2 * kBenchValues);
}

// Ten minutes of 8 decaying partials in both channels of an empty sound.
void BM_MultiFreq(benchmark::State& state) {
  SineTableLifetime table;
  constexpr int kPartials = 8;
  double volumes[kPartials], periods[kPartials], times[kPartials], factors[kPartials],
      angles[kPartials];
  for (int k = 0; k < kPartials; ++k) {
    volumes[k] = 0.4 / (k + 1);
    periods[k] = 1.0 / (220.0 * (k + 1));
    times[k] = 60;
    factors[k] = 0.5;
    angles[k] = 0.1 * k;
  }
  const StereoSound empty(kBenchFreq, 2);
  for (auto _ : state) {
    bool failed = false;
    std::int32_t begin = 0;
    std::int32_t end = 0;
    auto result = empty.MultiFreq(failed, 600, kPartials, volumes, periods, times, factors, angles,
                                  begin, end);
    if (failed || !result) state.SkipWithError("multiFreq failed");
    benchmark::DoNotOptimize(result.get());
  }
  state.SetItemsProcessed(state.iterations() * 2 * kBenchValues);
}

BENCHMARK(BM_CopyYardstick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Volume)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reverse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Up)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Block)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sinus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MultiFreq)->Unit(benchmark::kMillisecond);

}  // namespace
