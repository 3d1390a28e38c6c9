#include <algorithm>
#include <optional>

#include "base/userinterface.h"
#include "cli/cli.h"
#include "documents/commands.h"
#include "documents/fields.h"
#include "documents/unitwave.h"
#include "documents/workspace.h"
#include "units/unitvalues.h"

namespace {

struct Assignment {
  std::string label;
  std::size_t index = 0;  // 1-based frequency number, 0 without "[n]"
  std::string value;
};

struct Step {
  TWaveCommand command;
  std::vector<Assignment> assignments;
};

struct ApplyArguments {
  std::string in;
  std::string out;
  std::vector<Step> steps;
  std::optional<std::pair<std::string, std::string>> select;
  std::optional<std::string> cursor;
  std::vector<std::pair<std::string, std::string>> waves;  // name, file
  std::optional<std::string> clipboardIn;
  std::optional<std::string> clipboardOut;
  bool printSelection = false;
};

const Command* ApplyCommand() { return FindCommand("apply"); }

// "Label=Value" or "Label[n]=Value".
bool ParseAssignment(const std::string& text, Assignment& assignment, std::string& error) {
  const auto equals = text.find('=');
  if (equals == std::string::npos) {
    error = "expected LABEL=VALUE, not \"" + text + "\"";
    return false;
  }
  assignment.label = text.substr(0, equals);
  assignment.value = text.substr(equals + 1);
  const auto open = assignment.label.find('[');
  if (open != std::string::npos) {
    const auto close = assignment.label.find(']', open);
    std::int64_t index = 0;
    if (close == std::string::npos ||
        !ParseInteger(assignment.label.substr(open + 1, close - open - 1), 1, 1000000, index)) {
      error = "bad frequency number in \"" + text + "\"";
      return false;
    }
    assignment.index = static_cast<std::size_t>(index);
    assignment.label.erase(open);
  }
  return true;
}

int Parse(const Arguments& args, ApplyArguments& parsed) {
  const Command* apply = ApplyCommand();
  std::vector<std::string> words;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto need = [&](std::size_t count) {
      if (i + count < args.size()) return true;
      UsageError(apply, arg + " needs " + std::to_string(count) + " argument(s)");
      return false;
    };
    if (arg == "--select") {
      if (!need(2)) return kExitUsage;
      parsed.select = {args[i + 1], args[i + 2]};
      i += 2;
    } else if (arg == "--cursor") {
      if (!need(1)) return kExitUsage;
      parsed.cursor = args[++i];
    } else if (arg == "--wave") {
      if (!need(1)) return kExitUsage;
      std::pair<std::string, std::string> wave;
      if (!ParseNamedWave(args[++i], wave)) return UsageError(apply, "--wave takes NAME=FILE.wav");
      parsed.waves.push_back(std::move(wave));
    } else if (arg == "--clipboard") {
      if (!need(1)) return kExitUsage;
      parsed.clipboardIn = args[++i];
    } else if (arg == "--clipboard-out") {
      if (!need(1)) return kExitUsage;
      parsed.clipboardOut = args[++i];
    } else if (arg == "--print-selection") {
      parsed.printSelection = true;
    } else if (arg.starts_with("--") && arg != "--") {
      return UsageError(apply, "unknown option \"" + arg + "\"");
    } else {
      words.push_back(arg);
    }
  }
  if (words.size() < 3) return UsageError(apply, "apply needs IN.wav, OUT.wav and a command");
  parsed.in = words[0];
  parsed.out = words[1];
  bool expectCommand = true;
  for (std::size_t i = 2; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--") {
      if (expectCommand) return UsageError(apply, "a command must follow \"--\"");
      expectCommand = true;
      continue;
    }
    if (expectCommand) {
      const auto command = FindWaveCommand(word);
      if (!command) return UsageError(apply, "unknown wave command \"" + word + "\"");
      parsed.steps.push_back({*command, {}});
      expectCommand = false;
      continue;
    }
    Assignment assignment;
    std::string error;
    if (!ParseAssignment(word, assignment, error)) return UsageError(apply, error);
    parsed.steps.back().assignments.push_back(assignment);
  }
  if (expectCommand) return UsageError(apply, "a command must follow \"--\"");
  std::vector<std::string> inputs{parsed.in};
  for (const auto& wave : parsed.waves) inputs.push_back(wave.second);
  if (parsed.clipboardIn) inputs.push_back(*parsed.clipboardIn);
  std::vector<std::string> outputs{parsed.out};
  if (parsed.clipboardOut) outputs.push_back(*parsed.clipboardOut);
  if (const int code = CheckStandardStreams(apply, inputs, outputs); code != kExitOk) return code;
  if (parsed.printSelection && IsStandardStream(parsed.out)) {
    return UsageError(apply, "--print-selection cannot share standard output with the WAV data");
  }
  // Every label is checked before the first command runs, so a typing error
  // in a late step costs no work on a long file.
  for (const Step& step : parsed.steps) {
    const TFormDesc* desc = FindForm(step.command);
    if (desc == nullptr) continue;
    for (const Assignment& a : step.assignments) {
      if (FindField(*desc, a.label) == nullptr) {
        return UsageError(apply, "\"" + a.label + "\" is not a field of \"" + desc->caption + "\"");
      }
    }
  }
  return kExitOk;
}

