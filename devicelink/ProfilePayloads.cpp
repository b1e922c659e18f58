#include "devicelink/ProfilePayloads.h"

#include <algorithm>

#include "model/FunctionCodes.h"
#include "model/KeyMapBytes.h"
#include "model/KeyMatrix.h"

namespace {

struct Shortcut {
  std::int32_t code;
  std::uint8_t modifier;
  std::uint8_t key;
};
constexpr Shortcut kShortcuts[] = {
    {kCodeWindowsDesktop, 0xE3, 0x07},  // left Windows + D
    {kCodeWindowsZoomIn, 0xE0, 0xC0},   // left Ctrl + 0xC0
    {kCodeWindowsZoomOut, 0xE0, 0xC1},  // left Ctrl + 0xC1
};

MacroEvent Press(std::uint8_t usage) { return {kEventPressFlag, 0, usage}; }
MacroEvent Release(std::uint8_t usage) { return {0, 0, usage}; }

void CopyEvents(const ButtonInfo& button, KeyMacroBlock& block) {
  // A damaged count never reads past the record's 80 events.
  const int count = std::min<int>(button.eventCount, kMaxEvents);
  std::copy_n(button.events, count, block.events);
}

}  // namespace

std::optional<KeyMacroBlock> MacroBlockFor(const ButtonInfo& button) {
  KeyMacroBlock block{};
  if (IsMacroCode(button.code)) {
    block.repeatHigh = static_cast<std::uint8_t>(button.repeat >> 8);
    block.repeatLow = static_cast<std::uint8_t>(button.repeat & 0xFF);
    CopyEvents(button, block);
    return block;
  }
  if (button.code == kCodeKeyCombination) {
    block.repeatLow = 1;
    CopyEvents(button, block);
    return block;
  }
  for (const Shortcut& shortcut : kShortcuts) {
    if (button.code != shortcut.code) continue;
    block.repeatLow = 1;
    block.events[0] = Press(shortcut.modifier);
    block.events[1] = Press(shortcut.key);
    block.events[2] = Release(shortcut.key);
    block.events[3] = Release(shortcut.modifier);
    return block;
  }
  return std::nullopt;
}

KeyMap KeyMapFor(std::span<const ButtonInfo, kButtonInfoCount> standardLayer) {
  KeyMap keyMap{};
  for (int i = 0; i < kButtonInfoCount; ++i) keyMap.keys[KeyPositionOf(i)] = DefaultKeyUsage(i);
  for (int i = 0; i < kButtonInfoCount; ++i) {
    // Indexes without a key share Esc's position; their records must never change Esc.
    if (!IsKeyIndexUsed(i)) continue;
    keyMap.keys[KeyPositionOf(i)] = KeyMapByteFor(standardLayer[i], DefaultKeyUsage(i));
  }
  return keyMap;
}
