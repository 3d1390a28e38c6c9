#pragma once

#include <cstdint>

#include "sound/sound.h"

// The sound every benchmark works on: ten minutes of 44.1 kHz stereo held in
// memory. It is the file named by TONBRISK_BENCH_WAV when that is set (so a
// comparison with other tools runs on the same samples), otherwise two tones
// with a little noise, so that every interpolation and filter has real work.
inline constexpr std::int32_t kBenchFreq = 44100;
inline constexpr std::int32_t kBenchValues = kBenchFreq * 600;

const Sound& BenchSound();

// Values of all channels: items per second then compare directly with the
// copy yardstick.
std::int64_t BenchItems(const Sound& sound);
