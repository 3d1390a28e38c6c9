#include "music/musicfiledata.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "base/tbassert.h"
#include "units/readers.h"
#include "units/writers.h"

namespace {

// Element names of the accidental kinds 0 ... 4.
const char* const kShiftElements[] = {"ShiftDoubleCross", "ShiftCross", "ShiftNormal", "ShiftMol",
                                      "ShiftDoubleMol"};
// Element names of the player kinds 0 ... 4.
const char* const kPlayerElements[] = {"SimpleOneSampler", "ResonantSampler", "RepeatWaveForm",
                                       "RollOutSampler", "RollOutWaveForm"};
inline constexpr std::uint8_t kShiftCross = 1;
inline constexpr std::uint8_t kShiftMol = 3;
inline constexpr std::uint8_t kPlayerResonant = 1;
inline constexpr std::uint8_t kPlayerSimple = 0;
inline constexpr std::uint8_t kPlayerRollOut = 3;
const char* const kBeforeFirstKey = "Value must be not before the first Key of the stave.";

std::string Integer(std::int64_t value) { return TNumber(value).Text(); }
std::string Real(double value) { return TNumber(value).Text(); }

std::string Colour(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(value));
  return text;
}

const char* KeyKindText(std::int8_t keyKind) {
  if (keyKind == 6) return "G";
  if (keyKind == 0) return "C";
  TB_ASSERT(keyKind == -6);
  return "F";
}

void AddKey(TXMLCompound& stave, const TMusicFileKey& key) {
  TXMLCompound& element = stave.AddCompound("Key");
  element.AddAttribute("Position", Real(key.position));
  element.AddAttribute("KeyKind", KeyKindText(key.keyKind));
  if (key.octavesUp != 0) element.AddAttribute("OctavesUp", Integer(key.octavesUp));
  for (const TMusicFileShift& shift : key.signature) {
    TB_ASSERT(shift.kind == kShiftCross || shift.kind == kShiftMol);
    TXMLCompound& shiftElement = element.AddCompound("KeyNoteShift");
    shiftElement.AddCompound(shift.kind == kShiftMol ? "ShiftMol" : "ShiftCross");
    shiftElement.AddAttribute("Height", Integer(shift.height));
  }
}

void AddRest(TXMLCompound& stave, const TMusicFileRest& rest) {
  TXMLCompound& element = stave.AddCompound("Silence");
  element.AddAttribute("Position", Real(rest.position));
  element.AddAttribute("Length", Integer(rest.length));
  if (rest.points > 0) element.AddAttribute("Points", Integer(rest.points));
}

void AddPlayer(TXMLCompound& compound, const TMusicFilePlayer& player) {
  TB_ASSERT(player.kind < 5);
  TXMLCompound& element = compound.AddCompound(kPlayerElements[player.kind]);
  if (player.kind == kPlayerSimple || player.kind == kPlayerRollOut) {
    element.AddAttribute("BasicFreq", player.basicFreq.ToText());
  }
  if (player.kind == kPlayerResonant) element.AddAttribute("ResFactor", player.resFactor.ToText());
  element.AddAttribute("SampleWave", player.sampleWave.ToText());
  if (player.freqUp.GetValue() != 0) element.AddAttribute("FreqUp", player.freqUp.ToText());
  element.AddAttribute("VolumeFactor", player.volumeFactor.ToText());
}

void AddGroup(TXMLCompound& stave, const TMusicFileGroup& group) {
  TXMLCompound& element = stave.AddCompound("NoteGroup");
  element.AddAttribute("NoteColor", Colour(group.noteColor));
  if (group.shape == 0) {
    element.AddCompound("NoteShapeNormal");
  } else if (group.shape == 1) {
    element.AddCompound("NoteShapeRectangle");
  } else {
    TB_ASSERT_TEXT(false, "false");
  }
  if (group.stick != kStickNone) {
    TB_ASSERT(group.stick == 0 || group.stick == 1);
    element.AddCompound(group.stick == 0 ? "NoteStickUp" : "NoteStickDown");
  }
  TB_ASSERT(!group.players.empty());
  TXMLCompound& compound = element.AddCompound("CompoundPlayer");
  for (const TMusicFilePlayer& player : group.players) AddPlayer(compound, player);
  for (const TMusicFileNote& note : group.notes) {
    TXMLCompound& noteElement = element.AddCompound("Note");
    noteElement.AddAttribute("Position", Real(note.position));
    noteElement.AddAttribute("Length", Integer(note.length));
    if (note.points > 0) noteElement.AddAttribute("Points", Integer(note.points));
    noteElement.AddAttribute("Height", Integer(note.height));
    if (note.shift != kNoShift) {
      TB_ASSERT(note.shift >= 0 && note.shift < 5);
      noteElement.AddCompound(kShiftElements[note.shift]);
    }
  }
}

}  // namespace

