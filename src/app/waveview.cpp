#include "app/waveview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "base/numeric.h"
#include "base/tbassert.h"
#include "documents/unitwave.h"
#include "sound/sound.h"
#include "units/writers.h"

namespace {
// How long one slice of the volume diagram may take before the window
// handles its events again.
constexpr double kDiagramSliceSeconds = 0.03;
}  // namespace

TWaveView::TWaveView(TUnitWave& unitWave, const TWaveViewProps& waveView,
                     const TVoldViewProps& voldView, std::uint8_t viewMode, QWidget* parent)
    : QAbstractScrollArea(parent), UnitWave(unitWave) {
  Renderer.WaveView = waveView;
  Renderer.VoldView = voldView;
  Renderer.ViewMode = viewMode;
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::NoFrame);
  // The image covers the client area: nothing needs erasing first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  // The position under the mouse is shown also without a button held.
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  DiagramTimer.setInterval(0);
  connect(&DiagramTimer, &QTimer::timeout, this, &TWaveView::ContinueDiagram);
  UnitWave.AddListener(this);
  Sync();
}

TWaveView::~TWaveView() { UnitWave.RemoveListener(this); }

const TWaveCoords& TWaveView::Coords() const { return Renderer.Coords; }

double TWaveView::VisibleBeginSeconds() const {
  return VisibleBegin() / std::max(UnitWave.GetFrequency(), 1);
}

double TWaveView::VisibleEndSeconds() const {
  return VisibleEnd() / std::max(UnitWave.GetFrequency(), 1);
}

void TWaveView::Sync() {
  const bool hasSound = !UnitWave.GetSoundHandedOver();
  Renderer.TheSound = hasSound ? &UnitWave.GetSound() : nullptr;
  Renderer.SoundVersion = UnitWave.GetSoundVersion();
  Renderer.Coords.Values = UnitWave.GetValues();
  Renderer.Coords.Width = viewport()->width();
  Renderer.SelLow = UnitWave.GetSelLow();
  Renderer.SelHigh = UnitWave.GetSelHigh();
  Renderer.Cursor = UnitWave.GetCursor();
  const QSize size = viewport()->size();
  if (Canvas.size() != size) {
    Canvas = QImage(size, QImage::Format_RGB32);
    Canvas.fill(Qt::black);
  }
}

// --- view settings -------------------------------------------------------------

void TWaveView::SetViewMode(std::uint8_t mode) {
  Renderer.ViewMode = mode;
  Redraw();
}

void TWaveView::SetWaveView(const TWaveViewProps& props) {
  Renderer.WaveView = props;
  Redraw();
}

void TWaveView::SetVoldView(const TVoldViewProps& props) {
  // Colours, sensitivity and strength repaint from the cache; the tuning
  // starts the diagram over (the renderer compares).
  Renderer.VoldView = props;
  Redraw();
}

// --- zoom ------------------------------------------------------------------------

