#include "app/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>

#include "app/backgroundrun.h"
#include "app/childwindow.h"
#include "app/commandtable.h"
#include "app/dialoghandlers.h"
#include "app/helpwindow.h"
#include "app/playrecord.h"
#include "app/splitmerge.h"
#include "app/wavewindow.h"
#include "base/tbassert.h"
#include "documents/commands.h"
#include "documents/savewave.h"
#include "documents/status.h"
#include "documents/undo.h"
#include "documents/unitwave.h"
#include "sound/sinetable.h"

namespace {

constexpr int kPanelWidths[8] = {300, 160, 75, 70, 20, 24, 65, 60};
const QColor kNameBoxGrey(128, 128, 128);

QString ToolTipOf(const char* hint) { return QString(hint).section('|', 0, 0); }
QString StatusTextOf(const char* hint) {
  const QString text(hint);
  return text.contains('|') ? text.section('|', 1) : text;
}

// Keys that keep their commands while a name is typed.
bool KeepsCommand(int key) {
  switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
      return true;
    default:
      return false;
  }
}

}  // namespace

TMainForm::TMainForm() : QtUi(this), UiScope(std::make_unique<ScopedUserInterface>(QtUi)) {
  setWindowTitle("Tonbrisk 7.0");
  setWindowIcon(QIcon(":/icons/tonbrisk.svg"));
  setAcceptDrops(true);
  MdiArea = new QMdiArea(this);
  MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(MdiArea);
  connect(MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
    if (window == nullptr) return;
    EndEditingName();
    if (TUnit* unit = GetActiveUnit()) SetNameBox(unit->GetRegisterName());
    ScheduleUpdate();
  });

  AskOpenWaveFiles = [this] {
    return QFileDialog::getOpenFileNames(this, "Open wave", QString(),
                                         "Wave Files (*.wav);;All files (*)");
  };
  AskSaveWaveFile = [this]() -> std::optional<std::string> {
    QFileDialog dialog(this, "Save As", QString(), "Wave Files (*.wav);;All files (*)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("wav");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
  };
  AskRegisterName = [this](const std::string& current) -> std::optional<std::string> {
    bool ok = false;
    const QString name = QInputDialog::getText(this, "Register", "Name:", QLineEdit::Normal,
                                               QString::fromStdString(current), &ok);
    if (!ok) return {};
    return name.trimmed().left(99).toStdString();
  };

  CreateHandlers();
  InstallDialogs(*this);
  CreateActions();
  CreateMenus();
  CreateToolBars();
  CreateStatusBar();

  TraceOpen();
  Trace("---- START --------------------------------------\n");
  MakeTempDir();
  InstallPlayRecord(*this);
  InstallSplitMerge(*this);
  CreateSineTable();
  LoadCursors();
  qApp->installEventFilter(this);
  UpdateCommands();
}

TMainForm::~TMainForm() {
  qApp->removeEventFilter(this);
  // The windows tell the workspace as they go, so they go before it.
  for (QMdiSubWindow* window : MdiArea->subWindowList()) delete window;
  Workspace.DeleteUndo();
  DestroySineTable();
  Trace("---- END ----------------------------------------\n");
  TraceClose();
}

// --- child windows -----------------------------------------------------------

TMDIChildTonbrisk* TMainForm::GetActiveChild() const {
  return qobject_cast<TMDIChildTonbrisk*>(MdiArea->activeSubWindow());
}

TMDIChildTonbrisk* TMainForm::GetActiveWaveWindow() const {
  TMDIChildTonbrisk* child = GetActiveChild();
  return child != nullptr && child->GetKind() == kUnitKindWave ? child : nullptr;
}

TUnit* TMainForm::GetActiveUnit() const {
  TMDIChildTonbrisk* child = GetActiveChild();
  return child != nullptr ? &child->GetUnit() : nullptr;
}

TUnitWave* TMainForm::GetActiveWaveUnit() const {
  TMDIChildTonbrisk* child = GetActiveWaveWindow();
  return child != nullptr ? static_cast<TUnitWave*>(&child->GetUnit()) : nullptr;
}

QList<TMDIChildTonbrisk*> TMainForm::Children() const {
  QList<TMDIChildTonbrisk*> children;
  for (QMdiSubWindow* window : MdiArea->subWindowList()) {
    if (auto* child = qobject_cast<TMDIChildTonbrisk*>(window)) children.append(child);
  }
  return children;
}

