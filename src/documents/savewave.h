#pragma once

#include <functional>
#include <optional>
#include <string>

class TUnitWave;

// Asks for a file name to save under; nothing when the user cancelled.
using TAskFileName = std::function<std::optional<std::string>()>;

// Save as: asks for a name, writes the wave there and names the document
// after it. False when cancelled or when the file cannot be written (then
// "Cannot write the file: "PATH"." has been shown and the document keeps its
// name and state).
bool SaveWaveAs(TUnitWave* unitWave, const TAskFileName& askFileName);

// Save: a new document is saved as (it has no file yet); another one is
// written to its file and becomes Saved. False when cancelled or not
// written.
//
// Both first ask "The file holds 24-bit samples; saving writes 16 bits. Save
// anyway?" (Yes/No; No writes nothing) when the target is the file the
// document was opened from and that file held more bits than a save writes.
bool SaveWave(TUnitWave* unitWave, const TAskFileName& askFileName);
