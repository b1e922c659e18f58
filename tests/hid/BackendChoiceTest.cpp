#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/MessageIds.h"
#include "platform/hid/HidLibrary.h"
#include "platform/hid/VirtualKeyboard.h"
#include "platform/hid/VirtualKeyboardServer.h"
#include "platform/hid/VirtualLink.h"

namespace tarnwick {
namespace {

constexpr std::uint32_t kNotifyMessage = 1282;
constexpr std::uint64_t kWatchdogTimer = 1;

// Counts the library's notifications; its watchdog timer ends a wait that would never end.
class CountingWindow : public platform::Window {
 public:
  CountingWindow() { Create(u"", platform::Rect{0, 0, 1, 1}); }
  ~CountingWindow() override { Destroy(); }
  platform::LParam WindowProc(std::uint32_t message, platform::WParam wParam,
                              platform::LParam lParam) override {
    _DEVICE_STATE record;
    if (message == kNotifyMessage && ReadNotification(lParam, record))
      pages.push_back(record.usagePage);
    if (message == platform::WM_TIMER && wParam == kWatchdogTimer) watchdogFired = true;
    return Window::WindowProc(message, wParam, lParam);
  }
  void WaitForNotifications(std::size_t count) {
    platform::StartTimer(Handle(), kWatchdogTimer, 30000);
    platform::Message message;
    while (pages.size() < count && !watchdogFired && platform::NextMessage(message)) {
      platform::Dispatch(message);
    }
    platform::StopTimer(Handle(), kWatchdogTimer);
    EXPECT_FALSE(watchdogFired) << "watchdog: only " << pages.size() << " notifications";
  }
  std::vector<std::uint16_t> pages;
  bool watchdogFired = false;
};

// The backend is chosen by the library's own environment variable; with "virtual" it reaches
// the running virtual keyboard program.
TEST(BackendChoice, VirtualSettingReachesTheRunningProgram) {
  char folder[] = "/tmp/pv37-rt-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const char* oldRuntime = getenv("XDG_RUNTIME_DIR");
  const std::string savedRuntime = oldRuntime ? oldRuntime : "";
  setenv("XDG_RUNTIME_DIR", folder, 1);
  setenv("PV37_HID_BACKEND", "virtual", 1);

  VirtualKeyboard keyboard;
  keyboard.Plug();
  VirtualKeyboardServer server(keyboard);
  std::string error;
  ASSERT_TRUE(server.Listen(VirtualKeyboardSocketPath(), error)) << error;
  std::thread serving([&] { server.Run(); });

  CountingWindow window;
  SetDeviceFilter(DeviceFilter{});
  ASSERT_NE(Open(window.Handle(), kNotifyMessage), 0);
  window.WaitForNotifications(4);
  EXPECT_EQ(window.pages, (std::vector<std::uint16_t>{0xFF01, 0xFF02, 0xFF03, 0xFF04}));
  const std::uint8_t refresh[8] = {0x0A, 0x03, 0x01};
  EXPECT_EQ(WriteReport(1, refresh), 1);
  EXPECT_EQ(keyboard.State().refreshCount, 1u) << "the write reached the program's keyboard";
  Close();

  server.Stop();
  serving.join();
  unsetenv("PV37_HID_BACKEND");
  if (oldRuntime) {
    setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
  } else {
    unsetenv("XDG_RUNTIME_DIR");
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tarnwick
