#include "documents/unitwave.h"

#include <algorithm>
#include <utility>

#include "base/sampleconv.h"
#include "base/tbassert.h"
#include "base/userinterface.h"
#include "documents/undo.h"
#include "documents/workspace.h"
#include "sound/format.h"
#include "sound/sound.h"

namespace {

std::unique_ptr<Sound> NewEmptySound(const TWaveFileProps& props) {
  if (props.MonoStereo == 1)
    return std::make_unique<MonoSound>(props.Frequency, props.BytesPSample);
  return std::make_unique<StereoSound>(props.Frequency, props.BytesPSample);
}

}  // namespace

TUnitWave::TUnitWave(const TWaveFileProps& waveFileProps, const std::string& fileName)
    : TUnit(kUnitKindWave, fileName, TUnitState::New) {
  TB_ASSERT(waveFileProps.MonoStereo == 1 || waveFileProps.MonoStereo == 2);
  TB_ASSERT(waveFileProps.BytesPSample == 1 || waveFileProps.BytesPSample == 2);
  TheSound = NewEmptySound(waveFileProps);
}

TUnitWave::TUnitWave(std::unique_ptr<Sound> sound, const std::string& fileName)
    : TUnit(kUnitKindWave, fileName, TUnitState::Saved), TheSound(std::move(sound)) {
  TB_ASSERT_TEXT(TheSound != nullptr, "TheSound != NULL");
}

TUnitWave::~TUnitWave() {
  // The undo record may hold this document's old sound: it goes first.
  if (Workspace != nullptr) Workspace->UnitDestroyed(this);
}

// --- TUnit -------------------------------------------------------------------

bool TUnitWave::NeedsSave() const { return GetValues() > 0 && State != TUnitState::Saved; }

bool TUnitWave::SaveAs(const std::string& fileName, bool temporary) {
  TB_ASSERT_TEXT(TheSound != nullptr, "TheSound != NULL");
  return TheSound->Save(Failed, fileName, temporary, 0, GetValues());
}

std::int32_t TUnitWave::GetFrequency() const {
  TB_ASSERT_TEXT(TheSound != nullptr, "TheSound != NULL");
  return TheSound->GetFreq();
}

std::int16_t TUnitWave::GetMonoStereo() const {
  TB_ASSERT_TEXT(TheSound != nullptr, "TheSound != NULL");
  return TheSound->GetMoSt();
}

std::int16_t TUnitWave::GetBytesPSample() const {
  TB_ASSERT_TEXT(TheSound != nullptr, "TheSound != NULL");
  return TheSound->GetBytesPSample();
}

TWaveFileProps TUnitWave::GetProperties() const {
  TWaveFileProps props;
  props.Frequency = GetFrequency();
  props.MonoStereo = GetMonoStereo();
  props.BytesPSample = GetBytesPSample();
  return props;
}

void TUnitWave::ChangeProperties(const TWaveFileProps& oldProps, const TWaveFileProps& newProps) {
  TB_ASSERT(newProps.MonoStereo == 1 || newProps.MonoStereo == 2);
  TB_ASSERT(newProps.BytesPSample == 1 || newProps.BytesPSample == 2);
  if (oldProps.MonoStereo != newProps.MonoStereo) Listeners.ChannelsChanged(newProps.MonoStereo);
  Failed = false;
  // A change of the sample width alone still makes a new sound, so that
  // Undo gives the old width back.
  std::unique_ptr<Sound> made =
      ConvertFormat(Failed, *TheSound,
                    SoundFormat{newProps.Frequency, newProps.MonoStereo, newProps.BytesPSample});
  std::int32_t cursor = Cursor;
  std::int32_t anchor = Anchor;
  if (newProps.Frequency != oldProps.Frequency) {
    const double ratio = static_cast<double>(newProps.Frequency) / oldProps.Frequency;
    cursor = TruncInt(Cursor * ratio);
    anchor = TruncInt(Anchor * ratio);
  }
  if (Failed || !made) return;
  ReplaceSound(std::move(made));
  // Positions follow the frequency only when the new sound was taken.
  Cursor = ClipPosition(cursor);
  Anchor = ClipPosition(anchor);
  Listeners.Repaint();
}

