#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "base/atomicfile.h"
#include "base/progress.h"
#include "cli/cli.h"
#include "documents/commands.h"
#include "sound/sinetable.h"

namespace {

// Ctrl-C, a kill or a closed terminal in the middle of a save: the
// temporary file goes, the old output stays, and the program ends as the
// signal would have ended it.
void EndOnSignal(int signal) {
  RemoveUnfinishedFiles();
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void InstallSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = EndOnSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal the caller ignores (nohup, a background job) stays ignored.
    struct sigaction previous {};
    if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
  // A reader that went away (a closed pipe) makes the write fail, which is
  // reported, instead of killing the program without a word.
  ::signal(SIGPIPE, SIG_IGN);
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// "COMMAND ... --help": the help of the command, or for apply the fields of
// the last wave command named before it.
int PrintHelpOf(const Command& command, const Arguments& rest) {
  if (std::string_view(command.name) == "apply") {
    const auto help = std::find_if(rest.begin(), rest.end(), IsHelp);
    for (auto it = help; it != rest.begin();) {
      --it;
      if (const auto waveCommand = FindWaveCommand(*it)) {
        PrintWaveCommandHelp(stdout, *waveCommand);
        return kExitOk;
      }
    }
  }
  PrintCommandHelp(stdout, command);
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  InstallSignalHandlers();
  CliUserInterface ui(stderr, ::isatty(STDERR_FILENO) != 0);
  const ScopedUserInterface installed(ui);
  // The generators read one shared sine period, built once for the run.
  const SineTableLifetime sineTable;
  const Arguments args(argv + 1, argv + argc);
  if (args.empty()) return UsageError(nullptr, "no command given");
  const std::string& name = args[0];
  if (IsHelp(name)) {
    PrintOverview(stdout);
    return kExitOk;
  }
  if (name == "--version") {
    std::puts("tonbrisk-cli " TB_VERSION);
    return kExitOk;
  }
  const Command* command = FindCommand(name);
  if (command == nullptr) return UsageError(nullptr, "unknown command \"" + name + "\"");
  const Arguments rest(args.begin() + 1, args.end());
  // "COMMAND --help" is the same as "help COMMAND", wherever the flag stands.
  if (std::any_of(rest.begin(), rest.end(), IsHelp)) return PrintHelpOf(*command, rest);
  // The blocks of a long operation report progress and can be cancelled.
  const ProgressScope progress;
  int code = command->run(rest);
  if (std::fflush(stdout) != 0 && code == kExitOk) code = kExitFailure;
  return code;
}