TMDIChildTonbrisk* TMainForm::CreateWaveWindow(TUnitWave& unitWave) {
  auto* child = new TMDIChildWave(*this, unitWave);
  MdiArea->addSubWindow(child);
  // Large enough to see a wave; the next windows step down and right, and
  // start again at the top left before one would leave the area.
  const QSize area = MdiArea->viewport()->size();
  const QSize size(std::max(480, area.width() * 3 / 4), std::max(300, area.height() * 2 / 3));
  constexpr int kStep = 28;
  const int steps =
      std::max(1, std::min(area.width() - size.width(), area.height() - size.height()) / kStep + 1);
  const int place = static_cast<int>(MdiArea->subWindowList().size() - 1) % steps;
  child->setGeometry(place * kStep, place * kStep, size.width(), size.height());
  child->show();
  MdiArea->setActiveSubWindow(child);
  UpdateCommands();
  return child;
}

void TMainForm::OpenWaveFiles(const QStringList& paths) {
  for (const QString& path : paths) {
    TUnitWave* unitWave = nullptr;
    {
      WaitCursor wait;
      unitWave = Workspace.OpenWave(path.toStdString());
    }
    if (unitWave == nullptr) continue;
    CreateWaveWindow(*unitWave);
    // Samples converted on reading: the user hears of it at once.
    if (const WavSource& source = unitWave->GetSource(); source.Converted()) {
      SetStatusPanel(0, QString("%1: %2, read as %3 bits")
                            .arg(QFileInfo(path).fileName(), QString::fromStdString(source.Text()))
                            .arg(8 * unitWave->GetBytesPSample()));
    }
  }
}

void TMainForm::ChildDestroyed(TMDIChildTonbrisk* /*child*/, TUnit* unit) {
  Workspace.CloseUnit(unit);
  ScheduleUpdate();
}

bool TMainForm::SaveWaveDocument(TUnitWave& unitWave, bool askName) {
  return askName ? SaveWaveAs(&unitWave, AskSaveWaveFile) : SaveWave(&unitWave, AskSaveWaveFile);
}

// --- commands ----------------------------------------------------------------

QAction* TMainForm::Action(const char* name) const {
  QAction* action = Actions.value(name);
  TB_ASSERT(action != nullptr);
  return action;
}

void TMainForm::CreateHandlers() {
  // The commands that are not the core's wave commands; each runs only when
  // the command update has enabled it.
  const auto child = [this] { return GetActiveChild(); };
  Handlers = {
      {"FileNewWave", [this] { FileNewWave(); }},
      {"FileOpenWave", [this] { OpenWaveFiles(AskOpenWaveFiles()); }},
      {"FileClose", [child] { child()->close(); }},
      {"FileSave", [child] { child()->SaveDocument(); }},
      {"FileSaveAs", [child] { child()->SaveDocumentAs(); }},
      {"FileExit", [this] { close(); }},
      {"Undo", [this] { Workspace.Undo(); }},
      {"DeleteUndo", [this] { Workspace.DeleteUndo(); }},
      {"Register", [this] { Register(); }},
      {"ViewWave", [child] { child()->SetViewMode(true); }},
      {"ViewVold", [child] { child()->SetViewMode(false); }},
      {"ZoomIn", [child] { child()->ZoomIn(); }},
      {"NoZoom", [child] { child()->NoZoom(); }},
      {"DrawWaveLin", [child] { child()->ToggleDrawing(TDrawKind::Linear); }},
      {"DrawWave3G", [child] { child()->ToggleDrawing(TDrawKind::Smooth); }},
      {"WindowCascade", [this] { MdiArea->cascadeSubWindows(); }},
      {"WindowTileHorizontal", [this] { TileWindows(true); }},
      {"WindowTileVertical", [this] { TileWindows(false); }},
      {"WindowMinimizeAll",
       [this] {
         for (TMDIChildTonbrisk* each : Children()) each->showMinimized();
       }},
      {"WindowArrangeAll", [this] { ArrangeAll(); }},
      {"HelpContents", [this] { GetHelpWindow()->ShowPage("index.html"); }},
      {"HelpTopicSearch", [this] { GetHelpWindow()->ShowIndex(); }},
      {"HelpOnHelp", [this] { GetHelpWindow()->ShowPage("helponhelp.html"); }},
      {"HelpAbout", [this] { About(); }},
  };
}

