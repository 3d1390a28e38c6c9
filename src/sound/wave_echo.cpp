// Period echoes, the placing of a mono channel in a direction (balance) and
// the adding of an envelope.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/numeric.h"
#include "base/sampleconv.h"
#include "base/tbassert.h"
#include "sound/blocks.h"
#include "sound/envelope.h"
#include "sound/wave.h"

namespace {

// The echo region first ... last (in the source's index frame) placed in a
// result that holds zeros before index 0, the whole source, and zeros after
// its end. `frame` points at the result value of source index 0. The region
// comes in 64 bits: one too long for any wave is reported as out of memory,
// and once the result exists every index of it fits 32 bits.
struct EchoResult {
  std::unique_ptr<Wave> wave;
  std::int16_t* frame = nullptr;
  std::int32_t lead = 0;
};

EchoResult NewEchoResult(bool& failed, const Wave& source, std::int64_t first, std::int64_t last) {
  EchoResult result;
  const std::int64_t lead = first < 0 ? -first : 0;
  const std::int64_t tail = std::max<std::int64_t>(0, last - source.getValues());
  result.wave = NewWave(failed, lead + source.getValues() + tail);
  if (!result.wave) return result;
  result.lead = static_cast<std::int32_t>(lead);
  result.wave->clear(0, result.lead);
  result.wave->copyFrom(source, 0, source.getValues(), result.lead);
  result.wave->clear(result.lead + source.getValues(), result.wave->getValues());
  result.frame = result.wave->data() + result.lead;
  return result;
}

// One echo over the region: `next()` gives, value by value, the shift of the
// source and the amplitude; the source counts only within begin ... end - 1.
template <class Next>
void AddEcho(bool& failed, const Wave& source, std::int32_t begin, std::int32_t end,
             std::int16_t* frame, std::int32_t first, std::int32_t last, Next next) {
  ForBlocks(failed, last - first, [&](std::int32_t offset, std::int32_t n) {
    const std::int32_t start = first + offset;
    for (std::int32_t t = start; t < start + n; ++t) {
      const auto [shift, amplitude] = next();
      const double q = t - shift;
      if (q < begin || q > end - 1) continue;
      frame[t] = TruncSample(source.readAt(q) * amplitude + frame[t]);
    }
  });
}

// The echo region of `count` echoes diffTime values apart (in 64 bits:
// trunc(diffTime + 1) x count may pass 32 bits).
struct EchoRegion {
  std::int64_t first;
  std::int64_t last;
};

EchoRegion OneSidedRegion(std::int32_t begin, std::int32_t end, double diffTime, int count) {
  EchoRegion region{begin, end};
  if (diffTime > 0) region.last = end + std::int64_t{TruncInt(diffTime + 1)} * count;
  if (diffTime < 0) region.first = begin + std::int64_t{TruncInt(diffTime - 1)} * count;
  return region;
}

EchoRegion TwoSidedRegion(std::int32_t begin, std::int32_t end, double diffTime, int count) {
  const std::int64_t margin = std::int64_t{TruncInt(diffTime + 1)} * count;
  return EchoRegion{begin - margin, end + margin};
}

struct ShiftAmplitude {
  double shift;
  double amplitude;
};

// The curve of the head's shadow: envelope value of the cut-off frequency
// over 150 directions, from the source on the channel's own side (hardly
// filtered) to the far side.
double CurveLevel(std::int32_t sampleFreq, double frequency) {
  const double level =
      std::log10(sampleFreq / std::trunc(sampleFreq / frequency) * 0.05) * 21845 - 32768;
  return Clip(level, -32768, 32767);
}

std::unique_ptr<Wave> BalanceCurve(bool& failed, std::int32_t sampleFreq) {
  std::unique_ptr<Wave> curve = NewWave(failed, 150);
  if (!curve) return nullptr;
  const double points[5][2] = {{0, CurveLevel(sampleFreq, 20000)},
                               {59, CurveLevel(sampleFreq, 3500)},
                               {75, CurveLevel(sampleFreq, 2500)},
                               {90, CurveLevel(sampleFreq, 1000)},
                               {149, CurveLevel(sampleFreq, 350)}};
  // Each line ends on the next point; the next line starts there again.
  for (int i = 0; i < 4; ++i) {
    curve->drawLine(static_cast<std::int32_t>(points[i][0]), points[i][1],
                    static_cast<std::int32_t>(points[i + 1][0]) + 1, points[i + 1][1]);
  }
  return curve;
}

// The whole channel low-passed at the head-shadow frequency of direction p.
std::unique_ptr<Wave> BalanceFilter(bool& failed, const Wave& source, double p,
                                    std::int32_t sampleFreq) {
  std::unique_ptr<Wave> curve = BalanceCurve(failed, sampleFreq);
  if (!curve) return nullptr;
  // Directions a hair beyond -1 or 1 (a die may overshoot) read the curve's
  // ends.
  const double position = std::max(0.0, (150 - 1) * (p * 0.5 + 0.5));
  const double frequency = EnvelopeFrequency(curve->readEnvelope(position));
  return source.lowPass(failed, sampleFreq / frequency, 0.4, 1, 1, 0, source.getValues());
}

}  // namespace

