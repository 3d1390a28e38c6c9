#pragma once

#include <cstdint>

// Pixels and positions of a wave window's client area. While zoomed, the
// window's horizontal extent is `Range` pixels of which the client area shows
// `Width` from `Position` on; otherwise the whole wave fills the width.
// Positions are values of the document, fractional where a pixel falls
// between two values.
struct TWaveCoords {
  std::int32_t Values = 0;  // the document's length
  int Width = 0;            // client width in pixels
  bool Zoomed = false;
  int Range = 0;      // scroll bar: the zoomed extent in pixels
  int Position = 0;   // scroll bar: the first pixel shown
  int Increment = 0;  // scroll bar: one step

  double VisibleBegin() const;
  double VisibleEnd() const;
  // The position at the middle of column x.
  double PixelToPosition(double x) const;
  // The column a position falls in (may lie outside the client area).
  int PositionToPixel(double position) const;
  // Shows from ... to in the client width. At least one value stays
  // visible, and the extent stays within what a scroll bar can count.
  void SetZoom(double from, double to);
  // The column of the cursor line: the last value's at the very end.
  int CursorPixel(std::int32_t cursor) const;

  bool operator==(const TWaveCoords&) const = default;
};
