#pragma once

#include <memory>

#include "music/unitmuz.h"

// Rendering a score into one sound: every note asks its note group's
// player for a sound, which is mixed into one output sized beforehand from
// the players' offsets alone.

class Sound;
class TNoteGroup;
class TNoteStave;

// The whole score (the unmuted staves), one stave or one note group (muted
// or not). A new sound of the document's format (mono for MonoStereo 1,
// otherwise stereo) that always spans the whole score; none after the
// message "Cannot create music: ..." has been shown.
std::unique_ptr<Sound> CreateMusic(const TUnitMuz& unit);
std::unique_ptr<Sound> CreateMusicOfStave(const TUnitMuz& unit, const TNoteStave& stave);
std::unique_ptr<Sound> CreateMusicOfNoteGroup(const TUnitMuz& unit, const TNoteGroup& noteGroup);

// Where a rendered sound or a single note is played; the audio output
// implements it.
class TSoundPlayer {
 public:
  virtual ~TSoundPlayer() = default;
  virtual void Play(const Sound& sound) = 0;
};

// Plays one note alone, scaled by its player's volume; a note that fails
// (a missing sample wave) stays silent and is not reported. Returns ok.
bool PlayNote(const TNoteNote& note, double tempo, TSoundPlayer& player);
// PlayNote when the note's document plays edited notes; true otherwise.
bool AutoPlayNote(const TNoteNote& note, double tempo, TSoundPlayer& player);

// The document's playback of edited notes through a sound player.
class TRenderedNotePlayback : public TNotePlayback {
 public:
  explicit TRenderedNotePlayback(TSoundPlayer& player) : Player(player) {}
  bool PlayNote(const TNoteNote& note, double tempo) override;

 private:
  TSoundPlayer& Player;
};
