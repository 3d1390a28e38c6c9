// Length, tempo and pitch of a sound: the wave operations on every channel,
// with block sizes in seconds and envelopes read as the mean of their
// channels.

#include <cstdint>

#include "base/sampleconv.h"
#include "sound/sound.h"

namespace {

// Block length in values. A block shorter than one value (a very short
// block size at a low sample frequency) would stop the program; one value
// is the shortest block there is.
std::int32_t BlockTime(std::int32_t freq, double blockSeconds) {
  const double values = freq * blockSeconds;
  if (!(values >= 1)) return 1;
  if (values >= 2147483647.0) return 2147483647;
  return TruncInt(values);
}

}  // namespace

std::unique_ptr<Sound> Sound::Length(bool& failed, double factor, std::int32_t& begin,
                                     std::int32_t& end) const {
  return ChannelOp(failed, begin, end, [&](const Wave& wave, std::int32_t& b, std::int32_t& e) {
    return wave.lengthFactor(failed, factor, b, e);
  });
}

std::unique_ptr<Sound> Sound::LengthAll(bool& failed, double factor) const {
  std::int32_t begin = 0;
  std::int32_t end = 0;
  return ChannelOp(failed, begin, end, [&](const Wave& wave, std::int32_t&, std::int32_t&) {
    return wave.lengthAll(failed, factor);
  });
}

std::unique_ptr<Sound> Sound::TempoPitchAll(bool& failed, double speed, double startPos,
                                            double lengthFactor, double pitch, double blockSeconds,
                                            int method) const {
  std::int32_t begin = 0;
  std::int32_t end = GetValues();
  return TempoPitch(failed, speed, startPos, lengthFactor, pitch, blockSeconds, method, begin, end);
}

std::unique_ptr<Sound> Sound::TempoPitch(bool& failed, double speed, double startPos,
                                         double lengthFactor, double pitch, double blockSeconds,
                                         int method, std::int32_t& begin, std::int32_t& end) const {
  const std::int32_t blockTime = BlockTime(Freq, blockSeconds);
  const bool cross = method == 1;
  return ChannelOp(failed, begin, end, [&](const Wave& wave, std::int32_t& b, std::int32_t& e) {
    return cross
               ? wave.tempoPitchCross(failed, speed, startPos, lengthFactor, pitch, blockTime, b, e)
               : wave.tempoPitchBlocks(failed, speed, startPos, lengthFactor, pitch, blockTime, b,
                                       e);
  });
}

// The crossfading reader with a pitch envelope only runs forwards through
// the source; a backward speed then takes the block reader rather than
// stopping the program.
std::unique_ptr<Sound> Sound::TempoPitchFreq(bool& failed, double speed, double startPos,
                                             double lengthFactor, double pitch,
                                             const Sound& freqEnvelope, double blockSeconds,
                                             int method, std::int32_t& begin,
                                             std::int32_t& end) const {
  if (failed) return nullptr;
  WaveHandle freq = freqEnvelope.GetMiddle(failed);
  if (failed || !freq) return nullptr;
  const std::int32_t blockTime = BlockTime(Freq, blockSeconds);
  const bool cross = method == 1 && speed > 0;
  return ChannelOp(failed, begin, end, [&](const Wave& wave, std::int32_t& b, std::int32_t& e) {
    return cross ? wave.tempoPitchCrossFreq(failed, speed, startPos, lengthFactor, pitch, *freq,
                                            blockTime, b, e)
                 : wave.tempoPitchBlocksFreq(failed, speed, startPos, lengthFactor, pitch, *freq,
                                             blockTime, b, e);
  });
}

std::unique_ptr<Sound> Sound::TempoPitchSpeed(bool& failed, double speed,
                                              const Sound& speedEnvelope, double startPos,
                                              double lengthFactor, double pitch,
                                              double blockSeconds, int method, std::int32_t& begin,
                                              std::int32_t& end) const {
  if (failed) return nullptr;
  WaveHandle envelope = speedEnvelope.GetMiddle(failed);
  if (failed || !envelope) return nullptr;
  const std::int32_t blockTime = BlockTime(Freq, blockSeconds);
  const bool cross = method == 1;
  return ChannelOp(failed, begin, end, [&](const Wave& wave, std::int32_t& b, std::int32_t& e) {
    return cross ? wave.tempoPitchCrossSpeed(failed, speed, *envelope, startPos, lengthFactor,
                                             pitch, blockTime, b, e)
                 : wave.tempoPitchBlocksSpeed(failed, speed, *envelope, startPos, lengthFactor,
                                              pitch, blockTime, b, e);
  });
}

std::unique_ptr<Sound> Sound::TempoPitchBoth(bool& failed, double speed, const Sound& speedEnvelope,
                                             double startPos, double lengthFactor, double pitch,
                                             const Sound& freqEnvelope, double blockSeconds,
                                             int method, std::int32_t& begin,
                                             std::int32_t& end) const {
  if (failed) return nullptr;
  WaveHandle envelope = speedEnvelope.GetMiddle(failed);
  if (failed || !envelope) return nullptr;
  WaveHandle freq = freqEnvelope.GetMiddle(failed);
  if (failed || !freq) return nullptr;
  const std::int32_t blockTime = BlockTime(Freq, blockSeconds);
  const bool cross = method == 1 && speed > 0;  // as TempoPitchFreq
  return ChannelOp(failed, begin, end, [&](const Wave& wave, std::int32_t& b, std::int32_t& e) {
    return cross ? wave.tempoPitchCrossBoth(failed, speed, *envelope, startPos, lengthFactor, pitch,
                                            *freq, blockTime, b, e)
                 : wave.tempoPitchBlocksBoth(failed, speed, *envelope, startPos, lengthFactor,
                                             pitch, *freq, blockTime, b, e);
  });
}
