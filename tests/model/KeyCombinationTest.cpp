#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "model/ButtonInfo.h"
#include "model/FunctionCodes.h"
#include "model/KeyCombination.h"
#include "platform/KeyboardLayout.h"

namespace {

struct Step {
  bool press;
  uint8_t usage;
};

class KeyCombinationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(platform::SetKeyboardLayout("us")); }

  static ButtonInfo Store(const EncodedCombination& encoded) {
    ButtonInfo button{};
    button.kind = kKindAssigned;
    button.code = encoded.code;
    button.eventCount = encoded.eventCount;
    std::memcpy(button.events, encoded.events, sizeof encoded.events);
    return button;
  }
};

TEST_F(KeyCombinationTest, EncodesPressesInSlotOrderAndReleasesInReverse) {
  struct Case {
    KeyCombinationSlots slots;
    int32_t code;
    std::vector<Step> steps;
    const char* what;
  };
  const Case cases[] = {
      {{0xA0, 0xA2, 0, 'A'},
       kCodeKeyCombination,
       {{true, 0xE1}, {true, 0xE0}, {true, 0x04}, {false, 0x04}, {false, 0xE0}, {false, 0xE1}},
       "Ctrl + Shift + A"},
      {{0, 0xA2, 0xA4, 0x2E},
       kCodeKeyCombination,
       {{true, 0xE0}, {true, 0xE2}, {true, 0x4C}, {false, 0x4C}, {false, 0xE2}, {false, 0xE0}},
       "Ctrl + Alt + Delete"},
      {{0, 0, 0, 0x74}, kCodeSingleKey, {{true, 0x3E}, {false, 0x3E}}, "F5 alone"},
      {{0xA0, 0, 0, 0}, kCodeSingleKey, {{true, 0xE1}, {false, 0xE1}}, "Shift alone"},
      {{0xA0, 0xA2, 0xA4, 0x24},
       kCodeKeyCombination,
       {{true, 0xE1},
        {true, 0xE0},
        {true, 0xE2},
        {true, 0x4A},
        {false, 0x4A},
        {false, 0xE2},
        {false, 0xE0},
        {false, 0xE1}},
       "all four slots"},
  };
  for (const Case& c : cases) {
    const EncodedCombination encoded = EncodeKeyCombination(c.slots);
    EXPECT_EQ(encoded.code, c.code) << c.what;
    ASSERT_EQ(encoded.eventCount, c.steps.size()) << c.what;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      const UnpackedEvent event = UnpackEvent(encoded.events[i]);
      EXPECT_EQ(event.press, c.steps[i].press) << c.what << " event " << i;
      EXPECT_EQ(event.value, kCombinationEventDelay) << c.what << " event " << i;
      EXPECT_EQ(event.eventCode, c.steps[i].usage) << c.what << " event " << i;
    }
  }
}

TEST_F(KeyCombinationTest, DecodesIntoSlotsByKind) {
  struct Case {
    KeyCombinationSlots slots;
    KeyCombinationSlots decoded;
  };
  const Case cases[] = {
      {{0xA0, 0xA2, 0, 'A'}, {0xA0, 0xA2, 0, 'A'}},
      {{0, 0xA2, 0xA4, 0x2E}, {0, 0xA2, 0xA4, 0x2E}},
      {{0, 0, 0, 0x74}, {0, 0, 0, 0x74}},
      {{0xA1, 0xA3, 0xA5, 0x24}, {0xA1, 0xA3, 0xA5, 0x24}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeKeyCombination(Store(EncodeKeyCombination(c.slots))), c.decoded);
  }
}

TEST_F(KeyCombinationTest, DecodeReadsOnlyThePressHalfWithinTheRecord) {
  ButtonInfo button{};
  button.code = kCodeKeyCombination;
  button.eventCount = 1;
  button.events[0] = PackEvent(true, 5, 0x04);
  EXPECT_EQ(DecodeKeyCombination(button), KeyCombinationSlots{});

  // A later press in the same slot wins; releases are never looked at.
  button.eventCount = 4;
  button.events[1] = PackEvent(true, 5, 0x05);
  button.events[2] = PackEvent(false, 5, 0xE1);
  EXPECT_EQ(DecodeKeyCombination(button), (KeyCombinationSlots{0, 0, 0, 'B'}));

  // A damaged count reaches no further than the event area.
  button.eventCount = 255;
  button.events[kMaxEvents - 1] = PackEvent(true, 5, 0xE1);
  button.events[kMaxEvents / 2 - 1] = PackEvent(true, 5, 0xE2);
  EXPECT_EQ(DecodeKeyCombination(button), (KeyCombinationSlots{0xA0, 0, 0xA4, 'B'}));
}

}  // namespace
