// The generators and effects of a wave document: each stores its record,
// works out the arguments of the sound operation from it and the selection,
// and takes the result.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/sampleconv.h"
#include "base/userinterface.h"
#include "documents/unitwave.h"
#include "sound/sound.h"
#include "sound/wave.h"

namespace {

// Seconds that the sound layer turns back into exactly `values` values:
// trunc(Freq x seconds) of a whole count divided by Freq can land one below
// it, half a value more cannot.
double SecondsOfValues(std::int32_t values, std::int32_t freq) { return (values + 0.5) / freq; }

// A fraction of a range in 0 ... < 1, as the operations' phases require.
double PhaseOf(double fraction) {
  if (!(fraction >= 0)) return 0;
  if (fraction >= 1) return std::nextafter(1.0, 0.0);
  return fraction;
}

}  // namespace

// --- generators ---------------------------------------------------------------

void TUnitWave::MakeSilence(const TSilenceProps& props) {
  Records.silence = props;
  Failed = false;
  const std::int32_t low = GetSelLow();
  const std::int32_t high = GetSelHigh();
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    std::unique_ptr<Sound> result = TheSound->Silence(Failed, props.Seconds.GetValue(), begin, end);
    return result;
  });
}

void TUnitWave::MakeLine(const TLineProps& props) {
  Records.line = props;
  Failed = false;
  const double from = props.From.GetValue();
  const double to = props.To.GetValue();
  // An exponential line cannot reach or cross 0.
  if (props.Exponential && !(from * to > 0)) {
    Refuse(from == 0 || to == 0 ? "Exponential Line may not contain value 0."
                                : "Exponential Line may not change sign.");
    return;
  }
  const std::int32_t low = GetSelLow();
  const std::int32_t high = GetSelHigh();
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    std::unique_ptr<Sound> result =
        TheSound->Line(Failed, from, to, props.Seconds.GetValue(), props.Exponential, begin, end);
    return result;
  });
}

void TUnitWave::MakeNoise(const TNoiseProps& props) {
  Records.noise = props;
  Failed = false;
  const std::int32_t low = GetSelLow();
  const std::int32_t high = GetSelHigh();
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    std::unique_ptr<Sound> result =
        TheSound->Noise(Failed, props.Volume.GetValue(), props.Seconds.GetValue(), begin, end);
    return result;
  });
}

void TUnitWave::MakeBlock(const TBlockTriangleProps& props) {
  Records.block = props;
  BlockOrTriangle(props, false);
}

void TUnitWave::MakeTriangle(const TBlockTriangleProps& props) {
  Records.triangle = props;
  BlockOrTriangle(props, true);
}

void TUnitWave::BlockOrTriangle(const TBlockTriangleProps& props, bool triangle) {
  Failed = false;
  double periodSeconds = props.Period.GetValue();
  double middle = props.Middle.GetValue();
  if (props.UseTimes) {
    // Height 1 lasts Time 1 and Height 2 Time 2, one period together. A
    // period starts at Height 2 (the operation's first value, held while
    // the phase is below the middle), so the middle is Time 2's share.
    periodSeconds = props.Time1.GetValue() + props.Time2.GetValue();
    middle = props.Time2.GetValue() / periodSeconds;
  }
  const Sound* middleEnvelope = nullptr;
  if (!props.UseTimes && props.MiddleEnvelope) {
    middleEnvelope = EnvelopeSound(props.MiddleWave);
    if (middleEnvelope == nullptr) return;
  }
  double lengthSeconds = props.LengthSeconds.GetValue();
  if (props.LengthMode == kLengthSameAs) {
    const Sound* same = EnvelopeSound(props.LengthWave);
    if (same == nullptr) return;
    lengthSeconds = same->GetSeconds();
  } else if (props.LengthMode == kLengthCount) {
    lengthSeconds = props.LengthCount.GetValue() * periodSeconds;
  }
  // An absurd length saturates and is left to the sound layer, which reports
  // it as too much for memory.
  if (TruncInt(GetFrequency() * lengthSeconds) <= 0 || !(GetFrequency() * periodSeconds > 0)) {
    Refuse("The wave would have no values.");
    return;
  }
  const std::int32_t low = GetSelLow();
  const std::int32_t high = GetSelHigh();
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    const double height1 = props.Height1.GetValue();
    const double height2 = props.Height2.GetValue();
    const double startPhase = PhaseOf(props.StartPhase.GetValue());
    std::unique_ptr<Sound> result =
        middleEnvelope != nullptr
            ? TheSound->BlockWaveEnvelope(Failed, height1, height2, periodSeconds, *middleEnvelope,
                                          lengthSeconds, startPhase, triangle, begin, end)
            : TheSound->BlockWave(Failed, height1, height2, periodSeconds, middle, lengthSeconds,
                                  startPhase, triangle, begin, end);
    return result;
  });
}

