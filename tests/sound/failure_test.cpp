#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "base/allocation.h"
#include "sound/sinetable.h"
#include "support/recordingui.h"
#include "wavetestutil.h"

// Every operation of the library under the two failures it can meet: a flag
// already set (nothing done, no result, no message) and a shortage of memory
// (one "System Error" message, the flag set, no result). A shortage is either
// injected after a number of granted allocations (1 on a stereo sound: the
// left channel is granted, the right one refused) or asked for: a duration,
// count or factor whose result no 32-bit count can hold, which must be
// refused without allocating, asserting or overflowing on the way. In every
// case the sources stay as they were.

namespace {

using V = std::vector<std::int16_t>;

constexpr int kHuge = -1;  // no injected failure: the result itself is too large
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();

class SoundFailure : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateSineTable()); }
  void TearDown() override {
    FailAllocationAfter(-1);
    DestroySineTable();
    EXPECT_EQ(ValuesOf(w.get()), (V{1, 2, 3, 4}));
    EXPECT_EQ(ValuesOf(env.get()), (V{32767, 32767}));
    EXPECT_EQ(ValuesOf(mono->GetLeft()), (V{1, 2, 3}));
    EXPECT_EQ(ValuesOf(stereo->GetLeft()), (V{1, 2, 3}));
    EXPECT_EQ(ValuesOf(stereo->GetRight()), (V{4, 5, 6}));
  }

  struct Row {
    std::string name;
    int successes;                   // granted allocations, or kHuge
    std::function<bool(bool&)> run;  // true when it gave a result
  };

  // Runs `op` on a range 1 ... 2 (or `b` ... `e`) passed by reference.
  template <class Op>
  static std::function<bool(bool&)> Ranged(std::int32_t b, std::int32_t e, Op op) {
    return [=](bool& f) {
      std::int32_t begin = b;
      std::int32_t end = e;
      return op(f, begin, end) != nullptr;
    };
  }

  std::vector<Row> Rows() {
    const double one[1] = {1};
    std::vector<Row> rows = {
        // wave generators
        {"silence", 0,
         Ranged(1, 2, [this](bool& f, auto& b, auto& e) { return w->silence(f, 3, b, e); })},
        {"line", 0,
         Ranged(1, 2, [this](bool& f, auto& b, auto& e) { return w->line(f, 0, 9, 3, b, e); })},
        {"expLine", 0,
         Ranged(1, 2, [this](bool& f, auto& b, auto& e) { return w->expLine(f, 1, 9, 3, b, e); })},
        {"noise", 0,
         Ranged(1, 2, [this](bool& f, auto& b, auto& e) { return w->noise(f, 100, 3, b, e); })},
        {"blockWave", 0,
         Ranged(1, 2,
                [this](bool& f, auto& b, auto& e) {
                  return w->blockWave(f, 0, 9, 4, 0.5, 3, 0, true, b, e);
                })},
        {"blockWaveEnvelope", 0,
         Ranged(1, 2,
                [this](bool& f, auto& b, auto& e) {
                  return w->blockWaveEnvelope(f, 0, 9, 4, *w, 3, 0, true, b, e);
                })},
        {"sinus", 0,
         Ranged(1, 2,
                [this](bool& f, auto& b, auto& e) { return w->sinus(f, 9, -9, 4, 1, 0, b, e); })},
        // wave volume and shape
        {"volume", 0, [this](bool& f) { return w->volume(f, 2, 1, 3) != nullptr; }},
        {"volumeEnvelope", 0,
         [this](bool& f) { return w->volumeEnvelope(f, *w, 1, 3) != nullptr; }},
        {"reverse", 0, [this](bool& f) { return w->reverse(f, 1, 3) != nullptr; }},
        {"up", 0, [this](bool& f) { return w->up(f, 2, 1, 3) != nullptr; }},
        {"block", 0, [this](bool& f) { return w->block(f, 2, 0, 1, 3) != nullptr; }},
        {"rotate", 0, [this](bool& f) { return w->rotate(f, 1, 1, 3) != nullptr; }},
        {"distort", 0, [this](bool& f) { return w->distort(f, *w, 1, 3) != nullptr; }},
        {"rollIn", 0,
         Ranged(1, 3, [this](bool& f, auto& b, auto& e) { return w->rollIn(f, 2, 0, b, e); })},
        {"rollOutForm", 0,
         Ranged(1, 3,
                [this](bool& f, auto& b, auto& e) {
                  return w->rollOutForm(f, *w, 2, 1, 0, 1, 3, b, e);
                })},
        {"rollOutEnvelope", 0,
         Ranged(1, 3,
                [this](bool& f, auto& b, auto& e) {
                  return w->rollOutEnvelope(f, *w, 1, 1, 0, b, e);
                })},
        // wave filters
        {"lowPass", 0, [this](bool& f) { return w->lowPass(f, 5, 0.5, 1, 1, 0, 4) != nullptr; }},
        {"highPassEnvelope", 0,
         [this](bool& f) {
           return w->highPassEnvelope(f, *env, 0.5, 1, 1, 44100, 0, 4) != nullptr;
         }},
        {"resonant", 0, [this](bool& f) { return w->resonant(f, 5, 0.5, 0, 4) != nullptr; }},
        {"notchEnvelopes", 0,
         [this](bool& f) { return w->notchEnvelopes(f, *env, *env, 44100, 0, 4) != nullptr; }},
        {"resonantPair", 1,
         [this](bool& f) {
           const Wave* in[2] = {w.get(), w.get()};
           std::unique_ptr<Wave> out[2];
           Wave::resonantPair(f, false, in, out, 2, 5, 0.5, 0, 4);
           return out[1] != nullptr;
         }},
        {"blockFilter", 0,
         Ranged(0, 4, [this](bool& f, auto& b, auto& e) { return w->blockFilter(f, 5, b, e); })},
        {"blockFilterEnvelope", 0,
         Ranged(0, 4,
                [this](bool& f, auto& b, auto& e) {
                  return w->blockFilterEnvelope(f, 5, *env, b, e);
                })},
        // wave tempo
        {"lengthFactor", 0,
         Ranged(0, 4, [this](bool& f, auto& b, auto& e) { return w->lengthFactor(f, 2, b, e); })},
        {"tempoPitchCross", 0,
         Ranged(0, 4,
                [this](bool& f, auto& b, auto& e) {
                  return w->tempoPitchCross(f, 1, 0, 1, 1, 4, b, e);
                })},
        // sound level: a stereo sound fails on its right channel
        {"Extract", 1, [this](bool& f) { return stereo->Extract(f, 0, 2) != nullptr; }},
        {"Silence", 1,
         Ranged(1, 2,
                [this](bool& f, auto& b, auto& e) { return stereo->Silence(f, 0.001, b, e); })},
        {"Line", 1,
         Ranged(0, 1,
                [this](bool& f, auto& b, auto& e) {
                  return stereo->Line(f, 0, 10, 0.002, false, b, e);
                })},
        {"Volume", 1, [this](bool& f) { return stereo->Volume(f, 2, 0, 2) != nullptr; }},
        {"MaxVolume", 1, [this](bool& f) { return stereo->MaxVolume(f, 0, 2) != nullptr; }},
        // The middle of a stereo envelope is a new wave: the first allocation.
        {"VolumeEnvelope", 0,
         [this](bool& f) { return stereo->VolumeEnvelope(f, *stereo, 0, 2) != nullptr; }},
        {"RollIn", 1,
         Ranged(0, 2,
                [this](bool& f, auto& b, auto& e) { return stereo->RollIn(f, 0.0001, 0, b, e); })},
        {"Filter1", 1,
         [this](
             bool&
                 f) { return stereo->Filter1(f, &Wave::highPass, 0.01, 0.5, 1, 1, 0, 3) != nullptr; }},
        {"Normalize", 1, [this](bool& f) { return stereo->Normalize(f, 0, 3) != nullptr; }},
        {"EchoConstant", 1,
         Ranged(0, 3,
                [this](bool& f, auto& b, auto& e) {
                  return stereo->EchoConstant(f, 0.0001, 0.5, 1, b, e);
                })},
        {"MixLeftRight", 1,
         [this](bool& f) { return stereo->MixLeftRight(f, 1, 0, 0, 1, 0, 3) != nullptr; }},
        {"Balance", 1,
         [this](bool& f) { return mono->Balance(f, 0.2, false, true, false) != nullptr; }},
        {"Length", 1,
         Ranged(0, 2, [this](bool& f, auto& b, auto& e) { return stereo->Length(f, 2, b, e); })},
        {"LengthAll", 1, [this](bool& f) { return stereo->LengthAll(f, 2) != nullptr; }},
        // Sizes no wave can hold. At 44100 Hz 1e6 seconds are 4.41e10 values.
        {"SilenceHuge", kHuge,
         Ranged(1, 1, [this](bool& f, auto& b, auto& e) { return mono->Silence(f, 1e6, b, e); })},
        {"StereoSilenceHuge", kHuge,
         Ranged(3, 3, [this](bool& f, auto& b, auto& e) { return stereo->Silence(f, 1e6, b, e); })},
        // A new document: the silence's length alone must fail.
        {"EmptySilenceHuge", kHuge,
         Ranged(0, 0, [this](bool& f, auto& b, auto& e) { return empty->Silence(f, 1e6, b, e); })},
        // A count that saturates at exactly 2^31 - 1 is refused, not allocated.
        {"SilenceAllHuge", kHuge, [this](bool& f) { return mono->SilenceAll(f, 1e12) != nullptr; }},
        // Echo regions of trunc(44100 + 1) x 100000 values, after, before or around the range.
        {"echoConstantAfterHuge", kHuge,
         Ranged(0, 2,
                [this](bool& f, auto& b, auto& e) {
                  return w->echoConstant(f, 44100, 0.5, 100000, b, e);
                })},
        {"echoConstantBeforeHuge", kHuge,
         Ranged(0, 2,
                [this](bool& f, auto& b, auto& e) {
                  return w->echoConstant(f, -44100, 0.5, 100000, b, e);
                })},
        {"echoVolumeEnvelopeHuge", kHuge,
         Ranged(0, 2,
                [this](bool& f, auto& b, auto& e) {
                  return w->echoVolumeEnvelope(f, 44100, *env, 100000, b, e);
                })},
        {"echoTimeEnvelopeHuge", kHuge,
         Ranged(0, 2,
                [this](bool& f, auto& b, auto& e) {
                  return w->echoTimeEnvelope(f, 44100, *env, 0.5, 100000, b, e);
                })},
        {"echoEnvelopesHuge", kHuge,
         Ranged(0, 2,
                [this](bool& f, auto& b, auto& e) {
                  return w->echoEnvelopes(f, 44100, *env, *env, 100000, b, e);
                })},
        {"EchoConstantHuge", kHuge,
         Ranged(0, 2,
                [this](bool& f, auto& b, auto& e) {
                  return stereo->EchoConstant(f, 1, 0.5, 100000, b, e);
                })},
        // trunc(3e9) saturates at 2^31 - 1: the range would grow by 2^31 values.
        {"blockFilterHuge", kHuge,
         Ranged(0, 3, [this](bool& f, auto& b, auto& e) { return w->blockFilter(f, 3e9, b, e); })},
        {"blockFilterNegativeHuge", kHuge,
         Ranged(0, 3, [this](bool& f, auto& b, auto& e) { return w->blockFilter(f, -3e9, b, e); })},
        {"blockFilterEnvelopeHuge", kHuge,
         Ranged(0, 3,
                [this](bool& f, auto& b, auto& e) {
                  return w->blockFilterEnvelope(f, 3e9, *env, b, e);
                })},
        {"lengthAllHuge", kHuge, [this](bool& f) { return w->lengthAll(f, 1e10) != nullptr; }},
        {"lengthFactorHuge", kHuge,
         Ranged(0, 4,
                [this](bool& f, auto& b, auto& e) { return w->lengthFactor(f, -1e9, b, e); })},
        {"tempoPitchBlocksHuge", kHuge,
         Ranged(0, 4,
                [this](bool& f, auto& b, auto& e) {
                  return w->tempoPitchBlocks(f, 1, 0, 1e9, 1, 4, b, e);
                })},
        {"LengthHuge", kHuge,
         Ranged(0, 2, [this](bool& f, auto& b, auto& e) { return stereo->Length(f, 1e10, b, e); })},
        {"TempoPitchHuge", kHuge,
         Ranged(0, 3,
                [this](bool& f, auto& b, auto& e) {
                  return stereo->TempoPitch(f, 1, 0, 1e9, 1, 0.004, 0, b, e);
                })},
        {"mixAtFarAfterTheEndHuge", kHuge,
         [this](bool& f) { return w->mixAt(f, *env, kMaxInt, -1, false) != nullptr; }},
        // The clip starts 2 values before -2^31.
        {"mixBeforeFarBeforeTheStartHuge", kHuge,
         [this](bool& f) { return w->mixBefore(f, *env, kMinInt, -1, false) != nullptr; }},
        {"RollInHuge", kHuge,
         Ranged(1, 3, [this](bool& f, auto& b, auto& e) { return mono->RollIn(f, 1e6, 0, b, e); })},
        {"RollOutFormHuge", kHuge,
         Ranged(1, 3,
                [this](bool& f, auto& b, auto& e) {
                  return mono->RollOutForm(f, 1, 1e6, 0, b, e);
                })},
        {"LineHuge", kHuge,
         Ranged(3, 3,
                [this](bool& f, auto& b, auto& e) {
                  return stereo->Line(f, 0, 100, 1e6, false, b, e);
                })},
        {"NoiseHuge", kHuge,
         Ranged(3, 3,
                [this](bool& f, auto& b, auto& e) { return stereo->Noise(f, 100, 1e6, b, e); })},
        {"BlockWaveHuge", kHuge,
         Ranged(2, 2,
                [this](bool& f, auto& b, auto& e) {
                  return mono->BlockWave(f, 100, -100, 0.01, 0.5, 1e6, 0, false, b, e);
                })},
        {"MultiFreqFormHuge", kHuge,
         Ranged(3, 3,
                [this, one](bool& f, auto& b, auto& e) {
                  const double periods[] = {0.01};
                  const double angles[] = {0};
                  return mono->MultiFreqForm(f, 1e6, 1, one, periods, one, one, angles, *mono, b,
                                             e);
                })},
    };
    // multiFreq allocates three state arrays before its result.
    for (int successes = 0; successes < 4; ++successes) {
      rows.push_back({"multiFreq" + std::to_string(successes), successes,
                      Ranged(1, 2, [this](bool& f, auto& b, auto& e) {
                        static const double unit[1] = {1};
                        return w->multiFreq(f, 3, *w, 1, unit, unit, unit, unit, b, e);
                      })});
    }
    // The block variant and the crossfade of tempo and pitch.
    for (int method : {0, 1}) {
      rows.push_back({"TempoPitch" + std::to_string(method), 1,
                      Ranged(0, 2, [this, method](bool& f, auto& b, auto& e) {
                        return stereo->TempoPitch(f, 1.25, 0, 2, 1, 0.001, method, b, e);
                      })});
    }
    return rows;
  }

  std::unique_ptr<Wave> w = MakeWave({1, 2, 3, 4});
  std::unique_ptr<Wave> env = MakeWave({32767, 32767});
  std::unique_ptr<Sound> mono = MakeMono({1, 2, 3}, 44100);
  std::unique_ptr<StereoSound> stereo = MakeStereo({1, 2, 3}, {4, 5, 6}, 44100);
  std::unique_ptr<Sound> empty = std::make_unique<MonoSound>(44100, 2);
};

TEST_F(SoundFailure, FlagSetBeforehandGivesNothingAndSaysNothing) {
  RecordingUi ui;
  for (const Row& row : Rows()) {
    bool failed = true;
    EXPECT_FALSE(row.run(failed)) << row.name;
    EXPECT_TRUE(failed) << row.name;
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SoundFailure, OutOfMemoryIsReportedOnce) {
  for (const Row& row : Rows()) {
    RecordingUi ui;
    bool failed = false;
    if (row.successes != kHuge) FailAllocationAfter(row.successes);
    EXPECT_FALSE(row.run(failed)) << row.name;
    FailAllocationAfter(-1);
    EXPECT_TRUE(failed) << row.name;
    ASSERT_EQ(ui.messages.size(), 1U) << row.name;
    EXPECT_EQ(ui.messages[0].title, "System Error");
    EXPECT_EQ(ui.messages[0].text, "There is not enough memmory for this operation.");
  }
}

}  // namespace
