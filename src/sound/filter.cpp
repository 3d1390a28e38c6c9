// Recursive filters (one-pole low and high pass, resonant and notch
// oscillators) and the running-box block filter.
//
// The recursions are latency-bound: every output waits for the previous
// state. Where several independent recurrences exist (the passes of a
// multi-pass low pass, the two channels of a stereo sound) they run in one
// loop so that the processor overlaps them; each recurrence still performs
// exactly the same floating-point operations in the same order.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/sampleconv.h"
#include "base/tbassert.h"
#include "sound/blocks.h"
#include "sound/envelope.h"
#include "sound/wave.h"

namespace {

// Passes of the one-pole filter fused into one loop; more run in groups.
constexpr int kMaxFusedPasses = 4;

// Width factor 0 ... just below 1 of a width-envelope value.
double EnvelopeWidth(double value) {
  const std::int16_t e = TruncSample(value);
  return (e + 32768) * (1.0 / 65536);
}

// Pole of the one-pole stage whose gain at the period `time` is `a`.
double OnePolePole(double a, double time) {
  double c = 1 - 2 * kPi * a / (std::sqrt(1 - a * a) * time);
  if (c < 0) c = 0;
  return c;
}

double StageGain(double factor, int countBer) { return std::pow(factor, 1.0 / countBer); }

// P one-pole passes of N channels in one loop. Pass p + 1 reads the truncated
// output of pass p at the same index, so the P x N state chains are
// independent of each other. `in` and `out` may be the same arrays.
template <int N, int P, bool High>
void OnePolePasses(bool& failed, const std::int16_t* const* in, std::int16_t* const* out,
                   std::int32_t count, double c) {
  const double g = 1 - c;
  double state[N][P] = {};
  ForBlocks(failed, count, [&](std::int32_t start, std::int32_t n) {
    // The state in locals for the block: the captured array is visible to
    // the progress path and would be kept in memory, every step of the
    // recurrence a store and a load (the resonant filter ran at half speed).
    double y[N][P];
    std::copy(&state[0][0], &state[0][0] + N * P, &y[0][0]);
    for (std::int32_t i = start; i < start + n; ++i) {
      for (int ch = 0; ch < N; ++ch) {
        std::int16_t v = in[ch][i];
        for (int p = 0; p < P; ++p) {
          const double x = v;
          y[ch][p] = g * x + c * y[ch][p];
          v = High ? TruncSample(x - y[ch][p]) : TruncSample(y[ch][p]);
        }
        out[ch][i] = v;
      }
    }
    std::copy(&y[0][0], &y[0][0] + N * P, &state[0][0]);
  });
}

// Two channels in the two lanes of one vector: the same operations on each
// lane as the scalar loop (IEEE arithmetic per lane, no fused multiply-add),
// with half the instructions. Outputs stay within 32 bits here (|y| <= 32768
// for the low pass, |x - y| <= 65536 for the high pass), so truncating to
// 32 bits and keeping the low 16 bits gives the samples of TruncSample.
using Lanes = double __attribute__((vector_size(16)));
using IntLanes = std::int32_t __attribute__((vector_size(8)));

template <int P, bool High>
void OnePolePassesTwoLanes(bool& failed, const std::int16_t* const* in, std::int16_t* const* out,
                           std::int32_t count, double c) {
  const Lanes cc = {c, c};
  const Lanes g = {1 - c, 1 - c};
  Lanes state[P] = {};
  const std::int16_t* left = in[0];
  const std::int16_t* right = in[1];
  std::int16_t* outLeft = out[0];
  std::int16_t* outRight = out[1];
  ForBlocks(failed, count, [&](std::int32_t start, std::int32_t n) {
    Lanes y[P];  // in locals for the block (see OnePolePasses)
    std::copy(state, state + P, y);
    for (std::int32_t i = start; i < start + n; ++i) {
      Lanes x = {static_cast<double>(left[i]), static_cast<double>(right[i])};
      IntLanes v;
      for (int p = 0; p < P; ++p) {
        y[p] = g * x + cc * y[p];
        const IntLanes t = __builtin_convertvector(High ? x - y[p] : y[p], IntLanes);
        v = (t << 16) >> 16;  // the low 16 bits, sign-extended
        x = __builtin_convertvector(v, Lanes);
      }
      outLeft[i] = static_cast<std::int16_t>(v[0]);
      outRight[i] = static_cast<std::int16_t>(v[1]);
    }
    std::copy(y, y + P, state);
  });
}

template <int N, bool High>
void OnePoleGroup(bool& failed, int passes, const std::int16_t* const* in, std::int16_t* const* out,
                  std::int32_t count, double c) {
  if constexpr (N == 2) {
    switch (passes) {
      case 1:
        OnePolePassesTwoLanes<1, High>(failed, in, out, count, c);
        break;
      case 2:
        OnePolePassesTwoLanes<2, High>(failed, in, out, count, c);
        break;
      case 3:
        OnePolePassesTwoLanes<3, High>(failed, in, out, count, c);
        break;
      default:
        OnePolePassesTwoLanes<4, High>(failed, in, out, count, c);
        break;
    }
    return;
  }
  switch (passes) {
    case 1:
      OnePolePasses<N, 1, High>(failed, in, out, count, c);
      break;
    case 2:
      OnePolePasses<N, 2, High>(failed, in, out, count, c);
      break;
    case 3:
      OnePolePasses<N, 3, High>(failed, in, out, count, c);
      break;
    default:
      OnePolePasses<N, 4, High>(failed, in, out, count, c);
      break;
  }
}

// countCmd passes of N channels: the first reads the sources, the others the
// results of the passes before (in the result arrays themselves).
template <int N>
void OnePoleRun(bool& failed, bool high, const std::int16_t* const* in, std::int16_t* const* out,
                std::int32_t count, double c, int countCmd) {
  const std::int16_t* const* source = in;
  const std::int16_t* results[N];
  for (int ch = 0; ch < N; ++ch) results[ch] = out[ch];
  for (int done = 0; done < countCmd && !failed;) {
    const int passes = std::min(kMaxFusedPasses, countCmd - done);
    if (high) {
      OnePoleGroup<N, true>(failed, passes, source, out, count, c);
    } else {
      OnePoleGroup<N, false>(failed, passes, source, out, count, c);
    }
    done += passes;
    source = results;
  }
}

// A low or high pass whose pole follows a frequency envelope value by value.
std::unique_ptr<Wave> OnePoleEnvelope(bool& failed, bool high, const Wave& source,
                                      const Wave& freqEnvelope, double factor, int countBer,
                                      int countCmd, std::int32_t sampleFreq, std::int32_t begin,
                                      std::int32_t end) {
  std::unique_ptr<Wave> result = source.newAround(failed, begin, end, end - begin);
  if (!result) return nullptr;
  const double a = StageGain(factor, countBer);
  const std::int16_t* in = source.data() + begin;
  std::int16_t* out = result->data() + begin;
  const std::int32_t count = end - begin;
  for (int pass = 0; pass < countCmd; ++pass) {
    double y = 0;
    EnvelopeReader frequencies = EnvelopeReader::Stretched(freqEnvelope, count);
    const bool done = ForBlocks(failed, count, [&](std::int32_t start, std::int32_t n) {
      for (std::int32_t i = start; i < start + n; ++i) {
        const double time = sampleFreq / EnvelopeFrequency(frequencies.Next());
        const double c = OnePolePole(a, time);
        const double x = in[i];
        y = (1 - c) * x + c * y;
        out[i] = high ? TruncSample(x - y) : TruncSample(y);
      }
    });
    if (!done) break;
    in = out;
  }
  return result;
}

// The driven damped oscillator with fixed coefficients, N channels at once.
template <int N, bool Notch>
void ResonantRun(bool& failed, const std::int16_t* const* in, std::int16_t* const* out,
                 std::int32_t count, double k, double d) {
  const double g = 1 - d;
  double vState[N] = {};
  double yState[N] = {};
  ForBlocks(failed, count, [&](std::int32_t start, std::int32_t n) {
    // The state in locals for the block (see OnePolePasses).
    double v[N];
    double y[N];
    std::copy(vState, vState + N, v);
    std::copy(yState, yState + N, y);
    for (std::int32_t i = start; i < start + n; ++i) {
      for (int ch = 0; ch < N; ++ch) {
        const double x = in[ch][i];
        for (int sub = 0; sub < 4; ++sub) {
          y[ch] = y[ch] + k * v[ch];
          v[ch] = v[ch] - y[ch];
          y[ch] = g * x + d * y[ch];
        }
        out[ch][i] = Notch ? TruncSample(x - y[ch]) : TruncSample(y[ch]);
      }
    }
    std::copy(v, v + N, vState);
    std::copy(y, y + N, yState);
  });
}

struct Oscillator {
  double k;
  double d;
  int subSteps;
};

// The oscillator with coefficients recomputed for every value by `next()`.
template <class Next>
std::unique_ptr<Wave> ResonantVarying(bool& failed, bool notch, const Wave& source,
                                      std::int32_t begin, std::int32_t end, Next next) {
  std::unique_ptr<Wave> result = source.newAround(failed, begin, end, end - begin);
  if (!result) return nullptr;
  const std::int16_t* in = source.data() + begin;
  std::int16_t* out = result->data() + begin;
  const std::int32_t count = end - begin;
  double vState = 0;
  double yState = 0;
  ForBlocks(failed, count, [&](std::int32_t start, std::int32_t n) {
    double v = vState;  // in locals for the block (see OnePolePasses)
    double y = yState;
    for (std::int32_t i = start; i < start + n; ++i) {
      const Oscillator o = next();
      const double x = in[i];
      for (int sub = 0; sub < o.subSteps; ++sub) {
        y = y + o.k * v;
        v = v - y;
        y = (1 - o.d) * x + o.d * y;
      }
      out[i] = notch ? TruncSample(x - y) : TruncSample(y);
    }
    vState = v;
    yState = y;
  });
  return result;
}

// Four sub-steps turn the oscillator once per `per` values; the frequency
// envelope variant takes twenty smaller ones.
constexpr double kFourStepK = 2.466;
constexpr double kTwentyStepK = 0.09864;

std::unique_ptr<Wave> FreqEnvelopeOsc(bool& failed, bool notch, const Wave& source,
                                      const Wave& freqEnvelope, double factor,
                                      std::int32_t sampleFreq, std::int32_t begin,
                                      std::int32_t end) {
  EnvelopeReader frequencies = EnvelopeReader::Stretched(freqEnvelope, end - begin);
  return ResonantVarying(failed, notch, source, begin, end, [&] {
    const double per = sampleFreq / EnvelopeFrequency(frequencies.Next());
    return Oscillator{kTwentyStepK / (per * per), std::pow(1 - factor, 1 / per), 20};
  });
}

std::unique_ptr<Wave> WidthEnvelopeOsc(bool& failed, bool notch, const Wave& source, double per,
                                       const Wave& widthEnvelope, std::int32_t begin,
                                       std::int32_t end) {
  EnvelopeReader widths = EnvelopeReader::Stretched(widthEnvelope, end - begin);
  const double k = kFourStepK / (per * per);
  return ResonantVarying(failed, notch, source, begin, end, [&] {
    const double width = EnvelopeWidth(widths.Next());
    return Oscillator{k, std::pow(1 - width, 1 / per), 4};
  });
}

std::unique_ptr<Wave> BothEnvelopesOsc(bool& failed, bool notch, const Wave& source,
                                       const Wave& freqEnvelope, const Wave& widthEnvelope,
                                       std::int32_t sampleFreq, std::int32_t begin,
                                       std::int32_t end) {
  EnvelopeReader frequencies = EnvelopeReader::Stretched(freqEnvelope, end - begin);
  EnvelopeReader widths = EnvelopeReader::Stretched(widthEnvelope, end - begin);
  return ResonantVarying(failed, notch, source, begin, end, [&] {
    const double per = sampleFreq / EnvelopeFrequency(frequencies.Next());
    const double width = EnvelopeWidth(widths.Next());
    return Oscillator{kFourStepK / (per * per), std::pow(1 - width, 1 / per), 4};
  });
}

// The source of a block filter: the range read with interpolation, 0 outside.
struct RangeReader {
  const Wave& wave;
  std::int32_t begin;
  std::int32_t end;
  double operator()(double q) const {
    if (q < begin || q > end - 1) return 0;
    return wave.readAt(q);
  }
};

// quotients[k] = S(from + k) / time for `length` whole positions, S being
// the wave inside begin ... end - 1 and 0 outside; the part inside the range
// is a plain loop the compiler vectorises.
void RangeQuotients(const std::int16_t* w, std::int32_t begin, std::int32_t end, std::int64_t from,
                    std::int32_t length, double time, double* quotients) {
  const std::int64_t inFrom = std::clamp<std::int64_t>(begin - from, 0, length);
  const std::int64_t inTo = std::clamp<std::int64_t>(end - from, inFrom, length);
  const double outside = 0 / time;
  for (std::int64_t k = 0; k < inFrom; ++k) quotients[k] = outside;
  if (inTo > inFrom) {
    const std::int16_t* read = w + (from + inFrom);
    for (std::int64_t k = inFrom; k < inTo; ++k) quotients[k] = read[k - inFrom] / time;
  }
  for (std::int64_t k = inTo; k < length; ++k) quotients[k] = outside;
}

}  // namespace

