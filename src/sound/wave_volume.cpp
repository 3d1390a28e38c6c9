// Volume and shape operations: they change the values of a range without
// filtering them. Results truncate toward zero and wrap in 16 bits.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "base/sampleconv.h"
#include "base/tbassert.h"
#include "sound/blocks.h"
#include "sound/envelope.h"
#include "sound/wave.h"

namespace {

// A new wave in which the range is `map(source, target, count)` of the old
// one, applied block by block; the rest is copied.
template <class Map>
std::unique_ptr<Wave> MapRange(bool& failed, const Wave& wave, std::int32_t begin, std::int32_t end,
                               Map map) {
  auto result = wave.newAround(failed, begin, end, end - begin);
  if (!result) return nullptr;
  const std::int16_t* source = wave.data() + begin;
  std::int16_t* target = result->data() + begin;
  ForBlocks(failed, end - begin, [&](std::int32_t offset, std::int32_t count) {
    map(source + offset, target + offset, count);
  });
  return result;
}

// trunc(s × factor) for `count` values (source and target may be the same).
void Scale(const std::int16_t* source, std::int16_t* target, std::int32_t count, double factor) {
  if (std::fabs(factor) < 65535) {
    // |s × factor| < 2^31: truncating into 32 bits keeps the same low 16
    // bits as the general rule, and the compiler can vectorise it.
    for (std::int32_t k = 0; k < count; ++k) {
      target[k] = static_cast<std::int16_t>(static_cast<std::int32_t>(source[k] * factor));
    }
  } else {
    for (std::int32_t k = 0; k < count; ++k) target[k] = TruncSample(source[k] * factor);
  }
}

}  // namespace

std::unique_ptr<Wave> Wave::volume(bool& failed, double factor, std::int32_t begin,
                                   std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  return MapRange(failed, *this, begin, end,
                  [factor](const std::int16_t* source, std::int16_t* target, std::int32_t count) {
                    Scale(source, target, count, factor);
                  });
}

void Wave::volumeInPlace(bool& failed, double factor, std::int32_t begin, std::int32_t end) {
  checkRange(begin, end);
  if (begin == end) return;
  TB_ASSERT(begin < end);
  std::int16_t* w = wave.get() + begin;
  ForBlocks(failed, end - begin, [&](std::int32_t offset, std::int32_t count) {
    Scale(w + offset, w + offset, count, factor);
  });
}

std::unique_ptr<Wave> Wave::volumeEnvelope(bool& failed, const Wave& envelope, std::int32_t begin,
                                           std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(envelope.values > 0);
  // Stretched over the range as EnvelopeReader does, but with the last
  // position held in a register: the reader's form measured slower here.
  const double last = envelope.values - 1;
  const double step = end - begin > 1 ? last / (end - begin - 1) : 0;
  double position = 0;
  return MapRange(failed, *this, begin, end,
                  [&](const std::int16_t* source, std::int16_t* target, std::int32_t count) {
                    for (std::int32_t k = 0; k < count; ++k) {
                      const double factor = envelope.readAt(std::min(position, last));
                      target[k] = TruncSample(factor * source[k] * kEnvelopeUnit);
                      position += step;
                    }
                  });
}

std::unique_ptr<Wave> Wave::reverse(bool& failed, std::int32_t begin, std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  auto result = newAround(failed, begin, end, end - begin);
  if (!result || begin == end) return result;         // no last value to start from
  const std::int16_t* source = wave.get() + end - 1;  // read downwards from the range's last value
  std::int16_t* target = result->data() + begin;
  ForBlocks(failed, end - begin, [&](std::int32_t offset, std::int32_t count) {
    const std::int16_t* from = source - offset;
    std::int16_t* to = target + offset;
    for (std::int32_t k = 0; k < count; ++k) to[k] = from[-k];
  });
  return result;
}

