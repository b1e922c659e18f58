#include <gtest/gtest.h>

#include <map>

#include "model/KeyCodeTable.h"
#include "platform/KeyboardLayout.h"

namespace {

class KeyCodeTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(platform::SetKeyboardLayout("us")); }
};

TEST_F(KeyCodeTableTest, WholeTableRoundTripsUnderUsLayout) {
  std::map<uint8_t, int> firstRowOfUsage;
  std::map<uint8_t, int> firstRowOfKey;
  const auto table = KeyCodeTable();
  for (int i = 0; i < kKeyCodeRowCount; ++i) {
    firstRowOfUsage.emplace(table[i].usage, i);
    if (table[i].virtualKey != 0) firstRowOfKey.emplace(table[i].virtualKey, i);
  }
  // The mouse rows carry scan codes no keyboard has, so their usages name no key.
  const std::map<uint8_t, uint16_t> usageExceptions = {{0xF0, 0}, {0xF1, 0}, {0xF2, 0}};
  for (int i = 0; i < kKeyCodeRowCount; ++i) {
    const KeyCodeRow& row = table[i];
    if (firstRowOfUsage[row.usage] == i) {
      const auto exception = usageExceptions.find(row.usage);
      const uint16_t expected =
          exception != usageExceptions.end() ? exception->second : row.virtualKey;
      EXPECT_EQ(UsageToVirtualKey(row.usage), expected) << "row " << i + 1;
    }
    if (row.virtualKey != 0 && firstRowOfKey[row.virtualKey] == i) {
      EXPECT_EQ(VirtualKeyToUsage(row.virtualKey), row.usage) << "row " << i + 1;
    }
  }
}

TEST_F(KeyCodeTableTest, TableKeepsItsOrder) {
  const auto table = KeyCodeTable();
  struct Case {
    int row;  // counted from 1
    KeyCodeRow expected;
  };
  const Case cases[] = {
      {1, {0x04, 0x41, 0x1E, 0}},      {36, {0x27, 0x30, 0x0B, 0}},
      {53, {0x39, 0x14, 0x3A, 0}},     {82, {0x67, 0x00, 0x00, 0}},
      {117, {0x8F, 0, 0, 0}},          {121, {0xE5, 0xA1, 0x36, 0}},
      {127, {0x4A, 0x24, 0x47, 0xE0}}, {140, {0x66, 0x00, 0x5E, 0xE0}},
      {145, {0x48, 0x13, 0x45, 0}},    {158, {0x87, 0xF7, 0xF7, 0}},
  };
  for (const Case& c : cases) {
    const KeyCodeRow& row = table[c.row - 1];
    EXPECT_EQ(row.usage, c.expected.usage) << "row " << c.row;
    EXPECT_EQ(row.virtualKey, c.expected.virtualKey) << "row " << c.row;
    EXPECT_EQ(row.scanCode, c.expected.scanCode) << "row " << c.row;
    EXPECT_EQ(row.prefix, c.expected.prefix) << "row " << c.row;
  }
}

TEST_F(KeyCodeTableTest, SharedScanCodesPickTheExtendedRowOnlyForExtendedKeys) {
  struct Case {
    uint16_t virtualKey;
    uint8_t usage;
    const char* what;
  };
  const Case cases[] = {
      {0x24, 0x4A, "Home"},
      {0x67, 0x5F, "keypad 7"},
      {0x25, 0x50, "Left arrow"},
      {0x64, 0x5C, "keypad 4"},
      {0x2E, 0x4C, "Delete"},
      {0x6E, 0x63, "keypad decimal"},
      {0x0D, 0x28, "Enter"},
      {0xA3, 0xE4, "right Ctrl"},
      {0xA2, 0xE0, "left Ctrl"},
      {0x11, 0xE0, "Ctrl"},
      {0xA5, 0xE6, "right Alt"},
      {0xA4, 0xE2, "left Alt"},
      {0x6F, 0x54, "keypad divide"},
      {0xBF, 0x38, "slash"},
      {0x5D, 0x65, "Application"},
      {0x5B, 0xE3, "left Windows"},
      {0x6A, 0x55, "keypad multiply"},
      {0x2C, 0x46, "Print Screen"},
      {0x90, 0x53, "Num Lock"},
      {0x13, 0x48, "Pause"},
      {0xF3, 0x35, "later row, key without scan code"},
      {0x00, 0x00, "no key"},
      {0x07, 0x00, "unknown key"},
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyToUsage(c.virtualKey), c.usage) << c.what;
}

TEST_F(KeyCodeTableTest, UsagesBecomeTheKeysOfTheLayout) {
  struct Case {
    uint8_t usage;
    uint16_t virtualKey;
    const char* what;
  };
  const Case cases[] = {
      {0x4A, 0x24, "Home through the extended scan code"},
      {0x5F, 0x67, "keypad 7 keeps its own key"},
      {0x58, 0x6C, "keypad Enter keeps its own key"},
      {0x28, 0x0D, "Enter"},
      {0xE4, 0xA3, "right Ctrl"},
      {0x53, 0x90, "Num Lock"},
      {0x48, 0x13, "Pause"},
      {0x64, 0xF6, "fixed key from a later row"},
      {0x74, 0x00, "usage without a key"},
      {0xAC, 0x00, "the Fn key's byte"},
  };
  for (const Case& c : cases) EXPECT_EQ(UsageToVirtualKey(c.usage), c.virtualKey) << c.what;
}

TEST_F(KeyCodeTableTest, FrenchLayoutFollowsWhatTheKeysType) {
  ASSERT_TRUE(platform::SetKeyboardLayout("fr"));
  EXPECT_EQ(UsageToVirtualKey(0x14), 'A');  // the key right of Tab
  EXPECT_EQ(UsageToVirtualKey(0x04), 'Q');
  EXPECT_EQ(UsageToVirtualKey(0x1A), 'Z');
  EXPECT_EQ(UsageToVirtualKey(0x33), 0xBA);  // fixed whatever the layout
  EXPECT_EQ(UsageToVirtualKey(0x1E), '1');   // digits sit on the Shift level
  EXPECT_EQ(VirtualKeyToUsage('A'), 0x14);
  EXPECT_EQ(VirtualKeyToUsage('M'), 0x33);
  EXPECT_EQ(VirtualKeyToUsage(0x24), 0x4A);
}

TEST_F(KeyCodeTableTest, WithoutLayoutOnlyTheTableAnswers) {
  EXPECT_EQ(VirtualKeyToUsage('A', nullptr), 0x04);
  EXPECT_EQ(UsageToVirtualKey(0x04, nullptr), 0);
  EXPECT_EQ(UsageToVirtualKey(0x4A, nullptr), 0x24);
  EXPECT_EQ(UsageToVirtualKey(0xE3, nullptr), 0x5B);
}

}  // namespace
