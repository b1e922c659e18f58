#include "model/KeyCombination.h"

#include <algorithm>

#include "model/ButtonInfo.h"
#include "model/FunctionCodes.h"
#include "model/KeyCodeTable.h"

EncodedCombination EncodeKeyCombination(const KeyCombinationSlots& slots) {
  EncodedCombination result{};
  int pressed = 0;
  for (const uint16_t virtualKey : {slots.shift, slots.ctrl, slots.alt, slots.other}) {
    if (virtualKey == 0) continue;
    const uint8_t usage = VirtualKeyToUsage(virtualKey);
    const int count = 2 * pressed;
    std::copy_backward(result.events + pressed, result.events + count, result.events + count + 2);
    result.events[pressed] = PackEvent(true, kCombinationEventDelay, usage);
    result.events[pressed + 1] = PackEvent(false, kCombinationEventDelay, usage);
    ++pressed;
  }
  result.eventCount = uint8_t(2 * pressed);
  result.code = pressed == 1 ? kCodeSingleKey : kCodeKeyCombination;
  return result;
}

KeyCombinationSlots DecodeKeyCombination(const ButtonInfo& button) {
  KeyCombinationSlots slots{};
  const int count = std::min<int>(button.eventCount, kMaxEvents);
  if (count <= 1) return slots;
  for (int i = 0; i < count / 2; ++i) {
    const uint16_t virtualKey = UsageToVirtualKey(button.events[i].eventCode);
    switch (virtualKey) {
      case 0:
        break;
      case 0xA0:
      case 0xA1:
        slots.shift = virtualKey;
        break;
      case 0xA2:
      case 0xA3:
        slots.ctrl = virtualKey;
        break;
      case 0xA4:
      case 0xA5:
        slots.alt = virtualKey;
        break;
      default:
        slots.other = virtualKey;
        break;
    }
  }
  return slots;
}
