// The form engine: an open dialog's texts, read field by field with the
// unit values' readers.
#include "documents/fields.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "base/userinterface.h"
#include "documents/formtable.h"
#include "units/waveregistry.h"

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

int ParseCheck(const std::string& text) {
  static const std::map<std::string, int> kWords{{"1", 1},  {"0", 0},   {"yes", 1},  {"no", 0},
                                                 {"on", 1}, {"off", 0}, {"true", 1}, {"false", 0}};
  std::string lower = Trimmed(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const auto found = kWords.find(lower);
  return found == kWords.end() ? -1 : found->second;
}

}  // namespace

const TFormDesc* FindForm(TWaveCommand command) {
  // Built once from the rows of the command table.
  static const std::vector<TFormDesc> forms = [] {
    std::vector<TFormDesc> all;
    for (TWaveCommand c : AllWaveCommands()) {
      const TWaveCommandRow& row = WaveCommandRow(c);
      TFormDesc& form = all.emplace_back();
      form.command = c;
      if (row.Fields == nullptr) continue;
      form.caption = row.Caption;
      form.fields = row.Fields();
      CompleteForm(form);
    }
    return all;
  }();
  const TFormDesc& form = forms[static_cast<std::size_t>(command)];
  return WaveCommandRow(command).Fields != nullptr ? &form : nullptr;
}

const TFormDesc& WaveViewForm() {
  static const TFormDesc form = MakeWaveViewForm();
  return form;
}

const TFormDesc& VoldViewForm() {
  static const TFormDesc form = MakeVoldViewForm();
  return form;
}

TRecordForm::TRecordForm(const TFormDesc& desc, TWaveRecord record)
    : desc_(desc), record_(std::move(record)), texts_(desc.fields.size()) {
  // Showing the dialog: every edit box holds its value's text.
  for (std::size_t i = 0; i < desc_.fields.size(); ++i) {
    const TFieldDesc& field = desc_.fields[i];
    if (field.copyValue) texts_[i].push_back(field.copyValue(record_)->ToText());
    if (!field.value) continue;
    const std::size_t count = field.perFrequency ? FrequencyCount() : 1;
    for (std::size_t k = 0; k < count; ++k) texts_[i].push_back(field.value(record_, k).ToText());
  }
}

std::size_t TRecordForm::FrequencyCount() const {
  const auto* mfreq = std::get_if<TMFreqProps>(&record_);
  return mfreq != nullptr ? mfreq->Freqs.size() : 0;
}

const TFieldDesc* FindField(const TFormDesc& desc, const std::string& label) {
  for (const TFieldDesc& field : desc.fields) {
    if (field.label == label) return &field;
  }
  const std::string wanted = Trimmed(label);
  for (const TFieldDesc& field : desc.fields) {
    if (SameIgnoringCase(Trimmed(field.label), wanted)) return &field;
  }
  return nullptr;
}

std::string& TRecordForm::TextOf(const TFieldDesc& field, std::size_t index) {
  return texts_[static_cast<std::size_t>(&field - desc_.fields.data())][index];
}

std::string TRecordForm::Text(const TFieldDesc& field, std::size_t index) const {
  if (field.kind == TFieldKind::Choice || field.kind == TFieldKind::Check) {
    if (!field.getChoice) return "";
    const int option = field.getChoice(record_);
    if (field.kind == TFieldKind::Check) return option != 0 ? "yes" : "no";
    return field.options[static_cast<std::size_t>(option)];
  }
  return texts_[static_cast<std::size_t>(&field - desc_.fields.data())][index];
}

