#pragma once

#include <cstdint>

// The format of a wave: what New wave asks for and what Properties changes.
struct TWaveFileProps {
  std::int32_t Frequency = 44100;
  std::int16_t MonoStereo = 2;    // 1 mono, 2 stereo
  std::int16_t BytesPSample = 2;  // 1 (8 bits) or 2 (16 bits)

  bool operator==(const TWaveFileProps&) const = default;
};
