#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kSpectrumNameUnits = 51;

// One profile's lighting choice, stored whole as the LIGHT_INFO block. Only
// effect, brightness, speed and colorOption reach the keyboard; colorMode, color
// and spectrumName are kept for the pages.
struct LightInfo {
  uint8_t effect;
  uint8_t colorMode;
  uint8_t brightness;
  uint8_t speed;
  uint32_t color;  // 0x00BBGGRR
  uint8_t colorOption;
  uint8_t reserved;
  char16_t spectrumName[kSpectrumNameUnits];  // at most 50 units plus the terminator
};
static_assert(sizeof(LightInfo) == 112);
static_assert(offsetof(LightInfo, effect) == 0);
static_assert(offsetof(LightInfo, colorMode) == 1);
static_assert(offsetof(LightInfo, brightness) == 2);
static_assert(offsetof(LightInfo, speed) == 3);
static_assert(offsetof(LightInfo, color) == 4);
static_assert(offsetof(LightInfo, colorOption) == 8);
static_assert(offsetof(LightInfo, reserved) == 9);
static_assert(offsetof(LightInfo, spectrumName) == 10);
