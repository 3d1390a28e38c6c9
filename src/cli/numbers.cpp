#include <algorithm>
#include <charconv>

#include "cli/cli.h"
#include "units/unitvalues.h"

bool ParseInteger(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& value) {
  std::int64_t parsed = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, parsed);
  if (text.empty() || error != std::errc() || rest != end) return false;
  if (parsed < min || parsed > max) return false;
  value = parsed;
  return true;
}

// A position typed as a count of values or as a time with its unit.
bool ParsePosition(const std::string& text, std::int32_t freq, std::int32_t& position) {
  std::int64_t values = 0;
  if (ParseInteger(text, 0, INT32_MAX, values)) {
    position = static_cast<std::int32_t>(values);
    return true;
  }
  unitTimePos time;
  std::string message;
  if (!time.ReadFromText(text, "Position", message)) return false;
  position = static_cast<std::int32_t>(std::min(time.GetValue() * freq, double{INT32_MAX}));
  return true;
}

bool ParseNamedWave(const std::string& text, std::pair<std::string, std::string>& wave) {
  const auto equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  wave = {text.substr(0, equals), text.substr(equals + 1)};
  return true;
}
