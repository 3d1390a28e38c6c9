#pragma once

#include <string>

#include "music/musicfiledata.h"

class TUnitMuz;

// Music files (.tbm): a score stored in the XML subset, ISO-8859-1.

// Writes the document's score to `fileName`, beside the target first and
// renamed over it once complete. False when it cannot be written; a name
// that a music file cannot hold has then been reported ("File Error"), a
// file that cannot be written is left to the caller to report.
bool SaveMusicFile(const TUnitMuz& unit, const std::string& fileName);

// Makes SaveMusicFile the writer music documents save with.
void InstallMusicFileWriter();

enum class TMusicFileLoad { Loaded, CannotOpen, Invalid };

// Fills an empty document from a file; on failure `message` says why (with
// line and column for a file that does not read) and the document must be
// discarded. A loaded document is Saved.
TMusicFileLoad LoadMusicFile(TUnitMuz& unit, const std::string& fileName, std::string& message);
bool ReadMusicFile(TUnitMuz& unit, const std::string& fileName, std::string& message);

// The score of a document as the file holds it, and back: BuildScore fills an
// empty document with a score whose values ReadMusicFileScore has checked.
TMusicFileScore MusicFileScoreOf(const TUnitMuz& unit);
void BuildScore(TUnitMuz& unit, const TMusicFileScore& score);
