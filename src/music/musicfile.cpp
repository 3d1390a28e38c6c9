#include "music/musicfile.h"

#include <filesystem>
#include <fstream>
#include <variant>

#include "base/tbassert.h"
#include "base/userinterface.h"
#include "music/noteplay.h"
#include "music/unitmuz.h"

namespace {

TMusicFilePlayer FilePlayer(const TOnePlayerProps& props) {
  TMusicFilePlayer player;
  player.kind = props.NotePlayerKind;
  player.freqUp = props.FreqUp;
  player.volumeFactor = props.VolumeFactor;
  switch (props.NotePlayerKind) {
    case notePlayerSimpleSampler:
      player.sampleWave = props.SimpleSampler.SampleWave;
      player.basicFreq = props.SimpleSampler.BasicFreq;
      break;
    case notePlayerRollOutSampler:
      player.sampleWave = props.RollOutSampler.SampleWave;
      player.basicFreq = props.RollOutSampler.BasicFreq;
      break;
    case notePlayerResonantSampler:
      player.sampleWave = props.ResonantSampler.SampleWave;
      player.resFactor = props.ResonantSampler.ResFactor;
      break;
    case notePlayerRepeatWaveForm:
      player.sampleWave = props.RepeatWaveForm.SampleWave;
      break;
    case notePlayerRollOutWaveForm:
      player.sampleWave = props.RollOutWaveForm.SampleWave;
      break;
    default:
      TB_ASSERT_TEXT(false, "false");
  }
  return player;
}

TOnePlayerProps PlayerProps(const TMusicFilePlayer& player) {
  TOnePlayerProps props;
  props.NotePlayerKind = player.kind;
  props.FreqUp = player.freqUp;
  props.VolumeFactor = player.volumeFactor;
  switch (player.kind) {
    case notePlayerSimpleSampler:
      props.SimpleSampler.SampleWave = player.sampleWave;
      props.SimpleSampler.BasicFreq = player.basicFreq;
      break;
    case notePlayerRollOutSampler:
      props.RollOutSampler.SampleWave = player.sampleWave;
      props.RollOutSampler.BasicFreq = player.basicFreq;
      break;
    case notePlayerResonantSampler:
      props.ResonantSampler.SampleWave = player.sampleWave;
      props.ResonantSampler.ResFactor = player.resFactor;
      break;
    case notePlayerRepeatWaveForm:
      props.RepeatWaveForm.SampleWave = player.sampleWave;
      break;
    default:
      TB_ASSERT(player.kind == notePlayerRollOutWaveForm);
      props.RollOutWaveForm.SampleWave = player.sampleWave;
  }
  return props;
}

}  // namespace

TMusicFileScore MusicFileScoreOf(const TUnitMuz& unit) {
  TMusicFileScore score;
  score.tempo = unit.Tempo;
  const TMuzBar* muzBar = unit.GetBar();
  TB_ASSERT_TEXT(muzBar != nullptr, "muzBar != NULL");
  score.barCount = muzBar->GetCountNotes();
  score.barLength = muzBar->GetNoteLength();
  for (const TNoteStave* stave = unit.GetStartStave(); stave != nullptr; stave = stave->GetNext()) {
    TMusicFileStave& fileStave = score.staves.emplace_back();
    fileStave.roomUp = stave->RoomUp;
    fileStave.roomDown = stave->RoomDown;
    fileStave.allowJoinFlags = stave->AllowJoinFlags;
    fileStave.autoStick = stave->IsAutoStick();
    fileStave.mute = stave->Mute;
    fileStave.foregroundColor = stave->ForegroundColor;
    fileStave.backgroundColor = stave->BackgroundColor;
    for (const TStaveSymbol* s = unit.GetFirstSymbol(); s != nullptr; s = s->GetNext()) {
      if (s->GetNoteStave() != stave) continue;
      if (s->GetStaveSymbolKind() == staveSymbolKey) {
        const auto& key = static_cast<const TKey&>(*s);
        TMusicFileKey fileKey{key.GetSymbolPosition(), key.GetKeyKind(), key.GetAddOctaves(), {}};
        for (const TNoteShift* shift : unit.GetSignature(key)) {
          fileKey.signature.push_back({shift->GetNoteShiftKind(), shift->GetHeight()});
        }
        fileStave.symbols.emplace_back(std::move(fileKey));
      } else if (s->GetStaveSymbolKind() == staveSilence) {
        const auto& rest = static_cast<const TSilence&>(*s);
        fileStave.symbols.emplace_back(
            TMusicFileRest{rest.GetSymbolPosition(), rest.GetNoteLength(), rest.GetPoints()});
      }
    }
    for (const TNoteGroup* group = stave->GetStartNoteGroup(); group != nullptr;
         group = group->GetNext()) {
      TMusicFileGroup& fileGroup = fileStave.groups.emplace_back();
      fileGroup.noteColor = group->NoteColor;
      fileGroup.shape = group->GetShape();
      fileGroup.stick = stave->IsAutoStick() ? kStickNone : group->GetStickDirection();
      for (const TOnePlayer* player = group->GetPlayer()->GetStartOnePlayer(); player != nullptr;
           player = player->GetNext()) {
        fileGroup.players.push_back(FilePlayer(player->GetProps()));
      }
      for (const TStaveSymbol* s = unit.GetFirstSymbol(); s != nullptr; s = s->GetNext()) {
        if (s->GetStaveSymbolKind() != staveSymbolNote) continue;
        const auto& note = static_cast<const TNoteNote&>(*s);
        if (note.GetNoteGroup() != group) continue;
        const TNoteShift* written = note.GetNoteShiftWritten();
        fileGroup.notes.push_back({note.GetPosition(), note.GetLengthKind(), note.GetPoints(),
                                   note.GetHeight(),
                                   written == nullptr ? kNoShift : written->GetNoteShiftKind()});
      }
    }
  }
  return score;
}

