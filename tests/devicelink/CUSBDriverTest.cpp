#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <memory>

#include "devicelink/CUSBDriver.h"
#include "devicelink/DeviceMessages.h"
#include "platform/hid/HidLibrary.h"
#include "platform/hid/VirtualBackend.h"
#include "platform/hid/VirtualKeyboard.h"
#include "tests/devicelink/DriverTestSupport.h"

namespace {

using Received = RecordingWindow::Received;
using Report = std::array<std::uint8_t, 8>;

constexpr Received kPlugged{kMsgDevicePlug, 0, 1};
constexpr Received kRemoved{kMsgDevicePlug, 0, 0};

// Device list rules, driven by notifications posted straight to the driver window.
class DeviceListTest : public ::testing::Test {
 protected:
  DeviceListTest() { driver.SetTargetWindow(target.Handle()); }

  void Notify(std::uint32_t event, std::uint32_t id, std::uint16_t usage, std::uint16_t page,
              platform::WParam wParam = 1) {
    const tarnwick::_DEVICE_STATE* record =
        tarnwick::HidLibrary::Instance().KeepRecord({event, id, 0, usage, page, 0});
    platform::PostToWindow(driver.Handle(), kMsgHidNotify, wParam,
                           reinterpret_cast<platform::LParam>(record));
    PumpUntilIdle();
  }
  void ArriveAllFour() {
    Notify(1, 11, 2, 0xFF01);
    Notify(1, 12, 3, 0xFF02);
    Notify(1, 13, 4, 0xFF03);
    Notify(1, 14, 5, 0xFF04);
  }
  std::vector<std::uint32_t> ListedIds() const {
    std::vector<std::uint32_t> ids;
    for (const auto& entry : driver.DeviceList()) ids.push_back(entry.deviceId);
    return ids;
  }

