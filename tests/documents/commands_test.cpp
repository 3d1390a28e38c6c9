#include "documents/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/allocation.h"
#include "base/progress.h"
#include "docfixtures.h"
#include "sound/sinetable.h"
#include "support/recordingui.h"

namespace {

// At 1000 Hz a value lasts a millisecond, so the lengths below are easy to
// count: 0.01 s is 10 values.
constexpr std::int32_t kFreq = 1000;

struct CommandCase {
  TWaveCommand command;
  TWaveRecord record;
  // With the selection 10 ... 20 of 40 values: the selection afterwards and
  // the length.
  std::int32_t low;
  std::int32_t high;
  std::int32_t values;
};

TWaveRecord Silence() {
  TSilenceProps p;
  p.Seconds.SetValue(0.01);  // trunc(1000 x 0.01 + 1) = 11 values
  return p;
}
TWaveRecord Line() {
  TLineProps p;
  p.Seconds.SetValue(0.01);  // 11 values as Silence
  return p;
}
TWaveRecord Noise() {
  TNoiseProps p;
  p.Seconds.SetValue(0.01);  // trunc(1000 x 0.01) = 10
  return p;
}
TWaveRecord BlockWave() {
  TBlockTriangleProps p;
  p.Period.SetValue(0.004);
  p.LengthSeconds.SetValue(0.01);  // 10
  return p;
}
TWaveRecord Sinus() {
  TSinusProps p;
  p.Period.SetValue(0.002);
  p.UseCount = true;
  p.Count.SetValue(5);  // trunc(5 x 2) = 10
  return p;
}
TWaveRecord MFreq() {
  TMFreqProps p;
  p.Seconds.SetValue(0.01);  // 10
  p.Freqs[0].Period.SetValue(0.004);
  return p;
}
TWaveRecord Volume() { return TVolumeProps{}; }
TWaveRecord Up() { return TUpProps{}; }
TWaveRecord BlockEffect() { return TBlockProps{}; }
TWaveRecord Rotate() { return TRotateProps{}; }
TWaveRecord Distort() {
  TDistortProps p;
  p.Shape.SetName("shape");
  return p;
}
TWaveRecord HighLow() {
  THighLowProps p;
  p.Period.SetValue(0.004);
  return p;
}
TWaveRecord ResNotch() {
  TResNotchProps p;
  p.Period.SetValue(0.004);
  return p;
}
TWaveRecord RollIn() {
  TRollInProps p;
  p.Seconds.SetValue(0.004);  // 4 values
  return p;
}
TWaveRecord RollOut() {
  TRollOutProps p;  // speed 2, length factor 0.5: 5 of 10 values
  return p;
}
TWaveRecord Length() { return TLengthProps{}; }  // factor 0.5
TWaveRecord TempoPitch() {
  TTempoPitchProps p;  // length factor 0.5
  p.BlockSeconds.SetValue(0.004);
  return p;
}
TWaveRecord PerEcho() {
  TPerEchoProps p;
  p.Time.SetValue(0.002);  // 2 values, one echo: the range grows by trunc(2 + 1)
  return p;
}
TWaveRecord BlockFilter() {
  TBlockFilterProps p;
  p.Time.SetValue(0.002);  // n = trunc(2) + 1 = 3 values longer
  return p;
}

const std::vector<CommandCase>& Cases() {
  static const std::vector<CommandCase> cases = {
      // Generators replace the selection and select what they made.
      {TWaveCommand::MakeSilence, Silence(), 10, 21, 41},
      {TWaveCommand::MakeLine, Line(), 10, 21, 41},
      {TWaveCommand::MakeNoise, Noise(), 10, 20, 40},
      {TWaveCommand::MakeBlock, BlockWave(), 10, 20, 40},
      {TWaveCommand::MakeTriangle, BlockWave(), 10, 20, 40},
      {TWaveCommand::MakeSinus, Sinus(), 10, 20, 40},
      {TWaveCommand::MakeMFreq, MFreq(), 10, 20, 40},
      // Effects that keep the length keep the selection.
      {TWaveCommand::Volume, Volume(), 10, 20, 40},
      {TWaveCommand::MaxVolume, std::monostate{}, 10, 20, 40},
      {TWaveCommand::Reverse, std::monostate{}, 10, 20, 40},
      {TWaveCommand::Up, Up(), 10, 20, 40},
      {TWaveCommand::Block, BlockEffect(), 10, 20, 40},
      {TWaveCommand::Rotate, Rotate(), 10, 20, 40},
      {TWaveCommand::Distort, Distort(), 10, 20, 40},
      {TWaveCommand::FilterHigh, HighLow(), 10, 20, 40},
      {TWaveCommand::FilterLow, HighLow(), 10, 20, 40},
      {TWaveCommand::FilterRes, ResNotch(), 10, 20, 40},
      {TWaveCommand::FilterNotch, ResNotch(), 10, 20, 40},
      // Effects that change the length select the changed part.
      {TWaveCommand::RollIn, RollIn(), 10, 14, 34},
      {TWaveCommand::RollOut, RollOut(), 10, 15, 35},
      {TWaveCommand::Length, Length(), 10, 15, 35},
      {TWaveCommand::TempoPitch, TempoPitch(), 10, 15, 35},
      // The echo region 10 ... 23 still lies inside the wave.
      {TWaveCommand::PerEcho, PerEcho(), 10, 23, 40},
      {TWaveCommand::FilterBlock, BlockFilter(), 10, 23, 43},
  };
  return cases;
}

class CommandFixture : public DocumentFixture {
 public:
  CommandFixture() : DocumentFixture(MakeMono(Wiggle(), kFreq)) {
    TUnitWave* shape =
        workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({-32768, 32767}, kFreq), "s"));
    shape->SetRegisterName("shape");
  }
  // 40 values of a shape no effect leaves as it is.
  static std::vector<std::int16_t> Wiggle() {
    std::vector<std::int16_t> values;
    for (int i = 0; i < 40; ++i) values.push_back(static_cast<std::int16_t>((i % 7) * 1000 - 3000));
    return values;
  }
};

}  // namespace

