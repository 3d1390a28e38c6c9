#include "sound/sound.h"

#include <algorithm>
#include <cmath>

#include "base/numeric.h"
#include "base/sampleconv.h"
#include "base/userinterface.h"

std::unique_ptr<Wave> WaveHandle::Take(bool& failed) {
  if (owned_) {
    wave_ = nullptr;
    return std::move(owned_);
  }
  return CopyWave(failed, wave_);
}

Sound::Sound(std::int16_t moSt, std::int32_t freq, std::int16_t bytesPSample)
    : MoSt(moSt), Freq(freq), BytesPSample(bytesPSample) {}

Sound::~Sound() = default;

std::int32_t Sound::GetValues() const {
  const Wave* first = Channel(0);
  return first != nullptr ? first->getValues() : 0;
}

double Sound::GetSeconds() const { return static_cast<double>(GetValues()) / Freq; }

namespace {

// `wave` as it sounds at `freq` when it was recorded at `ownFreq`.
WaveHandle Resampled(bool& failed, WaveHandle wave, std::int32_t ownFreq, std::int32_t freq) {
  if (failed || !wave) return {};
  if (freq == ownFreq) return wave;
  auto resampled = wave->lengthAll(failed, static_cast<double>(freq) / ownFreq);
  if (failed) return {};
  return WaveHandle::Own(std::move(resampled));
}

}  // namespace

WaveHandle Sound::GetMiddleAt(bool& failed, std::int32_t freq) const {
  return Resampled(failed, GetMiddle(failed), Freq, freq);
}

WaveHandle Sound::GetLeftAt(bool& failed, std::int32_t freq) const {
  return Resampled(failed, WaveHandle::Borrow(GetLeft()), Freq, freq);
}

WaveHandle Sound::GetRightAt(bool& failed, std::int32_t freq) const {
  return Resampled(failed, WaveHandle::Borrow(GetRight()), Freq, freq);
}

std::unique_ptr<Wave> Sound::TakeMiddle(bool& failed, std::int32_t freq) const {
  WaveHandle handle = freq != 0 ? GetMiddleAt(failed, freq) : GetMiddle(failed);
  return handle.Take(failed);
}

std::unique_ptr<Wave> Sound::TakeLeft(bool& failed, std::int32_t freq) const {
  WaveHandle handle = freq != 0 ? GetLeftAt(failed, freq) : WaveHandle::Borrow(GetLeft());
  return handle.Take(failed);
}

std::unique_ptr<Wave> Sound::TakeRight(bool& failed, std::int32_t freq) const {
  WaveHandle handle = freq != 0 ? GetRightAt(failed, freq) : WaveHandle::Borrow(GetRight());
  return handle.Take(failed);
}

double Sound::GetValueAt(bool& /*failed*/, double position, double top, double bottom) const {
  double value = 0;
  const std::int32_t values = GetValues();
  if (values > 0) {
    // A position outside 0 ... 1 (or NaN) reads the nearer end, never past
    // the array.
    const double last = values - 1;
    double index = position * last;
    if (!(index > 0)) index = 0;
    if (index > last) index = last;
    // Stereo: the mean of both channels' reads, not a read of their
    // truncated average, and without copying a whole wave for one value.
    value = Channel(0)->readAt(index);
    if (MoSt == 2) value = (value + Channel(1)->readAt(index)) / 2;
  }
  return Map(value, -32768.0, 32767.0, bottom, top);
}

void Sound::DumpSound() const {
  Trace("Sound.this = ");
  TraceAddress(this);
  Trace("Sound.MoSt = " + std::to_string(MoSt) + "\n");
  Trace("Sound.Freq = " + std::to_string(Freq) + "\n");
  Trace(std::string("Sound.ProtectWave = ") + (ProtectWave ? "true" : "false") + "\n");
}

std::unique_ptr<Sound> Sound::MakeLike(bool& failed, std::unique_ptr<Wave> left,
                                       std::unique_ptr<Wave> right) const {
  if (failed || !left) return nullptr;
  if (MoSt == 1) return std::make_unique<MonoSound>(std::move(left), Freq, BytesPSample);
  if (!right) return nullptr;
  return std::make_unique<StereoSound>(std::move(left), std::move(right), Freq, BytesPSample);
}

