#include "app/helpwindow.h"

#include <gtest/gtest.h>

#include <string>

#include "app/commandtable.h"
#include "documents/fields.h"

namespace {

// Every command a user can reach has a place in the book, and a command
// with a dialog lists each of its fields there.
TEST(HelpBook, EveryReachableCommandHasATopicWithItsFields) {
  THelpWindow help;
  for (const TCommandRow& row : CommandRows()) {
    if (row.Rule == TCommandRule::Hidden || std::string(row.Category) == "key" ||
        std::string(row.Category).starts_with("Music")) {
      continue;
    }
    ASSERT_TRUE(help.ShowTopic(row.Name)) << row.Name;
    const QString page = help.CurrentSource().section('#', 0, 0);
    const TFormDesc* form = row.Wave ? FindForm(*row.Wave) : nullptr;
    if (form == nullptr) continue;
    for (const TFieldDesc& field : form->fields) {
      EXPECT_TRUE(help.PageText(page).contains(QString::fromStdString(field.label).trimmed()))
          << row.Name << ": " << field.label;
    }
  }
}

TEST(HelpBook, SearchFindsPagesHoldingEveryWordWhateverTheCase) {
  THelpWindow help;
  const QStringList both = help.Search("notch HUM");
  ASSERT_FALSE(both.isEmpty());
  for (const QString& page : both) {
    EXPECT_TRUE(help.PageText(page).contains("notch", Qt::CaseInsensitive));
    EXPECT_TRUE(help.PageText(page).contains("hum", Qt::CaseInsensitive));
  }
  EXPECT_TRUE(help.Search("notch xylophonequartz").isEmpty());
}

}  // namespace