std::unique_ptr<Wave> Wave::echoConstant(bool& failed, double diffTime, double factor, int count,
                                         std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end - 1);
  TB_ASSERT(count >= 0);
  if (failed) return nullptr;
  const EchoRegion region = OneSidedRegion(begin, end, diffTime, count);
  EchoResult result = NewEchoResult(failed, *this, region.first, region.last);
  if (!result.wave) return nullptr;
  const auto first = static_cast<std::int32_t>(region.first);
  const auto last = static_cast<std::int32_t>(region.last);
  std::int16_t* frame = result.frame;
  const std::int16_t* w = data();
  const bool whole = diffTime == std::trunc(diffTime);
  // Block by block, all echoes of a block in turn: every value still gets
  // its echoes in the order 1 ... count, but the region is walked once.
  ForBlocks(failed, last - first, [&](std::int32_t offset, std::int32_t length) {
    const std::int32_t start = first + offset;
    const std::int32_t stop = start + length;
    double amplitude = 1;
    for (int i = 1; i <= count; ++i) {
      amplitude *= factor;
      const double shift = i * diffTime;
      if (whole) {
        // Whole-number shifts read the source directly: the values that
        // receive an echo are those whose source index lies in the range.
        const auto s = static_cast<std::int64_t>(shift);
        const auto from = static_cast<std::int32_t>(std::max<std::int64_t>(start, begin + s));
        const auto to = static_cast<std::int32_t>(std::min<std::int64_t>(stop, end + s));
        if (from < to) {
          const std::int16_t* read = w + (from - s);
          std::int16_t* target = frame + from;
          const std::int32_t n = to - from;
          if (std::fabs(amplitude) < 65535) {
            // |source x amplitude + value| < 2^31: truncating into 32 bits
            // keeps the same low 16 bits as the general rule, and vectorises.
            for (std::int32_t k = 0; k < n; ++k) {
              target[k] = static_cast<std::int16_t>(
                  static_cast<std::int32_t>(read[k] * amplitude + target[k]));
            }
          } else {
            for (std::int32_t k = 0; k < n; ++k) {
              target[k] = TruncSample(read[k] * amplitude + target[k]);
            }
          }
        }
      } else {
        for (std::int32_t t = start; t < stop; ++t) {
          const double q = t - shift;
          if (q < begin || q > end - 1) continue;
          frame[t] = TruncSample(readAt(q) * amplitude + frame[t]);
        }
      }
    }
  });
  begin = first + result.lead;
  end = last + result.lead;
  return std::move(result.wave);
}

std::unique_ptr<Wave> Wave::echoVolumeEnvelope(bool& failed, double diffTime,
                                               const Wave& volumeEnvelope, int count,
                                               std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end - 1);
  TB_ASSERT(count >= 0);
  if (failed) return nullptr;
  const EchoRegion region = OneSidedRegion(begin, end, diffTime, count);
  EchoResult result = NewEchoResult(failed, *this, region.first, region.last);
  if (!result.wave) return nullptr;
  const auto first = static_cast<std::int32_t>(region.first);
  const auto last = static_cast<std::int32_t>(region.last);
  for (int i = 1; i <= count && !failed; ++i) {
    const double shift = i * diffTime;
    EnvelopeReader volumes = EnvelopeReader::Stretched(volumeEnvelope, last - first);
    AddEcho(failed, *this, begin, end, result.frame, first, last, [&] {
      return ShiftAmplitude{shift, std::pow(volumes.Next() * kEnvelopeUnit, i)};
    });
  }
  begin = first + result.lead;
  end = last + result.lead;
  return std::move(result.wave);
}

