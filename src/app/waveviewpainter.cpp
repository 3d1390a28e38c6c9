#include "app/waveviewpainter.h"

#include <algorithm>
#include <cmath>

#include "base/numeric.h"
#include "base/random.h"
#include "sound/sound.h"

namespace {

QRgb Rgb(const TColor& c) { return qRgb(c.Red, c.Green, c.Blue); }

QRgb* Row(QImage& image, int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)); }

void Fill(QImage& image, int x0, int x1, int top, int bottom, QRgb colour) {
  for (int y = top; y < bottom; ++y) std::fill(Row(image, y) + x0, Row(image, y) + x1, colour);
}

// Rows top ... bottom (excluded) of column x, clipped to the rectangle.
void VLine(QImage& image, int x, int top, int bottom, int clipTop, int clipBottom, QRgb colour) {
  top = std::max(top, clipTop);
  bottom = std::min(bottom, clipBottom);
  for (int y = top; y < bottom; ++y) Row(image, y)[x] = colour;
}

// The colours one single wave is drawn with.
struct TPen {
  QRgb Back;
  QRgb Wave;
  TColor WaveColour;
};

// One rectangle of the client area and how values map into it.
struct TBox {
  int X0, X1, Top, Bottom;
  double Scale, Mid;
  TBox(int x0, int x1, int top, int bottom)
      : X0(x0),
        X1(x1),
        Top(top),
        Bottom(bottom),
        Scale(-(bottom - top) / 65536.0),
        Mid((top + bottom) * 0.5) {}
  // Positive values upwards, 0 in the middle.
  int Y(int value) const { return static_cast<int>(std::trunc(value * Scale + Mid)); }
  bool Empty() const { return X1 <= X0 || Bottom <= Top; }
};

// Where the samples of a column lie: `ValuesPerPixel` steps from the column's
// position to the next column's, evenly spaced or at random within a span.
class TSampler {
 public:
  TSampler(const TWaveCoords& coords, const TWaveViewProps& props)
      : Coords(coords),
        Values(coords.Values),
        Span((coords.VisibleEnd() - coords.VisibleBegin()) / std::max(coords.Width, 1)),
        Count(std::max(1, static_cast<int>(props.ValuesPerPixel.GetValue()))),
        Step(Span / Count),
        Random(props.Distribution == 1) {}

  // Whether column x shows a part of the wave; `p` is its first sampling
  // position (0 where the column begins before the wave).
  bool Start(int x, double& p) const {
    p = Coords.PixelToPosition(x);
    if (p >= Values || p + Span <= 0) return false;
    p = std::max(p, 0.0);
    return true;
  }

  std::int32_t Index(double p) const {
    if (Random) p += static_cast<double>(NextRandom()) / kRandomMax * Span;
    return static_cast<std::int32_t>(Clip(std::trunc(p), 0, Values - 1));
  }

  // The indices of a column's samples: the first and `Count` more.
  template <class F>
  void ForEach(double p, F f) const {
    for (int j = 0; j <= Count; ++j) f(Index(p + j * Step));
  }

  // Evenly spaced samples no further apart than one value take every value
  // from the first to the last: then the column is the minimum and maximum
  // of that stretch, a reduction that needs no sampling.
  bool Dense() const { return !Random && Step <= 1; }
  void Stretch(double p, std::int32_t& first, std::int32_t& last) const {
    first = Index(p);
    last = Index(p + Count * Step);
  }

  const TWaveCoords& Coords;
  std::int32_t Values;
  double Span;
  int Count;
  double Step;
  bool Random;
};

// The rows a "Lines" column covers: from one above the highest sample down
// to the lowest, the end excluded as a canvas line leaves out its end point.
struct TRows {
  int Top, Bottom;
};

TRows ColumnRows(const TSampler& sampler, const TBox& box, const std::int16_t* data, double p) {
  int ymin = 0, ymax = 0;
  if (sampler.Dense()) {
    std::int32_t first = 0, last = 0;
    sampler.Stretch(p, first, last);
    std::int16_t low = data[first], high = data[first];
    for (std::int32_t i = first + 1; i <= last; ++i) {
      low = std::min(low, data[i]);
      high = std::max(high, data[i]);
    }
    // y falls as values rise.
    ymin = box.Y(high);
    ymax = box.Y(low);
  } else {
    bool first = true;
    sampler.ForEach(p, [&](std::int32_t i) {
      const int y = box.Y(data[i]);
      if (first) ymin = ymax = y;
      ymin = std::min(ymin, y);
      ymax = std::max(ymax, y);
      first = false;
    });
  }
  return {ymin - 1, ymax};
}

