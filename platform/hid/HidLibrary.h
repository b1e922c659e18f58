#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <span>
#include <vector>

#include "platform/Window.h"
#include "platform/hid/DeviceFilter.h"
#include "platform/hid/DeviceState.h"
#include "platform/hid/HidBackend.h"
#include "platform/hid/Tarnwick.h"

namespace tarnwick {

// The state behind the library's six operations: the filter, the callback, the window that
// hears about interfaces, the backend and the interfaces it opened.
class HidLibrary : private HidBackendListener {
 public:
  using BackendFactory = std::function<std::unique_ptr<HidBackend>()>;

  static HidLibrary& Instance();

  // Replaces the backend chosen by PV37_HID_BACKEND for the next Open; an empty factory
  // restores the usual choice. Used by tests and by programs that embed a keyboard.
  void SetBackendFactory(BackendFactory factory);

  void SetDeviceFilter(const DeviceFilter& filter);
  void SetInputCallback(InputReportCallback callback);
  int Open(platform::WindowHandle window, std::uint32_t message);
  void Close();
  int WriteReport(std::uint32_t deviceId, std::span<const std::uint8_t> report);
  std::uint16_t FirmwareVersion();

  // The lasting copy of a notification record, the one the notification message points to.
  const _DEVICE_STATE* KeepRecord(const _DEVICE_STATE& record);
  // Copies the record a notification's lParam points to; false when lParam is no record this
  // library handed out, as in a message forged by another program.
  bool ReadRecord(platform::LParam lParam, _DEVICE_STATE& record);

 private:
  HidLibrary() = default;

  bool Wants(const HidInterfaceInfo& info) override;
  void InterfaceOpened(const HidInterfaceInfo& info) override;
  void InterfaceClosed(std::uint32_t deviceId) override;
  void InputReport(std::uint32_t deviceId, std::span<const std::uint8_t> report) override;

  std::unique_ptr<HidBackend> MakeBackend();
  void Notify(std::uint32_t event, const HidInterfaceInfo& info);  // m_mutex held
  const _DEVICE_STATE* KeepRecordLocked(const _DEVICE_STATE& record);

  // Serialises Open, Close and writes, so a backend is never destroyed under a write.
  std::mutex m_lifecycleMutex;
  std::unique_ptr<HidBackend> m_backend;
  BackendFactory m_factory;

  std::mutex m_mutex;  // everything below
  DeviceFilter m_filter{};
  platform::WindowHandle m_window = 0;
  std::uint32_t m_message = 0;
  std::vector<HidInterfaceInfo> m_interfaces;  // open and matching, in arrival order
  // The records handed out with the notification message. Each distinct record lives as long
  // as the library, so a message fetched late never points at freed memory, and the set stays
  // small because device IDs are reused.
  struct RecordLess {
    bool operator()(const _DEVICE_STATE& a, const _DEVICE_STATE& b) const;
  };
  std::set<_DEVICE_STATE, RecordLess> m_records;
  std::atomic<InputReportCallback> m_callback{nullptr};
};

}  // namespace tarnwick
