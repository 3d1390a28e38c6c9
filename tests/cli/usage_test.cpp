#include <gtest/gtest.h>

#include "clisupport.h"

namespace {

TEST(CliHelp, OverviewListsEveryCommandOnStandardOutput) {
  for (const char* flag : {"--help", "-h", "help"}) {
    SCOPED_TRACE(flag);
    const RunResult r = RunCli({flag});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.out.starts_with("Usage: tonbrisk-cli COMMAND"));
    for (const char* command : {"\n  info ", "\n  convert ", "\n  help "}) {
      EXPECT_NE(r.out.find(command), std::string::npos) << command;
    }
  }
}

TEST(CliHelp, CommandHelpShowsItsArguments) {
  struct Case {
    std::vector<std::string> args;
    const char* firstLine;
  };
  const Case cases[] = {
      {{"help", "info"}, "Usage: tonbrisk-cli info FILE.wav\n"},
      {{"info", "--help"}, "Usage: tonbrisk-cli info FILE.wav\n"},
      {{"help", "convert"},
       "Usage: tonbrisk-cli convert IN.wav OUT.wav [--frequency HZ] [--channels 1|2] [--bits "
       "8|16]\n"},
      {{"help", "help"}, "Usage: tonbrisk-cli help [COMMAND]\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const RunResult r = RunCli(c.args);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.out.starts_with(c.firstLine)) << r.out;
  }
}

TEST(CliUsage, WrongUsageExplainsOnStandardErrorWithCode2) {
  struct Case {
    std::vector<std::string> args;
    const char* problem;
  };
  const Case cases[] = {
      {{}, "tonbrisk-cli: no command given\n"},
      {{"play", "x.wav"}, "tonbrisk-cli: unknown command \"play\"\n"},
      {{"help", "play"}, "tonbrisk-cli: unknown command \"play\"\n"},
      {{"help", "info", "convert"}, "tonbrisk-cli: too many arguments\n"},
      {{"info"}, "tonbrisk-cli: info takes one file name\n"},
      {{"info", "a.wav", "b.wav"}, "tonbrisk-cli: info takes one file name\n"},
      {{"info", "--frequency"}, "tonbrisk-cli: unknown option \"--frequency\"\n"},
      {{"convert", "a.wav"}, "tonbrisk-cli: convert takes an input and an output file name\n"},
      {{"convert", "a.wav", "b.wav", "c.wav"},
       "tonbrisk-cli: convert takes an input and an output file name\n"},
      {{"convert", "a.wav", "b.wav", "--bits", "24"}, "tonbrisk-cli: --bits must be 8 or 16\n"},
      {{"convert", "a.wav", "b.wav", "--bits=12"}, "tonbrisk-cli: --bits must be 8 or 16\n"},
      {{"convert", "a.wav", "b.wav", "--channels", "3"},
       "tonbrisk-cli: --channels must be 1 or 2\n"},
      {{"convert", "a.wav", "b.wav", "--channels", "0"},
       "tonbrisk-cli: --channels must be 1 or 2\n"},
      {{"convert", "a.wav", "b.wav", "--frequency", "0"},
       "tonbrisk-cli: --frequency must be a whole number of Hz from 1 to 2147483647\n"},
      {{"convert", "a.wav", "b.wav", "--frequency", "22.05k"},
       "tonbrisk-cli: --frequency must be a whole number of Hz from 1 to 2147483647\n"},
      {{"convert", "a.wav", "b.wav", "--frequency", "2147483648"},
       "tonbrisk-cli: --frequency must be a whole number of Hz from 1 to 2147483647\n"},
      {{"convert", "a.wav", "b.wav", "--frequency"}, "tonbrisk-cli: --frequency needs a value\n"},
      {{"convert", "a.wav", "b.wav", "--speed", "2"}, "tonbrisk-cli: unknown option \"--speed\"\n"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& a : c.args) line += a + " ";
    SCOPED_TRACE(line);
    const RunResult r = RunCli(c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with(c.problem)) << r.err;
    EXPECT_NE(r.err.find("Usage: tonbrisk-cli "), std::string::npos) << r.err;
  }
}

}  // namespace
