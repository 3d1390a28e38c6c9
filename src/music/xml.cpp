#include "music/xml.h"

#include <utility>

#include "base/atomicfile.h"
#include "base/tbassert.h"

TXMLItem::TXMLItem(std::string element, std::uint8_t kind, std::int32_t line, std::int32_t column)
    : element_(std::move(element)), kind_(kind), line_(line), column_(column) {}

TXMLItem::~TXMLItem() {
  // Siblings are released one by one: a long list must not recurse.
  while (next_ != nullptr) next_ = std::move(next_->next_);
}

std::string TXMLItem::GetAttribute() const {
  TB_ASSERT_TEXT(false, "false");
  return std::string();
}

TXMLItem* TXMLItem::GetFirstItem() const {
  TB_ASSERT_TEXT(false, "false");
  return nullptr;
}

TXMLCompound::~TXMLCompound() {
  while (first_ != nullptr) first_ = std::move(first_->next_);
}

TXMLItem& TXMLCompound::AddItem(std::unique_ptr<TXMLItem> item) {
  TB_ASSERT(item != nullptr);
  item->next_.reset();
  TXMLItem* added = item.get();
  if (last_ == nullptr) {
    first_ = std::move(item);
  } else {
    last_->next_ = std::move(item);
  }
  last_ = added;
  return *added;
}

TXMLCompound& TXMLCompound::AddCompound(const std::string& element) {
  return static_cast<TXMLCompound&>(AddItem(std::make_unique<TXMLCompound>(element)));
}

void TXMLCompound::AddAttribute(const std::string& element, const std::string& text) {
  AddItem(std::make_unique<TXMLAttribute>(element, text));
}

void TXMLCompound::RemoveAfter(TXMLItem* last) {
  std::unique_ptr<TXMLItem>& tail = last == nullptr ? first_ : last->next_;
  while (tail != nullptr) tail = std::move(tail->next_);
  last_ = last;
}

void TXMLCompound::WriteItem(std::string& out, int level) const {
  out.append(2 * static_cast<std::size_t>(level), ' ');
  if (first_ == nullptr) {
    out += "<" + GetElement() + " />\n";
    return;
  }
  out += "<" + GetElement() + ">\n";
  for (const TXMLItem* item = first_.get(); item != nullptr; item = item->GetNext()) {
    item->WriteItem(out, level + 1);
  }
  out.append(2 * static_cast<std::size_t>(level), ' ');
  out += "</" + GetElement() + ">\n";
}

void TXMLAttribute::WriteItem(std::string& out, int level) const {
  out.append(2 * static_cast<std::size_t>(level), ' ');
  out += "<" + GetElement() + ">" + text_ + "</" + GetElement() + ">\n";
}

namespace {

bool IsBlankOrControl(unsigned char c) { return c <= 0x20 || c == 0x7F; }

// Whether the tokenizer gives the text back as it is: it trims blanks and
// control characters, turns line breaks and tabs into blanks, and cannot
// take a text that is empty or holds a tag character.
bool ReadsBack(const std::string& latin1) {
  if (latin1.empty()) return false;
  if (IsBlankOrControl(static_cast<unsigned char>(latin1.front())) ||
      IsBlankOrControl(static_cast<unsigned char>(latin1.back()))) {
    return false;
  }
  for (const char c : latin1) {
    if (c == '<' || c == '>' || c == '\t' || c == '\n' || c == '\r') return false;
  }
  return true;
}

bool EncodeTree(const TXMLItem& item, std::string& badText) {
  if (item.GetKind() == kXMLAttribute) {
    std::string latin1;
    const std::string text = item.GetAttribute();
    if (!UTF8ToLatin1(text, latin1) || !ReadsBack(latin1)) {
      badText = text;
      return false;
    }
    return true;
  }
  for (const TXMLItem* child = item.GetFirstItem(); child != nullptr; child = child->GetNext()) {
    if (!EncodeTree(*child, badText)) return false;
  }
  return true;
}

}  // namespace

bool XMLFileText(const TXMLItem& root, std::string& bytes, std::string& badText) {
  badText.clear();
  if (!EncodeTree(root, badText)) return false;
  std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
  text += "<!DOCTYPE " + root.GetElement() + " SYSTEM \"" + root.GetElement() + ".dtd\">\n\n";
  root.WriteItem(text, 0);
  // Names are letters and digits and every text was checked above.
  const bool encoded = UTF8ToLatin1(text, bytes);
  TB_ASSERT(encoded);
  return true;
}

bool WriteXMLFile(const TXMLItem& root, const std::string& fileName, std::string& badText) {
  std::string bytes;
  if (!XMLFileText(root, bytes, badText)) return false;
  return WriteFileSafely(fileName, bytes);
}

bool UTF8ToLatin1(const std::string& text, std::string& latin1) {
  latin1.clear();
  latin1.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      latin1 += static_cast<char>(c);
      ++i;
      continue;
    }
    // The length and first bits of a well-formed sequence; anything else is
    // taken as one ISO-8859-1 byte.
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      code = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      code = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      code = c & 0x07u;
    }
    bool wellFormed = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; wellFormed && k < length; ++k) {
      const auto follow = static_cast<unsigned char>(text[i + k]);
      if ((follow & 0xC0u) != 0x80u) wellFormed = false;
      code = (code << 6) | (follow & 0x3Fu);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (wellFormed && (code < smallest[length] || code > 0x10FFFF)) wellFormed = false;
    if (!wellFormed) {
      latin1 += static_cast<char>(c);
      ++i;
      continue;
    }
    if (code > 0xFF) return false;
    latin1 += static_cast<char>(code);
    i += length;
  }
  return true;
}

