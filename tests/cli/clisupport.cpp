#include "clisupport.h"

#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "sound/wavetestutil.h"
#include "sound/wavfile.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

RunResult RunShell(const std::string& commandLine) {
  char pattern[] = "/tmp/tb-cli-run-XXXXXX";
  const char* dir = mkdtemp(pattern);
  RunResult result;
  if (dir == nullptr) return result;
  const std::string out = std::string(dir) + "/out";
  const std::string err = std::string(dir) + "/err";
  const int status =
      std::system(("(" + commandLine + ") >" + Quote(out) + " 2>" + Quote(err)).c_str());
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = Slurp(out);
  result.err = Slurp(err);
  std::filesystem::remove_all(dir);
  return result;
}

RunResult RunCli(const std::vector<std::string>& args) {
  std::string line = Quote(TB_CLI_PATH);
  for (const std::string& arg : args) line += " " + Quote(arg);
  return RunShell(line);
}

bool HaveProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<Sound> MakeSound(const std::vector<std::int16_t>& left,
                                 const std::vector<std::int16_t>* right, std::int32_t freq,
                                 std::int16_t bytes) {
  if (right == nullptr) return std::make_unique<MonoSound>(MakeWave(left), freq, bytes);
  return std::make_unique<StereoSound>(MakeWave(left), MakeWave(*right), freq, bytes);
}

void SaveOrFail(const Sound& sound, const std::string& path) {
  bool failed = false;
  EXPECT_TRUE(WriteWavFile(failed, path, sound, 0, -1, false)) << path;
}

std::unique_ptr<Sound> LoadOrFail(const std::string& path) {
  std::unique_ptr<Sound> sound;
  std::string message;
  EXPECT_TRUE(ReadWavFile(path, sound, message)) << path << ": " << message;
  return sound;
}

std::vector<std::int16_t> ChannelValues(const Sound& sound, int channel) {
  const Wave* wave = sound.Channel(channel);
  return std::vector<std::int16_t>(wave->data(), wave->data() + wave->getValues());
}

void CliTest::SetUp() {
  char pattern[] = "/tmp/tb-cli-test-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  dir_ = pattern;
}

void CliTest::TearDown() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}
