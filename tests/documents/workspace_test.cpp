#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "docfixtures.h"
#include "documents/savewave.h"
#include "documents/status.h"
#include "sound/wavfile.h"
#include "support/recordingui.h"

TEST(Workspace, NonameCounterIsSharedByAllNewDocuments) {
  TWorkspace workspace;
  TWaveFileProps props;
  TUnitWave* first = workspace.NewWave(props);
  EXPECT_EQ(first->GetFileName(), "NONAME1");
  EXPECT_EQ(workspace.NextNonameName(), "NONAME2");  // e.g. a new music document
  TUnitWave* generated = workspace.AddGeneratedWave(MakeMono({1}));
  EXPECT_EQ(generated->GetFileName(), "NONAME3");
  EXPECT_EQ(first->GetState(), TUnitState::New);
  // Made from a sound the document is Saved, then changed: Changed.
  EXPECT_EQ(generated->GetState(), TUnitState::Changed);
}

TEST(Workspace, NewWaveHasTheFormatAskedFor) {
  TWorkspace workspace;
  TUnitWave* unit = workspace.NewWave({22050, 1, 1});
  EXPECT_EQ(unit->GetFrequency(), 22050);
  EXPECT_EQ(unit->GetMonoStereo(), 1);
  EXPECT_EQ(unit->GetBytesPSample(), 1);
  EXPECT_EQ(unit->GetValues(), 0);
  EXPECT_FALSE(unit->NeedsSave());  // nothing to save in an empty wave
}

TEST(Workspace, NewDocumentsTakeTheDefaultRecords) {
  TWorkspace workspace;
  workspace.Defaults.volume.Factor.SetValue(0.25);
  TUnitWave* unit = workspace.NewWave({});
  EXPECT_EQ(unit->Records.volume.Factor.GetValue(), 0.25);
}

TEST(Workspace, RegisterNamesAreFoundFromTheLastWindow) {
  TWorkspace workspace;
  TUnitWave* a = workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({1}), "a"));
  TUnitWave* b = workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({2}), "b"));
  a->SetRegisterName("sample");
  b->SetRegisterName("sample");
  EXPECT_EQ(workspace.FindUnitByRegisterName("sample"), b);
  workspace.SetWindowOrder({b, a});
  EXPECT_EQ(workspace.FindWaveUnitByRegisterName("sample"), a);
  EXPECT_EQ(workspace.FindWaveUnitByRegisterName("Sample"), nullptr);  // case-sensitive
  EXPECT_EQ(workspace.WaveNames(), (std::vector<std::string>{"sample", "sample"}));
}

TEST(Workspace, CheckRegisterNameRefusesANameInUse) {
  RecordingUi ui;
  TWorkspace workspace;
  TUnitWave* a = workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({1}), "a"));
  TUnitWave* b = workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({2}), "b"));
  a->SetRegisterName("drum");
  EXPECT_TRUE(workspace.CheckRegisterName("", b));
  EXPECT_TRUE(workspace.CheckRegisterName("drum", a));  // its own name
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(workspace.CheckRegisterName("drum", b));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Error");
  EXPECT_EQ(ui.messages[0].text, "A wave with name \"drum\" already exists.");
}

TEST(Workspace, TheUnitValuesFindWavesAndTheirSelectionThroughIt) {
  TWorkspace workspace;
  TUnitWave* a = workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({1, 2, 3, 4}), "a"));
  a->SetRegisterName("env");
  unitUnitWave choice("env");
  ASSERT_TRUE(choice.GetWave());
  EXPECT_EQ(choice.GetWave()->sound, &a->GetSound());
  // Nothing selected: the whole wave.
  EXPECT_EQ(choice.GetWave()->selEnd, 4);
  a->SetSelection(1, 3);
  EXPECT_EQ(choice.GetWave()->selBegin, 1);
  EXPECT_EQ(choice.GetWave()->selEnd, 3);
  EXPECT_EQ(Waves().WaveNames(), (std::vector<std::string>{"env"}));
}

TEST(Workspace, OpenShowsTheReadersReasonAfterThePath) {
  RecordingUi ui;
  TWorkspace workspace;
  EXPECT_EQ(workspace.OpenWave("/nonexistent/x.wav"), nullptr);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "File Error");
  EXPECT_EQ(ui.messages[0].text,
            std::string("Cannot read the file: \"/nonexistent/x.wav\"") + kWavCannotOpen);
  EXPECT_TRUE(workspace.Units().empty());
}

TEST(Workspace, OpenedDocumentIsSavedAndNamedByItsPath) {
  RecordingUi ui;
  const std::string path = testing::TempDir() + "tb_doc_open.wav";
  {
    bool failed = false;
    auto sound = MakeStereo({1, 2, 3}, {4, 5, 6}, 22050, 2);
    ASSERT_TRUE(WriteWavFile(failed, path, *sound, 0, -1, false));
  }
  TWorkspace workspace;
  TUnitWave* unit = workspace.OpenWave(path);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->GetFileName(), path);
  EXPECT_EQ(unit->GetState(), TUnitState::Saved);
  EXPECT_EQ(RightOf(*unit), (std::vector<std::int16_t>{4, 5, 6}));
  std::remove(path.c_str());
}

