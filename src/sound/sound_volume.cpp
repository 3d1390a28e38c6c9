// Volume and shape operations on sounds: every channel is processed alike.
// Envelope and shape sounds are read as they are (their middle wave), not
// resampled to this sound's frequency.

#include <algorithm>

#include "base/sampleconv.h"
#include "sound/sound.h"

std::unique_ptr<Sound> Sound::Volume(bool& failed, double factor, std::int32_t begin,
                                     std::int32_t end) const {
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.volume(failed, factor, b, e);
  });
}

void Sound::VolumeInPlace(bool& failed, double factor, std::int32_t begin, std::int32_t end) {
  if (failed) return;
  ForEachChannel([&](Wave& w) { w.volumeInPlace(failed, factor, begin, end); });
}

std::unique_ptr<Sound> Sound::VolumeEnvelope(bool& failed, const Sound& envelope,
                                             std::int32_t begin, std::int32_t end) const {
  if (failed) return nullptr;
  const WaveHandle middle = envelope.GetMiddle(failed);
  if (failed || !middle) return nullptr;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.volumeEnvelope(failed, *middle, b, e);
  });
}

std::unique_ptr<Sound> Sound::MaxVolume(bool& failed, std::int32_t begin, std::int32_t end) const {
  if (failed) return nullptr;
  if (end == -1) end = GetValues();
  // The loudest value over all channels decides, so stereo keeps its balance.
  std::int32_t loudest = 0;
  for (int i = 0; i < MoSt; ++i) loudest = std::max(loudest, Channel(i)->maxAbs(begin, end));
  const double factor = loudest == 0 ? 0 : 32767.0 / loudest;
  return Volume(failed, factor, begin, end);
}

std::unique_ptr<Sound> Sound::Reverse(bool& failed, std::int32_t begin, std::int32_t end) const {
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.reverse(failed, b, e);
  });
}

std::unique_ptr<Sound> Sound::Up(bool& failed, std::int16_t add, std::int32_t begin,
                                 std::int32_t end) const {
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.up(failed, add, b, e);
  });
}

std::unique_ptr<Sound> Sound::Block(bool& failed, double blockSeconds, std::int32_t levels,
                                    std::int32_t begin, std::int32_t end) const {
  const double time = Freq * blockSeconds;  // a real count of values
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.block(failed, time, levels, b, e);
  });
}

std::unique_ptr<Sound> Sound::Rotate(bool& failed, double shiftSeconds, std::int32_t begin,
                                     std::int32_t end) const {
  const std::int32_t leftShift = TruncInt(Freq * shiftSeconds);
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.rotate(failed, leftShift, b, e);
  });
}

std::unique_ptr<Sound> Sound::RollIn(bool& failed, double lengthSeconds, std::int32_t target,
                                     std::int32_t& begin, std::int32_t& end) const {
  const std::int32_t length = TruncInt(Freq * lengthSeconds);
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.rollIn(failed, length, target, b, e);
  });
}

std::unique_ptr<Sound> Sound::RollOutForm(bool& failed, double periodSeconds, double count,
                                          double startPhase, std::int32_t& begin,
                                          std::int32_t& end) const {
  const double per = Freq * periodSeconds;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    // The channel plays its own selected range in a loop.
    const std::int32_t formEnd = e == -1 ? w.getValues() : e;
    return w.rollOutForm(failed, w, per, count, startPhase, b, formEnd, b, e);
  });
}

std::unique_ptr<Sound> Sound::RollOutEnvelope(bool& failed, const Sound& speedEnvelope,
                                              double lengthFactor, double speed, double startPos,
                                              std::int32_t& begin, std::int32_t& end) const {
  if (failed) return nullptr;
  const WaveHandle middle = speedEnvelope.GetMiddle(failed);
  if (failed || !middle) return nullptr;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.rollOutEnvelope(failed, *middle, lengthFactor, speed, startPos, b, e);
  });
}

std::unique_ptr<Sound> Sound::Distort(bool& failed, const Sound& shape, std::int32_t begin,
                                      std::int32_t end) const {
  if (failed) return nullptr;
  const WaveHandle middle = shape.GetMiddle(failed);
  if (failed || !middle) return nullptr;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.distort(failed, *middle, b, e);
  });
}
