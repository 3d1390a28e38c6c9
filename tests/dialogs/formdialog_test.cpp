#include "dialogs/formdialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "app/mainform.h"
#include "app/waveview.h"
#include "app/wavewindow.h"
#include "documents/docfixtures.h"
#include "documents/unitwave.h"
#include "support/recordingui.h"

namespace {

// A workspace with one wave registered as "env" (or none), the core's
// messages recorded, and a dialog for a command's record.
class FormDialogTest : public ::testing::Test {
 protected:
  FormDialogTest() : fixture(MakeStereo(Ramp(100), Ramp(100), 22050)) {}

  void OpenEnvelope() {
    auto unit = std::make_unique<TUnitWave>(MakeMono(Constant(10, 100)), "env.wav");
    unit->SetRegisterName("env");
    fixture.workspace.AddWave(std::move(unit));
  }

  TFormDialog& Open(TWaveCommand command) {
    const TFormDesc* form = FindForm(command);
    EXPECT_NE(form, nullptr);
    return Open(*form, CommandRecord(*fixture.doc, command));
  }
  TFormDialog& Open(const TFormDesc& form, const TWaveRecord& record) {
    dialog = std::make_unique<TFormDialog>(
        form, record, nullptr, TFormWave{fixture.doc->GetFrequency(), fixture.doc->GetValues()});
    dialog->show();
    return *dialog;
  }

