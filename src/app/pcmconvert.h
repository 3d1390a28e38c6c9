#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A PCM sample layout: unsigned 8-bit, signed 16-bit or 32-bit float, with
// interleaved channels.
struct TPcmFormat {
  int Channels = 1;
  std::int32_t Rate = 44100;
  int Bytes = 2;  // 1 (unsigned 8 bits), 2 (signed 16 bits) or 4 (float)
  bool operator==(const TPcmFormat&) const = default;
  int FrameBytes() const { return Channels * Bytes; }
};

// Converts a PCM stream between two layouts piece by piece, as the pieces
// arrive from a file or a device, so that a device which cannot take a
// wave's own layout still plays it at its pitch and speed. Samples go
// through 16 bits (an 8-bit byte b is (b - 128) * 256, and back
// trunc(v / 256) + 128, as in wave files); mono goes to both sides, stereo
// to mono as the mean of the two; the rate changes by linear interpolation
// between neighbouring frames. A frame split across two pieces is kept
// until the rest arrives.
class TPcmConverter {
 public:
  TPcmConverter(const TPcmFormat& from, const TPcmFormat& to);

  // Appends the converted frames of `bytes` to `out`.
  void Convert(const std::uint8_t* bytes, std::size_t size, std::vector<std::uint8_t>& out);
  // The end of the stream: the frames still owed for the last input frame.
  void Flush(std::vector<std::uint8_t>& out);

 private:
  void Put(const std::int32_t* frame, std::vector<std::uint8_t>& out) const;

  TPcmFormat From;
  TPcmFormat To;
  std::vector<std::uint8_t> Partial;  // bytes of an incomplete input frame
  std::int32_t Prev[2] = {0, 0};      // the last input frame, in To's channels
  bool HavePrev = false;
  // Where the next output frame lies between Prev and the next input frame,
  // in units of 1 / To.Rate of an input frame.
  std::int64_t Phase = 0;
};
