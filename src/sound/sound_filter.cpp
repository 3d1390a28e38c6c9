// Filters on sounds: every channel filtered alike, periods given in seconds.
// Envelope sounds are read as they are (their middle wave), not resampled.
// The constant recursive filters of a stereo sound run both channels in one
// loop (the same results as channel by channel, in about half the time).

#include <algorithm>

#include "sound/sound.h"

namespace {

// The channels of a sound as input arrays of the two-channel filters.
struct ChannelSet {
  const Wave* in[2] = {};
  std::unique_ptr<Wave> out[2];
  int count = 0;
};

ChannelSet ChannelsOf(const Sound& sound) {
  ChannelSet set;
  set.count = sound.ChannelCount();
  for (int i = 0; i < set.count; ++i) set.in[i] = sound.Channel(i);
  return set;
}

}  // namespace

std::unique_ptr<Sound> Sound::Filter1(bool& failed, WaveFilter1 filter, double periodSeconds,
                                      double factor, int countBer, int countCmd, std::int32_t begin,
                                      std::int32_t end) const {
  if (failed) return nullptr;
  const double time = Freq * periodSeconds;
  if (filter == &Wave::lowPass || filter == &Wave::highPass) {
    ChannelSet set = ChannelsOf(*this);
    Wave::onePolePair(failed, filter == &Wave::highPass, set.in, set.out, set.count, time, factor,
                      countBer, countCmd, begin, end);
    return MakeLike(failed, std::move(set.out[0]), std::move(set.out[1]));
  }
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return (w.*filter)(failed, time, factor, countBer, countCmd, b, e);
  });
}

std::unique_ptr<Sound> Sound::Filter1Envelope(bool& failed, WaveFilter1Envelope filter,
                                              const Sound& freqEnvelope, double factor,
                                              int countBer, int countCmd, std::int32_t begin,
                                              std::int32_t end) const {
  if (failed) return nullptr;
  const WaveHandle envelope = freqEnvelope.GetMiddle(failed);
  if (failed || !envelope) return nullptr;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return (w.*filter)(failed, *envelope, factor, countBer, countCmd, Freq, b, e);
  });
}

std::unique_ptr<Sound> Sound::Filter2(bool& failed, bool freqConstant, bool widthConstant,
                                      double periodSeconds, double width, const Sound* freqEnvelope,
                                      const Sound* widthEnvelope, WaveFilter2 constant,
                                      WaveFilter2Freq freqFilter, WaveFilter2Width widthFilter,
                                      WaveFilter2Both bothFilter, std::int32_t begin,
                                      std::int32_t end) const {
  if (failed) return nullptr;
  const double per = Freq * periodSeconds;
  if (freqConstant && widthConstant) {
    if (constant == &Wave::resonant || constant == &Wave::notch) {
      ChannelSet set = ChannelsOf(*this);
      Wave::resonantPair(failed, constant == &Wave::notch, set.in, set.out, set.count, per, width,
                         begin, end);
      return MakeLike(failed, std::move(set.out[0]), std::move(set.out[1]));
    }
    return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
      return (w.*constant)(failed, per, width, b, e);
    });
  }
  WaveHandle frequencies;
  WaveHandle widths;
  if (!freqConstant) {
    TB_ASSERT(freqEnvelope != nullptr);
    frequencies = freqEnvelope->GetMiddle(failed);
    if (failed || !frequencies) return nullptr;
  }
  if (!widthConstant) {
    TB_ASSERT(widthEnvelope != nullptr);
    widths = widthEnvelope->GetMiddle(failed);
    if (failed || !widths) return nullptr;
  }
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    if (freqConstant) return (w.*widthFilter)(failed, per, *widths, b, e);
    if (widthConstant) return (w.*freqFilter)(failed, *frequencies, width, Freq, b, e);
    return (w.*bothFilter)(failed, *frequencies, *widths, Freq, b, e);
  });
}

std::unique_ptr<Sound> Sound::BlockFilter(bool& failed, double seconds, std::int32_t& begin,
                                          std::int32_t& end) const {
  const double time = Freq * seconds;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.blockFilter(failed, time, b, e);
  });
}

std::unique_ptr<Sound> Sound::BlockFilterEnvelope(bool& failed, const Sound& timeEnvelope,
                                                  double maxSeconds, std::int32_t& begin,
                                                  std::int32_t& end) const {
  if (failed) return nullptr;
  const WaveHandle envelope = timeEnvelope.GetMiddle(failed);
  if (failed || !envelope) return nullptr;
  const double maxTime = Freq * maxSeconds;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.blockFilterEnvelope(failed, maxTime, *envelope, b, e);
  });
}

namespace {

// 0.7 of full scale (0.7 x 32767).
constexpr double kNormalLevel = 22936.9;

double NormalizeFactor(const Sound& sound, std::int32_t begin, std::int32_t end) {
  if (end == -1) end = sound.GetValues();
  std::int32_t loudest = 0;
  for (int i = 0; i < sound.ChannelCount(); ++i) {
    loudest = std::max(loudest, sound.Channel(i)->maxAbs(begin, end));
  }
  return loudest == 0 ? 0 : kNormalLevel / loudest;
}

}  // namespace

std::unique_ptr<Sound> Sound::Normalize(bool& failed, std::int32_t begin, std::int32_t end) const {
  if (failed) return nullptr;
  return Volume(failed, NormalizeFactor(*this, begin, end), begin, end);
}

void Sound::NormalizeInPlace(bool& failed, std::int32_t begin, std::int32_t end) {
  if (failed) return;
  VolumeInPlace(failed, NormalizeFactor(*this, begin, end), begin, end);
}