TEST(WaveCommands, EveryCommandWorksOnTheSelectionAndSelectsItsResult) {
  RecordingUi ui;
  SineTableLifetime sine;
  for (const CommandCase& c : Cases()) {
    const char* name = WaveCommandName(c.command);
    CommandFixture f;
    f.doc->SetSelection(10, 20);
    ASSERT_EQ(RunWaveCommand(f.workspace, *f.doc, c.command, c.record), TCommandResult::Done)
        << name;
    EXPECT_EQ(f.doc->GetSelLow(), c.low) << name;
    EXPECT_EQ(f.doc->GetSelHigh(), c.high) << name;
    EXPECT_EQ(f.doc->GetValues(), c.values) << name;
    // What lies before the range is never touched.
    const std::vector<std::int16_t> before = CommandFixture::Wiggle();
    const std::vector<std::int16_t> now = LeftOf(*f.doc);
    EXPECT_EQ(std::vector<std::int16_t>(now.begin(), now.begin() + 10),
              std::vector<std::int16_t>(before.begin(), before.begin() + 10))
        << name;
    EXPECT_EQ(f.doc->GetState(), TUnitState::Changed) << name;
    EXPECT_EQ(f.window.unpaired, 0) << name;
    EXPECT_EQ(f.window.depth, 0) << name;
    // Undo gives the wave and the selection back.
    ASSERT_NE(f.workspace.GetUndoUnit(), nullptr) << name;
    f.workspace.Undo();
    EXPECT_EQ(LeftOf(*f.doc), before) << name;
    EXPECT_EQ(f.doc->GetSelLow(), 10) << name;
    EXPECT_EQ(f.doc->GetSelHigh(), 20) << name;
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST(WaveCommands, TheConfirmedRecordBecomesTheDocumentsAndTheDefault) {
  CommandFixture f;
  TVolumeProps props;
  props.Factor.SetValue(0.25);
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Volume, props);
  EXPECT_EQ(f.doc->Records.volume.Factor.GetValue(), 0.25);
  EXPECT_EQ(f.workspace.Defaults.volume.Factor.GetValue(), 0.25);
  // A document made afterwards starts from it.
  EXPECT_EQ(f.workspace.NewWave({})->Records.volume.Factor.GetValue(), 0.25);
  // The record the next dialog starts from.
  const TWaveRecord next = CommandRecord(*f.doc, TWaveCommand::Volume);
  EXPECT_EQ(std::get<TVolumeProps>(next).Factor.GetValue(), 0.25);
}

TEST(WaveCommands, WithoutSelectionGeneratorsInsertAtTheCursor) {
  SineTableLifetime sine;
  CommandFixture f;
  f.doc->SetCursor(30);
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::MakeSilence, Silence());
  EXPECT_EQ(f.doc->GetValues(), 51);
  EXPECT_EQ(f.doc->GetSelLow(), 30);
  EXPECT_EQ(f.doc->GetSelHigh(), 41);
  const std::vector<std::int16_t> now = LeftOf(*f.doc);
  EXPECT_EQ(now[30], 0);
  EXPECT_EQ(now[41], CommandFixture::Wiggle()[30]);  // the rest moved on
}

