#include <gtest/gtest.h>

#include <filesystem>

#include "clisupport.h"

namespace {

class CliApplyTest : public CliTest {
 protected:
  std::string Mono(const std::string& name, const std::vector<std::int16_t>& values,
                   std::int32_t freq = 1000) {
    const std::string path = Path(name);
    SaveOrFail(*MakeSound(values, nullptr, freq, 2), path);
    return path;
  }
};

TEST_F(CliApplyTest, RunsCommandsInOrderOnTheSelection) {
  const std::string in = Mono("in.wav", {100, 200, 300, 400});
  const std::string out = Path("out.wav");
  // Volume 50 % on values 1 ... 3, then Reverse of the same selection.
  const RunResult r = RunCli({"apply", in, out, "Volume", "Constant=50 %", "--", "Reverse",
                              "--select", "1", "3", "--print-selection"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "selection: 1 3\n");
  auto sound = LoadOrFail(out);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(ChannelValues(*sound, 0), (std::vector<std::int16_t>{100, 150, 100, 400}));
}

TEST_F(CliApplyTest, GeneratorsInsertAtTheCursorAndSelectTheResult) {
  const std::string in = Mono("in.wav", {7, 7, 7, 7});
  const std::string out = Path("out.wav");
  // 2 ms at 1000 Hz is trunc(1000 x 0.002 + 1) = 3 values of silence, at the
  // cursor given as a time (1 ms = value 1).
  const RunResult r = RunCli(
      {"apply", in, out, "MakeSilence", "Length=2 ms", "--cursor", "1 ms", "--print-selection"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "selection: 1 4\n");
  auto sound = LoadOrFail(out);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(ChannelValues(*sound, 0), (std::vector<std::int16_t>{7, 0, 0, 0, 7, 7, 7}));
}

TEST_F(CliApplyTest, InputErrorsUseTheDialogsMessagesAndExitTwo) {
  const std::string in = Mono("in.wav", {1, 2, 3});
  const std::string out = Path("out.wav");
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{"Volume", "Constant=abc"}, "Input Error: In Constant: Input has no value.\n"},
      {{"Volume", "Envelope="}, "Input Error: In Envelope: You have to select a Wave\n"},
      {{"Block", "horizontal count=0"},
       "Input Error: In  Horizontal Count: Value must be positive and more than 0.\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"apply", in, out};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const RunResult r = RunCli(args);
    EXPECT_EQ(r.code, 2) << c.args[1];
    EXPECT_EQ(r.err, c.err);
  }
  // Nothing was written.
  EXPECT_TRUE(ReadBytes(out).empty());

  // A stereo 16-bit WAV file holds (2^32 - 1 - 36) / 4 = 1073741814 values a
  // channel; 1100000 s at 1000 Hz is 1100000001, refused before the 4.4 GB
  // of silence are made (so the step that would delete them never runs).
  const std::string stereo = Path("stereo.wav");
  const std::vector<std::int16_t> right{2};
  SaveOrFail(*MakeSound({1}, &right, 1000, 2), stereo);
  const RunResult tooLong =
      RunCli({"apply", stereo, out, "MakeSilence", "Length=1100000 s", "--", "EditDelete"});
  EXPECT_EQ(tooLong.code, 2);
  EXPECT_EQ(tooLong.err, "Input Error: The result is too long for a WAV file.\n");
  EXPECT_TRUE(ReadBytes(out).empty());
}

TEST_F(CliApplyTest, UsageFileAndEnvelopeCases) {
  const std::string in = Mono("in.wav", {1000, 1000, 1000});
  const std::string out = Path("out.wav");
  EXPECT_EQ(RunCli({"apply", in, out, "Sharpen"}).code, 2);
  EXPECT_EQ(RunCli({"apply", in, out, "Volume", "Loudness=2"}).code, 2);
  // A wrong label in a later step stops everything before the first step.
  const RunResult late = RunCli({"apply", in, out, "Reverse", "--", "Length", "Factor=2"});
  EXPECT_EQ(late.code, 2);
  EXPECT_EQ(late.err.rfind("tonbrisk-cli: \"Factor\" is not a field of \"Change Length\"\n", 0), 0U)
      << late.err;
  EXPECT_TRUE(ReadBytes(out).empty());
  EXPECT_EQ(RunCli({"apply", in, out, "Volume", "--", "--"}).code, 2);
  const RunResult unwritable = RunCli({"apply", in, Path("no/such/dir.wav"), "Reverse"});
  EXPECT_EQ(unwritable.code, 1);
  EXPECT_EQ(unwritable.err,
            "File Error: Cannot write the file: \"" + Path("no/such/dir.wav") + "\".\n");
  const RunResult missing = RunCli({"apply", Path("none.wav"), out, "Reverse"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err,
            "File Error: Cannot read the file: \"" + Path("none.wav") + "\"Cannot open File.\n");
  // An envelope of 32767 everywhere keeps the values: e x s / 32767 = s.
  const std::string envelope = Mono("env.wav", {32767, 32767});
  const RunResult r =
      RunCli({"apply", in, out, "Volume", "Envelope=loud", "--wave", "loud=" + envelope});
  EXPECT_EQ(r.code, 0) << r.err;
  auto sound = LoadOrFail(out);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(ChannelValues(*sound, 0), (std::vector<std::int16_t>{1000, 1000, 1000}));
}

TEST_F(CliApplyTest, ClipboardInAndOutAndProperties) {
  const std::string in = Mono("in.wav", {1, 2, 3, 4});
  const std::string clip = Mono("clip.wav", {-5, -6});
  const std::string out = Path("out.wav");
  const std::string clipOut = Path("clipout.wav");
  // Paste at the cursor, then cut values 0 ... 2 into the clipboard.
  const RunResult r = RunCli({"apply", in, out, "EditPaste", "--", "EditCut", "--cursor", "2",
                              "--clipboard", clip, "--clipboard-out", clipOut});
  EXPECT_EQ(r.code, 0) << r.err;
  auto sound = LoadOrFail(out);
  auto cut = LoadOrFail(clipOut);
  ASSERT_NE(sound, nullptr);
  ASSERT_NE(cut, nullptr);
  // After the paste the pasted part (2 ... 4) is selected and Cut removes it.
  EXPECT_EQ(ChannelValues(*sound, 0), (std::vector<std::int16_t>{1, 2, 3, 4}));
  EXPECT_EQ(ChannelValues(*cut, 0), (std::vector<std::int16_t>{-5, -6}));
  // An empty clipboard to write is refused before anything is written.
  const std::string fresh = Path("fresh.wav");
  const RunResult empty = RunCli({"apply", in, fresh, "Reverse", "--clipboard-out", clipOut});
  EXPECT_EQ(empty.code, 2);
  EXPECT_TRUE(empty.err.starts_with("tonbrisk-cli: the clipboard is empty: nothing to write\n"));
  EXPECT_FALSE(std::filesystem::exists(fresh));
  const RunResult props = RunCli({"apply", in, out, "FileProperties", "Channels=2", "Bits=8"});
  EXPECT_EQ(props.code, 0) << props.err;
  const RunResult info = RunCli({"info", out});
  EXPECT_NE(info.out.find("channels: 2\n"), std::string::npos);
  EXPECT_NE(info.out.find("bits: 8\n"), std::string::npos);
}

TEST_F(CliApplyTest, HelpListsTheFieldsOfAWaveCommand) {
  const RunResult r = RunCli({"help", "Volume"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("\"Constant\""), std::string::npos);
  EXPECT_NE(r.out.find("unitVolumeFactor"), std::string::npos);
  EXPECT_NE(r.out.find("'50 %'"), std::string::npos);
  const RunResult mix = RunCli({"help", "EditMix"});
  EXPECT_NE(mix.out.find("Align Begin | Align End | Stretch"), std::string::npos);
  // What the wave must be, so "cannot run on this wave" is no riddle.
  EXPECT_NE(RunCli({"help", "Balance"}).out.find("\nNeeds a mono wave with values.\n"),
            std::string::npos);
}

}  // namespace
