#include "app/pcmconvert.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<std::uint8_t> Le16(const std::vector<std::int16_t>& values) {
  std::vector<std::uint8_t> bytes;
  for (std::int16_t v : values) {
    bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  }
  return bytes;
}

TEST(PcmConverter, ConvertsLayoutAndRateAcrossPieces) {
  struct Case {
    const char* what;
    TPcmFormat from, to;
    std::vector<std::uint8_t> in, out;
  };
  const Case cases[] = {
      // Twice the rate: a frame between each two, the last one twice.
      {"1 Hz to 2 Hz",
       {1, 1, 2},
       {1, 2, 2},
       Le16({0, 1000, 2000}),
       Le16({0, 500, 1000, 1500, 2000, 2000})},
      // Half the rate: every other frame.
      {"2 Hz to 1 Hz", {1, 2, 2}, {1, 1, 2}, Le16({0, 100, 200, 300}), Le16({0, 200})},
      // 8 bits: (b - 128) * 256; mono to both sides.
      {"8-bit mono to 16-bit stereo",
       {1, 5000, 1},
       {2, 5000, 2},
       {128, 255, 0},
       Le16({0, 0, 32512, 32512, -32768, -32768})},
      // Stereo to mono is the mean; 16 bits to 8 is trunc(v / 256) + 128.
      {"16-bit stereo to 8-bit mono",
       {2, 8000, 2},
       {1, 8000, 1},
       Le16({1000, 3000, -512, -1024, 32767, 32767}),
       {135, 125, 255}},
  };
  for (const Case& c : cases) {
    // One byte at a time: frames split across pieces come out whole.
    TPcmConverter converter(c.from, c.to);
    std::vector<std::uint8_t> out;
    for (std::uint8_t byte : c.in) converter.Convert(&byte, 1, out);
    converter.Flush(out);
    EXPECT_EQ(out, c.out) << c.what;
  }
}

}  // namespace