void TUnitWave::MakeSinus(const TSinusProps& props) {
  Records.sinus = props;
  Failed = false;
  const double periodSeconds = props.Period.GetValue();
  const double count =
      props.UseCount ? props.Count.GetValue() : props.Seconds.GetValue() / periodSeconds;
  const double amplitude = props.Amplitude.GetValue();
  const std::int32_t low = GetSelLow();
  const std::int32_t high = GetSelHigh();
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    std::unique_ptr<Sound> result =
        TheSound->Sinus(Failed, amplitude, -amplitude, periodSeconds, count,
                        PhaseOf(props.StartPhase.GetValue()), begin, end);
    return result;
  });
}

void TUnitWave::MakeMFreq(const TMFreqProps& props) {
  Records.mfreq = props;
  Failed = false;
  if (props.Freqs.empty()) return;
  const Sound* form = nullptr;
  if (props.UseForm) {
    form = EnvelopeSound(props.Form);
    if (form == nullptr) return;
  }
  const int count = static_cast<int>(props.Freqs.size());
  std::vector<double> startVolumes;
  std::vector<double> periods;
  std::vector<double> factorTimes;
  std::vector<double> volumeFactors;
  std::vector<double> startAngles;
  for (const TMFreqRecord& freq : props.Freqs) {
    startVolumes.push_back(freq.StartVolume.GetValue());
    periods.push_back(freq.Period.GetValue());
    factorTimes.push_back(freq.FactorTime.GetValue());
    volumeFactors.push_back(freq.VolumeFactor.GetValue());
    startAngles.push_back(PhaseOf(freq.StartAngle.GetValue()));
  }
  const std::int32_t low = GetSelLow();
  const std::int32_t high = GetSelHigh();
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    const double seconds = props.Seconds.GetValue();
    std::unique_ptr<Sound> result =
        form != nullptr
            ? TheSound->MultiFreqForm(Failed, seconds, count, startVolumes.data(), periods.data(),
                                      factorTimes.data(), volumeFactors.data(), startAngles.data(),
                                      *form, begin, end)
            : TheSound->MultiFreq(Failed, seconds, count, startVolumes.data(), periods.data(),
                                  factorTimes.data(), volumeFactors.data(), startAngles.data(),
                                  begin, end);
    return result;
  });
}

// --- effects that keep the length ----------------------------------------------

void TUnitWave::Volume(const TVolumeProps& props) {
  Records.volume = props;
  Failed = false;
  const Sound* envelope = nullptr;
  if (props.Envelope) {
    envelope = EnvelopeSound(props.EnvelopeWave);
    if (envelope == nullptr) return;
  }
  const std::int32_t begin = GetSelBegin();
  const std::int32_t end = GetSelEnd();
  TakeResult(envelope != nullptr ? TheSound->VolumeEnvelope(Failed, *envelope, begin, end)
                                 : TheSound->Volume(Failed, props.Factor.GetValue(), begin, end));
  Listeners.Repaint();
}

