#include "app/mainform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/childwindow.h"
#include "app/commandtable.h"
#include "app/mainformfixture.h"
#include "documents/docfixtures.h"
#include "documents/unitwave.h"
#include "support/recordingui.h"

namespace {

using Names = std::set<std::string>;

// The commands every state enables (Pause too: it can wait for a Play).
const Names kAlways = {"FilePause",          "FileNewWave",       "FileOpenWave",
                       "FileExit",           "WindowCascade",     "WindowTileHorizontal",
                       "WindowTileVertical", "WindowMinimizeAll", "WindowArrangeAll",
                       "HelpTopicSearch",    "HelpContents",      "HelpOnHelp",
                       "HelpAbout"};
const Names kAnyWindow = {"FileClose",   "Register",  "FileProperties", "ViewWave",     "ViewVold",
                          "MakeSilence", "MakeLine",  "MakeBlock",      "MakeTriangle", "MakeSinus",
                          "MakeNoise",   "MakeMFreq", "Duplicate",      "SelectWave"};
const Names kEffects = {"Block",     "Up",        "RollIn",     "RollOut",     "Distort",
                        "Length",    "Rotate",    "Reverse",    "Volume",      "MaxVolume",
                        "RndEcho",   "PerEcho",   "TempoPitch", "FilterBlock", "FilterHigh",
                        "FilterLow", "FilterRes", "FilterNotch"};

Names Join(std::initializer_list<Names> sets) {
  Names all;
  for (const Names& set : sets) all.insert(set.begin(), set.end());
  return all;
}

class MainFormTest : public MainFormFixture {
 protected:
  TUnitWave& AddWave(std::unique_ptr<Sound> sound, const std::string& name = "a.wav") {
    TUnitWave* unit =
        form->GetWorkspace().AddWave(std::make_unique<TUnitWave>(std::move(sound), name));
    form->CreateWaveWindow(*unit);
    return *unit;
  }

  // The commands of the table (not the context keys) that are enabled now.
  Names Enabled() {
    form->UpdateCommands();
    Names names;
    for (const TCommandRow& row : CommandRows()) {
      if (std::string(row.Category) != "key" && form->Action(row.Name)->isEnabled()) {
        names.insert(row.Name);
      }
    }
    return names;
  }

  bool MenuShown(const QString& title) {
    for (QAction* action : form->menuBar()->actions()) {
      if (action->text() == title) return action->isVisible();
    }
    return false;
  }

  // Closed windows go at the next turn of the event loop.
  std::size_t WindowsLeft() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return static_cast<std::size_t>(form->Children().size());
  }
};

TEST(CommandTable, WaveRowsExtendTheCoreRowsAndKeysAreUnique) {
  std::set<TWaveCommand> covered;
  std::set<QKeySequence> keys;
  for (const TCommandRow& row : CommandRows()) {
    if (row.Wave) {
      EXPECT_STREQ(row.Name, WaveCommandName(*row.Wave));
      EXPECT_TRUE(covered.insert(*row.Wave).second) << row.Name;
    }
    // Two actions with one key make Qt fire neither.
    if (*row.Key != '\0') {
      EXPECT_TRUE(keys.insert(QKeySequence(row.Key)).second) << row.Name;
    }
  }
  EXPECT_EQ(covered.size(), AllWaveCommands().size());
}

TEST_F(MainFormTest, NoWindowLeavesFileWindowAndHelpCommands) {
  EXPECT_EQ(Enabled(), kAlways);
  EXPECT_FALSE(form->NameBox()->isEnabled());
  EXPECT_TRUE(form->NameBox()->text().isEmpty());
  for (const char* menu : {"Edit", "View", "Make", "Effects", "Music", "Window"}) {
    EXPECT_FALSE(MenuShown(menu)) << menu;
  }
  EXPECT_TRUE(MenuShown("File"));
}

