#include "app/splitmerge.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/mainform.h"
#include "app/mainformfixture.h"
#include "app/waveview.h"
#include "app/wavewindow.h"
#include "dialogs/selectzoomdialog.h"
#include "dialogs/splitmergedialogs.h"
#include "documents/docfixtures.h"
#include "support/recordingui.h"

namespace {

class SplitMergeTest : public MainFormFixture {
 protected:
  SplitMergeTest() : commands(SplitMergeCommands(*form)) {}

  // A saved document changed since: closing it would ask.
  TUnitWave& AddWave(std::unique_ptr<Sound> sound, const QRect& rect) {
    TUnitWave* unit =
        form->GetWorkspace().AddWave(std::make_unique<TUnitWave>(std::move(sound), "a.wav"));
    form->CreateWaveWindow(*unit)->setGeometry(rect);
    unit->SetChanged();
    return *unit;
  }

  void Run(const char* command) {
    form->UpdateCommands();
    ASSERT_TRUE(form->Action(command)->isEnabled()) << command;
    form->Action(command)->trigger();
  }

  std::vector<TMDIChildWave*> Windows() const {
    std::vector<TMDIChildWave*> windows;
    for (TMDIChildTonbrisk* child : form->Children()) {
      windows.push_back(static_cast<TMDIChildWave*>(child));
    }
    return windows;
  }