// One point of "Points": the wave colour, or with a strength other than 1 a
// step from the present colour towards it.
void Point(QImage& image, const TBox& box, int x, int y, const TColor& c, double strength) {
  if (y < box.Top || y >= box.Bottom) return;
  QRgb& pixel = Row(image, y)[x];
  if (strength == 1.0) {
    pixel = qRgb(c.Red, c.Green, c.Blue);
    return;
  }
  auto mix = [&](int present, int wave) {
    return static_cast<int>(Clip(std::trunc(present * (1 - strength) + wave * strength), 0, 255));
  };
  pixel = qRgb(mix(qRed(pixel), c.Red), mix(qGreen(pixel), c.Green), mix(qBlue(pixel), c.Blue));
}

void Grid(QImage& image, const TBox& box, const TWaveCoords& coords, double frequency,
          const TWaveViewProps& props) {
  const QRgb colour = Rgb(props.GridColor);
  const int mid = (box.Top + box.Bottom) / 2;
  if (mid >= box.Top && mid < box.Bottom) Fill(image, box.X0, box.X1, mid, mid + 1, colour);
  const double seconds = (coords.VisibleEnd() - coords.VisibleBegin()) / frequency;
  const double steps = coords.Width / 20.0;
  if (seconds <= 0 || steps <= 0) return;
  // One line per at least 20 pixels, on whole multiples of a nice time.
  const double step = Nice(seconds / steps);
  auto unit = [&](int x) { return std::floor(coords.PixelToPosition(x) / frequency / step); };
  double before = unit(box.X0 - 1);
  for (int x = box.X0; x < box.X1; ++x) {
    const double now = unit(x);
    if (now != before) VLine(image, x, box.Top, box.Bottom, box.Top, box.Bottom, colour);
    before = now;
  }
}

void PaintSingle(QImage& image, const TBox& box, const Wave& wave, const TPen& pen,
                 const TWaveCoords& coords, const TWaveViewProps& props, double frequency) {
  if (wave.getValues() == 0 || box.Empty()) return;
  Fill(image, box.X0, box.X1, box.Top, box.Bottom, pen.Back);
  const TSampler sampler(coords, props);
  const std::int16_t* data = wave.data();
  const double strength = props.Strength.GetValue();
  for (int x = box.X0; x < box.X1; ++x) {
    double p = 0;
    if (!sampler.Start(x, p)) continue;
    if (props.Draw == 1) {
      sampler.ForEach(p, [&](std::int32_t i) {
        Point(image, box, x, box.Y(data[i]), pen.WaveColour, strength);
      });
    } else {
      const TRows rows = ColumnRows(sampler, box, data, p);
      VLine(image, x, rows.Top, rows.Bottom, box.Top, box.Bottom, pen.Wave);
    }
  }
  if (props.DrawGrid) Grid(image, box, coords, frequency, props);
}