void TUnitWave::MaxVolume() {
  Failed = false;
  TakeResult(TheSound->MaxVolume(Failed, GetSelBegin(), GetSelEnd()));
  Listeners.Repaint();
}

void TUnitWave::Reverse() {
  Failed = false;
  TakeResult(TheSound->Reverse(Failed, GetSelBegin(), GetSelEnd()));
  Listeners.Repaint();
}

void TUnitWave::Up(const TUpProps& props) {
  Records.up = props;
  Failed = false;
  TakeResult(TheSound->Up(Failed, props.Add.GetValue(), GetSelBegin(), GetSelEnd()));
  Listeners.Repaint();
}

void TUnitWave::Distort(const TDistortProps& props) {
  Records.distort = props;
  Failed = false;
  const Sound* shape = EnvelopeSound(props.Shape);
  if (shape == nullptr) return;
  TakeResult(TheSound->Distort(Failed, *shape, GetSelBegin(), GetSelEnd()));
  Listeners.Repaint();
}

void TUnitWave::Rotate(const TRotateProps& props) {
  Records.rotate = props;
  Failed = false;
  // A time may exceed the range (it is taken modulo the range) but not the
  // sound.
  if (props.UseTime && props.Time.GetValue() > static_cast<double>(GetValues()) / GetFrequency()) {
    Refuse("In Time: Time may not be longer than the time of the sound.");
    return;
  }
  const std::int32_t begin = GetSelBegin();
  const std::int32_t end = GetSelEnd();
  const std::int32_t count = end - begin;
  if (count <= 0) return;
  // The shift in values, a rotation to the right being the complement of one
  // to the left; any shift is taken modulo the range so a rotation never
  // asks for more than the range holds. The remainder of the truncated real
  // is exact however large the shift (one that is no number moves nothing).
  const double shift = std::trunc(props.UseTime ? GetFrequency() * props.Time.GetValue()
                                                : count * props.Factor.GetValue());
  double rest = std::fmod(shift, count);
  if (!(std::fabs(rest) < count)) rest = 0;
  std::int64_t left = (static_cast<std::int64_t>(rest) + count) % count;
  if (props.ShiftTo == kShiftRight) left = (count - left) % count;
  TakeResult(TheSound->Rotate(
      Failed, SecondsOfValues(static_cast<std::int32_t>(left), GetFrequency()), begin, end));
  Listeners.Repaint();
}

void TUnitWave::Block(const TBlockProps& props) {
  Records.blockEffect = props;
  Failed = false;
  const std::int32_t begin = GetSelBegin();
  const std::int32_t end = GetSelEnd();
  double blockSeconds = 0;  // one value: no horizontal change
  if (props.Horizontal == kBlockCount)
    blockSeconds = RangeSeconds(begin, end) / props.HorizontalCount.GetValue();
  else if (props.Horizontal == kBlockTimeOrHeight)
    blockSeconds = props.Time.GetValue();
  std::int32_t levels = 0;  // no quantisation
  if (props.Vertical == kBlockCount)
    levels = props.VerticalCount.GetValue();
  else if (props.Vertical == kBlockTimeOrHeight && props.Height.GetValue() > 0)
    // Steps of the given height over the whole span -32768 ... 32767.
    levels = 65535 / props.Height.GetValue() + 1;
  TakeResult(TheSound->Block(Failed, blockSeconds, levels, begin, end));
  Listeners.Repaint();
}

void TUnitWave::MixLeftRight(const TLeftRightProps& props) {
  Records.leftRight = props;
  Failed = false;
  const auto* stereo = dynamic_cast<const StereoSound*>(TheSound.get());
  if (stereo == nullptr || GetValues() == 0) return;
  TakeResult(stereo->MixLeftRight(Failed, props.Left2Left.GetValue(), props.Left2Right.GetValue(),
                                  props.Right2Left.GetValue(), props.Right2Right.GetValue(),
                                  GetSelBegin(), GetSelEnd()));
  Listeners.Repaint();
}