std::unique_ptr<Wave> Wave::lowPass(bool& failed, double time, double factor, int countBer,
                                    int countCmd, std::int32_t begin, std::int32_t end) const {
  std::unique_ptr<Wave> out[1];
  const Wave* in[1] = {this};
  onePolePair(failed, false, in, out, 1, time, factor, countBer, countCmd, begin, end);
  return std::move(out[0]);
}

std::unique_ptr<Wave> Wave::highPass(bool& failed, double time, double factor, int countBer,
                                     int countCmd, std::int32_t begin, std::int32_t end) const {
  std::unique_ptr<Wave> out[1];
  const Wave* in[1] = {this};
  onePolePair(failed, true, in, out, 1, time, factor, countBer, countCmd, begin, end);
  return std::move(out[0]);
}

void Wave::onePolePair(bool& failed, bool high, const Wave* const* in, std::unique_ptr<Wave>* out,
                       int channels, double time, double factor, int countBer, int countCmd,
                       std::int32_t begin, std::int32_t end) {
  TB_ASSERT(channels == 1 || channels == 2);
  if (channels == 2) TB_ASSERT(in[0]->values == in[1]->values);
  in[0]->checkRange(begin, end);
  TB_ASSERT(time > 0);
  if (high) {
    TB_ASSERT(factor > 0 && factor < 1);
  } else {
    TB_ASSERT(factor > 0);
    TB_ASSERT(factor < 1);
  }
  TB_ASSERT(countBer > 0);
  TB_ASSERT(countCmd > 0);
  TB_ASSERT(begin < end);
  if (failed) return;
  const std::int16_t* sources[2] = {};
  std::int16_t* results[2] = {};
  for (int ch = 0; ch < channels; ++ch) {
    out[ch] = in[ch]->newAround(failed, begin, end, end - begin);
    if (!out[ch]) return;
    sources[ch] = in[ch]->data() + begin;
    results[ch] = out[ch]->data() + begin;
  }
  const double c = OnePolePole(StageGain(factor, countBer), time);
  if (channels == 2) {
    OnePoleRun<2>(failed, high, sources, results, end - begin, c, countCmd);
  } else {
    OnePoleRun<1>(failed, high, sources, results, end - begin, c, countCmd);
  }
}

