#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace platform {

struct XkbKeymapChoice;

// Scan codes are set-1 codes; the extended form carries 0xE0 in the high byte
// (0xE047 is Home, 0x47 keypad 7). Virtual keys are the numbers a Windows
// layout assigns: letters and digits by the character the key gives, the
// punctuation keys by the character where one is conventional (, . - +) and
// otherwise by their position on a US keyboard, every key a distinct number.
class KeyboardLayout {
 public:
  // Null when the layout cannot be compiled from the installed xkb data.
  static std::shared_ptr<const KeyboardLayout> FromName(const std::string& name);
  static std::shared_ptr<const KeyboardLayout> FromSession();

  ~KeyboardLayout();
  KeyboardLayout(const KeyboardLayout&) = delete;
  KeyboardLayout& operator=(const KeyboardLayout&) = delete;

  // The scan code without its 0xE0 prefix, 0 when no key gives the virtual key.
  uint16_t VirtualKeyToScanCode(uint16_t virtualKey) const;
  // Accepts the extended form; 0 when the key is unknown. Left and right
  // modifiers come back as distinct keys.
  uint16_t ScanCodeToVirtualKey(uint16_t scanCode) const;
  // What the key types while only Caps Lock is on and nothing else is held;
  // empty when it types nothing or is a dead key.
  std::u16string CapsLockText(uint16_t virtualKey) const;

  const std::string& Description() const { return m_description; }

 private:
  static std::shared_ptr<const KeyboardLayout> Build(
      const std::function<XkbKeymapChoice(xkb_context*)>& load);
  KeyboardLayout(xkb_context* context, xkb_keymap* keymap, unsigned layoutIndex,
                 std::string description);
  void AssignCharacterKeys();
  uint16_t PositionVirtualKey(uint8_t scanCode) const;

  xkb_context* m_context;
  xkb_keymap* m_keymap;
  xkb_state* m_capsState;
  unsigned m_layoutIndex;
  std::string m_description;
  std::array<uint16_t, 256> m_keyOfScan{};          // plain scan code -> virtual key
  std::array<uint16_t, 256> m_keyOfExtendedScan{};  // 0xE0-prefixed scan code -> virtual key
  std::array<uint16_t, 256> m_scanOfKey{};          // virtual key -> scan code, extended form
};

// The layout the key conversions use: the session's unless one was named.
std::shared_ptr<const KeyboardLayout> CurrentKeyboardLayout();

// Names the layout for later conversions ("fr", "de", "us(intl)"); an empty name
// returns to the session's layout, read afresh. False (and nothing changes) when
// the layout is unknown.
bool SetKeyboardLayout(const std::string& name);

}  // namespace platform
