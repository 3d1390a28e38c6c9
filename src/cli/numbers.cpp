#include <charconv>

#include "cli/cli.h"

bool ParseInteger(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& value) {
  std::int64_t parsed = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, parsed);
  if (text.empty() || error != std::errc() || rest != end) return false;
  if (parsed < min || parsed > max) return false;
  value = parsed;
  return true;
}
