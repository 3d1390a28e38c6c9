#include "base/userinterface.h"

#include <cstdio>

namespace {

StderrUserInterface& DefaultUi() {
  static StderrUserInterface ui;
  return ui;
}

UserInterface* current = nullptr;
bool waiting = false;

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

UserInterface& Ui() { return current != nullptr ? *current : DefaultUi(); }

ScopedUserInterface::ScopedUserInterface(UserInterface& ui) : previous_(current) { current = &ui; }

ScopedUserInterface::~ScopedUserInterface() { current = previous_; }

MessageResult ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                          MessageButtons buttons) {
  return Ui().ShowMessage(title, text, icon, buttons);
}

void BeginWait() {
  if (waiting) return;
  waiting = true;
  Ui().BeginWait();
}

void EndWait() {
  if (!waiting) return;
  waiting = false;
  Ui().EndWait();
}

void TraceOpen() {}
void Trace(const std::string& /*text*/) {}
void TraceAddress(const void* /*address*/) {}
void TraceClose() {}
