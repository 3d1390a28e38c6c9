#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "docfixtures.h"

namespace {

struct Range {
  std::int32_t cursor;
  std::int32_t anchor;
};

}  // namespace

TEST(WaveSelection, WithoutSelectionEffectsTakeTheWholeWaveAndGeneratorsTheCursor) {
  DocumentFixture f(MakeMono(Ramp(100)));
  f.doc->SetCursor(40);
  EXPECT_EQ(f.doc->GetSelBegin(), 0);
  EXPECT_EQ(f.doc->GetSelEnd(), 100);
  EXPECT_EQ(f.doc->GetSelLow(), 40);
  EXPECT_EQ(f.doc->GetSelHigh(), 40);
  EXPECT_FALSE(f.doc->HasSelection());
}

TEST(WaveSelection, EndsAreOrderedWhicheverEndMoves) {
  DocumentFixture f(MakeMono(Ramp(100)));
  f.doc->SetCursor(60);
  f.doc->MoveCursor(20);  // the cursor moves below the anchor
  EXPECT_EQ(f.doc->GetCursor(), 20);
  EXPECT_EQ(f.doc->GetAnchor(), 60);
  EXPECT_EQ(f.doc->GetSelBegin(), 20);
  EXPECT_EQ(f.doc->GetSelEnd(), 60);
  EXPECT_EQ(f.doc->GetSelLow(), 20);
  EXPECT_EQ(f.doc->GetSelHigh(), 60);
}

TEST(WaveSelection, PositionsAreClippedToTheWave) {
  DocumentFixture f(MakeMono(Ramp(100)));
  f.doc->SetCursor(150);
  EXPECT_EQ(f.doc->GetCursor(), 100);
  f.doc->SetCursor(-5);
  EXPECT_EQ(f.doc->GetCursor(), 0);
  f.doc->SetSelection(-10, 500);
  EXPECT_EQ(f.doc->GetSelLow(), 0);
  EXPECT_EQ(f.doc->GetSelHigh(), 100);
  f.doc->SetCursorAndAnchor(101, -1);
  EXPECT_EQ(f.doc->GetCursor(), 100);
  EXPECT_EQ(f.doc->GetAnchor(), 0);
  f.doc->MoveCursor(1000);
  EXPECT_EQ(f.doc->GetCursor(), 100);
}

TEST(WaveSelection, SetSelectionKeepsTheLowerEndLower) {
  DocumentFixture f(MakeMono(Ramp(100)));
  f.doc->SetCursorAndAnchor(50, 5);  // cursor above the anchor
  f.doc->SetSelection(10, 20);
  EXPECT_EQ(f.doc->GetCursor(), 20);
  EXPECT_EQ(f.doc->GetAnchor(), 10);
  f.doc->SetCursorAndAnchor(5, 50);  // cursor below
  f.doc->SetSelection(10, 20);
  EXPECT_EQ(f.doc->GetCursor(), 10);
  EXPECT_EQ(f.doc->GetAnchor(), 20);
  f.doc->SetCursor(7);  // equal ends count as the cursor being lower
  f.doc->SetSelection(10, 20);
  EXPECT_EQ(f.doc->GetCursor(), 10);
  EXPECT_EQ(f.doc->GetAnchor(), 20);
}

TEST(WaveSelection, SelectResultTellsTheWindowFirstAndPicksCursorOrSelection) {
  DocumentFixture f(MakeMono(Ramp(100)));
  f.window.BeginChange(0, 100);  // SelectResult ends a change the method began
  f.doc->SelectResult(30, 30);
  EXPECT_EQ(f.window.calls.at(1), "end 30 30");
  EXPECT_FALSE(f.doc->HasSelection());
  EXPECT_EQ(f.doc->GetCursor(), 30);
  f.window.BeginChange(0, 100);
  f.doc->SelectResult(10, 70);
  EXPECT_EQ(f.doc->GetSelLow(), 10);
  EXPECT_EQ(f.doc->GetSelHigh(), 70);
  EXPECT_EQ(f.window.unpaired, 0);
}

// The stretches a selection change repaints, worked out from the old and the
// new range: growing ends are painted selected, shrinking ends unselected;
// disjoint ranges are repainted whole; a moving cursor is erased.
TEST(WaveSelection, RepaintsOnlyTheStretchesThatChange) {
  struct Case {
    Range from;
    Range to;
    std::vector<std::string> stretches;
  };
  const std::vector<Case> cases = {
      {{10, 10}, {30, 30}, {"erase 10", "range 30 30 unsel"}},
      {{10, 10}, {40, 10}, {"erase 10", "range 10 40 sel"}},
      {{40, 10}, {60, 10}, {"range 40 60 sel"}},
      {{40, 10}, {25, 10}, {"range 25 40 unsel"}},
      {{40, 10}, {50, 5}, {"range 5 10 sel", "range 40 50 sel"}},
      {{40, 10}, {30, 20}, {"range 10 20 unsel", "range 30 40 unsel"}},
      {{40, 10}, {5, 10}, {"range 5 10 sel", "range 10 40 unsel"}},
      {{40, 10}, {70, 50}, {"range 10 40 unsel", "range 50 70 sel"}},
      {{40, 10}, {25, 25}, {"range 10 40 unsel", "range 25 25 unsel"}},
      {{40, 10}, {40, 10}, {}},
      {{30, 30}, {30, 30}, {}},
  };
  for (const Case& c : cases) {
    DocumentFixture f(MakeMono(Ramp(100)));
    f.doc->SetCursorAndAnchor(c.from.cursor, c.from.anchor);
    f.window.calls.clear();
    f.doc->SetCursorAndAnchor(c.to.cursor, c.to.anchor);
    EXPECT_EQ(f.window.Stretches(), c.stretches)
        << c.from.cursor << "," << c.from.anchor << " -> " << c.to.cursor << "," << c.to.anchor;
    ASSERT_FALSE(f.window.calls.empty());
    EXPECT_EQ(f.window.calls.back(), "selection");
  }
}

TEST(WaveSelection, EveryListenerIsToldUntilItIsRemoved) {
  DocumentFixture f(MakeMono(Ramp(100)));
  RecordingWindow statusBar;
  f.doc->AddListener(&statusBar);
  f.doc->SetCursor(20);
  f.doc->RemoveListener(&f.window);
  f.doc->SetCursor(30);
  EXPECT_EQ(f.window.Stretches(), (std::vector<std::string>{"erase 0", "range 20 20 unsel"}));
  EXPECT_EQ(statusBar.Stretches(), (std::vector<std::string>{"erase 0", "range 20 20 unsel",
                                                              "erase 20", "range 30 30 unsel"}));
}

TEST(WaveSelection, AnEmptyWaveHasNoCursorToErase) {
  DocumentFixture f(MakeMono({}));
  f.window.calls.clear();
  f.doc->SetCursor(5);
  EXPECT_TRUE(f.window.Stretches().empty());
  EXPECT_EQ(f.doc->GetCursor(), 0);
}
