#pragma once

#include <cstddef>
#include <cstdint>

#include "model/MacroEvent.h"

constexpr int kPathUnits = 260;
constexpr int kMacroNameUnits = 50;
constexpr int kMaxEvents = 80;

// Values of ButtonInfo::kind.
constexpr uint8_t kKindDefault = 0;
constexpr uint8_t kKindDisabled = 1;
constexpr uint8_t kKindAssigned = 2;

// One key's function, stored whole as a binary block in the profile files. An
// all-zero record is the key's own function; with kind 0 every other field is
// ignored by every reader. Strings are UTF-16, zero-terminated, zero-padded.
struct ButtonInfo {
  uint8_t kind;
  uint8_t reserved1[3];
  int32_t code;
  char16_t programPath[kPathUnits];
  char16_t iconPath[kPathUnits];
  char16_t macroName[kMacroNameUnits];
  // 1..65534 plays that many times, 0xFFFF and 0 are two distinct repeat modes.
  uint16_t repeat;
  uint8_t eventCount;
  MacroEvent events[kMaxEvents];
  uint8_t reserved2;
};
static_assert(sizeof(ButtonInfo) == 1392);
static_assert(offsetof(ButtonInfo, kind) == 0);
static_assert(offsetof(ButtonInfo, reserved1) == 1);
static_assert(offsetof(ButtonInfo, code) == 4);
static_assert(offsetof(ButtonInfo, programPath) == 8);
static_assert(offsetof(ButtonInfo, iconPath) == 528);
static_assert(offsetof(ButtonInfo, macroName) == 1048);
static_assert(offsetof(ButtonInfo, repeat) == 1148);
static_assert(offsetof(ButtonInfo, eventCount) == 1150);
static_assert(offsetof(ButtonInfo, events) == 1151);
static_assert(offsetof(ButtonInfo, reserved2) == 1391);

// Records per profile layer.
constexpr int kButtonInfoCount = 111;
constexpr int kGButtonInfoCount = 6;
