#include "documents/commands.h"

#include <array>
#include <utility>

#include "base/tbassert.h"
#include "base/userinterface.h"
#include "documents/unitwave.h"
#include "documents/workspace.h"

namespace {

struct CommandRow {
  TWaveCommand command;
  const char* name;
  bool undo;
};

// Every wave command with its name and whether Undo can take it back.
constexpr std::array<CommandRow, 37> kCommands{{
    {TWaveCommand::MakeSilence, "MakeSilence", true},
    {TWaveCommand::MakeLine, "MakeLine", true},
    {TWaveCommand::MakeBlock, "MakeBlock", true},
    {TWaveCommand::MakeTriangle, "MakeTriangle", true},
    {TWaveCommand::MakeSinus, "MakeSinus", true},
    {TWaveCommand::MakeNoise, "MakeNoise", true},
    {TWaveCommand::MakeMFreq, "MakeMFreq", true},
    {TWaveCommand::Volume, "Volume", true},
    {TWaveCommand::MaxVolume, "MaxVolume", true},
    {TWaveCommand::Reverse, "Reverse", true},
    {TWaveCommand::Up, "Up", true},
    {TWaveCommand::Block, "Block", true},
    {TWaveCommand::RollOut, "RollOut", true},
    {TWaveCommand::Rotate, "Rotate", true},
    {TWaveCommand::RollIn, "RollIn", true},
    {TWaveCommand::Length, "Length", true},
    {TWaveCommand::Distort, "Distort", true},
    {TWaveCommand::Balance, "Balance", true},
    {TWaveCommand::MixLeftRight, "MixLeftRight", true},
    {TWaveCommand::PerEcho, "PerEcho", true},
    {TWaveCommand::RndEcho, "RndEcho", true},
    {TWaveCommand::TempoPitch, "TempoPitch", true},
    {TWaveCommand::FilterBlock, "FilterBlock", true},
    {TWaveCommand::FilterLow, "FilterLow", true},
    {TWaveCommand::FilterHigh, "FilterHigh", true},
    {TWaveCommand::FilterRes, "FilterRes", true},
    {TWaveCommand::FilterNotch, "FilterNotch", true},
    {TWaveCommand::EditDelete, "EditDelete", true},
    {TWaveCommand::EditTrim, "EditTrim", true},
    {TWaveCommand::EditCut, "EditCut", true},
    {TWaveCommand::EditCopy, "EditCopy", false},
    {TWaveCommand::EditPaste, "EditPaste", true},
    {TWaveCommand::EditSwap, "EditSwap", true},
    {TWaveCommand::EditExtract, "EditExtract", true},
    {TWaveCommand::EditMix, "EditMix", true},
    {TWaveCommand::EditClearClipboard, "EditClearClipboard", false},
    {TWaveCommand::FileProperties, "FileProperties", true},
}};

const CommandRow& Row(TWaveCommand command) {
  const CommandRow& row = kCommands[static_cast<std::size_t>(command)];
  TB_ASSERT(row.command == command);
  return row;
}

// The member of a record set that belongs to a command.
template <class Records, class Visit>
void WithRecord(Records& records, TWaveCommand command, Visit visit) {
  switch (command) {
    case TWaveCommand::MakeSilence:
      visit(records.silence);
      break;
    case TWaveCommand::MakeLine:
      visit(records.line);
      break;
    case TWaveCommand::MakeBlock:
      visit(records.block);
      break;
    case TWaveCommand::MakeTriangle:
      visit(records.triangle);
      break;
    case TWaveCommand::MakeSinus:
      visit(records.sinus);
      break;
    case TWaveCommand::MakeNoise:
      visit(records.noise);
      break;
    case TWaveCommand::MakeMFreq:
      visit(records.mfreq);
      break;
    case TWaveCommand::Volume:
      visit(records.volume);
      break;
    case TWaveCommand::Up:
      visit(records.up);
      break;
    case TWaveCommand::Block:
      visit(records.blockEffect);
      break;
    case TWaveCommand::RollOut:
      visit(records.rollOut);
      break;
    case TWaveCommand::Rotate:
      visit(records.rotate);
      break;
    case TWaveCommand::RollIn:
      visit(records.rollIn);
      break;
    case TWaveCommand::Length:
      visit(records.length);
      break;
    case TWaveCommand::Distort:
      visit(records.distort);
      break;
    case TWaveCommand::Balance:
      visit(records.balance);
      break;
    case TWaveCommand::MixLeftRight:
      visit(records.leftRight);
      break;
    case TWaveCommand::PerEcho:
      visit(records.perEcho);
      break;
    case TWaveCommand::RndEcho:
      visit(records.randomEcho);
      break;
    case TWaveCommand::TempoPitch:
      visit(records.tempoPitch);
      break;
    case TWaveCommand::FilterBlock:
      visit(records.blockFilter);
      break;
    case TWaveCommand::FilterLow:
      visit(records.lowFilter);
      break;
    case TWaveCommand::FilterHigh:
      visit(records.highFilter);
      break;
    case TWaveCommand::FilterRes:
      visit(records.resFilter);
      break;
    case TWaveCommand::FilterNotch:
      visit(records.notchFilter);
      break;
    case TWaveCommand::EditMix:
      visit(records.mix);
      break;
    default:
      break;
  }
}

template <class Props>
const Props& Get(const TWaveRecord& record) {
  const Props* props = std::get_if<Props>(&record);
  TB_ASSERT_TEXT(props != nullptr, "the record fits the command");
  return *props;
}

}  // namespace

