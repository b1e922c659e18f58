#pragma once

#include <cstdint>

// Message and timer numbers of the device link. Other programs and the service window rely
// on the values.
inline constexpr std::uint32_t kMsgHidNotify = 1282;    // 0x502, HID library -> driver window
inline constexpr std::uint32_t kMsgDeviceEvent = 1622;  // 0x656, driver -> service window
inline constexpr std::uint32_t kMsgDevicePlug = 21505;  // 0x5401, driver -> service window
// 21862 and 21863 report keyboard states the service receives but does not act on.
inline constexpr std::uint32_t kMsgKeyboardStatus =
    21862;  // 0x5566, input report -> service window
inline constexpr std::uint32_t kMsgKeyboardSwitch =
    21863;                                               // 0x5567, input report -> service window
inline constexpr std::uint32_t kMsgPageLedState = 1120;  // 0x460, input report -> settings page
inline constexpr std::uint32_t kMsgReopenHid = 2304;     // 0x900, anyone -> service window

inline constexpr std::uint64_t kDriverTimerId = 65537;  // 0x10001, on the driver's own window
inline constexpr std::uint32_t kDriverTimerMs = 1000;
