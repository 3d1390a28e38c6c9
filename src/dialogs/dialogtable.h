#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "dialogs/formdialog.h"

class QWidget;
class TUnitWave;

// What a command's dialog is opened with besides its record.
struct TDialogContext {
  QWidget* parent = nullptr;
  const TFormDesc& form;
  // The document the command works on.
  TFormWave wave;
  THelpCallback help;
};

// Shows a command's dialog on `record`; true on OK with the record updated.
using TRecordDialog = bool (*)(const TDialogContext& context, TWaveRecord& record);

// The commands whose dialog is made by hand; every other command with a form
// gets the dialog built from its form.
struct TDialogRow {
  TWaveCommand command;
  TRecordDialog execute;
};
const std::vector<TDialogRow>& DialogRows();

// The main window's hook before a wave command runs: opens the command's
// dialog on the document's record; false when the user cancelled.
std::function<bool(TWaveCommand, TUnitWave&, TWaveRecord&)> MakeRecordEditor(QWidget* parent,
                                                                             THelpCallback help);

// The register dialog ("Register"): the name typed, trimmed; nothing when
// cancelled.
std::optional<std::string> ExecuteRegisterDialog(QWidget* parent, const std::string& current,
                                                 const THelpCallback& help);
