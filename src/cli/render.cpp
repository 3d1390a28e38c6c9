#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/userinterface.h"
#include "cli/cli.h"
#include "documents/unitwave.h"
#include "music/musicfile.h"
#include "music/musicrender.h"
#include "music/unitmuz.h"
#include "units/unitvalues.h"
#include "units/waveregistry.h"

namespace {

struct WaveSelection {
  std::string name;
  std::string low;
  std::string high;
};

struct RenderArguments {
  std::string score;
  std::string out;
  std::vector<std::pair<std::string, std::string>> waves;  // name, file
  std::vector<WaveSelection> selections;
  std::int64_t stave = 0;  // 1-based; 0: the whole score
  std::int64_t group = 0;  // 1-based within the stave; 0: the whole stave
  TWaveFileProps format{22050, 1, 2};
};

// The sample waves as open wave documents; the last of a name is the one
// found, as the last window is.
class SampleDocuments : public WaveRegistry {
 public:
  SampleDocuments() : scope_(*this) {}
  TUnitWave* Add(std::unique_ptr<TUnitWave> wave) {
    waves_.push_back(std::move(wave));
    return waves_.back().get();
  }
  TUnitWave* Find(const std::string& name) const {
    for (auto it = waves_.rbegin(); it != waves_.rend(); ++it) {
      if ((*it)->GetRegisterName() == name) return it->get();
    }
    return nullptr;
  }
  std::vector<std::string> WaveNames() const override {
    std::vector<std::string> names;
    for (const auto& wave : waves_) names.push_back(wave->GetRegisterName());
    return names;
  }
  std::optional<TRegisteredWave> FindWave(const std::string& name) const override {
    const TUnitWave* wave = Find(name);
    if (wave == nullptr) return std::nullopt;
    return TRegisteredWave{&wave->GetSound(), wave->GetSelBegin(), wave->GetSelEnd()};
  }

