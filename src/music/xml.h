#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

// The small XML subset of the music files: nested elements without
// attributes, each holding child elements, one text, or nothing. Files are
// ISO-8859-1; texts in memory are UTF-8, converted when written and read.

inline constexpr std::uint8_t kXMLCompound = 0;
inline constexpr std::uint8_t kXMLAttribute = 1;

class TXMLCompound;

// One element of a tree. Siblings form a singly linked list owned from the
// first child onwards.
class TXMLItem {
 public:
  virtual ~TXMLItem();
  TXMLItem(const TXMLItem&) = delete;
  TXMLItem& operator=(const TXMLItem&) = delete;

  TXMLItem* GetNext() const { return next_.get(); }
  const std::string& GetElement() const { return element_; }
  std::uint8_t GetKind() const { return kind_; }
  // Where the begin tag was read; 0 for trees built in memory.
  std::int32_t GetLine() const { return line_; }
  std::int32_t GetColumn() const { return column_; }

  // The text of an attribute; asking a compound is a programming error.
  virtual std::string GetAttribute() const;
  // The first child of a compound; asking an attribute is a programming error.
  virtual TXMLItem* GetFirstItem() const;
  // Appends the element at `level` (two blanks per level) to `out`, in UTF-8.
  virtual void WriteItem(std::string& out, int level) const = 0;

 protected:
  TXMLItem(std::string element, std::uint8_t kind, std::int32_t line, std::int32_t column);

 private:
  friend class TXMLCompound;
  std::unique_ptr<TXMLItem> next_;
  std::string element_;
  std::uint8_t kind_;
  std::int32_t line_;
  std::int32_t column_;
};

class TXMLCompound : public TXMLItem {
 public:
  explicit TXMLCompound(std::string element, std::int32_t line = 0, std::int32_t column = 0)
      : TXMLItem(std::move(element), kXMLCompound, line, column) {}
  ~TXMLCompound() override;

  TXMLItem* GetFirstItem() const override { return first_.get(); }
  TXMLItem* GetLastItem() const { return last_; }
  void WriteItem(std::string& out, int level) const override;

  // Appends at the end of the children and returns the item.
  TXMLItem& AddItem(std::unique_ptr<TXMLItem> item);
  // Shortcuts for building trees in code.
  TXMLCompound& AddCompound(const std::string& element);
  void AddAttribute(const std::string& element, const std::string& text);
  // Destroys every child after `last` (all of them when `last` is none):
  // what a failed grammar alternative had appended.
  void RemoveAfter(TXMLItem* last);

 private:
  std::unique_ptr<TXMLItem> first_;
  TXMLItem* last_ = nullptr;
};

class TXMLAttribute : public TXMLItem {
 public:
  TXMLAttribute(std::string element, std::string text, std::int32_t line = 0,
                std::int32_t column = 0)
      : TXMLItem(std::move(element), kXMLAttribute, line, column), text_(std::move(text)) {}

  std::string GetAttribute() const override { return text_; }
  void WriteItem(std::string& out, int level) const override;

 private:
  std::string text_;
};

// The whole file for a tree: declaration, DOCTYPE for the root's name, an
// empty line and the root at level 0, in ISO-8859-1. False when a text holds
// a character ISO-8859-1 cannot hold; `badText` is that text.
bool XMLFileText(const TXMLItem& root, std::string& bytes, std::string& badText);

// Writes the file beside the target and renames it over it once complete.
// False, with the file left as it was, when a text cannot be encoded
// (`badText`) or the file cannot be written (`badText` empty).
bool WriteXMLFile(const TXMLItem& root, const std::string& fileName, std::string& badText);

// Conversions between the file's ISO-8859-1 and UTF-8 in memory. A byte
// sequence that is not UTF-8 is taken byte for byte as ISO-8859-1, so no
// text is refused for its bytes alone; a character above U+00FF cannot be
// written and makes the conversion fail.
bool UTF8ToLatin1(const std::string& text, std::string& latin1);
std::string Latin1ToUTF8(const std::string& latin1);

// ---------------------------------------------------------------------------
// Tokens.

enum TXMLTokenKind : std::uint8_t {
  xmlTokenAttr = 0,   // text between tags
  xmlTokenBegin = 1,  // <Name>
  xmlTokenEnd = 2,    // </Name>
  xmlTokenEmpty = 3,  // <Name/>
  xmlTokenEof = 4,
  xmlTokenError = 5,  // a character not allowed where it stands
};

class TXMLToken {
 public:
  TXMLToken(TXMLTokenKind kind, std::int32_t line, std::int32_t column)
      : TokenKind(kind), Line(line), Column(column) {}

  // The tag's name; only for tags.
  const std::string& GetName() const;
  // The trimmed text, in UTF-8; only for text tokens.
  const std::string& GetText() const;
  // The message; only for error tokens.
  const std::string& GetError() const;

  TXMLTokenKind TokenKind;
  std::string Name;
  std::string Text;
  std::string Error;
  // Where the token ended.
  std::int32_t Line;
  std::int32_t Column;
};

// Reads tokens from a stream. The counters are the caller's to set (the
// music file starts counting at line 3). Every byte counts one column; a
// token's position is that of its last character (of the end of the file
// for the end-of-file token, of the offending character for an error).
class TXMLTokenizer {
 public:
  TXMLTokenizer(std::istream& in, std::int32_t line, std::int32_t column)
      : in_(in), line_(line), column_(column), lastLine_(line), lastColumn_(column) {}

  TXMLToken Next();

 private:
  // The next byte (0 ... 255) or -1 at the end, counted.
  int Get();
  TXMLToken Make(TXMLTokenKind kind) const;
  TXMLToken MakeError(int character) const;

  std::istream& in_;
  // Where the next byte stands.
  std::int32_t line_;
  std::int32_t column_;
  // Where the last byte read stood.
  std::int32_t lastLine_;
  std::int32_t lastColumn_;
};

// Every token up to and including the end of the file or the first error.
std::vector<TXMLToken> ReadXMLTokens(std::istream& in, std::int32_t line, std::int32_t column);
