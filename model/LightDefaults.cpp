#include "model/LightDefaults.h"

namespace {

constexpr int kDefaultRows = 6;

struct SlotDefaults {
  uint8_t effect;
  uint8_t colorMode;
  uint32_t color;
};

constexpr SlotDefaults kSlotDefaults[kDefaultRows] = {
    {0, 1, 0xFF8080}, {0, 1, 0x0000FF}, {0, 0, 0x00FF00},
    {0, 1, 0xFF0000}, {0, 1, 0xFFFF00}, {0, 1, 0x00FFFF},
};

constexpr uint32_t kPresetColors[kPresetColorCount] = {
    0x0000FF, 0x0098F3, 0x00F0FF, 0x66AE00, 0xB96E00, 0x892A17, 0x871961, 0x6B00E5, 0xFFFFFF,
};

const SlotDefaults& RowOf(int slotIndex) {
  return kSlotDefaults[slotIndex >= 0 && slotIndex < kDefaultRows ? slotIndex : 0];
}

}  // namespace

uint8_t DefaultEffect(int slotIndex) { return RowOf(slotIndex).effect; }

uint8_t DefaultColorMode(int slotIndex) { return RowOf(slotIndex).colorMode; }

uint32_t DefaultColor(int slotIndex) { return RowOf(slotIndex).color; }

uint32_t PresetColor(int k) { return k >= 1 && k <= kPresetColorCount ? kPresetColors[k - 1] : 0; }
