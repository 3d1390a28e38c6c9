// Rendering a 3-minute score: 4 staves of eighth notes (2880 notes) at
// 44.1 kHz stereo through a 1-second 44.1 kHz sample, one player kind at a
// time. "realtime" is the score's duration over the rendering time; maxrss
// the process's peak resident memory so far (the output alone is 31.8 MB).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "music/musicrender.h"
#include "music/unitmuz.h"
#include "sound/sound.h"
#include "units/waveregistry.h"

namespace {

constexpr int kStaves = 4;
constexpr double kTempo = 2;         // an eighth lasts 0.25 s
constexpr int kNotesPerStave = 720;  // 180 s
constexpr double kScoreSeconds = 180;
constexpr std::int32_t kFreq = 44100;

class BenchWaves : public WaveRegistry {
 public:
  BenchWaves() : scope_(*this) {
    bool failed = false;
    auto wave = std::make_unique<Wave>(failed, kFreq);
    for (std::int32_t i = 0; i < kFreq; ++i) {
      const double decay = std::exp(-3.0 * i / kFreq);
      wave->data()[i] =
          static_cast<std::int16_t>(8000 * decay * std::sin(2 * M_PI * 440 * i / kFreq));
    }
    sound_ = std::make_unique<MonoSound>(std::move(wave), kFreq, 2);
  }
  std::vector<std::string> WaveNames() const override { return {"sample"}; }
  std::optional<TRegisteredWave> FindWave(const std::string& name) const override {
    if (name != "sample") return std::nullopt;
    // The middle part 0.2 ... 0.8 s.
    return TRegisteredWave{sound_.get(), kFreq / 5, kFreq * 4 / 5};
  }

 private:
  std::unique_ptr<Sound> sound_;
  ScopedWaveRegistry scope_;
};

std::unique_ptr<TUnitMuz> BenchScore(std::uint8_t kind) {
  auto unit = std::make_unique<TUnitMuz>("bench.tbm");
  unit->InsertSymbol(std::make_unique<TMuzBar>(4, 4, 0.0, 0.0));
  unit->Tempo = unitTimePosMore(kTempo);
  unit->ChangeProperties(unit->GetRenderProps(), TWaveFileProps{kFreq, 2, 2});
  TNoteStave* stave = nullptr;
  for (int s = 0; s < kStaves; ++s) {
    stave = unit->NewStave(stave, keyKindG);
    TNoteGroup* group = stave->GetStartNoteGroup();
    TOnePlayerProps& props = group->GetPlayer()->GetStartOnePlayer()->GetProps();
    props.NotePlayerKind = kind;
    props.SimpleSampler.BasicFreq = unitTimePosMore(1.0 / 440);
    props.RollOutSampler.BasicFreq = unitTimePosMore(1.0 / 440);
    props.VolumeFactor = unitVolumeFactor(0.2);
    for (int n = 0; n < kNotesPerStave; ++n) {
      unit->InsertSymbol(std::make_unique<TNoteNote>(unit.get(), group, 8, 0, n * 0.125,
                                                     -6 + (n + 2 * s) % 8, stave));
    }
  }
  return unit;
}

void BM_RenderScore(benchmark::State& state) {
  BenchWaves waves;
  const auto kind = static_cast<std::uint8_t>(state.range(0));
  const std::unique_ptr<TUnitMuz> unit = BenchScore(kind);
  for (auto _ : state) {
    std::unique_ptr<Sound> music = CreateMusic(*unit);
    if (music == nullptr) state.SkipWithError("rendering failed");
    benchmark::DoNotOptimize(music);
  }
  state.counters["realtime"] = benchmark::Counter(
      kScoreSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["maxrssMB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

BENCHMARK(BM_RenderScore)
    ->ArgName("kind")
    ->Arg(notePlayerSimpleSampler)
    ->Arg(notePlayerRollOutSampler)
    ->Arg(notePlayerResonantSampler)
    ->Arg(notePlayerRepeatWaveForm)
    ->Arg(notePlayerRollOutWaveForm)
    ->Unit(benchmark::kMillisecond);

}  // namespace
