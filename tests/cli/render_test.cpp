#include <gtest/gtest.h>

#include <fstream>

#include "clisupport.h"

namespace {

using CliRender = CliTest;

// One stave: a whole A at 0 (and a quarter at 1 when `second`), tempo 1 s,
// played by `player`.
std::string Score(const std::string& player, bool second = false) {
  std::string notes =
      "      <Note>\n        <Position>0</Position>\n        <Length>1</Length>\n"
      "        <Height>-1</Height>\n      </Note>\n";
  if (second) {
    notes +=
        "      <Note>\n        <Position>1</Position>\n        <Length>4</Length>\n"
        "        <Height>-1</Height>\n      </Note>\n";
  }
  return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
         "<!DOCTYPE UnitMuz SYSTEM \"UnitMuz.dtd\">\n\n<UnitMuz>\n"
         "  <Version>7.0</Version>\n  <Tempo>1 s</Tempo>\n"
         "  <Bar>\n    <Count>4</Count>\n    <Length>4</Length>\n  </Bar>\n"
         "  <Stave>\n    <RoomUp>80</RoomUp>\n    <RoomDown>80</RoomDown>\n"
         "    <ForegroundColor>000000</ForegroundColor>\n"
         "    <BackgroundColor>FFFFFF</BackgroundColor>\n    <Key>\n      <Position>0</Position>\n "
         "     <KeyKind>G</KeyKind>\n"
         "    </Key>\n    <NoteGroup>\n      <NoteColor>000000</NoteColor>\n"
         "      <NoteShapeNormal />\n      <CompoundPlayer>\n" +
         player + "      </CompoundPlayer>\n" + notes +
         "    </NoteGroup>\n  </Stave>\n</UnitMuz>\n";
}

const std::string kSimple =
    "        <SimpleOneSampler>\n          <BasicFreq>440 Hz</BasicFreq>\n"
    "          <SampleWave>sample</SampleWave>\n          <VolumeFactor>0.5</VolumeFactor>\n"
    "        </SimpleOneSampler>\n";

void Write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A 0.5 s sample at 22050 Hz, all values `value`.
void WriteSample(const std::string& path, std::int16_t value) {
  const std::vector<std::int16_t> values(11025, value);
  SaveOrFail(*MakeSound(values, nullptr, 22050, 2), path);
}

// The whole note plays the sample at its own speed, scaled by 0.5, in the
// format the options give; the last --wave of a name wins.
TEST_F(CliRender, RendersInTheFormatTheOptionsGive) {
  Write(Path("score.tbm"), Score(kSimple));
  WriteSample(Path("a.wav"), 1000);
  WriteSample(Path("b.wav"), 2000);
  const struct {
    std::vector<std::string> options;
    int channels;
    std::int32_t freq, values;
    std::int16_t value;
  } cases[] = {
      {{"--wave", "sample=a.wav"}, 1, 22050, 11026, 500},
      {{"--wave", "sample=a.wav", "--wave", "sample=b.wav"}, 1, 22050, 11026, 1000},
      {{"--wave", "sample=a.wav", "--channels", "2", "--frequency", "11025"}, 2, 11025, 5513, 500},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"render", Path("score.tbm"), Path("out.wav")};
    for (const std::string& option : c.options) {
      args.push_back(option.find(".wav") != std::string::npos
                         ? option.substr(0, 7) + Path(option.substr(7))
                         : option);
    }
    const RunResult r = RunCli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    const std::unique_ptr<Sound> out = LoadOrFail(Path("out.wav"));
    ASSERT_TRUE(out != nullptr);
    EXPECT_EQ(out->GetMoSt(), c.channels);
    EXPECT_EQ(out->GetFreq(), c.freq);
    EXPECT_EQ(out->GetValues(), c.values);
    for (int channel = 0; channel < c.channels; ++channel) {
      EXPECT_EQ(ChannelValues(*out, channel)[100], c.value);
    }
  }
}

// The roll-out sampler with its middle part selected from 0.25 s: the
// output starts with 0.25 s of attack before the beat (r = 1).
TEST_F(CliRender, WaveSelectIsTheMiddlePart) {
  Write(
      Path("score.tbm"),
      Score("        <RollOutSampler>\n          <BasicFreq>440 Hz</BasicFreq>\n"
            "          <SampleWave>sample</SampleWave>\n          <VolumeFactor>1</VolumeFactor>\n"
            "        </RollOutSampler>\n"));
  WriteSample(Path("a.wav"), 1000);
  const RunResult r =
      RunCli({"render", Path("score.tbm"), Path("out.wav"), "--wave", "sample=" + Path("a.wav"),
              "--wave-select", "sample", "0.25 s", "11025"});
  ASSERT_EQ(r.code, 0) << r.err;
  // '0.25 s' selects from value 5512: 5512 values of lead-in, then 4 cycles
  // of the 5513-value middle part (trunc(1 / 0.25002 + 0.5)), and one value.
  EXPECT_EQ(LoadOrFail(Path("out.wav"))->GetValues(), 5512 + 4 * 5513 + 1);
}

TEST_F(CliRender, FailuresAndExitCodes) {
  Write(Path("score.tbm"), Score(kSimple, true));
  Write(Path("bad.tbm"), "<UnitMuz>\n");
  Write(Path("empty.tbm"),
        Score(kSimple).replace(
            Score(kSimple).find("      <Note>"),
            Score(kSimple).find("    </NoteGroup>") - Score(kSimple).find("      <Note>"), ""));
  WriteSample(Path("a.wav"), 1000);
  const std::string wave = "sample=" + Path("a.wav");
  const struct {
    std::vector<std::string> args;
    int code;
    const char* err;
  } cases[] = {
      {{"score.tbm", "out.wav"}, 3, "Error: Cannot create music: Cannot find window \"sample\".\n"},
      {{"score.tbm", "out.wav", "--wave", wave, "--group", "1.2"}, 2, nullptr},
      {{"score.tbm", "out.wav", "--stave", "0"}, 2, nullptr},
      {{"score.tbm", "out.wav", "--bits", "12"}, 2, nullptr},
      {{"bad.tbm", "out.wav"}, 2, nullptr},
      {{"missing.tbm", "out.wav"}, 1, nullptr},
      {{"score.tbm", "no/such/dir/out.wav", "--wave", wave}, 1, nullptr},
      {{"empty.tbm", "out.wav"}, 0, ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"render"};
    for (const std::string& arg : c.args) {
      args.push_back(arg.ends_with(".tbm") || arg.ends_with("out.wav") ? Path(arg) : arg);
    }
    const RunResult r = RunCli(args);
    EXPECT_EQ(r.code, c.code) << args[1] << ' ' << r.err;
    if (c.err != nullptr) {
      EXPECT_EQ(r.err, c.err);
    }
  }
  EXPECT_EQ(LoadOrFail(Path("out.wav"))->GetValues(), 0);
}

}  // namespace