void TMainForm::CreateActions() {
  for (const TCommandRow& row : CommandRows()) {
    auto* action = new QAction(row.Caption, this);
    action->setObjectName(row.Name);
    if (*row.Key != '\0') action->setShortcut(QKeySequence(row.Key));
    if (*row.Hint != '\0') {
      action->setToolTip(ToolTipOf(row.Hint));
      action->setStatusTip(StatusTextOf(row.Hint));
    } else {
      action->setToolTip(QString(row.Caption).remove('&').remove("..."));
    }
    const QString image = QString(":/icons/%1.svg").arg(row.Name);
    if (QFile::exists(image)) action->setIcon(QIcon(image));
    if (row.Rule == TCommandRule::Hidden) action->setVisible(false);
    // Shortcuts stay live while a menu is hidden: every action also belongs
    // to the frame.
    addAction(action);
    connect(action, &QAction::triggered, this, [this, &row] { RunCommand(row); });
    Actions.insert(row.Name, action);
  }
  for (const char* name : {"ViewWave", "ViewVold", "DrawWaveLin", "DrawWave3G"}) {
    Action(name)->setCheckable(true);
  }
  // The menus show TempoPitch and FilterBlock under other captions; a
  // tool bar button shows the icon, so the caption matters only there.
  Action("TempoPitch")->setIconText("Tempo and Pitch");
}

QMenu* TMainForm::AddMenu(const QString& title, const QStringList& items, const QString& hint) {
  QMenu* menu = menuBar()->addMenu(title);
  menu->menuAction()->setStatusTip(hint);
  QMenu* target = menu;
  for (const QString& item : items) {
    if (item == "-") {
      target->addSeparator();
    } else if (item.startsWith('>')) {
      // ">Title": the following items go into a submenu, "<" ends it.
      target = menu->addMenu(item.mid(1));
    } else if (item == "<") {
      target = menu;
    } else if (item.startsWith('=')) {
      // "=Name=Caption": the command under another caption.
      const QString name = item.section('=', 1, 1);
      auto* alias = new QAction(item.section('=', 2), target);
      QAction* original = Action(name.toUtf8().constData());
      alias->setStatusTip(original->statusTip());
      connect(alias, &QAction::triggered, original, &QAction::trigger);
      connect(original, &QAction::changed, alias,
              [alias, original] { alias->setEnabled(original->isEnabled()); });
      target->addAction(alias);
    } else {
      target->addAction(Action(item.toUtf8().constData()));
    }
  }
  Menus.insert(title, menu);
  return menu;
}

