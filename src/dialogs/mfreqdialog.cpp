// "Multi Frequency": the generator's length and wave form read through the
// form engine, its list of frequencies through the record browser.
#include "dialogs/mfreqdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "base/tbassert.h"
#include "units/waveregistry.h"

namespace {

// Which per-frequency fields keep their text for a new frequency; they stay
// as the user left them until the program ends.
std::array<bool, TDlgMFreqProps::kFieldCount> DefaultTicks{true, true, true, true, true};

// The captions with their access letters, one letter each across the
// dialog (OK, Cancel and Help have O, C and H).
QString Shown(const std::string& label) {
  static const std::map<std::string, QString> kShown{
      {"Length", "&Length"},
      {"Sine", "&Sine"},
      {"Wave Form", "&Wave Form"},
      {"Start Volume", "Start Vol&ume"},
      {"Frequency", "Fre&quency"},
      {"Start Angle", "Start An&gle"},
      {"Volume Factor", "Volu&me Factor"},
      {"Volume Factor at Time", "Volume Factor at &Time"},
  };
  const auto found = kShown.find(label);
  return found != kShown.end() ? found->second : QString::fromStdString(label);
}

QString Plain(QString text) { return text.remove('&'); }

const TFieldDesc& Field(const TFormDesc& desc, const char* label) {
  const TFieldDesc* field = FindField(desc, label);
  TB_ASSERT(field != nullptr);
  return *field;
}

// A record with one frequency, for reading and showing that frequency
// through its field descriptions.
TWaveRecord OneFrequency(const TMFreqRecord& values) {
  TMFreqProps props;
  props.Freqs = {values};
  return props;
}

}  // namespace

// --- the browser -----------------------------------------------------------------

namespace {

std::vector<std::unique_ptr<TBrowseRecord>> BrowseRecords(const std::vector<TMFreqRecord>& freqs) {
  std::vector<std::unique_ptr<TBrowseRecord>> records;
  for (const TMFreqRecord& freq : freqs)
    records.push_back(std::make_unique<TMFreqBrowseRecord>(freq));
  // The list is never empty.
  if (records.empty()) records.push_back(std::make_unique<TMFreqBrowseRecord>());
  return records;
}

const TMFreqRecord& Values(const TBrowseRecord& record) {
  return static_cast<const TMFreqBrowseRecord&>(record).Values;
}

}  // namespace

TMFreqRecordBrowser::TMFreqRecordBrowser(const std::vector<TMFreqRecord>& freqs)
    : TRecordBrowser(BrowseRecords(freqs)) {}

std::vector<TMFreqRecord> TMFreqRecordBrowser::Freqs() {
  std::vector<TMFreqRecord> freqs{Values(GetFirstRecord())};
  for (const TBrowseRecord* record = nullptr; GetNextRecord(record);) {
    freqs.push_back(Values(*record));
  }
  return freqs;
}

void TMFreqRecordBrowser::Connect(TBrowserControls& controls) {
  Dialog = &dynamic_cast<TDlgMFreqProps&>(controls);
}

std::unique_ptr<TBrowseRecord> TMFreqRecordBrowser::ReadControls() {
  TWaveRecord record = OneFrequency(TMFreqRecord{});
  bool ok = true;
  for (std::size_t i = 0; i < TDlgMFreqProps::kFieldCount; ++i) {
    const TFieldDesc& field = Dialog->FrequencyField(i);
    QLineEdit* edit = Dialog->FrequencyEdit(i);
    field.value(record, 0).Read(ok, edit->text().toStdString(), field.label);
    if (!ok) {
      edit->setFocus(Qt::OtherFocusReason);
      edit->selectAll();
      return nullptr;
    }
  }
  return std::make_unique<TMFreqBrowseRecord>(std::get<TMFreqProps>(record).Freqs.front());
}

void TMFreqRecordBrowser::WriteControls(const TBrowseRecord& browseRecord) {
  TWaveRecord record = OneFrequency(Values(browseRecord));
  for (std::size_t i = 0; i < TDlgMFreqProps::kFieldCount; ++i) {
    Dialog->FrequencyEdit(i)->setText(
        QString::fromStdString(Dialog->FrequencyField(i).value(record, 0).ToText()));
  }
}

void TMFreqRecordBrowser::PrepareInsert() {
  // The new frequency takes over only the ticked fields' texts.
  for (std::size_t i = 0; i < TDlgMFreqProps::kFieldCount; ++i) {
    if (!Dialog->DefaultBox(i)->isChecked()) Dialog->FrequencyEdit(i)->clear();
  }
}

std::unique_ptr<TBrowseRecord> TMFreqRecordBrowser::NewRecord() {
  return std::make_unique<TMFreqBrowseRecord>();
}

void TMFreqRecordBrowser::UpdateNavigation(int count, int cursor, bool canPrevious, bool canNext,
                                           bool canDelete, bool canPaste) {
  Dialog->ShowNavigation(count, cursor, canPrevious, canNext, canDelete, canPaste);
}

