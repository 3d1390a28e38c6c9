#pragma once

#include <string>

// The one door through which the core talks to the user: message boxes, the
// hourglass and the debug trace. The desktop program implements it with its
// widgets, the command-line tool with standard error, tests with a recorder.

enum class MessageIcon { Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual MessageResult ShowMessage(const std::string& title, const std::string& text,
                                    MessageIcon icon, MessageButtons buttons) = 0;
  virtual void BeginWait() = 0;
  virtual void EndWait() = 0;
  // How far the running long operation is, 0 ... 1. Called from the thread
  // that runs the operation (a worker thread in the desktop program), at most
  // a few times a second; an implementation that shows it on another thread
  // hands the value over itself. Nobody listening costs nothing.
  virtual void Progress(double /*fraction*/) {}
};

// Writes "Title: text" lines to standard error and answers every question
// with its negative choice (No, Cancel) so nothing is done unasked.
class StderrUserInterface : public UserInterface {
 public:
  MessageResult ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                            MessageButtons buttons) override;
  void BeginWait() override {}
  void EndWait() override {}
};

// The interface in use; the standard-error one until another is installed.
UserInterface& Ui();

// Installs an interface for its lifetime and restores the previous one.
class ScopedUserInterface {
 public:
  explicit ScopedUserInterface(UserInterface& ui);
  ~ScopedUserInterface();
  ScopedUserInterface(const ScopedUserInterface&) = delete;
  ScopedUserInterface& operator=(const ScopedUserInterface&) = delete;

 private:
  UserInterface* previous_;
};

MessageResult ShowMessage(const std::string& title, const std::string& text,
                          MessageIcon icon = MessageIcon::Information,
                          MessageButtons buttons = MessageButtons::Ok);

// Hourglass brackets; waits do not nest, so a second BeginWait is ignored.
void BeginWait();
void EndWait();

class WaitCursor {
 public:
  WaitCursor() { BeginWait(); }
  ~WaitCursor() { EndWait(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// Debug trace: kept as calls so the places stay visible, but the texts are
// discarded.
void TraceOpen();
void Trace(const std::string& text);
void TraceAddress(const void* address);
void TraceClose();
