#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "documents/commands.h"
#include "documents/props.h"

// What each command's dialog shows and reads, as data: one description per
// parameter record with its fields in reading order. The desktop dialogs lay
// these fields out; tonbrisk-cli sets them from LABEL=VALUE arguments. Both
// read them through TRecordForm, so both report the same "In <label>: ..."
// messages in the same order.

enum class TFieldKind : std::uint8_t {
  Edit,      // an edit box holding a unit value's text
  WaveList,  // a drop-down list of the open waves' registered names
  Choice,    // radio buttons: one option of several
  Check,     // a check box
};

struct TFieldDesc {
  TFieldDesc(TFieldKind kind, std::string label, std::string unitClass = "",
             std::vector<std::string> options = {})
      : kind(kind),
        label(std::move(label)),
        unitClass(std::move(unitClass)),
        options(std::move(options)) {}

  TFieldKind kind;
  // The label of the "In <label>: ..." messages; for a choice, its caption.
  std::string label;
  // What the dialog shows instead of the label, where the two differ (the
  // frame of a choice whose label the command line knows shorter).
  std::string caption;
  // The unit value class an edit field reads with ("unitTimePosMore").
  std::string unitClass;
  // The option texts of a choice. An edit field with options is a list of
  // these texts to pick from.
  std::vector<std::string> options;
  // Short spellings of the options the command line also takes ("1" for
  // "Mono"); empty where the texts are short enough. For an edit field with
  // options: the text each option stands for ("44100" for "44 kHz").
  std::vector<std::string> optionKeys;
  // Whether the field is one entry of the multi-frequency list: its label
  // then takes an index, 1 for the first frequency.
  bool perFrequency = false;

  // The unit value of an Edit or WaveList field (`index`: the frequency).
  std::function<unit&(TWaveRecord&, std::size_t index)> value;
  // An Edit field whose record member is a plain number: a unit value made
  // from it, and the store of a value read back. Used where `value` is empty.
  std::function<std::unique_ptr<unit>(const TWaveRecord&)> copyValue;
  std::function<void(TWaveRecord&, const unit&)> storeValue;
  // The option index of a Choice, 0 or 1 of a Check.
  std::function<int(const TWaveRecord&)> getChoice;
  std::function<void(TWaveRecord&, int)> setChoice;
  // Whether the field is read: the alternative it belongs to is chosen.
  // Empty: always.
  std::function<bool(const TWaveRecord&)> active;
  // Makes the field's alternative the chosen one. Empty: nothing to choose.
  std::function<void(TWaveRecord&)> choose;
  // Brings the record up to date before the field is read (a position
  // inside a length read by an earlier field). Empty: nothing to do.
  std::function<void(TWaveRecord&)> prepare;
  // A choice that only fills other fields (the examples of Mix Left Right):
  // called with the option chosen, it returns the texts of those fields by
  // label.
  std::function<std::vector<std::pair<std::string, std::string>>(int)> fills;
};

// A colour of a view's settings: a dialog picks it, nothing reads it.
struct TColorDesc {
  std::string label;
  std::function<TColor&(TWaveRecord&)> value;
};

// The wave a form is for, for the checks that need it; 0: not known.
struct TFormWave {
  std::int32_t frequency = 0;  // sample frequency
  std::int32_t values = 0;     // length in values
};

// What a further check found wrong: the message, and the label of the field
// to correct.
struct TFormProblem {
  std::string label;
  std::string message;
};

struct TFormDesc {
  // The command whose record the form edits; none for the view settings.
  std::optional<TWaveCommand> command;
  std::string caption;
  std::vector<TFieldDesc> fields;
  // The help context number, and the topic of its help page.
  int helpContext = 0;
  std::string helpTopic;
  // Checks after every field has been read: a problem, or nothing. It may
  // bring a value read into range. The checks that need to know the wave
  // are skipped where `wave` does not tell.
  std::function<std::optional<TFormProblem>(TWaveRecord&, const TFormWave& wave)> check;
  // The colours of the view settings, in the order a dialog shows them.
  std::vector<TColorDesc> colors;
  // A check box of the dialog, not of the record, unchecked when shown
  // ("Use As Default"); empty when the dialog has none.
  std::string dialogCheck;
};

// The form of a command with a dialog (from its row of the command table);
// null for commands without one.
const TFormDesc* FindForm(TWaveCommand command);

// The forms of the view settings ("Wave View", "Volume Diagram").
const TFormDesc& WaveViewForm();
const TFormDesc& VoldViewForm();

// The field a label names: exact or ignoring case and surrounding spaces.
// Null when there is none.
const TFieldDesc* FindField(const TFormDesc& desc, const std::string& label);

// An open dialog: a private copy of the record and the texts of its edit
// fields as the user left them. Nothing reaches the record until Read
// succeeds.
class TRecordForm {
 public:
  TRecordForm(const TFormDesc& desc, TWaveRecord record);

  const TFormDesc& Desc() const { return desc_; }
  const TWaveRecord& Record() const { return record_; }

  const TFieldDesc* FindField(const std::string& label) const { return ::FindField(desc_, label); }

  // Sets a field as the user would: the text of an edit field or the name
  // chosen in a wave list (which also chooses its alternative), the option
  // of a choice by its text (case ignored), a check box by "1"/"0",
  // "yes"/"no", "on"/"off" or "true"/"false". Returns false with a
  // description in `error` when the label or the option does not exist.
  bool Set(const std::string& label, std::size_t index, const std::string& text,
           std::string& error);

  // The text a field shows now.
  std::string Text(const TFieldDesc& field, std::size_t index = 0) const;

  // The wave the form is for, for the further checks that need it.
  void SetWave(const TFormWave& wave) { wave_ = wave; }

  // Reads every chosen field in order with its unit value's Read, then the
  // form's further checks; the first problem shows its "Input Error" and
  // stops the reading. On success the record holds the values read.
  bool Read();
  // After a failed Read: the field to correct (null when none is named) and
  // its frequency index.
  const TFieldDesc* FailedField() const { return failedField_; }
  std::size_t FailedIndex() const { return failedIndex_; }

 private:
  std::string& TextOf(const TFieldDesc& field, std::size_t index);
  // Reads field `i` (of frequency `index`) if its alternative is chosen.
  void ReadField(bool& ok, std::size_t i, std::size_t index);
  std::size_t FrequencyCount() const;

  const TFormDesc& desc_;
  TWaveRecord record_;
  // Texts of the edit and wave fields, by field and frequency index.
  std::vector<std::vector<std::string>> texts_;
  TFormWave wave_;
  const TFieldDesc* failedField_ = nullptr;
  std::size_t failedIndex_ = 0;
};
