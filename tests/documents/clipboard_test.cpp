#include <gtest/gtest.h>

#include "base/allocation.h"
#include "docfixtures.h"
#include "documents/commands.h"
#include "support/recordingui.h"

namespace {

TCommandResult Edit(DocumentFixture& f, TWaveCommand command,
                    const TWaveRecord& record = std::monostate{}) {
  return RunWaveCommand(f.workspace, *f.doc, command, record);
}

TWaveRecord MixAt(std::uint8_t place) {
  TMixProps props;
  props.Place = place;
  return props;
}

}  // namespace

TEST(Clipboard, CopyWithoutSelectionCopiesTheWholeWaveAndChangesNothing) {
  DocumentFixture f(MakeMono({1, 2, 3, 4}, 22050, 1));
  f.doc->SetCursor(2);
  EXPECT_EQ(Edit(f, TWaveCommand::EditCopy), TCommandResult::Done);
  const Sound& clip = f.workspace.GetClipBoardSound();
  EXPECT_EQ(ValuesOf(*clip.Channel(0)), (std::vector<std::int16_t>{1, 2, 3, 4}));
  EXPECT_EQ(clip.GetFreq(), 22050);
  EXPECT_EQ(clip.GetBytesPSample(), 1);
  EXPECT_EQ(f.doc->GetState(), TUnitState::Saved);  // Copy is no change
  EXPECT_EQ(f.doc->GetCursor(), 2);
}

TEST(Clipboard, CutWithoutSelectionEmptiesTheDocumentButKeepsItsKind) {
  DocumentFixture f(MakeStereo({1, 2, 3}, {4, 5, 6}, 22050, 1));
  f.doc->SetCursor(2);
  Edit(f, TWaveCommand::EditCut);
  EXPECT_EQ(f.doc->GetValues(), 0);
  EXPECT_EQ(f.doc->GetMonoStereo(), 2);
  EXPECT_EQ(f.doc->GetFrequency(), 22050);
  EXPECT_EQ(f.doc->GetBytesPSample(), 1);
  EXPECT_EQ(f.doc->GetCursor(), 0);
  EXPECT_EQ(ValuesOf(*f.workspace.GetClipBoardSound().Channel(1)),
            (std::vector<std::int16_t>{4, 5, 6}));
  EXPECT_EQ(f.window.unpaired, 0);
}

TEST(Clipboard, DeleteLeavesTheCursorWhereThePartWas) {
  DocumentFixture f(MakeMono(Ramp(10)));
  f.doc->SetSelection(3, 6);
  Edit(f, TWaveCommand::EditDelete);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{0, 1, 2, 6, 7, 8, 9}));
  EXPECT_FALSE(f.doc->HasSelection());
  EXPECT_EQ(f.doc->GetCursor(), 3);
  EXPECT_FALSE(f.workspace.HasClipBoardSound());  // Delete does not copy
}

TEST(Clipboard, PasteConvertsFrequencyAndChannels) {
  // 1000 mono values at 22050 Hz become 2000 values per channel at 44100 Hz.
  DocumentFixture f(MakeStereo(Constant(1000, 7), Constant(1000, -7)));
  f.workspace.SetClipBoardSound(MakeMono(Constant(1000, 300), 22050));
  f.doc->SetCursor(500);
  EXPECT_EQ(Edit(f, TWaveCommand::EditPaste), TCommandResult::Done);
  EXPECT_EQ(f.doc->GetValues(), 3000);
  EXPECT_EQ(f.doc->GetSelLow(), 500);
  EXPECT_EQ(f.doc->GetSelHigh(), 2500);
  const std::vector<std::int16_t> left = LeftOf(*f.doc);
  const std::vector<std::int16_t> right = RightOf(*f.doc);
  EXPECT_EQ(left[499], 7);
  EXPECT_EQ(left[500], 300);  // the clip in both channels
  EXPECT_EQ(right[1500], 300);
  EXPECT_EQ(right[2500], -7);                                    // the rest moved behind it
  EXPECT_EQ(f.workspace.GetClipBoardSound().GetValues(), 1000);  // the clipboard stays
  EXPECT_EQ(f.doc->GetState(), TUnitState::Changed);
}

