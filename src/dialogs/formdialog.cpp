// The dialogs built from the form descriptions: the labels, defaults and
// checks come from the description; only the arrangement is made here.
#include "dialogs/formdialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "units/waveregistry.h"

namespace {

QString Shown(const std::string& text) { return QString::fromStdString(text).trimmed(); }

// Inserts an access letter: a word's first letter if one is free, else any
// free letter; none when all are taken.
QString WithAccessLetter(const QString& text, std::set<QChar>& used) {
  const auto take = [&](qsizetype i) {
    used.insert(text[i].toLower());
    return text.left(i) + '&' + text.mid(i);
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
    if (wordStart && text[i].isLetter() && !used.contains(text[i].toLower())) return take(i);
  }
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isLetter() && !used.contains(text[i].toLower())) return take(i);
  }
  return text;
}

QIcon Swatch(const TColor& color) {
  QPixmap pixmap(16, 16);
  pixmap.fill(QColor(color.Red, color.Green, color.Blue));
  // A frame keeps a white or a grey swatch visible on the button.
  QPainter painter(&pixmap);
  painter.setPen(Qt::darkGray);
  painter.drawRect(0, 0, 15, 15);
  painter.end();
  return QIcon(pixmap);
}

// Choices with many options, or those that only fill other fields, are
// lists; the others radio buttons.
bool ChoiceAsList(const TFieldDesc& field) {
  return field.fills != nullptr || field.options.size() > 4;
}

// Random Echo's varied properties: a choice of kind, a choice of source and
// an envelope, shown as one row.
bool StartsVariation(const std::vector<TFieldDesc>& fields, std::size_t i) {
  return i + 2 < fields.size() && fields[i].kind == TFieldKind::Choice &&
         fields[i + 1].kind == TFieldKind::Choice &&
         fields[i + 1].label == fields[i].label + " Source" &&
         fields[i + 2].kind == TFieldKind::WaveList &&
         fields[i + 2].label == fields[i].label + " - Random Envelope";
}

// Whether `field` is one more alternative of the set: choosing it sets a
// member aside, or brings a member along that was not chosen.
bool JoinsAlternatives(const std::vector<const TFieldDesc*>& set, const TFieldDesc& field,
                       const TWaveRecord& record) {
  for (const TFieldDesc* member : set) {
    if (!member->active) continue;
    TWaveRecord both = record;
    member->choose(both);
    field.choose(both);
    if (!member->active(both)) return true;
    TWaveRecord alone = record;
    field.choose(alone);
    if (!member->active(record) && member->active(alone)) return true;
  }
  return false;
}

// Whether choosing `field` sets an option of `choice`.
bool Sets(const TFieldDesc& field, const TFieldDesc& choice, const TWaveRecord& record) {
  for (std::size_t option = 0; option < choice.options.size(); ++option) {
    TWaveRecord copy = record;
    choice.setChoice(copy, int(option));
    field.choose(copy);
    if (choice.getChoice(copy) != int(option)) return true;
  }
  return false;
}

}  // namespace

TFormDialog::TFormDialog(const TFormDesc& desc, TWaveRecord record, QWidget* parent, TFormWave wave)
    : QDialog(parent), Desc(desc), Form(desc, record), Result(std::move(record)) {
  Form.SetWave(wave);
  setWindowTitle(QString::fromStdString(desc.caption));
  Fields.resize(desc.fields.size());
  for (std::size_t i = 0; i < desc.fields.size(); ++i) Fields[i].field = &desc.fields[i];
  for (const TColorDesc& color : desc.colors) Colors.push_back(color.value(Result));
  Build();
  AssignAccessLetters();
  Refresh();
  // Typing starts in the first field that is read, its text selected.
  for (const Controls& c : Fields) {
    const bool read = !c.field->active || c.field->active(Form.Record());
    if (!read || (c.edit == nullptr && c.combo == nullptr)) continue;
    if (c.edit != nullptr) {
      c.edit->setFocus(Qt::OtherFocusReason);
      c.edit->selectAll();
    } else {
      c.combo->setFocus(Qt::OtherFocusReason);
    }
    break;
  }
}

TFormDialog::~TFormDialog() = default;

