#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A point of a wave drawn by hand, in pixels of the window's client area: X
// from its left edge, Y from its top. `Active` is false while a drag holds
// the point beyond the top or bottom edge, where letting go removes it.
struct DrawNode {
  double X = 0;
  double Y = 0;
  bool Active = true;
};

// How the points are joined: straight lines, or curves with zero slope at
// every point so that the segments join smoothly.
inline constexpr std::uint8_t kDrawLinear = 0;
inline constexpr std::uint8_t kDrawSmooth = 1;

// The points of a drawing, sorted by X strictly increasing, with the edits
// the mouse makes on them.
class TDrawNodes {
 public:
  const std::vector<DrawNode>& Nodes() const { return List; }
  std::size_t Count() const { return List.size(); }
  const DrawNode& operator[](std::size_t index) const { return List[index]; }
  void Clear() { List.clear(); }

  // The point nearest to (x, y) among those closer than 5 pixels.
  std::optional<std::size_t> Nearest(double x, double y) const;
  // Inserts (x, y) at its place in X order and returns its index; nothing
  // when a point with exactly this X exists.
  std::optional<std::size_t> Insert(double x, double y);
  // Moves a point towards (x, y), kept at least 1 pixel from its neighbours'
  // X and inside a client area of width x height pixels. The point is
  // inactive when y lay beyond the top or bottom edge.
  void Move(std::size_t index, double x, double y, int width, int height);
  void Remove(std::size_t index);
  // Scales every point with its window, so the drawing keeps its shape.
  void Scale(double xFactor, double yFactor);

 private:
  std::vector<DrawNode> List;
};