std::unique_ptr<TXMLCompound> MusicFileTree(const TMusicFileScore& score) {
  auto root = std::make_unique<TXMLCompound>("UnitMuz");
  root->AddAttribute("Version", kMusicFileVersion);
  root->AddAttribute("Tempo", score.tempo.ToText());
  TXMLCompound& bar = root->AddCompound("Bar");
  bar.AddAttribute("Count", Integer(score.barCount));
  bar.AddAttribute("Length", Integer(score.barLength));
  for (const TMusicFileStave& stave : score.staves) {
    TXMLCompound& element = root->AddCompound("Stave");
    element.AddAttribute("RoomUp", stave.roomUp.ToText());
    element.AddAttribute("RoomDown", stave.roomDown.ToText());
    if (stave.allowJoinFlags) element.AddCompound("AllowJoinFlags");
    if (stave.autoStick) element.AddCompound("AutoStick");
    if (stave.mute) element.AddCompound("Mute");
    element.AddAttribute("ForegroundColor", Colour(stave.foregroundColor));
    element.AddAttribute("BackgroundColor", Colour(stave.backgroundColor));
    TB_ASSERT_TEXT(
        !stave.symbols.empty() && std::holds_alternative<TMusicFileKey>(stave.symbols.front()),
        "!first");
    for (const TMusicFileSymbol& symbol : stave.symbols) {
      if (const auto* key = std::get_if<TMusicFileKey>(&symbol)) {
        AddKey(element, *key);
      } else {
        AddRest(element, std::get<TMusicFileRest>(symbol));
      }
    }
    TB_ASSERT_TEXT(!stave.groups.empty(), "!first");
    for (const TMusicFileGroup& group : stave.groups) AddGroup(element, group);
  }
  return root;
}

// ---------------------------------------------------------------------------
// The grammar.

namespace {

using Item = std::unique_ptr<TDTDItem>;

Item Text(const char* name) { return std::make_unique<TDTDAttribute>(name); }
Item Empty(const char* name) {
  return std::make_unique<TDTDCompound>(name, std::make_unique<TDTDEmpty>());
}
Item Optional(Item item) { return std::make_unique<TDTDOptional>(std::move(item)); }
Item Many(Item item) { return std::make_unique<TDTDRepeatMin0>(std::move(item)); }
Item Some(Item item) { return std::make_unique<TDTDRepeatMin1>(std::move(item)); }

// a, b, c ... as nested pairs.
template <typename... Items>
Item Seq(Item first, Items... rest) {
  if constexpr (sizeof...(rest) == 0) {
    return first;
  } else {
    return std::make_unique<TDTDConcat>(std::move(first), Seq(std::move(rest)...));
  }
}

template <typename... Items>
Item Alt(Item first, Items... rest) {
  if constexpr (sizeof...(rest) == 0) {
    return first;
  } else {
    return std::make_unique<TDTDChoice>(std::move(first), Alt(std::move(rest)...));
  }
}

Item Element(const char* name, Item content) {
  return std::make_unique<TDTDCompound>(name, std::move(content));
}

Item KeyGrammar() {
  return Element(
      "Key", Seq(Text("Position"), Text("KeyKind"), Optional(Text("OctavesUp")),
                 Many(Element("KeyNoteShift",
                              Seq(Alt(Empty("ShiftCross"), Empty("ShiftMol")), Text("Height"))))));
}

Item PlayerItems(Item first) {
  return Seq(std::move(first), Text("SampleWave"), Optional(Text("FreqUp")), Text("VolumeFactor"));
}

Item NoteGroupGrammar() {
  Item player =
      Alt(Element("SimpleOneSampler", PlayerItems(Text("BasicFreq"))),
          Element("RollOutSampler", PlayerItems(Text("BasicFreq"))),
          Element("ResonantSampler", PlayerItems(Text("ResFactor"))),
          Element("RepeatWaveForm",
                  Seq(Text("SampleWave"), Optional(Text("FreqUp")), Text("VolumeFactor"))),
          Element("RollOutWaveForm",
                  Seq(Text("SampleWave"), Optional(Text("FreqUp")), Text("VolumeFactor"))));
  Item note = Element(
      "Note", Seq(Text("Position"), Text("Length"), Optional(Text("Points")), Text("Height"),
                  Optional(Alt(Empty("ShiftDoubleCross"), Empty("ShiftCross"), Empty("ShiftNormal"),
                               Empty("ShiftMol"), Empty("ShiftDoubleMol")))));
  return Element("NoteGroup",
                 Seq(Text("NoteColor"), Alt(Empty("NoteShapeNormal"), Empty("NoteShapeRectangle")),
                     Optional(Alt(Empty("NoteStickUp"), Empty("NoteStickDown"))),
                     Element("CompoundPlayer", Some(std::move(player))), Many(std::move(note))));
}

}  // namespace

