#include "cli/cli.h"
#include "units/writers.h"

std::string FormatInfo(const Sound& sound) {
  std::string text;
  text += "channels: " + std::to_string(sound.GetMoSt()) + "\n";
  text += "frequency: " + std::to_string(sound.GetFreq()) + "\n";
  text += "bits: " + std::to_string(8 * sound.GetBytesPSample()) + "\n";
  text += "values: " + std::to_string(sound.GetValues()) + "\n";
  text += "length: " + FormatTime(sound.GetSeconds()) + "\n";
  // The data size as the status bar shows it.
  const std::int64_t bytes =
      static_cast<std::int64_t>(sound.GetValues()) * sound.GetMoSt() * sound.GetBytesPSample();
  text += "size: " + FormatDataSize(bytes) + "\n";
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
