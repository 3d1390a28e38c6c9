#pragma once

#include <array>
#include <cstdint>
#include <string>

class TUnitWave;

// The frequency in kHz with one to three decimals, trailing zeros dropped:
// '44.1 kHz', '22.05 kHz', '8.0 kHz', '11.025 kHz'.
std::string FrequencyKHzText(std::int32_t hertz);

// The texts of the status panels 2 to 7 for the active wave document:
// length, frequency, bits, channels, data size and save state.
std::array<std::string, 6> WaveStatusTexts(const TUnitWave& unitWave);
