#include "music/noteplay.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/sampleconv.h"
#include "music/unitmuz.h"
#include "sound/sound.h"

TOnePlayer::TOnePlayer(TUnitMuz* owner, const TOnePlayerProps& props)
    : Owner(owner), Props(props) {}

TOnePlayer::~TOnePlayer() {
  // Unlinks the rest iteratively, so a long list does not recurse.
  std::unique_ptr<TOnePlayer> rest = std::move(Next);
  while (rest != nullptr) rest = std::move(rest->Next);
}

std::unique_ptr<TOnePlayer> TOnePlayer::SetNext(std::unique_ptr<TOnePlayer> next) {
  std::swap(Next, next);
  return next;
}

namespace {

// What every operation of one player starts from: the effective period and
// the sample. `silent` is a note that makes no sound and reports nothing
// (an effective period that is not positive, or, for the resonant sampler,
// shorter than one value of the sample).
struct TPlayerSample {
  bool usable = false;
  double P = 0;
  const Sound* sample = nullptr;
  double freq = 0;
  std::int32_t values = 0;
  std::int32_t sb = 0;
  std::int32_t se = 0;
};

bool UsesMiddlePart(std::uint8_t kind) {
  return kind == notePlayerRollOutSampler || kind == notePlayerResonantSampler;
}

TPlayerSample PrepareSample(const TOnePlayerProps& props, double period, bool& ok,
                            std::string& error) {
  TPlayerSample result;
  // A record set without a kind plays nothing.
  if (props.NotePlayerKind > notePlayerRollOutWaveForm) return result;
  // A FreqUp that reaches or passes the note's frequency leaves nothing to
  // play; an exact cancellation is caught here before any division by it.
  const double frequency = 1 / period + props.FreqUp.GetValue();
  if (!(frequency > 0) || !std::isfinite(frequency)) return result;
  result.P = 1 / frequency;
  if (!(result.P > 0)) return result;
  const std::string& name = SampleWaveOf(props).GetName();
  const std::optional<TRegisteredWave> wave = FindWaveUnit(name, error);
  if (!wave) {
    ok = false;
    return result;
  }
  result.sample = wave->sound;
  result.freq = wave->sound->GetFreq();
  result.values = wave->sound->GetValues();
  result.sb = std::clamp(wave->selBegin, 0, result.values);
  result.se = std::clamp(wave->selEnd, result.sb, result.values);
  // The sound operations need a middle part of one value to repeat, and an
  // echo needs two values; a shorter sample is an error of the score's
  // setup, not a precondition to trip over.
  const std::uint8_t kind = props.NotePlayerKind;
  const bool tooShort = kind == notePlayerRepeatWaveForm ? result.values < 2
                        : UsesMiddlePart(kind)           ? result.se - result.sb < 1
                                                         : result.values < 1;
  if (tooShort) {
    ok = false;
    error += "The wave \"" + name + "\" is too short.";
    return result;
  }
  // The resonance filter needs a period of at least one value.
  if (kind == notePlayerResonantSampler && result.freq * result.P < 1) return result;
  result.usable = true;
  return result;
}

// r of the samplers, in single precision as the sound is made with it.
double SingleRatio(double P, const unitTimePosMore& basicFreq) {
  return static_cast<float>(P / basicFreq.GetValue());
}

double Cycles(double dur, double middleCycle) { return std::trunc(dur / middleCycle + 0.5); }

}  // namespace

const unitUnitWave& SampleWaveOf(const TOnePlayerProps& props) {
  switch (props.NotePlayerKind) {
    case notePlayerSimpleSampler:
      return props.SimpleSampler.SampleWave;
    case notePlayerRollOutSampler:
      return props.RollOutSampler.SampleWave;
    case notePlayerRepeatWaveForm:
      return props.RepeatWaveForm.SampleWave;
    case notePlayerRollOutWaveForm:
      return props.RollOutWaveForm.SampleWave;
    default:
      return props.ResonantSampler.SampleWave;
  }
}

std::optional<TRegisteredWave> FindWaveUnit(const std::string& name, std::string& error) {
  std::optional<TRegisteredWave> wave = Waves().FindWave(name);
  if (!wave || wave->sound == nullptr) {
    error += "Cannot find window \"" + name + "\".";
    return std::nullopt;
  }
  return wave;
}

