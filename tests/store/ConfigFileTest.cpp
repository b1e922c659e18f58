#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "TestFiles.h"
#include "model/FixedText.h"
#include "platform/Text.h"
#include "store/ConfigFile.h"
#include "store/ProfileFile.h"

namespace {

using testfiles::ReadBytes;
using testfiles::Utf16Le;
using testfiles::WriteBytes;

class ConfigFileTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(Data() + "Profiles"); }
  const std::string& Data() const { return m_data.Path(); }
  void WriteConfig(std::u16string_view text) { WriteBytes(ConfigPath(Data()), Utf16Le(text)); }
  // The service's start: reset, load, repair.
  std::unique_ptr<ConfigRecord> Start() {
    auto record = std::make_unique<ConfigRecord>();
    ResetConfig(*record);
    m_lastLoad = LoadConfig(*record, Data());
    RepairConfig(*record);
    return record;
  }
  testfiles::ScratchFolder m_data;
  StoreResult m_lastLoad;
};

std::u16string FirstRunSlot(char16_t slot) {
  const std::u16string number(1, slot);
  const std::u16string next(1, static_cast<char16_t>(slot + 1));
  return u"[Mode_" + next + u"]\r\nProfileData=" + number + u"\r\n[MyXlistIconInfo" + number +
         u"]\r\nProfileID=" + number + u"\r\nProfileName=Profile " + next +
         u"\r\nProfileIconName=\r\nProfileColor=28141\r\n";
}

TEST_F(ConfigFileTest, FirstRunWritesTheListAndFourProfiles) {
  const auto record = Start();
  EXPECT_TRUE(m_lastLoad) << m_lastLoad.message;
  EXPECT_EQ(ReadBytes(ConfigPath(Data())),
            Utf16Le(u"[MyXlistNumber]\r\nTotalListNumber=4\r\n" + FirstRunSlot(u'0') +
                    FirstRunSlot(u'1') + FirstRunSlot(u'2') + FirstRunSlot(u'3')));
  for (const char16_t* name : {u"Profile 1", u"Profile 2", u"Profile 3", u"Profile 4"}) {
    const std::string path = ProfilePath(Data(), name);
    EXPECT_EQ(ReadBytes(path),
              Utf16Le(u"[GROUP]\r\nCurrentProfileName=" + std::u16string(name) + u"\r\n"));
  }
  EXPECT_EQ(FixedText(record->slots[3].profileName), u"Profile 4");
  EXPECT_EQ(record->slots[3].profileColor, kDefaultProfileColor);

  // A second start reads what the first wrote and writes nothing.
  const std::string before = ReadBytes(ConfigPath(Data()));
  const auto again = Start();
  EXPECT_EQ(ReadBytes(ConfigPath(Data())), before);
  EXPECT_EQ(std::memcmp(again->slots, record->slots, sizeof record->slots), 0);
}

TEST_F(ConfigFileTest, ResetGivesDefaultEntriesAndSettings) {
  auto record = std::make_unique<ConfigRecord>();
  std::memset(record.get(), 0x5A, sizeof *record);
  ResetConfig(*record);
  EXPECT_EQ(record->plug, 0);
  EXPECT_EQ(record->profile, 0);
  EXPECT_EQ(record->language, 101);
  EXPECT_EQ(record->osdColor, 0);
  EXPECT_EQ(record->osdProfile, 1);
  EXPECT_EQ(record->osdEffect, 1);
  EXPECT_EQ(record->autorun, 1);
  EXPECT_EQ(record->pollingRate, 3);
  EXPECT_EQ(record->keyMode, 0);
  EXPECT_EQ(record->syncMode, 0);
  EXPECT_EQ(record->sleep, 4);
  for (int s = 0; s < kSlotCount; ++s) {
    EXPECT_EQ(record->slots[s].profileId, s);
    EXPECT_EQ(FixedText(record->slots[s].profileName), u"Profile " + std::u16string(1, u'1' + s));
    EXPECT_EQ(FixedText(record->slots[s].profileIconName), u"");
    EXPECT_EQ(record->slots[s].profileColor, 0x006DEDu);
  }
  EXPECT_EQ(record->current.repotRate, 3);
}

struct SettingCase {
  const char16_t* setting;
  int ConfigRecord::*wideField;
  uint8_t ConfigRecord::*narrowField;
  int expected;
};

