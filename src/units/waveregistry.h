#pragma once

#include <string>
#include <vector>

// The open wave documents as the unit values see them: a list of registered
// names and a look-up by name. The documents layer (the main window's list
// of wave windows) implements it; this library never looks inside a
// document, so it only needs the type's name.

class TUnitWave;

class WaveRegistry {
 public:
  virtual ~WaveRegistry();

  // The registered names of the open wave documents, in the order a choice
  // list shows them; documents without a registered name are left out.
  virtual std::vector<std::string> WaveNames() const = 0;

  // The open wave document registered under `name` (exact, case-sensitive),
  // or null when there is none.
  virtual TUnitWave* FindWaveUnitByRegisterName(const std::string& name) const = 0;
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
