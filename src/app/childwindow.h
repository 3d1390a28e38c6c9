#pragma once

#include <QMdiSubWindow>
#include <cstdint>

class QCloseEvent;
class TMainForm;
class TUnit;

// How a wave window draws by hand (Draw Wave Linear, Draw Wave Smooth).
enum class TDrawKind : std::uint8_t { Linear, Smooth };

// The common child window of the main window's MDI area: it shows one
// document for its whole life and closes that document with it. A wave
// window answers GetKind() with 1, a music window with 2.
//
// The command update of the main window asks the active child the questions
// below; a window kind answers those that concern it and leaves the others
// at their defaults.
class TMDIChildTonbrisk : public QMdiSubWindow {
  Q_OBJECT

 public:
  // The window shows `unit`, which lives in the main window's workspace; the
  // window closes it there when it is destroyed.
  TMDIChildTonbrisk(TMainForm& mainForm, TUnit& unit);
  ~TMDIChildTonbrisk() override;

  virtual std::uint8_t GetKind() const = 0;
  TUnit& GetUnit() const { return *Unit; }
  TMainForm& GetMainForm() const { return MainForm; }

  // The caption is the document's file name; "[*]" shows the unsaved mark
  // while the document needs saving.
  void UpdateCaption();

  // Saves the document (a new one asks for a name); false when cancelled or
  // not written. Save as asks for a name first.
  bool SaveDocument();
  bool SaveDocumentAs();

  // --- what the command update asks a wave window ---------------------------
  // Hand-drawing mode and its kind.
  virtual bool IsDrawing() const { return false; }
  virtual TDrawKind GetDrawKind() const { return TDrawKind::Linear; }
  // The wave view (true) or the volume view (false) is shown.
  virtual bool ShowsWaveView() const { return true; }
  // Only part of the wave is shown.
  virtual bool IsZoomed() const { return false; }

  // --- commands the main window hands to a wave window ----------------------
  virtual void ZoomIn() {}
  virtual void NoZoom() {}
  // Shows the wave view (true) or the volume view (false) with the main
  // window's current settings for it.
  virtual void SetViewMode(bool waveView) { (void)waveView; }
  // Starts hand drawing of the kind, or ends it when it is running.
  virtual void ToggleDrawing(TDrawKind kind) { (void)kind; }

 protected:
  // Asks "Do you want to save?" for a document with unsaved changes; Cancel
  // (or a failed save) keeps the window open.
  void closeEvent(QCloseEvent* event) override;

 private:
  TMainForm& MainForm;
  TUnit* Unit;
};
