#include "sound/format.h"

#include "base/tbassert.h"

namespace {

void CheckFormat(const SoundFormat& format) {
  TB_ASSERT(format.channels == 1 || format.channels == 2);
  TB_ASSERT(format.bytesPSample == 1 || format.bytesPSample == 2);
}

}  // namespace

SoundFormat FormatOf(const Sound& sound) {
  return SoundFormat{sound.GetFreq(), sound.GetMoSt(), sound.GetBytesPSample()};
}

std::unique_ptr<Sound> ConvertFormat(bool& failed, const Sound& sound, const SoundFormat& target) {
  CheckFormat(target);
  if (failed) return nullptr;
  std::unique_ptr<Sound> made;  // the newest sound made so far
  auto current = [&]() -> const Sound& { return made ? *made : sound; };
  // Mono first and stereo last, so that the resampling works on one channel
  // where it can.
  if (target.channels == 1 && sound.GetMoSt() == 2) {
    made = std::make_unique<MonoSound>(failed, sound);
  }
  if (!failed && target.frequency != sound.GetFreq()) {
    made = current().ChangeFreq(failed, target.frequency);
  }
  if (!failed && target.channels == 2 && sound.GetMoSt() == 1) {
    made = std::make_unique<StereoSound>(failed, current());
  }
  if (!failed && !made && target.bytesPSample != sound.GetBytesPSample()) {
    // The width alone: a copy of the same kind.
    if (sound.GetMoSt() == 1) {
      made = std::make_unique<MonoSound>(failed, sound);
    } else {
      made = std::make_unique<StereoSound>(failed, sound);
    }
  }
  if (failed || !made) return nullptr;
  made->SetBytesPSample(target.bytesPSample);
  return made;
}

std::unique_ptr<Sound> ConvertFormat(bool& failed, std::unique_ptr<Sound> sound,
                                     const SoundFormat& target) {
  CheckFormat(target);
  if (failed) return nullptr;
  if (target.channels == sound->GetMoSt() && target.frequency == sound->GetFreq()) {
    sound->SetBytesPSample(target.bytesPSample);
    return sound;
  }
  return ConvertFormat(failed, *sound, target);
}
