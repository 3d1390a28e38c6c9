#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/mediaplayer.h"

class Sound;
class TUnit;
class TUnitWave;

// The four media commands and what they ask of the command update.
enum class TMediaCommand : std::uint8_t { Play, Stop, Pause, Record };

// Play, Stop, Pause and Record over the application's one player: a wave is
// played by writing the part to play into the play file and letting the
// player play it; a recording goes into an empty record file prepared in the
// document's format and replaces the document's sound when it stops. Holds
// the check marks and the waiting states; the desktop glue shows them.
class TMediaCommands {
 public:
  // `mediaEnabled` is false when the folder of the two files could not be
  // made: nothing is ever played or recorded then.
  TMediaCommands(std::unique_ptr<TMediaPlayer> player, const std::string& tempDir,
                 bool mediaEnabled);
  ~TMediaCommands();

  // Plays values begin ... end - 1 of `sound` (any sound: a wave's or a
  // rendered score's); false when the play file could not be written or the
  // player could not open it.
  bool PlayRange(const Sound& sound, std::int32_t begin, std::int32_t end);

  // The commands. Play plays the selection, or the whole wave without one.
  void Play(TUnitWave& unitWave);
  void Record(TUnitWave& unitWave);
  void Stop();
  void Pause();
  // The player's end notification.
  void Notify();
  // The document is closing: a recording into it ends without a result.
  void UnitClosing(const TUnit* unit);

  // The command update: `wave` is the active wave document (null without
  // one), `music` whether a music window that can be played is active.
  bool Enabled(TMediaCommand command, const TUnitWave* wave, bool music) const;
  bool Checked(TMediaCommand command) const;

  // A play-back (or one waiting for Pause) runs.
  bool IsPlaying() const { return PlayChecked; }
  TMediaPlayer& GetPlayer() { return *Player; }
  const std::string& GetPlayFile() const { return TempPlayFile; }
  const std::string& GetRecordFile() const { return TempRecFile; }
  bool GetPausePending() const { return PausePending; }
  bool GetPlayPending() const { return PlayPending; }
  bool GetRecordPending() const { return RecordPending; }

  // Told after every change of the check marks or waiting states.
  std::function<void()> OnChange;
  // The document's sound was replaced by a recording: its windows repaint.
  std::function<void(TUnitWave&)> OnRecorded;

 private:
  // Whether a recording has started (running or paused), as opposed to one
  // waiting for Pause.
  bool RecordingStarted() const;
  // A device to play on (or record from); the first time there is none the
  // user is told, and the command stays off from then on.
  bool CheckDevice(bool input);
  // Before the program itself stops, pauses or closes what runs: the
  // notification that this sends is not an end.
  void CutOff();
  void Changed();

  std::unique_ptr<TMediaPlayer> Player;
  std::string TempPlayFile;
  std::string TempRecFile;
  bool MediaEnabled;
  bool NoOutputDevice = false;
  bool NoInputDevice = false;
  bool PausePending = false;
  bool PlayPending = false;
  bool RecordPending = false;
  // Notifications still to come that were caused by cutting off (a count:
  // two cut-offs may come before the first notification does).
  int IgnoreNextNotify = 0;
  bool PlayChecked = false;
  bool RecordChecked = false;
  bool PauseChecked = false;
  TUnitWave* RecordUnitWave = nullptr;
};
