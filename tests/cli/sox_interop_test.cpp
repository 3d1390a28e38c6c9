#include <gtest/gtest.h>

#include "clisupport.h"

// Files made by another program read correctly, and the other program reads
// what this one writes. sox is the other program; ./test.sh installs it.

namespace {

class SoxInterop : public CliTest {
 protected:
  void SetUp() override {
    if (!HaveProgram("sox")) GTEST_SKIP() << "sox is not installed (./test.sh installs it)";
    CliTest::SetUp();
  }
  // The samples of a file as sox decodes them, in the file's own coding.
  std::vector<std::uint8_t> SoxRaw(const std::string& path, int bits) {
    const std::string coding =
        bits == 8 ? "-e unsigned-integer -b 8" : "-e signed-integer -b 16 -L";
    const std::string raw = path + ".raw";
    const RunResult r = RunShell("sox " + Quote(path) + " -t raw " + coding + " " + Quote(raw));
    EXPECT_EQ(r.code, 0) << r.err;
    return ReadBytes(raw);
  }
  std::string SoxInfo(const std::string& path, const char* flag) {
    RunResult r = RunShell("sox --i " + std::string(flag) + " " + Quote(path));
    EXPECT_EQ(r.code, 0) << r.err;
    while (!r.out.empty() && (r.out.back() == '\n' || r.out.back() == '\r')) r.out.pop_back();
    return r.out;
  }
};

struct Format {
  int channels;
  int bits;
  int rate;
};

constexpr Format kFormats[] = {{1, 16, 8000}, {2, 16, 44100}, {1, 8, 11025}, {2, 8, 22050}};

// Interleaved samples as 16-bit values, from raw bytes in the file's coding.
std::vector<std::int16_t> Decode(const std::vector<std::uint8_t>& raw, int bits) {
  std::vector<std::int16_t> values;
  if (bits == 8) {
    for (std::uint8_t b : raw) values.push_back(static_cast<std::int16_t>((b - 128) * 256));
  } else {
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
      values.push_back(static_cast<std::int16_t>(raw[i] | (raw[i + 1] << 8)));
    }
  }
  return values;
}

std::vector<std::int16_t> Interleaved(const Sound& sound) {
  std::vector<std::int16_t> values;
  for (std::int32_t i = 0; i < sound.GetValues(); ++i) {
    for (int c = 0; c < sound.GetMoSt(); ++c) values.push_back(sound.Channel(c)->at(i));
  }
  return values;
}

TEST_F(SoxInterop, ReadsWhatSoxWrites) {
  for (const Format& f : kFormats) {
    SCOPED_TRACE(testing::Message() << f.channels << " ch " << f.bits << " bit " << f.rate);
    const std::string path = Path("sox.wav");
    // Two tones so that the channels differ.
    const RunResult made = RunShell(
        "sox -r " + std::to_string(f.rate) + " -c " + std::to_string(f.channels) + " -n -b " +
        std::to_string(f.bits) + " " + Quote(path) + " synth 1000s sine 440 sine 1000 vol 0.8");
    ASSERT_EQ(made.code, 0) << made.err;
    auto sound = LoadOrFail(path);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->GetMoSt(), f.channels);
    EXPECT_EQ(sound->GetFreq(), f.rate);
    EXPECT_EQ(sound->GetBytesPSample(), f.bits / 8);
    EXPECT_EQ(sound->GetValues(), 1000);
    const std::vector<std::int16_t> expected = Decode(SoxRaw(path, f.bits), f.bits);
    EXPECT_EQ(Interleaved(*sound), expected);
    // A tone at 0.8 of full scale is not silence.
    EXPECT_GT(sound->Channel(0)->maxAbs(0, sound->GetValues()), 20000);
  }
}

TEST_F(SoxInterop, SoxReadsWhatWeWrite) {
  for (const Format& f : kFormats) {
    SCOPED_TRACE(testing::Message() << f.channels << " ch " << f.bits << " bit " << f.rate);
    std::vector<std::int16_t> left, right;
    for (int i = 0; i < 1001; ++i) {
      left.push_back(static_cast<std::int16_t>(i * 65 - 32768));
      right.push_back(static_cast<std::int16_t>(32767 - i * 53));
    }
    auto sound = MakeSound(left, f.channels == 2 ? &right : nullptr, f.rate,
                           static_cast<std::int16_t>(f.bits / 8));
    const std::string path = Path("ours.wav");
    SaveOrFail(*sound, path);
    EXPECT_EQ(SoxInfo(path, "-c"), std::to_string(f.channels));
    EXPECT_EQ(SoxInfo(path, "-r"), std::to_string(f.rate));
    EXPECT_EQ(SoxInfo(path, "-b"), std::to_string(f.bits));
    EXPECT_EQ(SoxInfo(path, "-s"), "1001");
    // What sox decodes is what we hold, within the file's precision.
    std::vector<std::int16_t> expected = Interleaved(*sound);
    if (f.bits == 8) {
      for (auto& v : expected) v = static_cast<std::int16_t>(v / 256 * 256);
    }
    EXPECT_EQ(Decode(SoxRaw(path, f.bits), f.bits), expected);
  }
}

TEST_F(SoxInterop, ConvertAgreesWithSoxOnChannelsAndLength) {
  const std::string in = Path("in.wav");
  ASSERT_EQ(RunShell("sox -r 44100 -c 2 -n -b 16 " + Quote(in) + " synth 0.5 sine 440").code, 0);
  const RunResult r = RunCli(
      {"convert", in, Path("out.wav"), "--frequency", "22050", "--channels", "1", "--bits", "8"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(SoxInfo(Path("out.wav"), "-r"), "22050");
  EXPECT_EQ(SoxInfo(Path("out.wav"), "-c"), "1");
  EXPECT_EQ(SoxInfo(Path("out.wav"), "-b"), "8");
  // 22050 values at 44100 Hz become 11025 at 22050 Hz.
  EXPECT_EQ(SoxInfo(Path("out.wav"), "-s"), "11025");
}

}  // namespace
