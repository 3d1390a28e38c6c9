#pragma once

#include <cstdint>
#include <memory>
#include <string>

// One channel of sound: a counted array of signed 16-bit sample values.
//
// Ranges are begin ... end with end excluded; where an operation allows it,
// end = -1 means the end of the wave. Every operation that allocates or loops
// takes the caller's failure flag: it does nothing while the flag is set, and
// a result returned while the flag is set after the call must be discarded.
// Operations that change a wave return a new one the caller owns; the few that
// work in place say so.
class Wave {
 public:
  Wave() = default;
  // `values` uninitialised values; on allocation failure the wave is empty
  // and `failed` is set.
  Wave(bool& failed, std::int32_t values);
  // Adopts an array the caller filled (the WAV reader).
  Wave(std::unique_ptr<std::int16_t[]> array, std::int32_t values);
  // Deep copy, block-wise; stops when `failed` becomes set.
  Wave(bool& failed, const Wave& other);

  Wave(const Wave&) = delete;
  Wave& operator=(const Wave&) = delete;

  std::int32_t getValues() const { return values; }
  std::int16_t* data() { return wave.get(); }
  const std::int16_t* data() const { return wave.get(); }
  std::int16_t at(std::int32_t index) const { return wave[index]; }
  void Dump() const;

  // --- elementary operations ---------------------------------------------
  void copyFrom(const Wave& from, std::int32_t begin, std::int32_t end, std::int32_t to);
  void clear(std::int32_t begin, std::int32_t end);
  void addFrom(const Wave& from, std::int32_t begin, std::int32_t end, std::int32_t to);
  std::int32_t maxAbs(std::int32_t begin, std::int32_t end) const;

