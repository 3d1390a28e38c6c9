#include "music/xml.h"

#include <gtest/gtest.h>

#include <sstream>

#include "music/xmlgrammar.h"

namespace {

std::unique_ptr<TDTDItem> Attr(const char* name) { return std::make_unique<TDTDAttribute>(name); }
std::unique_ptr<TDTDItem> Compound(const char* name, std::unique_ptr<TDTDItem> content) {
  return std::make_unique<TDTDCompound>(name, std::move(content));
}
std::unique_ptr<TDTDItem> EmptyElement(const char* name) {
  return Compound(name, std::make_unique<TDTDEmpty>());
}
std::unique_ptr<TDTDItem> Seq(std::unique_ptr<TDTDItem> a, std::unique_ptr<TDTDItem> b) {
  return std::make_unique<TDTDConcat>(std::move(a), std::move(b));
}

// Score := Tempo, Mute?, Stave+ ; Stave := Room, (Key | Rest)* ; Mute empty.
std::unique_ptr<TDTDItem> ScoreGrammar() {
  auto stave = Compound(
      "Stave", Seq(Attr("Room"), std::make_unique<TDTDRepeatMin0>(
                                     std::make_unique<TDTDChoice>(Attr("Key"), Attr("Rest")))));
  return Compound("Score",
                  Seq(Attr("Tempo"), Seq(std::make_unique<TDTDOptional>(EmptyElement("Mute")),
                                         std::make_unique<TDTDRepeatMin1>(std::move(stave)))));
}

struct Parsed {
  bool ok = false;
  bool fatal = false;
  std::string message;
  std::unique_ptr<TXMLCompound> root = std::make_unique<TXMLCompound>("Root");
};

Parsed ParseText(const std::string& text, const TDTDItem& grammar) {
  std::istringstream in(text);
  const std::vector<TXMLToken> tokens = ReadXMLTokens(in, 1, 1);
  EXPECT_EQ(tokens.back().TokenKind, xmlTokenEof) << tokens.back().Error;
  Parsed parsed;
  const TXMLToken* cursor = tokens.data();
  parsed.ok = grammar.Parse(*parsed.root, cursor, parsed.message, parsed.fatal);
  return parsed;
}

std::string FileText(const TXMLItem& root) {
  std::string bytes;
  std::string bad;
  EXPECT_TRUE(XMLFileText(root, bytes, bad)) << bad;
  return bytes;
}

TEST(XMLWriter, WritesDeclarationDoctypeAndTwoBlanksPerLevel) {
  TXMLCompound score("Score");
  score.AddAttribute("Tempo", "2 s");
  score.AddCompound("Mute");
  TXMLCompound& stave = score.AddCompound("Stave");
  stave.AddAttribute("Room", "80");
  stave.AddAttribute("Key", "G");
  const char* expected =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
      "<!DOCTYPE Score SYSTEM \"Score.dtd\">\n"
      "\n"
      "<Score>\n"
      "  <Tempo>2 s</Tempo>\n"
      "  <Mute />\n"
      "  <Stave>\n"
      "    <Room>80</Room>\n"
      "    <Key>G</Key>\n"
      "  </Stave>\n"
      "</Score>\n";
  EXPECT_EQ(FileText(score), expected);
}

TEST(XMLReader, ReadsBackWhatWasWritten) {
  TXMLCompound score("Score");
  score.AddAttribute("Tempo", "1/4 s");
  score.AddCompound("Mute");
  for (const char* room : {"80", "0"}) {
    TXMLCompound& stave = score.AddCompound("Stave");
    stave.AddAttribute("Room", room);
    stave.AddAttribute("Rest", "4");
    stave.AddAttribute("Key", "F");
  }
  const std::string text = FileText(score);
  // The reader of a music file skips the declaration and the DOCTYPE.
  const auto grammar = ScoreGrammar();
  const Parsed parsed = ParseText(text.substr(text.find("<Score>")), *grammar);
  ASSERT_TRUE(parsed.ok) << parsed.message;
  const TXMLItem* read = parsed.root->GetFirstItem();
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetNext(), nullptr);
  EXPECT_EQ(FileText(*read), text);
  // Where the begin tags stood: "<Score>" ends at column 7 of line 1,
  // "  <Tempo>" at column 9 of line 2.
  EXPECT_EQ(read->GetLine(), 1);
  EXPECT_EQ(read->GetColumn(), 7);
  EXPECT_EQ(read->GetFirstItem()->GetLine(), 2);
  EXPECT_EQ(read->GetFirstItem()->GetColumn(), 9);
}

