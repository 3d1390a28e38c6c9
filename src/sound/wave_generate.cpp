// Generators: each replaces the range begin ... end by `length` new values
// (inserting them when the range is empty) and returns end as begin + length.

#include <algorithm>
#include <cmath>
#include <memory>

#include "base/allocation.h"
#include "base/random.h"
#include "base/sampleconv.h"
#include "base/tbassert.h"
#include "sound/blocks.h"
#include "sound/sinetable.h"
#include "sound/wave.h"

namespace {

// The generated middle: `fill(target, count)` writes the next `count` values,
// block by block, keeping its running state between calls. `end` comes back
// as begin + length even when there is no result, so that both channels of
// a stereo sound always report the same range.
template <class Fill>
std::unique_ptr<Wave> Generate(bool& failed, const Wave& source, std::int32_t begin,
                               std::int32_t& end, std::int32_t length, Fill fill) {
  const std::int32_t rangeEnd = end;
  SetRangeEnd(begin, length, end);
  auto result = source.newAround(failed, begin, rangeEnd, length);
  if (!result) return nullptr;
  std::int16_t* target = result->data() + begin;
  ForBlocks(failed, length,
            [&](std::int32_t offset, std::int32_t count) { fill(target + offset, count); });
  return result;
}

}  // namespace

std::unique_ptr<Wave> Wave::silence(bool& failed, std::int32_t length, std::int32_t& begin,
                                    std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  TB_ASSERT(length >= 0);
  return Generate(failed, *this, begin, end, length, [](std::int16_t* target, std::int32_t count) {
    std::fill(target, target + count, std::int16_t{0});
  });
}

std::unique_ptr<Wave> Wave::line(bool& failed, double from, double to, std::int32_t length,
                                 std::int32_t& begin, std::int32_t& end) const {
  const std::int32_t begint = begin;
  const std::int32_t endt = end == -1 ? values : end;
  TB_ASSERT(begint >= 0);
  TB_ASSERT(endt >= 0);
  TB_ASSERT(begint <= values);
  TB_ASSERT(endt <= values);
  TB_ASSERT(begint <= endt);
  end = endt;
  // A line needs both of its ends.
  if (length == 1) length = 2;
  TB_ASSERT(length > 1);
  const double step = (to - from) / (length - 1);
  double running = from;
  return Generate(failed, *this, begin, end, length, [&](std::int16_t* target, std::int32_t count) {
    for (std::int32_t k = 0; k < count; ++k) {
      target[k] = TruncSample(running);
      running += step;
    }
  });
}

std::unique_ptr<Wave> Wave::expLine(bool& failed, double from, double to, std::int32_t length,
                                    std::int32_t& begin, std::int32_t& end) const {
  const std::int32_t begint = begin;
  const std::int32_t endt = end == -1 ? values : end;
  TB_ASSERT(begint >= 0);
  TB_ASSERT(endt >= 0);
  TB_ASSERT(begint <= values);
  TB_ASSERT(endt <= values);
  TB_ASSERT(begint <= endt);
  end = endt;
  if (length == 1) length = 2;
  TB_ASSERT(length > 1);
  TB_ASSERT_TEXT(from * to > 0, "double(begin) * end > 0");
  // The exponent is 1 / length: the last value stops one ratio short of `to`.
  const double ratio = std::pow(to / from, 1.0 / length);
  double running = from;
  return Generate(failed, *this, begin, end, length, [&](std::int16_t* target, std::int32_t count) {
    for (std::int32_t k = 0; k < count; ++k) {
      target[k] = TruncSample(running);
      running *= ratio;
    }
  });
}

std::unique_ptr<Wave> Wave::noise(bool& failed, double volume, std::int32_t length,
                                  std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  TB_ASSERT(length >= 0);
  const double scale = volume * 6.1035156e-5;  // volume / 16384
  return Generate(failed, *this, begin, end, length, [&](std::int16_t* target, std::int32_t count) {
    for (std::int32_t k = 0; k < count; ++k)
      target[k] = TruncSample((NextRandom() - 16384) * scale);
  });
}

std::unique_ptr<Wave> Wave::blockWave(bool& failed, double first, double second, double period,
                                      double middle, std::int32_t length, double startPhase,
                                      bool triangle, std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  TB_ASSERT(period > 0);
  TB_ASSERT(length > 0);
  TB_ASSERT(middle <= 1);
  TB_ASSERT(middle >= 0);
  const double step = 1 / period;
  const double down = middle != 1 ? (first - second) / (1 - middle) : 0;
  const double up = middle != 0 ? (second - first) / middle : 0;
  const std::int16_t low = TruncSample(first);
  const std::int16_t high = TruncSample(second);
  double phase = startPhase;
  return Generate(failed, *this, begin, end, length, [&](std::int16_t* target, std::int32_t count) {
    for (std::int32_t k = 0; k < count; ++k) {
      if (!triangle) {
        target[k] = phase < middle ? low : high;
      } else if (phase < middle) {
        target[k] = TruncSample(first + phase * up);
      } else {
        target[k] = TruncSample(first + (phase - 1) * down);
      }
      phase += step;
      phase -= std::trunc(phase);
    }
  });
}

