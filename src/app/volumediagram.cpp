#include "app/volumediagram.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <type_traits>

#include "base/numeric.h"
#include "sound/sound.h"

namespace {

// Eight bands side by side: one block of the bank. The bands are independent,
// so a block runs the same operations in the same order as eight plain loops
// would, and gives the same bits (no fused multiply-add: the build forbids
// contraction).
constexpr int kLanes = 8;
typedef double TLanes __attribute__((vector_size(kLanes * sizeof(double)), __may_alias__));

// Blocks run together over one column, so that their independent chains
// fill the pipelines while each waits for its own previous step.
constexpr int kGroup = 4;

// Values per chunk of Advance, per channel: small enough to check the
// clock often, large enough that starting a thread costs nothing.
constexpr std::int64_t kChunkValues = 1 << 18;

}  // namespace

namespace {

using TBlock = TBandBlock;
static_assert(sizeof(TBlock) == kLanes * sizeof(double));

// One group of G blocks over the values j0 ... j1; `peak` gets the largest
// magnitude each band reached, before truncation (the largest truncated
// magnitude is the truncation of the largest magnitude).
template <int G>
[[gnu::always_inline]] inline void RunGroup(TBlock* value, TBlock* speed, const TBlock* k,
                                            const TBlock* damp, const TBlock* oneMinusDamp,
                                            const std::int16_t* data, std::int32_t j0,
                                            std::int32_t j1, double* peak) {
  TLanes val[G], spd[G], kk[G], dd[G], oo[G], hi[G], lo[G];
  for (int g = 0; g < G; ++g) {
    val[g] = *reinterpret_cast<const TLanes*>(value[g].Lane);
    spd[g] = *reinterpret_cast<const TLanes*>(speed[g].Lane);
    kk[g] = *reinterpret_cast<const TLanes*>(k[g].Lane);
    dd[g] = *reinterpret_cast<const TLanes*>(damp[g].Lane);
    oo[g] = *reinterpret_cast<const TLanes*>(oneMinusDamp[g].Lane);
    hi[g] = TLanes{};
    lo[g] = TLanes{};
  }
  for (std::int32_t j = j0; j < j1; ++j) {
    const double v = data[j];
    for (int g = 0; g < G; ++g) {
      const TLanes in = oo[g] * v;
      for (int step = 0; step < 4; ++step) {
        val[g] += spd[g] * kk[g];
        spd[g] -= val[g];
        val[g] = dd[g] * val[g] + in;
      }
      hi[g] = hi[g] > val[g] ? hi[g] : val[g];
      lo[g] = lo[g] < val[g] ? lo[g] : val[g];
    }
  }
  for (int g = 0; g < G; ++g) {
    *reinterpret_cast<TLanes*>(value[g].Lane) = val[g];
    *reinterpret_cast<TLanes*>(speed[g].Lane) = spd[g];
    for (int lane = 0; lane < kLanes; ++lane)
      peak[g * kLanes + lane] = std::max(hi[g][lane], -lo[g][lane]);
  }
}

struct TKernelArgs {
  TBlock* Value;
  TBlock* Speed;
  const TBlock* K;
  const TBlock* Damp;
  const TBlock* OneMinusDamp;
  int Block0, Block1;
  int Bands;
  const std::int16_t* Data;
  const std::int32_t* ColumnStart;
  int Column0, Column1;
  float* Peaks;
};

[[gnu::always_inline]] inline void RunColumns(const TKernelArgs& a) {
  double peak[kGroup * kLanes];
  const int firstBand = a.Block0 * kLanes;
  const int lastBand = std::min(a.Block1 * kLanes, a.Bands);
  for (int c = a.Column0; c < a.Column1; ++c) {
    float* cell = a.Peaks + static_cast<std::ptrdiff_t>(c) * a.Bands;
    const std::int32_t j0 = a.ColumnStart[c];
    const std::int32_t j1 = a.ColumnStart[c + 1];
    if (j0 == j1) {
      // A column without a value of its own (zoomed in beyond one value per
      // column) shows the one before it.
      for (int band = firstBand; band < lastBand; ++band)
        cell[band] = c > 0 ? cell[band - a.Bands] : 0.0F;
      continue;
    }
    for (int b = a.Block0; b < a.Block1; b += kGroup) {
      const int n = std::min(kGroup, a.Block1 - b);
      auto run = [&](auto group) {
        RunGroup<decltype(group)::value>(a.Value + b, a.Speed + b, a.K + b, a.Damp + b,
                                         a.OneMinusDamp + b, a.Data, j0, j1, peak);
      };
      switch (n) {
        case 4:
          run(std::integral_constant<int, 4>());
          break;
        case 3:
          run(std::integral_constant<int, 3>());
          break;
        case 2:
          run(std::integral_constant<int, 2>());
          break;
        default:
          run(std::integral_constant<int, 1>());
          break;
      }
      const int end = std::min((b + n) * kLanes, a.Bands);
      for (int band = b * kLanes; band < end; ++band)
        cell[band] = static_cast<float>(std::trunc(peak[band - b * kLanes]));
    }
  }
}

// The bank as written, one band after the other: the reference the block
// kernels must match bit for bit, and the kernel of processors without them.
void RunColumnsPlain(const TKernelArgs& a) {
  const int firstBand = a.Block0 * kLanes;
  const int lastBand = std::min(a.Block1 * kLanes, a.Bands);
  for (int c = a.Column0; c < a.Column1; ++c) {
    float* cell = a.Peaks + static_cast<std::ptrdiff_t>(c) * a.Bands;
    const std::int32_t j0 = a.ColumnStart[c];
    const std::int32_t j1 = a.ColumnStart[c + 1];
    for (int band = firstBand; band < lastBand; ++band) {
      if (j0 == j1) {
        cell[band] = c > 0 ? cell[band - a.Bands] : 0.0F;
        continue;
      }
      double& value = a.Value[band / kLanes].Lane[band % kLanes];
      double& speed = a.Speed[band / kLanes].Lane[band % kLanes];
      const double k = a.K[band / kLanes].Lane[band % kLanes];
      const double damp = a.Damp[band / kLanes].Lane[band % kLanes];
      double volume = 0;
      for (std::int32_t j = j0; j < j1; ++j) {
        const double v = a.Data[j];
        for (int step = 0; step < 4; ++step) {
          value += speed * k;
          speed -= value;
          value = damp * value + v * (1 - damp);
        }
        volume = std::max(volume, std::fabs(std::trunc(value)));
      }
      cell[band] = static_cast<float>(volume);
    }
  }
}

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx2"))) void RunColumnsAvx2(const TKernelArgs& a) { RunColumns(a); }
__attribute__((target("avx512f"))) void RunColumnsAvx512(const TKernelArgs& a) { RunColumns(a); }
#endif

using TKernel = void (*)(const TKernelArgs&);

TKernel BestKernel() {
#if defined(__x86_64__) && defined(__GNUC__)
  if (__builtin_cpu_supports("avx512f")) return RunColumnsAvx512;
  if (__builtin_cpu_supports("avx2")) return RunColumnsAvx2;
#endif
  return RunColumnsPlain;
}

bool gPlainKernel = false;

}  // namespace

