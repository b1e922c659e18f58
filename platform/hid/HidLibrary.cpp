#include "platform/hid/HidLibrary.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <tuple>

#include "platform/DebugOutput.h"
#include "platform/hid/HidrawBackend.h"
#include "platform/hid/RemoteVirtualBackend.h"
#include "platform/hid/VirtualBackend.h"

namespace tarnwick {
namespace {

// The keyboard embedded in this process when the virtual backend is chosen and the virtual
// keyboard program is not running.
VirtualKeyboard& EmbeddedKeyboard() {
  static VirtualKeyboard* keyboard = [] {
    auto* created = new VirtualKeyboard;
    created->Plug();
    return created;
  }();
  return *keyboard;
}

}  // namespace

bool HidLibrary::RecordLess::operator()(const _DEVICE_STATE& a, const _DEVICE_STATE& b) const {
  return std::tie(a.event, a.deviceId, a.usage, a.usagePage) <
         std::tie(b.event, b.deviceId, b.usage, b.usagePage);
}

HidLibrary& HidLibrary::Instance() {
  // Never destroyed: notification records must outlive any message still queued at exit.
  static HidLibrary* library = new HidLibrary;
  return *library;
}

void HidLibrary::SetBackendFactory(BackendFactory factory) {
  std::lock_guard lifecycle(m_lifecycleMutex);
  m_factory = std::move(factory);
}

void HidLibrary::SetDeviceFilter(const DeviceFilter& filter) {
  std::lock_guard lock(m_mutex);
  m_filter = filter;
}

void HidLibrary::SetInputCallback(InputReportCallback callback) { m_callback.store(callback); }

std::unique_ptr<HidBackend> HidLibrary::MakeBackend() {
  if (m_factory) return m_factory();
  const char* choice = std::getenv("PV37_HID_BACKEND");
  if (choice && std::string_view(choice) == "virtual") {
    if (auto remote = RemoteVirtualBackend::Connect()) {
      platform::DebugTrace("Tarnwick: using the running virtual keyboard program\n");
      return remote;
    }
    platform::DebugTrace(
        "Tarnwick: virtual keyboard program not running; using one in this process\n");
    return std::make_unique<VirtualBackend>(EmbeddedKeyboard());
  }
  return std::make_unique<HidrawBackend>();
}

int HidLibrary::Open(platform::WindowHandle window, std::uint32_t message) {
  std::lock_guard lifecycle(m_lifecycleMutex);
  if (m_backend) {
    m_backend->Stop();
    m_backend.reset();
  }
  {
    std::lock_guard lock(m_mutex);
    m_window = window;
    m_message = message;
    m_interfaces.clear();
  }
  std::unique_ptr<HidBackend> backend = MakeBackend();
  if (!backend || !backend->Start(*this)) {
    std::lock_guard lock(m_mutex);
    m_window = 0;
    m_interfaces.clear();
    return 0;
  }
  m_backend = std::move(backend);
  std::lock_guard lock(m_mutex);
  if (m_interfaces.empty())
    platform::DebugTrace("Tarnwick: no keyboard present; waiting for one\n");
  return 1;
}

void HidLibrary::Close() {
  std::lock_guard lifecycle(m_lifecycleMutex);
  if (m_backend) {
    m_backend->Stop();
    m_backend.reset();
  }
  std::lock_guard lock(m_mutex);
  m_window = 0;
  m_interfaces.clear();
}

int HidLibrary::WriteReport(std::uint32_t deviceId, std::span<const std::uint8_t> report) {
  std::lock_guard lifecycle(m_lifecycleMutex);
  if (!m_backend || report.empty()) return 0;
  {
    std::lock_guard lock(m_mutex);
    const bool open =
        std::any_of(m_interfaces.begin(), m_interfaces.end(),
                    [&](const HidInterfaceInfo& info) { return info.deviceId == deviceId; });
    if (!open) return 0;
  }
  return m_backend->Write(deviceId, report) == WriteResult::kWritten ? 1 : 0;
}

std::uint16_t HidLibrary::FirmwareVersion() {
  std::lock_guard lock(m_mutex);
  return m_interfaces.empty() ? 0 : m_interfaces.front().firmwareVersion;
}

bool HidLibrary::Wants(const HidInterfaceInfo& info) {
  std::lock_guard lock(m_mutex);
  return FilterAccepts(m_filter, info);
}

void HidLibrary::InterfaceOpened(const HidInterfaceInfo& info) {
  std::lock_guard lock(m_mutex);
  auto known =
      std::find_if(m_interfaces.begin(), m_interfaces.end(),
                   [&](const HidInterfaceInfo& open) { return open.deviceId == info.deviceId; });
  if (known != m_interfaces.end()) {
    *known = info;
  } else {
    m_interfaces.push_back(info);
  }
  Notify(kInterfaceOpened, info);
}

void HidLibrary::InterfaceClosed(std::uint32_t deviceId) {
  std::lock_guard lock(m_mutex);
  auto known =
      std::find_if(m_interfaces.begin(), m_interfaces.end(),
                   [&](const HidInterfaceInfo& open) { return open.deviceId == deviceId; });
  if (known == m_interfaces.end()) return;
  const HidInterfaceInfo info = *known;
  m_interfaces.erase(known);
  Notify(kInterfaceClosed, info);
}

void HidLibrary::InputReport(std::uint32_t deviceId, std::span<const std::uint8_t> report) {
  if (report.empty()) return;
  {
    std::lock_guard lock(m_mutex);
    const bool open =
        std::any_of(m_interfaces.begin(), m_interfaces.end(),
                    [&](const HidInterfaceInfo& info) { return info.deviceId == deviceId; });
    if (!open) return;
  }
  const InputReportCallback callback = m_callback.load();
  if (!callback) return;
  // Callers read a fixed number of leading bytes (up to byte 8), so short reports are padded.
  std::array<std::uint8_t, 64> padded{};
  std::vector<std::uint8_t> large;
  const std::uint8_t* bytes = padded.data();
  if (report.size() <= padded.size()) {
    std::memcpy(padded.data(), report.data(), report.size());
  } else {
    large.assign(report.begin(), report.end());
    bytes = large.data();
  }
  callback(report[0], bytes, static_cast<int>(report.size()));
}

void HidLibrary::Notify(std::uint32_t event, const HidInterfaceInfo& info) {
  if (!m_window) return;
  _DEVICE_STATE record{};
  record.event = event;
  record.deviceId = info.deviceId;
  record.usage = info.usage;
  record.usagePage = info.usagePage;
  platform::PostToWindow(m_window, m_message, 1,
                         reinterpret_cast<platform::LParam>(KeepRecordLocked(record)));
}

const _DEVICE_STATE* HidLibrary::KeepRecordLocked(const _DEVICE_STATE& record) {
  return &*m_records.insert(record).first;
}

const _DEVICE_STATE* HidLibrary::KeepRecord(const _DEVICE_STATE& record) {
  std::lock_guard lock(m_mutex);
  return KeepRecordLocked(record);
}

bool HidLibrary::ReadRecord(platform::LParam lParam, _DEVICE_STATE& record) {
  std::lock_guard lock(m_mutex);
  for (const _DEVICE_STATE& kept : m_records) {
    if (reinterpret_cast<platform::LParam>(&kept) == lParam) {
      record = kept;
      return true;
    }
  }
  return false;
}

}  // namespace tarnwick
