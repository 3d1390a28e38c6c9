#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The open wave documents as the unit values and the note players see them:
// a list of registered names and a look-up by name that hands out what a
// reader of a wave needs. The documents layer (the main window's list of
// wave windows) implements it; this library knows no document.

class Sound;

// A registered wave as its readers see it: the sound, and the selection
// (the whole wave when nothing is selected), which samplers repeat.
struct TRegisteredWave {
  const Sound* sound = nullptr;
  std::int32_t selBegin = 0;
  std::int32_t selEnd = 0;
};

class WaveRegistry {
 public:
  virtual ~WaveRegistry();

  // The registered names of the open wave documents, in the order a choice
  // list shows them; documents without a registered name are left out.
  virtual std::vector<std::string> WaveNames() const = 0;

  // The open wave registered under `name` (exact, case-sensitive), or
  // nothing when there is none.
  virtual std::optional<TRegisteredWave> FindWave(const std::string& name) const = 0;
};

// The registry in use; an empty one (no waves open) until another is
// installed.
WaveRegistry& Waves();

// Installs a registry for its lifetime and restores the previous one.
class ScopedWaveRegistry {
 public:
  explicit ScopedWaveRegistry(WaveRegistry& registry);
  ~ScopedWaveRegistry();
  ScopedWaveRegistry(const ScopedWaveRegistry&) = delete;
  ScopedWaveRegistry& operator=(const ScopedWaveRegistry&) = delete;

 private:
  WaveRegistry* previous_;
};
