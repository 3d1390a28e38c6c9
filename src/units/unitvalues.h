#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "units/unitcodes.h"
#include "units/waveregistry.h"

// Unit values: one numeric parameter of a dialog, a parameter record or a
// music file. Each reads itself from text with its reader, remembers the
// unit the user typed (the display unit) and writes itself back in that
// unit. Reading stops at the first bad field of a dialog: every field is
// read with Read(ok, ...) and one `ok` flag that starts true.

class unit {
 public:
  virtual ~unit();

  // The value as text in the display unit; empty when the class cannot show
  // that unit.
  virtual std::string ToText() const = 0;

  // Nothing when `ok` is already false. Otherwise reads `text`; a failure
  // is shown in an "Input Error" box and clears `ok`.
  virtual void Read(bool& ok, const std::string& text, const std::string& name);

  // Reads `text`; on success stores the value and the unit typed. On
  // failure the value and display unit stay as they were and `message` is
  // "In <name>: <reason>".
  virtual bool ReadFromText(const std::string& text, const std::string& name,
                            std::string& message) = 0;

  std::uint8_t GetDisplayUnit() const { return displayUnit_; }
  void SetDisplayUnit(std::uint8_t code) { displayUnit_ = code; }
  std::uint8_t GetRestriction() const { return restriction_; }

  bool operator==(const unit&) const = default;

 protected:
  unit(std::uint8_t displayUnit, std::uint8_t restriction)
      : displayUnit_(displayUnit), restriction_(restriction) {}
  unit(const unit&) = default;
  unit& operator=(const unit&) = default;

  // Stores the unit `text` was typed in; a note name has no number and
  // leaves the display unit as it is. Returns whether it stored one.
  bool StoreTypedUnit(const std::string& text);

 private:
  std::uint8_t displayUnit_;
  std::uint8_t restriction_;
};

// A real factor, typed plain or in %. Shown in units 0, 1, 2, 8 and 9.
class unitFactor : public unit {
 public:
  explicit unitFactor(double value = 0, std::uint8_t displayUnit = kUnitNone)
      : unitFactor(value, displayUnit, kRestrictNone) {}
  std::string ToText() const override;
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;
  double GetValue() const { return value_; }
  void SetValue(double value) { value_ = value; }
  bool operator==(const unitFactor&) const = default;

 protected:
  unitFactor(double value, std::uint8_t displayUnit, std::uint8_t restriction)
      : unit(displayUnit, restriction), value_(value) {}

 private:
  double value_;
};

// >= 0
class unitFactorPos : public unitFactor {
 public:
  explicit unitFactorPos(double value = 0, std::uint8_t displayUnit = kUnitNone)
      : unitFactor(value, displayUnit, kRestrictPositive) {}
};

// != 0
class unitFactorNotNul : public unitFactor {
 public:
  explicit unitFactorNotNul(double value = 1, std::uint8_t displayUnit = kUnitNone)
      : unitFactor(value, displayUnit, kRestrictNotZero) {}
};

// > 0
class unitFactorPosMore : public unitFactor {
 public:
  explicit unitFactorPosMore(double value = 1, std::uint8_t displayUnit = kUnitNone)
      : unitFactor(value, displayUnit, kRestrictPositiveMore) {}
};

// 0 ... 1
class unitFactorPosMax1 : public unitFactor {
 public:
  explicit unitFactorPosMax1(double value = 0, std::uint8_t displayUnit = kUnitNone)
      : unitFactor(value, displayUnit, kRestrictMax1) {}
};

// A factor typed plain, in % or in dB. A value <= 0 cannot be shown in dB,
// so storing one while the display unit is dB switches it to none.
class unitVolumeFactor : public unit {
 public:
  explicit unitVolumeFactor(double value = 1, std::uint8_t displayUnit = kUnitNone)
      : unitVolumeFactor(value, displayUnit, kRestrictNone) {}
  std::string ToText() const override;
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;
  double GetValue() const { return value_; }
  void SetValue(double value);
  bool operator==(const unitVolumeFactor&) const = default;

 protected:
  unitVolumeFactor(double value, std::uint8_t displayUnit, std::uint8_t restriction);

 private:
  double value_;
};

