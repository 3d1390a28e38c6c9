#include "documents/commands.h"

#include <array>
#include <type_traits>
#include <utility>

#include "base/progress.h"
#include "base/tbassert.h"
#include "base/userinterface.h"
#include "documents/formtable.h"
#include "documents/unitwave.h"
#include "documents/workspace.h"

namespace {

template <class Props>
const Props& Get(const TWaveRecord& record) {
  const Props* props = std::get_if<Props>(&record);
  TB_ASSERT_TEXT(props != nullptr, "the record fits the command");
  return *props;
}

// The record type of a member of the record set.
template <auto Member>
using PropsOf = std::remove_cvref_t<decltype(std::declval<TWaveRecords&>().*Member)>;

template <auto Member>
TWaveRecord LoadMember(const TUnitWave& unitWave) {
  return unitWave.Records.*Member;
}

template <auto Member>
void StoreMember(TWaveRecords& records, const TWaveRecord& record) {
  records.*Member = Get<PropsOf<Member>>(record);
}

template <auto Member, auto Method>
void RunWithRecord(TWorkspace& /*workspace*/, TUnitWave& unitWave, const TWaveRecord& record) {
  (unitWave.*Method)(Get<PropsOf<Member>>(record));
}

template <auto Method>
void RunPlain(TWorkspace& /*workspace*/, TUnitWave& unitWave, const TWaveRecord& /*record*/) {
  (unitWave.*Method)();
}

using TFieldsFn = std::vector<TFieldDesc> (*)();

// A command with a record in the set and a dialog.
template <auto Member, auto Method>
constexpr TWaveCommandRow Dialog(TWaveCommand command, const char* name, TEnableRule enable,
                                 const char* caption, TFieldsFn fields) {
  return {command,
          name,
          true,
          true,
          enable,
          &LoadMember<Member>,
          &StoreMember<Member>,
          caption,
          fields,
          &RunWithRecord<Member, Method>};
}

// A command without a record.
template <auto Method>
constexpr TWaveCommandRow Plain(TWaveCommand command, const char* name, TEnableRule enable,
                                bool undo = true, bool changesDocument = true) {
  return {command, name,    undo,    changesDocument, enable,
          nullptr, nullptr, nullptr, nullptr,         &RunPlain<Method>};
}

using C = TWaveCommand;
using E = TEnableRule;
using U = TUnitWave;
using R = TWaveRecords;

constexpr TWaveCommandRow kRows[] = {
    Dialog<&R::silence, &U::MakeSilence>(C::MakeSilence, "MakeSilence", E::Always, "Make Silence",
                                         SilenceFields),
    Dialog<&R::line, &U::MakeLine>(C::MakeLine, "MakeLine", E::Always, "Make Line", LineFields),
    Dialog<&R::block, &U::MakeBlock>(C::MakeBlock, "MakeBlock", E::Always, "Block or Triangle",
                                     BlockTriangleFields),
    Dialog<&R::triangle, &U::MakeTriangle>(C::MakeTriangle, "MakeTriangle", E::Always,
                                           "Block or Triangle", BlockTriangleFields),
    Dialog<&R::sinus, &U::MakeSinus>(C::MakeSinus, "MakeSinus", E::Always, "Make Sinus",
                                     SinusFields),
    Dialog<&R::noise, &U::MakeNoise>(C::MakeNoise, "MakeNoise", E::Always, "Make Noise",
                                     NoiseFields),
    Dialog<&R::mfreq, &U::MakeMFreq>(C::MakeMFreq, "MakeMFreq", E::Always, "Multi Frequency",
                                     MFreqFields),
    Dialog<&R::volume, &U::Volume>(C::Volume, "Volume", E::Values, "Change Volume", VolumeFields),
    Plain<&U::MaxVolume>(C::MaxVolume, "MaxVolume", E::Values),
    Plain<&U::Reverse>(C::Reverse, "Reverse", E::Values),
    Dialog<&R::up, &U::Up>(C::Up, "Up", E::Values, "Up / Down", UpFields),
    Dialog<&R::blockEffect, &U::Block>(C::Block, "Block", E::Values, "Block", BlockFields),
    Dialog<&R::rollOut, &U::RollOut>(C::RollOut, "RollOut", E::Values, "Roll out", RollOutFields),
    Dialog<&R::rotate, &U::Rotate>(C::Rotate, "Rotate", E::Values, "Rotate", RotateFields),
    Dialog<&R::rollIn, &U::RollIn>(C::RollIn, "RollIn", E::Values, "Roll in", RollInFields),
    Dialog<&R::length, &U::Length>(C::Length, "Length", E::Values, "Change Length", LengthFields),
    Dialog<&R::distort, &U::Distort>(C::Distort, "Distort", E::Values, "Distort", DistortFields),
    Dialog<&R::balance, &U::Balance>(C::Balance, "Balance", E::ValuesMono, "Balance",
                                     BalanceFields),
    Dialog<&R::leftRight, &U::MixLeftRight>(C::MixLeftRight, "MixLeftRight", E::ValuesStereo,
                                            "Mix Left Right", LeftRightFields),
    Dialog<&R::perEcho, &U::PerEcho>(C::PerEcho, "PerEcho", E::Values, "Period Echo",
                                     PerEchoFields),
    Dialog<&R::randomEcho, &U::RandomEcho>(C::RndEcho, "RndEcho", E::Values, "Random Echo",
                                           RandomEchoFields),
    Dialog<&R::tempoPitch, &U::TempoPitch>(C::TempoPitch, "TempoPitch", E::Values, "Pitch Tempo",
                                           TempoPitchFields),
    Dialog<&R::blockFilter, &U::FilterBlock>(C::FilterBlock, "FilterBlock", E::Values,
                                             "Block Filter", BlockFilterFields),
    Dialog<&R::lowFilter, &U::FilterLow>(C::FilterLow, "FilterLow", E::Values, "High Low Filter",
                                         HighLowFields),
    Dialog<&R::highFilter, &U::FilterHigh>(C::FilterHigh, "FilterHigh", E::Values,
                                           "High Low Filter", HighLowFields),
    Dialog<&R::resFilter, &U::FilterRes>(C::FilterRes, "FilterRes", E::Values, "Resonant/Notch",
                                         ResNotchFields),
    Dialog<&R::notchFilter, &U::FilterNotch>(C::FilterNotch, "FilterNotch", E::Values,
                                             "Resonant/Notch", ResNotchFields),
    Plain<&U::Delete>(C::EditDelete, "EditDelete", E::Values),
    Plain<&U::Trim>(C::EditTrim, "EditTrim", E::ValuesAndSelection),
    Plain<&U::Cut>(C::EditCut, "EditCut", E::Values),
    Plain<&U::Copy>(C::EditCopy, "EditCopy", E::Values, false, false),
    Plain<&U::Paste>(C::EditPaste, "EditPaste", E::Clipboard),
    Plain<&U::Swap>(C::EditSwap, "EditSwap", E::ValuesAndClipboard),
    Plain<&U::Extract>(C::EditExtract, "EditExtract", E::Values),
    Dialog<&R::mix, &U::Mix>(C::EditMix, "EditMix", E::Clipboard, "Mix", MixFields),
    {C::EditClearClipboard, "EditClearClipboard", false, false, E::Clipboard, nullptr, nullptr,
     nullptr, nullptr,
     [](TWorkspace& workspace, TUnitWave&, const TWaveRecord&) { workspace.ClearClipBoard(); }},
    // The format is the sound's, not a member of the record set.
    {C::FileProperties, "FileProperties", true, true, E::Always,
     [](const TUnitWave& unitWave) -> TWaveRecord { return unitWave.GetProperties(); }, nullptr,
     "Wave Properties", WaveFormatFields,
     [](TWorkspace&, TUnitWave& unitWave, const TWaveRecord& record) {
       unitWave.ChangeProperties(unitWave.GetProperties(), Get<TWaveFileProps>(record));
     }},
};

// A command's row is found by its number.
constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < std::size(kRows); ++i)
    if (static_cast<std::size_t>(kRows[i].Command) != i) return false;
  return kRows[std::size(kRows) - 1].Command == TWaveCommand::FileProperties;
}
static_assert(RowsInOrder(), "one row per wave command, in the order of TWaveCommand");

}  // namespace

