#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "documents/unitwave.h"
#include "documents/wavelistener.h"
#include "documents/workspace.h"
#include "sound/sound.h"

// Sounds and documents built in code for the document tests.

std::unique_ptr<Wave> MakeWave(const std::vector<std::int16_t>& values);
std::unique_ptr<Sound> MakeMono(const std::vector<std::int16_t>& values, std::int32_t freq = 44100,
                                std::int16_t bytes = 2);
std::unique_ptr<Sound> MakeStereo(const std::vector<std::int16_t>& left,
                                  const std::vector<std::int16_t>& right, std::int32_t freq = 44100,
                                  std::int16_t bytes = 2);
// 0, 1, 2, ... n - 1.
std::vector<std::int16_t> Ramp(std::int32_t n);
std::vector<std::int16_t> Constant(std::int32_t n, std::int16_t value);

std::vector<std::int16_t> ValuesOf(const Wave& wave);
// The samples of a document's first (or only) channel and of its second.
std::vector<std::int16_t> LeftOf(const TUnitWave& unitWave);
std::vector<std::int16_t> RightOf(const TUnitWave& unitWave);

// Records what a document asks of its window, one text per call:
// "range FROM TO sel|unsel", "erase POS", "repaint", "begin LOW HIGH",
// "end LOW HIGH", "selection", "channels N". BeginChange and EndChange must
// pair; `unpaired` counts the calls that did not.
class RecordingWindow : public TWaveListener {
 public:
  void RepaintRange(std::int32_t from, std::int32_t to, bool selected) override;
  void EraseCursor(std::int32_t position) override;
  void Repaint() override;
  void BeginChange(std::int32_t low, std::int32_t high) override;
  void EndChange(std::int32_t low, std::int32_t high) override;
  void SelectionChanged() override;
  void ChannelsChanged(std::int16_t channels) override;

  // The calls other than "repaint" and "selection".
  std::vector<std::string> Stretches() const;

  std::vector<std::string> calls;
  int depth = 0;
  int unpaired = 0;
};

// A workspace with one wave document shown in a recording window.
struct DocumentFixture {
  explicit DocumentFixture(std::unique_ptr<Sound> sound);
  RecordingWindow window;  // outlives the documents
  TWorkspace workspace;
  TUnitWave* doc;
};
