#include <gtest/gtest.h>

#include "model/ButtonInfo.h"
#include "model/FixedText.h"
#include "model/MacroEvent.h"

namespace {

TEST(MacroEvent, PacksAndUnpacks) {
  struct Case {
    bool press;
    uint16_t value;
    uint8_t code;
    MacroEvent bytes;
  };
  const Case cases[] = {
      {true, 5, 0xE0, {0x80, 0x05, 0xE0}},
      {false, 5, 0xE0, {0x00, 0x05, 0xE0}},
      {true, 0, 0x04, {0x80, 0x00, 0x04}},  // the service's own shortcuts use no delay
      {true, 0x1234, 0xB7, {0x92, 0x34, 0xB7}},
      {true, 32767, 0x2C, {0xFF, 0xFF, 0x2C}},
      {false, 300, kEventMoveRight, {0x01, 0x2C, 0xBF}},
  };
  for (const Case& c : cases) {
    const MacroEvent packed = PackEvent(c.press, c.value, c.code);
    EXPECT_EQ(packed.flagsAndHigh, c.bytes.flagsAndHigh) << c.value;
    EXPECT_EQ(packed.valueLow, c.bytes.valueLow) << c.value;
    EXPECT_EQ(packed.eventCode, c.bytes.eventCode) << c.value;
    const UnpackedEvent unpacked = UnpackEvent(c.bytes);
    EXPECT_EQ(unpacked.press, c.press);
    EXPECT_EQ(unpacked.value, c.value);
    EXPECT_EQ(unpacked.eventCode, c.code);
  }
}

TEST(MacroEvent, OverlongDelayStaysLong) {
  EXPECT_EQ(UnpackEvent(PackEvent(true, 40000, 0x04)).value, kMaxEventValue);
  EXPECT_TRUE(UnpackEvent(PackEvent(true, 0xFFFF, 0x04)).press);
}

TEST(MacroEvent, OnlyThreeZeroBytesAreEmpty) {
  EXPECT_TRUE(IsEmptyEvent(MacroEvent{0, 0, 0}));
  EXPECT_FALSE(IsEmptyEvent(PackEvent(false, 0, 0x04)));
  EXPECT_FALSE(IsEmptyEvent(PackEvent(true, 0, 0)));
}

TEST(FixedText, StoresWithinTheFieldAndReadsUnterminatedFields) {
  ButtonInfo button{};
  SetFixedText(button.macroName, u"Rotation");
  EXPECT_EQ(FixedText(button.macroName), u"Rotation");

  const std::u16string longName(70, u'x');
  SetFixedText(button.macroName, longName);
  EXPECT_EQ(FixedText(button.macroName).size(), size_t(kMacroNameUnits - 1));
  EXPECT_EQ(button.macroName[kMacroNameUnits - 1], u'\0');

  std::u16string withPair(kMacroNameUnits - 2, u'a');
  withPair += u"\U0001F3B9";  // the pair would straddle the last unit
  SetFixedText(button.macroName, withPair);
  EXPECT_EQ(FixedText(button.macroName), std::u16string(kMacroNameUnits - 2, u'a'));

  for (char16_t& unit : button.macroName) unit = u'z';  // a block read without terminator
  EXPECT_EQ(FixedText(button.macroName).size(), size_t(kMacroNameUnits));
  EXPECT_EQ(button.repeat, 0);
}

}  // namespace
