#include "platform/KeyboardLayout.h"

#include <xkbcommon/xkbcommon.h>

#include <functional>
#include <mutex>

#include "platform/Text.h"
#include "platform/XkbKeymapSource.h"

namespace platform {
namespace {

struct ScanKey {
  uint8_t scanCode;
  uint16_t virtualKey;
};

// Keys whose virtual key never depends on the layout.
constexpr ScanKey kFixedKeys[] = {
    {0x01, 0x1B}, {0x0E, 0x08}, {0x0F, 0x09}, {0x1C, 0x0D}, {0x1D, 0xA2}, {0x2A, 0xA0},
    {0x36, 0xA1}, {0x37, 0x6A}, {0x38, 0xA4}, {0x39, 0x20}, {0x3A, 0x14}, {0x3B, 0x70},
    {0x3C, 0x71}, {0x3D, 0x72}, {0x3E, 0x73}, {0x3F, 0x74}, {0x40, 0x75}, {0x41, 0x76},
    {0x42, 0x77}, {0x43, 0x78}, {0x44, 0x79}, {0x45, 0x90}, {0x46, 0x91}, {0x47, 0x24},
    {0x48, 0x26}, {0x49, 0x21}, {0x4A, 0x6D}, {0x4B, 0x25}, {0x4C, 0x0C}, {0x4D, 0x27},
    {0x4E, 0x6B}, {0x4F, 0x23}, {0x50, 0x28}, {0x51, 0x22}, {0x52, 0x2D}, {0x53, 0x2E},
    {0x54, 0x2C}, {0x57, 0x7A}, {0x58, 0x7B}, {0x64, 0x7C}, {0x65, 0x7D}, {0x66, 0x7E},
    {0x67, 0x7F}, {0x68, 0x80}, {0x69, 0x81}, {0x6A, 0x82}, {0x6B, 0x83}, {0x6C, 0x84},
    {0x6D, 0x85}, {0x6E, 0x86}, {0x76, 0x87},
};

constexpr ScanKey kFixedExtendedKeys[] = {
    {0x1C, 0x0D}, {0x1D, 0xA3}, {0x35, 0x6F}, {0x37, 0x2C}, {0x38, 0xA5},
    {0x45, 0x13}, {0x47, 0x24}, {0x48, 0x26}, {0x49, 0x21}, {0x4B, 0x25},
    {0x4D, 0x27}, {0x4F, 0x23}, {0x50, 0x28}, {0x51, 0x22}, {0x52, 0x2D},
    {0x53, 0x2E}, {0x5B, 0x5B}, {0x5C, 0x5C}, {0x5D, 0x5D},
};

// Virtual keys that no scan code yields on its own but that still name a key:
// the keypad digits (the keypad yields its navigation keys) and the generic modifiers.
constexpr ScanKey kExtraKeyScans[] = {
    {0x52, 0x60}, {0x4F, 0x61}, {0x50, 0x62}, {0x51, 0x63}, {0x4B, 0x64},
    {0x4C, 0x65}, {0x4D, 0x66}, {0x47, 0x67}, {0x48, 0x68}, {0x49, 0x69},
    {0x53, 0x6E}, {0x2A, 0x10}, {0x1D, 0x11}, {0x38, 0x12},
};

// The keys that type characters, with the virtual key their position has on a US keyboard.
constexpr ScanKey kCharacterKeys[] = {
    {0x02, '1'},  {0x03, '2'},  {0x04, '3'},  {0x05, '4'},  {0x06, '5'},  {0x07, '6'},
    {0x08, '7'},  {0x09, '8'},  {0x0A, '9'},  {0x0B, '0'},  {0x0C, 0xBD}, {0x0D, 0xBB},
    {0x10, 'Q'},  {0x11, 'W'},  {0x12, 'E'},  {0x13, 'R'},  {0x14, 'T'},  {0x15, 'Y'},
    {0x16, 'U'},  {0x17, 'I'},  {0x18, 'O'},  {0x19, 'P'},  {0x1A, 0xDB}, {0x1B, 0xDD},
    {0x1E, 'A'},  {0x1F, 'S'},  {0x20, 'D'},  {0x21, 'F'},  {0x22, 'G'},  {0x23, 'H'},
    {0x24, 'J'},  {0x25, 'K'},  {0x26, 'L'},  {0x27, 0xBA}, {0x28, 0xDE}, {0x29, 0xC0},
    {0x2B, 0xDC}, {0x2C, 'Z'},  {0x2D, 'X'},  {0x2E, 'C'},  {0x2F, 'V'},  {0x30, 'B'},
    {0x31, 'N'},  {0x32, 'M'},  {0x33, 0xBC}, {0x34, 0xBE}, {0x35, 0xBF}, {0x56, 0xE2},
    {0x73, 0xC1}, {0x7D, 0xDC},
};

// Numbers handed to character keys whose own number is already taken.
constexpr uint16_t kSpareVirtualKeys[] = {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB,
                                          0xDC, 0xDD, 0xDE, 0xDF, 0xE2, 0xC1, 0xC2, 0xE1,
                                          0xE3, 0xE4, 0xE6, 0x92, 0x93, 0x94, 0x95, 0x96};

// Linux input key codes, which xkb offsets by 8.
constexpr xkb_keycode_t kXkbOffset = 8;

struct ScanKeycode {
  uint8_t scanCode;
  uint16_t keycode;
};

// Plain scan codes up to 0x58 equal their Linux key codes; these are the others.
constexpr ScanKeycode kPlainKeycodes[] = {{0x54, 99}, {0x70, 93}, {0x73, 89}, {0x76, 194},
                                          {0x79, 92}, {0x7B, 94}, {0x7D, 124}};

constexpr ScanKeycode kExtendedKeycodes[] = {
    {0x1C, 96},  {0x1D, 97},  {0x35, 98},  {0x37, 99},  {0x38, 100}, {0x45, 119}, {0x47, 102},
    {0x48, 103}, {0x49, 104}, {0x4B, 105}, {0x4D, 106}, {0x4F, 107}, {0x50, 108}, {0x51, 109},
    {0x52, 110}, {0x53, 111}, {0x5B, 125}, {0x5C, 126}, {0x5D, 127}};

template <size_t N>
xkb_keycode_t FindKeycode(const ScanKeycode (&table)[N], uint8_t scanCode) {
  for (const ScanKeycode& entry : table) {
    if (entry.scanCode == scanCode) return entry.keycode + kXkbOffset;
  }
  return 0;
}

xkb_keycode_t KeycodeOfScan(uint8_t scanCode) {
  if (const xkb_keycode_t special = FindKeycode(kPlainKeycodes, scanCode)) return special;
  // F13..F23.
  if (scanCode >= 0x64 && scanCode <= 0x6E) return 183 + (scanCode - 0x64) + kXkbOffset;
  if (scanCode >= 0x01 && scanCode <= 0x58) return scanCode + kXkbOffset;
  return 0;
}

xkb_keycode_t KeycodeOf(uint16_t extendedScanCode) {
  const uint8_t scanCode = extendedScanCode & 0xFF;
  return (extendedScanCode >> 8) == 0xE0 ? FindKeycode(kExtendedKeycodes, scanCode)
                                         : KeycodeOfScan(scanCode);
}

bool IsDeadKey(xkb_keysym_t sym) { return sym >= XKB_KEY_dead_grave && sym <= 0xFE9F; }

}  // namespace

std::shared_ptr<const KeyboardLayout> KeyboardLayout::Build(
    const std::function<XkbKeymapChoice(xkb_context*)>& load) {
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  if (context == nullptr) return nullptr;
  xkb_context_set_log_level(context, XKB_LOG_LEVEL_CRITICAL);
  XkbKeymapChoice choice = load(context);
  if (choice.keymap == nullptr) {
    xkb_context_unref(context);
    return nullptr;
  }
  return std::shared_ptr<const KeyboardLayout>(
      new KeyboardLayout(context, choice.keymap, choice.layoutIndex, choice.description));
}

std::shared_ptr<const KeyboardLayout> KeyboardLayout::FromName(const std::string& name) {
  return Build([&name](xkb_context* context) { return LoadNamedKeymap(context, name); });
}

std::shared_ptr<const KeyboardLayout> KeyboardLayout::FromSession() {
  return Build(LoadSessionKeymap);
}

KeyboardLayout::KeyboardLayout(xkb_context* context, xkb_keymap* keymap, unsigned layoutIndex,
                               std::string description)
    : m_context(context),
      m_keymap(keymap),
      m_capsState(xkb_state_new(keymap)),
      m_layoutIndex(layoutIndex),
      m_description(std::move(description)) {
  if (m_capsState != nullptr) {
    const xkb_mod_index_t caps = xkb_keymap_mod_get_index(m_keymap, XKB_MOD_NAME_CAPS);
    const xkb_mod_mask_t locked = caps == XKB_MOD_INVALID ? 0 : (1u << caps);
    xkb_state_update_mask(m_capsState, 0, 0, locked, 0, 0, m_layoutIndex);
  }
  for (const auto& key : kFixedKeys) m_keyOfScan[key.scanCode] = key.virtualKey;
  for (const auto& key : kFixedExtendedKeys) m_keyOfExtendedScan[key.scanCode] = key.virtualKey;
  AssignCharacterKeys();

  for (int scan = 0xFF; scan >= 1; --scan) {
    if (m_keyOfExtendedScan[scan] != 0) m_scanOfKey[m_keyOfExtendedScan[scan]] = 0xE000 | scan;
  }
  for (int scan = 0xFF; scan >= 1; --scan) {
    if (m_keyOfScan[scan] != 0) m_scanOfKey[m_keyOfScan[scan]] = scan;
  }
  for (const auto& key : kExtraKeyScans) {
    if (m_scanOfKey[key.virtualKey] == 0) m_scanOfKey[key.virtualKey] = key.scanCode;
  }
}

KeyboardLayout::~KeyboardLayout() {
  xkb_state_unref(m_capsState);
  xkb_keymap_unref(m_keymap);
  xkb_context_unref(m_context);
}

uint16_t KeyboardLayout::PositionVirtualKey(uint8_t scanCode) const {
  for (const auto& key : kCharacterKeys) {
    if (key.scanCode == scanCode) return key.virtualKey;
  }
  return 0;
}

// Windows layouts number letter and digit keys by what they type, so that
// "Ctrl+A" means the key labelled A on every keyboard; a French digit row
// types its digits with Shift. The rules run from the strongest claim to the
// weakest, and a key only takes a number nobody has claimed yet.
void KeyboardLayout::AssignCharacterKeys() {
  const auto symAt = [this](uint8_t scanCode, unsigned level) -> xkb_keysym_t {
    const xkb_keycode_t keycode = KeycodeOfScan(scanCode);
    const xkb_layout_index_t layouts = xkb_keymap_num_layouts_for_key(m_keymap, keycode);
    if (layouts == 0) return XKB_KEY_NoSymbol;
    const xkb_layout_index_t layout = m_layoutIndex < layouts ? m_layoutIndex : 0;
    if (level >= xkb_keymap_num_levels_for_key(m_keymap, keycode, layout)) {
      return XKB_KEY_NoSymbol;
    }
    const xkb_keysym_t* syms = nullptr;
    const int count = xkb_keymap_key_get_syms_by_level(m_keymap, keycode, layout, level, &syms);
    return count == 1 ? syms[0] : XKB_KEY_NoSymbol;
  };
  const auto byLetterOrDigit = [&](uint8_t scanCode) -> uint16_t {
    const xkb_keysym_t sym = symAt(scanCode, 0);
    if (sym >= XKB_KEY_a && sym <= XKB_KEY_z) return uint16_t('A' + (sym - XKB_KEY_a));
    if (sym >= XKB_KEY_A && sym <= XKB_KEY_Z) return uint16_t(sym);
    if (sym >= XKB_KEY_0 && sym <= XKB_KEY_9) return uint16_t(sym);
    return 0;
  };
  const auto byShiftedDigit = [&](uint8_t scanCode) -> uint16_t {
    const xkb_keysym_t sym = symAt(scanCode, 1);
    return sym >= XKB_KEY_0 && sym <= XKB_KEY_9 ? uint16_t(sym) : 0;
  };
  const auto byPunctuation = [&](uint8_t scanCode) -> uint16_t {
    switch (symAt(scanCode, 0)) {
      case XKB_KEY_comma:
        return 0xBC;
      case XKB_KEY_period:
        return 0xBE;
      case XKB_KEY_minus:
        return 0xBD;
      case XKB_KEY_plus:
        return 0xBB;
      default:
        return 0;
    }
  };
  const auto byPosition = [&](uint8_t scanCode) { return PositionVirtualKey(scanCode); };

  std::array<bool, 256> taken{};
  for (const auto& key : kFixedKeys) taken[key.virtualKey] = true;
  for (const auto& key : kFixedExtendedKeys) taken[key.virtualKey] = true;
  for (const auto& key : kExtraKeyScans) taken[key.virtualKey] = true;

  const auto claim = [&](auto rule) {
    for (const auto& key : kCharacterKeys) {
      if (m_keyOfScan[key.scanCode] != 0) continue;
      const uint16_t virtualKey = rule(key.scanCode);
      if (virtualKey != 0 && !taken[virtualKey]) {
        m_keyOfScan[key.scanCode] = virtualKey;
        taken[virtualKey] = true;
      }
    }
  };
  claim(byLetterOrDigit);
  claim(byShiftedDigit);
  claim(byPunctuation);
  claim(byPosition);
  for (const auto& key : kCharacterKeys) {
    if (m_keyOfScan[key.scanCode] != 0) continue;
    for (const uint16_t spare : kSpareVirtualKeys) {
      if (!taken[spare]) {
        m_keyOfScan[key.scanCode] = spare;
        taken[spare] = true;
        break;
      }
    }
  }
}

uint16_t KeyboardLayout::VirtualKeyToScanCode(uint16_t virtualKey) const {
  return virtualKey < m_scanOfKey.size() ? m_scanOfKey[virtualKey] & 0xFF : 0;
}

uint16_t KeyboardLayout::ScanCodeToVirtualKey(uint16_t scanCode) const {
  switch (scanCode >> 8) {
    case 0:
      return m_keyOfScan[scanCode];
    case 0xE0:
      return m_keyOfExtendedScan[scanCode & 0xFF];
    default:
      return 0;
  }
}

std::u16string KeyboardLayout::CapsLockText(uint16_t virtualKey) const {
  if (m_capsState == nullptr || virtualKey >= m_scanOfKey.size()) return {};
  const xkb_keycode_t keycode = KeycodeOf(m_scanOfKey[virtualKey]);
  if (keycode == 0) return {};
  if (IsDeadKey(xkb_state_key_get_one_sym(m_capsState, keycode))) return {};
  char text[64];
  xkb_state_key_get_utf8(m_capsState, keycode, text, sizeof text);
  return Utf8ToUtf16(text);
}

namespace {

std::mutex g_currentMutex;
std::shared_ptr<const KeyboardLayout> g_current;

}  // namespace

std::shared_ptr<const KeyboardLayout> CurrentKeyboardLayout() {
  std::lock_guard lock(g_currentMutex);
  if (g_current == nullptr) g_current = KeyboardLayout::FromSession();
  return g_current;
}

bool SetKeyboardLayout(const std::string& name) {
  auto layout = name.empty() ? KeyboardLayout::FromSession() : KeyboardLayout::FromName(name);
  if (layout == nullptr) return false;
  std::lock_guard lock(g_currentMutex);
  g_current = std::move(layout);
  return true;
}

}  // namespace platform
