#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/hid/VirtualKeyboard.h"

namespace tarnwick {
namespace {

using Report = std::array<std::uint8_t, 8>;

constexpr std::uint32_t kCommandId = 1;
constexpr std::uint32_t kKeyMapId = 2;
constexpr std::uint32_t kMacroId = 3;
constexpr std::uint32_t kEventsId = 4;

class RecordingListener : public HidBackendListener {
 public:
  bool Wants(const HidInterfaceInfo&) override { return true; }
  void InterfaceOpened(const HidInterfaceInfo& info) override { opened.push_back(info); }
  void InterfaceClosed(std::uint32_t deviceId) override { closed.push_back(deviceId); }
  void InputReport(std::uint32_t deviceId, std::span<const std::uint8_t> report) override {
    inputs.push_back({deviceId, std::vector<std::uint8_t>(report.begin(), report.end())});
  }
  std::vector<HidInterfaceInfo> opened;
  std::vector<std::uint32_t> closed;
  std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> inputs;
};

class VirtualKeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    keyboard.Attach(&listener);
    keyboard.Plug();
  }
  WriteResult Send(std::uint32_t id, const Report& report) { return keyboard.Receive(id, report); }
  void SendChunks(std::uint32_t id, std::uint8_t reportId, std::size_t count,
                  std::uint8_t firstByte) {
    for (std::size_t n = 1; n <= count; ++n) {
      const std::uint8_t b = static_cast<std::uint8_t>(firstByte + 6 * (n - 1));
      Send(id, {reportId, static_cast<std::uint8_t>(n), b, std::uint8_t(b + 1), std::uint8_t(b + 2),
                std::uint8_t(b + 3), std::uint8_t(b + 4), std::uint8_t(b + 5)});
    }
  }

  VirtualKeyboard keyboard;
  RecordingListener listener;
};

TEST_F(VirtualKeyboardTest, PlugAndUnplugAnnounceTheFourInterfaces) {
  ASSERT_EQ(listener.opened.size(), 4u);
  const std::uint16_t pages[] = {0xFF01, 0xFF02, 0xFF03, 0xFF04};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(listener.opened[i].vendorId, 0x1EA7);
    EXPECT_EQ(listener.opened[i].productId, 0x0077);
    EXPECT_EQ(listener.opened[i].usagePage, pages[i]);
    EXPECT_EQ(listener.opened[i].usage, i + 2);
    EXPECT_EQ(listener.opened[i].firmwareVersion, kVirtualFirmwareVersion);
  }
  keyboard.Plug();
  EXPECT_EQ(listener.opened.size(), 4u) << "plugging a plugged keyboard changes nothing";
  keyboard.Unplug();
  EXPECT_EQ(listener.closed, (std::vector<std::uint32_t>{1, 2, 3, 4}));
  EXPECT_EQ(Send(kCommandId, {0x0A, 0x03, 0x01}), WriteResult::kDeviceGone);
  EXPECT_TRUE(keyboard.Log().empty()) << "an unplugged keyboard receives nothing";
  EXPECT_FALSE(keyboard.PressKey(1, true));
  EXPECT_TRUE(listener.inputs.empty());
}

TEST_F(VirtualKeyboardTest, KeepsSingleReportCommands) {
  EXPECT_EQ(Send(kCommandId, {0x0A, 0x90, 0x01}), WriteResult::kWritten);
  EXPECT_EQ(Send(kCommandId, {0x0A, 0x03, 0x01}), WriteResult::kWritten);
  EXPECT_EQ(Send(kCommandId, {0x0A, 0x0A, 0x09, 0x04, 0x02, 0x06}), WriteResult::kWritten);
  const VirtualKeyboardState state = keyboard.State();
  EXPECT_EQ(state.sleepEnabled, 1);
  EXPECT_EQ(state.refreshCount, 1u);
  ASSERT_TRUE(state.lighting);
  EXPECT_EQ(state.lighting->effectCode, 9);
  EXPECT_EQ(state.lighting->brightness, 4);
  EXPECT_EQ(state.lighting->speed, 2);
  EXPECT_EQ(state.lighting->colorOption, 6);
}

TEST_F(VirtualKeyboardTest, AssemblesKeyMapAndMacroUploads) {
  Send(kCommandId, {0x0A, 0x04, 0x01});
  SendChunks(kKeyMapId, 0x0B, 20, 0);
  Send(kCommandId, {0x0A, 0x05, 0x01, 0x0E, 0x01});
  SendChunks(kMacroId, 0x0C, 41, 100);
  const VirtualKeyboardState state = keyboard.State();
  ASSERT_TRUE(state.keyMap);
  for (std::size_t i = 0; i < kKeyMapBytes; ++i) EXPECT_EQ((*state.keyMap)[i], i);
  ASSERT_EQ(state.macros.count(13), 1u) << "position is sent counted from 1";
  for (std::size_t i = 0; i < kMacroBlockBytes; ++i) {
    EXPECT_EQ(state.macros.at(13)[i], static_cast<std::uint8_t>(100 + i));
  }
  EXPECT_EQ(keyboard.Log().size(), 63u);
}