 private:
  std::vector<std::unique_ptr<TUnitWave>> waves_;
  ScopedWaveRegistry scope_;
};

const Command* RenderCommand() { return FindCommand("render"); }

// "N" or "N.M", each a whole number from 1.
bool ParseStaveGroup(const std::string& text, bool withGroup, std::int64_t& stave,
                     std::int64_t& group) {
  const auto dot = text.find('.');
  if (!withGroup) return dot == std::string::npos && ParseInteger(text, 1, INT32_MAX, stave);
  return dot != std::string::npos && ParseInteger(text.substr(0, dot), 1, INT32_MAX, stave) &&
         ParseInteger(text.substr(dot + 1), 1, INT32_MAX, group);
}

int Parse(const Arguments& args, RenderArguments& parsed) {
  const Command* render = RenderCommand();
  std::vector<std::string> files;
  bool filtered = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto need = [&](std::size_t count) {
      if (i + count < args.size()) return true;
      UsageError(render, arg + " needs " + std::to_string(count) + " argument(s)");
      return false;
    };
    std::int64_t number = 0;
    if (arg == "--wave") {
      if (!need(1)) return kExitUsage;
      std::pair<std::string, std::string> wave;
      if (!ParseNamedWave(args[++i], wave)) return UsageError(render, "--wave takes NAME=FILE.wav");
      parsed.waves.push_back(std::move(wave));
    } else if (arg == "--wave-select") {
      if (!need(3)) return kExitUsage;
      parsed.selections.push_back({args[i + 1], args[i + 2], args[i + 3]});
      i += 3;
    } else if (arg == "--stave" || arg == "--group") {
      if (!need(1)) return kExitUsage;
      if (filtered) return UsageError(render, "give one of --stave and --group");
      filtered = true;
      if (!ParseStaveGroup(args[++i], arg == "--group", parsed.stave, parsed.group)) {
        return UsageError(render, arg == "--group" ? "--group takes N.M (stave N, group M)"
                                                   : "--stave takes a stave number from 1");
      }
    } else if (arg == "--frequency") {
      if (!need(1)) return kExitUsage;
      if (!ParseInteger(args[++i], 1, INT32_MAX, number)) {
        return UsageError(render, "--frequency must be a whole number of Hz from 1 to 2147483647");
      }
      parsed.format.Frequency = static_cast<std::int32_t>(number);
    } else if (arg == "--channels") {
      if (!need(1)) return kExitUsage;
      if (!ParseInteger(args[++i], 1, 2, number))
        return UsageError(render, "--channels must be 1 or 2");
      parsed.format.MonoStereo = static_cast<std::int16_t>(number);
    } else if (arg == "--bits") {
      if (!need(1)) return kExitUsage;
      if (!ParseInteger(args[++i], 8, 16, number) || (number != 8 && number != 16)) {
        return UsageError(render, "--bits must be 8 or 16");
      }
      parsed.format.BytesPSample = static_cast<std::int16_t>(number / 8);
    } else if (arg.starts_with("--")) {
      return UsageError(render, "unknown option \"" + arg + "\"");
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) return UsageError(render, "render takes a score and an output file");
  parsed.score = files[0];
  parsed.out = files[1];
  std::vector<std::string> inputs;
  for (const auto& wave : parsed.waves) inputs.push_back(wave.second);
  return CheckStandardStreams(render, inputs, {parsed.out});
}

int Run(const RenderArguments& parsed) {
  TUnitMuz unit(parsed.score);
  if (const int code = LoadScore(parsed.score, unit); code != kExitOk) return code;
  unit.ChangeProperties(unit.GetRenderProps(), parsed.format);

  SampleDocuments workspace;
  for (const auto& [name, file] : parsed.waves) {
    std::unique_ptr<Sound> sound;
    if (const int code = LoadSoundCode(file, sound); code != kExitOk) return code;
    TUnitWave* wave = workspace.Add(std::make_unique<TUnitWave>(std::move(sound), file));
    wave->SetRegisterName(name);
  }
  for (const WaveSelection& selection : parsed.selections) {
    TUnitWave* wave = workspace.Find(selection.name);
    if (wave == nullptr) {
      return UsageError(RenderCommand(),
                        "--wave-select names no --wave \"" + selection.name + "\"");
    }
    std::int32_t low = 0;
    std::int32_t high = 0;
    if (!ParsePosition(selection.low, wave->GetFrequency(), low) ||
        !ParsePosition(selection.high, wave->GetFrequency(), high) || low > high ||
        high > wave->GetValues()) {
      return UsageError(RenderCommand(),
                        "--wave-select takes NAME LOW HIGH within the wave, LOW not above HIGH");
    }
    wave->SetSelection(low, high);
  }

  const TNoteStave* stave = nullptr;
  const TNoteGroup* group = nullptr;
  if (parsed.stave > 0) {
    stave = unit.GetStartStave();
    for (std::int64_t n = 1; stave != nullptr && n < parsed.stave; ++n) stave = stave->GetNext();
    if (stave == nullptr) return UsageError(RenderCommand(), "the score has no such stave");
    if (parsed.group > 0) {
      group = stave->GetStartNoteGroup();
      for (std::int64_t n = 1; group != nullptr && n < parsed.group; ++n) group = group->GetNext();
      if (group == nullptr) return UsageError(RenderCommand(), "the stave has no such note group");
    }
  }

  StartOperation();
  const std::unique_ptr<Sound> music = group != nullptr   ? CreateMusicOfNoteGroup(unit, *group)
                                       : stave != nullptr ? CreateMusicOfStave(unit, *stave)
                                                          : CreateMusic(unit);
  if (music == nullptr) return kExitFailed;
  if (!CheckFitsWavFile(music->GetMoSt(), music->GetBytesPSample(), music->GetFreq(),
                        music->GetValues())) {
    return kExitFailed;
  }
  return SaveSound(*music, parsed.out) ? kExitOk : kExitFailure;
}

}  // namespace

int RunRender(const Arguments& args) {
  RenderArguments parsed;
  if (const int code = Parse(args, parsed); code != kExitOk) return code;
  return Run(parsed);
}
