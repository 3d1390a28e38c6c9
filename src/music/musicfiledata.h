#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "music/xml.h"
#include "music/xmlgrammar.h"
#include "units/unitvalues.h"

// A score as a music file holds it, apart from the score model: what the
// file's elements say, in file order. Reading a file checks every value into
// this form; saving builds the tree from it. The model is filled from it and
// gives it back (musicfile.h).

inline constexpr const char* kMusicFileVersion = "7.0";

// An accidental of a key signature: kind 1 (sharp) or 3 (flat), as the
// accidental kinds of the symbols.
struct TMusicFileShift {
  std::uint8_t kind = 1;
  std::int32_t height = 0;
  bool operator==(const TMusicFileShift&) const = default;
};

struct TMusicFileKey {
  double position = 0;
  std::int8_t keyKind = 6;  // +6 G, 0 C, -6 F
  std::int32_t octavesUp = 0;
  std::vector<TMusicFileShift> signature;
  bool operator==(const TMusicFileKey&) const = default;
};

struct TMusicFileRest {
  double position = 0;
  std::uint8_t length = 4;
  std::int32_t points = 0;
  bool operator==(const TMusicFileRest&) const = default;
};

inline constexpr int kNoShift = -1;

struct TMusicFileNote {
  double position = 0;
  std::uint8_t length = 4;
  std::int32_t points = 0;
  std::int32_t height = 0;
  // The accidental written at the note, kind 0 ... 4, or kNoShift.
  int shift = kNoShift;
  bool operator==(const TMusicFileNote&) const = default;
};

// One player; which of the items count depends on the kind (the player
// kinds 0 ... 4: simple sampler, resonant sampler, repeat wave form, roll-out
// sampler, roll-out wave form).
struct TMusicFilePlayer {
  std::uint8_t kind = 3;
  unitTimePosMore basicFreq{1.0 / 440, kUnitHz};
  unitFactorPosMax1 resFactor{0.05};
  unitUnitWave sampleWave{"sample"};
  unitFreq freqUp{0};
  unitVolumeFactor volumeFactor{0.5};
  bool operator==(const TMusicFilePlayer&) const = default;
};

inline constexpr int kStickNone = -1;

struct TMusicFileGroup {
  std::uint32_t noteColor = 0;
  std::uint8_t shape = 0;  // 0 normal, 1 rectangle
  // 0 up, 1 down, or kStickNone (a stave with automatic sticks stores none).
  int stick = kStickNone;
  std::vector<TMusicFilePlayer> players;
  std::vector<TMusicFileNote> notes;
  bool operator==(const TMusicFileGroup&) const = default;
};

using TMusicFileSymbol = std::variant<TMusicFileKey, TMusicFileRest>;

struct TMusicFileStave {
  unitIntegerPos roomUp{80};
  unitIntegerPos roomDown{80};
  bool allowJoinFlags = false;
  bool autoStick = false;
  bool mute = false;
  std::uint32_t foregroundColor = 0;
  std::uint32_t backgroundColor = 0xFFFFFF;
  // Keys and rests in chain order; the first is a key.
  std::vector<TMusicFileSymbol> symbols;
  std::vector<TMusicFileGroup> groups;
  bool operator==(const TMusicFileStave&) const = default;
};

struct TMusicFileScore {
  unitTimePosMore tempo{2.0};
  std::int32_t barCount = 4;
  std::uint8_t barLength = 4;
  std::vector<TMusicFileStave> staves;
  bool operator==(const TMusicFileScore&) const = default;
};

// The element tree of a score, root `UnitMuz`.
std::unique_ptr<TXMLCompound> MusicFileTree(const TMusicFileScore& score);

// The grammar of the element tree; `UnitMuz` is its element.
std::unique_ptr<TDTDItem> MusicFileGrammar();

// Reads a whole file: its first two lines are skipped, the rest is checked
// against the grammar and every value read and range-checked. False with the
// message (with line and column) on the first fault; `score` is then
// unspecified.
bool ReadMusicFileScore(std::istream& in, TMusicFileScore& score, std::string& message);
