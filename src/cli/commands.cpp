#include <array>

#include "cli/cli.h"

namespace {

constexpr std::array kCommands{
    Command{"info", "FILE.wav", "print the format and the length of a WAV file",
            "Prints six lines: channels (1 or 2), frequency (Hz), bits (8 or 16),\n"
            "values (per channel), length (as the status bar writes it, e.g.\n"
            "'1:15.50000') and size (the sample data, e.g. '1.72 kb').\n",
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
    Command{"apply",
            "IN.wav OUT.wav COMMAND [LABEL=VALUE ...] [-- COMMAND [LABEL=VALUE ...] ...] "
            "[options]",
            "run wave commands on a WAV file and write the result",
            "Opens IN.wav as a wave document, runs the commands on it in order and\n"
            "writes the result to OUT.wav. COMMAND is a wave command of the editor:\n"
            "$WAVE_COMMANDS"
            "LABEL=VALUE sets a field of the command's dialog, read exactly as the\n"
            "dialog reads it ('Constant=-6 dB', 'Kind=Exponential',\n"
            "'Frequency[2]=880 Hz'); fields not given keep their defaults. Run\n"
            "\"tonbrisk-cli help COMMAND\" for the fields of a command.\n"
            "Options:\n"
            "  --select LOW HIGH      select values LOW ... HIGH (counts, or times: '1.5 s')\n"
            "  --cursor POS           put the cursor at POS\n"
            "  --wave NAME=FILE.wav   open FILE.wav as a wave registered as NAME (envelopes)\n"
            "  --clipboard FILE.wav   fill the clipboard (EditPaste, EditSwap, EditMix)\n"
            "  --clipboard-out FILE   write the clipboard after the commands\n"
            "  --print-selection      print 'selection: LOW HIGH' after the commands\n"
            "Exit codes: 0 done, 1 a file could not be read or written, 2 wrong usage\n"
            "or a value that cannot be read, 3 an operation that ran out of memory.\n",
            RunApply},
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
