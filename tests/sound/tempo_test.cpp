// Length, tempo and pitch against values worked out by hand from the rules:
// interpolated reads truncated toward zero, silence outside the wave, block
// jumps to anchor + done x speed wrapped into the range, and the two-head
// crossfade of the high-quality variant.

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "sound/sound.h"
#include "sound/wave.h"
#include "support/recordingui.h"
#include "wavetestutil.h"

namespace {

using Values = std::vector<std::int16_t>;

// 10 x i x i: a curve, so a head read at the wrong place shows, and even, so
// the crossfade's halves (weight 0.5) stay whole.
Values Squares(int count) {
  Values values;
  for (int i = 0; i < count; ++i) values.push_back(static_cast<std::int16_t>(10 * i * i));
  return values;
}

// --- lengthFactor ------------------------------------------------------------

// Resamples the range by `factor` (lengthFactor).
auto Length(double factor) {
  return [factor](const Wave& w, bool& f, std::int32_t& b, std::int32_t& e) {
    return w.lengthFactor(f, factor, b, e);
  };
}

TEST(WaveLengthFactor, ResamplesTheRange) {
  // Fields: name, source, begin, end, returned end, operation, expected.
  // clang-format off
  ExpectWaves({
      // step 3/6: positions 0, .5, 1, 1.5, 2, 2.5; the last reads toward the 900 after the range
      {"DoublesTowardTheNextValue", {0, 300, 600, 900}, 0, 3, 6, Length(2), {0, 150, 300, 450, 600, 750, 900}},
      // reversed: positions 3, 2, 1 of the range 20 30 40, the first is the value after it
      {"MinusOneReadsBackwardsFromTheRangeEnd", {10, 20, 30, 40, 50}, 1, 4, 4, Length(-1), {10, 50, 40, 30, 50}},
      // trunc(1 x 0.5) = 0 values: the range goes
      {"HalfOfOneValueRemovesIt", {5, 6, 7}, 1, 2, 1, Length(0.5), {5, 7}},
      {"ZeroRemovesTheRange", {5, 6, 7, 8}, 1, 3, 1, Length(0), {5, 8}},
      // step 2: positions 0 and 2
      {"HalfTakesEverySecondValue", {0, 100, 200, 300, 400}, 0, 4, 2, Length(0.5), {0, 200, 400}},
      // step 2/3: 0; 2/3 x 100 = 66.7; 1/3 x 100 + 1/3 x 200 ... = 133.3
      {"OneAndAHalfTruncatesTheInterpolation", {0, 100, 200, 300}, 0, 2, 3, Length(1.5), {0, 66, 133, 200, 300}},
      // -0.5 truncates toward zero, not down to -1
      {"TruncatesTowardZero", {-1, 0}, 0, 1, 2, Length(2), {-1, 0, 0}},
      {"EmptyRangeStaysEmpty", {1, 2, 3}, 1, 1, 1, Length(2), {1, 2, 3}},
  });
  // clang-format on
}

// --- tempoPitch: both readers, with and without the envelopes ---------------

enum class Reader { Blocks, Cross };

struct BlocksCase {
  const char* name;
  Values source;
  double speed;
  double startPos;
  double lengthFactor;
  double pitch;
  std::int32_t blockTime;
  std::int32_t begin;
  std::int32_t end;
  Values expected;
  std::int32_t expectedEnd;
  Reader reader = Reader::Blocks;
  Values speedEnvelope = {};  // none: the constant speed
  Values freqEnvelope = {};   // none: the constant pitch
};

// The one of the eight tempo-pitch operations the case names.
std::unique_ptr<Wave> TempoPitch(const BlocksCase& c, const Wave& w, bool& failed,
                                 std::int32_t& begin, std::int32_t& end) {
  const auto speeds = MakeWave(c.speedEnvelope);
  const auto freqs = MakeWave(c.freqEnvelope);
  const bool cross = c.reader == Reader::Cross;
  const bool bySpeed = !c.speedEnvelope.empty();
  const bool byFreq = !c.freqEnvelope.empty();
  const double p = c.pitch;
  if (bySpeed && byFreq) {
    return cross ? w.tempoPitchCrossBoth(failed, c.speed, *speeds, c.startPos, c.lengthFactor, p,
                                         *freqs, c.blockTime, begin, end)
                 : w.tempoPitchBlocksBoth(failed, c.speed, *speeds, c.startPos, c.lengthFactor, p,
                                          *freqs, c.blockTime, begin, end);
  }
  if (bySpeed) {
    return cross ? w.tempoPitchCrossSpeed(failed, c.speed, *speeds, c.startPos, c.lengthFactor, p,
                                          c.blockTime, begin, end)
                 : w.tempoPitchBlocksSpeed(failed, c.speed, *speeds, c.startPos, c.lengthFactor, p,
                                           c.blockTime, begin, end);
  }
  if (byFreq) {
    return cross ? w.tempoPitchCrossFreq(failed, c.speed, c.startPos, c.lengthFactor, p, *freqs,
                                         c.blockTime, begin, end)
                 : w.tempoPitchBlocksFreq(failed, c.speed, c.startPos, c.lengthFactor, p, *freqs,
                                          c.blockTime, begin, end);
  }
  return cross ? w.tempoPitchCross(failed, c.speed, c.startPos, c.lengthFactor, p, c.blockTime,
                                   begin, end)
               : w.tempoPitchBlocks(failed, c.speed, c.startPos, c.lengthFactor, p, c.blockTime,
                                    begin, end);
}

class WaveTempoPitchBlocks : public ::testing::TestWithParam<BlocksCase> {};

TEST_P(WaveTempoPitchBlocks, ReadsTheRangeInBlocks) {
  const BlocksCase& c = GetParam();
  bool failed = false;
  auto w = MakeWave(c.source);
  std::int32_t begin = c.begin;
  std::int32_t end = c.end;
  auto result = TempoPitch(c, *w, failed, begin, end);
  ASSERT_FALSE(failed);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(ValuesOf(result.get()), c.expected);
  EXPECT_EQ(begin, c.begin);
  EXPECT_EQ(end, c.expectedEnd);
  EXPECT_EQ(ValuesOf(w.get()), c.source);
}

// Fields: source, speed, startPos, lengthFactor, pitch, blockTime, begin, end,
// expected, expectedEnd.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, WaveTempoPitchBlocks,
    ::testing::Values(
        // the jumps land where the reading already is
        BlocksCase{"SpeedAndPitchOneReproduceTheRange", Ramp(12, 7, 13), 1, 0, 1, 1, 3, 2, 9, Ramp(12, 7, 13), 9},
        // blocks read 0 2 4 6, then from 4: 4 6 8 10 (past the range, inside the wave)
        BlocksCase{"PitchTwoPlaysEachBlockTwiceAsFast", Ramp(16, 0, 100), 1, 0, 1, 2, 4, 0, 8,
                   {0, 200, 400, 600, 400, 600, 800, 1000, 800, 900, 1000, 1100, 1200, 1300, 1400, 1500}, 8},
        // positions 4 and 6 lie after the last value: silence
        BlocksCase{"ReadsSilenceAfterTheWave", {100, 200, 300, 400}, 1, 0, 1, 2, 4, 0, 4, {100, 300, 0, 0}, 4},
        // anchor 2.5, pitch .5: 2.5 -> 350, 3 -> 400, then 3.5 and 4 lie past the last value
        BlocksCase{"ReadsNothingBetweenTheLastValueAndTheEnd", {100, 200, 300, 400}, 1, 0.625, 1, 0.5, 4, 0, 4, {350, 400, 0, 0}, 4},
        // anchor -2: positions -2 -1 0 1
        BlocksCase{"ReadsSilenceBeforeTheWave", {10, 20, 30, 40}, 1, -0.5, 1, 1, 4, 0, 4, {0, 0, 10, 20}, 4},
        // 0, 0.5 -> 50.5; jump to 2: 2, 2.5 -> 252.5
        BlocksCase{"InterpolatesBetweenValues", {0, 101, 202, 303, 404, 505}, 1, 0, 1, 0.5, 2, 0, 4, {0, 50, 202, 252, 404, 505}, 4},
        // range 1..5; jump target 1 + 2 x 2 = 5 wraps to 1
        BlocksCase{"WrapsJumpsIntoTheRange", {9, 10, 20, 30, 40, 99}, 2, 0, 1, 1, 2, 1, 5, {9, 10, 20, 10, 20, 99}, 5},
        // anchor 0 + 4 x 0.5 = 2; jump to 4 wraps to 0
        BlocksCase{"StartsAtTheStartPosition", {10, 20, 30, 40, 50}, 1, 0.5, 1, 1, 2, 0, 4, {30, 40, 10, 20, 50}, 4},
        // jumps to -1 -2 -3 wrap to 3 2 1
        BlocksCase{"NegativeSpeedRunsBackwards", {10, 20, 30, 40}, -1, 0, 1, 1, 1, 0, 4, {10, 40, 30, 20}, 4},
        // 6 values from 3: 0 1 | 2 3 | jump to 4 wraps to 1: 1 2; the 40 after the range stays
        BlocksCase{"LengthFactorSetsTheNewLength", {10, 20, 30, 40}, 1, 0, 2, 1, 2, 0, 3, {10, 20, 30, 40, 20, 30, 40}, 6},
        // trunc(1 x 0.5) = 0 new values
        BlocksCase{"ShortenedToNothingRemovesTheRange", {1, 2, 3}, 1, 0, 0.5, 1, 4, 1, 2, {1, 3}, 1},
        // The crossfade. Block 4, pitch 1: both heads read the same value v, weights 1 .5 0 .5;
        // w = .5: trunc(v/2) + v/2 truncated, so odd values lose 1 (-100.5 - 100 -> -200).
        BlocksCase{"CrossIdentityLosesTheHalvesTruncatedTwice", {101, 201, 301, 401, 501, 601, 701, 801, -101, -201}, 1, 0, 1, 1, 4, 0, 10,
                   {101, 200, 301, 400, 501, 600, 701, 800, -101, -200}, 10, Reader::Cross},
        // jump offset (1 - 2) x .5 x 4 = -2; A starts at the anchor 4, B at 4 - 2 = 2:
        // k0 w1: A4=160 | k1 w.5: A6 180 + B4 80 = 260; A jumps to -2 + 2 + 4 = 4
        // k2 w0: B6=360 | k3 w.5: A6 180 + B8 320 = 500; B jumps to -2 + 4 + 4 = 6
        // k4 w1: A8=640 | k5 w.5: A10 500 + B8 320 = 820; A jumps to 8
        // k6 w0: B10=1000 | k7 w.5: A10 500 + B12 720 = 1220
        BlocksCase{"CrossPitchTwoCrossfadesTwoHeads", Squares(16), 1, 0, 1, 2, 4, 4, 12,
                   {0, 10, 40, 90, 160, 260, 360, 500, 640, 820, 1000, 1220, 1440, 1690, 1960, 2250}, 12, Reader::Cross},
        // nothing forbids a negative length factor here: the new range has no values
        BlocksCase{"CrossNegativeLengthFactorRemovesTheRange", {1, 2, 3, 4}, 1, 0, -1, 1, 4, 1, 3, {1, 4}, 1, Reader::Cross},
        BlocksCase{"CrossEmptyRangeIsACopy", {1, 2, 3}, 1, 0, 1, 1, 4, 2, 2, {1, 2, 3}, 2, Reader::Cross},
        // The envelopes. Frequency 32767 0 32767 over 3 values: advances 2, 0, 2 at pitch 2,
        // so positions 0, 2, 2.
        BlocksCase{"FrequencyEnvelopeScalesTheAdvanceOfEachValue", Ramp(8, 0, 100), 1, 0, 1, 2, 3, 0, 3,
                   {0, 200, 200, 300, 400, 500, 600, 700}, 3, Reader::Blocks, {}, {32767, 0, 32767}},
        // 0 32767 over 3 values: step 1/2, e = 0, 16383.5, 32767; at pitch 2 advances 0, 1, 2:
        // positions 0, 0, 1
        BlocksCase{"FrequencyEnvelopeIsInterpolatedOverTheNewRange", Ramp(8, 0, 100), 1, 0, 1, 2, 3, 0, 3,
                   {0, 0, 100, 300, 400, 500, 600, 700}, 3, Reader::Blocks, {}, {0, 32767}},
        // over 10 values the step 1/9 adds up to just over 1; the reading stays on the last
        // value, never past it (the sanitizer build sees a read beyond); pitch 0 everywhere
        // holds one block on the first value
        BlocksCase{"StretchedEnvelopeEndsOnItsLastValue", Ramp(12, 5, 10), 1, 0, 1, 2, 10, 0, 10,
                   {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 105, 115}, 10, Reader::Blocks, {}, {0, 0}},
        // speed 0 32767 0 over 5 values: e = 0, 16383.5, 32767, 16383.5, 0; at speed 2 the sum
        // after each value is 0 1 3 4 4; block 1 reads each value at the anchor plus the sum
        // so far: 0, 0, 1, 3, 4
        BlocksCase{"SpeedEnvelopeIsARunningSum", {10, 20, 30, 40, 50}, 2, 0, 1, 1, 1, 0, 5,
                   {10, 10, 20, 40, 50}, 5, Reader::Blocks, {0, 32767, 0}},
        // a pitch envelope of 0 holds each block on one value; a speed envelope of 0 sends
        // every jump back to the anchor
        BlocksCase{"BothEnvelopesOnlyPitchStill", {10, 20, 30, 40}, 1, 0, 1, 1, 2, 0, 4, {10, 10, 30, 30}, 4, Reader::Blocks, {32767}, {0}},
        BlocksCase{"BothEnvelopesOnlySpeedStill", {10, 20, 30, 40}, 1, 0, 1, 1, 2, 0, 4, {10, 20, 10, 20}, 4, Reader::Blocks, {0}, {32767}},
        BlocksCase{"BothEnvelopesStill", {10, 20, 30, 40}, 1, 0, 1, 1, 2, 0, 4, {10, 10, 10, 10}, 4, Reader::Blocks, {0}, {0}},
        // pitch 1 (no jump offset), block 4, the tempo stays 0 so both heads jump back to 0:
        // k0 w1 A0=0 | k1 w.5 A1 5 + B1 5 = 10; A->0 | k2 w0 B2=40 | k3 A1 5 + B3 45 = 50; B->0
        // k4 w1 A2=40 | k5 A3 45 + B1 5 = 50; A->0 | k6 B2=40 | k7 A1 5 + B3 45 = 50
        BlocksCase{"CrossWithStillSpeedKeepsReturningToTheAnchor", Squares(8), 1, 0, 1, 1, 4, 0, 8,
                   {0, 10, 40, 50, 40, 50, 40, 50}, 8, Reader::Cross, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(WaveTempoPitchEnvelopes, FullScaleEnvelopesEqualThePlainForms) {
  // 32767 x (1/32767) is exactly 1 and 32767 x s x (1/32767) exactly s for
  // s = 1 and 2, so the envelopes change nothing. The envelopes are read at
  // whole positions only (one value, or as many as the new range), where no
  // interpolation rounding comes in.
  const auto w = MakeWave(Squares(40));
  const Values full = Constant(30, 32767);  // 30 = trunc(20 x 1.5): step 1
  const Values single{32767};               // step 0
  const std::pair<Values, Values> envelopes[] = {
      {{}, full}, {full, {}}, {single, {}}, {single, full}, {full, full}};
  for (double speed : {1.0, 2.0}) {
    for (double pitch : {1.0, 2.0, 0.5}) {
      for (Reader reader : {Reader::Blocks, Reader::Cross}) {
        BlocksCase c{"", {}, speed, 0.25, 1.5, pitch, 6, 5, 25, {}, 0, reader};
        bool failed = false;
        std::int32_t begin = 5;
        std::int32_t end = 25;
        const Values plain = ValuesOf(TempoPitch(c, *w, failed, begin, end).get());
        for (const auto& [speeds, freqs] : envelopes) {
          c.speedEnvelope = speeds;
          c.freqEnvelope = freqs;
          end = 25;
          EXPECT_EQ(ValuesOf(TempoPitch(c, *w, failed, begin, end).get()), plain);
          EXPECT_EQ(end, 35);  // 5 + trunc(20 x 1.5)
        }
        ASSERT_FALSE(failed);
      }
    }
  }
}

// --- failure flag ----------------------------------------------------------

TEST(WaveTempoFailure, DoesNothingWhenAlreadyFailed) {
  // No wave and no message; the range it would have returned is still
  // reported, so both channels of a stereo sound agree.
  RecordingUi ui;
  bool failed = true;
  auto w = MakeWave(Ramp(10));
  auto env = MakeWave({32767});
  std::int32_t begin = 0;
  std::int32_t end = 5;
  EXPECT_EQ(w->lengthFactor(failed, 2, begin, end), nullptr);
  EXPECT_EQ(end, 10);
  end = 5;
  EXPECT_EQ(w->tempoPitchBlocks(failed, 1, 0, 1.5, 1, 4, begin, end), nullptr);
  EXPECT_EQ(end, 7);
  end = 5;
  EXPECT_EQ(w->tempoPitchCrossBoth(failed, 1, *env, 0, 0.5, 1, *env, 4, begin, end), nullptr);
  EXPECT_EQ(end, 2);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ValuesOf(w.get()), Ramp(10));
}

// --- sound level ---------------------------------------------------------------

TEST(SoundLength, StereoEqualsEachChannelOnItsOwn) {
  // Both channels of a stereo sound go through one loop; every value must
  // be what the wave operation gives each channel alone, also over block
  // edges, backwards and up to the end of the wave.
  std::uint32_t state = 7;
  auto noise = [&state](std::size_t count) {
    Values values(count);
    for (auto& v : values) {
      state = state * 1664525u + 1013904223u;
      v = static_cast<std::int16_t>(state >> 16);
    }
    return values;
  };
  auto s = MakeStereo(noise(2500), noise(2500), 44100);
  const std::pair<std::int32_t, std::int32_t> ranges[] = {{0, 2500}, {5, 2500}, {3, 40}, {7, 8}};
  for (double factor : {2.0, 1.5, 0.7, 1.0 / 3, -1.0, -0.3, 3.3, -2.5}) {
    for (auto [b0, e0] : ranges) {
      bool failed = false;
      std::int32_t begin = b0;
      std::int32_t end = e0;
      auto result = s->Length(failed, factor, begin, end);
      ASSERT_NE(result, nullptr);
      for (int channel = 0; channel < 2; ++channel) {
        std::int32_t waveBegin = b0;
        std::int32_t waveEnd = e0;
        auto alone = s->Channel(channel)->lengthFactor(failed, factor, waveBegin, waveEnd);
        EXPECT_EQ(ValuesOf(result->Channel(channel)), ValuesOf(alone.get()))
            << "factor " << factor << " range " << b0 << ".." << e0;
        EXPECT_EQ(end, waveEnd);
      }
    }
  }
}

// Seconds become values at the sound's frequency (1000 Hz): blockTime =
// trunc(Freq x blockSeconds), at least one value; method 1 picks the
// crossfade; envelopes are the middles of their sounds. The values are the
// wave cases' above.
TEST(SoundTempoPitch, SecondsBecomeValuesOnEveryChannel) {
  // 44100 -> 22050 Hz: factor 0.5, step 2.
  const auto tens = MakeStereo(Ramp(10, 0, 10), Ramp(10, 0, -10), 44100);
  // Odd values: the crossfade loses 1 where the weight is 0.5.
  const Values odd{101, 201, 301, 401, 501, 601, 701, 801};
  const Values faded{101, 200, 301, 400, 501, 600, 701, 800};
  const auto odds = MakeMono(odd, 1000);
  const auto hundreds = MakeStereo(Ramp(16, 0, 100), Ramp(16, 0, -100), 1000);
  const Values pitchTwo{0,   200, 400,  600,  400,  600,  800,  1000,
                        800, 900, 1000, 1100, 1200, 1300, 1400, 1500};
  Values pitchTwoDown = pitchTwo;
  for (auto& v : pitchTwoDown) v = static_cast<std::int16_t>(-v);
  const auto four = MakeMono({10, 20, 30, 40}, 1000);
  const auto pair = MakeStereo({10, 20, 30, 40}, {1, 2, 3, 4}, 1000);
  // 32767 and -32767 average to 0: no pitch advance, or a still tempo.
  const auto still = MakeStereo(Constant(3, 32767), Constant(3, -32767), 1000);
  const auto full = MakeMono({32767}, 1000);
  const auto squares = MakeMono(Squares(16), 1000);
  // Fields: name, begin, end, returned end, operation, channels.
  // clang-format off
  ExpectSounds({
      {"LengthAllHalvesForHalfTheFrequency", 0, 0, 0, [&](bool& f, auto&, auto&) { return tens->LengthAll(f, 22050.0 / 44100); },
       {{0, 20, 40, 60, 80}, {0, -20, -40, -60, -80}}},
      {"MethodOneCrossfades", 0, 8, 8, [&](bool& f, auto& b, auto& e) { return odds->TempoPitch(f, 1, 0, 1, 1, 0.004, 1, b, e); }, {faded}},
      {"MethodZeroCopies", 0, 8, 8, [&](bool& f, auto& b, auto& e) { return odds->TempoPitch(f, 1, 0, 1, 1, 0.004, 0, b, e); }, {odd}},
      {"MethodTwoCopies", 0, 8, 8, [&](bool& f, auto& b, auto& e) { return odds->TempoPitch(f, 1, 0, 1, 1, 0.004, 2, b, e); }, {odd}},
      // 4.9 -> 4 values, PitchTwoPlaysEachBlockTwiceAsFast; 5 would give 0 2 4 6 8 | 5 7 9.
      {"BlockTimeTruncated", 0, 8, 8, [&](bool& f, auto& b, auto& e) { return hundreds->TempoPitch(f, 1, 0, 1, 2, 0.0049, 0, b, e); },
       {pitchTwo, pitchTwoDown}},
      // 0.2 values: a block of one value rather than a stopped program
      // (NegativeSpeedRunsBackwards).
      {"BlockOfLessThanOneValue", 0, 4, 4, [&](bool& f, auto& b, auto& e) { return four->TempoPitch(f, -1, 0, 1, 1, 0.0002, 0, b, e); },
       {{10, 40, 30, 20}}},
      // 6 values: 0 1 | 2 3 | the jump to 4 wraps to 0: 0 1
      {"AllCoversTheWholeSound", 0, 0, 0, [&](bool& f, auto&, auto&) { return four->TempoPitchAll(f, 1, 0, 1.5, 1, 0.002, 0); },
       {{10, 20, 30, 40, 10, 20}}},
      {"FrequencyEnvelopeOfAStereoMiddle", 0, 4, 4,
       [&](bool& f, auto& b, auto& e) { return pair->TempoPitchFreq(f, 1, 0, 1, 1, *still, 0.002, 0, b,
       e); },
       {{10, 10, 30, 30}, {1, 1, 3, 3}}},
      {"SpeedEnvelopeOfAStereoMiddle", 0, 4, 4,
       [&](bool& f, auto& b, auto& e) { return pair->TempoPitchSpeed(f, 1, *still, 0, 1, 1, 0.002, 0, b,
       e); },
       {{10, 20, 10, 20}, {1, 2, 1, 2}}},
      {"BothEnvelopes", 0, 4, 4, [&](bool& f, auto& b, auto& e) { return pair->TempoPitchBoth(f, 1, *still, 0, 1, 1, *full, 0.002, 0, b,
       e); },
       {{10, 20, 10, 20}, {1, 2, 1, 2}}},
      // CrossPitchTwoCrossfadesTwoHeads
      {"BothEnvelopesCrossfaded", 4, 12, 12,
       [&](bool& f, auto& b, auto& e) { return squares->TempoPitchBoth(f, 1, *full, 0, 1, 2, *full, 0.004, 1, b,
       e); },
       {{0, 10, 40, 90, 160, 260, 360, 500, 640, 820, 1000, 1220, 1440, 1690, 1960, 2250}}},
      // The crossfade with a pitch envelope runs forwards only; a backward
      // speed takes the block reader rather than stopping the program.
      {"BackwardSpeedWithPitchEnvelope", 0, 4, 4,
       [&](bool& f, auto& b, auto& e) { return four->TempoPitchFreq(f, -1, 0, 1, 1, *full, 0.001, 1, b,
       e); },
       {{10, 40, 30, 20}}},
  });
  // clang-format on
}

TEST(SoundTempoPitch, AllOfAnEmptySoundIsEmpty) {
  bool failed = false;
  StereoSound empty(22050, 1);
  auto result = empty.TempoPitchAll(failed, 2, 0, 0.5, 1, 0.04, 0);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetMoSt(), 2);
  EXPECT_EQ(result->GetValues(), 0);
  EXPECT_EQ(result->GetFreq(), 22050);
  EXPECT_EQ(result->GetBytesPSample(), 1);
}

}  // namespace
