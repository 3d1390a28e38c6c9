#include "app/splitmerge.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/mainform.h"
#include "app/waveview.h"
#include "app/wavewindow.h"
#include "base/tbassert.h"
#include "base/userinterface.h"
#include "dialogs/selectzoomdialog.h"
#include "dialogs/splitmergedialogs.h"
#include "documents/unitwave.h"
#include "sound/sound.h"

// The select and zoom dialog's view of a wave window.
class TWaveWindowTarget : public TSelZoomTarget {
 public:
  explicit TWaveWindowTarget(TMDIChildWave& window) : Window(window) {}
  TUnitWave& GetUnitWave() const override { return Window.GetUnitWave(); }
  bool IsZoomed() const override { return Window.IsZoomed(); }
  double VisibleBegin() const override { return Window.GetView().VisibleBegin(); }
  double VisibleEnd() const override { return Window.GetView().VisibleEnd(); }
  void SetZoom(std::int32_t from, std::int32_t to) override {
    TWaveView& view = Window.GetView();
    view.SetZoom(from, to);
    view.Picture(false);  // painted afresh at the new range
  }
  void Unzoom() override {
    // NoZoom selects the whole wave; the dialog keeps the selection.
    TUnitWave& u = Window.GetUnitWave();
    const std::int32_t cursor = u.GetCursor();
    const std::int32_t anchor = u.GetAnchor();
    Window.NoZoom();
    u.SetCursorAndAnchor(cursor, anchor);
  }

  TMDIChildWave& Window;
  std::vector<QMetaObject::Connection> Connections;
};

namespace {

TMDIChildWave* AsWaveWindow(TMDIChildTonbrisk* child) {
  return child != nullptr && child->GetKind() == kUnitKindWave ? static_cast<TMDIChildWave*>(child)
                                                               : nullptr;
}

// The view a new window copies: settings of both views and which one shows.
struct TViewLike {
  TWaveViewProps WaveView;
  TVoldViewProps VoldView;
  bool ShowsWaveView = true;

  explicit TViewLike(const TMDIChildWave& window)
      : WaveView(window.GetView().GetWaveView()),
        VoldView(window.GetView().GetVoldView()),
        ShowsWaveView(window.ShowsWaveView()) {}
};

// The window of a new document, with the view of another and, if given, at
// a place of its own.
TMDIChildWave& MakeWindow(TMainForm& mainForm, TUnitWave& unitWave, const TViewLike& like,
                          const QRect* rect = nullptr) {
  auto& window = static_cast<TMDIChildWave&>(*mainForm.CreateWaveWindow(unitWave));
  window.SetViewMode(like.ShowsWaveView);
  window.GetView().SetWaveView(like.WaveView);
  window.GetView().SetVoldView(like.VoldView);
  if (rect != nullptr) window.setGeometry(*rect);
  return window;
}

// Source windows go without the save question: their documents live on in
// the new ones.
void CloseWithoutAsking(TMDIChildWave* window) { delete window; }

// A position of the window's visible range as a column of the window's own
// rectangle in the MDI area, truncated and kept inside the rectangle.
int MapToWindow(const TMDIChildWave& window, std::int32_t position) {
  const QRect rect = window.geometry();
  const double begin = window.GetView().VisibleBegin();
  const double end = window.GetView().VisibleEnd();
  if (end <= begin) return rect.left();
  const double x = rect.left() + (position - begin) / (end - begin) * rect.width();
  return static_cast<int>(std::trunc(std::clamp(x, double(rect.left()), double(rect.right() + 1))));
}

}  // namespace

TSplitMergeCommands::TSplitMergeCommands(TMainForm& mainForm)
    : QObject(&mainForm), MainForm(mainForm) {
  setObjectName("SplitMergeCommands");
  AskSplit = [this](TDlgSplitHorProps& props) { return EditSplitHorProps(&MainForm, props); };
  RunMerge = [](TDlgMerge& dialog) { return dialog.exec() == QDialog::Accepted; };
  if (auto* area = qobject_cast<QMdiArea*>(MainForm.centralWidget())) {
    connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
      WindowActivated(qobject_cast<TMDIChildTonbrisk*>(window));
    });
  }
}

TSplitMergeCommands::~TSplitMergeCommands() { Detach(); }

// --- Duplicate and the splits ----------------------------------------------------

void TSplitMergeCommands::Duplicate() {
  TMDIChildWave* w = AsWaveWindow(MainForm.GetActiveWaveWindow());
  if (w == nullptr) return;
  const TUnitWave& u = w->GetUnitWave();
  std::unique_ptr<Sound> sound;
  {
    WaitCursor wait;
    bool failed = false;
    sound = u.GetSound().Extract(failed, u.GetSelBegin(), u.GetSelEnd());
    if (failed) sound.reset();
  }
  if (!sound) return;
  TViewLike like(*w);
  like.ShowsWaveView = true;
  MakeWindow(MainForm, *AddDerivedWave(MainForm.GetWorkspace(), std::move(sound)), like);
}

