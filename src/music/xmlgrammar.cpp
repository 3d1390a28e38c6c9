#include "music/xmlgrammar.h"

#include "base/tbassert.h"

namespace {

std::string At(const TXMLToken& token) {
  return " at line " + std::to_string(token.Line) + ", column " + std::to_string(token.Column) +
         ".";
}

void CheckToken(const TXMLToken& token) {
  TB_ASSERT_TEXT(token.TokenKind != xmlTokenError, "xmlTokenKind != xmlTokenError");
}

bool Fail(std::string& message, bool& fatal, std::string text, bool isFatal) {
  message = std::move(text);
  fatal = isFatal;
  return false;
}

// The rest of a repetition after its first match: the item again and again
// until it fails. Only a fatal failure fails the repetition; the tokens and
// elements of a non-fatal attempt are given back. A loop rather than the
// repetition calling itself, so that long lists cannot exhaust the stack.
bool RepeatRest(const TDTDItem& item, TXMLCompound& parent, const TXMLToken*& cursor,
                std::string& message, bool& fatal) {
  for (;;) {
    const TXMLToken* before = cursor;
    TXMLItem* last = parent.GetLastItem();
    if (item.Parse(parent, cursor, message, fatal)) {
      // An item that matched nothing would match nothing forever.
      if (cursor == before) return true;
      continue;
    }
    if (fatal) return false;
    cursor = before;
    parent.RemoveAfter(last);
    return true;
  }
}

}  // namespace

bool TDTDElement::ExpectEnd(const TXMLToken*& cursor, std::string& message, bool& fatal) const {
  const TXMLToken& token = *cursor;
  CheckToken(token);
  const std::string expect = "expect end of element \"" + GetName() + "\",";
  switch (token.TokenKind) {
    case xmlTokenEnd:
      if (token.GetName() == GetName()) {
        ++cursor;
        return true;
      }
      return Fail(message, fatal,
                  "end of element \"" + token.GetName() + "\" does not match begin of element \"" +
                      GetName() + "\"," + At(token),
                  true);
    case xmlTokenAttr:
      return Fail(message, fatal,
                  "unexpected text \"" + token.GetText() + "\", " + expect + At(token), true);
    case xmlTokenBegin:
      return Fail(message, fatal,
                  "unexpected begin of element \"" + token.GetName() + "\", " + expect + At(token),
                  true);
    case xmlTokenEmpty:
      return Fail(message, fatal,
                  "unexpected empty element \"" + token.GetName() + "\", " + expect + At(token),
                  true);
    default:
      return Fail(message, fatal, "unexpected end-of-file, " + expect + At(token), true);
  }
}

bool TDTDAttribute::Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
                          bool& fatal) const {
  const TXMLToken& token = *cursor;
  CheckToken(token);
  const std::string expect = "expect begin of element \"" + GetName() + "\".";
  switch (token.TokenKind) {
    case xmlTokenAttr:
      return Fail(message, fatal,
                  "unexpected text \"" + token.GetText() + "\", " + expect + At(token), true);
    case xmlTokenBegin: {
      if (token.GetName() != GetName()) {
        return Fail(
            message, fatal,
            "unexpected begin of element \"" + token.GetName() + "\", " + expect + At(token),
            false);
      }
      const TXMLToken& text = cursor[1];
      CheckToken(text);
      switch (text.TokenKind) {
        case xmlTokenAttr:
          break;
        case xmlTokenBegin:
          return Fail(
              message, fatal,
              "unexpected begin of element \"" + text.GetName() + "\", expect text," + At(token),
              true);
        case xmlTokenEnd:
          return Fail(
              message, fatal,
              "unexpected end of element \"" + text.GetName() + "\", expect text," + At(token),
              true);
        case xmlTokenEmpty:
          return Fail(
              message, fatal,
              "unexpected empty element \"" + text.GetName() + "\", expect text," + At(token),
              true);
        default:
          return Fail(message, fatal, "unexpected end-of-file, expect text," + At(token), true);
      }
      parent.AddItem(
          std::make_unique<TXMLAttribute>(GetName(), text.GetText(), token.Line, token.Column));
      cursor += 2;
      return ExpectEnd(cursor, message, fatal);
    }
    case xmlTokenEnd:
      return Fail(message, fatal,
                  "unexpected end of element \"" + token.GetName() + "\", " + expect + At(token),
                  false);
    case xmlTokenEmpty:
      return Fail(message, fatal,
                  "unexpected empty element \"" + token.GetName() + "\", " + expect + At(token),
                  false);
    default:
      return Fail(message, fatal, "unexpected end-of-file, " + expect + At(token), true);
  }
}

