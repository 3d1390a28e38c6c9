#include "dialogs/splitmergedialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "base/userinterface.h"
#include "documents/unitwave.h"
#include "units/writers.h"

namespace {

// The frequencies the wave properties dialog offers.
const struct {
  const char* Text;
  std::int32_t Hertz;
} kFrequencies[] = {{"5 kHz", 5512},   {"11 kHz", 11025}, {"22 kHz", 22050},
                    {"44 kHz", 44100}, {"88 kHz", 88200}, {"176 kHz", 176400}};

QGroupBox* RadioGroup(const QString& title, const QStringList& options, QButtonGroup*& group,
                      QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(box);
  group = new QButtonGroup(box);
  for (int i = 0; i < options.size(); ++i) {
    auto* button = new QRadioButton(options[i], box);
    group->addButton(button, i);
    layout->addWidget(button);
  }
  group->button(0)->setChecked(true);
  return box;
}

void Check(QButtonGroup* group, int id) {
  if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

QString ChannelsText(const TUnitWave& u) { return u.GetMonoStereo() == 1 ? "Mono" : "Stereo"; }
QString BitsText(const TUnitWave& u) { return u.GetBytesPSample() == 1 ? "8 Bits" : "16 Bits"; }
QString FrequencyText(const TUnitWave& u) {
  return QString::fromStdString(FormatFrequency(u.GetFrequency()));
}
QString LengthText(const TUnitWave& u) {
  const double seconds = static_cast<double>(u.GetValues()) / std::max(u.GetFrequency(), 1);
  return QString("%1 values (%2)")
      .arg(u.GetValues())
      .arg(QString::fromStdString(FormatTime(seconds)));
}

}  // namespace

// --- split --------------------------------------------------------------------

bool EditSplitHorProps(QWidget* parent, TDlgSplitHorProps& props) {
  QDialog dialog(parent);
  dialog.setWindowTitle("Split Horizontally");
  auto* layout = new QVBoxLayout(&dialog);
  QButtonGroup* result = nullptr;
  layout->addWidget(RadioGroup("Result",
                               {"Three parts", "Two parts, both inclusive selected part",
                                "Two parts, both exclusive selected part"},
                               result, &dialog));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  Check(result, props.Result);
  if (dialog.exec() != QDialog::Accepted) return false;
  props.Result = static_cast<std::uint8_t>(std::max(result->checkedId(), 0));
  return true;
}

// --- merge --------------------------------------------------------------------

TDlgMerge::TDlgMerge(bool vertical, std::vector<TMergeCandidate> candidates, int active,
                     QWidget* parent)
    : QDialog(parent), Vertical(vertical), Candidates(std::move(candidates)) {
  setWindowTitle(vertical ? "Merge Vertically" : "Merge Horizontally");
  const QString names[2] = {vertical ? "Left" : "First", vertical ? "Right" : "Last"};
  auto* layout = new QVBoxLayout(this);
  auto* lists = new QGridLayout;
  for (int i = 0; i < 2; ++i) {
    lists->addWidget(new QLabel(names[i], this), 0, i);
    Lists[i] = new QListWidget(this);
    Lists[i]->setObjectName(names[i]);
    for (const TMergeCandidate& candidate : Candidates) Lists[i]->addItem(candidate.Caption);
    Lists[i]->setMinimumSize(260, 70);
    Lists[i]->setMaximumHeight(120);
    lists->addWidget(Lists[i], 1, i);
  }
  layout->addLayout(lists);
  // The first list starts on the active window, the second on another one.
  const int count = static_cast<int>(Candidates.size());
  if (active >= 0 && active < count) {
    Lists[0]->setCurrentRow(active);
    if (count > 1) Lists[1]->setCurrentRow(active == 0 ? 1 : 0);
  }

  Tabs = new QTabWidget(this);
  if (vertical) {
    AddPage("Length", "Make Lengths Equal",
            {"Add Silence at the begin of the shortest wave",
             "Add Silence at the end of the shortest wave", "Stretch the shortest wave",
             "Stretch the longest wave"},
            LengthValues, Lengths);
  } else {
    AddPage("Mono/Stereo", "Wave", {"Mono", "Stereo"}, ChannelValues, Channels);
  }
  QButtonGroup* unused = nullptr;
  QWidget* frequencyPage = AddPage("Frequency", QString(), {}, FrequencyValues, unused);
  Frequency = new QComboBox(frequencyPage);
  for (const auto& f : kFrequencies) Frequency->addItem(f.Text, f.Hertz);
  auto* frequencyRow = new QHBoxLayout;
  frequencyRow->addWidget(new QLabel("Frequency of the new wave:", frequencyPage));
  frequencyRow->addWidget(Frequency);
  frequencyRow->addStretch();
  static_cast<QVBoxLayout*>(frequencyPage->layout())->insertLayout(1, frequencyRow);
  AddPage("Bits", "Wave Values", {"8 Bits", "16 Bits"}, BitsValues, Bits);
  AddPage("Display", "Use Display Properties of", {names[0], names[1]}, DisplayValues, Display);
  layout->addWidget(Tabs);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TDlgMerge::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  for (QListWidget* list : Lists) {
    connect(list, &QListWidget::currentRowChanged, this, [this] { ShowValues(); });
  }
  ShowValues();
}

QWidget* TDlgMerge::AddPage(const QString& title, const QString& group, const QStringList& options,
                            QLabel*& values, QButtonGroup*& choice) {
  auto* page = new QWidget(Tabs);
  auto* layout = new QVBoxLayout(page);
  values = new QLabel(page);
  values->setTextFormat(Qt::PlainText);
  layout->addWidget(values);
  if (!options.isEmpty()) layout->addWidget(RadioGroup(group, options, choice, page));
  layout->addStretch();
  Tabs->addTab(page, title);
  return page;
}

const TMergeCandidate* TDlgMerge::Chosen(int list) const {
  const int row = Lists[list]->currentRow();
  if (row < 0 || row >= static_cast<int>(Candidates.size())) return nullptr;
  if (!Lists[list]->item(row)->isSelected()) return nullptr;
  return &Candidates[row];
}

TUnitWave* TDlgMerge::One() const { return Chosen(0) ? Chosen(0)->Unit : nullptr; }
TUnitWave* TDlgMerge::Other() const { return Chosen(1) ? Chosen(1)->Unit : nullptr; }

bool TDlgMerge::PageVisible(const QString& title) const {
  for (int i = 0; i < Tabs->count(); ++i) {
    if (Tabs->tabText(i) == title) return Tabs->isTabVisible(i);
  }
  return false;
}

void TDlgMerge::ShowValues() {
  const TMergeCandidate* a = Chosen(0);
  const TMergeCandidate* b = Chosen(1);
  const QString names[2] = {Vertical ? "Left" : "First", Vertical ? "Right" : "Last"};
  // Each page: both waves' values; hidden when they agree.
  const auto show = [&](QLabel* label, auto text) {
    if (label == nullptr) return;
    const QString one = a ? text(*a) : QString("-");
    const QString other = b ? text(*b) : QString("-");
    label->setText(QString("%1: %2\n%3: %4").arg(names[0], one, names[1], other));
    const int index = Tabs->indexOf(label->parentWidget());
    Tabs->setTabVisible(index, a == nullptr || b == nullptr || one != other);
  };
  show(ChannelValues, [](const TMergeCandidate& c) { return ChannelsText(*c.Unit); });
  show(LengthValues, [](const TMergeCandidate& c) { return LengthText(*c.Unit); });
  show(FrequencyValues, [](const TMergeCandidate& c) { return FrequencyText(*c.Unit); });
  show(BitsValues, [](const TMergeCandidate& c) { return BitsText(*c.Unit); });
  show(DisplayValues,
       [](const TMergeCandidate& c) { return QString(c.WaveView ? "Wave View" : "Volume View"); });
  // A frequency of the waves' own that the list does not offer.
  for (const TMergeCandidate* c : {a, b}) {
    if (c != nullptr && Frequency->findData(c->Unit->GetFrequency()) < 0) {
      Frequency->addItem(FrequencyText(*c->Unit), c->Unit->GetFrequency());
    }
  }
}

void TDlgMerge::SetHorProps(const TMergeHorProps& props) {
  if (Channels) Check(Channels, props.MonoStereo - 1);
  const int index = Frequency->findData(props.Frequency);
  if (index >= 0) Frequency->setCurrentIndex(index);
  Check(Bits, props.BytesPSample - 1);
  Check(Display, props.Display);
}

void TDlgMerge::SetVertProps(const TMergeVertProps& props) {
  if (Lengths) Check(Lengths, props.MakeLengthsEqual);
  const int index = Frequency->findData(props.Frequency);
  if (index >= 0) Frequency->setCurrentIndex(index);
  Check(Bits, props.BytesPSample - 1);
  Check(Display, props.Display);
}

TMergeHorProps TDlgMerge::HorProps() const {
  TMergeHorProps props;
  const TUnitWave* a = One();
  const TUnitWave* b = Other();
  const bool both = a != nullptr && b != nullptr;
  props.MonoStereo = both && a->GetMonoStereo() == b->GetMonoStereo()
                         ? a->GetMonoStereo()
                         : static_cast<std::int16_t>(Channels ? Channels->checkedId() + 1 : 2);
  props.Frequency = both && a->GetFrequency() == b->GetFrequency()
                        ? a->GetFrequency()
                        : Frequency->currentData().toInt();
  props.BytesPSample = both && a->GetBytesPSample() == b->GetBytesPSample()
                           ? a->GetBytesPSample()
                           : static_cast<std::int16_t>(Bits->checkedId() + 1);
  props.Display = static_cast<std::uint8_t>(std::max(Display->checkedId(), 0));
  return props;
}

TMergeVertProps TDlgMerge::VertProps() const {
  const TMergeHorProps common = HorProps();
  TMergeVertProps props;
  props.Frequency = common.Frequency;
  props.BytesPSample = common.BytesPSample;
  props.MakeLengthsEqual = static_cast<std::uint8_t>(std::max(Lengths->checkedId(), 0));
  props.Display = common.Display;
  return props;
}

void TDlgMerge::accept() {
  const std::string one = Vertical ? "Left" : "First";
  const std::string other = Vertical ? "Right" : "Last";
  if (!CheckMergeChoice(One(), one, Other(), other)) return;
  QDialog::accept();
}
