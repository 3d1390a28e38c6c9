// Reading and writing a 10-minute 44.1 kHz stereo 16-bit WAV file from the
// page cache, and the elementary wave operations over a sound of that size.
// Rates are over wall-clock time: for file I/O the kernel time counts.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "benchsound.h"
#include "sound/sound.h"
#include "sound/wavfile.h"

namespace {

constexpr std::int32_t kRate = kBenchFreq;
constexpr std::int32_t kValues = kBenchValues;
const std::string kInput = "/tmp/tonbrisk-bench-10min.wav";
const std::string kOutput = "/tmp/tonbrisk-bench-out.wav";

// The sound, made once; also written to kInput for the reading benchmark.
const Sound& TenMinutes() {
  static const Sound* sound = [] {
    const Sound& s = BenchSound();
    bool failed = false;
    if (!WriteWavFile(failed, kInput, s, 0, -1, false)) {
      std::fprintf(stderr, "cannot write %s\n", kInput.c_str());
    }
    return &s;
  }();
  return *sound;
}

std::int64_t SoundBytes(const Sound& sound) {
  return static_cast<std::int64_t>(sound.GetValues()) * sound.GetMoSt() * 2;
}

void BM_ReadWav(benchmark::State& state) {
  const std::int64_t bytes = SoundBytes(TenMinutes()) + 44;
  for (auto _ : state) {
    std::unique_ptr<Sound> sound;
    std::string message;
    if (!ReadWavFile(kInput, sound, message)) state.SkipWithError(message.c_str());
    benchmark::DoNotOptimize(sound.get());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

// Saving over an existing file: the new file is renamed over the old one,
// and the file system may start writing the new data back at that moment.
void BM_WriteWav(benchmark::State& state) {
  const Sound& sound = TenMinutes();
  for (auto _ : state) {
    bool failed = false;
    if (!WriteWavFile(failed, kOutput, sound, 0, -1, false)) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(state.iterations() * (SoundBytes(sound) + 44));
  ::unlink(kOutput.c_str());
}

// Saving under a new name.
void BM_WriteWavNew(benchmark::State& state) {
  const Sound& sound = TenMinutes();
  for (auto _ : state) {
    state.PauseTiming();
    ::unlink(kOutput.c_str());
    state.ResumeTiming();
    bool failed = false;
    if (!WriteWavFile(failed, kOutput, sound, 0, -1, false)) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(state.iterations() * (SoundBytes(sound) + 44));
  ::unlink(kOutput.c_str());
}

// Replaces one minute in the middle by a one-second clip: every value is copied.
void BM_Replace(benchmark::State& state) {
  const Sound& sound = TenMinutes();
  bool failed = false;
  std::unique_ptr<Wave> clip = sound.Channel(0)->extract(failed, 0, kRate);
  for (auto _ : state) {
    for (int c = 0; c < sound.GetMoSt(); ++c) {
      auto result = sound.Channel(c)->replace(failed, *clip, 5 * 60 * kRate, 6 * 60 * kRate);
      benchmark::DoNotOptimize(result.get());
    }
  }
  state.SetBytesProcessed(state.iterations() * SoundBytes(sound));
}

void BM_Mix(benchmark::State& state) {
  const Sound& sound = TenMinutes();
  bool failed = false;
  for (auto _ : state) {
    for (int c = 0; c < sound.GetMoSt(); ++c) {
      auto result = sound.Channel(c)->mix(failed, 0.5, *sound.Channel(1 - c), 0.5, 0, kValues);
      benchmark::DoNotOptimize(result.get());
    }
  }
  state.SetBytesProcessed(state.iterations() * SoundBytes(sound));
}

// Resamples the whole sound to half its length (44.1 kHz read at 22.05 kHz).
void BM_Resize(benchmark::State& state) {
  const Sound& sound = TenMinutes();
  bool failed = false;
  for (auto _ : state) {
    for (int c = 0; c < sound.GetMoSt(); ++c) {
      std::int32_t end = kValues;
      auto result = sound.Channel(c)->resize(failed, kValues / 2, false, 0, end);
      benchmark::DoNotOptimize(result.get());
    }
  }
  state.SetBytesProcessed(state.iterations() * SoundBytes(sound));
}

void BM_MaxAbs(benchmark::State& state) {
  const Sound& sound = TenMinutes();
  for (auto _ : state) {
    for (int c = 0; c < sound.GetMoSt(); ++c) {
      benchmark::DoNotOptimize(sound.Channel(c)->maxAbs(0, kValues));
    }
  }
  state.SetBytesProcessed(state.iterations() * SoundBytes(sound));
}

BENCHMARK(BM_ReadWav)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteWav)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteWavNew)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Replace)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Mix)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Resize)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MaxAbs)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
