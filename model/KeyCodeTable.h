#pragma once

#include <cstdint>
#include <span>

namespace platform {
class KeyboardLayout;
}

// One row of the conversion table between keyboard usages, virtual keys and
// scan codes. prefix is 0xE0 for extended keys.
struct KeyCodeRow {
  uint8_t usage;
  uint8_t virtualKey;
  uint8_t scanCode;
  uint8_t prefix;
};
static_assert(sizeof(KeyCodeRow) == 4);

constexpr int kKeyCodeRowCount = 158;

// Row order matters: lookups take the first matching row, the extended form of
// a shared scan code the second, and the last rows only serve virtual key to usage.
std::span<const KeyCodeRow, kKeyCodeRowCount> KeyCodeTable();

// Both conversions go through the current keyboard layout, so that a stored
// usage names the key by what it types on this user's keyboard. 0 means no key.
uint16_t UsageToVirtualKey(uint8_t usage);
uint8_t VirtualKeyToUsage(uint16_t virtualKey);

uint16_t UsageToVirtualKey(uint8_t usage, const platform::KeyboardLayout* layout);
uint8_t VirtualKeyToUsage(uint16_t virtualKey, const platform::KeyboardLayout* layout);
