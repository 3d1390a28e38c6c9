#include "units/unitvalues.h"

#include <algorithm>
#include <initializer_list>

#include "base/userinterface.h"
#include "units/readers.h"
#include "units/waveregistry.h"
#include "units/writers.h"

namespace {

constexpr int kPrecision = 7;

bool Failed(const TStringReader& reader, const std::string& name, std::string& message) {
  message = "In " + name + ": " + reader.Error;
  return false;
}

bool Shows(std::uint8_t code, std::initializer_list<std::uint8_t> codes) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool IsTimeUnit(std::uint8_t code) { return code >= kUnitSeconds && code <= kUnitKHz; }
bool IsFractionUnit(std::uint8_t code) {
  return code == kUnitNone || code == kUnitPercent || code == kUnitDegrees;
}

template <class T>
bool ReadsBack(const T& self, const std::string& text) {
  T copy(self);
  std::string message;
  return copy.ReadFromText(text, "", message) && copy == self;
}

// The written text of a real value. Values stored through a single-precision
// step (a period typed in Hz, a frequency in kHz) can sit a float step below
// the decimal that was typed, and truncation would then write the digit
// below: '7 Hz' would come back as '6.999999 Hz', which reads as another
// value. When the text does not read back to the value, the neighbouring
// texts at the same precision are tried, and the first that does is used.
template <class T>
std::string ReadableText(const T& self, double value, bool isFrequency) {
  const std::uint8_t code = self.GetDisplayUnit();
  std::string text = FormatUnit(value, code, kPrecision, true, isFrequency);
  if (ReadsBack(self, text)) return text;
  for (int steps : {1, -1}) {
    std::string neighbour = FormatUnitStep(value, code, kPrecision, true, isFrequency, steps);
    if (ReadsBack(self, neighbour)) return neighbour;
  }
  return text;
}

}  // namespace

// ---- unit -------------------------------------------------------------------

unit::~unit() = default;

void unit::Read(bool& ok, const std::string& text, const std::string& name) {
  if (!ok) return;
  std::string message;
  if (ReadFromText(text, name, message)) return;
  ShowMessage("Input Error", message, MessageIcon::Information);
  ok = false;
}

bool unit::StoreTypedUnit(const std::string& text) {
  TStringReader reader(text);
  double number = 0;
  std::uint8_t code = kUnitNone;
  if (!ReadNumberAndUnit(reader, number, code)) return false;
  displayUnit_ = code;
  return true;
}

// ---- factors ----------------------------------------------------------------

std::string unitFactor::ToText() const {
  if (!Shows(GetDisplayUnit(),
             {kUnitNone, kUnitPercent, kUnitDB, kUnitDegrees, kUnitBalanceDegrees})) {
    return "";
  }
  return ReadableText(*this, value_, false);
}

bool unitFactor::ReadFromText(const std::string& text, const std::string& name,
                              std::string& message) {
  TStringReader reader(text);
  double value = 0;
  if (!ReadFactor(reader, value, GetRestriction())) return Failed(reader, name, message);
  value_ = value;
  StoreTypedUnit(text);
  return true;
}

unitVolumeFactor::unitVolumeFactor(double value, std::uint8_t displayUnit, std::uint8_t restriction)
    : unit(displayUnit, restriction), value_(0) {
  SetValue(value);
}

void unitVolumeFactor::SetValue(double value) {
  value_ = value;
  if (value <= 0 && GetDisplayUnit() == kUnitDB) SetDisplayUnit(kUnitNone);
}

std::string unitVolumeFactor::ToText() const {
  if (!Shows(GetDisplayUnit(),
             {kUnitNone, kUnitPercent, kUnitDB, kUnitDegrees, kUnitBalanceDegrees})) {
    return "";
  }
  return ReadableText(*this, value_, false);
}

bool unitVolumeFactor::ReadFromText(const std::string& text, const std::string& name,
                                    std::string& message) {
  // The restriction this class may carry is not applied: see the class.
  TStringReader reader(text);
  double value = 0;
  if (!ReadVolumeFactor(reader, value)) return Failed(reader, name, message);
  StoreTypedUnit(text);
  // A decibel count low enough to underflow gives 0, which dB cannot show.
  SetValue(value);
  return true;
}

// ---- angles -----------------------------------------------------------------

std::string unitAngleFactor::ToText() const {
  if (!Shows(GetDisplayUnit(), {kUnitNone, kUnitPercent, kUnitDegrees})) return "";
  return ReadableText(*this, value_, false);
}

bool unitAngleFactor::ReadFromText(const std::string& text, const std::string& name,
                                   std::string& message) {
  TStringReader reader(text);
  double value = 0;
  if (!ReadAngle(reader, value)) return Failed(reader, name, message);
  value_ = value;
  StoreTypedUnit(text);
  return true;
}

std::string unitBalAngleFactor::ToText() const {
  if (!Shows(GetDisplayUnit(), {kUnitNone, kUnitPercent, kUnitBalanceDegrees})) return "";
  return ReadableText(*this, value_, false);
}

bool unitBalAngleFactor::ReadFromText(const std::string& text, const std::string& name,
                                      std::string& message) {
  TStringReader reader(text);
  double value = 0;
  if (!ReadBalanceAngle(reader, value)) return Failed(reader, name, message);
  value_ = value;
  StoreTypedUnit(text);
  // Degrees of a balance are quarter turns, not whole ones.
  if (GetDisplayUnit() == kUnitDegrees) SetDisplayUnit(kUnitBalanceDegrees);
  return true;
}