// The confirmed record of one step, read as its dialog reads it.
int StepRecord(const TUnitWave& unitWave, const Step& step, TWaveRecord& record) {
  const TFormDesc* desc = FindForm(step.command);
  if (desc == nullptr) {
    if (!step.assignments.empty()) {
      return UsageError(ApplyCommand(),
                        std::string(WaveCommandName(step.command)) + " takes no fields");
    }
    record = std::monostate{};
    return kExitOk;
  }
  TRecordForm form(*desc, CommandRecord(unitWave, step.command));
  for (const Assignment& a : step.assignments) {
    std::string error;
    if (!form.Set(a.label, a.index, a.value, error)) return UsageError(ApplyCommand(), error);
  }
  if (!form.Read()) return kExitInput;
  record = form.Record();
  return kExitOk;
}

// A wave document of the file; standard input ("-") becomes a document
// without a file name.
int OpenWave(TWorkspace& workspace, const std::string& path, TUnitWave*& unitWave) {
  std::unique_ptr<Sound> sound;
  if (const int code = LoadSoundCode(path, sound); code != kExitOk) return code;
  unitWave = IsStandardStream(path)
                 ? workspace.AddGeneratedWave(std::move(sound))
                 : workspace.AddWave(std::make_unique<TUnitWave>(std::move(sound), path));
  return kExitOk;
}

// The data size of a WAV file is 32-bit. Each step's results are held to it
// while they are made; this check after the chain catches a change of format
// (FileProperties) and comes before any file is written.
bool FitsWavFile(const TUnitWave& unitWave) {
  return CheckFitsWavFile(unitWave.GetMonoStereo(), unitWave.GetBytesPSample(),
                          unitWave.GetFrequency(), unitWave.GetValues());
}

bool Save(TUnitWave& unitWave, const std::string& path) {
  if (IsStandardStream(path)) return SaveSound(unitWave.GetSound(), path);
  return unitWave.SaveAsReported(path);
}

int Run(const ApplyArguments& parsed) {
  TWorkspace workspace;
  TUnitWave* unitWave = nullptr;
  if (const int code = OpenWave(workspace, parsed.in, unitWave); code != kExitOk) return code;
  for (const auto& [name, file] : parsed.waves) {
    TUnitWave* wave = nullptr;
    if (const int code = OpenWave(workspace, file, wave); code != kExitOk) return code;
    if (!workspace.CheckRegisterName(name, wave)) return kExitInput;
    wave->SetRegisterName(name);
  }
  if (parsed.clipboardIn) {
    std::unique_ptr<Sound> clip;
    if (const int code = LoadSoundCode(*parsed.clipboardIn, clip); code != kExitOk) return code;
    workspace.SetClipBoardSound(std::move(clip));
  }
  if (parsed.select) {
    std::int32_t low = 0;
    std::int32_t high = 0;
    if (!ParsePosition(parsed.select->first, unitWave->GetFrequency(), low) ||
        !ParsePosition(parsed.select->second, unitWave->GetFrequency(), high) || low > high) {
      return UsageError(ApplyCommand(), "--select takes LOW HIGH, LOW not above HIGH");
    }
    unitWave->SetSelection(low, high);
  }
  if (parsed.cursor) {
    std::int32_t position = 0;
    if (!ParsePosition(*parsed.cursor, unitWave->GetFrequency(), position)) {
      return UsageError(ApplyCommand(), "--cursor takes a count of values or a time");
    }
    unitWave->SetCursor(position);
  }
  for (const Step& step : parsed.steps) {
    TWaveRecord record;
    if (const int code = StepRecord(*unitWave, step, record); code != kExitOk) return code;
    StartOperation();
    // Refuses a result the output file could not hold before the work.
    const WavLengthLimit limit(unitWave->GetMonoStereo(), unitWave->GetBytesPSample());
    const TCommandResult result = RunWaveCommand(workspace, *unitWave, step.command, record);
    if (limit.Exceeded()) return kExitInput;
    switch (result) {
      case TCommandResult::Done:
        // Nothing here is ever undone: the previous sound can go at once,
        // which keeps a chain of commands at two sounds in memory.
        workspace.DeleteUndo();
        break;
      case TCommandResult::Unchanged:
        // Not an error: a script may run a command on any range it likes.
        std::fprintf(stderr, "tonbrisk-cli: %s changed nothing\n", WaveCommandName(step.command));
        break;
      case TCommandResult::NotEnabled:
        return UsageError(ApplyCommand(), std::string(WaveCommandName(step.command)) +
                                              " cannot run on this wave: " +
                                              WhyNotEnabled(workspace, *unitWave, step.command));
      case TCommandResult::Refused:
        return kExitInput;
      case TCommandResult::Failed:
        return kExitFailed;
    }
  }
  // Everything that can refuse is decided before the first file is written.
  if (!FitsWavFile(*unitWave)) return kExitInput;
  if (parsed.clipboardOut && !workspace.HasClipBoardSound()) {
    return UsageError(ApplyCommand(), "the clipboard is empty: nothing to write");
  }
  if (!Save(*unitWave, parsed.out)) return kExitFailure;
  if (parsed.clipboardOut) {
    if (!SaveSound(workspace.GetClipBoardSound(), *parsed.clipboardOut)) return kExitFailure;
  }
  if (parsed.printSelection) {
    std::printf("selection: %d %d\n", unitWave->GetSelLow(), unitWave->GetSelHigh());
  }
  return kExitOk;
}

}  // namespace