std::unique_ptr<Sound> Sound::ChangeFreq(bool& failed, double newFreq) const {
  if (failed) return nullptr;
  const double factor = newFreq / Freq;
  std::unique_ptr<Wave> waves[2];
  for (int i = 0; i < MoSt; ++i) {
    waves[i] = GetValues() == 0 ? NewWave(failed, 0) : Channel(i)->lengthAll(failed, factor);
  }
  auto result = MakeLike(failed, std::move(waves[0]), std::move(waves[1]));
  if (result) result->Freq = TruncInt(newFreq);
  return result;
}

std::unique_ptr<Sound> Sound::NewEmpty() const {
  if (MoSt == 1) return std::make_unique<MonoSound>(Freq, BytesPSample);
  return std::make_unique<StereoSound>(Freq, BytesPSample);
}

std::unique_ptr<Sound> Sound::Delete(bool& failed, std::int32_t begin, std::int32_t end) const {
  if (failed) return nullptr;
  if (begin == 0 && end == GetValues()) return NewEmpty();
  return ChannelOp(failed, begin, end, [&](const Wave& wave, std::int32_t& b, std::int32_t& e) {
    // An empty range removes nothing: the result is a copy.
    if (b == e) return CopyWave(failed, &wave);
    return wave.remove(failed, b, e);
  });
}

std::unique_ptr<Sound> Sound::Extract(bool& failed, std::int32_t begin, std::int32_t end) const {
  if (failed) return nullptr;
  if (begin == end) return NewEmpty();
  return ChannelOp(failed, begin, end, [&](const Wave& wave, std::int32_t& b, std::int32_t& e) {
    return wave.extract(failed, b, e);
  });
}

std::unique_ptr<Sound> Sound::Replace(bool& failed, const Sound& other, std::int32_t begin,
                                      std::int32_t end) const {
  return ChannelOpWith(failed, other, begin, end,
                       [&](const Wave& mine, const Wave& theirs, std::int32_t& b, std::int32_t& e) {
                         return mine.replace(failed, theirs, b, e);
                       });
}

void Sound::DrawLine(std::int32_t begin, double from, std::int32_t end, double to) {
  ForEachChannel([&](Wave& wave) { wave.drawLine(begin, from, end, to); });
}

std::unique_ptr<Sound> Sound::MixBefore(bool& failed, const Sound& other, std::int32_t position,
                                        std::int32_t count, bool fromEnd) const {
  std::int32_t begin = 0;
  std::int32_t end = 0;
  return ChannelOpWith(failed, other, begin, end,
                       [&](const Wave& mine, const Wave& theirs, std::int32_t&, std::int32_t&) {
                         return mine.mixBefore(failed, theirs, position, count, fromEnd);
                       });
}

std::unique_ptr<Sound> Sound::MixAt(bool& failed, const Sound& other, std::int32_t position,
                                    std::int32_t count, bool fromEnd) const {
  std::int32_t begin = 0;
  std::int32_t end = 0;
  return ChannelOpWith(failed, other, begin, end,
                       [&](const Wave& mine, const Wave& theirs, std::int32_t&, std::int32_t&) {
                         return mine.mixAt(failed, theirs, position, count, fromEnd);
                       });
}

namespace {

// The channel of `other` that mixes into channel `index` of `sound`, at the
// sound's frequency.
WaveHandle PartnerChannel(bool& failed, const Sound& sound, const Sound& other, int index) {
  if (sound.GetMoSt() == 1) return other.GetMiddleAt(failed, sound.GetFreq());
  return index == 0 ? other.GetLeftAt(failed, sound.GetFreq())
                    : other.GetRightAt(failed, sound.GetFreq());
}

}  // namespace

void Sound::MixAfterSeconds(bool& failed, const Sound& other, double seconds, double factor) {
  MixAfter(failed, other, TruncInt(Freq * seconds), factor);
}

void Sound::MixAfter(bool& failed, const Sound& other, std::int32_t after, double factor) {
  for (int i = 0; i < MoSt && !failed; ++i) {
    WaveHandle theirs = PartnerChannel(failed, *this, other, i);
    if (failed || !theirs) return;
    MutableChannel(i)->mixAfter(failed, *theirs, after, factor);
  }
}

void Sound::AddAfter(bool& failed, const Sound& other, std::int32_t after) {
  for (int i = 0; i < MoSt && !failed; ++i) {
    WaveHandle theirs = PartnerChannel(failed, *this, other, i);
    if (failed || !theirs) return;
    MutableChannel(i)->addAfter(failed, *theirs, after);
  }
}

