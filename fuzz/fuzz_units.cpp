// libFuzzer target: arbitrary text through every value reader and unit value,
// and what was read back through the writers. Besides crashes and sanitizer
// reports it stops on a broken promise of a reader (a phase outside 0 ... < 1,
// a balance outside -1 ... 1).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/userinterface.h"
#include "units/readers.h"
#include "units/unitvalues.h"
#include "units/writers.h"

namespace {

// Read failures show "Input Error" boxes; keep the fuzzer's output clean.
class SilentUi : public UserInterface {
 public:
  MessageResult ShowMessage(const std::string&, const std::string&, MessageIcon,
                            MessageButtons) override {
    return MessageResult::Ok;
  }
  void BeginWait() override {}
  void EndWait() override {}
};

void Check(bool promise) {
  if (!promise) std::abort();
}

template <class T>
void ReadAndWrite(T value, const std::string& text) {
  bool ok = true;
  value.Read(ok, text, "Field");
  const std::string written = value.ToText();
  std::string message;
  value.ReadFromText(written, "Field", message);
}

void Readers(const std::string& text) {
  for (std::uint8_t restriction = 0; restriction <= kRestrictBetween01; ++restriction) {
    TStringReader reader(text);
    double real = 0;
    std::int32_t integer = 0;
    std::int16_t sample = 0;
    ReadInteger(reader, integer, restriction);
    ReadFactor(reader, real, restriction);
    ReadTime(reader, real, restriction);
    ReadFrequency(reader, real, restriction);
    ReadWaveValue(reader, sample, restriction);
  }
  for (std::uint8_t comparison = kCompareUnequal; comparison <= kCompareMore; ++comparison) {
    TStringReader reader(text);
    std::int32_t integer = 0;
    ReadIntegerCompare(reader, integer, comparison, -3);
  }
  TStringReader reader(text);
  double value = 0;
  std::size_t end = 0;
  if (ReadNumber(reader, value, end)) {
    Check(end <= text.size());
    FormatNumber(value, 1, 0, 9);
    FormatPrecision(value, 7, false);
    FormatTime(value);
    FormatFrequency(value);
    for (std::uint8_t code = 0; code <= kUnitUnknown; ++code)
      FormatUnit(value, code, 7, true, true);
  }
  ReadUnit(reader, 0);
  if (ReadVolumeFactor(reader, value)) FormatUnit(value, kUnitDB, 7, true, false);
  if (ReadAngle(reader, value)) Check(value >= 0 && value < 1);
  if (ReadBalanceAngle(reader, value)) Check(value >= -1 && value <= 1);
  ReadNote(reader, value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SilentUi ui;
  static ScopedUserInterface scope(ui);
  const std::string text(reinterpret_cast<const char*>(data), size);
  Readers(text);
  ReadAndWrite(unitFactor(), text);
  ReadAndWrite(unitFactorPosMax1(), text);
  ReadAndWrite(unitVolumeFactor(1, kUnitDB), text);
  ReadAndWrite(unitVolumeFactorPosMoreLess1(), text);
  ReadAndWrite(unitAngleFactor(0, kUnitDegrees), text);
  ReadAndWrite(unitBalAngleFactor(), text);
  ReadAndWrite(unitInteger(), text);
  ReadAndWrite(unitIntegerMoreUser(1, 0), text);
  ReadAndWrite(unitTime(), text);
  ReadAndWrite(unitTimePosMore(0.1, kUnitHz), text);
  ReadAndWrite(unitFreq(), text);
  ReadAndWrite(unitWaveVal(), text);
  ReadAndWrite(unitWaveValPosMore(1, kUnitSample), text);
  ReadAndWrite(unitWavePosition(0, kUnitPercent, 2.5), text);
  ReadAndWrite(unitUnitWave(), text);
  return 0;
}