TEST(Clipboard, PasteOnASelectionReplacesItAndCanBeRepeated) {
  DocumentFixture f(MakeMono(Ramp(6)));
  f.workspace.SetClipBoardSound(MakeMono({100, 101}));
  f.doc->SetSelection(1, 4);
  Edit(f, TWaveCommand::EditPaste);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{0, 100, 101, 4, 5}));
  EXPECT_EQ(f.doc->GetSelLow(), 1);
  EXPECT_EQ(f.doc->GetSelHigh(), 3);
  Edit(f, TWaveCommand::EditPaste);  // replaces the pasted part with itself
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{0, 100, 101, 4, 5}));
  f.doc->SetCursor(5);
  Edit(f, TWaveCommand::EditPaste);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{0, 100, 101, 4, 5, 100, 101}));
}

TEST(Clipboard, StereoClipPastedIntoMonoIsAveraged) {
  DocumentFixture f(MakeMono({0, 0}));
  f.workspace.SetClipBoardSound(MakeStereo({1000, 3}, {-1000, 4}));
  f.doc->SetCursor(1);
  Edit(f, TWaveCommand::EditPaste);
  // (1000 + -1000) / 2 = 0 and trunc((3 + 4) / 2) = 3.
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{0, 0, 3, 0}));
}

TEST(Clipboard, SwapWithoutSelectionInsertsAndLeavesAnEmptyClip) {
  DocumentFixture f(MakeMono({1, 2, 3}));
  f.workspace.SetClipBoardSound(MakeMono({9, 9}));
  f.doc->SetCursor(1);
  Edit(f, TWaveCommand::EditSwap);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{1, 9, 9, 2, 3}));
  EXPECT_EQ(f.doc->GetSelLow(), 1);
  EXPECT_EQ(f.doc->GetSelHigh(), 3);
  ASSERT_TRUE(f.workspace.HasClipBoardSound());
  EXPECT_EQ(f.workspace.GetClipBoardSound().GetValues(), 0);
  // Paste stays possible and inserts nothing.
  EXPECT_TRUE(CommandEnabled(f.workspace, *f.doc, TWaveCommand::EditPaste));
  f.doc->SetCursor(0);
  Edit(f, TWaveCommand::EditPaste);
  EXPECT_EQ(f.doc->GetValues(), 5);
}

TEST(Clipboard, SwapExchangesSelectionAndClip) {
  DocumentFixture f(MakeMono({1, 2, 3, 4}));
  f.workspace.SetClipBoardSound(MakeMono({8, 8, 8}));
  f.doc->SetSelection(1, 3);
  Edit(f, TWaveCommand::EditSwap);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{1, 8, 8, 8, 4}));
  EXPECT_EQ(f.doc->GetSelHigh(), 4);
  EXPECT_EQ(ValuesOf(*f.workspace.GetClipBoardSound().Channel(0)),
            (std::vector<std::int16_t>{2, 3}));
}

TEST(Clipboard, ASwapWhoseReplacementFailsStillHandsTheExtractedPartToTheClipboard) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3, 4}));
  f.workspace.SetClipBoardSound(MakeMono({8, 8, 8}));
  f.doc->SetSelection(1, 3);
  // The extraction of 2, 3 takes the one allocation allowed; the
  // replacement's fails.
  FailAllocationAfter(1);
  EXPECT_EQ(Edit(f, TWaveCommand::EditSwap), TCommandResult::Failed);
  FailAllocationAfter(-1);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{1, 2, 3, 4}));
  ASSERT_TRUE(f.workspace.HasClipBoardSound());
  EXPECT_EQ(ValuesOf(*f.workspace.GetClipBoardSound().Channel(0)),
            (std::vector<std::int16_t>{2, 3}));
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(f.window.unpaired, 0);
}

