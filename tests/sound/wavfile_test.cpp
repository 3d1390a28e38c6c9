#include "sound/wavfile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "base/allocation.h"
#include "base/atomicfile.h"
#include "sound/sound.h"
#include "support/recordingui.h"
#include "wavetestutil.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// --- building files in code ------------------------------------------------

void Text(Bytes& b, const char* text) { b.insert(b.end(), text, text + std::strlen(text)); }
void U16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void U32(Bytes& b, std::uint32_t v) {
  U16(b, v & 0xFFFF);
  U16(b, v >> 16);
}
void Chunk(Bytes& b, const char* id, const Bytes& body, bool pad = true) {
  Text(b, id);
  U32(b, static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (pad && body.size() % 2 == 1) b.push_back(0);
}

// The parts of a file, each of which a test may spoil.
struct WavLayout {
  const char* riff = "RIFF";
  const char* waveFmt = "WAVEfmt ";
  std::uint32_t fmtSize = 16;
  std::uint16_t tag = 1;
  std::uint16_t channels = 1;
  std::uint32_t rate = 8000;
  std::uint16_t bits = 16;
  Bytes fmtExtra;              // the fmt bytes after 16; empty: filler
  Bytes beforeFmt;             // chunks between "WAVE" and "fmt ", complete
  Bytes between;               // chunks between fmt and data, complete
  bool hasData = true;         // a "data" chunk at all
  std::int64_t dataSize = -1;  // declared size; -1: the size of `data`
  Bytes data;
};

Bytes Build(const WavLayout& s) {
  Bytes b;
  Text(b, s.riff);
  U32(b, 0);  // the reader ignores the RIFF size
  b.insert(b.end(), s.waveFmt, s.waveFmt + 4);
  b.insert(b.end(), s.beforeFmt.begin(), s.beforeFmt.end());
  Text(b, s.waveFmt + 4);
  U32(b, s.fmtSize);
  U16(b, s.tag);
  U16(b, s.channels);
  U32(b, s.rate);
  U32(b, s.rate * s.channels * (s.bits / 8));
  U16(b, s.channels * (s.bits / 8));
  U16(b, s.bits);
  b.insert(b.end(), s.fmtExtra.begin(), s.fmtExtra.end());
  for (auto i = static_cast<std::uint32_t>(16 + s.fmtExtra.size()); i < s.fmtSize; ++i) {
    b.push_back(0xEE);
  }
  if (s.fmtSize % 2 == 1) b.push_back(0);
  b.insert(b.end(), s.between.begin(), s.between.end());
  if (s.hasData) {
    Text(b, "data");
    U32(b, s.dataSize >= 0 ? static_cast<std::uint32_t>(s.dataSize)
                           : static_cast<std::uint32_t>(s.data.size()));
    b.insert(b.end(), s.data.begin(), s.data.end());
  }
  return b;
}

Bytes Le16(std::initializer_list<int> values) {
  Bytes b;
  for (int v : values) U16(b, static_cast<std::uint16_t>(v));
  return b;
}

// Values from a fixed linear congruential sequence, covering the whole range.
std::vector<std::int16_t> Pattern(std::size_t count, std::uint32_t seed) {
  std::vector<std::int16_t> v(count);
  for (auto& x : v) {
    seed = seed * 1103515245u + 12345u;
    x = static_cast<std::int16_t>(seed >> 16);
  }
  return v;
}

// A directory of its own for every test, removed afterwards.
class WavFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tb-wavfile-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(dir_, ignored);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void WriteFile(const std::string& path, const Bytes& bytes) const {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  static Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::vector<std::string> DirEntries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

// `bytes` read through a pipe, as standard input would deliver them.
bool ReadThroughPipe(const Bytes& bytes, std::unique_ptr<Sound>& sound, std::string& message) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  // The reader may stop early; the writer then gets an error, not a signal.
  signal(SIGPIPE, SIG_IGN);
  std::thread writer([&] {
    for (std::size_t done = 0; done < bytes.size();) {
      const ssize_t n = write(fds[1], bytes.data() + done, bytes.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    close(fds[1]);
  });
  const bool ok = ReadWavStream(fds[0], sound, message);
  close(fds[0]);
  writer.join();
  return ok;
}

// Reads `bytes` from memory, from a file and from a pipe and checks that
// the three paths agree on the outcome, the message and the values.
class WavReader : public WavFileTest {
 protected:
  bool Read(const Bytes& bytes, std::unique_ptr<Sound>& sound, std::string& message) {
    const bool fromMemory = ReadWavBytes(bytes.data(), bytes.size(), sound, message);
    const std::string memoryMessage = message;
    const std::string path = Path("in.wav");
    WriteFile(path, bytes);
    for (const bool stream : {false, true}) {
      SCOPED_TRACE(stream ? "stream" : "file");
      std::unique_ptr<Sound> other;
      const bool ok =
          stream ? ReadThroughPipe(bytes, other, message) : ReadWavFile(path, other, message);
      EXPECT_EQ(fromMemory, ok);
      EXPECT_EQ(memoryMessage, message);
      EXPECT_EQ(sound == nullptr, other == nullptr);
      if (sound && other) {
        EXPECT_EQ(sound->GetValues(), other->GetValues());
        EXPECT_EQ(sound->GetBytesPSample(), other->GetBytesPSample());
        for (int c = 0; c < sound->GetMoSt(); ++c) {
          EXPECT_EQ(ValuesOf(sound->Channel(c)), ValuesOf(other->Channel(c)));
        }
      }
    }
    return fromMemory;
  }
};

void U24(Bytes& b, std::int32_t v) {
  for (int i = 0; i < 3; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void F32(Bytes& b, float v) { U32(b, std::bit_cast<std::uint32_t>(v)); }
void F64(Bytes& b, double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  U32(b, static_cast<std::uint32_t>(bits));
  U32(b, static_cast<std::uint32_t>(bits >> 32));
}

// WAVE_FORMAT_EXTENSIBLE: cbSize 22, valid bits, channel mask, then the
// sub-format GUID {0000000T-0000-0010-8000-00AA00389B71} (T: 1 PCM, 3 float).
void MakeExtensible(WavLayout& s, std::uint16_t subTag, std::uint16_t validBits,
                    std::uint32_t mask) {
  s.tag = 0xFFFE;
  s.fmtSize = 40;
  s.fmtExtra.clear();
  U16(s.fmtExtra, 22);
  U16(s.fmtExtra, validBits);
  U32(s.fmtExtra, mask);
  U16(s.fmtExtra, subTag);
  s.fmtExtra.insert(s.fmtExtra.end(), {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
}

// --- reading: refusals -------------------------------------------------------

struct RefusalCase {
  const char* name;
  Bytes file;
  const char* message;
};

Bytes Cut(Bytes b, std::size_t size) {
  b.resize(size);
  return b;
}

// clang-format off
std::vector<RefusalCase> RefusalCases() {
  std::vector<RefusalCase> cases;
  const auto with = [](auto change) {
    WavLayout s;
    s.data = Le16({1, 2});
    change(s);
    return Build(s);
  };
  cases.push_back({"Empty", {}, "\"RIFF\" not found."});
  cases.push_back({"Rifx", with([](WavLayout& s) { s.riff = "RIFX"; }), "\"RIFF\" not found."});
  cases.push_back({"LowerCaseFmt", with([](WavLayout& s) { s.waveFmt = "WAVEFMT "; }), "\"WAVEfmt \" not found."});
  cases.push_back({"EndsInFormType", Cut(with([](WavLayout&) { }), 12), "\"WAVEfmt \" not found."});
  cases.push_back({"Fmt15", with([](WavLayout& s) { s.fmtSize = 15; }), "chunk too small."});
  cases.push_back({"EndsBeforeFmtSize", Cut(with([](WavLayout&) { }), 18), "chunk too small."});
  cases.push_back({"FloatTag", with([](WavLayout& s) { s.tag = 3; }), "A value must be 1."});
  cases.push_back({"ExtensibleTag", with([](WavLayout& s) { s.tag = 0xFFFE; }), "A value must be 1."});
  cases.push_back({"NoChannels", with([](WavLayout& s) { s.channels = 0; }), "MonoStereo must be 1 or 2."});
  cases.push_back({"ThreeChannels", with([](WavLayout& s) { s.channels = 3; }), "MonoStereo must be 1 or 2."});
  cases.push_back({"Bits12", with([](WavLayout& s) { s.bits = 12; }), "Only 8, 16, 24 and 32 bits per sample are supported."});
  cases.push_back({"Pcm64", with([](WavLayout& s) { s.bits = 64; }), "Only 8, 16, 24 and 32 bits per sample are supported."});
  const auto extensible = [&](std::uint16_t subTag, std::uint16_t bits, std::uint16_t validBits) {
    return with([=](WavLayout& s) {
      s.bits = bits;
      MakeExtensible(s, subTag, validBits, 4);
    });
  };
  cases.push_back({"Extensible20BitContainer", extensible(1, 20, 20), "Only 8, 16, 24 and 32 bits per sample are supported."});
  cases.push_back({"ValidBitsAboveContainer", extensible(1, 16, 17), "The valid bits per sample exceed the bits per sample."});
  cases.push_back({"ExtensibleCompressed", extensible(2, 16, 16), "A value must be 1."});
  cases.push_back({"RateZero", with([](WavLayout& s) { s.rate = 0; }), "The sample rate must lie between 1 and 2147483647 Hz."});
  cases.push_back({"RateAboveInt32", with([](WavLayout& s) { s.rate = 0x80000000u; }), "The sample rate must lie between 1 and 2147483647 Hz."});
  // 36 bytes: the file ends right after the fmt chunk.
  cases.push_back({"EndsAfterFmt", Cut(with([](WavLayout&) { }), 36), "\"data\" not found."});
  cases.push_back({"EndsInsideFmt", Cut(with([](WavLayout&) { }), 30), "\"data\" not found."});
  cases.push_back({"EndsInsideDataHeader", Cut(with([](WavLayout&) { }), 42), "\"data\" not found."});
  // Chunks before fmt are skipped, but a file must have one.
  cases.push_back({"NoFmtChunkAtAll", Bytes{'R', 'I', 'F', 'F', 0,   0, 0, 0, 'W', 'A', 'V',
                                            'E', 'J', 'U', 'N', 'K', 2, 0, 0, 0,   'x', 'x'},
                   "\"WAVEfmt \" not found."});
  cases.push_back({"OnlyListChunk", with([](WavLayout& s) {
                     s.hasData = false;
                     Chunk(s.between, "LIST", Bytes(10, 'x'));
                   }),
                   "\"data\" not found."});
  // A chunk that claims more bytes than the file has swallows the data.
  cases.push_back({"OversizedChunk", with([](WavLayout& s) {
                     Text(s.between, "JUNK");
                     U32(s.between, 0xFFFFFFF0u);
                   }),
                   "\"data\" not found."});
  return cases;
}
// clang-format on

TEST_F(WavReader, RefusesBrokenFilesWithTheirMessage) {
  for (const RefusalCase& c : RefusalCases()) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<Sound> sound;
    std::string message;
    EXPECT_FALSE(Read(c.file, sound, message));
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(sound, nullptr);
  }
}

TEST_F(WavReader, FailureReplacesAnEarlierSound) {
  std::unique_ptr<Sound> sound = MakeMono({1, 2, 3}, 8000);
  std::string message = "stale";
  EXPECT_FALSE(ReadWavBytes(nullptr, 0, sound, message));
  EXPECT_EQ(sound, nullptr);
  EXPECT_EQ(message, "\"RIFF\" not found.");
}

// --- reading: what a file holds ----------------------------------------------

struct ReadableCase {
  const char* name;
  WavLayout layout;
  std::vector<std::int16_t> left;
  std::vector<std::int16_t> right = {};  // stereo only
  std::int16_t bytesPSample = 2;
  const char* source = "";  // how the samples were converted, if they were
};

// clang-format off
std::vector<ReadableCase> ReadableCases() {
  std::vector<ReadableCase> cases;
  const auto with = [](std::uint16_t channels, std::uint16_t bits, Bytes data, auto change) {
    WavLayout s;
    s.channels = channels;
    s.bits = bits;
    s.data = std::move(data);
    change(s);
    return s;
  };
  const auto plain = [](WavLayout&) { };
  // Sample codings. 16 bits: signed little-endian, 0x8000 the lowest.
  cases.push_back({"Pcm16Mono",
                   with(1, 16, {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F, 0x34, 0x12},
                        [](WavLayout& s) { s.rate = 22050; }),
                   {1, -1, -32768, 32767, 0x1234}});
  cases.push_back({"Pcm16StereoInterleaved",
                   with(2, 16, Le16({100, -100, 200, -200, 32767, -32768}), plain),
                   {100, 200, 32767},
                   {-100, -200, -32768}});
  // 8 bits: (b - 128) x 256 around the silence at 128.
  cases.push_back({"Pcm8Mono", with(1, 8, {0, 1, 127, 128, 129, 255}, plain), {-32768, -32512, -256, 0, 256, 32512}, {}, 1});
  cases.push_back({"Pcm8Stereo", with(2, 8, {0, 255, 128, 128}, plain), {-32768, 0}, {32512, 0}, 1});
  // Wider integers keep their top 16 bits, v >> 8 for 24 bits, rounding
  // toward minus infinity: -257 >> 8 = -2, -1 >> 8 = -1, 255 >> 8 = 0.
  // 0x123456 -> 0x1234; 9 bytes of data, an odd size; the stereo file ends
  // in 4 bytes of an incomplete frame.
  Bytes pcm24;
  for (std::int32_t v : {8388607, -8388608, 256, -1, -257, 255}) U24(pcm24, v);
  pcm24.insert(pcm24.end(), {1, 2, 3, 4});
  cases.push_back({"Pcm24Stereo", with(2, 24, pcm24, plain), {32767, 1, -2}, {-32768, -1, 0}, 2, "24-bit PCM"});
  Bytes pcm24odd;
  for (std::int32_t v : {0x123456, -0x123456, -8388608}) U24(pcm24odd, v);
  cases.push_back({"Pcm24MonoOddSize", with(1, 24, pcm24odd, plain), {4660, -4661, -32768}, {}, 2, "24-bit PCM"});
  Bytes pcm32;
  for (std::uint32_t v : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x0001FFFFu}) U32(pcm32, v);
  cases.push_back({"Pcm32Mono", with(1, 32, pcm32, plain), {32767, -32768, -1, 1}, {}, 2, "32-bit PCM"});
  // Floats: trunc(x * 32768) clipped to -32768 ... 32767, NaN 0. 32767/32768
  // is 32767 exactly, -32767.5/32768 truncates to -32767, -0.00001 is -0.33
  // -> 0; the last 5 bytes are an incomplete frame.
  Bytes float32;
  for (float x : {0.5f, -0.25f, 1.0f, -1.0f, 3.0f, -3.0f, -0.00001f, std::nanf(""),
                  32767.0f / 32768, -32767.5f / 32768}) {
    F32(float32, x);
  }
  float32.insert(float32.end(), {9, 9, 9, 9, 9});
  const auto tag3 = [](WavLayout& s) { s.tag = 3; };
  cases.push_back({"Float32Stereo",
                   with(2, 32, float32, tag3),
                   {16384, 32767, 32767, 0, 32767},
                   {-8192, -32768, -32768, 0, -32767},
                   2,
                   "32-bit float"});
  // 0.1 x 32768 = 3276.8 -> 3276; 1e300 and minus infinity clip.
  Bytes float64;
  for (double x : {0.1, -0.1, 1e300, -HUGE_VAL, std::nan(""), -1.0 / 65536}) F64(float64, x);
  cases.push_back({"Float64Mono", with(1, 64, float64, tag3), {3276, -3276, 32767, -32768, 0, 0}, {}, 2, "64-bit float"});
  // The extensible header at every size. 16- and 8-bit PCM with all bits
  // valid are what the plain tag gives: nothing converted.
  const auto extensible = [](std::uint16_t subTag, std::uint16_t validBits, std::uint32_t mask) {
    return [=](WavLayout& s) { MakeExtensible(s, subTag, validBits, mask); };
  };
  cases.push_back({"Extensible16Stereo", with(2, 16, Le16({32767, -32768, 5, -5}), extensible(1, 16, 3)), {32767, 5}, {-32768, -5}});
  cases.push_back({"Extensible8Stereo", with(2, 8, {0, 255, 128, 129}, extensible(1, 8, 3)), {-32768, 0}, {32512, 256}, 1});
  // Valid bits: 12 of 16 clear the low 4 bits (0x7FFF -> 0x7FF0, -1 -> -16);
  // 6 of 8 keep 0x80 of byte 0x83 and 0x7C of 0x7F (-4 x 256); 24 of 32 and
  // 20 of 24 leave the top 16 bits whole; 0 means all of them.
  cases.push_back({"Valid12Of16Mono",
                   with(1, 16, Le16({32767, -32767, -1, 15}), extensible(1, 12, 4)),
                   {32752, -32768, -16, 0},
                   {},
                   2,
                   "12-bit PCM"});
  cases.push_back({"Valid6Of8Mono", with(1, 8, {0x83, 0x7F}, extensible(1, 6, 4)), {0, -1024}, {}, 1, "6-bit PCM"});
  Bytes in32;
  for (std::uint32_t v : {0x7FFFFF00u, 0x80000000u, 0x00010000u}) U32(in32, v);
  cases.push_back({"Valid24Of32Mono", with(1, 32, in32, extensible(1, 24, 4)), {32767, -32768, 1}, {}, 2, "24-bit PCM"});
  Bytes in24;
  for (std::int32_t v : {-8388608, 8388607}) U24(in24, v);
  cases.push_back({"Valid20Of24Stereo", with(2, 24, in24, extensible(1, 20, 3)), {-32768}, {32767}, 2, "20-bit PCM"});
  Bytes minus256;
  U24(minus256, -256);
  cases.push_back({"ValidBitsUnsaid", with(1, 24, minus256, extensible(1, 0, 4)), {-1}, {}, 2, "24-bit PCM"});
  Bytes quarterHalf;
  for (double x : {0.25, -0.5}) F64(quarterHalf, x);
  cases.push_back({"ExtensibleFloat64Stereo", with(2, 64, quarterHalf, extensible(3, 64, 3)), {8192}, {-16384}, 2, "64-bit float"});
  Bytes minusTwo;
  F32(minusTwo, -2.0f);
  cases.push_back({"ExtensibleFloat32Mono", with(1, 32, minusTwo, extensible(3, 32, 4)), {-32768}, {}, 2, "32-bit float"});
  // No data: an empty sound of the file's kind.
  cases.push_back({"EmptyPcm16Mono", with(1, 16, {}, [](WavLayout& s) { s.rate = 11025; }), {}});
  cases.push_back({"EmptyPcm8Stereo", with(2, 8, {}, plain), {}, {}, 1});
  // Chunk layouts the reader skips or pads: always the two frames 1/-1, 2/-2.
  const auto frames = [&](auto change) { return with(2, 16, Le16({1, -1, 2, -2}), change); };
  const auto chunk = [&](const char* id, Bytes body) {
    return frames([=](WavLayout& s) { Chunk(s.between, id, body); });
  };
  cases.push_back({"Fmt18", frames([](WavLayout& s) { s.fmtSize = 18; }), {1, 2}, {-1, -2}});
  cases.push_back({"Fmt17WithPad", frames([](WavLayout& s) { s.fmtSize = 17; }), {1, 2}, {-1, -2}});
  cases.push_back({"Fact", chunk("fact", {2, 0, 0, 0}), {1, 2}, {-1, -2}});
  cases.push_back({"OddJunkWithPad", chunk("JUNK", {1, 2, 3}), {1, 2}, {-1, -2}});
  cases.push_back({"LongList", chunk("LIST", Bytes(70000, 'z')), {1, 2}, {-1, -2}});
  cases.push_back({"SeveralChunks",
                   frames([](WavLayout& s) {
                     Chunk(s.between, "fact", Bytes{2, 0, 0, 0});
                     Chunk(s.between, "bext", Bytes(602, 0));
                     Chunk(s.between, "LIST", Bytes(5, 'a'));
                   }),
                   {1, 2},
                   {-1, -2}});
  // Broadcast and studio recorders put chunks before fmt.
  cases.push_back({"JunkAndBextBeforeFmt",
                   frames([](WavLayout& s) {
                     Chunk(s.beforeFmt, "JUNK", Bytes(27, 0));
                     Chunk(s.beforeFmt, "bext", Bytes(602, 'b'));
                   }),
                   {1, 2},
                   {-1, -2}});
  // The data's extent: a file shorter than its declared data loads the whole
  // frames it holds (10 bytes: two stereo frames and half a third), also after
  // a chunk longer than any read buffer; bytes after the declared data and a
  // remainder short of a frame are ignored; a 4 GiB declaration in a 44-byte
  // file costs nothing.
  const auto shortData = [](WavLayout& s) { s.dataSize = 100; };
  cases.push_back({"ShortFile", with(2, 16, Le16({10, 20, 30, 40, 50}), shortData), {10, 30}, {20, 40}});
  cases.push_back({"ShortFileAfterLongChunk",
                   with(2, 16, Le16({10, 20, 30, 40, 50}),
                        [](WavLayout& s) {
                          s.dataSize = 100;
                          Chunk(s.between, "LIST", Bytes(70000, 'l'));
                        }),
                   {10, 30},
                   {20, 40}});
  Bytes partFrame = Le16({7, 8});
  partFrame.insert(partFrame.end(), {1, 2, 3});
  cases.push_back({"RemainderOfAFrame", with(2, 16, partFrame, plain), {7}, {8}});
  cases.push_back({"BytesAfterTheData", with(1, 16, Le16({5, 6, 7, 8}), [](WavLayout& s) { s.dataSize = 4; }), {5, 6}});
  cases.push_back({"HugeDeclaredData", with(1, 16, {}, [](WavLayout& s) { s.dataSize = 0xFFFFFFFFu; }), {}});
  return cases;
}
// clang-format on

TEST_F(WavReader, ReadsWhatTheFileHolds) {
  for (const ReadableCase& c : ReadableCases()) {
    SCOPED_TRACE(c.name);
    RecordingUi ui;
    std::unique_ptr<Sound> sound;
    std::string message;
    ASSERT_TRUE(Read(Build(c.layout), sound, message)) << message;
    EXPECT_EQ(message, "No errors occurred.");
    EXPECT_EQ(sound->GetMoSt(), c.layout.channels);
    EXPECT_EQ(sound->GetFreq(), static_cast<std::int32_t>(c.layout.rate));
    EXPECT_EQ(sound->GetBytesPSample(), c.bytesPSample);
    EXPECT_EQ(ValuesOf(sound->Channel(0)), c.left);
    if (c.layout.channels == 2) {
      EXPECT_EQ(ValuesOf(sound->Channel(1)), c.right);
    }
    EXPECT_TRUE(ui.messages.empty());
    // The file and its header alone say the same of how it stored its samples.
    WavSource source;
    ASSERT_TRUE(ReadWavFile(Path("in.wav"), sound, message, source));
    EXPECT_EQ(source.Text(), c.source);
    WavInfo info;
    ASSERT_TRUE(ReadWavFileInfo(Path("in.wav"), info, message));
    EXPECT_EQ(info.source.Text(), c.source);
  }
}

TEST_F(WavReader, RefusesWhatIsNoReadableFileAtOnce) {
  // A FIFO without a writer would wait forever, a device deliver forever.
  const std::string fifo = Path("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::pair<std::string, const char*> cases[] = {
      {Path("absent.wav"), "Cannot open File."},
      {dir_.string(), "Cannot open File."},
      {fifo, "The file is not a regular file."},
      {"/dev/zero", "The file is not a regular file."}};
  for (const auto& [path, text] : cases) {
    SCOPED_TRACE(path);
    std::unique_ptr<Sound> sound;
    std::string message;
    WavInfo info;
    EXPECT_FALSE(ReadWavFile(path, sound, message));
    EXPECT_EQ(message, text);
    EXPECT_EQ(sound, nullptr);
    EXPECT_FALSE(ReadWavFileInfo(path, info, message));
    EXPECT_EQ(message, text);
  }
}

TEST_F(WavReader, EndlessStreamFailsAtItsHeaderOrStopsAtTheDeclaredSize) {
  const int zeros = open("/dev/zero", O_RDONLY);
  ASSERT_GE(zeros, 0);
  std::unique_ptr<Sound> sound;
  std::string message;
  EXPECT_FALSE(ReadWavStream(zeros, sound, message));
  EXPECT_EQ(message, "\"RIFF\" not found.");
  WavInfo info;
  EXPECT_FALSE(ReadWavStreamInfo(zeros, info, message));
  EXPECT_EQ(message, "\"RIFF\" not found.");
  close(zeros);
  // A header declaring 6 bytes and a writer that would go on for 1 MB: three
  // values, and the writer is told to stop.
  WavLayout s;
  s.dataSize = 6;
  s.data = Bytes(1 << 20, 0x11);
  ASSERT_TRUE(ReadThroughPipe(Build(s), sound, message)) << message;
  EXPECT_EQ(ValuesOf(sound->Channel(0)), (std::vector<std::int16_t>{0x1111, 0x1111, 0x1111}));
}

TEST_F(WavReader, InfoReadsTheHeaderAndCountsTheWholeFrames) {
  // 4 GiB declared, 10 bytes present: 2 whole stereo 16-bit frames.
  WavLayout s;
  s.channels = 2;
  s.rate = 22050;
  s.dataSize = 0xFFFFFFFFu;
  s.data = Le16({1, 2, 3, 4, 5});
  WriteFile(Path("in.wav"), Build(s));
  WavInfo info;
  std::string message;
  ASSERT_TRUE(ReadWavFileInfo(Path("in.wav"), info, message)) << message;
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.freq, 22050);
  EXPECT_EQ(info.bytesPSample, 2);
  EXPECT_EQ(info.values, 2);
}

TEST_F(WavReader, OutOfMemoryIsReportedOnceAndLoadsNothing) {
  WavLayout mono;
  mono.data = Le16({1, 2, 3});
  WavLayout stereo = mono;
  stereo.channels = 2;
  stereo.data = Le16({1, 2, 3, 4});
  // Stereo: the left array is granted, the right one fails.
  for (auto [layout, successes] :
       {std::pair{mono, 0}, std::pair{stereo, 0}, std::pair{stereo, 1}}) {
    SCOPED_TRACE(testing::Message() << layout.channels << " channels, fail after " << successes);
    RecordingUi ui;
    const Bytes file = Build(layout);
    std::unique_ptr<Sound> sound;
    std::string message;
    FailAllocationAfter(successes);
    EXPECT_FALSE(ReadWavBytes(file.data(), file.size(), sound, message));
    FailAllocationAfter(-1);
    EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(message, "Not enough memory for the samples.");
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{
                              "System Error: There is not enough memmory for this operation."});
  }
}

// --- writing ---------------------------------------------------------------

class WavWriter : public WavReader {};

TEST_F(WavWriter, WritesTheStandardHeaderAndTheRange) {
  // The header is the reader's layout with the RIFF size 36 + data bytes.
  struct Case {
    std::unique_ptr<Sound> sound;
    std::int32_t begin, end;
    bool temporary;
    std::uint16_t channels, bits;
    std::uint32_t rate;
    Bytes data;
  };
  const Case cases[] = {
      {MakeStereo({1, 2, 3, 4}, {-1, -2, -3, -4}, 44100, 2), 1, 4, false, 2, 16, 44100,
       Le16({2, -2, 3, -3, 4, -4})},
      // trunc(-300 / 256) = -1 -> 127; 0 -> 128; trunc(300 / 256) = 1 -> 129
      {MakeMono({-300, 0, 300}, 8000, 1), 0, -1, true, 1, 8, 8000, {127, 128, 129}},
      {MakeMono({10, 20, 30, 40, 50}, 11025, 2), 1, 3, false, 1, 16, 11025, Le16({20, 30})},
      // An empty range or sound still gives a valid file.
      {MakeStereo({1, 2}, {3, 4}, 22050, 2), 1, 1, false, 2, 16, 22050, {}},
      {std::make_unique<MonoSound>(8000, 1), 0, -1, false, 1, 8, 8000, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.channels << "x" << c.bits << " " << c.data.size());
    bool failed = false;
    ASSERT_TRUE(c.sound->Save(failed, Path("out.wav"), c.temporary, c.begin, c.end));
    EXPECT_FALSE(failed);
    WavLayout layout;
    layout.channels = c.channels;
    layout.bits = c.bits;
    layout.rate = c.rate;
    layout.data = c.data;
    Bytes expected = Build(layout);
    const std::uint32_t riffSize = 36 + static_cast<std::uint32_t>(c.data.size());
    for (int i = 0; i < 4; ++i) expected[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    EXPECT_EQ(ReadFile(Path("out.wav")), expected);
  }
}

TEST_F(WavWriter, ReadingBackGivesTheValues) {
  // 70001 frames: the write and read buffers are filled and flushed many
  // times, through memory, a file and a pipe. 8 bits keep trunc(v / 256).
  const std::vector<std::int16_t> left = Pattern(70001, 7);
  const std::vector<std::int16_t> right = Pattern(70001, 8);
  const auto as8 = [](std::vector<std::int16_t> v) {
    for (auto& x : v) x = static_cast<std::int16_t>(x / 256 * 256);
    return v;
  };
  for (int channels : {1, 2}) {
    for (std::int16_t bytes : {1, 2}) {
      SCOPED_TRACE(testing::Message() << channels << " channels, " << bytes << " bytes");
      std::unique_ptr<Sound> sound;
      if (channels == 1)
        sound = MakeMono(left, 48000, bytes);
      else
        sound = MakeStereo(left, right, 48000, bytes);
      bool failed = false;
      ASSERT_TRUE(WriteWavFile(failed, Path("rt.wav"), *sound, 0, sound->GetValues(), false));
      std::unique_ptr<Sound> back;
      std::string message;
      ASSERT_TRUE(Read(ReadFile(Path("rt.wav")), back, message)) << message;
      EXPECT_EQ(back->GetMoSt(), channels);
      EXPECT_EQ(back->GetFreq(), 48000);
      EXPECT_EQ(back->GetBytesPSample(), bytes);
      EXPECT_EQ(ValuesOf(back->Channel(0)), bytes == 2 ? left : as8(left));
      if (channels == 2) {
        EXPECT_EQ(ValuesOf(back->Channel(1)), bytes == 2 ? right : as8(right));
      }
    }
  }
}

TEST_F(WavWriter, Maps16BitValuesTo8BitByTruncation) {
  struct Case {
    std::int16_t value;
    std::uint8_t byte;
  };
  // trunc(v / 256) + 128, truncating toward zero.
  const Case cases[] = {{-32768, 0}, {-32767, 1},  {-257, 127},  {-256, 127},
                        {-255, 128}, {-1, 128},    {0, 128},     {255, 128},
                        {256, 129},  {32512, 255}, {32767, 255}, {-300, 127}};
  std::vector<std::int16_t> left;
  for (const Case& c : cases) left.push_back(c.value);
  std::vector<std::int16_t> right(left.rbegin(), left.rend());
  auto sound = MakeStereo(left, right, 8000, 1);
  bool failed = false;
  ASSERT_TRUE(WriteWavFile(failed, Path("out.wav"), *sound, 0, sound->GetValues(), false));
  const Bytes file = ReadFile(Path("out.wav"));
  const std::size_t n = std::size(cases);
  ASSERT_EQ(file.size(), 44 + 2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    SCOPED_TRACE(cases[i].value);
    EXPECT_EQ(file[44 + 2 * i], cases[i].byte);
    EXPECT_EQ(file[44 + 2 * (n - 1 - i) + 1], cases[i].byte);
  }
}

TEST_F(WavWriter, ReplacesAFileKeepingItsPermissionsAndNoTemporary) {
  WriteFile(Path("song.wav"), Bytes(5000, 'o'));
  const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(Path("song.wav"), perms);
  auto sound = MakeMono({1}, 8000, 2);
  bool failed = false;
  ASSERT_TRUE(WriteWavFile(failed, Path("song.wav"), *sound, 0, 1, false));
  EXPECT_EQ(ReadFile(Path("song.wav")).size(), 46u);
  EXPECT_EQ(fs::status(Path("song.wav")).permissions() & fs::perms::all, perms);
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"song.wav"});
}

TEST_F(WavWriter, FailureHalfWayKeepsTheOldFile) {
  const Bytes old(600, 'o');
  WriteFile(Path("song.wav"), old);
  // 200000 values are 400044 bytes; let the system refuse writes beyond 64 KiB.
  auto sound = MakeMono(Pattern(200000, 3), 8000, 2);
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit limit{}, saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  limit = saved;
  limit.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  bool failed = false;
  const bool ok = WriteWavFile(failed, Path("song.wav"), *sound, 0, -1, false);
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(failed);
  EXPECT_EQ(ReadFile(Path("song.wav")), old);
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"song.wav"});
}

