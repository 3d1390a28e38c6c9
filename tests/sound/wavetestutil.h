#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
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

// A wave-level case: `run` on `input` over begin ... end gives `expected`,
// returns the range begin ... endOut and leaves `input` as it was.
struct WaveCase {
  std::string name;
  std::vector<std::int16_t> input;
  std::int32_t begin, end, endOut;
  std::function<std::unique_ptr<Wave>(const Wave&, bool&, std::int32_t&, std::int32_t&)> run;
  std::vector<std::int16_t> expected;
};

inline void ExpectWaves(const std::vector<WaveCase>& cases) {
  for (const WaveCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto wave = MakeWave(c.input);
    bool failed = false;
    std::int32_t begin = c.begin;
    std::int32_t end = c.end;
    const std::unique_ptr<Wave> result = c.run(*wave, failed, begin, end);
    EXPECT_FALSE(failed);
    EXPECT_EQ(ValuesOf(result.get()), c.expected);
    EXPECT_EQ(begin, c.begin);
    EXPECT_EQ(end, c.endOut);
    EXPECT_EQ(ValuesOf(wave.get()), c.input);
  }
}

// A sound-level case: `run` over begin ... end gives a sound whose channels
// must hold `channels`, and returns the range begin ... endOut.
struct SoundCase {
  std::string name;
  std::int32_t begin, end, endOut;
  std::function<std::unique_ptr<Sound>(bool&, std::int32_t&, std::int32_t&)> run;
  std::vector<std::vector<std::int16_t>> channels;
};

inline void ExpectSounds(const std::vector<SoundCase>& cases) {
  for (const SoundCase& c : cases) {
    SCOPED_TRACE(c.name);
    bool failed = false;
    std::int32_t begin = c.begin;
    std::int32_t end = c.end;
    const std::unique_ptr<Sound> result = c.run(failed, begin, end);
    EXPECT_FALSE(failed);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(begin, c.begin);
    EXPECT_EQ(end, c.endOut);
    ASSERT_EQ(result->GetMoSt(), static_cast<int>(c.channels.size()));
    for (int channel = 0; channel < result->GetMoSt(); ++channel) {
      EXPECT_EQ(ValuesOf(result->Channel(channel)), c.channels[channel]) << "channel " << channel;
    }
  }
}
