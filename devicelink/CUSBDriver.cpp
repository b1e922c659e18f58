#include "devicelink/CUSBDriver.h"

#include <algorithm>
#include <cstring>

#include "devicelink/DeviceMessages.h"
#include "devicelink/InputReportDecoder.h"
#include "devicelink/WindowTitles.h"
#include "model/EffectTable.h"
#include "platform/DebugOutput.h"
#include "platform/MessageIds.h"
#include "platform/hid/Tarnwick.h"

namespace {

std::atomic<CUSBDriver*> g_driver{nullptr};

struct InterfaceId {
  std::uint16_t usage;
  std::uint16_t usagePage;
};
constexpr InterfaceId kCommandInterface{2, 0xFF01};
constexpr InterfaceId kKeyMapInterface{3, 0xFF02};
constexpr InterfaceId kMacroInterface{4, 0xFF03};

constexpr tarnwick::DeviceFilter kKeyboardFilter{
    0x1EA7, 0x0077, 4, {{2, 0xFF01}, {3, 0xFF02}, {4, 0xFF03}, {5, 0xFF04}}};

constexpr std::uint8_t kCommandReport = 0x0A;
constexpr std::uint8_t kKeyMapReport = 0x0B;
constexpr std::uint8_t kMacroReport = 0x0C;
constexpr std::uint32_t kHeaderPauseMs = 200;
constexpr std::uint32_t kChunkPauseMs = 60;
constexpr std::uint32_t kLightingPauseMs = 200;
constexpr std::size_t kChunkPayload = 6;
constexpr std::size_t kKeyMapChunks = 20;
constexpr std::size_t kMacroChunks = 41;
constexpr int kDeepestSleepLevel = 4;

void Post(const DecodedPost& post, CUSBDriver& driver) {
  switch (post.target) {
    case DecodedPost::Target::kDeviceEvent:
      driver.PostDeviceEvent(post.wParam, post.code, post.state);
      break;
    case DecodedPost::Target::kServiceWindow:
      if (const platform::WindowHandle service =
              platform::FindTopLevelWindow(kServiceWindowTitle)) {
        platform::PostToWindow(service, post.message, post.wParam, 0);
      }
      break;
    case DecodedPost::Target::kSettingsPage:
      if (const platform::WindowHandle host = platform::FindTopLevelWindow(kHostWindowTitle)) {
        if (const platform::WindowHandle page = platform::FindChildWindow(host, kPageWindowTitle)) {
          platform::PostToWindow(page, post.message, post.wParam, 0);
        }
      }
      break;
  }
}

}  // namespace

CUSBDriver::CUSBDriver(ReportPacer* pacer) : m_pacer(pacer ? *pacer : m_deadlinePacer) {
  Create(u"", platform::Rect{1, 1, 2, 2});
  g_driver.store(this);
}

CUSBDriver::~CUSBDriver() {
  CUSBDriver* self = this;
  g_driver.compare_exchange_strong(self, nullptr);
  // Closing waits for the library's thread, so no callback is still running when we go, and
  // nothing is announced to a window that no longer exists.
  tarnwick::SetInputCallback(nullptr);
  tarnwick::Close();
  Destroy();
}

void CUSBDriver::SetTargetWindow(platform::WindowHandle target) { m_targetWindow.store(target); }

bool CUSBDriver::OpenDevice() {
  if (m_opened) tarnwick::Close();
  tarnwick::SetDeviceFilter(kKeyboardFilter);
  tarnwick::SetInputCallback(&CUSBDriver::OnInputReport);
  m_opened = tarnwick::Open(Handle(), kMsgHidNotify);
  return m_opened != 0;
}

bool CUSBDriver::ReopenDevice() {
  tarnwick::SetDeviceFilter(tarnwick::DeviceFilter{});
  tarnwick::SetInputCallback(nullptr);
  tarnwick::Close();
  m_opened = 0;
  return OpenDevice();
}

