#include "documents/fields.h"

#include <gtest/gtest.h>

#include <cmath>

#include "documents/unitwave.h"
#include "documents/workspace.h"
#include "support/recordingui.h"

namespace {

// The record a command's dialog opens with on a fresh one-second document.
TRecordForm FormFor(TWaveCommand command) {
  static TWorkspace workspace;
  static TUnitWave* unitWave = workspace.NewWave(TWaveFileProps{1000, 1, 2});
  const TFormDesc* desc = FindForm(command);
  EXPECT_NE(desc, nullptr);
  return TRecordForm(*desc, CommandRecord(*unitWave, command));
}

void SetOk(TRecordForm& form, const std::string& label, const std::string& text,
           std::size_t index = 0) {
  std::string error;
  ASSERT_TRUE(form.Set(label, index, text, error)) << error;
}

}  // namespace

TEST(RecordForm, ChangeVolumeShowsAndReadsItsFactor) {
  RecordingUi ui;
  TRecordForm form = FormFor(TWaveCommand::Volume);
  const TFieldDesc* constant = form.FindField("Constant");
  ASSERT_NE(constant, nullptr);
  EXPECT_EQ(form.Text(*constant), "50 %");
  SetOk(form, "Constant", "-6 dB");
  ASSERT_TRUE(form.Read());
  const auto& volume = std::get<TVolumeProps>(form.Record());
  EXPECT_NEAR(volume.Factor.GetValue(), 0.501, 0.001);
  EXPECT_EQ(volume.Factor.ToText(), "-6 dB");
  EXPECT_FALSE(volume.Envelope);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(RecordForm, FirstBadFieldIsTheOnlyMessage) {
  RecordingUi ui;
  TRecordForm form = FormFor(TWaveCommand::Volume);
  SetOk(form, "Constant", "abc");
  EXPECT_FALSE(form.Read());
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Input Error: In Constant: Input has no value."});
  // Giving the envelope chooses it; without a wave it cannot be read.
  RecordingUi second;
  TRecordForm envelope = FormFor(TWaveCommand::Volume);
  SetOk(envelope, "Envelope", "");
  EXPECT_FALSE(envelope.Read());
  EXPECT_EQ(second.Texts(),
            std::vector<std::string>{"Input Error: In Envelope: You have to select a Wave"});
  RecordingUi third;
  TRecordForm line = FormFor(TWaveCommand::MakeLine);
  SetOk(line, "Begin Value", "2");
  SetOk(line, "Length", "5");
  EXPECT_FALSE(line.Read());
  ASSERT_EQ(third.messages.size(), 1U);
  EXPECT_EQ(third.messages[0].text, "In Begin Value: Wave Value is too high. (maximum: 1)");
}

TEST(RecordForm, LabelsMatchIgnoringCaseAndSpaces) {
  RecordingUi ui;
  TRecordForm form = FormFor(TWaveCommand::Block);
  const TFieldDesc* count = form.FindField("horizontal count");
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count->label, " Horizontal Count");
  SetOk(form, "Horizontal Count", "0");
  EXPECT_FALSE(form.Read());
  ASSERT_EQ(ui.messages.size(), 1U);
  // The label begins with a space, so two follow "In".
  EXPECT_EQ(ui.messages[0].text.rfind("In  Horizontal Count: ", 0), 0U) << ui.messages[0].text;
  std::string error;
  EXPECT_FALSE(form.Set("Nonsense", 0, "1", error));
  EXPECT_EQ(error, "\"Nonsense\" is not a field of \"Block\"");
}