std::unique_ptr<Wave> Wave::blockWaveEnvelope(bool& failed, double first, double second,
                                              double period, const Wave& middleEnvelope,
                                              std::int32_t length, double startPhase, bool triangle,
                                              std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  TB_ASSERT(period > 0);
  TB_ASSERT(length > 0);
  TB_ASSERT_TEXT(middleEnvelope.values > 0, "middleEnvelope->values > 0");
  const double step = 1 / period;
  const double last = middleEnvelope.values - 1;
  // The envelope is stretched over the generated values; a single value
  // reads its start.
  const double envelopeStep = length > 1 ? last / (length - 1) : 0;
  const std::int16_t low = TruncSample(first);
  const std::int16_t high = TruncSample(second);
  double phase = startPhase;
  double envelopePosition = 0;
  return Generate(failed, *this, begin, end, length, [&](std::int16_t* target, std::int32_t count) {
    for (std::int32_t k = 0; k < count; ++k) {
      // Summed steps may overshoot the envelope's last value by a rounding
      // error; never read past it.
      const double e = middleEnvelope.readAt(std::min(envelopePosition, last));
      const double middle = e * (1.0 / 65535) + 0.5;
      if (!triangle) {
        target[k] = phase < middle ? low : high;
      } else if (phase < middle) {
        target[k] = TruncSample(first + (second - first) / middle * phase);
      } else {
        target[k] = TruncSample(first + (first - second) / (1 - middle) * (phase - 1));
      }
      phase += step;
      phase -= std::trunc(phase);
      envelopePosition += envelopeStep;
    }
  });
}

std::unique_ptr<Wave> Wave::sinus(bool& failed, double top, double bottom, double period,
                                  double count, double startAngle, std::int32_t& begin,
                                  std::int32_t& end) const {
  const Wave* table = SineTable();
  TB_ASSERT_TEXT(table != nullptr, "sinus != NULL");
  const double per = period;
  TB_ASSERT(per > 0);
  TB_ASSERT(startAngle >= 0);
  TB_ASSERT(startAngle < 1);
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  const std::int32_t length = std::max(TruncInt(count * per), 1);
  const double amplitude = (top - bottom) * (1.0 / 65535);
  const std::int16_t offset = TruncSample((top + bottom) * 0.5);
  const double step = 1 / per;
  const double scale = table->getValues() - 1;
  double phase = startAngle;
  return Generate(failed, *this, begin, end, length, [&](std::int16_t* target, std::int32_t n) {
    for (std::int32_t k = 0; k < n; ++k) {
      target[k] = TruncSample(table->readAt(phase * scale) * amplitude + offset);
      phase += step;
      if (phase >= 1) phase -= std::trunc(phase);
    }
  });
}

std::unique_ptr<Wave> Wave::multiFreq(bool& failed, std::int32_t length, const Wave& source,
                                      int freqCount, const double* startVolumes,
                                      const double* periods, const double* startAngles,
                                      const double* decays, std::int32_t& begin,
                                      std::int32_t& end) const {
  const std::int32_t sourceLength = source.values;
  TB_ASSERT(freqCount > 0);
  TB_ASSERT(length >= 0);
  TB_ASSERT(sourceLength > 0);
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  auto noResult = [&]() -> std::unique_ptr<Wave> {
    SetRangeEnd(begin, length, end);
    return nullptr;
  };
  if (failed) return noResult();
  // Per partial: read position, advance per value, current amplitude.
  auto position = AllocateArray<double>(failed, static_cast<std::size_t>(freqCount));
  if (!position) return noResult();
  auto advance = AllocateArray<double>(failed, static_cast<std::size_t>(freqCount));
  if (!advance) return noResult();
  auto amplitude = AllocateArray<double>(failed, static_cast<std::size_t>(freqCount));
  if (!amplitude) return noResult();
  for (int k = 0; k < freqCount; ++k) {
    position[k] = sourceLength * startAngles[k];
    advance[k] = sourceLength / periods[k];
    amplitude[k] = startVolumes[k];
  }
  const double last = sourceLength - 1;
  double* p = position.get();
  const double* s = advance.get();
  double* a = amplitude.get();
  // Partial by partial over each block: every value still sums its partials
  // in order, truncating after each, but the partials' running positions and
  // amplitudes no longer wait on one another.
  return Generate(failed, *this, begin, end, length, [&](std::int16_t* target, std::int32_t count) {
    std::fill(target, target + count, std::int16_t{0});
    for (int k = 0; k < freqCount; ++k) {
      double pk = p[k];
      double ak = a[k];
      const double sk = s[k];
      const double dk = decays[k];
      for (std::int32_t n = 0; n < count; ++n) {
        const double read = pk < 0 || pk > last ? 0.0 : source.readAt(pk);
        target[n] = TruncSample(read * ak + target[n]);
        ak *= dk;
        pk += sk;
        if (pk > last) {
          // Periodic in `last` values, into 0 ... last: the same as
          // subtracting `last` while above it. A one-value source has no
          // period: it stays at its only value.
          if (last == 0) {
            pk = 0;
          } else if (pk <= 2 * last) {
            pk -= last;  // exact here
          } else {
            pk = std::fmod(pk, last);
            if (pk == 0) pk = last;
          }
        }
      }
      p[k] = pk;
      a[k] = ak;
    }
  });
}
