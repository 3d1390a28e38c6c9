#include "base/progress.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "support/recordingui.h"
#include "wavetestutil.h"

namespace {

using V = std::vector<std::int16_t>;

// Records the fractions; with `cancelOnReport` each report asks the scope
// of the reporting thread to cancel, as a Cancel button pressed at once.
class ProgressUi : public RecordingUi {
 public:
  void Progress(double fraction) override {
    fractions.push_back(fraction);
    if (cancelOnReport) CurrentProgress()->RequestCancel();
  }
  std::vector<double> fractions;
  bool cancelOnReport = false;
};

// Three full blocks and a half one.
constexpr std::int32_t kValues = 3500;

TEST(Progress, FractionsRiseToOneWithinEachLoop) {
  const auto sound = MakeStereo(Ramp(kValues), Ramp(kValues, 7));
  bool failed = false;
  const auto quiet = sound->Volume(failed, 2, 0, -1);
  ProgressUi ui;
  const ProgressScope scope(std::chrono::seconds(0));
  const auto listened = sound->Volume(failed, 2, 0, -1);
  ASSERT_FALSE(failed);
  // One loop per channel, each reporting before its blocks 2, 3 and 4 and
  // once more at its end.
  const std::vector<double> perLoop{1000.0 / kValues, 2000.0 / kValues, 3000.0 / kValues, 1};
  std::vector<double> expected = perLoop;
  expected.insert(expected.end(), perLoop.begin(), perLoop.end());
  EXPECT_EQ(ui.fractions, expected);
  // A listener changes nothing in the result.
  EXPECT_EQ(ValuesOf(listened->GetLeft()), ValuesOf(quiet->GetLeft()));
  EXPECT_EQ(ValuesOf(listened->GetRight()), ValuesOf(quiet->GetRight()));
}

TEST(Progress, ReportsAreRateLimited) {
  const auto sound = MakeMono(Ramp(kValues));
  ProgressUi ui;
  const ProgressScope scope(std::chrono::hours(1));
  bool failed = false;
  EXPECT_NE(sound->Volume(failed, 2, 0, -1), nullptr);
  EXPECT_TRUE(ui.fractions.empty());
}

// Every kind of loop ends as after an out-of-memory failure: the flag set,
// no result, the source as it was; but no message.
TEST(Progress, CancelEndsTheOperationWithoutAMessage) {
  using Op = std::function<std::unique_ptr<Sound>(const Sound&, bool&)>;
  const auto envelope = MakeMono(Ramp(10, -5000, 1000));
  const struct {
    const char* name;
    Op op;
  } cases[] = {
      // clang-format off
      {"Volume", [](const Sound& s, bool& f) { return s.Volume(f, 2, 0, -1); }},
      {"LowPass", [](const Sound& s, bool& f) { return s.Filter1(f, &Wave::lowPass, 0.01, 0.5, 2, 2, 0, -1); }},
      {"LowPassEnvelope",
       [&](const Sound& s, bool& f) { return s.Filter1Envelope(f, &Wave::lowPassEnvelope, *envelope, 0.5, 1, 1, 0, -1); }},
      {"Resonant", [](const Sound& s, bool& f) {
         return s.Filter2(f, true, true, 0.01, 0.1, nullptr, nullptr, &Wave::resonant, &Wave::resonantFreqEnvelope,
                          &Wave::resonantWidthEnvelope, &Wave::resonantEnvelopes, 0, -1);
       }},
      {"BlockFilter", [](const Sound& s, bool& f) { std::int32_t b = 0, e = s.GetValues(); return s.BlockFilter(f, 0.0035, b, e); }},
      {"EchoConstant", [](const Sound& s, bool& f) { std::int32_t b = 0, e = s.GetValues(); return s.EchoConstant(f, 0.5, 0.5, 2, b, e); }},
      {"EchoVolumeEnvelope",
       [&](const Sound& s, bool& f) { std::int32_t b = 0, e = s.GetValues(); return s.EchoVolumeEnvelope(f, 0.5, *envelope, 2, b, e); }},
      {"Balance", [](const Sound& s, bool& f) -> std::unique_ptr<Sound> { return s.Balance(f, 0.5, true, false, false); }},
      {"TempoPitch",
       [](const Sound& s, bool& f) { std::int32_t b = 0, e = s.GetValues(); return s.TempoPitch(f, 1.25, 0, 0.8, 1, 0.04, 1, b, e); }},
      {"Block", [](const Sound& s, bool& f) { return s.Block(f, 0.0045, 0, 0, -1); }},
      {"RollIn", [](const Sound& s, bool& f) { std::int32_t b = 0, e = s.GetValues(); return s.RollIn(f, 1.5, 0, b, e); }},
      // clang-format on
  };
  const auto sound = MakeStereo(Ramp(kValues), Ramp(kValues, 7));
  for (const auto& c : cases) {
    ProgressUi ui;
    ui.cancelOnReport = true;
    const ProgressScope scope(std::chrono::seconds(0));
    bool failed = false;
    EXPECT_EQ(c.op(*sound, failed), nullptr) << c.name;
    EXPECT_TRUE(failed) << c.name;
    EXPECT_EQ(ui.fractions.size(), 1U) << c.name;  // nothing after the cancel
    EXPECT_TRUE(ui.messages.empty()) << c.name;
    EXPECT_EQ(ValuesOf(sound->GetLeft()), Ramp(kValues)) << c.name;
    EXPECT_EQ(ValuesOf(sound->GetRight()), Ramp(kValues, 7)) << c.name;
  }
}

TEST(Progress, CancelStopsBeforeTheNextBlock) {
  // In place, so the stop shows: the first block doubled, the rest as it was.
  auto wave = MakeWave(Ramp(kValues));
  ProgressUi ui;
  ui.cancelOnReport = true;
  const ProgressScope scope(std::chrono::seconds(0));
  bool failed = false;
  wave->volumeInPlace(failed, 2, 0, -1);
  EXPECT_TRUE(failed);
  EXPECT_EQ(ui.fractions, std::vector<double>{1000.0 / kValues});
  V expected = Ramp(kValues);
  for (int i = 0; i < 1000; ++i) expected[i] = static_cast<std::int16_t>(2 * i);
  EXPECT_EQ(ValuesOf(wave.get()), expected);
}

TEST(Progress, AWorkerThreadRunsUnderItsOwnScope) {
  // The worker reports, then waits until this thread has pressed Cancel.
  class WorkerUi : public RecordingUi {
   public:
    void Progress(double /*fraction*/) override {
      if (reports++ > 0) return;
      reached.set_value(CurrentProgress());
      pressed.get_future().wait();
    }
    int reports = 0;
    std::promise<ProgressScope*> reached;
    std::promise<void> pressed;
  } ui;
  const auto sound = MakeMono(Ramp(kValues));
  bool failed = false;
  std::unique_ptr<Sound> result;
  std::thread worker([&] {
    const ProgressScope scope(std::chrono::seconds(0));
    result = sound->Volume(failed, 2, 0, -1);
  });
  ProgressScope* workerScope = ui.reached.get_future().get();
  EXPECT_EQ(CurrentProgress(), nullptr);  // this thread has none
  workerScope->RequestCancel();
  ui.pressed.set_value();
  worker.join();
  EXPECT_TRUE(failed);
  EXPECT_EQ(result, nullptr);
  EXPECT_EQ(ui.reports, 1);
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