std::uint32_t CUSBDriver::FindInterface(std::uint16_t usage, std::uint16_t usagePage) const {
  for (const tarnwick::_DEVICE_STATE& entry : m_deviceList) {
    if (entry.usage == usage && entry.usagePage == usagePage) return entry.deviceId;
  }
  return 0;
}

void CUSBDriver::PostDeviceEvent(platform::WParam wParam, std::uint8_t code, std::uint16_t state) {
  const platform::WindowHandle target = m_targetWindow.load();
  if (!target) return;
  platform::PostToWindow(target, kMsgDeviceEvent, wParam,
                         static_cast<platform::LParam>((std::uint32_t{state} << 16) | code));
}

platform::LParam CUSBDriver::WindowProc(std::uint32_t message, platform::WParam wParam,
                                        platform::LParam lParam) {
  tarnwick::_DEVICE_STATE record;
  if (message == kMsgHidNotify && wParam == 1 && tarnwick::ReadNotification(lParam, record)) {
    if (OnHidNotify(record) != 0) return 1;
  } else if (message == platform::WM_TIMER && wParam == kDriverTimerId) {
    platform::StopTimer(Handle(), kDriverTimerId);
  }
  return Window::WindowProc(message, wParam, lParam);
}

platform::LParam CUSBDriver::OnHidNotify(const tarnwick::_DEVICE_STATE& record) {
  const platform::WindowHandle target = m_targetWindow.load();
  if (record.event == tarnwick::kInterfaceOpened) {
    platform::DebugTrace("MONITOROPEN:dwDeviceID=%x,usage:0x%x,uagePage:0x%x\n", record.deviceId,
                         record.usage, record.usagePage);
    for (tarnwick::_DEVICE_STATE& entry : m_deviceList) {
      if (entry.usage == record.usage && entry.usagePage == record.usagePage) {
        entry = record;
        return 1;
      }
    }
    m_deviceList.push_back(record);
    m_opened = 1;
    if (target) platform::PostToWindow(target, kMsgDevicePlug, 0, 1);
    platform::StartTimer(Handle(), kDriverTimerId, kDriverTimerMs);
  } else if (record.event == tarnwick::kInterfaceClosed) {
    platform::DebugTrace("MONITORCLOSE:dwDeviceID=%x,usage:0x%x,uagePage:0x%x\n", record.deviceId,
                         record.usage, record.usagePage);
    auto entry = std::find_if(
        m_deviceList.begin(), m_deviceList.end(),
        [&](const tarnwick::_DEVICE_STATE& e) { return e.deviceId == record.deviceId; });
    const bool removed = entry != m_deviceList.end();
    if (removed) m_deviceList.erase(entry);
    if (m_deviceList.empty() && (m_opened || !removed)) {
      m_opened = 0;
      platform::StopTimer(Handle(), kDriverTimerId);
      if (target) platform::PostToWindow(target, kMsgDevicePlug, 0, 0);
    }
  }
  return 0;
}

void CUSBDriver::OnInputReport(int reportId, const std::uint8_t* report, int length) {
  CUSBDriver* driver = g_driver.load();
  if (!driver) return;
  platform::DebugTrace("ID:0x%x,pBuffer=0x%x , Length=0x%x\n", static_cast<unsigned>(reportId),
                       static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(report)),
                       static_cast<unsigned>(length));
  // The rules read nine bytes whatever the length; bytes the report lacks read as zero.
  std::uint8_t b[kDecodedReportBytes] = {};
  if (report && length > 0)
    std::memcpy(b, report, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof b));
  platform::DebugTrace("%02x %02x %02x %02x %02x %02x %02x %02x\n", b[0], b[1], b[2], b[3], b[4],
                       b[5], b[6], b[7]);
  for (const DecodedPost& post : DecodeInputReport(b)) Post(post, *driver);
}

bool CUSBDriver::EnsureOpen() { return m_opened || OpenDevice(); }

