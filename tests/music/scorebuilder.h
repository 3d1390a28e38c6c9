#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "music/muznote.h"
#include "music/stave.h"
#include "music/unitmuz.h"

// Scores built in code: score().stave(keyKindG).sig(noteShiftKruis, 4).note(0, 4, -1)...
// Symbols go on the stave added last; the bar 4/4 is there from the start.
class ScoreBuilder {
 public:
  explicit ScoreBuilder(std::int32_t countNotes = 4, std::uint8_t noteLength = 4);

  ScoreBuilder&& stave(std::int8_t clef, std::int32_t octaves = 0);
  ScoreBuilder&& key(double position, std::int8_t clef, std::int32_t sequence = 1,
                     std::int32_t octaves = 0);
  // A signature accidental of the last key.
  ScoreBuilder&& sig(std::uint8_t kind, std::int32_t height);
  ScoreBuilder&& shift(double position, std::int32_t height, std::uint8_t kind);
  ScoreBuilder&& note(double position, std::uint8_t length, std::int32_t height,
                      std::int32_t points = 0);
  ScoreBuilder&& rest(double position, std::uint8_t length, std::int32_t points = 0);
  // A second note group on the current stave; later notes go to it.
  ScoreBuilder&& group();

  TUnitMuz& doc() { return *doc_; }
  std::unique_ptr<TUnitMuz> release() { return std::move(doc_); }

 private:
  std::unique_ptr<TUnitMuz> doc_;
  TNoteStave* stave_ = nullptr;
  TNoteGroup* group_ = nullptr;
  TKey* key_ = nullptr;
};

inline ScoreBuilder score(std::int32_t countNotes = 4, std::uint8_t noteLength = 4) {
  return ScoreBuilder(countNotes, noteLength);
}

// The chain as text, one token per symbol: K(G,0) a key (with +n octaves
// and #n for a sequence number other than 1), k(#,4) a signature
// accidental, a(b,3,0.5) a note-scope accidental, B(4/4) the bar, N(4,0,h-1)
// a note (length with a dot per point), R(2,0.5) a rest. With several staves
// each token but the bar starts with the stave's number.
std::string Chain(const TUnitMuz& doc);

// Each note's semitones above the A of 440 Hz, in chain order.
std::vector<std::int32_t> Sounding(const TUnitMuz& doc);

// The n-th symbol of the chain (from 0).
TStaveSymbol* SymbolAt(const TUnitMuz& doc, int index);

// The first note at `position` and `height`.
TNoteNote* NoteAt(const TUnitMuz& doc, double position, std::int32_t height);

// Records the notes the document plays.
class PlaybackRecorder : public TNotePlayback {
 public:
  bool PlayNote(const TNoteNote& note, double tempo) override;
  std::vector<std::int32_t> heights;
  std::vector<double> tempos;
};