// Both channels in one rectangle, the front wave drawn last; "Mixed" shows
// where they overlap in the single-wave colour.
void PaintCombined(QImage& image, const TBox& box, const Wave& left, const Wave& right,
                   const TColor& back, const TColor& single, const TColor& leftColour,
                   const TColor& rightColour, const TWaveCoords& coords,
                   const TWaveViewProps& props, double frequency) {
  if (left.getValues() == 0 || box.Empty()) return;
  Fill(image, box.X0, box.X1, box.Top, box.Bottom, Rgb(back));
  const TSampler sampler(coords, props);
  const bool leftFront = props.Combine == 1;
  const bool mixed = props.Combine == 0;
  const Wave& backWave = leftFront ? right : left;
  const Wave& frontWave = leftFront ? left : right;
  const TColor& backColour = leftFront ? rightColour : leftColour;
  const TColor& frontColour = leftFront ? leftColour : rightColour;
  const double strength = props.Strength.GetValue();
  for (int x = box.X0; x < box.X1; ++x) {
    double p = 0;
    if (!sampler.Start(x, p)) continue;
    if (props.Draw == 1) {
      if (mixed) {
        // Sample by sample, left then right.
        for (int j = 0; j <= sampler.Count; ++j) {
          const double at = p + j * sampler.Step;
          Point(image, box, x, box.Y(left.data()[sampler.Index(at)]), leftColour, strength);
          Point(image, box, x, box.Y(right.data()[sampler.Index(at)]), rightColour, strength);
        }
      } else {
        sampler.ForEach(p, [&](std::int32_t i) {
          Point(image, box, x, box.Y(backWave.data()[i]), backColour, strength);
        });
        sampler.ForEach(p, [&](std::int32_t i) {
          Point(image, box, x, box.Y(frontWave.data()[i]), frontColour, strength);
        });
      }
      continue;
    }
    const TRows b = ColumnRows(sampler, box, backWave.data(), p);
    const TRows f = ColumnRows(sampler, box, frontWave.data(), p);
    VLine(image, x, b.Top, b.Bottom, box.Top, box.Bottom, Rgb(backColour));
    VLine(image, x, f.Top, f.Bottom, box.Top, box.Bottom, Rgb(frontColour));
    if (mixed)
      VLine(image, x, std::max(b.Top, f.Top), std::min(b.Bottom, f.Bottom), box.Top, box.Bottom,
            Rgb(single));
  }
  if (props.DrawGrid) Grid(image, box, coords, frequency, props);
}

}  // namespace

std::int32_t TWaveRenderer::Values() const { return TheSound ? TheSound->GetValues() : 0; }

bool TWaveRenderer::PrepareDiagram(int height) {
  if (TheSound == nullptr) {
    Diagram.Clear();
    return true;
  }
  return Diagram.Prepare(*TheSound, SoundVersion, Coords, height, VoldView);
}

void TWaveRenderer::PaintColumns(QImage& image, int x0, int x1, bool selected) {
  x0 = std::max(x0, 0);
  x1 = std::min(x1, image.width());
  if (x1 <= x0) return;
  const int height = image.height();
  if (ViewMode == 1) {
    Diagram.Paint(image, x0, x1, selected, VoldView);
    return;
  }
  const TWaveViewProps& p = WaveView;
  // The selection shows inverted: each pair of colours exchanged.
  const TColor& back = selected ? p.SingleWave : p.Background;
  const TColor& wave = selected ? p.Background : p.SingleWave;
  const TColor& left = selected ? p.Right : p.Left;
  const TColor& right = selected ? p.Left : p.Right;
  const TPen pen{Rgb(back), Rgb(wave), wave};
  const double frequency = TheSound->GetFreq();
  if (TheSound->ChannelCount() == 1) {
    PaintSingle(image, TBox(x0, x1, 0, height), *TheSound->Channel(0), pen, Coords, p, frequency);
  } else if (p.TwoWaves) {
    const int mid = height / 2;
    PaintSingle(image, TBox(x0, x1, 0, mid), *TheSound->Channel(0), pen, Coords, p, frequency);
    PaintSingle(image, TBox(x0, x1, mid, height), *TheSound->Channel(1), pen, Coords, p, frequency);
  } else {
    PaintCombined(image, TBox(x0, x1, 0, height), *TheSound->Channel(0), *TheSound->Channel(1),
                  back, wave, left, right, Coords, p, frequency);
  }
}

void TWaveRenderer::PaintRect(QImage& image, int left, int right) {
  left = std::max(left, 0);
  right = std::min(right, image.width());
  if (right <= left || image.height() <= 0) return;
  if (Values() == 0) {
    Fill(image, left, right, 0, image.height(), Rgb(WaveView.Background));
    return;
  }
  if (ViewMode == 1) PrepareDiagram(image.height());
  if (SelLow != SelHigh) {
    const int xlo = std::clamp(Coords.PositionToPixel(SelLow), left, right);
    const int xhi = std::clamp(Coords.PositionToPixel(SelHigh), left, right);
    PaintColumns(image, left, xlo, false);
    PaintColumns(image, xlo, xhi, true);
    PaintColumns(image, xhi, right, false);
  } else {
    PaintColumns(image, left, right, false);
  }
  const int x = Coords.CursorPixel(Cursor);
  if (x >= left && x < right) {
    const TColor& colour = ViewMode == 1 ? VoldView.Cursor : WaveView.GridColor;
    VLine(image, x, 0, image.height(), 0, image.height(), Rgb(colour));
  }
}
