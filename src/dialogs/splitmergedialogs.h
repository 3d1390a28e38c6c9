#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "documents/splitmerge.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QListWidget;
class QTabWidget;
class TUnitWave;

// "Split Horizontally": how a selection cuts the wave (radio group
// "Result"). Edits `props` when the user confirms.
bool EditSplitHorProps(QWidget* parent, TDlgSplitHorProps& props);

// A wave window the merge dialogs offer: its document, the text the lists
// show and whether it shows the wave view (false: the volume view).
struct TMergeCandidate {
  TUnitWave* Unit = nullptr;
  QString Caption;
  bool WaveView = true;
};

// "Merge Horizontally" (lists "First" and "Last") and "Merge Vertically"
// (lists "Left" and "Right"). Below the lists, a tab page per property shows
// the values of both chosen waves next to the choice for the new wave; a
// page whose property both waves share is hidden, and the shared value is
// what the merge then takes. OK refuses an empty or a repeated choice and
// stays open.
class TDlgMerge : public QDialog {
  Q_OBJECT

 public:
  // `active`: the index of the candidate the first list starts on.
  TDlgMerge(bool vertical, std::vector<TMergeCandidate> candidates, int active, QWidget* parent);

  void SetHorProps(const TMergeHorProps& props);
  void SetVertProps(const TMergeVertProps& props);
  // After OK: the choice, with the shared values of hidden pages.
  TMergeHorProps HorProps() const;
  TMergeVertProps VertProps() const;
  // The chosen documents (null: nothing chosen in that list).
  TUnitWave* One() const;
  TUnitWave* Other() const;

  // For tests: the lists, the tab pages by title and the choice groups.
  QListWidget* OneList() const { return Lists[0]; }
  QListWidget* OtherList() const { return Lists[1]; }
  bool PageVisible(const QString& title) const;

 public slots:
  void accept() override;

 private:
  void ShowValues();
  const TMergeCandidate* Chosen(int list) const;
  QWidget* AddPage(const QString& title, const QString& group, const QStringList& options,
                   QLabel*& values, QButtonGroup*& choice);

  bool Vertical;
  std::vector<TMergeCandidate> Candidates;
  QListWidget* Lists[2] = {};
  QTabWidget* Tabs = nullptr;
  QLabel* ChannelValues = nullptr;
  QLabel* LengthValues = nullptr;
  QLabel* FrequencyValues = nullptr;
  QLabel* BitsValues = nullptr;
  QLabel* DisplayValues = nullptr;
  QButtonGroup* Channels = nullptr;
  QButtonGroup* Lengths = nullptr;
  QButtonGroup* Bits = nullptr;
  QButtonGroup* Display = nullptr;
  QComboBox* Frequency = nullptr;
};
