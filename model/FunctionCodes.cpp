#include "model/FunctionCodes.h"

namespace {

constexpr std::u16string_view kFuncString = u"FUNC_STRING";
constexpr std::u16string_view kFuncAdvance = u"FUNC_ADVANCE";

struct CodeName {
  int32_t code;
  std::u16string_view key;
};

constexpr CodeName kCodeNames[] = {
    {257, u"MODE_SWITCH1"},         {258, u"MODE_SWITCH2"},      {259, u"MODE_SWITCH3"},
    {260, u"MODE_SWITCH_CYCLE"},    {261, u"MODE_SWITCH_UP"},    {262, u"MODE_SWITCH_DOWN"},
    {263, u"MODE_SWITCHEX1"},       {264, u"MODE_SWITCHEX2"},    {265, u"MODE_SWITCHEX3"},
    {384, u"LAUNCH_PROGRAM_FUNC"},  {400, u"MODE_SNIPER1"},      {401, u"MODE_DPISWITCH1"},
    {402, u"MODE_DPISWITCH2"},      {403, u"MODE_DPISWITCH3"},   {404, u"MODE_DPISWITCH4"},
    {405, u"MODE_DPISWITCH5"},      {406, u"MODE_DPISWITCH6"},   {407, u"MODE_DPISWITCH7"},
    {417, u"MOUSE_LEFT_CLICK"},     {418, u"MOUSE_RIGHT_CLICK"}, {419, u"MOUSE_SCROLL_CLICK"},
    {420, u"MOUSE_DOUBLE_CLICK"},   {421, u"MOUSE_BACKWARD"},    {422, u"MOUSE_FORWARD"},
    {423, u"MOUSE_SCROLL_UP"},      {424, u"MOUSE_SCROLL_DOWN"}, {449, u"MEDIA_VOLUME_UP"},
    {450, u"MEDIA_VOLUME_DOWN"},    {451, u"MEDIA_MUTE_VOLUME"}, {452, u"MEDIA_PLAY_PAUSE"},
    {453, u"MEDIA_PREVIOUS_TRACK"}, {454, u"MEDIA_NEXT_TRACK"},  {455, u"STOP"},
    {465, u"SINGLE_KEY"},           {466, u"SINGLE_KEY"},        {481, u"WINDOWS_DESKTOP"},
    {482, u"WINDOWS_CALCULATOR"},   {483, u"WINDOWS_ZOOM_IN"},   {484, u"WINDOWS_ZOOM_OUT"},
};

constexpr std::u16string_view kGroupNames[] = {
    u"DEFAULT",    u"DISABLE",       u"MACRO",      u"PROFILE_SWITCH", u"LAUNCH_PROGRAM",
    u"MOUSE_FUNC", u"KEYBOARD_FUNC", u"MEDIA_FUNC", u"WINDOWS_FUNC",
};

}  // namespace

NameKey FunctionNameKey(int32_t codeOrGroup) {
  if (codeOrGroup >= kGroupDefault && codeOrGroup <= kGroupWindows) {
    return {kFuncAdvance, kGroupNames[codeOrGroup - kGroupDefault]};
  }
  if (codeOrGroup == kCodeDisable) return {kFuncAdvance, u"DISABLE"};
  if (IsMacroCode(codeOrGroup)) return {kFuncString, u"MACRO"};
  for (const CodeName& entry : kCodeNames) {
    if (entry.code == codeOrGroup) return {kFuncString, entry.key};
  }
  return {kFuncString, {}};
}

FunctionGroup FunctionGroupOf(int32_t code) {
  if (code >= kCodeProfileCycle && code <= kCodeProfileDown) {
    return {kGroupProfileSwitch, code - (kCodeProfileCycle - 1)};
  }
  if (code == kCodeLaunchProgram) return {kGroupLaunchProgram, 0};
  if (code >= kCodeMouseLeftClick && code <= kCodeMouseScrollRight) {
    return {kGroupMouse, code - (kCodeMouseLeftClick - 1)};
  }
  if (code >= kCodeMediaVolumeUp && code <= kCodeMediaNextTrack) {
    return {kGroupMedia, code - (kCodeMediaVolumeUp - 1)};
  }
  if (code >= kCodeWindowsDesktop && code <= kCodeWindowsZoomOut) {
    return {kGroupWindows, code - (kCodeWindowsDesktop - 1)};
  }
  if (code == kCodeSingleKey || code == kCodeKeyCombination) return {kGroupKeyboard, 0};
  if (IsMacroCode(code)) return {kGroupMacro, 0};
  if (code == kCodeDisable) return {kGroupDisable, 0};
  return {kGroupDefault, 0};
}
