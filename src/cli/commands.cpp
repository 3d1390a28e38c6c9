#include <array>

#include "cli/cli.h"

namespace {

constexpr std::array kCommands{
    Command{"info", "FILE.wav", "print the format and the length of a WAV file",
            "Prints six lines: channels (1 or 2), frequency (Hz), bits (8 or 16),\n"
            "values (per channel), length (as the status bar writes it, e.g.\n"
            "'1:15.50000') and size (the sample data, e.g. '1.72 kb'). A file whose\n"
            "samples are converted on reading adds a seventh: source (what it holds,\n"
            "e.g. '24-bit PCM', '32-bit float').\n",
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
    Command{"check", "SCORE.tbm", "load a music file and summarise its score",
            "Loads SCORE.tbm and prints 'tempo:', 'bar:' (count/length), then per\n"
            "stave a line 'stave N:' with its flags (AllowJoinFlags, AutoStick, Mute\n"
            "or none) and its numbers of keys, rests and note groups, and per note\n"
            "group a line with its number of notes and its players (kind and sample\n"
            "wave name).\n"
            "Exit codes: 0 done, 1 the file cannot be opened, 2 the file does not\n"
            "read (the message names the line and column).\n",
            RunCheck},
    Command{"rewrite", "IN.tbm OUT.tbm", "load a music file and save it again",
            "Loads IN.tbm and writes its score to OUT.tbm exactly as the editor saves\n"
            "it. OUT.tbm may be IN.tbm; it is only replaced once the new file is\n"
            "complete.\n"
            "Exit codes: 0 done, 1 a file cannot be opened or written, 2 IN.tbm does\n"
            "not read.\n",
            RunRewrite},
    Command{"render",
            "SCORE.tbm OUT.wav [--wave NAME=FILE.wav ...] [--wave-select NAME LOW HIGH ...] "
            "[--stave N | --group N.M] [--frequency HZ] [--channels 1|2] [--bits 8|16]",
            "render a music file into a WAV file",
            "Loads SCORE.tbm, renders its score through the note players and writes\n"
            "the sound to OUT.wav: 22050 Hz, mono, 16 bits unless the options say\n"
            "otherwise. The players find their sample waves by name.\n"
            "Options:\n"
            "  --wave NAME=FILE.wav        open FILE.wav as a wave registered as NAME;\n"
            "                              a later one of the same name wins\n"
            "  --wave-select NAME LOW HIGH select LOW ... HIGH in that wave (counts, or\n"
            "                              times: '0.2 s'), the middle part of the samplers\n"
            "  --stave N                   only stave N (from 1), muted or not\n"
            "  --group N.M                 only note group M of stave N\n"
            "  --frequency HZ, --channels 1|2, --bits 8|16   the format of OUT.wav\n"
            "The result always spans the whole score; an empty score writes an empty\n"
            "WAV file.\n"
            "Exit codes: 0 done, 1 a file cannot be read or written, 2 wrong usage or\n"
            "a score that does not read, 3 a rendering that failed ('Error: Cannot\n"
            "create music: ...', e.g. a sample wave that was not given) or out of\n"
            "memory.\n",
            RunRender},
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
