#include "sound/wavfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "base/allocation.h"
#include "base/atomicfile.h"
#include "base/tbassert.h"

namespace {

// Samples move between file and memory in blocks of this many bytes: large
// enough that system calls cost nothing next to the copying, small enough to
// stay in the cache. Reads take the whole frames that fit.
constexpr std::size_t kIoBlockBytes = std::size_t{64} * 1024;

constexpr bool kLittleEndianHost = std::endian::native == std::endian::little;

std::int16_t Sample16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

std::int16_t Sample8(std::uint8_t b) { return static_cast<std::int16_t>((b - 128) * 256); }

void PutSample16(std::uint8_t* p, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  p[0] = static_cast<std::uint8_t>(u & 0xFF);
  p[1] = static_cast<std::uint8_t>(u >> 8);
}

// trunc(v / 256) + 128: integer division truncates toward zero.
std::uint8_t Byte8(std::int16_t v) { return static_cast<std::uint8_t>(v / 256 + 128); }

void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A four-character chunk id, without its terminating zero.
void PutId(std::uint8_t* p, const char (&id)[5]) { std::copy_n(id, 4, p); }

void PutU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v & 0xFF);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

// ---------------------------------------------------------------------------
// Sources of bytes for the reader.

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `count` bytes; fewer only at the end of the data or on an error.
  virtual std::size_t Read(void* to, std::size_t count) = 0;
  // Skipping past the end leaves the source at its end.
  virtual void Skip(std::uint64_t count) = 0;
  virtual std::uint64_t Remaining() const = 0;
  virtual bool Failed() const { return false; }
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

  std::size_t Read(void* to, std::size_t count) override {
    const std::size_t n = std::min<std::size_t>(count, size_ - position_);
    if (n > 0) std::memcpy(to, bytes_ + position_, n);
    position_ += n;
    return n;
  }
  void Skip(std::uint64_t count) override {
    position_ += static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - position_));
  }
  std::uint64_t Remaining() const override { return size_ - position_; }

 private:
  const std::uint8_t* bytes_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// A regular file read sequentially: small header reads come from a buffer,
// the sample data goes straight into the caller's memory.
class FileSource : public ByteSource {
 public:
  FileSource(int fd, std::uint64_t size) : fd_(fd), size_(size), buffer_(kIoBlockBytes) {}

  std::size_t Read(void* to, std::size_t count) override {
    auto* out = static_cast<std::uint8_t*>(to);
    std::size_t done = 0;
    while (done < count) {
      if (begin_ < end_) {
        const std::size_t n = std::min(count - done, end_ - begin_);
        std::memcpy(out + done, buffer_.data() + begin_, n);
        begin_ += n;
        done += n;
        continue;
      }
      const std::size_t want = count - done;
      // Large reads bypass the buffer.
      const bool direct = want >= buffer_.size();
      std::uint8_t* target = direct ? out + done : buffer_.data();
      const std::size_t ask = direct ? want : buffer_.size();
      const ssize_t got = ::read(fd_, target, ask);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        if (got < 0) error_ = true;
        break;
      }
      position_ += static_cast<std::uint64_t>(got);
      if (direct) {
        done += static_cast<std::size_t>(got);
      } else {
        begin_ = 0;
        end_ = static_cast<std::size_t>(got);
      }
    }
    return done;
  }

  void Skip(std::uint64_t count) override {
    const auto buffered = static_cast<std::size_t>(std::min<std::uint64_t>(count, end_ - begin_));
    begin_ += buffered;
    count -= buffered;
    if (count == 0) return;
    const std::uint64_t target = std::min(position_ + count, size_);
    if (::lseek(fd_, static_cast<off_t>(target), SEEK_SET) < 0) {
      error_ = true;
      return;
    }
    position_ = target;
  }

  std::uint64_t Remaining() const override {
    const std::uint64_t consumed = position_ - (end_ - begin_);
    return consumed < size_ ? size_ - consumed : 0;
  }

  bool Failed() const override { return error_; }

 private:
  int fd_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;  // of the file descriptor
  std::vector<std::uint8_t> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool error_ = false;
};

// A pipe or a terminal: read as the bytes arrive; its length is unknown.
class StreamSource : public ByteSource {
 public:
  explicit StreamSource(int fd) : fd_(fd) {}