TEST(WaveCommands, WithoutSelectionEffectsTakeTheWholeWaveAndKeepTheCursor) {
  CommandFixture f;
  f.doc->SetCursor(30);
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Reverse);
  std::vector<std::int16_t> reversed = CommandFixture::Wiggle();
  std::reverse(reversed.begin(), reversed.end());
  EXPECT_EQ(LeftOf(*f.doc), reversed);
  EXPECT_FALSE(f.doc->HasSelection());
  EXPECT_EQ(f.doc->GetCursor(), 30);

  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Length, Length());
  EXPECT_EQ(f.doc->GetValues(), 20);  // the whole wave at half length, all selected
  EXPECT_EQ(f.doc->GetSelLow(), 0);
  EXPECT_EQ(f.doc->GetSelHigh(), 20);
}

TEST(WaveCommands, RotateShiftsLeftOrRightByAFractionOrATime) {
  struct Case {
    std::uint8_t shiftTo;
    bool useTime;
    double amount;
    std::vector<std::int16_t> expected;
  };
  // The range 0 ... 9 of a ramp; a fifth of 10 values or 2 ms at 1000 Hz is
  // 2 values; to the right is 10 - 2 = 8 to the left.
  const std::vector<Case> cases = {
      {kShiftLeft, false, 0.2, {2, 3, 4, 5, 6, 7, 8, 9, 0, 1}},
      {kShiftRight, false, 0.2, {8, 9, 0, 1, 2, 3, 4, 5, 6, 7}},
      {kShiftLeft, true, 0.002, {2, 3, 4, 5, 6, 7, 8, 9, 0, 1}},
      {kShiftRight, true, 0.002, {8, 9, 0, 1, 2, 3, 4, 5, 6, 7}},
  };
  for (const Case& c : cases) {
    DocumentFixture f(MakeMono(Ramp(10), kFreq));
    TRotateProps props;
    props.ShiftTo = c.shiftTo;
    props.UseTime = c.useTime;
    props.Factor.SetValue(c.amount);
    props.Time.SetValue(c.amount);
    RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Rotate, props);
    EXPECT_EQ(LeftOf(*f.doc), c.expected) << int(c.shiftTo) << c.useTime << c.amount;
  }
}

TEST(WaveCommands, RotateTakesATimeLongerThanTheRangeModuloTheRange) {
  // The range 0 ... 9 of a 20-value ramp (20 ms): 12 ms is 12 values, 12
  // modulo 10 = 2 to the left; the rest of the wave stays.
  DocumentFixture f(MakeMono(Ramp(20), kFreq));
  f.doc->SetSelection(0, 10);
  TRotateProps props;
  props.UseTime = true;
  props.Time.SetValue(0.012);
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Rotate, props), TCommandResult::Done);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{2,  3,  4,  5,  6,  7,  8,  9,  0,  1,
                                                       10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
}