std::unique_ptr<TDTDItem> MusicFileGrammar() {
  Item silence =
      Element("Silence", Seq(Text("Position"), Text("Length"), Optional(Text("Points"))));
  Item stave =
      Element("Stave", Seq(Text("RoomUp"), Text("RoomDown"), Optional(Empty("AllowJoinFlags")),
                           Optional(Empty("AutoStick")), Optional(Empty("Mute")),
                           Text("ForegroundColor"), Text("BackgroundColor"), KeyGrammar(),
                           Many(Alt(KeyGrammar(), std::move(silence))), Some(NoteGroupGrammar())));
  return Element("UnitMuz",
                 Seq(Text("Version"), Text("Tempo"),
                     Element("Bar", Seq(Text("Count"), Text("Length"))), Some(std::move(stave))));
}

// ---------------------------------------------------------------------------
// Reading the tree.

namespace {

// The children of an element one after the other. The grammar has checked
// the structure; these walks only find what it allowed.
class Children {
 public:
  explicit Children(const TXMLItem& parent) : item_(parent.GetFirstItem()) {}
  const TXMLItem& Take() {
    TB_ASSERT(item_ != nullptr);
    const TXMLItem& item = *item_;
    item_ = item_->GetNext();
    return item;
  }
  // The next child when it has this name.
  const TXMLItem* TakeIf(const char* name) {
    if (item_ == nullptr || item_->GetElement() != name) return nullptr;
    return &Take();
  }
  const TXMLItem* Peek() const { return item_; }

 private:
  const TXMLItem* item_;
};

// An optional "+", an optional "-", then at least one digit.
bool HasDigits(const std::string& text) {
  std::size_t pos = 0;
  if (pos < text.size() && text[pos] == '+') ++pos;
  if (pos < text.size() && text[pos] == '-') ++pos;
  return pos < text.size() && text[pos] >= '0' && text[pos] <= '9';
}

class ScoreReader {
 public:
  explicit ScoreReader(std::string& message) : message_(message) {}
  bool Read(const TXMLItem& unitMuz, TMusicFileScore& score);

 private:
  bool Fail(const TXMLItem& item, const std::string& text) {
    message_ = text + " At line " + std::to_string(item.GetLine()) + ", column " +
               std::to_string(static_cast<std::int64_t>(item.GetColumn()) + 1) + ".";
    return false;
  }
  bool FailIn(const TXMLItem& item, const std::string& label, const std::string& reason) {
    return Fail(item, "In " + label + ": " + reason);
  }
  bool ReadUnit(const TXMLItem& item, unit& value, const std::string& label) {
    std::string message;
    // The integer reader takes a text without digits as 0; in a file that
    // is a damaged number.
    if (dynamic_cast<unitInteger*>(&value) != nullptr && !HasDigits(item.GetAttribute())) {
      return FailIn(item, label, "Input has no value.");
    }
    if (!value.ReadFromText(item.GetAttribute(), label, message)) return Fail(item, message);
    return true;
  }
  bool ReadInt(const TXMLItem& item, std::int32_t& value, const std::string& label,
               std::int32_t min, std::int32_t max);
  bool ReadLength(const TXMLItem& item, std::uint8_t& value, const std::string& label);
  bool ReadPosition(const TXMLItem& item, double& value, const std::string& label);
  bool ReadColour(const TXMLItem& item, std::uint32_t& value, const std::string& label);
  bool ReadStave(const TXMLItem& element, TMusicFileStave& stave);
  bool ReadKey(const TXMLItem& element, TMusicFileKey& key);
  bool ReadRest(const TXMLItem& element, TMusicFileRest& rest);
  bool ReadGroup(const TXMLItem& element, const TMusicFileStave& stave, TMusicFileGroup& group);
  bool ReadPlayer(const TXMLItem& element, TMusicFilePlayer& player);
  bool ReadNote(const TXMLItem& element, const TMusicFileStave& stave, TMusicFileNote& note);

