#include "base/userinterface.h"

#include <atomic>
#include <cstdio>

namespace {

StderrUserInterface& DefaultUi() {
  static StderrUserInterface ui;
  return ui;
}

// Atomic: an operation on a worker thread reaches the interface (messages,
// progress) while the user-interface thread may install or wait.
std::atomic<UserInterface*> current{nullptr};
std::atomic<bool> waiting{false};

}  // namespace

MessageResult StderrUserInterface::ShowMessage(const std::string& title, const std::string& text,
                                               MessageIcon /*icon*/, MessageButtons buttons) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageResult::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
      return MessageResult::Cancel;
    case MessageButtons::YesNo:
      return MessageResult::No;
  }
  return MessageResult::Cancel;
}

UserInterface& Ui() {
  UserInterface* const ui = current.load();
  return ui != nullptr ? *ui : DefaultUi();
}

ScopedUserInterface::ScopedUserInterface(UserInterface& ui) : previous_(current.exchange(&ui)) {}

ScopedUserInterface::~ScopedUserInterface() { current.store(previous_); }

MessageResult ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                          MessageButtons buttons) {
  return Ui().ShowMessage(title, text, icon, buttons);
}

void BeginWait() {
  if (waiting.exchange(true)) return;
  Ui().BeginWait();
}

void EndWait() {
  if (!waiting.exchange(false)) return;
  Ui().EndWait();
}

void TraceOpen() {}
void Trace(const std::string& /*text*/) {}
void TraceAddress(const void* /*address*/) {}
void TraceClose() {}