TEST(WaveCommands, RotateRefusesATimeLongerThanTheSound) {
  RecordingUi ui;
  // 10 values at 1000 Hz last 10 ms: 11 ms is too long, 10 ms is not
  // (a whole turn, nothing moves).
  DocumentFixture f(MakeMono(Ramp(10), kFreq));
  f.doc->SetSelection(2, 5);
  TRotateProps props;
  props.UseTime = true;
  props.Time.SetValue(0.011);
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Rotate, props),
            TCommandResult::Refused);
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                            "Input Error: In Time: Time may not be longer than the time of the "
                            "sound."}));
  EXPECT_EQ(LeftOf(*f.doc), Ramp(10));
  EXPECT_EQ(f.doc->GetState(), TUnitState::Saved);
  EXPECT_EQ(f.workspace.GetUndoUnit(), nullptr);
  // The factor alternative is not limited by the time.
  props.UseTime = false;
  props.Factor.SetValue(0.5);  // trunc(3 x 0.5) = 1 to the left within 2 ... 4
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Rotate, props), TCommandResult::Done);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{0, 1, 3, 4, 2, 5, 6, 7, 8, 9}));
  props.UseTime = true;
  props.Time.SetValue(0.010);
  ui.messages.clear();
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Rotate, props), TCommandResult::Done);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(WaveCommands, RollOutToNoValuesRemovesTheRangeWithOrWithoutASpeedEnvelope) {
  // One value selected at the default length factor 50 %: trunc(1 x 0.5) = 0
  // values remain, so the range goes and the cursor stays where it began.
  for (bool envelope : {false, true}) {
    for (const std::vector<std::int16_t>& values :
         {std::vector<std::int16_t>{5}, std::vector<std::int16_t>{5, 6, 7}}) {
      DocumentFixture f(MakeMono(values, kFreq));
      f.workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({1000, 2000}, kFreq), "e"))
          ->SetRegisterName("speed");
      if (values.size() == 3) f.doc->SetSelection(1, 2);
      TRollOutProps props;
      props.SpeedEnvelope = envelope;
      props.SpeedWave.SetName("speed");
      EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::RollOut, props),
                TCommandResult::Done)
          << envelope << values.size();
      const std::vector<std::int16_t> expected =
          values.size() == 3 ? std::vector<std::int16_t>{5, 7} : std::vector<std::int16_t>{};
      EXPECT_EQ(LeftOf(*f.doc), expected) << envelope << values.size();
      EXPECT_FALSE(f.doc->HasSelection());
      EXPECT_EQ(f.doc->GetCursor(), values.size() == 3 ? 1 : 0);
      EXPECT_EQ(f.window.unpaired, 0);
    }
  }
}

TEST(WaveCommands, BlockTimesGiveEachHeightItsOwnTime) {
  // Time 1 = 1 ms at Height 1 (1000), Time 2 = 4 ms at Height 2 (-1000): a
  // period of 5 values at 1000 Hz starting at Height 2, middle 4 / 5. From
  // the start position 0.1 the phases are 0.1, 0.3, 0.5, 0.7 (below the
  // middle: Height 2) and 0.9 (Height 1), far from the edge.
  DocumentFixture f(MakeMono({}, kFreq));
  TBlockTriangleProps props;
  props.UseTimes = true;
  props.Height1.SetValue(1000);
  props.Height2.SetValue(-1000);
  props.Time1.SetValue(0.001);
  props.Time2.SetValue(0.004);
  props.LengthSeconds.SetValue(0.01);  // 10 values
  props.StartPhase.SetValue(0.1);
  ASSERT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::MakeBlock, props),
            TCommandResult::Done);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{-1000, -1000, -1000, -1000, 1000, -1000,
                                                       -1000, -1000, -1000, 1000}));
}

TEST(WaveCommands, BlockTurnsCountsIntoBlockTimeAndLevels) {
  // 6 values at 1000 Hz in 2 blocks: blocks of 3 values holding their
  // averages; no vertical change.
  DocumentFixture f(MakeMono({1, 2, 3, 4, 5, 6}, kFreq));
  TBlockProps props;
  props.HorizontalCount.SetValue(2);
  props.Vertical = kBlockNoChange;
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Block, props);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{2, 2, 2, 5, 5, 5}));
}