void TMainForm::CreateMenus() {
  AddMenu("File", {"FileNewWave", "FileOpenWave",
                   "FileNewMuz",  "FileOpenMuz",
                   "-",           "FileClose",
                   "FileSave",    "FileSaveAs",
                   "-",           "FilePlay",
                   "FileStop",    "FilePause",
                   "FileRecord",  "-",
                   "Undo",        "DeleteUndo",
                   "-",           "FileProperties",
                   "Register",    "-",
                   "Options",     "FileExit"},
          "File related commands");
  AddMenu("Edit",
          {"EditDelete", "EditTrim", "-", "EditCut", "EditCopy", "EditPaste", "EditSwap",
           "EditExtract", "EditMix", "Begin", "End", "-", "EditClearClipboard"},
          "Edit commands");
  AddMenu("View",
          {"ViewWave", "ViewVold", "-", "ZoomIn", "NoZoom", "-", "SelectWave", "-", "MusicDialog"});
  AddMenu("Make", {"Duplicate", "-", "MakeSilence", "MakeLine", "MakeBlock", "MakeTriangle",
                   "MakeSinus", "MakeNoise", "MakeMFreq", "-", "DrawWaveLin", "DrawWave3G"});
  AddMenu("Effects", {"Volume",
                      "MaxVolume",
                      "Up",
                      "Distort",
                      "Block",
                      "-",
                      "Reverse",
                      "Length",
                      "Rotate",
                      "RollOut",
                      "RollIn",
                      "-",
                      "Balance",
                      "MixLeftRight",
                      "=TempoPitch=&Pitch and Tempo...",
                      ">&Filter",
                      "FilterHigh",
                      "FilterLow",
                      "-",
                      "FilterRes",
                      "FilterNotch",
                      "-",
                      "=FilterBlock=&Block...",
                      "<",
                      ">E&cho",
                      "PerEcho",
                      "RndEcho"});
  AddMenu("Music", {">&Note",
                    "MusicNote1",
                    "MusicNote2",
                    "MusicNote4",
                    "MusicNote8",
                    "MusicNote16",
                    "MusicNote32",
                    "MusicNote64",
                    ">&Silence",
                    "MusicSilence1",
                    "MusicSilence2",
                    "MusicSilence4",
                    "MusicSilence8",
                    "MusicSilence16",
                    "MusicSilence32",
                    "MusicSilence64",
                    ">&Key",
                    "MusicKeyG",
                    "MusicKeyC",
                    "MusicKeyF",
                    ">N&oteshift",
                    "MusicNSDCross",
                    "MusicNSCross",
                    "MusicNSNormal",
                    "MusicNSMol",
                    "MusicNSDMol",
                    ">&Point",
                    "MusicPointAdd",
                    "MusicPointDelete",
                    "<",
                    "-",
                    ">S&elect",
                    "MusicSelectNext",
                    "MusicSelectPrev",
                    "MusicSelectUp",
                    "MusicSelectDown",
                    ">&Move",
                    "MusicMoveNext",
                    "MusicMovePrev",
                    "MusicMoveUp",
                    "MusicMoveDown",
                    "MusicMoveOctUp",
                    "MusicMoveOctDown",
                    ">Mo&de",
                    "MusicModeAdd",
                    "MusicModeEdit",
                    "MusicModeDelete",
                    "<",
                    "MusicDelete",
                    "-",
                    "MusicPlayNote",
                    "MusicAutoPlay",
                    "-",
                    "MusicNoteGroupPrev",
                    "MusicNoteGroupNext",
                    "-",
                    "MusicGenerate"});
  QMenu* window =
      AddMenu("Window",
              {"WindowCascade", "WindowTileHorizontal", "WindowTileVertical", "WindowMinimizeAll",
               "WindowArrangeAll", "-", "SplitH", "MergeH", "SplitV", "MergeV"},
              "Window related commands");
  connect(window, &QMenu::aboutToShow, this, &TMainForm::FillWindowMenu);
  AddMenu("Help", {"HelpContents", "HelpTopicSearch", "-", "HelpOnHelp", "-", "HelpAbout"},
          "Help topics");
}

void TMainForm::FillWindowMenu() {
  QMenu* menu = Menus.value("Window");
  for (QAction* action : menu->actions()) {
    if (action->property("windowEntry").toBool()) delete action;
  }
  const QList<TMDIChildTonbrisk*> children = Children();
  if (children.isEmpty()) return;
  menu->addSeparator()->setProperty("windowEntry", true);
  int number = 1;
  for (TMDIChildTonbrisk* child : children) {
    QString title = child->windowTitle().replace("[*]", child->isWindowModified() ? "*" : "");
    if (number <= 9) title = QString("&%1 %2").arg(number).arg(title);
    QAction* entry = menu->addAction(title);
    entry->setProperty("windowEntry", true);
    entry->setCheckable(true);
    entry->setChecked(child == GetActiveChild());
    connect(entry, &QAction::triggered, this,
            [this, child] { MdiArea->setActiveSubWindow(child); });
    ++number;
  }
}

QToolBar* TMainForm::AddToolBar(const QString& title, const QStringList& items) {
  if (!findChildren<QToolBar*>(Qt::FindDirectChildrenOnly).isEmpty()) addToolBarBreak();
  QToolBar* bar = addToolBar(title);
  bar->setObjectName(title);
  bar->setIconSize(QSize(24, 24));
  for (const QString& item : items) bar->addAction(Action(item.toUtf8().constData()));
  return bar;
}