void TWaveView::ShowScrollBar() {
  const TWaveCoords& c = Renderer.Coords;
  SettingScrollBar = true;
  setHorizontalScrollBarPolicy(c.Zoomed ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  QScrollBar* bar = horizontalScrollBar();
  bar->setRange(0, std::max(c.Range - c.Width, 0));
  bar->setPageStep(std::max(c.Width, 1));
  bar->setSingleStep(std::max(c.Increment, 1));
  bar->setValue(c.Position);
  SettingScrollBar = false;
}

void TWaveView::SetZoom(double from, double to) {
  Sync();
  Renderer.Coords.SetZoom(from, to);
  ShowScrollBar();
  emit ZoomChanged();
}

void TWaveView::ZoomIn() {
  const std::int32_t low = UnitWave.GetSelLow();
  const std::int32_t high = UnitWave.GetSelHigh();
  if (UnitWave.GetValues() == 0 || low == high) return;
  Renderer.Coords.Zoomed = true;
  UnitWave.SetSelection(low, high);
  SetZoom(low, high);
  Redraw();
}

void TWaveView::Unzoom() {
  Renderer.Coords.Zoomed = false;
  Renderer.Coords.Position = 0;
  ShowScrollBar();
  emit ZoomChanged();
}

void TWaveView::NoZoom() {
  if (UnitWave.GetValues() == 0 || !IsZoomed()) return;
  Unzoom();
  // The visible range is now the whole wave.
  UnitWave.SetSelection(0, UnitWave.GetValues());
  Redraw();
}

void TWaveView::BeginChange(std::int32_t low, std::int32_t high) {
  TB_ASSERT_TEXT(OldZoomDepth++ == 0, "OldZoomDepth++ == 0");
  // Each visible end keeps its distance from the end of the changed range
  // on its side: a region after the change moves with its high end, one
  // before it stays with its low end, one around it follows both.
  const double begin = VisibleBegin();
  const double end = VisibleEnd();
  OldBeginFromHigh = begin >= high;
  OldEndFromLow = end <= low;
  OldBeginOffset = begin - (OldBeginFromHigh ? high : low);
  OldEndOffset = end - (OldEndFromLow ? low : high);
}

void TWaveView::EndChange(std::int32_t low, std::int32_t high) {
  TB_ASSERT_TEXT(OldZoomDepth-- == 1, "OldZoomDepth-- == 1");
  if (!IsZoomed()) return;
  Sync();
  const std::int32_t values = UnitWave.GetValues();
  if (values == 0) {
    Unzoom();
    return;
  }
  // The visible region keeps its distance from the edited part.
  const double begin = (OldBeginFromHigh ? high : low) + OldBeginOffset;
  const double end = (OldEndFromLow ? low : high) + OldEndOffset;
  SetZoom(std::trunc(std::max(0.0, begin)), std::trunc(std::min(static_cast<double>(values), end)));
}

void TWaveView::scrollContentsBy(int /*dx*/, int /*dy*/) {
  if (SettingScrollBar) return;
  Renderer.Coords.Position = horizontalScrollBar()->value();
  emit ZoomChanged();
  Redraw();
}

// --- painting --------------------------------------------------------------------

void TWaveView::Show(int left, int right) {
  viewport()->update(QRect(left, 0, std::max(right - left, 0), viewport()->height()));
}

void TWaveView::PaintRect(int left, int right) {
  Sync();
  Renderer.PaintRect(Canvas, left, right);
  if (Renderer.ViewMode == 1 && !Renderer.Diagram.Complete() &&
      right > Renderer.Diagram.ColumnsDone())
    PaintProgress();
  Show(left, right);
}

void TWaveView::Redraw() {
  Sync();
  if (Drawing) {
    PaintDrawing();
    return;
  }
  PaintRect(0, Canvas.width());
  CursorColumn = Renderer.Coords.CursorPixel(Renderer.Cursor);
  ScheduleDiagram();
}

void TWaveView::Repaint() {
  // The whole wave may have changed: what the diagram computed goes.
  Renderer.Diagram.Clear();
  Redraw();
}

void TWaveView::RepaintRange(std::int32_t from, std::int32_t to, bool /*selected*/) {
  // The document has already taken the new selection, so painting these
  // columns from it gives them the state the document names, and the
  // boundary columns come out right as well.
  if (UnitWave.GetValues() == 0 || Drawing) return;
  Sync();
  const int x0 = PositionToPixel(std::min(from, to));
  const int x1 = PositionToPixel(std::max(from, to));
  PaintRect(x0, x1 + 1);
}

void TWaveView::EraseCursor(std::int32_t position) {
  if (UnitWave.GetValues() == 0 || Drawing) return;
  Sync();
  const int x = Renderer.Coords.CursorPixel(position);
  PaintRect(x, x + 1);
}

void TWaveView::SelectionChanged() {
  // The cursor may have moved without the document's stretches covering its
  // old or its new column (the ends of an unchanged range exchanged).
  Sync();
  const int now = Renderer.Coords.CursorPixel(Renderer.Cursor);
  if (CursorColumn != now && !Drawing) {
    if (CursorColumn >= 0) PaintRect(CursorColumn, CursorColumn + 1);
    PaintRect(now, now + 1);
    CursorColumn = now;
  }
  emit SelectionMoved();
}

void TWaveView::ChannelsChanged(std::int16_t channels) { emit ChannelCountChanged(channels); }

void TWaveView::ScheduleDiagram() {
  const bool busy = Renderer.ViewMode == 1 && !Renderer.Diagram.Complete();
  if (busy && !DiagramTimer.isActive()) DiagramTimer.start();
  if (!busy) DiagramTimer.stop();
}

void TWaveView::ContinueDiagram() {
  Sync();
  if (Renderer.ViewMode != 1 || Renderer.Coords.Values == 0) {
    DiagramTimer.stop();
    return;
  }
  // The document may have taken another sound since the last slice.
  if (Renderer.PrepareDiagram(Canvas.height())) {
    PaintRect(0, Canvas.width());
    return;
  }
  const int before = Renderer.Diagram.ColumnsDone();
  Renderer.Diagram.Advance(kDiagramSliceSeconds);
  PaintRect(before, Canvas.width());
  ScheduleDiagram();
}

void TWaveView::PaintProgress() {
  const int done = Renderer.Diagram.ColumnsDone();
  const int columns = std::max(Renderer.Diagram.Columns(), 1);
  QPainter painter(&Canvas);
  const TColor& c = Renderer.VoldView.Single;
  painter.setPen(QColor(c.Red, c.Green, c.Blue));
  const QString text =
      QStringLiteral("Computing the volume diagram: %1 %").arg(done * 100 / columns);
  const QRect area(done + 8, 0, std::max(Canvas.width() - done - 8, 0), Canvas.height());
  painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
}

QImage TWaveView::Picture(bool complete) {
  Sync();
  if (complete && Renderer.ViewMode == 1 && Renderer.Coords.Values > 0) {
    Renderer.PrepareDiagram(Canvas.height());
    Renderer.Diagram.ComputeAll();
  }
  Redraw();
  return Canvas;
}

void TWaveView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.drawImage(event->rect(), Canvas, event->rect());
}