void Sound::MixCycleAfterThis(bool& failed, const Sound& other, std::int32_t after) {
  const char* kind = MoSt == 1 ? "MonoSound" : "StereoSound";
  Trace(std::string("in ") + kind + "::MixCycleAfterThis\n");
  for (int i = 0; i < MoSt && !failed; ++i) {
    WaveHandle theirs = PartnerChannel(failed, *this, other, i);
    if (failed || !theirs) break;
    MutableChannel(i)->mixCycleAfterThis(failed, *theirs, after);
  }
  Trace(std::string("uit ") + kind + "::MixCycleAfterThis\n");
}

// --- MonoSound ---------------------------------------------------------------

MonoSound::MonoSound(std::int32_t freq, std::int16_t bytesPSample)
    : Sound(1, freq, bytesPSample), WaveMiddle(std::make_unique<Wave>()) {}

MonoSound::MonoSound(std::unique_ptr<Wave> wave, std::int32_t freq, std::int16_t bytesPSample)
    : Sound(1, freq, bytesPSample), WaveMiddle(std::move(wave)) {
  TB_ASSERT(WaveMiddle != nullptr);
}

MonoSound::MonoSound(bool& failed, const Sound& other)
    : Sound(1, other.GetFreq(), other.GetBytesPSample()) {
  if (other.GetValues() > 0) WaveMiddle = other.TakeMiddle(failed, 0);
  if (!WaveMiddle) WaveMiddle = std::make_unique<Wave>();
}

MonoSound::~MonoSound() {
  // Protected waves belong to someone else.
  if (ProtectWave) static_cast<void>(WaveMiddle.release());
}

void MonoSound::Dump() const {
  DumpSound();
  Trace("MonoSound.WaveMiddle = ");
  WaveMiddle->Dump();
}

const Wave* MonoSound::Channel(int index) const {
  TB_ASSERT(index == 0);
  return WaveMiddle.get();
}

Wave* MonoSound::MutableChannel(int index) {
  TB_ASSERT(index == 0);
  return WaveMiddle.get();
}

WaveHandle MonoSound::GetMiddle(bool& /*failed*/) const {
  return WaveHandle::Borrow(WaveMiddle.get());
}

// --- StereoSound -------------------------------------------------------------

StereoSound::StereoSound(std::int32_t freq, std::int16_t bytesPSample)
    : Sound(2, freq, bytesPSample),
      WaveLeft(std::make_unique<Wave>()),
      WaveRight(std::make_unique<Wave>()) {}

StereoSound::StereoSound(std::unique_ptr<Wave> left, std::unique_ptr<Wave> right, std::int32_t freq,
                         std::int16_t bytesPSample)
    : Sound(2, freq, bytesPSample), WaveLeft(std::move(left)), WaveRight(std::move(right)) {
  TB_ASSERT(WaveLeft != nullptr && WaveRight != nullptr);
  TB_ASSERT_TEXT(WaveLeft->getValues() == WaveRight->getValues(),
                 "waveLeft->getValues() == waveRight->getValues()");
}

StereoSound::StereoSound(bool& failed, const Sound& other)
    : Sound(2, other.GetFreq(), other.GetBytesPSample()) {
  WaveLeft = other.TakeLeft(failed, 0);
  WaveRight = other.TakeRight(failed, 0);
  if (!WaveLeft || !WaveRight) {
    WaveLeft = std::make_unique<Wave>();
    WaveRight = std::make_unique<Wave>();
  }
}

StereoSound::~StereoSound() {
  if (ProtectWave) {
    static_cast<void>(WaveLeft.release());
    static_cast<void>(WaveRight.release());
  }
}

void StereoSound::Dump() const {
  DumpSound();
  Trace("StereoSound.WaveLeft = ");
  WaveLeft->Dump();
  Trace("StereoSound.WaveRight = ");
  WaveRight->Dump();
}

const Wave* StereoSound::Channel(int index) const {
  TB_ASSERT(index == 0 || index == 1);
  return index == 0 ? WaveLeft.get() : WaveRight.get();
}

Wave* StereoSound::MutableChannel(int index) {
  TB_ASSERT(index == 0 || index == 1);
  return index == 0 ? WaveLeft.get() : WaveRight.get();
}

WaveHandle StereoSound::GetMiddle(bool& failed) const {
  auto middle = WaveLeft->average(failed, *WaveRight);
  if (failed) return {};
  return WaveHandle::Own(std::move(middle));
}