void TFormDialog::Build() {
  auto* content = new QVBoxLayout;
  // Widgets are made in the order they are shown, which is the tab order:
  // the fields before the first variation row, all variation rows in one
  // box, then the other fields.
  std::vector<std::size_t> before;
  std::vector<std::size_t> variationStarts;
  std::vector<std::size_t> after;
  for (std::size_t i = 0; i < Fields.size(); ++i) {
    if (Fields[i].field->perFrequency) continue;
    if (StartsVariation(Desc.fields, i)) {
      variationStarts.push_back(i);
      i += 2;
    } else {
      (variationStarts.empty() ? before : after).push_back(i);
    }
  }
  const auto addGrid = [this, content](const std::vector<std::size_t>& indices) {
    if (indices.empty()) return;
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    ChoiceRow = nullptr;
    content->addLayout(grid);
    int row = 0;
    // A little space sets each set of alternatives apart.
    std::vector<const TFieldDesc*> alternatives;
    const TFieldDesc* choice = nullptr;
    for (std::size_t i : indices) {
      const TFieldDesc& field = Desc.fields[i];
      // A field whose alternative the choice above it sets needs no radio
      // button of its own.
      if (field.kind == TFieldKind::Choice && field.setChoice) {
        choice = &field;
      } else if (!field.choose) {
        choice = nullptr;
      } else if (choice != nullptr && Sets(field, *choice, Form.Record())) {
        Fields[i].governed = true;
      }
      bool gap = false;
      if (field.choose && field.kind != TFieldKind::Choice && !Fields[i].governed) {
        if (alternatives.empty() || !JoinsAlternatives(alternatives, field, Form.Record())) {
          gap = row > 0;
          alternatives.clear();
        }
        alternatives.push_back(&field);
      } else if (!alternatives.empty()) {
        gap = true;
        alternatives.clear();
      }
      if (gap) grid->setRowMinimumHeight(row++, fontMetrics().height() / 2);
      row = AddField(grid, row, Fields[i]);
    }
  };
  addGrid(before);
  if (!variationStarts.empty()) {
    auto* box = new QGroupBox(this);
    box->setAccessibleName("Random variation");
    auto* grid = new QGridLayout(box);
    // One column per kind, the same kind in the same column on every row.
    VariationColumns.clear();
    for (std::size_t i : variationStarts) {
      auto at = VariationColumns.begin();
      for (const std::string& option : Desc.fields[i].options) {
        auto found = std::find(VariationColumns.begin(), VariationColumns.end(), option);
        if (found == VariationColumns.end()) found = VariationColumns.insert(at, option);
        at = found + 1;
      }
    }
    const int columns = int(VariationColumns.size());
    grid->addWidget(new QLabel("Source", box), 0, columns + 1);
    grid->addWidget(new QLabel("Random Envelope", box), 0, columns + 2);
    int row = 1;
    for (std::size_t i : variationStarts) row = AddVariation(grid, row, i);
    content->addWidget(box);
  }
  addGrid(after);
  if (!Desc.colors.empty()) {
    auto* box = new QGroupBox("Colours", this);
    auto* colorGrid = new QGridLayout(box);
    int colorRow = 0;
    AddColors(colorGrid, colorRow);
    content->addWidget(box);
  }
  if (!Desc.dialogCheck.empty()) {
    DialogCheck = new QCheckBox(Shown(Desc.dialogCheck), this);
    DialogCheck->setAccessibleName(Shown(Desc.dialogCheck));
    content->addWidget(DialogCheck);
  }
  content->addStretch(1);

  auto* buttons =
      new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help,
                           Qt::Horizontal, this);
  for (QAbstractButton* button : buttons->buttons()) {
    button->setAccessibleName(button->text().remove('&'));
    if (auto* push = qobject_cast<QPushButton*>(button)) push->setAutoDefault(false);
  }
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &TFormDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TFormDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
    if (Help) Help(QString::fromStdString(Desc.helpTopic));
  });

  auto* main = new QVBoxLayout(this);
  main->addLayout(content, 1);
  main->addWidget(buttons);
  main->setSizeConstraint(QLayout::SetFixedSize);
}

