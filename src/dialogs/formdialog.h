#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "documents/fields.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Opens the help page of a topic (a command's name).
using THelpCallback = std::function<void(const QString& topic)>;

// A modal dialog laid out from a form description: an edit box or a list
// per field, radio buttons per choice, check boxes, and a radio button in
// front of each alternative of a constant/envelope or length choice. It
// edits a private copy of the record through TRecordForm; OK reads it and
// stays open on the first error with the focus on the field to correct.
class TFormDialog : public QDialog {
  Q_OBJECT

 public:
  // `wave`: the wave the dialog is for, for the checks that need it.
  TFormDialog(const TFormDesc& desc, TWaveRecord record, QWidget* parent = nullptr,
              TFormWave wave = {});
  ~TFormDialog() override;

  void SetHelp(THelpCallback help) { Help = std::move(help); }

  // After OK: the record read, with the colours picked.
  const TWaveRecord& Record() const { return Result; }
  // The dialog's own check box ("Use As Default"), if it has one.
  bool DialogChecked() const;

  // The controls, found by the field's label (for tests and accessibility
  // checks): the edit box or list of a field, the radio button in front of
  // an alternative, the radio button of a choice's option, a check box.
  QWidget* Control(const std::string& label) const;
  QRadioButton* Pick(const std::string& label) const;
  QRadioButton* Option(const std::string& label, const std::string& option) const;
  QCheckBox* CheckBox(const std::string& label) const;
  // The text shown next to a field (its label or its alternative's radio
  // button), without the access letter.
  QString Caption(const std::string& label) const;

 public slots:
  void accept() override;

 private:
  struct Controls {
    const TFieldDesc* field = nullptr;
    QLabel* label = nullptr;
    QRadioButton* pick = nullptr;  // the alternative's radio button
    QLineEdit* edit = nullptr;
    QComboBox* combo = nullptr;  // a wave list, a list of texts or a long choice
    std::vector<QRadioButton*> options;
    QCheckBox* check = nullptr;
    // Its alternative is set by the choice above it, not by a radio button.
    bool governed = false;
  };

  const Controls* Find(const std::string& label) const;
  void Build();
  int AddField(QGridLayout* grid, int row, Controls& c);
  int AddVariation(QGridLayout* grid, int row, std::size_t first);
  void AddColors(QGridLayout* grid, int& row);
  void AssignAccessLetters();
  void Set(const TFieldDesc& field, const std::string& text);
  // Shows the record's choices again after a change.
  void Refresh();

  const TFormDesc& Desc;
  TRecordForm Form;
  TWaveRecord Result;
  std::vector<Controls> Fields;
  std::vector<TColor> Colors;
  std::vector<QPushButton*> ColorButtons;
  QCheckBox* DialogCheck = nullptr;
  // The kinds of the variation rows, one column each.
  std::vector<std::string> VariationColumns;
  // The row of a choice that waits for a second one beside it.
  QHBoxLayout* ChoiceRow = nullptr;
  THelpCallback Help;
  bool Refreshing = false;
};

// Shows a form's dialog modally on `record`; true on OK with the record
// updated, false (record untouched) on Cancel. `dialogChecked` receives the
// dialog's own check box.
bool ExecuteForm(const TFormDesc& desc, TWaveRecord& record, QWidget* parent, TFormWave wave,
                 const THelpCallback& help, bool* dialogChecked = nullptr);
