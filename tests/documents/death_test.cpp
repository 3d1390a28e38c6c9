#include <gtest/gtest.h>

#include <functional>

#include "docfixtures.h"

// A few representative preconditions of the documents: each stops the
// program with its condition quoted.
TEST(DocumentsDeathTest, PreconditionsStopTheProgram) {
  const struct {
    std::function<void()> call;
    const char* condition;
  } cases[] = {
      {[] { DocumentFixture(MakeMono({1})).doc->Paste(); }, "ClipBoardSound != 0"},
      {[] { DocumentFixture(MakeMono(Ramp(100))).doc->SetSelection(20, 10); }, "begin <= end"},
      {[] {
         TUnitWave(TWaveFileProps{44100, 3, 2}, "x");
       },
       "waveFileProps.MonoStereo == 1 \\|\\| waveFileProps.MonoStereo == 2"},
  };
  for (const auto& c : cases) EXPECT_DEATH(c.call(), c.condition);
}
