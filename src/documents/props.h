#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "documents/viewprops.h"
#include "documents/wavefileprops.h"
#include "units/unitvalues.h"

// The parameter records of the wave commands: what each command's dialog
// edits, the document remembers per command and the workspace keeps as the
// defaults. Numeric fields are unit values (they remember the unit they were
// typed in); a choice between a constant and an envelope is a bool plus both
// alternatives, of which only the chosen one is used. Member names follow the
// operations where they differ from the dialog labels; the dialogs' field
// tables bind to them by member pointer, so they stay public.

// Sample values of the defaults as the dialogs show them: '50 %' is
// trunc(50 x 327.67), '10 %' trunc(10 x 327.67).
inline constexpr std::int16_t kSample50Percent = 16383;
inline constexpr std::int16_t kSample10Percent = 3276;

// MakeSilence ("Make Silence").
struct TSilenceProps {
  unitTimePosMore Seconds{0.1, kUnitMilliseconds};  // "Length"
};

// MakeLine ("Make Line").
struct TLineProps {
  unitWaveVal From{kSample50Percent, kUnitPercent};  // "Begin Value"
  unitWaveVal To{-kSample50Percent, kUnitPercent};   // "End Value"
  unitTimePosMore Seconds{0.1, kUnitMilliseconds};   // "Length"
  bool Exponential = false;                          // "Kind": "Linear" / "Exponential"
};

// MakeNoise ("Make Noise").
struct TNoiseProps {
  unitTimePosMore Seconds{0.5, kUnitMilliseconds};     // "Length"
  unitWaveVal Volume{kSample50Percent, kUnitPercent};  // "Volume"
};

// How a generated or changed length is given.
inline constexpr std::uint8_t kLengthNew = 0;     // "Length New": seconds
inline constexpr std::uint8_t kLengthSameAs = 1;  // "Length Same As": a wave's duration
inline constexpr std::uint8_t kLengthCount = 2;   // "Length Count": periods

// MakeBlock and MakeTriangle ("Block or Triangle"). The period is given
// either as "Frequency" with "Middle" (constant or from an envelope) or as
// the two times of one period, "Time 1" at Height 1 and "Time 2" at Height 2.
struct TBlockTriangleProps {
  unitWaveVal Height1{kSample50Percent, kUnitPercent};   // "Height 1"
  unitWaveVal Height2{-kSample50Percent, kUnitPercent};  // "Height 2"
  bool UseTimes = false;                                 // "Time 1" and "Time 2" instead
  unitTimePosMore Period{0.001, kUnitKHz};               // "Frequency"
  bool MiddleEnvelope = false;
  unitAngleFactor Middle{0.5, kUnitPercent};        // "Middle"
  unitUnitWave MiddleWave;                          // "Middle Envelope"
  unitTimePosMore Time1{0.005, kUnitMilliseconds};  // "Time 1"
  unitTimePosMore Time2{0.005, kUnitMilliseconds};  // "Time 2"
  std::uint8_t LengthMode = kLengthNew;
  unitTimePosMore LengthSeconds{1, kUnitSeconds};  // "Length New"
  unitUnitWave LengthWave;                         // "Length Same As"
  unitFactorPosMore LengthCount{10};               // "Length Count"
  unitAngleFactor StartPhase{0};                   // "Start Position"
};

// MakeSinus ("Make Sinus"): the length as seconds or as a count of periods.
struct TSinusProps {
  unitWaveVal Amplitude{kSample50Percent, kUnitPercent};  // "Amplitude"
  unitTimePosMore Period{0.001, kUnitKHz};                // "Frequency"
  unitAngleFactor StartPhase{0, kUnitDegrees};            // "Start Phase"
  bool UseCount = false;
  unitTimePosMore Seconds{0.5, kUnitMilliseconds};  // "Length"
  unitFactorPosMore Count{500};                     // "Count"
};

// One frequency of the multi-frequency generator.
struct TMFreqRecord {
  unitVolumeFactor StartVolume{0.5, kUnitPercent};    // "Start Volume"
  unitTimePosMore Period{0.001, kUnitKHz};            // "Frequency"
  unitAngleFactor StartAngle{0};                      // "Start Angle"
  unitFactorPosMore VolumeFactor{0.1, kUnitPercent};  // "Volume Factor"
  unitTimePosMore FactorTime{1, kUnitSeconds};        // "Volume Factor at Time"
  bool operator==(const TMFreqRecord&) const = default;
};

