#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/tbassert.h"
#include "sound/wave.h"

// A channel wave as handed out by a sound: either the sound's own wave
// (borrowed) or a new one made for the caller (a copy, destroyed with the
// handle).
class WaveHandle {
 public:
  WaveHandle() = default;
  static WaveHandle Borrow(const Wave* wave) {
    WaveHandle handle;
    handle.wave_ = wave;
    return handle;
  }
  static WaveHandle Own(std::unique_ptr<Wave> wave) {
    WaveHandle handle;
    handle.wave_ = wave.get();
    handle.owned_ = std::move(wave);
    return handle;
  }
  const Wave* get() const { return wave_; }
  const Wave& operator*() const { return *wave_; }
  const Wave* operator->() const { return wave_; }
  explicit operator bool() const { return wave_ != nullptr; }
  bool IsCopy() const { return owned_ != nullptr; }
  // The wave as the caller's own: the copy itself, or a deep copy of a borrowed one.
  std::unique_ptr<Wave> Take(bool& failed);

 private:
  const Wave* wave_ = nullptr;
  std::unique_ptr<Wave> owned_;
};

class StereoSound;

// One (mono) or two (stereo) channels with the sample frequency and the
// sample size of the file they came from. Every effect is an operation that
// returns a new sound of the same kind and leaves this one as it is; the few
// "InPlace"/mixing operations that change it say so. Times in seconds become
// counts of values with Freq.
class Sound {
 public:
  virtual ~Sound();
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  std::int16_t GetMoSt() const { return MoSt; }
  std::int32_t GetFreq() const { return Freq; }
  std::int16_t GetBytesPSample() const { return BytesPSample; }
  void SetBytesPSample(std::int16_t bytes) { BytesPSample = bytes; }
  bool Save(bool& failed, const std::string& fileName, bool temporary, std::int32_t begin,
            std::int32_t end) const;

  virtual void Dump() const = 0;
  std::int32_t GetValues() const;
  double GetSeconds() const;
  void SetProtectWave(bool protect) { ProtectWave = protect; }

  // Channels: the stored waves, 1 or 2 of them.
  int ChannelCount() const { return MoSt; }
  virtual const Wave* Channel(int index) const = 0;

  // Middle: mono its wave; stereo a new average of both channels.
  virtual WaveHandle GetMiddle(bool& failed) const = 0;
  virtual const Wave* GetLeft() const = 0;
  virtual const Wave* GetRight() const = 0;
  WaveHandle GetMiddleAt(bool& failed, std::int32_t freq) const;
  WaveHandle GetLeftAt(bool& failed, std::int32_t freq) const;
  WaveHandle GetRightAt(bool& failed, std::int32_t freq) const;
  WaveHandle GetMiddleForFreq(bool& failed, std::int32_t freq) const {
    return GetMiddleAt(failed, freq);
  }
  std::unique_ptr<Wave> TakeMiddle(bool& failed, std::int32_t freq) const;
  std::unique_ptr<Wave> TakeLeft(bool& failed, std::int32_t freq) const;
  std::unique_ptr<Wave> TakeRight(bool& failed, std::int32_t freq) const;
  double GetValueAt(bool& failed, double position, double top, double bottom) const;
  std::unique_ptr<Sound> ChangeFreq(bool& failed, double newFreq) const;