// --- window and sound -------------------------------------------------------

void TUnitWave::AddListener(TWaveListener* listener) { Listeners.Add(listener); }

void TUnitWave::RemoveListener(TWaveListener* listener) { Listeners.Remove(listener); }

const Sound& TUnitWave::GetSound() const {
  TB_ASSERT_TEXT(TheSound != nullptr, "TheSound != NULL");
  return *TheSound;
}

void TUnitWave::ReplaceSound(std::unique_ptr<Sound> sound) {
  std::unique_ptr<Sound> old = std::move(TheSound);
  TheSound = std::move(sound);
  ++SoundVersion;
  if (Workspace != nullptr) old = Workspace->SoundReleased(*this, std::move(old));
  // `old` is destroyed here unless the undo record took it.
}

bool TUnitWave::TakeResult(std::unique_ptr<Sound> result) {
  if (Failed || !result) return false;
  ReplaceSound(std::move(result));
  return true;
}

std::unique_ptr<Sound> TUnitWave::SetSound(std::unique_ptr<Sound> sound) {
  TB_ASSERT_TEXT(sound != nullptr, "sound != NULL");
  std::unique_ptr<Sound> old = std::move(TheSound);
  TheSound = std::move(sound);
  ++SoundVersion;
  if (Workspace != nullptr) old = Workspace->SoundReleased(*this, std::move(old));
  Cursor = ClipPosition(Cursor);
  Anchor = ClipPosition(Anchor);
  return old;
}

void TUnitWave::ExchangeSound(TUndoUnit& undoRecord) {
  TB_ASSERT(undoRecord.UnitWave == this);
  if (undoRecord.OwnedSound) {
    std::swap(TheSound, undoRecord.OwnedSound);
    ++SoundVersion;
    undoRecord.TheSound = undoRecord.OwnedSound.get();
  }
  std::swap(Cursor, undoRecord.Cursor);
  std::swap(Anchor, undoRecord.Anchor);
  SetChanged();
  Listeners.Repaint();
}

std::unique_ptr<Sound> TUnitWave::HandOverSound() {
  SoundHandedOver = true;
  ++SoundVersion;
  if (Workspace != nullptr) Workspace->UnitDestroyed(this);
  return std::move(TheSound);
}

// --- selection -----------------------------------------------------------------

std::int32_t TUnitWave::GetValues() const { return TheSound ? TheSound->GetValues() : 0; }

std::int32_t TUnitWave::ClipPosition(std::int32_t position) const {
  return std::clamp(position, 0, GetValues());
}

std::int32_t TUnitWave::GetSelBegin() const { return Cursor == Anchor ? 0 : GetSelLow(); }
std::int32_t TUnitWave::GetSelEnd() const { return Cursor == Anchor ? GetValues() : GetSelHigh(); }
std::int32_t TUnitWave::GetSelLow() const { return std::min(Cursor, Anchor); }
std::int32_t TUnitWave::GetSelHigh() const { return std::max(Cursor, Anchor); }

void TUnitWave::MoveCursor(std::int32_t position) {
  ChangeSelection(ClipPosition(position), Anchor);
}

void TUnitWave::SetCursor(std::int32_t position) {
  const std::int32_t clipped = ClipPosition(position);
  ChangeSelection(clipped, clipped);
}

void TUnitWave::SetSelection(std::int32_t begin, std::int32_t end) {
  TB_ASSERT(begin <= end);
  begin = ClipPosition(begin);
  end = ClipPosition(end);
  // The end that was the lower one stays the lower one.
  if (Cursor <= Anchor)
    ChangeSelection(begin, end);
  else
    ChangeSelection(end, begin);
}

