#include "documents/status.h"

#include "documents/unitwave.h"
#include "units/writers.h"

std::string FrequencyKHzText(std::int32_t hertz) {
  // Whole hertz are exactly three decimals of kHz: written from the integer,
  // no rounding can creep in.
  std::string fraction = std::to_string(hertz % 1000);
  fraction.insert(0, 3 - fraction.size(), '0');
  while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
  return std::to_string(hertz / 1000) + "." + fraction + " kHz";
}

std::array<std::string, 6> WaveStatusTexts(const TUnitWave& unitWave) {
  const std::int32_t values = unitWave.GetValues();
  const std::int32_t freq = unitWave.GetFrequency();
  const std::int16_t bytes = unitWave.GetBytesPSample();
  const std::int16_t channels = unitWave.GetMonoStereo();
  std::array<std::string, 6> panels;
  panels[0] = FormatTime(static_cast<double>(values) / freq);
  panels[1] = FrequencyKHzText(freq);
  panels[2] = bytes == 2 ? "16" : "8";
  panels[3] = channels == 2 ? "ST" : "MO";
  panels[4] = FormatDataSize(static_cast<std::int64_t>(values) * channels * bytes);
  switch (unitWave.GetState()) {
    case TUnitState::New:
      panels[5] = "New";
      break;
    case TUnitState::Saved:
      panels[5] = "";
      break;
    case TUnitState::Changed:
      panels[5] = "Changed";
      break;
    default:
      panels[5] = "???";
      break;
  }
  return panels;
}
