#include "documents/recordbrowser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recordingui.h"

namespace {

// A record of one factor, read as the dialogs read theirs; the lists below
// hold whole numbers, which it shows without a fraction.
class TNumberRecord : public TBrowseRecord {
 public:
  explicit TNumberRecord(int value) : Value(value) {}
  std::unique_ptr<TBrowseRecord> Clone() const override {
    return std::make_unique<TNumberRecord>(*this);
  }
  unitFactor Value;
};

constexpr int kDefault = 7;

struct TNavigation {
  int count = 0;
  int cursor = 0;
  bool canPrevious = false;
  bool canNext = false;
  bool canDelete = false;
  bool canPaste = false;
  bool operator==(const TNavigation&) const = default;
};

// A browser whose controls are one edit text, without a window.
class TTestBrowser : public TRecordBrowser {
 public:
  explicit TTestBrowser(const std::vector<int>& values) : TRecordBrowser(Records(values)) {
    Open(controls);
  }

  // The values of the list, read the way callers read it after closing.
  std::vector<int> Values() const {
    TTestBrowser closed(*this);
    std::vector<int> values{Value(closed.GetFirstRecord())};
    for (const TBrowseRecord* record = nullptr; closed.GetNextRecord(record);) {
      values.push_back(Value(*record));
    }
    return values;
  }

  std::string text;  // what the edit box shows
  TNavigation navigation;
  std::vector<int> removed;
  int prepared = 0;

 protected:
  void Disconnect() override {}
  void DisconnectCancel() override {}
  void Connect(TBrowserControls&) override {}
  std::unique_ptr<TBrowseRecord> ReadControls() override {
    auto record = std::make_unique<TNumberRecord>(kDefault);
    bool ok = true;
    record->Value.Read(ok, text, "Value");
    return ok ? std::move(record) : nullptr;
  }
  void WriteControls(const TBrowseRecord& record) override {
    text = static_cast<const TNumberRecord&>(record).Value.ToText();
  }
  void PrepareInsert() override { ++prepared; }
  std::unique_ptr<TBrowseRecord> NewRecord() override {
    return std::make_unique<TNumberRecord>(kDefault);
  }
  void UpdateNavigation(int count, int cursor, bool canPrevious, bool canNext, bool canDelete,
                        bool canPaste) override {
    navigation = {count, cursor, canPrevious, canNext, canDelete, canPaste};
  }
  void RemoveRecord(TBrowseRecord& record) override { removed.push_back(Value(record)); }

 private:
  static std::vector<std::unique_ptr<TBrowseRecord>> Records(const std::vector<int>& values) {
    std::vector<std::unique_ptr<TBrowseRecord>> records;
    for (int v : values) records.push_back(std::make_unique<TNumberRecord>(v));
    return records;
  }
  static int Value(const TBrowseRecord& record) {
    return static_cast<int>(static_cast<const TNumberRecord&>(record).Value.GetValue());
  }

  TBrowserControls controls;
};

}  // namespace

TEST(RecordBrowser, OneRecordCannotBeDeletedAndClearLeavesOneDefault) {
  TTestBrowser browser({1, 2, 3});
  browser.Clear();
  EXPECT_EQ(browser.text, "7");
  EXPECT_EQ(browser.navigation, (TNavigation{1, 1, false, false, false, false}));
  browser.text = "4";
  ASSERT_TRUE(browser.CloseOK());
  EXPECT_EQ(browser.GetCount(), 1);
  EXPECT_EQ(browser.Values(), std::vector<int>{4});
}

TEST(RecordBrowser, AppendOnLastAndInsertOnFirst) {
  TTestBrowser appended({1, 2});
  appended.Last();
  appended.text = "5";
  appended.Append();
  // The new record is the edit record; the controls still show 5.
  EXPECT_EQ(appended.navigation, (TNavigation{3, 3, true, false, true, false}));
  EXPECT_EQ(appended.text, "5");
  appended.text = "9";
  appended.First();
  EXPECT_EQ(appended.Values(), (std::vector<int>{1, 5, 9}));

  TTestBrowser inserted({1, 2});
  inserted.text = "4";
  inserted.Insert();
  EXPECT_EQ(inserted.navigation, (TNavigation{3, 1, false, true, true, false}));
  inserted.text = "8";
  inserted.Next();
  EXPECT_EQ(inserted.Values(), (std::vector<int>{8, 4, 2}));
  EXPECT_EQ(inserted.navigation.cursor, 2);
  EXPECT_EQ(appended.prepared + inserted.prepared, 2);
}

TEST(RecordBrowser, DeletingTheLastOfThreeShowsTheSecond) {
  TTestBrowser browser({1, 2, 3});
  browser.Last();
  browser.text = "abc";  // deleting does not read the controls
  browser.Delete();
  EXPECT_EQ(browser.removed, std::vector<int>{3});
  EXPECT_EQ(browser.navigation, (TNavigation{2, 2, true, false, true, false}));
  EXPECT_EQ(browser.text, "2");
  EXPECT_EQ(browser.Values(), (std::vector<int>{1, 2}));
}

TEST(RecordBrowser, WrongValueBlocksEverythingButDeleteAndCancel) {
  RecordingUi ui;
  TTestBrowser browser({1, 2, 3});
  browser.Next();
  browser.text = "abc";
  browser.Next();
  browser.Previous();
  browser.Insert();
  browser.Append();
  EXPECT_FALSE(browser.CloseOK());
  EXPECT_TRUE(browser.GetIsOpen());
  EXPECT_EQ(browser.navigation, (TNavigation{3, 2, true, true, true, false}));
  EXPECT_EQ(browser.prepared, 0);
  EXPECT_EQ(ui.Texts(), std::vector<std::string>(5, "Input Error: In Value: Input has no value."));

  browser.Delete();
  EXPECT_EQ(browser.text, "3");
  browser.text = "abc";
  browser.CloseCancel();
  EXPECT_FALSE(browser.GetIsOpen());
  EXPECT_EQ(browser.GetCount(), 2);
  EXPECT_EQ(ui.messages.size(), 5u);
}

TEST(RecordBrowser, PasteShowsTheCopyStoredOnlyOnMovingOn) {
  TTestBrowser browser({1, 2, 3});
  browser.Copy();
  EXPECT_TRUE(browser.navigation.canPaste);
  browser.Last();
  browser.Paste();
  EXPECT_EQ(browser.text, "1");
  EXPECT_EQ(browser.Values(), (std::vector<int>{1, 2, 3}));
  browser.First();
  EXPECT_EQ(browser.Values(), (std::vector<int>{1, 2, 1}));
}

TEST(RecordBrowser, CopyClonesTheListClosedAndWithoutCopy) {
  TTestBrowser browser({1, 2});
  browser.Copy();
  browser.Next();
  TTestBrowser copy(browser);
  EXPECT_FALSE(copy.GetIsOpen());
  EXPECT_FALSE(copy.HasCopy());
  EXPECT_EQ(copy.GetCursor(), 1);
  EXPECT_EQ(static_cast<const TNumberRecord&>(copy.GetEditRecord()).Value.ToText(), "2");

  browser.text = "9";
  browser.First();
  EXPECT_EQ(browser.Values(), (std::vector<int>{1, 9}));
  EXPECT_EQ(copy.Values(), (std::vector<int>{1, 2}));
  copy = browser;
  EXPECT_EQ(copy.Values(), (std::vector<int>{1, 9}));
  EXPECT_EQ(copy.GetCursor(), 0);
}
