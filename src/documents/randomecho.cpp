// Random Echo: copies of the whole sound, each changed in volume, length,
// pitch, tempo and direction by dice, added at random places into a new
// sound.
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "base/sampleconv.h"
#include "base/userinterface.h"
#include "documents/unitwave.h"
#include "sound/dicer.h"
#include "sound/sound.h"

namespace {

// A property that reads its envelope: the envelope's sound, or null when the
// property does not use one.
struct EnvelopeUse {
  const TRandomProperty* property;
  const Sound* sound = nullptr;
};

// A random envelope value: the envelope read at a random relative position,
// mapped so that -32768 gives `bottom` and 32767 `top`. The die may
// overshoot 1 a little; the position stays on the envelope.
double RandomEnvelopeValue(bool& failed, const Dicer& dicer, const EnvelopeUse& use, double top,
                           double bottom) {
  const double position = std::clamp(dicer.Get(use.property->die, 1, 0), 0.0, 1.0);
  return use.sound->GetValueAt(failed, position, top, bottom);
}

}  // namespace

void TUnitWave::RandomEcho(const TRandomEchoProps& props) {
  Records.randomEcho = props;
  Failed = false;
  if (GetValues() == 0) return;
  const std::int32_t freq = GetFrequency();
  if (TruncInt(freq * props.blockSize.GetValue()) <= 0 &&
      (props.pitch.kind == kEchoRandomEnvelope || props.tempo.kind == kEchoRandomEnvelope)) {
    Refuse("In Block Size: The block is shorter than one value.");
    return;
  }
  EnvelopeUse time{&props.time};
  EnvelopeUse volume{&props.volume};
  EnvelopeUse length{&props.length};
  EnvelopeUse balance{&props.balance};
  EnvelopeUse pitch{&props.pitch};
  EnvelopeUse tempo{&props.tempo};
  const std::pair<EnvelopeUse*, bool> uses[] = {{&time, props.time.kind == kEchoTimeEnvelope},
                                                {&volume, props.volume.kind == kEchoEnvelope},
                                                {&length, props.length.kind == kEchoRandomEnvelope},
                                                {&balance, props.balance.kind == kEchoEnvelope},
                                                {&pitch, props.pitch.kind == kEchoRandomEnvelope},
                                                {&tempo, props.tempo.kind == kEchoRandomEnvelope}};
  for (const auto& [use, needed] : uses) {
    if (!needed) continue;
    use->sound = EnvelopeSound(use->property->envelope);
    if (use->sound == nullptr) return;
  }

  Dicer dicer(static_cast<unsigned>(props.seed.GetValue()));
  const double diff = freq * props.timeDiff.GetValue();  // T, in values
  const bool cyclable = props.cyclable;
  const bool balanced = props.balance.kind != kEchoNoChange;

  // The accumulator, filled with silence. An absurd time difference
  // saturates and reaches the sound layer as too much for memory.
  const std::int32_t accumulatorLength =
      cyclable ? TruncInt(diff + 1) : TruncInt(GetValues() + diff + 1 + freq * (1 / 3400.0));
  std::unique_ptr<Sound> empty;
  if (GetMonoStereo() == 1 && !balanced)
    empty = std::make_unique<MonoSound>(freq, GetBytesPSample());
  else
    empty = std::make_unique<StereoSound>(freq, GetBytesPSample());
  std::int32_t begin = 0;
  std::int32_t end = 0;
  std::unique_ptr<Sound> accumulator =
      empty->Silence(Failed, (accumulatorLength + 1.0) / freq, begin, end);
  empty.reset();

  for (std::int32_t echo = 0; echo < props.count.GetValue() && !Failed && accumulator; ++echo) {
    dicer.Roll();
    std::unique_ptr<Sound> copy;  // null: still the document's own sound
    auto current = [&]() -> const Sound& { return copy ? *copy : *TheSound; };
    auto replace = [&](std::unique_ptr<Sound> next) {
      copy = std::move(next);
      return copy != nullptr && !Failed;
    };
    double room = std::trunc(diff);

    // Volume (a negative factor inverts).
    if (props.volume.kind != kEchoNoChange) {
      const double factor = props.volume.kind == kEchoLinear
                                ? dicer.Get(props.volume.die, 1, 0)
                                : RandomEnvelopeValue(Failed, dicer, volume, 1, -1);
      if (!replace(current().Volume(Failed, factor, 0, -1))) break;
    }
    // Length (a negative factor reverses, 0 empties).
    if (props.length.kind == kEchoRandomEnvelope) {
      const double factor = RandomEnvelopeValue(Failed, dicer, length, 1, -1);
      const std::int32_t old = current().GetValues();
      if (!replace(current().LengthAll(Failed, factor))) break;
      room += old - current().GetValues();
    }
    // Pitch and tempo.
    if ((props.pitch.kind == kEchoRandomEnvelope || props.tempo.kind == kEchoRandomEnvelope) &&
        current().GetValues() > 0) {
      const double t = props.tempo.kind == kEchoRandomEnvelope
                           ? RandomEnvelopeValue(Failed, dicer, tempo, 1, -1)
                           : 1;
      const double p =
          props.pitch.kind == kEchoRandomEnvelope
              ? RandomEnvelopeValue(Failed, dicer, pitch, 1, -1) * props.pitchFactor.GetValue()
              : 1;
      const std::int32_t old = current().GetValues();
      std::unique_ptr<Sound> next =
          t == 0 ? current().NewEmpty()
                 : current().TempoPitchAll(Failed, 1 / t, 0, std::fabs(t), p,
                                           props.blockSize.GetValue(), props.quality);
      if (!replace(std::move(next))) break;
      room += old - current().GetValues();
    }
    // Direction.
    if (balanced && current().GetValues() > 0) {
      const double direction = props.balance.kind == kEchoLinear
                                   ? dicer.Get(props.balance.die, 1, -1)
                                   : RandomEnvelopeValue(Failed, dicer, balance, 1, -1);
      std::unique_ptr<Sound> next = current().Balance(Failed, direction, props.balanceTimeDiff,
                                                      props.balanceVolumeDiff == kBalanceVolume,
                                                      props.balanceVolumeDiff == kBalanceFilter);
      if (!replace(std::move(next))) break;
      room = std::trunc(room - current().GetFreq() * (1 / 3400.0));
    }
    // Place.
    const double bound = cyclable ? diff : room;
    const double start = props.time.kind == kEchoTimeEnvelope
                             ? RandomEnvelopeValue(Failed, dicer, time, bound, 0)
                             : dicer.Get(props.time.die, bound, 0);
    if (Failed) break;
    if (current().GetValues() == 0) continue;
    // The place stays inside the accumulator whatever the dice said.
    const auto after = static_cast<std::int32_t>(
        std::clamp(std::trunc(start), 0.0, static_cast<double>(accumulator->GetValues() - 1)));
    if (cyclable)
      accumulator->MixCycleAfterThis(Failed, current(), after);
    else
      accumulator->AddAfter(Failed, current(), after);
  }

  const std::int16_t oldChannels = GetMonoStereo();
  if (TakeResult(std::move(accumulator)) && GetMonoStereo() != oldChannels)
    Listeners.ChannelsChanged(GetMonoStereo());
  SetCursor(0);
  Listeners.Repaint();
}
