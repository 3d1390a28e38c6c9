// Which dialog each wave command opens.
#include "dialogs/dialogtable.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/mfreqdialog.h"
#include "documents/unitwave.h"

const std::vector<TDialogRow>& DialogRows() {
  // One row per command with a dialog of its own: {command, its Execute}.
  static const std::vector<TDialogRow> rows = {
      {TWaveCommand::MakeMFreq,
       [](const TDialogContext& context, TWaveRecord& record) {
         return ExecuteMFreqDialog(context.parent, std::get<TMFreqProps>(record), context.help);
       }},
  };
  return rows;
}

std::function<bool(TWaveCommand, TUnitWave&, TWaveRecord&)> MakeRecordEditor(QWidget* parent,
                                                                             THelpCallback help) {
  return [parent, help = std::move(help)](TWaveCommand command, TUnitWave& unitWave,
                                          TWaveRecord& record) {
    const TFormDesc* form = FindForm(command);
    if (form == nullptr) return true;
    const TDialogContext context{
        parent, *form, {unitWave.GetFrequency(), unitWave.GetValues()}, help};
    for (const TDialogRow& row : DialogRows()) {
      if (row.command == command) return row.execute(context, record);
    }
    return ExecuteForm(*form, record, parent, context.wave, help);
  };
}

std::optional<std::string> ExecuteRegisterDialog(QWidget* parent, const std::string& current,
                                                 const THelpCallback& help) {
  QDialog dialog(parent);
  dialog.setWindowTitle("Register");
  auto* name = new QLineEdit(QString::fromStdString(current), &dialog);
  name->setAccessibleName("Name");
  // Register names are at most 99 characters.
  name->setMaxLength(99);
  name->setMinimumWidth(name->fontMetrics().horizontalAdvance('x') * 30);
  auto* label = new QLabel("&Name:", &dialog);
  label->setBuddy(name);
  auto* fields = new QFormLayout;
  fields->addRow(label, name);
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dialog);
  for (QAbstractButton* button : buttons->buttons()) {
    button->setAccessibleName(button->text().remove('&'));
  }
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dialog, [&help] {
    if (help) help("Register");
  });
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(fields);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  name->selectAll();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return name->text().trimmed().toStdString();
}
