#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <limits>

#include "base/userinterface.h"
#include "cli/cli.h"
#include "documents/unit.h"
#include "sound/wavfile.h"

int CheckStandardStreams(const Command* command, const std::vector<std::string>& inputs,
                         const std::vector<std::string>& outputs) {
  const auto count = [](const std::vector<std::string>& paths) {
    int n = 0;
    for (const std::string& path : paths) n += IsStandardStream(path) ? 1 : 0;
    return n;
  };
  if (count(inputs) > 1) return UsageError(command, "only one file can be standard input (\"-\")");
  if (count(outputs) > 1) {
    return UsageError(command, "only one file can be standard output (\"-\")");
  }
  return kExitOk;
}

int LoadSoundCode(const std::string& path, std::unique_ptr<Sound>& sound) {
  std::string message;
  const bool read = IsStandardStream(path) ? ReadWavStream(STDIN_FILENO, sound, message)
                                           : ReadWavFile(path, sound, message);
  if (read) return kExitOk;
  // The reader's message follows the quoted name without a separator.
  ShowMessage("File Error", "Cannot read the file: \"" + path + "\"" + message,
              MessageIcon::Information);
  // Memory is the operation failing, not the file.
  return message == kWavOutOfMemory ? kExitFailed : kExitFailure;
}

bool LoadSound(const std::string& path, std::unique_ptr<Sound>& sound) {
  return LoadSoundCode(path, sound) == kExitOk;
}

bool SaveSound(const Sound& sound, const std::string& path) {
  bool failed = false;
  if (IsStandardStream(path)) {
    // Whatever the library buffered must not end up inside the WAV data.
    std::fflush(stdout);
    if (WriteWavStream(STDOUT_FILENO, sound)) return true;
  } else if (sound.Save(failed, path, false, 0, sound.GetValues())) {
    return true;
  }
  ShowCannotWrite(path);
  return false;
}

namespace {
constexpr const char* kTooLongText = "The result is too long for a WAV file.";
}  // namespace

bool CheckFitsWavFile(int channels, int bytesPSample, std::int64_t freq, std::int64_t values) {
  if (FitsWavFile(channels, bytesPSample, freq, values)) return true;
  ShowMessage("Input Error", kTooLongText, MessageIcon::Information);
  return false;
}

WavLengthLimit::WavLengthLimit(int channels, int bytesPSample)
    // The data size field is 32-bit and counts the 36 header bytes after it,
    // as FitsWavFile says; a count that saturated (2^31 - 1) is too long too.
    : limit_(std::min<std::int64_t>((std::int64_t{std::numeric_limits<std::uint32_t>::max()} - 36) /
                                        (std::int64_t{channels} * bytesPSample),
                                    kMaxWaveValues),
             kTooLongText) {}

CliUserInterface::CliUserInterface(std::FILE* out, bool terminal)
    : out_(out), terminal_(terminal), start_(std::chrono::steady_clock::now()) {}

void CliUserInterface::StartOperation() {
  start_ = std::chrono::steady_clock::now();
  shown_ = false;
}

void CliUserInterface::Progress(double fraction) {
  // A pipe or a log file gets no carriage returns; a short run no flicker.
  if (!terminal_) return;
  if (fraction >= 1) {
    if (shown_) std::fputs("\r      \r", out_);
    shown_ = false;
    std::fflush(out_);
    return;
  }
  if (!shown_ && std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) return;
  shown_ = true;
  std::fprintf(out_, "\r%3d %%", static_cast<int>(fraction * 100));
  std::fflush(out_);
}

void StartOperation() {
  if (auto* ui = dynamic_cast<CliUserInterface*>(&Ui())) ui->StartOperation();
}
