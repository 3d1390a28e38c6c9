#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "music/noteplay.h"
#include "sound/sound.h"
#include "units/waveregistry.h"

// Sample waves built in code and registered by name for the players, as
// open wave documents would be.
class SampleWaves : public WaveRegistry {
 public:
  SampleWaves() : scope_(*this) {}

  // A mono wave of `values` values at `freq` Hz, value(i) each, with the
  // selection sb ... se (the whole wave when se is -1).
  void Add(const std::string& name, std::int32_t freq, std::int32_t values,
           const std::function<std::int16_t(std::int32_t)>& value, std::int32_t sb = 0,
           std::int32_t se = -1) {
    Add(name, Mono(freq, values, value), sb, se);
  }
  void Add(const std::string& name, std::unique_ptr<Sound> sound, std::int32_t sb = 0,
           std::int32_t se = -1) {
    const std::int32_t end = se < 0 ? sound->GetValues() : se;
    waves_[name] = Entry{std::move(sound), sb, end};
  }

  static std::unique_ptr<Sound> Mono(std::int32_t freq, std::int32_t values,
                                     const std::function<std::int16_t(std::int32_t)>& value) {
    return std::make_unique<MonoSound>(MakeWave(values, value), freq, 2);
  }
  static std::unique_ptr<Wave> MakeWave(std::int32_t values,
                                        const std::function<std::int16_t(std::int32_t)>& value) {
    bool failed = false;
    auto wave = std::make_unique<Wave>(failed, values);
    for (std::int32_t i = 0; i < values; ++i) wave->data()[i] = value(i);
    return wave;
  }

  std::vector<std::string> WaveNames() const override {
    std::vector<std::string> names;
    for (const auto& [name, entry] : waves_) names.push_back(name);
    return names;
  }
  std::optional<TRegisteredWave> FindWave(const std::string& name) const override {
    const auto found = waves_.find(name);
    if (found == waves_.end()) return std::nullopt;
    return TRegisteredWave{found->second.sound.get(), found->second.sb, found->second.se};
  }

 private:
  struct Entry {
    std::unique_ptr<Sound> sound;
    std::int32_t sb = 0;
    std::int32_t se = 0;
  };
  std::map<std::string, Entry> waves_;
  ScopedWaveRegistry scope_;
};

// Player settings of one kind on "sample", basic period `basic` seconds.
inline TOnePlayerProps PlayerOf(std::uint8_t kind, double basic = 1.0 / 440, double factor = 0.5) {
  TOnePlayerProps props;
  props.NotePlayerKind = kind;
  props.VolumeFactor = unitVolumeFactor(factor);
  props.SimpleSampler.BasicFreq = unitTimePosMore(basic);
  props.RollOutSampler.BasicFreq = unitTimePosMore(basic);
  return props;
}
