#include "documents/wavelistener.h"

#include <algorithm>

#include "base/tbassert.h"

void TWaveListeners::Add(TWaveListener* listener) {
  TB_ASSERT_TEXT(listener != nullptr, "listener != NULL");
  if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void TWaveListeners::Remove(TWaveListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

template <class Call>
void TWaveListeners::TellAll(Call call) {
  // A copy, so that a listener removed while the others are told is no
  // reason to skip one; one removed before its turn is not told.
  const std::vector<TWaveListener*> now = listeners_;
  for (TWaveListener* listener : now)
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
      call(*listener);
}

void TWaveListeners::RepaintRange(std::int32_t from, std::int32_t to, bool selected) {
  TellAll([&](TWaveListener& l) { l.RepaintRange(from, to, selected); });
}
void TWaveListeners::EraseCursor(std::int32_t position) {
  TellAll([&](TWaveListener& l) { l.EraseCursor(position); });
}
void TWaveListeners::Repaint() {
  TellAll([](TWaveListener& l) { l.Repaint(); });
}
void TWaveListeners::BeginChange(std::int32_t low, std::int32_t high) {
  TellAll([&](TWaveListener& l) { l.BeginChange(low, high); });
}
void TWaveListeners::EndChange(std::int32_t low, std::int32_t high) {
  TellAll([&](TWaveListener& l) { l.EndChange(low, high); });
}
void TWaveListeners::SelectionChanged() {
  TellAll([](TWaveListener& l) { l.SelectionChanged(); });
}
void TWaveListeners::ChannelsChanged(std::int16_t channels) {
  TellAll([&](TWaveListener& l) { l.ChannelsChanged(channels); });
}
