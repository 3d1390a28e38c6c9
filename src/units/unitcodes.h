#pragma once

#include <cstdint>

// Codes of the units a number may be typed in. The same code is what a unit
// value remembers as the unit to show itself in.
inline constexpr std::uint8_t kUnitNone = 0;
inline constexpr std::uint8_t kUnitPercent = 1;
inline constexpr std::uint8_t kUnitDB = 2;
inline constexpr std::uint8_t kUnitSeconds = 3;
inline constexpr std::uint8_t kUnitMilliseconds = 4;
inline constexpr std::uint8_t kUnitHz = 5;
inline constexpr std::uint8_t kUnitKHz = 6;
inline constexpr std::uint8_t kUnitSample = 7;   // "$", a raw sample value
inline constexpr std::uint8_t kUnitDegrees = 8;  // "'"
// Never typed: a balance angle read in degrees shows itself with this code.
inline constexpr std::uint8_t kUnitBalanceDegrees = 9;
inline constexpr std::uint8_t kUnitUnknown = 11;

// Restrictions a reader tests a value against after a successful read.
inline constexpr std::uint8_t kRestrictNone = 0;
inline constexpr std::uint8_t kRestrictNotZero = 1;       // != 0
inline constexpr std::uint8_t kRestrictNegative = 2;      // <= 0
inline constexpr std::uint8_t kRestrictPositive = 3;      // >= 0
inline constexpr std::uint8_t kRestrictNegativeLess = 4;  // < 0
inline constexpr std::uint8_t kRestrictPositiveMore = 5;  // > 0
inline constexpr std::uint8_t kRestrictMax1 = 6;          // 0 ... 1
inline constexpr std::uint8_t kRestrictBetween01 = 7;     // > 0 and < 1

// Comparisons of an integer with a limit L.
inline constexpr std::uint8_t kCompareUnequal = 1;    // != L
inline constexpr std::uint8_t kCompareLessEqual = 2;  // <= L
inline constexpr std::uint8_t kCompareMoreEqual = 3;  // >= L
inline constexpr std::uint8_t kCompareLess = 4;       // < L
inline constexpr std::uint8_t kCompareMore = 5;       // > L
