#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "clisupport.h"

// Files that sox writes with wider or floating-point samples open, and their
// values are the conversion rules applied to the bytes sox wrote.

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le(const Bytes& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(b.at(at + i)) << (8 * i);
  return v;
}

// The fmt fields and the data of a RIFF WAVE file, found by walking its chunks.
struct Parsed {
  int tag = 0;  // the sub-format's for the extensible header
  int channels = 0;
  int bits = 0;
  bool extensible = false;
  Bytes data;
};

Parsed Parse(const Bytes& file) {
  Parsed p;
  for (std::size_t at = 12; at + 8 <= file.size();) {
    const std::uint32_t size = Le(file, at + 4, 4);
    const std::size_t body = at + 8;
    if (std::memcmp(&file[at], "fmt ", 4) == 0) {
      p.tag = static_cast<int>(Le(file, body, 2));
      p.channels = static_cast<int>(Le(file, body + 2, 2));
      p.bits = static_cast<int>(Le(file, body + 14, 2));
      p.extensible = p.tag == 0xFFFE;
      if (p.extensible) p.tag = static_cast<int>(Le(file, body + 24, 2));
    } else if (std::memcmp(&file[at], "data", 4) == 0) {
      p.data.assign(file.begin() + static_cast<std::ptrdiff_t>(body),
                    file.begin() + static_cast<std::ptrdiff_t>(std::min(body + size, file.size())));
      break;
    }
    at = body + size + (size & 1);
  }
  return p;
}

std::int16_t FromFloat(double x) {
  if (std::isnan(x)) return 0;
  return static_cast<std::int16_t>(std::clamp(std::trunc(x * 32768), -32768.0, 32767.0));
}

// Every sample of the data by the rules: integers v >> (bits - 16), floats
// trunc(x * 32768) clipped.
std::vector<std::int16_t> ByTheRules(const Parsed& p) {
  std::vector<std::int16_t> values;
  const std::size_t bytes = static_cast<std::size_t>(p.bits / 8);
  for (std::size_t at = 0; at + bytes <= p.data.size(); at += bytes) {
    if (p.tag == 3 && bytes == 4) {
      values.push_back(FromFloat(std::bit_cast<float>(Le(p.data, at, 4))));
    } else if (p.tag == 3) {
      const std::uint64_t raw = Le(p.data, at, 4) | (std::uint64_t{Le(p.data, at + 4, 4)} << 32);
      values.push_back(FromFloat(std::bit_cast<double>(raw)));
    } else {
      // Sign-extend from the top byte, then shift.
      const auto top =
          static_cast<std::int32_t>(Le(p.data, at, static_cast<int>(bytes)) << (32 - p.bits));
      values.push_back(static_cast<std::int16_t>(top >> 16));
    }
  }
  // Whole frames only.
  values.resize(values.size() - values.size() % static_cast<std::size_t>(p.channels));
  return values;
}

class SoxWideFiles : public CliTest {
 protected:
  void SetUp() override {
    if (!HaveProgram("sox")) GTEST_SKIP() << "sox is not installed (./test.sh installs it)";
    CliTest::SetUp();
  }
};

TEST_F(SoxWideFiles, OpenWithTheRulesAppliedToWhatSoxWrote) {
  // Stereo frames of 64-bit floats: both ends of the range, beyond them (sox
  // clips for integers, keeps for floats), and values between steps.
  const double input[] = {
      1.0, -1.0, 1.5,         -1.5,         0.5, -0.25, 32767.5 / 32768, -32767.25 / 32768,
      0.1, -0.1, 1.0 / 65536, -1.0 / 65536, 0.0, 0.3};
  Bytes raw;
  for (double x : input) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    for (int i = 0; i < 8; ++i) raw.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
  }
  WriteBytes(Path("in.f64"), raw);
  const struct {
    const char* coding;
    int tag, bits;
    bool extensible;
    const char* source;
  } kCases[] = {{"-e signed-integer -b 24", 1, 24, true, "24-bit PCM"},
                {"-e floating-point -b 32", 3, 32, false, "32-bit float"},
                {"-e floating-point -b 64", 3, 64, false, "64-bit float"}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.coding);
    const std::string out = Path("sox.wav");
    // -D: no dither, so the file holds the input as closely as its coding can.
    const RunResult made = RunShell("sox -D -t raw -e floating-point -b 64 -L -r 44100 -c 2 " +
                                    Quote(Path("in.f64")) + " " + c.coding + " " + Quote(out));
    ASSERT_EQ(made.code, 0) << made.err;
    const Parsed parsed = Parse(ReadBytes(out));
    ASSERT_EQ(parsed.tag, c.tag);
    ASSERT_EQ(parsed.bits, c.bits);
    ASSERT_EQ(parsed.channels, 2);
    EXPECT_EQ(parsed.extensible, c.extensible);
    const std::vector<std::int16_t> expected = ByTheRules(parsed);
    ASSERT_EQ(expected.size(), std::size(input));
    auto sound = LoadOrFail(out);
    ASSERT_NE(sound, nullptr);
    std::vector<std::int16_t> read;
    for (std::int32_t i = 0; i < sound->GetValues(); ++i) {
      for (int ch = 0; ch < 2; ++ch) read.push_back(sound->Channel(ch)->at(i));
    }
    EXPECT_EQ(read, expected);
    // Full scale reaches both ends, whatever the coding.
    EXPECT_EQ(read[0], 32767);
    EXPECT_EQ(read[1], -32768);
    const RunResult info = RunCli({"info", out});
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_TRUE(info.out.ends_with("bits: 16\nvalues: 7\nlength: 0.00015 s\nsize: 28 b\nsource: " +
                                   std::string(c.source) + "\n"))
        << info.out;
  }
}

}  // namespace