  TSplitMergeCommands& commands;
};

TEST_F(SplitMergeTest, SplitHorizontallyAtTheCursorPutsTwoWindowsSideBySide) {
  TUnitWave& source = AddWave(MakeMono(Ramp(5000)), QRect(10, 20, 500, 300));
  source.SetCursor(1000);
  Run("SplitH");
  const auto windows = Windows();
  ASSERT_EQ(windows.size(), 2u);
  // 1000 of 5000 values across 500 pixels from x = 10: the cut at x = 110.
  EXPECT_EQ(windows[0]->GetUnitWave().GetFileName(), "NONAME1");
  EXPECT_EQ(windows[0]->GetUnitWave().GetValues(), 1000);
  EXPECT_EQ(windows[0]->geometry(), QRect(10, 20, 100, 300));
  EXPECT_EQ(windows[1]->GetUnitWave().GetFileName(), "NONAME2");
  EXPECT_EQ(windows[1]->GetUnitWave().GetValues(), 4000);
  EXPECT_EQ(windows[1]->geometry(), QRect(110, 20, 400, 300));
  EXPECT_EQ(windows[1]->GetUnitWave().GetState(), TUnitState::New);
  EXPECT_TRUE(ui->messages.empty());  // the changed source went unasked
}

TEST_F(SplitMergeTest, SplitVerticallyStacksLeftOverRightWithTheSelection) {
  TUnitWave& source = AddWave(MakeStereo(Ramp(100), Constant(100, -5)), QRect(0, 0, 400, 301));
  source.SetSelection(10, 20);
  const Wave* left = source.GetSound().GetLeft();
  Run("SplitV");
  const auto windows = Windows();
  ASSERT_EQ(windows.size(), 2u);
  // The middle of 0 ... 301 is 150.
  EXPECT_EQ(windows[0]->geometry(), QRect(0, 0, 400, 150));
  EXPECT_EQ(windows[1]->geometry(), QRect(0, 150, 400, 151));
  EXPECT_EQ(windows[0]->GetUnitWave().GetSound().GetLeft(), left);  // not a copy
  EXPECT_EQ(windows[1]->GetUnitWave().GetMonoStereo(), 1);
  EXPECT_EQ(LeftOf(windows[1]->GetUnitWave()).front(), -5);
  for (TMDIChildWave* window : windows) {
    EXPECT_EQ(window->GetUnitWave().GetSelLow(), 10);
    EXPECT_EQ(window->GetUnitWave().GetSelHigh(), 20);
  }
  EXPECT_TRUE(ui->messages.empty());
}

TEST_F(SplitMergeTest, MergeHorizontallyShowsOnlyThePagesWhereTheWavesDiffer) {
  AddWave(MakeMono(Constant(1000, 7), 22050), QRect(0, 0, 300, 200));
  AddWave(MakeStereo(Constant(500, 1), Constant(500, 1), 44100), QRect(300, 100, 300, 200));
  std::vector<QString> shown;
  commands.RunMerge = [&](TDlgMerge& dialog) {
    dialog.OneList()->setCurrentRow(0);
    dialog.OtherList()->setCurrentRow(1);
    for (const char* page : {"Mono/Stereo", "Frequency", "Bits", "Display"}) {
      if (dialog.PageVisible(page)) shown.push_back(page);
    }
    dialog.SetHorProps({2, 44100, 1, 0});
    dialog.accept();
    return dialog.result() == QDialog::Accepted;
  };
  Run("MergeH");
  EXPECT_EQ(shown, (std::vector<QString>{"Mono/Stereo", "Frequency"}));
  const auto windows = Windows();
  ASSERT_EQ(windows.size(), 1u);
  const TUnitWave& merged = windows[0]->GetUnitWave();
  EXPECT_EQ(merged.GetValues(), 2500);
  EXPECT_EQ(merged.GetMonoStereo(), 2);
  EXPECT_EQ(merged.GetFrequency(), 44100);
  // Both 16 bits: the hidden page's choice of 8 bits does not apply.
  EXPECT_EQ(merged.GetBytesPSample(), 2);
  EXPECT_EQ(windows[0]->geometry(), QRect(0, 0, 600, 300));
}

TEST_F(SplitMergeTest, MergeRefusesTheSameWaveTwiceAndStaysOpen) {
  AddWave(MakeMono(Ramp(10)), QRect(0, 0, 300, 200));
  AddWave(MakeMono(Ramp(20)), QRect(0, 200, 300, 200));
  bool stayedOpen = false;
  commands.RunMerge = [&](TDlgMerge& dialog) {
    dialog.OtherList()->setCurrentRow(dialog.OneList()->currentRow());
    dialog.accept();
    stayedOpen = dialog.result() != QDialog::Accepted;
    return false;  // then cancelled
  };
  Run("MergeV");
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(ui->Texts(),
            std::vector<std::string>{"Input Error: The chosen Waves must be different"});
  EXPECT_EQ(Windows().size(), 2u);
}

TEST_F(SplitMergeTest, SelectAndZoomRefusesTimesOutsideTheWave) {
  TUnitWave& u = AddWave(MakeMono(Ramp(1000), 1000), QRect(0, 0, 600, 300));  // one second
  Run("SelectWave");
  TDlgSelZoom* dialog = commands.SelZoomDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(form->Action("SelectWave")->isChecked());
  struct Case {
    QLineEdit* (TDlgSelZoom::*edit)() const;
    const char* text;
    QLineEdit* (TDlgSelZoom::*edit2)() const;
    const char* text2;
    std::string message;
  };
  const Case cases[] = {
      {&TDlgSelZoom::AtEdit, "1 s", nullptr, "",
       "Input Error: In Selected Cursor: Must be prior before the end of the wave."},
      {&TDlgSelZoom::PartBeginEdit, "0.5 s", &TDlgSelZoom::PartEndEdit, "0.5 s",
       "Input Error: Part Begin must be prior before Part End."},
      {&TDlgSelZoom::PartBeginEdit, "1 s", &TDlgSelZoom::PartEndEdit, "2 s",
       "Input Error: In Part Begin: Must be prior before the end of the wave."},
      {&TDlgSelZoom::ZoomBeginEdit, "0.2 s", &TDlgSelZoom::ZoomEndEdit, "0.1 s",
       "Input Error: Zoom Begin must be prior before Zoom End."},
  };
  for (const Case& c : cases) {
    u.SetSelection(100, 200);
    dialog->ShowWindow(dialog->GetTarget());
    ui->messages.clear();
    for (auto [edit, text] : {std::pair{c.edit, c.text}, std::pair{c.edit2, c.text2}}) {
      if (edit == nullptr) continue;
      (dialog->*edit)()->clear();
      QTest::keyClicks((dialog->*edit)(), text);  // typing picks the field's option
    }
    dialog->ApplyButton()->click();
    EXPECT_EQ(ui->Texts(), std::vector<std::string>{c.message}) << c.text;
    EXPECT_FALSE(static_cast<TMDIChildWave*>(form->Children().front())->IsZoomed());
  }
  // Nothing was applied by the refused cursor, and a good one is.
  EXPECT_EQ(u.GetSelLow(), 100);
  dialog->ShowWindow(dialog->GetTarget());
  ui->messages.clear();
  dialog->AtEdit()->clear();
  QTest::keyClicks(dialog->AtEdit(), "250 ms");
  dialog->ApplyButton()->click();
  EXPECT_FALSE(u.HasSelection());
  EXPECT_EQ(u.GetCursor(), 250);
  // A selection made elsewhere shows at once.
  u.SetSelection(500, 750);
  EXPECT_TRUE(dialog->PartButton()->isChecked());
  unitTimePos end;
  std::string message;
  ASSERT_TRUE(end.ReadFromText(dialog->PartEndEdit()->text().toStdString(), "End", message));
  EXPECT_DOUBLE_EQ(end.GetValue(), 0.75);
  // A typed zoom shows 250 ... 500; unchecking Zoomed shows the whole wave
  // again and leaves the selection alone.
  auto* window = static_cast<TMDIChildWave*>(form->Children().front());
  dialog->ZoomBeginEdit()->clear();
  dialog->ZoomEndEdit()->clear();
  QTest::keyClicks(dialog->ZoomBeginEdit(), "0.25 s");
  QTest::keyClicks(dialog->ZoomEndEdit(), "0.5 s");
  dialog->ApplyButton()->click();
  ASSERT_TRUE(window->IsZoomed());
  EXPECT_NEAR(window->GetView().VisibleBegin(), 250, 2);
  EXPECT_NEAR(window->GetView().VisibleEnd(), 500, 2);
  dialog->ZoomedBox()->setChecked(false);
  dialog->ApplyButton()->click();
  EXPECT_FALSE(window->IsZoomed());
  EXPECT_EQ(u.GetSelLow(), 500);
  EXPECT_EQ(u.GetSelHigh(), 750);
  EXPECT_EQ(ui->Texts(), std::vector<std::string>{});
}

TEST_F(SplitMergeTest, SelectAndZoomWithoutAWindowOffersNothing) {
  AddWave(MakeMono(Ramp(1000), 1000), QRect(0, 0, 600, 300));
  Run("SelectWave");
  TDlgSelZoom* dialog = commands.SelZoomDialog();
  ui->answer = MessageResult::No;
  form->Children().front()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(dialog->GetTarget(), nullptr);
  for (QWidget* widget : std::initializer_list<QWidget*>{
           dialog->ApplyButton(), dialog->CursorButton(), dialog->PartButton(), dialog->AtEdit(),
           dialog->PartBeginEdit(), dialog->PartEndEdit(), dialog->ZoomedBox(),
           dialog->ZoomBeginEdit(), dialog->ZoomEndEdit()}) {
    EXPECT_FALSE(widget->isEnabled());
  }
}

}  // namespace
