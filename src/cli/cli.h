#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// Loads a WAV file; on failure shows the "File Error" message and returns false.
bool LoadSound(const std::string& path, std::unique_ptr<Sound>& sound);
// Saves the whole sound; on failure shows a "File Error" message and returns false.
bool SaveSound(const Sound& sound, const std::string& path);

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

enum class TWaveCommand : std::uint8_t;
// "help COMMAND" for a wave command of `apply`: its fields.
void PrintWaveCommandHelp(std::FILE* out, TWaveCommand command);
