#pragma once

#include <atomic>
#include <cstdint>
#include <list>

#include "devicelink/KeyMacroBlock.h"
#include "devicelink/KeyMap.h"
#include "devicelink/ReportPacer.h"
#include "model/LightInfo.h"
#include "platform/Window.h"
#include "platform/hid/DeviceState.h"

// The service's door to the keyboard: drives the HID library, keeps the list of the
// keyboard's open interfaces, turns arrival and removal into 21505 and input reports into
// 1622, and writes the keyboard's commands. Lives on the service's window thread; only the
// input-report callback runs elsewhere, and it only posts.
class CUSBDriver : public platform::Window {
 public:
  // Creates the hidden driver window on the calling thread. The pacer keeps the pauses
  // between reports; null uses the real-time one.
  explicit CUSBDriver(ReportPacer* pacer = nullptr);
  ~CUSBDriver() override;

  // Where 1622 and 21505 go; set once, before the first OpenDevice.
  void SetTargetWindow(platform::WindowHandle target);

  // (Re)opens the HID library for the keyboard's four interfaces; true on success.
  bool OpenDevice();
  // The entry point of message 2304: drop the filter and callback, close, then open again.
  bool ReopenDevice();

  // Device ID of the first listed interface with this usage pair; 0 when none.
  std::uint32_t FindInterface(std::uint16_t usage, std::uint16_t usagePage) const;

  // Posts 1622 to the target window with lParam = state << 16 | code.
  void PostDeviceEvent(platform::WParam wParam, std::uint8_t code, std::uint16_t state);

  // The keyboard's commands. Each opens the library first when it is closed and returns 1
  // without sending when that fails; otherwise 0 when the (header) report was written, else 1.
  int SendSleep(int level);
  int SendRefresh();
  int SendKeyMap(const KeyMap& keyMap);
  int SendKeyMacro(const KeyMacroBlock& block, std::uint8_t position);
  void SendLighting(std::uint8_t code, std::uint8_t brightness, std::uint8_t speed,
                    std::uint8_t colorOption);
  // The lighting report of a profile: the effect's device code, brightness, speed and colour
  // choice; colour mode, colour and spectrum stay on the computer.
  void SendLighting(const LightInfo& lighting);

  bool IsOpened() const { return m_opened != 0; }
  const std::list<tarnwick::_DEVICE_STATE>& DeviceList() const { return m_deviceList; }

  platform::LParam WindowProc(std::uint32_t message, platform::WParam wParam,
                              platform::LParam lParam) override;

  // The HID library's input-report callback; may run on the library's thread.
  static void OnInputReport(int reportId, const std::uint8_t* report, int length);

 private:
  platform::LParam OnHidNotify(const tarnwick::_DEVICE_STATE& record);
  bool EnsureOpen();
  bool Write(std::uint32_t deviceId, const std::uint8_t (&report)[8]);
  int SendChunked(const std::uint8_t (&header)[8], std::uint16_t dataUsage,
                  std::uint16_t dataUsagePage, std::uint8_t reportId, const std::uint8_t* data,
                  std::size_t chunks);

  std::list<tarnwick::_DEVICE_STATE> m_deviceList;
  int m_commandPause = 20;
  int m_opened = 0;
  std::atomic<platform::WindowHandle> m_targetWindow{0};
  DeadlinePacer m_deadlinePacer;
  ReportPacer& m_pacer;
};