const TWaveCommandRow& WaveCommandRow(TWaveCommand command) {
  const auto index = static_cast<std::size_t>(command);
  TB_ASSERT(index < std::size(kRows));
  return kRows[index];
}

const std::vector<TWaveCommand>& AllWaveCommands() {
  static const std::vector<TWaveCommand> commands = [] {
    std::vector<TWaveCommand> all;
    all.reserve(std::size(kRows));
    for (const TWaveCommandRow& row : kRows) all.push_back(row.Command);
    return all;
  }();
  return commands;
}

const char* WaveCommandName(TWaveCommand command) { return WaveCommandRow(command).Name; }

std::optional<TWaveCommand> FindWaveCommand(std::string_view name) {
  for (const TWaveCommandRow& row : kRows)
    if (name == row.Name) return row.Command;
  return std::nullopt;
}

bool CommandMakesUndo(TWaveCommand command) { return WaveCommandRow(command).Undo; }

bool CommandHasRecord(TWaveCommand command) { return WaveCommandRow(command).Record != nullptr; }

TWaveRecord CommandRecord(const TUnitWave& unitWave, TWaveCommand command) {
  const TWaveCommandRow& row = WaveCommandRow(command);
  if (row.Record == nullptr) return std::monostate{};
  TWaveRecord record = row.Record(unitWave);
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
  const TWaveCommandRow& row = WaveCommandRow(command);
  if (row.Store != nullptr) row.Store(records, record);
}

