// Generators on sounds: seconds become counts of values with Freq and every
// channel gets the same generated values.

#include <cmath>
#include <vector>

#include "base/sampleconv.h"
#include "base/tbassert.h"
#include "sound/sinetable.h"
#include "sound/sound.h"

namespace {

// Every generator but noise gives both channels the same new values: they
// are generated once, for the first channel, and copied into the frame of
// the second (its own values around the range). The range checks of the
// generator hold for both, as the channels have the same length.
template <class Op>
std::unique_ptr<Sound> GenerateAlike(const Sound& sound, bool& failed, std::int32_t& begin,
                                     std::int32_t& end, Op op) {
  if (failed) return nullptr;
  const std::int32_t rangeBegin = begin;
  std::int32_t rangeEnd = end;
  std::unique_ptr<Wave> first = op(*sound.Channel(0), begin, end);
  if (sound.GetMoSt() == 1) return sound.MakeLike(failed, std::move(first), nullptr);
  if (failed || !first) return nullptr;
  const Wave& other = *sound.Channel(1);
  if (rangeEnd == -1) rangeEnd = other.getValues();
  std::unique_ptr<Wave> second = other.newAround(failed, rangeBegin, rangeEnd, end - begin);
  if (!second) return nullptr;
  second->copyFrom(*first, begin, end, begin);
  return sound.MakeLike(failed, std::move(first), std::move(second));
}

}  // namespace

std::unique_ptr<Sound> Sound::Silence(bool& failed, double seconds, std::int32_t& begin,
                                      std::int32_t& end) const {
  const std::int32_t length = TruncInt(Freq * seconds + 1);
  return GenerateAlike(*this, failed, begin, end,
                       [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
                         return w.silence(failed, length, b, e);
                       });
}

std::unique_ptr<Sound> Sound::SilenceAll(bool& failed, double count) const {
  const std::int32_t length = TruncInt(count);
  std::int32_t begin = 0;
  std::int32_t end = GetValues();
  return GenerateAlike(*this, failed, begin, end,
                       [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
                         return w.silence(failed, length, b, e);
                       });
}

std::unique_ptr<Sound> Sound::Line(bool& failed, double from, double to, double seconds,
                                   bool exponential, std::int32_t& begin, std::int32_t& end) const {
  const std::int32_t length = TruncInt(Freq * seconds + 1);
  return GenerateAlike(*this, failed, begin, end,
                       [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
                         return exponential ? w.expLine(failed, from, to, length, b, e)
                                            : w.line(failed, from, to, length, b, e);
                       });
}

std::unique_ptr<Sound> Sound::BlockWave(bool& failed, double height1, double height2,
                                        double periodSeconds, double middle, double lengthSeconds,
                                        double startPhase, bool triangle, std::int32_t& begin,
                                        std::int32_t& end) const {
  const double period = Freq * periodSeconds;
  const std::int32_t length = TruncInt(Freq * lengthSeconds);
  // The wave starts at the second height and turns to the first at `middle`.
  return GenerateAlike(*this, failed, begin, end,
                       [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
                         return w.blockWave(failed, height2, height1, period, middle, length,
                                            startPhase, triangle, b, e);
                       });
}

std::unique_ptr<Sound> Sound::BlockWaveEnvelope(bool& failed, double height1, double height2,
                                                double periodSeconds, const Sound& middleEnvelope,
                                                double lengthSeconds, double startPhase,
                                                bool triangle, std::int32_t& begin,
                                                std::int32_t& end) const {
  if (failed) return nullptr;
  const WaveHandle envelope = middleEnvelope.GetMiddle(failed);
  if (failed || !envelope) return nullptr;
  const double period = Freq * periodSeconds;
  const std::int32_t length = TruncInt(Freq * lengthSeconds);
  return GenerateAlike(*this, failed, begin, end,
                       [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
                         return w.blockWaveEnvelope(failed, height2, height1, period, *envelope,
                                                    length, startPhase, triangle, b, e);
                       });
}

std::unique_ptr<Sound> Sound::Sinus(bool& failed, double top, double bottom, double periodSeconds,
                                    double count, double startPhase, std::int32_t& begin,
                                    std::int32_t& end) const {
  const double period = Freq * periodSeconds;
  return GenerateAlike(*this, failed, begin, end,
                       [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
                         return w.sinus(failed, top, bottom, period, count, startPhase, b, e);
                       });
}

std::unique_ptr<Sound> Sound::Noise(bool& failed, double volume, double seconds,
                                    std::int32_t& begin, std::int32_t& end) const {
  const std::int32_t length = TruncInt(Freq * seconds);
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.noise(failed, volume, length, b, e);
  });
}

namespace {

// The sum of partials read from `source`, with the periods in values and
// the amplitude decay per value that the times in seconds give.
std::unique_ptr<Sound> MultiFreqFrom(const Sound& sound, bool& failed, const Wave& source,
                                     double seconds, int freqCount, const double* startVolumes,
                                     const double* periodsSeconds, const double* factorTimes,
                                     const double* volumeFactors, const double* startAngles,
                                     std::int32_t& begin, std::int32_t& end) {
  const std::int32_t freq = sound.GetFreq();
  const std::int32_t length = TruncInt(freq * seconds);
  std::vector<double> periods(freqCount > 0 ? freqCount : 0);
  std::vector<double> decays(periods.size());
  for (std::size_t k = 0; k < periods.size(); ++k) {
    periods[k] = freq * periodsSeconds[k];
    // Multiplied by volumeFactors[k] every factorTimes[k] seconds.
    decays[k] = std::pow(volumeFactors[k], 1 / (freq * factorTimes[k]));
  }
  return GenerateAlike(sound, failed, begin, end,
                       [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
                         return w.multiFreq(failed, length, source, freqCount, startVolumes,
                                            periods.data(), startAngles, decays.data(), b, e);
                       });
}

}  // namespace

std::unique_ptr<Sound> Sound::MultiFreq(bool& failed, double seconds, int freqCount,
                                        const double* startVolumes, const double* periodsSeconds,
                                        const double* factorTimes, const double* volumeFactors,
                                        const double* startAngles, std::int32_t& begin,
                                        std::int32_t& end) const {
  const Wave* table = SineTable();
  TB_ASSERT_TEXT(table != nullptr, "sinus != NULL");
  return MultiFreqFrom(*this, failed, *table, seconds, freqCount, startVolumes, periodsSeconds,
                       factorTimes, volumeFactors, startAngles, begin, end);
}

std::unique_ptr<Sound> Sound::MultiFreqForm(bool& failed, double seconds, int freqCount,
                                            const double* startVolumes,
                                            const double* periodsSeconds, const double* factorTimes,
                                            const double* volumeFactors, const double* startAngles,
                                            const Sound& form, std::int32_t& begin,
                                            std::int32_t& end) const {
  if (failed) return nullptr;
  const WaveHandle source = form.GetMiddle(failed);
  if (failed || !source) return nullptr;
  return MultiFreqFrom(*this, failed, *source, seconds, freqCount, startVolumes, periodsSeconds,
                       factorTimes, volumeFactors, startAngles, begin, end);
}