  std::size_t Read(void* to, std::size_t count) override {
    auto* out = static_cast<std::uint8_t*>(to);
    std::size_t done = 0;
    while (done < count && !ended_) {
      const ssize_t got = ::read(fd_, out + done, count - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        error_ = got < 0;
        ended_ = true;
        break;
      }
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

  void Skip(std::uint64_t count) override {
    std::uint8_t scrap[4096];
    while (count > 0 && !ended_) {
      const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof scrap));
      count -= Read(scrap, n);
    }
  }

  std::uint64_t Remaining() const override {
    return ended_ ? 0 : std::numeric_limits<std::uint64_t>::max();
  }
  bool Failed() const override { return error_; }

 private:
  int fd_;
  bool ended_ = false;
  bool error_ = false;
};

bool ReadExact(ByteSource& source, void* to, std::size_t count) {
  return source.Read(to, count) == count;
}

bool ReadU32(ByteSource& source, std::uint32_t& value) {
  std::uint8_t b[4];
  if (!ReadExact(source, b, 4)) return false;
  value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
          (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  return true;
}

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Floating point x becomes trunc(x * 32768) clipped to -32768 ... 32767
// (full scale is 1.0), and NaN becomes 0: silence is the one harmless value
// for a sample that has none. Scaling by a power of two is exact in double.
std::int16_t FloatTo16(double x) {
  const double scaled = x * 32768.0;
  if (std::isnan(scaled)) return 0;
  if (scaled <= -32768.0) return -32768;
  if (scaled >= 32767.0) return 32767;
  return static_cast<std::int16_t>(scaled);  // the conversion truncates toward zero
}

std::int16_t SampleFloat32(const std::uint8_t* p) {
  return FloatTo16(static_cast<double>(std::bit_cast<float>(U32(p))));
}

std::int16_t SampleFloat64(const std::uint8_t* p) {
  const std::uint64_t bits = U32(p) | (static_cast<std::uint64_t>(U32(p + 4)) << 32);
  return FloatTo16(std::bit_cast<double>(bits));
}

// Integers keep their top 16 bits: a 24-bit v becomes v >> 8 and a 32-bit v
// becomes v >> 16, arithmetic shifts (toward minus infinity). In a
// little-endian sample those are exactly its last two bytes.
std::int16_t SampleTop16(const std::uint8_t* p, std::size_t bytes) {
  return Sample16(p + bytes - 2);
}

// What the header says about the samples.
struct DataFormat {
  int channels = 0;
  std::int32_t freq = 0;
  std::int16_t bytesPSample = 0;  // in memory and when written back
  int fileBytes = 0;              // per sample in the file: 1 to 4, or 8 for float
  bool isFloat = false;           // 4- or 8-byte IEEE samples
  // Bits below the valid ones are not part of the sample: the 16-bit value
  // keeps only the bits of this mask.
  std::uint16_t validMask = 0xFFFF;
  WavSource source;
  std::uint32_t dataSize = 0;  // as declared
  int FrameBytes() const { return channels * fileBytes; }
};

std::unique_ptr<Sound> EmptySound(const DataFormat& format) {
  if (format.channels == 1) return std::make_unique<MonoSound>(format.freq, format.bytesPSample);
  return std::make_unique<StereoSound>(format.freq, format.bytesPSample);
}

// Converts `count` frames at `p` into left (and right).
void ConvertFrames(const std::uint8_t* p, std::size_t count, const DataFormat& format,
                   std::int16_t* left, std::int16_t* right) {
  const bool stereo = format.channels == 2;
  switch (format.fileBytes) {
    case 1:
      if (!stereo) {
        for (std::size_t i = 0; i < count; ++i) left[i] = Sample8(p[i]);
      } else {
        for (std::size_t i = 0; i < count; ++i) {
          left[i] = Sample8(p[2 * i]);
          right[i] = Sample8(p[2 * i + 1]);
        }
      }
      break;
    case 2:
      if (!stereo) {
        for (std::size_t i = 0; i < count; ++i) left[i] = Sample16(p + 2 * i);
      } else {
        for (std::size_t i = 0; i < count; ++i) {
          left[i] = Sample16(p + 4 * i);
          right[i] = Sample16(p + 4 * i + 2);
        }
      }
      break;
    default: {
      const auto n = static_cast<std::size_t>(format.fileBytes);
      const auto sample = [&](const std::uint8_t* at) {
        if (!format.isFloat) return SampleTop16(at, n);
        return n == 4 ? SampleFloat32(at) : SampleFloat64(at);
      };
      for (std::size_t i = 0; i < count; ++i) {
        left[i] = sample(p + (stereo ? 2 : 1) * n * i);
        if (stereo) right[i] = sample(p + 2 * n * i + n);
      }
    }
  }
  if (format.validMask != 0xFFFF) {
    const auto mask = static_cast<std::int16_t>(format.validMask);
    for (std::size_t i = 0; i < count; ++i) {
      left[i] = static_cast<std::int16_t>(left[i] & mask);
      if (stereo) right[i] = static_cast<std::int16_t>(right[i] & mask);
    }
  }
}

// Fills `left` (and `right` for stereo) with `frames` frames of the data.
bool ReadSamples(ByteSource& source, const DataFormat& format, std::int32_t frames,
                 std::int16_t* left, std::int16_t* right) {
  const auto frameBytes = static_cast<std::size_t>(format.FrameBytes());
  const std::size_t total = frameBytes * static_cast<std::size_t>(frames);
  if (format.channels == 1 && format.fileBytes == 2 && format.validMask == 0xFFFF) {
    // One read straight into the wave; only a big-endian host needs a pass.
    if (!ReadExact(source, left, total)) return false;
    if constexpr (!kLittleEndianHost) {
      auto* p = reinterpret_cast<std::uint8_t*>(left);
      for (std::int32_t i = 0; i < frames; ++i) left[i] = Sample16(p + std::ptrdiff_t{2} * i);
    }
    return true;
  }
  std::vector<std::uint8_t> block(kIoBlockBytes);
  std::size_t remaining = total;
  while (remaining > 0) {
    const std::size_t n = std::min(remaining, block.size() / frameBytes * frameBytes);
    if (!ReadExact(source, block.data(), n)) return false;
    const std::size_t count = n / frameBytes;
    ConvertFrames(block.data(), count, format, left, right);
    left += count;
    if (right != nullptr) right += count;
    remaining -= n;
  }
  return true;
}

// A chunk id and size.
bool ReadChunkHeader(ByteSource& source, std::uint8_t (&id)[4], std::uint32_t& size) {
  return ReadExact(source, id, 4) && ReadU32(source, size);
}

// The chunk's data padded to an even size.
void SkipChunk(ByteSource& source, std::uint32_t size) {
  source.Skip(static_cast<std::uint64_t>(size) + (size & 1));
}

// Reads everything up to the first sample: RIFF, the fmt chunk and the data
// chunk's header, skipping unknown chunks anywhere before "data".
bool ReadHeader(ByteSource& source, DataFormat& format, std::string& message) {
  std::uint8_t id[4];
  if (!ReadExact(source, id, 4) || std::memcmp(id, "RIFF", 4) != 0) {
    message = kWavNoRiff;
    return false;
  }
  source.Skip(4);  // RIFF size: the chunks themselves say where the data is
  if (!ReadExact(source, id, 4) || std::memcmp(id, "WAVE", 4) != 0) {
    message = kWavNoWaveFmt;
    return false;
  }
  // Recorders put "JUNK", "bext", "LIST" and more before fmt; skip them as
  // the chunks between fmt and data.
  std::uint32_t fmtSize = 0;
  for (;;) {
    if (!ReadExact(source, id, 4)) {
      message = source.Failed() ? kWavReadError : kWavNoWaveFmt;
      return false;
    }
    const bool isFmt = std::memcmp(id, "fmt ", 4) == 0;
    if (!ReadU32(source, fmtSize)) {
      // A file that ends in the fmt chunk's size has no usable fmt chunk.
      message = isFmt ? kWavChunkTooSmall : kWavNoWaveFmt;
      return false;
    }
    if (isFmt) break;
    SkipChunk(source, fmtSize);
  }
  if (fmtSize < 16) {
    message = kWavChunkTooSmall;
    return false;
  }
  std::uint8_t fmt[40] = {};
  const std::size_t fmtRead = std::min<std::size_t>(fmtSize, sizeof fmt);
  if (source.Read(fmt, fmtRead) < 16) {
    message = kWavNoData;  // the file ends inside the fmt chunk
    return false;
  }
  std::uint16_t formatTag = U16(fmt);
  const std::uint16_t bits = U16(fmt + 14);
  std::uint16_t validBits = bits;
  // WAVE_FORMAT_EXTENSIBLE names the real format in its sub-format's first
  // two bytes, after the valid bits and the channel mask. The mask says which
  // speakers the channels feed; one or two channels load in the file's order
  // whatever it says, so it is read past.
  constexpr std::uint16_t kExtensible = 0xFFFE;
  if (formatTag == kExtensible && fmtSize >= 40) {
    formatTag = U16(fmt + 24);
    // 0: the writer did not say, so every bit counts.
    if (U16(fmt + 18) != 0) validBits = U16(fmt + 18);
  }
  constexpr std::uint16_t kPcm = 1;
  constexpr std::uint16_t kFloat = 3;
  const bool isFloat = formatTag == kFloat && (bits == 32 || bits == 64);
  if (formatTag != kPcm && !isFloat) {
    message = kWavNotPcm;
    return false;
  }
  const std::uint16_t channels = U16(fmt + 2);
  if (channels != 1 && channels != 2) {
    message = kWavBadChannels;
    return false;
  }
  // Wider integers become 16-bit values; other widths would be noise.
  if (!isFloat && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    message = kWavBadBits;
    return false;
  }
  if (validBits > bits) {
    message = kWavBadValidBits;
    return false;
  }
  // Every time and frequency conversion divides by the rate.
  const std::uint32_t rate = U32(fmt + 4);
  if (rate == 0 || rate > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
    message = kWavBadRate;
    return false;
  }
  source.Skip(static_cast<std::uint64_t>(fmtSize - fmtRead) + (fmtSize & 1));

  // Other programs put "fact", "LIST", "bext", "cue ", "JUNK" and more
  // between fmt and data; skip whatever it is.
  for (;;) {
    std::uint32_t size = 0;
    if (!ReadChunkHeader(source, id, size)) {
      message = source.Failed() ? kWavReadError : kWavNoData;
      return false;
    }
    if (std::memcmp(id, "data", 4) == 0) {
      format.dataSize = size;
      break;
    }
    SkipChunk(source, size);
  }
  format.channels = channels;
  format.freq = static_cast<std::int32_t>(rate);
  format.fileBytes = bits / 8;
  format.isFloat = isFloat;
  if (isFloat) {
    format.source = WavSource{bits, true};
  } else if (validBits != bits || bits > 16) {
    format.source = WavSource{validBits, false};
    // Fewer than 16 valid bits: the bits below them go (within the top 16
    // bits, the only ones kept, when the sample is wider).
    if (validBits < 16) {
      format.validMask = static_cast<std::uint16_t>(0xFFFFu << (16 - validBits));
    }
  }
  // Samples wider than 16 bits come in as 16-bit values and are saved as such.
  format.bytesPSample = static_cast<std::int16_t>(bits == 8 ? 1 : 2);
  return true;
}

// Wraps the filled arrays in the sound of the format.
std::unique_ptr<Sound> MakeSound(const DataFormat& format, std::unique_ptr<std::int16_t[]> left,
                                 std::unique_ptr<std::int16_t[]> right, std::int32_t frames) {
  auto leftWave = std::make_unique<Wave>(std::move(left), frames);
  if (format.channels == 1) {
    return std::make_unique<MonoSound>(std::move(leftWave), format.freq, format.bytesPSample);
  }
  return std::make_unique<StereoSound>(std::move(leftWave),
                                       std::make_unique<Wave>(std::move(right), frames),
                                       format.freq, format.bytesPSample);
}

// Samples of a stream, whose length is only known at its end: the arrays
// grow by doubling as data arrive, never beyond the declared size, so an
// endless or lying stream costs at most twice what it delivered.
bool ReadStreamSamples(ByteSource& source, const DataFormat& format, std::unique_ptr<Sound>& sound,
                       std::string& message) {
  const auto frameBytes = static_cast<std::uint64_t>(format.FrameBytes());
  const std::uint64_t declared = format.dataSize / frameBytes;
  const auto limit = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  constexpr std::uint64_t kFirstCapacity = 64 * 1024;
  std::unique_ptr<std::int16_t[]> left;
  std::unique_ptr<std::int16_t[]> right;
  std::uint64_t frames = 0;
  std::uint64_t capacity = 0;
  std::vector<std::uint8_t> block(kIoBlockBytes);
  const std::uint64_t perBlock = block.size() / frameBytes;
  while (frames < declared) {
    if (frames == capacity) {
      if (frames == limit) {
        // Full, as a wave can be: only another whole frame makes it too long.
        std::uint8_t probe[16];  // the widest frame: two 8-byte samples
        if (source.Read(probe, static_cast<std::size_t>(frameBytes)) < frameBytes) break;
        message = kWavTooLong;
        return false;
      }
      const std::uint64_t grown =
          std::min({declared, limit, std::max(kFirstCapacity, capacity * 2)});
      bool failed = false;
      auto newLeft = AllocateArray<std::int16_t>(failed, grown);
      std::unique_ptr<std::int16_t[]> newRight;
      if (!failed && format.channels == 2) newRight = AllocateArray<std::int16_t>(failed, grown);
      if (failed) {
        message = kWavOutOfMemory;
        return false;
      }
      if (frames > 0) {
        std::copy_n(left.get(), frames, newLeft.get());
        if (newRight) std::copy_n(right.get(), frames, newRight.get());
      }
      left = std::move(newLeft);
      right = std::move(newRight);
      capacity = grown;
    }
    const std::uint64_t want = std::min({capacity - frames, declared - frames, perBlock});
    const auto bytes = static_cast<std::size_t>(want * frameBytes);
    const std::size_t got = source.Read(block.data(), bytes);
    const std::size_t count = got / static_cast<std::size_t>(frameBytes);
    ConvertFrames(block.data(), count, format, left.get() + frames,
                  right ? right.get() + frames : nullptr);
    frames += count;
    if (got < bytes) break;  // the stream ended early: its whole frames count
  }
  if (source.Failed()) {
    message = kWavReadError;
    return false;
  }
  if (frames == 0) {
    sound = EmptySound(format);
  } else {
    sound = MakeSound(format, std::move(left), std::move(right), static_cast<std::int32_t>(frames));
  }
  return true;
}

// The whole frames the data hold, bounded by what the source has left.
bool CountFrames(ByteSource& source, const DataFormat& format, std::int32_t& frames,
                 std::string& message) {
  const auto frameBytes = static_cast<std::uint64_t>(format.FrameBytes());
  const std::uint64_t frames64 =
      std::min<std::uint64_t>(format.dataSize, source.Remaining()) / frameBytes;
  if (frames64 > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    message = kWavTooLong;
    return false;
  }
  frames = static_cast<std::int32_t>(frames64);
  return true;
}

bool ReadWav(ByteSource& source, std::unique_ptr<Sound>& sound, std::string& message, bool stream,
             WavSource* fileSource = nullptr) {
  sound.reset();
  DataFormat format;
  if (!ReadHeader(source, format, message)) return false;
  if (fileSource != nullptr) *fileSource = format.source;
  if (stream) return ReadStreamSamples(source, format, sound, message);

  // Never more than the file holds: a short file loads its whole frames, and
  // a huge declared size costs nothing.
  std::int32_t frames = 0;
  if (!CountFrames(source, format, frames, message)) return false;
  if (frames == 0) {
    sound = EmptySound(format);
    return true;
  }
  bool failed = false;
  std::unique_ptr<std::int16_t[]> left = AllocateArray<std::int16_t>(failed, frames);
  std::unique_ptr<std::int16_t[]> right;
  if (!failed && format.channels == 2) right = AllocateArray<std::int16_t>(failed, frames);
  if (failed) {
    message = kWavOutOfMemory;
    return false;
  }
  if (!ReadSamples(source, format, frames, left.get(), right.get())) {
    message = kWavReadError;
    return false;
  }
  sound = MakeSound(format, std::move(left), std::move(right), frames);
  return true;
}

WavInfo InfoOf(const DataFormat& format, std::int32_t frames) {
  return WavInfo{format.channels, format.freq, format.bytesPSample, frames, format.source};
}

// Opens a file for reading: a regular file only. Non-blocking, so a FIFO
// without a writer is refused at once instead of waiting forever.
int OpenRegular(const std::string& fileName, std::uint64_t& size, std::string& message) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    if (fd >= 0) ::close(fd);
    message = kWavCannotOpen;
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    // A device or a pipe could deliver without end.
    ::close(fd);
    message = kWavNotRegular;
    return -1;
  }
  size = static_cast<std::uint64_t>(st.st_size);
  return fd;
}

}  // namespace

