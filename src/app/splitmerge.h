#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "dialogs/selectzoomdialog.h"
#include "documents/splitmerge.h"

class TDlgMerge;
class TMainForm;
class TMDIChildTonbrisk;
class TMDIChildWave;
class TWaveWindowTarget;

// The window commands that make wave windows from wave windows (Duplicate,
// SplitH, SplitV, MergeH, MergeV) and the select and zoom dialog
// (SelectWave). One lives as a child of the main window; it keeps the split
// and merge choices between uses and makes the dialog on first use.
class TSplitMergeCommands : public QObject {
  Q_OBJECT

 public:
  explicit TSplitMergeCommands(TMainForm& mainForm);
  ~TSplitMergeCommands() override;

  void Duplicate();
  void SplitH();
  void SplitV();
  void MergeH();
  void MergeV();
  // Shows the select and zoom dialog, or closes it when it is shown.
  void SelectWave();

  // The select and zoom dialog, once made.
  TDlgSelZoom* SelZoomDialog() const { return DlgSelZoom; }

  // The dialogs, replaceable (tests answer them without a screen).
  std::function<bool(TDlgSplitHorProps& props)> AskSplit;
  std::function<bool(TDlgMerge& dialog)> RunMerge;

 private:
  void Merge(bool vertical);
  // The dialog follows the active wave window.
  void WindowActivated(TMDIChildTonbrisk* child);
  void Attach(TMDIChildWave* window);
  void Detach();

  TMainForm& MainForm;
  TDlgSplitHorProps SplitProps;
  TMergeHorProps MergeHorProps;
  TMergeVertProps MergeVertProps;
  QPointer<TDlgSelZoom> DlgSelZoom;
  std::unique_ptr<TWaveWindowTarget> Target;
};

// Adds the commands' handlers to the main window (after its handler table
// and its actions are made).
void InstallSplitMerge(TMainForm& mainForm);
TSplitMergeCommands& SplitMergeCommands(TMainForm& mainForm);

// Whether the command update enables SplitH, SplitV, MergeH or MergeV for
// the active child window; nothing for other commands.
std::optional<bool> SplitMergeEnabled(const TMainForm& mainForm, const QString& name,
                                      const TMDIChildTonbrisk* child);
