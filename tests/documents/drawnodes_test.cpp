// Waves drawn by hand: the one-second sound built through the points, and
// the edits the mouse makes on the points.

#include "documents/drawnodes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/allocation.h"
#include "docfixtures.h"
#include "support/recordingui.h"

namespace {

TDrawNodes Points(const std::vector<DrawNode>& points) {
  TDrawNodes nodes;
  for (const DrawNode& p : points) nodes.Insert(p.X, p.Y);
  return nodes;
}

}  // namespace

TEST(BuildFromNodes, OneSecondThroughThePointsAgainstWorkedValues) {
  // 10 values a second, heights 0 ... 100 onto 32767 ... -32767: one pixel
  // of height is 655.34. x runs 0, 1, ... 9 (x1 itself is not reached).
  struct Case {
    const char* name;
    std::vector<DrawNode> points;
    double x0, x1;
    std::uint8_t kind;
    std::vector<std::int16_t> values;
  };
  const Case cases[] = {
      // y = 10 x.
      {"line",
       {{0, 0}, {10, 100}},
       0,
       10,
       kDrawLinear,
       {32767, 26213, 19660, 13106, 6553, 0, -6553, -13106, -19660, -26213}},
      // y = 3 x^2 - 0.2 x^3: flat at both points, half way at x = 5.
      {"smooth",
       {{0, 0}, {10, 100}},
       0,
       10,
       kDrawSmooth,
       {32767, 30932, 25951, 18611, 9699, 0, -9699, -18611, -25951, -30932}},
      // Down to the bottom at x = 4 and back up to the top at x = 10.
      {"two segments",
       {{0, 0}, {4, 100}, {10, 0}},
       0,
       10,
       kDrawLinear,
       {32767, 16383, 0, -16383, -32767, -21844, -10922, 0, 10922, 21844}},
      // y = 10 x - 5 from the first point at 20.5, its X truncated to 20:
      // x = 20 lies before it, where the line runs on above the top and is
      // held at 32767.
      {"before the first point",
       {{20.5, 0}, {30, 95}},
       20,
       30,
       kDrawLinear,
       {32767, 29490, 22936, 16383, 9830, 3276, -3276, -9830, -16383, -22936}},
  };
  for (const Case& c : cases) {
    DocumentFixture f(MakeMono({}, 10));
    f.doc->BuildFromNodes(c.x0, 0, c.x1, 100, Points(c.points), c.kind);
    EXPECT_EQ(LeftOf(*f.doc), c.values) << c.name;
    EXPECT_EQ(f.doc->GetFrequency(), 10) << c.name;
    EXPECT_EQ(f.doc->GetMonoStereo(), 1) << c.name;
    EXPECT_EQ(f.doc->GetBytesPSample(), 2) << c.name;
  }
}

TEST(BuildFromNodes, PointsAtTheTopAndBottomEdgeGiveFullScale) {
  DocumentFixture f(MakeMono({}, 4));
  for (const auto& [y, value] : {std::pair{0.0, 32767}, std::pair{100.0, -32767}}) {
    f.doc->BuildFromNodes(0, 0, 50, 100, Points({{0, y}, {50, y}}), kDrawSmooth);
    EXPECT_EQ(LeftOf(*f.doc), std::vector<std::int16_t>(4, static_cast<std::int16_t>(value)));
  }
}

TEST(BuildFromNodes, OnePointOrNoMemoryLeavesTheWaveAsItWas) {
  RecordingUi ui;
  DocumentFixture f(MakeMono({5, 6, 7}, 10));
  f.doc->BuildFromNodes(0, 0, 10, 100, Points({{0, 0}}), kDrawLinear);
  FailAllocationAfter(0);
  f.doc->BuildFromNodes(0, 0, 10, 100, Points({{0, 0}, {10, 0}}), kDrawLinear);
  FailAllocationAfter(-1);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{5, 6, 7}));
  EXPECT_TRUE(f.window.calls.empty());
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(DrawNodes, EditsKeepThePointsInOrderAndInTheWindow) {
  TDrawNodes nodes = Points({{10, 10}, {20, 20}, {30, 30}});
  // A second point in the same column is not made.
  EXPECT_FALSE(nodes.Insert(20, 50).has_value());
  EXPECT_EQ(nodes.Insert(25, 50), 2u);
  nodes.Remove(2);
  // Grabbed within 5 pixels only, the nearest first.
  EXPECT_EQ(nodes.Nearest(23, 23), 1u);
  EXPECT_EQ(nodes.Nearest(14, 14), std::nullopt);
  // Dragged past a neighbour: stops 1 pixel short of it. Below the bottom of
  // a 100 x 60 area: held at the last row and marked for removal.
  nodes.Move(1, 35, 80, 100, 60);
  EXPECT_EQ(nodes[1].X, 29);
  EXPECT_EQ(nodes[1].Y, 59);
  EXPECT_FALSE(nodes[1].Active);
  nodes.Move(2, 500, -3, 100, 60);
  EXPECT_EQ(nodes[2].X, 99);
  EXPECT_EQ(nodes[2].Y, 0);
  nodes.Move(2, 50, 40, 100, 60);
  EXPECT_TRUE(nodes[2].Active);
}
