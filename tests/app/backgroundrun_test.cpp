#include "app/backgroundrun.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <atomic>
#include <memory>
#include <vector>

#include "documents/docfixtures.h"
#include "documents/undo.h"
#include "documents/unitwave.h"
#include "support/recordingui.h"

namespace {

constexpr std::int32_t kValues = 1 << 21;

// A filter long enough to be stopped part way: its count repeats the pass,
// and each pass reports its fractions.
TWaveRecord SlowFilter() {
  THighLowProps props;
  props.Count = unitIntegerPosMore{8};
  return props;
}

// Records messages and hands progress on, as the program's interface does;
// cancels the run from the worker once the command reports `cancelAt`.
class ProgressUi : public RecordingUi {
 public:
  void Progress(double fraction) override {
    TBackgroundRun::ReportProgress(fraction);
    if (run != nullptr && fraction >= cancelAt) {
      reached = fraction;
      run->Cancel();
    }
  }
  TBackgroundRun* run = nullptr;
  double cancelAt = 2;
  std::atomic<double> reached{0};
};

struct Fixture {
  TWorkspace workspace;
  TUnitWave* unit;
  ProgressUi ui;
  explicit Fixture(std::int32_t values = kValues)
      : unit(workspace.AddWave(std::make_unique<TUnitWave>(MakeMono(Ramp(values)), "a.wav"))) {}
};

TEST(BackgroundRun, GivesTheSameResultAsTheCommandOnItsOwnThread) {
  Fixture direct(50000), background(50000);
  for (TWaveCommand command : {TWaveCommand::FilterLow, TWaveCommand::MakeNoise,
                               TWaveCommand::MakeNoise, TWaveCommand::Reverse}) {
    const TWaveRecord record = CommandRecord(*direct.unit, command);
    EXPECT_EQ(RunWaveCommand(direct.workspace, *direct.unit, command, record),
              TCommandResult::Done);
    TBackgroundRun run(nullptr, nullptr);
    EXPECT_EQ(run.Run(background.workspace, *background.unit, command, record),
              TCommandResult::Done);
  }
  // Noise goes on with the one random sequence of the program, as it would
  // on one thread, so the two noises differ and match the direct ones.
  EXPECT_EQ(LeftOf(*background.unit), LeftOf(*direct.unit));
}

TEST(BackgroundRun, CancelLeavesTheDocumentAsItWas) {
  for (double cancelAt : {-1.0, 0.2, 0.5}) {
    Fixture f;
    const std::vector<std::int16_t> before = LeftOf(*f.unit);
    TBackgroundRun run(nullptr, nullptr, std::chrono::milliseconds(0));
    run.SetReportInterval(ProgressScope::Clock::duration::zero());
    f.ui.run = &run;
    f.ui.cancelAt = cancelAt;
    if (cancelAt < 0) run.Cancel();
    EXPECT_EQ(run.Run(f.workspace, *f.unit, TWaveCommand::FilterLow, SlowFilter()),
              TCommandResult::Failed)
        << cancelAt;
    // The cancel came from the progress the command reported.
    EXPECT_GE(f.ui.reached.load(), cancelAt);
    EXPECT_EQ(LeftOf(*f.unit), before) << cancelAt;
    EXPECT_EQ(f.unit->GetState(), TUnitState::Saved);
    EXPECT_TRUE(f.ui.messages.empty()) << cancelAt;
    EXPECT_FALSE(TBackgroundRun::Busy());
  }
}

}  // namespace