TEST(SaveWave, AFileThatCannotBeWrittenIsReportedAndKeepsStateAndName) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({1, 2, 3}));
  f.doc->SetChanged();
  const std::string bad = "/nonexistent-dir/out.wav";
  EXPECT_FALSE(SaveWaveAs(f.doc, [&] { return std::optional<std::string>(bad); }));
  EXPECT_EQ(ui.Texts(),
            (std::vector<std::string>{"File Error: Cannot write the file: \"" + bad + "\"."}));
  EXPECT_EQ(f.doc->GetFileName(), "doc.wav");
  EXPECT_EQ(f.doc->GetState(), TUnitState::Changed);

  // Save to its own unwritable file likewise.
  f.doc->SetFileName(bad);
  f.doc->SetChanged();
  EXPECT_FALSE(SaveWave(f.doc, [] { return std::optional<std::string>(); }));
  EXPECT_EQ(f.doc->GetState(), TUnitState::Changed);
  EXPECT_EQ(ui.messages.size(), 2u);
}

TEST(SaveWave, NewDocumentAsksForANameAndBecomesSaved) {
  RecordingUi ui;
  TWorkspace workspace;
  TUnitWave* unit = workspace.NewWave({8000, 1, 1});
  unit->SetSound(MakeMono({256, -256}, 8000, 1));
  const std::string path = testing::TempDir() + "tb_doc_save.wav";
  int asked = 0;
  EXPECT_TRUE(SaveWave(unit, [&] {
    ++asked;
    return std::optional<std::string>(path);
  }));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(unit->GetFileName(), path);
  EXPECT_EQ(unit->GetState(), TUnitState::Saved);
  EXPECT_TRUE(SaveWave(unit, [] { return std::optional<std::string>(); }));
  EXPECT_EQ(asked, 1);  // a saved document is written to its file without asking
  EXPECT_TRUE(ui.messages.empty());
  std::remove(path.c_str());
}

TEST(SaveWave, CancelledSaveAsChangesNothing) {
  DocumentFixture f(MakeMono({1}));
  f.doc->SetNew();
  EXPECT_FALSE(SaveWave(f.doc, [] { return std::optional<std::string>(); }));
  EXPECT_EQ(f.doc->GetState(), TUnitState::New);
  EXPECT_EQ(f.doc->GetFileName(), "doc.wav");
}

TEST(WaveStatus, FrequencyHasOneToThreeDecimals) {
  EXPECT_EQ(FrequencyKHzText(44100), "44.1 kHz");
  EXPECT_EQ(FrequencyKHzText(22050), "22.05 kHz");
  EXPECT_EQ(FrequencyKHzText(8000), "8.0 kHz");
  EXPECT_EQ(FrequencyKHzText(11025), "11.025 kHz");
  EXPECT_EQ(FrequencyKHzText(176400), "176.4 kHz");
  EXPECT_EQ(FrequencyKHzText(500), "0.5 kHz");
}

TEST(WaveStatus, PanelsShowLengthFormatSizeAndState) {
  // 88200 stereo 16-bit values at 44100 Hz: 2 s, 88200 x 2 x 2 = 352800
  // bytes = 344.53 kb, shown without decimals as '344 kb'.
  TWorkspace workspace;
  TUnitWave* unit = workspace.AddWave(
      std::make_unique<TUnitWave>(MakeStereo(Constant(88200, 0), Constant(88200, 0)), "a.wav"));
  auto panels = WaveStatusTexts(*unit);
  EXPECT_EQ(panels[0], "2.00000 s");
  EXPECT_EQ(panels[1], "44.1 kHz");
  EXPECT_EQ(panels[2], "16");
  EXPECT_EQ(panels[3], "ST");
  EXPECT_EQ(panels[4], "344 kb");
  EXPECT_EQ(panels[5], "");  // opened, equal to its file
  unit->SetChanged();
  EXPECT_EQ(WaveStatusTexts(*unit)[5], "Changed");

  // 100 mono 8-bit values: 100 b.
  TUnitWave* small = workspace.NewWave({8000, 1, 1});
  small->SetSound(MakeMono(Constant(100, 0), 8000, 1));
  panels = WaveStatusTexts(*small);
  EXPECT_EQ(panels[2], "8");
  EXPECT_EQ(panels[3], "MO");
  EXPECT_EQ(panels[4], "100 b");
  EXPECT_EQ(panels[5], "New");
  small->SetChanged();  // a new document stays New through changes
  EXPECT_EQ(WaveStatusTexts(*small)[5], "New");
}