  // --- buffer operations (sound.cpp) ---------------------------------------
  std::unique_ptr<Sound> NewEmpty() const;
  std::unique_ptr<Sound> Delete(bool& failed, std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Sound> Extract(bool& failed, std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Sound> Replace(bool& failed, const Sound& other, std::int32_t begin,
                                 std::int32_t end) const;
  void DrawLine(std::int32_t begin, double from, std::int32_t end, double to);
  std::unique_ptr<Sound> MixBefore(bool& failed, const Sound& other, std::int32_t position,
                                   std::int32_t count, bool fromEnd) const;
  std::unique_ptr<Sound> MixAt(bool& failed, const Sound& other, std::int32_t position,
                               std::int32_t count, bool fromEnd) const;
  void MixAfterSeconds(bool& failed, const Sound& other, double seconds, double factor);
  void MixAfter(bool& failed, const Sound& other, std::int32_t after, double factor);
  void AddAfter(bool& failed, const Sound& other, std::int32_t after);
  void MixCycleAfterThis(bool& failed, const Sound& other, std::int32_t after);

  // --- generators (sound_generate.cpp) -------------------------------------
  std::unique_ptr<Sound> Silence(bool& failed, double seconds, std::int32_t& begin,
                                 std::int32_t& end) const;
  std::unique_ptr<Sound> SilenceAll(bool& failed, double count) const;
  std::unique_ptr<Sound> Line(bool& failed, double from, double to, double seconds,
                              bool exponential, std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Sound> BlockWave(bool& failed, double height1, double height2,
                                   double periodSeconds, double middle, double lengthSeconds,
                                   double startPhase, bool triangle, std::int32_t& begin,
                                   std::int32_t& end) const;
  std::unique_ptr<Sound> BlockWaveEnvelope(bool& failed, double height1, double height2,
                                           double periodSeconds, const Sound& middleEnvelope,
                                           double lengthSeconds, double startPhase, bool triangle,
                                           std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Sound> Sinus(bool& failed, double top, double bottom, double periodSeconds,
                               double count, double startPhase, std::int32_t& begin,
                               std::int32_t& end) const;
  std::unique_ptr<Sound> Noise(bool& failed, double volume, double seconds, std::int32_t& begin,
                               std::int32_t& end) const;
  std::unique_ptr<Sound> MultiFreq(bool& failed, double seconds, int freqCount,
                                   const double* startVolumes, const double* periodsSeconds,
                                   const double* factorTimes, const double* volumeFactors,
                                   const double* startAngles, std::int32_t& begin,
                                   std::int32_t& end) const;
  std::unique_ptr<Sound> MultiFreqForm(bool& failed, double seconds, int freqCount,
                                       const double* startVolumes, const double* periodsSeconds,
                                       const double* factorTimes, const double* volumeFactors,
                                       const double* startAngles, const Sound& form,
                                       std::int32_t& begin, std::int32_t& end) const;

  // --- volume and shape (sound_volume.cpp) ---------------------------------
  std::unique_ptr<Sound> Volume(bool& failed, double factor, std::int32_t begin,
                                std::int32_t end) const;
  void VolumeInPlace(bool& failed, double factor, std::int32_t begin, std::int32_t end);
  std::unique_ptr<Sound> VolumeEnvelope(bool& failed, const Sound& envelope, std::int32_t begin,
                                        std::int32_t end) const;
  std::unique_ptr<Sound> MaxVolume(bool& failed, std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Sound> Reverse(bool& failed, std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Sound> Up(bool& failed, std::int16_t add, std::int32_t begin,
                            std::int32_t end) const;
  std::unique_ptr<Sound> Block(bool& failed, double blockSeconds, std::int32_t levels,
                               std::int32_t begin, std::int32_t end) const;
  std::unique_ptr<Sound> Rotate(bool& failed, double shiftSeconds, std::int32_t begin,
                                std::int32_t end) const;
  std::unique_ptr<Sound> RollIn(bool& failed, double lengthSeconds, std::int32_t target,
                                std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Sound> RollOutForm(bool& failed, double periodSeconds, double count,
                                     double startPhase, std::int32_t& begin,
                                     std::int32_t& end) const;
  std::unique_ptr<Sound> RollOutEnvelope(bool& failed, const Sound& speedEnvelope,
                                         double lengthFactor, double speed, double startPos,
                                         std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Sound> Distort(bool& failed, const Sound& shape, std::int32_t begin,
                                 std::int32_t end) const;

  // --- filters (sound_filter.cpp) ------------------------------------------
  std::unique_ptr<Sound> Filter1(bool& failed, WaveFilter1 filter, double periodSeconds,
                                 double factor, int countBer, int countCmd, std::int32_t begin,
                                 std::int32_t end) const;
  std::unique_ptr<Sound> Filter1Envelope(bool& failed, WaveFilter1Envelope filter,
                                         const Sound& freqEnvelope, double factor, int countBer,
                                         int countCmd, std::int32_t begin, std::int32_t end) const;
  // Envelopes that the constant choice does not use may be null.
  std::unique_ptr<Sound> Filter2(bool& failed, bool freqConstant, bool widthConstant,
                                 double periodSeconds, double width, const Sound* freqEnvelope,
                                 const Sound* widthEnvelope, WaveFilter2 constant,
                                 WaveFilter2Freq freqFilter, WaveFilter2Width widthFilter,
                                 WaveFilter2Both bothFilter, std::int32_t begin,
                                 std::int32_t end) const;
  std::unique_ptr<Sound> BlockFilter(bool& failed, double seconds, std::int32_t& begin,
                                     std::int32_t& end) const;
  std::unique_ptr<Sound> BlockFilterEnvelope(bool& failed, const Sound& timeEnvelope,
                                             double maxSeconds, std::int32_t& begin,
                                             std::int32_t& end) const;
  std::unique_ptr<Sound> Normalize(bool& failed, std::int32_t begin, std::int32_t end) const;
  void NormalizeInPlace(bool& failed, std::int32_t begin, std::int32_t end);

  // --- echoes and mixing (sound_echo.cpp) ----------------------------------
  std::unique_ptr<Sound> EchoConstant(bool& failed, double echoSeconds, double factor, int count,
                                      std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Sound> EchoVolumeEnvelope(bool& failed, double echoSeconds,
                                            const Sound& volumeEnvelope, int count,
                                            std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Sound> EchoTimeEnvelope(bool& failed, double echoSeconds,
                                          const Sound& timeEnvelope, double factor, int count,
                                          std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Sound> EchoEnvelopes(bool& failed, double echoSeconds, const Sound& timeEnvelope,
                                       const Sound& volumeEnvelope, int count, std::int32_t& begin,
                                       std::int32_t& end) const;
  std::unique_ptr<Sound> AddEnvelope(bool& failed, const Sound& envelope, std::int32_t begin,
                                     std::int32_t end) const;
  // The first wave (a mono sound's only one) placed in a direction, as a new
  // stereo sound.
  std::unique_ptr<StereoSound> Balance(bool& failed, double position, bool timeDiff,
                                       bool volumeDiff, bool filterDiff) const;
  std::unique_ptr<StereoSound> BalanceEnvelope(bool& failed, const Sound& directionEnvelope,
                                               bool timeDiff, bool volumeDiff,
                                               bool filterDiff) const;

  // --- length, tempo and pitch (sound_tempo.cpp) ---------------------------
  std::unique_ptr<Sound> Length(bool& failed, double factor, std::int32_t& begin,
                                std::int32_t& end) const;
  std::unique_ptr<Sound> LengthAll(bool& failed, double factor) const;
  std::unique_ptr<Sound> TempoPitchAll(bool& failed, double speed, double startPos,
                                       double lengthFactor, double pitch, double blockSeconds,
                                       int method) const;
  std::unique_ptr<Sound> TempoPitch(bool& failed, double speed, double startPos,
                                    double lengthFactor, double pitch, double blockSeconds,
                                    int method, std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Sound> TempoPitchFreq(bool& failed, double speed, double startPos,
                                        double lengthFactor, double pitch,
                                        const Sound& freqEnvelope, double blockSeconds, int method,
                                        std::int32_t& begin, std::int32_t& end) const;
  std::unique_ptr<Sound> TempoPitchSpeed(bool& failed, double speed, const Sound& speedEnvelope,
                                         double startPos, double lengthFactor, double pitch,
                                         double blockSeconds, int method, std::int32_t& begin,
                                         std::int32_t& end) const;
  std::unique_ptr<Sound> TempoPitchBoth(bool& failed, double speed, const Sound& speedEnvelope,
                                        double startPos, double lengthFactor, double pitch,
                                        const Sound& freqEnvelope, double blockSeconds, int method,
                                        std::int32_t& begin, std::int32_t& end) const;

  // --- channel machinery ----------------------------------------------------
  // A new sound of this kind, Freq and BytesPSample from result waves
  // (`right` is ignored for mono). Null when `failed` is set.
  std::unique_ptr<Sound> MakeLike(bool& failed, std::unique_ptr<Wave> left,
                                  std::unique_ptr<Wave> right) const;

  // Applies `op(const Wave&, begin, end) -> unique_ptr<Wave>` to every channel.
  // Both channels of a stereo sound get the same range in and must give the
  // same range back.
  template <class Op>
  std::unique_ptr<Sound> ChannelOp(bool& failed, std::int32_t& begin, std::int32_t& end,
                                   Op op) const {
    if (failed) return nullptr;
    std::int32_t begin2 = begin;
    std::int32_t end2 = end;
    std::unique_ptr<Wave> first = op(*Channel(0), begin, end);
    std::unique_ptr<Wave> second;
    if (MoSt == 2) {
      second = op(*Channel(1), begin2, end2);
      // A channel that failed may stop before it reports its range; no
      // sound is built then anyway.
      if (!failed) {
        TB_ASSERT(begin == begin2);
        TB_ASSERT(end == end2);
      }
    }
    return MakeLike(failed, std::move(first), std::move(second));
  }

  // As ChannelOp with the corresponding channel of `other` read at this
  // sound's Freq: `op(const Wave& mine, const Wave& theirs, begin, end)`.
  template <class Op>
  std::unique_ptr<Sound> ChannelOpWith(bool& failed, const Sound& other, std::int32_t& begin,
                                       std::int32_t& end, Op op) const {
    if (failed) return nullptr;
    if (MoSt == 1) {
      WaveHandle theirs = other.GetMiddleAt(failed, Freq);
      if (failed || !theirs) return nullptr;
      return MakeLike(failed, op(*Channel(0), *theirs, begin, end), nullptr);
    }
    WaveHandle left = other.GetLeftAt(failed, Freq);
    WaveHandle right = other.GetRightAt(failed, Freq);
    if (failed || !left || !right) return nullptr;
    std::int32_t begin2 = begin;
    std::int32_t end2 = end;
    std::unique_ptr<Wave> first = op(*Channel(0), *left, begin, end);
    std::unique_ptr<Wave> second = op(*Channel(1), *right, begin2, end2);
    if (!failed) {
      TB_ASSERT(begin == begin2);
      TB_ASSERT(end == end2);
    }
    return MakeLike(failed, std::move(first), std::move(second));
  }

  // Applies an in-place `op(Wave&)` to every stored channel.
  template <class Op>
  void ForEachChannel(Op op) {
    for (int i = 0; i < MoSt; ++i) op(*MutableChannel(i));
  }

 protected:
  Sound(std::int16_t moSt, std::int32_t freq, std::int16_t bytesPSample);
  virtual Wave* MutableChannel(int index) = 0;
  void DumpSound() const;  // the fields common to both kinds

  std::int16_t MoSt;
  std::int32_t Freq;
  std::int16_t BytesPSample;
  bool ProtectWave = false;
};

class MonoSound : public Sound {
 public:
  MonoSound(std::int32_t freq, std::int16_t bytesPSample);
  MonoSound(std::unique_ptr<Wave> wave, std::int32_t freq, std::int16_t bytesPSample);
  // Any sound as mono (a stereo one averaged).
  MonoSound(bool& failed, const Sound& other);
  ~MonoSound() override;

  void Dump() const override;
  const Wave* Channel(int index) const override;
  WaveHandle GetMiddle(bool& failed) const override;
  const Wave* GetLeft() const override { return WaveMiddle.get(); }
  const Wave* GetRight() const override { return WaveMiddle.get(); }

 protected:
  Wave* MutableChannel(int index) override;

 private:
  std::unique_ptr<Wave> WaveMiddle;
};

class StereoSound : public Sound {
 public:
  StereoSound(std::int32_t freq, std::int16_t bytesPSample);
  StereoSound(std::unique_ptr<Wave> left, std::unique_ptr<Wave> right, std::int32_t freq,
              std::int16_t bytesPSample);
  // Any sound as stereo (a mono one duplicated).
  StereoSound(bool& failed, const Sound& other);
  ~StereoSound() override;

  void Dump() const override;
  const Wave* Channel(int index) const override;
  WaveHandle GetMiddle(bool& failed) const override;
  const Wave* GetLeft() const override { return WaveLeft.get(); }
  const Wave* GetRight() const override { return WaveRight.get(); }

  std::unique_ptr<Sound> MixLeftRight(bool& failed, double left2Left, double left2Right,
                                      double right2Left, double right2Right, std::int32_t begin,
                                      std::int32_t end) const;

 protected:
  Wave* MutableChannel(int index) override;

 private:
  std::unique_ptr<Wave> WaveLeft;
  std::unique_ptr<Wave> WaveRight;
};
