#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <chrono>
#include <mutex>

#include "base/progress.h"
#include "documents/commands.h"
#include "documents/wavelistener.h"

class QWidget;
class TUnitWave;

// Runs one wave command on a worker thread while the user-interface thread
// shows a modal progress dialog with Cancel (from `showAfter` on) and keeps
// the program painted. The result is the one RunWaveCommand gives on the
// user-interface thread; Cancel ends the command at its next block as a
// failure without a message, leaving the document as it was.
//
// While the command runs, nothing else may read the document: the window
// that shows it (`view`, whose listener it is) hears the document's calls on
// the user-interface thread while the worker waits, and neither paints nor
// runs its timers until the command has ended; input goes only to the
// progress dialog and to message boxes.
class TBackgroundRun : public QObject {
  Q_OBJECT

 public:
  TBackgroundRun(QWidget* parent, QWidget* view,
                 std::chrono::milliseconds showAfter = std::chrono::milliseconds(500));
  ~TBackgroundRun() override;

  // What the progress dialog says is running.
  void SetLabel(const QString& label) { Label = label; }
  // How often the command's progress is reported (a test makes it every
  // block, so that a cancel part way does not depend on the machine's speed).
  void SetReportInterval(ProgressScope::Clock::duration interval) { ReportInterval = interval; }

  TCommandResult Run(TWorkspace& workspace, TUnitWave& unitWave, TWaveCommand command,
                     const TWaveRecord& record);
  // Safe from any thread.
  void Cancel();

  // Whether a command is running on a worker now (in this program).
  static bool Busy();
  // The user interface's Progress: how far the running command is.
  static void ReportProgress(double fraction);

 signals:
  // How far the command is, 0 ... 1, on the user-interface thread.
  void Progressed(double fraction);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class TListenerProxy;

  QWidget* Parent;
  QWidget* View;
  std::chrono::milliseconds ShowAfter;
  QString Label = "Working...";
  ProgressScope::Clock::duration ReportInterval = ProgressScope::kDefaultInterval;
  QWidget* Dialog = nullptr;
  std::mutex Mutex;
  ProgressScope* Scope = nullptr;
  bool CancelRequested = false;
  std::atomic<double> Fraction{0};
};
