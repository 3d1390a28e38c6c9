// The wave window's display on ten minutes of 44.1 kHz stereo in a client
// area of 1200 x 700 pixels, rendered offscreen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <memory>
#include <string>

#include "app/waveview.h"
#include "app/waveviewpainter.h"
#include "benchsound.h"
#include "documents/unitwave.h"
#include "sound/sound.h"
#include "sound/wavfile.h"

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 700;

void NeedApplication() {
  static std::unique_ptr<QApplication> app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
  }();
}

// The benchmark sound as a file, written once.
const std::string& BenchFile() {
  static const std::string file = [] {
    const std::string path = "/tmp/tonbrisk-bench-display.wav";
    bool failed = false;
    BenchSound().Save(failed, path, false, 0, BenchSound().GetValues());
    return path;
  }();
  return file;
}

void Setup(TWaveRenderer& renderer, std::uint8_t viewMode) {
  renderer.TheSound = &BenchSound();
  renderer.SoundVersion = 1;
  renderer.Coords.Values = BenchSound().GetValues();
  renderer.Coords.Width = kWidth;
  renderer.ViewMode = viewMode;
}

// Opening the file until its window is painted in the wave view.
void BM_OpenWaveWindow(benchmark::State& state) {
  NeedApplication();
  const std::string& file = BenchFile();
  for (auto _ : state) {
    std::unique_ptr<Sound> sound;
    std::string message;
    if (!ReadWavFile(file, sound, message)) state.SkipWithError(message.c_str());
    TUnitWave doc(std::move(sound), file);
    TWaveView view(doc, TWaveViewProps{}, TVoldViewProps{}, 0);
    view.resize(kWidth, kHeight);
    const QImage picture = view.Picture(false);
    benchmark::DoNotOptimize(picture.constBits());
  }
  state.SetLabel("read + window + wave view");
}
BENCHMARK(BM_OpenWaveWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// A full repaint of the wave view showing `state.range(0)` values across the
// window (0: the whole wave), with two waves or combined.
void BM_WaveViewRepaint(benchmark::State& state) {
  TWaveRenderer renderer;
  Setup(renderer, 0);
  renderer.WaveView.TwoWaves = state.range(1) != 0;
  const std::int32_t values = renderer.Coords.Values;
  if (state.range(0) > 0) {
    const double from = values / 3.0;
    renderer.Coords.SetZoom(from, from + state.range(0));
  }
  renderer.SelLow = values / 3;
  renderer.SelHigh = values / 3 + values / 100;
  renderer.Cursor = renderer.SelHigh;
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    renderer.PaintRect(image, 0, kWidth);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_WaveViewRepaint)
    ->ArgsProduct({{0, 44100 * 10, 44100, 1200, 100}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

// "Points" with the default 15 values per pixel and with every value.
void BM_WaveViewPointsRepaint(benchmark::State& state) {
  TWaveRenderer renderer;
  Setup(renderer, 0);
  renderer.WaveView.Draw = 1;
  renderer.WaveView.ValuesPerPixel.SetValue(static_cast<std::int32_t>(state.range(0)));
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    renderer.PaintRect(image, 0, kWidth);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_WaveViewPointsRepaint)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);

// The first paint of the volume diagram of the whole wave (state.range(0) 1:
// two diagrams, 0: combined).
void BM_VolumeDiagramFirstPaint(benchmark::State& state) {
  TWaveRenderer renderer;
  Setup(renderer, 1);
  renderer.VoldView.TwoDiagrams = state.range(0) != 0;
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    renderer.Diagram.Clear();
    renderer.PrepareDiagram(kHeight);
    renderer.Diagram.ComputeAll();
    renderer.PaintRect(image, 0, kWidth);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_VolumeDiagramFirstPaint)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// A selection change afterwards: the whole client area again, from the cache.
void BM_VolumeDiagramRepaintFromCache(benchmark::State& state) {
  TWaveRenderer renderer;
  Setup(renderer, 1);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  renderer.PrepareDiagram(kHeight);
  renderer.Diagram.ComputeAll();
  std::int32_t low = 0;
  for (auto _ : state) {
    low = (low + 44100) % renderer.Coords.Values;
    renderer.SelLow = low;
    renderer.SelHigh = low + 441000;
    renderer.Cursor = low;
    renderer.PaintRect(image, 0, kWidth);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_VolumeDiagramRepaintFromCache)->Unit(benchmark::kMillisecond);

}  // namespace
