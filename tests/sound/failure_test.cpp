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

  // Whether an operation gave a result, whatever its kind (implicit, so that
  // every row returns what its operation returns).
  struct Given {
    template <class T>
    Given(const std::unique_ptr<T>& result) : given(result != nullptr) {}
    bool given;
  };

  struct Row {
    std::string name;
    int successes;  // granted allocations, or kHuge
    std::int32_t begin, end;
    std::function<Given(bool&)> run;  // a ranged operation works on b ... e
  };

  std::vector<Row> Rows() {
    std::vector<Row> rows = {
        // wave generators
        {"silence", 0, 1, 2, [this](bool& f) { return w->silence(f, 3, b, e); }},
        {"line", 0, 1, 2, [this](bool& f) { return w->line(f, 0, 9, 3, b, e); }},
        {"expLine", 0, 1, 2, [this](bool& f) { return w->expLine(f, 1, 9, 3, b, e); }},
        {"noise", 0, 1, 2, [this](bool& f) { return w->noise(f, 100, 3, b, e); }},
        {"blockWave", 0, 1, 2, [this](bool& f) { return w->blockWave(f, 0, 9, 4, 0.5, 3, 0, true, b, e); }},
        {"blockWaveEnvelope", 0, 1, 2, [this](bool& f) { return w->blockWaveEnvelope(f, 0, 9, 4, *w, 3, 0, true, b, e); }},
        {"sinus", 0, 1, 2, [this](bool& f) { return w->sinus(f, 9, -9, 4, 1, 0, b, e); }},
        // wave volume and shape
        {"volume", 0, 1, 3, [this](bool& f) { return w->volume(f, 2, b, e); }},
        {"volumeEnvelope", 0, 1, 3, [this](bool& f) { return w->volumeEnvelope(f, *w, b, e); }},
        {"reverse", 0, 1, 3, [this](bool& f) { return w->reverse(f, b, e); }},
        {"up", 0, 1, 3, [this](bool& f) { return w->up(f, 2, b, e); }},
        {"block", 0, 1, 3, [this](bool& f) { return w->block(f, 2, 0, b, e); }},
        {"rotate", 0, 1, 3, [this](bool& f) { return w->rotate(f, 1, b, e); }},
        {"distort", 0, 1, 3, [this](bool& f) { return w->distort(f, *w, b, e); }},
        {"rollIn", 0, 1, 3, [this](bool& f) { return w->rollIn(f, 2, 0, b, e); }},
        {"rollOutForm", 0, 1, 3, [this](bool& f) { return w->rollOutForm(f, *w, 2, 1, 0, 1, 3, b, e); }},
        {"rollOutEnvelope", 0, 1, 3, [this](bool& f) { return w->rollOutEnvelope(f, *w, 1, 1, 0, b, e); }},
        // wave filters
        {"lowPass", 0, 0, 4, [this](bool& f) { return w->lowPass(f, 5, 0.5, 1, 1, b, e); }},
        {"highPassEnvelope", 0, 0, 4, [this](bool& f) { return w->highPassEnvelope(f, *env, 0.5, 1, 1, 44100, b, e); }},
        {"resonant", 0, 0, 4, [this](bool& f) { return w->resonant(f, 5, 0.5, b, e); }},
        {"notchEnvelopes", 0, 0, 4, [this](bool& f) { return w->notchEnvelopes(f, *env, *env, 44100, b, e); }},
        {"resonantPair", 1, 0, 4, [this](bool& f) {
           const Wave* in[2] = {w.get(), w.get()};
           std::unique_ptr<Wave> out[2];
           Wave::resonantPair(f, false, in, out, 2, 5, 0.5, b, e);
           return std::move(out[1]);
         }},
        {"blockFilter", 0, 0, 4, [this](bool& f) { return w->blockFilter(f, 5, b, e); }},
        {"blockFilterEnvelope", 0, 0, 4, [this](bool& f) { return w->blockFilterEnvelope(f, 5, *env, b, e); }},
        // wave tempo
        {"lengthFactor", 0, 0, 4, [this](bool& f) { return w->lengthFactor(f, 2, b, e); }},
        {"tempoPitchCross", 0, 0, 4, [this](bool& f) { return w->tempoPitchCross(f, 1, 0, 1, 1, 4, b, e); }},
        // sound level: a stereo sound fails on its right channel
        {"Extract", 1, 0, 2, [this](bool& f) { return stereo->Extract(f, b, e); }},
        {"Silence", 1, 1, 2, [this](bool& f) { return stereo->Silence(f, 0.001, b, e); }},
        {"Line", 1, 0, 1, [this](bool& f) { return stereo->Line(f, 0, 10, 0.002, false, b, e); }},
        {"Volume", 1, 0, 2, [this](bool& f) { return stereo->Volume(f, 2, b, e); }},
        {"MaxVolume", 1, 0, 2, [this](bool& f) { return stereo->MaxVolume(f, b, e); }},
        // The middle of a stereo envelope is a new wave: the first allocation.
        {"VolumeEnvelope", 0, 0, 2, [this](bool& f) { return stereo->VolumeEnvelope(f, *stereo, b, e); }},
        {"RollIn", 1, 0, 2, [this](bool& f) { return stereo->RollIn(f, 0.0001, 0, b, e); }},
        {"Filter1", 1, 0, 3, [this](bool& f) { return stereo->Filter1(f, &Wave::highPass, 0.01, 0.5, 1, 1, b, e); }},
        {"Normalize", 1, 0, 3, [this](bool& f) { return stereo->Normalize(f, b, e); }},
        {"EchoConstant", 1, 0, 3, [this](bool& f) { return stereo->EchoConstant(f, 0.0001, 0.5, 1, b, e); }},
        {"MixLeftRight", 1, 0, 3, [this](bool& f) { return stereo->MixLeftRight(f, 1, 0, 0, 1, b, e); }},
        {"Balance", 1, 0, 0, [this](bool& f) { return mono->Balance(f, 0.2, false, true, false); }},
        {"Length", 1, 0, 2, [this](bool& f) { return stereo->Length(f, 2, b, e); }},
        {"LengthAll", 1, 0, 0, [this](bool& f) { return stereo->LengthAll(f, 2); }},
        {"TempoPitchBlocks", 1, 0, 2, [this](bool& f) { return stereo->TempoPitch(f, 1.25, 0, 2, 1, 0.001, 0, b, e); }},
        {"TempoPitchCross", 1, 0, 2, [this](bool& f) { return stereo->TempoPitch(f, 1.25, 0, 2, 1, 0.001, 1, b, e); }},
        // Sizes no wave can hold. At 44100 Hz 1e6 seconds are 4.41e10 values.
        {"SilenceHuge", kHuge, 1, 1, [this](bool& f) { return mono->Silence(f, 1e6, b, e); }},
        {"StereoSilenceHuge", kHuge, 3, 3, [this](bool& f) { return stereo->Silence(f, 1e6, b, e); }},
        // A new document: the silence's length alone must fail.
        {"EmptySilenceHuge", kHuge, 0, 0, [this](bool& f) { return empty->Silence(f, 1e6, b, e); }},
        // A count that saturates at exactly 2^31 - 1 is refused, not allocated.
        {"SilenceAllHuge", kHuge, 0, 0, [this](bool& f) { return mono->SilenceAll(f, 1e12); }},
        // Echo regions of trunc(44100 + 1) x 100000 values after, before or around the range.
        {"echoConstantAfterHuge", kHuge, 0, 2, [this](bool& f) { return w->echoConstant(f, 44100, 0.5, 100000, b, e); }},
        {"echoConstantBeforeHuge", kHuge, 0, 2, [this](bool& f) { return w->echoConstant(f, -44100, 0.5, 100000, b, e); }},
        {"echoVolumeEnvelopeHuge", kHuge, 0, 2, [this](bool& f) { return w->echoVolumeEnvelope(f, 44100, *env, 100000, b, e); }},
        {"echoTimeEnvelopeHuge", kHuge, 0, 2, [this](bool& f) { return w->echoTimeEnvelope(f, 44100, *env, 0.5, 100000, b, e); }},
        {"echoEnvelopesHuge", kHuge, 0, 2, [this](bool& f) { return w->echoEnvelopes(f, 44100, *env, *env, 100000, b, e); }},
        {"EchoConstantHuge", kHuge, 0, 2, [this](bool& f) { return stereo->EchoConstant(f, 1, 0.5, 100000, b, e); }},
        // trunc(3e9) saturates at 2^31 - 1: the range would grow by 2^31 values.
        {"blockFilterHuge", kHuge, 0, 3, [this](bool& f) { return w->blockFilter(f, 3e9, b, e); }},
        {"blockFilterNegativeHuge", kHuge, 0, 3, [this](bool& f) { return w->blockFilter(f, -3e9, b, e); }},
        {"blockFilterEnvelopeHuge", kHuge, 0, 3, [this](bool& f) { return w->blockFilterEnvelope(f, 3e9, *env, b, e); }},
        {"lengthAllHuge", kHuge, 0, 0, [this](bool& f) { return w->lengthAll(f, 1e10); }},
        {"lengthFactorHuge", kHuge, 0, 4, [this](bool& f) { return w->lengthFactor(f, -1e9, b, e); }},
        {"tempoPitchBlocksHuge", kHuge, 0, 4, [this](bool& f) { return w->tempoPitchBlocks(f, 1, 0, 1e9, 1, 4, b, e); }},
        {"LengthHuge", kHuge, 0, 2, [this](bool& f) { return stereo->Length(f, 1e10, b, e); }},
        {"TempoPitchHuge", kHuge, 0, 3, [this](bool& f) { return stereo->TempoPitch(f, 1, 0, 1e9, 1, 0.004, 0, b, e); }},
        {"mixAtFarAfterTheEndHuge", kHuge, 0, 0, [this](bool& f) { return w->mixAt(f, *env, kMaxInt, -1, false); }},
        // The clip starts 2 values before -2^31.
        {"mixBeforeFarBeforeTheStartHuge", kHuge, 0, 0, [this](bool& f) { return w->mixBefore(f, *env, kMinInt, -1, false); }},
        {"RollInHuge", kHuge, 1, 3, [this](bool& f) { return mono->RollIn(f, 1e6, 0, b, e); }},
        {"RollOutFormHuge", kHuge, 1, 3, [this](bool& f) { return mono->RollOutForm(f, 1, 1e6, 0, b, e); }},
        {"LineHuge", kHuge, 3, 3, [this](bool& f) { return stereo->Line(f, 0, 100, 1e6, false, b, e); }},
        {"NoiseHuge", kHuge, 3, 3, [this](bool& f) { return stereo->Noise(f, 100, 1e6, b, e); }},
        {"BlockWaveHuge", kHuge, 2, 2, [this](bool& f) { return mono->BlockWave(f, 100, -100, 0.01, 0.5, 1e6, 0, false, b, e); }},
        {"MultiFreqFormHuge", kHuge, 3, 3, [this](bool& f) {
           return mono->MultiFreqForm(f, 1e6, 1, one, hundredth, one, one, zero, *mono, b, e);
         }},
    };
    // multiFreq allocates three state arrays before its result.
    for (int successes = 0; successes < 4; ++successes) {
      rows.push_back({"multiFreq" + std::to_string(successes), successes, 1, 2, [this](bool& f) {
                        return w->multiFreq(f, 3, *w, 1, one, one, one, one, b, e);
                      }});
    }
    return rows;
  }

  // Runs `row` on the range it names.
  bool Run(const Row& row, bool& failed) {
    b = row.begin;
    e = row.end;
    return row.run(failed).given;
  }

  const double one[1] = {1};
  const double hundredth[1] = {0.01};
  const double zero[1] = {0};
  std::int32_t b = 0;
  std::int32_t e = 0;
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
    EXPECT_FALSE(Run(row, failed)) << row.name;
    EXPECT_TRUE(failed) << row.name;
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SoundFailure, OutOfMemoryIsReportedOnce) {
  for (const Row& row : Rows()) {
    RecordingUi ui;
    bool failed = false;
    if (row.successes != kHuge) FailAllocationAfter(row.successes);
    EXPECT_FALSE(Run(row, failed)) << row.name;
    FailAllocationAfter(-1);
    EXPECT_TRUE(failed) << row.name;
    ASSERT_EQ(ui.messages.size(), 1U) << row.name;
    EXPECT_EQ(ui.messages[0].title, "System Error");
    EXPECT_EQ(ui.messages[0].text, "There is not enough memmory for this operation.");
  }
}

}  // namespace
