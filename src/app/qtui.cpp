#include "app/qtui.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "app/backgroundrun.h"

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

namespace {
bool OnGuiThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }
}  // namespace

void TQtUserInterface::Progress(double fraction) { TBackgroundRun::ReportProgress(fraction); }

MessageResult TQtUserInterface::ShowMessage(const std::string& title, const std::string& text,
                                            MessageIcon icon, MessageButtons buttons) {
  if (!OnGuiThread()) {
    MessageResult result = MessageResult::Ok;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { result = ShowMessage(title, text, icon, buttons); },
        Qt::BlockingQueuedConnection);
    return result;
  }
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
  if (Waiting || !OnGuiThread()) return;
  Waiting = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TQtUserInterface::EndWait() {
  if (!Waiting || !OnGuiThread()) return;
  Waiting = false;
  QApplication::restoreOverrideCursor();
}