TEST(WaveCommands, BalanceMakesAMonoSoundStereoOnly) {
  DocumentFixture f(MakeMono({1000, -1000, 500}, kFreq));
  EXPECT_TRUE(CommandEnabled(f.workspace, *f.doc, TWaveCommand::Balance));
  EXPECT_FALSE(CommandEnabled(f.workspace, *f.doc, TWaveCommand::MixLeftRight));
  TBalanceProps props;
  props.TimeDiff = false;
  props.VolumeDiff = kBalanceVolume;  // straight ahead: both at half volume
  f.window.calls.clear();
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Balance, props);
  EXPECT_EQ(f.doc->GetMonoStereo(), 2);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{500, -500, 250}));
  EXPECT_EQ(RightOf(*f.doc), (std::vector<std::int16_t>{500, -500, 250}));
  EXPECT_EQ(f.window.Stretches(), (std::vector<std::string>{"channels 2"}));
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Balance, props),
            TCommandResult::NotEnabled);
}

TEST(WaveCommands, MixLeftRightSwapsChannels) {
  DocumentFixture f(MakeStereo({1, 2}, {3, 4}, kFreq));
  TLeftRightProps props;
  props.Left2Left.SetValue(0);
  props.Left2Right.SetValue(1);
  props.Right2Left.SetValue(1);
  props.Right2Right.SetValue(0);
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::MixLeftRight, props);
  EXPECT_EQ(LeftOf(*f.doc), (std::vector<std::int16_t>{3, 4}));
  EXPECT_EQ(RightOf(*f.doc), (std::vector<std::int16_t>{1, 2}));
}

TEST(WaveCommands, TempoPitchStoresTheRangesDuration) {
  CommandFixture f;
  f.doc->SetSelection(10, 30);
  const TWaveRecord record = CommandRecord(*f.doc, TWaveCommand::TempoPitch);
  EXPECT_DOUBLE_EQ(std::get<TTempoPitchProps>(record).Duration, 0.02);
  TTempoPitchProps props = std::get<TTempoPitchProps>(record);
  props.BlockSeconds.SetValue(0.004);
  props.LengthMode = kNewLengthSeconds;
  props.NewLength.SetValue(0.03);  // 30 values
  RunWaveCommand(f.workspace, *f.doc, TWaveCommand::TempoPitch, props);
  EXPECT_EQ(f.doc->GetSelHigh() - f.doc->GetSelLow(), 30);
  EXPECT_DOUBLE_EQ(f.doc->Records.tempoPitch.Duration, 0.02);
}

TEST(WaveCommands, DisabledCommandsDoNothing) {
  DocumentFixture f(MakeMono({}, kFreq));
  for (TWaveCommand command :
       {TWaveCommand::Volume, TWaveCommand::Reverse, TWaveCommand::EditDelete,
        TWaveCommand::EditPaste, TWaveCommand::EditClearClipboard, TWaveCommand::RndEcho}) {
    EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, command, CommandRecord(*f.doc, command)),
              TCommandResult::NotEnabled)
        << WaveCommandName(command);
  }
  EXPECT_EQ(f.workspace.GetUndoUnit(), nullptr);
  EXPECT_EQ(f.doc->GetState(), TUnitState::Saved);
}

TEST(WaveCommands, RefusedParametersShowAMessageAndChangeNothing) {
  RecordingUi ui;
  CommandFixture f;
  TLineProps line;
  line.Exponential = true;
  line.To.SetValue(0);
  THighLowProps filter;
  filter.Factor.SetValue(1);
  const std::vector<std::pair<TWaveCommand, TWaveRecord>> refused = {
      {TWaveCommand::MakeLine, line},
      {TWaveCommand::FilterLow, filter},
  };
  for (const auto& [command, record] : refused) {
    EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, command, record), TCommandResult::Refused);
  }
  EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                            "Input Error: Exponential Line may not contain value 0.",
                            "Input Error: In Volume Factor: Value must be less than 1."}));
  EXPECT_EQ(LeftOf(*f.doc), CommandFixture::Wiggle());
  EXPECT_EQ(f.doc->GetState(), TUnitState::Saved);
  EXPECT_EQ(f.workspace.GetUndoUnit(), nullptr);
}