bool ReadWavFile(const std::string& fileName, std::unique_ptr<Sound>& sound, std::string& message) {
  WavSource ignored;
  return ReadWavFile(fileName, sound, message, ignored);
}

bool ReadWavFile(const std::string& fileName, std::unique_ptr<Sound>& sound, std::string& message,
                 WavSource& fileSource) {
  message = kWavNoErrors;
  sound.reset();
  fileSource = WavSource{};
  std::uint64_t size = 0;
  const int fd = OpenRegular(fileName, size, message);
  if (fd < 0) return false;
  FileSource source(fd, size);
  const bool ok = ReadWav(source, sound, message, false, &fileSource);
  ::close(fd);
  if (!ok) fileSource = WavSource{};
  return ok;
}

std::string WavSource::Text() const {
  if (bits == 0) return {};
  return std::to_string(bits) + (isFloat ? "-bit float" : "-bit PCM");
}

bool ReadWavStream(int fd, std::unique_ptr<Sound>& sound, std::string& message) {
  message = kWavNoErrors;
  StreamSource source(fd);
  return ReadWav(source, sound, message, true);
}

bool ReadWavBytes(const std::uint8_t* bytes, std::size_t size, std::unique_ptr<Sound>& sound,
                  std::string& message) {
  message = kWavNoErrors;
  MemorySource source(bytes, size);
  return ReadWav(source, sound, message, false);
}

