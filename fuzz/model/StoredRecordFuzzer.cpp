// Feeds arbitrary bytes through everything that reads a stored LightInfo or
// ButtonInfo: a profile file can hold any bytes in its blocks.
#include <cstdlib>
#include <cstring>

#include "model/ButtonInfo.h"
#include "model/EffectTable.h"
#include "model/FixedText.h"
#include "model/FunctionCodes.h"
#include "model/KeyCodeTable.h"
#include "model/KeyCombination.h"
#include "model/KeyMapBytes.h"
#include "model/KeyMatrix.h"
#include "model/LightInfoRules.h"
#include "platform/KeyboardLayout.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void ReadLight(const uint8_t* data, size_t size) {
  LightInfo light{};
  std::memcpy(&light, data, size < sizeof light ? size : sizeof light);
  const int slot = size > 0 ? data[0] % 8 - 1 : 0;
  RepairLightInfo(
      light, slot,
      size > 1 && (data[1] & 1) ? LightDefaultsFrom::Service : LightDefaultsFrom::SlotRow);
  Check(light.effect <= kLastStoredEffect && light.colorMode <= kMaxColorMode);
  Check(light.brightness <= kMaxBrightness && light.speed <= kMaxSpeed);
  Check(light.colorOption <= kMaxColorOption);
  Check(light.color != 0 && light.color <= kMaxColor);
  Check(SpectrumName(light).size() < size_t(kSpectrumNameUnits));
  Check(DeviceEffectCode(light.effect) != 0);
  Check(EffectColorChoices(light.effect) > 0);
}

void ReadButton(const uint8_t* data, size_t size) {
  ButtonInfo button{};
  std::memcpy(&button, data, size < sizeof button ? size : sizeof button);
  Check(FixedText(button.programPath).size() <= size_t(kPathUnits));
  Check(FixedText(button.iconPath).size() <= size_t(kPathUnits));
  Check(FixedText(button.macroName).size() <= size_t(kMacroNameUnits));
  const KeyCombinationSlots slots = DecodeKeyCombination(button);
  const EncodedCombination encoded = EncodeKeyCombination(slots);
  Check(encoded.eventCount <= 2 * kCombinationSlotCount);
  KeyMapByteFor(button, DefaultKeyUsage(button.reserved2 % kKeyIndexCount));
  FunctionNameKey(button.code);
  FunctionGroupOf(button.code);
  for (const MacroEvent& event : button.events) {
    const UnpackedEvent unpacked = UnpackEvent(event);
    const MacroEvent again = PackEvent(unpacked.press, unpacked.value, unpacked.eventCode);
    Check(std::memcmp(&again, &event, sizeof event) == 0);
    VirtualKeyToUsage(UsageToVirtualKey(event.eventCode));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::SetKeyboardLayout("us");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadLight(data, size);
  ReadButton(data, size);
  return 0;
}
