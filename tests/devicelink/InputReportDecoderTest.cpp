#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "devicelink/DeviceMessages.h"
#include "devicelink/InputReportDecoder.h"

namespace {

using Bytes = std::array<std::uint8_t, kDecodedReportBytes>;
using Target = DecodedPost::Target;

DecodedPost E(std::uint64_t w, std::uint8_t code, std::uint16_t state) {
  return {Target::kDeviceEvent, 0, w, code, state};
}
DecodedPost Service(std::uint32_t message, std::uint64_t w) {
  return {Target::kServiceWindow, message, w, 0, 0};
}
DecodedPost Page(std::uint64_t w) { return {Target::kSettingsPage, kMsgPageLedState, w, 0, 0}; }

struct DecodeCase {
  const char* rule;
  Bytes report;
  std::vector<DecodedPost> posts;
};

TEST(InputReportDecoder, FollowsTheRulesInOrder) {
  const DecodeCase cases[] = {
      // 1: report 4
      {"1 lighting key value", {0x04, 0x07, 0x07, 2, 3, 0, 1}, {E(0xDE, 3 + 6 * 2 + 102, 1)}},
      {"1 lighting key value wraps at 256", {0x04, 0x07, 0x07, 40, 10, 0, 2}, {E(0xDE, 198, 1)}},
      {"1 effect, b2 8", {0x04, 0xE1, 0x08, 5}, {E(5, 0xDF, 1)}},
      {"1 effect, b2 9", {0x04, 0xE1, 0x09, 3}, {E(3, 0xDF, 1)}},
      {"1 effect needs b2 8 or 9", {0x04, 0xE1, 0x0A, 3}, {}},
      {"1 then 5 still runs", {0x04, 0x02, 0x0C, 5}, {E(5, 0xDB, 1)}},
      // 2: status report to the service window, then stop
      {"2 status 1", {0x06, 0, 7, 0, 2, 1, 1, 0, 0}, {Service(kMsgKeyboardStatus, 1)}},
      {"2 status 3 after rule 1 found nothing",
       {0x04, 0, 7, 0, 2, 3, 1, 0, 0},
       {Service(kMsgKeyboardStatus, 3)}},
      {"2 stops before the key rule",
       {0x08, 0, 7, 0, 2, 2, 1, 0, 0},
       {Service(kMsgKeyboardStatus, 2)}},
      {"2 needs b5 1..3", {0x06, 0, 7, 0, 2, 4, 1, 0, 0}, {}},
      {"2 needs b8 0", {0x06, 0, 7, 0, 2, 1, 1, 0, 1}, {}},
      // 3: switch report
      {"3 switch on", {0x08, 0, 7, 0, 3, 0xD6, 1, 0, 0}, {Service(kMsgKeyboardSwitch, 1)}},
      {"3 switch off", {0x06, 0, 7, 0, 3, 0xD6, 0, 0, 0}, {Service(kMsgKeyboardSwitch, 0)}},
      {"3 other b6 goes on at 6", {0x08, 0, 7, 0, 3, 0xD6, 2, 0, 0}, {E(0, 0, 7)}},
      {"3 other b6 skips 5", {0x06, 0, 7, 0, 3, 0xD6, 2, 0, 0}, {}},
      // 4: signature report
      {"4 lighting key value", {0x06, 2, 7, 0x19, 0x5D, 0x20, 0x57, 9, 0}, {E(0xDE, 9, 1)}},
      {"4 effect", {0x06, 2, 4, 0x19, 0x5D, 0x20, 0x57, 0, 2}, {E(2, 0xDF, 1)}},
      {"4 then 6", {0x08, 2, 7, 0x19, 0x5D, 0x20, 0x57, 9, 0}, {E(0xDE, 9, 1), E(0x19, 2, 7)}},
      {"4 other b2 falls to 5", {0x06, 2, 0x0C, 0x19, 0x5D, 0x20, 0x57}, {E(0x19, 0xDB, 1)}},
      {"4 other b2 with no rule of 5", {0x06, 2, 1, 0x19, 0x5D, 0x20, 0x57}, {}},
      // 5: the first matching of four
      {"5 lighting key value", {0x0D, 5, 0, 7}, {E(0xDE, 7, 1)}},
      {"5 lighting key value comes first", {0x0D, 5, 1, 1, 4}, {E(0xDE, 1, 1)}},
      {"5 effect", {0x05, 0, 1, 1, 6}, {E(6, 0xDF, 1)}},
      {"5 colour mode", {0x05, 2, 0x0C, 1}, {E(1, 0xDB, 1)}},
      {"5 brightness", {0x05, 0, 1, 7, 3}, {E(3, 0xDC, 1)}},
      // 6: report 8
      {"6 key pressed", {0x08, 15, 1, 0x2A}, {E(0x2A, 15, 1)}},
      {"6 key released", {0x08, 15, 0, 0x2A}, {E(0x2A, 15, 0)}},
      {"6 slot changed", {0x08, 0xDA, 1, 2}, {E(2, 0xDA, 1)}},
      {"6 slot changed, second form", {0x08, 0xFE, 4, 3}, {E(3, 0xFE, 4)}},
      {"6 page on", {0x08, 0xFE, 6, 0}, {Page(1)}},
      {"6 page off", {0x08, 0xFE, 5, 0}, {Page(0)}},
      {"6 Fn key byte ignored", {0x08, 69, 1, 0xAC}, {}},
      {"6 Fn key byte ignored for page reports too", {0x08, 0xFE, 6, 0xAC}, {}},
      {"5 and 6 both", {0x08, 0, 1, 1, 6}, {E(6, 0xDF, 1), E(1, 0, 1)}},
      // unknown shapes
      {"all zero", {}, {}},
      {"unknown report", {0x03, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}, {}},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.rule);
    EXPECT_EQ(DecodeInputReport(c.report), c.posts);
  }
}

}  // namespace