std::unique_ptr<Wave> Wave::echoTimeEnvelope(bool& failed, double diffTime,
                                             const Wave& timeEnvelope, double factor, int count,
                                             std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end - 1);
  TB_ASSERT(diffTime >= 0);
  TB_ASSERT(count >= 0);
  if (failed) return nullptr;
  const EchoRegion region = TwoSidedRegion(begin, end, diffTime, count);
  EchoResult result = NewEchoResult(failed, *this, region.first, region.last);
  if (!result.wave) return nullptr;
  const auto first = static_cast<std::int32_t>(region.first);
  const auto last = static_cast<std::int32_t>(region.last);
  double amplitude = 1;
  for (int i = 1; i <= count && !failed; ++i) {
    amplitude *= factor;
    const double reach = i * diffTime;
    EnvelopeReader times = EnvelopeReader::Stretched(timeEnvelope, last - first);
    AddEcho(failed, *this, begin, end, result.frame, first, last, [&] {
      return ShiftAmplitude{reach * times.Next() * kEnvelopeUnit, amplitude};
    });
  }
  begin = first + result.lead;
  end = last + result.lead;
  return std::move(result.wave);
}

std::unique_ptr<Wave> Wave::echoEnvelopes(bool& failed, double diffTime, const Wave& timeEnvelope,
                                          const Wave& volumeEnvelope, int count,
                                          std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end - 1);
  TB_ASSERT(diffTime >= 0);
  TB_ASSERT(count >= 0);
  if (failed) return nullptr;
  const EchoRegion region = TwoSidedRegion(begin, end, diffTime, count);
  EchoResult result = NewEchoResult(failed, *this, region.first, region.last);
  if (!result.wave) return nullptr;
  const auto first = static_cast<std::int32_t>(region.first);
  const auto last = static_cast<std::int32_t>(region.last);
  for (int i = 1; i <= count && !failed; ++i) {
    const double reach = i * diffTime;
    EnvelopeReader times = EnvelopeReader::Stretched(timeEnvelope, last - first);
    EnvelopeReader volumes = EnvelopeReader::Stretched(volumeEnvelope, last - first);
    AddEcho(failed, *this, begin, end, result.frame, first, last, [&] {
      const double e = times.Next();
      const double v = volumes.Next();
      return ShiftAmplitude{reach * e * kEnvelopeUnit, std::pow(v * kEnvelopeUnit, i)};
    });
  }
  begin = first + result.lead;
  end = last + result.lead;
  return std::move(result.wave);
}

// The channel as heard by one ear of a listener facing a source at
// `position` (-1 left ... 1 right). The near channel (negative delay) gets
// the volume factor too, so that the volume difference acts on both sides.
std::unique_ptr<Wave> Wave::balanceConstant(bool& failed, double position, bool isRight,
                                            bool timeDiff, bool volumeDiff, bool filterDiff,
                                            std::int32_t sampleFreq) const {
  if (failed) return nullptr;
  const double p = isRight ? -position : position;
  const double factor = volumeDiff ? (1 - p) * 0.5 : 1;
  if (!timeDiff && !volumeDiff && !filterDiff) return CopyWave(failed, this);

  std::unique_ptr<Wave> filtered;
  const Wave* source = this;
  if (filterDiff && values > 0) {
    filtered = BalanceFilter(failed, *this, p, sampleFreq);
    if (!filtered || failed) return nullptr;
    source = filtered.get();
  }
  const std::int32_t count = source->values;

  if (!timeDiff) {
    if (volumeDiff && count > 0) return source->volume(failed, factor, 0, count);
    if (filtered) return filtered;
    return CopyWave(failed, source);
  }

  const double largest = sampleFreq * (1.0 / 3400) * 2;
  const double d = std::sin(p * kPi / 2) * largest;
  if (d >= 0) {
    // The far ear: the channel arrives d values later.
    const std::int32_t length = TruncInt(1 + d + count);
    std::unique_ptr<Wave> result = NewWave(failed, length);
    if (!result) return nullptr;
    std::int16_t* out = result->data();
    ForBlocks(failed, length, [&](std::int32_t start, std::int32_t n) {
      for (std::int32_t j = start; j < start + n; ++j) {
        const double q = j + 1 - d;
        const double s = (q < 0 || q > count - 1) ? 0 : source->readAt(q);
        out[j] = TruncSample(s * factor);
      }
    });
    return result;
  }
  // The near ear: in time, with silence appended to match the far one.
  std::unique_ptr<Wave> scaled;
  if (volumeDiff && count > 0) {
    scaled = source->volume(failed, factor, 0, count);
    if (!scaled || failed) return nullptr;
    source = scaled.get();
  }
  const std::int32_t extra = TruncInt(std::fabs(d) + 1);
  std::unique_ptr<Wave> result = NewWave(failed, std::int64_t{count} + extra);
  if (!result) return nullptr;
  result->copyFrom(*source, 0, count, 0);
  result->clear(count, count + extra);
  return result;
}

