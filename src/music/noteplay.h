#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "units/unitvalues.h"
#include "units/waveregistry.h"

// The settings of the note players a note group owns, and the players that
// turn one note into sound by bending an open sample wave to the note's
// pitch and duration.

class TUnitMuz;
class Sound;

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

// The sample wave a player's kind reads.
const unitUnitWave& SampleWaveOf(const TOnePlayerProps& props);

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

  // The note's sound, which the caller owns and mixes with `volume`; none for
  // a silent note or when the player cannot work (then `ok` is false and
  // `error` tells why). `period` is the note's period in seconds before
  // FreqUp, `length` its length in whole notes, `tempo` seconds per whole.
  virtual std::unique_ptr<Sound> GetSound(bool& failed, double period, double length, double tempo,
                                          double& volume, bool& ok, std::string& error) const;
  // Seconds the sound begins before the note's time, and lasts after it.
  virtual double GetStartOffset(double period, double length, double tempo, bool& ok,
                                std::string& error) const;
  virtual double GetEndOffset(double period, double length, double tempo, bool& ok,
                              std::string& error) const;

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

  // One player's sound as it is; several players mixed into one stereo
  // sound of the owner's format, each placed so that all beats coincide.
  virtual std::unique_ptr<Sound> GetSound(bool& failed, double period, double length, double tempo,
                                          double& volume, bool& ok, std::string& error) const;
  // The largest offsets of the players; 0 once a player fails.
  virtual double GetStartOffset(double period, double length, double tempo, bool& ok,
                                std::string& error) const;
  virtual double GetEndOffset(double period, double length, double tempo, bool& ok,
                              std::string& error) const;

 private:
  std::unique_ptr<TOnePlayer> StartOnePlayer;
  TOnePlayer* CurrentPlayer = nullptr;
  TUnitMuz* Owner;
};

// The player of a new score: a roll-out sampler on "sample" at 1 kHz with
// volume factor 0.5.
std::unique_ptr<TCompoundPlayer> NewDefaultCompoundPlayer(TUnitMuz* owner);

// The open wave registered under `name`; none, with "Cannot find window
// \"NAME\"." appended to `error`, when there is none.
std::optional<TRegisteredWave> FindWaveUnit(const std::string& name, std::string& error);