// --- the dialog ------------------------------------------------------------------

TDlgMFreqProps::TDlgMFreqProps(const TMFreqProps& props, QWidget* parent)
    : QDialog(parent),
      Desc(*FindForm(TWaveCommand::MakeMFreq)),
      Result(props),
      Browser(std::make_unique<TMFreqRecordBrowser>(props.Freqs)) {
  std::size_t n = 0;
  for (const TFieldDesc& field : Desc.fields) {
    if (!field.perFrequency) continue;
    TB_ASSERT(n < kFieldCount);
    FreqFields[n++] = &field;
  }
  TB_ASSERT(n == kFieldCount);
  setWindowTitle(QString::fromStdString(Desc.caption));
  Build(props);
  Browser->Open(*this);
}

TDlgMFreqProps::~TDlgMFreqProps() = default;

void TDlgMFreqProps::Build(const TMFreqProps& props) {
  TWaveRecord record = props;
  const auto minimumWidth = [this](QWidget* widget) {
    widget->setMinimumWidth(fontMetrics().horizontalAdvance('x') * 14);
  };

  // Length and the source of the wave form.
  const TFieldDesc& lengthField = Field(Desc, "Length");
  auto* top = new QGridLayout;
  top->setColumnStretch(3, 1);
  Length = new QLineEdit(QString::fromStdString(lengthField.value(record, 0).ToText()), this);
  Length->setAccessibleName(QString::fromStdString(lengthField.label));
  minimumWidth(Length);
  auto* lengthLabel = new QLabel(Shown(lengthField.label) + ":", this);
  lengthLabel->setBuddy(Length);
  top->addWidget(lengthLabel, 0, 0);
  top->addWidget(Length, 0, 1, 1, 2);

  const TFieldDesc& source = Field(Desc, "Source");
  UseSine = new QRadioButton(Shown(source.options[0]), this);
  UseForm = new QRadioButton(Shown(source.options[1]), this);
  for (std::size_t k = 0; k < 2; ++k) {
    (k == 0 ? UseSine : UseForm)
        ->setAccessibleName(QString::fromStdString(source.label + ": " + source.options[k]));
  }
  (source.getChoice(record) != 0 ? UseForm : UseSine)->setChecked(true);
  top->addWidget(new QLabel(QString::fromStdString(source.label) + ":", this), 1, 0);
  top->addWidget(UseSine, 1, 1);
  top->addWidget(UseForm, 1, 2);

  // The open waves now, and the stored name again if it is still open.
  const TFieldDesc& formField = Field(Desc, "Wave Form");
  WaveForm = new QComboBox(this);
  WaveForm->setAccessibleName(QString::fromStdString(formField.label));
  WaveForm->setMinimumContentsLength(12);
  const std::vector<std::string> names = Waves().WaveNames();
  for (const std::string& name : names) WaveForm->addItem(QString::fromStdString(name));
  const auto found = std::find(names.begin(), names.end(), props.Form.GetName());
  WaveForm->setCurrentIndex(found == names.end() ? -1 : int(found - names.begin()));
  // Picking a wave picks the wave form as the source.
  connect(WaveForm, &QComboBox::activated, UseForm, [this] { UseForm->setChecked(true); });
  top->addWidget(WaveForm, 1, 3);

  // The frequencies, one at a time.
  auto* box = new QGroupBox("Frequencies", this);
  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const QString label = QString::fromStdString(FreqFields[i]->label);
    FreqEdits[i] = new QLineEdit(box);
    FreqEdits[i]->setAccessibleName(label);
    minimumWidth(FreqEdits[i]);
    auto* caption = new QLabel(Shown(FreqFields[i]->label) + ":", box);
    caption->setBuddy(FreqEdits[i]);
    DefaultBoxes[i] = new QCheckBox("Default", box);
    DefaultBoxes[i]->setAccessibleName(label + " Default");
    DefaultBoxes[i]->setChecked(DefaultTicks[i]);
    connect(DefaultBoxes[i], &QCheckBox::toggled, this, [i](bool on) { DefaultTicks[i] = on; });
    const int row = static_cast<int>(i);
    grid->addWidget(caption, row, 0);
    grid->addWidget(FreqEdits[i], row, 1);
    grid->addWidget(DefaultBoxes[i], row, 2);
  }

  auto* position = new QHBoxLayout;
  Cursor = new QLabel(box);
  Count = new QLabel(box);
  for (auto [label, value] : {std::pair{"Cursor", Cursor}, std::pair{"Count", Count}}) {
    value->setAccessibleName(label);
    value->setMinimumWidth(fontMetrics().horizontalAdvance("000"));
    position->addWidget(new QLabel(QString(label) + ":", box));
    position->addWidget(value);
  }
  position->addStretch(1);

  // The buttons of the list: moving, making and removing, copying.
  struct ButtonDef {
    const char* caption;
    void (TRecordBrowser::*action)();
    int row;
    int column;
  };
  static constexpr ButtonDef kButtons[] = {
      {"&First", &TRecordBrowser::First, 0, 0},   {"Pre&vious", &TRecordBrowser::Previous, 0, 1},
      {"&Next", &TRecordBrowser::Next, 0, 2},     {"L&ast", &TRecordBrowser::Last, 0, 3},
      {"&Insert", &TRecordBrowser::Insert, 1, 0}, {"App&end", &TRecordBrowser::Append, 1, 1},
      {"&Delete", &TRecordBrowser::Delete, 1, 2}, {"Cop&y", &TRecordBrowser::Copy, 2, 0},
      {"&Paste", &TRecordBrowser::Paste, 2, 1},   {"Clea&r", &TRecordBrowser::Clear, 2, 2},
  };
  auto* buttonGrid = new QGridLayout;
  for (const ButtonDef& def : kButtons) {
    auto* button = new QPushButton(def.caption, box);
    button->setAccessibleName(Plain(def.caption));
    // Enter is OK, wherever the focus is.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [this, action = def.action] { (Browser.get()->*action)(); });
    buttonGrid->addWidget(button, def.row, def.column);
    Buttons.push_back(button);
  }

  auto* boxLayout = new QVBoxLayout(box);
  boxLayout->addLayout(grid);
  boxLayout->addLayout(position);
  boxLayout->addLayout(buttonGrid);

  auto* buttons =
      new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help,
                           Qt::Horizontal, this);
  for (QAbstractButton* button : buttons->buttons()) {
    button->setAccessibleName(Plain(button->text()));
    if (auto* push = qobject_cast<QPushButton*>(button)) push->setAutoDefault(false);
  }
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &TDlgMFreqProps::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TDlgMFreqProps::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
    if (Help) Help(WaveCommandRow(TWaveCommand::MakeMFreq).Name);
  });

  auto* main = new QVBoxLayout(this);
  main->addLayout(top);
  main->addWidget(box);
  main->addWidget(buttons);
  main->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* TDlgMFreqProps::Button(const QString& caption) const {
  for (QPushButton* button : Buttons) {
    if (Plain(button->text()) == caption) return button;
  }
  return nullptr;
}