void TWaveView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Sync();
  if (IsZoomed()) ShowScrollBar();
  if (Drawing) {
    // The first and last column and row stay the edges, so the points keep
    // their place in the drawing and the heights they stand for.
    const QSize now = viewport()->size();
    if (DrawSize.width() > 1 && DrawSize.height() > 1 && now.width() > 1 && now.height() > 1) {
      Nodes.Scale(static_cast<double>(now.width() - 1) / (DrawSize.width() - 1),
                  static_cast<double>(now.height() - 1) / (DrawSize.height() - 1));
    }
    if (now.width() > 1 && now.height() > 1) DrawSize = now;
  }
  Redraw();
}

// --- mouse, keys and wheel ---------------------------------------------------------

std::optional<std::int32_t> TWaveView::ValueAt(int x) const {
  const std::int32_t values = UnitWave.GetValues();
  if (values < 2) return std::nullopt;
  return static_cast<std::int32_t>(Clip(std::trunc(PixelToPosition(x)), 0, values - 1));
}

std::int32_t TWaveView::PixelStep(std::int32_t position, int steps) const {
  const double moved = std::trunc(PixelToPosition(PositionToPixel(position) + steps));
  auto result = static_cast<std::int32_t>(Clip(moved, -1e9, 1e9));
  // Zoomed in so far that a value spans several columns, a step of one
  // column may land on the same value: it moves one value then.
  if (result == position && steps != 0) result = position + (steps > 0 ? 1 : -1);
  return result;
}