TEST_F(MainFormTest, EmptyMonoWaveEnablesDrawingAndNoEffects) {
  TWaveFileProps mono;
  mono.MonoStereo = 1;
  form->CreateWaveWindow(*form->GetWorkspace().NewWave(mono));
  EXPECT_EQ(Enabled(), Join({kAlways, kAnyWindow, {"DrawWaveLin", "DrawWave3G", "FileRecord"}}));
  EXPECT_TRUE(form->NameBox()->isEnabled());
  EXPECT_TRUE(MenuShown("Edit"));
  EXPECT_FALSE(MenuShown("Music"));
}

TEST_F(MainFormTest, StereoWaveWithoutSelectionEnablesRangeCommands) {
  AddWave(MakeStereo(Ramp(100), Ramp(100)));
  EXPECT_EQ(Enabled(), Join({kAlways,
                             kAnyWindow,
                             kEffects,
                             {"FilePlay", "FileSaveAs", "EditDelete", "EditCut", "EditCopy",
                              "EditExtract", "MixLeftRight", "SplitV"}}));
}

TEST_F(MainFormTest, MonoSelectionClipboardAndChangeEnableTheRest) {
  TUnitWave& unit = AddWave(MakeMono(Ramp(100)));
  unit.SetSelection(10, 20);
  form->GetWorkspace().SetClipBoardSound(MakeMono(Ramp(5)));
  form->Action("Reverse")->trigger();
  EXPECT_EQ(unit.GetState(), TUnitState::Changed);
  EXPECT_EQ(Enabled(),
            Join({kAlways,
                  kAnyWindow,
                  kEffects,
                  {"FilePlay", "FileSave", "FileSaveAs", "Undo", "DeleteUndo", "EditDelete",
                   "EditTrim", "EditCut", "EditCopy", "EditPaste", "EditSwap", "EditExtract",
                   "EditMix", "EditClearClipboard", "ZoomIn", "Balance", "SplitH"}}));
}

TEST_F(MainFormTest, ContextKeysPassOnToTheWaveCommandWhenItCanRun) {
  TUnitWave& unit = AddWave(MakeMono(Ramp(100)));
  form->Action("Reverse")->trigger();
  ASSERT_NE(form->GetWorkspace().GetUndoUnit(), nullptr);
  Enabled();
  // Alt+Del in a wave window is Delete Undo.
  form->Action("keyAltDel")->trigger();
  EXPECT_EQ(form->GetWorkspace().GetUndoUnit(), nullptr);
  // Shift+L has nothing to do in a wave window; L is Length.
  const std::uint64_t version = unit.GetSoundVersion();
  form->Action("keyShiftL")->trigger();
  EXPECT_EQ(unit.GetSoundVersion(), version);
  EXPECT_EQ(form->StatusPanel(7), "Changed");
  // The state panel empties with the last window, with the others.
  ui->answer = MessageResult::No;
  form->Action("FileClose")->trigger();
  EXPECT_EQ(WindowsLeft(), 0u);
  Enabled();
  for (int panel = 2; panel < 8; ++panel) EXPECT_TRUE(form->StatusPanel(panel).isEmpty());
}

TEST_F(MainFormTest, KeysTypedInTheNameBoxNeverFireCommands) {
  TUnitWave& unit = AddWave(MakeMono(Ramp(100)));
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  form->UpdateCommands();
  QLineEdit* box = form->NameBox();
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_TRUE(form->IsEditingName());
  // R is Reverse and Ctrl+R Rotate outside the box.
  QTest::keyClick(box, Qt::Key_R);
  QTest::keyClick(box, Qt::Key_R, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_V);
  EXPECT_EQ(box->text(), "rv");
  EXPECT_EQ(unit.GetState(), TUnitState::Saved);
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_FALSE(form->IsEditingName());
  EXPECT_EQ(unit.GetRegisterName(), "rv");
  // Outside the box the key is the command again.
  QTest::keyClick(form->Children().front(), Qt::Key_R);
  EXPECT_EQ(unit.GetState(), TUnitState::Changed);
}

