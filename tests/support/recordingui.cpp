#include "support/recordingui.h"

MessageResult RecordingUi::ShowMessage(const std::string& title, const std::string& text,
                                       MessageIcon icon, MessageButtons buttons) {
  messages.push_back({title, text, icon, buttons});
  return buttons == MessageButtons::Ok ? MessageResult::Ok : answer;
}

std::vector<std::string> RecordingUi::Texts() const {
  std::vector<std::string> texts;
  for (const Message& m : messages) texts.push_back(m.title + ": " + m.text);
  return texts;
}