void TUnitWave::FilterHigh(const THighLowProps& props) {
  Records.highFilter = props;
  HighLow(props, true);
}

void TUnitWave::FilterLow(const THighLowProps& props) {
  Records.lowFilter = props;
  HighLow(props, false);
}

void TUnitWave::HighLow(const THighLowProps& props, bool high) {
  Failed = false;
  const double factor = props.Factor.GetValue();
  // The filter's attenuation must lie strictly between 0 and 1.
  if (!(factor > 0)) {
    Refuse("In Volume Factor: Value must be positive and more than 0.");
    return;
  }
  if (!(factor < 1)) {
    Refuse("In Volume Factor: Value must be less than 1.");
    return;
  }
  const Sound* envelope = nullptr;
  if (props.Envelope) {
    envelope = EnvelopeSound(props.FreqWave);
    if (envelope == nullptr) return;
  }
  const int count = props.Count.GetValue() > 0 ? props.Count.GetValue() : 1;
  const std::int32_t begin = GetSelBegin();
  const std::int32_t end = GetSelEnd();
  const WaveFilter1 filter = high ? &Wave::highPass : &Wave::lowPass;
  const WaveFilter1Envelope filterEnvelope =
      high ? &Wave::highPassEnvelope : &Wave::lowPassEnvelope;
  auto pass = [&](const Sound& sound, int countBer, int countCmd) {
    return envelope != nullptr ? sound.Filter1Envelope(Failed, filterEnvelope, *envelope, factor,
                                                       countBer, countCmd, begin, end)
                               : sound.Filter1(Failed, filter, props.Period.GetValue(), factor,
                                               countBer, countCmd, begin, end);
  };
  std::unique_ptr<Sound> result;
  if (!props.MaximizeVolume) {
    result = pass(*TheSound, count, count);
  } else {
    // The level is brought back to 70 % of full scale after every pass.
    result = TheSound->Normalize(Failed, begin, end);
    for (int i = 0; i < count && !Failed && result; ++i) {
      result = pass(*result, count, 1);
      if (!Failed && result) result->NormalizeInPlace(Failed, begin, end);
    }
  }
  TakeResult(std::move(result));
  Listeners.Repaint();
}

void TUnitWave::FilterRes(const TResNotchProps& props) {
  Records.resFilter = props;
  ResNotch(props, false);
}

void TUnitWave::FilterNotch(const TResNotchProps& props) {
  Records.notchFilter = props;
  ResNotch(props, true);
}

void TUnitWave::ResNotch(const TResNotchProps& props, bool notch) {
  Failed = false;
  const Sound* freqEnvelope = nullptr;
  const Sound* widthEnvelope = nullptr;
  if (props.FreqEnvelope) {
    freqEnvelope = EnvelopeSound(props.FreqWave);
    if (freqEnvelope == nullptr) return;
  } else if (!(GetFrequency() * props.Period.GetValue() >= 1)) {
    // The resonator cannot turn faster than once per value.
    Refuse("In Frequency Constant: Frequency may not be higher than the sample Frequency.");
    return;
  }
  if (props.WidthEnvelope) {
    widthEnvelope = EnvelopeSound(props.WidthWave);
    if (widthEnvelope == nullptr) return;
  }
  const std::int32_t begin = GetSelBegin();
  const std::int32_t end = GetSelEnd();
  std::unique_ptr<Sound> result =
      notch ? TheSound->Filter2(Failed, !props.FreqEnvelope, !props.WidthEnvelope,
                                props.Period.GetValue(), props.Width.GetValue(), freqEnvelope,
                                widthEnvelope, &Wave::notch, &Wave::notchFreqEnvelope,
                                &Wave::notchWidthEnvelope, &Wave::notchEnvelopes, begin, end)
            : TheSound->Filter2(Failed, !props.FreqEnvelope, !props.WidthEnvelope,
                                props.Period.GetValue(), props.Width.GetValue(), freqEnvelope,
                                widthEnvelope, &Wave::resonant, &Wave::resonantFreqEnvelope,
                                &Wave::resonantWidthEnvelope, &Wave::resonantEnvelopes, begin, end);
  TakeResult(std::move(result));
  Listeners.Repaint();
}