void TMainForm::CreateToolBars() {
  QToolBar* basic =
      AddToolBar("Basic", {"FileNewWave", "FileOpenWave", "FileNewMuz", "FileOpenMuz", "FileSave",
                           "FileSaveAs", "FileProperties", "Undo", "DeleteUndo", "FilePlay",
                           "FileStop", "FilePause", "FileRecord"});
  NameEdit = new QLineEdit(basic);
  NameEdit->setMaxLength(99);
  NameEdit->setFixedWidth(160);
  NameEdit->setToolTip("Register name");
  NameEdit->setStatusTip("The name other windows use for this wave; Enter registers it");
  NameEdit->installEventFilter(this);
  connect(NameEdit, &QLineEdit::returnPressed, this, &TMainForm::NameBoxEntered);
  basic->addSeparator();
  basic->addWidget(NameEdit);

  WaveToolBars[0] = AddToolBar(
      "View", {"ViewWave", "ViewVold", "ZoomIn", "NoZoom", "SelectWave", "SplitH", "MergeH",
               "SplitV", "MergeV", "EditDelete", "EditTrim", "EditCut", "EditPaste", "EditCopy",
               "EditSwap", "EditExtract", "EditMix", "EditClearClipboard"});
  WaveToolBars[1] = AddToolBar(
      "Make Waves", {"MakeSilence", "MakeLine",  "MakeBlock",   "MakeTriangle", "MakeSinus",
                     "MakeNoise",   "MakeMFreq", "DrawWaveLin", "DrawWave3G",   "Duplicate",
                     "Volume",      "MaxVolume", "Up",          "Distort",      "Block",
                     "Length",      "Reverse",   "Rotate",      "RollOut",      "RollIn"});
  WaveToolBars[2] = AddToolBar("Complex Manipulations",
                               {"Balance", "TempoPitch", "PerEcho", "RndEcho", "FilterLow",
                                "FilterHigh", "FilterRes", "FilterNotch", "FilterBlock"});
  MusicToolBars[0] = AddToolBar(
      "Music Note",
      {"MusicSelectUp", "MusicSelectPrev", "MusicSelectNext", "MusicMoveUp", "MusicMoveOctUp",
       "MusicPointAdd", "MusicNote1", "MusicNote2", "MusicNote4", "MusicNote8", "MusicNote16",
       "MusicNote32", "MusicNote64", "MusicKeyG", "MusicKeyC", "MusicKeyF"});
  MusicToolBars[1] = AddToolBar(
      "Music Silence",
      {"MusicSelectDown", "MusicMovePrev", "MusicMoveNext", "MusicMoveDown", "MusicMoveOctDown",
       "MusicPointDelete", "MusicSilence1", "MusicSilence2", "MusicSilence4", "MusicSilence8",
       "MusicSilence16", "MusicSilence32", "MusicSilence64", "MusicNSDCross", "MusicNSCross",
       "MusicNSNormal", "MusicNSMol", "MusicNSDMol"});
  MusicToolBars[2] =
      AddToolBar("Music", {"MusicGenerate", "MusicDialog", "MusicModeAdd", "MusicModeEdit",
                           "MusicModeDelete", "MusicDelete", "MusicPlayNote", "MusicAutoPlay",
                           "MusicNoteGroupPrev", "MusicNoteGroupNext"});
}

void TMainForm::CreateStatusBar() {
  for (int i = 0; i < 8; ++i) {
    auto* panel = new QLabel(this);
    panel->setFrameStyle(QFrame::Panel | (i == 1 ? QFrame::Raised : QFrame::Sunken));
    panel->setMinimumWidth(kPanelWidths[i]);
    if (i > 0) panel->setMaximumWidth(kPanelWidths[i]);
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    statusBar()->addWidget(panel, i == 0 ? 1 : 0);
    Panels[i] = panel;
  }
  statusBar()->setSizeGripEnabled(true);
}

void TMainForm::LoadCursors() {
  // Hot spots: the pen's tip, the centres of the signs, the note head.
  const struct {
    const char* file;
    int x, y;
  } kCursors[] = {
      {"draw", 1, 31}, {"reject", 16, 16}, {"delete", 16, 16}, {"query", 16, 16}, {"note", 12, 24}};
  for (std::size_t i = 0; i < Cursors.size(); ++i) {
    const QPixmap pixmap(QString(":/cursors/%1.svg").arg(kCursors[i].file));
    Cursors[i] =
        pixmap.isNull() ? QCursor(Qt::CrossCursor) : QCursor(pixmap, kCursors[i].x, kCursors[i].y);
  }
}

