#pragma once

#include <vector>

struct TFieldDesc;
struct TFormDesc;

// The fields of each command's dialog in reading order; the rows of the
// command table name them.
std::vector<TFieldDesc> SilenceFields();
std::vector<TFieldDesc> LineFields();
std::vector<TFieldDesc> NoiseFields();
std::vector<TFieldDesc> BlockTriangleFields();
std::vector<TFieldDesc> SinusFields();
std::vector<TFieldDesc> MFreqFields();
std::vector<TFieldDesc> VolumeFields();
std::vector<TFieldDesc> UpFields();
std::vector<TFieldDesc> DistortFields();
std::vector<TFieldDesc> RotateFields();
std::vector<TFieldDesc> BlockFields();
std::vector<TFieldDesc> LeftRightFields();
std::vector<TFieldDesc> BalanceFields();
std::vector<TFieldDesc> RollInFields();
std::vector<TFieldDesc> RollOutFields();
std::vector<TFieldDesc> LengthFields();
std::vector<TFieldDesc> TempoPitchFields();
std::vector<TFieldDesc> PerEchoFields();
std::vector<TFieldDesc> RandomEchoFields();
std::vector<TFieldDesc> HighLowFields();
std::vector<TFieldDesc> ResNotchFields();
std::vector<TFieldDesc> BlockFilterFields();
std::vector<TFieldDesc> MixFields();
// FileProperties: the format (frequency, bits, channels).
std::vector<TFieldDesc> WaveFormatFields();

// Adds to a command's form what the command table does not hold: the help
// context and topic, and the further checks.
void CompleteForm(TFormDesc& form);
// The view settings' forms, whole.
TFormDesc MakeWaveViewForm();
TFormDesc MakeVoldViewForm();
