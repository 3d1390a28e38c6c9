#pragma once

#include <QImage>
#include <cstdint>

#include "app/volumediagram.h"
#include "app/waveviewcoords.h"
#include "documents/viewprops.h"

class Sound;

// Renders what a wave window shows into an image of its client area, column
// by column, without a window: the window copies its document's state into
// the fields and paints the columns that changed.
class TWaveRenderer {
 public:
  // The document as the window sees it; no sound shows as an empty wave.
  const Sound* TheSound = nullptr;
  std::uint64_t SoundVersion = 0;
  TWaveCoords Coords;
  std::int32_t SelLow = 0;
  std::int32_t SelHigh = 0;
  std::int32_t Cursor = 0;
  std::uint8_t ViewMode = 0;  // 0 wave view, 1 volume view
  TWaveViewProps WaveView;
  TVoldViewProps VoldView;
  // The volume view's peaks, kept between paints.
  TVolumeDiagram Diagram;

  // Brings the diagram's cache in line with the fields for an image `height`
  // rows high; true when it starts over.
  bool PrepareDiagram(int height);
  // Paints the columns left ... right (excluded) over the image's height:
  // selected ones inverted, and the cursor line where it falls among them.
  void PaintRect(QImage& image, int left, int right);
  // Paints the columns x0 ... x1 (excluded) all selected or all not.
  void PaintColumns(QImage& image, int x0, int x1, bool selected);

 private:
  std::int32_t Values() const;
};