TEST(XMLReader, KeepsNonAsciiTextsInIso88591) {
  TXMLCompound root("Player");
  root.AddAttribute("SampleWave", "Flöte é");
  const std::string bytes = FileText(root);
  EXPECT_NE(bytes.find("<SampleWave>Fl\xF6te \xE9</SampleWave>"), std::string::npos);
  std::istringstream in(bytes.substr(bytes.find("<Player>")));
  const std::vector<TXMLToken> tokens = ReadXMLTokens(in, 1, 1);
  ASSERT_GE(tokens.size(), 3u);
  EXPECT_EQ(tokens[2].GetText(), "Flöte é");
}

TEST(XMLWriter, RefusesTextsThatWouldNotReadBack) {
  for (const char* text : {"Ω", "a<b", "a>b", "", " lead", "tail ", "two\nlines"}) {
    TXMLCompound root("Player");
    root.AddAttribute("SampleWave", "fine");
    root.AddAttribute("SampleWave", text);
    std::string bytes;
    std::string bad;
    EXPECT_FALSE(XMLFileText(root, bytes, bad)) << text;
    EXPECT_EQ(bad, text);
  }
}

struct TokenCase {
  const char* input;
  // Each token as kind, name or text, line and column.
  const char* tokens;
};

std::string Describe(const std::vector<TXMLToken>& tokens) {
  std::string text;
  for (const TXMLToken& token : tokens) {
    static const char* kinds[] = {"text", "begin", "end", "empty", "eof", "error"};
    text += kinds[token.TokenKind];
    if (token.TokenKind == xmlTokenAttr) text += " \"" + token.GetText() + "\"";
    if (token.TokenKind >= xmlTokenBegin && token.TokenKind <= xmlTokenEmpty) {
      text += " " + token.GetName();
    }
    if (token.TokenKind == xmlTokenError) text += " " + token.GetError();
    text += " " + std::to_string(token.Line) + ":" + std::to_string(token.Column) + "; ";
  }
  return text;
}

class TokenizerTable : public testing::TestWithParam<TokenCase> {};

TEST_P(TokenizerTable, GivesKindsTextsAndPositions) {
  std::istringstream in(GetParam().input);
  EXPECT_EQ(Describe(ReadXMLTokens(in, 1, 1)), GetParam().tokens);
}

// A tag's position is its '>', a text's its last character, the end of the
// file where the next character would stand.
INSTANTIATE_TEST_SUITE_P(
    XMLTokenizer, TokenizerTable,
    testing::Values(
        TokenCase{"<Tempo> 120 </Tempo>",
                  "begin Tempo 1:7; text \"120\" 1:12; end Tempo 1:20; eof 1:21; "},
        TokenCase{"< Stave >\n</ Stave >\n<Mute / >",
                  "begin Stave 1:9; end Stave 2:10; empty Mute 3:9; eof 3:10; "},
        TokenCase{"<A>x\ty\r\n</A>", "begin A 1:3; text \"x y\" 1:8; end A 2:4; eof 2:5; "},
        TokenCase{"<Stave a=\"1\">", "error unexpected 'a' found in line 1, column 8. 1:8; "},
        TokenCase{"<A>x",
                  "begin A 1:3; error unexpected end-of-file  found in line 1, column 5. "
                  "1:5; "},
        TokenCase{"x>", "error unexpected '>' found in line 1, column 2. 1:2; "},
        TokenCase{"<\xC4>", "error unexpected 'Ä' found in line 1, column 2. 1:2; "},
        TokenCase{"<A/x>", "error unexpected 'x' found in line 1, column 4. 1:4; "},
        TokenCase{"</A/>", "error unexpected '/' found in line 1, column 4. 1:4; "}));

struct GrammarCase {
  const char* input;
  const char* message;
  bool fatal;
};

class GrammarTable : public testing::TestWithParam<GrammarCase> {};

TEST_P(GrammarTable, FailsWithTheFirstMessage) {
  const auto grammar = ScoreGrammar();
  const Parsed parsed = ParseText(GetParam().input, *grammar);
  EXPECT_FALSE(parsed.ok);
  EXPECT_EQ(parsed.message, GetParam().message);
  EXPECT_EQ(parsed.fatal, GetParam().fatal);
  // A failed element is not kept.
  EXPECT_EQ(parsed.root->GetFirstItem(), nullptr);
}