TBandTuning TuneBands(int bands, double frequency, const TVoldViewProps& props) {
  TBandTuning tuning;
  const double shortest = 2 / frequency;
  const double top = std::max(props.Top.GetValue(), shortest);
  const double bottom = std::max(props.Bottom.GetValue(), shortest);
  const double n = bands;
  const double ratio = std::pow(bottom / top, 1 / n);
  const double q = ratio > 1 ? ratio : 1 / ratio;
  double period = frequency * top;
  double bandFrequency = 1 / top;
  for (int i = 0; i < bands; ++i) {
    tuning.K.push_back(2.466 / period / period);
    double weight = 1;
    switch (props.HorDistribution) {
      case 0:  // "Frequency Linear"
        bandFrequency -= (1 / top - 1 / bottom) / n;
        period = frequency / bandFrequency;
        weight = 1 / ((n + 1 - i) * 3.0 / n);
        break;
      case 2:  // "Time Linear"
        period += (bottom - top) * frequency / n;
        weight = 1 / ((i + 1) * 3.0 / n);
        break;
      default:  // "Logaritmic"
        period *= ratio;
        break;
    }
    const double d = std::pow(q, props.Width.GetValue() * weight);
    tuning.Damp.push_back(std::pow(1 / d, 1 / period));
  }
  return tuning;
}

TVolumeDiagram::TVolumeDiagram() = default;
TVolumeDiagram::~TVolumeDiagram() = default;

void TVolumeDiagram::UsePlainKernel(bool plain) { gPlainKernel = plain; }

void TVolumeDiagram::Clear() {
  KeySound = nullptr;
  KeyHeight = -1;
  Banks.clear();
  Tasks.clear();
  ColumnStart.clear();
  Width = 0;
  Done = 0;
}

