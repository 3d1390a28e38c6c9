#include "dialogs/mfreqdialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "support/recordingui.h"

namespace {

// The dialog on the default record, shown, with the messages recorded.
class MFreqDialogTest : public ::testing::Test {
 protected:
  MFreqDialogTest() {
    // The ticks outlive a dialog: each test sets them. Here: only
    // "Frequency" (the second field) keeps its text for a new frequency.
    TDlgMFreqProps ticks(TMFreqProps{});
    for (std::size_t i = 0; i < TDlgMFreqProps::kFieldCount; ++i) {
      ticks.DefaultBox(i)->setChecked(i == 1);
    }
    dialog = std::make_unique<TDlgMFreqProps>(TMFreqProps{});
    dialog->show();
  }

  void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  void Click(const char* caption) {
    QPushButton* button = dialog->Button(caption);
    ASSERT_NE(button, nullptr) << caption;
    ASSERT_TRUE(button->isEnabled()) << caption;
    button->click();
  }
  std::vector<QString> Texts() const {
    std::vector<QString> texts;
    for (std::size_t i = 0; i < TDlgMFreqProps::kFieldCount; ++i) {
      texts.push_back(dialog->FrequencyEdit(i)->text());
    }
    return texts;
  }

  RecordingUi ui;
  std::unique_ptr<TDlgMFreqProps> dialog;
};

}  // namespace

TEST_F(MFreqDialogTest, InsertKeepsOnlyTheTickedFieldAndTheOthersMustBeFilledIn) {
  EXPECT_TRUE(dialog->DefaultBox(1)->isChecked());
  EXPECT_FALSE(dialog->DefaultBox(0)->isChecked());
  Type(dialog->FrequencyEdit(1), "440 Hz");
  Click("Insert");
  EXPECT_EQ(Texts(), (std::vector<QString>{"", "440 Hz", "", "", ""}));
  EXPECT_EQ(dialog->CursorText(), "1");
  EXPECT_EQ(dialog->CountText(), "2");

  // The first empty field in reading order stops moving on and OK.
  Click("Next");
  dialog->accept();
  EXPECT_EQ(ui.Texts(),
            std::vector<std::string>(2, "Input Error: In Start Volume: Input has no value."));
  EXPECT_EQ(dialog->CursorText(), "1");
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->focusWidget(), dialog->FrequencyEdit(0));

  // Delete needs no reading: the frequency typed before Insert is shown.
  Click("Delete");
  EXPECT_EQ(Texts(), (std::vector<QString>{"50 %", "440 Hz", "0", "10 %", "1 s"}));
  EXPECT_EQ(dialog->CountText(), "1");
  EXPECT_FALSE(dialog->Button("Delete")->isEnabled());
}

TEST_F(MFreqDialogTest, OkGivesTheLengthAndTheFrequenciesTyped) {
  for (std::size_t i = 0; i < TDlgMFreqProps::kFieldCount; ++i) {
    dialog->DefaultBox(i)->setChecked(true);
  }
  Type(dialog->LengthEdit(), "2 s");
  Type(dialog->FrequencyEdit(1), "440 Hz");
  Click("Append");
  Type(dialog->FrequencyEdit(1), "660 Hz");
  Type(dialog->FrequencyEdit(3), "20 %");
  Click("Append");
  Type(dialog->FrequencyEdit(1), "880 Hz");
  EXPECT_EQ(dialog->CursorText(), "3");
  dialog->accept();

  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  const TMFreqProps& props = dialog->Props();
  EXPECT_DOUBLE_EQ(props.Seconds.GetValue(), 2);
  EXPECT_FALSE(props.UseForm);
  ASSERT_EQ(props.Freqs.size(), 3u);
  const double hertz[] = {440, 660, 880};
  const double factors[] = {0.1, 0.2, 0.2};
  for (std::size_t k = 0; k < 3; ++k) {
    // Hz are read as a period, 1 / number in single precision.
    EXPECT_NEAR(props.Freqs[k].Period.GetValue(), 1 / hertz[k], 1e-9) << k;
    EXPECT_DOUBLE_EQ(props.Freqs[k].VolumeFactor.GetValue(), factors[k]) << k;
    EXPECT_DOUBLE_EQ(props.Freqs[k].StartVolume.GetValue(), 0.5) << k;
  }
}
