#include <gtest/gtest.h>

#include "model/KeyMatrix.h"

namespace {

TEST(KeyMatrix, CellsOfKeysAndOfEmptyPlaces) {
  struct Case {
    int keyIndex;
    bool used;
    KeyCell cell;
    uint8_t usage;
    const char* what;
  };
  const Case cases[] = {
      {0, true, {0, 0}, 0x29, "Esc"},
      {13, true, {0, 13}, 0x2A, "Backspace"},
      {28, true, {2, 0}, 0x39, "Caps Lock"},
      {40, false, {0, 0}, 0x00, "empty cell beside Enter"},
      {41, true, {2, 13}, 0x28, "Enter"},
      {43, false, {0, 0}, 0x00, "empty cell beside left Shift"},
      {55, true, {3, 13}, 0xE5, "right Shift"},
      {61, true, {4, 5}, 0x2C, "Space"},
      {62, false, {0, 0}, 0x00, "empty cell right of Space"},
      {69, true, {4, 13}, kFnKeyByte, "Fn"},
      {70, false, {0, 0}, 0x00, "first index past the matrix"},
      {110, false, {0, 0}, 0x00, "last stored index"},
      {-1, false, {0, 0}, 0x00, "negative index"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsKeyIndexUsed(c.keyIndex), c.used) << c.what;
    const KeyCell cell = KeyCellOf(c.keyIndex);
    EXPECT_EQ(cell.row, c.cell.row) << c.what;
    EXPECT_EQ(cell.column, c.cell.column) << c.what;
    EXPECT_EQ(DefaultKeyUsage(c.keyIndex), c.usage) << c.what;
  }
}

TEST(KeyMatrix, SixtyOneKeysWithDistinctPositions) {
  int keys = 0;
  for (int i = 0; i < kKeyIndexCount; ++i) {
    if (!IsKeyIndexUsed(i)) {
      EXPECT_EQ(KeyPositionOf(i), 0) << i;
      continue;
    }
    ++keys;
    EXPECT_EQ(KeyPositionOf(i), i);
  }
  EXPECT_EQ(keys, 61);
}

}  // namespace
