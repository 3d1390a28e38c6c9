// The dialogs' forms: the fields of every parameter record in reading
// order, with their labels, unit classes and alternatives.
#include "documents/formtable.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "documents/fields.h"

namespace {

// --- builders ----------------------------------------------------------------

template <class R, class Get>
TFieldDesc EditWith(const char* label, const char* unitClass, Get get) {
  TFieldDesc field{TFieldKind::Edit, label, unitClass};
  field.value = [get](TWaveRecord& record, std::size_t) -> unit& {
    return get(std::get<R>(record));
  };
  return field;
}

template <class R, class U>
TFieldDesc Edit(const char* label, const char* unitClass, U R::*member) {
  return EditWith<R>(label, unitClass, [member](R& r) -> unit& { return r.*member; });
}

template <class R>
TFieldDesc WaveField(const char* label, unitUnitWave R::*member) {
  TFieldDesc field = Edit(label, "unitUnitWave", member);
  field.kind = TFieldKind::WaveList;
  return field;
}

template <class R, class Get, class Set>
TFieldDesc ChoiceWith(const char* caption, std::vector<std::string> options, Get get, Set set) {
  TFieldDesc field{TFieldKind::Choice, caption, "", std::move(options)};
  field.getChoice = [get](const TWaveRecord& record) { return get(std::get<R>(record)); };
  field.setChoice = [set](TWaveRecord& record, int option) { set(std::get<R>(record), option); };
  return field;
}

template <class R>
TFieldDesc Choice(const char* caption, std::vector<std::string> options, std::uint8_t R::*member) {
  return ChoiceWith<R>(
      caption, std::move(options), [member](const R& r) { return static_cast<int>(r.*member); },
      [member](R& r, int option) { r.*member = static_cast<std::uint8_t>(option); });
}

// A two-way choice stored as a bool: option 1 is `true`.
template <class R>
TFieldDesc BoolChoice(const char* caption, std::vector<std::string> options, bool R::*member) {
  return ChoiceWith<R>(
      caption, std::move(options), [member](const R& r) { return r.*member ? 1 : 0; },
      [member](R& r, int option) { r.*member = option != 0; });
}

template <class R>
TFieldDesc Check(const char* label, bool R::*member) {
  TFieldDesc field = BoolChoice<R>(label, {}, member);
  field.kind = TFieldKind::Check;
  return field;
}

// The field belongs to the alternative where `flag` is `value`.
template <class R>
TFieldDesc When(TFieldDesc field, bool R::*flag, bool value) {
  field.active = [flag, value](const TWaveRecord& record) {
    return std::get<R>(record).*flag == value;
  };
  field.choose = [flag, value](TWaveRecord& record) { std::get<R>(record).*flag = value; };
  return field;
}

// The field belongs to the alternative where `mode` is `value`.
template <class R>
TFieldDesc WhenMode(TFieldDesc field, std::uint8_t R::*mode, std::uint8_t value) {
  field.active = [mode, value](const TWaveRecord& record) {
    return std::get<R>(record).*mode == value;
  };
  field.choose = [mode, value](TWaveRecord& record) { std::get<R>(record).*mode = value; };
  return field;
}

// --- the forms -----------------------------------------------------------------

}  // namespace

std::vector<TFieldDesc> BlockTriangleFields() {
  using R = TBlockTriangleProps;
  TFieldDesc middle =
      When(Edit("Middle", "unitAngleFactor", &R::Middle), &R::MiddleEnvelope, false);
  TFieldDesc middleWave =
      When(WaveField("Middle Envelope", &R::MiddleWave), &R::MiddleEnvelope, true);
  // Frequency and middle describe the period only when the two times do not.
  for (TFieldDesc* field : {&middle, &middleWave}) {
    auto active = field->active;
    auto choose = field->choose;
    field->active = [active](const TWaveRecord& r) {
      return !std::get<R>(r).UseTimes && active(r);
    };
    field->choose = [choose](TWaveRecord& r) {
      std::get<R>(r).UseTimes = false;
      choose(r);
    };
  }
  return {
      Edit("Height 1", "unitWaveVal", &R::Height1),
      Edit("Height 2", "unitWaveVal", &R::Height2),
      When(Edit("Frequency", "unitTimePosMore", &R::Period), &R::UseTimes, false),
      middle,
      middleWave,
      When(Edit("Time 1", "unitTimePosMore", &R::Time1), &R::UseTimes, true),
      When(Edit("Time 2", "unitTimePosMore", &R::Time2), &R::UseTimes, true),
      WhenMode(Edit("Length New", "unitTimePosMore", &R::LengthSeconds), &R::LengthMode,
               kLengthNew),
      WhenMode(WaveField("Length Same As", &R::LengthWave), &R::LengthMode, kLengthSameAs),
      WhenMode(Edit("Length Count", "unitFactorPosMore", &R::LengthCount), &R::LengthMode,
               kLengthCount),
      Edit("Start Position", "unitAngleFactor", &R::StartPhase),
  };
}

