#include <cinttypes>

#include "cli/cli.h"

namespace {

// Seconds with five decimals, truncated like every number the program writes.
std::string Seconds(std::int64_t values, std::int64_t freq) {
  const std::int64_t units = values * 100000 / freq;
  char text[64];
  std::snprintf(text, sizeof text, "%" PRId64 ".%05" PRId64, units / 100000, units % 100000);
  return text;
}

}  // namespace

std::string FormatInfo(const Sound& sound) {
  std::string text;
  text += "channels: " + std::to_string(sound.GetMoSt()) + "\n";
  text += "frequency: " + std::to_string(sound.GetFreq()) + "\n";
  text += "bits: " + std::to_string(8 * sound.GetBytesPSample()) + "\n";
  text += "values: " + std::to_string(sound.GetValues()) + "\n";
  text += "length: " + Seconds(sound.GetValues(), sound.GetFreq()) + "\n";
  return text;
}

int RunInfo(const Arguments& args) {
  const Command* info = FindCommand("info");
  if (args.size() != 1) return UsageError(info, "info takes one file name");
  if (args[0].starts_with("--")) return UsageError(info, "unknown option \"" + args[0] + "\"");
  std::unique_ptr<Sound> sound;
  if (!LoadSound(args[0], sound)) return kExitFailure;
  const std::string text = FormatInfo(*sound);
  std::fputs(text.c_str(), stdout);
  return kExitOk;
}
