#include <gtest/gtest.h>

#include "model/ButtonInfo.h"
#include "model/FunctionCodes.h"
#include "model/KeyMapBytes.h"

namespace {

TEST(KeyMapBytes, CodeToByteTakesTheFirstRow) {
  struct Case {
    int32_t code;
    uint8_t byte;
  };
  const Case cases[] = {
      {261, 0xF7}, {262, 0xF8}, {260, 0xF9}, {289, 0xC7}, {291, 0xC7}, {321, 0xC4}, {323, 0xC6},
      {353, 0xC4}, {355, 0xC6}, {384, 0xFE}, {223, 0xDF}, {219, 0xDB}, {417, 0xCE}, {418, 0xCF},
      {419, 0xD0}, {420, 0xD5}, {421, 0xD3}, {422, 0xD4}, {423, 0xD2}, {424, 0xD1}, {449, 0xAB},
      {450, 0xAA}, {451, 0xA9}, {452, 0xA7}, {453, 0xA6}, {454, 0xA8}, {455, 0xA5}, {482, 0xB8},
      {0, 0},      {271, 0},    {425, 0},    {465, 0},    {466, 0},    {512, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(KeyMapByteOfCode(c.code), c.byte) << c.code;
  EXPECT_EQ(CodeToByteTable().size(), size_t(kCodeByteRowCount));
}

TEST(KeyMapBytes, ByteToCodeTakesTheLastRow) {
  struct Case {
    uint8_t byte;
    int32_t code;
  };
  const Case cases[] = {
      {0xC7, 291}, {0xC4, 353}, {0xC5, 354}, {0xC6, 355}, {0xF9, 260}, {0xFE, 384},
      {0xD5, 420}, {0xB8, 482}, {0xA5, 455}, {0xCD, 0},   {0x04, 0},   {0x00, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CodeOfKeyMapByte(c.byte), c.code) << int(c.byte);
  for (const CodeByte& row : CodeToByteTable()) {
    EXPECT_EQ(KeyMapByteOfCode(CodeOfKeyMapByte(row.keyMapByte)), row.keyMapByte) << row.code;
  }
}

TEST(KeyMapBytes, ByteWrittenForEachKind) {
  struct Case {
    uint8_t kind;
    int32_t code;
    uint8_t firstEventUsage;
    uint8_t expected;
    const char* what;
  };
  constexpr uint8_t kOwn = 0x29;
  const Case cases[] = {
      {kKindDefault, 384, 0, kOwn, "default ignores the code"},
      {kKindDisabled, 512, 0, 0x00, "disabled, whatever the code"},
      {kKindAssigned, 271, 0, 0x00, "disable code"},
      {kKindAssigned, 384, 0, 0xFE, "program launch"},
      {kKindAssigned, 465, 0x3E, 0x3E, "single key sends its usage"},
      {kKindAssigned, 465, 0x00, kOwn, "single key without usage keeps the key"},
      {kKindAssigned, 466, 0x04, 0xCD, "combination plays a macro"},
      {kKindAssigned, 481, 0, 0xCD, "desktop shortcut"},
      {kKindAssigned, 482, 0, 0xB8, "calculator"},
      {kKindAssigned, 483, 0, 0xCD, "zoom in"},
      {kKindAssigned, 512, 0, 0xCD, "macro"},
      {kKindAssigned, 40000, 0, 0xCD, "macro code above 512"},
      {kKindAssigned, 257, 0, kOwn, "code without a byte"},
      {kKindAssigned, 425, 0, kOwn, "scroll left has no byte"},
      {7, 512, 0, kOwn, "unknown kind"},
  };
  for (const Case& c : cases) {
    ButtonInfo button{};
    button.kind = c.kind;
    button.code = c.code;
    button.events[0].eventCode = c.firstEventUsage;
    EXPECT_EQ(KeyMapByteFor(button, kOwn), c.expected) << c.what;
  }
}

}  // namespace
