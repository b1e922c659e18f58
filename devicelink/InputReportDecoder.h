#pragma once

#include <cstdint>
#include <span>
#include <vector>

// What one input report from the keyboard asks the driver to post.
struct DecodedPost {
  enum class Target {
    kDeviceEvent,    // PostDeviceEvent(wParam, code, state) to the service window
    kServiceWindow,  // `message` to the window titled "Tolvane PV37_Hid"
    kSettingsPage,   // `message` to the settings page, when it exists
  };
  Target target;
  std::uint32_t message;  // 0 for device events
  std::uint64_t wParam;
  std::uint8_t code;
  std::uint16_t state;
  bool operator==(const DecodedPost&) const = default;
};

inline constexpr std::size_t kDecodedReportBytes = 9;

// The decode rules for the keyboard's input reports, in their order; reports of unknown
// shape give nothing. `report` holds the first nine bytes (zero where the report was shorter).
std::vector<DecodedPost> DecodeInputReport(
    std::span<const std::uint8_t, kDecodedReportBytes> report);
