#include <gtest/gtest.h>

#include <algorithm>

#include "docfixtures.h"
#include "documents/commands.h"
#include "support/recordingui.h"

namespace {

// A short click train: the echoes land at places the dice choose.
std::unique_ptr<Sound> Clicks() {
  std::vector<std::int16_t> values(200, 0);
  for (int i = 0; i < 200; i += 50) values[i] = 1000;
  return MakeMono(values, 8000);
}

TRandomEchoProps Echo(std::int32_t seed) {
  TRandomEchoProps props;
  props.seed.SetValue(seed);
  props.count.SetValue(5);
  props.timeDiff.SetValue(0.05);  // 400 values at 8000 Hz
  return props;
}

std::vector<std::int16_t> EchoOf(const TRandomEchoProps& props) {
  DocumentFixture f(Clicks());
  f.doc->SetSelection(10, 20);
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::RndEcho, props),
            TCommandResult::Done);
  EXPECT_EQ(f.doc->GetCursor(), 0);  // the cursor goes to the start
  EXPECT_FALSE(f.doc->HasSelection());
  return LeftOf(*f.doc);
}

}  // namespace

TEST(RandomEcho, TheSameSeedGivesTheSameSound) { EXPECT_EQ(EchoOf(Echo(7)), EchoOf(Echo(7))); }

TEST(RandomEcho, DifferentSeedsGiveDifferentSounds) { EXPECT_NE(EchoOf(Echo(7)), EchoOf(Echo(8))); }

TEST(RandomEcho, TheAccumulatorIsLongEnoughForTheLastEcho) {
  // Length trunc(values + T + 1 + Freq / 3400) = trunc(200 + 400 + 1 + 2.35)
  // = 603, filled by a silence of (603 + 1) / 8000 s, which is
  // trunc(8000 x 604 / 8000 + 1) = 605 values.
  EXPECT_EQ(EchoOf(Echo(1)).size(), 605u);
}

TEST(RandomEcho, ACyclableEchoFoldsIntoTheTimeDifference) {
  TRandomEchoProps props = Echo(3);
  props.cyclable = true;
  // trunc(T + 1) = 401, filled with (401 + 1) / 8000 s: 403 values.
  EXPECT_EQ(EchoOf(props).size(), 403u);
}

TEST(RandomEcho, UnchangedVolumeAddsWholeCopies) {
  // Volume, length, pitch, tempo and balance unchanged: every echo is the
  // sound itself, so the sum of all values is count x the sound's sum.
  TRandomEchoProps props = Echo(11);
  props.volume.kind = kEchoNoChange;
  long sum = 0;
  for (std::int16_t v : EchoOf(props)) sum += v;
  EXPECT_EQ(sum, 5L * 4 * 1000);
}

TEST(RandomEcho, BalanceMakesTheResultStereo) {
  DocumentFixture f(Clicks());
  TRandomEchoProps props = Echo(2);
  props.balance.kind = kEchoLinear;
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::RndEcho, props);
  EXPECT_EQ(f.doc->GetMonoStereo(), 2);
  EXPECT_NE(std::find(f.window.calls.begin(), f.window.calls.end(), "channels 2"),
            f.window.calls.end());
}

TEST(RandomEcho, AMissingEnvelopeRefusesAndChangesNothing) {
  DocumentFixture f(Clicks());
  TRandomEchoProps props = Echo(2);
  props.length.kind = kEchoRandomEnvelope;
  props.length.envelope.SetName("len");
  const Sound* before = &f.doc->GetSound();
  RecordingUi ui;
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::RndEcho, props),
            TCommandResult::Refused);
  EXPECT_EQ(&f.doc->GetSound(), before);
}
