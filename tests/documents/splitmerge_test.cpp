#include "documents/splitmerge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "docfixtures.h"
#include "support/recordingui.h"

namespace {

std::vector<std::int32_t> Lengths(const std::vector<std::unique_ptr<Sound>>& parts) {
  std::vector<std::int32_t> lengths;
  for (const auto& part : parts) lengths.push_back(part->GetValues());
  return lengths;
}

}  // namespace

TEST(SplitHorizontally, PartsFollowTheCursorOrTheDialogsResult) {
  struct Case {
    std::int32_t cursor, anchor;
    std::uint8_t result;
    std::vector<std::int32_t> lengths;
    std::int16_t lastFirstValue;  // the value the last part starts with
  };
  const Case cases[] = {
      {1000, 1000, 0, {1000, 4000}, 1000},        // the cursor cuts in two
      {3000, 1000, 0, {1000, 2000, 2000}, 3000},  // three parts
      {3000, 1000, 1, {3000, 4000}, 1000},        // both inclusive: they overlap
      {1000, 3000, 2, {1000, 2000}, 3000},        // both exclusive: the middle goes
  };
  for (const Case& c : cases) {
    DocumentFixture f(MakeMono(Ramp(5000)));
    f.doc->SetCursorAndAnchor(c.cursor, c.anchor);
    bool failed = false;
    const auto parts =
        SplitHorizontally(failed, f.doc->GetSound(), SplitPointsOf(*f.doc, c.result));
    ASSERT_FALSE(failed);
    EXPECT_EQ(Lengths(parts), c.lengths) << "result " << int(c.result);
    EXPECT_EQ(parts.back()->Channel(0)->at(0), c.lastFirstValue);
    EXPECT_EQ(f.doc->GetValues(), 5000);  // the source stays as it was
  }
}

TEST(SplitHorizontally, OnlyWhenTheSelectionLiesStrictlyInside) {
  struct Case {
    std::int32_t cursor, anchor;
    bool can;
  };
  // 100 values: the last value is 99, the end position 100.
  const Case cases[] = {{0, 0, false},  {1, 1, true},    {0, 50, false},   {1, 98, true},
                        {1, 99, false}, {99, 99, false}, {100, 100, false}};
  for (const Case& c : cases) {
    DocumentFixture f(MakeMono(Ramp(100)));
    f.doc->SetCursorAndAnchor(c.cursor, c.anchor);
    EXPECT_EQ(CanSplitHorizontally(*f.doc), c.can) << c.cursor << " ... " << c.anchor;
  }
}

TEST(SplitVertically, ChannelsMoveIntoMonoSoundsWithoutCopying) {
  DocumentFixture f(MakeStereo({1, 2, 3}, {-1, -2, -3}, 22050, 1));
  const Wave* left = f.doc->GetSound().GetLeft();
  const Wave* right = f.doc->GetSound().GetRight();
  const auto sounds = SplitVertically(*f.doc);
  EXPECT_TRUE(f.doc->GetSoundHandedOver());
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(sounds[i]->GetMoSt(), 1);
    EXPECT_EQ(sounds[i]->GetFreq(), 22050);
    EXPECT_EQ(sounds[i]->GetBytesPSample(), 1);
  }
  EXPECT_EQ(sounds[0]->Channel(0), left);
  EXPECT_EQ(sounds[1]->Channel(0), right);
  EXPECT_EQ(ValuesOf(*sounds[1]->Channel(0)), (std::vector<std::int16_t>{-1, -2, -3}));
}

TEST(MergeHorizontally, LastFollowsFirstInTheChosenFormat) {
  // 1000 mono values at 22050 Hz become 2000 stereo values at 44100 Hz; the
  // 500 stereo values at 44100 Hz follow unchanged.
  const auto first = MakeMono(Constant(1000, 7), 22050, 2);
  const auto last = MakeStereo(Constant(500, 100), Constant(500, -100), 44100, 2);
  bool failed = false;
  const auto merged = MergeHorizontally(failed, *first, *last, {2, 44100, 1, 0});
  ASSERT_FALSE(failed);
  EXPECT_EQ(merged->GetMoSt(), 2);
  EXPECT_EQ(merged->GetFreq(), 44100);
  EXPECT_EQ(merged->GetValues(), 2500);
  EXPECT_EQ(merged->GetBytesPSample(), 1);  // the width chosen, not the first wave's
  EXPECT_EQ(merged->Channel(0)->at(1999), 7);
  EXPECT_EQ(merged->Channel(1)->at(2000), -100);
  EXPECT_EQ(first->GetValues(), 1000);
}

