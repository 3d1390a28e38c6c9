#include "docfixtures.h"

#include <utility>

std::unique_ptr<Wave> MakeWave(const std::vector<std::int16_t>& values) {
  bool failed = false;
  auto wave = std::make_unique<Wave>(failed, static_cast<std::int32_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) wave->data()[i] = values[i];
  return wave;
}

std::unique_ptr<Sound> MakeMono(const std::vector<std::int16_t>& values, std::int32_t freq,
                                std::int16_t bytes) {
  return std::make_unique<MonoSound>(MakeWave(values), freq, bytes);
}

std::unique_ptr<Sound> MakeStereo(const std::vector<std::int16_t>& left,
                                  const std::vector<std::int16_t>& right, std::int32_t freq,
                                  std::int16_t bytes) {
  return std::make_unique<StereoSound>(MakeWave(left), MakeWave(right), freq, bytes);
}

std::vector<std::int16_t> Ramp(std::int32_t n) {
  std::vector<std::int16_t> values(n);
  for (std::int32_t i = 0; i < n; ++i) values[i] = static_cast<std::int16_t>(i);
  return values;
}

std::vector<std::int16_t> Constant(std::int32_t n, std::int16_t value) {
  return std::vector<std::int16_t>(n, value);
}

std::vector<std::int16_t> ValuesOf(const Wave& wave) {
  return std::vector<std::int16_t>(wave.data(), wave.data() + wave.getValues());
}

std::vector<std::int16_t> LeftOf(const TUnitWave& unitWave) {
  return ValuesOf(*unitWave.GetSound().Channel(0));
}

std::vector<std::int16_t> RightOf(const TUnitWave& unitWave) {
  return ValuesOf(*unitWave.GetSound().Channel(1));
}

void RecordingWindow::RepaintRange(std::int32_t from, std::int32_t to, bool selected) {
  calls.push_back("range " + std::to_string(from) + " " + std::to_string(to) +
                  (selected ? " sel" : " unsel"));
}

void RecordingWindow::EraseCursor(std::int32_t position) {
  calls.push_back("erase " + std::to_string(position));
}

void RecordingWindow::Repaint() { calls.push_back("repaint"); }

void RecordingWindow::BeginChange(std::int32_t low, std::int32_t high) {
  if (depth++ != 0) ++unpaired;
  calls.push_back("begin " + std::to_string(low) + " " + std::to_string(high));
}

void RecordingWindow::EndChange(std::int32_t low, std::int32_t high) {
  if (depth-- != 1) ++unpaired;
  calls.push_back("end " + std::to_string(low) + " " + std::to_string(high));
}

void RecordingWindow::SelectionChanged() { calls.push_back("selection"); }

void RecordingWindow::ChannelsChanged(std::int16_t channels) {
  calls.push_back("channels " + std::to_string(channels));
}

std::vector<std::string> RecordingWindow::Stretches() const {
  std::vector<std::string> result;
  for (const std::string& call : calls)
    if (call != "repaint" && call != "selection") result.push_back(call);
  return result;
}

DocumentFixture::DocumentFixture(std::unique_ptr<Sound> sound)
    : doc(workspace.AddWave(std::make_unique<TUnitWave>(std::move(sound), "doc.wav"))) {
  doc->AddListener(&window);
}
