#include "app/childwindow.h"

#include <QCloseEvent>

#include "app/mainform.h"
#include "base/userinterface.h"
#include "documents/unit.h"
#include "documents/unitwave.h"
#include "documents/workspace.h"

TMDIChildTonbrisk::TMDIChildTonbrisk(TMainForm& mainForm, TUnit& unit)
    : MainForm(mainForm), Unit(&unit) {
  setAttribute(Qt::WA_DeleteOnClose);
  UpdateCaption();
}

TMDIChildTonbrisk::~TMDIChildTonbrisk() {
  // The window's contents may listen to the document: they go before it.
  delete widget();
  MainForm.ChildDestroyed(this, Unit);
}

void TMDIChildTonbrisk::UpdateCaption() {
  const QString name = QString::fromStdString(Unit->GetFileName());
  if (windowTitle() != name + "[*]") setWindowTitle(name + "[*]");
  setWindowModified(Unit->NeedsSave());
}

bool TMDIChildTonbrisk::SaveDocument() {
  bool saved = false;
  if (Unit->GetKind() == kUnitKindWave) {
    saved = MainForm.SaveWaveDocument(static_cast<TUnitWave&>(*Unit), false);
  }
  UpdateCaption();
  return saved;
}

bool TMDIChildTonbrisk::SaveDocumentAs() {
  bool saved = false;
  if (Unit->GetKind() == kUnitKindWave) {
    saved = MainForm.SaveWaveDocument(static_cast<TUnitWave&>(*Unit), true);
  }
  UpdateCaption();
  return saved;
}

void TMDIChildTonbrisk::closeEvent(QCloseEvent* event) {
  if (Unit->NeedsSave()) {
    const MessageResult answer = ShowMessage("You have unsaved changes", "Do you want to save?",
                                             MessageIcon::Question, MessageButtons::YesNoCancel);
    if (answer == MessageResult::Cancel || (answer == MessageResult::Yes && !SaveDocument())) {
      event->ignore();
      return;
    }
  }
  QMdiSubWindow::closeEvent(event);
}
