#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kKeyMapPositions = 120;

// One byte per key matrix position (row * 14 + column): what the key does on the keyboard.
struct KeyMap {
  std::uint8_t keys[kKeyMapPositions];
};
static_assert(sizeof(KeyMap) == 120);