QString TWaveView::PositionText(int x, int y) const {
  const double frequency = std::max(UnitWave.GetFrequency(), 1);
  const std::string time = FormatTime(PixelToPosition(x) / frequency);
  const int height = viewport()->height();
  const bool stereo = UnitWave.GetMonoStereo() == 2;
  if (Renderer.ViewMode == 0) {
    // Each wave's own half spans +100 ... -100 %.
    double percent = 0;
    if (height > 1) {
      percent = (1 - (stereo ? 4.0 : 2.0) * y / (height - 1)) * 100;
      if (stereo && percent < -100) percent += 200;
    }
    return QString::fromStdString("(" + time + ", " + FormatNumber(percent, 1, 2, 2) + " %)");
  }
  // The band rows from the top band down, in the lower diagram when two
  // are shown.
  const TVoldViewProps& p = Renderer.VoldView;
  int top = 0, rows = height;
  if (stereo && p.TwoDiagrams) {
    const int mid = height / 2;
    if (y >= mid) top = mid;
    rows = y >= mid ? height - mid : mid;
  }
  const double f = rows > 1 ? Clip(static_cast<double>(y - top) / (rows - 1), 0, 1) : 0;
  const double high = p.Top.GetValue(), low = p.Bottom.GetValue();
  double hertz = 0;
  switch (p.HorDistribution) {
    case 0:
      hertz = 1 / high - (1 / high - 1 / low) * f;
      break;
    case 2:
      hertz = 1 / (high + (low - high) * f);
      break;
    default:
      hertz = 1 / (high * std::pow(low / high, f));
      break;
  }
  // The diagram tunes no band above half the sample frequency.
  hertz = std::min(hertz, frequency / 2);
  return QString::fromStdString("(" + time + ", " + FormatFrequency(hertz) + " )");
}

void TWaveView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  const QPoint at = event->position().toPoint();
  if (Drawing) {
    DrawPress(at);
    return;
  }
  const std::optional<std::int32_t> p = ValueAt(at.x());
  if (!p) return;
  const Qt::KeyboardModifiers keys = event->modifiers();
  if (keys & Qt::ShiftModifier) {
    // Extends the selection from the anchor.
    UnitWave.MoveCursor(*p);
  } else if (keys & Qt::ControlModifier) {
    // The end nearer to the click stays; the high end on a tie.
    const std::int32_t low = UnitWave.GetSelLow();
    const std::int32_t high = UnitWave.GetSelHigh();
    UnitWave.SetCursorAndAnchor(*p, std::abs(*p - low) < std::abs(*p - high) ? low : high);
  } else {
    UnitWave.SetCursor(*p);
  }
  Selecting = true;
}

void TWaveView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (Drawing) {
    DrawMove(at);
    return;
  }
  if (Selecting && (event->buttons() & Qt::LeftButton)) {
    const int x = std::clamp(at.x(), 0, std::max(viewport()->width() - 1, 0));
    if (const std::optional<std::int32_t> p = ValueAt(x)) UnitWave.MoveCursor(*p);
  }
  emit MousePosition(PositionText(at.x(), at.y()));
}

void TWaveView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (Drawing) {
    DrawRelease(event->position().toPoint());
    return;
  }
  Selecting = false;
}

void TWaveView::SlideSelection(std::int32_t delta) {
  const std::int32_t low = UnitWave.GetSelLow();
  const std::int32_t high = UnitWave.GetSelHigh();
  // Against an end of the wave the selection stops rather than shrinks.
  delta = std::clamp(delta, -low, UnitWave.GetValues() - high);
  UnitWave.SetCursorAndAnchor(UnitWave.GetCursor() + delta, UnitWave.GetAnchor() + delta);
}