namespace {

TFieldDesc FrequencyField(const char* label, const char* unitClass, unit& (*get)(TMFreqRecord&)) {
  TFieldDesc field{TFieldKind::Edit, label, unitClass};
  field.perFrequency = true;
  field.value = [get](TWaveRecord& record, std::size_t index) -> unit& {
    return get(std::get<TMFreqProps>(record).Freqs[index]);
  };
  return field;
}

}  // namespace

std::vector<TFieldDesc> MFreqFields() {
  using R = TMFreqProps;
  return {
      Edit("Length", "unitTimePosMore", &R::Seconds),
      BoolChoice<R>("Source", {"Sine", "Wave Form"}, &R::UseForm),
      When(WaveField("Wave Form", &R::Form), &R::UseForm, true),
      FrequencyField("Start Volume", "unitVolumeFactor",
                     [](TMFreqRecord& f) -> unit& { return f.StartVolume; }),
      FrequencyField("Frequency", "unitTimePosMore",
                     [](TMFreqRecord& f) -> unit& { return f.Period; }),
      FrequencyField("Start Angle", "unitAngleFactor",
                     [](TMFreqRecord& f) -> unit& { return f.StartAngle; }),
      FrequencyField("Volume Factor", "unitFactorPosMore",
                     [](TMFreqRecord& f) -> unit& { return f.VolumeFactor; }),
      FrequencyField("Volume Factor at Time", "unitTimePosMore",
                     [](TMFreqRecord& f) -> unit& { return f.FactorTime; }),
  };
}

