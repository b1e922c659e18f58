#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/hid/HidBackend.h"

namespace tarnwick {

inline constexpr std::uint16_t kKeyboardVendorId = 0x1EA7;
inline constexpr std::uint16_t kKeyboardProductId = 0x0077;
inline constexpr std::uint16_t kVirtualFirmwareVersion = 0x0105;
inline constexpr std::size_t kKeyMapBytes = 120;
inline constexpr std::size_t kMacroBlockBytes = 246;  // 242 bytes padded to 41 chunks of six
inline constexpr std::size_t kKeyMapChunks = 20;
inline constexpr std::size_t kMacroChunks = 41;

// One output report as the keyboard received it.
struct LoggedReport {
  std::uint64_t timeNs = 0;  // CLOCK_MONOTONIC at arrival
  std::uint32_t deviceId = 0;
  std::uint16_t usagePage = 0;  // of the interface it was written to; 0 for an unknown ID
  std::size_t length = 0;
  std::array<std::uint8_t, 8> bytes{};  // the first eight bytes, zero-padded
};

struct VirtualLighting {
  std::uint8_t effectCode = 0;
  std::uint8_t brightness = 0;
  std::uint8_t speed = 0;
  std::uint8_t colorOption = 0;
};

// What the keyboard keeps of what it was sent.
struct VirtualKeyboardState {
  bool plugged = false;
  std::optional<std::uint8_t> sleepEnabled;  // byte 2 of the last 0A 90 command
  unsigned refreshCount = 0;
  std::optional<std::array<std::uint8_t, kKeyMapBytes>> keyMap;
  std::map<std::uint8_t, std::array<std::uint8_t, kMacroBlockBytes>> macros;  // by position
  std::optional<VirtualLighting> lighting;
};

// An emulated PV37: its four vendor interfaces, a firmware object that decodes and keeps
// the commands it is sent, a log of every output report, and the input reports the real
// keyboard sends. Thread-safe; events reach the attached listener on the caller's thread.
class VirtualKeyboard {
 public:
  VirtualKeyboard();

  static std::span<const HidInterfaceInfo> Interfaces();

  // The listener hears plug, unplug and input reports; null detaches it.
  void Attach(HidBackendListener* listener);

  void Plug();
  void Unplug();
  bool IsPlugged() const;

  // One output report written to an interface.
  WriteResult Receive(std::uint32_t deviceId, std::span<const std::uint8_t> report);

  // Input reports, shaped as the keyboard sends them; false while unplugged.
  bool PressKey(std::uint8_t position, bool pressed);
  bool SwitchProfile(std::uint8_t slot);
  bool ChangeEffect(std::uint8_t effect);
  bool ChangeColorMode(std::uint8_t colorMode);
  bool ChangeBrightness(std::uint8_t brightness);
  bool SendInputReport(std::span<const std::uint8_t> report);

  VirtualKeyboardState State() const;
  std::vector<LoggedReport> Log() const;
  void ClearLog();

 private:
  enum class Upload { kNone, kKeyMap, kMacro };

  void Decode(std::uint16_t usagePage, std::span<const std::uint8_t, 8> report);
  void DecodeCommand(std::span<const std::uint8_t, 8> report);
  void DecodeChunk(Upload kind, std::span<const std::uint8_t, 8> report);
  bool SendOn(std::uint32_t deviceId, std::span<const std::uint8_t> report);

  mutable std::mutex m_mutex;
  // Held while the listener runs, so Attach(nullptr) waits for a call in progress; recursive
  // because a listener may plug or press from inside a notification.
  std::recursive_mutex m_listenerMutex;
  HidBackendListener* m_listener = nullptr;
  VirtualKeyboardState m_state;
  std::vector<LoggedReport> m_log;
  Upload m_upload = Upload::kNone;
  std::uint8_t m_uploadPosition = 0;
  std::size_t m_nextChunk = 1;
  std::vector<std::uint8_t> m_uploadBytes;
};

// A readable account of the state and of the log, as the virtual keyboard program prints it.
std::string DescribeState(const VirtualKeyboardState& state);
std::string DescribeLog(std::span<const LoggedReport> log);

}  // namespace tarnwick