void TWaveView::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers keys = event->modifiers();
  if ((keys & Qt::AltModifier) || Drawing) {
    event->ignore();
    return;
  }
  const bool shift = keys & Qt::ShiftModifier;
  const bool ctrl = keys & Qt::ControlModifier;
  const std::int32_t values = UnitWave.GetValues();
  const std::int32_t cursor = UnitWave.GetCursor();
  const std::int32_t anchor = UnitWave.GetAnchor();
  int steps = 0;
  switch (event->key()) {
    case Qt::Key_Left:
      steps = -1;
      break;
    case Qt::Key_Right:
      steps = 1;
      break;
    case Qt::Key_Up:
      steps = -10;
      break;
    case Qt::Key_Down:
      steps = 10;
      break;
    case Qt::Key_Home:
    case Qt::Key_End:
      break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      if (ctrl && !shift) {
        const std::int32_t length = UnitWave.GetSelHigh() - UnitWave.GetSelLow();
        SlideSelection(event->key() == Qt::Key_PageUp ? -length : length);
        event->accept();
        return;
      }
      [[fallthrough]];
    default:
      event->ignore();
      return;
  }
  // Where the moved end goes: a pixel step, or the wave's start or end.
  const bool home = event->key() == Qt::Key_Home;
  const bool end = event->key() == Qt::Key_End;
  const auto target = [&](std::int32_t from) {
    return home ? 0 : end ? values : PixelStep(from, steps);
  };
  if (ctrl && shift) {
    const std::int32_t low = UnitWave.GetSelLow();
    const std::int32_t high = UnitWave.GetSelHigh();
    SlideSelection(home ? -low : end ? values - high : PixelStep(low, steps) - low);
  } else if (ctrl) {
    UnitWave.SetCursorAndAnchor(cursor, target(anchor));
  } else if (shift) {
    UnitWave.MoveCursor(target(cursor));
  } else {
    UnitWave.SetCursor(target(cursor));
  }
  event->accept();
}

void TWaveView::wheelEvent(QWheelEvent* event) {
  const QPoint angle = event->angleDelta();
  const int turn = angle.y() != 0 ? angle.y() : angle.x();
  if (Drawing || UnitWave.GetValues() == 0 || turn == 0) {
    event->ignore();
    return;
  }
  event->accept();
  // 120 is one notch of a mouse wheel.
  if (event->modifiers() & Qt::ControlModifier) {
    ZoomAround(static_cast<int>(event->position().x()), std::pow(0.8, turn / 120.0));
    return;
  }
  if (!IsZoomed()) return;
  // One notch scrolls by the scroll bar's step, towards the start when the
  // wheel turns away from the user.
  const int total = WheelRest + turn * std::max(ScrollIncrement(), 1);
  const int pixels = total / 120;
  WheelRest = total % 120;
  if (pixels == 0) return;
  QScrollBar* bar = horizontalScrollBar();
  bar->setValue(bar->value() - pixels);
}

void TWaveView::ZoomAround(int x, double factor) {
  Sync();
  const double values = UnitWave.GetValues();
  const int width = std::max(viewport()->width(), 1);
  const double begin = VisibleBegin();
  const double span = (VisibleEnd() - begin) * factor;
  if (span >= values) {
    // All of it fits: the zoom ends, the selection stays.
    if (IsZoomed()) Unzoom();
    Redraw();
    return;
  }
  // The position at the middle of column x stays at that column.
  const double share = (x + 0.5) / width;
  const double from = Clip(PixelToPosition(x) - share * span, 0, values - span);
  Renderer.Coords.Zoomed = true;
  SetZoom(from, from + span);
  Redraw();
}

// --- hand drawing --------------------------------------------------------------------

void TWaveView::SetDrawCursors(const QCursor& draw, const QCursor& remove) {
  DrawCursor = draw;
  RemoveCursor = remove;
  if (Drawing) viewport()->setCursor(DrawCursor);
}

void TWaveView::StartDrawing(std::uint8_t kind) {
  TB_ASSERT_TEXT(!Drawing, "!UserDrawing");
  TB_ASSERT(kind == kDrawLinear || kind == kDrawSmooth);
  DrawKind = kind;
  Drawing = true;
  Selecting = false;
  Nodes.Clear();
  DragNode.reset();
  DrawSize = viewport()->size();
  viewport()->setCursor(DrawCursor);
  Redraw();
}

void TWaveView::EndDrawing() {
  TB_ASSERT_TEXT(Drawing, "UserDrawing");
  Nodes.Clear();
  DragNode.reset();
  Drawing = false;
  viewport()->unsetCursor();
  Repaint();
}

