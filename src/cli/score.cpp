#include <string>

#include "base/userinterface.h"
#include "cli/cli.h"
#include "documents/unit.h"
#include "music/musicfile.h"
#include "music/noteplay.h"
#include "music/unitmuz.h"

namespace {

const char* const kPlayerNames[] = {"SimpleOneSampler", "ResonantSampler", "RepeatWaveForm",
                                    "RollOutSampler", "RollOutWaveForm"};

// What `check` prints of a score.
std::string FormatScoreSummary(const TUnitMuz& unit) {
  std::string text = "tempo: " + unit.Tempo.ToText() + "\n";
  if (const TMuzBar* bar = unit.GetBar()) {
    text += "bar: " + std::to_string(bar->GetCountNotes()) + "/" +
            std::to_string(bar->GetNoteLength()) + "\n";
  }
  int staveNumber = 0;
  for (const TNoteStave* stave = unit.GetStartStave(); stave != nullptr; stave = stave->GetNext()) {
    int keys = 0;
    int rests = 0;
    for (const TStaveSymbol* s = unit.GetFirstSymbol(); s != nullptr; s = s->GetNext()) {
      if (s->GetNoteStave() != stave) continue;
      if (s->GetStaveSymbolKind() == staveSymbolKey) ++keys;
      if (s->GetStaveSymbolKind() == staveSilence) ++rests;
    }
    std::string flags;
    if (stave->AllowJoinFlags) flags += " AllowJoinFlags";
    if (stave->IsAutoStick()) flags += " AutoStick";
    if (stave->Mute) flags += " Mute";
    if (flags.empty()) flags = " none";
    text += "stave " + std::to_string(++staveNumber) + ":" + flags + "; keys " +
            std::to_string(keys) + ", rests " + std::to_string(rests) + ", note groups " +
            std::to_string(stave->CountNoteGroups()) + "\n";
    int groupNumber = 0;
    for (const TNoteGroup* group = stave->GetStartNoteGroup(); group != nullptr;
         group = group->GetNext()) {
      int notes = 0;
      for (const TStaveSymbol* s = unit.GetFirstSymbol(); s != nullptr; s = s->GetNext()) {
        if (s->GetStaveSymbolKind() == staveSymbolNote &&
            static_cast<const TNoteNote*>(s)->GetNoteGroup() == group) {
          ++notes;
        }
      }
      std::string players;
      for (const TOnePlayer* player = group->GetPlayer()->GetStartOnePlayer(); player != nullptr;
           player = player->GetNext()) {
        const TOnePlayerProps& props = player->GetProps();
        const char* kind = props.NotePlayerKind < 5 ? kPlayerNames[props.NotePlayerKind] : "none";
        players += std::string(players.empty() ? " " : ", ") + kind + " \"" +
                   SampleWaveOf(props).GetName() + "\"";
      }
      text += "  note group " + std::to_string(++groupNumber) + ": notes " + std::to_string(notes) +
              "; players" + players + "\n";
    }
  }
  return text;
}

}  // namespace

int LoadScore(const std::string& path, TUnitMuz& unit) {
  std::string message;
  switch (LoadMusicFile(unit, path, message)) {
    case TMusicFileLoad::Loaded:
      return kExitOk;
    case TMusicFileLoad::CannotOpen:
      ShowMessage("File Error", message);
      return kExitFailure;
    case TMusicFileLoad::Invalid:
      break;
  }
  ShowMessage("Input Error", message);
  return kExitUsage;
}

int RunCheck(const Arguments& args) {
  const Command* check = FindCommand("check");
  if (args.size() != 1) return UsageError(check, "check takes one file name");
  if (args[0].starts_with("--")) return UsageError(check, "unknown option \"" + args[0] + "\"");
  TUnitMuz unit(args[0]);
  if (const int code = LoadScore(args[0], unit); code != kExitOk) return code;
  const std::string text = FormatScoreSummary(unit);
  std::fputs(text.c_str(), stdout);
  return kExitOk;
}

int RunRewrite(const Arguments& args) {
  const Command* rewrite = FindCommand("rewrite");
  if (args.size() != 2) return UsageError(rewrite, "rewrite takes two file names");
  for (const std::string& arg : args) {
    if (arg.starts_with("--")) return UsageError(rewrite, "unknown option \"" + arg + "\"");
  }
  TUnitMuz unit(args[0]);
  if (const int code = LoadScore(args[0], unit); code != kExitOk) return code;
  if (!SaveMusicFile(unit, args[1])) {
    ShowCannotWrite(args[1]);
    return kExitFailure;
  }
  return kExitOk;
}
