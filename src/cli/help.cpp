#include <cstring>

#include "cli/cli.h"
#include "documents/commands.h"

void PrintOverview(std::FILE* out) {
  std::fputs("Usage: tonbrisk-cli COMMAND [ARGUMENTS]\n\nCommands:\n", out);
  for (const Command& command : Commands()) {
    std::fprintf(out, "  %-9s %s\n", command.name, command.summary);
  }
  std::fputs("\nRun \"tonbrisk-cli help COMMAND\" for the arguments of a command.\n", out);
}

void PrintCommandHelp(std::FILE* out, const Command& command) {
  std::fprintf(out, "Usage: tonbrisk-cli %s %s\n\n%s", command.name, command.synopsis,
               command.details);
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