// As balanceConstant with the direction following an envelope (-32768 hard
// left ... 32767 hard right) stretched over the channel.
std::unique_ptr<Wave> Wave::balanceEnvelope(bool& failed, const Wave& directionEnvelope,
                                            bool isRight, bool volumeDiff, bool timeDiff,
                                            bool filterDiff, std::int32_t sampleFreq) const {
  TB_ASSERT(directionEnvelope.getValues() > 0);
  if (failed) return nullptr;
  if ((!timeDiff && !volumeDiff && !filterDiff) || values == 0) return CopyWave(failed, this);
  const std::int32_t envelopeCount = directionEnvelope.getValues();
  const std::int16_t* direction = directionEnvelope.data();

  std::unique_ptr<Wave> current;
  const Wave* source = this;
  if (filterDiff) {
    // The right ear sees the direction mirrored. Mirroring -32768 keeps it
    // at the far end (32767) rather than wrapping it back to -32768.
    std::unique_ptr<Wave> mirrored;
    const Wave* seen = &directionEnvelope;
    if (isRight) {
      mirrored = NewWave(failed, envelopeCount);
      if (!mirrored) return nullptr;
      for (std::int32_t i = 0; i < envelopeCount; ++i) {
        mirrored->data()[i] = static_cast<std::int16_t>(std::min(32767, -direction[i]));
      }
      seen = mirrored.get();
    }
    std::unique_ptr<Wave> curve = BalanceCurve(failed, sampleFreq);
    if (!curve) return nullptr;
    std::unique_ptr<Wave> frequencies = seen->distort(failed, *curve, 0, envelopeCount);
    if (!frequencies || failed) return nullptr;
    current = source->lowPassEnvelope(failed, *frequencies, 0.4, 1, 1, sampleFreq, 0, values);
    if (!current || failed) return nullptr;
    source = current.get();
  }
  if (volumeDiff) {
    const double s = isRight ? 0.5 : -0.5;
    std::unique_ptr<Wave> levels = NewWave(failed, envelopeCount);
    if (!levels) return nullptr;
    for (std::int32_t i = 0; i < envelopeCount; ++i) {
      levels->data()[i] = TruncSample(direction[i] * s + 16383);
    }
    std::unique_ptr<Wave> scaled = source->volumeEnvelope(failed, *levels, 0, values);
    if (!scaled || failed) return nullptr;
    current = std::move(scaled);
    source = current.get();
  }
  if (!timeDiff) return current;

  // Both ears are delayed by `base` plus or minus the direction's share, so
  // neither reads ahead of the source and both come out equally long.
  const double base = sampleFreq / 3400.0;
  const double sign = isRight ? -1 : 1;
  std::unique_ptr<Wave> result = NewWave(failed, values + std::int64_t{TruncInt(2 * base + 1)});
  if (!result) return nullptr;
  const std::int32_t length = result->getValues();
  std::int16_t* out = result->data();
  EnvelopeReader directions = EnvelopeReader::Stretched(directionEnvelope, length);
  ForBlocks(failed, length, [&](std::int32_t start, std::int32_t n) {
    for (std::int32_t j = start; j < start + n; ++j) {
      const double q = j - (base + sign * (directions.Next() * kEnvelopeUnit) * base);
      out[j] = (q < 0 || q > values - 1) ? 0 : TruncSample(source->readAt(q));
    }
  });
  return result;
}

std::unique_ptr<Wave> Wave::addEnvelope(bool& failed, const Wave& envelope, std::int32_t begin,
                                        std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  std::unique_ptr<Wave> result = newAround(failed, begin, end, end - begin);
  if (!result) return nullptr;
  // The step spreads the envelope over one value more than the range, so
  // its last value is not quite reached.
  const double step =
      static_cast<double>(envelope.getValues() - 1) / static_cast<double>(end - begin + 1);
  EnvelopeReader added(envelope, step);
  const std::int16_t* in = data() + begin;
  std::int16_t* out = result->data() + begin;
  ForBlocks(failed, end - begin, [&](std::int32_t start, std::int32_t n) {
    for (std::int32_t k = start; k < start + n; ++k) out[k] = TruncSample(added.Next() + in[k]);
  });
  return result;
}
