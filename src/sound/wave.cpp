#include "sound/wave.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/allocation.h"
#include "base/sampleconv.h"
#include "base/tbassert.h"
#include "base/userinterface.h"
#include "sound/blocks.h"

Wave::Wave(bool& failed, std::int32_t values) {
  TB_ASSERT(values >= 0);
  if (values == 0) return;
  wave = AllocateArray<std::int16_t>(failed, static_cast<std::size_t>(values));
  if (wave) this->values = values;
}

Wave::Wave(std::unique_ptr<std::int16_t[]> array, std::int32_t values)
    : wave(values > 0 ? std::move(array) : nullptr), values(values > 0 ? values : 0) {}

Wave::Wave(bool& failed, const Wave& other) : Wave(failed, std::max(other.values, 0)) {
  if (!wave) return;
  ForBlocks(failed, values, [&](std::int32_t offset, std::int32_t count) {
    std::memcpy(wave.get() + offset, other.wave.get() + offset, sizeof(std::int16_t) * count);
  });
}

void Wave::Dump() const {
  Trace("Wave.this = ");
  TraceAddress(this);
  Trace("Wave.values = " + std::to_string(values) + "\n");
  Trace("Wave.wave = ");
  TraceAddress(wave.get());
}

namespace {
thread_local WaveLengthLimit* currentLimit = nullptr;
}  // namespace

WaveLengthLimit::WaveLengthLimit(std::int64_t maxValues, std::string message)
    : maxValues_(maxValues), message_(std::move(message)), previous_(currentLimit) {
  currentLimit = this;
}

WaveLengthLimit::~WaveLengthLimit() { currentLimit = previous_; }

bool WaveLengthLimit::Refuses(bool& failed, std::int64_t values) {
  if (values <= maxValues_) return false;
  exceeded_ = true;
  failed = true;
  ShowMessage("Input Error", message_, MessageIcon::Information);
  return true;
}

std::unique_ptr<Wave> NewWave(bool& failed, std::int64_t values) {
  if (failed) return nullptr;
  if (currentLimit != nullptr && currentLimit->Refuses(failed, values)) return nullptr;
  if (values < 0 || values > kMaxWaveValues) {
    ReportOutOfMemory(failed);
    return nullptr;
  }
  auto wave = std::make_unique<Wave>(failed, static_cast<std::int32_t>(values));
  if (failed) return nullptr;
  return wave;
}

std::unique_ptr<Wave> CopyWave(bool& failed, const Wave* wave) {
  if (failed || wave == nullptr) return nullptr;
  auto copy = std::make_unique<Wave>(failed, *wave);
  if (failed) return nullptr;
  return copy;
}

void Wave::checkRange(std::int32_t begin, std::int32_t& end) const {
  if (end == -1) end = values;
  TB_ASSERT(begin >= 0);
  TB_ASSERT(end >= 0);
  TB_ASSERT(begin <= values);
  TB_ASSERT(end <= values);
}

std::unique_ptr<Wave> Wave::newAround(bool& failed, std::int32_t begin, std::int32_t end,
                                      std::int64_t length) const {
  auto result = NewWave(failed, std::int64_t{values} - (end - begin) + length);
  if (!result) return nullptr;
  // The result holds begin + length values and more: the sum fits.
  result->copyFrom(*this, 0, begin, 0);
  result->copyFrom(*this, end, values, static_cast<std::int32_t>(begin + length));
  return result;
}

void Wave::copyFrom(const Wave& from, std::int32_t begin, std::int32_t end, std::int32_t to) {
  TB_ASSERT_TEXT(end <= from.values, "end <= from->values");
  TB_ASSERT(begin >= 0);
  TB_ASSERT(end >= begin);
  TB_ASSERT(to + end - begin <= values);
  TB_ASSERT(to >= 0);
  if (end > begin) {
    std::memmove(wave.get() + to, from.wave.get() + begin, sizeof(std::int16_t) * (end - begin));
  }
}

void Wave::clear(std::int32_t begin, std::int32_t end) {
  TB_ASSERT(begin >= 0);
  TB_ASSERT(end >= begin);
  TB_ASSERT(end <= values);
  if (end > begin) std::memset(wave.get() + begin, 0, sizeof(std::int16_t) * (end - begin));
}