  std::string& message_;
};

// An integer as the integer reader reads it, but a text without digits is
// no number (the reader would take it as 0), and values outside min ... max
// would break the score later.
bool ScoreReader::ReadInt(const TXMLItem& item, std::int32_t& value, const std::string& label,
                          std::int32_t min, std::int32_t max) {
  const std::string text = item.GetAttribute();
  if (!HasDigits(text)) return FailIn(item, label, "Input has no value.");
  TStringReader reader(text);
  std::int32_t read = 0;
  if (!ReadIntegerCompare(reader, read, kCompareMoreEqual, min) ||
      !ReadIntegerCompare(reader, read, kCompareLessEqual, max)) {
    return FailIn(item, label, reader.Error);
  }
  value = read;
  return true;
}

bool ScoreReader::ReadLength(const TXMLItem& item, std::uint8_t& value, const std::string& label) {
  std::int32_t read = 0;
  if (!ReadInt(item, read, label, 1, 64)) return false;
  if ((read & (read - 1)) != 0) {
    return FailIn(item, label, "Value must be 1, 2, 4, 8, 16, 32 or 64.");
  }
  value = static_cast<std::uint8_t>(read);
  return true;
}

bool ScoreReader::ReadPosition(const TXMLItem& item, double& value, const std::string& label) {
  TStringReader reader(item.GetAttribute());
  double read = 0;
  if (!ReadFactor(reader, read, kRestrictPositive)) return FailIn(item, label, reader.Error);
  value = read;
  return true;
}

bool ScoreReader::ReadColour(const TXMLItem& item, std::uint32_t& value, const std::string& label) {
  const std::string text = item.GetAttribute();
  const bool digits =
      !text.empty() && text.size() <= 8 && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
      });
  if (!digits) return Fail(item, "In " + label + ": Invalid Hexdecimal value: \"" + text + "\".");
  value = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
  return true;
}

bool ScoreReader::Read(const TXMLItem& unitMuz, TMusicFileScore& score) {
  Children children(unitMuz);
  const TXMLItem& version = children.Take();
  if (version.GetAttribute() != kMusicFileVersion) {
    return FailIn(version, "Version",
                  "The file has version \"" + version.GetAttribute() +
                      "\"; only version \"7.0\" can be read.");
  }
  if (!ReadUnit(children.Take(), score.tempo, "Tempo")) return false;
  Children bar(children.Take());
  if (!ReadInt(bar.Take(), score.barCount, "Bar Count", 1, 99)) return false;
  if (!ReadLength(bar.Take(), score.barLength, "Bar Length")) return false;
  score.staves.clear();
  while (children.Peek() != nullptr) {
    score.staves.emplace_back();
    if (!ReadStave(children.Take(), score.staves.back())) return false;
  }
  return true;
}