std::unique_ptr<Wave> Wave::up(bool& failed, std::int16_t add, std::int32_t begin,
                               std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  return MapRange(failed, *this, begin, end,
                  [add](const std::int16_t* source, std::int16_t* target, std::int32_t count) {
                    for (std::int32_t k = 0; k < count; ++k) target[k] = AddSamples(source[k], add);
                  });
}

std::unique_ptr<Wave> Wave::block(bool& failed, double time, std::int32_t levels,
                                  std::int32_t begin, std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  if (time < 1) time = 1;
  auto result = newAround(failed, begin, end, end - begin);
  if (!result) return nullptr;
  std::int16_t* target = result->data();
  if (levels == 1) {
    ForBlocks(failed, end - begin, [&](std::int32_t offset, std::int32_t count) {
      std::fill(target + begin + offset, target + begin + offset + count, std::int16_t{0});
    });
    return result;
  }
  const std::int16_t* source = wave.get();
  const double levelScale = levels * (1.0 / 65536);
  const double levelHeight = levels != 0 ? 65535.0 / (levels - 1) : 0;
  double position = begin;
  std::int32_t holdEnd = begin;  // a hold may go on over several blocks
  std::int16_t held = 0;
  ForBlocks(failed, end - begin, [&](std::int32_t offset, std::int32_t n) {
    std::int32_t index = begin + offset;  // read and write index: the next value not yet held
    const std::int32_t blockEnd = index + n;
    while (index < blockEnd) {
      if (index == holdEnd) {
        position = std::min(position + time, static_cast<double>(end));
        // time >= 1, so every hold covers at least one value.
        holdEnd = TruncInt(position);
        std::int64_t sum = 0;
        for (std::int32_t i = index; i < holdEnd; ++i) sum += source[i];
        // Integer division truncates toward zero, like trunc(sum / n).
        const auto average = static_cast<std::int32_t>(sum / (holdEnd - index));
        held = WrapSample(average);
        if (levels != 0) {
          const std::int32_t q = TruncInt((average + 32768) * levelScale);
          held = TruncSample(levelHeight * q - 32768);
        }
      }
      const std::int32_t stop = std::min(holdEnd, blockEnd);
      std::fill(target + index, target + stop, held);
      index = stop;
    }
  });
  return result;
}

std::unique_ptr<Wave> Wave::rotate(bool& failed, std::int32_t leftShift, std::int32_t begin,
                                   std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(leftShift >= 0);
  TB_ASSERT(leftShift <= values);
  auto result = newAround(failed, begin, end, end - begin);
  if (!result) return nullptr;
  // old[begin + leftShift ... end - 1], then old[begin ... begin + leftShift - 1]
  // (the first copy stops at "end >= begin" when the shift exceeds the range).
  result->copyFrom(*this, begin + leftShift, end, begin);
  result->copyFrom(*this, begin, begin + leftShift, end - leftShift);
  return result;
}

std::unique_ptr<Wave> Wave::rollIn(bool& failed, std::int32_t length, std::int32_t target,
                                   std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(target < length);
  TB_ASSERT(length > 0);
  // A negative offset would write before the new range.
  TB_ASSERT(target >= 0);
  // end returns as begin + length, with or without a result, so that both
  // channels of a stereo sound report the same range.
  const std::int32_t rangeEnd = end;
  SetRangeEnd(begin, length, end);
  auto result = newAround(failed, begin, rangeEnd, length);
  if (!result) return nullptr;
  result->clear(begin, begin + length);
  // Fold the source onto the new range: a stretch that reaches the range's
  // end goes on at its start.
  std::int32_t write = target;
  ForBlocks(failed, rangeEnd - begin, [&](std::int32_t offset, std::int32_t n) {
    std::int32_t read = begin + offset;
    while (n > 0) {
      const std::int32_t count = std::min(n, length - write);
      result->addFrom(*this, read, read + count, begin + write);
      read += count;
      n -= count;
      write += count;
      if (write == length) write = 0;
    }
  });
  return result;
}

