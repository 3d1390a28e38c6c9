#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sound/sound.h"

// Running tonbrisk-cli (and other programs) and making WAV files for them.

struct RunResult {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs a shell command line with standard output and error captured.
RunResult RunShell(const std::string& commandLine);
// Runs tonbrisk-cli with the arguments (each quoted for the shell).
RunResult RunCli(const std::vector<std::string>& args);
std::string Quote(const std::string& text);
bool HaveProgram(const std::string& name);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

std::unique_ptr<Sound> MakeSound(const std::vector<std::int16_t>& left,
                                 const std::vector<std::int16_t>* right, std::int32_t freq,
                                 std::int16_t bytes);
// Writes the whole sound with the program's writer.
void SaveOrFail(const Sound& sound, const std::string& path);
// Reads a file with the program's reader; null (and a test failure) if it cannot.
std::unique_ptr<Sound> LoadOrFail(const std::string& path);
std::vector<std::int16_t> ChannelValues(const Sound& sound, int channel);

// A fresh directory per test, removed afterwards.
class CliTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
};
