#include <gtest/gtest.h>

#include "music/musicrender.h"
#include "samplewaves.h"
#include "scorebuilder.h"
#include "sound/sound.h"
#include "support/recordingui.h"

namespace {

// Gives every note group of the score the one player `props`, and the
// document the render format `freq` Hz, `channels`.
void UsePlayer(TUnitMuz& doc, const TOnePlayerProps& props, double tempo = 1,
               std::int16_t channels = 1, std::int32_t freq = 1000) {
  for (TNoteStave* stave = doc.GetStartStave(); stave != nullptr; stave = stave->GetNext()) {
    for (TNoteGroup* group = stave->GetStartNoteGroup(); group != nullptr;
         group = group->GetNext()) {
      group->GetPlayer()->GetStartOnePlayer()->GetProps() = props;
    }
  }
  doc.Tempo = unitTimePosMore(tempo);
  doc.ChangeProperties(doc.GetRenderProps(), TWaveFileProps{freq, channels, 2});
}

std::int16_t At(const Sound& sound, std::int32_t index, int channel = 0) {
  return sound.Channel(channel)->data()[index];
}

const auto kConstant = [](std::int32_t) { return std::int16_t{1000}; };

// One whole A at 0, a simple sampler whose 0.5 s sample is at BasicFreq:
// the sample scaled by VolumeFactor, and one value more.
TEST(CreateMusic, OneWholeNoteOfASimpleSampler) {
  RecordingUi ui;
  SampleWaves waves;
  waves.Add("sample", 1000, 500, kConstant);
  auto s = score().stave(keyKindG).note(0, 1, -1);
  UsePlayer(s.doc(), PlayerOf(notePlayerSimpleSampler, 1.0 / 440, 0.5));
  const std::unique_ptr<Sound> music = CreateMusic(s.doc());
  ASSERT_TRUE(music != nullptr);
  EXPECT_EQ(music->GetMoSt(), 1);
  EXPECT_EQ(music->GetValues(), 501);
  EXPECT_EQ(At(*music, 0), 500);
  EXPECT_EQ(At(*music, 499), 500);
  EXPECT_EQ(At(*music, 500), 0);
  EXPECT_TRUE(ui.messages.empty());
}

// Quarters at 0 and 0.5 with a roll-out wave form (end offset = the note's
// duration): the output lasts 0.75 x tempo and the notes sit at 0 and
// 0.5 x tempo.
TEST(CreateMusic, TempoScalesPositionsAndDurations) {
  const struct {
    double tempo;
    std::int32_t values, inFirst, between, inSecond;
  } cases[] = {{1, 751, 200, 300, 700}, {2, 1501, 400, 600, 1400}};
  for (const auto& c : cases) {
    RecordingUi ui;
    SampleWaves waves;
    waves.Add("sample", 1000, 100, kConstant);
    auto s = score().stave(keyKindG).note(0, 4, -1).note(0.5, 4, -1);
    UsePlayer(s.doc(), PlayerOf(notePlayerRollOutWaveForm), c.tempo);
    const std::unique_ptr<Sound> music = CreateMusic(s.doc());
    ASSERT_TRUE(music != nullptr);
    EXPECT_EQ(music->GetValues(), c.values) << c.tempo;
    EXPECT_EQ(At(*music, c.inFirst), 500) << c.tempo;
    EXPECT_EQ(At(*music, c.between), 0) << c.tempo;
    EXPECT_EQ(At(*music, c.inSecond), 500) << c.tempo;
  }
}

// Stave 1 sounds at 0, the muted stave 2 at 0.5: the whole score leaves the
// muted stave out; its own stave or note group sounds it; all three span
// the whole score.
TEST(CreateMusic, FiltersAndMuting) {
  RecordingUi ui;
  SampleWaves waves;
  waves.Add("sample", 1000, 100, kConstant);
  auto s = score().stave(keyKindG).note(0, 4, -1).stave(keyKindG).note(0.5, 4, -1);
  TUnitMuz& doc = s.doc();
  UsePlayer(doc, PlayerOf(notePlayerRollOutWaveForm));
  TNoteStave& muted = *doc.GetStartStave()->GetNext();
  muted.Mute = true;
  const struct {
    const char* what;
    std::unique_ptr<Sound> music;
    std::int16_t first, second;
  } cases[] = {
      {"score", CreateMusic(doc), 500, 0},
      {"muted stave", CreateMusicOfStave(doc, muted), 0, 500},
      {"first stave", CreateMusicOfStave(doc, *doc.GetStartStave()), 500, 0},
      {"muted group", CreateMusicOfNoteGroup(doc, *muted.GetStartNoteGroup()), 0, 500},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(c.music != nullptr) << c.what;
    EXPECT_EQ(c.music->GetValues(), 751) << c.what;
    EXPECT_EQ(At(*c.music, 100), c.first) << c.what;
    EXPECT_EQ(At(*c.music, 600), c.second) << c.what;
  }
}

// The middle part selected from 0.2 s, r = 2: 0.4 s of lead-in before the
// beat; 2 cycles of 0.6 s after it (trunc(1 / 0.6 + 0.5)).
TEST(CreateMusic, RollOutSamplerLeadIn) {
  RecordingUi ui;
  SampleWaves waves;
  waves.Add(
      "sample", 1000, 500,
      [](std::int32_t i) { return static_cast<std::int16_t>(i < 200 ? 0 : 1000); }, 200, 500);
  auto s = score().stave(keyKindG).note(0, 1, -1);
  UsePlayer(s.doc(), PlayerOf(notePlayerRollOutSampler, 1.0 / 880));
  const std::unique_ptr<Sound> music = CreateMusic(s.doc());
  ASSERT_TRUE(music != nullptr);
  EXPECT_EQ(music->GetValues(), 1601);
  EXPECT_EQ(At(*music, 395), 0);
  EXPECT_EQ(At(*music, 405), 500);
}

TEST(CreateMusic, FailuresShowOneMessageAndGiveNoSound) {
  const struct {
    std::int32_t values;
    const char* message;
  } cases[] = {
      {-1, "Error: Cannot create music: Cannot find window \"sample\"."},
      {0, "Error: Cannot create music: The wave \"sample\" is too short."},
  };
  for (const auto& c : cases) {
    RecordingUi ui;
    SampleWaves waves;
    if (c.values >= 0) waves.Add("sample", 1000, c.values, kConstant);
    auto s = score().stave(keyKindG).note(0, 4, -1).note(0.5, 4, -1);
    UsePlayer(s.doc(), PlayerOf(notePlayerSimpleSampler));
    EXPECT_EQ(CreateMusic(s.doc()), nullptr);
    ASSERT_EQ(ui.Texts().size(), 1u);
    EXPECT_EQ(ui.Texts()[0], c.message);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
  }
}

TEST(CreateMusic, EmptyScoreGivesAnEmptySound) {
  RecordingUi ui;
  auto s = score().stave(keyKindG);
  UsePlayer(s.doc(), PlayerOf(notePlayerSimpleSampler), 1, 2);
  const std::unique_ptr<Sound> music = CreateMusic(s.doc());
  ASSERT_TRUE(music != nullptr);
  EXPECT_EQ(music->GetValues(), 0);
  EXPECT_EQ(music->GetMoSt(), 2);
}

// Mono and stereo samples into mono and stereo documents, and a sample at
// half the document's frequency, which mixing resamples.
TEST(CreateMusic, ChannelsAndSampleFrequency) {
  const struct {
    const char* what;
    std::int16_t docChannels;
    bool stereoSample;
    std::int32_t sampleFreq;
    std::int16_t left, right;
  } cases[] = {
      {"mono into stereo", 2, false, 1000, 500, 500},
      {"stereo into mono: the average", 1, true, 1000, 250, 250},
      {"stereo into stereo", 2, true, 1000, 500, 0},
      {"a sample at 500 Hz", 1, false, 500, 500, 500},
  };
  for (const auto& c : cases) {
    RecordingUi ui;
    SampleWaves waves;
    const std::int32_t values = c.sampleFreq / 2;
    if (c.stereoSample) {
      waves.Add("sample",
                std::make_unique<StereoSound>(
                    SampleWaves::MakeWave(values, kConstant),
                    SampleWaves::MakeWave(values, [](std::int32_t) { return std::int16_t{0}; }),
                    c.sampleFreq, 2));
    } else {
      waves.Add("sample", c.sampleFreq, values, kConstant);
    }
    auto s = score().stave(keyKindG).note(0, 1, -1);
    UsePlayer(s.doc(), PlayerOf(notePlayerSimpleSampler), 1, c.docChannels);
    const std::unique_ptr<Sound> music = CreateMusic(s.doc());
    ASSERT_TRUE(music != nullptr) << c.what;
    EXPECT_EQ(music->GetMoSt(), c.docChannels) << c.what;
    EXPECT_EQ(music->GetValues(), 501) << c.what;
    EXPECT_EQ(At(*music, 250, 0), c.left) << c.what;
    if (c.docChannels == 2) {
      EXPECT_EQ(At(*music, 250, 1), c.right) << c.what;
    }
  }
}

class RecordingPlayer : public TSoundPlayer {
 public:
  void Play(const Sound& sound) override {
    played.push_back(sound.GetValues() > 0 ? At(sound, 0) : 0);
  }
  std::vector<std::int16_t> played;
};

// A single note is scaled by its volume and played; a failing one stays
// silent without a message; automatic playing follows the document's flag.
TEST(PlayNote, PlaysScaledAndFailsSilently) {
  RecordingUi ui;
  SampleWaves waves;
  waves.Add("sample", 1000, 100, kConstant);
  auto s = score().stave(keyKindG).note(0, 4, -1);
  UsePlayer(s.doc(), PlayerOf(notePlayerSimpleSampler, 1.0 / 440, 0.25));
  const TNoteNote& note = *NoteAt(s.doc(), 0, -1);
  RecordingPlayer player;
  EXPECT_TRUE(PlayNote(note, 1, player));
  EXPECT_EQ(player.played, std::vector<std::int16_t>{250});
  const bool autoPlay = s.doc().GetAutoPlay();
  EXPECT_TRUE(AutoPlayNote(note, 1, player));
  EXPECT_EQ(player.played.size(), autoPlay ? 2u : 1u);
  s.doc().MusicAutoPlayExecute();
  EXPECT_TRUE(AutoPlayNote(note, 1, player));
  EXPECT_EQ(player.played.size(), 2u);

  note.GetPlayer()->GetStartOnePlayer()->GetProps().SimpleSampler.SampleWave = unitUnitWave("gone");
  EXPECT_FALSE(PlayNote(note, 1, player));
  EXPECT_EQ(player.played.size(), 2u);
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
