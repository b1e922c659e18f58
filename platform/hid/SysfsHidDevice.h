#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/hid/HidBackend.h"

namespace tarnwick {

// Reads what identifies one hidraw interface from sysfs: vendor and product from the HID
// device's uevent (HID_ID=bus:vendor:product), usage page and usage from its report
// descriptor, and the firmware version from the USB device's bcdDevice. `usbDeviceDir` may
// be empty (a device on another bus), which gives version 0. nullopt when the uevent or the
// report descriptor cannot be read or understood.
std::optional<HidInterfaceInfo> ReadSysfsHidDevice(const std::string& hidDeviceDir,
                                                   const std::string& usbDeviceDir,
                                                   std::uint32_t deviceId);

// The parsers behind it, for text already read.
std::optional<std::pair<std::uint16_t, std::uint16_t>> ParseHidIdFromUevent(
    const std::string& uevent);
std::uint16_t ParseBcdDevice(const std::string& text);

}  // namespace tarnwick
