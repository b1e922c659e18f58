#pragma once

#include <cstddef>
#include <cstdint>

// One step of a macro or key combination, byte for byte as it travels in macro
// files, in ButtonInfo and in the keyboard's macro reports. Byte 0 bit 7 is the
// press flag and bits 6..0 the high bits of a 15-bit value (delay in ms for keys
// and mouse buttons, distance in pixels for movements); byte 1 is the low byte;
// byte 2 is the event code. Three zero bytes mark an empty event.
struct MacroEvent {
  uint8_t flagsAndHigh;
  uint8_t valueLow;
  uint8_t eventCode;
};
static_assert(sizeof(MacroEvent) == 3);
static_assert(offsetof(MacroEvent, flagsAndHigh) == 0);
static_assert(offsetof(MacroEvent, valueLow) == 1);
static_assert(offsetof(MacroEvent, eventCode) == 2);

// Event codes that are not keyboard usages.
constexpr uint8_t kEventMouseLeft = 0xB7;
constexpr uint8_t kEventMouseRight = 0xB8;
constexpr uint8_t kEventMouseMiddle = 0xB9;
constexpr uint8_t kEventMoveDown = 0xBC;
constexpr uint8_t kEventMoveUp = 0xBD;
constexpr uint8_t kEventMoveLeft = 0xBE;
constexpr uint8_t kEventMoveRight = 0xBF;

constexpr uint8_t kEventPressFlag = 0x80;
constexpr uint16_t kMaxEventValue = 0x7FFF;

struct UnpackedEvent {
  bool press;
  uint16_t value;  // delay in ms, or distance in pixels for movements
  uint8_t eventCode;
};

// A value beyond 15 bits is clamped rather than wrapped, so an over-long delay
// stays long instead of becoming a short one.
constexpr MacroEvent PackEvent(bool press, uint16_t value, uint8_t eventCode) {
  const uint16_t clamped = value > kMaxEventValue ? kMaxEventValue : value;
  return MacroEvent{uint8_t(((clamped >> 8) & 0x7F) | (press ? kEventPressFlag : 0)),
                    uint8_t(clamped & 0xFF), eventCode};
}

constexpr UnpackedEvent UnpackEvent(const MacroEvent& event) {
  return UnpackedEvent{(event.flagsAndHigh & kEventPressFlag) != 0,
                       uint16_t(((event.flagsAndHigh & 0x7F) << 8) | event.valueLow),
                       event.eventCode};
}

constexpr bool IsEmptyEvent(const MacroEvent& event) {
  return event.flagsAndHigh == 0 && event.valueLow == 0 && event.eventCode == 0;
}