// MakeMFreq ("Multi Frequency"): a sum of partials read from the sine or
// from a wave form.
struct TMFreqProps {
  unitTimePosMore Seconds{3, kUnitSeconds};  // "Length"
  bool UseForm = false;
  unitUnitWave Form;                                // "Wave Form"
  std::vector<TMFreqRecord> Freqs{TMFreqRecord{}};  // at least one
};

// Volume ("Change Volume").
struct TVolumeProps {
  bool Envelope = false;
  unitUnitWave EnvelopeWave;                   // "Envelope"
  unitVolumeFactor Factor{0.5, kUnitPercent};  // "Constant"
};

// Balance's "Volume Difference" choice.
inline constexpr std::uint8_t kBalanceNone = 0;
inline constexpr std::uint8_t kBalanceVolume = 1;
inline constexpr std::uint8_t kBalanceFilter = 2;

// Balance ("Balance").
struct TBalanceProps {
  bool Envelope = false;
  unitBalAngleFactor Position{0, kUnitBalanceDegrees};  // "Direction Constant"
  unitUnitWave EnvelopeWave;                            // "Direction Envelope"
  std::uint8_t VolumeDiff = kBalanceVolume;             // "Volume Difference"
  bool TimeDiff = true;                                 // "Time Difference"
};

// Rotate ("Rotate"): a shift given as a fraction of the range or as a time.
inline constexpr std::uint8_t kShiftLeft = 0;
inline constexpr std::uint8_t kShiftRight = 1;
struct TRotateProps {
  std::uint8_t ShiftTo = kShiftLeft;  // "Shift to"
  bool UseTime = false;
  unitAngleFactor Factor{0.1};       // "Factor"
  unitTime Time{0.1, kUnitSeconds};  // "Time"
};

// Block ("Block"): horizontal blocks and vertical levels.
inline constexpr std::uint8_t kBlockCount = 0;
inline constexpr std::uint8_t kBlockTimeOrHeight = 1;
inline constexpr std::uint8_t kBlockNoChange = 2;
struct TBlockProps {
  std::uint8_t Horizontal = kBlockCount;
  unitIntegerPosMore HorizontalCount{20};         // " Horizontal Count"
  unitTimePosMore Time{0.01, kUnitMilliseconds};  // " Time"
  std::uint8_t Vertical = kBlockCount;
  unitIntegerPosMore VerticalCount{20};                       // " Vertical Count"
  unitWaveValPosMore Height{kSample10Percent, kUnitPercent};  // " Height"
};

// RollIn ("Roll in"): the range folded into Length; the source starts at
// "Start at" or ends at "End at" inside it.
struct TRollInProps {
  unitTimePosMore Seconds{1, kUnitSeconds};  // "Length"
  bool UseEnd = false;
  unitWavePosition StartAt{0, kUnitPercent};  // "Start at"
  unitWavePosition EndAt{0, kUnitPercent};    // "End at"
};

// The length choices of Roll out and Tempo and Pitch.
inline constexpr std::uint8_t kNewLengthFactor = 0;   // "Length Factor"
inline constexpr std::uint8_t kNewLengthSeconds = 1;  // "New Length"
inline constexpr std::uint8_t kNewLengthSameAs = 2;   // "Same Length as"
inline constexpr std::uint8_t kNewLengthCount = 3;    // "Count"

// RollOut ("Roll out").
struct TRollOutProps {
  bool SpeedEnvelope = false;
  unitFactorNotNul Speed{2, kUnitPercent};  // "Speed Factor"
  unitUnitWave SpeedWave;                   // "Speed Envelope"
  std::uint8_t LengthMode = kNewLengthFactor;
  unitFactorPosMore LengthFactor{0.5, kUnitPercent};  // "Length Factor"
  unitTimePosMore NewLength{2, kUnitSeconds};         // "New Length"
  unitUnitWave SameLengthAs;                          // "Same Length as"
  unitFactorPosMore Count{3};                         // "Count"
  unitWavePosition StartPos{0, kUnitPercent};         // "Start Position"
};