std::unique_ptr<Wave> Wave::lowPassEnvelope(bool& failed, const Wave& freqEnvelope, double factor,
                                            int countBer, int countCmd, std::int32_t sampleFreq,
                                            std::int32_t begin, std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(factor > 0);
  TB_ASSERT(factor < 1);
  TB_ASSERT(countBer > 0);
  TB_ASSERT(countCmd > 0);
  TB_ASSERT(begin < end);
  if (failed) return nullptr;
  return OnePoleEnvelope(failed, false, *this, freqEnvelope, factor, countBer, countCmd, sampleFreq,
                         begin, end);
}

std::unique_ptr<Wave> Wave::highPassEnvelope(bool& failed, const Wave& freqEnvelope, double factor,
                                             int countBer, int countCmd, std::int32_t sampleFreq,
                                             std::int32_t begin, std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(factor > 0 && factor < 1);
  TB_ASSERT(countBer > 0);
  TB_ASSERT(countCmd > 0);
  TB_ASSERT(begin < end);
  if (failed) return nullptr;
  return OnePoleEnvelope(failed, true, *this, freqEnvelope, factor, countBer, countCmd, sampleFreq,
                         begin, end);
}

void Wave::resonantPair(bool& failed, bool notch, const Wave* const* in, std::unique_ptr<Wave>* out,
                        int channels, double per, double factor, std::int32_t begin,
                        std::int32_t end) {
  TB_ASSERT(channels == 1 || channels == 2);
  if (channels == 2) TB_ASSERT(in[0]->values == in[1]->values);
  in[0]->checkRange(begin, end);
  TB_ASSERT(per >= 1 && factor >= 0 && factor <= 1);
  TB_ASSERT(begin < end);
  if (failed) return;
  const std::int16_t* sources[2] = {};
  std::int16_t* results[2] = {};
  for (int ch = 0; ch < channels; ++ch) {
    out[ch] = in[ch]->newAround(failed, begin, end, end - begin);
    if (!out[ch]) return;
    sources[ch] = in[ch]->data() + begin;
    results[ch] = out[ch]->data() + begin;
  }
  const double d = std::pow(1 - factor, 1 / per);
  const double k = kFourStepK / (per * per);
  const std::int32_t count = end - begin;
  if (channels == 2) {
    if (notch) {
      ResonantRun<2, true>(failed, sources, results, count, k, d);
    } else {
      ResonantRun<2, false>(failed, sources, results, count, k, d);
    }
  } else if (notch) {
    ResonantRun<1, true>(failed, sources, results, count, k, d);
  } else {
    ResonantRun<1, false>(failed, sources, results, count, k, d);
  }
}