std::unique_ptr<Sound> TOnePlayer::GetSound(bool& failed, double period, double length,
                                            double tempo, double& volume, bool& ok,
                                            std::string& error) const {
  const TPlayerSample s = PrepareSample(Props, period, ok, error);
  if (!s.usable || failed) return nullptr;
  const double dur = length * tempo;
  const double factor = Props.VolumeFactor.GetValue();
  volume = factor;
  const Sound& sample = *s.sample;
  switch (Props.NotePlayerKind) {
    case notePlayerSimpleSampler:
      return sample.LengthAll(failed, SingleRatio(s.P, Props.SimpleSampler.BasicFreq));
    case notePlayerRollOutSampler: {
      const double r = SingleRatio(s.P, Props.RollOutSampler.BasicFreq);
      const double cycles = Cycles(dur, (s.se - s.sb) * r / s.freq);
      std::int32_t begin = s.sb;
      std::int32_t end = s.se;
      const std::unique_ptr<Sound> rolled =
          sample.RollOutForm(failed, (s.se - s.sb) / s.freq, cycles, 0, begin, end);
      if (!rolled) return nullptr;
      return rolled->LengthAll(failed, r);
    }
    case notePlayerResonantSampler: {
      const double middleCycle = (s.se - s.sb) / s.freq;
      std::int32_t begin = s.sb;
      std::int32_t end = s.se;
      std::unique_ptr<Sound> rolled =
          sample.RollOutForm(failed, middleCycle, Cycles(dur, middleCycle), 0, begin, end);
      if (!rolled || rolled->GetValues() == 0) return rolled;
      return rolled->Filter2(failed, true, true, s.P, Props.ResonantSampler.ResFactor.GetValue(),
                             nullptr, nullptr, &Wave::resonant, &Wave::resonantFreqEnvelope,
                             &Wave::resonantWidthEnvelope, &Wave::resonantEnvelopes, 0,
                             rolled->GetValues());
    }
    case notePlayerRepeatWaveForm: {
      volume = 1.0;
      const std::int32_t n = TruncInt(dur / s.P + 1.5);
      const std::unique_ptr<Sound> scaled = sample.Volume(failed, factor, 0, s.values);
      if (!scaled) return nullptr;
      std::int32_t begin = 0;
      std::int32_t end = s.values;
      return scaled->EchoConstant(failed, s.P, 1.0, n, begin, end);
    }
    case notePlayerRollOutWaveForm: {
      std::int32_t begin = 0;
      std::int32_t end = s.values;
      return sample.RollOutForm(failed, s.P, std::trunc(dur / s.P), 0, begin, end);
    }
    default:
      return nullptr;
  }
}

double TOnePlayer::GetStartOffset(double period, double length, double tempo, bool& ok,
                                  std::string& error) const {
  const TPlayerSample s = PrepareSample(Props, period, ok, error);
  if (!s.usable) return 0;
  const double dur = length * tempo;
  switch (Props.NotePlayerKind) {
    case notePlayerRollOutSampler:
      return s.sb * SingleRatio(s.P, Props.RollOutSampler.BasicFreq) / s.freq;
    case notePlayerResonantSampler:
      return s.sb / s.freq;
    case notePlayerRepeatWaveForm:
      return std::trunc(dur / s.P + 1.5) * s.P;
    default:
      return 0;
  }
}

double TOnePlayer::GetEndOffset(double period, double length, double tempo, bool& ok,
                                std::string& error) const {
  const TPlayerSample s = PrepareSample(Props, period, ok, error);
  if (!s.usable) return 0;
  const double dur = length * tempo;
  switch (Props.NotePlayerKind) {
    case notePlayerSimpleSampler:
      return s.values / s.freq * (s.P / Props.SimpleSampler.BasicFreq.GetValue());
    case notePlayerRollOutSampler: {
      const double cycles =
          Cycles(dur, (s.se - s.sb) * SingleRatio(s.P, Props.RollOutSampler.BasicFreq) / s.freq);
      const double r = s.P / Props.RollOutSampler.BasicFreq.GetValue();
      return cycles * (s.se - s.sb) * r / s.freq + (s.values - s.se) * r / s.freq;
    }
    case notePlayerResonantSampler: {
      const double middleCycle = (s.se - s.sb) / s.freq;
      return Cycles(dur, middleCycle) * middleCycle + (s.values - s.se) / s.freq;
    }
    case notePlayerRepeatWaveForm:
      return std::trunc(dur / s.P + 0.5) * s.P + (s.se - s.sb) / s.freq;
    case notePlayerRollOutWaveForm:
      return dur;
    default:
      return 0;
  }
}

