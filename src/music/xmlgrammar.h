#pragma once

#include <memory>
#include <string>

#include "music/xml.h"

// The grammar of element content, built in code: it checks a token list and
// builds the tree in one pass, with a precise message at the first error.
//
// Parse matches tokens from `cursor` (which points into a token list that
// ends with an end-of-file token), appends what it recognises to `parent`
// and moves the cursor past it. A failure sets `message` and `fatal`: a
// fatal one ends the whole parse, another lets an enclosing choice, option
// or repetition try something else. Callers stop at error tokens before
// parsing; meeting one here is a programming error.

class TDTDItem {
 public:
  virtual ~TDTDItem() = default;
  TDTDItem() = default;
  TDTDItem(const TDTDItem&) = delete;
  TDTDItem& operator=(const TDTDItem&) = delete;

  virtual bool CanBeEmpty() const = 0;
  virtual bool Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
                     bool& fatal) const = 0;
};

// An element with a name.
class TDTDElement : public TDTDItem {
 public:
  explicit TDTDElement(std::string name) : name_(std::move(name)) {}
  bool CanBeEmpty() const override { return false; }
  // Matches the element's end tag; every failure is fatal.
  virtual bool ExpectEnd(const TXMLToken*& cursor, std::string& message, bool& fatal) const;
  const std::string& GetName() const { return name_; }

 private:
  std::string name_;
};

// An element holding one text.
class TDTDAttribute : public TDTDElement {
 public:
  explicit TDTDAttribute(std::string name) : TDTDElement(std::move(name)) {}
  bool Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
             bool& fatal) const override;
};

// An element whose content is an expression; an empty element is a compound
// whose content is TDTDEmpty.
class TDTDCompound : public TDTDElement {
 public:
  TDTDCompound(std::string name, std::unique_ptr<TDTDItem> content)
      : TDTDElement(std::move(name)), content_(std::move(content)) {}
  bool Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
             bool& fatal) const override;

 private:
  std::unique_ptr<TDTDItem> content_;
};

class TDTDExpression : public TDTDItem {};

// Matches no tokens.
class TDTDEmpty : public TDTDExpression {
 public:
  bool CanBeEmpty() const override { return true; }
  bool Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
             bool& fatal) const override;
};

// a, then b.
class TDTDConcat : public TDTDExpression {
 public:
  TDTDConcat(std::unique_ptr<TDTDItem> a, std::unique_ptr<TDTDItem> b)
      : a_(std::move(a)), b_(std::move(b)) {}
  bool CanBeEmpty() const override { return a_->CanBeEmpty() && b_->CanBeEmpty(); }
  bool Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
             bool& fatal) const override;

 private:
  std::unique_ptr<TDTDItem> a_;
  std::unique_ptr<TDTDItem> b_;
};

// a, or else b.
class TDTDChoice : public TDTDExpression {
 public:
  TDTDChoice(std::unique_ptr<TDTDItem> a, std::unique_ptr<TDTDItem> b)
      : a_(std::move(a)), b_(std::move(b)) {}
  bool CanBeEmpty() const override { return a_->CanBeEmpty() || b_->CanBeEmpty(); }
  bool Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
             bool& fatal) const override;

 private:
  std::unique_ptr<TDTDItem> a_;
  std::unique_ptr<TDTDItem> b_;
};

// Zero or one.
class TDTDOptional : public TDTDExpression {
 public:
  explicit TDTDOptional(std::unique_ptr<TDTDItem> item) : item_(std::move(item)) {}
  bool CanBeEmpty() const override { return true; }
  bool Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
             bool& fatal) const override;

 private:
  std::unique_ptr<TDTDItem> item_;
};

// Zero or more.
class TDTDRepeatMin0 : public TDTDExpression {
 public:
  explicit TDTDRepeatMin0(std::unique_ptr<TDTDItem> item) : item_(std::move(item)) {}
  bool CanBeEmpty() const override { return true; }
  bool Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
             bool& fatal) const override;

 private:
  std::unique_ptr<TDTDItem> item_;
};

// One or more.
class TDTDRepeatMin1 : public TDTDExpression {
 public:
  explicit TDTDRepeatMin1(std::unique_ptr<TDTDItem> item) : item_(std::move(item)) {}
  bool CanBeEmpty() const override { return item_->CanBeEmpty(); }
  bool Parse(TXMLCompound& parent, const TXMLToken*& cursor, std::string& message,
             bool& fatal) const override;

 private:
  std::unique_ptr<TDTDItem> item_;
};
