#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

#include "units/unitvalues.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TUnitWave;

// The wave window the select and zoom dialog is attached to, as the dialog
// sees it: the document and the window's zoom (positions in values).
class TSelZoomTarget {
 public:
  virtual ~TSelZoomTarget() = default;
  virtual TUnitWave& GetUnitWave() const = 0;
  virtual bool IsZoomed() const = 0;
  virtual double VisibleBegin() const = 0;
  virtual double VisibleEnd() const = 0;
  // Shows from ... to across the window; the selection stays as it is.
  virtual void SetZoom(std::int32_t from, std::int32_t to) = 0;
  // Shows the whole wave; the selection stays as it is.
  virtual void Unzoom() = 0;
};

// "Select and Zoom": a tool window that stays on top of the main window and
// shows the cursor or the selection and the zoomed range of one wave window
// in seconds. Typed times are applied with Apply: each part that reads and
// lies inside the wave is applied, a refused part shows its "Input Error".
class TDlgSelZoom : public QDialog {
  Q_OBJECT

 public:
  explicit TDlgSelZoom(QWidget* parent);

  // Attaches the dialog to a window (null: to none) and shows its state.
  void ShowWindow(TSelZoomTarget* target);
  TSelZoomTarget* GetTarget() const { return Target; }
  // Refreshes the cursor/selection part or the zoom part from the window.
  void ShowSelection();
  void ShowZoom();
  void Apply();

  // Opens the help page of the dialog.
  std::function<void()> Help;

  // The controls, for tests.
  QRadioButton* CursorButton() const { return OptCursor; }
  QRadioButton* PartButton() const { return OptPart; }
  QLineEdit* AtEdit() const { return At.Edit; }
  QLineEdit* PartBeginEdit() const { return Begin.Edit; }
  QLineEdit* PartEndEdit() const { return End.Edit; }
  QCheckBox* ZoomedBox() const { return CheckZoomed; }
  QLineEdit* ZoomBeginEdit() const { return ZoomBegin.Edit; }
  QLineEdit* ZoomEndEdit() const { return ZoomEnd.Edit; }
  QPushButton* ApplyButton() const { return ButtonApply; }

 signals:
  // The dialog was closed (its Close button or the window's).
  void Closed();

 public slots:
  void reject() override;

 private:
  // A time edit with the value it last showed or read: the value keeps the
  // unit the user typed, and an edit left as shown gives back the exact
  // position it showed (the text may have lost digits).
  struct TTimeField {
    QLineEdit* Edit = nullptr;
    const char* Name = "";
    unitTimePos Value;
    QString Shown;
    std::int32_t Position = 0;
  };

  void Show(TTimeField& field, std::int32_t position);
  void Empty(TTimeField& field);
  // Reads the field into `position`; false after the reader's "Input
  // Error". `typed`: the text is not the one the dialog showed.
  bool Read(TTimeField& field, std::int32_t& position, bool& typed);
  // Reads both ends of a range and checks them against each other and the
  // wave's length; true when they are fit to apply.
  bool ReadRange(TTimeField& begin, TTimeField& end, const char* what, std::int32_t& from,
                 std::int32_t& to);

  TSelZoomTarget* Target = nullptr;
  bool Updating = false;
  QRadioButton* OptCursor = nullptr;
  QRadioButton* OptPart = nullptr;
  QCheckBox* CheckZoomed = nullptr;
  QPushButton* ButtonApply = nullptr;
  TTimeField At, Begin, End, ZoomBegin, ZoomEnd;
};
