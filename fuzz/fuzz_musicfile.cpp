// libFuzzer target: arbitrary bytes as a music file. Besides crashes, hangs
// and sanitizer reports it stops on a broken promise of the loader: a file
// that loads builds a score the model accepts, and the file the program
// writes for that score loads again to the same file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "music/musicfile.h"
#include "music/unitmuz.h"

namespace {

void Check(bool promise) {
  if (!promise) std::abort();
}

std::string Written(const TMusicFileScore& score) {
  TUnitMuz unit("fuzz.tbm");
  BuildScore(unit, score);
  std::string bytes;
  std::string badText;
  Check(XMLFileText(*MusicFileTree(MusicFileScoreOf(unit)), bytes, badText));
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  TMusicFileScore score;
  std::string message;
  if (!ReadMusicFileScore(in, score, message)) {
    Check(!message.empty());
    return 0;
  }
  const std::string first = Written(score);
  std::istringstream again(first);
  TMusicFileScore reread;
  Check(ReadMusicFileScore(again, reread, message));
  return 0;
}