TEST(WaveCommands, ARefusedCommandLeavesTheDocumentsRecordAndTheDefaultAsTheyWere) {
  RecordingUi ui;
  CommandFixture f;
  // A confirmed line first, so that the records differ from the defaults.
  TLineProps first;
  first.To.SetValue(-1000);
  first.Seconds.SetValue(0.003);
  ASSERT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::MakeLine, first),
            TCommandResult::Done);
  ASSERT_EQ(f.doc->Records.line.To.GetValue(), -1000);

  TLineProps refused;
  refused.Exponential = true;
  refused.To.SetValue(0);
  refused.Seconds.SetValue(0.007);
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::MakeLine, refused),
            TCommandResult::Refused);
  for (const TLineProps* line : {&f.doc->Records.line, &f.workspace.Defaults.line}) {
    EXPECT_FALSE(line->Exponential);
    EXPECT_EQ(line->To.GetValue(), -1000);
    EXPECT_DOUBLE_EQ(line->Seconds.GetValue(), 0.003);
  }
  // A refusal after a missing wave keeps the record too.
  TVolumeProps volume;
  volume.Envelope = true;
  volume.EnvelopeWave.SetName("nowhere");
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Volume, volume),
            TCommandResult::Refused);
  EXPECT_FALSE(f.doc->Records.volume.Envelope);
  EXPECT_FALSE(f.workspace.Defaults.volume.Envelope);
}

TEST(WaveCommands, AFailedOperationLeavesTheDocumentAsItWas) {
  RecordingUi ui;
  SineTableLifetime sine;
  for (const CommandCase& c : Cases()) {
    CommandFixture f;
    f.doc->SetSelection(10, 20);
    const Sound* before = &f.doc->GetSound();
    FailAllocationAfter(0);
    const TCommandResult result = RunWaveCommand(f.workspace, *f.doc, c.command, c.record);
    FailAllocationAfter(-1);
    const char* name = WaveCommandName(c.command);
    EXPECT_EQ(result, TCommandResult::Failed) << name;
    EXPECT_EQ(&f.doc->GetSound(), before) << name;
    EXPECT_EQ(LeftOf(*f.doc), CommandFixture::Wiggle()) << name;
    EXPECT_EQ(f.doc->GetSelLow(), 10) << name;
    EXPECT_EQ(f.doc->GetSelHigh(), 20) << name;
    EXPECT_EQ(f.window.unpaired, 0) << name;
    // The command still counts as a change.
    EXPECT_EQ(f.doc->GetState(), TUnitState::Changed) << name;
  }
}

TEST(WaveCommands, ALengthBeyondThirtyTwoBitsIsReportedAsTooMuchForMemory) {
  // 100000 s at 44100 Hz are 4.41e9 values, more than a count holds: the
  // command fails as out of memory and the document keeps its sound, rather
  // than the count wrapping into a negative one that refuses with a message
  // of its own.
  TSilenceProps silence;
  silence.Seconds.SetValue(100000);
  TBlockTriangleProps block;
  block.LengthSeconds.SetValue(100000);
  TRollInProps rollIn;
  rollIn.Seconds.SetValue(100000);
  const std::vector<std::pair<TWaveCommand, TWaveRecord>> cases = {
      {TWaveCommand::MakeSilence, silence},
      {TWaveCommand::MakeBlock, block},
      {TWaveCommand::RollIn, rollIn},
  };
  for (const auto& [command, record] : cases) {
    const char* name = WaveCommandName(command);
    RecordingUi ui;
    // The generators insert into an empty wave; Roll in takes a whole one.
    const std::vector<std::int16_t> values =
        command == TWaveCommand::RollIn ? Ramp(10) : std::vector<std::int16_t>{};
    DocumentFixture f(MakeMono(values, 44100));
    const Sound* before = &f.doc->GetSound();
    EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, command, record), TCommandResult::Failed) << name;
    EXPECT_EQ(
        ui.Texts(),
        (std::vector<std::string>{"System Error: There is not enough memmory for this operation."}))
        << name;
    EXPECT_EQ(&f.doc->GetSound(), before) << name;
    EXPECT_EQ(LeftOf(*f.doc), values) << name;
    EXPECT_EQ(f.window.unpaired, 0) << name;
  }
}

