#include "platform/hid/SysfsHidDevice.h"

#include <cstdlib>
#include <span>

#include "platform/FileSystem.h"
#include "platform/hid/ReportDescriptor.h"

namespace tarnwick {
namespace {

// Reads a hexadecimal field of at most `maxDigits` digits ending at `end` or a separator.
std::optional<std::uint32_t> HexField(const std::string& text, std::size_t& pos,
                                      std::size_t maxDigits) {
  std::uint32_t value = 0;
  std::size_t digits = 0;
  while (pos < text.size() && digits < maxDigits + 1) {
    const char c = text[pos];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      break;
    }
    value = (value << 4) | static_cast<std::uint32_t>(digit);
    ++digits;
    ++pos;
  }
  if (digits == 0 || digits > maxDigits) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::pair<std::uint16_t, std::uint16_t>> ParseHidIdFromUevent(
    const std::string& uevent) {
  static constexpr std::string_view kKey = "HID_ID=";
  std::size_t lineStart = 0;
  while (lineStart < uevent.size()) {
    std::size_t lineEnd = uevent.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = uevent.size();
    if (uevent.compare(lineStart, kKey.size(), kKey) == 0) {
      std::size_t pos = lineStart + kKey.size();
      const auto bus = HexField(uevent, pos, 4);
      if (!bus || pos >= lineEnd || uevent[pos++] != ':') return std::nullopt;
      const auto vendor = HexField(uevent, pos, 8);
      if (!vendor || pos >= lineEnd || uevent[pos++] != ':') return std::nullopt;
      const auto product = HexField(uevent, pos, 8);
      if (!product || pos != lineEnd || *vendor > 0xFFFF || *product > 0xFFFF) return std::nullopt;
      return std::pair{static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
    }
    lineStart = lineEnd + 1;
  }
  return std::nullopt;
}

std::uint16_t ParseBcdDevice(const std::string& text) {
  std::size_t pos = 0;
  const auto value = HexField(text, pos, 4);
  return value ? static_cast<std::uint16_t>(*value) : 0;
}

std::optional<HidInterfaceInfo> ReadSysfsHidDevice(const std::string& hidDeviceDir,
                                                   const std::string& usbDeviceDir,
                                                   std::uint32_t deviceId) {
  const auto uevent = platform::ReadWholeFile(hidDeviceDir + "/uevent");
  const auto descriptor = platform::ReadWholeFile(hidDeviceDir + "/report_descriptor");
  if (!uevent || !descriptor) return std::nullopt;
  const auto ids = ParseHidIdFromUevent(*uevent);
  if (!ids) return std::nullopt;
  const ReportDescriptorResult parsed = ParseReportDescriptor(
      std::span(reinterpret_cast<const std::uint8_t*>(descriptor->data()), descriptor->size()));
  if (parsed.status != DescriptorStatus::kOk) return std::nullopt;

  HidInterfaceInfo info;
  info.deviceId = deviceId;
  info.vendorId = ids->first;
  info.productId = ids->second;
  info.usagePage = parsed.usagePage;
  info.usage = parsed.usage;
  if (!usbDeviceDir.empty()) {
    if (const auto bcd = platform::ReadWholeFile(usbDeviceDir + "/bcdDevice")) {
      info.firmwareVersion = ParseBcdDevice(*bcd);
    }
  }
  return info;
}

}  // namespace tarnwick
