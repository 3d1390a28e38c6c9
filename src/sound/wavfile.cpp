#include "sound/wavfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

#include "base/allocation.h"
#include "base/atomicfile.h"
#include "base/tbassert.h"

namespace {

// Samples move between file and memory in blocks of this many bytes: large
// enough that system calls cost nothing next to the copying, small enough to
// stay in the cache. A multiple of every frame size (1, 2 and 4 bytes).
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

bool ReadU16(ByteSource& source, std::uint16_t& value) {
  std::uint8_t b[2];
  if (!ReadExact(source, b, 2)) return false;
  value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  return true;
}

std::unique_ptr<Sound> EmptySound(int channels, std::int32_t freq, std::int16_t bytes) {
  if (channels == 1) return std::make_unique<MonoSound>(freq, bytes);
  return std::make_unique<StereoSound>(freq, bytes);
}

// Fills `left` (and `right` for stereo) with `frames` frames of the data.
bool ReadSamples(ByteSource& source, int channels, int bytes, std::int32_t frames,
                 std::int16_t* left, std::int16_t* right) {
  const std::size_t frameBytes = static_cast<std::size_t>(channels) * bytes;
  const std::size_t total = frameBytes * static_cast<std::size_t>(frames);
  if (channels == 1 && bytes == 2) {
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
    const std::size_t n = std::min(remaining, block.size());
    if (!ReadExact(source, block.data(), n)) return false;
    const std::uint8_t* p = block.data();
    const std::size_t count = n / frameBytes;
    if (channels == 1) {  // 8-bit mono
      for (std::size_t i = 0; i < count; ++i) left[i] = Sample8(p[i]);
    } else if (bytes == 1) {  // 8-bit stereo
      for (std::size_t i = 0; i < count; ++i) {
        left[i] = Sample8(p[2 * i]);
        right[i] = Sample8(p[2 * i + 1]);
      }
    } else {  // 16-bit stereo
      for (std::size_t i = 0; i < count; ++i) {
        left[i] = Sample16(p + 4 * i);
        right[i] = Sample16(p + 4 * i + 2);
      }
    }
    left += count;
    if (right != nullptr) right += count;
    remaining -= n;
  }
  return true;
}

bool ReadWav(ByteSource& source, std::unique_ptr<Sound>& sound, std::string& message) {
  sound.reset();
  std::uint8_t id[8];
  if (!ReadExact(source, id, 4) || std::memcmp(id, "RIFF", 4) != 0) {
    message = kWavNoRiff;
    return false;
  }
  source.Skip(4);  // RIFF size: the chunks themselves say where the data is
  if (!ReadExact(source, id, 8) || std::memcmp(id, "WAVEfmt ", 8) != 0) {
    message = kWavNoWaveFmt;
    return false;
  }
  std::uint32_t fmtSize = 0;
  if (!ReadU32(source, fmtSize) || fmtSize < 16) {
    message = kWavChunkTooSmall;
    return false;
  }
  std::uint16_t formatTag = 0;
  if (!ReadU16(source, formatTag) || formatTag != 1) {
    message = kWavNotPcm;
    return false;
  }
  std::uint16_t channels = 0;
  if (!ReadU16(source, channels) || (channels != 1 && channels != 2)) {
    message = kWavBadChannels;
    return false;
  }
  std::uint32_t rate = 0;
  std::uint32_t byteRate = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bits = 0;
  if (!ReadU32(source, rate) || !ReadU32(source, byteRate) || !ReadU16(source, blockAlign) ||
      !ReadU16(source, bits)) {
    message = kWavNoData;  // the file ends inside the fmt chunk
    return false;
  }
  // 24- or 32-bit data read as 16-bit values would be noise.
  if (bits != 8 && bits != 16) {
    message = kWavBadBits;
    return false;
  }
  // Every time and frequency conversion divides by the rate.
  if (rate == 0 || rate > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
    message = kWavBadRate;
    return false;
  }
  const int bytes = bits / 8;
  // Chunks are padded to an even size.
  source.Skip(static_cast<std::uint64_t>(fmtSize - 16) + (fmtSize & 1));

  // Other programs put "fact", "LIST", "bext", "cue ", "JUNK" and more
  // between fmt and data; skip whatever it is.
  std::uint32_t dataSize = 0;
  for (;;) {
    std::uint32_t size = 0;
    if (!ReadExact(source, id, 4) || !ReadU32(source, size)) {
      message = source.Failed() ? kWavReadError : kWavNoData;
      return false;
    }
    if (std::memcmp(id, "data", 4) == 0) {
      dataSize = size;
      break;
    }
    source.Skip(static_cast<std::uint64_t>(size) + (size & 1));
  }

  // Never more than the file holds: a short file loads its whole frames, and
  // a huge declared size costs nothing.
  const std::uint64_t frameBytes = static_cast<std::uint64_t>(channels) * bytes;
  const std::uint64_t frames64 = std::min<std::uint64_t>(dataSize, source.Remaining()) / frameBytes;
  if (frames64 > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    message = kWavTooLong;
    return false;
  }
  const auto frames = static_cast<std::int32_t>(frames64);
  const auto freq = static_cast<std::int32_t>(rate);
  const auto bytesPSample = static_cast<std::int16_t>(bytes);
  if (frames == 0) {
    sound = EmptySound(channels, freq, bytesPSample);
    return true;
  }

  bool failed = false;
  std::unique_ptr<std::int16_t[]> left = AllocateArray<std::int16_t>(failed, frames);
  std::unique_ptr<std::int16_t[]> right;
  if (!failed && channels == 2) right = AllocateArray<std::int16_t>(failed, frames);
  if (failed) {
    message = kWavOutOfMemory;
    return false;
  }
  if (!ReadSamples(source, channels, bytes, frames, left.get(), right.get())) {
    message = kWavReadError;
    return false;
  }
  auto leftWave = std::make_unique<Wave>(std::move(left), frames);
  if (channels == 1) {
    sound = std::make_unique<MonoSound>(std::move(leftWave), freq, bytesPSample);
  } else {
    sound = std::make_unique<StereoSound>(
        std::move(leftWave), std::make_unique<Wave>(std::move(right), frames), freq, bytesPSample);
  }
  return true;
}

// Reads a whole non-regular file (a pipe, a device) into memory: its size is
// not known in advance.
bool Slurp(int fd, std::vector<std::uint8_t>& bytes) {
  std::size_t used = 0;
  for (;;) {
    if (bytes.size() - used < kIoBlockBytes) bytes.resize(used + 4 * kIoBlockBytes + used / 2);
    const ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
  return true;
}

bool WriteSamples(AtomicFile& file, const Sound& sound, int bytes, std::int32_t begin,
                  std::int32_t end) {
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

bool ReadWavFile(const std::string& fileName, std::unique_ptr<Sound>& sound, std::string& message) {
  message = kWavNoErrors;
  sound.reset();
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    if (fd >= 0) ::close(fd);
    message = kWavCannotOpen;
    return false;
  }
  bool ok;
  if (S_ISREG(st.st_mode)) {
    FileSource source(fd, static_cast<std::uint64_t>(st.st_size));
    ok = ReadWav(source, sound, message);
  } else {
    std::vector<std::uint8_t> bytes;
    if (!Slurp(fd, bytes)) {
      ::close(fd);
      message = kWavCannotOpen;
      return false;
    }
    MemorySource source(bytes.data(), bytes.size());
    ok = ReadWav(source, sound, message);
  }
  ::close(fd);
  return ok;
}

bool ReadWavBytes(const std::uint8_t* bytes, std::size_t size, std::unique_ptr<Sound>& sound,
                  std::string& message) {
  message = kWavNoErrors;
  MemorySource source(bytes, size);
  return ReadWav(source, sound, message);
}

bool WriteWavFile(bool& /*failed*/, const std::string& fileName, const Sound& sound,
                  std::int32_t begin, std::int32_t end, bool /*temporary*/) {
  const std::int32_t values = sound.GetValues();
  if (end == -1) end = values;
  TB_ASSERT(begin >= 0);
  TB_ASSERT(begin <= end);
  TB_ASSERT(end <= values);
  const int bytes = sound.GetBytesPSample();
  TB_ASSERT(bytes == 1 || bytes == 2);
  const int channels = sound.GetMoSt();

  const std::uint64_t dataSize = static_cast<std::uint64_t>(channels) *
                                 static_cast<std::uint64_t>(end - begin) *
                                 static_cast<std::uint64_t>(bytes);
  // The RIFF sizes are 32-bit: a longer range cannot be stored.
  if (dataSize > std::numeric_limits<std::uint32_t>::max() - 36u) return false;

  std::uint8_t header[44];
  PutId(header, "RIFF");
  PutU32(header + 4, static_cast<std::uint32_t>(36 + dataSize));
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
  PutU32(header + 40, static_cast<std::uint32_t>(dataSize));

  AtomicFile file;
  if (!file.Open(fileName)) return false;
  if (!file.Write(header, sizeof header) || !WriteSamples(file, sound, bytes, begin, end)) {
    file.Abandon();
    return false;
  }
  return file.Commit();
}

bool Sound::Save(bool& failed, const std::string& fileName, bool temporary, std::int32_t begin,
                 std::int32_t end) const {
  return WriteWavFile(failed, fileName, *this, begin, end, temporary);
}
