#include "base/tbassert.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// "src/sound/wave.cpp" -> "wave": the message names the source file only.
// A family of files split from one ("wave_tempo.cpp") keeps the family's
// name.
std::string_view SourceName(std::string_view path) {
  const auto slash = path.find_last_of("/\\");
  if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
  const auto end = path.find_first_of("._");
  if (end != std::string_view::npos) path = path.substr(0, end);
  return path;
}

}  // namespace

void AssertionFailed(const char* condition, const char* file, int line) {
  const std::string_view source = SourceName(file);
  std::fprintf(stderr, "Assertion failed: \"%s\" in %.*s, line %d\n", condition,
               static_cast<int>(source.size()), source.data(), line);
  std::fflush(stderr);
  std::abort();
}
