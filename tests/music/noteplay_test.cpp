#include "music/noteplay.h"

#include <gtest/gtest.h>

#include <cmath>

#include "music/unitmuz.h"
#include "samplewaves.h"
#include "sound/sound.h"
#include "support/recordingui.h"

namespace {

// The sample of the worked cases: 0.5 s at 1000 Hz, its middle part
// 100 ... 300 (0.1 s of attack, 0.2 s of middle, 0.2 s of release).
struct PlayerFixture {
  PlayerFixture(std::int32_t values = 500, std::int32_t sb = 100, std::int32_t se = 300) {
    waves.Add(
        "sample", 1000, values, [](std::int32_t) { return std::int16_t{1000}; }, sb, se);
  }
  RecordingUi ui;
  SampleWaves waves;
  TUnitMuz unit{"test.tbm"};
};

// Each kind's sound length and offsets, worked out from the rules: the
// note's period, the whole note's length times the tempo (dur), the ratio
// r = period / BasicFreq.
TEST(TOnePlayer, SoundAndOffsetsOfEveryKind) {
  const struct {
    const char* what;
    std::uint8_t kind;
    double basic, period, tempo;
    std::int32_t values;
    double start, end;
  } cases[] = {
      // r = 1: the sample as it is.
      {"simple at BasicFreq", notePlayerSimpleSampler, 0.01, 0.01, 1, 500, 0, 0.5},
      // An octave lower: twice as long.
      {"simple an octave lower", notePlayerSimpleSampler, 0.01, 0.02, 1, 1000, 0, 1.0},
      // r = 2, middle cycle 0.4 s, cycles trunc(1.15 / 0.4 + 0.5) = 3:
      // (100 + 3 x 200 + 200) x 2 values; start 100 x 2 / 1000.
      {"roll-out sampler", notePlayerRollOutSampler, 0.01, 0.02, 1.15, 1800, 0.2, 1.6},
      // cycles trunc(0.1 / 0.4 + 0.5) = 0: attack and release only.
      {"roll-out sampler, no cycle", notePlayerRollOutSampler, 0.01, 0.02, 0.1, 600, 0.2, 0.4},
      // middle cycle 0.2 s, cycles trunc(1 / 0.2 + 0.5) = 5: 100 + 1000 + 200.
      {"resonant sampler", notePlayerResonantSampler, 0.01, 0.01, 1, 1300, 0.1, 1.2},
      // n = trunc(0.1 / 0.01 + 1.5) = 11 echoes 10 values apart, each growing
      // the sound by trunc(10 + 1); the end is trunc(10.5) periods plus the
      // 0.2 s selection.
      {"repeat wave form", notePlayerRepeatWaveForm, 0.01, 0.01, 0.1, 621, 0.11, 0.3},
      // n = trunc(0.105 / 0.01) = 10 cycles of 10 values.
      {"roll-out wave form", notePlayerRollOutWaveForm, 0.01, 0.01, 0.105, 100, 0, 0.105},
  };
  for (const auto& c : cases) {
    PlayerFixture f;
    const TOnePlayer player(&f.unit, PlayerOf(c.kind, c.basic));
    bool failed = false;
    bool ok = true;
    std::string error;
    double volume = 0;
    const std::unique_ptr<Sound> sound =
        player.GetSound(failed, c.period, 1, c.tempo, volume, ok, error);
    ASSERT_TRUE(sound != nullptr) << c.what;
    EXPECT_EQ(sound->GetValues(), c.values) << c.what;
    EXPECT_NEAR(player.GetStartOffset(c.period, 1, c.tempo, ok, error), c.start, 1e-9) << c.what;
    EXPECT_NEAR(player.GetEndOffset(c.period, 1, c.tempo, ok, error), c.end, 1e-9) << c.what;
    EXPECT_TRUE(ok && error.empty() && !failed) << c.what;
    // The repeat wave form applies its factor itself.
    EXPECT_EQ(volume, c.kind == notePlayerRepeatWaveForm ? 1.0 : 0.5) << c.what;
    EXPECT_TRUE(f.ui.messages.empty());
  }
}

TEST(TOnePlayer, RepeatWaveFormScalesAndEchoes) {
  PlayerFixture f(20, 0, 20);
  const TOnePlayer player(&f.unit, PlayerOf(notePlayerRepeatWaveForm, 0.01, 0.25));
  bool failed = false;
  bool ok = true;
  std::string error;
  double volume = 0;
  // dur 0: n = 1, the sample plus one echo 10 values later (11 values more).
  const std::unique_ptr<Sound> sound = player.GetSound(failed, 0.01, 1, 0, volume, ok, error);
  ASSERT_EQ(sound->GetValues(), 31);
  const std::int16_t* v = sound->Channel(0)->data();
  EXPECT_EQ(v[5], 250);
  EXPECT_EQ(v[15], 500);
  EXPECT_EQ(v[25], 250);
}

// Notes that make no sound and report nothing, and samples too short to
// play, which are errors that name the wave.
TEST(TOnePlayer, SilentNotesAndShortSamples) {
  const struct {
    const char* what;
    std::uint8_t kind;
    double freqUp, period;
    std::int32_t values, sb, se;
    const char* error;
  } cases[] = {
      {"FreqUp passes the note", notePlayerSimpleSampler, -880, 1.0 / 440, 500, 0, 500, ""},
      {"FreqUp cancels the note", notePlayerRollOutSampler, -100, 0.01, 500, 100, 300, ""},
      {"resonance below one value", notePlayerResonantSampler, 0, 0.0005, 500, 100, 300, ""},
      {"empty sample", notePlayerSimpleSampler, 0, 0.01, 0, 0, 0,
       "The wave \"sample\" is too short."},
      {"one value to echo", notePlayerRepeatWaveForm, 0, 0.01, 1, 0, 1,
       "The wave \"sample\" is too short."},
      {"empty middle part", notePlayerRollOutSampler, 0, 0.01, 500, 200, 200,
       "The wave \"sample\" is too short."},
  };
  for (const auto& c : cases) {
    PlayerFixture f(c.values, c.sb, c.se);
    TOnePlayerProps props = PlayerOf(c.kind, 0.01);
    props.FreqUp = unitFreq(c.freqUp);
    const TOnePlayer player(&f.unit, props);
    bool failed = false;
    bool ok = true;
    std::string error;
    double volume = 0;
    EXPECT_EQ(player.GetSound(failed, c.period, 1, 1, volume, ok, error), nullptr) << c.what;
    EXPECT_EQ(player.GetStartOffset(c.period, 1, 1, ok, error), 0) << c.what;
    EXPECT_EQ(player.GetEndOffset(c.period, 1, 1, ok, error), 0) << c.what;
    const std::string expected = c.error;
    EXPECT_EQ(ok, expected.empty()) << c.what;
    if (!expected.empty()) {
      EXPECT_EQ(error, expected + expected + expected) << c.what;
    }
  }
}

TEST(TOnePlayer, MissingSampleWave) {
  RecordingUi ui;
  SampleWaves waves;
  TUnitMuz unit("test.tbm");
  const TOnePlayer player(&unit, PlayerOf(notePlayerRollOutWaveForm));
  bool failed = false;
  bool ok = true;
  std::string error = "before. ";
  double volume = 0;
  EXPECT_EQ(player.GetSound(failed, 0.01, 1, 1, volume, ok, error), nullptr);
  EXPECT_FALSE(ok);
  EXPECT_EQ(error, "before. Cannot find window \"sample\".");
  EXPECT_TRUE(ui.messages.empty());
}

// Two roll-out samplers at r = 2 and r = 1 (start offsets 0.2 s and 0.1 s):
// both middle parts begin 0.2 s into the mixed stereo sound.
TEST(TCompoundPlayer, MixesPlayersOnTheirCommonBeat) {
  RecordingUi ui;
  SampleWaves waves;
  waves.Add(
      "sample", 1000, 500,
      [](std::int32_t i) { return static_cast<std::int16_t>(i < 100 ? 0 : 1000); }, 100, 300);
  TUnitMuz unit("test.tbm");
  unit.ChangeProperties(unit.GetRenderProps(), TWaveFileProps{1000, 1, 2});
  TCompoundPlayer compound(&unit);
  compound.AppendPlayer(
      std::make_unique<TOnePlayer>(&unit, PlayerOf(notePlayerRollOutSampler, 0.01)));
  compound.AppendPlayer(
      std::make_unique<TOnePlayer>(&unit, PlayerOf(notePlayerRollOutSampler, 0.02)));
  bool failed = false;
  bool ok = true;
  std::string error;
  double volume = 0;
  // tempo 1.15: 3 cycles of 0.4 s (end 1.6 s) and 6 of 0.2 s (end 1.4 s).
  EXPECT_NEAR(compound.GetStartOffset(0.02, 1, 1.15, ok, error), 0.2, 1e-12);
  EXPECT_NEAR(compound.GetEndOffset(0.02, 1, 1.15, ok, error), 1.6, 1e-12);
  const std::unique_ptr<Sound> sound = compound.GetSound(failed, 0.02, 1, 1.15, volume, ok, error);
  ASSERT_TRUE(sound != nullptr);
  EXPECT_EQ(sound->GetMoSt(), 2);
  EXPECT_EQ(sound->GetValues(), 1801);  // trunc(1000 x 1.8 + 1)
  EXPECT_EQ(volume, 1.0);
  for (int channel = 0; channel < 2; ++channel) {
    const std::int16_t* v = sound->Channel(channel)->data();
    EXPECT_EQ(v[195], 0);
    EXPECT_EQ(v[205], 1000);  // 0.5 x 1000 from each
    EXPECT_EQ(v[1700], 500);  // the release of the longer one alone
  }
  // A player that fails makes the whole compound fail.
  compound.AppendPlayer(std::make_unique<TOnePlayer>(&unit, [] {
    TOnePlayerProps props = PlayerOf(notePlayerSimpleSampler);
    props.SimpleSampler.SampleWave = unitUnitWave("gone");
    return props;
  }()));
  EXPECT_EQ(compound.GetSound(failed, 0.02, 1, 1.15, volume, ok, error), nullptr);
  EXPECT_FALSE(ok);
  EXPECT_EQ(error, "Cannot find window \"gone\".");
}

}  // namespace