int TFormDialog::AddField(QGridLayout* grid, int row, Controls& c) {
  const TFieldDesc& field = *c.field;
  const QString text = Shown(field.caption.empty() ? field.label : field.caption);
  if (field.kind != TFieldKind::Choice || ChoiceAsList(field)) ChoiceRow = nullptr;
  switch (field.kind) {
    case TFieldKind::Check:
      c.check = new QCheckBox(text, this);
      c.check->setAccessibleName(text);
      connect(c.check, &QCheckBox::clicked, this,
              [this, &field](bool on) { Set(field, on ? "1" : "0"); });
      grid->addWidget(c.check, row, 0, 1, 2);
      return row + 1;
    case TFieldKind::Choice:
      if (ChoiceAsList(field)) {
        c.label = new QLabel(text + ":", this);
        c.combo = new QComboBox(this);
        for (const std::string& option : field.options) c.combo->addItem(Shown(option));
        // A list that only fills other fields shows no choice of its own.
        if (field.fills) c.combo->setCurrentIndex(-1);
        c.combo->setAccessibleName(text);
        c.label->setBuddy(c.combo);
        connect(c.combo, &QComboBox::activated, this,
                [this, &field](int index) { Set(field, field.options[std::size_t(index)]); });
        grid->addWidget(c.label, row, 0);
        grid->addWidget(c.combo, row, 1);
        return row + 1;
      } else {
        auto* box = new QGroupBox(text, this);
        box->setAccessibleName(text);
        std::size_t length = 0;
        for (const std::string& option : field.options) length += option.size();
        QBoxLayout* layout = length <= 36 ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                          : static_cast<QBoxLayout*>(new QVBoxLayout(box));
        auto* group = new QButtonGroup(box);
        for (const std::string& option : field.options) {
          auto* radio = new QRadioButton(Shown(option), box);
          radio->setAccessibleName(text + ": " + Shown(option));
          group->addButton(radio);
          layout->addWidget(radio);
          connect(radio, &QRadioButton::clicked, this,
                  [this, &field, option] { Set(field, option); });
          c.options.push_back(radio);
        }
        layout->addStretch(1);
        // Two choices in a row side by side: the dialog stays low.
        if (ChoiceRow != nullptr) {
          ChoiceRow->addWidget(box, 1);
          ChoiceRow = nullptr;
          return row;
        }
        ChoiceRow = new QHBoxLayout;
        ChoiceRow->addWidget(box, 1);
        grid->addLayout(ChoiceRow, row, 0, 1, 2);
        return row + 1;
      }
    case TFieldKind::Edit:
    case TFieldKind::WaveList:
      break;
  }
  if (field.choose && !c.governed) {
    c.pick = new QRadioButton(text, this);
    c.pick->setAutoExclusive(false);
    c.pick->setAccessibleName(text);
    grid->addWidget(c.pick, row, 0);
  } else {
    c.label = new QLabel(text + ":", this);
    grid->addWidget(c.label, row, 0);
  }
  if (field.kind == TFieldKind::WaveList || !field.options.empty()) {
    c.combo = new QComboBox(this);
    c.combo->setAccessibleName(text);
    c.combo->setMinimumContentsLength(12);
    const std::string current = Form.Text(field);
    if (field.kind == TFieldKind::WaveList) {
      // The open waves now; the stored name again if it is still open.
      const std::vector<std::string> names = Waves().WaveNames();
      for (const std::string& name : names) c.combo->addItem(QString::fromStdString(name));
      const auto found = std::find(names.begin(), names.end(), current);
      c.combo->setCurrentIndex(found == names.end() ? -1 : int(found - names.begin()));
    } else {
      // A list of texts, each standing for the text of its key.
      for (std::size_t k = 0; k < field.options.size(); ++k) {
        c.combo->addItem(Shown(field.options[k]), QString::fromStdString(field.optionKeys[k]));
      }
      int index = c.combo->findData(QString::fromStdString(current));
      if (index < 0) {
        c.combo->addItem(QString::fromStdString(current), QString::fromStdString(current));
        index = c.combo->count() - 1;
      }
      c.combo->setCurrentIndex(index);
    }
    connect(c.combo, &QComboBox::activated, this, [this, &field, combo = c.combo](int index) {
      const QVariant key = combo->itemData(index);
      Set(field, (key.isValid() ? key.toString() : combo->itemText(index)).toStdString());
    });
    grid->addWidget(c.combo, row, 1);
  } else {
    c.edit = new QLineEdit(QString::fromStdString(Form.Text(field)), this);
    c.edit->setAccessibleName(text);
    c.edit->setMinimumWidth(fontMetrics().horizontalAdvance('0') * 14);
    connect(c.edit, &QLineEdit::textEdited, this,
            [this, &field](const QString& typed) { Set(field, typed.toStdString()); });
    grid->addWidget(c.edit, row, 1);
  }
  QWidget* control = c.edit != nullptr ? static_cast<QWidget*>(c.edit) : c.combo;
  if (c.label != nullptr) c.label->setBuddy(control);
  if (c.pick != nullptr) {
    // Choosing the alternative keeps what its field holds.
    connect(c.pick, &QRadioButton::clicked, this, [this, &field, &c] {
      Set(field, c.edit != nullptr ? c.edit->text().toStdString() : Form.Text(field));
    });
  }
  return row + 1;
}