std::string WhyNotEnabled(const TWorkspace& workspace, const TUnitWave& unitWave,
                          TWaveCommand command) {
  const bool values = unitWave.GetValues() > 0;
  const bool clip = workspace.HasClipBoardSound();
  const TEnableRule rule = WaveCommandRow(command).Enable;
  if (rule == TEnableRule::ValuesStereo && unitWave.GetMonoStereo() != 2)
    return "needs a stereo wave";
  if (rule == TEnableRule::ValuesMono && unitWave.GetMonoStereo() != 1) return "needs a mono wave";
  switch (rule) {
    case TEnableRule::Always:
      return "";
    case TEnableRule::Clipboard:
      return clip ? "" : "needs a sound on the clipboard";
    case TEnableRule::ValuesAndClipboard:
      if (!clip) return "needs a sound on the clipboard";
      break;
    case TEnableRule::ValuesAndSelection:
      if (values && !unitWave.HasSelection()) return "needs a selection";
      break;
    default:
      break;
  }
  return values ? "" : "needs a wave with values";
}

bool CommandEnabled(const TWorkspace& workspace, const TUnitWave& unitWave, TWaveCommand command) {
  return WhyNotEnabled(workspace, unitWave, command).empty();
}

TCommandResult RunWaveCommand(TWorkspace& workspace, TUnitWave& unitWave, TWaveCommand command,
                              const TWaveRecord& record) {
  if (!CommandEnabled(workspace, unitWave, command)) return TCommandResult::NotEnabled;
  const TWaveCommandRow& row = WaveCommandRow(command);
  WaitCursor wait;
  unitWave.ClearRefused();
  // A record is made before the work; a command that refuses its
  // parameters or changes nothing gives the previous record back, as a
  // dialog that stays open would have left it.
  std::unique_ptr<TUndoUnit> previousUndo;
  if (row.Undo) {
    previousUndo = workspace.ReleaseUndo();
    workspace.NewUndo(unitWave);
  }
  // The document's record as it was: the method stores the new one first,
  // and a refused command must leave it as a dialog that stays open would.
  const TWaveRecord previousRecord =
      row.Store != nullptr ? row.Record(unitWave) : TWaveRecord{std::monostate{}};
  const std::uint64_t soundBefore = unitWave.GetSoundVersion();
  row.Run(workspace, unitWave, record);
  if (unitWave.WasRefused()) {
    // The default set is stored only after success, so only the document's
    // record needs giving back.
    StoreRecord(unitWave.Records, command, previousRecord);
    if (row.Undo) workspace.RestoreUndo(std::move(previousUndo));
    return TCommandResult::Refused;
  }
  StoreRecord(workspace.Defaults, command, record);
  // A cancelled operation leaves no trace (an operation that ran out of
  // memory keeps its record of the selection, so that Undo swaps it back).
  const ProgressScope* progress = CurrentProgress();
  const bool cancelled = unitWave.GetFailed() && progress != nullptr && progress->CancelRequested();
  if (row.ChangesDocument && unitWave.GetSoundVersion() == soundBefore &&
      (cancelled || !unitWave.GetFailed())) {
    // Nothing to undo: the record before stays the one Undo takes back.
    if (row.Undo) workspace.RestoreUndo(std::move(previousUndo));
    return cancelled ? TCommandResult::Failed : TCommandResult::Unchanged;
  }
  previousUndo.reset();
  if (row.ChangesDocument) unitWave.SetChanged();
  return unitWave.GetFailed() ? TCommandResult::Failed : TCommandResult::Done;
}
