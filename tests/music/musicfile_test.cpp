#include "music/musicfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "music/noteplay.h"
#include "music/unitmuz.h"
#include "support/recordingui.h"

namespace {

std::string GoldenPath(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path() / "golden" / name).string();
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TMusicFilePlayer Player(std::uint8_t kind, const char* wave, double volume,
                        std::uint8_t volumeUnit = kUnitNone) {
  TMusicFilePlayer player;
  player.kind = kind;
  player.sampleWave.SetName(wave);
  player.volumeFactor = unitVolumeFactor(volume, volumeUnit);
  return player;
}

// Every element and optional item at least once: two staves, flags, keys
// with sharps and flats, an octave shift, dotted rests and notes, every
// player kind, written accidentals, a non-ASCII wave name.
TMusicFileScore ExampleScore() {
  TMusicFileScore score;
  score.tempo = unitTimePosMore(2.0, kUnitSeconds);
  score.barCount = 3;
  score.barLength = 8;

  TMusicFileStave first;
  first.roomUp = unitIntegerPos(80);
  first.roomDown = unitIntegerPos(60);
  first.allowJoinFlags = true;
  first.mute = true;
  first.foregroundColor = 0x000000;
  first.backgroundColor = 0xFFFFFF;
  // G clef with F sharp (height 4) and C sharp (height 1).
  first.symbols.emplace_back(TMusicFileKey{0, 6, 0, {{1, 4}, {1, 1}}});
  first.symbols.emplace_back(TMusicFileRest{0, 4, 1});
  // F clef an octave down with B flat (height -2).
  first.symbols.emplace_back(TMusicFileKey{1.5, -6, -1, {{3, -2}}});
  TMusicFileGroup voice;
  voice.noteColor = 0x0000FF;
  voice.stick = 0;
  voice.players.push_back(Player(3, "sample", 0.5));
  // As the reader stores it: the period of 440 Hz in single precision.
  std::string message;
  EXPECT_TRUE(voice.players.back().basicFreq.ReadFromText("440 Hz", "BasicFreq", message));
  voice.players.push_back(Player(1, "Flöte", 0.5, kUnitPercent));
  voice.players.back().resFactor = unitFactorPosMax1(0.05);
  voice.players.back().freqUp = unitFreq(2);
  voice.notes = {{0.375, 8, 0, 2, kNoShift}, {0.375, 8, 0, -1, 2}, {0.5, 2, 3, 4, 4}};
  first.groups.push_back(voice);
  TMusicFileGroup second;
  second.noteColor = 0x123456;
  second.shape = 1;
  second.stick = 1;
  second.players.push_back(Player(2, "sample", 1));
  first.groups.push_back(second);
  score.staves.push_back(first);

  TMusicFileStave other;
  other.autoStick = true;
  other.foregroundColor = 0xFF0000;
  other.backgroundColor = 0xC0C0C0;
  other.symbols.emplace_back(TMusicFileKey{0, 0, 1, {}});
  TMusicFileGroup bass;
  bass.players.push_back(Player(0, "sample", 1));
  bass.players.back().basicFreq = unitTimePosMore(0.01, kUnitMilliseconds);
  bass.players.push_back(Player(4, "sample", 0.25, kUnitPercent));
  bass.players.back().freqUp = unitFreq(-3);
  // The lowest height under a C clef an octave up: -43 - 0 - 7.
  bass.notes = {{0, 64, 0, -50, 0}};
  other.groups.push_back(bass);
  score.staves.push_back(other);
  return score;
}

std::string FileText(const TMusicFileScore& score) {
  std::string bytes;
  std::string bad;
  EXPECT_TRUE(XMLFileText(*MusicFileTree(score), bytes, bad)) << bad;
  return bytes;
}

TEST(MusicFile, WritesTheReferenceFile) {
  EXPECT_EQ(FileText(ExampleScore()), ReadWhole(GoldenPath("score.tbm")));
}

TEST(MusicFile, ReadsTheReferenceFileBackToTheSameScoreAndBytes) {
  const std::string golden = ReadWhole(GoldenPath("score.tbm"));
  TUnitMuz unit("score.tbm");
  std::string message;
  ASSERT_EQ(LoadMusicFile(unit, GoldenPath("score.tbm"), message), TMusicFileLoad::Loaded)
      << message;
  EXPECT_EQ(unit.GetState(), TUnitState::Saved);
  EXPECT_TRUE(MusicFileScoreOf(unit) == ExampleScore());
  EXPECT_EQ(FileText(MusicFileScoreOf(unit)), golden);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string LoadMessage(const std::string& text) {
  std::istringstream in(text);
  TMusicFileScore score;
  std::string message;
  EXPECT_FALSE(ReadMusicFileScore(in, score, message));
  return message;
}

struct LoadCase {
  const char* from;
  const char* to;
  const char* message;
};

class LoadMessageTable : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadMessageTable, NamesTheFaultWithLineAndColumn) {
  const std::string golden = ReadWhole(GoldenPath("score.tbm"));
  EXPECT_EQ(LoadMessage(Replaced(golden, GetParam().from, GetParam().to)), GetParam().message);
}

// Lines and columns of the reference file; a value is reported at the first
// character of its text, a grammar fault at the '>' of the tag met.
INSTANTIATE_TEST_SUITE_P(
    MusicFile, LoadMessageTable,
    testing::Values(
        LoadCase{"<Tempo>2 s<", "<Tempo>2<",
                 "In Tempo: Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'. At line 6, column 10."},
        LoadCase{"<Version>7.0<", "<Version>6.0<",
                 "In Version: The file has version \"6.0\"; only version \"7.0\" can be read. At "
                 "line 5, column 12."},
        LoadCase{"<KeyKind>G<", "<KeyKind>g<",
                 "Key Kind \"g\" is not a valid Key Kind. At line 20, column 16."},
        LoadCase{"<NoteColor>0000FF<", "<NoteColor>FFZZ00<",
                 "In NoteColor: Invalid Hexdecimal value: \"FFZZ00\". At line 45, column 18."},
        LoadCase{"<ForegroundColor>000000<", "<ForegroundColor>0x12<",
                 "In ForegroundColor: Invalid Hexdecimal value: \"0x12\". At line 16, column 22."},
        LoadCase{"<Count>3<", "<Count>0<",
                 "In Bar Count: Value must be more or equal of 1. At line 8, column 12."},
        LoadCase{"<Length>8<", "<Length>3<",
                 "In Bar Length: Value must be 1, 2, 4, 8, 16, 32 or 64. At line 9, column 13."},
        LoadCase{"<OctavesUp>-1<", "<OctavesUp>3<",
                 "In Key OctavesUp: Value must be less or equal of 2. At line 38, column 18."},
        // Under a C clef an octave up the lowest pitch -43 is height -50.
        LoadCase{"<Height>-50<", "<Height>-51<",
                 "In Note Height: Value must be more or equal of -50. At line 121, column 17."},
        LoadCase{"<Points>3<", "<Points>4<",
                 "In Note Points: Value must be less or equal of 3. At line 75, column 17."},
        LoadCase{"<RoomUp>80<", "<RoomUp>abc<",
                 "In Room Up: Input has no value. At line 12, column 13."},
        LoadCase{"<ResFactor>0.05<", "<ResFactor>2<",
                 "In ResFactor: Value must be no more than 1. At line 55, column 22."},
        LoadCase{"<RoomDown>60<", "<RoomDown>-1<",
                 "In Room Down: Value must be positive. At line 13, column 15."},
        LoadCase{"<Position>1.5<", "<Position>-1<",
                 "In Key Position: Value must be positive. At line 36, column 17."},
        LoadCase{"<Length>4<", "<Length>5<",
                 "In Silence Length: Value must be 1, 2, 4, 8, 16, 32 or 64. At line 32, column "
                 "15."},
        LoadCase{"<Points>1<", "<Points>-1<",
                 "In Silence Points: Value must be more or equal of 0. At line 33, column 15."},
        LoadCase{"<Position>0.375<", "<Position>x<",
                 "In Note Position: Input has no value. At line 62, column 19."},
        LoadCase{"<Length>2<", "<Length>128<",
                 "In Note Length: Value must be less or equal of 64. At line 74, column 17."},
        LoadCase{"<BasicFreq>440 Hz<", "<BasicFreq>0 Hz<",
                 "In BasicFreq: You cannot use 0 with 'Hz'. At line 50, column 22."},
        LoadCase{"<FreqUp>2 Hz<", "<FreqUp>2<",
                 "In FreqUp: Wrong unit used, use: 's', 'ms', 'Hz', 'kHz'. At line 57, column 19."},
        LoadCase{"<VolumeFactor>0.5<", "<VolumeFactor>5 x<",
                 "In VolumeFactor: This unit does not exist, use: '%', 'dB' or no unit. At line "
                 "52, column 25."},
        // C sharp where the second sharp must be on F's next, C (height 1).
        LoadCase{"<Height>1<", "<Height>2<",
                 "In Key NoteShift Height: The accidentals do not form a valid key signature. At "
                 "line 27, column 17."},
        // The first key moved behind the rest at 0.
        LoadCase{"<Position>0<", "<Position>1<",
                 "In Silence Position: Value must be not before the first Key of the stave. At "
                 "line 31, column 17."},
        LoadCase{"<Mute />", "<Mute a/>", "unexpected 'a' found in line 15, column 11."},
        LoadCase{"    <Key>\n      <Position>0</Position>\n      <KeyKind>C</KeyKind>\n"
                 "      <OctavesUp>1</OctavesUp>\n    </Key>",
                 "    <Silence>\n      <Position>0</Position>\n      <Length>4</Length>\n"
                 "    </Silence>",
                 "unexpected begin of element \"Silence\", expect begin of element \"Key\", at "
                 "line 98, column 13."},
        // Without the declaration the root stands on the skipped lines.
        LoadCase{"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!DOCTYPE UnitMuz SYSTEM "
                 "\"UnitMuz.dtd\">\n\n",
                 "",
                 "unexpected begin of element \"Tempo\", expect begin of element \"UnitMuz\", "
                 "at line 3, column 9."}));

TEST(MusicFile, StaveWithoutNoteGroupFails) {
  std::string text = ReadWhole(GoldenPath("score.tbm"));
  const auto begin = text.rfind("    <NoteGroup>");
  text.erase(begin, text.rfind("  </Stave>") - begin);
  EXPECT_EQ(LoadMessage(text),
            "unexpected end of element \"Stave\", expect begin of element \"NoteGroup\", at line "
            "103, column 10.");
}

TEST(MusicFile, ReadsWhatTheWriterNeverWrites) {
  const std::string golden = ReadWhole(GoldenPath("score.tbm"));
  std::string crlf;
  for (const char c : golden) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string variants[] = {
      Replaced(golden, "<?xml", "anything at all"),
      Replaced(golden, "</Length>\n      <Points>1<", "</Length>\n      <Points>0<"),
      Replaced(golden, "<Tempo>2 s<", "<Tempo> 2000 ms <"),
      crlf,
  };
  for (const std::string& text : variants) {
    std::istringstream in(text);
    TMusicFileScore score;
    std::string message;
    EXPECT_TRUE(ReadMusicFileScore(in, score, message)) << message;
  }
}

TEST(MusicFile, MissingFileCannotBeOpened) {
  TUnitMuz unit("absent.tbm");
  std::string message;
  const std::string path = GoldenPath("absent.tbm");
  EXPECT_EQ(LoadMusicFile(unit, path, message), TMusicFileLoad::CannotOpen);
  EXPECT_EQ(message, "Cannot open the file: \"" + path + "\".");
}

TEST(MusicFile, SaveRefusesANameTheFileCannotHoldAndKeepsTheOldFile) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "tonbrisk_musicfile_save.tbm").string();
  TUnitMuz unit("score.tbm");
  BuildScore(unit, ExampleScore());
  ASSERT_TRUE(SaveMusicFile(unit, path));
  EXPECT_EQ(ReadWhole(path), ReadWhole(GoldenPath("score.tbm")));
  auto& props =
      unit.GetStartStave()->GetStartNoteGroup()->GetPlayer()->GetStartOnePlayer()->GetProps();
  props.RollOutSampler.SampleWave.SetName("\u03a9");
  RecordingUi ui;
  EXPECT_FALSE(SaveMusicFile(unit, path));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "File Error");
  EXPECT_TRUE(ui.messages[0].text.starts_with("The name \"\u03a9\" cannot be stored"));
  EXPECT_EQ(ReadWhole(path), ReadWhole(GoldenPath("score.tbm")));
  std::filesystem::remove(path);
}

