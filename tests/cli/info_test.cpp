#include <gtest/gtest.h>

#include "clisupport.h"

namespace {

using CliInfo = CliTest;

TEST_F(CliInfo, PrintsTheFiveLinesOfTheFormat) {
  struct Case {
    const char* name;
    int channels;
    std::int32_t freq;
    std::int16_t bytes;
    std::size_t values;
    const char* expected;
  };
  const Case cases[] = {
      // 12345 / 8000 = 1.543125: truncated, not rounded, to five decimals;
      // 12345 x 2 x 2 = 49380 bytes = 48.22 kb, one decimal below 100.
      {"Stereo16", 2, 8000, 2, 12345,
       "channels: 2\nfrequency: 8000\nbits: 16\nvalues: 12345\nlength: 1.54312 s\n"
       "size: 48.2 kb\n"},
      // 1 / 11025 = 0.0000907...; one byte.
      {"Mono8", 1, 11025, 1, 1,
       "channels: 1\nfrequency: 11025\nbits: 8\nvalues: 1\nlength: 0.00009 s\nsize: 1 b\n"},
      // 132300 / 44100 = 3 exactly; 264600 bytes = 258.4 kb, no decimal from 100.
      {"ThreeSeconds", 1, 44100, 2, 132300,
       "channels: 1\nfrequency: 44100\nbits: 16\nvalues: 132300\nlength: 3.00000 s\n"
       "size: 258 kb\n"},
      {"Empty", 2, 22050, 1, 0,
       "channels: 2\nfrequency: 22050\nbits: 8\nvalues: 0\nlength: 0.00000 s\nsize: 0 b\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::int16_t> values(c.values, 5);
    auto sound = MakeSound(values, c.channels == 2 ? &values : nullptr, c.freq, c.bytes);
    const std::string path = Path(std::string(c.name) + ".wav");
    SaveOrFail(*sound, path);
    const RunResult r = RunCli({"info", path});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, c.expected);
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(CliInfo, UnreadableFileGivesTheReadersMessageAndExitCode1) {
  WriteBytes(Path("text.wav"), {'h', 'e', 'l', 'l', 'o'});
  struct Case {
    std::string path;
    std::string reason;
  };
  const Case cases[] = {
      {Path("absent.wav"), "Cannot open File."},
      {Path("text.wav"), "\"RIFF\" not found."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const RunResult r = RunCli({"info", c.path});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    // The reason follows the closing quote directly.
    EXPECT_EQ(r.err, "File Error: Cannot read the file: \"" + c.path + "\"" + c.reason + "\n");
  }
}

}  // namespace