void TSplitMergeCommands::SplitH() {
  TMDIChildWave* w = AsWaveWindow(MainForm.GetActiveWaveWindow());
  if (w == nullptr || !CanSplitHorizontally(w->GetUnitWave())) return;
  const TUnitWave& u = w->GetUnitWave();
  std::uint8_t result = 0;
  if (u.HasSelection()) {
    TDlgSplitHorProps props = SplitProps;
    if (!AskSplit(props)) return;
    SplitProps = props;
    result = props.Result;
  }
  const TSplitPoints points = SplitPointsOf(u, result);
  WaitCursor wait;
  const QRect rect = w->geometry();
  const int xa = MapToWindow(*w, points.A);
  const int xb = MapToWindow(*w, points.B);
  bool failed = false;
  std::vector<std::unique_ptr<Sound>> parts = SplitHorizontally(failed, u.GetSound(), points);
  if (failed) return;  // the message has been shown; the window stays
  const TViewLike like(*w);
  // From left to right: left ... xa, xa ... xb, xb ... right.
  std::vector<QRect> rects = {
      QRect(QPoint(rect.left(), rect.top()), QPoint(xa - 1, rect.bottom()))};
  if (points.Three) rects.push_back(QRect(QPoint(xa, rect.top()), QPoint(xb - 1, rect.bottom())));
  rects.push_back(QRect(QPoint(xb, rect.top()), rect.bottomRight()));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    TUnitWave* part = AddDerivedWave(MainForm.GetWorkspace(), std::move(parts[i]));
    MakeWindow(MainForm, *part, like, &rects[i]);
  }
  CloseWithoutAsking(w);
}

void TSplitMergeCommands::SplitV() {
  TMDIChildWave* w = AsWaveWindow(MainForm.GetActiveWaveWindow());
  if (w == nullptr || w->GetUnitWave().GetMonoStereo() != 2) return;
  WaitCursor wait;
  Trace("begin Split\n");
  TUnitWave& u = w->GetUnitWave();
  const TViewLike like(*w);
  const bool zoomed = w->IsZoomed();
  const double visibleBegin = w->GetView().VisibleBegin();
  const double visibleEnd = w->GetView().VisibleEnd();
  const bool selection = u.HasSelection();
  const std::int32_t low = u.GetSelLow();
  const std::int32_t high = u.GetSelHigh();
  const std::int32_t cursor = u.GetCursor();
  // Left on top, right below, in the old window's place.
  const QRect rect = w->geometry();
  const int mid = (rect.top() + rect.bottom() + 1) / 2;
  const QRect rects[2] = {QRect(QPoint(rect.left(), rect.top()), QPoint(rect.right(), mid - 1)),
                          QRect(QPoint(rect.left(), mid), rect.bottomRight())};
  std::array<std::unique_ptr<Sound>, 2> sounds = SplitVertically(u);
  for (int i = 0; i < 2; ++i) {
    TUnitWave* half = AddDerivedWave(MainForm.GetWorkspace(), std::move(sounds[i]));
    TMDIChildWave& window = MakeWindow(MainForm, *half, like, &rects[i]);
    if (selection)
      half->SetSelection(low, high);
    else
      half->SetCursor(cursor);
    if (zoomed) {
      window.GetView().SetZoom(visibleBegin, visibleEnd);
      window.GetView().Picture(false);
    }
  }
  CloseWithoutAsking(w);
  Trace("einde Split\n");
}

// --- the merges ------------------------------------------------------------------

void TSplitMergeCommands::MergeH() { Merge(false); }
void TSplitMergeCommands::MergeV() { Merge(true); }

void TSplitMergeCommands::Merge(bool vertical) {
  std::vector<TMergeCandidate> candidates;
  std::vector<TMDIChildWave*> windows;
  int active = 0;
  for (TMDIChildTonbrisk* child : MainForm.Children()) {
    TMDIChildWave* window = AsWaveWindow(child);
    if (window == nullptr) continue;
    if (window == MainForm.GetActiveWaveWindow()) active = static_cast<int>(windows.size());
    candidates.push_back({&window->GetUnitWave(),
                          QString::fromStdString(window->GetUnitWave().GetFileName()),
                          window->ShowsWaveView()});
    windows.push_back(window);
  }
  TDlgMerge dialog(vertical, candidates, active, &MainForm);
  if (vertical)
    dialog.SetVertProps(MergeVertProps);
  else
    dialog.SetHorProps(MergeHorProps);
  if (!RunMerge(dialog)) return;
  TB_ASSERT(dialog.One() != nullptr && dialog.Other() != nullptr);
  const auto windowOf = [&](const TUnitWave* unitWave) {
    const auto found = std::find_if(windows.begin(), windows.end(), [&](TMDIChildWave* window) {
      return &window->GetUnitWave() == unitWave;
    });
    TB_ASSERT(found != windows.end());
    return *found;
  };
  TMDIChildWave* one = windowOf(dialog.One());
  TMDIChildWave* other = windowOf(dialog.Other());

  WaitCursor wait;
  bool failed = false;
  std::unique_ptr<Sound> merged;
  std::uint8_t display = 0;
  if (vertical) {
    MergeVertProps = dialog.VertProps();
    display = MergeVertProps.Display;
    merged = MergeVertically(failed, one->GetUnitWave(), other->GetUnitWave(), MergeVertProps);
  } else {
    MergeHorProps = dialog.HorProps();
    display = MergeHorProps.Display;
    merged = MergeHorizontally(failed, one->GetUnitWave().GetSound(),
                               other->GetUnitWave().GetSound(), MergeHorProps);
  }
  if (!merged) return;  // the message has been shown; the windows stay
  const QRect rect = one->geometry().united(other->geometry());
  const TViewLike like(display == 0 ? *one : *other);
  MakeWindow(MainForm, *AddDerivedWave(MainForm.GetWorkspace(), std::move(merged)), like, &rect);
  CloseWithoutAsking(one);
  CloseWithoutAsking(other);
}