// A random score in chain order with values whose texts read back exactly
// (unit values are written with seven significant digits; positions on the
// 1/512 grid of dotted 64ths need at most nine decimals), ties of rests and
// of notes included.
TMusicFileScore RandomScore(std::mt19937& random) {
  auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  auto position = [&] { return pick(0, 4 * 512) / 512.0; };
  TMusicFileScore score;
  score.tempo = unitTimePosMore(pick(1, 16) / 8.0, kUnitSeconds);
  score.barCount = pick(1, 99);
  score.barLength = static_cast<std::uint8_t>(1 << pick(0, 6));
  const int staves = pick(1, 3);
  for (int s = 0; s < staves; ++s) {
    TMusicFileStave stave;
    stave.roomUp = unitIntegerPos(pick(0, 200));
    stave.roomDown = unitIntegerPos(pick(0, 200));
    stave.allowJoinFlags = pick(0, 1) == 1;
    stave.autoStick = pick(0, 1) == 1;
    stave.mute = pick(0, 1) == 1;
    stave.foregroundColor = static_cast<std::uint32_t>(pick(0, 0xFFFFFF));
    stave.backgroundColor = static_cast<std::uint32_t>(pick(0, 0xFFFFFF));
    std::vector<std::pair<double, TMusicFileSymbol>> symbols;
    const int keys = pick(1, 3);
    for (int k = 0; k < keys; ++k) {
      TMusicFileKey key;
      key.position = k == 0 ? 0 : position();
      key.keyKind = static_cast<std::int8_t>(6 * pick(-1, 1));
      key.octavesUp = pick(-2, 2);
      const bool flats = pick(0, 1) == 1;
      const int count = pick(0, 7);
      const int clefShift = key.keyKind == 6 ? -1 : key.keyKind == -6 ? 1 : 0;
      for (int i = 0; i < count; ++i) {
        std::vector<int> heights;
        for (int h = -7; h <= 13; ++h) {
          const int x = flats ? 5 * (h + clefShift) + 5 : 2 * (h + clefShift) + 1;
          if (((x % 7) + 7) % 7 == i) heights.push_back(h);
        }
        key.signature.push_back({static_cast<std::uint8_t>(flats ? 3 : 1),
                                 heights[pick(0, static_cast<int>(heights.size()) - 1)]});
      }
      symbols.emplace_back(key.position, key);
    }
    const int rests = pick(0, 4);
    for (int r = 0; r < rests; ++r) {
      const TMusicFileRest rest{position(), static_cast<std::uint8_t>(1 << pick(0, 6)), pick(0, 3)};
      symbols.emplace_back(rest.position, rest);
      // An equal twin of another length keeps its place after the first.
      if (pick(0, 3) == 0) {
        symbols.emplace_back(rest.position, TMusicFileRest{rest.position, 1, 0});
      }
    }
    // Keys before rests at one position, otherwise the order made.
    std::stable_sort(symbols.begin(), symbols.end(), [](const auto& a, const auto& b) {
      if (a.first != b.first) return a.first < b.first;
      return std::holds_alternative<TMusicFileKey>(a.second) &&
             !std::holds_alternative<TMusicFileKey>(b.second);
    });
    for (auto& entry : symbols) stave.symbols.push_back(entry.second);
    const int groups = pick(1, 3);
    std::set<std::pair<double, int>> taken;
    for (int g = 0; g < groups; ++g) {
      TMusicFileGroup group;
      group.noteColor = static_cast<std::uint32_t>(pick(0, 0xFFFFFF));
      group.shape = static_cast<std::uint8_t>(pick(0, 1));
      group.stick = stave.autoStick ? kStickNone : pick(0, 1);
      const int players = pick(1, 3);
      for (int p = 0; p < players; ++p) {
        TMusicFilePlayer player;
        player.kind = static_cast<std::uint8_t>(pick(0, 4));
        // The file holds only the items of the player's kind.
        if (player.kind == 0 || player.kind == 3) {
          player.basicFreq = unitTimePosMore(pick(1, 64) / 64.0, kUnitSeconds);
        }
        if (player.kind == 1) player.resFactor = unitFactorPosMax1(pick(1, 8) / 8.0);
        player.sampleWave = unitUnitWave(pick(0, 1) == 0 ? "sample" : "Gitarre \u00e9");
        player.freqUp = unitFreq(pick(-5, 5));
        player.volumeFactor = unitVolumeFactor(pick(1, 8) / 4.0, kUnitPercent * pick(0, 1));
        group.players.push_back(player);
      }
      std::vector<TMusicFileNote> notes;
      const int count = pick(0, 8);
      for (int n = 0; n < count; ++n) {
        TMusicFileNote note;
        note.position = position();
        note.length = static_cast<std::uint8_t>(1 << pick(0, 6));
        note.points = pick(0, 3);
        // The governing key: the last one at or before the note.
        const TMusicFileKey* key = nullptr;
        for (const TMusicFileSymbol& symbol : stave.symbols) {
          const auto* k = std::get_if<TMusicFileKey>(&symbol);
          if (k != nullptr && k->position <= note.position) key = k;
        }
        const int base = key->keyKind + 7 * key->octavesUp;
        note.height = pick(-43 - base, 43 - base);
        // One written accidental per place of a stave.
        if (taken.insert({note.position, note.height}).second) note.shift = pick(-1, 4);
        notes.push_back(note);
        if (note.shift == kNoShift && pick(0, 3) == 0) {
          TMusicFileNote twin = note;
          twin.length = 1;
          notes.push_back(twin);
        }
      }
      std::stable_sort(notes.begin(), notes.end(), [](const auto& a, const auto& b) {
        if (a.position != b.position) return a.position < b.position;
        return a.height > b.height;
      });
      group.notes = notes;
      stave.groups.push_back(group);
    }
    score.staves.push_back(stave);
  }
  return score;
}

TEST(MusicFile, RandomScoresSavedAndLoadedGiveTheSameScore) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    const TMusicFileScore score = RandomScore(random);
    TUnitMuz unit("random.tbm");
    BuildScore(unit, score);
    ASSERT_TRUE(MusicFileScoreOf(unit) == score);
    const std::string text = FileText(score);
    std::istringstream in(text);
    TMusicFileScore read;
    std::string message;
    ASSERT_TRUE(ReadMusicFileScore(in, read, message)) << message << "\n" << text;
    TUnitMuz loaded("random.tbm");
    BuildScore(loaded, read);
    EXPECT_TRUE(MusicFileScoreOf(loaded) == score) << text;
  }
}

}  // namespace
