#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "documents/props.h"

class TUnitWave;
class TWorkspace;

// The wave commands, named as in the command table.
enum class TWaveCommand : std::uint8_t {
  MakeSilence,
  MakeLine,
  MakeBlock,
  MakeTriangle,
  MakeSinus,
  MakeNoise,
  MakeMFreq,
  Volume,
  MaxVolume,
  Reverse,
  Up,
  Block,
  RollOut,
  Rotate,
  RollIn,
  Length,
  Distort,
  Balance,
  MixLeftRight,
  PerEcho,
  RndEcho,
  TempoPitch,
  FilterBlock,
  FilterLow,
  FilterHigh,
  FilterRes,
  FilterNotch,
  EditDelete,
  EditTrim,
  EditCut,
  EditCopy,
  EditPaste,
  EditSwap,
  EditExtract,
  EditMix,
  EditClearClipboard,
  FileProperties,
};

const std::vector<TWaveCommand>& AllWaveCommands();
const char* WaveCommandName(TWaveCommand command);
// The command of a name (exact spelling), if there is one.
std::optional<TWaveCommand> FindWaveCommand(std::string_view name);

// Whether the command keeps the state before it for Undo.
bool CommandMakesUndo(TWaveCommand command);
// Whether the command has a parameter record (FileProperties: the format).
bool CommandHasRecord(TWaveCommand command);

// The record a command's dialog starts from: the document's record for the
// command (FileProperties: the document's format), with what the dialog
// needs from the document filled in (the duration of the range for Tempo and
// Pitch, the lengths positions are read against). Commands without a record
// give std::monostate.
TWaveRecord CommandRecord(const TUnitWave& unitWave, TWaveCommand command);
// Stores a command's record into a set (FileProperties has none there).
void StoreRecord(TWaveRecords& records, TWaveCommand command, const TWaveRecord& record);

// Whether the command can run on the document now, by the rules of the
// menus (a document not in hand-drawing mode).
bool CommandEnabled(const TWorkspace& workspace, const TUnitWave& unitWave, TWaveCommand command);

enum class TCommandResult : std::uint8_t {
  Done,        // ran; the document took the result
  NotEnabled,  // the command cannot run on this document now; nothing happened
  Refused,     // the parameters could not be used; the message has been shown
  Failed,      // memory ran out; the message has been shown, the sound is as it was
};

// Runs a wave command on a document with its confirmed record (std::monostate
// for the commands without one): the hourglass, the undo record for the
// commands that keep one, the record stored as the workspace's default, the
// document's method (which stores the record, takes the result and moves the
// selection) and the change of the save state. The desktop program and the
// command-line tool both run commands through here.
TCommandResult RunWaveCommand(TWorkspace& workspace, TUnitWave& unitWave, TWaveCommand command,
                              const TWaveRecord& record = std::monostate{});
