#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "sound/sound.h"

// RIFF WAVE files: uncompressed PCM, 8 or 16 bits per sample, one or two
// channels; wider and floating-point samples are read too (below). Samples
// are 16-bit in memory whatever the file holds; 8-bit file bytes b become
// (b - 128) * 256 and go back as trunc(v / 256) + 128.

// Texts the reader leaves in `message`.
inline constexpr const char* kWavNoErrors = "No errors occurred.";
inline constexpr const char* kWavCannotOpen = "Cannot open File.";
inline constexpr const char* kWavNoRiff = "\"RIFF\" not found.";
inline constexpr const char* kWavNoWaveFmt = "\"WAVEfmt \" not found.";
inline constexpr const char* kWavChunkTooSmall = "chunk too small.";
inline constexpr const char* kWavNotPcm = "A value must be 1.";
inline constexpr const char* kWavBadChannels = "MonoStereo must be 1 or 2.";
inline constexpr const char* kWavBadBits = "Only 8, 16, 24 and 32 bits per sample are supported.";
inline constexpr const char* kWavBadValidBits =
    "The valid bits per sample exceed the bits per sample.";
inline constexpr const char* kWavBadRate = "The sample rate must lie between 1 and 2147483647 Hz.";
inline constexpr const char* kWavNoData = "\"data\" not found.";
inline constexpr const char* kWavReadError = "The file could not be read.";
inline constexpr const char* kWavTooLong = "The file holds more values than a wave can.";
inline constexpr const char* kWavNotRegular = "The file is not a regular file.";
// An allocation failure has already been shown by the allocator; the
// message only records why the load failed.
inline constexpr const char* kWavOutOfMemory = "Not enough memory for the samples.";

// Besides 8- and 16-bit PCM, the reader opens what recorders, phones and
// sox write, as 16-bit values (such a sound saves as 16-bit PCM): 24- and
// 32-bit PCM keep their top 16 bits; 32- and 64-bit IEEE float (format tag 3)
// become trunc(x * 32768) clipped to -32768 ... 32767, NaN 0. The extensible
// format (tag 0xFFFE) is read as the format its sub-format names, at any of
// these sizes; its valid bits, when fewer than 16, clear the bits below them.
//
// Reads a whole file into a new MonoSound (one channel) or StereoSound (two)
// with the file's sample rate and sample size. Returns false, with the reason
// in `message`, when the file cannot be used; `sound` is then left empty.
// Chunks other than "fmt " and "data" before the samples are skipped; a file
// shorter than its declared data loads the whole frames it holds. Only a
// regular file is read (kWavNotRegular otherwise): a device or a pipe could
// deliver without end, and a FIFO without a writer would wait forever.
bool ReadWavFile(const std::string& fileName, std::unique_ptr<Sound>& sound, std::string& message);

// How a file stored its samples when that is not what saving writes back:
// wider integers, fewer valid bits, or floating point. `bits` 0: the file
// held plain 8- or 16-bit PCM, which loads and saves unchanged.
struct WavSource {
  int bits = 0;  // the significant bits of each sample
  bool isFloat = false;
  bool Converted() const { return bits != 0; }
  // "24-bit PCM", "32-bit float"; empty when nothing was converted.
  std::string Text() const;
};

// The same, telling also how the file stored its samples (cleared on failure).
bool ReadWavFile(const std::string& fileName, std::unique_ptr<Sound>& sound, std::string& message,
                 WavSource& source);

// The same reader over a stream (standard input): the header is checked
// before any data are read, and the sample arrays grow with the data that
// arrive, never beyond the declared size. A stream that ends early loads its
// whole frames. The descriptor is neither closed nor rewound.
bool ReadWavStream(int fd, std::unique_ptr<Sound>& sound, std::string& message);

// The same reader over bytes in memory (what the fuzzer drives).
bool ReadWavBytes(const std::uint8_t* bytes, std::size_t size, std::unique_ptr<Sound>& sound,
                  std::string& message);

// What the header of a file says, with the whole frames it holds: read
// without loading any sample (`info`). The stream form reads past the data
// to count them.
struct WavInfo {
  int channels = 0;
  std::int32_t freq = 0;
  std::int16_t bytesPSample = 0;
  std::int32_t values = 0;
  WavSource source;
};
bool ReadWavFileInfo(const std::string& fileName, WavInfo& info, std::string& message);
bool ReadWavStreamInfo(int fd, WavInfo& info, std::string& message);

// Whether `values` frames of the format fit a WAV file: its sizes and its
// byte rate (channels x rate x bytes) are 32-bit fields.
bool FitsWavFile(int channels, int bytesPSample, std::int64_t freq, std::int64_t values);

// Writes the values begin ... end - 1 of every channel (end = -1: to the end)
// as a 44-byte-header WAV file with the sound's channel count, frequency and
// sample size. The file is written beside the target and renamed over it
// only when complete, so a failure never damages an existing file. Returns
// false when the file cannot be created or written, or the range does not
// fit a WAV file (nothing is shown; the caller reports it). `temporary` is a
// hint for play-back files that POSIX file systems have no attribute for; it
// is accepted and ignored. Writing allocates no sample memory, so `failed`
// is never set here.
bool WriteWavFile(bool& failed, const std::string& fileName, const Sound& sound, std::int32_t begin,
                  std::int32_t end, bool temporary);

// The whole sound as one WAV file into an open descriptor (standard
// output); false on a write error such as a closed pipe.
bool WriteWavStream(int fd, const Sound& sound);