const std::vector<TWaveCommand>& AllWaveCommands() {
  static const std::vector<TWaveCommand> commands = [] {
    std::vector<TWaveCommand> all;
    all.reserve(std::size(kCommands));
    for (const CommandRow& row : kCommands) all.push_back(row.command);
    return all;
  }();
  return commands;
}

const char* WaveCommandName(TWaveCommand command) { return Row(command).name; }

std::optional<TWaveCommand> FindWaveCommand(std::string_view name) {
  for (const CommandRow& row : kCommands)
    if (name == row.name) return row.command;
  return std::nullopt;
}

bool CommandMakesUndo(TWaveCommand command) { return Row(command).undo; }

bool CommandHasRecord(TWaveCommand command) {
  switch (command) {
    case TWaveCommand::MaxVolume:
    case TWaveCommand::Reverse:
    case TWaveCommand::EditDelete:
    case TWaveCommand::EditTrim:
    case TWaveCommand::EditCut:
    case TWaveCommand::EditCopy:
    case TWaveCommand::EditPaste:
    case TWaveCommand::EditSwap:
    case TWaveCommand::EditExtract:
    case TWaveCommand::EditClearClipboard:
      return false;
    default:
      return true;
  }
}

TWaveRecord CommandRecord(const TUnitWave& unitWave, TWaveCommand command) {
  if (command == TWaveCommand::FileProperties) return unitWave.GetProperties();
  TWaveRecord record;
  WithRecord(unitWave.Records, command, [&](const auto& props) { record = props; });
  // What the dialogs read positions and lengths against.
  const std::int32_t freq = unitWave.GetFrequency();
  const double duration = static_cast<double>(unitWave.GetSelEnd() - unitWave.GetSelBegin()) / freq;
  if (auto* tempo = std::get_if<TTempoPitchProps>(&record)) {
    tempo->Duration = duration;
    tempo->StartPos.SetLength(duration);
  } else if (auto* rollOut = std::get_if<TRollOutProps>(&record)) {
    rollOut->StartPos.SetLength(duration);
  } else if (auto* rollIn = std::get_if<TRollInProps>(&record)) {
    rollIn->StartAt.SetLength(rollIn->Seconds.GetValue());
    rollIn->EndAt.SetLength(rollIn->Seconds.GetValue());
  }
  return record;
}

void StoreRecord(TWaveRecords& records, TWaveCommand command, const TWaveRecord& record) {
  WithRecord(records, command,
             [&](auto& props) { props = Get<std::remove_reference_t<decltype(props)>>(record); });
}

bool CommandEnabled(const TWorkspace& workspace, const TUnitWave& unitWave, TWaveCommand command) {
  const bool values = unitWave.GetValues() > 0;
  const bool clip = workspace.HasClipBoardSound();
  switch (command) {
    case TWaveCommand::MakeSilence:
    case TWaveCommand::MakeLine:
    case TWaveCommand::MakeBlock:
    case TWaveCommand::MakeTriangle:
    case TWaveCommand::MakeSinus:
    case TWaveCommand::MakeNoise:
    case TWaveCommand::MakeMFreq:
    case TWaveCommand::FileProperties:
      return true;
    case TWaveCommand::EditTrim:
      return values && unitWave.HasSelection();
    case TWaveCommand::EditPaste:
    case TWaveCommand::EditMix:
    case TWaveCommand::EditClearClipboard:
      return clip;
    case TWaveCommand::EditSwap:
      return values && clip;
    case TWaveCommand::MixLeftRight:
      return values && unitWave.GetMonoStereo() == 2;
    case TWaveCommand::Balance:
      return values && unitWave.GetMonoStereo() == 1;
    default:
      return values;
  }
}

