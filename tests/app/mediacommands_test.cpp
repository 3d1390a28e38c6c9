#include "app/mediacommands.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "documents/docfixtures.h"
#include "documents/unitwave.h"
#include "documents/workspace.h"
#include "sound/wavfile.h"
#include "support/recordingui.h"

namespace {

using M = TPlayerMode;
using C = TMediaCommand;

// A player without sound: notifications queue up until the test delivers
// them, as the event loop would; Save "records" `recordFrames` frames of a
// ramp in the prepared file's format.
class FakePlayer : public TMediaPlayer {
 public:
  bool HasOutputDevice() override { return output; }
  bool HasInputDevice() override { return input; }
  void SetFileName(const std::string& name) override { file = name; }
  bool Open() override {
    Close();
    mode = M::Stopped;
    return true;
  }
  void Close() override {
    CutOff();
    mode = M::NotReady;
  }
  void Play() override {
    if (mode == M::Stopped || mode == M::Paused) {
      mode = pausedRecording ? M::Recording : M::Playing;
      armed = true;
    }
  }
  void Pause() override {
    if (mode != M::Playing && mode != M::Recording) return;
    pausedRecording = mode == M::Recording;
    mode = M::Paused;
    CutOff();
  }
  void Stop() override {
    CutOff();
    if (mode != M::NotReady) mode = M::Stopped;
  }
  void StartRecording() override {
    mode = M::Recording;
    armed = true;
  }
  bool Save() override {
    std::unique_ptr<Sound> prepared;
    std::string message;
    if (!ReadWavFile(file, prepared, message)) return false;
    if (unreadable) {
      std::ofstream(file) << "not a wave";
      return true;
    }
    const std::int32_t freq = prepared->GetFreq();
    const std::int16_t bytes = prepared->GetBytesPSample();
    const std::unique_ptr<Sound> recorded =
        prepared->GetMoSt() == 1 ? MakeMono(Ramp(recordFrames), freq, bytes)
                                 : MakeStereo(Ramp(recordFrames), Ramp(recordFrames), freq, bytes);
    bool failed = false;
    return WriteWavFile(failed, file, *recorded, 0, recordFrames, false);
  }
  TPlayerMode GetMode() const override { return mode; }
  bool NotifyArmed() const override { return armed; }
  std::int64_t PlayedFrames() const override { return 0; }

  // The play-back reaches its end.
  void End() {
    mode = M::Stopped;
    CutOff();
  }
  void Deliver() {
    for (; queued > 0; --queued) OnNotify();
  }

  bool output = true;
  bool input = true;
  bool unreadable = false;
  std::int32_t recordFrames = 300;
  std::string file;
  TPlayerMode mode = M::NotReady;
  bool armed = false;
  bool pausedRecording = false;
  int queued = 0;

 private:
  void CutOff() {
    if (armed) ++queued;
    armed = false;
  }
};

class MediaCommandsTest : public ::testing::Test {
 protected:
  MediaCommandsTest() {
    auto owned = std::make_unique<FakePlayer>();
    player = owned.get();
    media = std::make_unique<TMediaCommands>(std::move(owned), dir.path().toStdString(), true);
  }

  TUnitWave& Wave(std::int32_t values) {
    return *workspace.AddWave(std::make_unique<TUnitWave>(MakeMono(Ramp(values)), "a.wav"));
  }
  // "P R S W": which of Play, Record, Stop and Pause are checked (Stop never).
  std::string Checks() const {
    std::string text;
    for (C command : {C::Play, C::Record, C::Pause}) text += media->Checked(command) ? "1" : "0";
    return text;
  }