// ---- integers ---------------------------------------------------------------

std::string unitInteger::ToText() const {
  if (GetDisplayUnit() != kUnitNone) return "";
  return FormatNumber(value_, 1, 0, 0);
}

// The display unit is not taken from the text: an integer shows no unit, and
// '12abc' or '12 %' would otherwise leave a unit under which 12 shows as
// nothing.
bool unitInteger::ReadFromText(const std::string& text, const std::string& name,
                               std::string& message) {
  TStringReader reader(text);
  std::int32_t value = 0;
  if (!ReadInteger(reader, value, GetRestriction())) return Failed(reader, name, message);
  value_ = value;
  return true;
}

bool unitIntegerMoreUser::ReadFromText(const std::string& text, const std::string& name,
                                       std::string& message) {
  TStringReader reader(text);
  std::int32_t value = 0;
  if (!ReadIntegerCompare(reader, value, GetRestriction(), limit_)) {
    return Failed(reader, name, message);
  }
  StoreValue(value);
  return true;
}

// ---- times and frequencies --------------------------------------------------

std::string unitTime::ToText() const {
  if (!IsTimeUnit(GetDisplayUnit())) return "";
  return ReadableText(*this, value_, false);
}

bool unitTime::ReadFromText(const std::string& text, const std::string& name,
                            std::string& message) {
  TStringReader reader(text);
  double value = 0;
  if (!ReadTime(reader, value, GetRestriction())) return Failed(reader, name, message);
  value_ = value;
  StoreTypedUnit(text);
  return true;
}

std::string unitFreq::ToText() const {
  if (!IsTimeUnit(GetDisplayUnit())) return "";
  return ReadableText(*this, value_, true);
}

bool unitFreq::ReadFromText(const std::string& text, const std::string& name,
                            std::string& message) {
  TStringReader reader(text);
  double value = 0;
  if (!ReadFrequency(reader, value, GetRestriction())) return Failed(reader, name, message);
  value_ = value;
  StoreTypedUnit(text);
  return true;
}

// ---- sample values ----------------------------------------------------------

std::string unitWaveVal::ToText() const { return FormatWaveValue(value_, GetDisplayUnit()); }

bool unitWaveVal::ReadFromText(const std::string& text, const std::string& name,
                               std::string& message) {
  TStringReader reader(text);
  std::int16_t value = 0;
  if (!ReadWaveValue(reader, value, GetRestriction())) return Failed(reader, name, message);
  value_ = value;
  StoreTypedUnit(text);
  return true;
}

// ---- positions in a wave ----------------------------------------------------

unitWavePosition::unitWavePosition(double position, std::uint8_t displayUnit, double length)
    : unit(displayUnit, kRestrictNone),
      position_(position),
      length_(length),
      asFraction_(!IsTimeUnit(displayUnit)) {}

double unitWavePosition::GetValue() const {
  if (asFraction_) return position_ * length_;
  return position_ < 0 ? length_ + position_ : position_;
}

void unitWavePosition::SetValue(double seconds) {
  if (asFraction_) {
    position_ = length_ > 0 ? seconds / length_ : 0;
  } else {
    position_ = seconds;
  }
}

bool unitWavePosition::IsFromEnd() const { return !asFraction_ && position_ < 0; }

std::string unitWavePosition::ToText() const {
  const std::uint8_t code = GetDisplayUnit();
  if (asFraction_ ? !IsFractionUnit(code) : !IsTimeUnit(code)) return "";
  return ReadableText(*this, position_, false);
}

bool unitWavePosition::ReadFromText(const std::string& text, const std::string& name,
                                    std::string& message) {
  TStringReader timeReader(text);
  double seconds = 0;
  if (ReadTime(timeReader, seconds, kRestrictNone)) {
    if (seconds >= length_) {
      message = "In " + name + ": " + "Position must be before the end of the wave";
      return false;
    }
    if (seconds < -length_) {
      message = "In " + name + ": " + "Position must be not before the start of the previous wave";
      return false;
    }
    position_ = seconds;
    asFraction_ = false;
    // A note name has no unit of its own; a position read as one shows in
    // seconds rather than under a fraction's unit.
    if (!StoreTypedUnit(text) && !IsTimeUnit(GetDisplayUnit())) SetDisplayUnit(kUnitSeconds);
    return true;
  }
  // A text in a time unit (or a note) that failed keeps the time's reason;
  // anything else may still be a fraction of the wave.
  double number = 0;
  std::uint8_t code = kUnitNone;
  TStringReader probe(text);
  if (StartsWithNote(probe) || (ReadNumberAndUnit(probe, number, code) && IsTimeUnit(code))) {
    return Failed(timeReader, name, message);
  }
  TStringReader angleReader(text);
  double fraction = 0;
  if (!ReadAngle(angleReader, fraction)) return Failed(angleReader, name, message);
  position_ = fraction;
  asFraction_ = true;
  StoreTypedUnit(text);
  return true;
}

// ---- wave documents ---------------------------------------------------------

bool unitUnitWave::ReadFromText(const std::string& text, const std::string& name,
                                std::string& message) {
  if (text.empty()) {
    name_.clear();
    message = "In " + name + ": " + "You have to select a Wave";
    return false;
  }
  name_ = text;
  return true;
}

std::optional<TRegisteredWave> unitUnitWave::GetWave() const {
  if (name_.empty()) return std::nullopt;
  return Waves().FindWave(name_);
}

int unitUnitWave::IndexIn(const std::vector<std::string>& names) const {
  const auto found = std::find(names.begin(), names.end(), name_);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}
