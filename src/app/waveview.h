#pragma once

#include <QAbstractScrollArea>
#include <QCursor>
#include <QImage>
#include <QTimer>
#include <cstdint>
#include <optional>

#include "app/waveviewcoords.h"
#include "app/waveviewpainter.h"
#include "documents/drawnodes.h"
#include "documents/viewprops.h"
#include "documents/wavelistener.h"

class TUnitWave;

// The client area of a wave window: shows one wave document in the wave view
// or the volume view, maps between pixels and positions, zooms by making its
// horizontal extent larger than the client area and scrolling it, keeps the
// zoomed region in place across edits, and repaints only the columns that a
// selection change touches. It listens to its document for as long as it
// lives; the document must outlive it.
//
// The picture is kept in an image of the client area; painting copies it to
// the screen. The volume diagram is computed a slice at a time from the event
// loop, so the window stays responsive and shows how far it got.
//
// The mouse selects (Shift extends, Ctrl moves the nearer end) and the keys
// move the cursor and the selection by pixel steps, all through the
// document's selection operations. The wheel scrolls a zoomed view and
// Ctrl+wheel zooms around the mouse. In hand-drawing mode the view instead
// edits a row of points and the document's sound is rebuilt from them after
// every change.
class TWaveView : public QAbstractScrollArea, public TWaveListener {
  Q_OBJECT

 public:
  TWaveView(TUnitWave& unitWave, const TWaveViewProps& waveView, const TVoldViewProps& voldView,
            std::uint8_t viewMode, QWidget* parent = nullptr);
  ~TWaveView() override;

  TUnitWave& GetUnitWave() const { return UnitWave; }

  // 0 wave view, 1 volume view.
  std::uint8_t GetViewMode() const { return Renderer.ViewMode; }
  void SetViewMode(std::uint8_t mode);
  const TWaveViewProps& GetWaveView() const { return Renderer.WaveView; }
  void SetWaveView(const TWaveViewProps& props);
  const TVoldViewProps& GetVoldView() const { return Renderer.VoldView; }
  void SetVoldView(const TVoldViewProps& props);

  // --- coordinates (positions in values) -------------------------------------
  double VisibleBegin() const { return Coords().VisibleBegin(); }
  double VisibleEnd() const { return Coords().VisibleEnd(); }
  double VisibleBeginSeconds() const;
  double VisibleEndSeconds() const;
  double PixelToPosition(int x) const { return Coords().PixelToPosition(x); }
  int PositionToPixel(double position) const { return Coords().PositionToPixel(position); }
  const TWaveCoords& Coords() const;

  // --- zoom -------------------------------------------------------------------
  bool IsZoomed() const { return Renderer.Coords.Zoomed; }
  int ScrollRange() const { return Renderer.Coords.Range; }
  int ScrollPosition() const { return Renderer.Coords.Position; }
  int ScrollIncrement() const { return Renderer.Coords.Increment; }
  void SetZoom(double from, double to);
  // Shows the selection across the window (needs values and a selection).
  void ZoomIn();
  // Shows the whole wave again and selects it (needs values and a zoom).
  void NoZoom();

  // --- painting ---------------------------------------------------------------
  // Paints the columns left ... right (excluded).
  void PaintRect(int left, int right);
  // The whole client area painted afresh; with `complete`, the volume
  // diagram is computed to the end first.
  QImage Picture(bool complete = true);
  // The client area as it stands after the last paints.
  const QImage& Image() const { return Canvas; }
  bool DiagramBusy() const { return DiagramTimer.isActive(); }

  // --- hand drawing -----------------------------------------------------------
  bool IsDrawing() const { return Drawing; }
  // kDrawLinear or kDrawSmooth.
  std::uint8_t GetDrawKind() const { return DrawKind; }
  void StartDrawing(std::uint8_t kind);
  // The points go; the sound drawn so far stays in the document.
  void EndDrawing();
  // Another kind while drawing: the sound is rebuilt from the same points.
  void SetDrawKind(std::uint8_t kind);
  const TDrawNodes& GetNodes() const { return Nodes; }
  // The mouse cursors of drawing and of a point that letting go removes.
  void SetDrawCursors(const QCursor& draw, const QCursor& remove);

  // The text of status panel 1 for the mouse at (x, y) of the client area.
  QString PositionText(int x, int y) const;
  // A pixel step: the position `steps` columns away from `position`'s.
  std::int32_t PixelStep(std::int32_t position, int steps) const;

  // --- what the document tells ------------------------------------------------
  void RepaintRange(std::int32_t from, std::int32_t to, bool selected) override;
  void EraseCursor(std::int32_t position) override;
  void Repaint() override;
  void BeginChange(std::int32_t low, std::int32_t high) override;
  void EndChange(std::int32_t low, std::int32_t high) override;
  void SelectionChanged() override;
  void ChannelsChanged(std::int16_t channels) override;

 signals:
  // The zoom changed or ended: the select and zoom dialog follows.
  void ZoomChanged();
  // The cursor or the selection moved.
  void SelectionMoved();
  // The document now has this many channels (the window's icon follows).
  void ChannelCountChanged(int channels);
  // The position under the mouse, for status panel 1.
  void MousePosition(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // Copies the document's sound, length and selection and the client size
  // into the renderer.
  void Sync();
  void ShowScrollBar();
  void Unzoom();
  // Computes another slice of the volume diagram and paints what it added.
  void ContinueDiagram();
  // Starts or stops computing the diagram as the view needs it.
  void ScheduleDiagram();
  // Over the columns not computed yet: how far the diagram got.
  void PaintProgress();
  void Show(int left, int right);
  // Paints everything again from the present state (the diagram's cache
  // stays where it still fits).
  void Redraw();
  // The value under column x, or nothing with fewer than 2 values.
  std::optional<std::int32_t> ValueAt(int x) const;
  // Moves both ends by `delta`, held so that the selection keeps its length
  // inside the wave.
  void SlideSelection(std::int32_t delta);
  // Ctrl+wheel: the visible span times `factor`, the position under column
  // x staying there.
  void ZoomAround(int x, double factor);
  void DrawPress(const QPoint& at);
  void DrawMove(const QPoint& at);
  void DrawRelease(const QPoint& at);
  // The sound from the points, then the drawing display.
  void Rebuild();
  void PaintDrawing();

  TUnitWave& UnitWave;
  TWaveRenderer Renderer;
  QImage Canvas;
  QTimer DiagramTimer;
  // Column of the cursor line as last painted (-1: none).
  int CursorColumn = -1;
  // BeginChange ... EndChange: nesting and the visible ends' distances from
  // the changed range.
  int OldZoomDepth = 0;
  double OldBeginOffset = 0;
  double OldEndOffset = 0;
  bool OldBeginFromHigh = false;
  bool OldEndFromLow = false;
  // While the scroll bar is set from the zoom, its movements are not the
  // user's.
  bool SettingScrollBar = false;
  // A mouse selection is in progress.
  bool Selecting = false;
  // Hand drawing: its kind, the points, the one being dragged with its
  // offset from the mouse, and the client size the points were made in.
  bool Drawing = false;
  std::uint8_t DrawKind = kDrawLinear;
  TDrawNodes Nodes;
  std::optional<std::size_t> DragNode;
  int DragOffsetX = 0;
  int DragOffsetY = 0;
  QSize DrawSize;
  QCursor DrawCursor{Qt::CrossCursor};
  QCursor RemoveCursor{Qt::ForbiddenCursor};
  // What wheel turns too small for a pixel left over, in 1/120 pixels.
  int WheelRest = 0;
};
