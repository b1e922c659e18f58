#pragma once

#include <cstdint>

// Per-slot defaults of a profile's lighting. The tables have six rows; a slot
// index without a row (the configuration keeps it within 0..3) reads row 0.
uint8_t DefaultEffect(int slotIndex);
uint8_t DefaultColorMode(int slotIndex);
uint32_t DefaultColor(int slotIndex);  // 0x00BBGGRR

constexpr int kPresetColorCount = 9;

// The lighting page's preset colour buttons, k = 1..9; 0 for any other k.
uint32_t PresetColor(int k);
