#pragma once

#include "base/userinterface.h"

class QWidget;

// The core's messages as modal message boxes over the main window, and the
// hourglass as the application's override cursor. Called from a worker
// thread, a message waits for its box on the user-interface thread, and the
// hourglass is left to the progress dialog.
class TQtUserInterface : public UserInterface {
 public:
  explicit TQtUserInterface(QWidget* parent) : Parent(parent) {}
  MessageResult ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                            MessageButtons buttons) override;
  void BeginWait() override;
  void EndWait() override;
  // From the worker thread of a long command, for its progress dialog.
  void Progress(double fraction) override;

 private:
  QWidget* Parent;
  bool Waiting = false;
};