void TUnitWave::Balance(const TBalanceProps& props) {
  Records.balance = props;
  Failed = false;
  if (GetMonoStereo() != 1 || GetValues() == 0) return;
  const Sound* envelope = nullptr;
  if (props.Envelope) {
    envelope = EnvelopeSound(props.EnvelopeWave);
    if (envelope == nullptr) return;
  }
  const bool volumeDiff = props.VolumeDiff == kBalanceVolume;
  const bool filterDiff = props.VolumeDiff == kBalanceFilter;
  std::unique_ptr<Sound> result;
  if (envelope != nullptr)
    result = TheSound->BalanceEnvelope(Failed, *envelope, props.TimeDiff, volumeDiff, filterDiff);
  else
    result = TheSound->Balance(Failed, props.Position.GetValue(), props.TimeDiff, volumeDiff,
                               filterDiff);
  if (TakeResult(std::move(result))) {
    Listeners.ChannelsChanged(2);
    Cursor = ClipPosition(Cursor);
    Anchor = ClipPosition(Anchor);
  }
  Listeners.Repaint();
}

// --- effects that change the length ----------------------------------------------

void TUnitWave::RollIn(const TRollInProps& props) {
  Records.rollIn = props;
  Failed = false;
  const std::int32_t low = GetSelBegin();
  const std::int32_t high = GetSelEnd();
  const double seconds = props.Seconds.GetValue();
  // An absurd length saturates and reaches the sound layer as too much for
  // memory.
  const std::int32_t length = TruncInt(GetFrequency() * seconds);
  if (length <= 0) {
    Refuse("In Length: The length is shorter than one value.");
    return;
  }
  // Where the range starts inside the new length: given directly, or so that
  // it ends at "End at" (cyclically).
  TRollInProps& stored = Records.rollIn;
  stored.StartAt.SetLength(seconds);
  stored.EndAt.SetLength(seconds);
  std::int64_t target;
  if (props.UseEnd) {
    const std::int64_t endAt = TruncInt(GetFrequency() * stored.EndAt.GetValue());
    target = ((endAt - (high - low)) % length + length) % length;
  } else {
    target = TruncInt(GetFrequency() * stored.StartAt.GetValue());
    target = std::clamp<std::int64_t>(target, 0, length - 1);
  }
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    // A length that saturated goes on as asked, for the sound layer to see
    // that it is too long.
    const double lengthSeconds =
        length == INT32_MAX ? seconds : SecondsOfValues(length, GetFrequency());
    std::unique_ptr<Sound> result =
        TheSound->RollIn(Failed, lengthSeconds, static_cast<std::int32_t>(target), begin, end);
    return result;
  });
}

namespace {

// The length factor of Roll out and Tempo and Pitch by the chosen mode;
// `durationSeconds` is the duration of the range. Returns false after a
// message when a chosen wave is missing.
template <class Props>
bool ChosenLengthFactor(const Props& props, double durationSeconds, double speed,
                        const Sound* sameAs, double& factor) {
  switch (props.LengthMode) {
    case kNewLengthSeconds:
      factor = props.NewLength.GetValue() / durationSeconds;
      break;
    case kNewLengthSameAs:
      if (sameAs == nullptr) return false;
      factor = sameAs->GetSeconds() / durationSeconds;
      break;
    case kNewLengthCount:
      factor = props.Count.GetValue() / std::fabs(speed);
      break;
    default:
      factor = props.LengthFactor.GetValue();
      break;
  }
  return true;
}

}  // namespace

