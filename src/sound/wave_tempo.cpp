// Length, tempo and pitch: resampling a range, and reading it in short blocks
// so that tempo (how fast the blocks move through the source) and pitch (how
// fast each block is played) change independently.

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/allocation.h"
#include "base/sampleconv.h"
#include "base/tbassert.h"
#include "sound/blocks.h"
#include "sound/envelope.h"
#include "sound/wave.h"

namespace {

// The length of a new range of `length` values in place of `count` values,
// or -1 after an out-of-memory report when no wave could hold the result.
std::int32_t NewRangeLength(bool& failed, double length, std::int32_t values, std::int32_t count) {
  if (!(length > 0)) return 0;  // also a NaN factor: nothing is left of the range
  const double room = static_cast<double>(std::numeric_limits<std::int32_t>::max()) -
                      (static_cast<double>(values) - count);
  if (length >= room + 1) {
    if (!failed) ReportOutOfMemory(failed);  // once, not again for a second channel
    return -1;
  }
  return TruncInt(length);
}

// Interpolated value at `position`; silence before the first value and
// after the last one, so a block that runs off the wave fades to nothing
// instead of reading past the array.
inline double ReadOrSilence(const Wave& source, std::int32_t values, double position) {
  if (!(position >= 0 && position <= values - 1)) return 0;  // NaN too
  return source.readAt(position);
}

struct TempoArgs {
  double speed;
  double startPos;
  double lengthFactor;
  double pitch;
  std::int32_t blockTime;
  const Wave* freqWave;      // pitch envelope, or null
  const Wave* speedEnvelop;  // tempo envelope, or null
};

// The range begin ... end is a loop: a jump target outside it comes back in
// by whole range lengths. (For targets at or after `begin`, the fmod form
// gives the same double as subtracting the length repeatedly: every step is
// exact.)
inline double WrapIntoRange(double position, std::int32_t begin, std::int32_t count) {
  if (count <= 0) return position;
  double offset = position - begin;
  if (offset >= 0 && offset < count) return position;
  offset = std::fmod(offset, static_cast<double>(count));
  if (offset < 0) offset += count;
  if (offset >= count) offset = 0;  // a tiny negative offset rounded up to a whole length
  return begin + offset;
}

// Both tempo-pitch variants with or without the two envelopes; the envelope
// choices are template arguments so the constant forms carry no envelope
// work in their loops.
template <bool kCross, bool kFreq, bool kSpeed>
std::unique_ptr<Wave> TempoPitchRun(bool& failed, const Wave& source, const TempoArgs& args,
                                    std::int32_t& begin, std::int32_t& end) {
  const std::int32_t count = end - begin;
  const std::int32_t length =
      NewRangeLength(failed, count * args.lengthFactor, source.getValues(), count);
  if (length < 0) return nullptr;
  const std::int32_t rangeEnd = end;
  // The returned range is set even when the flag stops the work, so both
  // channels of a stereo sound hand back the same range.
  end = begin + length;
  if (failed) return nullptr;
  auto result = source.newAround(failed, begin, rangeEnd, length);
  if (!result) return nullptr;

  const std::int32_t values = source.getValues();
  std::int16_t* target = result->data() + begin;
  const double speed = args.speed;
  const double pitch = args.pitch;
  const std::int32_t blockTime = args.blockTime;
  const double anchor = begin + count * args.startPos;

  // Both envelopes are stretched over the new range.
  EnvelopeReader freqEnvelope;
  EnvelopeReader speedEnvelope;
  if constexpr (kFreq) freqEnvelope = EnvelopeReader::Stretched(*args.freqWave, length);
  if constexpr (kSpeed) speedEnvelope = EnvelopeReader::Stretched(*args.speedEnvelop, length);
  double tempo = 0;  // running tempo position relative to the anchor (speed envelope)

  // Where the tempo has got to after `done` output values.
  auto tempoAfter = [&]([[maybe_unused]] std::int32_t done) {
    if constexpr (kSpeed) {
      return tempo;
    } else {
      return done * speed;
    }
  };
  auto advance = [&]() {
    if constexpr (kSpeed) tempo += speedEnvelope.Next() * speed * kEnvelopeUnit;
    if constexpr (kFreq) {
      return freqEnvelope.Next() * kEnvelopeUnit * pitch;
    } else {
      return pitch;
    }
  };

  if constexpr (!kCross) {
    double positionState = anchor;
    std::int32_t inBlockState = 0;
    ForBlocks(failed, length, [&](std::int32_t offset, std::int32_t n) {
      // The running state in locals for the block, so it stays in registers.
      double position = positionState;
      std::int32_t inBlock = inBlockState;
      for (std::int32_t k = offset; k < offset + n; ++k) {
        target[k] = TruncSample(ReadOrSilence(source, values, position));
        position += advance();
        if (++inBlock == blockTime) {
          inBlock = 0;
          position = WrapIntoRange(anchor + tempoAfter(k + 1), begin, count);
        }
      }
      positionState = position;
      inBlockState = inBlock;
    });
  } else {
    // Head A is heard fully at the block edges, head B in the block middle;
    // each jumps when its weight is 0, so the jumps make no click.
    const double jump = (1 - pitch) * 0.5 * blockTime;
    const std::int32_t half = blockTime / 2;
    double headAState = anchor;
    double headBState = anchor + jump;
    std::int32_t jState = 0;
    ForBlocks(failed, length, [&](std::int32_t offset, std::int32_t n) {
      double headA = headAState;  // in locals for the block, as above
      double headB = headBState;
      std::int32_t j = jState;
      for (std::int32_t k = offset; k < offset + n; ++k) {
        const double w = std::fabs(2.0 * j / blockTime - 1);
        const double a = std::trunc(ReadOrSilence(source, values, headA) * w);
        target[k] = TruncSample(ReadOrSilence(source, values, headB) * (1 - w) + a);
        const double step = advance();
        headA += step;
        headB += step;
        if (++j == blockTime) {
          j = 0;
          headB = WrapIntoRange(jump + tempoAfter(k + 1) + anchor, begin, count);
        }
        if (j == half) headA = WrapIntoRange(jump + tempoAfter(k + 1) + anchor, begin, count);
      }
      headAState = headA;
      headBState = headB;
      jState = j;
    });
  }
  return result;
}

}  // namespace

