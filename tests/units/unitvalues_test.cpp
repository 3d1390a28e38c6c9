#include "units/unitvalues.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/recordingui.h"
#include "units/waveregistry.h"

namespace {

TEST(UnitRead, ShowsTheFirstFailureAndKeepsTheValue) {
  RecordingUi ui;
  unitTimePosMore tempo(0.5, kUnitSeconds);
  bool ok = true;
  tempo.Read(ok, "5", "Tempo");
  EXPECT_FALSE(ok);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Input Error");
  EXPECT_EQ(ui.messages[0].text, "In Tempo: Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'.");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(tempo.GetValue(), 0.5);
  EXPECT_EQ(tempo.GetDisplayUnit(), kUnitSeconds);
}

TEST(UnitRead, DoesNothingOnceTheChainHasFailed) {
  RecordingUi ui;
  unitFactor first(1);
  unitFactor second(2);
  unitFactor third(3);
  bool ok = true;
  first.Read(ok, "abc", "Constant");
  second.Read(ok, "xyz", "Second");
  third.Read(ok, "50 %", "Third");
  EXPECT_FALSE(ok);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "In Constant: Input has no value.");
  EXPECT_EQ(third.GetValue(), 3) << "a field after the first error was read";
}

TEST(UnitRead, KeepsOkAndShowsNothingOnSuccess) {
  RecordingUi ui;
  unitFactor factor(1);
  bool ok = true;
  factor.Read(ok, "50 %", "Factor");
  EXPECT_TRUE(ok);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(factor.GetValue(), 0.5);
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

struct TextCase {
  const char* typed;
  const char* shown;
};

template <class T>
void ExpectShown(T value, const TextCase& c) {
  std::string message;
  ASSERT_TRUE(value.ReadFromText(c.typed, "X", message)) << c.typed << ": " << message;
  EXPECT_EQ(value.ToText(), c.shown) << "typed '" << c.typed << "'";
}

TEST(unitFactor, ShowsInTheUnitTyped) {
  for (TextCase c :
       {TextCase{"50 %", "50 %"}, TextCase{"0.5", "0.5"}, TextCase{"1/4", "0.25"},
        TextCase{",5", "0.5"}, TextCase{"-2.5", "-2.5"}, TextCase{"12.5%", "12.5 %"}}) {
    ExpectShown(unitFactor(), c);
  }
}

TEST(unitFactor, RestrictionsOfTheKinds) {
  std::string message;
  unitFactorPos pos;
  EXPECT_FALSE(pos.ReadFromText("-1", "F", message));
  EXPECT_EQ(message, "In F: Value must be positive.");
  unitFactorNotNul notNul;
  EXPECT_FALSE(notNul.ReadFromText("0 %", "F", message));
  EXPECT_EQ(message, "In F: Value must be not 0.");
  unitFactorPosMore posMore;
  EXPECT_FALSE(posMore.ReadFromText("0", "F", message));
  EXPECT_EQ(message, "In F: Value must be positive and more than 0.");
  unitFactorPosMax1 max1;
  EXPECT_FALSE(max1.ReadFromText("101 %", "F", message));
  EXPECT_EQ(message, "In F: Value must be no more than 1.");
  EXPECT_TRUE(max1.ReadFromText("100 %", "F", message));
  EXPECT_EQ(max1.GetValue(), 1);
}

TEST(unitFactor, ShowsNothingInUnitsItCannotHold) {
  unitFactor factor(0.5, kUnitHz);
  EXPECT_EQ(factor.ToText(), "");
  factor.SetDisplayUnit(kUnitBalanceDegrees);
  EXPECT_EQ(factor.ToText(), "45 '");
}

TEST(unitVolumeFactor, ReadsDecibelsAndShowsThemAgain) {
  unitVolumeFactor volume(0.5, kUnitPercent);
  EXPECT_EQ(volume.ToText(), "50 %");
  std::string message;
  ASSERT_TRUE(volume.ReadFromText("-6 dB", "Constant", message));
  EXPECT_NEAR(volume.GetValue(), 0.501187, 1e-6);
  EXPECT_EQ(volume.GetDisplayUnit(), kUnitDB);
  EXPECT_EQ(volume.ToText(), "-6 dB");
  ASSERT_TRUE(volume.ReadFromText("-2", "Constant", message));
  EXPECT_EQ(volume.GetValue(), -2);
  EXPECT_EQ(volume.ToText(), "-2");
  EXPECT_FALSE(volume.ReadFromText("abc", "Constant", message));
  EXPECT_EQ(message, "In Constant: Input has no value.");
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

TEST(unitVolumeFactor, UnderflowingDecibelsShowAsZero) {
  unitVolumeFactor volume;
  std::string message;
  ASSERT_TRUE(volume.ReadFromText("-9999 dB", "V", message));
  EXPECT_EQ(volume.GetValue(), 0);
  EXPECT_EQ(volume.ToText(), "0");
}

TEST(unitVolumeFactorPosMoreLess1, CarriesItsRangeButReadsAnyFactor) {
  unitVolumeFactorPosMoreLess1 factor;
  EXPECT_EQ(factor.GetRestriction(), kRestrictBetween01);
  std::string message;
  EXPECT_TRUE(factor.ReadFromText("150 %", "Volume Factor", message));
  EXPECT_EQ(factor.GetValue(), 1.5);
}

TEST(unitAngleFactor, ShowsTurnsFromOneHalfAsNegativeDegrees) {
  for (TextCase c : {TextCase{"-90'", "-90 '"}, TextCase{"90 '", "90 '"}, TextCase{"0 '", "0 '"},
                     TextCase{"25 %", "25 %"}, TextCase{"-25 %", "75 %"}, TextCase{"0.1", "0.1"},
                     TextCase{"270'", "-90 '"}}) {
    ExpectShown(unitAngleFactor(), c);
  }
}

TEST(unitBalAngleFactor, ShowsDegreesAsBalanceDegrees) {
  unitBalAngleFactor balance;
  std::string message;
  ASSERT_TRUE(balance.ReadFromText("45'", "Direction Constant", message));
  EXPECT_EQ(balance.GetValue(), 0.5);
  EXPECT_EQ(balance.GetDisplayUnit(), kUnitBalanceDegrees);
  EXPECT_EQ(balance.ToText(), "45 '");
  ASSERT_TRUE(balance.ReadFromText("-50 %", "Direction Constant", message));
  EXPECT_EQ(balance.GetDisplayUnit(), kUnitPercent);
  EXPECT_EQ(balance.ToText(), "-50 %");
  balance.SetDisplayUnit(kUnitDegrees);
  EXPECT_EQ(balance.ToText(), "") << "whole-turn degrees are not a balance unit";
}

TEST(unitInteger, ShowsTheNumberWhateverFollowedTheDigits) {
  for (TextCase c : {TextCase{"12abc", "12"}, TextCase{"", "0"}, TextCase{"-7", "-7"},
                     TextCase{"12 %", "12"}, TextCase{"9999999999", "2147483647"}}) {
    ExpectShown(unitInteger(5), c);
  }
  unitInteger value(3);
  value.SetDisplayUnit(kUnitPercent);
  EXPECT_EQ(value.ToText(), "");
}

TEST(unitIntegerMoreUser, ComparesWithItsLimit) {
  unitIntegerMoreUser value(5, 3);
  std::string message;
  EXPECT_FALSE(value.ReadFromText("3", "Count", message));
  EXPECT_EQ(message, "In Count: Value must be more than 3.");
  EXPECT_EQ(value.GetValue(), 5);
  EXPECT_TRUE(value.ReadFromText("4", "Count", message));
  EXPECT_EQ(value.GetValue(), 4);
  value.SetLimit(-10);
  EXPECT_TRUE(value.ReadFromText("-9", "Count", message));
  EXPECT_EQ(value.GetRestriction(), kCompareMore);
}

TEST(unitTime, ShowsAPeriodInTheFrequencyTyped) {
  for (TextCase c :
       {TextCase{"440 Hz", "440 Hz"}, TextCase{"2.5 ms", "2.5 ms"}, TextCase{"1 kHz", "1 kHz"},
        TextCase{"20 kHz", "20 kHz"}, TextCase{"0.1 s", "0.1 s"}, TextCase{"5 sec", "5 s"},
        // float(1/7) written literally would be '6.999999 Hz'.
        TextCase{"7 Hz", "7 Hz"}, TextCase{"3 kHz", "3 kHz"}}) {
    ExpectShown(unitTime(), c);
  }
  EXPECT_EQ(unitTimePosMore(0.1, kUnitMilliseconds).ToText(), "100 ms");
  EXPECT_EQ(unitTimePosMore(0.001 / 20, kUnitKHz).ToText(), "20 kHz");
  EXPECT_EQ(unitTime(0, kUnitHz).ToText(), "* Hz");
  EXPECT_EQ(unitTime(0.5, kUnitNone).ToText(), "");
}

TEST(unitTime, ANoteKeepsTheDisplayUnit) {
  unitTimePosMore period(0.1, kUnitMilliseconds);
  std::string message;
  ASSERT_TRUE(period.ReadFromText("A4", "Basic Frequency", message));
  EXPECT_EQ(period.GetValue(), static_cast<double>(1.0f / 440.00746f));
  EXPECT_EQ(period.GetDisplayUnit(), kUnitMilliseconds);
}

TEST(unitTime, FailsWithItsRestriction) {
  unitTimePosMore length(0.1, kUnitMilliseconds);
  std::string message;
  EXPECT_FALSE(length.ReadFromText("0 s", "Length", message));
  EXPECT_EQ(message, "In Length: Value must be positive and more than 0.");
  unitTimePos pos;
  EXPECT_FALSE(pos.ReadFromText("-1 ms", "Time", message));
  EXPECT_EQ(message, "In Time: Value must be positive.");
  EXPECT_EQ(pos.GetDisplayUnit(), kUnitSeconds);
}

TEST(unitFreq, ShowsAFrequencyInThePeriodTyped) {
  for (TextCase c : {TextCase{"440 Hz", "440 Hz"}, TextCase{"2 ms", "2 ms"}, TextCase{"4 s", "4 s"},
                     TextCase{"1.5 kHz", "1.5 kHz"}, TextCase{"-5 Hz", "-5 Hz"},
                     TextCase{"a", "880.0149 Hz"}, TextCase{"3 ms", "3 ms"}}) {
    ExpectShown(unitFreq(), c);
  }
  EXPECT_EQ(unitFreq(0, kUnitSeconds).ToText(), "* s");
  EXPECT_EQ(unitFreq(0, kUnitMilliseconds).ToText(), "* ms");
}

TEST(unitWaveVal, ShowsFractionPercentOrRaw) {
  for (TextCase c : {TextCase{"100 $", "100 $"}, TextCase{"0.5", "0.5"}, TextCase{"50 %", "50 %"},
                     TextCase{"-50 %", "-50 %"}, TextCase{"1", "1"}, TextCase{"0 %", "-0 %"}}) {
    ExpectShown(unitWaveVal(), c);
  }
  unitWaveVal value;
  std::string message;
  ASSERT_TRUE(value.ReadFromText("0.5", "Begin Value", message));
  EXPECT_EQ(value.GetValue(), 16383);
  unitWaveValPosMore height(3277, kUnitPercent);
  EXPECT_FALSE(height.ReadFromText("0 %", " Height", message));
  EXPECT_EQ(message, "In  Height: Value must be positive and more than 0.");
  EXPECT_EQ(height.ToText(), "10 %");
}

class unitWavePositionTest : public testing::Test {
 protected:
  unitWavePosition position{0, kUnitPercent, 10};
  std::string message;
};

TEST_F(unitWavePositionTest, ReadsTimesFromTheStartOrTheEnd) {
  ASSERT_TRUE(position.ReadFromText("2 s", "Start Position", message));
  EXPECT_EQ(position.GetValue(), 2);
  EXPECT_FALSE(position.IsFromEnd());
  EXPECT_EQ(position.ToText(), "2 s");
  ASSERT_TRUE(position.ReadFromText("-1 s", "Start Position", message));
  EXPECT_EQ(position.GetValue(), 9);
  EXPECT_TRUE(position.IsFromEnd());
  EXPECT_EQ(position.ToText(), "-1 s");
  ASSERT_TRUE(position.ReadFromText("-10 s", "Start Position", message));
  EXPECT_EQ(position.GetValue(), 0);
}

TEST_F(unitWavePositionTest, RefusesPositionsOutsideTheWave) {
  ASSERT_TRUE(position.ReadFromText("500 ms", "Start at", message));
  EXPECT_FALSE(position.ReadFromText("10 s", "Start at", message));
  EXPECT_EQ(message, "In Start at: Position must be before the end of the wave");
  EXPECT_FALSE(position.ReadFromText("-10001 ms", "Start at", message));
  EXPECT_EQ(message, "In Start at: Position must be not before the start of the previous wave");
  EXPECT_EQ(position.GetValue(), 0.5);
  EXPECT_EQ(position.ToText(), "500 ms");
}

TEST_F(unitWavePositionTest, ReadsFractionsOfTheWave) {
  EXPECT_EQ(position.ToText(), "0 %");
  ASSERT_TRUE(position.ReadFromText("50 %", "Start Position", message));
  EXPECT_EQ(position.GetValue(), 5);
  EXPECT_EQ(position.ToText(), "50 %");
  ASSERT_TRUE(position.ReadFromText("-90'", "Start Position", message));
  EXPECT_EQ(position.GetValue(), 7.5);
  EXPECT_EQ(position.ToText(), "-90 '");
  EXPECT_FALSE(position.IsFromEnd());
}

TEST_F(unitWavePositionTest, KeepsItsFormWhenTheLengthChanges) {
  ASSERT_TRUE(position.ReadFromText("50 %", "P", message));
  position.SetLength(20);
  EXPECT_EQ(position.GetValue(), 10);
  ASSERT_TRUE(position.ReadFromText("-1 s", "P", message));
  position.SetLength(4);
  EXPECT_EQ(position.GetValue(), 3);
  EXPECT_EQ(position.ToText(), "-1 s");
}

TEST_F(unitWavePositionTest, ReportsTheReaderThatFits) {
  EXPECT_FALSE(position.ReadFromText("5", "P", message));
  EXPECT_EQ(message, "In P: Fase is too high. (maximum: less than 1 or 100 %)");
  EXPECT_FALSE(position.ReadFromText("0 Hz", "P", message));
  EXPECT_EQ(message, "In P: You cannot use 0 with 'Hz'.");
  EXPECT_FALSE(position.ReadFromText("xyz", "P", message));
  EXPECT_EQ(message, "In P: Input has no value.");
  EXPECT_FALSE(position.ReadFromText("5 kg", "P", message));
  EXPECT_EQ(message, "In P: This unit does not exist, use: '%', ' ' ' or no unit.");
  EXPECT_EQ(position.GetValue(), 0);
  EXPECT_EQ(position.GetDisplayUnit(), kUnitPercent);
}

TEST_F(unitWavePositionTest, ANoteShowsInSeconds) {
  ASSERT_TRUE(position.ReadFromText("A4", "P", message));
  EXPECT_EQ(position.GetDisplayUnit(), kUnitSeconds);
  EXPECT_EQ(position.GetValue(), static_cast<double>(1.0f / 440.00746f));
}

TEST_F(unitWavePositionTest, SetValueKeepsTheForm) {
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