// Length ("Change Length").
inline constexpr std::uint8_t kLengthByFactor = 0;
inline constexpr std::uint8_t kLengthBySeconds = 1;
inline constexpr std::uint8_t kLengthBySameAs = 2;
struct TLengthProps {
  std::uint8_t LengthMode = kLengthByFactor;
  unitFactor Factor{0.5, kUnitPercent};        // "Length Factor"
  unitTimePosMore NewLength{2, kUnitSeconds};  // "New Length"
  unitUnitWave SameLengthAs;                   // "Same Length as"
};

inline constexpr std::uint8_t kQualityLow = 0;   // blocks
inline constexpr std::uint8_t kQualityHigh = 1;  // crossfaded blocks

// TempoPitch ("Pitch Tempo"). `Duration` is the duration of the command's
// range in seconds, stored before the dialog opens; positions and new
// lengths are relative to it.
struct TTempoPitchProps {
  double Duration = 0;
  bool FreqEnvelope = false;
  unitFactorNotNul Pitch{2, kUnitPercent};  // "Frequency Factor"
  unitUnitWave FreqWave;                    // "Frequency Envelope"
  bool SpeedEnvelope = false;
  unitFactorNotNul Speed{1, kUnitPercent};  // "Speed Factor"
  unitUnitWave SpeedWave;                   // "Speed Envelope"
  std::uint8_t LengthMode = kNewLengthFactor;
  unitFactorPosMore LengthFactor{0.5, kUnitPercent};      // "Length Factor"
  unitTimePosMore NewLength{2, kUnitSeconds};             // "New Length"
  unitUnitWave SameLengthAs;                              // "Same Length as"
  unitFactorPosMore Count{3};                             // "Count"
  unitWavePosition StartPos{0, kUnitPercent};             // "Start Position"
  unitTimePosMore BlockSeconds{0.04, kUnitMilliseconds};  // "Block Size"
  std::uint8_t Quality = kQualityHigh;                    // "Quality"
};

// Up ("Up / Down").
struct TUpProps {
  unitWaveVal Add{kSample50Percent, kUnitPercent};  // "Add Value"
};

// Distort ("Distort").
struct TDistortProps {
  unitUnitWave Shape;  // "Distort Envelope"
};

// MixLeftRight ("Mix Left Right").
struct TLeftRightProps {
  unitVolumeFactor Left2Left{1, kUnitPercent};    // "from Left to Left"
  unitVolumeFactor Left2Right{0, kUnitPercent};   // "from Left to Right"
  unitVolumeFactor Right2Left{0, kUnitPercent};   // "from Right to Left"
  unitVolumeFactor Right2Right{1, kUnitPercent};  // "from Right to Right"
};

// PerEcho ("Period Echo").
struct TPerEchoProps {
  bool TimeEnvelope = false;
  unitTime Time{0.01, kUnitMilliseconds};  // "Time"
  unitUnitWave TimeWave;                   // " Echo Time Envelope"
  bool VolumeEnvelope = false;
  unitVolumeFactor Factor{1, kUnitPercent};  // "Volume Constant"
  unitUnitWave VolumeWave;                   // " Echo Volume Envelope"
  unitIntegerPosMore Count{1};               // "Count"
};

// Random echo kinds.
inline constexpr std::uint8_t kEchoNoChange = 0;
// time: Linear 0 / Random Envelope 1
inline constexpr std::uint8_t kEchoTimeLinear = 0;
inline constexpr std::uint8_t kEchoTimeEnvelope = 1;
// volume and balance: No Change 0 / Linear 1 / Random Envelope 2
inline constexpr std::uint8_t kEchoLinear = 1;
inline constexpr std::uint8_t kEchoEnvelope = 2;
// length, pitch and tempo: No Change 0 / Random Envelope 1
inline constexpr std::uint8_t kEchoRandomEnvelope = 1;

// One randomly varied property of the echoes: its kind, the die it draws
// from (0 ... 5) and its envelope.
struct TRandomProperty {
  std::uint8_t kind = kEchoNoChange;
  std::uint8_t die = 0;
  unitUnitWave envelope;
  bool operator==(const TRandomProperty&) const = default;
};

