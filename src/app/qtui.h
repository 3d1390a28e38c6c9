#pragma once

#include "base/userinterface.h"

class QWidget;

// The core's messages as modal message boxes over the main window, and the
// hourglass as the application's override cursor.
class TQtUserInterface : public UserInterface {
 public:
  explicit TQtUserInterface(QWidget* parent) : Parent(parent) {}
  MessageResult ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                            MessageButtons buttons) override;
  void BeginWait() override;
  void EndWait() override;

 private:
  QWidget* Parent;
  bool Waiting = false;
};
