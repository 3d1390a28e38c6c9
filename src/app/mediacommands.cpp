#include "app/mediacommands.h"

#include <filesystem>

#include "base/tbassert.h"
#include "base/userinterface.h"
#include "documents/unitwave.h"
#include "sound/sound.h"
#include "sound/wavfile.h"

TMediaCommands::TMediaCommands(std::unique_ptr<TMediaPlayer> player, const std::string& tempDir,
                               bool mediaEnabled)
    : Player(std::move(player)),
      TempPlayFile((std::filesystem::path(tempDir) / "tbtempplaywave.wav").string()),
      TempRecFile((std::filesystem::path(tempDir) / "tbtemprecwave.wav").string()),
      MediaEnabled(mediaEnabled) {
  TB_ASSERT(Player != nullptr);
  Player->OnNotify = [this] { Notify(); };
}

TMediaCommands::~TMediaCommands() {
  Player->OnNotify = nullptr;
  Player->Close();
}

void TMediaCommands::Changed() {
  if (OnChange) OnChange();
}

void TMediaCommands::CutOff() {
  if (Player->NotifyArmed()) ++IgnoreNextNotify;
}

bool TMediaCommands::CheckDevice(bool input) {
  bool& missing = input ? NoInputDevice : NoOutputDevice;
  if (missing) return false;
  if (input ? Player->HasInputDevice() : Player->HasOutputDevice()) return true;
  missing = true;
  ShowMessage("Error",
              input ? "No audio input device was found. Record disabled"
                    : "No audio output device was found. Play disabled",
              MessageIcon::Warning);
  Changed();
  return false;
}

bool TMediaCommands::RecordingStarted() const {
  const TPlayerMode mode = Player->GetMode();
  return RecordChecked && !RecordPending &&
         (mode == TPlayerMode::Recording || mode == TPlayerMode::Paused);
}

bool TMediaCommands::PlayRange(const Sound& sound, std::int32_t begin, std::int32_t end) {
  if (!MediaEnabled || !CheckDevice(false)) return false;
  CutOff();
  Player->Close();
  bool failed = false;
  // Nothing plays when the file cannot be written or opened, and whatever
  // played before has been cut off: FilePlay is not checked then.
  if (!sound.Save(failed, TempPlayFile, true, begin, end) || failed) {
    PlayChecked = PlayPending = false;
    Changed();
    return false;
  }
  Player->SetFileName(TempPlayFile);
  if (!Player->Open()) {
    PlayChecked = PlayPending = false;
    Changed();
    return false;
  }
  if (PausePending) {
    PlayPending = true;
  } else {
    Player->Play();
  }
  PlayChecked = true;
  // Pause shows a waiting start, not a pause left over from before.
  PauseChecked = PausePending;
  Changed();
  return true;
}

void TMediaCommands::Play(TUnitWave& unitWave) {
  if (unitWave.GetValues() > 0) {
    PlayRange(unitWave.GetSound(), unitWave.GetSelBegin(), unitWave.GetSelEnd());
  }
}

void TMediaCommands::Record(TUnitWave& unitWave) {
  if (Player->GetMode() == TPlayerMode::Recording || RecordingStarted()) {
    Stop();
    return;
  }
  if (!MediaEnabled || !CheckDevice(true)) return;
  CutOff();
  Player->Close();
  // Closing ended any play-back; a recording and a play-back never share
  // the player.
  PlayChecked = PlayPending = RecordPending = false;
  RecordChecked = false;
  RecordUnitWave = nullptr;
  if (unitWave.GetValues() > 0) {
    Changed();
    return;
  }
  bool failed = false;
  const Sound& sound = unitWave.GetSound();
  if (!WriteWavFile(failed, TempRecFile, sound, 0, sound.GetValues(), false) || failed) {
    Changed();
    return;
  }
  Player->SetFileName(TempRecFile);
  if (!Player->Open()) {
    Changed();
    return;
  }
  RecordUnitWave = &unitWave;
  if (PausePending) {
    RecordPending = true;
  } else {
    Player->StartRecording();
  }
  RecordChecked = true;
  PauseChecked = PausePending;
  Changed();
}

