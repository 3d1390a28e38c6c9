// Filters, echoes and balance on ten minutes of 44.1 kHz stereo held in
// memory: the file named by TONBRISK_BENCH_WAV when set, otherwise two
// generated tones with a little noise. Items are the values of both channels
// (for Balance, the values of both new channels), so items per second compare
// directly with the copy yardstick.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <string>

#include "benchsound.h"
#include "sound/sound.h"

namespace {

// The left channel alone, for the mono-to-stereo balance.
const Sound& MonoBenchSound() {
  static const std::unique_ptr<Sound> sound = [] {
    bool failed = false;
    const Sound& stereo = BenchSound();
    return std::make_unique<MonoSound>(CopyWave(failed, stereo.GetLeft()), stereo.GetFreq(),
                                       stereo.GetBytesPSample());
  }();
  return *sound;
}

template <class Op>
void Run(benchmark::State& state, const Sound& sound, std::int64_t items, Op op) {
  for (auto _ : state) {
    bool failed = false;
    auto result = op(sound, failed);
    if (failed || !result) state.SkipWithError("operation failed");
    benchmark::DoNotOptimize(result.get());
  }
  state.SetItemsProcessed(state.iterations() * items);
}

// High Low Filter without maximising: countBer = countCmd = count, a 1 kHz
// corner attenuated by 0.5.
void BM_LowPass(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Run(state, BenchSound(), BenchItems(BenchSound()), [count](const Sound& s, bool& failed) {
    return s.Filter1(failed, &Wave::lowPass, 0.001, 0.5, count, count, 0, -1);
  });
}

void BM_HighPass(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Run(state, BenchSound(), BenchItems(BenchSound()), [count](const Sound& s, bool& failed) {
    return s.Filter1(failed, &Wave::highPass, 0.001, 0.5, count, count, 0, -1);
  });
}

// 440 Hz, width 0.01.
void BM_Resonant(benchmark::State& state) {
  Run(state, BenchSound(), BenchItems(BenchSound()), [](const Sound& s, bool& failed) {
    return s.Filter2(failed, true, true, 1.0 / 440, 0.01, nullptr, nullptr, &Wave::resonant,
                     &Wave::resonantFreqEnvelope, &Wave::resonantWidthEnvelope,
                     &Wave::resonantEnvelopes, 0, -1);
  });
}

void BM_Notch(benchmark::State& state) {
  Run(state, BenchSound(), BenchItems(BenchSound()), [](const Sound& s, bool& failed) {
    return s.Filter2(failed, true, true, 1.0 / 440, 0.01, nullptr, nullptr, &Wave::notch,
                     &Wave::notchFreqEnvelope, &Wave::notchWidthEnvelope, &Wave::notchEnvelopes, 0,
                     -1);
  });
}

// Blocks of 1 ms: 44.1 values, a fractional width.
void BM_BlockFilter(benchmark::State& state) {
  Run(state, BenchSound(), BenchItems(BenchSound()), [](const Sound& s, bool& failed) {
    std::int32_t begin = 0;
    std::int32_t end = s.GetValues();
    return s.BlockFilter(failed, 0.001, begin, end);
  });
}

// Four echoes 0.25 s apart (11025 values), each half as loud.
void BM_EchoConstant(benchmark::State& state) {
  Run(state, BenchSound(), BenchItems(BenchSound()), [](const Sound& s, bool& failed) {
    std::int32_t begin = 0;
    std::int32_t end = s.GetValues();
    return s.EchoConstant(failed, 0.25, 0.5, 4, begin, end);
  });
}

// Balance of the left channel to 30 degrees right with one option each:
// 0 time difference, 1 volume difference, 2 head-shadow filter.
void BM_Balance(benchmark::State& state) {
  const int option = static_cast<int>(state.range(0));
  const Sound& mono = MonoBenchSound();
  Run(state, mono, static_cast<std::int64_t>(mono.GetValues()) * 2,
      [option](const Sound& s, bool& failed) {
        return s.Balance(failed, 0.33, option == 0, option == 1, option == 2);
      });
}

BENCHMARK(BM_LowPass)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HighPass)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resonant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlockFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EchoConstant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Balance)->ArgName("option")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