std::unique_ptr<Wave> Wave::lengthFactor(bool& failed, double factor, std::int32_t& begin,
                                         std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  const std::int32_t count = end - begin;
  const std::int32_t length = NewRangeLength(failed, count * std::fabs(factor), values, count);
  if (length < 0) return nullptr;
  std::int32_t rangeEnd = end;
  end = begin + length;  // also when the flag stops the work, as in TempoPitchRun
  if (failed) return nullptr;
  if (length == 0) {
    // Nothing is left of the range.
    return count > 0 ? remove(failed, begin, rangeEnd) : CopyWave(failed, this);
  }
  return resize(failed, length, factor < 0, begin, rangeEnd);
}

std::unique_ptr<Wave> Wave::tempoPitchBlocks(bool& failed, double speed, double startPos,
                                             double lengthFactor, double pitch,
                                             std::int32_t blockTime, std::int32_t& begin,
                                             std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(speed != 0);
  TB_ASSERT(blockTime > 0);
  TB_ASSERT(lengthFactor > 0);
  const TempoArgs args{speed, startPos, lengthFactor, pitch, blockTime, nullptr, nullptr};
  return TempoPitchRun<false, false, false>(failed, *this, args, begin, end);
}

std::unique_ptr<Wave> Wave::tempoPitchCross(bool& failed, double speed, double startPos,
                                            double lengthFactor, double pitch,
                                            std::int32_t blockTime, std::int32_t& begin,
                                            std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  TB_ASSERT(blockTime > 0);
  const TempoArgs args{speed, startPos, lengthFactor, pitch, blockTime, nullptr, nullptr};
  return TempoPitchRun<true, false, false>(failed, *this, args, begin, end);
}

