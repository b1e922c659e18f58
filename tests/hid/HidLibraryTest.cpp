#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/hid/HidLibrary.h"
#include "platform/hid/Tarnwick.h"
#include "platform/hid/VirtualBackend.h"
#include "platform/hid/VirtualKeyboard.h"

namespace tarnwick {
namespace {

constexpr std::uint32_t kNotifyMessage = 1282;

// Keeps the records the library's notifications point to.
class NotifiedWindow : public platform::Window {
 public:
  NotifiedWindow() { Create(u"", platform::Rect{0, 0, 1, 1}); }
  ~NotifiedWindow() override { Destroy(); }
  platform::LParam WindowProc(std::uint32_t message, platform::WParam wParam,
                              platform::LParam lParam) override {
    if (message == kNotifyMessage) {
      EXPECT_EQ(wParam, 1u);
      records.push_back(reinterpret_cast<const _DEVICE_STATE*>(lParam));
    }
    return Window::WindowProc(message, wParam, lParam);
  }
  std::vector<const _DEVICE_STATE*> records;
};

void PumpUntilIdle() {
  platform::Message message;
  for (int dispatched = 0; platform::PeekNextMessage(message, true); ++dispatched) {
    ASSERT_LT(dispatched, 100000) << "watchdog: the queue never drained";
    platform::Dispatch(message);
  }
}

struct Delivered {
  int reportId;
  std::vector<std::uint8_t> firstNine;
  int length;
};
std::vector<Delivered> g_delivered;
void Collect(int reportId, const std::uint8_t* report, int length) {
  g_delivered.push_back({reportId, std::vector<std::uint8_t>(report, report + 9), length});
}

class HidLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HidLibrary::Instance().SetBackendFactory(
        [this] { return std::make_unique<VirtualBackend>(keyboard); });
    keyboard.Plug();
    g_delivered.clear();
  }
  void TearDown() override {
    SetInputCallback(nullptr);
    Close();
    SetDeviceFilter(DeviceFilter{});
    HidLibrary::Instance().SetBackendFactory({});
  }

  VirtualKeyboard keyboard;
  NotifiedWindow window;
};

TEST_F(HidLibraryTest, AnnouncesOnlyWhatTheFilterAccepts) {
  struct Case {
    const char* name;
    DeviceFilter filter;
    std::vector<std::uint16_t> pages;
  } cases[] = {
      {"no filter", DeviceFilter{}, {0xFF01, 0xFF02, 0xFF03, 0xFF04}},
      {"two entries",
       DeviceFilter{0x1EA7, 0x0077, 2, {{3, 0xFF02}, {5, 0xFF04}}},
       {0xFF02, 0xFF04}},
      {"other product", DeviceFilter{0x1EA7, 0x0078, 1, {{2, 0xFF01}}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.records.clear();
    SetDeviceFilter(c.filter);
    ASSERT_NE(Open(window.Handle(), kNotifyMessage), 0);
    PumpUntilIdle();
    std::vector<std::uint16_t> pages;
    for (const _DEVICE_STATE* record : window.records) {
      EXPECT_EQ(record->event, kInterfaceOpened);
      pages.push_back(record->usagePage);
    }
    EXPECT_EQ(pages, c.pages);
    const std::uint8_t refresh[8] = {0x0A, 0x03, 0x01};
    EXPECT_EQ(WriteReport(1, refresh), c.pages.size() == 4 ? 1 : 0)
        << "only open interfaces take writes";
    Close();
  }
}

TEST_F(HidLibraryTest, NotificationRecordsOutliveTheirMessages) {
  ASSERT_NE(Open(window.Handle(), kNotifyMessage), 0);
  keyboard.Unplug();
  keyboard.Plug();
  Close();  // messages fetched after the close still point at valid records
  PumpUntilIdle();
  ASSERT_EQ(window.records.size(), 12u);
  EXPECT_EQ(window.records[0], window.records[8]) << "the same record content is handed out once";
  EXPECT_EQ(window.records[4]->event, kInterfaceClosed);
  EXPECT_EQ(window.records[4]->deviceId, 1u);
  EXPECT_EQ(window.records[7]->usage, 5);
  EXPECT_EQ(window.records[7]->usagePage, 0xFF04);
}

TEST_F(HidLibraryTest, InputReportsArePaddedAndStopAtClose) {
  SetInputCallback(&Collect);
  ASSERT_NE(Open(window.Handle(), kNotifyMessage), 0);
  const std::uint8_t shortReport[] = {0x08, 0x0F};
  keyboard.SendInputReport(shortReport);
  keyboard.ChangeBrightness(3);
  ASSERT_EQ(g_delivered.size(), 2u);
  EXPECT_EQ(g_delivered[0].reportId, 8);
  EXPECT_EQ(g_delivered[0].length, 2);
  EXPECT_EQ(g_delivered[0].firstNine, (std::vector<std::uint8_t>{0x08, 0x0F, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(g_delivered[1].firstNine,
            (std::vector<std::uint8_t>{0x05, 0x00, 0x01, 0x07, 3, 0, 0, 0, 0}));
  Close();
  keyboard.ChangeBrightness(2);
  EXPECT_EQ(g_delivered.size(), 2u);
  const std::uint8_t refresh[8] = {0x0A, 0x03, 0x01};
  EXPECT_EQ(WriteReport(1, refresh), 0);
  EXPECT_EQ(FirmwareVersion(), 0);
}

TEST_F(HidLibraryTest, WritesReachOnlyOpenInterfaces) {
  ASSERT_NE(Open(window.Handle(), kNotifyMessage), 0);
  EXPECT_EQ(FirmwareVersion(), kVirtualFirmwareVersion);
  const std::uint8_t refresh[8] = {0x0A, 0x03, 0x01};
  EXPECT_EQ(WriteReport(0, refresh), 0);
  EXPECT_EQ(WriteReport(77, refresh), 0);
  EXPECT_EQ(WriteReport(1, {}), 0);
  EXPECT_EQ(WriteReport(1, refresh), 1);
  keyboard.Unplug();
  EXPECT_EQ(WriteReport(1, refresh), 0);
  EXPECT_EQ(keyboard.Log().size(), 1u);
}

}  // namespace
}  // namespace tarnwick
