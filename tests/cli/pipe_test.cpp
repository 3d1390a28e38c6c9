#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "clisupport.h"

// Standard input and output ("-"), signals in the middle of a save, and
// inputs that are not files.

namespace {

using CliPipe = CliTest;

std::string Cli() { return Quote(TB_CLI_PATH); }

TEST_F(CliPipe, StreamsGiveTheFileToFileResultsByteForByte) {
  std::vector<std::int16_t> left, right;
  for (int i = 0; i < 70000; ++i) {
    left.push_back(static_cast<std::int16_t>(i * 37));
    right.push_back(static_cast<std::int16_t>(-i * 11));
  }
  auto sound = MakeSound(left, &right, 22050, 2);
  const std::string in = Quote(Path("in.wav"));
  SaveOrFail(*sound, Path("in.wav"));
  struct Case {
    std::string fromFiles;  // with IN and OUT for the files
    std::string fromPipe;   // reading standard input, writing standard output
  };
  const Case cases[] = {
      {"info " + in, "info - < " + in},
      {"apply " + in + " OUT Reverse", "apply - - Reverse < " + in},
      {"convert " + in + " OUT --bits 8", "cat " + in + " | " + Cli() + " convert - - --bits 8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fromPipe);
    std::string files = c.fromFiles;
    const bool writes = files.find(" OUT") != std::string::npos;
    if (writes) files.replace(files.find(" OUT"), 4, " " + Quote(Path("out.wav")));
    const RunResult a = RunShell(Cli() + " " + files);
    ASSERT_EQ(a.code, 0) << a.err;
    std::string pipe = c.fromPipe;
    if (!pipe.starts_with("cat ")) pipe = Cli() + " " + pipe;
    const RunResult b = RunShell(pipe);
    ASSERT_EQ(b.code, 0) << b.err;
    EXPECT_EQ(b.err, "");
    if (writes) {
      const std::vector<std::uint8_t> file = ReadBytes(Path("out.wav"));
      EXPECT_EQ(std::vector<std::uint8_t>(b.out.begin(), b.out.end()), file);
    } else {
      EXPECT_EQ(b.out, a.out);
    }
  }
}

TEST_F(CliPipe, ACutStreamFailsInItsHeaderAndLoadsWholeFramesInItsData) {
  auto sound = MakeSound({100, 200, 300, 400}, nullptr, 8000, 2);
  SaveOrFail(*sound, Path("in.wav"));
  const std::string in = Quote(Path("in.wav"));
  // 30 bytes end inside the fmt chunk; 44 + 5 bytes hold two whole values.
  const RunResult header = RunShell("head -c 30 " + in + " | " + Cli() + " info -");
  EXPECT_EQ(header.code, 1);
  EXPECT_EQ(header.err, "File Error: Cannot read the file: \"-\"\"data\" not found.\n");
  const RunResult data = RunShell("head -c 49 " + in + " | " + Cli() + " apply - " +
                                  Quote(Path("out.wav")) + " Reverse");
  ASSERT_EQ(data.code, 0) << data.err;
  EXPECT_EQ(ChannelValues(*LoadOrFail(Path("out.wav")), 0), (std::vector<std::int16_t>{200, 100}));
}

TEST_F(CliPipe, OneArgumentEachMayUseStandardInputAndOutput) {
  struct Case {
    std::vector<std::string> args;
    const char* problem;
  };
  const Case cases[] = {
      {{"apply", "-", "out.wav", "Volume", "Envelope=e", "--wave", "e=-"},
       "tonbrisk-cli: only one file can be standard input (\"-\")\n"},
      {{"apply", "in.wav", "-", "EditCopy", "--clipboard-out", "-"},
       "tonbrisk-cli: only one file can be standard output (\"-\")\n"},
      {{"apply", "in.wav", "-", "Reverse", "--print-selection"},
       "tonbrisk-cli: --print-selection cannot share standard output with the WAV data\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.problem);
    const RunResult r = RunCli(c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with(c.problem)) << r.err;
  }
}

TEST_F(CliPipe, AClosedPipeIsAWriteErrorWithExitCode1) {
  auto sound = MakeSound(std::vector<std::int16_t>(200000, 7), nullptr, 8000, 2);
  SaveOrFail(*sound, Path("in.wav"));
  // The reader is gone before the first byte: `true` reads nothing.
  const RunResult r = RunShell("(" + Cli() + " apply " + Quote(Path("in.wav")) +
                               " - Reverse; echo code $? >&2) | true");
  EXPECT_NE(r.err.find("File Error: Cannot write the file: \"-\".\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("code 1\n"), std::string::npos) << r.err;
}

TEST_F(CliPipe, WhatIsNotARegularFileIsRefusedAtOnce) {
  // A FIFO without a writer used to hang, /dev/zero to eat all memory; an
  // endless stream on standard input fails at its header.
  ASSERT_EQ(RunShell("mkfifo " + Quote(Path("fifo"))).code, 0);
  struct Case {
    std::string line;
    std::string err;
  };
  const Case cases[] = {
      {Cli() + " info " + Quote(Path("fifo")), "File Error: Cannot read the file: \"" +
                                                   Path("fifo") +
                                                   "\"The file is not a regular file.\n"},
      {Cli() + " convert /dev/zero " + Quote(Path("out.wav")),
       "File Error: Cannot read the file: \"/dev/zero\"The file is not a regular file.\n"},
      {Cli() + " info - < /dev/zero",
       "File Error: Cannot read the file: \"-\"\"RIFF\" not found.\n"},
      {"yes | " + Cli() + " apply - - Reverse",
       "File Error: Cannot read the file: \"-\"\"RIFF\" not found.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const RunResult r = RunShell("timeout 20 " + c.line);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, c.err);
  }
  EXPECT_FALSE(std::filesystem::exists(Path("out.wav")));
}

TEST_F(CliPipe, VersionAndHelpAfterAnyCommand) {
  struct Case {
    std::vector<std::string> args;
    const char* firstLine;
  };
  const Case cases[] = {
      {{"--version"}, "tonbrisk-cli 7.0\n"},
      {{"convert", "a.wav", "--bits", "--help"}, "Usage: tonbrisk-cli convert IN.wav"},
      {{"apply", "a.wav", "b.wav", "Volume", "--help"},
       "Usage: tonbrisk-cli apply IN.wav OUT.wav Volume"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.firstLine);
    const RunResult r = RunCli(c.args);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.out.starts_with(c.firstLine)) << r.out;
  }
}

TEST_F(CliPipe, ASignalDuringASaveLeavesTheOldFileAndNoTemporary) {
  // 2000 s of silence, mono 16-bit, is a 176 MB save; SIGTERM comes as soon
  // as its temporary file shows.
  WriteBytes(Path("out.wav"), {'o', 'l', 'd'});
  auto sound = MakeSound({0}, nullptr, 44100, 2);
  SaveOrFail(*sound, Path("in.wav"));
  const std::string line = Cli() + " apply " + Quote(Path("in.wav")) + " " +
                           Quote(Path("out.wav")) + " MakeSilence 'Length=2000 s' & pid=$!; " +
                           "i=0; until ls " + Quote(dir_) +
                           " | grep -q tmp- || [ $i -ge 20000 ]; do i=$((i+1)); done; " +
                           "kill -TERM $pid; wait $pid; echo $?";
  const RunResult r = RunShell(line);
  EXPECT_EQ(r.out, "143\n");  // 128 + SIGTERM: ended by the signal
  EXPECT_EQ(ReadBytes(Path("out.wav")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir_)) {
    names.push_back(e.path().filename());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"in.wav", "out.wav"}));
}

TEST_F(CliPipe, ALongRunShowsProgressOnATerminalOnly) {
  if (!HaveProgram("script")) GTEST_SKIP() << "script (util-linux) gives no terminal here";
  // 3000 low-pass passes over 5 s of mono take seconds. The same run goes
  // once with standard error in a file and at the same time on a terminal.
  auto sound = MakeSound(std::vector<std::int16_t>(220500, 1000), nullptr, 44100, 2);
  SaveOrFail(*sound, Path("in.wav"));
  const auto run = [&](const char* out) {
    return Cli() + " apply " + Quote(Path("in.wav")) + " " + Quote(Path(out)) +
           " FilterLow Count=3000";
  };
  const auto start = std::chrono::steady_clock::now();
  const RunResult r =
      RunShell(run("plain.wav") + " 2>" + Quote(Path("plain.err")) + " & script -qfec " +
               Quote(run("terminal.wav")) + " /dev/null; wait $! && echo both done >&2");
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(r.code, 0) << r.out;
  ASSERT_EQ(r.err, "both done\n");
  EXPECT_TRUE(ReadBytes(Path("plain.err")).empty());
  // Progress starts after a second of the run and comes four times a second:
  // only a run well past that must have shown some, however loaded the
  // machine is.
  if (took < std::chrono::milliseconds(2000)) GTEST_SKIP() << "too fast to show progress";
  EXPECT_NE(r.out.find(" %\r"), std::string::npos) << r.out;
}

TEST_F(CliPipe, SoxPipesThroughTheProgram) {
  if (!HaveProgram("sox")) GTEST_SKIP() << "sox is not installed (./test.sh installs it)";
  const RunResult r =
      RunShell("sox -n -t wav - synth 1 sine 440 2>/dev/null | " + Cli() +
               " apply - - Volume 'Constant=-6 dB' | sox -t wav - " + Quote(Path("out.wav")));
  ASSERT_EQ(r.code, 0) << r.err;
  auto sound = LoadOrFail(Path("out.wav"));
  ASSERT_NE(sound, nullptr);
  // sox's synth writes 32-bit integers in the extensible format at 48 kHz:
  // one second, read as 16-bit values.
  EXPECT_EQ(sound->GetValues(), 48000);
  EXPECT_EQ(sound->GetFreq(), 48000);
}

}  // namespace
