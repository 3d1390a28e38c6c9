#include "units/unitvalues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "support/recordingui.h"
#include "units/waveregistry.h"

namespace {

TEST(UnitRead, ShowsOnlyTheFirstFailureOfTheChain) {
  RecordingUi ui;
  unitFactor factor(1);
  unitTimePosMore tempo(0.5, kUnitSeconds);
  unitFactor third(3);
  bool ok = true;
  factor.Read(ok, "50 %", "Factor");
  EXPECT_TRUE(ok);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(factor.GetValue(), 0.5);
  tempo.Read(ok, "5", "Tempo");
  third.Read(ok, "xyz", "Third");
  EXPECT_FALSE(ok);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Input Error");
  EXPECT_EQ(ui.messages[0].text, "In Tempo: Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'.");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(tempo.GetValue(), 0.5);
  EXPECT_EQ(tempo.GetDisplayUnit(), kUnitSeconds);
  EXPECT_EQ(third.GetValue(), 3) << "a field after the first error was read";
}

TEST(UnitReadFromText, PrefixesTheReasonWithTheLabel) {
  RecordingUi ui;
  unitIntegerPosMore count(20);
  std::string message;
  EXPECT_FALSE(count.ReadFromText("0", " Horizontal Count", message));
  EXPECT_EQ(message, "In  Horizontal Count: Value must be positive and more than 0.");
  EXPECT_EQ(count.GetValue(), 20);
  EXPECT_TRUE(ui.messages.empty()) << "ReadFromText itself shows nothing";
}

// A fresh unit value of class T.
template <class T, class... Args>
std::function<std::unique_ptr<unit>()> New(Args... args) {
  return [=] { return std::unique_ptr<unit>(std::make_unique<T>(args...)); };
}

struct ShownCase {
  std::function<std::unique_ptr<unit>()> make;
  const char* typed;
  bool ok;
  const char* text;  // shown after the read, or the message of a refused one
};

// Each class reads with its reader and restriction and shows the value again
// in the unit typed; a refused read names the field and keeps what was shown.
TEST(UnitValues, ShowInTheUnitTypedOrRefuse) {
  // clang-format off
  const ShownCase cases[] = {
      // Plain texts in every unit come back as typed (see the round trips);
      // these are the ones that change on the way.
      {New<unitFactor>(), "50 %", true, "50 %"}, {New<unitFactor>(), "0.5", true, "0.5"},
      {New<unitFactor>(), "1/4", true, "0.25"}, {New<unitFactor>(), ",5", true, "0.5"},
      {New<unitFactor>(), "12.5%", true, "12.5 %"},
      {New<unitFactorPos>(), "-1", false, "In X: Value must be positive."},
      {New<unitFactorNotNul>(), "0 %", false, "In X: Value must be not 0."},
      {New<unitFactorPosMore>(), "0", false, "In X: Value must be positive and more than 0."},
      {New<unitFactorPosMax1>(), "101 %", false, "In X: Value must be no more than 1."},
      {New<unitFactorPosMax1>(), "100 %", true, "100 %"},
      {New<unitVolumeFactor>(0.5, kUnitPercent), "-6 dB", true, "-6 dB"},
      // A negative factor without unit is a volume factor too.
      {New<unitVolumeFactor>(0.5, kUnitDB), "-2", true, "-2"},
      {New<unitVolumeFactor>(), "abc", false, "In X: Input has no value."},
      // Decibels too low for a double show as 0.
      {New<unitVolumeFactor>(), "-9999 dB", true, "0"},
      // It stores the restriction 0 < v < 1 but reads any factor.
      {New<unitVolumeFactorPosMoreLess1>(), "150 %", true, "150 %"},
      // Turns from one half on are shown as negative degrees.
      {New<unitAngleFactor>(), "-90'", true, "-90 '"}, {New<unitAngleFactor>(), "-25 %", true, "75 %"},
      {New<unitAngleFactor>(), "270'", true, "-90 '"},
      {New<unitBalAngleFactor>(), "45'", true, "45 '"},
      {New<unitBalAngleFactor>(), "-50 %", true, "-50 %"},
      // An integer shows the number whatever followed its digits.
      {New<unitInteger>(5), "12abc", true, "12"}, {New<unitInteger>(5), "", true, "0"},
      {New<unitInteger>(5), "12 %", true, "12"},
      {New<unitInteger>(5), "9999999999", true, "2147483647"},
      {New<unitIntegerMoreUser>(5, 3), "3", false, "In X: Value must be more than 3."},
      {New<unitIntegerMoreUser>(5, 3), "4", true, "4"},
      // A time typed as a frequency is shown as one; float(1/7) written
      // literally would be '6.999999 Hz'.
      {New<unitTime>(), "440 Hz", true, "440 Hz"}, {New<unitTime>(), "5 sec", true, "5 s"},
      {New<unitTime>(), "7 Hz", true, "7 Hz"}, {New<unitTime>(), "3 kHz", true, "3 kHz"},
      {New<unitTimePosMore>(0.1, kUnitMilliseconds), "0 s", false, "In X: Value must be positive and more than 0."},
      {New<unitTimePos>(), "-1 ms", false, "In X: Value must be positive."},
      // A frequency typed as a period is shown as one; a note in Hz.
      {New<unitFreq>(), "2 ms", true, "2 ms"}, {New<unitFreq>(), "a", true, "880.0149 Hz"},
      {New<unitWaveVal>(), "100 $", true, "100 $"}, {New<unitWaveVal>(), "0.5", true, "0.5"},
      {New<unitWaveVal>(), "0 %", true, "-0 %"},
      {New<unitWaveValPosMore>(3277, kUnitPercent), "0 %", false, "In X: Value must be positive and more than 0."},
  };
  // clang-format on
  for (const ShownCase& c : cases) {
    const auto value = c.make();
    const std::string before = value->ToText();
    std::string message;
    ASSERT_EQ(value->ReadFromText(c.typed, "X", message), c.ok) << c.typed << ": " << message;
    EXPECT_EQ(c.ok ? value->ToText() : message, c.text) << "typed '" << c.typed << "'";
    if (!c.ok) {
      EXPECT_EQ(value->ToText(), before) << "typed '" << c.typed << "'";
    }
  }
}

// What a value shows in the unit it was given, and nothing in a unit its
// class cannot show.
TEST(UnitValues, ShowTheirValueInTheirUnit) {
  unitInteger percent(3);
  percent.SetDisplayUnit(kUnitPercent);
  unitBalAngleFactor turns(0.5);
  turns.SetDisplayUnit(kUnitDegrees);  // whole-turn degrees are not a balance unit
  unitFactor balance(0.5);
  balance.SetDisplayUnit(kUnitBalanceDegrees);
  const std::pair<const unit*, const char*> cases[] = {
      {&percent, ""},
      {&turns, ""},
      {&balance, "45 '"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(value->ToText(), text);
  EXPECT_EQ(unitFactor(0.5, kUnitHz).ToText(), "");
  EXPECT_EQ(unitVolumeFactor(0.5, kUnitPercent).ToText(), "50 %");
  EXPECT_EQ(unitTimePosMore(0.1, kUnitMilliseconds).ToText(), "100 ms");
  EXPECT_EQ(unitTimePosMore(0.001 / 20, kUnitKHz).ToText(), "20 kHz");
  EXPECT_EQ(unitTime(0, kUnitHz).ToText(), "* Hz");
  EXPECT_EQ(unitTime(0.5, kUnitNone).ToText(), "");
  EXPECT_EQ(unitFreq(0, kUnitSeconds).ToText(), "* s");
  EXPECT_EQ(unitFreq(0, kUnitMilliseconds).ToText(), "* ms");
  EXPECT_EQ(unitWaveValPosMore(3277, kUnitPercent).ToText(), "10 %");
}

TEST(unitVolumeFactor, LeavesDecibelsForAValueTheyCannotShow) {
  unitVolumeFactor volume(1, kUnitDB);
  EXPECT_EQ(volume.ToText(), "0 dB");
  volume.SetValue(0.5);
  EXPECT_EQ(volume.GetDisplayUnit(), kUnitDB);
  EXPECT_EQ(volume.ToText(), "-6.02 dB");
  volume.SetValue(0);
  EXPECT_EQ(volume.GetDisplayUnit(), kUnitNone);
  EXPECT_EQ(volume.ToText(), "0");
  volume.SetDisplayUnit(kUnitDB);
  volume.SetValue(-1);
  EXPECT_EQ(volume.GetDisplayUnit(), kUnitNone);
  EXPECT_EQ(unitVolumeFactor(0, kUnitDB).GetDisplayUnit(), kUnitNone);
  // Setting a value never changes another display unit.
  unitVolumeFactor percent(0.5, kUnitPercent);
  percent.SetValue(-1);
  EXPECT_EQ(percent.GetDisplayUnit(), kUnitPercent);
}

TEST(unitTime, ANoteKeepsTheDisplayUnit) {
  unitTimePosMore period(0.1, kUnitMilliseconds);
  std::string message;
  ASSERT_TRUE(period.ReadFromText("A4", "Basic Frequency", message));
  EXPECT_EQ(period.GetValue(), static_cast<double>(1.0f / 440.00746f));
  EXPECT_EQ(period.GetDisplayUnit(), kUnitMilliseconds);
}

TEST(unitIntegerMoreUser, ComparesWithItsLimit) {
  unitIntegerMoreUser value(5, 3);
  EXPECT_EQ(value.GetRestriction(), kCompareMore);
  value.SetLimit(-10);
  std::string message;
  EXPECT_TRUE(value.ReadFromText("-9", "Count", message));
  EXPECT_EQ(value.GetValue(), -9);
  EXPECT_FALSE(value.ReadFromText("-10", "Count", message));
  EXPECT_EQ(message, "In Count: Value must be more than -10.");
}

// A position in a wave of 10 s: a time from the start, or from the end when
// negative (shown negative again), or a fraction of the wave; outside the
// wave it is refused and the position stays as it was (0 %).
TEST(unitWavePosition, ReadsTimesAndFractionsOfTheWave) {
  struct Case {
    const char* typed;
    bool ok;
    double value;
    bool fromEnd;
    const char* text;  // shown, or the message of a refused read
  };
  // clang-format off
  const Case cases[] = {
      {"2 s", true, 2, false, "2 s"},
      {"500 ms", true, 0.5, false, "500 ms"},
      {"-1 s", true, 9, true, "-1 s"},
      {"-10 s", true, 0, true, "-10 s"},
      {"50 %", true, 5, false, "50 %"},
      {"-90'", true, 7.5, false, "-90 '"},
      {"10 s", false, 0, false, "In P: Position must be before the end of the wave"},
      {"-10001 ms", false, 0, false, "In P: Position must be not before the start of the previous wave"},
      // neither a time nor a fraction: the reader whose unit fits explains
      {"5", false, 0, false, "In P: Fase is too high. (maximum: less than 1 or 100 %)"},
      {"0 Hz", false, 0, false, "In P: You cannot use 0 with 'Hz'."},
      {"xyz", false, 0, false, "In P: Input has no value."},
      {"5 kg", false, 0, false, "In P: This unit does not exist, use: '%', ' ' ' or no unit."},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    unitWavePosition position(0, kUnitPercent, 10);
    std::string message;
    ASSERT_EQ(position.ReadFromText(c.typed, "P", message), c.ok) << message;
    EXPECT_EQ(position.GetValue(), c.value);
    EXPECT_EQ(position.IsFromEnd(), c.fromEnd);
    EXPECT_EQ(c.ok ? position.ToText() : message, c.text);
    if (!c.ok) {
      EXPECT_EQ(position.GetDisplayUnit(), kUnitPercent);
    }
  }
  // A note is a time: shown in seconds.
  unitWavePosition position(0, kUnitPercent, 10);
  std::string message;
  ASSERT_TRUE(position.ReadFromText("A4", "P", message));
  EXPECT_EQ(position.GetDisplayUnit(), kUnitSeconds);
  EXPECT_EQ(position.GetValue(), static_cast<double>(1.0f / 440.00746f));
}

TEST(unitWavePosition, KeepsItsFormWhenTheLengthChanges) {
  unitWavePosition position(0, kUnitPercent, 10);
  std::string message;
  ASSERT_TRUE(position.ReadFromText("50 %", "P", message));
  position.SetLength(20);
  EXPECT_EQ(position.GetValue(), 10);
  ASSERT_TRUE(position.ReadFromText("-1 s", "P", message));
  position.SetLength(4);
  EXPECT_EQ(position.GetValue(), 3);
  EXPECT_EQ(position.ToText(), "-1 s");
}

TEST(unitWavePosition, SetValueKeepsTheForm) {
  unitWavePosition position(0, kUnitPercent, 10);
  position.SetValue(2.5);
  EXPECT_EQ(position.ToText(), "25 %");
  unitWavePosition seconds(1, kUnitSeconds, 10);
  seconds.SetValue(2.5);
  EXPECT_EQ(seconds.ToText(), "2.5 s");
}

class FakeWaves : public WaveRegistry {
 public:
  std::vector<std::string> WaveNames() const override { return {"Drum", "Wave1"}; }
  std::optional<TRegisteredWave> FindWave(const std::string& name) const override {
    if (name != "Wave1") return std::nullopt;
    return TRegisteredWave{nullptr, 3, 7};
  }
};

TEST(unitUnitWave, NeedsASelectedWave) {
  RecordingUi ui;
  unitUnitWave envelope("Old");
  bool ok = true;
  envelope.Read(ok, "", "Envelope");
  EXPECT_FALSE(ok);
  ASSERT_EQ(ui.Texts().size(), 1u);
  EXPECT_EQ(ui.Texts()[0], "Input Error: In Envelope: You have to select a Wave");
  EXPECT_EQ(envelope.GetName(), "") << "a failed choice empties the name";
}

TEST(unitUnitWave, TakesTheNameAndFindsTheDocument) {
  unitUnitWave sample;
  std::string message;
  ASSERT_TRUE(sample.ReadFromText("Wave1", "Sample Wave", message));
  EXPECT_EQ(sample.ToText(), "Wave1");
  EXPECT_FALSE(sample.GetWave()) << "no registry installed: no wave is open";
  FakeWaves waves;
  {
    ScopedWaveRegistry scope(waves);
    ASSERT_TRUE(sample.GetWave());
    EXPECT_EQ(sample.GetWave()->selEnd, 7);
    EXPECT_EQ(sample.IndexIn(Waves().WaveNames()), 1);
    sample.SetName("Gone");
    EXPECT_FALSE(sample.GetWave());
    EXPECT_EQ(sample.IndexIn(Waves().WaveNames()), -1);
  }
  EXPECT_TRUE(Waves().WaveNames().empty());
}

}  // namespace
