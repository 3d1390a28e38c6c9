#pragma once

#include <cstdint>

// What a wave document asks of the window that shows it. The desktop wave
// window implements it; headless documents use the null link, tests a
// recorder.
class TWaveWindowLink {
 public:
  virtual ~TWaveWindowLink() = default;
  // Draws the columns of the positions from ... to as selected or not (with
  // the cursor line where it falls among them).
  virtual void RepaintRange(std::int32_t from, std::int32_t to, bool selected) = 0;
  // Repaints the column of a cursor that has moved away.
  virtual void EraseCursor(std::int32_t position) = 0;
  // Repaints the whole window.
  virtual void Repaint() = 0;
  // Brackets an operation that may change the length of the range low ...
  // high (the window keeps its zoomed region in place); EndChange gets the
  // changed range.
  virtual void BeginChange(std::int32_t low, std::int32_t high) = 0;
  virtual void EndChange(std::int32_t low, std::int32_t high) = 0;
  // The selection changed: the select-and-zoom dialog should follow.
  virtual void SelZoomChanged() = 0;
  // The document now has this many channels.
  virtual void ChannelsChanged(std::int16_t channels) = 0;
};

class TNullWaveWindowLink : public TWaveWindowLink {
 public:
  void RepaintRange(std::int32_t, std::int32_t, bool) override {}
  void EraseCursor(std::int32_t) override {}
  void Repaint() override {}
  void BeginChange(std::int32_t, std::int32_t) override {}
  void EndChange(std::int32_t, std::int32_t) override {}
  void SelZoomChanged() override {}
  void ChannelsChanged(std::int16_t) override {}

  // One shared instance: it has no state.
  static TNullWaveWindowLink& Instance();
};