int TFormDialog::AddVariation(QGridLayout* grid, int row, std::size_t first) {
  Controls& kind = Fields[first];
  Controls& source = Fields[first + 1];
  Controls& envelope = Fields[first + 2];
  const QString name = Shown(kind.field->label);
  QWidget* parent = grid->parentWidget();
  kind.label = new QLabel(name, parent);
  grid->addWidget(kind.label, row, 0);
  auto* group = new QButtonGroup(parent);
  for (const std::string& option : kind.field->options) {
    auto* radio = new QRadioButton(Shown(option), parent);
    radio->setAccessibleName(name + ": " + Shown(option));
    group->addButton(radio);
    const auto column = std::find(VariationColumns.begin(), VariationColumns.end(), option);
    grid->addWidget(radio, row, 1 + int(column - VariationColumns.begin()));
    connect(radio, &QRadioButton::clicked, this,
            [this, field = kind.field, option] { Set(*field, option); });
    kind.options.push_back(radio);
  }
  source.combo = new QComboBox(parent);
  for (const std::string& option : source.field->options) source.combo->addItem(Shown(option));
  source.combo->setAccessibleName(Shown(source.field->label));
  connect(source.combo, &QComboBox::activated, this, [this, field = source.field](int index) {
    Set(*field, field->options[std::size_t(index)]);
  });
  const int columns = int(VariationColumns.size());
  grid->addWidget(source.combo, row, columns + 1);
  envelope.combo = new QComboBox(parent);
  envelope.combo->setAccessibleName(Shown(envelope.field->label));
  envelope.combo->setMinimumContentsLength(10);
  const std::vector<std::string> names = Waves().WaveNames();
  for (const std::string& each : names) envelope.combo->addItem(QString::fromStdString(each));
  const auto found = std::find(names.begin(), names.end(), Form.Text(*envelope.field));
  envelope.combo->setCurrentIndex(found == names.end() ? -1 : int(found - names.begin()));
  connect(
      envelope.combo, &QComboBox::activated, this,
      [this, field = envelope.field, names](int index) { Set(*field, names[std::size_t(index)]); });
  grid->addWidget(envelope.combo, row, columns + 2);
  kind.label->setBuddy(kind.options.front());
  return row + 1;
}

void TFormDialog::AddColors(QGridLayout* grid, int& row) {
  QWidget* parent = grid->parentWidget();
  for (std::size_t i = 0; i < Desc.colors.size(); ++i) {
    const QString text = Shown(Desc.colors[i].label);
    auto* button = new QPushButton(Swatch(Colors[i]), text, parent);
    button->setAutoDefault(false);
    button->setAccessibleName(text);
    connect(button, &QPushButton::clicked, this, [this, i, button, text] {
      const TColor& old = Colors[i];
      const QColor picked =
          QColorDialog::getColor(QColor(old.Red, old.Green, old.Blue), this, text);
      if (!picked.isValid()) return;
      Colors[i] = TColor{std::uint8_t(picked.red()), std::uint8_t(picked.green()),
                         std::uint8_t(picked.blue())};
      button->setIcon(Swatch(Colors[i]));
    });
    ColorButtons.push_back(button);
    grid->addWidget(button, row / 2, row % 2);
    ++row;
  }
}

void TFormDialog::AssignAccessLetters() {
  // OK, Cancel and Help keep theirs.
  std::set<QChar> used{'o', 'c', 'h'};
  const auto letter = [&used](auto* widget) {
    if (widget != nullptr) widget->setText(WithAccessLetter(widget->text(), used));
  };
  // Fields first, in reading order; then the options and the rest.
  for (Controls& c : Fields) {
    letter(c.pick);
    letter(c.label);
    letter(c.check);
  }
  for (Controls& c : Fields) {
    if (c.options.empty()) continue;
    if (auto* box = qobject_cast<QGroupBox*>(c.options.front()->parentWidget());
        box != nullptr && c.label == nullptr) {
      box->setTitle(WithAccessLetter(box->title(), used));
    }
  }
  letter(DialogCheck);
  for (QPushButton* button : ColorButtons) letter(button);
  for (Controls& c : Fields) {
    for (QRadioButton* radio : c.options) letter(radio);
  }
}