int RunApply(const Arguments& args) {
  ApplyArguments parsed;
  if (const int code = Parse(args, parsed); code != kExitOk) return code;
  return Run(parsed);
}

namespace {

// What a command needs of the wave before it can run, as its enabling rule
// says; empty when it can always run.
const char* Needs(TWaveCommand command) {
  switch (WaveCommandRow(command).Enable) {
    case TEnableRule::Always:
      return "";
    case TEnableRule::Values:
      return "a wave with values";
    case TEnableRule::ValuesAndSelection:
      return "a wave with values and a selection (--select)";
    case TEnableRule::Clipboard:
      return "a sound on the clipboard (--clipboard)";
    case TEnableRule::ValuesAndClipboard:
      return "a wave with values and a sound on the clipboard (--clipboard)";
    case TEnableRule::ValuesStereo:
      return "a stereo wave with values";
    case TEnableRule::ValuesMono:
      return "a mono wave with values";
  }
  return "";
}

}  // namespace

void PrintWaveCommandHelp(std::FILE* out, TWaveCommand command) {
  std::fprintf(out, "Usage: tonbrisk-cli apply IN.wav OUT.wav %s", WaveCommandName(command));
  const TFormDesc* desc = FindForm(command);
  const std::string needs = Needs(command);
  const std::string needsLine = needs.empty() ? "" : "Needs " + needs + ".\n";
  if (desc == nullptr) {
    std::fprintf(out, "\n\n%sThis command has no fields.\n", needsLine.c_str());
    return;
  }
  std::fprintf(out,
               " [LABEL=VALUE ...]\n\n%sFields of \"%s\" (defaults as the dialog shows them):\n",
               needsLine.c_str(), desc->caption.c_str());
  // The defaults of a fresh one-second wave: positions and durations are
  // relative to what the command works on.
  TWorkspace workspace;
  TUnitWave* unitWave = workspace.NewWave(TWaveFileProps{44100, 2, 2});
  const TRecordForm form(*desc, CommandRecord(*unitWave, command));
  for (const TFieldDesc& field : desc->fields) {
    const std::string label = "\"" + field.label + "\"" + (field.perFrequency ? "[n]" : "");
    switch (field.kind) {
      case TFieldKind::Edit:
        std::fprintf(out, "  %-32s %-28s default '%s'\n", label.c_str(), field.unitClass.c_str(),
                     form.Text(field).c_str());
        break;
      case TFieldKind::WaveList:
        std::fprintf(out, "  %-32s %-28s a registered wave (--wave NAME=FILE)\n", label.c_str(),
                     field.unitClass.c_str());
        break;
      case TFieldKind::Check:
        std::fprintf(out, "  %-32s %-28s default %s\n", label.c_str(), "yes|no",
                     form.Text(field).c_str());
        break;
      case TFieldKind::Choice: {
        std::string options;
        for (const std::string& option : field.options) {
          options += (options.empty() ? "" : " | ") + option;
        }
        std::string keys;
        for (const std::string& key : field.optionKeys) keys += (keys.empty() ? "" : " | ") + key;
        if (!keys.empty()) options += " (or " + keys + ")";
        std::fprintf(out, "  %-32s one of: %s", label.c_str(), options.c_str());
        if (field.getChoice) std::fprintf(out, " (default %s)", form.Text(field).c_str());
        std::fputs("\n", out);
        break;
      }
    }
  }
  std::fputs(
      "\nGiving a field of one alternative (a constant or an envelope, one of the\n"
      "length choices) chooses that alternative.\n",
      out);
}
