#pragma once

#include <cstdint>
#include <memory>

#include "units/unitvalues.h"

// The settings of the note players a note group owns: what a score stores
// for its sound. Turning a note into sound builds on these records.

class TUnitMuz;

enum TNotePlayerKind : std::uint8_t {
  notePlayerSimpleSampler = 0,
  notePlayerResonantSampler = 1,
  notePlayerRepeatWaveForm = 2,
  notePlayerRollOutSampler = 3,
  notePlayerRollOutWaveForm = 4,
  notePlayerNone = 255,  // a fresh record set before a kind is chosen
};

struct TSimpleSamplerProps {
  unitUnitWave SampleWave{"sample"};
  unitTimePosMore BasicFreq{1.0 / 440, kUnitHz};
};

struct TRollOutSamplerProps {
  unitUnitWave SampleWave{"sample"};
  unitTimePosMore BasicFreq{1.0 / 440, kUnitHz};
};

struct TRepeatWaveFormProps {
  unitUnitWave SampleWave{"sample"};
};

struct TRollOutWaveFormProps {
  unitUnitWave SampleWave{"sample"};
};

struct TResonantSamplerProps {
  unitUnitWave SampleWave{"sample"};
  unitFactorPosMax1 ResFactor{0.05};
};

struct TOnePlayerProps {
  unitFreq FreqUp{0};
  unitVolumeFactor VolumeFactor{0.5};
  TSimpleSamplerProps SimpleSampler;
  TRollOutSamplerProps RollOutSampler;
  TRepeatWaveFormProps RepeatWaveForm;
  TRollOutWaveFormProps RollOutWaveForm;
  TResonantSamplerProps ResonantSampler;
  std::uint8_t NotePlayerKind = notePlayerNone;
};

// One player, an element of its compound player's list.
class TOnePlayer {
 public:
  TOnePlayer(TUnitMuz* owner, const TOnePlayerProps& props);
  virtual ~TOnePlayer();
  TOnePlayer(const TOnePlayer&) = delete;
  TOnePlayer& operator=(const TOnePlayer&) = delete;

  TOnePlayer* GetNext() const { return Next.get(); }
  // Links `next` after this player and returns the old follower.
  std::unique_ptr<TOnePlayer> SetNext(std::unique_ptr<TOnePlayer> next);
  TUnitMuz* GetOwner() const { return Owner; }
  const TOnePlayerProps& GetProps() const { return Props; }
  TOnePlayerProps& GetProps() { return Props; }

 private:
  std::unique_ptr<TOnePlayer> Next;
  TUnitMuz* Owner;
  TOnePlayerProps Props;
};

// The players of one note group, in order; owns them.
class TCompoundPlayer {
 public:
  explicit TCompoundPlayer(TUnitMuz* owner) : Owner(owner) {}
  virtual ~TCompoundPlayer();
  TCompoundPlayer(const TCompoundPlayer&) = delete;
  TCompoundPlayer& operator=(const TCompoundPlayer&) = delete;

  TOnePlayer* GetStartOnePlayer() const { return StartOnePlayer.get(); }
  TOnePlayer* GetCurrentPlayer() const { return CurrentPlayer; }
  void SetCurrentPlayer(TOnePlayer* player) { CurrentPlayer = player; }
  TUnitMuz* GetOwner() const { return Owner; }
  // Appends a player at the end of the list.
  void AppendPlayer(std::unique_ptr<TOnePlayer> player);
  std::int32_t CountPlayers() const;

 private:
  std::unique_ptr<TOnePlayer> StartOnePlayer;
  TOnePlayer* CurrentPlayer = nullptr;
  TUnitMuz* Owner;
};

// The player of a new score: a roll-out sampler on "sample" at 1 kHz with
// volume factor 0.5.
std::unique_ptr<TCompoundPlayer> NewDefaultCompoundPlayer(TUnitMuz* owner);