std::unique_ptr<Wave> Wave::rollOutForm(bool& failed, const Wave& form, double per, double count,
                                        double startAngle, std::int32_t beginf, std::int32_t endf,
                                        std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(beginf >= 0);
  TB_ASSERT(endf >= 0);
  TB_ASSERT_TEXT(beginf <= form.values, "beginf <= form->values");
  TB_ASSERT_TEXT(endf <= form.values, "endf <= form->values");
  TB_ASSERT(beginf < endf);
  TB_ASSERT(per != 0);
  TB_ASSERT(startAngle >= 0);
  TB_ASSERT(startAngle < 1);
  const std::int32_t length = TruncInt(std::fabs(per) * count);
  const double step = 1 / per;
  const double span = endf - 1 - beginf;
  double phase = startAngle;
  const std::int32_t rangeEnd = end;
  SetRangeEnd(begin, length, end);
  auto result = newAround(failed, begin, rangeEnd, length);
  if (!result) return nullptr;
  std::int16_t* target = result->data() + begin;
  ForBlocks(failed, length, [&](std::int32_t offset, std::int32_t n) {
    for (std::int32_t k = offset; k < offset + n; ++k) {
      target[k] = TruncSample(form.readAt(beginf + span * phase));
      phase += step;
      if (phase >= 1) {
        phase -= std::trunc(phase);
      } else if (phase < 0) {
        phase += std::trunc(1 - phase);
      }
    }
  });
  return result;
}

std::unique_ptr<Wave> Wave::rollOutEnvelope(bool& failed, const Wave& speedEnvelope,
                                            double lengthfactor, double speed, double startpos,
                                            std::int32_t& begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(lengthfactor > 0);
  const std::int32_t count = end - begin;
  const std::int32_t length = TruncInt(count * lengthfactor);
  TB_ASSERT(startpos >= 0);
  TB_ASSERT(startpos < length);
  TB_ASSERT(speedEnvelope.values > 0);
  EnvelopeReader speeds(speedEnvelope, ((speedEnvelope.values - 1) / lengthfactor) / count);
  const double low = begin;
  const double high = end;
  const std::int16_t* w = wave.get();
  double position = begin + count * startpos;
  const std::int32_t rangeEnd = end;
  SetRangeEnd(begin, length, end);
  auto result = newAround(failed, begin, rangeEnd, length);
  if (!result) return nullptr;
  std::int16_t* target = result->data() + begin;
  ForBlocks(failed, length, [&](std::int32_t offset, std::int32_t n) {
    for (std::int32_t k = offset; k < offset + n; ++k) {
      position += speeds.Next() * speed * kEnvelopeUnit;
      if (position >= low) {
        position -= std::trunc((position - low) / count) * count;
      } else {
        position += std::trunc((low - position) / count + 1) * count;
      }
      // The range is a loop: `end` is `begin` again (the wrap above lands
      // exactly on `end` when the position fell an exact number of loops
      // below `begin`), and a rounding error never reads before it.
      if (position >= high) position -= count;
      if (position < low) position = low;
      const auto i = static_cast<std::int32_t>(position);
      const double f = position - i;
      double value;
      if (f == 0) {
        value = w[i];
      } else {
        const std::int32_t next = i + 1 < rangeEnd ? i + 1 : begin;
        value = (1 - f) * w[i] + f * w[next];
      }
      target[k] = TruncSample(value);
    }
  });
  return result;
}

std::unique_ptr<Wave> Wave::distort(bool& failed, const Wave& shape, std::int32_t begin,
                                    std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(shape.values > 0);
  const double last = shape.values - 1;
  return MapRange(failed, *this, begin, end,
                  [&](const std::int16_t* source, std::int16_t* target, std::int32_t count) {
                    for (std::int32_t k = 0; k < count; ++k) {
                      // -32768 lands a hair before the curve's first value; the
                      // index truncates toward 0, so it reads values 0 and 1.
                      const double position = (source[k] * (1.0 / 65535) + 0.5) * last;
                      target[k] = TruncSample(shape.readAt(position));
                    }
                  });
}