bool TVolumeDiagram::Prepare(const Sound& sound, std::uint64_t soundVersion,
                             const TWaveCoords& coords, int height, const TVoldViewProps& props) {
  const auto sameProps = [](const TVoldViewProps& a, const TVoldViewProps& b) {
    return a.Top.GetValue() == b.Top.GetValue() && a.Bottom.GetValue() == b.Bottom.GetValue() &&
           a.Vertical.GetValue() == b.Vertical.GetValue() &&
           a.Width.GetValue() == b.Width.GetValue() && a.HorDistribution == b.HorDistribution &&
           a.TwoDiagrams == b.TwoDiagrams;
  };
  if (KeySound == &sound && KeyVersion == soundVersion && KeyCoords == coords &&
      KeyHeight == height && sameProps(KeyProps, props))
    return false;
  Clear();
  KeySound = &sound;
  KeyVersion = soundVersion;
  KeyCoords = coords;
  KeyHeight = height;
  KeyProps = props;

  const std::int32_t values = sound.GetValues();
  Width = values > 0 && height > 0 ? std::max(coords.Width, 0) : 0;
  Done = 0;
  if (Width == 0) return true;

  // Column c takes the values whose pixel is c: from the first value of the
  // visible range on.
  ColumnStart.resize(static_cast<std::size_t>(Width) + 1);
  const double begin = coords.VisibleBegin();
  const double perColumn = (coords.VisibleEnd() - begin) / Width;
  for (int x = 0; x <= Width; ++x) {
    double guess = std::ceil(begin + x * perColumn);
    auto j = static_cast<std::int32_t>(Clip(guess, 0, values));
    while (j > 0 && coords.PositionToPixel(j - 1) >= x) --j;
    while (j < values && coords.PositionToPixel(j) < x) ++j;
    if (x > 0) j = std::max(j, ColumnStart[x - 1]);
    ColumnStart[x] = j;
  }

  const bool stereo = sound.ChannelCount() == 2;
  Combined = stereo && !props.TwoDiagrams;
  const int diagrams = stereo ? 2 : 1;
  Banks.resize(diagrams);
  const int mid = height / 2;
  for (int d = 0; d < diagrams; ++d) {
    TBank& bank = Banks[d];
    bank.Data = sound.Channel(d)->data();
    if (stereo && !Combined) {
      bank.Top = d == 0 ? 0 : mid;
      bank.Height = d == 0 ? mid : height - mid;
    } else {
      bank.Top = 0;
      bank.Height = height;
    }
    bank.Bands = std::clamp(static_cast<int>(props.Vertical.GetValue()), 0, bank.Height);
    bank.Blocks = (bank.Bands + kLanes - 1) / kLanes;
    const TBandTuning tuning = TuneBands(bank.Bands, sound.GetFreq(), props);
    for (auto* blocks : {&bank.K, &bank.Damp, &bank.OneMinusDamp, &bank.Value, &bank.Speed})
      blocks->assign(bank.Blocks, TBlock{});
    // Lanes beyond the last band stay all zero: they run without effect.
    for (int i = 0; i < bank.Bands; ++i) {
      bank.K[i / kLanes].Lane[i % kLanes] = tuning.K[i];
      bank.Damp[i / kLanes].Lane[i % kLanes] = tuning.Damp[i];
      bank.OneMinusDamp[i / kLanes].Lane[i % kLanes] = 1 - tuning.Damp[i];
    }
    bank.Peaks.assign(static_cast<std::size_t>(Width) * bank.Bands, 0.0F);
  }
  // Both cores: one channel each, or the halves of a mono wave's bands.
  if (stereo) {
    for (TBank& bank : Banks) Tasks.push_back({&bank, 0, bank.Blocks});
  } else {
    TBank& bank = Banks[0];
    const int half = bank.Blocks / 2;
    if (half > 0) Tasks.push_back({&bank, 0, half});
    Tasks.push_back({&bank, half, bank.Blocks});
  }
  return true;
}

void TVolumeDiagram::RunTasks(int c0, int c1) {
  const TKernel kernel = gPlainKernel ? RunColumnsPlain : BestKernel();
  auto run = [&](const TTask& task) {
    TBank& bank = *task.Bank;
    if (task.Block0 >= task.Block1) return;
    const TKernelArgs args{bank.Value.data(),
                           bank.Speed.data(),
                           bank.K.data(),
                           bank.Damp.data(),
                           bank.OneMinusDamp.data(),
                           task.Block0,
                           task.Block1,
                           bank.Bands,
                           bank.Data,
                           ColumnStart.data(),
                           c0,
                           c1,
                           bank.Peaks.data()};
    kernel(args);
  };
  if (Tasks.size() == 1) {
    run(Tasks[0]);
    return;
  }
  std::thread other([&] { run(Tasks[1]); });
  run(Tasks[0]);
  other.join();
}

