#include "benchsound.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <string>

#include "sound/wavfile.h"

namespace {

std::unique_ptr<Wave> Tone(double freq, std::uint32_t seed) {
  bool failed = false;
  auto wave = std::make_unique<Wave>(failed, kBenchValues);
  std::int16_t* p = wave->data();
  std::uint32_t state = seed;
  for (std::int32_t i = 0; i < kBenchValues; ++i) {
    state = state * 1664525U + 1013904223U;
    const double noise = static_cast<double>(state >> 20) - 2048;
    p[i] = static_cast<std::int16_t>(
        16000 * std::sin(2 * std::numbers::pi * freq * i / kBenchFreq) + noise);
  }
  return wave;
}

}  // namespace

const Sound& BenchSound() {
  static const std::unique_ptr<Sound> sound = []() -> std::unique_ptr<Sound> {
    if (const char* file = std::getenv("TONBRISK_BENCH_WAV")) {
      std::unique_ptr<Sound> loaded;
      std::string message;
      if (ReadWavFile(file, loaded, message) && loaded->GetMoSt() == 2) return loaded;
    }
    return std::make_unique<StereoSound>(Tone(440, 1), Tone(661, 2), kBenchFreq, 2);
  }();
  return *sound;
}

std::int64_t BenchItems(const Sound& sound) {
  return static_cast<std::int64_t>(sound.GetValues()) * sound.GetMoSt();
}