std::unique_ptr<Wave> Wave::tempoPitchBlocksFreq(bool& failed, double speed, double startPos,
                                                 double lengthFactor, double pitch,
                                                 const Wave& freqWave, std::int32_t blockTime,
                                                 std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(speed != 0);
  TB_ASSERT(blockTime > 0);
  TB_ASSERT(lengthFactor > 0);
  TB_ASSERT_TEXT(freqWave.values > 0, "freqWave->values > 0");
  const TempoArgs args{speed, startPos, lengthFactor, pitch, blockTime, &freqWave, nullptr};
  return TempoPitchRun<false, true, false>(failed, *this, args, begin, end);
}

std::unique_ptr<Wave> Wave::tempoPitchCrossFreq(bool& failed, double speed, double startPos,
                                                double lengthFactor, double pitch,
                                                const Wave& freqWave, std::int32_t blockTime,
                                                std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  TB_ASSERT(blockTime > 0);
  TB_ASSERT_TEXT(freqWave.values > 0, "freqWave->values > 0");
  TB_ASSERT(speed > 0);
  const TempoArgs args{speed, startPos, lengthFactor, pitch, blockTime, &freqWave, nullptr};
  return TempoPitchRun<true, true, false>(failed, *this, args, begin, end);
}

std::unique_ptr<Wave> Wave::tempoPitchBlocksSpeed(bool& failed, double speed,
                                                  const Wave& speedEnvelop, double startPos,
                                                  double lengthFactor, double pitch,
                                                  std::int32_t blockTime, std::int32_t& begin,
                                                  std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(speed != 0);
  TB_ASSERT(blockTime > 0);
  TB_ASSERT(lengthFactor > 0);
  TB_ASSERT_TEXT(speedEnvelop.values > 0, "speedEnvelop->values > 0");
  const TempoArgs args{speed, startPos, lengthFactor, pitch, blockTime, nullptr, &speedEnvelop};
  return TempoPitchRun<false, false, true>(failed, *this, args, begin, end);
}

std::unique_ptr<Wave> Wave::tempoPitchCrossSpeed(bool& failed, double speed,
                                                 const Wave& speedEnvelop, double startPos,
                                                 double lengthFactor, double pitch,
                                                 std::int32_t blockTime, std::int32_t& begin,
                                                 std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  TB_ASSERT(blockTime > 0);
  TB_ASSERT_TEXT(speedEnvelop.values > 0, "speedEnvelop->values > 0");
  const TempoArgs args{speed, startPos, lengthFactor, pitch, blockTime, nullptr, &speedEnvelop};
  return TempoPitchRun<true, false, true>(failed, *this, args, begin, end);
}

std::unique_ptr<Wave> Wave::tempoPitchBlocksBoth(bool& failed, double speed,
                                                 const Wave& speedEnvelop, double startPos,
                                                 double lengthFactor, double pitch,
                                                 const Wave& freqWave, std::int32_t blockTime,
                                                 std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(speed != 0);
  TB_ASSERT(blockTime > 0);
  TB_ASSERT(lengthFactor > 0);
  TB_ASSERT_TEXT(speedEnvelop.values > 0, "speedEnvelop->values > 0");
  TB_ASSERT_TEXT(freqWave.values > 0, "freqWave->values > 0");
  const TempoArgs args{speed, startPos, lengthFactor, pitch, blockTime, &freqWave, &speedEnvelop};
  return TempoPitchRun<false, true, true>(failed, *this, args, begin, end);
}

std::unique_ptr<Wave> Wave::tempoPitchCrossBoth(bool& failed, double speed,
                                                const Wave& speedEnvelop, double startPos,
                                                double lengthFactor, double pitch,
                                                const Wave& freqWave, std::int32_t blockTime,
                                                std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  TB_ASSERT(blockTime > 0);
  TB_ASSERT_TEXT(speedEnvelop.values > 0, "speedEnvelop->values > 0");
  TB_ASSERT_TEXT(freqWave.values > 0, "freqWave->values > 0");
  TB_ASSERT(speed > 0);
  const TempoArgs args{speed, startPos, lengthFactor, pitch, blockTime, &freqWave, &speedEnvelop};
  return TempoPitchRun<true, true, true>(failed, *this, args, begin, end);
}
