// The wave window's display on the offscreen platform: zoom arithmetic, and
// pixel checks on windows rendered to images.

#include "app/wavewindow.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

#include "app/mainform.h"
#include "app/volumediagram.h"
#include "app/waveview.h"
#include "app/waveviewcoords.h"
#include "documents/docfixtures.h"
#include "documents/unitwave.h"
#include "documents/workspace.h"
#include "sound/sound.h"

namespace {

std::unique_ptr<Sound> Mono(const std::vector<std::int16_t>& values, std::int32_t freq = 1000) {
  return MakeMono(values, freq);
}

std::unique_ptr<Sound> Stereo(const std::vector<std::int16_t>& left,
                              const std::vector<std::int16_t>& right, std::int32_t freq = 1000) {
  return MakeStereo(left, right, freq);
}

std::vector<std::int16_t> Noise(std::int32_t n, std::uint32_t seed) {
  std::vector<std::int16_t> values(n);
  for (auto& v : values) {
    seed = seed * 1664525U + 1013904223U;
    v = static_cast<std::int16_t>(seed >> 16);
  }
  return values;
}

QRgb Rgb(const TColor& c) { return qRgb(c.Red, c.Green, c.Blue); }

// A document shown in a window of the given client size.
struct Shown {
  Shown(std::unique_ptr<Sound> sound, int width, int height, TWaveViewProps wave = {},
        TVoldViewProps vold = {}, std::uint8_t mode = 0)
      : doc(std::move(sound), "test.wav"), view(doc, wave, vold, mode) {
    view.resize(width, height);
    view.show();
  }
  TUnitWave doc;
  TWaveView view;
};

TEST(WaveCoords, ZoomArithmetic) {
  struct Case {
    std::int32_t values;
    int width;
    double from, to;
    int range, position, increment;
    double begin, end;
  };
  constexpr int kMax = std::numeric_limits<int>::max();
  const Case cases[] = {
      // 500 x 10000 / 1000 pixels; 1000 / 10000 of them before the window.
      {10000, 500, 1000, 2000, 5000, 500, 50, 1000, 2000},
      {10000, 500, 0, 10000, 500, 0, 50, 0, 10000},
      // Nothing to show between the ends: one value across the window.
      {10000, 500, 300, 300, 5000000, 150000, 50, 300, 301},
      // Beyond what a scroll bar counts: the extent stops there.
      {26460000, 1200, 0, 1, kMax - 1200, 0, 120, 0, 26460000.0 * 1200 / (kMax - 1200)},
  };
  for (const Case& c : cases) {
    TWaveCoords coords;
    coords.Values = c.values;
    coords.Width = c.width;
    coords.SetZoom(c.from, c.to);
    EXPECT_TRUE(coords.Zoomed);
    EXPECT_EQ(coords.Range, c.range) << c.from;
    EXPECT_EQ(coords.Position, c.position) << c.from;
    EXPECT_EQ(coords.Increment, c.increment);
    EXPECT_DOUBLE_EQ(coords.VisibleBegin(), c.begin) << c.from;
    EXPECT_DOUBLE_EQ(coords.VisibleEnd(), c.end) << c.from;
  }
}

TEST(WaveView, ZoomFollowsEditsAndNoZoomSelectsAll) {
  Shown s(Mono(std::vector<std::int16_t>(10000, 0)), 500, 100);
  s.doc.SetSelection(5000, 6000);
  s.view.ZoomIn();
  ASSERT_DOUBLE_EQ(s.view.VisibleBegin(), 5000);
  ASSERT_DOUBLE_EQ(s.view.VisibleEnd(), 6000);
  // 100 values deleted before the zoomed region: it moves with them.
  s.doc.SetSelection(100, 200);
  s.doc.Delete();
  EXPECT_TRUE(s.view.IsZoomed());
  EXPECT_DOUBLE_EQ(s.view.VisibleBegin(), 4900);
  EXPECT_DOUBLE_EQ(s.view.VisibleEnd(), 5900);
  s.view.NoZoom();
  EXPECT_FALSE(s.view.IsZoomed());
  EXPECT_EQ(s.doc.GetSelLow(), 0);
  EXPECT_EQ(s.doc.GetSelHigh(), 9900);
  // A wave emptied by an edit ends the zoom.
  s.doc.SetSelection(5000, 6000);
  s.view.ZoomIn();
  s.doc.SetSelection(0, 9900);
  s.doc.Delete();
  EXPECT_FALSE(s.view.IsZoomed());
}

TEST(WaveView, SelectionShowsInverted) {
  // Constant waves, so every column has its wave at one known row.
  struct Case {
    bool stereo, twoWaves;
  };
  const TWaveViewProps defaults;
  for (const Case c : {Case{false, true}, Case{true, true}, Case{true, false}}) {
    TWaveViewProps props;
    props.DrawGrid = false;
    props.TwoWaves = c.twoWaves;
    // Values at the top quarter (left) and the bottom quarter (right) of a
    // 200-row window: rows trunc(v * -200 / 65536 + 100) - 1.
    const std::vector<std::int16_t> up(1000, 16384), down(1000, -16384);
    Shown s(c.stereo ? Stereo(up, down) : Mono(up), 100, 200, props);
    s.doc.SetSelection(500, 1000);
    const QImage image = s.view.Picture();
    const int unselected = 10, selected = 80;
    if (!c.twoWaves) {
      // Left at row 49, right at row 149; "Mixed" leaves them apart.
      EXPECT_EQ(image.pixel(unselected, 49), Rgb(defaults.Left));
      EXPECT_EQ(image.pixel(unselected, 149), Rgb(defaults.Right));
      EXPECT_EQ(image.pixel(selected, 49), Rgb(defaults.Right));
      EXPECT_EQ(image.pixel(selected, 149), Rgb(defaults.Left));
    } else {
      // Single waves: at row 49 (mono), or 24 in the upper half.
      const int row = c.stereo ? 24 : 49;
      EXPECT_EQ(image.pixel(unselected, row), Rgb(defaults.SingleWave));
      EXPECT_EQ(image.pixel(selected, row), Rgb(defaults.Background));
    }
    EXPECT_EQ(image.pixel(unselected, 5), Rgb(defaults.Background));
    EXPECT_EQ(image.pixel(selected, 5), Rgb(defaults.SingleWave));
  }
}

TEST(WaveView, EmptyWaveShowsBackgroundInBothViews) {
  TWaveViewProps wave;
  wave.Background = {10, 20, 30};
  for (const std::uint8_t mode : {0, 1}) {
    Shown s(Mono({}), 40, 30, wave, TVoldViewProps{}, mode);
    const QImage image = s.view.Picture();
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(image.pixel(x, y), qRgb(10, 20, 30)) << int(mode) << " " << x << "," << y;
  }
}

TEST(WaveView, CursorAtTheEndIsTheLastValuesColumn) {
  // 1000 values over 300 columns: the last value's column is
  // trunc(999 * 300 / 1000) = 299, and 1000 itself would be column 300.
  for (const std::uint8_t mode : {0, 1}) {
    TWaveViewProps wave;
    wave.DrawGrid = false;
    const TVoldViewProps vold;
    Shown s(Mono(Noise(1000, 7)), 300, 50, wave, vold, mode);
    s.doc.SetCursor(1000);
    const QImage image = s.view.Picture();
    const QRgb line = mode == 0 ? Rgb(wave.GridColor) : Rgb(vold.Cursor);
    for (int y = 0; y < image.height(); ++y) ASSERT_EQ(image.pixel(299, y), line) << y;
    int others = 0;
    for (int y = 0; y < image.height(); ++y) others += image.pixel(298, y) == line;
    EXPECT_EQ(others, 0);
  }
}

TEST(WaveView, GridLinesAtNiceSteps) {
  // One second at 1000 Hz over 200 columns: Nice(1 s / 10) = 0.2 s, and
  // column x shows (x + 0.5) * 5 values, so the steps begin at x = 0, 40,
  // 80, 120 and 160. Silence lies one row above the middle line (row 50).
  TWaveViewProps props;
  Shown s(Mono(std::vector<std::int16_t>(1000, 0)), 200, 100, props);
  const QImage image = s.view.Picture();
  std::vector<int> columns;
  for (int x = 0; x < 200; ++x)
    if (image.pixel(x, 10) == Rgb(props.GridColor)) columns.push_back(x);
  EXPECT_EQ(columns, (std::vector<int>{0, 40, 80, 120, 160}));
  for (int x : {1, 100, 199}) {
    EXPECT_EQ(image.pixel(x, 50), Rgb(props.GridColor));
    EXPECT_EQ(image.pixel(x, 49), Rgb(props.SingleWave));
  }
}

TEST(VolumeDiagram, PureSineIsBrightestInItsBand) {
  // 1000 Hz at 44100 Hz is a period of 44.1 values. The logarithmic bands
  // have periods 44100 * 5e-05 * 1000^(i / 50) = 2.205 * 1.1482^i values:
  // band 21 is 40.1 and band 22 is 46.1, nearer in ratio (1.045 against
  // 1.099). With 100 rows each band has two: band 22 is rows 44 and 45.
  std::vector<std::int16_t> sine(44100);
  for (std::size_t i = 0; i < sine.size(); ++i)
    sine[i] = static_cast<std::int16_t>(20000 * std::sin(2 * std::numbers::pi * i / 44.1));
  TVoldViewProps props;
  props.Width.SetValue(1);
  Shown s(Mono(sine, 44100), 100, 100, TWaveViewProps{}, props, 1);
  s.doc.SetCursor(0);
  const QImage image = s.view.Picture();
  for (int x : {30, 60, 90}) {
    int brightest = -1, best = -1;
    for (int y = 0; y < image.height(); ++y)
      if (qRed(image.pixel(x, y)) > best) {
        best = qRed(image.pixel(x, y));
        brightest = y;
      }
    EXPECT_TRUE(brightest == 44 || brightest == 45) << x << ": " << brightest;
  }
}

TEST(VolumeDiagram, WidestKernelGivesThePlainLoopsPeaks) {
  const std::unique_ptr<Sound> sound = Stereo(Noise(30000, 1), Noise(30000, 2), 44100);
  const std::unique_ptr<Sound> mono = Mono(Noise(30000, 3), 44100);
  TWaveCoords coords;
  coords.Values = 30000;
  coords.Width = 70;
  for (const Sound* s : {sound.get(), mono.get()}) {
    TVolumeDiagram plain, widest;
    TVolumeDiagram::UsePlainKernel(true);
    plain.Prepare(*s, 1, coords, 61, TVoldViewProps{});
    plain.ComputeAll();
    TVolumeDiagram::UsePlainKernel(false);
    widest.Prepare(*s, 1, coords, 61, TVoldViewProps{});
    widest.ComputeAll();
    ASSERT_EQ(plain.Diagrams(), widest.Diagrams());
    for (int d = 0; d < plain.Diagrams(); ++d)
      for (int x = 0; x < coords.Width; ++x)
        for (int band = 0; band < plain.Bands(d); ++band)
          ASSERT_EQ(plain.Peak(d, x, band), widest.Peak(d, x, band)) << d << " " << x;
  }
}

TEST(WaveView, SelectionChangesRepaintAsAFullPaintWould) {
  struct Case {
    std::uint8_t mode;
    bool stereo;
  };
  for (const Case c : {Case{0, true}, Case{1, false}, Case{1, true}}) {
    TVoldViewProps vold;
    vold.TwoDiagrams = false;
    Shown s(c.stereo ? Stereo(Noise(5000, 4), Noise(5000, 5)) : Mono(Noise(5000, 6)), 150, 80,
            TWaveViewProps{}, vold, c.mode);
    s.view.Picture();
    s.doc.SetSelection(1000, 2000);
    s.doc.MoveCursor(3000);
    s.doc.MoveCursor(1500);
    s.doc.SetCursor(4000);
    s.doc.SetCursor(5000);
    s.doc.SetCursorAndAnchor(200, 4500);
    // The same range with its ends exchanged, then grown past the old anchor.
    s.doc.SetCursorAndAnchor(4500, 200);
    s.doc.SetCursorAndAnchor(1000, 2000);
    s.doc.SetCursorAndAnchor(3000, 1000);
    const QImage incremental = s.view.Image().copy();
    EXPECT_TRUE(incremental == s.view.Picture()) << int(c.mode) << " " << c.stereo;
  }
}

TEST(WaveWindow, ShowsItsDocumentUntilItCloses) {
  TMainForm form;
  TUnitWave* doc = form.GetWorkspace().AddWave(
      std::make_unique<TUnitWave>(Stereo(Noise(4000, 8), Noise(4000, 9)), "w.wav"));
  auto* window = new TMDIChildWave(form, *doc);
  window->resize(300, 200);
  window->show();
  EXPECT_EQ(window->GetKind(), 1);
  doc->SetSelection(1000, 2000);
  window->ZoomIn();
  EXPECT_TRUE(window->IsZoomed());
  EXPECT_DOUBLE_EQ(window->GetView().VisibleBegin(), 1000);
  window->SetViewMode(false);
  EXPECT_FALSE(window->ShowsWaveView());
  // The window closes its document; the view must not outlive it.
  delete window;
}

TEST(WaveViewDeathTest, BeginAndEndChangeMustPair) {
  const struct {
    bool twice;
    const char* message;
  } cases[] = {{true, "OldZoomDepth\\+\\+ == 0"}, {false, "OldZoomDepth-- == 1"}};
  for (const auto& c : cases) {
    auto unpaired = [&] {
      Shown s(Mono({1, 2, 3}), 10, 10);
      s.view.BeginChange(0, 1);
      if (!c.twice) s.view.EndChange(0, 1);
      (c.twice ? s.view.BeginChange(0, 1) : s.view.EndChange(0, 1));
    };
    EXPECT_DEATH(unpaired(), c.message);
  }
}

}  // namespace