void Wave::addFrom(const Wave& from, std::int32_t begin, std::int32_t end, std::int32_t to) {
  TB_ASSERT_TEXT(end <= from.values, "end <= from->values");
  TB_ASSERT(begin >= 0);
  TB_ASSERT(end >= begin);
  TB_ASSERT(to + end - begin <= values);
  TB_ASSERT(to >= 0);
  std::int16_t* target = wave.get() + to;
  const std::int16_t* source = from.wave.get() + begin;
  for (std::int32_t k = 0; k < end - begin; ++k) target[k] = AddSamples(target[k], source[k]);
}

std::int32_t Wave::maxAbs(std::int32_t begin, std::int32_t end) const {
  TB_ASSERT(begin >= 0);
  TB_ASSERT(end >= 0);
  TB_ASSERT(begin <= values);
  TB_ASSERT(end <= values);
  TB_ASSERT(begin <= end);
  // Lowest and highest together vectorise; the magnitude follows from them.
  std::int32_t lowest = 0;
  std::int32_t highest = 0;
  const std::int16_t* p = wave.get();
  for (std::int32_t i = begin; i < end; ++i) {
    lowest = std::min<std::int32_t>(lowest, p[i]);
    highest = std::max<std::int32_t>(highest, p[i]);
  }
  return std::max(-lowest, highest);
}

std::unique_ptr<Wave> Wave::extract(bool& failed, std::int32_t begin, std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  auto result = NewWave(failed, end - begin);
  if (!result) return nullptr;
  ForBlocks(failed, end - begin, [&](std::int32_t offset, std::int32_t count) {
    result->copyFrom(*this, begin + offset, begin + offset + count, offset);
  });
  return result;
}

std::unique_ptr<Wave> Wave::remove(bool& failed, std::int32_t begin, std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  return newAround(failed, begin, end, 0);
}

std::unique_ptr<Wave> Wave::replace(bool& failed, const Wave& other, std::int32_t begin,
                                    std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin <= end);
  auto result = newAround(failed, begin, end, other.values);
  if (result) result->copyFrom(other, 0, other.values, begin);
  return result;
}

std::unique_ptr<Wave> Wave::append(bool& failed, const Wave& other) const {
  auto result = NewWave(failed, std::int64_t{values} + other.values);
  if (!result) return nullptr;
  result->copyFrom(*this, 0, values, 0);
  result->copyFrom(other, 0, other.values, values);
  return result;
}

void Wave::drawLine(std::int32_t begin, double from, std::int32_t end, double to) {
  TB_ASSERT(end > begin);
  TB_ASSERT(end <= values);
  if (end == begin + 1) {
    wave[begin] = TruncSample((from + to) * 0.5);
    return;
  }
  const double step = (to - from) / (end - begin - 1);
  double running = from;
  for (std::int32_t i = begin; i < end; ++i) {
    wave[i] = TruncSample(running);
    running += step;
  }
}

std::unique_ptr<Wave> Wave::mix(bool& failed, double factor, const Wave& other, double otherFactor,
                                std::int32_t begin, std::int32_t end) const {
  if (end == -1) end = values;
  TB_ASSERT(begin >= 0);
  TB_ASSERT(end >= 0);
  TB_ASSERT(begin <= end);
  TB_ASSERT(end <= values);
  TB_ASSERT_TEXT(values == other.values, "values == daar->values");
  auto result = NewWave(failed, values);
  if (!result) return nullptr;
  result->copyFrom(*this, 0, begin, 0);
  const std::int16_t* a = wave.get();
  const std::int16_t* b = other.wave.get();
  std::int16_t* r = result->wave.get();
  ForBlocks(failed, end - begin, [&](std::int32_t offset, std::int32_t count) {
    for (std::int32_t i = begin + offset; i < begin + offset + count; ++i) {
      r[i] = TruncSample(a[i] * factor + b[i] * otherFactor);
    }
  });
  result->copyFrom(*this, end, values, end);
  return result;
}

std::unique_ptr<Wave> Wave::average(bool& failed, const Wave& other) const {
  TB_ASSERT_TEXT(values == other.values, "values == other->values");
  return mix(failed, 0.5, other, 0.5, 0, values);
}

void Wave::mixAfter(bool& failed, const Wave& other, std::int32_t after, double factor) {
  TB_ASSERT(values != 0);
  TB_ASSERT(after < values);
  TB_ASSERT(after >= 0);
  const std::int32_t count = std::min(values - after, other.values);
  std::int16_t* target = wave.get() + after;
  const std::int16_t* source = other.wave.get();
  ForBlocks(failed, count, [&](std::int32_t offset, std::int32_t n) {
    for (std::int32_t k = offset; k < offset + n; ++k) {
      target[k] = TruncSample(target[k] + source[k] * factor);
    }
  });
}