QString TDlgMFreqProps::CursorText() const { return Cursor->text(); }
QString TDlgMFreqProps::CountText() const { return Count->text(); }

void TDlgMFreqProps::ShowNavigation(int count, int cursor, bool canPrevious, bool canNext,
                                    bool canDelete, bool canPaste) {
  Count->setText(QString::number(count));
  Cursor->setText(QString::number(cursor));
  Button("First")->setEnabled(canPrevious);
  Button("Previous")->setEnabled(canPrevious);
  Button("Next")->setEnabled(canNext);
  Button("Last")->setEnabled(canNext);
  Button("Delete")->setEnabled(canDelete);
  Button("Paste")->setEnabled(canPaste);
}

void TDlgMFreqProps::accept() {
  // Length and wave form first, through the form engine with the list left
  // out; then the list, the edit frequency read from the fields.
  TMFreqProps head = Result;
  head.Freqs.clear();
  TRecordForm form(Desc, head);
  const TFieldDesc& source = Field(Desc, "Source");
  std::string error;
  bool set = form.Set("Length", 0, Length->text().toStdString(), error);
  set = set && form.Set(source.label, 0, source.options[UseForm->isChecked() ? 1 : 0], error);
  if (UseForm->isChecked()) {
    const std::string name =
        WaveForm->currentIndex() < 0 ? std::string() : WaveForm->currentText().toStdString();
    set = set && form.Set("Wave Form", 0, name, error);
  }
  TB_ASSERT(set);
  if (!form.Read()) {
    // The message has been shown; the field to correct gets the focus. The
    // length is tried alone: if it reads, the wave form failed.
    TWaveRecord probe = OneFrequency(TMFreqRecord{});
    std::string message;
    const bool lengthReads = Field(Desc, "Length")
                                 .value(probe, 0)
                                 .ReadFromText(Length->text().toStdString(), "Length", message);
    if (lengthReads) {
      WaveForm->setFocus(Qt::OtherFocusReason);
    } else {
      Length->setFocus(Qt::OtherFocusReason);
      Length->selectAll();
    }
    return;
  }
  if (!Browser->CloseOK()) return;
  Result = std::get<TMFreqProps>(form.Record());
  Result.Freqs = Browser->Freqs();
  QDialog::accept();
}

void TDlgMFreqProps::reject() {
  if (Browser->GetIsOpen()) Browser->CloseCancel();
  QDialog::reject();
}

bool ExecuteMFreqDialog(QWidget* parent, TMFreqProps& props,
                        const std::function<void(const QString& topic)>& help) {
  TDlgMFreqProps dialog(props, parent);
  dialog.SetHelp(help);
  if (dialog.exec() != QDialog::Accepted) return false;
  props = dialog.Props();
  return true;
}
