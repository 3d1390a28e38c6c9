#include "documents/fields.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "base/userinterface.h"
#include "units/waveregistry.h"

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

TFieldDesc FrequencyField(const char* label, const char* unitClass, unit& (*get)(TMFreqRecord&)) {
  TFieldDesc field{TFieldKind::Edit, label, unitClass};
  field.perFrequency = true;
  field.value = [get](TWaveRecord& record, std::size_t index) -> unit& {
    return get(std::get<TMFreqProps>(record).Freqs[index]);
  };
  return field;
}

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

std::vector<TFormDesc> MakeForms() {
  std::vector<TFormDesc> forms;
  using C = TWaveCommand;
  {
    using R = TSilenceProps;
    forms.push_back(
        {C::MakeSilence, "Make Silence", {Edit("Length", "unitTimePosMore", &R::Seconds)}});
  }
  {
    using R = TLineProps;
    forms.push_back(
        {C::MakeLine,
         "Make Line",
         {Edit("Begin Value", "unitWaveVal", &R::From), Edit("End Value", "unitWaveVal", &R::To),
          Edit("Length", "unitTimePosMore", &R::Seconds),
          BoolChoice<R>("Kind", {"Linear", "Exponential"}, &R::Exponential)}});
  }
  {
    using R = TNoiseProps;
    forms.push_back({C::MakeNoise,
                     "Make Noise",
                     {Edit("Length", "unitTimePosMore", &R::Seconds),
                      Edit("Volume", "unitWaveVal", &R::Volume)}});
  }
  forms.push_back({C::MakeBlock, "Block or Triangle", BlockTriangleFields()});
  forms.push_back({C::MakeTriangle, "Block or Triangle", BlockTriangleFields()});
  {
    using R = TSinusProps;
    forms.push_back({C::MakeSinus,
                     "Make Sinus",
                     {Edit("Amplitude", "unitWaveVal", &R::Amplitude),
                      Edit("Frequency", "unitTimePosMore", &R::Period),
                      Edit("Start Phase", "unitAngleFactor", &R::StartPhase),
                      When(Edit("Length", "unitTimePosMore", &R::Seconds), &R::UseCount, false),
                      When(Edit("Count", "unitFactorPosMore", &R::Count), &R::UseCount, true)}});
  }
  forms.push_back({C::MakeMFreq, "Multi Frequency", MFreqFields()});
  {
    using R = TVolumeProps;
    forms.push_back({C::Volume,
                     "Change Volume",
                     {When(Edit("Constant", "unitVolumeFactor", &R::Factor), &R::Envelope, false),
                      When(WaveField("Envelope", &R::EnvelopeWave), &R::Envelope, true)}});
  }
  {
    using R = TUpProps;
    forms.push_back({C::Up, "Up / Down", {Edit("Add Value", "unitWaveVal", &R::Add)}});
  }
  {
    using R = TDistortProps;
    forms.push_back({C::Distort, "Distort", {WaveField("Distort Envelope", &R::Shape)}});
  }
  {
    using R = TRotateProps;
    forms.push_back({C::Rotate,
                     "Rotate",
                     {Choice<R>("Shift to", {"Left", "Right"}, &R::ShiftTo),
                      When(Edit("Factor", "unitAngleFactor", &R::Factor), &R::UseTime, false),
                      When(Edit("Time", "unitTime", &R::Time), &R::UseTime, true)}});
  }
  {
    using R = TBlockProps;
    forms.push_back(
        {C::Block,
         "Block",
         {Choice<R>("Horizontal", {"Count", "Time", "No Change"}, &R::Horizontal),
          WhenMode(Edit(" Horizontal Count", "unitIntegerPosMore", &R::HorizontalCount),
                   &R::Horizontal, kBlockCount),
          WhenMode(Edit(" Time", "unitTimePosMore", &R::Time), &R::Horizontal, kBlockTimeOrHeight),
          Choice<R>("Vertical", {"Count", "Height", "No Change"}, &R::Vertical),
          WhenMode(Edit(" Vertical Count", "unitIntegerPosMore", &R::VerticalCount), &R::Vertical,
                   kBlockCount),
          WhenMode(Edit(" Height", "unitWaveValPosMore", &R::Height), &R::Vertical,
                   kBlockTimeOrHeight)}});
  }
  forms.push_back({C::MixLeftRight, "Mix Left Right", LeftRightFields()});
  {
    using R = TBalanceProps;
    forms.push_back(
        {C::Balance,
         "Balance",
         {When(Edit("Direction Constant", "unitBalAngleFactor", &R::Position), &R::Envelope, false),
          When(WaveField("Direction Envelope", &R::EnvelopeWave), &R::Envelope, true),
          Choice<R>("Volume Difference", {"None", "Volume", "Filter"}, &R::VolumeDiff),
          Check("Time Difference", &R::TimeDiff)}});
  }
  {
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
    forms.push_back(
        {C::RollIn,
         "Roll in",
         {Edit("Length", "unitTimePosMore", &R::Seconds),
          BoolChoice<R>("Placement", {"Start at", "End at"}, &R::UseEnd),
          inLength(When(Edit("Start at", "unitWavePosition", &R::StartAt), &R::UseEnd, false)),
          inLength(When(Edit("End at", "unitWavePosition", &R::EndAt), &R::UseEnd, true))}});
  }
  {
    using R = TRollOutProps;
    forms.push_back(
        {C::RollOut, "Roll out",
         Joined(
             {{When(Edit("Speed Factor", "unitFactorNotNul", &R::Speed), &R::SpeedEnvelope, false),
               When(WaveField("Speed Envelope", &R::SpeedWave), &R::SpeedEnvelope, true)},
              NewLengthFields<R>(),
              {Edit("Start Position", "unitWavePosition", &R::StartPos)}})});
  }
  {
    using R = TLengthProps;
    forms.push_back({C::Length,
                     "Change Length",
                     {WhenMode(Edit("Length Factor", "unitFactor", &R::Factor), &R::LengthMode,
                               kLengthByFactor),
                      WhenMode(Edit("New Length", "unitTimePosMore", &R::NewLength), &R::LengthMode,
                               kLengthBySeconds),
                      WhenMode(WaveField("Same Length as", &R::SameLengthAs), &R::LengthMode,
                               kLengthBySameAs)}});
  }
  {
    using R = TTempoPitchProps;
    forms.push_back(
        {C::TempoPitch, "Pitch Tempo",
         Joined(
             {{When(Edit("Frequency Factor", "unitFactorNotNul", &R::Pitch), &R::FreqEnvelope,
                    false),
               When(WaveField("Frequency Envelope", &R::FreqWave), &R::FreqEnvelope, true),
               When(Edit("Speed Factor", "unitFactorNotNul", &R::Speed), &R::SpeedEnvelope, false),
               When(WaveField("Speed Envelope", &R::SpeedWave), &R::SpeedEnvelope, true)},
              NewLengthFields<R>(),
              {Edit("Start Position", "unitWavePosition", &R::StartPos),
               Edit("Block Size", "unitTimePosMore", &R::BlockSeconds),
               Choice<R>("Quality", {"Low", "High"}, &R::Quality)}})});
  }
  {
    using R = TPerEchoProps;
    forms.push_back(
        {C::PerEcho,
         "Period Echo",
         {When(Edit("Time", "unitTime", &R::Time), &R::TimeEnvelope, false),
          When(WaveField(" Echo Time Envelope", &R::TimeWave), &R::TimeEnvelope, true),
          When(Edit("Volume Constant", "unitVolumeFactor", &R::Factor), &R::VolumeEnvelope, false),
          When(WaveField(" Echo Volume Envelope", &R::VolumeWave), &R::VolumeEnvelope, true),
          Edit("Count", "unitIntegerPosMore", &R::Count)}});
  }
  forms.push_back({C::RndEcho, "Random Echo", RandomEchoFields()});
  {
    using R = THighLowProps;
    const std::vector<TFieldDesc> fields{
        When(Edit("Frequency", "unitTimePosMore", &R::Period), &R::Envelope, false),
        When(WaveField("Frequency Envelope", &R::FreqWave), &R::Envelope, true),
        Edit("Volume Factor", "unitVolumeFactorPosMoreLess1", &R::Factor),
        Edit("Count", "unitIntegerPosMore", &R::Count),
        Check("Maximize Volume", &R::MaximizeVolume)};
    forms.push_back({C::FilterHigh, "High Low Filter", fields});
    forms.push_back({C::FilterLow, "High Low Filter", fields});
  }
  {
    using R = TResNotchProps;
    const std::vector<TFieldDesc> fields{
        When(Edit("Frequency Constant", "unitTimePosMore", &R::Period), &R::FreqEnvelope, false),
        When(WaveField("Frequency Envelope", &R::FreqWave), &R::FreqEnvelope, true),
        When(Edit("Width Constant", "unitFactorPosMax1", &R::Width), &R::WidthEnvelope, false),
        When(WaveField("Frequency Width Envelope", &R::WidthWave), &R::WidthEnvelope, true)};
    forms.push_back({C::FilterRes, "Resonant/Notch", fields});
    forms.push_back({C::FilterNotch, "Resonant/Notch", fields});
  }
  {
    using R = TBlockFilterProps;
    forms.push_back({C::FilterBlock,
                     "Block Filter",
                     {When(Edit("Block Time", "unitTime", &R::Time), &R::Envelope, false),
                      When(WaveField("Envelope", &R::EnvelopeWave), &R::Envelope, true)}});
  }
  {
    using R = TMixProps;
    forms.push_back({C::EditMix,
                     "Mix",
                     {Choice<R>("Place", {"Align Begin", "Align End", "Stretch"}, &R::Place)}});
  }
  return forms;
}

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
  static const std::vector<TFormDesc> forms = MakeForms();
  for (const TFormDesc& form : forms) {
    if (form.command == command) return &form;
  }
  return nullptr;
}

TRecordForm::TRecordForm(const TFormDesc& desc, TWaveRecord record)
    : desc_(desc), record_(std::move(record)), texts_(desc.fields.size()) {
  // Showing the dialog: every edit box holds its value's text.
  for (std::size_t i = 0; i < desc_.fields.size(); ++i) {
    const TFieldDesc& field = desc_.fields[i];
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
        if (!SameIgnoringCase(field->options[option], Trimmed(text))) continue;
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
  if (!field.value || (field.active && !field.active(record_))) return;
  if (field.prepare) field.prepare(record_);
  std::string text = texts_[i][index];
  if (field.kind == TFieldKind::WaveList) {
    // The list holds only the open waves' names: another name is nothing
    // selected.
    const std::vector<std::string> names = Waves().WaveNames();
    if (std::find(names.begin(), names.end(), text) == names.end()) text.clear();
  }
  field.value(record_, index).Read(ok, text, field.label);
}

bool TRecordForm::Read() {
  bool ok = true;
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
  return ok;
}
