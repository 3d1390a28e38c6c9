#pragma once

#include <cstdint>

#include "app/childwindow.h"

class TUnitWave;
class TWaveView;

// The child window of a wave document: its client area is the wave view or
// the volume view of the document (TWaveView), and its icon follows the
// view: a volume diagram, or one wave for a mono and two for a stereo
// document.
class TMDIChildWave : public TMDIChildTonbrisk {
  Q_OBJECT

 public:
  // Shows `unitWave` with the main window's current view settings in the
  // wave view (viewMode 0) or the volume view (1).
  TMDIChildWave(TMainForm& mainForm, TUnitWave& unitWave, std::uint8_t viewMode = 0);
  // The view goes first: it stops listening to the document, which the base
  // class closes.
  ~TMDIChildWave() override;

  std::uint8_t GetKind() const override { return 1; }
  TUnitWave& GetUnitWave() const { return UnitWave; }
  TWaveView& GetView() const { return *View; }

  bool ShowsWaveView() const override;
  bool IsZoomed() const override;
  void ZoomIn() override;
  void NoZoom() override;
  void SetViewMode(bool waveView) override;
  bool IsDrawing() const override;
  TDrawKind GetDrawKind() const override;
  // Starts drawing by hand with the kind, ends it when the kind is the one
  // drawing, or switches to the other kind.
  void ToggleDrawing(TDrawKind kind) override;

 private:
  void UpdateIcon(int channels);

  TUnitWave& UnitWave;
  TWaveView* View;  // owned by the window as its widget
};
