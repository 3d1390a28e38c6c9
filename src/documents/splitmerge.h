#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Sound;
class TUnitWave;
class TWorkspace;

// The sample side of the window commands that turn wave windows into other
// wave windows: split in time (SplitH) or into channels (SplitV), join one
// after the other (MergeH) or as left and right channel (MergeV). The
// windows themselves are the desktop program's business.

// What SplitH makes of a selection: 0 "Three parts", 1 "Two parts, both
// inclusive selected part", 2 "Two parts, both exclusive selected part".
struct TDlgSplitHorProps {
  std::uint8_t Result = 0;
};

// The format of the merged wave and whose window settings it takes
// (0 the first, 1 the last).
struct TMergeHorProps {
  std::int16_t MonoStereo = 2;
  std::int32_t Frequency = 44100;
  std::int16_t BytesPSample = 2;
  std::uint8_t Display = 0;
};

// MakeLengthsEqual: 0 silence before the shorter wave, 1 silence after it,
// 2 stretch the shorter wave, 3 stretch the longer one. Display: 0 the left
// window's settings, 1 the right one's.
struct TMergeVertProps {
  std::int32_t Frequency = 44100;
  std::int16_t BytesPSample = 2;
  std::uint8_t MakeLengthsEqual = 0;
  std::uint8_t Display = 0;
};

// Where SplitH cuts: the first part is 0 ... A, the last B ... the end, and
// with Three the middle A ... B.
struct TSplitPoints {
  std::int32_t A = 0;
  std::int32_t B = 0;
  bool Three = false;
};

// The selection, or the cursor, lies strictly inside the wave.
bool CanSplitHorizontally(const TUnitWave& unitWave);

// The cut of the document's selection for a split dialog result; without a
// selection the cursor cuts in two and the result does not matter.
TSplitPoints SplitPointsOf(const TUnitWave& unitWave, std::uint8_t result);

// The parts of `sound` (two or three), each a copy of its values. On
// failure `failed` is set and nothing is returned.
std::vector<std::unique_ptr<Sound>> SplitHorizontally(bool& failed, const Sound& sound,
                                                      const TSplitPoints& points);

// The left and the right channel of a stereo document as two mono sounds of
// its frequency and width. The document hands its sound over: the channel
// waves move into the new sounds without a sample being copied, and the
// document is left without a sound, to be closed.
std::array<std::unique_ptr<Sound>, 2> SplitVertically(TUnitWave& unitWave);

// `first` followed by `last` in the chosen channels, frequency and width.
// The sources stay as they are. Null when `failed` is set.
std::unique_ptr<Sound> MergeHorizontally(bool& failed, const Sound& first, const Sound& last,
                                         const TMergeHorProps& props);

// The middle waves of `left` and `right` at the chosen frequency made as
// long as each other and joined as one stereo sound of the chosen width.
// Both documents hand their sounds over (they are to be closed); a mono
// wave already at the chosen frequency that needs no change of length moves
// into the result without being copied. On failure `failed` is set, null is
// returned and both documents keep their sounds.
std::unique_ptr<Sound> MergeVertically(bool& failed, TUnitWave& left, TUnitWave& right,
                                       const TMergeVertProps& props);

// The checks of a merge dialog's two lists, each a chosen document or null,
// with the labels of the lists ("First", "Last" or "Left", "Right"). Shows
// the "Input Error" message of the first problem and returns false.
bool CheckMergeChoice(const TUnitWave* one, const std::string& oneLabel, const TUnitWave* other,
                      const std::string& otherLabel);

// A sound made by a split, a merge or Duplicate as a new document of the
// workspace: named "NONAME" + the next number, with the default records,
// and New (its first save asks for a name).
TUnitWave* AddDerivedWave(TWorkspace& workspace, std::unique_ptr<Sound> sound);