const QCursor& TMainForm::GetCursor(TCustomCursor cursor) const {
  return Cursors[static_cast<std::size_t>(cursor) - 1];
}

void TMainForm::MakeTempDir() {
  // One folder per user, so two users' play files never meet.
  const QString base = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
  const QString dir = QDir(base).filePath(QString("tonbrisk-%1").arg(qEnvironmentVariable("USER")));
  TempDir = dir.toStdString();
  if (!QDir().mkpath(dir)) {
    ShowMessage("Error", "Could not create directory \"" + TempDir + "\". Play and Record disabled",
                MessageIcon::Warning);
    MediaEnabled = false;
  }
}

void TMainForm::ScheduleUpdate() {
  if (UpdatePending || TBackgroundRun::Busy()) return;
  UpdatePending = true;
  QTimer::singleShot(0, this, [this] {
    UpdatePending = false;
    UpdateCommands();
  });
}

void TMainForm::ShowKind(std::uint8_t kind) {
  const bool wave = kind == kUnitKindWave;
  const bool music = kind == kUnitKindMuz;
  for (const char* name : {"Edit", "Make", "Effects"}) {
    Menus.value(name)->menuAction()->setVisible(wave);
  }
  Menus.value("View")->menuAction()->setVisible(wave || music);
  Menus.value("Window")->menuAction()->setVisible(wave || music);
  Menus.value("Music")->menuAction()->setVisible(music);
  for (const char* name : {"ViewWave", "ViewVold", "ZoomIn", "NoZoom", "SelectWave"}) {
    Action(name)->setVisible(!music);
  }
  Action("MusicDialog")->setVisible(music);
  for (QToolBar* bar : WaveToolBars) bar->setVisible(wave);
  for (QToolBar* bar : MusicToolBars) bar->setVisible(music);
  CurrentKind = kind;
}

bool TMainForm::RuleEnabled(const TCommandRow& row, TMDIChildTonbrisk* child) const {
  TMDIChildTonbrisk* w = child != nullptr && child->GetKind() == kUnitKindWave ? child : nullptr;
  const TUnitWave* u = w != nullptr ? static_cast<const TUnitWave*>(&w->GetUnit()) : nullptr;
  const bool drawing = w != nullptr && w->IsDrawing();
  const bool values = u != nullptr && u->GetValues() > 0;
  switch (row.Rule) {
    case TCommandRule::Always:
      return true;
    case TCommandRule::Window:
      return child != nullptr;
    case TCommandRule::WaveWindow:
      return w != nullptr;
    case TCommandRule::NotDrawing:
      return w != nullptr && !drawing;
    case TCommandRule::Unavailable:
    case TCommandRule::Hidden:
      return false;
    case TCommandRule::Special:
      break;
  }
  if (row.Wave) return u != nullptr && !drawing && CommandEnabled(Workspace, *u, *row.Wave);
  const QString name(row.Name);
  if (const std::optional<bool> media = MediaCommandEnabled(*this, name, child)) return *media;
  if (const std::optional<bool> split = SplitMergeEnabled(*this, name, child)) return *split;
  if (name == "FileSave") return u != nullptr && u->NeedsSave();
  if (name == "FileSaveAs") return values;
  if (name == "Undo" || name == "DeleteUndo") {
    const TUndoUnit* undo = Workspace.GetUndoUnit();
    if (undo == nullptr) return false;
    for (TMDIChildTonbrisk* other : Children()) {
      if (&other->GetUnit() == undo->GetUnitWave() && other->IsDrawing()) return false;
    }
    return true;
  }
  if (name == "ZoomIn") return values && !drawing && u->HasSelection();
  if (name == "NoZoom") return values && !drawing && w->IsZoomed();
  if (name == "DrawWaveLin" || name == "DrawWave3G") {
    return drawing || (u != nullptr && !values && u->GetMonoStereo() == 1 && w->ShowsWaveView());
  }
  // The context keys pass on to a command that checks itself.
  if (name.startsWith("key")) return child != nullptr;
  return false;
}