TEST_F(MainFormTest, RegisterNameClashKeepsTheOldName) {
  TUnitWave& first = AddWave(MakeMono(Ramp(10)), "first.wav");
  first.SetRegisterName("drum");
  TUnitWave& second = AddWave(MakeMono(Ramp(10)), "second.wav");
  second.SetRegisterName("bass");
  const struct {
    const char* typed;
    const char* kept;
    std::size_t messages;
  } kCases[] = {{"drum", "bass", 1}, {"  snare ", "snare", 1}, {"", "", 1}, {"drum", "", 2}};
  for (const auto& c : kCases) {
    form->NameBox()->setText(c.typed);
    QTest::keyClick(form->NameBox(), Qt::Key_Return);
    EXPECT_EQ(second.GetRegisterName(), c.kept) << c.typed;
    EXPECT_EQ(form->NameBox()->text().toStdString(), c.kept);
    EXPECT_EQ(ui->messages.size(), c.messages) << c.typed;
  }
  EXPECT_EQ(ui->Texts().front(), "Error: A wave with name \"drum\" already exists.");
  EXPECT_EQ(first.GetRegisterName(), "drum");
}

TEST_F(MainFormTest, SaveQuestionOnCloseAndExit) {
  QTemporaryDir dir;
  const std::string path = QDir(dir.path()).filePath("saved.wav").toStdString();
  const struct {
    MessageResult answer;
    bool nameGiven;
    std::size_t windowsLeft;
    bool written;
  } kCases[] = {{MessageResult::Cancel, true, 1, false},
                {MessageResult::Yes, false, 1, false},
                {MessageResult::No, true, 0, false},
                {MessageResult::Yes, true, 0, true}};
  for (const auto& c : kCases) {
    QFile::remove(QString::fromStdString(path));
    AddWave(MakeMono(Ramp(10))).SetNew();  // never saved: Save asks for a name
    ui->messages.clear();
    ui->answer = c.answer;
    form->AskSaveWaveFile = [&]() -> std::optional<std::string> {
      if (!c.nameGiven) return {};
      return path;
    };
    form->Action("FileClose")->trigger();
    EXPECT_EQ(WindowsLeft(), c.windowsLeft);
    ASSERT_EQ(ui->Texts(),
              std::vector<std::string>{"You have unsaved changes: Do you want to save?"});
    EXPECT_EQ(QFile::exists(QString::fromStdString(path)), c.written);
    for (TMDIChildTonbrisk* child : form->Children()) child->GetUnit().SetSaved(), child->close();
    WindowsLeft();
  }
  // Exit asks for every changed window; Cancel keeps the program running.
  AddWave(MakeMono(Ramp(10)), "one.wav").SetChanged();
  AddWave(MakeMono(Ramp(10)), "two.wav");
  ui->messages.clear();
  ui->answer = MessageResult::Cancel;
  EXPECT_FALSE(form->close());
  EXPECT_EQ(WindowsLeft(), 2u);
  ui->answer = MessageResult::No;
  EXPECT_TRUE(form->close());
  EXPECT_EQ(WindowsLeft(), 0u);
  EXPECT_EQ(ui->messages.size(), 2u);
}

TEST_F(MainFormTest, OpenFilesGoOnPastOneThatCannotBeRead) {
  QTemporaryDir dir;
  QStringList paths;
  for (const char* name : {"one.wav", "missing.wav", "two.wav"}) {
    paths.append(QDir(dir.path()).filePath(name));
  }
  for (int i : {0, 2}) {
    TUnitWave writer(MakeMono(Ramp(10 + i)), "");
    ASSERT_TRUE(writer.SaveAs(paths[i].toStdString(), false));
  }
  form->OpenWaveFiles(paths);
  ASSERT_EQ(form->Children().size(), 2);
  EXPECT_EQ(form->GetActiveChild()->GetUnit().GetFileName(), paths[2].toStdString());
  ASSERT_EQ(ui->messages.size(), 1u);
  EXPECT_EQ(ui->messages[0].title, "File Error");
  EXPECT_EQ(form->GetActiveWaveUnit()->GetValues(), 12);
}

}  // namespace
