#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "clisupport.h"

namespace {

using CliConvert = CliTest;
using Values = std::vector<std::int16_t>;

void Put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void PutText(std::vector<std::uint8_t>& b, const char* text) { b.insert(b.end(), text, text + 4); }

TEST_F(CliConvert, WithoutOptionsCopiesTheSamplesUnderAPlainHeader) {
  // A 16-bit mono file at 8000 Hz with a LIST chunk, as other programs write.
  std::vector<std::uint8_t> file;
  PutText(file, "RIFF");
  Put32(file, 0);
  PutText(file, "WAVE");
  PutText(file, "fmt ");
  Put32(file, 16);
  Put16(file, 1);
  Put16(file, 1);
  Put32(file, 8000);
  Put32(file, 16000);
  Put16(file, 2);
  Put16(file, 16);
  PutText(file, "LIST");
  Put32(file, 5);
  file.insert(file.end(), {'I', 'N', 'F', 'O', 'x', 0});  // 5 bytes and a pad byte
  PutText(file, "data");
  Put32(file, 6);
  for (int v : {1000, -2, 32767}) Put16(file, static_cast<std::uint16_t>(v));
  WriteBytes(Path("in.wav"), file);

  const RunResult r = RunCli({"convert", Path("in.wav"), Path("out.wav")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  const std::vector<std::uint8_t> out = ReadBytes(Path("out.wav"));
  ASSERT_EQ(out.size(), 50u);
  // The fmt chunk as it was, then straight to the data.
  EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + 12, out.begin() + 36),
            std::vector<std::uint8_t>(file.begin() + 12, file.begin() + 36));
  EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + 36, out.end()),
            std::vector<std::uint8_t>(file.end() - 14, file.end()));
}

TEST_F(CliConvert, ChangesTheFormatByThePropertiesSteps) {
  struct Case {
    const char* name;
    Values left;
    Values right;  // empty: mono
    std::vector<std::string> options;
    int channels;
    std::int32_t freq;
    int bytes;
    Values outLeft;
    Values outRight;
  };
  const Case cases[] = {
      // The mean of both channels, truncated: (3 + 4) / 2 = 3.5 -> 3.
      {"StereoToMono",
       {1000, 3, -7},
       {-1000, 4, -8},
       {"--channels", "1"},
       1,
       8000,
       2,
       {0, 3, -7},
       {}},
      {"MonoToStereo", {5, -6, 7}, {}, {"--channels", "2"}, 2, 8000, 2, {5, -6, 7}, {5, -6, 7}},
      // Only the width in the file changes; reading back gives trunc(v / 256) * 256.
      {"To8Bits", {300, -300, 32767}, {}, {"--bits", "8"}, 1, 8000, 1, {256, -256, 32512}, {}},
      // Half the frequency: 10 values become 5, read at positions 0, 2, 4, 6, 8.
      {"HalfFrequency",
       {0, 10, 20, 30, 40, 50, 60, 70, 80, 90},
       {},
       {"--frequency", "4000"},
       1,
       4000,
       2,
       {0, 20, 40, 60, 80},
       {}},
      // Means 1500 * i; at i = 0, 2, 4, 6, 8 that is 0, 3000, 6000, 9000, 12000,
      // and as 8-bit trunc(v / 256) * 256: 0, 2816, 5888, 8960, 11776.
      {"StereoToMonoHalf8Bit",
       {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000},
       {0, 2000, 4000, 6000, 8000, 10000, 12000, 14000, 16000, 18000},
       {"--frequency=4000", "--channels=1", "--bits=8"},
       1,
       4000,
       1,
       {0, 2816, 5888, 8960, 11776},
       {}},
      // Mono 8000 Hz to stereo 4000 Hz: resampled first, then duplicated.
      {"MonoToStereoAtHalf",
       {512, 0, 1024, 0},
       {},
       {"--channels", "2", "--frequency", "4000"},
       2,
       4000,
       2,
       {512, 1024},
       {512, 1024}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto sound = MakeSound(c.left, c.right.empty() ? nullptr : &c.right, 8000, 2);
    SaveOrFail(*sound, Path("in.wav"));
    std::vector<std::string> args{"convert", Path("in.wav"), Path("out.wav")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const RunResult r = RunCli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto out = LoadOrFail(Path("out.wav"));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->GetMoSt(), c.channels);
    EXPECT_EQ(out->GetFreq(), c.freq);
    EXPECT_EQ(out->GetBytesPSample(), c.bytes);
    EXPECT_EQ(ChannelValues(*out, 0), c.outLeft);
    if (c.channels == 2) {
      EXPECT_EQ(ChannelValues(*out, 1), c.outRight);
    }
  }
}

TEST_F(CliConvert, DoubleFrequencyInterpolatesBetweenValues) {
  auto sound = MakeSound({0, 100, 200, 300}, nullptr, 8000, 2);
  SaveOrFail(*sound, Path("in.wav"));
  const RunResult r = RunCli({"convert", Path("in.wav"), Path("out.wav"), "--frequency", "16000"});
  ASSERT_EQ(r.code, 0) << r.err;
  auto out = LoadOrFail(Path("out.wav"));
  ASSERT_NE(out, nullptr);
  // 8 values at positions 0, 0.5, 1, ... 3.5; the last one reads past the
  // end of the wave, so only the first seven are fixed.
  Values values = ChannelValues(*out, 0);
  ASSERT_EQ(values.size(), 8u);
  values.pop_back();
  EXPECT_EQ(values, (Values{0, 50, 100, 150, 200, 250, 300}));
}

TEST_F(CliConvert, CanReplaceItsInput) {
  auto sound = MakeSound({1, 2, 3, 4}, nullptr, 8000, 2);
  SaveOrFail(*sound, Path("song.wav"));
  const RunResult r = RunCli({"convert", Path("song.wav"), Path("song.wav"), "--channels", "2"});
  ASSERT_EQ(r.code, 0) << r.err;
  auto out = LoadOrFail(Path("song.wav"));
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->GetMoSt(), 2);
  EXPECT_EQ(ChannelValues(*out, 1), (Values{1, 2, 3, 4}));
}

