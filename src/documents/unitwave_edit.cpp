// The edit commands: Delete, Trim, Copy, Cut, Paste, Swap, Extract and Mix
// through the workspace's clipboard.
#include <utility>

#include "base/sampleconv.h"
#include "documents/unitwave.h"
#include "documents/workspace.h"
#include "sound/sound.h"

namespace {

// Where a pasted clip of `clip` ends when it starts at `low` in a sound of
// `freq` Hz: the clip is resampled to that frequency on the way in.
std::int32_t PastedEnd(std::int32_t low, const Sound& clip, std::int32_t freq) {
  return TruncInt(low + static_cast<double>(clip.GetValues()) * freq / clip.GetFreq());
}

}  // namespace

void TUnitWave::Delete() {
  Failed = false;
  const std::int32_t begin = GetSelBegin();
  const std::int32_t end = GetSelEnd();
  ChangeLength(begin, end, [&](std::int32_t& from, std::int32_t& to) {
    to = from;
    return TheSound->Delete(Failed, begin, end);
  });
}

void TUnitWave::Trim() {
  Failed = false;
  const std::int32_t begin = GetSelBegin();
  const std::int32_t end = GetSelEnd();
  ChangeLength(begin, end, [&](std::int32_t& from, std::int32_t& to) {
    from = 0;
    to = end - begin;
    return TheSound->Extract(Failed, begin, end);
  });
}

void TUnitWave::Copy() {
  Failed = false;
  // The old clipboard sound goes even when the extraction fails.
  std::unique_ptr<Sound> clip = TheSound->Extract(Failed, GetSelBegin(), GetSelEnd());
  if (Failed) clip.reset();
  Owner().SetClipBoardSound(std::move(clip));
}

void TUnitWave::Cut() {
  const std::int32_t begin = GetSelBegin();
  const std::int32_t end = GetSelEnd();
  Copy();  // clears Failed first
  ChangeLength(begin, end, [&](std::int32_t& from, std::int32_t& to) {
    to = from;
    return TheSound->Delete(Failed, begin, end);
  });
}

void TUnitWave::Paste() {
  Failed = false;
  const std::int32_t low = GetSelLow();
  const std::int32_t high = GetSelHigh();
  const Sound& clip = Owner().GetClipBoardSound();
  ChangeLength(low, high, [&](std::int32_t& /*from*/, std::int32_t& to) {
    to = PastedEnd(low, clip, GetFrequency());
    return TheSound->Replace(Failed, clip, low, high);
  });
}

void TUnitWave::Swap() {
  Failed = false;
  const std::int32_t low = GetSelLow();
  const std::int32_t high = GetSelHigh();
  const Sound& clip = Owner().GetClipBoardSound();
  Listeners.BeginChange(low, high);
  std::unique_ptr<Sound> extracted = TheSound->Extract(Failed, low, high);
  std::unique_ptr<Sound> replaced = TheSound->Replace(Failed, clip, low, high);
  const std::int32_t pastedEnd = PastedEnd(low, clip, GetFrequency());
  // The extracted part goes to the clipboard even when the replacement
  // failed (a failed extraction gave none): the old clip is gone either way.
  Owner().SetClipBoardSound(std::move(extracted));  // `clip` is gone from here on
  TakeResult(std::move(replaced));
  SelectResult(low, pastedEnd);
  Listeners.Repaint();
}

void TUnitWave::Extract() {
  const std::int32_t begin = GetSelBegin();
  const std::int32_t end = GetSelEnd();
  Copy();  // clears Failed first
  std::unique_ptr<Sound> copy;
  if (!Failed) {
    if (TheSound->GetMoSt() == 1)
      copy = std::make_unique<MonoSound>(Failed, *TheSound);
    else
      copy = std::make_unique<StereoSound>(Failed, *TheSound);
  }
  // Silences the range of the copy in place; the length stays.
  if (!Failed && copy && end > begin) copy->DrawLine(begin, 0, end, 0);
  TakeResult(std::move(copy));
  Listeners.Repaint();
}

void TUnitWave::Mix(const TMixProps& props) {
  Records.mix = props;
  Failed = false;
  const std::int32_t low = GetSelLow();
  const std::int32_t high = GetSelHigh();
  const std::int32_t count = (!HasSelection() || GetValues() == 0) ? -1 : high - low;
  const Sound& clip = Owner().GetClipBoardSound();
  std::unique_ptr<Sound> result;
  switch (props.Place) {
    case kMixAlignBegin:
      result = TheSound->MixAt(Failed, clip, low, count, false);
      break;
    case kMixAlignEnd:
      result = TheSound->MixBefore(Failed, clip, high, count, true);
      break;
    default:
      result = TheSound->AddEnvelope(Failed, clip, GetSelBegin(), GetSelEnd());
      break;
  }
  TakeResult(std::move(result));
  Listeners.Repaint();
}
