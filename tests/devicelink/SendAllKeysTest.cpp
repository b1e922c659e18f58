#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "devicelink/ProfilePayloads.h"
#include "devicelink/SendAllKeys.h"
#include "model/FunctionCodes.h"
#include "platform/hid/HidLibrary.h"
#include "platform/hid/VirtualBackend.h"
#include "platform/hid/VirtualKeyboard.h"
#include "tests/devicelink/DriverTestSupport.h"

namespace {

using Report = std::array<std::uint8_t, 8>;

constexpr std::uint16_t kCommandPage = 0xFF01;
constexpr std::uint16_t kKeyMapPage = 0xFF02;
constexpr std::uint16_t kMacroPage = 0xFF03;

class SendAllKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tarnwick::HidLibrary::Instance().SetBackendFactory(
        [this] { return std::make_unique<tarnwick::VirtualBackend>(keyboard); });
    keyboard.Plug();
    driver = std::make_unique<CUSBDriver>(&pacer);
    ASSERT_TRUE(driver->OpenDevice());
    PumpUntilIdle();
    profile = std::make_unique<ProfileBlock>();
  }
  void TearDown() override {
    driver.reset();
    tarnwick::HidLibrary::Instance().SetBackendFactory({});
  }

  ButtonInfo& Key(int index, std::uint8_t kind, std::int32_t code) {
    ButtonInfo& button = profile->buttonInfo[index];
    button.kind = kind;
    button.code = code;
    return button;
  }
  void Upload() {
    SendAllKeys(*driver, *profile, [this](int percent) {
      progress.push_back(percent);
      reportsBeforeProgress = keyboard.Log().size();
    });
  }
  std::array<std::uint8_t, tarnwick::kKeyMapBytes> UploadedKeyMap() const {
    const auto keyMap = keyboard.State().keyMap;
    EXPECT_TRUE(keyMap.has_value());
    return keyMap.value_or(std::array<std::uint8_t, tarnwick::kKeyMapBytes>{});
  }

  tarnwick::VirtualKeyboard keyboard;
  RecordingPacer pacer;
  std::unique_ptr<CUSBDriver> driver;
  std::unique_ptr<ProfileBlock> profile;
  std::vector<int> progress;
  std::size_t reportsBeforeProgress = 0;
};

TEST_F(SendAllKeysTest, ProfileWithoutMacrosSendsTheKeyMapOnly) {
  Upload();
  const auto log = keyboard.Log();
  ASSERT_EQ(log.size(), 21u);
  EXPECT_EQ(log[0].bytes, (Report{0x0A, 0x04, 0x01, 0, 0, 0, 0, 0}));
  EXPECT_EQ(log[0].usagePage, kCommandPage);
  for (std::size_t n = 1; n <= 20; ++n) {
    EXPECT_EQ(log[n].bytes[0], 0x0B);
    EXPECT_EQ(log[n].bytes[1], n);
    EXPECT_EQ(log[n].usagePage, kKeyMapPage);
  }
  EXPECT_EQ(progress, std::vector<int>{90});
  EXPECT_EQ(reportsBeforeProgress, 0u);
  const auto keyMap = UploadedKeyMap();
  struct Cell {
    int position;
    std::uint8_t usage;
  } cells[] = {{0, 0x29},  {13, 0x2A}, {28, 0x39}, {40, 0}, {41, 0x28},
               {61, 0x2C}, {69, 0xAC}, {70, 0},    {119, 0}};
  for (const Cell& cell : cells)
    EXPECT_EQ(keyMap[cell.position], cell.usage) << "position " << cell.position;
}

TEST_F(SendAllKeysTest, MacroOnKeyThirteenGoesFirstWithItsRepeat) {
  ButtonInfo& key = Key(13, kKindAssigned, kCodeMacro);
  key.repeat = 0x0102;
  key.eventCount = 2;
  key.events[0] = {0x80, 0x0A, 0x04};
  key.events[1] = {0x00, 0x0A, 0x04};
  key.events[2] = {0x80, 0x0A, 0x05};  // beyond eventCount: not sent
  Upload();
  const auto log = keyboard.Log();
  ASSERT_EQ(log.size(), 42u + 21u);
  EXPECT_EQ(log[0].bytes, (Report{0x0A, 0x05, 0x01, 0x0E, 0x01, 0x00, 0x00, 0x00}));
  EXPECT_EQ(log[1].bytes, (Report{0x0C, 1, 0x01, 0x02, 0x80, 0x0A, 0x04, 0x00}));
  EXPECT_EQ(log[2].bytes, (Report{0x0C, 2, 0x0A, 0x04, 0x00, 0x00, 0x00, 0x00}));
  for (std::size_t n = 1; n <= 41; ++n) EXPECT_EQ(log[n].usagePage, kMacroPage);
  EXPECT_EQ(log[42].bytes, (Report{0x0A, 0x04, 0x01, 0, 0, 0, 0, 0}));
  EXPECT_EQ(reportsBeforeProgress, 42u) << "progress is set between the passes";
  EXPECT_EQ(UploadedKeyMap()[13], 0xCD);
  EXPECT_EQ(keyboard.State().macros.count(13), 1u);
}

