#include <gtest/gtest.h>

#include <functional>

#include "sound/dicer.h"
#include "sound/format.h"
#include "sound/sinetable.h"
#include "wavetestutil.h"

// A few representative preconditions of the sound library: each stops the
// program with its condition quoted and the source file (or its family:
// wave_echo.cpp is "wave") named.
TEST(SoundDeathTest, PreconditionsStopTheProgram) {
  const struct {
    std::function<void()> call;
    const char* message;
  } cases[] = {
      {[] {
         bool failed = false;
         MakeWave({1, 2, 3})->extract(failed, 2, 2);
       },
       "\"begin < end\" in wave"},
      // The text quotes the other wave by pointer, as it always did.
      {[] {
         bool failed = false;
         MakeWave({1, 2, 3})->mix(failed, 1, *MakeWave({1, 2}), 1, 0, -1);
       },
       "\"values == daar->values\" in wave"},
      {[] { MakeStereo(Constant(100, 0), Constant(101, 0)); },
       "\"waveLeft->getValues\\(\\) == waveRight->getValues\\(\\)\" in sound"},
      {[] {
         bool failed = false;
         MakeWave({1, 2, 3})->lowPass(failed, 0, 0.5, 1, 1, 0, 3);
       },
       "\"time > 0\" in filter"},
      {[] {
         bool failed = false;
         std::int32_t begin = 0;
         std::int32_t end = 3;
         MakeWave({1, 2, 3})->echoTimeEnvelope(failed, -1, *MakeWave({0}), 0.5, 1, begin, end);
       },
       "\"diffTime >= 0\" in wave"},
      {[] {
         bool failed = false;
         std::int32_t begin = 0;
         std::int32_t end = 3;
         const Wave empty;
         MakeWave({1, 2, 3})->tempoPitchBlocksFreq(failed, 1, 0, 1, 1, empty, 4, begin, end);
       },
       "\"freqWave->values > 0\" in wave"},
      {[] {
         DestroySineTable();
         bool failed = false;
         std::int32_t begin = 0;
         std::int32_t end = 0;
         Wave().sinus(failed, 100, -100, 4, 1, 0, begin, end);
       },
       "\"sinus != NULL\" in wave"},
      {[] { Dicer(1).Get(Dicer::DICES, 1, 0); }, "\"dice < DICES\" in dicer"},
      {[] {
         bool failed = false;
         ConvertFormat(failed, *MakeMono({1}), SoundFormat{1000, 3, 2});
       },
       "\"format.channels == 1 \\|\\| format.channels == 2\" in format"},
  };
  for (const auto& c : cases) EXPECT_DEATH(c.call(), c.message);
}