void TUnitWave::RollOut(const TRollOutProps& props) {
  Records.rollOut = props;
  Failed = false;
  const std::int32_t low = GetSelBegin();
  const std::int32_t high = GetSelEnd();
  if (high <= low) return;
  const double duration = RangeSeconds(low, high);
  const Sound* speedEnvelope = nullptr;
  if (props.SpeedEnvelope) {
    speedEnvelope = EnvelopeSound(props.SpeedWave);
    if (speedEnvelope == nullptr) return;
  }
  const Sound* sameAs = nullptr;
  if (props.LengthMode == kNewLengthSameAs) {
    sameAs = EnvelopeSound(props.SameLengthAs);
    if (sameAs == nullptr) return;
  }
  const double speed = props.Speed.GetValue();
  if (speed == 0) return;
  double lengthFactor = 0;
  if (!ChosenLengthFactor(props, duration, speed, sameAs, lengthFactor)) return;
  if (!(lengthFactor > 0)) {
    Refuse("In Length Factor: Value must be positive and more than 0.");
    return;
  }
  Records.rollOut.StartPos.SetLength(duration);
  const double startPhase = PhaseOf(Records.rollOut.StartPos.GetValue() / duration);
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    std::unique_ptr<Sound> result;
    if (speedEnvelope != nullptr && TruncInt((high - low) * lengthFactor) == 0) {
      // No value left: the range goes, as with a constant speed (the envelope
      // reader needs one value at least).
      result = TheSound->Delete(Failed, low, high);
      end = begin;
    } else if (speedEnvelope != nullptr) {
      result = TheSound->RollOutEnvelope(Failed, *speedEnvelope, lengthFactor, speed, startPhase,
                                         begin, end);
    } else {
      // The range played once at `speed` lasts duration / speed; the new length
      // holds lengthFactor x |speed| such periods.
      result = TheSound->RollOutForm(Failed, duration / speed, lengthFactor * std::fabs(speed),
                                     startPhase, begin, end);
    }
    return result;
  });
}

void TUnitWave::Length(const TLengthProps& props) {
  Records.length = props;
  Failed = false;
  const std::int32_t low = GetSelBegin();
  const std::int32_t high = GetSelEnd();
  if (high <= low) return;
  const double duration = RangeSeconds(low, high);
  double factor = props.Factor.GetValue();
  if (props.LengthMode == kLengthBySeconds) {
    factor = props.NewLength.GetValue() / duration;
  } else if (props.LengthMode == kLengthBySameAs) {
    const Sound* same = EnvelopeSound(props.SameLengthAs);
    if (same == nullptr) return;
    factor = same->GetSeconds() / duration;
  }
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    std::unique_ptr<Sound> result = TheSound->Length(Failed, factor, begin, end);
    return result;
  });
}

void TUnitWave::TempoPitch(const TTempoPitchProps& props) {
  Records.tempoPitch = props;
  Failed = false;
  const std::int32_t low = GetSelBegin();
  const std::int32_t high = GetSelEnd();
  if (high <= low) return;
  // D, the duration of the range, as the command stores it before the dialog.
  const double duration = RangeSeconds(low, high);
  TTempoPitchProps& stored = Records.tempoPitch;
  stored.Duration = duration;
  stored.StartPos.SetLength(duration);
  const Sound* freqEnvelope = nullptr;
  const Sound* speedEnvelope = nullptr;
  const Sound* sameAs = nullptr;
  if (props.FreqEnvelope && (freqEnvelope = EnvelopeSound(props.FreqWave)) == nullptr) return;
  if (props.SpeedEnvelope && (speedEnvelope = EnvelopeSound(props.SpeedWave)) == nullptr) return;
  if (props.LengthMode == kNewLengthSameAs &&
      (sameAs = EnvelopeSound(props.SameLengthAs)) == nullptr)
    return;
  const double speed = props.Speed.GetValue();
  const double pitch = props.Pitch.GetValue();
  const double blockSeconds = props.BlockSeconds.GetValue();
  if (speed == 0) return;
  if (TruncInt(GetFrequency() * blockSeconds) <= 0) {
    Refuse("In Block Size: The block is shorter than one value.");
    return;
  }
  double lengthFactor = 0;
  if (!ChosenLengthFactor(props, duration, speed, sameAs, lengthFactor)) return;
  if (!(lengthFactor > 0)) {
    Refuse("In Length Factor: Value must be positive and more than 0.");
    return;
  }
  const double startPos = stored.StartPos.GetValue() / duration;
  int method = props.Quality == kQualityHigh ? 1 : 0;
  // The crossfading reader follows a frequency envelope only forwards.
  if (freqEnvelope != nullptr && speed < 0) method = 0;
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    std::unique_ptr<Sound> result;
    if (freqEnvelope == nullptr && speedEnvelope == nullptr)
      result = TheSound->TempoPitch(Failed, speed, startPos, lengthFactor, pitch, blockSeconds,
                                    method, begin, end);
    else if (speedEnvelope == nullptr)
      result = TheSound->TempoPitchFreq(Failed, speed, startPos, lengthFactor, pitch, *freqEnvelope,
                                        blockSeconds, method, begin, end);
    else if (freqEnvelope == nullptr)
      result = TheSound->TempoPitchSpeed(Failed, speed, *speedEnvelope, startPos, lengthFactor,
                                         pitch, blockSeconds, method, begin, end);
    else
      result = TheSound->TempoPitchBoth(Failed, speed, *speedEnvelope, startPos, lengthFactor,
                                        pitch, *freqEnvelope, blockSeconds, method, begin, end);
    return result;
  });
}