TEST_F(VirtualKeyboardTest, TornOrMisdirectedUploadsAreDropped) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::uint32_t, Report>> reports;
  } cases[] = {
      {"chunk without header", {{kKeyMapId, {0x0B, 1}}}},
      {"chunk out of sequence", {{kCommandId, {0x0A, 0x04, 0x01}}, {kKeyMapId, {0x0B, 2}}}},
      {"key map chunk on the macro interface",
       {{kCommandId, {0x0A, 0x04, 0x01}}, {kMacroId, {0x0B, 1}}}},
      {"command on the key-map interface", {{kKeyMapId, {0x0A, 0x90, 0x01}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualKeyboard fresh;
    fresh.Plug();
    for (const auto& [id, report] : c.reports) fresh.Receive(id, report);
    // Whatever followed, a torn upload never completes.
    for (std::uint8_t n = 2; n <= 20; ++n) fresh.Receive(kKeyMapId, Report{0x0B, n});
    const VirtualKeyboardState state = fresh.State();
    EXPECT_FALSE(state.keyMap);
    EXPECT_FALSE(state.sleepEnabled);
    EXPECT_EQ(fresh.Log().size(), c.reports.size() + 19);
  }
}

TEST_F(VirtualKeyboardTest, LogsEveryReportWithItsInterfaceAndTime) {
  Send(kCommandId, {0x0A, 0x03, 0x01});
  EXPECT_EQ(keyboard.Receive(99, Report{0x0A, 0x03, 0x01}), WriteResult::kFailed);
  const std::uint8_t shortReport[] = {0x0A, 0x03};
  EXPECT_EQ(keyboard.Receive(kCommandId, shortReport), WriteResult::kFailed);
  const auto log = keyboard.Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].usagePage, 0xFF01);
  EXPECT_EQ(log[0].bytes, (Report{0x0A, 0x03, 0x01}));
  EXPECT_EQ(log[1].usagePage, 0) << "unknown device ID";
  EXPECT_EQ(log[2].length, 2u);
  EXPECT_GT(log[0].timeNs, 0u);
  EXPECT_LE(log[0].timeNs, log[1].timeNs);
  EXPECT_EQ(keyboard.State().refreshCount, 1u) << "a short report is not decoded";
  keyboard.ClearLog();
  EXPECT_TRUE(keyboard.Log().empty());
}

TEST_F(VirtualKeyboardTest, SendsTheInputReportsOfARealKeyboard) {
  Send(kCommandId, {0x0A, 0x04, 0x01});
  SendChunks(kKeyMapId, 0x0B, 20, 0);  // position p holds byte p
  using Bytes = std::vector<std::uint8_t>;
  EXPECT_TRUE(keyboard.PressKey(15, true));
  EXPECT_TRUE(keyboard.PressKey(15, false));
  EXPECT_TRUE(keyboard.SwitchProfile(2));
  EXPECT_TRUE(keyboard.ChangeEffect(5));
  EXPECT_TRUE(keyboard.ChangeColorMode(1));
  EXPECT_TRUE(keyboard.ChangeBrightness(3));
  const std::vector<Bytes> expected = {
      {0x08, 15, 1, 15, 0, 0, 0, 0, 0},         // key 15 pressed, its key-map byte
      {0x08, 15, 0, 15, 0, 0, 0, 0, 0},         // released
      {0x08, 0xDA, 1, 2, 0, 0, 0, 0, 0},        // slot changed to 2
      {0x04, 0xE1, 0x08, 5, 0, 0, 0, 0, 0},     // effect 5
      {0x05, 0x02, 0x0C, 1, 0, 0, 0, 0, 0},     // colour mode 1
      {0x05, 0x00, 0x01, 0x07, 3, 0, 0, 0, 0},  // brightness 3
  };
  ASSERT_EQ(listener.inputs.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(listener.inputs[i].first, kEventsId);
    EXPECT_EQ(listener.inputs[i].second, expected[i]) << "report " << i;
  }
}

TEST_F(VirtualKeyboardTest, DescribesStateAndLog) {
  Send(kCommandId, {0x0A, 0x90, 0x00});
  Send(kCommandId, {0x0A, 0x0A, 0x01, 0x04, 0x04, 0x00});
  const std::string state = DescribeState(keyboard.State());
  EXPECT_NE(state.find("plugged: yes"), std::string::npos);
  EXPECT_NE(state.find("sleep: off"), std::string::npos);
  EXPECT_NE(state.find("effect code 1"), std::string::npos);
  const std::string log = DescribeLog(keyboard.Log());
  EXPECT_NE(log.find("0A 90 00 00 00 00 00 00"), std::string::npos);
  EXPECT_NE(log.find("page FF01"), std::string::npos);
}

}  // namespace
}  // namespace tarnwick