// --- select and zoom ------------------------------------------------------------------

void TSplitMergeCommands::SelectWave() {
  QAction* action = MainForm.Action("SelectWave");
  if (DlgSelZoom == nullptr) {
    DlgSelZoom = new TDlgSelZoom(&MainForm);
    DlgSelZoom->Help = [this] { MainForm.ShowHelpTopic("SelectWave"); };
    connect(DlgSelZoom, &TDlgSelZoom::Closed, this, [this, action] {
      TB_ASSERT_TEXT(DlgSelZoom != nullptr, "DlgSelZoom != NULL");
      Detach();
      action->setChecked(false);
    });
  }
  if (DlgSelZoom->isVisible()) {
    DlgSelZoom->close();
    return;
  }
  Attach(AsWaveWindow(MainForm.GetActiveWaveWindow()));
  DlgSelZoom->show();
  action->setChecked(true);
}

void TSplitMergeCommands::WindowActivated(TMDIChildTonbrisk* child) {
  if (DlgSelZoom == nullptr || !DlgSelZoom->isVisible()) return;
  if (child == nullptr) {
    // The dialog itself taking the focus leaves no window active; only the
    // last window's closing detaches it.
    if (MainForm.Children().isEmpty()) Detach();
    return;
  }
  if (TMDIChildWave* window = AsWaveWindow(child)) {
    if (Target == nullptr || &Target->Window != window) Attach(window);
  } else {
    Detach();
  }
}

void TSplitMergeCommands::Attach(TMDIChildWave* window) {
  Detach();
  if (window == nullptr || DlgSelZoom == nullptr) return;
  Target = std::make_unique<TWaveWindowTarget>(*window);
  TDlgSelZoom* dialog = DlgSelZoom;
  Target->Connections = {
      connect(&window->GetView(), &TWaveView::SelectionMoved, dialog, &TDlgSelZoom::ShowSelection),
      connect(&window->GetView(), &TWaveView::ZoomChanged, dialog, &TDlgSelZoom::ShowZoom),
      connect(window, &QObject::destroyed, this, [this] { Detach(); }),
  };
  dialog->ShowWindow(Target.get());
}

void TSplitMergeCommands::Detach() {
  if (Target == nullptr) return;
  for (const QMetaObject::Connection& connection : Target->Connections) disconnect(connection);
  Target.reset();
  if (DlgSelZoom != nullptr) DlgSelZoom->ShowWindow(nullptr);
}

// --- installation --------------------------------------------------------------------

void InstallSplitMerge(TMainForm& mainForm) {
  auto* commands = new TSplitMergeCommands(mainForm);
  mainForm.Action("SelectWave")->setCheckable(true);
  mainForm.AddHandler("Duplicate", [commands] { commands->Duplicate(); });
  mainForm.AddHandler("SplitH", [commands] { commands->SplitH(); });
  mainForm.AddHandler("SplitV", [commands] { commands->SplitV(); });
  mainForm.AddHandler("MergeH", [commands] { commands->MergeH(); });
  mainForm.AddHandler("MergeV", [commands] { commands->MergeV(); });
  mainForm.AddHandler("SelectWave", [commands] { commands->SelectWave(); });
}

TSplitMergeCommands& SplitMergeCommands(TMainForm& mainForm) {
  auto* commands = mainForm.findChild<TSplitMergeCommands*>("SplitMergeCommands");
  TB_ASSERT(commands != nullptr);
  return *commands;
}

std::optional<bool> SplitMergeEnabled(const TMainForm& mainForm, const QString& name,
                                      const TMDIChildTonbrisk* child) {
  const bool wave = child != nullptr && child->GetKind() == kUnitKindWave;
  const TUnitWave* u = wave ? &static_cast<const TMDIChildWave*>(child)->GetUnitWave() : nullptr;
  if (name == "SplitH") return u != nullptr && CanSplitHorizontally(*u);
  if (name == "SplitV") return u != nullptr && u->GetMonoStereo() == 2;
  if (name == "MergeH" || name == "MergeV") return wave && mainForm.Children().size() > 1;
  return std::nullopt;
}