bool TVolumeDiagram::Advance(double seconds) {
  const auto start = std::chrono::steady_clock::now();
  while (Done < Width) {
    int c1 = Done;
    std::int64_t values = 0;
    while (c1 < Width && (c1 == Done || values < kChunkValues)) {
      values += ColumnStart[c1 + 1] - ColumnStart[c1];
      ++c1;
    }
    RunTasks(Done, c1);
    Done = c1;
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    if (seconds >= 0 && spent.count() >= seconds) break;
  }
  return Complete();
}

int TVolumeDiagram::Bands(int diagram) const { return Banks[diagram].Bands; }

float TVolumeDiagram::Peak(int diagram, int column, int band) const {
  const TBank& bank = Banks[diagram];
  return bank.Peaks[static_cast<std::size_t>(column) * bank.Bands + band];
}

void TVolumeDiagram::BandRows(int diagram, int band, int& top, int& bottom) const {
  // Rows are shared out evenly: band i ends where i + 1 bands of the height
  // end, so the bands differ by at most one row.
  const TBank& bank = Banks[diagram];
  top = bank.Top + band * bank.Height / bank.Bands;
  bottom = bank.Top + (band + 1) * bank.Height / bank.Bands;
}

namespace {

// How loud a cell shows: 0 ... 1, inverted in a selected column.
double Intensity(float peak, const TVoldViewProps& props, bool selected) {
  double a = peak / 32768.0;
  switch (props.Sensitivity) {
    case 0:
      a = a * a;
      break;
    case 2:
      a = std::sqrt(a);
      break;
    case 3:
      a = std::pow(a, 0.25);
      break;
    default:
      break;
  }
  a = std::min(a * props.Strength.GetValue(), 1.0);
  return selected ? 1 - a : a;
}

int Component(double value) { return static_cast<int>(std::trunc(Clip(value, 0, 255))); }

QRgb Blend(const TColor& from, const TColor& to, double a) {
  return qRgb(Component(from.Red * (1 - a) + to.Red * a),
              Component(from.Green * (1 - a) + to.Green * a),
              Component(from.Blue * (1 - a) + to.Blue * a));
}

// Equal loudness in `Single`, one-sided loudness in that side's colour.
QRgb BlendStereo(const TVoldViewProps& p, double aL, double aR) {
  const bool leftLouder = aL > aR;
  const double loud = leftLouder ? aL : aR;
  const TColor& side = leftLouder ? p.Left : p.Right;
  // Both silent: the colour is the background whatever the mix, and the
  // ratio would be 0 / 0.
  const double r = loud > 0 ? (leftLouder ? aR / aL : aL / aR) : 1;
  auto mix = [&](std::uint8_t single, std::uint8_t sideC, std::uint8_t back) {
    return Component((single * r + sideC * (1 - r)) * loud + back * (1 - loud));
  };
  return qRgb(mix(p.Single.Red, side.Red, p.Background.Red),
              mix(p.Single.Green, side.Green, p.Background.Green),
              mix(p.Single.Blue, side.Blue, p.Background.Blue));
}

void FillColumn(QImage& image, int x, int top, int bottom, QRgb colour) {
  for (int y = top; y < bottom; ++y) reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
}

}  // namespace

void TVolumeDiagram::Paint(QImage& image, int x0, int x1, bool selected,
                           const TVoldViewProps& props) const {
  x0 = std::max(x0, 0);
  x1 = std::min(x1, image.width());
  const QRgb background = qRgb(props.Background.Red, props.Background.Green, props.Background.Blue);
  for (int x = x0; x < x1; ++x) {
    if (x >= Done || Banks.empty()) {
      FillColumn(image, x, 0, image.height(), background);
      continue;
    }
    if (Combined) {
      const TBank& left = Banks[0];
      for (int band = 0; band < left.Bands; ++band) {
        int top = 0, bottom = 0;
        BandRows(0, band, top, bottom);
        const double aL = Intensity(Peak(0, x, band), props, selected);
        const double aR = Intensity(Peak(1, x, band), props, selected);
        FillColumn(image, x, top, bottom, BlendStereo(props, aL, aR));
      }
      FillColumn(image, x, left.Bands > 0 ? left.Height : 0, image.height(), background);
      continue;
    }
    for (int d = 0; d < Diagrams(); ++d) {
      const TBank& bank = Banks[d];
      for (int band = 0; band < bank.Bands; ++band) {
        int top = 0, bottom = 0;
        BandRows(d, band, top, bottom);
        const double a = Intensity(Peak(d, x, band), props, selected);
        FillColumn(image, x, top, bottom, Blend(props.Background, props.Single, a));
      }
      if (bank.Bands == 0) FillColumn(image, x, bank.Top, bank.Top + bank.Height, background);
    }
  }
}