  RecordingWindow target;
  RecordingPacer pacer;
  CUSBDriver driver{&pacer};
};

TEST_F(DeviceListTest, FourArrivalsAreListedInOrderAndEachAnnounced) {
  ArriveAllFour();
  EXPECT_EQ(ListedIds(), (std::vector<std::uint32_t>{11, 12, 13, 14}));
  EXPECT_EQ(target.received, (std::vector<Received>(4, kPlugged)));
  EXPECT_TRUE(driver.IsOpened());
}

TEST_F(DeviceListTest, ReArrivalOfAUsagePairReplacesItsEntrySilently) {
  ArriveAllFour();
  target.received.clear();
  Notify(1, 23, 4, 0xFF03);
  EXPECT_EQ(ListedIds(), (std::vector<std::uint32_t>{11, 12, 23, 14}));
  EXPECT_TRUE(target.received.empty());
}

TEST_F(DeviceListTest, RemovalIsAnnouncedOnceWhenTheLastInterfaceGoes) {
  ArriveAllFour();
  target.received.clear();
  Notify(0, 12, 3, 0xFF02);
  Notify(0, 99, 3, 0xFF02);  // unknown while others remain: nothing
  EXPECT_TRUE(target.received.empty());
  EXPECT_EQ(ListedIds(), (std::vector<std::uint32_t>{11, 13, 14}));
  Notify(0, 11, 2, 0xFF01);
  Notify(0, 14, 5, 0xFF04);
  Notify(0, 13, 4, 0xFF03);
  EXPECT_EQ(target.received, (std::vector<Received>{kRemoved}));
  EXPECT_FALSE(driver.IsOpened());
  EXPECT_TRUE(driver.DeviceList().empty());
}

TEST_F(DeviceListTest, RemovalOfAnUnknownIdOnAnEmptyListStillAnnouncesRemoval) {
  Notify(0, 5, 2, 0xFF01);
  EXPECT_EQ(target.received, (std::vector<Received>{kRemoved}));
}

TEST_F(DeviceListTest, OtherNotificationsAreLeftToTheBase) {
  Notify(1, 11, 2, 0xFF01, 0);
  Notify(7, 11, 2, 0xFF01);
  // A record the library never handed out, as another program could post, is not read.
  const tarnwick::_DEVICE_STATE forged{1, 11, 0, 2, 0xFF01, 0};
  platform::PostToWindow(driver.Handle(), kMsgHidNotify, 1,
                         reinterpret_cast<platform::LParam>(&forged));
  platform::PostToWindow(driver.Handle(), kMsgHidNotify, 1, 0x1234);
  PumpUntilIdle();
  EXPECT_TRUE(driver.DeviceList().empty());
  EXPECT_TRUE(target.received.empty());
}

TEST_F(DeviceListTest, FindInterfaceMatchesBothUsageAndPage) {
  EXPECT_EQ(driver.FindInterface(2, 0xFF01), 0u) << "empty list";
  ArriveAllFour();
  EXPECT_EQ(driver.FindInterface(2, 0xFF01), 11u);
  EXPECT_EQ(driver.FindInterface(5, 0xFF04), 14u);
  EXPECT_EQ(driver.FindInterface(2, 0xFF02), 0u);
  EXPECT_EQ(driver.FindInterface(6, 0xFF01), 0u);
}

TEST_F(DeviceListTest, DeviceEventsPackCodeAndState) {
  driver.PostDeviceEvent(0x2A, 15, 0x0104);
  PumpUntilIdle();
  EXPECT_EQ(target.received, (std::vector<Received>{{kMsgDeviceEvent, 0x2A, 0x0104000F}}));
}

// The driver over the HID library and a virtual keyboard in this process.
class DriverOnVirtualKeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tarnwick::HidLibrary::Instance().SetBackendFactory(
        [this] { return std::make_unique<tarnwick::VirtualBackend>(keyboard); });
    keyboard.Plug();
    driver = std::make_unique<CUSBDriver>(&pacer);
    driver->SetTargetWindow(target.Handle());
    ASSERT_TRUE(driver->OpenDevice());
    PumpUntilIdle();
    target.received.clear();
  }
  void TearDown() override {
    driver.reset();
    tarnwick::HidLibrary::Instance().SetBackendFactory({});
  }
  std::vector<Report> LoggedBytes() const {
    std::vector<Report> bytes;
    for (const auto& entry : keyboard.Log()) bytes.push_back(entry.bytes);
    return bytes;
  }

  tarnwick::VirtualKeyboard keyboard;
  RecordingWindow target;
  RecordingPacer pacer;
  std::unique_ptr<CUSBDriver> driver;
};

TEST_F(DriverOnVirtualKeyboardTest, OpensAndListsTheFourInterfaces) {
  EXPECT_EQ(driver->DeviceList().size(), 4u);
  EXPECT_NE(driver->FindInterface(2, 0xFF01), 0u);
  EXPECT_EQ(tarnwick::FirmwareVersion(), tarnwick::kVirtualFirmwareVersion);
}

TEST_F(DriverOnVirtualKeyboardTest, InputReportsBecomeDeviceEvents) {
  keyboard.ChangeEffect(5);
  keyboard.SwitchProfile(2);
  PumpUntilIdle();
  EXPECT_EQ(target.received,
            (std::vector<Received>{{kMsgDeviceEvent, 5, 0x100DF}, {kMsgDeviceEvent, 2, 0x100DA}}));
}

TEST_F(DriverOnVirtualKeyboardTest, UnplugAndReplugAreAnnounced) {
  keyboard.Unplug();
  PumpUntilIdle();
  EXPECT_EQ(target.received, (std::vector<Received>{kRemoved}));
  EXPECT_FALSE(driver->IsOpened());
  keyboard.Plug();
  PumpUntilIdle();
  EXPECT_EQ(target.received.size(), 5u);
  EXPECT_EQ(driver->DeviceList().size(), 4u);
}