// Carries the restriction 0 < value < 1 for callers that want to check it,
// but reads any volume factor: fields of this class have always accepted
// every factor.
class unitVolumeFactorPosMoreLess1 : public unitVolumeFactor {
 public:
  explicit unitVolumeFactorPosMoreLess1(double value = 0.5, std::uint8_t displayUnit = kUnitNone)
      : unitVolumeFactor(value, displayUnit, kRestrictBetween01) {}
};

// A phase: a fraction of a full turn in 0 ... < 1, typed as a factor in
// -1 ... < 1 or in degrees. Shown in units 0, 1 and 8 (degrees show turns
// from one half on as negative angles).
class unitAngleFactor : public unit {
 public:
  explicit unitAngleFactor(double value = 0, std::uint8_t displayUnit = kUnitNone)
      : unit(displayUnit, kRestrictNone), value_(value) {}
  std::string ToText() const override;
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;
  double GetValue() const { return value_; }
  void SetValue(double value) { value_ = value; }
  bool operator==(const unitAngleFactor&) const = default;

 private:
  double value_;
};

// A direction in -1 ... 1, typed as a factor or in degrees -90 ... 90.
// Shown in units 0, 1 and 9 (degrees of a balance angle).
class unitBalAngleFactor : public unit {
 public:
  explicit unitBalAngleFactor(double value = 0, std::uint8_t displayUnit = kUnitNone)
      : unit(displayUnit, kRestrictNone), value_(value) {}
  std::string ToText() const override;
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;
  double GetValue() const { return value_; }
  void SetValue(double value) { value_ = value; }
  bool operator==(const unitBalAngleFactor&) const = default;

 private:
  double value_;
};

// A 32-bit integer, shown without a unit. Text after the digits is ignored
// ('12abc' reads 12) and does not change how the value is shown.
class unitInteger : public unit {
 public:
  explicit unitInteger(std::int32_t value = 0) : unitInteger(value, kRestrictNone) {}
  std::string ToText() const override;
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;
  std::int32_t GetValue() const { return value_; }
  void SetValue(std::int32_t value) { value_ = value; }
  bool operator==(const unitInteger&) const = default;

 protected:
  unitInteger(std::int32_t value, std::uint8_t restriction)
      : unit(kUnitNone, restriction), value_(value) {}
  void StoreValue(std::int32_t value) { value_ = value; }

 private:
  std::int32_t value_;
};

// >= 0
class unitIntegerPos : public unitInteger {
 public:
  explicit unitIntegerPos(std::int32_t value = 0) : unitInteger(value, kRestrictPositive) {}
};

// > 0
class unitIntegerPosMore : public unitInteger {
 public:
  explicit unitIntegerPosMore(std::int32_t value = 1) : unitInteger(value, kRestrictPositiveMore) {}
};

// An integer that must be more than a limit set by the user of the field.
// The restriction field holds the comparison code (more than).
class unitIntegerMoreUser : public unitInteger {
 public:
  explicit unitIntegerMoreUser(std::int32_t value = 1, std::int32_t limit = 0)
      : unitInteger(value, kCompareMore), limit_(limit) {}
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;
  std::int32_t GetLimit() const { return limit_; }
  void SetLimit(std::int32_t limit) { limit_ = limit; }
  bool operator==(const unitIntegerMoreUser&) const = default;

 private:
  std::int32_t limit_;
};

// Seconds, typed in s or ms, or as a frequency in Hz or kHz (stored as its
// period), or as a note name. Shown in units 3 ... 6.
class unitTime : public unit {
 public:
  explicit unitTime(double seconds = 0, std::uint8_t displayUnit = kUnitSeconds)
      : unitTime(seconds, displayUnit, kRestrictNone) {}
  std::string ToText() const override;
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;
  double GetValue() const { return value_; }
  void SetValue(double seconds) { value_ = seconds; }
  bool operator==(const unitTime&) const = default;

 protected:
  unitTime(double seconds, std::uint8_t displayUnit, std::uint8_t restriction)
      : unit(displayUnit, restriction), value_(seconds) {}

 private:
  double value_;
};