TEST_F(WavWriter, PlacesThatCannotTakeAFileFail) {
  auto sound = MakeMono({1, 2, 3}, 8000, 2);
  fs::create_directory(Path("folder"));
  for (const std::string& path :
       {std::string("/dev/full"), std::string(), Path("no/such/dir/x.wav"), Path("folder")}) {
    SCOPED_TRACE(path);
    bool failed = false;
    EXPECT_FALSE(WriteWavFile(failed, path, *sound, 0, -1, false));
    EXPECT_FALSE(failed);
  }
  EXPECT_TRUE(fs::is_empty(Path("folder")));
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"folder"});
}

TEST_F(WavWriter, KeepsTheOwnerOfTheReplacedFile) {
  if (geteuid() != 0) GTEST_SKIP() << "only an administrator can save someone else's file";
  WriteFile(Path("song.wav"), Bytes(10, 'o'));
  ASSERT_EQ(chown(Path("song.wav").c_str(), 1234, 5678), 0);
  auto sound = MakeMono({1}, 8000, 2);
  bool failed = false;
  ASSERT_TRUE(WriteWavFile(failed, Path("song.wav"), *sound, 0, 1, false));
  struct stat st {};
  ASSERT_EQ(stat(Path("song.wav").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 1234u);
  EXPECT_EQ(st.st_gid, 5678u);
}

TEST_F(WavWriter, NewFileGetsTheUsualPermissions) {
  const mode_t mask = umask(0027);
  auto sound = MakeMono({1}, 8000, 2);
  bool failed = false;
  const bool ok = WriteWavFile(failed, Path("new.wav"), *sound, 0, 1, false);
  umask(mask);
  ASSERT_TRUE(ok);
  // 0666 without the masked 0027 bits: rw-r-----.
  EXPECT_EQ(fs::status(Path("new.wav")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(WavWriter, RefusesWhatAWavHeaderCannotHold) {
  // The byte rate channels x rate x bytes must fit 32 bits: stereo 16-bit
  // up to 1073741823 Hz (x 4 = 4294967292), mono 8-bit up to 2147483647.
  struct Case {
    int channels, bytes;
    std::int64_t freq, values;
    bool fits;
  };
  const Case cases[] = {
      {2, 2, 1073741823, 1, true},
      {2, 2, 1073741824, 1, false},
      {1, 1, 2147483647, 1, true},
      // Data size + 36 must fit 32 bits: (2^32 - 1 - 36) / 4 = 1073741814 frames.
      {2, 2, 44100, 1073741814, true},
      {2, 2, 44100, 1073741815, false},
      {1, 1, 8000, 4294967259, true},
      {1, 1, 8000, 4294967260, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.channels << "x" << c.bytes << " " << c.freq << " Hz " << c.values);
    EXPECT_EQ(FitsWavFile(c.channels, c.bytes, c.freq, c.values), c.fits);
  }
  auto sound = MakeStereo({1}, {2}, 1073741824, 2);
  bool failed = false;
  EXPECT_FALSE(WriteWavFile(failed, Path("fast.wav"), *sound, 0, -1, false));
  EXPECT_TRUE(DirEntries().empty());
}

TEST_F(WavWriter, WritesIntoAStreamWhatItWritesIntoAFile) {
  auto sound = MakeStereo({1, -2, 3}, {400, -500, 600}, 22050, 1);
  bool failed = false;
  ASSERT_TRUE(WriteWavFile(failed, Path("file.wav"), *sound, 0, -1, false));
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_TRUE(WriteWavStream(fds[1], *sound));
  close(fds[1]);
  Bytes streamed(1000);
  const ssize_t n = read(fds[0], streamed.data(), streamed.size());
  close(fds[0]);
  ASSERT_GT(n, 0);
  streamed.resize(static_cast<std::size_t>(n));
  EXPECT_EQ(streamed, ReadFile(Path("file.wav")));
  // A reader that has gone: an error, not a signal.
  ASSERT_EQ(pipe(fds), 0);
  close(fds[0]);
  signal(SIGPIPE, SIG_IGN);
  EXPECT_FALSE(WriteWavStream(fds[1], *sound));
  close(fds[1]);
}

TEST_F(WavWriter, SavesThroughALinkAndRefusesLinksToNothing) {
  WriteFile(Path("real.wav"), Bytes(10, 'o'));
  fs::create_symlink(Path("real.wav"), Path("link.wav"));
  fs::create_symlink(Path("absent.wav"), Path("dangling.wav"));
  fs::create_symlink(Path("loop2.wav"), Path("loop1.wav"));
  fs::create_symlink(Path("loop1.wav"), Path("loop2.wav"));
  auto sound = MakeMono({1, 2}, 8000, 2);
  for (const char* name : {"link.wav", "dangling.wav", "loop1.wav"}) {
    SCOPED_TRACE(name);
    bool failed = false;
    EXPECT_EQ(WriteWavFile(failed, Path(name), *sound, 0, -1, false),
              name[0] == 'l' && name[1] == 'i');
    EXPECT_TRUE(fs::is_symlink(Path(name)));
  }
  EXPECT_EQ(ReadFile(Path("real.wav")).size(), 48u);
  EXPECT_EQ(DirEntries(), (std::vector<std::string>{"dangling.wav", "link.wav", "loop1.wav",
                                                    "loop2.wav", "real.wav"}));
}

// Runs `body` in a child process as an ordinary user when the tests run as
// the administrator, whom file permissions do not stop; its result.
template <class Body>
bool AsOrdinaryUser(Body body) {
  if (geteuid() != 0) return body();
  const pid_t child = fork();
  if (child == 0) {
    const bool ok = setgid(65534) == 0 && setuid(65534) == 0 && body();
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(WavWriter, HonoursThePermissionsOfTargetAndDirectory) {
  const Bytes old(10, 'o');
  WriteFile(Path("readonly.wav"), old);
  chmod(Path("readonly.wav").c_str(), 0444);
  fs::create_directory(Path("locked"));
  WriteFile(Path("locked/song.wav"), old);
  chmod(Path("locked/song.wav").c_str(), 0666);
  chmod(Path("locked").c_str(), 0555);
  chmod(dir_.c_str(), 0777);
  auto sound = MakeMono({1, 2}, 8000, 2);
  // A read-only file is refused as the shell's redirection would refuse it.
  EXPECT_TRUE(AsOrdinaryUser([&] {
    bool failed = false;
    return !WriteWavFile(failed, Path("readonly.wav"), *sound, 0, -1, false);
  }));
  EXPECT_EQ(ReadFile(Path("readonly.wav")), old);
  // A writable file in a directory that forbids a temporary file is written
  // in place, at its new length.
  EXPECT_TRUE(AsOrdinaryUser([&] {
    bool failed = false;
    return WriteWavFile(failed, Path("locked/song.wav"), *sound, 0, -1, false);
  }));
  EXPECT_EQ(ReadFile(Path("locked/song.wav")).size(), 48u);
  chmod(Path("locked").c_str(), 0755);
  EXPECT_EQ(fs::directory_iterator(Path("locked"))->path().filename(), "song.wav");
}

TEST_F(WavWriter, UnfinishedFilesCanBeRemovedFromASignalHandler) {
  AtomicFile file;
  ASSERT_TRUE(file.Open(Path("song.wav")));
  ASSERT_TRUE(file.Write("RIFF", 4));
  ASSERT_EQ(DirEntries().size(), 1u);  // the temporary file
  RemoveUnfinishedFiles();
  EXPECT_TRUE(DirEntries().empty());
  file.Abandon();
  ASSERT_TRUE(WriteFileSafely(Path("song.wav"), "whole"));
  RemoveUnfinishedFiles();  // a finished file is no longer listed
  EXPECT_EQ(ReadFile(Path("song.wav")), (Bytes{'w', 'h', 'o', 'l', 'e'}));
}

}  // namespace
