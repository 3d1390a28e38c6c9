#include "app/qtui.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return QMessageBox::Ok;
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

MessageResult Result(int button) {
  switch (button) {
    case QMessageBox::Yes:
      return MessageResult::Yes;
    case QMessageBox::No:
      return MessageResult::No;
    case QMessageBox::Cancel:
      return MessageResult::Cancel;
    default:
      return MessageResult::Ok;
  }
}

}  // namespace

MessageResult TQtUserInterface::ShowMessage(const std::string& title, const std::string& text,
                                            MessageIcon icon, MessageButtons buttons) {
  // A question must not be answered under the hourglass.
  const bool wasWaiting = Waiting;
  if (wasWaiting) EndWait();
  QMessageBox box(BoxIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                  BoxButtons(buttons), Parent);
  // Closing the box with Escape or its frame is the cautious answer.
  if (buttons == MessageButtons::YesNo) box.setEscapeButton(QMessageBox::No);
  const MessageResult result = Result(box.exec());
  if (wasWaiting) BeginWait();
  return result;
}

void TQtUserInterface::BeginWait() {
  if (Waiting) return;
  Waiting = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TQtUserInterface::EndWait() {
  if (!Waiting) return;
  Waiting = false;
  QApplication::restoreOverrideCursor();
}