// RndEcho ("Random Echo").
struct TRandomEchoProps {
  unitIntegerPosMore count{20};  // "Count"
  unitInteger seed{0};           // "Random Seed"
  bool cyclable = false;
  unitTimePosMore timeDiff{1, kUnitMilliseconds};             // "Time Difference"
  TRandomProperty time{kEchoTimeLinear, 0, unitUnitWave{}};   // "Time - Random Envelope"
  TRandomProperty volume{kEchoLinear, 1, unitUnitWave{}};     // "Volume - Random Envelope"
  TRandomProperty length{kEchoNoChange, 2, unitUnitWave{}};   // "Length - Random Envelope"
  TRandomProperty balance{kEchoNoChange, 3, unitUnitWave{}};  // "Balance - Random Envelope"
  TRandomProperty pitch{kEchoNoChange, 4, unitUnitWave{}};    // "Pitch - Random Envelope"
  TRandomProperty tempo{kEchoNoChange, 5, unitUnitWave{}};    // "Tempo - Random Envelope"
  std::uint8_t balanceVolumeDiff = kBalanceVolume;            // "None" / "Volume" / "Filter"
  bool balanceTimeDiff = true;
  unitFactor pitchFactor{2};                           // "Pitch - Frequency Factor"
  unitTimePosMore blockSize{0.04, kUnitMilliseconds};  // "Block Size"
  std::uint8_t quality = kQualityHigh;
};

// EditMix ("Mix"): where the clipboard goes.
inline constexpr std::uint8_t kMixAlignBegin = 0;
inline constexpr std::uint8_t kMixAlignEnd = 1;
inline constexpr std::uint8_t kMixStretch = 2;
struct TMixProps {
  std::uint8_t Place = kMixAlignBegin;  // "Place"
};

// FilterHigh and FilterLow ("High Low Filter").
struct THighLowProps {
  bool Envelope = false;
  unitTimePosMore Period{0.001, kUnitKHz};                 // "Frequency"
  unitUnitWave FreqWave;                                   // "Frequency Envelope"
  unitVolumeFactorPosMoreLess1 Factor{0.5, kUnitPercent};  // "Volume Factor"
  unitIntegerPosMore Count{1};                             // "Count"
  bool MaximizeVolume = false;                             // "Maximize Volume"
};

// FilterRes and FilterNotch ("Resonant/Notch").
struct TResNotchProps {
  bool FreqEnvelope = false;
  unitTimePosMore Period{0.001, kUnitKHz};  // "Frequency Constant"
  unitUnitWave FreqWave;                    // "Frequency Envelope"
  bool WidthEnvelope = false;
  unitFactorPosMax1 Width{0.25};  // "Width Constant"
  unitUnitWave WidthWave;         // "Frequency Width Envelope"
};

// FilterBlock ("Block Filter"). With an envelope, Time is the longest block.
struct TBlockFilterProps {
  bool Envelope = false;
  unitTime Time{0.01, kUnitMilliseconds};  // "Block Time"
  unitUnitWave EnvelopeWave;               // "Envelope"
};

// The 26 records of a document, one per command, in the documents' order.
struct TWaveRecords {
  TLineProps line;
  TSilenceProps silence;
  TNoiseProps noise;
  TBlockTriangleProps block;
  TBlockTriangleProps triangle;
  TSinusProps sinus;
  TMFreqProps mfreq;
  TVolumeProps volume;
  TBalanceProps balance;
  TRotateProps rotate;
  TBlockProps blockEffect;
  TRollInProps rollIn;
  TRollOutProps rollOut;
  TLengthProps length;
  TTempoPitchProps tempoPitch;
  TUpProps up;
  TDistortProps distort;
  TLeftRightProps leftRight;
  TPerEchoProps perEcho;
  TRandomEchoProps randomEcho;
  TMixProps mix;
  THighLowProps highFilter;
  THighLowProps lowFilter;
  TResNotchProps resFilter;
  TResNotchProps notchFilter;
  TBlockFilterProps blockFilter;
};

// Any one record, as a command takes it (monostate: a command without one)
// or a dialog edits it (the two view settings, which no command takes).
using TWaveRecord =
    std::variant<std::monostate, TLineProps, TSilenceProps, TNoiseProps, TBlockTriangleProps,
                 TSinusProps, TMFreqProps, TVolumeProps, TBalanceProps, TRotateProps, TBlockProps,
                 TRollInProps, TRollOutProps, TLengthProps, TTempoPitchProps, TUpProps,
                 TDistortProps, TLeftRightProps, TPerEchoProps, TRandomEchoProps, TMixProps,
                 THighLowProps, TResNotchProps, TBlockFilterProps, TWaveFileProps, TWaveViewProps,
                 TVoldViewProps>;