  void Type(const std::string& label, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(dialog->Control(label));
    ASSERT_NE(edit, nullptr) << label;
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  void Pick(const std::string& label, int index) {
    auto* combo = qobject_cast<QComboBox*>(dialog->Control(label));
    ASSERT_NE(combo, nullptr) << label;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  void PressOk() { dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }
  template <class R>
  const R& Result() const {
    return std::get<R>(dialog->Record());
  }
  std::string LastMessage() const { return ui.messages.empty() ? "" : ui.Texts().back(); }

  RecordingUi ui;
  DocumentFixture fixture;
  std::unique_ptr<TFormDialog> dialog;
};

TEST_F(FormDialogTest, ChangeVolumeReadsTheChosenAlternative) {
  // 10^(-6/20) = 0.50119; 'abc' and an envelope with no wave open fail.
  TFormDialog& d = Open(TWaveCommand::Volume);
  Type("Constant", "-6 dB");
  PressOk();
  ASSERT_EQ(d.result(), QDialog::Accepted) << LastMessage();
  EXPECT_NEAR(Result<TVolumeProps>().Factor.GetValue(), 0.50119, 1e-5);
  EXPECT_FALSE(Result<TVolumeProps>().Envelope);
  // Shown again in the unit typed.
  Open(*FindForm(TWaveCommand::Volume), d.Record());
  EXPECT_EQ(qobject_cast<QLineEdit*>(dialog->Control("Constant"))->text(), "-6 dB");

  Open(TWaveCommand::Volume);
  Type("Constant", "abc");
  PressOk();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(LastMessage(), "Input Error: In Constant: Input has no value.");
  EXPECT_EQ(dialog->focusWidget(), dialog->Control("Constant"));

  Open(TWaveCommand::Volume);
  dialog->Pick("Envelope")->click();
  EXPECT_FALSE(dialog->Pick("Constant")->isChecked());
  PressOk();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(LastMessage(), "Input Error: In Envelope: You have to select a Wave");
  EXPECT_EQ(dialog->focusWidget(), dialog->Control("Envelope"));
  EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(FormDialogTest, WaveListShowsTheOpenWavesAndTheStoredName) {
  OpenEnvelope();
  TVolumeProps props;
  props.Envelope = true;
  props.EnvelopeWave.SetName("env");
  Open(*FindForm(TWaveCommand::Volume), props);
  auto* list = qobject_cast<QComboBox*>(dialog->Control("Envelope"));
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->currentText(), "env");
  PressOk();
  EXPECT_EQ(dialog->result(), QDialog::Accepted) << LastMessage();
  EXPECT_EQ(Result<TVolumeProps>().EnvelopeWave.GetName(), "env");

  // A stored name no longer open is nothing selected.
  props.EnvelopeWave.SetName("gone");
  Open(*FindForm(TWaveCommand::Volume), props);
  EXPECT_EQ(qobject_cast<QComboBox*>(dialog->Control("Envelope"))->currentIndex(), -1);
}

TEST_F(FormDialogTest, MakeLineRefusesAnExponentialThroughZero) {
  const struct {
    bool exponential;
    const char* end;
    const char* message;  // empty: accepted
  } kCases[] = {
      {true, "0", "Input Error: Exponential Line may not contain value 0."},
      {false, "0", ""},
      {true, "25 %", ""},
  };
  for (const auto& c : kCases) {
    ui.messages.clear();
    Open(TWaveCommand::MakeLine);
    dialog->Option("Kind", c.exponential ? "Exponential" : "Linear")->click();
    Type("End Value", c.end);
    PressOk();
    EXPECT_EQ(LastMessage(), c.message) << c.end;
    EXPECT_EQ(dialog->isVisible(), *c.message != '\0') << c.end;
    if (*c.message != '\0') {
      EXPECT_EQ(dialog->focusWidget(), dialog->Control("End Value"));
    } else {
      EXPECT_EQ(Result<TLineProps>().Exponential, c.exponential);
    }
  }
  // 25 % of 32767 is 8191.75, kept as 8191.
  EXPECT_EQ(Result<TLineProps>().To.GetValue(), 8191);
}

TEST_F(FormDialogTest, BlockLabelsKeepTheirLeadingSpace) {
  Open(TWaveCommand::Block);
  Type(" Horizontal Count", "x");
  PressOk();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(LastMessage().rfind("Input Error: In  Horizontal Count: ", 0), 0u) << LastMessage();
  EXPECT_EQ(dialog->Caption(" Horizontal Count"), "Horizontal Count");

  // Typing into the time chooses it; the count, now not read, may stay bad.
  Type(" Time", "20 ms");
  EXPECT_TRUE(dialog->Option("Horizontal", "Time")->isChecked());
  PressOk();
  ASSERT_EQ(dialog->result(), QDialog::Accepted) << LastMessage();
  EXPECT_EQ(Result<TBlockProps>().Horizontal, kBlockTimeOrHeight);
  EXPECT_DOUBLE_EQ(Result<TBlockProps>().Time.GetValue(), 0.02);
}

TEST_F(FormDialogTest, VolumeDiagramKeepsTheBandsBelowTheSampleFrequency) {
  // The document plays at 22050 Hz: half of it is a period of 2 / 22050 s.
  const struct {
    const char* top;
    const char* bottom;
    const char* message;
    double topPeriod;  // when accepted
  } kCases[] = {
      {"30 kHz", "20 Hz", "Input Error: Top Frequency may not be higher than the sample Frequency.",
       0},
      {"1 kHz", "1 kHz", "Input Error: Top Frequency and Bottom Frequency must be different.", 0},
      {"1 kHz", "25 kHz",
       "Input Error: Bottom Frequency may not be higher than the sample Frequency.", 0},
      {"15 kHz", "20 Hz", "", 2.0 / 22050},
      // Both above half the sample frequency: raised, they would be one band.
      {"15 kHz", "12 kHz", "Input Error: Top Frequency and Bottom Frequency must be different.", 0},
      {"5 kHz", "20 Hz", "", 0.0002},
  };
  for (const auto& c : kCases) {
    ui.messages.clear();
    Open(VoldViewForm(), TVoldViewProps{});
    Type("Top Frequency", c.top);
    Type("Bottom Frequency", c.bottom);
    PressOk();
    EXPECT_EQ(LastMessage(), c.message) << c.top;
    if (*c.message == '\0') {
      EXPECT_DOUBLE_EQ(Result<TVoldViewProps>().Top.GetValue(), c.topPeriod) << c.top;
    } else {
      EXPECT_TRUE(dialog->isVisible());
    }
  }
}

TEST_F(FormDialogTest, RandomEchoVariationRows) {
  OpenEnvelope();
  Open(TWaveCommand::RndEcho);
  Type("Count", "0");
  PressOk();
  EXPECT_EQ(LastMessage().rfind("Input Error: In Count: ", 0), 0u) << LastMessage();
  Type("Count", "5");
  // Choosing the random envelope without a wave fails on its list.
  dialog->Option("Volume", "Random Envelope")->click();
  PressOk();
  EXPECT_EQ(LastMessage(), "Input Error: In Volume - Random Envelope: You have to select a Wave");
  EXPECT_EQ(dialog->focusWidget(), dialog->Control("Volume - Random Envelope"));
  // A wave picked for the length chooses its random envelope as well.
  Pick("Volume - Random Envelope", 0);
  Pick("Length - Random Envelope", 0);
  EXPECT_TRUE(dialog->Option("Length", "Random Envelope")->isChecked());
  Pick("Pitch Source", 3);
  PressOk();
  ASSERT_EQ(dialog->result(), QDialog::Accepted) << LastMessage();
  const auto& r = Result<TRandomEchoProps>();
  EXPECT_EQ(r.count.GetValue(), 5);
  EXPECT_EQ(r.volume.kind, kEchoEnvelope);
  EXPECT_EQ(r.length.kind, kEchoRandomEnvelope);
  EXPECT_EQ(r.length.envelope.GetName(), "env");
  EXPECT_EQ(r.pitch.die, 3);
}

TEST_F(FormDialogTest, RotateTimeWithinTheSound) {
  // 100 values at 22050 Hz last 4.535 ms.
  Open(TWaveCommand::Rotate);
  Type("Time", "5 ms");
  PressOk();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(LastMessage(),
            "Input Error: In Time: Time may not be longer than the time of the sound.");
  Type("Time", "4 ms");
  PressOk();
  ASSERT_EQ(dialog->result(), QDialog::Accepted) << LastMessage();
  EXPECT_TRUE(Result<TRotateProps>().UseTime);
}

TEST_F(FormDialogTest, TempoPitchLengthAlternatives) {
  Open(TWaveCommand::TempoPitch);
  Type("Frequency Factor", "0");
  PressOk();
  EXPECT_EQ(LastMessage().rfind("Input Error: In Frequency Factor: ", 0), 0u) << LastMessage();
  Type("Frequency Factor", "150 %");
  // Typing a new length chooses it over the length factor.
  Type("New Length", "3 s");
  EXPECT_TRUE(dialog->Pick("New Length")->isChecked());
  EXPECT_FALSE(dialog->Pick("Length Factor")->isChecked());
  dialog->Option("Quality", "High")->click();
  PressOk();
  ASSERT_EQ(dialog->result(), QDialog::Accepted) << LastMessage();
  const auto& r = Result<TTempoPitchProps>();
  EXPECT_DOUBLE_EQ(r.Pitch.GetValue(), 1.5);
  EXPECT_EQ(r.LengthMode, kNewLengthSeconds);
  EXPECT_DOUBLE_EQ(r.NewLength.GetValue(), 3.0);
  EXPECT_EQ(r.Quality, 1);
}

TEST_F(FormDialogTest, WavePropertiesListsTheFrequencies) {
  Open(TWaveCommand::FileProperties);
  auto* list = qobject_cast<QComboBox*>(dialog->Control("Frequency"));
  ASSERT_EQ(list->count(), 6);
  EXPECT_EQ(list->currentText(), "22 kHz");
  Pick("Frequency", 3);
  dialog->Option("Channels", "Mono")->click();
  PressOk();
  ASSERT_EQ(dialog->result(), QDialog::Accepted) << LastMessage();
  EXPECT_EQ(Result<TWaveFileProps>(), (TWaveFileProps{44100, 1, 2}));
  // A frequency not in the list is offered as it is.
  Open(*FindForm(TWaveCommand::FileProperties), TWaveFileProps{48000, 2, 2});
  EXPECT_EQ(qobject_cast<QComboBox*>(dialog->Control("Frequency"))->currentText(), "48000");
}

// Every dialog shows its description's caption, labels and defaults; every
// control has an accessible name and no two access letters clash.
TEST_F(FormDialogTest, EveryDialogMatchesItsDescription) {
  std::vector<std::pair<const TFormDesc*, TWaveRecord>> forms{{&WaveViewForm(), TWaveViewProps{}},
                                                              {&VoldViewForm(), TVoldViewProps{}}};
  for (TWaveCommand command : AllWaveCommands()) {
    if (const TFormDesc* form = FindForm(command)) {
      forms.emplace_back(form, CommandRecord(*fixture.doc, command));
    }
  }
  for (const auto& [form, record] : forms) {
    SCOPED_TRACE(form->caption);
    Open(*form, record);
    EXPECT_EQ(dialog->windowTitle().toStdString(), form->caption);
    EXPECT_GT(form->helpContext, 0);
    const TRecordForm shown(*form, record);
    for (const TFieldDesc& field : form->fields) {
      if (field.perFrequency) continue;
      const std::string text = field.caption.empty() ? field.label : field.caption;
      EXPECT_EQ(dialog->Caption(field.label), QString::fromStdString(text).trimmed());
      if (auto* edit = qobject_cast<QLineEdit*>(dialog->Control(field.label))) {
        EXPECT_EQ(edit->text().toStdString(), shown.Text(field)) << field.label;
      }
      if (field.kind == TFieldKind::Choice && !field.fills && field.options.size() <= 4) {
        EXPECT_TRUE(dialog->Option(field.label, shown.Text(field))->isChecked()) << field.label;
      }
      if (field.kind == TFieldKind::Check) {
        EXPECT_EQ(dialog->CheckBox(field.label)->isChecked(), shown.Text(field) == "yes");
      }
    }
    std::set<QChar> letters;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
      const bool control = qobject_cast<QAbstractButton*>(widget) != nullptr ||
                           qobject_cast<QLineEdit*>(widget) != nullptr ||
                           qobject_cast<QComboBox*>(widget) != nullptr;
      if (control && widget->parentWidget()->inherits("QComboBox")) continue;
      if (control) {
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->metaObject()->className();
      }
      QString text;
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
      if (auto* label = qobject_cast<QLabel*>(widget)) text = label->text();
      if (auto* box = qobject_cast<QGroupBox*>(widget)) text = box->title();
      const qsizetype amp = text.indexOf('&');
      if (amp >= 0 && amp + 1 < text.size()) {
        EXPECT_TRUE(letters.insert(text[amp + 1].toLower()).second) << text.toStdString();
      }
    }
  }
  // Defaults worked out from the records: '50 %' of Change Volume, the
  // volume diagram's 20 kHz and 20 Hz.
  Open(TWaveCommand::Volume);
  EXPECT_EQ(qobject_cast<QLineEdit*>(dialog->Control("Constant"))->text(), "50 %");
  Open(VoldViewForm(), TVoldViewProps{});
  EXPECT_EQ(qobject_cast<QLineEdit*>(dialog->Control("Top Frequency"))->text(), "20 kHz");
  EXPECT_EQ(qobject_cast<QLineEdit*>(dialog->Control("Bottom Frequency"))->text(), "20 Hz");
}

// The main window opens the command's dialog: Enter confirms what was
// typed, Escape leaves the document as it was.
TEST(FormDialogMainForm, VolumeRunsWithTheValueTyped) {
  TMainForm form;
  RecordingUi ui;
  TUnitWave* unit = form.GetWorkspace().AddWave(
      std::make_unique<TUnitWave>(MakeMono(Constant(8, 1000)), "a.wav"));
  form.CreateWaveWindow(*unit);
  QString help;
  const auto answer = [&help](const char* typed, int key) {
    QTimer::singleShot(0, [typed, key, &help] {
      auto* dialog = qobject_cast<TFormDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->SetHelp([&help](const QString& topic) { help = topic; });
      dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
      auto* edit = qobject_cast<QLineEdit*>(dialog->Control("Constant"));
      edit->selectAll();
      QTest::keyClicks(edit, typed);
      QTest::keyClick(edit, Qt::Key(key));
    });
  };
  answer("25 %", Qt::Key_Escape);
  form.Action("Volume")->trigger();
  EXPECT_EQ(LeftOf(*unit), Constant(8, 1000));
  EXPECT_EQ(unit->Records.volume.Factor.ToText(), "50 %");
  EXPECT_EQ(help, "Volume");
  answer("25 %", Qt::Key_Return);
  form.Action("Volume")->trigger();
  EXPECT_EQ(LeftOf(*unit), Constant(8, 250));
  EXPECT_EQ(unit->Records.volume.Factor.ToText(), "25 %");
  EXPECT_TRUE(ui.messages.empty());
}

// New wave asks for the format first; View Volume for the diagram's
// settings, which stay the window's own without "Use As Default".
TEST(FormDialogMainForm, NewWaveAndViewVolumeAskFirst) {
  TMainForm form;
  RecordingUi ui;
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TFormDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* frequency = qobject_cast<QComboBox*>(dialog->Control("Frequency"));
    frequency->setCurrentIndex(2);
    emit frequency->activated(2);
    dialog->Option("Channels", "Mono")->click();
    dialog->accept();
  });
  form.Action("FileNewWave")->trigger();
  ASSERT_EQ(form.Children().size(), 1);
  TUnitWave* unit = form.GetActiveWaveUnit();
  EXPECT_EQ(unit->GetFrequency(), 22050);
  EXPECT_EQ(unit->GetMonoStereo(), 1);

  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TFormDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* top = qobject_cast<QLineEdit*>(dialog->Control("Top Frequency"));
    top->selectAll();
    QTest::keyClicks(top, "5 kHz");
    dialog->accept();
  });
  form.Action("ViewVold")->trigger();
  const auto* child = qobject_cast<TMDIChildWave*>(form.GetActiveWaveWindow());
  EXPECT_FALSE(child->ShowsWaveView());
  EXPECT_DOUBLE_EQ(child->GetView().GetVoldView().Top.GetValue(), 0.0002);
  EXPECT_EQ(form.GetWorkspace().VoldView.Top.ToText(), "20 kHz");
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
