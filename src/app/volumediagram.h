#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "app/waveviewcoords.h"
#include "documents/viewprops.h"

class Sound;

// The period of each band of a volume diagram, its resonator coefficient and
// its damping, from the top band (highest frequency) down. Periods shorter
// than two values (above half the sample frequency) are taken as two values:
// a resonator tuned above that swings up without bound.
struct TBandTuning {
  std::vector<double> K;
  std::vector<double> Damp;
};
TBandTuning TuneBands(int bands, double frequency, const TVoldViewProps& props);

// Eight bands of a bank side by side, run as one.
struct alignas(64) TBandBlock {
  double Lane[8];
};

// The volume view of a wave window: a bank of resonators per channel runs
// over every value of the visible range and keeps, per pixel column and band,
// the peak it reached. The peaks are cached, so that a selection or cursor
// change repaints from the cache; they are computed again only when the
// sound, the diagram's settings, the size or the zoom change.
//
// The work is done in slices (Advance) so that a window stays responsive and
// can show how far it got; each slice runs the two channels, or the two halves
// of a mono wave's bands, on two threads and is finished when Advance returns.
class TVolumeDiagram {
 public:
  TVolumeDiagram();
  ~TVolumeDiagram();
  TVolumeDiagram(const TVolumeDiagram&) = delete;
  TVolumeDiagram& operator=(const TVolumeDiagram&) = delete;

  // Starts over when anything the peaks depend on differs from the last call
  // (true then). `sound` must stay alive and unchanged until the next call.
  bool Prepare(const Sound& sound, std::uint64_t soundVersion, const TWaveCoords& coords,
               int height, const TVoldViewProps& props);
  // Forgets everything (the sound is going away).
  void Clear();
  // Computes further columns, for about `seconds` (at least one chunk);
  // true when every column is done.
  bool Advance(double seconds);
  void ComputeAll() { Advance(-1); }
  int ColumnsDone() const { return Done; }
  int Columns() const { return Width; }
  bool Complete() const { return Done >= Width; }

  // Paints the computed columns among x0 ... x1 (excluded); columns not
  // computed yet show the background.
  void Paint(QImage& image, int x0, int x1, bool selected, const TVoldViewProps& props) const;

  // The peak of one cell (for checks): diagram 0 is the mono, left or only
  // one, 1 the right; bands count from the top.
  int Diagrams() const { return static_cast<int>(Banks.size()); }
  int Bands(int diagram) const;
  float Peak(int diagram, int column, int band) const;
  // The rows band `band` of a diagram takes: top ... bottom (excluded).
  void BandRows(int diagram, int band, int& top, int& bottom) const;

  // Which kernel runs the banks: blocks of bands as wide as the processor
  // takes, or (for the check that both give the same peaks) one band after
  // the other.
  static void UsePlainKernel(bool plain);

 private:
  // One channel's resonators, from the top band down, and their peaks.
  struct TBank {
    const std::int16_t* Data = nullptr;
    int Bands = 0;
    int Blocks = 0;
    int Top = 0;     // first row
    int Height = 0;  // rows
    std::vector<TBandBlock> K, Damp, OneMinusDamp, Value, Speed;
    // Peaks per column, Bands of them each.
    std::vector<float> Peaks;
  };
  // The blocks of a bank one thread runs.
  struct TTask {
    TBank* Bank;
    int Block0;
    int Block1;
  };
  void RunTasks(int c0, int c1);

  // What the peaks were computed for.
  const Sound* KeySound = nullptr;
  std::uint64_t KeyVersion = 0;
  TWaveCoords KeyCoords;
  int KeyHeight = -1;
  TVoldViewProps KeyProps;

  bool Combined = false;
  int Width = 0;
  int Done = 0;
  // First value of each column, and one past the last column's values.
  std::vector<std::int32_t> ColumnStart;
  std::vector<TBank> Banks;
  std::vector<TTask> Tasks;
};
