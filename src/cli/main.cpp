#include <string>

#include "cli/cli.h"
#include "sound/sinetable.h"

int main(int argc, char** argv) {
  // The generators read one shared sine period, built once for the run.
  const SineTableLifetime sineTable;
  const Arguments args(argv + 1, argv + argc);
  if (args.empty()) return UsageError(nullptr, "no command given");
  const std::string& name = args[0];
  if (name == "--help" || name == "-h") {
    PrintOverview(stdout);
    return kExitOk;
  }
  const Command* command = FindCommand(name);
  if (command == nullptr) return UsageError(nullptr, "unknown command \"" + name + "\"");
  const Arguments rest(args.begin() + 1, args.end());
  // "COMMAND --help" is the same as "help COMMAND".
  if (rest.size() == 1 && (rest[0] == "--help" || rest[0] == "-h")) {
    PrintCommandHelp(stdout, *command);
    return kExitOk;
  }
  int code = command->run(rest);
  if (std::fflush(stdout) != 0 && code == kExitOk) code = kExitFailure;
  return code;
}
