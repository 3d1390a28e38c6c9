#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "clisupport.h"

namespace {

using CliScore = CliTest;

const std::string kGolden =
    (std::filesystem::path(__FILE__).parent_path().parent_path() / "music" / "golden" / "score.tbm")
        .string();

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST_F(CliScore, CheckSummarisesTheScore) {
  // The reference score: two staves, the first with two keys (G at 0, F at
  // 1.5), one rest and two groups, the second with automatic sticks.
  const RunResult r = RunCli({"check", kGolden});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "tempo: 2 s\n"
            "bar: 3/8\n"
            "stave 1: AllowJoinFlags Mute; keys 2, rests 1, note groups 2\n"
            "  note group 1: notes 3; players RollOutSampler \"sample\", ResonantSampler "
            "\"Flöte\"\n"
            "  note group 2: notes 0; players RepeatWaveForm \"sample\"\n"
            "stave 2: AutoStick; keys 1, rests 0, note groups 1\n"
            "  note group 1: notes 1; players SimpleOneSampler \"sample\", RollOutWaveForm "
            "\"sample\"\n");
}

TEST_F(CliScore, RewriteWritesTheFileAsTheProgramWritesIt) {
  const std::string golden = ReadText(kGolden);
  // Line ends, blanks around texts and the skipped lines are not kept.
  std::string loose = "first line\nsecond line\n";
  for (const char c : golden.substr(golden.find("\n\n") + 1)) {
    loose += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  loose.replace(loose.find("<Count>3<"), 9, "<Count> 3 <");
  WriteText(Path("loose.tbm"), loose);
  const RunResult r = RunCli({"rewrite", Path("loose.tbm"), Path("out.tbm")});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out + r.err, "");
  EXPECT_EQ(ReadText(Path("out.tbm")), golden);
  // In place, the file stays as it is.
  EXPECT_EQ(RunCli({"rewrite", Path("out.tbm"), Path("out.tbm")}).code, 0);
  EXPECT_EQ(ReadText(Path("out.tbm")), golden);
}

TEST_F(CliScore, FailuresGiveTheirMessageAndExitCode) {
  std::string bad = ReadText(kGolden);
  bad.replace(bad.find("<KeyKind>G<"), 11, "<KeyKind>g<");
  WriteText(Path("bad.tbm"), bad);
  std::filesystem::create_directory(Path("dir.tbm"));
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string err;
  };
  const Case cases[] = {
      {{"check", Path("absent.tbm")},
       1,
       "File Error: Cannot open the file: \"" + Path("absent.tbm") + "\".\n"},
      {{"check", Path("dir.tbm")},
       1,
       "File Error: Cannot open the file: \"" + Path("dir.tbm") + "\".\n"},
      {{"check", Path("bad.tbm")},
       2,
       "Input Error: Key Kind \"g\" is not a valid Key Kind. At line 20, column 16.\n"},
      {{"rewrite", Path("bad.tbm"), Path("out.tbm")},
       2,
       "Input Error: Key Kind \"g\" is not a valid Key Kind. At line 20, column 16.\n"},
      {{"rewrite", kGolden, Path("dir.tbm")},
       1,
       "File Error: Cannot write the file: \"" + Path("dir.tbm") + "\".\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const RunResult r = RunCli(c.args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
  }
  EXPECT_FALSE(std::filesystem::exists(Path("out.tbm")));
}

TEST_F(CliScore, HelpDescribesBothCommands) {
  const RunResult overview = RunCli({"--help"});
  EXPECT_NE(overview.out.find("\n  check "), std::string::npos);
  EXPECT_NE(overview.out.find("\n  rewrite "), std::string::npos);
  EXPECT_TRUE(RunCli({"help", "check"}).out.starts_with("Usage: tonbrisk-cli check SCORE.tbm\n"));
  EXPECT_TRUE(
      RunCli({"help", "rewrite"}).out.starts_with("Usage: tonbrisk-cli rewrite IN.tbm OUT.tbm\n"));
  EXPECT_EQ(RunCli({"check"}).code, 2);
}

}  // namespace
