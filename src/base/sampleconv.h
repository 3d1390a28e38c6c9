#pragma once

#include <cmath>
#include <cstdint>

// A real result becomes a sample by truncation toward zero, keeping the low
// 16 bits (two's complement wrap-around). Out-of-range reals are first
// truncated into 64 bits, whose low 16 bits are the same as a wider integer's.
inline std::int16_t TruncSample(double value) {
  if (!(std::fabs(value) < 9.2e18)) return 0;  // NaN or beyond any sample arithmetic
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::int64_t>(value)));
}

// Integer truncation toward zero for counts and indices (no wrap). Values
// beyond 32 bits saturate, so an absurd duration asks for too much memory
// instead of being undefined.
inline std::int32_t TruncInt(double value) {
  if (!(value > -2147483648.0)) return value != value ? 0 : INT32_MIN;
  if (!(value < 2147483647.0)) return INT32_MAX;
  return static_cast<std::int32_t>(value);
}

// 16-bit addition with wrap-around.
inline std::int16_t AddSamples(std::int16_t a, std::int16_t b) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(a) + static_cast<std::uint16_t>(b));
}

inline std::int16_t WrapSample(std::int32_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}