void TMainForm::UpdateCommands() {
  // A command on a worker thread owns the documents until it ends.
  if (TBackgroundRun::Busy()) return;
  TMDIChildTonbrisk* child = GetActiveChild();
  const std::uint8_t kind = child != nullptr ? child->GetKind() : 0;
  if (kind != CurrentKind) ShowKind(kind);
  for (const TCommandRow& row : CommandRows()) {
    Action(row.Name)->setEnabled(RuleEnabled(row, child));
  }
  const bool wave = kind == kUnitKindWave;
  const bool drawing = wave && child->IsDrawing();
  Action("ViewWave")->setChecked(wave && child->ShowsWaveView());
  Action("ViewVold")->setChecked(wave && !child->ShowsWaveView());
  Action("DrawWaveLin")->setChecked(drawing && child->GetDrawKind() == TDrawKind::Linear);
  Action("DrawWave3G")->setChecked(drawing && child->GetDrawKind() == TDrawKind::Smooth);

  NameEdit->setEnabled(child != nullptr);
  QPalette palette = NameEdit->palette();
  palette.setColor(QPalette::Base,
                   child != nullptr ? QApplication::palette().color(QPalette::Base) : kNameBoxGrey);
  NameEdit->setPalette(palette);
  if (child == nullptr) NameEdit->clear();

  if (wave) {
    const auto texts = WaveStatusTexts(static_cast<const TUnitWave&>(child->GetUnit()));
    for (std::size_t i = 0; i < texts.size(); ++i) {
      SetStatusPanel(static_cast<int>(i) + 2, QString::fromStdString(texts[i]));
    }
  } else if (child == nullptr) {
    // The state panel goes too: it would name a closed document's state.
    for (int i = 1; i < 8; ++i) SetStatusPanel(i, QString());
  }
  for (TMDIChildTonbrisk* each : Children()) each->UpdateCaption();
}

void TMainForm::Trigger(const char* name) {
  QAction* action = Action(name);
  if (action->isEnabled()) action->trigger();
}

void TMainForm::RunContextKey(const char* name) {
  static const QHash<QString, const char*> kWaveTargets = {{"keyCtrlP", "FileProperties"},
                                                           {"keyCtrlDel", "EditDelete"},
                                                           {"keyAltDel", "DeleteUndo"},
                                                           {"keyAltN", "MakeNoise"},
                                                           {"keyAltS", "MakeSilence"},
                                                           {"keyL", "Length"},
                                                           {"keyB", "Balance"},
                                                           {"keyShiftB", "Block"}};
  TMDIChildTonbrisk* child = GetActiveChild();
  if (child == nullptr) return;
  if (child->GetKind() == kUnitKindWave) {
    if (const char* target = kWaveTargets.value(name, nullptr)) Trigger(target);
  } else if (QString(name) == "keyCtrlP") {
    Trigger("FileProperties");
  }
}

void TMainForm::RunCommand(const TCommandRow& row) {
  // The update may be behind the state (a key pressed before it ran).
  if (!RuleEnabled(row, GetActiveChild())) return;
  EndEditingName();
  if (row.Wave) {
    TUnitWave* unitWave = GetActiveWaveUnit();
    TMDIChildTonbrisk* child = GetActiveWaveWindow();
    // The dialog edits the record last used; the work goes to a worker
    // thread, and a long one shows its progress and can be cancelled.
    TWaveRecord record = CommandRecord(*unitWave, *row.Wave);
    if (EditRecord && !EditRecord(*row.Wave, *unitWave, record)) return;
    TBackgroundRun run(this, child->widget());
    run.SetLabel(QString(row.Caption).remove('&').remove("...") + "...");
    run.Run(Workspace, *unitWave, *row.Wave, record);
  } else {
    const auto handler = Handlers.find(row.Name);
    if (handler != Handlers.end()) {
      handler.value()();
    } else if (QString(row.Name).startsWith("key")) {
      RunContextKey(row.Name);
    }
  }
  UpdateCommands();
}

// --- command handlers ----------------------------------------------------------

void TMainForm::AddHandler(const char* name, std::function<void()> handler) {
  Handlers.insert(name, std::move(handler));
}

void TMainForm::FileNewWave() {
  // The properties dialog comes with the dialogs; until then the new wave has
  // the format the dialog proposes.
  TUnitWave* unitWave = Workspace.NewWave(TWaveFileProps{});
  CreateWaveWindow(*unitWave);
}

