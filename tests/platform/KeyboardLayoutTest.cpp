#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/KeyboardLayout.h"

namespace platform {
namespace {

// Scan codes of the keys that type characters.
constexpr uint16_t kCharacterScans[] = {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B,
                                        0x0C, 0x0D, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
                                        0x18, 0x19, 0x1A, 0x1B, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23,
                                        0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2B, 0x2C, 0x2D, 0x2E,
                                        0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x56, 0x73, 0x7D};

const char* const kLayouts[] = {"us", "fr", "de", "gb", "jp", "ru", "ch(fr)"};

TEST(KeyboardLayout, EveryKeyHasItsOwnVirtualKeyAndFindsItsWayBack) {
  for (const char* name : kLayouts) {
    const auto layout = KeyboardLayout::FromName(name);
    ASSERT_NE(layout, nullptr) << name;
    std::set<uint16_t> seen;
    for (const uint16_t scan : kCharacterScans) {
      const uint16_t vk = layout->ScanCodeToVirtualKey(scan);
      EXPECT_NE(vk, 0) << name << " scan " << scan;
      EXPECT_TRUE(seen.insert(vk).second) << name << " scan " << scan << " repeats " << vk;
      EXPECT_EQ(layout->VirtualKeyToScanCode(vk), scan) << name << " vk " << vk;
    }
  }
}

TEST(KeyboardLayout, LettersAndDigitsFollowWhatTheKeyTypes) {
  struct Case {
    const char* layout;
    uint16_t scan;
    uint16_t vk;
  };
  const Case cases[] = {
      {"us", 0x10, 'Q'}, {"us", 0x1E, 'A'}, {"us", 0x2C, 'Z'},  {"us", 0x02, '1'},
      {"fr", 0x10, 'A'}, {"fr", 0x1E, 'Q'}, {"fr", 0x11, 'Z'},  {"fr", 0x27, 'M'},
      {"fr", 0x02, '1'}, {"fr", 0x0B, '0'}, {"fr", 0x32, 0xBC},  // the comma key
      {"de", 0x15, 'Z'}, {"de", 0x2C, 'Y'}, {"de", 0x35, 0xBD},  // the minus key
      {"ru", 0x10, 'Q'}, {"ru", 0x1E, 'A'},                      // no Latin letters: by position
  };
  for (const Case& c : cases) {
    const auto layout = KeyboardLayout::FromName(c.layout);
    ASSERT_NE(layout, nullptr) << c.layout;
    EXPECT_EQ(layout->ScanCodeToVirtualKey(c.scan), c.vk) << c.layout << " scan " << c.scan;
  }
}

TEST(KeyboardLayout, FixedKeysAndExtendedForms) {
  struct Case {
    uint16_t scan;  // extended form
    uint16_t vk;
  };
  const Case cases[] = {
      {0x01, 0x1B},   {0x1C, 0x0D},   {0xE01C, 0x0D}, {0x1D, 0xA2},   {0xE01D, 0xA3}, {0x38, 0xA4},
      {0xE038, 0xA5}, {0x2A, 0xA0},   {0x36, 0xA1},   {0x47, 0x24},   {0xE047, 0x24}, {0x4C, 0x0C},
      {0x35, 0xBF},   {0xE035, 0x6F}, {0x37, 0x6A},   {0xE037, 0x2C}, {0x54, 0x2C},   {0x45, 0x90},
      {0xE045, 0x13}, {0xE05B, 0x5B}, {0xE05D, 0x5D}, {0x57, 0x7A},   {0x76, 0x87},   {0xE11D, 0},
      {0x00, 0},      {0xE000, 0},    {0x5B, 0},
  };
  for (const char* name : {"us", "fr"}) {
    const auto layout = KeyboardLayout::FromName(name);
    ASSERT_NE(layout, nullptr);
    for (const Case& c : cases) {
      EXPECT_EQ(layout->ScanCodeToVirtualKey(c.scan), c.vk) << name << " scan " << c.scan;
    }
  }
}

TEST(KeyboardLayout, VirtualKeysToScanCodesDropThePrefix) {
  const auto layout = KeyboardLayout::FromName("us");
  ASSERT_NE(layout, nullptr);
  struct Case {
    uint16_t vk;
    uint16_t scan;
  };
  const Case cases[] = {
      {0x24, 0x47}, {0x67, 0x47}, {0x60, 0x52}, {0x6E, 0x53}, {0xA3, 0x1D}, {0x11, 0x1D},
      {0x10, 0x2A}, {0x6F, 0x35}, {0x5D, 0x5D}, {0x2C, 0x54}, {0x13, 0x45}, {0x90, 0x45},
      {'A', 0x1E},  {0x0D, 0x1C}, {0x07, 0},    {0xF3, 0},    {0x1FF, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(layout->VirtualKeyToScanCode(c.vk), c.scan) << c.vk;
}

TEST(KeyboardLayout, CapsLockText) {
  struct Case {
    const char* layout;
    uint16_t vk;
    std::u16string text;
    const char* what;
  };
  const Case cases[] = {
      {"us", 'A', u"A", "Caps Lock gives the capital"},
      {"us", '1', u"1", "digits are not shifted"},
      {"us", 0xBA, u";", "punctuation is not shifted"},
      {"fr", '1', u"&", "French digit row"},
      {"fr", 'Q', u"Q", ""},
      {"de", 0xDD, u"", "dead acute types nothing"},
      {"ru", 'Q', u"Й", "Cyrillic"},
      {"us", 0x70, u"", "F1 types nothing"},
      {"us", 0x92, u"", "no such key"},
  };
  for (const Case& c : cases) {
    const auto layout = KeyboardLayout::FromName(c.layout);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->CapsLockText(c.vk), c.text) << c.layout << " " << c.what;
  }
}

TEST(KeyboardLayout, NamingALayoutSwitchesTheCurrentOne) {
  ASSERT_NE(CurrentKeyboardLayout(), nullptr);
  ASSERT_TRUE(SetKeyboardLayout("fr"));
  EXPECT_EQ(CurrentKeyboardLayout()->ScanCodeToVirtualKey(0x10), 'A');
  EXPECT_FALSE(SetKeyboardLayout("no-such-layout"));
  EXPECT_EQ(CurrentKeyboardLayout()->Description(), "fr");
  EXPECT_NE(KeyboardLayout::FromName("fr(azerty)"), nullptr);
  EXPECT_NE(KeyboardLayout::FromName("us:intl"), nullptr);
  EXPECT_EQ(KeyboardLayout::FromName(""), nullptr);
  ASSERT_TRUE(SetKeyboardLayout(""));
  EXPECT_NE(CurrentKeyboardLayout(), nullptr);
}

}  // namespace
}  // namespace platform