std::unique_ptr<Wave> Wave::resonant(bool& failed, double per, double factor, std::int32_t begin,
                                     std::int32_t end) const {
  std::unique_ptr<Wave> out[1];
  const Wave* in[1] = {this};
  resonantPair(failed, false, in, out, 1, per, factor, begin, end);
  return std::move(out[0]);
}

std::unique_ptr<Wave> Wave::notch(bool& failed, double per, double factor, std::int32_t begin,
                                  std::int32_t end) const {
  std::unique_ptr<Wave> out[1];
  const Wave* in[1] = {this};
  resonantPair(failed, true, in, out, 1, per, factor, begin, end);
  return std::move(out[0]);
}

std::unique_ptr<Wave> Wave::resonantFreqEnvelope(bool& failed, const Wave& freqEnvelope,
                                                 double factor, std::int32_t sampleFreq,
                                                 std::int32_t begin, std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(factor >= 0 && factor <= 1);
  TB_ASSERT(begin < end);
  if (failed) return nullptr;
  return FreqEnvelopeOsc(failed, false, *this, freqEnvelope, factor, sampleFreq, begin, end);
}

std::unique_ptr<Wave> Wave::notchFreqEnvelope(bool& failed, const Wave& freqEnvelope, double factor,
                                              std::int32_t sampleFreq, std::int32_t begin,
                                              std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(factor >= 0 && factor <= 1);
  TB_ASSERT(begin < end);
  if (failed) return nullptr;
  return FreqEnvelopeOsc(failed, true, *this, freqEnvelope, factor, sampleFreq, begin, end);
}

