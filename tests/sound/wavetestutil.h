#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "sound/sound.h"
#include "sound/wave.h"

// Test fixtures built in code: waves from value lists and back.
inline std::unique_ptr<Wave> MakeWave(const std::vector<std::int16_t>& values) {
  bool failed = false;
  auto wave = std::make_unique<Wave>(failed, static_cast<std::int32_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) wave->data()[i] = values[i];
  return wave;
}

inline std::vector<std::int16_t> ValuesOf(const Wave* wave) {
  if (wave == nullptr) return {};
  return std::vector<std::int16_t>(wave->data(), wave->data() + wave->getValues());
}

inline std::vector<std::int16_t> Constant(std::size_t count, std::int16_t value) {
  return std::vector<std::int16_t>(count, value);
}

inline std::vector<std::int16_t> Ramp(std::size_t count, int start = 0, int step = 1) {
  std::vector<std::int16_t> values(count);
  for (std::size_t i = 0; i < count; ++i) {
    values[i] = static_cast<std::int16_t>(start + static_cast<int>(i) * step);
  }
  return values;
}

inline std::unique_ptr<MonoSound> MakeMono(const std::vector<std::int16_t>& values,
                                           std::int32_t freq = 1000, std::int16_t bytes = 2) {
  return std::make_unique<MonoSound>(MakeWave(values), freq, bytes);
}

inline std::unique_ptr<StereoSound> MakeStereo(const std::vector<std::int16_t>& left,
                                               const std::vector<std::int16_t>& right,
                                               std::int32_t freq = 1000, std::int16_t bytes = 2) {
  return std::make_unique<StereoSound>(MakeWave(left), MakeWave(right), freq, bytes);
}