void TFormDialog::Set(const TFieldDesc& field, const std::string& text) {
  if (Refreshing) return;
  std::string error;
  if (!Form.Set(field.label, 0, text, error)) return;
  if (field.fills) {
    // The example wrote other fields' texts: show them.
    for (Controls& c : Fields) {
      if (c.edit != nullptr) c.edit->setText(QString::fromStdString(Form.Text(*c.field)));
    }
  }
  Refresh();
}

void TFormDialog::Refresh() {
  Refreshing = true;
  const TWaveRecord& record = Form.Record();
  for (Controls& c : Fields) {
    const TFieldDesc& field = *c.field;
    if (c.pick != nullptr) c.pick->setChecked(!field.active || field.active(record));
    if (!field.getChoice) continue;
    const int choice = field.getChoice(record);
    if (c.check != nullptr) c.check->setChecked(choice != 0);
    if (!c.options.empty()) c.options[std::size_t(choice)]->setChecked(true);
    if (c.combo != nullptr && field.kind == TFieldKind::Choice) c.combo->setCurrentIndex(choice);
  }
  Refreshing = false;
}

void TFormDialog::accept() {
  if (!Form.Read()) {
    // The message has been shown; the field it named gets the focus.
    const TFieldDesc* failed = Form.FailedField();
    for (const Controls& c : Fields) {
      if (failed == nullptr || c.field != failed) continue;
      QWidget* control = c.edit != nullptr    ? static_cast<QWidget*>(c.edit)
                         : c.combo != nullptr ? static_cast<QWidget*>(c.combo)
                                              : static_cast<QWidget*>(c.pick);
      if (control != nullptr) control->setFocus(Qt::OtherFocusReason);
      if (c.edit != nullptr) c.edit->selectAll();
    }
    return;
  }
  Result = Form.Record();
  for (std::size_t i = 0; i < Desc.colors.size(); ++i) Desc.colors[i].value(Result) = Colors[i];
  QDialog::accept();
}

bool TFormDialog::DialogChecked() const {
  return DialogCheck != nullptr && DialogCheck->isChecked();
}

const TFormDialog::Controls* TFormDialog::Find(const std::string& label) const {
  for (const Controls& c : Fields) {
    if (c.field->label == label) return &c;
  }
  return nullptr;
}

QWidget* TFormDialog::Control(const std::string& label) const {
  const Controls* c = Find(label);
  if (c == nullptr) return nullptr;
  return c->edit != nullptr ? static_cast<QWidget*>(c->edit) : c->combo;
}

QRadioButton* TFormDialog::Pick(const std::string& label) const {
  const Controls* c = Find(label);
  return c != nullptr ? c->pick : nullptr;
}

QRadioButton* TFormDialog::Option(const std::string& label, const std::string& option) const {
  const Controls* c = Find(label);
  if (c == nullptr) return nullptr;
  for (std::size_t k = 0; k < c->options.size(); ++k) {
    if (c->field->options[k] == option) return c->options[k];
  }
  return nullptr;
}

QCheckBox* TFormDialog::CheckBox(const std::string& label) const {
  if (label == Desc.dialogCheck) return DialogCheck;
  const Controls* c = Find(label);
  return c != nullptr ? c->check : nullptr;
}

QString TFormDialog::Caption(const std::string& label) const {
  const Controls* c = Find(label);
  if (c == nullptr) return {};
  QString text;
  if (c->pick != nullptr) text = c->pick->text();
  if (c->label != nullptr) text = c->label->text();
  if (c->check != nullptr) text = c->check->text();
  if (!c->options.empty() && c->label == nullptr) {
    if (auto* box = qobject_cast<QGroupBox*>(c->options.front()->parentWidget())) {
      text = box->title();
    }
  }
  text.remove('&');
  if (text.endsWith(':')) text.chop(1);
  // A variation row's source and envelope are named by their column.
  if (text.isEmpty() && c->combo != nullptr) text = c->combo->accessibleName();
  return text;
}

bool ExecuteForm(const TFormDesc& desc, TWaveRecord& record, QWidget* parent, TFormWave wave,
                 const THelpCallback& help, bool* dialogChecked) {
  TFormDialog dialog(desc, record, parent, wave);
  dialog.SetHelp(help);
  if (dialog.exec() != QDialog::Accepted) return false;
  record = dialog.Record();
  if (dialogChecked != nullptr) *dialogChecked = dialog.DialogChecked();
  return true;
}
