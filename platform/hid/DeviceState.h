#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwick {

// The record handed over with the library's notification message (lParam points to it).
struct _DEVICE_STATE {
  std::uint32_t event;     // 1 = interface opened (arrival), 0 = interface closed (removal)
  std::uint32_t deviceId;  // the caller uses the low 16 bits
  std::uint16_t reserved0;
  std::uint16_t usage;
  std::uint16_t usagePage;
  std::uint16_t reserved1;
};
static_assert(sizeof(_DEVICE_STATE) == 16);
static_assert(offsetof(_DEVICE_STATE, event) == 0);
static_assert(offsetof(_DEVICE_STATE, deviceId) == 4);
static_assert(offsetof(_DEVICE_STATE, usage) == 10);
static_assert(offsetof(_DEVICE_STATE, usagePage) == 12);

inline constexpr std::uint32_t kInterfaceClosed = 0;
inline constexpr std::uint32_t kInterfaceOpened = 1;

}  // namespace tarnwick