TCompoundPlayer::~TCompoundPlayer() = default;

double TCompoundPlayer::GetStartOffset(double period, double length, double tempo, bool& ok,
                                       std::string& error) const {
  double result = 0;
  for (const TOnePlayer* p = StartOnePlayer.get(); p != nullptr; p = p->GetNext()) {
    result = std::max(result, p->GetStartOffset(period, length, tempo, ok, error));
    if (!ok) return 0;
  }
  return result;
}

double TCompoundPlayer::GetEndOffset(double period, double length, double tempo, bool& ok,
                                     std::string& error) const {
  double result = 0;
  for (const TOnePlayer* p = StartOnePlayer.get(); p != nullptr; p = p->GetNext()) {
    result = std::max(result, p->GetEndOffset(period, length, tempo, ok, error));
    if (!ok) return 0;
  }
  return result;
}

std::unique_ptr<Sound> TCompoundPlayer::GetSound(bool& failed, double period, double length,
                                                 double tempo, double& volume, bool& ok,
                                                 std::string& error) const {
  const double s = GetStartOffset(period, length, tempo, ok, error);
  if (!ok) return nullptr;
  const double e = GetEndOffset(period, length, tempo, ok, error);
  if (!ok || StartOnePlayer == nullptr) return nullptr;
  if (StartOnePlayer->GetNext() == nullptr) {
    return StartOnePlayer->GetSound(failed, period, length, tempo, volume, ok, error);
  }
  volume = 1.0;
  std::unique_ptr<Sound> result;
  {
    const StereoSound empty(Owner->GetFrequency(), Owner->GetBytesPSample());
    std::int32_t begin = 0;
    std::int32_t end = 0;
    result = empty.Silence(failed, s + e, begin, end);
  }
  if (!result) return nullptr;
  for (const TOnePlayer* p = StartOnePlayer.get(); p != nullptr; p = p->GetNext()) {
    double ownVolume = 1.0;
    const std::unique_ptr<Sound> sound =
        p->GetSound(failed, period, length, tempo, ownVolume, ok, error);
    if (!ok) return nullptr;
    const double start = p->GetStartOffset(period, length, tempo, ok, error);
    if (!ok) return nullptr;
    if (sound != nullptr && !failed) {
      result->MixAfterSeconds(failed, *sound, std::max(0.0, s - start), ownVolume);
    }
  }
  return result;
}

void TCompoundPlayer::AppendPlayer(std::unique_ptr<TOnePlayer> player) {
  TOnePlayer* added = player.get();
  if (StartOnePlayer == nullptr) {
    StartOnePlayer = std::move(player);
  } else {
    TOnePlayer* last = StartOnePlayer.get();
    while (last->GetNext() != nullptr) last = last->GetNext();
    last->SetNext(std::move(player));
  }
  if (CurrentPlayer == nullptr) CurrentPlayer = added;
}

std::int32_t TCompoundPlayer::CountPlayers() const {
  std::int32_t count = 0;
  for (const TOnePlayer* p = StartOnePlayer.get(); p != nullptr; p = p->GetNext()) ++count;
  return count;
}

std::unique_ptr<TCompoundPlayer> NewDefaultCompoundPlayer(TUnitMuz* owner) {
  TOnePlayerProps props;
  props.RollOutSampler.BasicFreq = unitTimePosMore(0.001, kUnitKHz);
  props.NotePlayerKind = notePlayerRollOutSampler;
  auto compound = std::make_unique<TCompoundPlayer>(owner);
  compound->AppendPlayer(std::make_unique<TOnePlayer>(owner, props));
  return compound;
}