TEST(WaveCommands, ACommandWithNothingToWorkOnLeavesStateAndUndoAlone) {
  CommandFixture f;
  TPerEchoProps echo;  // an echo needs two values at least
  f.doc->SetSelection(5, 6);
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::PerEcho, echo),
            TCommandResult::Unchanged);
  EXPECT_EQ(f.doc->GetState(), TUnitState::Saved);
  EXPECT_EQ(f.workspace.GetUndoUnit(), nullptr);
  const std::vector<std::int16_t> before = LeftOf(*f.doc);
  ASSERT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Reverse), TCommandResult::Done);
  const TUndoUnit* reverseUndo = f.workspace.GetUndoUnit();
  f.doc->SetSelection(5, 6);
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::PerEcho, echo),
            TCommandResult::Unchanged);
  EXPECT_EQ(
      RunWaveCommand(f.workspace, *f.doc, TWaveCommand::FileProperties, f.doc->GetProperties()),
      TCommandResult::Unchanged);
  // Undo still takes the Reverse back.
  EXPECT_EQ(f.workspace.GetUndoUnit(), reverseUndo);
  f.workspace.Undo();
  EXPECT_EQ(LeftOf(*f.doc), before);
}

TEST(WaveCommands, ACancelledCommandLeavesDocumentStateAndUndoAsTheyWere) {
  RecordingUi ui;
  CommandFixture f;
  ASSERT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Reverse), TCommandResult::Done);
  f.doc->SetSaved();
  const TUndoUnit* reverseUndo = f.workspace.GetUndoUnit();
  const std::vector<std::int16_t> before = LeftOf(*f.doc);
  {
    ProgressScope scope;
    scope.RequestCancel();
    EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Volume, Volume()),
              TCommandResult::Failed);
  }
  EXPECT_EQ(LeftOf(*f.doc), before);
  EXPECT_EQ(f.doc->GetState(), TUnitState::Saved);
  EXPECT_EQ(f.workspace.GetUndoUnit(), reverseUndo);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(WaveCommands, ADisabledCommandSaysWhatItNeeds) {
  DocumentFixture mono(MakeMono({1, 2}, kFreq));
  DocumentFixture stereo(MakeStereo({1, 2}, {3, 4}, kFreq));
  DocumentFixture empty(MakeMono({}, kFreq));
  const struct {
    DocumentFixture* f;
    TWaveCommand command;
    const char* why;
  } cases[] = {
      {&mono, TWaveCommand::MixLeftRight, "needs a stereo wave"},
      {&stereo, TWaveCommand::Balance, "needs a mono wave"},
      {&empty, TWaveCommand::Volume, "needs a wave with values"},
      {&empty, TWaveCommand::Balance, "needs a wave with values"},
      {&mono, TWaveCommand::EditPaste, "needs a sound on the clipboard"},
      {&mono, TWaveCommand::EditSwap, "needs a sound on the clipboard"},
      {&mono, TWaveCommand::EditTrim, "needs a selection"},
      {&empty, TWaveCommand::MakeSinus, ""},
      {&mono, TWaveCommand::Balance, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WhyNotEnabled(c.f->workspace, *c.f->doc, c.command), c.why)
        << WaveCommandName(c.command);
    EXPECT_EQ(CommandEnabled(c.f->workspace, *c.f->doc, c.command), std::string(c.why).empty());
  }
}