TEST_F(ConfigFileTest, SettingsAreReadCutToTheirFieldsAndRepaired) {
  const SettingCase cases[] = {
      {u"Language=108", nullptr, &ConfigRecord::language, 108},
      {u"Language=100", nullptr, &ConfigRecord::language, 101},
      {u"Language=109", nullptr, &ConfigRecord::language, 101},
      {u"Sleep=9", nullptr, &ConfigRecord::sleep, 4},
      {u"Sleep=0", nullptr, &ConfigRecord::sleep, 0},
      {u"PollingRate=4", nullptr, &ConfigRecord::pollingRate, 3},
      {u"PollingRate=0", nullptr, &ConfigRecord::pollingRate, 0},
      {u"KeyMode=2", nullptr, &ConfigRecord::keyMode, 0},
      {u"SyncMode=1", nullptr, &ConfigRecord::syncMode, 1},
      {u"SyncMode=5", nullptr, &ConfigRecord::syncMode, 0},
      {u"OSD_Color=3", nullptr, &ConfigRecord::osdColor, 0},
      {u"OSD_Color=2", nullptr, &ConfigRecord::osdColor, 2},
      {u"OSD_Profile=0", &ConfigRecord::osdProfile, nullptr, 0},
      {u"OSD_Profile=-1", &ConfigRecord::osdProfile, nullptr, 1},
      {u"OSD_Effect=2", &ConfigRecord::osdEffect, nullptr, 1},
      {u"UI_Autorun=7", &ConfigRecord::autorun, nullptr, 1},
      {u"UI_Autorun=0", &ConfigRecord::autorun, nullptr, 0},
      {u"Plug=1", nullptr, &ConfigRecord::plug, 1},
      {u"Profile=3", nullptr, &ConfigRecord::profile, 3},
      {u"Profile=260", nullptr, &ConfigRecord::profile, 4},  // cut to 8 bits, not repaired
      {u"Language=357", nullptr, &ConfigRecord::language, 101},
  };
  for (const auto& c : cases) {
    WriteConfig(u"[Setting]\r\n" + std::u16string(c.setting) + u"\r\n");
    const auto record = Start();
    const int actual = c.wideField ? (*record).*c.wideField : (*record).*c.narrowField;
    EXPECT_EQ(actual, c.expected) << platform::Utf16ToUtf8(c.setting);
  }
}

TEST_F(ConfigFileTest, RepairChecksTheCurrentLightingButNotItsColour) {
  auto record = std::make_unique<ConfigRecord>();
  ResetConfig(*record);
  record->profile = 2;
  record->current.lightInfo.colorMode = 5;
  record->current.lightInfo.brightness = 9;
  record->current.lightInfo.color = 0;
  RepairConfig(*record);
  EXPECT_EQ(record->current.lightInfo.colorMode, 0);  // slot 2's default mode
  EXPECT_EQ(record->current.lightInfo.brightness, 4);
  EXPECT_EQ(record->current.lightInfo.color, 0u);
}

TEST_F(ConfigFileTest, SlotsReadTheirNamedProfileFromTheList) {
  WriteConfig(
      u"[MyXlistNumber]\r\nTotalListNumber=7\r\n"
      u"[Mode_1]\r\nProfileData=0\r\n[Mode_2]\r\nProfileData=5\r\n"
      u"[Mode_3]\r\nProfileData=2\r\n[Mode_4]\r\nProfileData=3\r\n"
      u"[MyXlistIconInfo0]\r\nProfileName=Desk\r\nProfileColor=255\r\n"
      u"[MyXlistIconInfo5]\r\nProfileID=5\r\nProfileName=Shooter\r\nProfileIconName=gun.png\r\n");
  const std::string before = ReadBytes(ConfigPath(Data()));
  const auto record = Start();
  EXPECT_EQ(ReadBytes(ConfigPath(Data())), before);  // TotalListNumber=7 is left as it is
  EXPECT_EQ(FixedText(record->slots[0].profileName), u"Desk");
  EXPECT_EQ(record->slots[0].profileColor, 255u);
  EXPECT_EQ(record->slots[1].profileId, 5);
  EXPECT_EQ(FixedText(record->slots[1].profileName), u"Shooter");
  EXPECT_EQ(FixedText(record->slots[1].profileIconName), u"gun.png");
  EXPECT_EQ(record->slots[1].profileColor, 0u);
  // Entries that do not exist leave a cleared slot, not the defaults.
  EXPECT_EQ(FixedText(record->slots[2].profileName), u"");
  EXPECT_EQ(record->slots[2].profileId, 2);
}

