#include "model/KeyMapBytes.h"

#include <array>

#include "model/ButtonInfo.h"
#include "model/FunctionCodes.h"

namespace {

constexpr uint8_t kPlayMacroByte = 0xCD;

constexpr std::array<CodeByte, kCodeByteRowCount> kRows = {{
    {261, 0xF7}, {262, 0xF8}, {260, 0xF9}, {289, 0xC7}, {290, 0xC7}, {291, 0xC7}, {321, 0xC4},
    {322, 0xC5}, {323, 0xC6}, {353, 0xC4}, {354, 0xC5}, {355, 0xC6}, {384, 0xFE}, {223, 0xDF},
    {219, 0xDB}, {417, 0xCE}, {418, 0xCF}, {420, 0xD5}, {419, 0xD0}, {423, 0xD2}, {424, 0xD1},
    {421, 0xD3}, {422, 0xD4}, {452, 0xA7}, {455, 0xA5}, {453, 0xA6}, {454, 0xA8}, {449, 0xAB},
    {450, 0xAA}, {451, 0xA9}, {482, 0xB8},
}};

}  // namespace

std::span<const CodeByte, kCodeByteRowCount> CodeToByteTable() { return kRows; }

uint8_t KeyMapByteOfCode(int32_t code) {
  for (const CodeByte& row : kRows) {
    if (row.code == code) return row.keyMapByte;
  }
  return 0;
}

int32_t CodeOfKeyMapByte(uint8_t keyMapByte) {
  int32_t code = 0;
  for (const CodeByte& row : kRows) {
    if (row.keyMapByte == keyMapByte) code = row.code;
  }
  return code;
}

uint8_t KeyMapByteFor(const ButtonInfo& button, uint8_t defaultUsage) {
  if (button.kind == kKindDisabled) return 0;
  if (button.kind != kKindAssigned) return defaultUsage;
  if (const uint8_t fromTable = KeyMapByteOfCode(button.code); fromTable != 0) return fromTable;
  if (button.code == kCodeSingleKey && button.events[0].eventCode != 0) {
    return button.events[0].eventCode;
  }
  switch (button.code) {
    case kCodeKeyCombination:
    case kCodeWindowsDesktop:
    case kCodeWindowsZoomIn:
    case kCodeWindowsZoomOut:
      return kPlayMacroByte;
    case kCodeDisable:
      return 0;
    default:
      return IsMacroCode(button.code) ? kPlayMacroByte : defaultUsage;
  }
}
