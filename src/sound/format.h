#pragma once

#include <cstdint>
#include <memory>

#include "sound/sound.h"

// The file format of a sound: what the wave Properties command and the
// command line's convert change.
struct SoundFormat {
  std::int32_t frequency;
  std::int16_t channels;      // 1 mono, 2 stereo
  std::int16_t bytesPSample;  // 1 or 2
};

SoundFormat FormatOf(const Sound& sound);

// `sound` in the `target` format, step by step: a stereo sound averaged to
// mono, the frequency changed by resampling, a mono sound duplicated to
// stereo, the sample width set (the samples stay as they are: they are
// 16-bit in memory whatever the file's width). A new sound even for a change
// of the width alone, so that the old sound can be kept for Undo. Null when
// the format is `target` already, or with `failed` set when memory ran out.
std::unique_ptr<Sound> ConvertFormat(bool& failed, const Sound& sound, const SoundFormat& target);

// For a caller that gives the sound up: a change of the width alone is made
// on `sound` itself, and a sound in the `target` format comes back as it is.
std::unique_ptr<Sound> ConvertFormat(bool& failed, std::unique_ptr<Sound> sound,
                                     const SoundFormat& target);