void TUnitWave::PerEcho(const TPerEchoProps& props) {
  Records.perEcho = props;
  Failed = false;
  const std::int32_t low = GetSelBegin();
  const std::int32_t high = GetSelEnd();
  // An echo needs a range of two values at least.
  if (high - low < 2) return;
  const Sound* timeEnvelope = nullptr;
  const Sound* volumeEnvelope = nullptr;
  if (props.TimeEnvelope && (timeEnvelope = EnvelopeSound(props.TimeWave)) == nullptr) return;
  if (props.VolumeEnvelope && (volumeEnvelope = EnvelopeSound(props.VolumeWave)) == nullptr) return;
  const int count = props.Count.GetValue();
  if (count <= 0) return;
  double seconds = props.Time.GetValue();
  // With a time envelope the envelope's sign gives the direction.
  if (timeEnvelope != nullptr) seconds = std::fabs(seconds);
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    std::unique_ptr<Sound> result;
    if (timeEnvelope == nullptr && volumeEnvelope == nullptr)
      result = TheSound->EchoConstant(Failed, seconds, props.Factor.GetValue(), count, begin, end);
    else if (timeEnvelope == nullptr)
      result = TheSound->EchoVolumeEnvelope(Failed, seconds, *volumeEnvelope, count, begin, end);
    else if (volumeEnvelope == nullptr)
      result = TheSound->EchoTimeEnvelope(Failed, seconds, *timeEnvelope, props.Factor.GetValue(),
                                          count, begin, end);
    else
      result = TheSound->EchoEnvelopes(Failed, seconds, *timeEnvelope, *volumeEnvelope, count,
                                       begin, end);
    return result;
  });
}

void TUnitWave::FilterBlock(const TBlockFilterProps& props) {
  Records.blockFilter = props;
  Failed = false;
  const std::int32_t low = GetSelBegin();
  const std::int32_t high = GetSelEnd();
  if (high <= low) return;
  const Sound* envelope = nullptr;
  if (props.Envelope && (envelope = EnvelopeSound(props.EnvelopeWave)) == nullptr) return;
  ChangeLength(low, high, [&](std::int32_t& begin, std::int32_t& end) {
    std::unique_ptr<Sound> result =
        envelope != nullptr
            // The envelope scales the longest block; its sign is the envelope's.
            ? TheSound->BlockFilterEnvelope(Failed, *envelope, std::fabs(props.Time.GetValue()),
                                            begin, end)
            : TheSound->BlockFilter(Failed, props.Time.GetValue(), begin, end);
    return result;
  });
}
