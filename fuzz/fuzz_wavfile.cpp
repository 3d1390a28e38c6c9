// libFuzzer target: the WAV reader over arbitrary bytes, from memory so no
// disk is involved.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/userinterface.h"
#include "sound/wavfile.h"

namespace {

// The reader may report an allocation failure; keep the fuzzer's output clean.
class SilentUi : public UserInterface {
 public:
  MessageResult ShowMessage(const std::string&, const std::string&, MessageIcon,
                            MessageButtons) override {
    return MessageResult::Ok;
  }
  void BeginWait() override {}
  void EndWait() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SilentUi ui;
  static ScopedUserInterface scope(ui);
  std::unique_ptr<Sound> sound;
  std::string message;
  if (ReadWavBytes(data, size, sound, message)) {
    // Touch every value so that a wrong length shows up under the sanitizers.
    std::int32_t sum = 0;
    for (int c = 0; c < sound->GetMoSt(); ++c) {
      const Wave* wave = sound->Channel(c);
      for (std::int32_t i = 0; i < wave->getValues(); ++i) sum += wave->at(i);
    }
    volatile std::int32_t sink = sum;
    (void)sink;
  }
  return 0;
}