void BuildScore(TUnitMuz& unit, const TMusicFileScore& score) {
  TB_ASSERT_TEXT(unit.GetStartStave() == nullptr && unit.GetFirstSymbol() == nullptr,
                 "StartStave == NULL && FirstSymbol == NULL");
  unit.Tempo = score.tempo;
  unit.InsertSymbol(std::make_unique<TMuzBar>(score.barLength, score.barCount, 0.0, 0.0));
  // The chain places a new symbol before those of equal rank (two rests of a
  // stave at one position, say). Keys go in first, in file order, each with
  // its signature; rests and notes then go in from the last to the first,
  // so that symbols of equal rank keep their file order and every note
  // finds its key.
  std::vector<std::unique_ptr<TStaveSymbol>> later;
  TNoteStave* previous = nullptr;
  for (const TMusicFileStave& fileStave : score.staves) {
    auto made = std::make_unique<TNoteStave>(&unit, fileStave.roomUp.GetValue(),
                                             fileStave.roomDown.GetValue());
    made->RoomUp = fileStave.roomUp;
    made->RoomDown = fileStave.roomDown;
    made->AllowJoinFlags = fileStave.allowJoinFlags;
    made->SetAutoStick(fileStave.autoStick);
    made->Mute = fileStave.mute;
    made->ForegroundColor = fileStave.foregroundColor;
    made->BackgroundColor = fileStave.backgroundColor;
    TNoteStave* stave = unit.InsertStave(previous, std::move(made));
    previous = stave;
    std::int32_t sequence = 0;
    for (const TMusicFileSymbol& symbol : fileStave.symbols) {
      if (const auto* key = std::get_if<TMusicFileKey>(&symbol)) {
        ++sequence;
        unit.InsertSymbol(std::make_unique<TKey>(&unit, key->keyKind, key->octavesUp, key->position,
                                                 stave, sequence));
        for (const TMusicFileShift& shift : key->signature) {
          unit.InsertSymbol(std::make_unique<TNoteShift>(shift.kind, shift.height, key->position,
                                                         noteShiftScopeKey, stave, sequence));
        }
      } else {
        const auto& rest = std::get<TMusicFileRest>(symbol);
        later.push_back(std::make_unique<TSilence>(rest.length, rest.points, rest.position, stave));
      }
    }
    TNoteGroup* lastGroup = nullptr;
    for (const TMusicFileGroup& fileGroup : fileStave.groups) {
      auto player = std::make_unique<TCompoundPlayer>(&unit);
      for (const TMusicFilePlayer& filePlayer : fileGroup.players) {
        player->AppendPlayer(std::make_unique<TOnePlayer>(&unit, PlayerProps(filePlayer)));
      }
      auto made = std::make_unique<TNoteGroup>(
          stave, std::move(player), fileGroup.noteColor, fileGroup.shape,
          static_cast<std::uint8_t>(fileGroup.stick == kStickNone ? drawStickDown
                                                                  : fileGroup.stick));
      TNoteGroup* group = made.get();
      stave->InsertNoteGroup(lastGroup, std::move(made));
      if (lastGroup == nullptr) stave->SetSelectedNoteGroup(group);
      lastGroup = group;
      for (const TMusicFileNote& note : fileGroup.notes) {
        later.push_back(std::make_unique<TNoteNote>(&unit, group, note.length, note.points,
                                                    note.position, note.height, stave));
        if (note.shift != kNoShift) {
          later.push_back(std::make_unique<TNoteShift>(static_cast<std::uint8_t>(note.shift),
                                                       note.height, note.position,
                                                       noteShiftScopeNote, stave, 0));
        }
      }
    }
  }
  for (auto symbol = later.rbegin(); symbol != later.rend(); ++symbol) {
    unit.InsertSymbol(std::move(*symbol));
  }
}

bool SaveMusicFile(const TUnitMuz& unit, const std::string& fileName) {
  const std::unique_ptr<TXMLCompound> tree = MusicFileTree(MusicFileScoreOf(unit));
  std::string badText;
  if (WriteXMLFile(*tree, fileName, badText)) return true;
  if (!badText.empty()) {
    ShowMessage("File Error", "The name \"" + badText +
                                  "\" cannot be stored in a music file: it must not be empty, "
                                  "begin or end with a blank, or hold '<', '>', a line break or "
                                  "a character outside ISO-8859-1.");
  }
  return false;
}

void InstallMusicFileWriter() { TUnitMuz::SetMusicFileWriter(SaveMusicFile); }

TMusicFileLoad LoadMusicFile(TUnitMuz& unit, const std::string& fileName, std::string& message) {
  std::error_code error;
  std::ifstream in;
  if (!std::filesystem::is_directory(fileName, error)) in.open(fileName, std::ios::binary);
  if (!in.is_open()) {
    message = "Cannot open the file: \"" + fileName + "\".";
    return TMusicFileLoad::CannotOpen;
  }
  TMusicFileScore score;
  if (!ReadMusicFileScore(in, score, message)) return TMusicFileLoad::Invalid;
  BuildScore(unit, score);
  unit.SetSaved();
  return TMusicFileLoad::Loaded;
}

bool ReadMusicFile(TUnitMuz& unit, const std::string& fileName, std::string& message) {
  return LoadMusicFile(unit, fileName, message) == TMusicFileLoad::Loaded;
}
