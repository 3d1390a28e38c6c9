#include <array>

#include "cli/cli.h"

namespace {

constexpr std::array kCommands{
    Command{"info", "FILE.wav", "print the format and the length of a WAV file",
            "Prints five lines: channels (1 or 2), frequency (Hz), bits (8 or 16),\n"
            "values (per channel) and length (seconds).\n",
            RunInfo},
    Command{"convert", "IN.wav OUT.wav [--frequency HZ] [--channels 1|2] [--bits 8|16]",
            "write a WAV file in another format",
            "Reads IN.wav and writes it to OUT.wav with the given sample frequency,\n"
            "channel count and sample size; what is not given stays as it is, so\n"
            "without options the file is copied. Two channels become one by\n"
            "averaging them, one becomes two by duplicating it, and the frequency\n"
            "is changed by linear interpolation. OUT.wav may be IN.wav; it is only\n"
            "replaced once the new file is complete.\n",
            RunConvert},
    Command{"help", "[COMMAND]", "show the commands, or the details of one",
            "Without COMMAND lists all commands.\n", RunHelp},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(std::string_view name) {
  for (const Command& command : kCommands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}