// Columns counted by hand: "<Score>" 1-7, "<Tempo>" 8-14, "1" 15,
// "</Tempo>" 16-23.
INSTANTIATE_TEST_SUITE_P(
    XMLGrammar, GrammarTable,
    testing::Values(
        GrammarCase{"<Score><Tempo/></Score>",
                    "unexpected empty element \"Tempo\", expect begin of element \"Tempo\". at "
                    "line 1, column 15.",
                    true},
        GrammarCase{
            "<Score>x</Score>",
            "unexpected text \"x\", expect begin of element \"Tempo\". at line 1, column 8.", true},
        GrammarCase{"<Score><Tempo></Tempo>",
                    "unexpected end of element \"Tempo\", expect text, at line 1, column 14.",
                    true},
        GrammarCase{"<Score><Tempo>1</Temp>",
                    "end of element \"Temp\" does not match begin of element \"Tempo\", at line 1, "
                    "column 22.",
                    true},
        GrammarCase{"<Score><Tempo>1</Tempo></Score>",
                    "unexpected end of element \"Score\", expect begin of element \"Stave\", at "
                    "line 1, column 31.",
                    true},
        GrammarCase{"<Score><Tempo>1</Tempo><Stave/></Score>",
                    "element \"Stave\" should not be empty, at line 1, column 31.", true},
        GrammarCase{"<Score><Tempo>1</Tempo>",
                    "unexpected end-of-file, expect begin of element \"Mute\", at line 1, column "
                    "24.",
                    true},
        GrammarCase{"<Score><Tempo>1</Tempo><Mute /><Stave><Room>1</Room><Key>G</Key><Rest>4</"
                    "Rest><Tempo>",
                    "unexpected begin of element \"Tempo\", expect end of element \"Stave\", at "
                    "line 1, column 85.",
                    true},
        GrammarCase{"<Score>\n  <Tempo>1</Tempo>\n  <Stave>\n  </Stave>",
                    "unexpected end of element \"Stave\", expect begin of element \"Room\". at "
                    "line 4, column 10.",
                    true},
        GrammarCase{"<Tempo>1</Tempo>",
                    "unexpected begin of element \"Tempo\", expect begin of element \"Score\", at "
                    "line 1, column 7.",
                    false}));

TEST(XMLGrammar, FailedAlternativeLeavesTheTreeAsItWas) {
  // (Key, Rest) | (Key, Dot): the first alternative appends Key before it
  // fails on Dot; the second must start from an empty parent again.
  TDTDChoice choice(Seq(Attr("Key"), Attr("Rest")), Seq(Attr("Key"), Attr("Dot")));
  const Parsed parsed = ParseText("<Key>G</Key><Dot>1</Dot>", choice);
  ASSERT_TRUE(parsed.ok) << parsed.message;
  std::string names;
  for (const TXMLItem* item = parsed.root->GetFirstItem(); item != nullptr;
       item = item->GetNext()) {
    names += item->GetElement() + "=" + item->GetAttribute() + " ";
  }
  EXPECT_EQ(names, "Key=G Dot=1 ");
}

TEST(XMLGrammar, CanBeEmptyFollowsTheOperators) {
  auto empty = [] { return std::make_unique<TDTDEmpty>(); };
  EXPECT_FALSE(Attr("A")->CanBeEmpty());
  EXPECT_FALSE(EmptyElement("A")->CanBeEmpty());
  EXPECT_TRUE(TDTDConcat(empty(), std::make_unique<TDTDOptional>(Attr("A"))).CanBeEmpty());
  EXPECT_FALSE(TDTDConcat(empty(), Attr("A")).CanBeEmpty());
  EXPECT_TRUE(TDTDChoice(Attr("A"), empty()).CanBeEmpty());
  EXPECT_FALSE(TDTDChoice(Attr("A"), Attr("B")).CanBeEmpty());
  EXPECT_TRUE(TDTDRepeatMin0(Attr("A")).CanBeEmpty());
  EXPECT_FALSE(TDTDRepeatMin1(Attr("A")).CanBeEmpty());
  EXPECT_TRUE(TDTDRepeatMin1(std::make_unique<TDTDOptional>(Attr("A"))).CanBeEmpty());
}

TEST(XMLGrammar, LongRepetitionsDoNotExhaustTheStack) {
  std::string text = "<Score><Tempo>1</Tempo><Stave><Room>1</Room>";
  for (int i = 0; i < 50000; ++i) text += "<Key>G</Key>";
  text += "</Stave></Score>";
  const auto grammar = ScoreGrammar();
  const Parsed parsed = ParseText(text, *grammar);
  EXPECT_TRUE(parsed.ok) << parsed.message;
}

}  // namespace