bool ScoreReader::ReadStave(const TXMLItem& element, TMusicFileStave& stave) {
  Children children(element);
  if (!ReadUnit(children.Take(), stave.roomUp, "Room Up")) return false;
  if (!ReadUnit(children.Take(), stave.roomDown, "Room Down")) return false;
  stave.allowJoinFlags = children.TakeIf("AllowJoinFlags") != nullptr;
  stave.autoStick = children.TakeIf("AutoStick") != nullptr;
  stave.mute = children.TakeIf("Mute") != nullptr;
  if (!ReadColour(children.Take(), stave.foregroundColor, "ForegroundColor")) return false;
  if (!ReadColour(children.Take(), stave.backgroundColor, "BackgroundColor")) return false;
  // A stave starts with a key: at one position keys come before rests and
  // notes, so no rest or note may stand before the earliest key.
  double firstKey = 0;
  std::vector<const TXMLItem*> restItems;
  while (children.Peek() != nullptr && children.Peek()->GetElement() != "NoteGroup") {
    const TXMLItem& item = children.Take();
    if (item.GetElement() == "Key") {
      TMusicFileKey key;
      if (!ReadKey(item, key)) return false;
      firstKey = stave.symbols.empty() ? key.position : std::min(firstKey, key.position);
      stave.symbols.emplace_back(std::move(key));
    } else {
      TMusicFileRest rest;
      if (!ReadRest(item, rest)) return false;
      stave.symbols.emplace_back(rest);
      restItems.push_back(&item);
    }
  }
  std::size_t restIndex = 0;
  for (const TMusicFileSymbol& symbol : stave.symbols) {
    const auto* rest = std::get_if<TMusicFileRest>(&symbol);
    if (rest == nullptr) continue;
    const TXMLItem& item = *restItems[restIndex++];
    if (rest->position < firstKey) {
      return FailIn(*item.GetFirstItem(), "Silence Position", kBeforeFirstKey);
    }
  }
  while (children.Peek() != nullptr) {
    stave.groups.emplace_back();
    if (!ReadGroup(children.Take(), stave, stave.groups.back())) return false;
  }
  for (TMusicFileGroup& group : stave.groups) {
    if (stave.autoStick) group.stick = kStickNone;
  }
  return true;
}

bool ScoreReader::ReadKey(const TXMLItem& element, TMusicFileKey& key) {
  Children children(element);
  if (!ReadPosition(children.Take(), key.position, "Key Position")) return false;
  const TXMLItem& kind = children.Take();
  const std::string text = kind.GetAttribute();
  if (text == "G") {
    key.keyKind = 6;
  } else if (text == "C") {
    key.keyKind = 0;
  } else if (text == "F") {
    key.keyKind = -6;
  } else {
    return Fail(kind, "Key Kind \"" + text + "\" is not a valid Key Kind.");
  }
  if (const TXMLItem* octaves = children.TakeIf("OctavesUp")) {
    if (!ReadInt(*octaves, key.octavesUp, "Key OctavesUp", -2, 2)) return false;
  }
  // The signature must be one the key commands can work on: sharps in the
  // order F, C, G, D, A, E, B or flats in the order B, E, A, D, G, C, F.
  const int clefShift = key.keyKind == 6 ? -1 : key.keyKind == -6 ? 1 : 0;
  while (children.Peek() != nullptr) {
    Children shift(children.Take());
    TMusicFileShift accidental;
    accidental.kind = shift.Take().GetElement() == "ShiftMol" ? kShiftMol : kShiftCross;
    const TXMLItem& height = shift.Take();
    if (!ReadInt(height, accidental.height, "Key NoteShift Height", INT32_MIN, INT32_MAX)) {
      return false;
    }
    const auto wrap = [](std::int64_t x) { return ((x % 7) + 7) % 7; };
    const std::int64_t h = accidental.height + clefShift;
    const std::int64_t index = static_cast<std::int64_t>(key.signature.size());
    const bool mixed = !key.signature.empty() && key.signature.front().kind != accidental.kind;
    const bool inOrder =
        accidental.kind == kShiftCross ? wrap(2 * h + 1) == index : wrap(5 * h + 5) == index;
    if (mixed || !inOrder) {
      return FailIn(height, "Key NoteShift Height",
                    "The accidentals do not form a valid key signature.");
    }
    key.signature.push_back(accidental);
  }
  return true;
}

bool ScoreReader::ReadRest(const TXMLItem& element, TMusicFileRest& rest) {
  Children children(element);
  if (!ReadPosition(children.Take(), rest.position, "Silence Position")) return false;
  if (!ReadLength(children.Take(), rest.length, "Silence Length")) return false;
  if (const TXMLItem* points = children.TakeIf("Points")) {
    return ReadInt(*points, rest.points, "Silence Points", 0, 3);
  }
  return true;
}

