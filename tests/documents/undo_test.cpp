#include <gtest/gtest.h>

#include "base/allocation.h"
#include "docfixtures.h"
#include "documents/commands.h"
#include "support/recordingui.h"

namespace {

TVolumeProps Half() {
  TVolumeProps props;
  props.Factor.SetValue(0.5);
  return props;
}

}  // namespace

TEST(Undo, VolumeThenUndoAlternatesBetweenTheTwoStates) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({100, -200, 300, 400}));
  f.doc->SetCursorAndAnchor(3, 1);
  ASSERT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Volume, Half()),
            TCommandResult::Done);
  // trunc(s x 0.5) over the selection 1 ... 3.
  const std::vector<std::int16_t> after = {100, -100, 150, 400};
  EXPECT_EQ(LeftOf(*f.doc), after);
  f.doc->SetCursor(0);  // the selection changes after the command

  f.workspace.Undo();
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{100, -200, 300, 400}));
  EXPECT_EQ(f.doc->GetCursor(), 3);
  EXPECT_EQ(f.doc->GetAnchor(), 1);

  f.workspace.Undo();  // redo
  EXPECT_EQ(LeftOf(*f.doc), after);
  EXPECT_EQ(f.doc->GetCursor(), 0);
  EXPECT_EQ(f.doc->GetAnchor(), 0);
}

TEST(Undo, OnlyTheLastChangeAnywhereCanBeUndone) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({100, 200}));
  TUnitWave* other = f.workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({1, 2, 3}), "b"));
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Volume, Half());
  RunWaveCommand(f.workspace, *other, TWaveCommand::Reverse);
  ASSERT_EQ(f.workspace.GetUndoUnit()->GetUnitWave(), other);
  f.workspace.Undo();
  EXPECT_EQ(LeftOf(*other), (std::vector<std::int16_t>{1, 2, 3}));
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{50, 100}));  // A keeps its change
}

TEST(Undo, TheRecordHoldsTheOldSoundObjectItself) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3}));
  const Sound* before = &f.doc->GetSound();
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Reverse);
  const TUndoUnit* undo = f.workspace.GetUndoUnit();
  ASSERT_NE(undo, nullptr);
  EXPECT_EQ(undo->GetSound(), before);
  EXPECT_TRUE(undo->OwnsSound());
  EXPECT_NE(&f.doc->GetSound(), before);
}

TEST(Undo, ClosingTheRecordsDocumentDropsTheRecord) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3}));
  TUnitWave* other = f.workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({4, 5}), "b"));
  RunWaveCommand(f.workspace, *other, TWaveCommand::Reverse);
  f.workspace.CloseUnit(f.doc);  // not the record's document
  EXPECT_NE(f.workspace.GetUndoUnit(), nullptr);
  f.workspace.CloseUnit(other);
  EXPECT_EQ(f.workspace.GetUndoUnit(), nullptr);
}

TEST(Undo, UndoOnASavedDocumentMakesItChanged) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3}));
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Reverse);
  f.doc->SetSaved();  // saved after the change
  f.workspace.Undo();
  EXPECT_EQ(f.doc->GetState(), TUnitState::Changed);
}

TEST(Undo, DeleteUndoFreesTheOldSoundAndKeepsTheNew) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3}));
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Reverse);
  f.workspace.DeleteUndo();
  EXPECT_EQ(f.workspace.GetUndoUnit(), nullptr);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{3, 2, 1}));
}

TEST(Undo, AFailedCommandLeavesTheSoundWithTheDocumentOnly) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({100, 200, 300}));
  f.doc->SetCursorAndAnchor(2, 1);
  const Sound* before = &f.doc->GetSound();
  FailAllocationAfter(0);
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Volume, Half()),
            TCommandResult::Failed);
  FailAllocationAfter(-1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "System Error");
  EXPECT_EQ(&f.doc->GetSound(), before);
  const TUndoUnit* undo = f.workspace.GetUndoUnit();
  ASSERT_NE(undo, nullptr);
  EXPECT_EQ(undo->GetSound(), before);
  EXPECT_FALSE(undo->OwnsSound());

  // Undo swaps the selection only.
  f.doc->SetCursor(0);
  f.workspace.Undo();
  EXPECT_EQ(&f.doc->GetSound(), before);
  EXPECT_EQ(f.doc->GetCursor(), 2);
  EXPECT_EQ(f.doc->GetAnchor(), 1);

  // Dropping the record leaves the document's sound alive.
  f.workspace.DeleteUndo();
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{100, 200, 300}));
}

TEST(Undo, CopyAndClearClipboardKeepThePreviousRecord) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3}));
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Reverse);
  const TUndoUnit* undo = f.workspace.GetUndoUnit();
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::EditCopy);
  EXPECT_EQ(f.workspace.GetUndoUnit(), undo);
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::EditClearClipboard);
  EXPECT_EQ(f.workspace.GetUndoUnit(), undo);
  EXPECT_FALSE(f.workspace.HasClipBoardSound());
}

TEST(Undo, ARefusedCommandKeepsThePreviousRecord) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3}));
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Reverse);
  const TUndoUnit* undo = f.workspace.GetUndoUnit();
  TVolumeProps props;
  props.Envelope = true;
  props.EnvelopeWave.SetName("nowhere");
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Volume, props),
            TCommandResult::Refused);
  EXPECT_EQ(f.workspace.GetUndoUnit(), undo);
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Error: Cannot find window \"nowhere\"."}));
  f.workspace.Undo();
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{1, 2, 3}));
}

TEST(Undo, RecordingIntoTheDocumentLeavesTheRecordItsOwnSound) {
  // The record refers to the document's sound after a failed command; a new
  // sound set without a record must not leave it pointing nowhere.
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3}));
  f.workspace.NewUndo(*f.doc);
  std::unique_ptr<Sound> previous = f.doc->SetSound(MakeMono({7, 8}));
  EXPECT_EQ(previous, nullptr);  // the record keeps it
  EXPECT_TRUE(f.workspace.GetUndoUnit()->OwnsSound());
  f.workspace.Undo();
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{1, 2, 3}));
}