bool CUSBDriver::Write(std::uint32_t deviceId, const std::uint8_t (&report)[8]) {
  return tarnwick::WriteReport(deviceId, report) != 0;
}

int CUSBDriver::SendSleep(int level) {
  // The service repairs larger values before they get here; anything else is not a level.
  if (level < 0 || level > kDeepestSleepLevel) return 1;
  if (!EnsureOpen()) return 1;
  const std::uint8_t report[8] = {kCommandReport, 0x90,
                                  level == kDeepestSleepLevel ? std::uint8_t{0} : std::uint8_t{1}};
  const bool written =
      Write(FindInterface(kCommandInterface.usage, kCommandInterface.usagePage), report);
  m_pacer.PauseAfterWrite(static_cast<std::uint32_t>(m_commandPause));
  return written ? 0 : 1;
}

int CUSBDriver::SendRefresh() {
  if (!EnsureOpen()) return 1;
  const std::uint8_t report[8] = {kCommandReport, 0x03, 0x01};
  const bool written =
      Write(FindInterface(kCommandInterface.usage, kCommandInterface.usagePage), report);
  m_pacer.PauseAfterWrite(static_cast<std::uint32_t>(m_commandPause));
  return written ? 0 : 1;
}

int CUSBDriver::SendChunked(const std::uint8_t (&header)[8], std::uint16_t dataUsage,
                            std::uint16_t dataUsagePage, std::uint8_t reportId,
                            const std::uint8_t* data, std::size_t chunks) {
  const bool written =
      Write(FindInterface(kCommandInterface.usage, kCommandInterface.usagePage), header);
  m_pacer.PauseAfterWrite(kHeaderPauseMs);
  const std::uint32_t dataInterface = FindInterface(dataUsage, dataUsagePage);
  for (std::size_t n = 1; n <= chunks; ++n) {
    std::uint8_t chunk[8] = {reportId, static_cast<std::uint8_t>(n)};
    std::memcpy(chunk + 2, data + (n - 1) * kChunkPayload, kChunkPayload);
    Write(dataInterface, chunk);
    m_pacer.PauseAfterWrite(kChunkPauseMs);
  }
  return written ? 0 : 1;
}

int CUSBDriver::SendKeyMap(const KeyMap& keyMap) {
  if (!EnsureOpen()) return 1;
  static_assert(sizeof keyMap.keys == kKeyMapChunks * kChunkPayload);
  const std::uint8_t header[8] = {kCommandReport, 0x04, 0x01};
  return SendChunked(header, kKeyMapInterface.usage, kKeyMapInterface.usagePage, kKeyMapReport,
                     keyMap.keys, kKeyMapChunks);
}

int CUSBDriver::SendKeyMacro(const KeyMacroBlock& block, std::uint8_t position) {
  if (!EnsureOpen()) return 1;
  // 242 bytes travel as 41 chunks of six; the last four are zero.
  std::uint8_t padded[kMacroChunks * kChunkPayload] = {};
  std::memcpy(padded, &block, sizeof block);
  const std::uint8_t header[8] = {kCommandReport, 0x05, 0x01,
                                  static_cast<std::uint8_t>(position + 1), 0x01};
  return SendChunked(header, kMacroInterface.usage, kMacroInterface.usagePage, kMacroReport, padded,
                     kMacroChunks);
}

void CUSBDriver::SendLighting(std::uint8_t code, std::uint8_t brightness, std::uint8_t speed,
                              std::uint8_t colorOption) {
  if (!EnsureOpen()) return;
  const std::uint8_t report[8] = {kCommandReport, 0x0A, code, brightness, speed, colorOption};
  Write(FindInterface(kCommandInterface.usage, kCommandInterface.usagePage), report);
  m_pacer.PauseAfterWrite(kLightingPauseMs);
}

void CUSBDriver::SendLighting(const LightInfo& lighting) {
  SendLighting(DeviceEffectCode(lighting.effect), lighting.brightness, lighting.speed,
               lighting.colorOption);
}