void Wave::addAfter(bool& failed, const Wave& other, std::int32_t after) {
  TB_ASSERT(values != 0);
  TB_ASSERT(after < values);
  TB_ASSERT(after >= 0);
  const std::int32_t count = std::min(values - after, other.values);
  ForBlocks(failed, count, [&](std::int32_t offset, std::int32_t n) {
    addFrom(other, offset, offset + n, after + offset);
  });
}

void Wave::mixCycleAfterThis(bool& failed, const Wave& other, std::int32_t after) {
  TB_ASSERT(values != 0);
  TB_ASSERT(after < values);
  TB_ASSERT(after >= 0);
  // Fold `other` onto this wave: a stretch that reaches our end goes on at
  // our start.
  std::int32_t write = after;
  ForBlocks(failed, other.values, [&](std::int32_t read, std::int32_t n) {
    while (n > 0) {
      const std::int32_t count = std::min(n, values - write);
      addFrom(other, read, read + count, write);
      read += count;
      n -= count;
      write += count;
      if (write == values) write = 0;
    }
  });
}

std::unique_ptr<Wave> Wave::mixAt(bool& failed, const Wave& other, std::int64_t position,
                                  std::int32_t count, bool fromEnd) const {
  std::int32_t n = other.values;
  std::int32_t start = 0;
  if (count != -1) {
    n = std::min(count, other.values);
    if (fromEnd) start = other.values - n;
  }
  // In 64 bits: a far position asks for a result no wave can hold, which
  // NewWave reports; once it exists, every index below fits.
  const std::int64_t lead64 = position < 0 ? -position : 0;
  const std::int64_t tail64 = std::max<std::int64_t>(position + n - values, 0);
  auto result = NewWave(failed, lead64 + values + tail64);
  if (!result) return nullptr;
  const auto lead = static_cast<std::int32_t>(lead64);
  const auto tail = static_cast<std::int32_t>(tail64);
  result->clear(0, lead);
  result->copyFrom(*this, 0, values, lead);
  result->clear(lead + values, lead + values + tail);
  const auto at = static_cast<std::int32_t>(position >= 0 ? position : 0);
  ForBlocks(failed, n, [&](std::int32_t offset, std::int32_t m) {
    result->addFrom(other, start + offset, start + offset + m, at + offset);
  });
  return result;
}

std::unique_ptr<Wave> Wave::mixBefore(bool& failed, const Wave& other, std::int32_t position,
                                      std::int32_t count, bool fromEnd) const {
  if (count == -1) return mixAt(failed, other, std::int64_t{position} - other.values, -1, fromEnd);
  return mixAt(failed, other, std::int64_t{position} - std::min(count, other.values), count,
               fromEnd);
}

std::unique_ptr<Wave> Wave::resize(bool& failed, std::int32_t length, bool reverse,
                                   std::int32_t begin, std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  TB_ASSERT(length > 0);
  auto result = newAround(failed, begin, end, length);
  if (!result) return nullptr;
  const std::int32_t count = end - begin;
  double step = static_cast<double>(count) / length;
  double position = 0;
  if (reverse) {
    position = count;
    step = -step;
  }
  const std::int16_t* source = wave.get();
  const std::int32_t last = values - 1;
  std::int16_t* target = result->wave.get() + begin;
  ForBlocks(failed, length, [&](std::int32_t offset, std::int32_t n) {
    for (std::int32_t k = offset; k < offset + n; ++k) {
      const double p = begin + position;
      const auto i = static_cast<std::int32_t>(p);
      const double f = p - i;
      double value;
      if (i >= last) {
        // Past the wave's last value there is nothing to interpolate
        // towards: the last value holds.
        value = source[last];
      } else if (f == 0) {
        value = source[i];
      } else {
        value = (1 - f) * source[i] + f * source[i + 1];
      }
      target[k] = TruncSample(value);
      position += step;
    }
  });
  end = begin + length;
  return result;
}

std::unique_ptr<Wave> Wave::lengthAll(bool& failed, double factor) const {
  // Saturates: a length beyond 32 bits is refused by newAround.
  const std::int32_t length = TruncInt(values * std::abs(factor));
  if (length == 0) return NewWave(failed, 0);
  std::int32_t end = values;
  return resize(failed, length, factor < 0, 0, end);
}