TEST_F(ConfigFileTest, MissingModeRecordWritesOnlyThatSlot) {
  WriteConfig(
      u"[MyXlistNumber]\r\nTotalListNumber=2\r\n[Mode_1]\r\nProfileData=3\r\n"
      u"[Mode_3]\r\nProfileData=0\r\n[Mode_4]\r\nProfileData=1\r\n");
  const auto record = Start();
  const std::u16string expected =
      u"[MyXlistNumber]\r\nTotalListNumber=4\r\n[Mode_1]\r\nProfileData=3\r\n"
      u"[Mode_3]\r\nProfileData=0\r\n[Mode_4]\r\nProfileData=1\r\n" +
      FirstRunSlot(u'1');
  EXPECT_EQ(ReadBytes(ConfigPath(Data())), Utf16Le(expected));
  // Slot 3 reads list entry 1, which slot 1 has just written.
  EXPECT_EQ(FixedText(record->slots[3].profileName), u"Profile 2");
}

TEST_F(ConfigFileTest, WholeSectionSaveWritesTenSettingsInOrder) {
  WriteConfig(u"[Setting]\r\nPlug=1\r\nFWVersion=0105\r\nSleep=2\r\n");
  auto record = std::make_unique<ConfigRecord>();
  ResetConfig(*record);
  record->profile = 2;
  record->language = 104;
  record->osdProfile = 0;
  record->plug = 0;
  ASSERT_TRUE(SaveConfig(*record, Data()));
  EXPECT_EQ(
      ReadBytes(ConfigPath(Data())),
      Utf16Le(u"[Setting]\r\nPlug=1\r\nFWVersion=0105\r\nSleep=4\r\nProfile=2\r\nKeyMode=0\r\n"
              u"PollingRate=3\r\nLanguage=104\r\nOSD_Color=0\r\nOSD_Profile=0\r\n"
              u"OSD_Effect=1\r\nUI_Autorun=1\r\nSyncMode=0\r\n"));
}

TEST_F(ConfigFileTest, ServiceRecordsPlugAndFirmwareVersion) {
  Start();
  const std::string before = ReadBytes(ConfigPath(Data()));
  ASSERT_TRUE(WritePlug(Data(), 1));
  ASSERT_TRUE(WriteFirmwareVersion(Data(), u"01a5"));
  const std::string after = ReadBytes(ConfigPath(Data()));
  EXPECT_EQ(after, before + Utf16Le(u"[Setting]\r\nPlug=1\r\nFWVersion=01a5\r\n", false));
  ASSERT_TRUE(WritePlug(Data(), 0));
  EXPECT_EQ(Start()->plug, 0);
}

TEST_F(ConfigFileTest, UnwritableConfigStillReadsAndReportsTheFailure) {
  WriteConfig(u"[Setting]\r\nSleep=2\r\n");
  std::filesystem::permissions(ConfigPath(Data()), std::filesystem::perms::owner_read);
  const std::string before = ReadBytes(ConfigPath(Data()));
  const auto record = Start();
  EXPECT_EQ(m_lastLoad.status, StoreStatus::kWriteFailed);
  EXPECT_FALSE(m_lastLoad.message.empty());
  EXPECT_EQ(record->sleep, 2);
  EXPECT_EQ(FixedText(record->slots[0].profileName), u"Profile 1");
  EXPECT_EQ(ReadBytes(ConfigPath(Data())), before);
  EXPECT_EQ(SaveConfig(*record, Data()).status, StoreStatus::kWriteFailed);
  EXPECT_EQ(WritePlug(Data(), 1).status, StoreStatus::kWriteFailed);
}

TEST_F(ConfigFileTest, MissingDataFolderGivesDefaults) {
  auto record = std::make_unique<ConfigRecord>();
  ResetConfig(*record);
  const StoreResult result = LoadConfig(*record, Data() + "absent/");
  EXPECT_EQ(result.status, StoreStatus::kWriteFailed);
  RepairConfig(*record);
  EXPECT_EQ(record->sleep, 4);
  EXPECT_EQ(FixedText(record->slots[2].profileName), u"Profile 3");
  EXPECT_FALSE(std::filesystem::exists(Data() + "absent"));
}

}  // namespace