  QTemporaryDir dir;
  RecordingUi ui;
  TWorkspace workspace;
  FakePlayer* player = nullptr;
  std::unique_ptr<TMediaCommands> media;
};

TEST_F(MediaCommandsTest, PlayWritesTheSelectionOrTheWholeWave) {
  struct Case {
    std::int32_t low, high;
    std::vector<std::int16_t> played;
  };
  const Case cases[] = {{3, 6, {3, 4, 5}}, {0, 0, {0, 1, 2, 3, 4, 5, 6, 7}}};
  TUnitWave& unitWave = Wave(8);
  for (const Case& c : cases) {
    unitWave.SetSelection(c.low, c.high);
    media->Play(unitWave);
    std::unique_ptr<Sound> sound;
    std::string message;
    ASSERT_TRUE(ReadWavFile(media->GetPlayFile(), sound, message)) << message;
    EXPECT_EQ(ValuesOf(*sound->Channel(0)), c.played);
    EXPECT_EQ(player->mode, M::Playing);
    // The cut-off play-back's notification does not end the new one.
    player->Deliver();
    EXPECT_EQ(Checks(), "100");
  }
  player->End();
  player->Deliver();
  EXPECT_EQ(Checks(), "000");
  EXPECT_EQ(player->mode, M::NotReady);
}

TEST_F(MediaCommandsTest, PauseBeforePlayOpensTheFileAndWaitsForPause) {
  TUnitWave& unitWave = Wave(8);
  media->Pause();
  EXPECT_EQ(Checks(), "001");
  media->Play(unitWave);
  EXPECT_EQ(player->mode, M::Stopped);
  EXPECT_EQ(Checks(), "101");
  EXPECT_TRUE(media->GetPlayPending());
  media->Pause();
  EXPECT_EQ(player->mode, M::Playing);
  EXPECT_EQ(Checks(), "100");
  // Pause while playing and back: the notification of pausing is no end.
  media->Pause();
  player->Deliver();
  EXPECT_EQ(player->mode, M::Paused);
  EXPECT_EQ(Checks(), "101");
  media->Pause();
  EXPECT_EQ(player->mode, M::Playing);
  EXPECT_EQ(Checks(), "100");
  player->End();
  player->Deliver();
  EXPECT_EQ(Checks(), "000");
}

TEST_F(MediaCommandsTest, StopCarriesThePauseMarkOverToTheNextPlay) {
  TUnitWave& unitWave = Wave(8);
  media->Play(unitWave);
  media->Pause();
  media->Stop();
  player->Deliver();
  EXPECT_EQ(player->mode, M::NotReady);
  EXPECT_EQ(Checks(), "001");
  EXPECT_TRUE(media->GetPausePending());
  media->Play(unitWave);
  EXPECT_EQ(player->mode, M::Stopped);
}

TEST_F(MediaCommandsTest, StopWhileRecordingPutsTheRecordingIntoTheDocument) {
  // Stopped while recording, or while the recording is paused.
  for (const bool paused : {false, true}) {
    TUnitWave& unitWave = *workspace.NewWave({22050, 2, 1});
    media->Record(unitWave);
    WavInfo info;
    std::string message;
    ASSERT_TRUE(ReadWavFileInfo(media->GetRecordFile(), info, message)) << message;
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.freq, 22050);
    EXPECT_EQ(info.bytesPSample, 1);
    EXPECT_EQ(info.values, 0);
    EXPECT_EQ(player->mode, M::Recording);
    EXPECT_EQ(Checks(), "010");
    if (paused) media->Pause();
    media->Stop();
    EXPECT_EQ(Checks(), paused ? "001" : "000");
    EXPECT_EQ(unitWave.GetValues(), 300);
    EXPECT_EQ(unitWave.GetMonoStereo(), 2);
    EXPECT_EQ(unitWave.GetFrequency(), 22050);
    EXPECT_EQ(unitWave.GetBytesPSample(), 1);
    // A new document stays "New" (it was never saved) but now needs saving.
    EXPECT_TRUE(unitWave.NeedsSave());
    EXPECT_EQ(workspace.GetUndoUnit(), nullptr);
    if (paused) media->Pause();
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MediaCommandsTest, UnreadableRecordingOrClosedDocumentLeavesTheDocumentEmpty) {
  TUnitWave& unitWave = *workspace.NewWave({22050, 1, 2});
  player->unreadable = true;
  media->Record(unitWave);
  media->Stop();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "File Error");
  EXPECT_EQ(ui.messages[0].text,
            "Cannot read the file: \"" + media->GetRecordFile() + "\", \"RIFF\" not found.");
  EXPECT_EQ(unitWave.GetValues(), 0);
  EXPECT_EQ(unitWave.GetState(), TUnitState::New);
  EXPECT_EQ(Checks(), "000");
  // The document closes while it is recorded into: the recording ends.
  player->unreadable = false;
  media->Record(unitWave);
  media->UnitClosing(&unitWave);
  EXPECT_EQ(Checks(), "000");
  EXPECT_EQ(player->mode, M::NotReady);
  EXPECT_FALSE(media->Enabled(C::Stop, nullptr, false));
}

TEST_F(MediaCommandsTest, EnablingFollowsTheState) {
  // Columns: Play, Record, Stop, Pause.
  struct Case {
    const char* state;
    std::string enabled;
  };
  const Case cases[] = {
      {"no window", "0001"},  {"wave", "1001"},
      {"empty wave", "0101"}, {"playing", "1011"},
      {"recording", "0110"},  {"record waits", "0111"},
      {"no media", "0000"},   {"no output device", "0001"},
  };
  for (const Case& c : cases) {
    const std::string state = c.state;
    auto owned = std::make_unique<FakePlayer>();
    player = owned.get();
    media = std::make_unique<TMediaCommands>(std::move(owned), dir.path().toStdString(),
                                             state != "no media");
    TUnitWave& full = Wave(8);
    TUnitWave& empty = *workspace.NewWave({22050, 1, 1});
    const TUnitWave* active = state == "no window" ? nullptr : &full;
    if (state == "empty wave" || state == "recording" || state == "record waits") active = &empty;
    if (state == "playing") media->Play(full);
    if (state == "record waits") media->Pause();
    if (state == "recording" || state == "record waits") media->Record(empty);
    if (state == "no output device") {
      player->output = false;
      media->Play(full);
      media->Play(full);
    }
    std::string enabled;
    for (C command : {C::Play, C::Record, C::Stop, C::Pause}) {
      enabled += media->Enabled(command, active, false) ? "1" : "0";
    }
    EXPECT_EQ(enabled, c.enabled) << c.state;
  }
  // The missing device was told once, though Play was tried twice.
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Error");
}

}  // namespace