namespace {

// The length choices shared by Roll out and Tempo and Pitch.
template <class R>
std::vector<TFieldDesc> NewLengthFields() {
  return {
      WhenMode(Edit("Length Factor", "unitFactorPosMore", &R::LengthFactor), &R::LengthMode,
               kNewLengthFactor),
      WhenMode(Edit("New Length", "unitTimePosMore", &R::NewLength), &R::LengthMode,
               kNewLengthSeconds),
      WhenMode(WaveField("Same Length as", &R::SameLengthAs), &R::LengthMode, kNewLengthSameAs),
      WhenMode(Edit("Count", "unitFactorPosMore", &R::Count), &R::LengthMode, kNewLengthCount),
  };
}

std::vector<TFieldDesc> Joined(std::initializer_list<std::vector<TFieldDesc>> parts) {
  std::vector<TFieldDesc> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The examples of Mix Left Right: left2Left, left2Right, right2Left,
// right2Right as the dialog writes them.
struct MixExample {
  const char* name;
  const char* values[4];
};
constexpr MixExample kMixExamples[] = {
    {"Normal", {"100 %", "0 %", "0 %", "100 %"}},
    {"Swapped", {"0 %", "100 %", "100 %", "0 %"}},
    {"Extra Stereo", {"150 %", "-50 %", "-50 %", "150 %"}},
    {"Super Stereo", {"200 %", "-100 %", "-100 %", "200 %"}},
    {"Surround", {"100 %", "0 %", "0 %", "-100 %"}},
    {"Mono", {"50 %", "50 %", "50 %", "50 %"}},
    {"Mono at Left, Surround at Right", {"50 %", "50 %", "50 %", "-50 %"}},
    {"Mono at Right, Surround at Left", {"50 %", "50 %", "-50 %", "50 %"}},
};
constexpr const char* kMixLabels[4] = {"from Left to Left", "from Left to Right",
                                       "from Right to Left", "from Right to Right"};

}  // namespace

std::vector<TFieldDesc> LeftRightFields() {
  using R = TLeftRightProps;
  TFieldDesc example{TFieldKind::Choice, "Example", ""};
  example.options.reserve(std::size(kMixExamples));
  for (const MixExample& e : kMixExamples) example.options.emplace_back(e.name);
  example.fills = [](int option) {
    std::vector<std::pair<std::string, std::string>> texts;
    texts.reserve(4);
    for (int i = 0; i < 4; ++i) texts.emplace_back(kMixLabels[i], kMixExamples[option].values[i]);
    return texts;
  };
  return {
      Edit(kMixLabels[0], "unitVolumeFactor", &R::Left2Left),
      Edit(kMixLabels[1], "unitVolumeFactor", &R::Left2Right),
      Edit(kMixLabels[2], "unitVolumeFactor", &R::Right2Left),
      Edit(kMixLabels[3], "unitVolumeFactor", &R::Right2Right),
      example,
  };
}

namespace {

// One randomly varied property of Random Echo: its kind, its die and, for
// a random envelope, the envelope wave.
std::vector<TFieldDesc> RandomPropertyFields(const char* name, TRandomProperty TRandomEchoProps::*p,
                                             std::vector<std::string> kinds,
                                             std::uint8_t envelopeKind) {
  using R = TRandomEchoProps;
  static const std::vector<std::string> kDice{"1", "2", "3", "4", "5", "6"};
  TFieldDesc kind = ChoiceWith<R>(
      name, std::move(kinds), [p](const R& r) { return static_cast<int>((r.*p).kind); },
      [p](R& r, int option) { (r.*p).kind = static_cast<std::uint8_t>(option); });
  TFieldDesc die =
      ChoiceWith<R>((std::string(name) + " Source").c_str(), kDice,
                    [p](const R& r) { return static_cast<int>((r.*p).die); },
                    [p](R& r, int option) { (r.*p).die = static_cast<std::uint8_t>(option); });
  die.label = std::string(name) + " Source";
  TFieldDesc envelope =
      EditWith<R>("", "unitUnitWave", [p](R& r) -> unit& { return (r.*p).envelope; });
  envelope.kind = TFieldKind::WaveList;
  envelope.label = std::string(name) + " - Random Envelope";
  envelope.active = [p, envelopeKind](const TWaveRecord& r) {
    return (std::get<R>(r).*p).kind == envelopeKind;
  };
  envelope.choose = [p, envelopeKind](TWaveRecord& r) { (std::get<R>(r).*p).kind = envelopeKind; };
  return {kind, die, envelope};
}

}  // namespace

std::vector<TFieldDesc> RandomEchoFields() {
  using R = TRandomEchoProps;
  const std::vector<std::string> threeKinds{"No Change", "Linear", "Random Envelope"};
  const std::vector<std::string> twoKinds{"No Change", "Random Envelope"};
  return Joined({
      {Edit("Count", "unitIntegerPosMore", &R::count), Edit("Random Seed", "unitInteger", &R::seed),
       Edit("Time Difference", "unitTimePosMore", &R::timeDiff), Check("Cyclable", &R::cyclable)},
      RandomPropertyFields("Time", &R::time, {"Linear", "Random Envelope"}, kEchoTimeEnvelope),
      RandomPropertyFields("Volume", &R::volume, threeKinds, kEchoEnvelope),
      RandomPropertyFields("Length", &R::length, twoKinds, kEchoRandomEnvelope),
      RandomPropertyFields("Balance", &R::balance, threeKinds, kEchoEnvelope),
      {Choice<R>("Balance - Volume Difference", {"None", "Volume", "Filter"},
                 &R::balanceVolumeDiff),
       Check("Balance - Time Difference", &R::balanceTimeDiff)},
      RandomPropertyFields("Tempo", &R::tempo, twoKinds, kEchoRandomEnvelope),
      RandomPropertyFields("Pitch", &R::pitch, twoKinds, kEchoRandomEnvelope),
      {Edit("Pitch - Frequency Factor", "unitFactor", &R::pitchFactor),
       Edit("Block Size", "unitTimePosMore", &R::blockSize),
       Choice<R>("Quality", {"Low", "High"}, &R::quality)},
  });
}

std::vector<TFieldDesc> SilenceFields() {
  using R = TSilenceProps;
  return {Edit("Length", "unitTimePosMore", &R::Seconds)};
}

std::vector<TFieldDesc> LineFields() {
  using R = TLineProps;
  return {Edit("Begin Value", "unitWaveVal", &R::From), Edit("End Value", "unitWaveVal", &R::To),
          Edit("Length", "unitTimePosMore", &R::Seconds),
          BoolChoice<R>("Kind", {"Linear", "Exponential"}, &R::Exponential)};
}

std::vector<TFieldDesc> NoiseFields() {
  using R = TNoiseProps;
  return {Edit("Length", "unitTimePosMore", &R::Seconds),
          Edit("Volume", "unitWaveVal", &R::Volume)};
}

std::vector<TFieldDesc> SinusFields() {
  using R = TSinusProps;
  return {Edit("Amplitude", "unitWaveVal", &R::Amplitude),
          Edit("Frequency", "unitTimePosMore", &R::Period),
          Edit("Start Phase", "unitAngleFactor", &R::StartPhase),
          When(Edit("Length", "unitTimePosMore", &R::Seconds), &R::UseCount, false),
          When(Edit("Count", "unitFactorPosMore", &R::Count), &R::UseCount, true)};
}

std::vector<TFieldDesc> VolumeFields() {
  using R = TVolumeProps;
  return {When(Edit("Constant", "unitVolumeFactor", &R::Factor), &R::Envelope, false),
          When(WaveField("Envelope", &R::EnvelopeWave), &R::Envelope, true)};
}

std::vector<TFieldDesc> UpFields() {
  using R = TUpProps;
  return {Edit("Add Value", "unitWaveVal", &R::Add)};
}

std::vector<TFieldDesc> DistortFields() {
  using R = TDistortProps;
  return {WaveField("Distort Envelope", &R::Shape)};
}

std::vector<TFieldDesc> RotateFields() {
  using R = TRotateProps;
  return {Choice<R>("Shift to", {"Left", "Right"}, &R::ShiftTo),
          When(Edit("Factor", "unitAngleFactor", &R::Factor), &R::UseTime, false),
          When(Edit("Time", "unitTime", &R::Time), &R::UseTime, true)};
}

std::vector<TFieldDesc> BlockFields() {
  using R = TBlockProps;
  return {Choice<R>("Horizontal", {"Count", "Time", "No Change"}, &R::Horizontal),
          WhenMode(Edit(" Horizontal Count", "unitIntegerPosMore", &R::HorizontalCount),
                   &R::Horizontal, kBlockCount),
          WhenMode(Edit(" Time", "unitTimePosMore", &R::Time), &R::Horizontal, kBlockTimeOrHeight),
          Choice<R>("Vertical", {"Count", "Height", "No Change"}, &R::Vertical),
          WhenMode(Edit(" Vertical Count", "unitIntegerPosMore", &R::VerticalCount), &R::Vertical,
                   kBlockCount),
          WhenMode(Edit(" Height", "unitWaveValPosMore", &R::Height), &R::Vertical,
                   kBlockTimeOrHeight)};
}

std::vector<TFieldDesc> BalanceFields() {
  using R = TBalanceProps;
  return {When(Edit("Direction Constant", "unitBalAngleFactor", &R::Position), &R::Envelope, false),
          When(WaveField("Direction Envelope", &R::EnvelopeWave), &R::Envelope, true),
          Choice<R>("Volume Difference", {"None", "Volume", "Filter"}, &R::VolumeDiff),
          Check("Time Difference", &R::TimeDiff)};
}

std::vector<TFieldDesc> RollInFields() {
  using R = TRollInProps;
  // The placement lies inside the new length, read just before it.
  auto inLength = [](TFieldDesc field) {
    field.prepare = [](TWaveRecord& record) {
      R& r = std::get<R>(record);
      r.StartAt.SetLength(r.Seconds.GetValue());
      r.EndAt.SetLength(r.Seconds.GetValue());
    };
    return field;
  };
  return {Edit("Length", "unitTimePosMore", &R::Seconds),
          BoolChoice<R>("Placement", {"Start at", "End at"}, &R::UseEnd),
          inLength(When(Edit("Start at", "unitWavePosition", &R::StartAt), &R::UseEnd, false)),
          inLength(When(Edit("End at", "unitWavePosition", &R::EndAt), &R::UseEnd, true))};
}

std::vector<TFieldDesc> RollOutFields() {
  using R = TRollOutProps;
  return Joined(
      {{When(Edit("Speed Factor", "unitFactorNotNul", &R::Speed), &R::SpeedEnvelope, false),
        When(WaveField("Speed Envelope", &R::SpeedWave), &R::SpeedEnvelope, true)},
       NewLengthFields<R>(),
       {Edit("Start Position", "unitWavePosition", &R::StartPos)}});
}

std::vector<TFieldDesc> LengthFields() {
  using R = TLengthProps;
  return {
      WhenMode(Edit("Length Factor", "unitFactor", &R::Factor), &R::LengthMode, kLengthByFactor),
      WhenMode(Edit("New Length", "unitTimePosMore", &R::NewLength), &R::LengthMode,
               kLengthBySeconds),
      WhenMode(WaveField("Same Length as", &R::SameLengthAs), &R::LengthMode, kLengthBySameAs)};
}

std::vector<TFieldDesc> TempoPitchFields() {
  using R = TTempoPitchProps;
  return Joined(
      {{When(Edit("Frequency Factor", "unitFactorNotNul", &R::Pitch), &R::FreqEnvelope, false),
        When(WaveField("Frequency Envelope", &R::FreqWave), &R::FreqEnvelope, true),
        When(Edit("Speed Factor", "unitFactorNotNul", &R::Speed), &R::SpeedEnvelope, false),
        When(WaveField("Speed Envelope", &R::SpeedWave), &R::SpeedEnvelope, true)},
       NewLengthFields<R>(),
       {Edit("Start Position", "unitWavePosition", &R::StartPos),
        Edit("Block Size", "unitTimePosMore", &R::BlockSeconds),
        Choice<R>("Quality", {"Low", "High"}, &R::Quality)}});
}

std::vector<TFieldDesc> PerEchoFields() {
  using R = TPerEchoProps;
  return {When(Edit("Time", "unitTime", &R::Time), &R::TimeEnvelope, false),
          When(WaveField(" Echo Time Envelope", &R::TimeWave), &R::TimeEnvelope, true),
          When(Edit("Volume Constant", "unitVolumeFactor", &R::Factor), &R::VolumeEnvelope, false),
          When(WaveField(" Echo Volume Envelope", &R::VolumeWave), &R::VolumeEnvelope, true),
          Edit("Count", "unitIntegerPosMore", &R::Count)};
}

std::vector<TFieldDesc> HighLowFields() {
  using R = THighLowProps;
  return {When(Edit("Frequency", "unitTimePosMore", &R::Period), &R::Envelope, false),
          When(WaveField("Frequency Envelope", &R::FreqWave), &R::Envelope, true),
          Edit("Volume Factor", "unitVolumeFactorPosMoreLess1", &R::Factor),
          Edit("Count", "unitIntegerPosMore", &R::Count),
          Check("Maximize Volume", &R::MaximizeVolume)};
}

std::vector<TFieldDesc> ResNotchFields() {
  using R = TResNotchProps;
  return {When(Edit("Frequency Constant", "unitTimePosMore", &R::Period), &R::FreqEnvelope, false),
          When(WaveField("Frequency Envelope", &R::FreqWave), &R::FreqEnvelope, true),
          When(Edit("Width Constant", "unitFactorPosMax1", &R::Width), &R::WidthEnvelope, false),
          When(WaveField("Frequency Width Envelope", &R::WidthWave), &R::WidthEnvelope, true)};
}

std::vector<TFieldDesc> BlockFilterFields() {
  using R = TBlockFilterProps;
  return {When(Edit("Block Time", "unitTime", &R::Time), &R::Envelope, false),
          When(WaveField("Envelope", &R::EnvelopeWave), &R::Envelope, true)};
}

std::vector<TFieldDesc> MixFields() {
  using R = TMixProps;
  return {Choice<R>("Place", {"Align Begin", "Align End", "Stretch"}, &R::Place)};
}

std::vector<TFieldDesc> WaveFormatFields() {
  using R = TWaveFileProps;
  // The format is plain integers, read through a unit value like every
  // edit field so that the messages are the same.
  TFieldDesc frequency(TFieldKind::Edit, "Frequency", "unitIntegerPosMore");
  frequency.options = {"5 kHz", "11 kHz", "22 kHz", "44 kHz", "88 kHz", "176 kHz"};
  frequency.optionKeys = {"5512", "11025", "22050", "44100", "88200", "176400"};
  frequency.copyValue = [](const TWaveRecord& record) -> std::unique_ptr<unit> {
    return std::make_unique<unitIntegerPosMore>(std::get<R>(record).Frequency);
  };
  frequency.storeValue = [](TWaveRecord& record, const unit& value) {
    std::get<R>(record).Frequency = static_cast<const unitInteger&>(value).GetValue();
  };
  TFieldDesc bits = ChoiceWith<R>(
      "Bits", {"8 Bits", "16 Bits"}, [](const R& r) { return r.BytesPSample == 1 ? 0 : 1; },
      [](R& r, int option) { r.BytesPSample = static_cast<std::int16_t>(option + 1); });
  bits.optionKeys = {"8", "16"};
  bits.caption = "Wave Values";
  TFieldDesc channels = ChoiceWith<R>(
      "Channels", {"Mono", "Stereo"}, [](const R& r) { return r.MonoStereo == 1 ? 0 : 1; },
      [](R& r, int option) { r.MonoStereo = static_cast<std::int16_t>(option + 1); });
  channels.optionKeys = {"1", "2"};
  return {frequency, bits, channels};
}

// --- the view settings -------------------------------------------------------

namespace {

template <class R>
TColorDesc Color(const char* label, TColor R::*member) {
  return {label, [member](TWaveRecord& record) -> TColor& { return std::get<R>(record).*member; }};
}

}  // namespace

TFormDesc MakeWaveViewForm() {
  using R = TWaveViewProps;
  TFormDesc form;
  form.caption = "Wave View";
  form.fields = {Edit("Values per Pixel", "unitIntegerPosMore", &R::ValuesPerPixel),
                 Edit("Strength", "unitFactorPosMore", &R::Strength),
                 Choice<R>("Combine", {"Mixed", "Left at Front", "Right at Front"}, &R::Combine),
                 Choice<R>("Draw", {"Lines", "Points"}, &R::Draw),
                 Choice<R>("Distribution", {"Constant", "Random"}, &R::Distribution),
                 Check("Draw Grid", &R::DrawGrid),
                 Check("2 Single Waves when Stereo", &R::TwoWaves)};
  form.colors = {Color("Background", &R::Background), Color("Grid", &R::GridColor),
                 Color("Single Wave", &R::SingleWave), Color("Left", &R::Left),
                 Color("Right", &R::Right)};
  form.helpContext = 23;
  form.helpTopic = "ViewWave";
  form.dialogCheck = "Use As Default";
  return form;
}

TFormDesc MakeVoldViewForm() {
  using R = TVoldViewProps;
  TFormDesc form;
  form.caption = "Volume Diagram";
  form.fields = {Edit("Top Frequency", "unitTimePosMore", &R::Top),
                 Edit("Bottom Frequency", "unitTimePosMore", &R::Bottom),
                 Edit("Strength", "unitFactorPosMore", &R::Strength),
                 Edit("Vertical Resolution", "unitIntegerPosMore", &R::Vertical),
                 Edit("Frequency Width", "unitFactorPosMore", &R::Width),
                 Choice<R>("Distribution", {"Frequency Linear", "Logaritmic", "Time Linear"},
                           &R::HorDistribution),
                 Choice<R>("Sensitivity",
                           {"Low (Kwadratic)", "Normal (Linear)", "High (Square root)",
                            "Very High (Fourth root)"},
                           &R::Sensitivity),
                 Check("2 Single Diagrams when Stereo", &R::TwoDiagrams)};
  form.colors = {Color("Background", &R::Background), Color("Volume Single or Both ", &R::Single),
                 Color("Volume Left", &R::Left), Color("Volume Right", &R::Right),
                 Color("Cursor", &R::Cursor)};
  form.helpContext = 3;
  form.helpTopic = "ViewVold";
  form.dialogCheck = "Use As Default";
  form.check = [](TWaveRecord& record, const TFormWave& wave) -> std::optional<TFormProblem> {
    R& r = std::get<R>(record);
    // Periods: a band above the sample frequency has a period below 1 / f.
    const double shortest = wave.frequency > 0 ? 1.0 / wave.frequency : 0;
    const auto tooHigh = [shortest](const unitTimePosMore& period) {
      return period.GetValue() < shortest * (1 - 1e-9);
    };
    if (tooHigh(r.Top)) {
      return TFormProblem{"Top Frequency",
                          "Top Frequency may not be higher than the sample Frequency."};
    }
    const TFormProblem same{"Bottom Frequency",
                            "Top Frequency and Bottom Frequency must be different."};
    if (r.Top.GetValue() == r.Bottom.GetValue()) return same;
    if (tooHigh(r.Bottom)) {
      return TFormProblem{"Bottom Frequency",
                          "Bottom Frequency may not be higher than the sample Frequency."};
    }
    // No band above half the sample frequency: shorter periods are raised to
    // 2 / f. Two bands both above it would become one.
    r.Top.SetValue(std::max(r.Top.GetValue(), 2 * shortest));
    r.Bottom.SetValue(std::max(r.Bottom.GetValue(), 2 * shortest));
    if (r.Top.GetValue() == r.Bottom.GetValue()) return same;
    return std::nullopt;
  };
  return form;
}

void CompleteForm(TFormDesc& form) {
  using C = TWaveCommand;
  struct Help {
    C command;
    int context;
  };
  static constexpr Help kHelp[] = {
      {C::MakeSilence, 20},  {C::MakeLine, 5},   {C::MakeBlock, 6},      {C::MakeTriangle, 6},
      {C::MakeSinus, 7},     {C::MakeNoise, 8},  {C::MakeMFreq, 37},     {C::Volume, 9},
      {C::Up, 19},           {C::Block, 43},     {C::RollOut, 46},       {C::Rotate, 21},
      {C::RollIn, 44},       {C::Length, 49},    {C::Distort, 45},       {C::Balance, 11},
      {C::MixLeftRight, 36}, {C::PerEcho, 12},   {C::RndEcho, 13},       {C::TempoPitch, 50},
      {C::FilterBlock, 17},  {C::FilterLow, 15}, {C::FilterHigh, 15},    {C::FilterRes, 16},
      {C::FilterNotch, 16},  {C::EditMix, 4},    {C::FileProperties, 2},
  };
  if (!form.command) return;
  const C command = *form.command;
  form.helpTopic = WaveCommandName(command);
  for (const Help& help : kHelp) {
    if (help.command == command) form.helpContext = help.context;
  }
  if (command == C::MakeLine) {
    form.check = [](TWaveRecord& record, const TFormWave&) -> std::optional<TFormProblem> {
      const TLineProps& r = std::get<TLineProps>(record);
      if (!r.Exponential) return std::nullopt;
      const char* zero = r.From.GetValue() == 0 ? "Begin Value"
                         : r.To.GetValue() == 0 ? "End Value"
                                                : nullptr;
      if (zero == nullptr) return std::nullopt;
      return TFormProblem{zero, "Exponential Line may not contain value 0."};
    };
  }
  if (command == C::Rotate) {
    form.check = [](TWaveRecord& record, const TFormWave& wave) -> std::optional<TFormProblem> {
      const TRotateProps& r = std::get<TRotateProps>(record);
      if (!r.UseTime || wave.frequency <= 0) return std::nullopt;
      if (r.Time.GetValue() <= static_cast<double>(wave.values) / wave.frequency) {
        return std::nullopt;
      }
      return TFormProblem{"Time", "In Time: Time may not be longer than the time of the sound."};
    };
  }
}
