// Length, tempo and pitch of a sound: the wave operations on every channel,
// with block sizes in seconds and envelopes read as the mean of their
// channels.

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/sampleconv.h"
#include "sound/blocks.h"
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

// Both channels resampled in one pass: the read positions are the same for
// both, so they are worked out once. Each value is read exactly as
// Wave::resize reads it; where the fraction is 0 the interpolation formula
// gives w[i] itself ((1 - 0) x a + 0 x b = a), so it needs no branch there.
void ResizeBoth(bool& failed, const Wave& left, const Wave& right, std::int32_t length,
                bool reverse, std::int32_t begin, std::int32_t end,
                std::unique_ptr<Wave> (&out)[2]) {
  out[0] = left.newAround(failed, begin, end, length);
  out[1] = right.newAround(failed, begin, end, length);
  if (!out[0] || !out[1]) return;
  const std::int32_t count = end - begin;
  double step = static_cast<double>(count) / length;
  double position = 0;
  if (reverse) {
    position = count;
    step = -step;
  }
  const std::int16_t* a = left.data();
  const std::int16_t* b = right.data();
  const std::int32_t last = left.getValues() - 1;
  std::int16_t* ta = out[0]->data() + begin;
  std::int16_t* tb = out[1]->data() + begin;
  ForBlocks(failed, length, [&](std::int32_t offset, std::int32_t n) {
    for (std::int32_t k = offset; k < offset + n; ++k) {
      const double p = begin + position;
      const auto i = static_cast<std::int32_t>(p);
      if (i < last) {
        const double f = p - i;
        // Between two samples, so within -32768 ... 32767 up to rounding:
        // the plain truncation is TruncSample without its range test.
        ta[k] = static_cast<std::int16_t>(static_cast<std::int32_t>((1 - f) * a[i] + f * a[i + 1]));
        tb[k] = static_cast<std::int16_t>(static_cast<std::int32_t>((1 - f) * b[i] + f * b[i + 1]));
      } else {
        ta[k] = a[last];
        tb[k] = b[last];
      }
      position += step;
    }
  });
}

}  // namespace

std::unique_ptr<Sound> Sound::Length(bool& failed, double factor, std::int32_t& begin,
                                     std::int32_t& end) const {
  if (MoSt == 2 && !failed && begin >= 0 && begin < end && end <= GetValues()) {
    // The common case of a stereo selection that keeps some values: one
    // pass over both channels. Everything else (asserted ranges, removal,
    // lengths no wave can hold) goes through the wave operation.
    const std::int32_t count = end - begin;
    const double length = count * std::fabs(factor);
    const double room = static_cast<double>(std::numeric_limits<std::int32_t>::max()) -
                        (static_cast<double>(GetValues()) - count);
    if (length >= 1 && length < room + 1) {
      std::unique_ptr<Wave> waves[2];
      ResizeBoth(failed, *Channel(0), *Channel(1), TruncInt(length), factor < 0, begin, end, waves);
      auto result = MakeLike(failed, std::move(waves[0]), std::move(waves[1]));
      if (result) end = begin + TruncInt(length);
      return result;
    }
  }
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
  // A sound without values stays without values (the block reader needs a
  // range with at least one value).
  if (GetValues() == 0) return failed ? nullptr : NewEmpty();
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