void TMediaCommands::Stop() {
  const bool recording = RecordingStarted();
  PlayPending = RecordPending = false;
  PausePending = PauseChecked;
  if (!recording) {
    CutOff();
    Player->Close();
    // A recording that waited for Pause ends too: nothing was recorded.
    PlayChecked = RecordChecked = false;
    RecordUnitWave = nullptr;
    Changed();
    return;
  }
  TB_ASSERT_TEXT(RecordUnitWave != nullptr, "RecordUnitWave != NULL");
  TUnitWave& unitWave = *RecordUnitWave;
  RecordUnitWave = nullptr;
  RecordChecked = false;
  CutOff();
  Player->Stop();
  Player->Save();
  Player->Close();
  std::unique_ptr<Sound> recorded;
  std::string message;
  if (!ReadWavFile(TempRecFile, recorded, message)) {
    // The document keeps its empty sound.
    ShowMessage("File Error", "Cannot read the file: \"" + TempRecFile + "\", " + message,
                MessageIcon::Information);
    Changed();
    return;
  }
  const std::int16_t bytesPSample1 = unitWave.GetBytesPSample();
  TB_ASSERT(recorded->GetBytesPSample() == bytesPSample1);
  unitWave.SetSound(std::move(recorded));
  unitWave.SetChanged();
  if (OnRecorded) OnRecorded(unitWave);
  Changed();
}

void TMediaCommands::Pause() {
  if (PlayPending || RecordPending) {
    if (PlayPending) {
      Player->Play();
    } else {
      Player->StartRecording();
    }
    PauseChecked = PausePending = PlayPending = RecordPending = false;
    Changed();
    return;
  }
  switch (Player->GetMode()) {
    case TPlayerMode::Playing:
    case TPlayerMode::Recording:
    case TPlayerMode::Paused:
      if (!PauseChecked) {
        CutOff();
        Player->Pause();
      } else {
        Player->Play();
      }
      PauseChecked = Player->GetMode() == TPlayerMode::Paused;
      break;
    default:
      PausePending = !PausePending;
      PauseChecked = PausePending;
      break;
  }
  Changed();
}

void TMediaCommands::Notify() {
  if (IgnoreNextNotify > 0) {
    --IgnoreNextNotify;
    return;
  }
  const TPlayerMode mode = Player->GetMode();
  if (mode != TPlayerMode::Stopped && mode != TPlayerMode::Playing) return;
  Player->Close();
  PlayChecked = false;
  PausePending = PauseChecked = false;
  Changed();
}

void TMediaCommands::UnitClosing(const TUnit* unit) {
  if (unit == nullptr || RecordUnitWave != unit) return;
  CutOff();
  Player->Stop();
  Player->Close();
  RecordUnitWave = nullptr;
  RecordChecked = RecordPending = false;
  Changed();
}

bool TMediaCommands::Enabled(TMediaCommand command, const TUnitWave* wave, bool music) const {
  if (!MediaEnabled) return false;
  switch (command) {
    case TMediaCommand::Play:
      // Playing would cut off a recording and lose it.
      return !NoOutputDevice && !RecordChecked &&
             ((wave != nullptr && wave->GetValues() > 0) || music);
    case TMediaCommand::Record:
      return !NoInputDevice && wave != nullptr && wave->GetValues() == 0;
    case TMediaCommand::Stop:
      return PlayChecked || RecordChecked;
    case TMediaCommand::Pause:
      return !RecordChecked || RecordPending;
  }
  return false;
}

bool TMediaCommands::Checked(TMediaCommand command) const {
  switch (command) {
    case TMediaCommand::Play:
      return PlayChecked;
    case TMediaCommand::Record:
      return RecordChecked;
    case TMediaCommand::Pause:
      return PauseChecked;
    case TMediaCommand::Stop:
      break;
  }
  return false;
}