TEST_F(CliConvert, UnreadableInputWritesNothing) {
  const RunResult r = RunCli({"convert", Path("absent.wav"), Path("out.wav")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "File Error: Cannot read the file: \"" + Path("absent.wav") + "\"Cannot open File.\n");
  EXPECT_FALSE(std::filesystem::exists(Path("out.wav")));
}

TEST_F(CliConvert, OutputThatCannotBeWrittenFailsAndKeepsWhatWasThere) {
  auto sound = MakeSound({1, 2}, nullptr, 8000, 2);
  SaveOrFail(*sound, Path("in.wav"));
  std::filesystem::create_directory(Path("folder"));
  for (const std::string& out : {Path("folder"), Path("missing/out.wav")}) {
    SCOPED_TRACE(out);
    const RunResult r = RunCli({"convert", Path("in.wav"), out});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "File Error: Cannot write the file: \"" + out + "\".\n");
  }
  EXPECT_TRUE(std::filesystem::is_empty(Path("folder")));
}

TEST_F(CliConvert, RefusesAResultLongerThanAWaveCanHold) {
  // 3 values at 1 Hz to 2147483647 Hz would be about 6.4e9 values.
  auto sound = MakeSound({1, 2, 3}, nullptr, 1, 2);
  SaveOrFail(*sound, Path("in.wav"));
  const RunResult r =
      RunCli({"convert", Path("in.wav"), Path("out.wav"), "--frequency", "2147483647"});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "Input Error: The converted sound would hold more than 2147483647 values.\n");
  EXPECT_FALSE(std::filesystem::exists(Path("out.wav")));
}

TEST_F(CliConvert, RefusesAFormatAWavFileCannotHoldBeforeConverting) {
  // 8 values at 8 Hz become 1073741824 stereo 16-bit values at 1073741824
  // Hz: the byte rate (x 4 = 2^32) and the data size overflow 32 bits. The
  // refusal comes before the work (which would need 4 GiB).
  auto sound = MakeSound(std::vector<std::int16_t>(8, 0), nullptr, 8, 2);
  SaveOrFail(*sound, Path("in.wav"));
  const RunResult r = RunCli(
      {"convert", Path("in.wav"), Path("out.wav"), "--frequency", "1073741824", "--channels", "2"});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "Input Error: The result is too long for a WAV file.\n");
  EXPECT_FALSE(std::filesystem::exists(Path("out.wav")));
}

}  // namespace
