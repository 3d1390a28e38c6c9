#include "app/waveview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "base/tbassert.h"
#include "documents/unitwave.h"
#include "sound/sound.h"

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
  if (UnitWave.GetValues() == 0) return;
  Sync();
  const int x0 = PositionToPixel(std::min(from, to));
  const int x1 = PositionToPixel(std::max(from, to));
  PaintRect(x0, x1 + 1);
}

void TWaveView::EraseCursor(std::int32_t position) {
  if (UnitWave.GetValues() == 0) return;
  Sync();
  const int x = Renderer.Coords.CursorPixel(position);
  PaintRect(x, x + 1);
}

void TWaveView::SelectionChanged() {
  // The cursor may have moved without the document's stretches covering its
  // old or its new column (the ends of an unchanged range exchanged).
  Sync();
  const int now = Renderer.Coords.CursorPixel(Renderer.Cursor);
  if (CursorColumn != now) {
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
  Redraw();
}