std::string Latin1ToUTF8(const std::string& latin1) {
  std::string text;
  text.reserve(latin1.size());
  for (const char byte : latin1) {
    const auto c = static_cast<unsigned char>(byte);
    if (c < 0x80) {
      text += byte;
    } else {
      text += static_cast<char>(0xC0 | (c >> 6));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return text;
}

// ---------------------------------------------------------------------------

const std::string& TXMLToken::GetName() const {
  TB_ASSERT(TokenKind == xmlTokenBegin || TokenKind == xmlTokenEnd || TokenKind == xmlTokenEmpty);
  return Name;
}

const std::string& TXMLToken::GetText() const {
  TB_ASSERT(TokenKind == xmlTokenAttr);
  return Text;
}

const std::string& TXMLToken::GetError() const {
  TB_ASSERT(TokenKind == xmlTokenError);
  return Error;
}

namespace {

enum class CharClass { Space, Letter, Other, Slash, Open, Close, End };

CharClass Classify(int c) {
  if (c < 0) return CharClass::End;
  // A carriage return is a blank: files written on systems that end lines
  // with CR LF read as those that end them with LF.
  if (c == ' ' || c == '\t' || c == '\n' || c == '\r') return CharClass::Space;
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
    return CharClass::Letter;
  }
  if (c == '/') return CharClass::Slash;
  if (c == '<') return CharClass::Open;
  if (c == '>') return CharClass::Close;
  return CharClass::Other;
}

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankOrControl(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && IsBlankOrControl(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

int TXMLTokenizer::Get() {
  const int c = in_.get();
  if (c == std::char_traits<char>::eof()) return -1;
  lastLine_ = line_;
  lastColumn_ = column_;
  if (c == '\n') {
    ++line_;
    column_ = 1;
  } else {
    ++column_;
  }
  return c;
}

TXMLToken TXMLTokenizer::Make(TXMLTokenKind kind) const {
  return TXMLToken(kind, lastLine_, lastColumn_);
}

TXMLToken TXMLTokenizer::MakeError(int character) const {
  TXMLToken token = character < 0 ? TXMLToken(xmlTokenError, line_, column_) : Make(xmlTokenError);
  const std::string what =
      character < 0 ? std::string("end-of-file ")
                    : "'" + Latin1ToUTF8(std::string(1, static_cast<char>(character))) + "'";
  token.Error = "unexpected " + what + " found in line " + std::to_string(token.Line) +
                ", column " + std::to_string(token.Column) + ".";
  return token;
}

TXMLToken TXMLTokenizer::Next() {
  enum class State { S0, S1, S2, S3, S4, S5, S6, S7, S8 };
  State state = State::S0;
  std::string name;
  std::string text;
  const auto appendText = [&text](int c) {
    text += (c == '\t' || c == '\n' || c == '\r') ? ' ' : static_cast<char>(c);
  };
  for (;;) {
    if (state == State::S1) {
      // The '<' that ends a text starts the next token.
      const int next = in_.peek();
      if (next == '<') {
        TXMLToken token = Make(xmlTokenAttr);
        token.Text = Latin1ToUTF8(Trimmed(text));
        return token;
      }
    }
    const int c = Get();
    const CharClass cls = Classify(c);
    switch (state) {
      case State::S0:
        if (cls == CharClass::Space) break;
        if (cls == CharClass::Letter || cls == CharClass::Other || cls == CharClass::Slash) {
          appendText(c);
          state = State::S1;
          break;
        }
        if (cls == CharClass::Open) {
          state = State::S2;
          break;
        }
        if (cls == CharClass::End) return TXMLToken(xmlTokenEof, line_, column_);
        return MakeError(c);
      case State::S1:
        if (cls == CharClass::Close || cls == CharClass::End) return MakeError(c);
        appendText(c);
        break;
      case State::S2:
        if (cls == CharClass::Space) break;
        if (cls == CharClass::Letter) {
          name += static_cast<char>(c);
          state = State::S3;
          break;
        }
        if (cls == CharClass::Slash) {
          state = State::S6;
          break;
        }
        return MakeError(c);
      case State::S3:
      case State::S4:
        if (cls == CharClass::Space) {
          state = State::S4;
          break;
        }
        if (cls == CharClass::Letter && state == State::S3) {
          name += static_cast<char>(c);
          break;
        }
        if (cls == CharClass::Slash) {
          state = State::S5;
          break;
        }
        if (cls == CharClass::Close) {
          TXMLToken token = Make(xmlTokenBegin);
          token.Name = name;
          return token;
        }
        return MakeError(c);
      case State::S5:
        if (cls == CharClass::Space) break;
        if (cls == CharClass::Close) {
          TXMLToken token = Make(xmlTokenEmpty);
          token.Name = name;
          return token;
        }
        return MakeError(c);
      case State::S6:
        if (cls == CharClass::Space) break;
        if (cls == CharClass::Letter) {
          name += static_cast<char>(c);
          state = State::S7;
          break;
        }
        return MakeError(c);
      case State::S7:
      case State::S8:
        if (cls == CharClass::Space) {
          state = State::S8;
          break;
        }
        if (cls == CharClass::Letter && state == State::S7) {
          name += static_cast<char>(c);
          break;
        }
        if (cls == CharClass::Close) {
          TXMLToken token = Make(xmlTokenEnd);
          token.Name = name;
          return token;
        }
        return MakeError(c);
    }
  }
}

std::vector<TXMLToken> ReadXMLTokens(std::istream& in, std::int32_t line, std::int32_t column) {
  TXMLTokenizer tokenizer(in, line, column);
  std::vector<TXMLToken> tokens;
  for (;;) {
    tokens.push_back(tokenizer.Next());
    const TXMLTokenKind kind = tokens.back().TokenKind;
    if (kind == xmlTokenEof || kind == xmlTokenError) return tokens;
  }
}
