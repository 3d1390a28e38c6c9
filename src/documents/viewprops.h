#pragma once

#include <cstdint>

#include "units/unitvalues.h"

struct TColor {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
  bool operator==(const TColor&) const = default;
};

inline constexpr TColor kColorBlack{0, 0, 0};
inline constexpr TColor kColorWhite{255, 255, 255};
inline constexpr TColor kColorGrey{128, 128, 128};
inline constexpr TColor kColorRed{255, 0, 0};
inline constexpr TColor kColorTeal{0, 128, 128};
inline constexpr TColor kColorFuchsia{255, 0, 255};

// Settings of the wave view ("Wave View").
struct TWaveViewProps {
  std::uint8_t Draw = 0;                  // 0 "Lines", 1 "Points"
  std::uint8_t Distribution = 0;          // 0 "Constant", 1 "Random"
  unitIntegerPosMore ValuesPerPixel{15};  // "Values per Pixel"
  bool DrawGrid = true;
  TColor GridColor = kColorGrey;
  unitFactorPosMore Strength{1};  // "Strength"
  TColor Background = kColorWhite;
  TColor SingleWave = kColorBlack;
  bool TwoWaves = true;
  TColor Left = kColorRed;
  TColor Right = kColorTeal;
  std::uint8_t Combine = 0;  // 0 "Mixed", 1 "Left at Front", 2 "Right at Front"
};

// Settings of the volume view ("Volume Diagram"). Top and Bottom are the
// periods of the highest and the lowest band.
struct TVoldViewProps {
  unitTimePosMore Top{5e-05, kUnitKHz};   // "Top Frequency", 20 kHz
  unitTimePosMore Bottom{0.05, kUnitHz};  // "Bottom Frequency", 20 Hz
  unitIntegerPosMore Vertical{50};        // "Vertical Resolution"
  unitFactorPosMore Width{1};             // "Frequency Width"
  std::uint8_t HorDistribution = 1;       // 0 "Frequency Linear", 1 "Logaritmic", 2 "Time Linear"
  bool TwoDiagrams = true;
  std::uint8_t Sensitivity = 1;     // 0 "Low (Kwadratic)" ... 3 "Very High (Fourth root)"
  unitFactorPosMore Strength{1.3};  // "Strength"
  TColor Background = kColorBlack;
  TColor Single = kColorWhite;
  TColor Left = kColorRed;
  TColor Right = kColorTeal;
  TColor Cursor = kColorFuchsia;
};