  std::unique_ptr<Wave> extract(bool& failed, std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> remove(bool& failed, std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> replace(bool& failed, const Wave& other, std::int32_t begin,
                                std::int32_t end) const;
  std::unique_ptr<Wave> append(bool& failed, const Wave& other) const;
  void drawLine(std::int32_t begin, double from, std::int32_t end, double to);
  std::unique_ptr<Wave> mix(bool& failed, double factor, const Wave& other, double otherFactor,
                            std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> average(bool& failed, const Wave& other) const;
  void mixAfter(bool& failed, const Wave& other, std::int32_t after, double factor);
  void addAfter(bool& failed, const Wave& other, std::int32_t after);
  void mixCycleAfterThis(bool& failed, const Wave& other, std::int32_t after);
  std::unique_ptr<Wave> mixAt(bool& failed, const Wave& other, std::int64_t position,
                              std::int32_t count, bool fromEnd) const;
  std::unique_ptr<Wave> mixBefore(bool& failed, const Wave& other, std::int32_t position,
                                  std::int32_t count, bool fromEnd) const;
  std::unique_ptr<Wave> resize(bool& failed, std::int32_t length, bool reverse, std::int32_t begin,
                               std::int32_t& end) const;
  std::unique_ptr<Wave> lengthAll(bool& failed, double factor) const;

  // Value at a fractional position: w[i] when the fraction is 0, otherwise
  // the linear interpolation of w[i] and w[i + 1].
  double readAt(double position) const {
    const auto i = static_cast<std::int32_t>(position);
    const double f = position - i;
    if (f == 0) return wave[i];
    return (1 - f) * wave[i] + f * wave[i + 1];
  }

  // readAt for an envelope stretched over a range: a position that summed
  // steps carried past the last value reads the last value, and an empty
  // wave reads 0.
  double readEnvelope(double position) const {
    if (values == 0) return 0;
    const double last = values - 1;
    return readAt(position < last ? position : last);
  }

  // The frame of a result whose range begin ... end becomes `length` new
  // values: values before the range copied, the `length` values left
  // uninitialised for the caller, the values after the range copied behind
  // them. Null when `failed` is set or memory is short (a result longer than
  // kMaxWaveValues included).
  std::unique_ptr<Wave> newAround(bool& failed, std::int32_t begin, std::int32_t end,
                                  std::int64_t length) const;

  // --- generators (wave_generate.cpp) --------------------------------------
  std::unique_ptr<Wave> silence(bool& failed, std::int32_t length, std::int32_t& begin,
                                std::int32_t& end) const;
  std::unique_ptr<Wave> line(bool& failed, double from, double to, std::int32_t length,
                             std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> expLine(bool& failed, double from, double to, std::int32_t length,
                                std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> noise(bool& failed, double volume, std::int32_t length, std::int32_t& begin,
                              std::int32_t& end) const;
  std::unique_ptr<Wave> blockWave(bool& failed, double first, double second, double period,
                                  double middle, std::int32_t length, double startPhase,
                                  bool triangle, std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> blockWaveEnvelope(bool& failed, double first, double second, double period,
                                          const Wave& middleEnvelope, std::int32_t length,
                                          double startPhase, bool triangle, std::int32_t& begin,
                                          std::int32_t& end) const;
  std::unique_ptr<Wave> sinus(bool& failed, double top, double bottom, double period, double count,
                              double startAngle, std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> multiFreq(bool& failed, std::int32_t length, const Wave& source,
                                  int freqCount, const double* startVolumes, const double* periods,
                                  const double* startAngles, const double* decays,
                                  std::int32_t& begin, std::int32_t& end) const;

  // --- volume and shape (wave_volume.cpp) ----------------------------------
  std::unique_ptr<Wave> volume(bool& failed, double factor, std::int32_t begin,
                               std::int32_t end) const;
  void volumeInPlace(bool& failed, double factor, std::int32_t begin, std::int32_t end);
  std::unique_ptr<Wave> volumeEnvelope(bool& failed, const Wave& envelope, std::int32_t begin,
                                       std::int32_t end) const;
  std::unique_ptr<Wave> reverse(bool& failed, std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> up(bool& failed, std::int16_t add, std::int32_t begin,
                           std::int32_t end) const;
  std::unique_ptr<Wave> block(bool& failed, double time, std::int32_t levels, std::int32_t begin,
                              std::int32_t end) const;
  std::unique_ptr<Wave> rotate(bool& failed, std::int32_t leftShift, std::int32_t begin,
                               std::int32_t end) const;
  std::unique_ptr<Wave> rollIn(bool& failed, std::int32_t length, std::int32_t target,
                               std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> rollOutForm(bool& failed, const Wave& form, double per, double count,
                                    double startAngle, std::int32_t beginf, std::int32_t endf,
                                    std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> rollOutEnvelope(bool& failed, const Wave& speedEnvelope,
                                        double lengthfactor, double speed, double startpos,
                                        std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> distort(bool& failed, const Wave& shape, std::int32_t begin,
                                std::int32_t end) const;

  // --- filters (filter.cpp) -------------------------------------------
  std::unique_ptr<Wave> lowPass(bool& failed, double time, double factor, int countBer,
                                int countCmd, std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> highPass(bool& failed, double time, double factor, int countBer,
                                 int countCmd, std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> lowPassEnvelope(bool& failed, const Wave& freqEnvelope, double factor,
                                        int countBer, int countCmd, std::int32_t sampleFreq,
                                        std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> highPassEnvelope(bool& failed, const Wave& freqEnvelope, double factor,
                                         int countBer, int countCmd, std::int32_t sampleFreq,
                                         std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> resonant(bool& failed, double per, double factor, std::int32_t begin,
                                 std::int32_t end) const;
  std::unique_ptr<Wave> resonantFreqEnvelope(bool& failed, const Wave& freqEnvelope, double factor,
                                             std::int32_t sampleFreq, std::int32_t begin,
                                             std::int32_t end) const;
  std::unique_ptr<Wave> resonantWidthEnvelope(bool& failed, double per, const Wave& widthEnvelope,
                                              std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> resonantEnvelopes(bool& failed, const Wave& freqEnvelope,
                                          const Wave& widthEnvelope, std::int32_t sampleFreq,
                                          std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> notch(bool& failed, double per, double factor, std::int32_t begin,
                              std::int32_t end) const;
  std::unique_ptr<Wave> notchFreqEnvelope(bool& failed, const Wave& freqEnvelope, double factor,
                                          std::int32_t sampleFreq, std::int32_t begin,
                                          std::int32_t end) const;
  std::unique_ptr<Wave> notchWidthEnvelope(bool& failed, double per, const Wave& widthEnvelope,
                                           std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> notchEnvelopes(bool& failed, const Wave& freqEnvelope,
                                       const Wave& widthEnvelope, std::int32_t sampleFreq,
                                       std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Wave> blockFilter(bool& failed, double time, std::int32_t& begin,
                                    std::int32_t& end) const;
  std::unique_ptr<Wave> blockFilterEnvelope(bool& failed, double maxTime, const Wave& timeEnvelope,
                                            std::int32_t& begin, std::int32_t& end) const;
  // lowPass/highPass (high) and resonant/notch (notch) of `channels` (1 or 2)
  // equally long waves in one loop: a stereo sound's two recurrences run
  // interleaved, each giving exactly what the one-wave operation gives.
  static void onePolePair(bool& failed, bool high, const Wave* const* in,
                          std::unique_ptr<Wave>* out, int channels, double time, double factor,
                          int countBer, int countCmd, std::int32_t begin, std::int32_t end);
  static void resonantPair(bool& failed, bool notch, const Wave* const* in,
                           std::unique_ptr<Wave>* out, int channels, double per, double factor,
                           std::int32_t begin, std::int32_t end);

  // --- echoes, balance and mixing (wave_echo.cpp) --------------------------
  std::unique_ptr<Wave> echoConstant(bool& failed, double diffTime, double factor, int count,
                                     std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> echoVolumeEnvelope(bool& failed, double diffTime,
                                           const Wave& volumeEnvelope, int count,
                                           std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> echoTimeEnvelope(bool& failed, double diffTime, const Wave& timeEnvelope,
                                         double factor, int count, std::int32_t& begin,
                                         std::int32_t& end) const;
  std::unique_ptr<Wave> echoEnvelopes(bool& failed, double diffTime, const Wave& timeEnvelope,
                                      const Wave& volumeEnvelope, int count, std::int32_t& begin,
                                      std::int32_t& end) const;
  std::unique_ptr<Wave> balanceConstant(bool& failed, double position, bool isRight, bool timeDiff,
                                        bool volumeDiff, bool filterDiff,
                                        std::int32_t sampleFreq) const;
  std::unique_ptr<Wave> balanceEnvelope(bool& failed, const Wave& directionEnvelope, bool isRight,
                                        bool volumeDiff, bool timeDiff, bool filterDiff,
                                        std::int32_t sampleFreq) const;
  std::unique_ptr<Wave> addEnvelope(bool& failed, const Wave& envelope, std::int32_t begin,
                                    std::int32_t end) const;

  // --- length, tempo and pitch (wave_tempo.cpp) ----------------------------
  std::unique_ptr<Wave> lengthFactor(bool& failed, double factor, std::int32_t& begin,
                                     std::int32_t& end) const;
  std::unique_ptr<Wave> tempoPitchBlocks(bool& failed, double speed, double startPos,
                                         double lengthFactor, double pitch, std::int32_t blockTime,
                                         std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> tempoPitchCross(bool& failed, double speed, double startPos,
                                        double lengthFactor, double pitch, std::int32_t blockTime,
                                        std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> tempoPitchBlocksFreq(bool& failed, double speed, double startPos,
                                             double lengthFactor, double pitch,
                                             const Wave& freqWave, std::int32_t blockTime,
                                             std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> tempoPitchCrossFreq(bool& failed, double speed, double startPos,
                                            double lengthFactor, double pitch, const Wave& freqWave,
                                            std::int32_t blockTime, std::int32_t& begin,
                                            std::int32_t& end) const;
  std::unique_ptr<Wave> tempoPitchBlocksSpeed(bool& failed, double speed, const Wave& speedEnvelop,
                                              double startPos, double lengthFactor, double pitch,
                                              std::int32_t blockTime, std::int32_t& begin,
                                              std::int32_t& end) const;
  std::unique_ptr<Wave> tempoPitchCrossSpeed(bool& failed, double speed, const Wave& speedEnvelop,
                                             double startPos, double lengthFactor, double pitch,
                                             std::int32_t blockTime, std::int32_t& begin,
                                             std::int32_t& end) const;
  std::unique_ptr<Wave> tempoPitchBlocksBoth(bool& failed, double speed, const Wave& speedEnvelop,
                                             double startPos, double lengthFactor, double pitch,
                                             const Wave& freqWave, std::int32_t blockTime,
                                             std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Wave> tempoPitchCrossBoth(bool& failed, double speed, const Wave& speedEnvelop,
                                            double startPos, double lengthFactor, double pitch,
                                            const Wave& freqWave, std::int32_t blockTime,
                                            std::int32_t& begin, std::int32_t& end) const;

 private:
  // Checks begin/end against the wave after substituting end = -1.
  void checkRange(std::int32_t begin, std::int32_t& end) const;

  std::unique_ptr<std::int16_t[]> wave;
  std::int32_t values = 0;
};

// Signatures by which Sound passes one filter of a family to a channel loop.
using WaveFilter1 = std::unique_ptr<Wave> (Wave::*)(bool&, double, double, int, int, std::int32_t,
                                                    std::int32_t) const;
using WaveFilter1Envelope = std::unique_ptr<Wave> (Wave::*)(bool&, const Wave&, double, int, int,
                                                            std::int32_t, std::int32_t,
                                                            std::int32_t) const;
using WaveFilter2 = std::unique_ptr<Wave> (Wave::*)(bool&, double, double, std::int32_t,
                                                    std::int32_t) const;
using WaveFilter2Freq = std::unique_ptr<Wave> (Wave::*)(bool&, const Wave&, double, std::int32_t,
                                                        std::int32_t, std::int32_t) const;
using WaveFilter2Width = std::unique_ptr<Wave> (Wave::*)(bool&, double, const Wave&, std::int32_t,
                                                         std::int32_t) const;
using WaveFilter2Both = std::unique_ptr<Wave> (Wave::*)(bool&, const Wave&, const Wave&,
                                                        std::int32_t, std::int32_t,
                                                        std::int32_t) const;

// The most values a wave holds. Counts worked out from seconds or factors
// saturate at 2^31 - 1 (TruncInt), so that count itself stands for "more than
// 32 bits" and is never allocated.
inline constexpr std::int32_t kMaxWaveValues = 2147483646;

// Null when `failed` is already set; otherwise a new wave of `values`
// values (null, with `failed` set, when the memory is not there). Sizes are
// worked out in 64 bits: one beyond kMaxWaveValues, or negative after an
// overflow upstream, is reported as out of memory.
std::unique_ptr<Wave> NewWave(bool& failed, std::int64_t values);
// Null when `failed` is set or `wave` is null; otherwise a deep copy.
std::unique_ptr<Wave> CopyWave(bool& failed, const Wave* wave);

// While it lives, no wave made on this thread by NewWave may hold more than
// `maxValues` values: a longer one is refused with an "Input Error" showing
// `message`, before any value is computed. The command line sets the longest
// wave its output file can hold, so an absurd length is refused at once
// instead of after minutes of work.
class WaveLengthLimit {
 public:
  WaveLengthLimit(std::int64_t maxValues, std::string message);
  ~WaveLengthLimit();
  WaveLengthLimit(const WaveLengthLimit&) = delete;
  WaveLengthLimit& operator=(const WaveLengthLimit&) = delete;

  // Whether a wave was refused under this limit.
  bool Exceeded() const { return exceeded_; }
  // Refuses `values` when it is beyond the limit (setting `failed`).
  bool Refuses(bool& failed, std::int64_t values);

 private:
  std::int64_t maxValues_;
  std::string message_;
  bool exceeded_ = false;
  WaveLengthLimit* previous_;
};

// Longest stretch a loop runs between two tests of the failure flag.
inline constexpr std::int32_t kBlockValues = 1000;