void TWaveView::SetDrawKind(std::uint8_t kind) {
  TB_ASSERT(Drawing);
  TB_ASSERT(kind == kDrawLinear || kind == kDrawSmooth);
  DrawKind = kind;
  Rebuild();
}

void TWaveView::Rebuild() {
  const int height = viewport()->height();
  const std::uint64_t before = UnitWave.GetSoundVersion();
  // The last row is the bottom edge, so a point can reach -32767 as the
  // first row reaches 32767.
  if (Nodes.Count() >= 2 && height > 1) {
    UnitWave.BuildFromNodes(std::trunc(Nodes[0].X), 0, std::trunc(Nodes[Nodes.Count() - 1].X),
                            height - 1, Nodes, DrawKind);
  }
  // A new sound has been painted already: the document asked for it.
  if (UnitWave.GetSoundVersion() == before) Redraw();
}

void TWaveView::DrawPress(const QPoint& at) {
  if (const std::optional<std::size_t> near = Nodes.Nearest(at.x(), at.y())) {
    DragNode = near;
    DragOffsetX = static_cast<int>(std::trunc(Nodes[*near].X - at.x()));
    DragOffsetY = static_cast<int>(std::trunc(Nodes[*near].Y - at.y()));
    return;
  }
  if (Nodes.Insert(at.x(), at.y())) Rebuild();
}

void TWaveView::DrawMove(const QPoint& at) {
  if (!DragNode) return;
  const QSize size = viewport()->size();
  Nodes.Move(*DragNode, at.x() + DragOffsetX, at.y() + DragOffsetY, size.width(), size.height());
  viewport()->setCursor(Nodes[*DragNode].Active ? DrawCursor : RemoveCursor);
  Rebuild();
}

void TWaveView::DrawRelease(const QPoint& at) {
  if (!DragNode) return;
  // Let go above or below the client area: the point goes.
  const int y = at.y() + DragOffsetY;
  if (y < 0 || y >= viewport()->height()) Nodes.Remove(*DragNode);
  DragNode.reset();
  viewport()->setCursor(DrawCursor);
  Rebuild();
}

void TWaveView::PaintDrawing() {
  const TWaveViewProps& p = Renderer.WaveView;
  const auto colour = [](const TColor& c) { return QColor(c.Red, c.Green, c.Blue); };
  Canvas.fill(colour(p.Background));
  const std::size_t count = Nodes.Count();
  if (count >= 2 && Renderer.Coords.Values > 0 && Canvas.height() > 0) {
    // The drawn second stretched from the first point to the last.
    const int x0 = static_cast<int>(std::trunc(Nodes[0].X));
    const int x1 = static_cast<int>(std::trunc(Nodes[count - 1].X));
    TWaveRenderer stretched;
    stretched.TheSound = Renderer.TheSound;
    stretched.WaveView = p;
    stretched.Coords.Values = Renderer.Coords.Values;
    stretched.Coords.Width = std::max(x1 - x0, 1);
    QImage part(stretched.Coords.Width, Canvas.height(), QImage::Format_RGB32);
    stretched.PaintColumns(part, 0, part.width(), false);
    QPainter(&Canvas).drawImage(x0, 0, part);
  }
  QPainter painter(&Canvas);
  const QColor grid = colour(p.GridColor);
  const QColor wave = colour(p.SingleWave);
  for (const DrawNode& node : Nodes.Nodes()) {
    const QPoint c(static_cast<int>(node.X), static_cast<int>(node.Y));
    if (node.Active) {
      // A square in the wave's colour with a rim in the grid's.
      painter.setPen(grid);
      painter.setBrush(wave);
      painter.drawRect(c.x() - 3, c.y() - 3, 6, 6);
    } else {
      // About to go: a cross.
      painter.setPen(QPen(wave, 2));
      painter.drawLine(c + QPoint(-4, -4), c + QPoint(4, 4));
      painter.drawLine(c + QPoint(-4, 4), c + QPoint(4, -4));
    }
  }
  painter.end();
  Show(0, Canvas.width());
}
