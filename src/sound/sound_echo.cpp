// Echoes, balance and channel mixing on sounds. Echo times are given in
// seconds; envelope sounds are read as they are (their middle wave).

#include "sound/sound.h"

std::unique_ptr<Sound> Sound::EchoConstant(bool& failed, double echoSeconds, double factor,
                                           int count, std::int32_t& begin,
                                           std::int32_t& end) const {
  const double diffTime = Freq * echoSeconds;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.echoConstant(failed, diffTime, factor, count, b, e);
  });
}

std::unique_ptr<Sound> Sound::EchoVolumeEnvelope(bool& failed, double echoSeconds,
                                                 const Sound& volumeEnvelope, int count,
                                                 std::int32_t& begin, std::int32_t& end) const {
  if (failed) return nullptr;
  const WaveHandle volumes = volumeEnvelope.GetMiddle(failed);
  if (failed || !volumes) return nullptr;
  const double diffTime = Freq * echoSeconds;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.echoVolumeEnvelope(failed, diffTime, *volumes, count, b, e);
  });
}

std::unique_ptr<Sound> Sound::EchoTimeEnvelope(bool& failed, double echoSeconds,
                                               const Sound& timeEnvelope, double factor, int count,
                                               std::int32_t& begin, std::int32_t& end) const {
  if (failed) return nullptr;
  const WaveHandle times = timeEnvelope.GetMiddle(failed);
  if (failed || !times) return nullptr;
  const double diffTime = Freq * echoSeconds;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.echoTimeEnvelope(failed, diffTime, *times, factor, count, b, e);
  });
}

std::unique_ptr<Sound> Sound::EchoEnvelopes(bool& failed, double echoSeconds,
                                            const Sound& timeEnvelope, const Sound& volumeEnvelope,
                                            int count, std::int32_t& begin,
                                            std::int32_t& end) const {
  if (failed) return nullptr;
  const WaveHandle times = timeEnvelope.GetMiddle(failed);
  if (failed || !times) return nullptr;
  const WaveHandle volumes = volumeEnvelope.GetMiddle(failed);
  if (failed || !volumes) return nullptr;
  const double diffTime = Freq * echoSeconds;
  return ChannelOp(failed, begin, end, [&](const Wave& w, std::int32_t& b, std::int32_t& e) {
    return w.echoEnvelopes(failed, diffTime, *times, *volumes, count, b, e);
  });
}

// The envelope's channels are added as they are, without resampling: its
// middle to a mono sound, its left and right to a stereo sound's left and
// right.
std::unique_ptr<Sound> Sound::AddEnvelope(bool& failed, const Sound& envelope, std::int32_t begin,
                                          std::int32_t end) const {
  if (failed) return nullptr;
  if (MoSt == 1) {
    const WaveHandle middle = envelope.GetMiddle(failed);
    if (failed || !middle) return nullptr;
    return MakeLike(failed, Channel(0)->addEnvelope(failed, *middle, begin, end), nullptr);
  }
  const std::int32_t end2 = end;
  std::unique_ptr<Wave> left = Channel(0)->addEnvelope(failed, *envelope.GetLeft(), begin, end);
  std::unique_ptr<Wave> right = Channel(1)->addEnvelope(failed, *envelope.GetRight(), begin, end2);
  return MakeLike(failed, std::move(left), std::move(right));
}

// A stereo sound (an echo copy balanced before) is placed by its left
// channel.
std::unique_ptr<StereoSound> Sound::Balance(bool& failed, double position, bool timeDiff,
                                            bool volumeDiff, bool filterDiff) const {
  if (failed) return nullptr;
  const Wave& source = *Channel(0);
  std::unique_ptr<Wave> left =
      source.balanceConstant(failed, position, false, timeDiff, volumeDiff, filterDiff, Freq);
  if (failed || !left) return nullptr;
  std::unique_ptr<Wave> right =
      source.balanceConstant(failed, position, true, timeDiff, volumeDiff, filterDiff, Freq);
  if (failed || !right) return nullptr;
  return std::make_unique<StereoSound>(std::move(left), std::move(right), Freq, BytesPSample);
}

std::unique_ptr<StereoSound> Sound::BalanceEnvelope(bool& failed, const Sound& directionEnvelope,
                                                    bool timeDiff, bool volumeDiff,
                                                    bool filterDiff) const {
  if (failed) return nullptr;
  const WaveHandle direction = directionEnvelope.GetMiddle(failed);
  if (failed || !direction) return nullptr;
  const Wave& source = *Channel(0);
  std::unique_ptr<Wave> left =
      source.balanceEnvelope(failed, *direction, false, volumeDiff, timeDiff, filterDiff, Freq);
  if (failed || !left) return nullptr;
  std::unique_ptr<Wave> right =
      source.balanceEnvelope(failed, *direction, true, volumeDiff, timeDiff, filterDiff, Freq);
  if (failed || !right) return nullptr;
  return std::make_unique<StereoSound>(std::move(left), std::move(right), Freq, BytesPSample);
}

std::unique_ptr<Sound> StereoSound::MixLeftRight(bool& failed, double left2Left, double left2Right,
                                                 double right2Left, double right2Right,
                                                 std::int32_t begin, std::int32_t end) const {
  TB_ASSERT(GetValues() != 0);
  if (failed) return nullptr;
  // Both new channels come from the old values of both.
  std::unique_ptr<Wave> left = WaveLeft->mix(failed, left2Left, *WaveRight, right2Left, begin, end);
  if (failed || !left) return nullptr;
  std::unique_ptr<Wave> right =
      WaveRight->mix(failed, right2Right, *WaveLeft, left2Right, begin, end);
  return MakeLike(failed, std::move(left), std::move(right));
}
