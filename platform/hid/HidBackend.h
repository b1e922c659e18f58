#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tarnwick {

// What a backend knows of one HID interface before and after opening it.
struct HidInterfaceInfo {
  std::uint32_t deviceId = 0;  // nonzero, unique among the interfaces present
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  std::uint16_t firmwareVersion = 0;
};

enum class WriteResult { kWritten, kDeviceGone, kFailed };

// Events from a backend; they may arrive on any thread, but never after Stop() returned.
class HidBackendListener {
 public:
  virtual ~HidBackendListener() = default;
  // Asked before an interface is opened, so unwanted interfaces are never touched.
  virtual bool Wants(const HidInterfaceInfo& info) = 0;
  virtual void InterfaceOpened(const HidInterfaceInfo& info) = 0;
  virtual void InterfaceClosed(std::uint32_t deviceId) = 0;
  virtual void InputReport(std::uint32_t deviceId, std::span<const std::uint8_t> report) = 0;
};

// One way of reaching keyboards: the kernel's hidraw nodes or the virtual keyboard.
class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // Reports every wanted interface already present, then watches for changes.
  virtual bool Start(HidBackendListener& listener) = 0;
  // Closes every interface without announcing it; no listener call runs after the return.
  virtual void Stop() = 0;
  virtual WriteResult Write(std::uint32_t deviceId, std::span<const std::uint8_t> report) = 0;
};

}  // namespace tarnwick
