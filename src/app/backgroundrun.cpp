#include "app/backgroundrun.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <thread>

#include "base/progress.h"
#include "base/tbassert.h"
#include "documents/unitwave.h"

namespace {

std::atomic<bool> running{false};
std::atomic<std::atomic<double>*> progressSink{nullptr};

// One worker thread for the whole run of the program: the random generator
// is per thread, so noise and random echoes go on with one sequence as they
// would on a single thread.
class TWorker {
 public:
  TWorker() : Thread([this] { Loop(); }) {}
  ~TWorker() {
    {
      const std::lock_guard lock(Mutex);
      Stop = true;
    }
    Wake.notify_one();
    Thread.join();
  }
  TWorker(const TWorker&) = delete;
  TWorker& operator=(const TWorker&) = delete;

  void Post(std::function<void()> task) {
    {
      const std::lock_guard lock(Mutex);
      Tasks.push_back(std::move(task));
    }
    Wake.notify_one();
  }

 private:
  void Loop() {
    for (;;) {
      std::function<void()> task;
      {
        std::unique_lock lock(Mutex);
        Wake.wait(lock, [this] { return Stop || !Tasks.empty(); });
        if (Tasks.empty()) return;
        task = std::move(Tasks.front());
        Tasks.pop_front();
      }
      task();
    }
  }

  std::mutex Mutex;
  std::condition_variable Wake;
  std::deque<std::function<void()>> Tasks;
  bool Stop = false;
  std::thread Thread;  // last: starts once the rest is there
};

TWorker& Worker() {
  static TWorker worker;
  return worker;
}

bool Inside(const QObject* object, const QObject* root) {
  for (; object != nullptr; object = object->parent()) {
    if (object == root) return true;
  }
  return false;
}

}  // namespace

// Hands the document's calls to the window's listener on the user-interface
// thread and waits for them, so the window sees the document in the same
// states, in the same order, as when the command runs on its own thread.
class TBackgroundRun::TListenerProxy : public TWaveListener {
 public:
  TListenerProxy(QObject* guiObject, TWaveListener& target) : Gui(guiObject), Target(target) {}

  void RepaintRange(std::int32_t from, std::int32_t to, bool selected) override {
    Call([=, this] { Target.RepaintRange(from, to, selected); });
  }
  void EraseCursor(std::int32_t position) override {
    Call([=, this] { Target.EraseCursor(position); });
  }
  void Repaint() override {
    Call([this] { Target.Repaint(); });
  }
  void BeginChange(std::int32_t low, std::int32_t high) override {
    Call([=, this] { Target.BeginChange(low, high); });
  }
  void EndChange(std::int32_t low, std::int32_t high) override {
    Call([=, this] { Target.EndChange(low, high); });
  }
  void SelectionChanged() override {
    Call([this] { Target.SelectionChanged(); });
  }
  void ChannelsChanged(std::int16_t channels) override {
    Call([=, this] { Target.ChannelsChanged(channels); });
  }

 private:
  template <class F>
  void Call(F call) {
    if (Gui->thread() == QThread::currentThread()) {
      call();
    } else {
      QMetaObject::invokeMethod(Gui, call, Qt::BlockingQueuedConnection);
    }
  }

  QObject* Gui;
  TWaveListener& Target;
};

TBackgroundRun::TBackgroundRun(QWidget* parent, QWidget* view, std::chrono::milliseconds showAfter)
    : QObject(parent), Parent(parent), View(view), ShowAfter(showAfter) {}

TBackgroundRun::~TBackgroundRun() = default;

bool TBackgroundRun::Busy() { return running.load(); }

void TBackgroundRun::ReportProgress(double fraction) {
  if (std::atomic<double>* sink = progressSink.load()) sink->store(fraction);
}

void TBackgroundRun::Cancel() {
  const std::lock_guard lock(Mutex);
  CancelRequested = true;
  if (Scope != nullptr) Scope->RequestCancel();
}

TCommandResult TBackgroundRun::Run(TWorkspace& workspace, TUnitWave& unitWave, TWaveCommand command,
                                   const TWaveRecord& record) {
  TB_ASSERT(!running.load());
  running = true;
  auto* listener = dynamic_cast<TWaveListener*>(View);
  std::optional<TListenerProxy> proxy;
  if (listener != nullptr) {
    proxy.emplace(this, *listener);
    unitWave.RemoveListener(listener);
    unitWave.AddListener(&*proxy);
  }

  QProgressDialog dialog(Label, "Cancel", 0, 1000, Parent);
  dialog.setWindowTitle("Tonbrisk");
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setMinimumDuration(static_cast<int>(ShowAfter.count()));
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  Dialog = &dialog;
  connect(&dialog, &QProgressDialog::canceled, this, &TBackgroundRun::Cancel);
  progressSink = &Fraction;
  qApp->installEventFilter(this);

  QEventLoop loop;
  TCommandResult result = TCommandResult::Failed;
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> ended = done->get_future();
  Worker().Post([&, done] {
    ProgressScope scope(ReportInterval);
    {
      const std::lock_guard lock(Mutex);
      Scope = &scope;
      if (CancelRequested) scope.RequestCancel();
    }
    // A cancelled command leaves the document and Undo as they were.
    result = RunWaveCommand(workspace, unitWave, command, record);
    {
      const std::lock_guard lock(Mutex);
      Scope = nullptr;
    }
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    // The last touch of this call's state: Run returns once it is set.
    done->set_value();
  });

  QTimer poll(&dialog);
  connect(&poll, &QTimer::timeout, this, [&] {
    const double fraction = Fraction.load();
    dialog.setValue(static_cast<int>(fraction * 1000));
    emit Progressed(fraction);
  });
  poll.start(50);
  dialog.setValue(0);
  QApplication::setOverrideCursor(Qt::BusyCursor);
  if (ended.wait_for(std::chrono::seconds(0)) != std::future_status::ready) loop.exec();
  ended.wait();
  QApplication::restoreOverrideCursor();

  poll.stop();
  qApp->removeEventFilter(this);
  progressSink = nullptr;
  Dialog = nullptr;
  if (listener != nullptr) {
    unitWave.RemoveListener(&*proxy);
    unitWave.AddListener(listener);
  }
  if (View != nullptr) View->update();
  running = false;
  return result;
}

bool TBackgroundRun::eventFilter(QObject* watched, QEvent* event) {
  const auto allowed = [this, watched] {
    const QWidget* modal = QApplication::activeModalWidget();
    return Inside(watched, Dialog) || (modal != nullptr && Inside(watched, modal));
  };
  switch (event->type()) {
    case QEvent::Timer:
      // The window's own timers read the document; the dialog's run.
      return !allowed() && !Inside(watched, this);
    case QEvent::Paint:
    case QEvent::UpdateRequest:
      return View != nullptr && Inside(watched, View);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Drop:
      // One command at a time: before the dialog shows, nothing else starts.
      return !allowed();
    default:
      return false;
  }
}
