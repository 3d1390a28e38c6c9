#include "app/wavewindow.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

#include "app/mainform.h"
#include "app/waveview.h"
#include "documents/unitwave.h"
#include "documents/workspace.h"

namespace {

// The window icons, drawn here at the sizes a title bar and a window list
// use: 0 a stereo wave, 1 a mono wave, 3 a volume diagram.
QIcon WaveWindowIcon(int index) {
  QIcon icon;
  for (const int size : {16, 24, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    if (index == 3) {
      painter.fillRect(QRectF(0, 0, s, s), QColor(0, 0, 0));
      // A rising tone and a steady one.
      painter.setPen(QPen(QColor(255, 255, 255), s / 8));
      painter.drawLine(QPointF(s * 0.1, s * 0.75), QPointF(s * 0.9, s * 0.2));
      painter.setPen(QPen(QColor(160, 160, 160), s / 10));
      painter.drawLine(QPointF(s * 0.1, s * 0.88), QPointF(s * 0.9, s * 0.88));
    } else {
      painter.fillRect(QRectF(0, 0, s, s), QColor(255, 255, 255));
      painter.setPen(QPen(QColor(90, 90, 90), 1));
      painter.drawRect(QRectF(0.5, 0.5, s - 1, s - 1));
      const int waves = index == 0 ? 2 : 1;
      for (int w = 0; w < waves; ++w) {
        const double top = s * w / waves, height = s / waves;
        QPainterPath path;
        for (int i = 0; i <= 24; ++i) {
          const double x = s * 0.1 + s * 0.8 * i / 24;
          const double y =
              top + height / 2 - height * 0.35 * std::sin(2 * std::numbers::pi * i / 12.0 + w);
          if (i == 0)
            path.moveTo(x, y);
          else
            path.lineTo(x, y);
        }
        painter.setPen(QPen(w == 0 && waves == 2 ? QColor(200, 0, 0) : QColor(0, 0, 0), s / 12));
        painter.drawPath(path);
      }
    }
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

TMDIChildWave::TMDIChildWave(TMainForm& mainForm, TUnitWave& unitWave, std::uint8_t viewMode)
    : TMDIChildTonbrisk(mainForm, unitWave),
      UnitWave(unitWave),
      View(new TWaveView(unitWave, mainForm.GetWorkspace().WaveView,
                         mainForm.GetWorkspace().VoldView, viewMode, this)) {
  setWidget(View);
  connect(View, &TWaveView::ChannelCountChanged, this, &TMDIChildWave::UpdateIcon);
  connect(View, &TWaveView::MousePosition, this,
          [this](const QString& text) { GetMainForm().SetStatusPanel(1, text); });
  View->SetDrawCursors(mainForm.GetCursor(TCustomCursor::Draw),
                       mainForm.GetCursor(TCustomCursor::Delete));
  UpdateIcon(unitWave.GetMonoStereo());
}

TMDIChildWave::~TMDIChildWave() { delete View; }

bool TMDIChildWave::ShowsWaveView() const { return View->GetViewMode() == 0; }

bool TMDIChildWave::IsZoomed() const { return View->IsZoomed(); }

void TMDIChildWave::ZoomIn() { View->ZoomIn(); }

void TMDIChildWave::NoZoom() { View->NoZoom(); }

bool TMDIChildWave::IsDrawing() const { return View->IsDrawing(); }

TDrawKind TMDIChildWave::GetDrawKind() const {
  return View->GetDrawKind() == kDrawSmooth ? TDrawKind::Smooth : TDrawKind::Linear;
}

void TMDIChildWave::ToggleDrawing(TDrawKind kind) {
  const std::uint8_t drawKind = kind == TDrawKind::Smooth ? kDrawSmooth : kDrawLinear;
  if (!View->IsDrawing())
    View->StartDrawing(drawKind);
  else if (View->GetDrawKind() == drawKind)
    View->EndDrawing();
  else
    View->SetDrawKind(drawKind);
}

void TMDIChildWave::SetViewMode(bool waveView) {
  TWorkspace& workspace = GetMainForm().GetWorkspace();
  if (waveView)
    View->SetWaveView(workspace.WaveView);
  else
    View->SetVoldView(workspace.VoldView);
  View->SetViewMode(waveView ? 0 : 1);
  UpdateIcon(UnitWave.GetMonoStereo());
}

void TMDIChildWave::UpdateIcon(int channels) {
  // `channels`, not the document's: a change of the channel count is told
  // before the document takes its new sound.
  int index = 3;
  if (View->GetViewMode() == 0) index = channels == 1 ? 1 : 0;
  setWindowIcon(WaveWindowIcon(index));
}
