#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/userinterface.h"
#include "sound/sound.h"

// tonbrisk-cli: the command-line front end. Its commands, texts and exit
// codes are a contract that scripts rely on.

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file could not be read or written
inline constexpr int kExitUsage = 2;    // wrong arguments

using Arguments = std::vector<std::string>;

// One row of the command table.
struct Command {
  const char* name;
  const char* synopsis;               // the arguments, after the name
  const char* summary;                // one line for the overview
  const char* details;                // the rest of "help COMMAND"
  int (*run)(const Arguments& args);  // args: everything after the name
};

std::span<const Command> Commands();
const Command* FindCommand(std::string_view name);

// Help texts.
void PrintOverview(std::FILE* out);
void PrintCommandHelp(std::FILE* out, const Command& command);
// "tonbrisk-cli: problem" and the usage of `command` (or the overview) on
// standard error; returns kExitUsage.
int UsageError(const Command* command, const std::string& problem);

// Whole decimal number in min ... max, nothing else in the text.
bool ParseInteger(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& value);
// A position typed as a count of values or as a time with its unit ('1.5 s').
bool ParsePosition(const std::string& text, std::int32_t freq, std::int32_t& position);
// The NAME=FILE.wav of a --wave option, split at the first "="; false when
// there is no "=" or no name before it.
bool ParseNamedWave(const std::string& text, std::pair<std::string, std::string>& wave);

class TUnitMuz;
// Loads a score; a failure is shown ("File Error" for a file that cannot be
// opened, "Input Error" for one that does not read) and gives the exit code.
int LoadScore(const std::string& path, TUnitMuz& unit);

inline constexpr int kExitInput = 2;   // a value that cannot be read
inline constexpr int kExitFailed = 3;  // an operation ran out of memory

// A file argument "-" is standard input (for a WAV input) or standard
// output (for a WAV output).
inline bool IsStandardStream(const std::string& path) { return path == "-"; }
// At most one argument may read standard input and one write standard
// output: a second is a usage error of `command` (kExitUsage), else kExitOk.
int CheckStandardStreams(const Command* command, const std::vector<std::string>& inputs,
                         const std::vector<std::string>& outputs);

// Loads a WAV file ("-": standard input); on failure shows the "File Error"
// message and returns false.
bool LoadSound(const std::string& path, std::unique_ptr<Sound>& sound);
// The same, with the exit code: kExitOk, kExitFailure, or kExitFailed when
// memory ran out.
int LoadSoundCode(const std::string& path, std::unique_ptr<Sound>& sound);
// Saves the whole sound ("-": standard output, as one WAV file); on failure
// shows a "File Error" message and returns false.
bool SaveSound(const Sound& sound, const std::string& path);
// Whether a sound of this format and length can be saved as a WAV file;
// if not, shows why ("Input Error") and returns false.
bool CheckFitsWavFile(int channels, int bytesPSample, std::int64_t freq, std::int64_t values);

// While it lives, a wave longer than a WAV file of this format can hold is
// refused as "too long for a WAV file" before it is computed.
class WavLengthLimit {
 public:
  WavLengthLimit(int channels, int bytesPSample);
  bool Exceeded() const { return limit_.Exceeded(); }

 private:
  WaveLengthLimit limit_;
};

// The command line's user interface: messages on standard error, and the
// progress of a long operation as a percentage on standard error when it
// is a terminal and the operation has run longer than a second.
class CliUserInterface : public StderrUserInterface {
 public:
  // `terminal`: whether `out` shows on a terminal (tests pass their own).
  CliUserInterface(std::FILE* out, bool terminal);
  void Progress(double fraction) override;
  // A new operation: its time counts from now and the line starts afresh.
  void StartOperation();

 private:
  std::FILE* out_;
  bool terminal_;
  std::chrono::steady_clock::time_point start_;
  bool shown_ = false;
};
// StartOperation of the interface in use, if it is the command line's.
void StartOperation();

// The lines `info` prints for a sound.
std::string FormatInfo(const Sound& sound);

// The target format of `convert`; 0 keeps the source's value.
struct TargetFormat {
  std::int32_t frequency = 0;
  int channels = 0;
  int bits = 0;
};

// `sound` in the target format by the steps of the wave Properties command:
// average to mono, set the sample width, change the frequency, duplicate to
// stereo. Null with `failed` set when memory ran out.
std::unique_ptr<Sound> ConvertSound(bool& failed, std::unique_ptr<Sound> sound,
                                    const TargetFormat& target);

int RunInfo(const Arguments& args);
int RunConvert(const Arguments& args);
int RunHelp(const Arguments& args);
int RunApply(const Arguments& args);
int RunCheck(const Arguments& args);
int RunRewrite(const Arguments& args);
int RunRender(const Arguments& args);

enum class TWaveCommand : std::uint8_t;
// "help COMMAND" for a wave command of `apply`: its fields.
void PrintWaveCommandHelp(std::FILE* out, TWaveCommand command);
