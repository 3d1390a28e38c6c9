#include "dialogs/selectzoomdialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "base/tbassert.h"
#include "base/userinterface.h"
#include "documents/unitwave.h"

namespace {

constexpr const char* kBeyondEnd = "Must be prior before the end of the wave.";

void ShowInputError(const std::string& text) {
  ShowMessage("Input Error", text, MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace

TDlgSelZoom::TDlgSelZoom(QWidget* parent) : QDialog(parent, Qt::Tool) {
  setWindowTitle("Select and Zoom");
  At.Name = "Selected Cursor";
  Begin.Name = "Part Begin";
  End.Name = "Part End";
  ZoomBegin.Name = "Zoom Begin";
  ZoomEnd.Name = "Zoom End";
  for (TTimeField* field : {&At, &Begin, &End, &ZoomBegin, &ZoomEnd}) {
    field->Edit = new QLineEdit(this);
    field->Edit->setMinimumWidth(110);
  }

  auto* layout = new QVBoxLayout(this);
  auto* selection = new QGroupBox("Select", this);
  auto* grid = new QGridLayout(selection);
  OptCursor = new QRadioButton("Cursor", selection);
  OptPart = new QRadioButton("Part", selection);
  grid->addWidget(OptCursor, 0, 0);
  grid->addWidget(new QLabel("At", selection), 0, 1, Qt::AlignRight);
  grid->addWidget(At.Edit, 0, 2);
  grid->addWidget(new QLabel("Selected", selection), 1, 1, 1, 4);
  grid->addWidget(OptPart, 2, 0);
  grid->addWidget(new QLabel("Begin", selection), 2, 1, Qt::AlignRight);
  grid->addWidget(Begin.Edit, 2, 2);
  grid->addWidget(new QLabel("End", selection), 2, 3, Qt::AlignRight);
  grid->addWidget(End.Edit, 2, 4);
  layout->addWidget(selection);

  auto* zoom = new QGroupBox("Zoom", this);
  auto* zoomRow = new QHBoxLayout(zoom);
  CheckZoomed = new QCheckBox("Zoomed", zoom);
  zoomRow->addWidget(CheckZoomed);
  zoomRow->addWidget(new QLabel("Begin", zoom));
  zoomRow->addWidget(ZoomBegin.Edit);
  zoomRow->addWidget(new QLabel("End", zoom));
  zoomRow->addWidget(ZoomEnd.Edit);
  layout->addWidget(zoom);

  auto* buttons = new QHBoxLayout;
  ButtonApply = new QPushButton("Apply", this);
  auto* close = new QPushButton("Close", this);
  auto* help = new QPushButton("Help", this);
  buttons->addStretch();
  buttons->addWidget(ButtonApply);
  buttons->addWidget(close);
  buttons->addWidget(help);
  layout->addLayout(buttons);
  ButtonApply->setDefault(true);

  connect(ButtonApply, &QPushButton::clicked, this, &TDlgSelZoom::Apply);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  connect(help, &QPushButton::clicked, this, [this] {
    if (Help) Help();
  });
  // Typing into a field chooses what it belongs to.
  connect(At.Edit, &QLineEdit::textEdited, this, [this] {
    if (!Updating) OptCursor->setChecked(true);
  });
  for (QLineEdit* edit : {Begin.Edit, End.Edit}) {
    connect(edit, &QLineEdit::textEdited, this, [this] {
      if (!Updating) OptPart->setChecked(true);
    });
  }
  for (QLineEdit* edit : {ZoomBegin.Edit, ZoomEnd.Edit}) {
    connect(edit, &QLineEdit::textEdited, this, [this] {
      if (!Updating) CheckZoomed->setChecked(true);
    });
  }
  ShowWindow(nullptr);
}

void TDlgSelZoom::ShowWindow(TSelZoomTarget* target) {
  Target = target;
  ShowSelection();
  ShowZoom();
}

void TDlgSelZoom::Show(TTimeField& field, std::int32_t position) {
  const double frequency = std::max(Target->GetUnitWave().GetFrequency(), 1);
  field.Value.SetValue(position / frequency);
  field.Shown = QString::fromStdString(field.Value.ToText());
  field.Position = position;
  field.Edit->setText(field.Shown);
}

void TDlgSelZoom::Empty(TTimeField& field) {
  field.Shown.clear();
  field.Edit->clear();
}

void TDlgSelZoom::ShowSelection() {
  Updating = true;
  const bool attached = Target != nullptr;
  ButtonApply->setEnabled(attached);
  for (QWidget* widget : {static_cast<QWidget*>(OptCursor), static_cast<QWidget*>(OptPart),
                          static_cast<QWidget*>(At.Edit), static_cast<QWidget*>(Begin.Edit),
                          static_cast<QWidget*>(End.Edit)}) {
    widget->setEnabled(attached);
  }
  if (!attached) {
    OptCursor->setChecked(true);
    Empty(At);
    Empty(Begin);
    Empty(End);
  } else {
    const TUnitWave& u = Target->GetUnitWave();
    if (!u.HasSelection()) {
      OptCursor->setChecked(true);
      Show(At, u.GetCursor());
      Empty(Begin);
      Empty(End);
    } else {
      OptPart->setChecked(true);
      Show(Begin, u.GetSelLow());
      Show(End, u.GetSelHigh());
      Empty(At);
    }
  }
  Updating = false;
}

void TDlgSelZoom::ShowZoom() {
  Updating = true;
  const bool attached = Target != nullptr;
  for (QWidget* widget : {static_cast<QWidget*>(CheckZoomed), static_cast<QWidget*>(ZoomBegin.Edit),
                          static_cast<QWidget*>(ZoomEnd.Edit)}) {
    widget->setEnabled(attached);
  }
  if (attached && Target->IsZoomed()) {
    CheckZoomed->setChecked(true);
    Show(ZoomBegin, static_cast<std::int32_t>(std::trunc(Target->VisibleBegin())));
    Show(ZoomEnd, static_cast<std::int32_t>(std::trunc(Target->VisibleEnd())));
  } else {
    CheckZoomed->setChecked(false);
    Empty(ZoomBegin);
    Empty(ZoomEnd);
  }
  Updating = false;
}

bool TDlgSelZoom::Read(TTimeField& field, std::int32_t& position, bool& typed) {
  const QString text = field.Edit->text();
  typed = field.Shown.isEmpty() || text != field.Shown;
  if (!typed) {
    position = field.Position;
    return true;
  }
  bool ok = true;
  field.Value.Read(ok, text.toStdString(), field.Name);
  if (!ok) {
    field.Edit->setFocus();
    return false;
  }
  const double frequency = Target->GetUnitWave().GetFrequency();
  const double seconds = field.Value.GetValue();
  // Beyond any wave's length: kept representable, refused by the caller.
  const double values = std::min(std::trunc(seconds * frequency),
                                 static_cast<double>(std::numeric_limits<std::int32_t>::max()));
  position = static_cast<std::int32_t>(values);
  return true;
}

bool TDlgSelZoom::ReadRange(TTimeField& begin, TTimeField& end, const char* what,
                            std::int32_t& from, std::int32_t& to) {
  bool typed = false;
  if (!Read(begin, from, typed) || !Read(end, to, typed)) return false;
  // A range may reach the very end of the wave, as the dialog shows a
  // selection or a zoom of the whole wave.
  const std::int32_t values = Target->GetUnitWave().GetValues();
  if (from >= to) {
    ShowInputError(std::string(what) + " Begin must be prior before " + what + " End.");
    return false;
  }
  if (from >= values) {
    ShowInputError(std::string("In ") + begin.Name + ": " + kBeyondEnd);
    return false;
  }
  if (to > values) {
    ShowInputError(std::string("In ") + end.Name + ": " + kBeyondEnd);
    return false;
  }
  return true;
}

void TDlgSelZoom::Apply() {
  if (Target == nullptr) return;
  TUnitWave& u = Target->GetUnitWave();
  std::int32_t from = 0;
  std::int32_t to = 0;
  bool typed = false;
  if (OptCursor->isChecked()) {
    if (Read(At, from, typed)) {
      // The cursor as shown may stand at the end; a typed one may not.
      if (from < u.GetValues() || !typed) {
        u.SetCursor(from);
      } else {
        ShowInputError(std::string("In ") + At.Name + ": " + kBeyondEnd);
      }
    }
  } else {
    TB_ASSERT_TEXT(OptPart->isChecked(), "optPart->Checked");
    if (ReadRange(Begin, End, "Part", from, to)) u.SetSelection(from, to);
  }
  // The document's notifications may have detached the dialog.
  if (Target == nullptr) return;
  if (CheckZoomed->isChecked()) {
    if (ReadRange(ZoomBegin, ZoomEnd, "Zoom", from, to)) Target->SetZoom(from, to);
  } else if (Target->IsZoomed()) {
    Target->Unzoom();
  }
}

void TDlgSelZoom::reject() {
  // Escape, the Close button and the window's close box all end here.
  QDialog::reject();
  emit Closed();
}
