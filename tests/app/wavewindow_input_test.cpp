// The wave window's input on the offscreen platform: selecting with the
// mouse, the keys, the wheel and drawing a wave by hand, with synthesised
// events.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <vector>

#include "app/mainform.h"
#include "app/waveview.h"
#include "app/wavewindow.h"
#include "documents/docfixtures.h"
#include "documents/unitwave.h"
#include "support/recordingui.h"

namespace {

// A document of `values` values shown in a view of the given client size.
struct Viewed {
  Viewed(std::int32_t values, int width, int height, std::int32_t freq = 1000)
      : doc(MakeMono(std::vector<std::int16_t>(values, 0), freq), "input.wav"),
        view(doc, TWaveViewProps{}, TVoldViewProps{}, 0) {
    view.resize(width, height);
    view.show();
  }
  void Click(int x, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(view.viewport(), Qt::LeftButton, keys, QPoint(x, 10));
  }
  void Wheel(int x, int turn, Qt::KeyboardModifiers keys = {}) {
    QWheelEvent event(QPointF(x, 10), view.viewport()->mapToGlobal(QPointF(x, 10)), QPoint(),
                      QPoint(0, turn), Qt::NoButton, keys, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &event);
  }
  TUnitWave doc;
  TWaveView view;
};

struct Sel {
  std::int32_t cursor, anchor;
  bool operator==(const Sel&) const = default;
};
Sel SelOf(const TUnitWave& doc) { return {doc.GetCursor(), doc.GetAnchor()}; }
void PrintTo(const Sel& s, std::ostream* os) { *os << s.cursor << "/" << s.anchor; }

}  // namespace

TEST(WaveViewMouse, ClicksSetExtendAndMoveTheNearerEnd) {
  // One value per column: the click at x is at position x.
  Viewed v(1000, 1000, 50);
  v.Click(300);
  EXPECT_EQ(SelOf(v.doc), (Sel{300, 300}));
  v.Click(500, Qt::ShiftModifier);
  EXPECT_EQ(SelOf(v.doc), (Sel{500, 300}));
  v.Click(100, Qt::ShiftModifier);  // from the anchor, across it
  EXPECT_EQ(SelOf(v.doc), (Sel{100, 300}));
  v.doc.SetSelection(100, 1000);
  v.Click(150, Qt::ControlModifier);
  EXPECT_EQ(SelOf(v.doc), (Sel{150, 100}));
  // Equally near both ends: the high end stays.
  v.doc.SetSelection(100, 200);
  v.Click(150, Qt::ControlModifier);
  EXPECT_EQ(SelOf(v.doc), (Sel{150, 200}));
  // Dragged past the right edge: the last value.
  QTest::mousePress(v.view.viewport(), Qt::LeftButton, {}, QPoint(200, 10));
  QTest::mouseMove(v.view.viewport(), QPoint(1200, 10));
  QTest::mouseRelease(v.view.viewport(), Qt::LeftButton, {}, QPoint(1200, 10));
  EXPECT_EQ(SelOf(v.doc), (Sel{999, 200}));
  v.Click(400);
  EXPECT_EQ(SelOf(v.doc), (Sel{400, 400}));

  Viewed one(1, 100, 50);
  one.doc.SetCursor(1);
  one.Click(10);
  EXPECT_EQ(SelOf(one.doc), (Sel{1, 1}));
}

TEST(WaveViewKeys, MoveTheEndsByPixelSteps) {
  // 10 values a column: a step of d columns from position p lands in the
  // middle of column p / 10 + d, at (p / 10 + d) * 10 + 5.
  struct Case {
    Sel before;
    int key;
    Qt::KeyboardModifiers keys;
    Sel after;
  };
  const auto shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
  const Case cases[] = {
      {{100, 100}, Qt::Key_Right, {}, {115, 115}},
      {{100, 100}, Qt::Key_Down, {}, {205, 205}},
      {{100, 100}, Qt::Key_Left, {}, {95, 95}},
      {{300, 200}, Qt::Key_Home, {}, {0, 0}},
      {{300, 200}, Qt::Key_End, {}, {1000, 1000}},
      {{300, 200}, Qt::Key_Right, shift, {315, 200}},
      {{300, 200}, Qt::Key_Home, shift, {0, 200}},
      {{300, 200}, Qt::Key_Left, ctrl, {300, 195}},
      {{300, 200}, Qt::Key_End, ctrl, {300, 1000}},
      {{200, 100}, Qt::Key_PageDown, ctrl, {300, 200}},
      {{200, 100}, Qt::Key_PageUp, ctrl, {100, 0}},
      // Against the end the selection stops, keeping its length.
      {{980, 900}, Qt::Key_PageDown, ctrl, {1000, 920}},
      {{300, 200}, Qt::Key_Up, ctrl | shift, {205, 105}},
      {{300, 200}, Qt::Key_End, ctrl | shift, {1000, 900}},
      {{300, 200}, Qt::Key_Home, ctrl | shift, {100, 0}},
      {{300, 200}, Qt::Key_Right, Qt::AltModifier, {300, 200}},
  };
  Viewed v(1000, 100, 50);
  for (const Case& c : cases) {
    v.doc.SetCursorAndAnchor(c.before.cursor, c.before.anchor);
    QTest::keyClick(&v.view, static_cast<Qt::Key>(c.key), c.keys);
    EXPECT_EQ(SelOf(v.doc), c.after) << c.key << " " << c.keys.toInt();
  }
  // Zoomed to 100 ... 110, a value spans 10 columns: a one-column step
  // still moves one value.
  v.doc.SetCursor(105);
  v.view.SetZoom(100, 110);
  QTest::keyClick(&v.view, Qt::Key_Right);
  EXPECT_EQ(v.doc.GetCursor(), 106);
}

