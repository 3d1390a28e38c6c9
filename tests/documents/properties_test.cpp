#include <gtest/gtest.h>

#include "base/allocation.h"
#include "docfixtures.h"
#include "documents/commands.h"
#include "support/recordingui.h"

namespace {

TCommandResult SetFormat(DocumentFixture& f, TWaveFileProps props) {
  return RunWaveCommand(f.workspace, *f.doc, TWaveCommand::FileProperties, props);
}

}  // namespace

TEST(WaveProperties, StereoToMonoAtHalfTheFrequencyMovesTheSelection) {
  DocumentFixture f(MakeStereo(Constant(4000, 1000), Constant(4000, -1000)));
  f.doc->SetSelection(1000, 3000);
  f.window.calls.clear();
  EXPECT_EQ(SetFormat(f, {22050, 1, 2}), TCommandResult::Done);
  EXPECT_EQ(f.doc->GetMonoStereo(), 1);
  EXPECT_EQ(f.doc->GetFrequency(), 22050);
  EXPECT_EQ(f.doc->GetValues(), 2000);
  EXPECT_EQ(f.doc->GetSelLow(), 500);
  EXPECT_EQ(f.doc->GetSelHigh(), 1500);
  EXPECT_EQ(LeftOf(*f.doc)[100], 0);  // the average of 1000 and -1000
  EXPECT_EQ(f.window.Stretches().front(), "channels 1");
}

TEST(WaveProperties, MonoToStereoCopiesTheChannel) {
  DocumentFixture f(MakeMono({5, -6, 7}));
  SetFormat(f, {44100, 2, 2});
  EXPECT_EQ(f.doc->GetMonoStereo(), 2);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{5, -6, 7}));
  EXPECT_EQ(RightOf(*f.doc), (std::vector<std::int16_t>{5, -6, 7}));
  f.workspace.Undo();
  EXPECT_EQ(f.doc->GetMonoStereo(), 1);
}

TEST(WaveProperties, AChangeOfWidthAloneCanBeUndone) {
  DocumentFixture f(MakeMono({5, -6, 7}, 44100, 2));
  const Sound* before = &f.doc->GetSound();
  SetFormat(f, {44100, 1, 1});
  EXPECT_EQ(f.doc->GetBytesPSample(), 1);
  EXPECT_NE(&f.doc->GetSound(), before);  // a new sound, the old one kept for Undo
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{5, -6, 7}));  // samples untouched
  EXPECT_EQ(f.doc->GetState(), TUnitState::Changed);
  f.workspace.Undo();
  EXPECT_EQ(f.doc->GetBytesPSample(), 2);
  f.workspace.Undo();
  EXPECT_EQ(f.doc->GetBytesPSample(), 1);
}

TEST(WaveProperties, TheSameFormatMakesNothing) {
  DocumentFixture f(MakeMono({5}));
  const Sound* before = &f.doc->GetSound();
  f.window.calls.clear();
  SetFormat(f, {44100, 1, 2});
  EXPECT_EQ(&f.doc->GetSound(), before);
  EXPECT_TRUE(f.window.calls.empty());
}

TEST(WaveProperties, AFailureKeepsSoundAndSelection) {
  RecordingUi ui;
  DocumentFixture f(MakeStereo(Constant(4000, 1), Constant(4000, 2)));
  f.doc->SetSelection(1000, 3000);
  const Sound* before = &f.doc->GetSound();
  FailAllocationAfter(0);
  EXPECT_EQ(SetFormat(f, {22050, 1, 1}), TCommandResult::Failed);
  FailAllocationAfter(-1);
  EXPECT_EQ(&f.doc->GetSound(), before);
  EXPECT_EQ(f.doc->GetFrequency(), 44100);
  EXPECT_EQ(f.doc->GetBytesPSample(), 2);
  EXPECT_EQ(f.doc->GetSelLow(), 1000);
  EXPECT_EQ(f.doc->GetSelHigh(), 3000);
  EXPECT_EQ(ui.messages.size(), 1u);
}