namespace {

// Every record alternative that reads a wave, pointed at the wave "env".
std::vector<std::pair<TWaveCommand, TWaveRecord>> EnvelopeCases() {
  unitUnitWave env("env");
  std::vector<std::pair<TWaveCommand, TWaveRecord>> cases;
  {
    TBlockTriangleProps p;
    p.Period.SetValue(0.004);
    p.MiddleEnvelope = true;
    p.MiddleWave = env;
    p.LengthMode = kLengthSameAs;
    p.LengthWave = env;
    cases.push_back({TWaveCommand::MakeTriangle, p});
  }
  {
    TMFreqProps p;
    p.Seconds.SetValue(0.01);
    p.UseForm = true;
    p.Form = env;
    cases.push_back({TWaveCommand::MakeMFreq, p});
  }
  {
    TVolumeProps p;
    p.Envelope = true;
    p.EnvelopeWave = env;
    cases.push_back({TWaveCommand::Volume, p});
  }
  {
    THighLowProps p;
    p.Envelope = true;
    p.FreqWave = env;
    p.MaximizeVolume = true;
    p.Count.SetValue(2);
    cases.push_back({TWaveCommand::FilterLow, p});
  }
  {
    TResNotchProps p;
    p.FreqEnvelope = true;
    p.FreqWave = env;
    p.WidthEnvelope = true;
    p.WidthWave = env;
    cases.push_back({TWaveCommand::FilterNotch, p});
  }
  {
    TRollOutProps p;
    p.SpeedEnvelope = true;
    p.SpeedWave = env;
    cases.push_back({TWaveCommand::RollOut, p});
  }
  {
    TLengthProps p;
    p.LengthMode = kLengthBySameAs;
    p.SameLengthAs = env;
    cases.push_back({TWaveCommand::Length, p});
  }
  {
    TTempoPitchProps p;
    p.FreqEnvelope = true;
    p.FreqWave = env;
    p.SpeedEnvelope = true;
    p.SpeedWave = env;
    p.BlockSeconds.SetValue(0.004);
    cases.push_back({TWaveCommand::TempoPitch, p});
  }
  {
    TPerEchoProps p;
    p.Time.SetValue(-0.002);  // the envelope gives the direction
    p.TimeEnvelope = true;
    p.TimeWave = env;
    p.VolumeEnvelope = true;
    p.VolumeWave = env;
    cases.push_back({TWaveCommand::PerEcho, p});
  }
  {
    TBlockFilterProps p;
    p.Time.SetValue(0.003);
    p.Envelope = true;
    p.EnvelopeWave = env;
    cases.push_back({TWaveCommand::FilterBlock, p});
  }
  return cases;
}

}  // namespace

TEST(WaveCommands, EnvelopeAlternativesReadTheRegisteredWave) {
  RecordingUi ui;
  SineTableLifetime sine;
  for (const auto& [command, record] : EnvelopeCases()) {
    const char* name = WaveCommandName(command);
    CommandFixture f;
    TUnitWave* env = f.workspace.AddWave(std::make_unique<TUnitWave>(
        MakeMono({0, 10000, 20000, 32767, 20000, 10000, 0, -10000}, kFreq), "env.wav"));
    env->SetRegisterName("env");
    f.doc->SetSelection(10, 20);
    EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, command, record), TCommandResult::Done) << name;
    EXPECT_NE(LeftOf(*f.doc), CommandFixture::Wiggle()) << name;
    EXPECT_EQ(f.window.unpaired, 0) << name;
    // Without the wave the command refuses and names it.
    f.workspace.CloseUnit(env);
    ui.messages.clear();
    f.doc->SetSelection(10, 20);
    EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, command, record), TCommandResult::Refused)
        << name;
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Error: Cannot find window \"env\"."})) << name;
  }
  // Balance of a mono sound by a direction envelope.
  CommandFixture f;
  f.workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({-32768, 32767}, kFreq), "e"))
      ->SetRegisterName("dir");
  TBalanceProps balance;
  balance.Envelope = true;
  balance.EnvelopeWave.SetName("dir");
  EXPECT_EQ(RunWaveCommand(f.workspace, *f.doc, TWaveCommand::Balance, balance),
            TCommandResult::Done);
  EXPECT_EQ(f.doc->GetMonoStereo(), 2);
}
