#include "units/waveregistry.h"

namespace {

class NoWaves : public WaveRegistry {
 public:
  std::vector<std::string> WaveNames() const override { return {}; }
  std::optional<TRegisteredWave> FindWave(const std::string& /*name*/) const override {
    return std::nullopt;
  }
};

NoWaves noWaves;
WaveRegistry* current = &noWaves;

}  // namespace

WaveRegistry::~WaveRegistry() = default;

WaveRegistry& Waves() { return *current; }

ScopedWaveRegistry::ScopedWaveRegistry(WaveRegistry& registry) : previous_(current) {
  current = &registry;
}

ScopedWaveRegistry::~ScopedWaveRegistry() { current = previous_; }
