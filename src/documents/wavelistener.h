#pragma once

#include <cstdint>
#include <vector>

// What a wave document tells those who show it: its window, the status bar,
// a dialog that follows the selection. Each overrides what it needs.
class TWaveListener {
 public:
  virtual ~TWaveListener() = default;
  // Draws the columns of the positions from ... to as selected or not (with
  // the cursor line where it falls among them).
  virtual void RepaintRange(std::int32_t /*from*/, std::int32_t /*to*/, bool /*selected*/) {}
  // Repaints the column of a cursor that has moved away.
  virtual void EraseCursor(std::int32_t /*position*/) {}
  // The whole wave may have changed.
  virtual void Repaint() {}
  // Brackets an operation that may change the length of the range low ...
  // high (a window keeps its zoomed region in place); EndChange gets the
  // changed range.
  virtual void BeginChange(std::int32_t /*low*/, std::int32_t /*high*/) {}
  virtual void EndChange(std::int32_t /*low*/, std::int32_t /*high*/) {}
  // The cursor or the selection moved.
  virtual void SelectionChanged() {}
  // The document now has this many channels.
  virtual void ChannelsChanged(std::int16_t /*channels*/) {}
};

// The listeners of one document, told in the order they were added. A
// listener may remove itself (or another) while it is being told.
class TWaveListeners final : public TWaveListener {
 public:
  void Add(TWaveListener* listener);
  void Remove(TWaveListener* listener);
  std::size_t Count() const { return listeners_.size(); }

  void RepaintRange(std::int32_t from, std::int32_t to, bool selected) override;
  void EraseCursor(std::int32_t position) override;
  void Repaint() override;
  void BeginChange(std::int32_t low, std::int32_t high) override;
  void EndChange(std::int32_t low, std::int32_t high) override;
  void SelectionChanged() override;
  void ChannelsChanged(std::int16_t channels) override;

 private:
  template <class Call>
  void TellAll(Call call);

  std::vector<TWaveListener*> listeners_;
};