bool TDTDCompound::Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
                         bool& fatal) const {
  const TXMLToken& token = *cursor;
  CheckToken(token);
  const std::string expect = "expect begin of element \"" + GetName() + "\",";
  switch (token.TokenKind) {
    case xmlTokenAttr:
      return Fail(message, fatal,
                  "unexpected text \"" + token.GetText() + "\", " + expect + At(token), true);
    case xmlTokenBegin: {
      if (token.GetName() != GetName()) {
        return Fail(
            message, fatal,
            "unexpected begin of element \"" + token.GetName() + "\", " + expect + At(token),
            false);
      }
      ++cursor;
      auto element = std::make_unique<TXMLCompound>(GetName(), token.Line, token.Column);
      if (!content_->Parse(*element, cursor, message, fatal)) {
        fatal = true;
        return false;
      }
      parent.AddItem(std::move(element));
      return ExpectEnd(cursor, message, fatal);
    }
    case xmlTokenEnd:
      return Fail(message, fatal,
                  "unexpected end of element \"" + token.GetName() + "\", " + expect + At(token),
                  false);
    case xmlTokenEmpty:
      if (token.GetName() != GetName()) {
        return Fail(message, fatal,
                    "unexpected empty element \"" + token.GetName() + "\", " + expect + At(token),
                    false);
      }
      if (!content_->CanBeEmpty()) {
        return Fail(message, fatal,
                    "element \"" + GetName() + "\" should not be empty," + At(token), true);
      }
      ++cursor;
      parent.AddItem(std::make_unique<TXMLCompound>(GetName(), token.Line, token.Column));
      return true;
    default:
      return Fail(message, fatal, "unexpected end-of-file, " + expect + At(token), true);
  }
}

bool TDTDEmpty::Parse(TXMLCompound& /*parent*/, const TXMLToken*& cursor, std::string& /*message*/,
                      bool& /*fatal*/) const {
  CheckToken(*cursor);
  return true;
}

bool TDTDConcat::Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
                       bool& fatal) const {
  return a_->Parse(parent, cursor, message, fatal) && b_->Parse(parent, cursor, message, fatal);
}

bool TDTDChoice::Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
                       bool& fatal) const {
  const TXMLToken* before = cursor;
  TXMLItem* last = parent.GetLastItem();
  if (a_->Parse(parent, cursor, message, fatal)) return true;
  if (fatal) return false;
  cursor = before;
  parent.RemoveAfter(last);
  return b_->Parse(parent, cursor, message, fatal);
}

bool TDTDOptional::Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
                         bool& fatal) const {
  const TXMLToken* before = cursor;
  TXMLItem* last = parent.GetLastItem();
  if (item_->Parse(parent, cursor, message, fatal)) return true;
  if (fatal) return false;
  cursor = before;
  parent.RemoveAfter(last);
  return true;
}

bool TDTDRepeatMin0::Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
                           bool& fatal) const {
  return RepeatRest(*item_, parent, cursor, message, fatal);
}

bool TDTDRepeatMin1::Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
                           bool& fatal) const {
  if (!item_->Parse(parent, cursor, message, fatal)) return false;
  return RepeatRest(*item_, parent, cursor, message, fatal);
}
