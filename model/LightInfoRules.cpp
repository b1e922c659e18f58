#include "model/LightInfoRules.h"

#include <cstring>

#include "model/EffectTable.h"
#include "model/FixedText.h"
#include "model/LightDefaults.h"

namespace {

uint8_t DefaultEffectFrom(LightDefaultsFrom from, int slotIndex) {
  return from == LightDefaultsFrom::Service ? 0 : DefaultEffect(slotIndex);
}

uint8_t DefaultColorModeFrom(LightDefaultsFrom from, int slotIndex) {
  return from == LightDefaultsFrom::Service ? 1 : DefaultColorMode(slotIndex);
}

}  // namespace

void ResetLightInfo(LightInfo& light, int slotIndex, LightDefaultsFrom from) {
  std::memset(&light, 0, sizeof light);
  light.effect = DefaultEffectFrom(from, slotIndex);
  light.colorMode = DefaultColorModeFrom(from, slotIndex);
  light.brightness = kMaxBrightness;
  light.speed = kMaxSpeed;
}

void RepairLightSettings(LightInfo& light, int slotIndex, LightDefaultsFrom from) {
  if (light.effect > kLastStoredEffect) light.effect = DefaultEffectFrom(from, slotIndex);
  if (light.colorMode > kMaxColorMode) light.colorMode = DefaultColorModeFrom(from, slotIndex);
  if (light.brightness > kMaxBrightness) light.brightness = kMaxBrightness;
  if (light.speed > kMaxSpeed) light.speed = kMaxSpeed;
  if (light.colorOption > kMaxColorOption) light.colorOption = 0;
}

void RepairLightInfo(LightInfo& light, int slotIndex, LightDefaultsFrom from) {
  RepairLightSettings(light, slotIndex, from);
  if (light.color == 0 || light.color > kMaxColor) light.color = DefaultColor(slotIndex);
  light.spectrumName[kSpectrumNameUnits - 1] = u'\0';
}

void ResetLightColor(LightInfo& light, int slotIndex) { light.color = DefaultColor(slotIndex); }

void ResetLighting(LightInfo& light, int slotIndex) {
  light.effect = DefaultEffect(slotIndex);
  light.brightness = kMaxBrightness;
  light.speed = kResetButtonSpeed;
  light.colorOption = 0;
}

void SetSpectrumName(LightInfo& light, std::u16string_view name) {
  SetFixedText(light.spectrumName, name);
}

std::u16string_view SpectrumName(const LightInfo& light) { return FixedText(light.spectrumName); }
