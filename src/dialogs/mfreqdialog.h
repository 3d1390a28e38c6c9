#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "documents/fields.h"
#include "documents/props.h"
#include "documents/recordbrowser.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDlgMFreqProps;

// The frequencies of the "Multi Frequency" dialog, browsed one at a time in
// the dialog's five per-frequency fields.
class TMFreqRecordBrowser : public TRecordBrowser {
 public:
  explicit TMFreqRecordBrowser(const std::vector<TMFreqRecord>& freqs);

  // The list after the dialog closed.
  std::vector<TMFreqRecord> Freqs();

 protected:
  void Disconnect() override { Dialog = nullptr; }
  void DisconnectCancel() override { Dialog = nullptr; }
  void Connect(TBrowserControls& controls) override;
  std::unique_ptr<TBrowseRecord> ReadControls() override;
  void WriteControls(const TBrowseRecord& record) override;
  void PrepareInsert() override;
  std::unique_ptr<TBrowseRecord> NewRecord() override;
  void UpdateNavigation(int count, int cursor, bool canPrevious, bool canNext, bool canDelete,
                        bool canPaste) override;

 private:
  TDlgMFreqProps* Dialog = nullptr;
};

// "Multi Frequency": the length, the source of the wave form and the list of
// frequencies with the buttons that move through it. Each per-frequency
// field has a "Default" box: a ticked field keeps its text for a new
// frequency, the others are emptied. The ticks last while the program runs.
class TDlgMFreqProps : public QDialog, public TBrowserControls {
  Q_OBJECT

 public:
  static constexpr std::size_t kFieldCount = 5;

  TDlgMFreqProps(const TMFreqProps& props, QWidget* parent = nullptr);
  ~TDlgMFreqProps() override;

  void SetHelp(std::function<void(const QString& topic)> help) { Help = std::move(help); }
  // After OK: the record read.
  const TMFreqProps& Props() const { return Result; }

  // The per-frequency fields in reading order, with their edit boxes and
  // "Default" boxes.
  const TFieldDesc& FrequencyField(std::size_t i) const { return *FreqFields[i]; }
  QLineEdit* FrequencyEdit(std::size_t i) const { return FreqEdits[i]; }
  QCheckBox* DefaultBox(std::size_t i) const { return DefaultBoxes[i]; }
  QLineEdit* LengthEdit() const { return Length; }
  QComboBox* WaveFormList() const { return WaveForm; }
  QRadioButton* WaveFormPick() const { return UseForm; }
  // A button by its caption without the access letter ("Next").
  QPushButton* Button(const QString& caption) const;
  // What "Cursor" and "Count" show.
  QString CursorText() const;
  QString CountText() const;

  void ShowNavigation(int count, int cursor, bool canPrevious, bool canNext, bool canDelete,
                      bool canPaste);

 public slots:
  void accept() override;
  void reject() override;

 private:
  void Build(const TMFreqProps& props);

  const TFormDesc& Desc;
  std::array<const TFieldDesc*, kFieldCount> FreqFields{};
  std::array<QLineEdit*, kFieldCount> FreqEdits{};
  std::array<QCheckBox*, kFieldCount> DefaultBoxes{};
  QLineEdit* Length = nullptr;
  QRadioButton* UseSine = nullptr;
  QRadioButton* UseForm = nullptr;
  QComboBox* WaveForm = nullptr;
  QLabel* Cursor = nullptr;
  QLabel* Count = nullptr;
  std::vector<QPushButton*> Buttons;
  std::function<void(const QString&)> Help;
  TMFreqProps Result;
  std::unique_ptr<TMFreqRecordBrowser> Browser;
};

// Shows "Multi Frequency" modally on `props`; true on OK with `props`
// updated, false (untouched) on Cancel.
bool ExecuteMFreqDialog(QWidget* parent, TMFreqProps& props,
                        const std::function<void(const QString& topic)>& help);
