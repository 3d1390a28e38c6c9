#include "documents/drawnodes.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/numeric.h"
#include "base/tbassert.h"
#include "documents/unitwave.h"
#include "sound/sound.h"

namespace {
// How close a click must come to a point to take hold of it.
constexpr double kGrabDistance = 5.0;
}  // namespace

std::optional<std::size_t> TDrawNodes::Nearest(double x, double y) const {
  std::optional<std::size_t> found;
  double best = kGrabDistance;
  for (std::size_t i = 0; i < List.size(); ++i) {
    const double distance = std::hypot(List[i].X - x, List[i].Y - y);
    if (distance < best) {
      best = distance;
      found = i;
    }
  }
  return found;
}

std::optional<std::size_t> TDrawNodes::Insert(double x, double y) {
  const auto at =
      std::lower_bound(List.begin(), List.end(), x,
                       [](const DrawNode& node, double value) { return node.X < value; });
  if (at != List.end() && at->X == x) return std::nullopt;
  const auto index = static_cast<std::size_t>(at - List.begin());
  List.insert(at, DrawNode{x, y, true});
  return index;
}

void TDrawNodes::Move(std::size_t index, double x, double y, int width, int height) {
  TB_ASSERT(index < List.size());
  DrawNode& node = List[index];
  double low = 0;
  double high = width - 1;
  if (index > 0) low = std::max(low, List[index - 1].X + 1);
  if (index + 1 < List.size()) high = std::min(high, List[index + 1].X - 1);
  // Neighbours closer than 2 pixels (a window made narrower) leave no room:
  // the point keeps its X rather than pass one of them.
  if (low <= high) node.X = Clip(x, low, high);
  const double bottom = height - 1;
  node.Active = y >= 0 && y <= bottom;
  node.Y = Clip(y, 0, std::max(bottom, 0.0));
}

void TDrawNodes::Remove(std::size_t index) {
  TB_ASSERT(index < List.size());
  List.erase(List.begin() + static_cast<std::ptrdiff_t>(index));
}

void TDrawNodes::Scale(double xFactor, double yFactor) {
  for (DrawNode& node : List) {
    node.X *= xFactor;
    node.Y *= yFactor;
  }
}

void TUnitWave::BuildFromNodes(double x0, double top, double x1, double bottom,
                               const TDrawNodes& nodes, std::uint8_t kind) {
  const std::size_t count = nodes.Count();
  if (count < 2) return;
  TB_ASSERT(top < bottom);
  TB_ASSERT(kind == kDrawLinear || kind == kDrawSmooth);
  // A drawn wave is always one second long.
  const auto n = static_cast<std::int32_t>(std::trunc(GetFrequency() * 1.0));
  Failed = false;
  auto wave = std::make_unique<Wave>(Failed, n);
  if (Failed) return;
  std::int16_t* out = wave->data();
  std::size_t segment = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    const double x = Map(i, 0, n, x0, x1);
    while (x > nodes[segment + 1].X) {
      ++segment;
      TB_ASSERT_TEXT(segment + 1 < count, "nextNode != NULL");
    }
    const DrawNode& a = nodes[segment];
    const DrawNode& b = nodes[segment + 1];
    double y = 0;
    if (kind == kDrawLinear) {
      y = Map(x, a.X, b.X, a.Y, b.Y);
    } else {
      // A cubic with zero slope at both points.
      const double dx = x - a.X;
      const double d = b.X - a.X;
      const double rise = b.Y - a.Y;
      y = a.Y + 3 * rise / (d * d) * dx * dx - 2 * rise / (d * d * d) * dx * dx * dx;
    }
    // Before the first point (its X truncated) a line runs on beyond the
    // heights drawn; the sample stays within 16 bits.
    const double sample = Clip(Map(y, top, bottom, 32767.0, -32767.0), -32767.0, 32767.0);
    out[i] = static_cast<std::int16_t>(std::trunc(sample));
  }
  // No undo record: Undo is off while a window draws.
  SetSound(std::make_unique<MonoSound>(std::move(wave), GetFrequency(), 2));
  SetChanged();
  Listeners.Repaint();
}
