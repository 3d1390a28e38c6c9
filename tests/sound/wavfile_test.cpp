#include "sound/wavfile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "base/allocation.h"
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
  Bytes between;               // chunks between fmt and data, complete
  bool hasData = true;         // a "data" chunk at all
  std::int64_t dataSize = -1;  // declared size; -1: the size of `data`
  Bytes data;
};

Bytes Build(const WavLayout& s) {
  Bytes b;
  Text(b, s.riff);
  U32(b, 0);  // the reader ignores the RIFF size
  Text(b, s.waveFmt);
  U32(b, s.fmtSize);
  U16(b, s.tag);
  U16(b, s.channels);
  U32(b, s.rate);
  U32(b, s.rate * s.channels * (s.bits / 8));
  U16(b, s.channels * (s.bits / 8));
  U16(b, s.bits);
  for (std::uint32_t i = 16; i < s.fmtSize; ++i) b.push_back(0xEE);
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

// Reads `bytes` both from memory and from a file and checks that the two
// paths agree on the outcome and the message.
class WavReader : public WavFileTest {
 protected:
  bool Read(const Bytes& bytes, std::unique_ptr<Sound>& sound, std::string& message) {
    const bool fromMemory = ReadWavBytes(bytes.data(), bytes.size(), sound, message);
    const std::string memoryMessage = message;
    const std::string path = Path("in.wav");
    WriteFile(path, bytes);
    std::unique_ptr<Sound> fileSound;
    const bool fromFile = ReadWavFile(path, fileSound, message);
    EXPECT_EQ(fromMemory, fromFile);
    EXPECT_EQ(memoryMessage, message);
    EXPECT_EQ(sound == nullptr, fileSound == nullptr);
    if (sound && fileSound) {
      EXPECT_EQ(sound->GetValues(), fileSound->GetValues());
      for (int c = 0; c < sound->GetMoSt(); ++c) {
        EXPECT_EQ(ValuesOf(sound->Channel(c)), ValuesOf(fileSound->Channel(c)));
      }
    }
    return fromMemory;
  }
};

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

std::vector<RefusalCase> RefusalCases() {
  std::vector<RefusalCase> cases;
  const auto with = [](auto change) {
    WavLayout s;
    s.data = Le16({1, 2});
    change(s);
    return Build(s);
  };
  cases.push_back({"Empty", {}, "\"RIFF\" not found."});
  cases.push_back({"ThreeBytes", Bytes{'R', 'I', 'F'}, "\"RIFF\" not found."});
  cases.push_back({"Rifx", with([](WavLayout& s) { s.riff = "RIFX"; }), "\"RIFF\" not found."});
  cases.push_back({"LowerCaseFmt", with([](WavLayout& s) { s.waveFmt = "WAVEFMT "; }),
                   "\"WAVEfmt \" not found."});
  cases.push_back({"EndsInFormType", Cut(with([](WavLayout&) {}), 12), "\"WAVEfmt \" not found."});
  cases.push_back({"Fmt15", with([](WavLayout& s) { s.fmtSize = 15; }), "chunk too small."});
  cases.push_back({"EndsBeforeFmtSize", Cut(with([](WavLayout&) {}), 18), "chunk too small."});
  cases.push_back({"FloatTag", with([](WavLayout& s) { s.tag = 3; }), "A value must be 1."});
  cases.push_back(
      {"ExtensibleTag", with([](WavLayout& s) { s.tag = 0xFFFE; }), "A value must be 1."});
  cases.push_back(
      {"NoChannels", with([](WavLayout& s) { s.channels = 0; }), "MonoStereo must be 1 or 2."});
  cases.push_back(
      {"ThreeChannels", with([](WavLayout& s) { s.channels = 3; }), "MonoStereo must be 1 or 2."});
  cases.push_back({"Bits24", with([](WavLayout& s) { s.bits = 24; }),
                   "Only 8 and 16 bits per sample are supported."});
  cases.push_back({"Bits4", with([](WavLayout& s) { s.bits = 4; }),
                   "Only 8 and 16 bits per sample are supported."});
  cases.push_back({"RateZero", with([](WavLayout& s) { s.rate = 0; }),
                   "The sample rate must lie between 1 and 2147483647 Hz."});
  cases.push_back({"RateAboveInt32", with([](WavLayout& s) { s.rate = 0x80000000u; }),
                   "The sample rate must lie between 1 and 2147483647 Hz."});
  // 36 bytes: the file ends right after the fmt chunk.
  cases.push_back({"EndsAfterFmt", Cut(with([](WavLayout&) {}), 36), "\"data\" not found."});
  cases.push_back({"EndsInsideFmt", Cut(with([](WavLayout&) {}), 30), "\"data\" not found."});
  cases.push_back(
      {"EndsInsideDataHeader", Cut(with([](WavLayout&) {}), 42), "\"data\" not found."});
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

TEST_F(WavReader, MissingFileOrDirectoryCannotBeOpened) {
  for (const std::string& path : {Path("absent.wav"), dir_.string()}) {
    std::unique_ptr<Sound> sound;
    std::string message;
    EXPECT_FALSE(ReadWavFile(path, sound, message));
    EXPECT_EQ(message, "Cannot open File.");
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

// --- reading: sample coding ------------------------------------------------

TEST_F(WavReader, Reads16BitMonoAsSignedLittleEndian) {
  WavLayout s;
  s.rate = 22050;
  // 0x0001, 0xFFFF, 0x8000, 0x7FFF, 0x1234
  s.data = Bytes{0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F, 0x34, 0x12};
  std::unique_ptr<Sound> sound;
  std::string message;
  ASSERT_TRUE(Read(Build(s), sound, message));
  EXPECT_EQ(message, "No errors occurred.");
  ASSERT_NE(dynamic_cast<MonoSound*>(sound.get()), nullptr);
  EXPECT_EQ(sound->GetMoSt(), 1);
  EXPECT_EQ(sound->GetFreq(), 22050);
  EXPECT_EQ(sound->GetBytesPSample(), 2);
  EXPECT_EQ(ValuesOf(sound->Channel(0)), (std::vector<std::int16_t>{1, -1, -32768, 32767, 4660}));
}

TEST_F(WavReader, Reads16BitStereoDeinterleaved) {
  WavLayout s;
  s.channels = 2;
  s.rate = 44100;
  s.data = Le16({100, -100, 200, -200, 32767, -32768});
  std::unique_ptr<Sound> sound;
  std::string message;
  ASSERT_TRUE(Read(Build(s), sound, message));
  ASSERT_NE(dynamic_cast<StereoSound*>(sound.get()), nullptr);
  EXPECT_EQ(sound->GetMoSt(), 2);
  EXPECT_EQ(sound->GetFreq(), 44100);
  EXPECT_EQ(ValuesOf(sound->Channel(0)), (std::vector<std::int16_t>{100, 200, 32767}));
  EXPECT_EQ(ValuesOf(sound->Channel(1)), (std::vector<std::int16_t>{-100, -200, -32768}));
}

TEST_F(WavReader, Maps8BitBytesAroundSilenceAt128) {
  WavLayout s;
  s.bits = 8;
  // (b - 128) * 256
  s.data = Bytes{0, 1, 127, 128, 129, 255};
  std::unique_ptr<Sound> sound;
  std::string message;
  ASSERT_TRUE(Read(Build(s), sound, message));
  EXPECT_EQ(sound->GetBytesPSample(), 1);
  EXPECT_EQ(ValuesOf(sound->Channel(0)),
            (std::vector<std::int16_t>{-32768, -32512, -256, 0, 256, 32512}));
}

TEST_F(WavReader, Reads8BitStereoLeftThenRight) {
  WavLayout s;
  s.bits = 8;
  s.channels = 2;
  s.data = Bytes{0, 255, 128, 128};
  std::unique_ptr<Sound> sound;
  std::string message;
  ASSERT_TRUE(Read(Build(s), sound, message));
  EXPECT_EQ(ValuesOf(sound->Channel(0)), (std::vector<std::int16_t>{-32768, 0}));
  EXPECT_EQ(ValuesOf(sound->Channel(1)), (std::vector<std::int16_t>{32512, 0}));
}

TEST_F(WavReader, EmptyDataGivesEmptySoundOfTheFilesKind) {
  struct Case {
    std::uint16_t channels, bits;
  };
  for (Case c : {Case{1, 8}, Case{1, 16}, Case{2, 8}, Case{2, 16}}) {
    SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.bits << " bits");
    WavLayout s;
    s.channels = c.channels;
    s.bits = c.bits;
    s.rate = 11025;
    std::unique_ptr<Sound> sound;
    std::string message;
    ASSERT_TRUE(Read(Build(s), sound, message));
    EXPECT_EQ(message, "No errors occurred.");
    EXPECT_EQ(sound->GetValues(), 0);
    EXPECT_EQ(sound->GetMoSt(), c.channels);
    EXPECT_EQ(sound->GetFreq(), 11025);
    EXPECT_EQ(sound->GetBytesPSample(), c.bits / 8);
  }
}

// --- reading: layout -------------------------------------------------------

struct LayoutCase {
  const char* name;
  WavLayout layout;
};

std::vector<LayoutCase> LayoutCases() {
  std::vector<LayoutCase> cases;
  const auto base = [] {
    WavLayout s;
    s.channels = 2;
    s.data = Le16({1, -1, 2, -2});
    return s;
  };
  WavLayout s = base();
  cases.push_back({"Plain", s});
  s = base();
  s.fmtSize = 18;  // the cbSize field other programs add
  cases.push_back({"Fmt18", s});
  s = base();
  s.fmtSize = 17;  // odd: padded to 18
  cases.push_back({"Fmt17WithPad", s});
  s = base();
  Chunk(s.between, "fact", Bytes{2, 0, 0, 0});
  cases.push_back({"Fact", s});
  s = base();
  Chunk(s.between, "LIST", Bytes(26, 'i'));
  cases.push_back({"List", s});
  s = base();
  Chunk(s.between, "JUNK", Bytes{1, 2, 3});  // odd size, one pad byte
  cases.push_back({"OddJunkWithPad", s});
  s = base();
  Chunk(s.between, "fact", Bytes{2, 0, 0, 0});
  Chunk(s.between, "bext", Bytes(602, 0));
  Chunk(s.between, "cue ", Bytes(28, 0));
  Chunk(s.between, "LIST", Bytes(5, 'a'));
  cases.push_back({"SeveralChunks", s});
  s = base();
  Chunk(s.between, "LIST", Bytes(70000, 'z'));  // more than any read buffer
  cases.push_back({"LongList", s});
  return cases;
}

TEST_F(WavReader, SkipsChunksBetweenFmtAndData) {
  for (const LayoutCase& c : LayoutCases()) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<Sound> sound;
    std::string message;
    ASSERT_TRUE(Read(Build(c.layout), sound, message));
    EXPECT_EQ(message, "No errors occurred.");
    EXPECT_EQ(ValuesOf(sound->Channel(0)), (std::vector<std::int16_t>{1, 2}));
    EXPECT_EQ(ValuesOf(sound->Channel(1)), (std::vector<std::int16_t>{-1, -2}));
  }
}

TEST_F(WavReader, ShortFileLoadsTheWholeFramesItHolds) {
  // Also after a chunk longer than any read buffer, skipped without reading.
  for (std::size_t listBytes : {std::size_t{0}, std::size_t{70000}}) {
    SCOPED_TRACE(listBytes);
    WavLayout s;
    s.channels = 2;
    if (listBytes > 0) Chunk(s.between, "LIST", Bytes(listBytes, 'l'));
    s.dataSize = 100;
    // 10 bytes present: two whole 4-byte frames and half of a third.
    s.data = Le16({10, 20, 30, 40, 50});
    std::unique_ptr<Sound> sound;
    std::string message;
    ASSERT_TRUE(Read(Build(s), sound, message));
    EXPECT_EQ(ValuesOf(sound->Channel(0)), (std::vector<std::int16_t>{10, 30}));
    EXPECT_EQ(ValuesOf(sound->Channel(1)), (std::vector<std::int16_t>{20, 40}));
  }
}

TEST_F(WavReader, IgnoresARemainderThatIsNotAWholeFrame) {
  WavLayout s;
  s.channels = 2;
  s.data = Le16({7, 8});
  s.data.insert(s.data.end(), {1, 2, 3});  // 7 bytes: one frame and 3 bytes
  std::unique_ptr<Sound> sound;
  std::string message;
  ASSERT_TRUE(Read(Build(s), sound, message));
  EXPECT_EQ(sound->GetValues(), 1);
  EXPECT_EQ(sound->Channel(0)->at(0), 7);
  EXPECT_EQ(sound->Channel(1)->at(0), 8);
}

TEST_F(WavReader, IgnoresBytesAfterTheDeclaredData) {
  WavLayout s;
  s.dataSize = 4;
  s.data = Le16({5, 6, 7, 8});
  std::unique_ptr<Sound> sound;
  std::string message;
  ASSERT_TRUE(Read(Build(s), sound, message));
  EXPECT_EQ(ValuesOf(sound->Channel(0)), (std::vector<std::int16_t>{5, 6}));
}

TEST_F(WavReader, HugeDeclaredDataInATinyFileCostsNothing) {
  RecordingUi ui;
  WavLayout s;
  s.dataSize = 0xFFFFFFFFu;
  const Bytes file = Build(s);
  ASSERT_EQ(file.size(), 44u);
  std::unique_ptr<Sound> sound;
  std::string message;
  ASSERT_TRUE(Read(file, sound, message));
  EXPECT_EQ(sound->GetValues(), 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WavReader, LongDataCrossesEveryBlockBoundary) {
  // 100003 frames: several read blocks and an incomplete last one.
  const std::vector<std::int16_t> left = Pattern(100003, 1);
  const std::vector<std::int16_t> right = Pattern(100003, 2);
  struct Case {
    std::uint16_t channels, bits;
  };
  for (Case c : {Case{1, 8}, Case{1, 16}, Case{2, 8}, Case{2, 16}}) {
    SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.bits << " bits");
    WavLayout s;
    s.channels = c.channels;
    s.bits = c.bits;
    std::vector<std::int16_t> expectLeft, expectRight;
    for (std::size_t i = 0; i < left.size(); ++i) {
      for (int ch = 0; ch < c.channels; ++ch) {
        const std::int16_t v = ch == 0 ? left[i] : right[i];
        if (c.bits == 8) {
          const auto b = static_cast<std::uint8_t>(v);
          s.data.push_back(b);
          (ch == 0 ? expectLeft : expectRight)
              .push_back(static_cast<std::int16_t>((b - 128) * 256));
        } else {
          U16(s.data, static_cast<std::uint16_t>(v));
          (ch == 0 ? expectLeft : expectRight).push_back(v);
        }
      }
    }
    std::unique_ptr<Sound> sound;
    std::string message;
    ASSERT_TRUE(Read(Build(s), sound, message));
    EXPECT_EQ(ValuesOf(sound->Channel(0)), expectLeft);
    if (c.channels == 2) {
      EXPECT_EQ(ValuesOf(sound->Channel(1)), expectRight);
    }
  }
}

TEST_F(WavReader, ReadsFromAPipe) {
  const std::string path = Path("pipe");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  WavLayout s;
  s.data = Le16({3, -3, 9});
  const Bytes file = Build(s);
  std::thread writer([&] { WriteFile(path, file); });
  std::unique_ptr<Sound> sound;
  std::string message;
  const bool ok = ReadWavFile(path, sound, message);
  writer.join();
  ASSERT_TRUE(ok) << message;
  EXPECT_EQ(ValuesOf(sound->Channel(0)), (std::vector<std::int16_t>{3, -3, 9}));
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

using WavWriter = WavFileTest;

TEST_F(WavWriter, Writes44ByteHeaderFor16BitStereo) {
  auto sound = MakeStereo({1, 2, 3, 4}, {-1, -2, -3, -4}, 44100, 2);
  bool failed = false;
  ASSERT_TRUE(WriteWavFile(failed, Path("out.wav"), *sound, 1, 4, false));
  EXPECT_FALSE(failed);
  Bytes expected;
  Text(expected, "RIFF");
  U32(expected, 48);  // 36 + 3 frames * 2 channels * 2 bytes
  Text(expected, "WAVEfmt ");
  U32(expected, 16);
  U16(expected, 1);
  U16(expected, 2);
  U32(expected, 44100);
  U32(expected, 176400);  // 2 * 44100 * 2
  U16(expected, 4);
  U16(expected, 16);
  Text(expected, "data");
  U32(expected, 12);
  const Bytes samples = Le16({2, -2, 3, -3, 4, -4});
  expected.insert(expected.end(), samples.begin(), samples.end());
  EXPECT_EQ(ReadFile(Path("out.wav")), expected);
}

TEST_F(WavWriter, Writes8BitMonoHeaderAndBytes) {
  auto sound = MakeMono({-300, 0, 300}, 8000, 1);
  bool failed = false;
  ASSERT_TRUE(WriteWavFile(failed, Path("out.wav"), *sound, 0, -1, false));
  const Bytes file = ReadFile(Path("out.wav"));
  ASSERT_EQ(file.size(), 47u);
  Bytes header(file.begin(), file.begin() + 44);
  Bytes expected;
  Text(expected, "RIFF");
  U32(expected, 39);
  Text(expected, "WAVEfmt ");
  U32(expected, 16);
  U16(expected, 1);
  U16(expected, 1);
  U32(expected, 8000);
  U32(expected, 8000);
  U16(expected, 1);
  U16(expected, 8);
  Text(expected, "data");
  U32(expected, 3);
  EXPECT_EQ(header, expected);
  // trunc(-300 / 256) = -1 -> 127; 0 -> 128; trunc(300 / 256) = 1 -> 129.
  EXPECT_EQ(Bytes(file.begin() + 44, file.end()), (Bytes{127, 128, 129}));
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

TEST_F(WavWriter, EmptyRangeWritesAValidEmptyFile) {
  auto sound = MakeStereo({1, 2}, {3, 4}, 22050, 2);
  bool failed = false;
  ASSERT_TRUE(WriteWavFile(failed, Path("out.wav"), *sound, 1, 1, false));
  const Bytes file = ReadFile(Path("out.wav"));
  ASSERT_EQ(file.size(), 44u);
  std::unique_ptr<Sound> back;
  std::string message;
  ASSERT_TRUE(ReadWavFile(Path("out.wav"), back, message));
  EXPECT_EQ(back->GetValues(), 0);
  EXPECT_EQ(back->GetMoSt(), 2);
  EXPECT_EQ(back->GetFreq(), 22050);
  MonoSound empty(8000, 1);
  ASSERT_TRUE(WriteWavFile(failed, Path("empty.wav"), empty, 0, -1, false));
  EXPECT_EQ(ReadFile(Path("empty.wav")).size(), 44u);
}

TEST_F(WavWriter, ReadingBackGivesTheValues) {
  // 70001 frames: the write buffer is filled and flushed many times.
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
      ASSERT_TRUE(sound->Save(failed, Path("rt.wav"), false, 0, sound->GetValues()));
      std::unique_ptr<Sound> back;
      std::string message;
      ASSERT_TRUE(ReadWavFile(Path("rt.wav"), back, message)) << message;
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

TEST_F(WavWriter, EightBitFileComesBackByteForByte) {
  WavLayout s;
  s.bits = 8;
  s.channels = 2;
  for (int b = 0; b < 256; ++b) s.data.push_back(static_cast<std::uint8_t>(b));
  const Bytes original = Build(s);
  std::unique_ptr<Sound> sound;
  std::string message;
  ASSERT_TRUE(ReadWavBytes(original.data(), original.size(), sound, message));
  bool failed = false;
  ASSERT_TRUE(sound->Save(failed, Path("copy.wav"), false, 0, sound->GetValues()));
  const Bytes copy = ReadFile(Path("copy.wav"));
  // Same samples; the header differs only in the fields the reader ignores.
  EXPECT_EQ(Bytes(copy.begin() + 44, copy.end()), s.data);
}

TEST_F(WavWriter, SaveWritesOnlyTheRange) {
  auto sound = MakeMono({10, 20, 30, 40, 50}, 8000, 2);
  bool failed = false;
  ASSERT_TRUE(sound->Save(failed, Path("part.wav"), true, 1, 3));
  const Bytes file = ReadFile(Path("part.wav"));
  EXPECT_EQ(Bytes(file.begin() + 40, file.end()), (Bytes{4, 0, 0, 0, 20, 0, 30, 0}));
}

TEST_F(WavWriter, ReplacesAnExistingFileAndLeavesNoTemporary) {
  WriteFile(Path("song.wav"), Bytes(5000, 'o'));
  auto sound = MakeMono({1}, 8000, 2);
  bool failed = false;
  ASSERT_TRUE(WriteWavFile(failed, Path("song.wav"), *sound, 0, 1, false));
  EXPECT_EQ(ReadFile(Path("song.wav")).size(), 46u);
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

TEST_F(WavWriter, DeviceThatRefusesDataFails) {
  auto sound = MakeMono({1, 2, 3}, 8000, 2);
  bool failed = false;
  EXPECT_FALSE(WriteWavFile(failed, "/dev/full", *sound, 0, -1, false));
}

TEST_F(WavWriter, FilesThatCannotBeCreatedFail) {
  auto sound = MakeMono({1, 2, 3}, 8000, 2);
  fs::create_directory(Path("folder"));
  bool failed = false;
  EXPECT_FALSE(WriteWavFile(failed, "", *sound, 0, -1, false));
  EXPECT_FALSE(WriteWavFile(failed, Path("no/such/dir/x.wav"), *sound, 0, -1, false));
  EXPECT_FALSE(WriteWavFile(failed, Path("folder"), *sound, 0, -1, false));
  EXPECT_TRUE(fs::is_directory(Path("folder")));
  EXPECT_TRUE(fs::is_empty(Path("folder")));
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"folder"});
  EXPECT_FALSE(failed);
}

TEST_F(WavWriter, KeepsThePermissionsOfTheReplacedFile) {
  WriteFile(Path("song.wav"), Bytes(10, 'o'));
  fs::permissions(Path("song.wav"),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  auto sound = MakeMono({1}, 8000, 2);
  bool failed = false;
  ASSERT_TRUE(WriteWavFile(failed, Path("song.wav"), *sound, 0, 1, false));
  EXPECT_EQ(fs::status(Path("song.wav")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
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

TEST_F(WavWriter, SavingThroughALinkReplacesItsTarget) {
  WriteFile(Path("real.wav"), Bytes(10, 'o'));
  fs::create_symlink(Path("real.wav"), Path("link.wav"));
  auto sound = MakeMono({1, 2}, 8000, 2);
  bool failed = false;
  ASSERT_TRUE(WriteWavFile(failed, Path("link.wav"), *sound, 0, -1, false));
  EXPECT_TRUE(fs::is_symlink(Path("link.wav")));
  EXPECT_EQ(ReadFile(Path("real.wav")).size(), 48u);
}

}  // namespace
