#include "PlainWords.h"

#include <cstdio>

#include "model/EffectTable.h"
#include "model/FixedText.h"
#include "model/FunctionCodes.h"
#include "model/KeyCodeTable.h"
#include "model/KeyMatrix.h"
#include "model/KeyNameTable.h"
#include "model/LightInfoRules.h"
#include "platform/Text.h"

namespace {

std::string Quoted(std::u16string_view text) { return "\"" + platform::Utf16ToUtf8(text) + "\""; }

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

// Event codes name keyboard usages, except the mouse buttons and movements.
std::string EventTargetName(uint8_t code) {
  switch (code) {
    case kEventMoveDown:
      return "move down";
    case kEventMoveUp:
      return "move up";
    case kEventMoveLeft:
      return "move left";
    case kEventMoveRight:
      return "move right";
    case kEventMouseLeft:
    case kEventMouseRight:
    case kEventMouseMiddle:
      return platform::Utf16ToUtf8(KeyName(code, u""));
    default:
      break;
  }
  const uint16_t virtualKey = UsageToVirtualKey(code);
  return virtualKey != 0 ? platform::Utf16ToUtf8(KeyName(virtualKey, u"")) : "usage " + Hex2(code);
}

bool IsMovement(uint8_t code) { return code >= kEventMoveDown && code <= kEventMoveRight; }

std::string EventText(const MacroEvent& event) {
  const unsigned value = (event.flagsAndHigh & 0x7Fu) << 8 | event.valueLow;
  const std::string target = EventTargetName(event.eventCode);
  if (IsMovement(event.eventCode)) return target + " " + std::to_string(value) + " px";
  const bool press = (event.flagsAndHigh & kEventPressFlag) != 0;
  return (press ? "press " : "release ") + target + " (" + std::to_string(value) + " ms)";
}

std::string EventsText(const ButtonInfo& key) {
  const int count = key.eventCount < kMaxEvents ? key.eventCount : kMaxEvents;
  std::string text = std::to_string(count) + (count == 1 ? " event" : " events");
  for (int i = 0; i < count; ++i) text += (i == 0 ? ": " : ", ") + EventText(key.events[i]);
  return text;
}

std::string CombinationText(const ButtonInfo& key) {
  const int count = key.eventCount < kMaxEvents ? key.eventCount : kMaxEvents;
  std::string text;
  for (int i = 0; i < count / 2; ++i)
    text += (text.empty() ? "" : " + ") + EventTargetName(key.events[i].eventCode);
  return text.empty() ? "no keys" : text;
}

std::string RepeatText(uint16_t repeat) {
  if (repeat == 0xFFFF) return "repeat option 2";
  if (repeat == 0) return "repeat option 3";
  return repeat == 1 ? "played once" : "played " + std::to_string(repeat) + " times";
}

std::string FunctionName(int32_t code) {
  const NameKey name = FunctionNameKey(code);
  return name.key.empty() ? "Function code " + std::to_string(code) + " (no name)"
                          : HumanizeNameKey(name.key);
}

}  // namespace

std::string HumanizeNameKey(std::u16string_view key) {
  if (key.starts_with(u"LIGHT_")) key.remove_prefix(6);
  std::string text = platform::Utf16ToUtf8(key);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '_')
      text[i] = ' ';
    else if (i > 0)
      text[i] = static_cast<char>(platform::AsciiLower(static_cast<char16_t>(text[i])));
  }
  return text;
}

std::string ColorText(uint32_t colorReference) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colorReference & 0xFF,
                (colorReference >> 8) & 0xFF, (colorReference >> 16) & 0xFF);
  return text;
}

std::string KeyIndexName(int keyIndex) {
  if (!IsKeyIndexUsed(keyIndex)) return "unused position " + std::to_string(keyIndex);
  const uint8_t usage = DefaultKeyUsage(keyIndex);
  const std::string name = usage == kFnKeyByte ? std::string("Fn") : EventTargetName(usage);
  return name + " (key " + std::to_string(keyIndex) + ")";
}

std::string FunctionText(const ButtonInfo& key) {
  if (key.kind == kKindDisabled) return "Disabled";
  if (key.kind != kKindAssigned)
    return "Unknown kind " + std::to_string(key.kind) + ", code " + std::to_string(key.code);
  std::string text = FunctionName(key.code);
  if (key.code == kCodeLaunchProgram) text += ": " + Quoted(FixedText(key.programPath));
  if (key.code == kCodeSingleKey || key.code == kCodeKeyCombination)
    text += ": " + CombinationText(key);
  if (IsMacroCode(key.code))
    text += ": " + Quoted(FixedText(key.macroName)) + ", " + RepeatText(key.repeat) + ", " +
            EventsText(key);
  return text;
}

std::string LightingText(const LightInfo& light) {
  std::string text = light.effect < kEffectCount
                         ? HumanizeNameKey(EffectInfoOf(light.effect).labelKey)
                         : std::string("No such effect, shown as the first");
  text += " (effect " + std::to_string(light.effect) + ")";
  text += light.colorMode == 0 ? ", static colour" : ", colour cycle";
  text +=
      ", brightness " + std::to_string(light.brightness) + " of " + std::to_string(kMaxBrightness);
  text += ", speed " + std::to_string(light.speed) + " of " + std::to_string(kMaxSpeed);
  text += ", colour " + ColorText(light.color);
  text += ", colour choice " + std::to_string(light.colorOption + 1);
  const std::u16string_view spectrum = FixedText(light.spectrumName);
  text += spectrum.empty() ? ", no spectrum" : ", spectrum " + Quoted(spectrum);
  return text;
}