bool ReadWavFileInfo(const std::string& fileName, WavInfo& info, std::string& message) {
  message = kWavNoErrors;
  std::uint64_t size = 0;
  const int fd = OpenRegular(fileName, size, message);
  if (fd < 0) return false;
  FileSource source(fd, size);
  DataFormat format;
  std::int32_t frames = 0;
  const bool ok =
      ReadHeader(source, format, message) && CountFrames(source, format, frames, message);
  ::close(fd);
  if (ok) info = InfoOf(format, frames);
  return ok;
}

bool ReadWavStreamInfo(int fd, WavInfo& info, std::string& message) {
  message = kWavNoErrors;
  StreamSource source(fd);
  DataFormat format;
  if (!ReadHeader(source, format, message)) return false;
  // The data pass by in blocks and are only counted.
  const auto frameBytes = static_cast<std::uint64_t>(format.FrameBytes());
  std::vector<std::uint8_t> block(kIoBlockBytes);
  std::uint64_t bytes = 0;
  while (bytes < format.dataSize) {
    const auto want =
        static_cast<std::size_t>(std::min<std::uint64_t>(format.dataSize - bytes, block.size()));
    const std::size_t got = source.Read(block.data(), want);
    bytes += got;
    if (got < want) break;
  }
  if (source.Failed()) {
    message = kWavReadError;
    return false;
  }
  if (bytes / frameBytes > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    message = kWavTooLong;
    return false;
  }
  info = InfoOf(format, static_cast<std::int32_t>(bytes / frameBytes));
  return true;
}