TEST(WaveViewWheel, ScrollsAndZoomsThroughTheScrollBar) {
  Viewed v(10000, 100, 50);
  v.doc.SetSelection(10, 20);
  v.Wheel(25, -120);
  EXPECT_FALSE(v.view.IsZoomed());
  // One notch in at column 25 (position 2550): 8000 values from 510 on,
  // which the scroll bar counts as a range of 125 pixels from 6 on.
  v.Wheel(25, 120, Qt::ControlModifier);
  ASSERT_TRUE(v.view.IsZoomed());
  EXPECT_EQ(v.view.ScrollRange(), 125);
  EXPECT_EQ(v.view.ScrollPosition(), 6);
  EXPECT_EQ(v.view.horizontalScrollBar()->value(), 6);
  EXPECT_DOUBLE_EQ(v.view.VisibleBegin(), 480);
  EXPECT_DOUBLE_EQ(v.view.VisibleEnd(), 8480);
  // A notch towards the user scrolls on by one step of 10 pixels.
  v.Wheel(25, -120);
  EXPECT_EQ(v.view.ScrollPosition(), 16);
  EXPECT_EQ(v.view.horizontalScrollBar()->value(), 16);
  EXPECT_DOUBLE_EQ(v.view.VisibleBegin(), 1280);
  // Out again: everything fits, the zoom ends and the selection stays.
  v.Wheel(25, -120, Qt::ControlModifier);
  EXPECT_FALSE(v.view.IsZoomed());
  EXPECT_DOUBLE_EQ(v.view.VisibleEnd(), 10000);
  EXPECT_EQ(SelOf(v.doc), (Sel{10, 20}));
}

TEST(WaveViewMouse, StatusTextNamesTimeAndHeight) {
  // Two values a column at 1024 values a second: column 255 is at value
  // 511, 0.4990234375 s.
  RecordingUi ui;
  TUnitWave mono(MakeMono(std::vector<std::int16_t>(1024, 0), 1024), "m.wav");
  TUnitWave stereo(
      MakeStereo(std::vector<std::int16_t>(1024, 0), std::vector<std::int16_t>(1024, 0), 1024),
      "s.wav");
  TWaveView monoView(mono, TWaveViewProps{}, TVoldViewProps{}, 0);
  TWaveView stereoView(stereo, TWaveViewProps{}, TVoldViewProps{}, 0);
  // 100 values a column at 44100 a second: column 220 is at 0.5 s.
  TUnitWave cd(MakeMono(std::vector<std::int16_t>(44100, 0), 44100), "v.wav");
  TWaveView voldView(cd, TWaveViewProps{}, TVoldViewProps{}, 1);
  for (TWaveView* view : {&monoView, &stereoView}) view->resize(512, 101);
  voldView.resize(441, 101);
  for (TWaveView* view : {&monoView, &stereoView, &voldView}) view->show();
  // Row 25 of 0 ... 100 is half way up; row 80 of a stereo window lies in
  // the lower wave, 20 % below its middle.
  EXPECT_EQ(monoView.PositionText(255, 25).toStdString(), "(0.49902 s, 50.00 %)");
  EXPECT_EQ(stereoView.PositionText(255, 80).toStdString(), "(0.49902 s, -20.00 %)");
  // Half way down the bands from 20 kHz to 20 Hz, logarithmically:
  // 20000 / sqrt(1000) = 632.46 Hz.
  EXPECT_EQ(voldView.PositionText(220, 50).toStdString(), "(0.50000 s, 632 Hz )");
}

