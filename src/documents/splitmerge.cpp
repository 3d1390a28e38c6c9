#include "documents/splitmerge.h"

#include <algorithm>
#include <utility>

#include "base/tbassert.h"
#include "base/userinterface.h"
#include "documents/unitwave.h"
#include "documents/workspace.h"
#include "sound/sound.h"

namespace {

std::unique_ptr<Sound> EmptySound(std::int16_t channels, std::int32_t freq, std::int16_t bytes) {
  if (channels == 1) return std::make_unique<MonoSound>(freq, bytes);
  return std::make_unique<StereoSound>(freq, bytes);
}

std::unique_ptr<Sound> Converted(bool& failed, const Sound& sound, std::int16_t channels) {
  if (channels == 1) return std::make_unique<MonoSound>(failed, sound);
  return std::make_unique<StereoSound>(failed, sound);
}

// A wave handed out by a sound is either its own (to be taken over if the
// merge succeeds) or a new one.
struct TMergeWave {
  WaveHandle Handle;
  std::unique_ptr<Wave> Made;  // replaces Handle once the length changed
  const Wave& Get() const { return Made ? *Made : *Handle; }
  std::int32_t Values() const { return Get().getValues(); }
};

std::unique_ptr<Wave> Silence(bool& failed, const Wave& wave, std::int32_t count, bool before) {
  std::int32_t at = before ? 0 : wave.getValues();
  std::int32_t end = at;
  return wave.silence(failed, count, at, end);
}

std::unique_ptr<Wave> Stretch(bool& failed, const Wave& wave, std::int32_t length) {
  std::int32_t end = wave.getValues();
  return wave.resize(failed, length, false, 0, end);
}

// Brings the two waves to one length as `rule` says (see TMergeVertProps).
void MakeLengthsEqual(bool& failed, TMergeWave& left, TMergeWave& right, std::uint8_t rule) {
  const std::int32_t nl = left.Values();
  const std::int32_t nr = right.Values();
  if (nl == nr) return;
  TMergeWave& shorter = nl < nr ? left : right;
  TMergeWave& longer = nl < nr ? right : left;
  const std::int32_t diff = longer.Values() - shorter.Values();
  switch (rule) {
    case 0:
    case 1:
      shorter.Made = Silence(failed, shorter.Get(), diff, rule == 0);
      break;
    case 2:
      // An empty wave cannot be stretched: it becomes silence.
      shorter.Made = shorter.Values() == 0 ? Silence(failed, shorter.Get(), diff, false)
                                           : Stretch(failed, shorter.Get(), longer.Values());
      break;
    default:
      longer.Made = shorter.Values() == 0 ? std::make_unique<Wave>()
                                          : Stretch(failed, longer.Get(), shorter.Values());
      break;
  }
}

// The merge's own copy of the wave, or the document's wave taken over: the
// sound it came from is told that it no longer owns it.
std::unique_ptr<Wave> TakeOver(TMergeWave& wave, Sound& owner) {
  if (wave.Made) return std::move(wave.Made);
  if (wave.Handle.IsCopy()) {
    bool failed = false;
    return wave.Handle.Take(failed);  // the copy itself: nothing to allocate
  }
  owner.SetProtectWave(true);
  return std::unique_ptr<Wave>(const_cast<Wave*>(wave.Handle.get()));
}

}  // namespace

bool CanSplitHorizontally(const TUnitWave& unitWave) {
  return unitWave.GetSelLow() > 0 && unitWave.GetSelHigh() < unitWave.GetValues() - 1;
}

TSplitPoints SplitPointsOf(const TUnitWave& unitWave, std::uint8_t result) {
  const std::int32_t lo = unitWave.GetSelLow();
  const std::int32_t hi = unitWave.GetSelHigh();
  if (!unitWave.HasSelection()) return {lo, lo, false};
  switch (result) {
    case 0:
      return {lo, hi, true};
    case 1:
      return {hi, lo, false};
    default:
      return {lo, hi, false};
  }
}

std::vector<std::unique_ptr<Sound>> SplitHorizontally(bool& failed, const Sound& sound,
                                                      const TSplitPoints& points) {
  const std::int32_t values = sound.GetValues();
  TB_ASSERT(points.A >= 0 && points.A <= values && points.B >= 0 && points.B <= values);
  TB_ASSERT(!points.Three || points.A <= points.B);
  std::vector<std::unique_ptr<Sound>> parts;
  parts.push_back(sound.Extract(failed, 0, points.A));
  if (points.Three) parts.push_back(sound.Extract(failed, points.A, points.B));
  parts.push_back(sound.Extract(failed, points.B, values));
  if (failed || std::any_of(parts.begin(), parts.end(), [](const auto& p) { return !p; })) {
    failed = true;
    parts.clear();
  }
  return parts;
}

