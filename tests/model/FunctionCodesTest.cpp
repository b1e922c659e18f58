#include <gtest/gtest.h>

#include "model/FunctionCodes.h"

namespace {

TEST(FunctionCodes, NameKeys) {
  struct Case {
    int32_t code;
    std::u16string_view section;
    std::u16string_view key;
  };
  const Case cases[] = {
      {0, u"FUNC_STRING", u""},
      {257, u"FUNC_STRING", u"MODE_SWITCH1"},
      {260, u"FUNC_STRING", u"MODE_SWITCH_CYCLE"},
      {265, u"FUNC_STRING", u"MODE_SWITCHEX3"},
      {266, u"FUNC_STRING", u""},
      {271, u"FUNC_ADVANCE", u"DISABLE"},
      {384, u"FUNC_STRING", u"LAUNCH_PROGRAM_FUNC"},
      {407, u"FUNC_STRING", u"MODE_DPISWITCH7"},
      {424, u"FUNC_STRING", u"MOUSE_SCROLL_DOWN"},
      {425, u"FUNC_STRING", u""},
      {426, u"FUNC_STRING", u""},
      {455, u"FUNC_STRING", u"STOP"},
      {465, u"FUNC_STRING", u"SINGLE_KEY"},
      {466, u"FUNC_STRING", u"SINGLE_KEY"},
      {484, u"FUNC_STRING", u"WINDOWS_ZOOM_OUT"},
      {512, u"FUNC_STRING", u"MACRO"},
      {65535, u"FUNC_STRING", u"MACRO"},
      {65536, u"FUNC_STRING", u""},
      {219, u"FUNC_STRING", u""},
      {-1, u"FUNC_STRING", u""},
      {80, u"FUNC_ADVANCE", u"DEFAULT"},
      {81, u"FUNC_ADVANCE", u"DISABLE"},
      {86, u"FUNC_ADVANCE", u"KEYBOARD_FUNC"},
      {88, u"FUNC_ADVANCE", u"WINDOWS_FUNC"},
  };
  for (const Case& c : cases) {
    const NameKey name = FunctionNameKey(c.code);
    EXPECT_EQ(name.key, c.key) << c.code;
    if (!c.key.empty()) {
      EXPECT_EQ(name.section, c.section) << c.code;
    }
  }
}

TEST(FunctionCodes, Groups) {
  struct Case {
    int32_t code;
    int group;
    int item;
  };
  const Case cases[] = {
      {0, 80, 0},   {257, 80, 0},  {259, 80, 0},   {260, 83, 1},   {262, 83, 3},
      {263, 80, 0}, {271, 81, 0},  {384, 84, 0},   {400, 80, 0},   {417, 85, 1},
      {425, 85, 9}, {426, 85, 10}, {427, 80, 0},   {449, 87, 1},   {454, 87, 6},
      {455, 80, 0}, {465, 86, 0},  {466, 86, 0},   {481, 88, 1},   {484, 88, 4},
      {511, 80, 0}, {512, 82, 0},  {65535, 82, 0}, {65536, 80, 0}, {-5, 80, 0},
  };
  for (const Case& c : cases) {
    const FunctionGroup group = FunctionGroupOf(c.code);
    EXPECT_EQ(group.group, c.group) << c.code;
    EXPECT_EQ(group.item, c.item) << c.code;
  }
}

}  // namespace
