#pragma once

#include <cstdint>
#include <string_view>

// Values of ButtonInfo::code.
constexpr int32_t kCodeDefault = 0;
constexpr int32_t kCodeProfileCycle = 260;
constexpr int32_t kCodeProfileUp = 261;
constexpr int32_t kCodeProfileDown = 262;
constexpr int32_t kCodeDisable = 271;
constexpr int32_t kCodeLaunchProgram = 384;
constexpr int32_t kCodeMouseLeftClick = 417;
constexpr int32_t kCodeMouseScrollRight = 426;
constexpr int32_t kCodeMediaVolumeUp = 449;
constexpr int32_t kCodeMediaNextTrack = 454;
constexpr int32_t kCodeMediaStop = 455;
constexpr int32_t kCodeSingleKey = 465;
constexpr int32_t kCodeKeyCombination = 466;
constexpr int32_t kCodeWindowsDesktop = 481;
constexpr int32_t kCodeWindowsCalculator = 482;
constexpr int32_t kCodeWindowsZoomIn = 483;
constexpr int32_t kCodeWindowsZoomOut = 484;
constexpr int32_t kCodeMacro = 512;
constexpr int32_t kCodeMacroLast = 65535;

// The function chooser's groups.
constexpr int kGroupDefault = 80;
constexpr int kGroupDisable = 81;
constexpr int kGroupMacro = 82;
constexpr int kGroupProfileSwitch = 83;
constexpr int kGroupLaunchProgram = 84;
constexpr int kGroupMouse = 85;
constexpr int kGroupKeyboard = 86;
constexpr int kGroupMedia = 87;
constexpr int kGroupWindows = 88;

constexpr bool IsMacroCode(int32_t code) { return code >= kCodeMacro && code <= kCodeMacroLast; }

// Where the on-screen name of a function lives in the string document; key is
// empty when the function has no name.
struct NameKey {
  std::u16string_view section;
  std::u16string_view key;
};

// Takes a function code or a group number (80..88).
NameKey FunctionNameKey(int32_t codeOrGroup);

// item counts from 1 within the group; 0 for groups that hold one function.
struct FunctionGroup {
  int group;
  int item;
};

FunctionGroup FunctionGroupOf(int32_t code);
