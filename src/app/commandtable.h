#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "documents/commands.h"

// When the command update enables a command that is not a wave command of
// the core (those follow the core's rule and are off while drawing).
enum class TCommandRule : std::uint8_t {
  Always,       // file new and open, exit, window and help commands
  Window,       // any child window is active (Close, Register)
  WaveWindow,   // a wave window is active (Duplicate, ViewWave)
  NotDrawing,   // a wave window not in hand-drawing mode (ViewVold)
  Special,      // worked out by name in the command update
  Unavailable,  // the program cannot do it yet: shown, never enabled
  Hidden,       // no menu item is shown (Options, Begin, End)
};

// One command of the desktop program as data: what the menus, tool bars,
// keys and the status bar show, and how the command update decides on it.
// A wave command's row extends the core's row of the same name by `Wave`.
// A tool bar button's image is the resource ":/icons/NAME.svg".
struct TCommandRow {
  const char* Name;
  const char* Category;
  const char* Caption;  // "&" before the access letter
  const char* Key;      // a key sequence in Qt's portable text, or ""
  const char* Hint;     // "tool tip|status text", or ""
  std::optional<TWaveCommand> Wave;
  TCommandRule Rule;
};

std::span<const TCommandRow> CommandRows();
// The row of a name; asserts that there is one.
const TCommandRow& CommandRow(const char* name);
