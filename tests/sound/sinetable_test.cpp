#include "sound/sinetable.h"

#include <gtest/gtest.h>

#include "base/allocation.h"
#include "support/recordingui.h"

namespace {

class SineTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateSineTable()); }
  void TearDown() override { DestroySineTable(); }
};

TEST_F(SineTableTest, HoldsOnePeriodTruncatedToward0) {
  const Wave* table = SineTable();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->getValues(), 9000);
  // value i = trunc(sin(2 pi i / 9000) * 32767)
  struct Row {
    int index;
    int value;
  };
  const Row rows[] = {
      {0, 0},          // sin 0
      {1, 22},         // sin(2 pi / 9000) * 32767 = 22.87
      {750, 16383},    // sin(pi / 6) * 32767 = 16383.5, a hair below
      {1500, 28377},   // sin(pi / 3) * 32767 = 28377.35
      {2249, 32766},   // cos(2 pi / 9000) * 32767 = 32766.99
      {2250, 32767},   // the top, at a quarter period
      {4499, 22},      // mirrored: sin(pi - 2 pi / 9000)
      {4500, 0},       // sin pi is 1.2e-16: truncates to 0
      {6749, -32766},  // toward zero, not down
      {6750, -32767},  // the bottom, at three quarters
      {8999, -22},     // one value short of a full period
  };
  for (const Row& row : rows) {
    EXPECT_EQ(table->at(row.index), row.value) << "index " << row.index;
  }
}

TEST(SineTable, LifetimeBuildsAndFrees) {
  {
    SineTableLifetime lifetime;
    ASSERT_NE(SineTable(), nullptr);
    EXPECT_EQ(SineTable()->getValues(), 9000);
  }
  EXPECT_EQ(SineTable(), nullptr);
}

TEST(SineTable, FailureSaysCouldNotCreateSinusOnce) {
  RecordingUi ui;
  FailAllocationAfter(0);
  EXPECT_FALSE(CreateSineTable());
  EXPECT_EQ(SineTable(), nullptr);
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_EQ(ui.messages[0].title, "System Error");
  EXPECT_EQ(ui.messages[0].text, "Could not create sinus.");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
}

}  // namespace
