#pragma once

#include <cstdint>
#include <optional>
#include <string>
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

struct TFieldDesc;

// When a command can run on a wave document (one not in hand-drawing mode).
enum class TEnableRule : std::uint8_t {
  Always,
  Values,              // the wave has values
  ValuesAndSelection,  // ... and a selection
  Clipboard,           // the clipboard holds a sound
  ValuesAndClipboard,
  ValuesStereo,  // a stereo wave with values
  ValuesMono,    // a mono wave with values
};

// Everything the runner, the command line and the dialogs know of one wave
// command, as data. The desktop command table adds caption, key, hint and
// image to a row by its `Command`; the music commands are rows of their own
// table.
struct TWaveCommandRow {
  TWaveCommand Command;
  const char* Name;
  bool Undo;             // keeps the state before it for Undo
  bool ChangesDocument;  // false: works on the clipboard only
  TEnableRule Enable;
  // The record the command's dialog starts from (FileProperties: the
  // document's format); null for a command without a record.
  TWaveRecord (*Record)(const TUnitWave& unitWave);
  // Stores a record into the command's member of a set; null where the set
  // has none.
  void (*Store)(TWaveRecords& records, const TWaveRecord& record);
  // The dialog: its caption and fields in reading order; null without one.
  const char* Caption;
  std::vector<TFieldDesc> (*Fields)();
  // Calls the document with the confirmed record.
  void (*Run)(TWorkspace& workspace, TUnitWave& unitWave, const TWaveRecord& record);
};

const TWaveCommandRow& WaveCommandRow(TWaveCommand command);
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
// Why a command cannot run on the document now ("needs a stereo wave"), for
// a command that is not enabled; empty when it is.
std::string WhyNotEnabled(const TWorkspace& workspace, const TUnitWave& unitWave,
                          TWaveCommand command);

enum class TCommandResult : std::uint8_t {
  Done,        // ran; the document took the result
  NotEnabled,  // the command cannot run on this document now; nothing happened
  Refused,     // the parameters could not be used; the message has been shown
  Failed,      // memory ran out (the message has been shown) or the user cancelled
               // (the document, its save state and Undo are as they were)
  Unchanged,   // ran, but had nothing to work on (a range too short, a count of 0):
               // the document is as it was, not marked changed, and Undo is as before
};

// Runs a wave command on a document with its confirmed record (std::monostate
// for the commands without one): the hourglass, the undo record for the
// commands that keep one, the record stored as the workspace's default, the
// document's method (which stores the record, takes the result and moves the
// selection) and the change of the save state. The desktop program and the
// command-line tool both run commands through here.
TCommandResult RunWaveCommand(TWorkspace& workspace, TUnitWave& unitWave, TWaveCommand command,
                              const TWaveRecord& record = std::monostate{});