TEST(Clipboard, ASwapWhoseExtractionFailsLeavesTheClipboardEmpty) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3, 4}));
  f.workspace.SetClipBoardSound(MakeMono({8, 8, 8}));
  f.doc->SetSelection(1, 3);
  FailAllocationAfter(0);
  EXPECT_EQ(Edit(f, TWaveCommand::EditSwap), TCommandResult::Failed);
  FailAllocationAfter(-1);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{1, 2, 3, 4}));
  EXPECT_FALSE(f.workspace.HasClipBoardSound());
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(Clipboard, ExtractSilencesInPlaceAndCopies) {
  DocumentFixture f(MakeStereo({1, 2, 3, 4}, {5, 6, 7, 8}));
  f.doc->SetSelection(1, 3);
  Edit(f, TWaveCommand::EditExtract);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{1, 0, 0, 4}));
  EXPECT_EQ(RightOf(*f.doc), (std::vector<std::int16_t>{5, 0, 0, 8}));
  EXPECT_EQ(f.doc->GetSelLow(), 1);
  EXPECT_EQ(f.doc->GetSelHigh(), 3);
  EXPECT_EQ(ValuesOf(*f.workspace.GetClipBoardSound().Channel(1)),
            (std::vector<std::int16_t>{6, 7}));
  f.workspace.Undo();
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{1, 2, 3, 4}));
}

TEST(Clipboard, TrimKeepsOnlyTheSelectionFullySelected) {
  DocumentFixture f(MakeMono(Ramp(10)));
  EXPECT_EQ(Edit(f, TWaveCommand::EditTrim), TCommandResult::NotEnabled);  // needs a selection
  f.doc->SetSelection(2, 5);
  Edit(f, TWaveCommand::EditTrim);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{2, 3, 4}));
  EXPECT_EQ(f.doc->GetSelLow(), 0);
  EXPECT_EQ(f.doc->GetSelHigh(), 3);
}

TEST(Clipboard, MixPlacesTheClipByItsRecord) {
  struct Case {
    std::uint8_t place;
    std::int32_t cursor;
    std::int32_t anchor;
    std::vector<std::int16_t> expected;
  };
  // Clip 1, 2, 3 on ten zeros. Align Begin from the low end; Align End so
  // it ends at the high end; with a selection only high - low clip values
  // are used (the first ones, or the last ones when aligned at the end).
  const std::vector<Case> cases = {
      {kMixAlignBegin, 6, 6, {0, 0, 0, 0, 0, 0, 1, 2, 3, 0}},
      {kMixAlignEnd, 6, 6, {0, 0, 0, 1, 2, 3, 0, 0, 0, 0}},
      {kMixAlignBegin, 2, 4, {0, 0, 1, 2, 0, 0, 0, 0, 0, 0}},
      {kMixAlignEnd, 4, 2, {0, 0, 2, 3, 0, 0, 0, 0, 0, 0}},
      {kMixAlignBegin, 9, 9, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3}},  // runs past the end
  };
  for (const Case& c : cases) {
    DocumentFixture f(MakeMono(Constant(10, 0)));
    f.workspace.SetClipBoardSound(MakeMono({1, 2, 3}));
    f.doc->SetCursorAndAnchor(c.cursor, c.anchor);
    Edit(f, TWaveCommand::EditMix, MixAt(c.place));
    EXPECT_EQ(LeftOf(*f.doc), c.expected) << int(c.place) << " " << c.cursor << " " << c.anchor;
    EXPECT_EQ(f.doc->GetCursor(), c.cursor);  // the selection stays
    EXPECT_EQ(f.doc->GetAnchor(), c.anchor);
    EXPECT_EQ(f.workspace.Defaults.mix.Place, c.place);
    EXPECT_EQ(f.doc->Records.mix.Place, c.place);
  }
}

TEST(Clipboard, AFailedCopyLeavesTheClipboardEmpty) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3}));
  f.workspace.SetClipBoardSound(MakeMono({9}));
  FailAllocationAfter(0);
  Edit(f, TWaveCommand::EditCopy);
  FailAllocationAfter(-1);
  EXPECT_FALSE(f.workspace.HasClipBoardSound());
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(Clipboard, AFailedCutKeepsTheSoundAndSelectsTheRange) {
  RecordingUi ui;
  DocumentFixture f(MakeMono(Ramp(10)));
  f.doc->SetSelection(2, 5);
  FailAllocationAfter(0);
  EXPECT_EQ(Edit(f, TWaveCommand::EditCut), TCommandResult::Failed);
  FailAllocationAfter(-1);
  EXPECT_EQ(LeftOf(*f.doc), Ramp(10));
  EXPECT_EQ(f.doc->GetSelLow(), 2);
  EXPECT_EQ(f.doc->GetSelHigh(), 5);
  EXPECT_EQ(f.window.unpaired, 0);
}