void TMainForm::Register() {
  TUnit* unit = GetActiveUnit();
  const std::optional<std::string> name = AskRegisterName(unit->GetRegisterName());
  if (name && Workspace.CheckRegisterName(*name, unit)) unit->SetRegisterName(*name);
  SetNameBox(unit->GetRegisterName());
}

void TMainForm::TileWindows(bool horizontally) {
  QList<TMDIChildTonbrisk*> windows;
  for (TMDIChildTonbrisk* child : Children()) {
    if (!child->isMinimized()) windows.append(child);
  }
  if (windows.isEmpty()) return;
  const QRect area = MdiArea->viewport()->rect();
  const int count = static_cast<int>(windows.size());
  for (int i = 0; i < count; ++i) {
    windows[i]->showNormal();
    if (horizontally) {
      const int top = area.height() * i / count;
      windows[i]->setGeometry(0, top, area.width(), area.height() * (i + 1) / count - top);
    } else {
      const int left = area.width() * i / count;
      windows[i]->setGeometry(left, 0, area.width() * (i + 1) / count - left, area.height());
    }
  }
}

void TMainForm::ArrangeAll() {
  // Minimised windows in a row along the bottom.
  const QRect area = MdiArea->viewport()->rect();
  int left = 0;
  for (TMDIChildTonbrisk* child : Children()) {
    if (!child->isMinimized()) continue;
    const QSize size = child->size();
    if (left + size.width() > area.width()) left = 0;
    child->move(left, area.height() - size.height());
    left += size.width();
  }
}

THelpWindow* TMainForm::GetHelpWindow() {
  if (HelpWindow == nullptr) HelpWindow = new THelpWindow(this);
  return HelpWindow;
}

void TMainForm::ShowHelpTopic(const QString& command) {
  if (!GetHelpWindow()->ShowTopic(command)) HelpWindow->ShowPage("index.html");
}

void TMainForm::About() {
  QMessageBox::about(this, "About Tonbrisk",
                     "<h3>Tonbrisk 7.0</h3><p>A sound editor for mono and stereo wave files "
                     "with a music-notation composer.</p>");
}

// --- name box and status bar -------------------------------------------------

void TMainForm::SetNameBox(const std::string& name) {
  NameEdit->setText(QString::fromStdString(name));
}

void TMainForm::EndEditingName() {
  if (!EditingName) return;
  EditingName = false;
  NameEdit->unsetCursor();
}

void TMainForm::NameBoxEntered() {
  TUnit* unit = GetActiveUnit();
  if (unit != nullptr) {
    const std::string name = NameEdit->text().trimmed().toStdString();
    if (Workspace.CheckRegisterName(name, unit)) unit->SetRegisterName(name);
    SetNameBox(unit->GetRegisterName());
  }
  EndEditingName();
  if (TMDIChildTonbrisk* child = GetActiveChild()) child->setFocus();
}

void TMainForm::SetStatusPanel(int panel, const QString& text) {
  TB_ASSERT(panel >= 0 && panel < 8);
  if (Panels[panel]->text() != text) Panels[panel]->setText(text);
}

QString TMainForm::StatusPanel(int panel) const {
  TB_ASSERT(panel >= 0 && panel < 8);
  return Panels[panel]->text();
}

// --- events --------------------------------------------------------------------

bool TMainForm::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    SetStatusPanel(0, static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
      // While a name is typed, keys go to the control instead of firing the
      // one-letter commands.
      auto* key = static_cast<QKeyEvent*>(event);
      if ((EditingName || KeysToControl) && !KeepsCommand(key->key())) event->accept();
      break;
    }
    case QEvent::MouseButtonPress:
      if (watched == NameEdit && NameEdit->isEnabled()) {
        EditingName = true;
        NameEdit->setCursor(Qt::IBeamCursor);
      }
      break;
    case QEvent::FocusOut:
      // Typing elsewhere is not typing a name.
      if (watched == NameEdit) EndEditingName();
      break;
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
      ScheduleUpdate();
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Each window asks about its unsaved changes; Cancel stops the exit.
  for (TMDIChildTonbrisk* child : Children()) {
    if (!child->close()) {
      event->ignore();
      return;
    }
  }
  Workspace.DeleteUndo();
  event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths.append(url.toLocalFile());
  }
  event->acceptProposedAction();
  OpenWaveFiles(paths);
  UpdateCommands();
}
