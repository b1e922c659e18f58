#include "platform/hid/Tarnwick.h"

#include "platform/hid/HidLibrary.h"

namespace tarnwick {

void SetDeviceFilter(const DeviceFilter& filter) { HidLibrary::Instance().SetDeviceFilter(filter); }

void SetInputCallback(InputReportCallback callback) {
  HidLibrary::Instance().SetInputCallback(callback);
}

int Open(platform::WindowHandle window, std::uint32_t message) {
  return HidLibrary::Instance().Open(window, message);
}

bool ReadNotification(platform::LParam lParam, _DEVICE_STATE& record) {
  return HidLibrary::Instance().ReadRecord(lParam, record);
}

void Close() { HidLibrary::Instance().Close(); }

int WriteReport(std::uint32_t deviceId, std::span<const std::uint8_t> report) {
  return HidLibrary::Instance().WriteReport(deviceId, report);
}

std::uint16_t FirmwareVersion() { return HidLibrary::Instance().FirmwareVersion(); }

}  // namespace tarnwick