TEST_F(DriverOnVirtualKeyboardTest, ReopenKeepsTheListAndAnnouncesNothing) {
  EXPECT_TRUE(driver->ReopenDevice());
  PumpUntilIdle();
  EXPECT_EQ(driver->DeviceList().size(), 4u) << "re-arrivals replace their entries";
  EXPECT_TRUE(target.received.empty());
  EXPECT_EQ(driver->SendRefresh(), 0);
}

TEST_F(DriverOnVirtualKeyboardTest, SingleReportCommands) {
  struct Case {
    const char* name;
    std::function<int()> command;
    int result;
    std::vector<Report> reports;
    std::vector<std::uint32_t> pauses;
  } cases[] = {
      {"sleep 0", [&] { return driver->SendSleep(0); }, 0, {{0x0A, 0x90, 0x01}}, {20}},
      {"sleep 3", [&] { return driver->SendSleep(3); }, 0, {{0x0A, 0x90, 0x01}}, {20}},
      {"sleep 4", [&] { return driver->SendSleep(4); }, 0, {{0x0A, 0x90, 0x00}}, {20}},
      {"sleep 5 is no level", [&] { return driver->SendSleep(5); }, 1, {}, {}},
      {"sleep -1 is no level", [&] { return driver->SendSleep(-1); }, 1, {}, {}},
      {"refresh", [&] { return driver->SendRefresh(); }, 0, {{0x0A, 0x03, 0x01}}, {20}},
      {"lighting",
       [&] {
         driver->SendLighting(9, 4, 2, 6);
         return 0;
       },
       0,
       {{0x0A, 0x0A, 0x09, 0x04, 0x02, 0x06}},
       {200}},
      {"lighting of a profile: effect 3 is device code 8",
       [&] {
         driver->SendLighting(LightInfo{3, 1, 2, 1, 0xFF, 4});
         return 0;
       },
       0,
       {{0x0A, 0x0A, 0x08, 0x02, 0x01, 0x04}},
       {200}},
      {"lighting of an effect without a row is the standard effect",
       [&] {
         driver->SendLighting(LightInfo{13, 0, 4, 4, 0xFF, 0});
         return 0;
       },
       0,
       {{0x0A, 0x0A, 0x01, 0x04, 0x04, 0x00}},
       {200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    keyboard.ClearLog();
    pacer.pauses.clear();
    EXPECT_EQ(c.command(), c.result);
    EXPECT_EQ(LoggedBytes(), c.reports);
    EXPECT_EQ(pacer.pauses, c.pauses);
    for (const auto& entry : keyboard.Log()) EXPECT_EQ(entry.usagePage, 0xFF01);
  }
}

TEST_F(DriverOnVirtualKeyboardTest, KeyMapTravelsAsHeaderAndTwentyChunks) {
  KeyMap keyMap{};
  for (std::size_t i = 0; i < kKeyMapPositions; ++i)
    keyMap.keys[i] = static_cast<std::uint8_t>(i + 1);
  EXPECT_EQ(driver->SendKeyMap(keyMap), 0);
  const auto log = keyboard.Log();
  ASSERT_EQ(log.size(), 21u);
  EXPECT_EQ(log[0].bytes, (Report{0x0A, 0x04, 0x01, 0, 0, 0, 0, 0}));
  EXPECT_EQ(log[0].usagePage, 0xFF01);
  for (std::uint8_t n = 1; n <= 20; ++n) {
    const std::uint8_t b = static_cast<std::uint8_t>(6 * (n - 1) + 1);
    EXPECT_EQ(log[n].bytes,
              (Report{0x0B, n, b, std::uint8_t(b + 1), std::uint8_t(b + 2), std::uint8_t(b + 3),
                      std::uint8_t(b + 4), std::uint8_t(b + 5)}));
    EXPECT_EQ(log[n].usagePage, 0xFF02);
  }
  std::vector<std::uint32_t> pauses(21, 60);
  pauses[0] = 200;
  EXPECT_EQ(pacer.pauses, pauses);
  EXPECT_TRUE(keyboard.State().keyMap.has_value());
}

TEST_F(DriverOnVirtualKeyboardTest, MacroTravelsAsHeaderAndFortyOneChunks) {
  KeyMacroBlock block{};
  block.repeatHigh = 0x12;
  block.repeatLow = 0x34;
  block.events[0] = {0x80, 0x05, 0x04};
  block.events[79] = {0x00, 0x05, 0x04};
  EXPECT_EQ(driver->SendKeyMacro(block, 13), 0);
  const auto log = keyboard.Log();
  ASSERT_EQ(log.size(), 42u);
  EXPECT_EQ(log[0].bytes, (Report{0x0A, 0x05, 0x01, 0x0E, 0x01, 0, 0, 0}));
  EXPECT_EQ(log[1].bytes, (Report{0x0C, 1, 0x12, 0x34, 0x80, 0x05, 0x04, 0}));
  EXPECT_EQ(log[41].bytes, (Report{0x0C, 41, 0x05, 0x04, 0, 0, 0, 0}))
      << "block bytes 240, 241, then padding";
  for (std::size_t n = 1; n <= 41; ++n) EXPECT_EQ(log[n].usagePage, 0xFF03);
  EXPECT_EQ(pacer.pauses.size(), 42u);
  const auto macros = keyboard.State().macros;
  ASSERT_EQ(macros.count(13), 1u);
  EXPECT_EQ(memcmp(macros.at(13).data(), &block, sizeof block), 0);
}

TEST_F(DriverOnVirtualKeyboardTest, FailedHeaderGivesOneAndChunksStillGo) {
  keyboard.Unplug();  // the list still names the interfaces until the removal is handled
  EXPECT_EQ(driver->SendKeyMap(KeyMap{}), 1);
  EXPECT_EQ(pacer.pauses.size(), 21u) << "a failed write does not stop the sequence";
}

TEST_F(DriverOnVirtualKeyboardTest, CommandWhileClosedReopensThenWritesWhereTheListSays) {
  keyboard.Unplug();
  PumpUntilIdle();
  ASSERT_FALSE(driver->IsOpened());
  keyboard.Plug();
  keyboard.ClearLog();
  // The reopen succeeds, but the interfaces are only listed once their notifications are
  // handled; until then the report goes to device ID 0 and fails.
  EXPECT_EQ(driver->SendRefresh(), 1);
  EXPECT_TRUE(driver->IsOpened());
  EXPECT_TRUE(keyboard.Log().empty());
  PumpUntilIdle();
  EXPECT_EQ(driver->SendRefresh(), 0);
  EXPECT_EQ(keyboard.Log().size(), 1u);
}

TEST(DriverWithoutKeyboard, CommandsReturnOneAndSendNothing) {
  struct FailingBackend : tarnwick::HidBackend {
    bool Start(tarnwick::HidBackendListener&) override { return false; }
    void Stop() override {}
    tarnwick::WriteResult Write(std::uint32_t, std::span<const std::uint8_t>) override {
      ADD_FAILURE() << "nothing may be written";
      return tarnwick::WriteResult::kFailed;
    }
  };
  tarnwick::HidLibrary::Instance().SetBackendFactory(
      [] { return std::make_unique<FailingBackend>(); });
  RecordingPacer pacer;
  {
    CUSBDriver driver(&pacer);
    EXPECT_FALSE(driver.OpenDevice());
    EXPECT_EQ(driver.SendSleep(1), 1);
    EXPECT_EQ(driver.SendRefresh(), 1);
    EXPECT_EQ(driver.SendKeyMap(KeyMap{}), 1);
    EXPECT_EQ(driver.SendKeyMacro(KeyMacroBlock{}, 0), 1);
    driver.SendLighting(1, 4, 4, 0);
  }
  EXPECT_TRUE(pacer.pauses.empty());
  tarnwick::HidLibrary::Instance().SetBackendFactory({});
}

}  // namespace