TEST(WaveViewDrawing, PointsMakeOneSecondAndDraggingOneOutRemovesIt) {
  // Rows 0 ... 100: the top row is 32767, the bottom one -32767.
  TUnitWave doc(MakeMono({}, 1000), "draw.wav");
  TWaveView view(doc, TWaveViewProps{}, TVoldViewProps{}, 0);
  view.resize(201, 101);
  view.show();
  view.StartDrawing(kDrawLinear);
  QWidget* area = view.viewport();
  QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(20, 0));
  QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(20, 50));  // the same column
  EXPECT_EQ(view.GetNodes().Count(), 1u);
  EXPECT_EQ(doc.GetValues(), 0);
  QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(120, 100));
  ASSERT_EQ(doc.GetValues(), 1000);
  // Value i lies at x = 20 + i / 10, at the height y = i / 10.
  EXPECT_EQ(LeftOf(doc)[0], 32767);
  EXPECT_EQ(LeftOf(doc)[500], 0);
  EXPECT_EQ(LeftOf(doc)[999], -32701);
  // Smooth: at i = 250, y = 3 * 25^2 / 100 - 2 * 25^3 / 10000 = 15.625.
  view.SetDrawKind(kDrawSmooth);
  EXPECT_EQ(LeftOf(doc)[250], 22527);
  // Twice the size: the points move with their window, edges staying edges.
  view.resize(401, 201);
  QApplication::processEvents();
  EXPECT_EQ(view.GetNodes()[1].X, 240);
  EXPECT_EQ(view.GetNodes()[1].Y, 200);
  view.resize(201, 101);
  QApplication::processEvents();
  // Taken 1 pixel off, dragged below the bottom and let go there.
  QTest::mousePress(area, Qt::LeftButton, {}, QPoint(121, 99));
  QTest::mouseMove(area, QPoint(121, 150));
  EXPECT_FALSE(view.GetNodes()[1].Active);
  EXPECT_EQ(view.GetNodes()[1].Y, 100);
  QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(121, 150));
  EXPECT_EQ(view.GetNodes().Count(), 1u);
  // One point makes no sound: the last one stays.
  EXPECT_EQ(LeftOf(doc)[250], 22527);
  view.EndDrawing();
  EXPECT_EQ(view.GetNodes().Count(), 0u);
  EXPECT_EQ(doc.GetValues(), 1000);
}

TEST(WaveWindowDrawing, CommandsStartSwitchAndEndDrawing) {
  RecordingUi ui;
  TMainForm form;
  form.resize(1000, 700);
  form.show();
  QApplication::setActiveWindow(&form);
  TWaveFileProps mono;
  mono.MonoStereo = 1;
  mono.Frequency = 8000;
  TUnitWave& doc = *form.GetWorkspace().NewWave(mono);
  auto* window = static_cast<TMDIChildWave*>(form.CreateWaveWindow(doc));
  QAction* linear = form.Action("DrawWaveLin");
  QAction* smooth = form.Action("DrawWave3G");
  linear->trigger();
  ASSERT_TRUE(window->IsDrawing());
  EXPECT_TRUE(linear->isChecked());
  EXPECT_FALSE(smooth->isChecked());
  EXPECT_EQ(window->GetView().viewport()->cursor().shape(),
            form.GetCursor(TCustomCursor::Draw).shape());
  QWidget* area = window->GetView().viewport();
  QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(90, 60));
  ASSERT_EQ(doc.GetValues(), 8000);
  const std::int16_t straight = LeftOf(doc)[1000];
  // The other kind: the same points, joined smoothly.
  smooth->trigger();
  EXPECT_TRUE(window->IsDrawing());
  EXPECT_FALSE(linear->isChecked());
  EXPECT_TRUE(smooth->isChecked());
  EXPECT_NE(LeftOf(doc)[1000], straight);
  // Ended: the sound stays, and a wave with values is not drawn on.
  smooth->trigger();
  EXPECT_FALSE(window->IsDrawing());
  EXPECT_FALSE(smooth->isChecked());
  EXPECT_FALSE(smooth->isEnabled());
  EXPECT_EQ(doc.GetValues(), 8000);
  EXPECT_EQ(window->GetView().viewport()->cursor().shape(), Qt::ArrowCursor);
  // The keys reach the view past the main window's short-cuts, and the
  // mouse's position reaches status panel 1.
  doc.SetSelection(100, 200);
  QTest::keyClick(&window->GetView(), Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(doc.GetSelLow(), 200);
  EXPECT_EQ(doc.GetSelHigh(), 300);
  QTest::mouseMove(area, QPoint(1, 1));
  EXPECT_TRUE(form.StatusPanel(1).startsWith("(0.00")) << form.StatusPanel(1).toStdString();
}