std::unique_ptr<Wave> Wave::resonantWidthEnvelope(bool& failed, double per,
                                                  const Wave& widthEnvelope, std::int32_t begin,
                                                  std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(per >= 1);
  TB_ASSERT(begin < end);
  if (failed) return nullptr;
  return WidthEnvelopeOsc(failed, false, *this, per, widthEnvelope, begin, end);
}

std::unique_ptr<Wave> Wave::notchWidthEnvelope(bool& failed, double per, const Wave& widthEnvelope,
                                               std::int32_t begin, std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(per >= 1);
  TB_ASSERT(begin < end);
  if (failed) return nullptr;
  return WidthEnvelopeOsc(failed, true, *this, per, widthEnvelope, begin, end);
}

std::unique_ptr<Wave> Wave::resonantEnvelopes(bool& failed, const Wave& freqEnvelope,
                                              const Wave& widthEnvelope, std::int32_t sampleFreq,
                                              std::int32_t begin, std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  if (failed) return nullptr;
  return BothEnvelopesOsc(failed, false, *this, freqEnvelope, widthEnvelope, sampleFreq, begin,
                          end);
}

std::unique_ptr<Wave> Wave::notchEnvelopes(bool& failed, const Wave& freqEnvelope,
                                           const Wave& widthEnvelope, std::int32_t sampleFreq,
                                           std::int32_t begin, std::int32_t end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  if (failed) return nullptr;
  return BothEnvelopesOsc(failed, true, *this, freqEnvelope, widthEnvelope, sampleFreq, begin, end);
}