bool ScoreReader::ReadGroup(const TXMLItem& element, const TMusicFileStave& stave,
                            TMusicFileGroup& group) {
  Children children(element);
  if (!ReadColour(children.Take(), group.noteColor, "NoteColor")) return false;
  group.shape = children.Take().GetElement() == "NoteShapeRectangle" ? 1 : 0;
  if (children.TakeIf("NoteStickUp") != nullptr) group.stick = 0;
  if (children.TakeIf("NoteStickDown") != nullptr) group.stick = 1;
  Children players(children.Take());
  while (players.Peek() != nullptr) {
    group.players.emplace_back();
    if (!ReadPlayer(players.Take(), group.players.back())) return false;
  }
  while (children.Peek() != nullptr) {
    group.notes.emplace_back();
    if (!ReadNote(children.Take(), stave, group.notes.back())) return false;
  }
  return true;
}

bool ScoreReader::ReadPlayer(const TXMLItem& element, TMusicFilePlayer& player) {
  for (std::uint8_t kind = 0; kind < 5; ++kind) {
    if (element.GetElement() == kPlayerElements[kind]) player.kind = kind;
  }
  Children children(element);
  if (const TXMLItem* basicFreq = children.TakeIf("BasicFreq")) {
    if (!ReadUnit(*basicFreq, player.basicFreq, "BasicFreq")) return false;
  }
  if (const TXMLItem* resFactor = children.TakeIf("ResFactor")) {
    if (!ReadUnit(*resFactor, player.resFactor, "ResFactor")) return false;
  }
  if (!ReadUnit(children.Take(), player.sampleWave, "SampleWave")) return false;
  if (const TXMLItem* freqUp = children.TakeIf("FreqUp")) {
    if (!ReadUnit(*freqUp, player.freqUp, "FreqUp")) return false;
  }
  return ReadUnit(children.Take(), player.volumeFactor, "VolumeFactor");
}

bool ScoreReader::ReadNote(const TXMLItem& element, const TMusicFileStave& stave,
                           TMusicFileNote& note) {
  Children children(element);
  const TXMLItem& position = children.Take();
  if (!ReadPosition(position, note.position, "Note Position")) return false;
  if (!ReadLength(children.Take(), note.length, "Note Length")) return false;
  if (const TXMLItem* points = children.TakeIf("Points")) {
    if (!ReadInt(*points, note.points, "Note Points", 0, 3)) return false;
  }
  // The governing key: the last key of the stave at or before the note
  // (keys at one position in file order).
  const TMusicFileKey* governing = nullptr;
  for (const TMusicFileSymbol& symbol : stave.symbols) {
    const auto* key = std::get_if<TMusicFileKey>(&symbol);
    if (key == nullptr || key->position > note.position) continue;
    if (governing == nullptr || key->position >= governing->position) governing = key;
  }
  if (governing == nullptr) {
    return FailIn(position, "Note Position", kBeforeFirstKey);
  }
  // The pitch keyKind + height + 7 * octavesUp must lie in -43 ... 43.
  const std::int32_t base = governing->keyKind + 7 * governing->octavesUp;
  if (!ReadInt(children.Take(), note.height, "Note Height", -43 - base, 43 - base)) return false;
  if (children.Peek() != nullptr) {
    for (int kind = 0; kind < 5; ++kind) {
      if (children.Peek()->GetElement() == kShiftElements[kind]) note.shift = kind;
    }
  }
  return true;
}

}  // namespace

bool ReadMusicFileScore(std::istream& in, TMusicFileScore& score, std::string& message) {
  message = "Unknown Error";
  // The declaration and the DOCTYPE: whatever they hold.
  std::string skipped;
  std::getline(in, skipped);
  std::getline(in, skipped);
  const std::vector<TXMLToken> tokens = ReadXMLTokens(in, 3, 1);
  if (tokens.back().TokenKind == xmlTokenError) {
    message = tokens.back().GetError();
    return false;
  }
  const std::unique_ptr<TDTDItem> grammar = MusicFileGrammar();
  TXMLCompound root("Root");
  const TXMLToken* cursor = tokens.data();
  bool fatal = false;
  if (!grammar->Parse(root, cursor, message, fatal)) return false;
  ScoreReader reader(message);
  return reader.Read(*root.GetFirstItem(), score);
}
