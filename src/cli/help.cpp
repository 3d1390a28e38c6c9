#include <cstring>
#include <string>

#include "cli/cli.h"
#include "documents/commands.h"

void PrintOverview(std::FILE* out) {
  std::fputs("Usage: tonbrisk-cli COMMAND [ARGUMENTS]\n\nCommands:\n", out);
  for (const Command& command : Commands()) {
    std::fprintf(out, "  %-9s %s\n", command.name, command.summary);
  }
  std::fputs(
      "\nA WAV file named \"-\" is standard input or standard output.\n"
      "Run \"tonbrisk-cli help COMMAND\" for the arguments of a command.\n",
      out);
}

namespace {

// The names of the wave commands, wrapped as a paragraph of the help.
void PrintWaveCommandNames(std::FILE* out) {
  std::string line;
  for (TWaveCommand command : AllWaveCommands()) {
    const std::string name = WaveCommandName(command);
    if (!line.empty() && line.size() + 1 + name.size() > 77) {
      std::fprintf(out, " %s\n", line.c_str());
      line.clear();
    }
    line += " " + name;
  }
  if (!line.empty()) std::fprintf(out, " %s\n", line.c_str());
}

}  // namespace

void PrintCommandHelp(std::FILE* out, const Command& command) {
  std::fprintf(out, "Usage: tonbrisk-cli %s %s\n\n", command.name, command.synopsis);
  // "$WAVE_COMMANDS" in a text stands for the list of the command table.
  const std::string details = command.details;
  const std::string marker = "$WAVE_COMMANDS";
  const auto at = details.find(marker);
  if (at == std::string::npos) {
    std::fputs(details.c_str(), out);
    return;
  }
  std::fputs(details.substr(0, at).c_str(), out);
  PrintWaveCommandNames(out);
  std::fputs(details.substr(at + marker.size()).c_str(), out);
}

int UsageError(const Command* command, const std::string& problem) {
  std::fprintf(stderr, "tonbrisk-cli: %s\n", problem.c_str());
  if (command != nullptr) {
    std::fprintf(stderr, "Usage: tonbrisk-cli %s %s\n", command->name, command->synopsis);
    std::fprintf(stderr, "Run \"tonbrisk-cli help %s\" for details.\n", command->name);
  } else {
    PrintOverview(stderr);
  }
  return kExitUsage;
}

int RunHelp(const Arguments& args) {
  if (args.empty()) {
    PrintOverview(stdout);
    return kExitOk;
  }
  if (args.size() > 1) return UsageError(FindCommand("help"), "too many arguments");
  const Command* command = FindCommand(args[0]);
  if (command == nullptr) {
    if (const auto waveCommand = FindWaveCommand(args[0])) {
      PrintWaveCommandHelp(stdout, *waveCommand);
      return kExitOk;
    }
    return UsageError(nullptr, "unknown command \"" + args[0] + "\"");
  }
  PrintCommandHelp(stdout, *command);
  return kExitOk;
}