TEST(RecordForm, ChoicesAlternativesAndChecks) {
  RecordingUi ui;
  TRecordForm mix = FormFor(TWaveCommand::EditMix);
  SetOk(mix, "Place", "align end");
  ASSERT_TRUE(mix.Read());
  EXPECT_EQ(std::get<TMixProps>(mix.Record()).Place, kMixAlignEnd);
  std::string error;
  EXPECT_FALSE(mix.Set("Place", 0, "Sideways", error));
  EXPECT_EQ(error, "\"Sideways\" is not an option of \"Place\"");

  // Choosing "No Change" leaves the count unread: a bad count does not matter.
  TRecordForm block = FormFor(TWaveCommand::Block);
  SetOk(block, "Horizontal Count", "-3");
  SetOk(block, "Horizontal", "No Change");
  EXPECT_TRUE(block.Read());
  EXPECT_EQ(std::get<TBlockProps>(block.Record()).Horizontal, kBlockNoChange);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(RecordForm, MixLeftRightExamplesFillTheFourFactors) {
  TRecordForm form = FormFor(TWaveCommand::MixLeftRight);
  SetOk(form, "Example", "Swapped");
  ASSERT_TRUE(form.Read());
  const auto& props = std::get<TLeftRightProps>(form.Record());
  EXPECT_EQ(props.Left2Left.GetValue(), 0);
  EXPECT_EQ(props.Left2Right.GetValue(), 1);
  EXPECT_EQ(props.Right2Left.GetValue(), 1);
  EXPECT_EQ(props.Right2Right.GetValue(), 0);
  TRecordForm mono = FormFor(TWaveCommand::MixLeftRight);
  SetOk(mono, "Example", "Mono");
  ASSERT_TRUE(mono.Read());
  EXPECT_EQ(std::get<TLeftRightProps>(mono.Record()).Right2Left.GetValue(), 0.5);
}

TEST(RecordForm, FrequenciesAreNumberedFromOneAndAppend) {
  TRecordForm form = FormFor(TWaveCommand::MakeMFreq);
  SetOk(form, "Frequency", "440 Hz", 1);
  SetOk(form, "Frequency", "880 Hz", 2);
  std::string error;
  EXPECT_FALSE(form.Set("Frequency", 4, "1 kHz", error));
  EXPECT_FALSE(form.Set("Frequency", 0, "1 kHz", error));
  ASSERT_TRUE(form.Read());
  const auto& freqs = std::get<TMFreqProps>(form.Record()).Freqs;
  ASSERT_EQ(freqs.size(), 2U);
  EXPECT_NEAR(freqs[0].Period.GetValue(), 1.0 / 440, 1e-9);
  EXPECT_NEAR(freqs[1].Period.GetValue(), 1.0 / 880, 1e-9);
  // The appended frequency starts from the defaults.
  EXPECT_EQ(freqs[1].StartVolume.GetValue(), 0.5);
}

TEST(RecordForm, FrequencyRecordsAreReadOneAfterTheOther) {
  RecordingUi ui;
  TRecordForm form = FormFor(TWaveCommand::MakeMFreq);
  SetOk(form, "Start Volume", "1 %", 1);
  SetOk(form, "Frequency", "xyz", 1);
  SetOk(form, "Start Volume", "abc", 2);
  EXPECT_FALSE(form.Read());
  // The first record's frequency comes before the second record's volume.
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Input Error: In Frequency: Input has no value."});
}

TEST(RecordForm, AWaveThatIsNotOpenIsNothingSelected) {
  RecordingUi ui;
  TRecordForm form = FormFor(TWaveCommand::Volume);
  SetOk(form, "Envelope", "nowhere");
  EXPECT_FALSE(form.Read());
  EXPECT_EQ(ui.Texts(),
            std::vector<std::string>{"Input Error: In Envelope: You have to select a Wave"});
}

TEST(RecordForm, RollInPositionIsReadInsideTheNewLength) {
  RecordingUi ui;
  TRecordForm form = FormFor(TWaveCommand::RollIn);
  SetOk(form, "Length", "2 s");
  SetOk(form, "Start at", "1.5 s");
  ASSERT_TRUE(form.Read()) << (ui.messages.empty() ? "" : ui.messages[0].text);
  EXPECT_DOUBLE_EQ(std::get<TRollInProps>(form.Record()).StartAt.GetValue(), 1.5);
  TRecordForm beyond = FormFor(TWaveCommand::RollIn);
  SetOk(beyond, "Length", "1 s");
  SetOk(beyond, "Start at", "1.5 s");
  EXPECT_FALSE(beyond.Read());
  EXPECT_EQ(ui.Texts().back(),
            "Input Error: In Start at: Position must be before the end of the wave");
}

TEST(RecordForm, TheWaveFormatTakesTheDialogsTextsAndShortOnes) {
  RecordingUi ui;
  TRecordForm form = FormFor(TWaveCommand::FileProperties);
  SetOk(form, "Frequency", "22050");
  SetOk(form, "channels", "Mono");
  SetOk(form, "Bits", "8");
  ASSERT_TRUE(form.Read());
  EXPECT_EQ(std::get<TWaveFileProps>(form.Record()), (TWaveFileProps{22050, 1, 1}));
  SetOk(form, "Channels", "2");
  SetOk(form, "Bits", "16 bits");
  ASSERT_TRUE(form.Read());
  EXPECT_EQ(std::get<TWaveFileProps>(form.Record()), (TWaveFileProps{22050, 2, 2}));
  std::string error;
  EXPECT_FALSE(form.Set("Channels", 0, "3", error));
  EXPECT_EQ(error, "\"3\" is not an option of \"Channels\"");
  // A frequency that cannot be is an input error, and the record keeps the
  // format it had.
  SetOk(form, "Frequency", "0");
  EXPECT_FALSE(form.Read());
  EXPECT_EQ(ui.Texts().back(), "Input Error: In Frequency: Value must be positive and more than 0.");
  EXPECT_EQ(std::get<TWaveFileProps>(form.Record()).Frequency, 22050);
}

TEST(RecordForm, EveryFormReadsBackItsDefaults) {
  // Opening a dialog and pressing OK must not change a record: every text
  // shown reads back to a value shown with the same text. Only forms whose
  // chosen fields include a wave list cannot be confirmed without a wave.
  RecordingUi ui;
  int forms = 0;
  for (TWaveCommand command : AllWaveCommands()) {
    const TFormDesc* desc = FindForm(command);
    if (desc == nullptr) continue;
    ++forms;
    TRecordForm form = FormFor(command);
    TRecordForm original = FormFor(command);
    bool needsWave = false;
    for (const TFieldDesc& field : desc->fields) {
      if (field.kind == TFieldKind::WaveList && (!field.active || field.active(form.Record()))) {
        needsWave = true;
      }
    }
    EXPECT_EQ(form.Read(), !needsWave) << desc->caption;
    if (needsWave) continue;
    TWaveRecord record = form.Record();
    for (const TFieldDesc& field : desc->fields) {
      if (!field.value) continue;
      EXPECT_EQ(field.value(record, 0).ToText(), original.Text(field, 0))
          << desc->caption << ": " << field.label;
    }
  }
  // Two dialogs serve two commands each (high/low, resonant/notch) and one
  // serves block and triangle: 26 records, 26 forms, and the format's.
  EXPECT_EQ(forms, 27);
}
