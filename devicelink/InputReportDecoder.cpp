#include "devicelink/InputReportDecoder.h"

#include "devicelink/DeviceMessages.h"

namespace {

constexpr std::uint8_t kEffectEvent = 0xDF;
constexpr std::uint8_t kColorModeEvent = 0xDB;
constexpr std::uint8_t kBrightnessEvent = 0xDC;
constexpr std::uint8_t kLightingKeyValue = 0xDE;
constexpr std::uint8_t kFnKeyByte = 0xAC;

DecodedPost Event(std::uint64_t wParam, std::uint8_t code, std::uint16_t state) {
  return {DecodedPost::Target::kDeviceEvent, 0, wParam, code, state};
}

DecodedPost ToService(std::uint32_t message, std::uint64_t wParam) {
  return {DecodedPost::Target::kServiceWindow, message, wParam, 0, 0};
}

DecodedPost ToPage(std::uint32_t message, std::uint64_t wParam) {
  return {DecodedPost::Target::kSettingsPage, message, wParam, 0, 0};
}

// Report 8 carries keys and slot changes; 0xAC is the Fn key, which the service never handles.
void DecodeKeyReport(const std::span<const std::uint8_t, kDecodedReportBytes> b,
                     std::vector<DecodedPost>& posts) {
  if (b[0] != 8 || b[3] == kFnKeyByte) return;
  if (b[1] == 0xFE && b[2] == 6) {
    posts.push_back(ToPage(kMsgPageLedState, 1));
  } else if (b[1] == 0xFE && b[2] == 5) {
    posts.push_back(ToPage(kMsgPageLedState, 0));
  } else {
    posts.push_back(Event(b[3], b[1], b[2]));
  }
}

}  // namespace

std::vector<DecodedPost> DecodeInputReport(std::span<const std::uint8_t, kDecodedReportBytes> b) {
  std::vector<DecodedPost> posts;

  if (b[0] == 4) {
    if (b[1] == 7 && b[2] == 7) {
      posts.push_back(
          Event(kLightingKeyValue, static_cast<std::uint8_t>(b[4] + 6 * b[3] + 102 * b[6]), 1));
    } else if (b[1] == 0xE1 && (b[2] == 8 || b[2] == 9)) {
      posts.push_back(Event(b[3], kEffectEvent, 1));
    }
  }

  if (b[1] == 0 && b[2] == 7 && b[3] == 0 && b[4] == 2 && b[6] == 1 && b[7] == 0 && b[8] == 0 &&
      (b[5] == 1 || b[5] == 2 || b[5] == 3)) {
    posts.push_back(ToService(kMsgKeyboardStatus, b[5]));
    return posts;
  }

  if (b[1] == 0 && b[2] == 7 && b[3] == 0 && b[4] == 3 && b[5] == 0xD6 && b[7] == 0 && b[8] == 0) {
    if (b[6] == 1 || b[6] == 0) {
      posts.push_back(ToService(kMsgKeyboardSwitch, b[6]));
      return posts;
    }
  } else if (b[1] == 2 && b[3] == 0x19 && b[4] == 0x5D && b[5] == 0x20 && b[6] == 0x57 &&
             (b[2] == 7 || b[2] == 4)) {
    posts.push_back(b[2] == 7 ? Event(kLightingKeyValue, b[7], 1) : Event(b[8], kEffectEvent, 1));
  } else if (b[0] == 0x0D && b[1] == 5) {
    posts.push_back(Event(kLightingKeyValue, b[3], 1));
  } else if (b[2] == 1 && b[3] == 1) {
    posts.push_back(Event(b[4], kEffectEvent, 1));
  } else if (b[1] == 2 && b[2] == 0x0C) {
    posts.push_back(Event(b[3], kColorModeEvent, 1));
  } else if (b[2] == 1 && b[3] == 7) {
    posts.push_back(Event(b[4], kBrightnessEvent, 1));
  }

  DecodeKeyReport(b, posts);
  return posts;
}