// >= 0
class unitTimePos : public unitTime {
 public:
  explicit unitTimePos(double seconds = 0, std::uint8_t displayUnit = kUnitSeconds)
      : unitTime(seconds, displayUnit, kRestrictPositive) {}
};

// > 0
class unitTimePosMore : public unitTime {
 public:
  explicit unitTimePosMore(double seconds = 1, std::uint8_t displayUnit = kUnitSeconds)
      : unitTime(seconds, displayUnit, kRestrictPositiveMore) {}
};

// Hertz, typed in Hz or kHz, as a period in s or ms, or as a note name.
// Shown in units 3 ... 6.
class unitFreq : public unit {
 public:
  explicit unitFreq(double hertz = 0, std::uint8_t displayUnit = kUnitHz)
      : unit(displayUnit, kRestrictNone), value_(hertz) {}
  std::string ToText() const override;
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;
  double GetValue() const { return value_; }
  void SetValue(double hertz) { value_ = hertz; }
  bool operator==(const unitFreq&) const = default;

 private:
  double value_;
};

// A 16-bit sample value, typed as a fraction of full scale, in % or raw
// with "$". Shown in units 0, 1 and 7.
class unitWaveVal : public unit {
 public:
  explicit unitWaveVal(std::int16_t sample = 0, std::uint8_t displayUnit = kUnitNone)
      : unitWaveVal(sample, displayUnit, kRestrictNone) {}
  std::string ToText() const override;
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;
  std::int16_t GetValue() const { return value_; }
  void SetValue(std::int16_t sample) { value_ = sample; }
  bool operator==(const unitWaveVal&) const = default;

 protected:
  unitWaveVal(std::int16_t sample, std::uint8_t displayUnit, std::uint8_t restriction)
      : unit(displayUnit, restriction), value_(sample) {}

 private:
  std::int16_t value_;
};

// > 0
class unitWaveValPosMore : public unitWaveVal {
 public:
  explicit unitWaveValPosMore(std::int16_t sample = 1, std::uint8_t displayUnit = kUnitNone)
      : unitWaveVal(sample, displayUnit, kRestrictPositiveMore) {}
};

// A position inside a wave of `length` seconds. Typed as a time (a negative
// time counts from the end) or as a fraction of the wave (the angle reader:
// plain, % or degrees). The position keeps the form it was typed in, so a
// new length keeps '50 %' at the middle and '-1 s' one second before the
// end; the display unit tells the form: 0, 1, 8 fractions, 3 ... 6 times.
class unitWavePosition : public unit {
 public:
  // `position` is a fraction of the wave for the display units 0, 1 and 8,
  // and seconds (negative: from the end) for 3 ... 6.
  explicit unitWavePosition(double position = 0, std::uint8_t displayUnit = kUnitPercent,
                            double length = 0);
  std::string ToText() const override;
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;

  // Seconds from the start of the wave.
  double GetValue() const;
  // Sets seconds from the start, keeping the form (a fraction stays one).
  void SetValue(double seconds);
  bool IsFromEnd() const;
  double GetLength() const { return length_; }
  void SetLength(double seconds) { length_ = seconds; }
  bool operator==(const unitWavePosition&) const = default;

 private:
  double position_;
  double length_;
  bool asFraction_;
};

// The registered name of an open wave document, chosen from a list of the
// names (the registry's WaveNames). Empty text means nothing was chosen.
class unitUnitWave : public unit {
 public:
  unitUnitWave() : unitUnitWave(std::string()) {}
  explicit unitUnitWave(std::string name)
      : unit(kUnitNone, kRestrictNone), name_(std::move(name)) {}
  std::string ToText() const override { return name_; }
  // Fails with "You have to select a Wave" for an empty text, and the name
  // becomes empty. Any other name is taken as it is: a music file may name
  // a wave that is not open yet.
  bool ReadFromText(const std::string& text, const std::string& name,
                    std::string& message) override;
  const std::string& GetName() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  // The open wave registered under the name, through the installed
  // registry; nothing when none is.
  std::optional<TRegisteredWave> GetWave() const;
  // The entry of `names` to select when showing the value, or -1.
  int IndexIn(const std::vector<std::string>& names) const;
  bool operator==(const unitUnitWave&) const = default;

 private:
  std::string name_;
};
