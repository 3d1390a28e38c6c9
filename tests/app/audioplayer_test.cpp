#include "app/audioplayer.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTest>
#include <functional>
#include <memory>

#include "app/mainform.h"
#include "app/waveview.h"
#include "app/wavewindow.h"
#include "documents/docfixtures.h"
#include "documents/unitwave.h"
#include "support/recordingui.h"

namespace {

bool WaitFor(const std::function<bool()>& done, int ms) {
  QDeadlineTimer deadline(ms);
  while (!done() && !deadline.hasExpired()) QTest::qWait(10);
  return done();
}

// Through the real audio system: needs a sound server (./test.sh starts one
// with a null output, scripts/soundserver.sh).
TEST(AudioPlayer, PlaysAndRecordsThroughTheSoundServer) {
  {
    TAudioPlayer probe;
    if (!probe.HasOutputDevice() || !probe.HasInputDevice()) {
      GTEST_SKIP() << "no audio device: no sound server runs (scripts/soundserver.sh starts one)";
    }
  }
  auto form = std::make_unique<TMainForm>();
  RecordingUi ui;
  form->show();
  QAction* play = form->Action("FilePlay");
  QAction* record = form->Action("FileRecord");

  // 0.3 s at 22050 Hz, 8 bits: the end notification unchecks Play.
  TUnitWave* wave = form->GetWorkspace().AddWave(
      std::make_unique<TUnitWave>(MakeMono(Constant(6615, 8000), 22050, 1), "tone.wav"));
  form->CreateWaveWindow(*wave);
  QElapsedTimer clock;
  clock.start();
  play->trigger();
  EXPECT_TRUE(play->isChecked());
  // The play-position line shows while the wave plays.
  QWidget* viewport =
      static_cast<TMDIChildWave*>(form->GetActiveWaveWindow())->GetView().viewport();
  const auto lineShown = [viewport] {
    for (QWidget* line : viewport->findChildren<QWidget*>()) {
      if (line->isVisible() && line->width() <= 2) return true;
    }
    return false;
  };
  EXPECT_TRUE(WaitFor(lineShown, 250));
  EXPECT_TRUE(WaitFor([play] { return !play->isChecked(); }, 10000));
  EXPECT_GE(clock.elapsed(), 250);

  // 0.5 s into an empty stereo 22050 Hz 8-bit document.
  TUnitWave* empty = form->GetWorkspace().NewWave({22050, 2, 1});
  form->CreateWaveWindow(*empty);
  record->trigger();
  EXPECT_TRUE(record->isChecked());
  QTest::qWait(500);
  form->Action("FileStop")->trigger();
  EXPECT_FALSE(record->isChecked());
  EXPECT_EQ(empty->GetMonoStereo(), 2);
  EXPECT_EQ(empty->GetFrequency(), 22050);
  EXPECT_EQ(empty->GetBytesPSample(), 1);
  // 11025 frames (about 11060 measured); the upper margin is for a loaded
  // machine, where the wait may run long.
  EXPECT_GE(empty->GetValues(), 22050 * 4 / 10);
  EXPECT_LE(empty->GetValues(), 22050 * 8 / 10);
  EXPECT_TRUE(empty->NeedsSave());
  EXPECT_EQ(form->GetWorkspace().GetUndoUnit(), nullptr);
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