TCommandResult RunWaveCommand(TWorkspace& workspace, TUnitWave& unitWave, TWaveCommand command,
                              const TWaveRecord& record) {
  if (!CommandEnabled(workspace, unitWave, command)) return TCommandResult::NotEnabled;
  if (command == TWaveCommand::EditClearClipboard) {
    workspace.ClearClipBoard();
    return TCommandResult::Done;
  }
  WaitCursor wait;
  unitWave.ClearRefused();
  // A record is made before the work; a command that refuses its
  // parameters gives the previous record back, as a dialog that stays open
  // would have left it.
  std::unique_ptr<TUndoUnit> previousUndo;
  if (CommandMakesUndo(command)) {
    previousUndo = workspace.ReleaseUndo();
    workspace.NewUndo(unitWave);
  }
  // The document's record as it was: the method stores the new one first,
  // and a refused command must leave it as a dialog that stays open would.
  TWaveRecord previousRecord;
  WithRecord(unitWave.Records, command, [&](const auto& props) { previousRecord = props; });
  switch (command) {
    case TWaveCommand::MakeSilence:
      unitWave.MakeSilence(Get<TSilenceProps>(record));
      break;
    case TWaveCommand::MakeLine:
      unitWave.MakeLine(Get<TLineProps>(record));
      break;
    case TWaveCommand::MakeBlock:
      unitWave.MakeBlock(Get<TBlockTriangleProps>(record));
      break;
    case TWaveCommand::MakeTriangle:
      unitWave.MakeTriangle(Get<TBlockTriangleProps>(record));
      break;
    case TWaveCommand::MakeSinus:
      unitWave.MakeSinus(Get<TSinusProps>(record));
      break;
    case TWaveCommand::MakeNoise:
      unitWave.MakeNoise(Get<TNoiseProps>(record));
      break;
    case TWaveCommand::MakeMFreq:
      unitWave.MakeMFreq(Get<TMFreqProps>(record));
      break;
    case TWaveCommand::Volume:
      unitWave.Volume(Get<TVolumeProps>(record));
      break;
    case TWaveCommand::MaxVolume:
      unitWave.MaxVolume();
      break;
    case TWaveCommand::Reverse:
      unitWave.Reverse();
      break;
    case TWaveCommand::Up:
      unitWave.Up(Get<TUpProps>(record));
      break;
    case TWaveCommand::Block:
      unitWave.Block(Get<TBlockProps>(record));
      break;
    case TWaveCommand::RollOut:
      unitWave.RollOut(Get<TRollOutProps>(record));
      break;
    case TWaveCommand::Rotate:
      unitWave.Rotate(Get<TRotateProps>(record));
      break;
    case TWaveCommand::RollIn:
      unitWave.RollIn(Get<TRollInProps>(record));
      break;
    case TWaveCommand::Length:
      unitWave.Length(Get<TLengthProps>(record));
      break;
    case TWaveCommand::Distort:
      unitWave.Distort(Get<TDistortProps>(record));
      break;
    case TWaveCommand::Balance:
      unitWave.Balance(Get<TBalanceProps>(record));
      break;
    case TWaveCommand::MixLeftRight:
      unitWave.MixLeftRight(Get<TLeftRightProps>(record));
      break;
    case TWaveCommand::PerEcho:
      unitWave.PerEcho(Get<TPerEchoProps>(record));
      break;
    case TWaveCommand::RndEcho:
      unitWave.RandomEcho(Get<TRandomEchoProps>(record));
      break;
    case TWaveCommand::TempoPitch:
      unitWave.TempoPitch(Get<TTempoPitchProps>(record));
      break;
    case TWaveCommand::FilterBlock:
      unitWave.FilterBlock(Get<TBlockFilterProps>(record));
      break;
    case TWaveCommand::FilterLow:
      unitWave.FilterLow(Get<THighLowProps>(record));
      break;
    case TWaveCommand::FilterHigh:
      unitWave.FilterHigh(Get<THighLowProps>(record));
      break;
    case TWaveCommand::FilterRes:
      unitWave.FilterRes(Get<TResNotchProps>(record));
      break;
    case TWaveCommand::FilterNotch:
      unitWave.FilterNotch(Get<TResNotchProps>(record));
      break;
    case TWaveCommand::EditDelete:
      unitWave.Delete();
      break;
    case TWaveCommand::EditTrim:
      unitWave.Trim();
      break;
    case TWaveCommand::EditCut:
      unitWave.Cut();
      break;
    case TWaveCommand::EditCopy:
      unitWave.Copy();
      break;
    case TWaveCommand::EditPaste:
      unitWave.Paste();
      break;
    case TWaveCommand::EditSwap:
      unitWave.Swap();
      break;
    case TWaveCommand::EditExtract:
      unitWave.Extract();
      break;
    case TWaveCommand::EditMix:
      unitWave.Mix(Get<TMixProps>(record));
      break;
    case TWaveCommand::FileProperties:
      unitWave.ChangeProperties(unitWave.GetProperties(), Get<TWaveFileProps>(record));
      break;
    case TWaveCommand::EditClearClipboard:
      break;
  }
  if (unitWave.WasRefused()) {
    // The default set is stored only after success, so only the document's
    // record needs giving back.
    StoreRecord(unitWave.Records, command, previousRecord);
    if (CommandMakesUndo(command)) workspace.RestoreUndo(std::move(previousUndo));
    return TCommandResult::Refused;
  }
  previousUndo.reset();
  StoreRecord(workspace.Defaults, command, record);
  if (command != TWaveCommand::EditCopy) unitWave.SetChanged();
  return unitWave.GetFailed() ? TCommandResult::Failed : TCommandResult::Done;
}
