#pragma once

#include <cstdint>

#include "model/MacroEvent.h"

struct ButtonInfo;

// Up to four keys in the fixed slot order Shift, Ctrl, Alt, other key;
// virtual keys, 0 for an empty slot.
struct KeyCombinationSlots {
  uint16_t shift;
  uint16_t ctrl;
  uint16_t alt;
  uint16_t other;
  bool operator==(const KeyCombinationSlots&) const = default;
};

constexpr int kCombinationSlotCount = 4;
constexpr uint16_t kCombinationEventDelay = 5;

// The presses of the filled slots in slot order, then their releases in reverse.
struct EncodedCombination {
  MacroEvent events[2 * kCombinationSlotCount];
  uint8_t eventCount;
  int32_t code;  // one key: a single key; more: a key combination
};

EncodedCombination EncodeKeyCombination(const KeyCombinationSlots& slots);

// Sorts the pressed keys of a stored combination back into slots by what they
// are; an event count beyond the record's event area is read as the full area.
KeyCombinationSlots DecodeKeyCombination(const ButtonInfo& button);