bool FitsWavFile(int channels, int bytesPSample, std::int64_t freq, std::int64_t values) {
  const std::int64_t frameBytes = std::int64_t{channels} * bytesPSample;
  const auto limit = static_cast<std::int64_t>(std::numeric_limits<std::uint32_t>::max());
  return values >= 0 && freq >= 0 && frameBytes * freq <= limit &&
         values <= (limit - 36) / frameBytes;
}

namespace {

// A file descriptor written as is (a pipe on standard output).
class DescriptorSink {
 public:
  explicit DescriptorSink(int fd) : fd_(fd) {}
  bool Write(const void* data, std::size_t count) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (count > 0) {
      const ssize_t done = ::write(fd_, p, count);
      if (done < 0 && errno == EINTR) continue;
      if (done <= 0) return false;
      p += done;
      count -= static_cast<std::size_t>(done);
    }
    return true;
  }

 private:
  int fd_;
};

template <class Sink>
bool WriteSamples(Sink& file, const Sound& sound, int bytes, std::int32_t begin, std::int32_t end) {
  if (begin == end) return true;
  const std::int16_t* left = sound.Channel(0)->data() + begin;
  const std::int16_t* right = sound.GetMoSt() == 2 ? sound.Channel(1)->data() + begin : nullptr;
  const std::size_t count = static_cast<std::size_t>(end - begin);
  if (right == nullptr && bytes == 2 && kLittleEndianHost) {
    return file.Write(left, count * 2);
  }
  const std::size_t frameBytes = static_cast<std::size_t>(sound.GetMoSt()) * bytes;
  const std::size_t perBlock = kIoBlockBytes / frameBytes;
  std::vector<std::uint8_t> block(kIoBlockBytes);
  for (std::size_t done = 0; done < count;) {
    const std::size_t n = std::min(perBlock, count - done);
    std::uint8_t* p = block.data();
    const std::int16_t* l = left + done;
    if (right == nullptr) {
      if (bytes == 1) {
        for (std::size_t i = 0; i < n; ++i) p[i] = Byte8(l[i]);
      } else {
        for (std::size_t i = 0; i < n; ++i) PutSample16(p + 2 * i, l[i]);
      }
    } else {
      const std::int16_t* r = right + done;
      if (bytes == 1) {
        for (std::size_t i = 0; i < n; ++i) {
          p[2 * i] = Byte8(l[i]);
          p[2 * i + 1] = Byte8(r[i]);
        }
      } else {
        for (std::size_t i = 0; i < n; ++i) {
          PutSample16(p + 4 * i, l[i]);
          PutSample16(p + 4 * i + 2, r[i]);
        }
      }
    }
    if (!file.Write(block.data(), n * frameBytes)) return false;
    done += n;
  }
  return true;
}

}  // namespace