std::unique_ptr<Wave> Wave::blockFilter(bool& failed, double time, std::int32_t& begin,
                                        std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  if (failed) return nullptr;
  // The added values in 64 bits: a width beyond 32 bits (saturated by
  // TruncInt) asks for more than a wave holds, which newAround reports.
  const std::int64_t n = std::abs(std::int64_t{TruncInt(time)}) + 1;
  std::unique_ptr<Wave> result = newAround(failed, begin, end, end - begin + n);
  if (!result) return nullptr;
  std::int16_t* out = result->data() + begin;
  // The result holds the range and the n added values: these fit 32 bits.
  const auto count = static_cast<std::int32_t>(end - begin + n);
  const auto first = static_cast<std::int32_t>(time > 0 ? begin - n : begin);
  const bool whole = time == std::trunc(time);
  const std::int64_t width = whole ? static_cast<std::int64_t>(time) : 0;
  const std::int16_t* w = data();
  const RangeReader source{*this, begin, end};
  // Each block first takes the entering and leaving quotients (independent
  // of each other, so the divisions overlap), then runs the running sum, whose
  // two additions per value are the only chain.
  double entering[kBlockValues];
  double leaving[kBlockValues];
  double sum = 0;
  ForBlocks(failed, count, [&](std::int32_t start, std::int32_t length) {
    const std::int32_t p0 = first + start;
    if (whole) {
      // Whole-number width: every read lands on an index, read directly
      // (the values the interpolating read gives there).
      RangeQuotients(w, begin, end, p0 + width, length, time, entering);
    } else {
      for (std::int32_t k = 0; k < length; ++k) {
        const double p = p0 + k;
        entering[k] = source(p + time) / time;
      }
    }
    RangeQuotients(w, begin, end, p0, length, time, leaving);
    std::int16_t* target = out + start;
    for (std::int32_t k = 0; k < length; ++k) {
      sum = sum + entering[k];
      sum = sum - leaving[k];
      target[k] = TruncSample(0.5 * sum);
    }
  });
  end = static_cast<std::int32_t>(end + n);
  return result;
}

// The window of each output value is centred on it: output k (written at
// begin + k) stands for the source position c = begin - m + k, where m is the
// margin added on each side. A window of width |T| covers the values from
// lo = c - trunc((|T| - 1) / 2) on (c - 1 ... c + 1 for T = 3, c and c + 1
// for T = 2); the running sum adds the value entering it and drops the one
// leaving it, values outside the range counting as 0. The time envelope is
// stretched over the range; the outputs beyond it hold its last value.
std::unique_ptr<Wave> Wave::blockFilterEnvelope(bool& failed, double maxTime,
                                                const Wave& timeEnvelope, std::int32_t& begin,
                                                std::int32_t& end) const {
  checkRange(begin, end);
  TB_ASSERT(begin < end);
  if (failed) return nullptr;
  const std::int32_t m = TruncInt(std::fabs(maxTime) + 1);
  // 2m in 64 bits; the result, once it exists, holds all the outputs.
  std::unique_ptr<Wave> result = newAround(failed, begin, end, end - begin + 2 * std::int64_t{m});
  if (!result) return nullptr;
  std::int16_t* out = result->data() + begin;
  const std::int32_t count = end - begin + 2 * m;
  const RangeReader source{*this, begin, end};
  EnvelopeReader widths = EnvelopeReader::Stretched(timeEnvelope, end - begin);
  double sum = 0;
  ForBlocks(failed, count, [&](std::int32_t start, std::int32_t n) {
    for (std::int32_t k = start; k < start + n; ++k) {
      const double width = widths.Next() * maxTime * kEnvelopeUnit;
      const double c = begin - m + k;
      if (std::fabs(width) <= 1) {
        sum = source(c);
      } else {
        const double lo = c - std::trunc((std::fabs(width) - 1) / 2);
        const double p = width > 0 ? lo - 1 : lo - width - 1;
        sum = sum + source(p + width) / width;
        sum = sum - source(p) / width;
      }
      out[k] = TruncSample(0.5 * sum);
    }
  });
  end += 2 * m;
  return result;
}