void TUnitWave::SetCursorAndAnchor(std::int32_t cursor, std::int32_t anchor) {
  ChangeSelection(ClipPosition(cursor), ClipPosition(anchor));
}

void TUnitWave::SelectResult(std::int32_t low, std::int32_t high) {
  Listeners.EndChange(low, high);
  if (low != high)
    SetSelection(low, high);
  else
    SetCursor(low);
}

void TUnitWave::ChangeSelection(std::int32_t cursor, std::int32_t anchor) {
  const std::int32_t oldLow = GetSelLow();
  const std::int32_t oldHigh = GetSelHigh();
  Cursor = cursor;
  Anchor = anchor;
  const std::int32_t newLow = GetSelLow();
  const std::int32_t newHigh = GetSelHigh();
  const bool oldEmpty = oldLow == oldHigh;
  const bool newEmpty = newLow == newHigh;
  if (oldEmpty && newEmpty) {
    // The cursor alone moved.
    if (oldLow != newLow && GetValues() > 0) {
      Listeners.EraseCursor(oldLow);
      Listeners.RepaintRange(newLow, newLow, false);
    }
  } else if (!oldEmpty && !newEmpty && std::max(oldLow, newLow) <= std::min(oldHigh, newHigh)) {
    // Overlapping selections: only the stretches between the old and the new
    // ends change, newly selected where the range grew, unselected where it
    // shrank.
    if (newLow < oldLow) Listeners.RepaintRange(newLow, oldLow, true);
    if (newHigh > oldHigh) Listeners.RepaintRange(oldHigh, newHigh, true);
    if (newLow > oldLow) Listeners.RepaintRange(oldLow, newLow, false);
    if (newHigh < oldHigh) Listeners.RepaintRange(newHigh, oldHigh, false);
  } else {
    // Disjoint, or from or to a mere cursor: the old range goes, the new one
    // comes.
    if (oldEmpty) {
      if (GetValues() > 0) Listeners.EraseCursor(oldLow);
    } else {
      Listeners.RepaintRange(oldLow, oldHigh, false);
    }
    if (newEmpty)
      Listeners.RepaintRange(newLow, newLow, false);
    else
      Listeners.RepaintRange(newLow, newHigh, true);
  }
  Listeners.SelectionChanged();
}

void TUnitWave::ChangeLength(std::int32_t low, std::int32_t high,
                             const TLengthOperation& operation) {
  std::int32_t begin = low;
  std::int32_t end = high;
  Listeners.BeginChange(low, high);
  if (TakeResult(operation(begin, end)))
    SelectResult(begin, end);
  else
    SelectResult(low, high);
  Listeners.Repaint();
}

double TUnitWave::RangeSeconds(std::int32_t begin, std::int32_t end) const {
  return static_cast<double>(end - begin) / GetFrequency();
}

TWorkspace& TUnitWave::Owner() const {
  TB_ASSERT_TEXT(Workspace != nullptr, "Workspace != NULL");
  return *Workspace;
}

const Sound* TUnitWave::EnvelopeSound(const unitUnitWave& wave) {
  const std::string& name = wave.GetName();
  const TUnitWave* unit =
      Workspace != nullptr ? Workspace->FindWaveUnitByRegisterName(name) : nullptr;
  if (unit == nullptr) {
    Refused = true;
    ShowMessage("Error", "Cannot find window \"" + name + "\".", MessageIcon::Information,
                MessageButtons::Ok);
    return nullptr;
  }
  if (unit->GetValues() == 0) {
    Refused = true;
    ShowMessage("Error", "The wave \"" + name + "\" has no values.", MessageIcon::Information,
                MessageButtons::Ok);
    return nullptr;
  }
  return &unit->GetSound();
}

void TUnitWave::Refuse(const std::string& text) {
  Refused = true;
  ShowMessage("Input Error", text, MessageIcon::Information, MessageButtons::Ok);
}