std::array<std::unique_ptr<Sound>, 2> SplitVertically(TUnitWave& unitWave) {
  TB_ASSERT(unitWave.GetMonoStereo() == 2);
  std::unique_ptr<Sound> stereo = unitWave.HandOverSound();
  const std::int32_t freq = stereo->GetFreq();
  const std::int16_t bytes = stereo->GetBytesPSample();
  // The stereo sound keeps pointers to its waves but no longer owns them.
  std::unique_ptr<Wave> left(const_cast<Wave*>(stereo->GetLeft()));
  std::unique_ptr<Wave> right(const_cast<Wave*>(stereo->GetRight()));
  stereo->SetProtectWave(true);
  stereo.reset();
  return {std::make_unique<MonoSound>(std::move(left), freq, bytes),
          std::make_unique<MonoSound>(std::move(right), freq, bytes)};
}

std::unique_ptr<Sound> MergeHorizontally(bool& failed, const Sound& first, const Sound& last,
                                         const TMergeHorProps& props) {
  TB_ASSERT(props.MonoStereo == 1 || props.MonoStereo == 2);
  TB_ASSERT(props.BytesPSample == 1 || props.BytesPSample == 2);
  // An empty first wave takes the chosen format as it is: resampling nothing
  // would leave the merge at the first wave's frequency.
  std::unique_ptr<Sound> begin;
  if (first.GetValues() == 0) {
    begin = EmptySound(props.MonoStereo, props.Frequency, props.BytesPSample);
  } else {
    if (first.GetMoSt() != props.MonoStereo) begin = Converted(failed, first, props.MonoStereo);
    const Sound& converted = begin ? *begin : first;
    if (converted.GetFreq() != props.Frequency) {
      begin = converted.ChangeFreq(failed, props.Frequency);
    }
  }
  const Sound& head = begin ? *begin : first;
  std::unique_ptr<Sound> end;
  if (last.GetValues() > 0 && last.GetMoSt() != props.MonoStereo) {
    end = Converted(failed, last, props.MonoStereo);
  }
  const Sound& tail = end ? *end : last;
  if (failed) return nullptr;
  // The last wave is read at the first one's frequency.
  const std::int32_t n = head.GetValues();
  std::unique_ptr<Sound> merged = head.Replace(failed, tail, n, n);
  if (failed || !merged) return nullptr;
  merged->SetBytesPSample(props.BytesPSample);
  return merged;
}

std::unique_ptr<Sound> MergeVertically(bool& failed, TUnitWave& left, TUnitWave& right,
                                       const TMergeVertProps& props) {
  TB_ASSERT(&left != &right);
  TB_ASSERT(props.BytesPSample == 1 || props.BytesPSample == 2);
  TMergeWave waves[2];
  waves[0].Handle = left.GetSound().GetMiddleForFreq(failed, props.Frequency);
  waves[1].Handle = right.GetSound().GetMiddleForFreq(failed, props.Frequency);
  if (failed || !waves[0].Handle || !waves[1].Handle) {
    failed = true;
    return nullptr;
  }
  MakeLengthsEqual(failed, waves[0], waves[1], props.MakeLengthsEqual);
  if (failed || waves[0].Values() != waves[1].Values()) {
    failed = true;
    return nullptr;
  }
  // From here on nothing can fail: the documents give up their sounds.
  std::unique_ptr<Sound> leftSound = left.HandOverSound();
  std::unique_ptr<Sound> rightSound = right.HandOverSound();
  std::unique_ptr<Wave> l = TakeOver(waves[0], *leftSound);
  std::unique_ptr<Wave> r = TakeOver(waves[1], *rightSound);
  return std::make_unique<StereoSound>(std::move(l), std::move(r), props.Frequency,
                                       props.BytesPSample);
}

bool CheckMergeChoice(const TUnitWave* one, const std::string& oneLabel, const TUnitWave* other,
                      const std::string& otherLabel) {
  if (one == nullptr || other == nullptr) {
    const std::string& label = one == nullptr ? oneLabel : otherLabel;
    ShowMessage("Input Error", "In " + label + ": You have to select a Wave");
    return false;
  }
  if (one == other) {
    ShowMessage("Input Error", "The chosen Waves must be different");
    return false;
  }
  return true;
}

TUnitWave* AddDerivedWave(TWorkspace& workspace, std::unique_ptr<Sound> sound) {
  TB_ASSERT(sound != nullptr);
  const std::string name = workspace.NextNonameName();
  TUnitWave* unitWave = workspace.AddWave(std::make_unique<TUnitWave>(std::move(sound), name));
  unitWave->SetNew();
  return unitWave;
}
