#pragma once

#include <string_view>

#include "model/LightInfo.h"

// Where the default effect and colour mode come from: the profile's slot row
// (the pages and the configuration check), or the fixed effect 0 and cycle
// mode (the device service).
enum class LightDefaultsFrom { SlotRow, Service };

constexpr uint8_t kMaxBrightness = 4;
constexpr uint8_t kMaxSpeed = 4;
constexpr uint8_t kMaxColorOption = 7;
constexpr uint8_t kMaxColorMode = 1;
constexpr uint32_t kMaxColor = 0xFFFFFF;
// Speed after the lighting page's reset button, unlike a new profile's.
constexpr uint8_t kResetButtonSpeed = 2;

// Clears the record to a new profile's lighting; the colour stays 0 until the
// load repair supplies the slot's colour.
void ResetLightInfo(LightInfo& light, int slotIndex,
                    LightDefaultsFrom from = LightDefaultsFrom::SlotRow);

// The range checks of the configuration's start-up check: every field but the colour.
void RepairLightSettings(LightInfo& light, int slotIndex,
                         LightDefaultsFrom from = LightDefaultsFrom::SlotRow);

// The check after every profile load: RepairLightSettings, then a colour of 0 or
// beyond 24 bits becomes the slot's default colour, and a spectrum name without
// its terminator is cut so that no reader runs past the record.
void RepairLightInfo(LightInfo& light, int slotIndex,
                     LightDefaultsFrom from = LightDefaultsFrom::SlotRow);

// The lighting page's two reset buttons.
void ResetLightColor(LightInfo& light, int slotIndex);
void ResetLighting(LightInfo& light, int slotIndex);

// Spectrum file names may be longer than the record holds; they are cut to 50 units.
void SetSpectrumName(LightInfo& light, std::u16string_view name);
std::u16string_view SpectrumName(const LightInfo& light);
