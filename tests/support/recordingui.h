#pragma once

#include <string>
#include <vector>

#include "base/userinterface.h"

// Records every message the core shows, installed for its lifetime.
class RecordingUi : public UserInterface {
 public:
  struct Message {
    std::string title;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
  };

  RecordingUi() : scope_(*this) {}

  MessageResult ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                            MessageButtons buttons) override;
  void BeginWait() override { ++waits; }
  void EndWait() override { ++waitEnds; }

  // "Title: text" of every message, in order.
  std::vector<std::string> Texts() const;

  std::vector<Message> messages;
  // Answer given to the next questions (Yes/No/Cancel boxes).
  MessageResult answer = MessageResult::Ok;
  int waits = 0;
  int waitEnds = 0;

 private:
  ScopedUserInterface scope_;
};
