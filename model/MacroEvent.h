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