namespace {

// The 44-byte header of the range; false when it cannot be stored.
bool MakeHeader(const Sound& sound, std::int32_t& begin, std::int32_t& end,
                std::uint8_t (&header)[44]) {
  const std::int32_t values = sound.GetValues();
  if (end == -1) end = values;
  TB_ASSERT(begin >= 0);
  TB_ASSERT(begin <= end);
  TB_ASSERT(end <= values);
  const int bytes = sound.GetBytesPSample();
  TB_ASSERT(bytes == 1 || bytes == 2);
  const int channels = sound.GetMoSt();
  // The RIFF sizes and the byte rate are 32-bit: a longer range or a higher
  // rate cannot be stored, and wrapped fields would make a broken file.
  if (!FitsWavFile(channels, bytes, sound.GetFreq(), end - begin)) return false;
  const auto dataSize = static_cast<std::uint32_t>(channels * bytes * (end - begin));

  PutId(header, "RIFF");
  PutU32(header + 4, 36 + dataSize);
  PutId(header + 8, "WAVE");
  PutId(header + 12, "fmt ");
  PutU32(header + 16, 16);
  PutU16(header + 20, 1);
  PutU16(header + 22, static_cast<std::uint16_t>(channels));
  PutU32(header + 24, static_cast<std::uint32_t>(sound.GetFreq()));
  PutU32(header + 28, static_cast<std::uint32_t>(channels) *
                          static_cast<std::uint32_t>(sound.GetFreq()) *
                          static_cast<std::uint32_t>(bytes));
  PutU16(header + 32, static_cast<std::uint16_t>(channels * bytes));
  PutU16(header + 34, static_cast<std::uint16_t>(8 * bytes));
  PutId(header + 36, "data");
  PutU32(header + 40, dataSize);
  return true;
}

}  // namespace

bool WriteWavFile(bool& /*failed*/, const std::string& fileName, const Sound& sound,
                  std::int32_t begin, std::int32_t end, bool /*temporary*/) {
  std::uint8_t header[44];
  if (!MakeHeader(sound, begin, end, header)) return false;
  AtomicFile file;
  if (!file.Open(fileName)) return false;
  if (!file.Write(header, sizeof header) ||
      !WriteSamples(file, sound, sound.GetBytesPSample(), begin, end)) {
    file.Abandon();
    return false;
  }
  return file.Commit();
}

bool WriteWavStream(int fd, const Sound& sound) {
  std::int32_t begin = 0;
  std::int32_t end = -1;
  std::uint8_t header[44];
  if (!MakeHeader(sound, begin, end, header)) return false;
  DescriptorSink sink(fd);
  return sink.Write(header, sizeof header) &&
         WriteSamples(sink, sound, sound.GetBytesPSample(), begin, end);
}

bool Sound::Save(bool& failed, const std::string& fileName, bool temporary, std::int32_t begin,
                 std::int32_t end) const {
  return WriteWavFile(failed, fileName, *this, begin, end, temporary);
}
