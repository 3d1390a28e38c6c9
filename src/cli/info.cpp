#include <unistd.h>

#include "base/userinterface.h"
#include "cli/cli.h"
#include "sound/wavfile.h"
#include "units/writers.h"

namespace {

std::string FormatInfo(int channels, std::int32_t freq, int bytesPSample, std::int32_t values) {
  std::string text;
  text += "channels: " + std::to_string(channels) + "\n";
  text += "frequency: " + std::to_string(freq) + "\n";
  text += "bits: " + std::to_string(8 * bytesPSample) + "\n";
  text += "values: " + std::to_string(values) + "\n";
  text += "length: " + FormatTime(static_cast<double>(values) / freq) + "\n";
  // The data size as the status bar shows it.
  const std::int64_t bytes = std::int64_t{values} * channels * bytesPSample;
  text += "size: " + FormatDataSize(bytes) + "\n";
  return text;
}

}  // namespace

std::string FormatInfo(const Sound& sound) {
  return FormatInfo(sound.GetMoSt(), sound.GetFreq(), sound.GetBytesPSample(), sound.GetValues());
}

int RunInfo(const Arguments& args) {
  const Command* info = FindCommand("info");
  if (args.size() != 1) return UsageError(info, "info takes one file name");
  if (args[0].starts_with("--")) return UsageError(info, "unknown option \"" + args[0] + "\"");
  // The header tells everything: no sample is loaded, whatever the length.
  const std::string& path = args[0];
  WavInfo header;
  std::string message;
  const bool read = IsStandardStream(path) ? ReadWavStreamInfo(STDIN_FILENO, header, message)
                                           : ReadWavFileInfo(path, header, message);
  if (!read) {
    // The reader's message follows the quoted name without a separator.
    ShowMessage("File Error", "Cannot read the file: \"" + path + "\"" + message,
                MessageIcon::Information);
    return kExitFailure;
  }
  std::string text = FormatInfo(header.channels, header.freq, header.bytesPSample, header.values);
  // Only converted samples add a line, so a plain file's six lines stay as
  // they always were.
  if (header.source.Converted()) text += "source: " + header.source.Text() + "\n";
  std::fputs(text.c_str(), stdout);
  return kExitOk;
}
