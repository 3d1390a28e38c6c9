#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/qtui.h"
#include "documents/commands.h"
#include "documents/workspace.h"

class QAction;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMenu;
class QToolBar;
class TMDIChildTonbrisk;
class THelpWindow;
class TUnit;
class TUnitWave;
struct TCommandRow;
struct TWaveViewProps;
struct TVoldViewProps;

// The custom cursors, numbered as the windows ask for them.
enum class TCustomCursor : std::uint8_t { Draw = 1, Reject, Delete, Query, Note };

// The frame window: an MDI area of wave and music windows, the command table
// with its menus, tool bars and keys, the status bar and the name box. It
// owns the workspace (documents, undo record, clipboard, default records)
// and routes every command to the active window's document.
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  TMainForm();
  ~TMainForm() override;

  TWorkspace& GetWorkspace() { return Workspace; }

  // --- child windows --------------------------------------------------------
  TMDIChildTonbrisk* GetActiveChild() const;
  TMDIChildTonbrisk* GetActiveWaveWindow() const;
  TUnit* GetActiveUnit() const;
  TUnitWave* GetActiveWaveUnit() const;
  QList<TMDIChildTonbrisk*> Children() const;
  // A window for a wave document of the workspace, with the current view
  // settings; it becomes the active window.
  TMDIChildTonbrisk* CreateWaveWindow(TUnitWave& unitWave);
  // Opens wave files, each in a window of its own; a file that cannot be
  // read shows its message and the next one is tried.
  void OpenWaveFiles(const QStringList& paths);
  // Told by a child window's destructor: the document goes with it.
  void ChildDestroyed(TMDIChildTonbrisk* child, TUnit* unit);
  // Save and Save as of a wave document, with the save dialog for a name;
  // false when cancelled or not written.
  bool SaveWaveDocument(TUnitWave& unitWave, bool askName);

  // --- commands -------------------------------------------------------------
  // The action of a command of the table.
  QAction* Action(const char* name) const;
  // Enables, checks and shows every command for the active window; runs
  // after every change of state.
  void UpdateCommands();
  // Asks for an update once the current event is handled.
  void ScheduleUpdate();
  std::uint8_t GetCurrentKind() const { return CurrentKind; }

  // --- status bar and name box ---------------------------------------------
  void SetStatusPanel(int panel, const QString& text);
  QString StatusPanel(int panel) const;
  QLineEdit* NameBox() const { return NameEdit; }
  void SetNameBox(const std::string& name);
  bool IsEditingName() const { return EditingName; }
  void SetKeysToControl(bool on) { KeysToControl = on; }

  // Shows the help page of a command (a dialog's Help button), or the
  // contents when it has none.
  void ShowHelpTopic(const QString& command);
  THelpWindow* GetHelpWindow();

  // The custom cursors of the resources.
  const QCursor& GetCursor(TCustomCursor cursor) const;
  const std::string& GetTempDir() const { return TempDir; }
  bool GetMediaEnabled() const { return MediaEnabled; }

  // The file dialogs, replaceable (tests answer them without a screen).
  std::function<QStringList()> AskOpenWaveFiles;
  std::function<std::optional<std::string>()> AskSaveWaveFile;
  // The name for Register; nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& current)> AskRegisterName;
  // Shows a wave command's dialog on the record last used; false when the
  // user cancelled. Commands without a dialog never ask.
  std::function<bool(TWaveCommand command, TUnitWave& unitWave, TWaveRecord& record)> EditRecord;

  // Adds (or replaces) the handler of a command of the table that is not a
  // core wave command; each area of the program adds its own.
  void AddHandler(const char* name, std::function<void()> handler);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateHandlers();
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void CreateStatusBar();
  void LoadCursors();
  void MakeTempDir();
  QMenu* AddMenu(const QString& title, const QStringList& items, const QString& hint = {});
  QToolBar* AddToolBar(const QString& title, const QStringList& items);
  void ShowKind(std::uint8_t kind);
  bool RuleEnabled(const TCommandRow& row, TMDIChildTonbrisk* child) const;
  void RunCommand(const TCommandRow& row);
  void RunContextKey(const char* name);
  void Trigger(const char* name);
  void EndEditingName();
  void NameBoxEntered();

  // Handlers of the commands that are not the core's wave commands.
  void FileNewWave();
  void Register();
  void ArrangeAll();
  void TileWindows(bool horizontally);
  void FillWindowMenu();
  void About();

  TWorkspace Workspace;
  TQtUserInterface QtUi;
  std::unique_ptr<ScopedUserInterface> UiScope;
  QMdiArea* MdiArea = nullptr;
  QHash<QString, QAction*> Actions;
  QHash<QString, std::function<void()>> Handlers;
  QHash<QString, QMenu*> Menus;
  std::array<QToolBar*, 3> WaveToolBars{};
  std::array<QToolBar*, 3> MusicToolBars{};
  std::array<QLabel*, 8> Panels{};
  QLineEdit* NameEdit = nullptr;
  std::array<QCursor, 5> Cursors;
  std::uint8_t CurrentKind = 3;
  bool EditingName = false;
  bool KeysToControl = false;
  bool UpdatePending = false;
  bool MediaEnabled = true;
  std::string TempDir;
  THelpWindow* HelpWindow = nullptr;  // made on first use, a child of the frame
};
