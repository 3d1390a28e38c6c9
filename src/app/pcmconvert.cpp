#include "app/pcmconvert.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/tbassert.h"

namespace {

std::int32_t ReadSample(const std::uint8_t* p, int bytes) {
  switch (bytes) {
    case 1:
      return (static_cast<std::int32_t>(p[0]) - 128) * 256;
    case 2:
      return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
    default: {
      float value = 0;
      std::memcpy(&value, p, sizeof value);
      if (!std::isfinite(value)) return 0;
      return static_cast<std::int32_t>(std::clamp(value * 32768.0f, -32768.0f, 32767.0f));
    }
  }
}

void WriteSample(std::int32_t value, int bytes, std::vector<std::uint8_t>& out) {
  switch (bytes) {
    case 1:
      out.push_back(static_cast<std::uint8_t>(value / 256 + 128));
      break;
    case 2:
      out.push_back(static_cast<std::uint8_t>(value & 0xFF));
      out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
      break;
    default: {
      const float sample = static_cast<float>(value) / 32768.0f;
      std::uint8_t raw[sizeof sample];
      std::memcpy(raw, &sample, sizeof sample);
      out.insert(out.end(), raw, raw + sizeof sample);
      break;
    }
  }
}

}  // namespace

TPcmConverter::TPcmConverter(const TPcmFormat& from, const TPcmFormat& to) : From(from), To(to) {
  for (const TPcmFormat& format : {from, to}) {
    TB_ASSERT(format.Channels == 1 || format.Channels == 2);
    TB_ASSERT(format.Bytes == 1 || format.Bytes == 2 || format.Bytes == 4);
    TB_ASSERT(format.Rate > 0);
  }
}

void TPcmConverter::Put(const std::int32_t* frame, std::vector<std::uint8_t>& out) const {
  for (int channel = 0; channel < To.Channels; ++channel)
    WriteSample(frame[channel], To.Bytes, out);
}

void TPcmConverter::Convert(const std::uint8_t* bytes, std::size_t size,
                            std::vector<std::uint8_t>& out) {
  const std::size_t frameBytes = static_cast<std::size_t>(From.FrameBytes());
  std::size_t at = 0;
  std::uint8_t joined[8];
  while (true) {
    const std::uint8_t* frame = nullptr;
    if (!Partial.empty()) {
      const std::size_t take = std::min(frameBytes - Partial.size(), size - at);
      Partial.insert(Partial.end(), bytes + at, bytes + at + take);
      at += take;
      if (Partial.size() < frameBytes) return;
      std::copy(Partial.begin(), Partial.end(), joined);
      Partial.clear();
      frame = joined;
    } else if (size - at >= frameBytes) {
      frame = bytes + at;
      at += frameBytes;
    } else {
      Partial.assign(bytes + at, bytes + size);
      return;
    }

    std::int32_t in[2] = {0, 0};
    for (int channel = 0; channel < From.Channels; ++channel) {
      in[channel] = ReadSample(frame + channel * From.Bytes, From.Bytes);
    }
    std::int32_t cur[2] = {0, 0};
    if (From.Channels == To.Channels) {
      cur[0] = in[0];
      cur[1] = in[1];
    } else if (To.Channels == 2) {
      cur[0] = cur[1] = in[0];
    } else {
      cur[0] = (in[0] + in[1]) / 2;
    }

    if (!HavePrev) {
      std::copy(cur, cur + 2, Prev);
      HavePrev = true;
      continue;
    }
    while (Phase < To.Rate) {
      std::int32_t mixed[2] = {0, 0};
      for (int channel = 0; channel < To.Channels; ++channel) {
        mixed[channel] = static_cast<std::int32_t>(
            (Prev[channel] * (To.Rate - Phase) + static_cast<std::int64_t>(cur[channel]) * Phase) /
            To.Rate);
      }
      Put(mixed, out);
      Phase += From.Rate;
    }
    Phase -= To.Rate;
    std::copy(cur, cur + 2, Prev);
  }
}

void TPcmConverter::Flush(std::vector<std::uint8_t>& out) {
  if (!HavePrev) return;
  while (Phase < To.Rate) {
    Put(Prev, out);
    Phase += From.Rate;
  }
  Phase = 0;
  HavePrev = false;
  Partial.clear();
}