TEST(MergeHorizontally, AnEmptyFirstWaveTakesTheChosenFrequency) {
  const auto first = MakeMono({}, 22050, 2);
  const auto last = MakeMono(Constant(100, 5), 11025, 2);
  bool failed = false;
  const auto merged = MergeHorizontally(failed, *first, *last, {1, 44100, 2, 0});
  ASSERT_FALSE(failed);
  EXPECT_EQ(merged->GetFreq(), 44100);
  EXPECT_EQ(merged->GetValues(), 400);  // 100 values at 11025 Hz read at 44100 Hz
}

TEST(MergeVertically, LengthsAreMadeEqualAsChosen) {
  struct Case {
    std::uint8_t rule;
    std::int32_t nl, nr;
    std::int32_t values;
    std::int32_t silentFrom, silentTo;  // the left channel's silence
  };
  const Case cases[] = {
      {0, 1000, 1500, 1500, 0, 500},      // silence before the shorter wave
      {1, 1000, 1500, 1500, 1000, 1500},  // silence after it
      {2, 1000, 1500, 1500, 0, 0},        // the shorter stretched
      {3, 1000, 1500, 1000, 0, 0},        // the longer stretched
      {2, 0, 1500, 1500, 0, 1500},        // nothing to stretch: silence
      {3, 0, 1500, 0, 0, 0},              // brought down to nothing
  };
  for (const Case& c : cases) {
    TWorkspace workspace;
    TUnitWave* left = workspace.AddWave(
        std::make_unique<TUnitWave>(MakeMono(Constant(c.nl, 9), 44100, 2), "left"));
    TUnitWave* right = workspace.AddWave(
        std::make_unique<TUnitWave>(MakeMono(Constant(c.nr, 4), 44100, 2), "right"));
    bool failed = false;
    const auto merged = MergeVertically(failed, *left, *right, {44100, 2, c.rule, 0});
    ASSERT_FALSE(failed);
    ASSERT_EQ(merged->GetMoSt(), 2);
    EXPECT_EQ(merged->GetValues(), c.values) << "rule " << int(c.rule);
    const std::vector<std::int16_t> l = ValuesOf(*merged->GetLeft());
    for (std::int32_t i = 0; i < c.values; ++i) {
      const bool silent = i >= c.silentFrom && i < c.silentTo;
      ASSERT_EQ(l[i], silent ? 0 : 9) << "rule " << int(c.rule) << " value " << i;
    }
  }
}

TEST(MergeVertically, AMonoWaveOfTheChosenFrequencyIsTakenOverAStereoOneAveraged) {
  TWorkspace workspace;
  TUnitWave* left =
      workspace.AddWave(std::make_unique<TUnitWave>(MakeMono({10, 20, 30}, 22050, 2), "l"));
  TUnitWave* right = workspace.AddWave(
      std::make_unique<TUnitWave>(MakeStereo({100, 0, 50}, {0, 100, 50}, 22050, 2), "r"));
  const Wave* leftWave = left->GetSound().GetLeft();
  bool failed = false;
  const auto merged = MergeVertically(failed, *left, *right, {22050, 1, 0, 0});
  ASSERT_FALSE(failed);
  EXPECT_EQ(merged->GetLeft(), leftWave);
  EXPECT_EQ(ValuesOf(*merged->GetRight()), (std::vector<std::int16_t>{50, 50, 50}));
  EXPECT_EQ(merged->GetBytesPSample(), 1);
  EXPECT_TRUE(left->GetSoundHandedOver());
  EXPECT_TRUE(right->GetSoundHandedOver());
}

TEST(MergeChoice, RefusesAMissingOrARepeatedWave) {
  DocumentFixture f(MakeMono(Ramp(10)));
  TUnitWave* other = f.workspace.NewWave({});
  struct Case {
    const TUnitWave* one;
    const TUnitWave* other;
    std::string message;  // empty: accepted
  };
  const Case cases[] = {
      {nullptr, other, "Input Error: In First: You have to select a Wave"},
      {f.doc, nullptr, "Input Error: In Last: You have to select a Wave"},
      {f.doc, f.doc, "Input Error: The chosen Waves must be different"},
      {f.doc, other, ""},
  };
  for (const Case& c : cases) {
    RecordingUi ui;
    EXPECT_EQ(CheckMergeChoice(c.one, "First", c.other, "Last"), c.message.empty());
    EXPECT_EQ(ui.Texts(),
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
  }
}

TEST(DerivedWave, IsANewNonameDocumentWithTheDefaultRecords) {
  TWorkspace workspace;
  workspace.NextNonameName();  // NONAME1 went to another document
  workspace.Defaults.volume.Factor.SetValue(0.5);
  TUnitWave* unitWave = AddDerivedWave(workspace, MakeMono(Ramp(10)));
  EXPECT_EQ(unitWave->GetFileName(), "NONAME2");
  EXPECT_EQ(unitWave->GetState(), TUnitState::New);
  EXPECT_EQ(unitWave->Records.volume.Factor.GetValue(), 0.5);
}