TEST_F(SendAllKeysTest, ShortcutsAndCombinationsBecomeMacrosPlayedOnce) {
  struct Case {
    std::int32_t code;
    std::vector<std::uint8_t> blockStart;
  } cases[] = {
      {kCodeWindowsDesktop,
       {0x00, 0x01, 0x80, 0x00, 0xE3, 0x80, 0x00, 0x07, 0x00, 0x00, 0x07, 0x00, 0x00, 0xE3}},
      {kCodeWindowsZoomIn,
       {0x00, 0x01, 0x80, 0x00, 0xE0, 0x80, 0x00, 0xC0, 0x00, 0x00, 0xC0, 0x00, 0x00, 0xE0}},
      {kCodeWindowsZoomOut,
       {0x00, 0x01, 0x80, 0x00, 0xE0, 0x80, 0x00, 0xC1, 0x00, 0x00, 0xC1, 0x00, 0x00, 0xE0}},
      {kCodeKeyCombination,
       {0x00, 0x01, 0x80, 0x05, 0xE0, 0x80, 0x05, 0x04, 0x00, 0x05, 0x04, 0x00, 0x05, 0xE0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    *profile = ProfileBlock{};
    keyboard.ClearLog();
    ButtonInfo& key = Key(20, kKindAssigned, c.code);
    key.repeat = 0x0505;  // only recorded macros carry a repeat
    key.eventCount = 4;
    key.events[0] = {0x80, 0x05, 0xE0};
    key.events[1] = {0x80, 0x05, 0x04};
    key.events[2] = {0x00, 0x05, 0x04};
    key.events[3] = {0x00, 0x05, 0xE0};
    Upload();
    const auto macros = keyboard.State().macros;
    ASSERT_EQ(macros.count(20), 1u);
    const auto& block = macros.at(20);
    for (std::size_t i = 0; i < block.size(); ++i) {
      const std::uint8_t expected = i < c.blockStart.size() ? c.blockStart[i] : 0;
      ASSERT_EQ(block[i], expected) << "block byte " << i;
    }
    EXPECT_EQ(UploadedKeyMap()[20], 0xCD);
  }
}

TEST_F(SendAllKeysTest, KeyMapBytesFollowKindAndCode) {
  struct Case {
    const char* name;
    int index;
    std::uint8_t kind;
    std::int32_t code;
    std::uint8_t firstEventUsage;
    std::uint8_t expected;
    bool macroUploaded;
  } cases[] = {
      {"kind 1 disables whatever the code", 15, kKindDisabled, kCodeMouseLeftClick, 0, 0x00, false},
      {"kind 1 with a macro code still uploads the macro", 15, kKindDisabled, kCodeMacro, 0, 0x00,
       true},
      {"kind 0 keeps the default usage", 15, kKindDefault, kCodeMouseLeftClick, 0, 0x14, false},
      {"table byte", 15, kKindAssigned, kCodeMouseLeftClick, 0, 0xCE, false},
      {"code 465 takes the first event's usage", 15, kKindAssigned, kCodeSingleKey, 0x3E, 0x3E,
       false},
      {"code 465 with usage 0 keeps the default", 15, kKindAssigned, kCodeSingleKey, 0, 0x14,
       false},
      {"code 271 disables", 15, kKindAssigned, kCodeDisable, 0, 0x00, false},
      {"unknown code keeps the default", 15, kKindAssigned, 425, 0, 0x14, false},
      {"launch program", 15, kKindAssigned, kCodeLaunchProgram, 0, 0xFE, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    *profile = ProfileBlock{};
    ButtonInfo& key = Key(c.index, c.kind, c.code);
    key.eventCount = 2;
    key.events[0] = {0x80, 0x05, c.firstEventUsage};
    key.events[1] = {0x00, 0x05, c.firstEventUsage};
    const KeyMap keyMap = KeyMapFor(profile->buttonInfo);
    EXPECT_EQ(keyMap.keys[c.index], c.expected);
    EXPECT_EQ(MacroBlockFor(key).has_value(), c.macroUploaded);
  }
}

TEST_F(SendAllKeysTest, RecordsOfIndexesWithoutAKeyNeverReachEsc) {
  Key(40, kKindAssigned, kCodeMacro).eventCount = 1;  // empty cell
  Key(80, kKindDisabled, 0);                          // past the matrix
  Key(90, kKindAssigned, kCodeMouseLeftClick);
  Upload();
  EXPECT_TRUE(keyboard.State().macros.empty());
  EXPECT_EQ(keyboard.Log().size(), 21u);
  EXPECT_EQ(UploadedKeyMap()[0], 0x29);
}

TEST_F(SendAllKeysTest, DamagedEventCountIsLimitedToTheRecord) {
  ButtonInfo& key = Key(1, kKindAssigned, kCodeMacro);
  key.eventCount = 255;
  for (MacroEvent& event : key.events) event = {0x80, 0x01, 0x04};
  const auto block = MacroBlockFor(key);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->events[79].eventCode, 0x04);
}

// Real pauses, checked only as lower bounds between consecutive reports.
TEST(CommandPauses, ReportsAreSpacedAtLeastByTheirPauses) {
  tarnwick::VirtualKeyboard keyboard;
  tarnwick::HidLibrary::Instance().SetBackendFactory(
      [&] { return std::make_unique<tarnwick::VirtualBackend>(keyboard); });
  keyboard.Plug();
  {
    CUSBDriver driver;
    ASSERT_TRUE(driver.OpenDevice());
    PumpUntilIdle();
    driver.SendSleep(1);
    driver.SendRefresh();
    driver.SendKeyMap(KeyMap{});
    driver.SendLighting(1, 4, 4, 0);
    driver.SendRefresh();
  }
  tarnwick::HidLibrary::Instance().SetBackendFactory({});
  const auto log = keyboard.Log();
  ASSERT_EQ(log.size(), 25u);
  std::vector<std::uint64_t> minimumMs = {20, 20, 200};
  minimumMs.insert(minimumMs.end(), 20, 60);  // after each chunk, the last one before lighting
  minimumMs.push_back(200);                   // after lighting
  for (std::size_t i = 0; i + 1 < log.size(); ++i) {
    EXPECT_GE(log[i + 1].timeNs - log[i].timeNs, minimumMs[i] * 1000000u) << "after report " << i;
  }
}

}  // namespace