bool TRecordForm::Set(const std::string& label, std::size_t index, const std::string& text,
                      std::string& error) {
  const TFieldDesc* field = FindField(label);
  if (field == nullptr) {
    error = "\"" + label + "\" is not a field of \"" + desc_.caption + "\"";
    return false;
  }
  if (field->perFrequency) {
    // Frequencies are numbered from 1; the one after the last appends one.
    const std::size_t count = FrequencyCount();
    if (index < 1 || index > count + 1) {
      error = "\"" + field->label + "\" takes a frequency number from 1 to " +
              std::to_string(count + 1);
      return false;
    }
    if (index == count + 1) {
      std::get<TMFreqProps>(record_).Freqs.emplace_back();
      for (std::size_t i = 0; i < desc_.fields.size(); ++i) {
        if (desc_.fields[i].perFrequency) {
          texts_[i].push_back(desc_.fields[i].value(record_, count).ToText());
        }
      }
    }
    TextOf(*field, index - 1) = text;
    return true;
  }
  if (index != 0) {
    error = "\"" + field->label + "\" takes no index";
    return false;
  }
  switch (field->kind) {
    case TFieldKind::Edit:
    case TFieldKind::WaveList:
      TextOf(*field, 0) = text;
      if (field->choose) field->choose(record_);
      return true;
    case TFieldKind::Check: {
      const int value = ParseCheck(text);
      if (value < 0) {
        error = "\"" + field->label + "\" is a check box: use yes or no";
        return false;
      }
      field->setChoice(record_, value);
      return true;
    }
    case TFieldKind::Choice:
      for (std::size_t option = 0; option < field->options.size(); ++option) {
        const bool byKey = option < field->optionKeys.size() &&
                           SameIgnoringCase(field->optionKeys[option], Trimmed(text));
        if (!byKey && !SameIgnoringCase(field->options[option], Trimmed(text))) continue;
        if (field->fills) {
          for (const auto& [target, value] : field->fills(static_cast<int>(option))) {
            if (!Set(target, 0, value, error)) return false;
          }
        } else {
          field->setChoice(record_, static_cast<int>(option));
        }
        return true;
      }
      error = "\"" + text + "\" is not an option of \"" + field->label + "\"";
      return false;
  }
  return false;
}

void TRecordForm::ReadField(bool& ok, std::size_t i, std::size_t index) {
  const TFieldDesc& field = desc_.fields[i];
  if (!(field.value || field.copyValue) || (field.active && !field.active(record_))) return;
  if (field.prepare) field.prepare(record_);
  std::string text = texts_[i][index];
  if (field.kind == TFieldKind::WaveList) {
    // The list holds only the open waves' names: another name is nothing
    // selected.
    const std::vector<std::string> names = Waves().WaveNames();
    if (std::find(names.begin(), names.end(), text) == names.end()) text.clear();
  }
  if (field.value) {
    field.value(record_, index).Read(ok, text, field.label);
  } else {
    const std::unique_ptr<unit> value = field.copyValue(record_);
    value->Read(ok, text, field.label);
    if (ok) field.storeValue(record_, *value);
  }
  if (!ok) {
    failedField_ = &field;
    failedIndex_ = index;
  }
}

bool TRecordForm::Read() {
  bool ok = true;
  failedField_ = nullptr;
  failedIndex_ = 0;
  for (std::size_t i = 0; i < desc_.fields.size() && ok; ++i) {
    if (!desc_.fields[i].perFrequency) {
      ReadField(ok, i, 0);
      continue;
    }
    // The frequency records are stored one after the other, each with all
    // its fields, as the record browser stores them.
    std::size_t last = i;
    while (last + 1 < desc_.fields.size() && desc_.fields[last + 1].perFrequency) ++last;
    for (std::size_t k = 0; k < FrequencyCount() && ok; ++k) {
      for (std::size_t j = i; j <= last && ok; ++j) ReadField(ok, j, k);
    }
    i = last;
  }
  if (ok && desc_.check) {
    if (const std::optional<TFormProblem> problem = desc_.check(record_, wave_)) {
      ShowMessage("Input Error", problem->message, MessageIcon::Information);
      failedField_ = FindField(problem->label);
      ok = false;
    }
  }
  return ok;
}
