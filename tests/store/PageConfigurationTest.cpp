#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "SampleProfile.h"
#include "TestFiles.h"
#include "model/FixedText.h"
#include "model/LightDefaults.h"
#include "store/ConfigFile.h"
#include "store/IniFile.h"
#include "store/PageConfiguration.h"
#include "store/ProfileFile.h"

namespace {

using testfiles::Utf16Le;
using testfiles::WriteBytes;

class PageConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(Data() + "Profiles"); }
  const std::string& Data() const { return m_data.Path(); }
  testfiles::ScratchFolder m_data;
};

TEST_F(PageConfigurationTest, FreshFolderLoadsDefaultsAndSelectsSlotDefaults) {
  auto record = std::make_unique<ConfigRecord>();
  ASSERT_TRUE(LoadPageConfiguration(*record, Data()));
  EXPECT_EQ(record->language, 101);
  EXPECT_EQ(record->sleep, 4);
  EXPECT_EQ(record->current.repotRate, 3);
  EXPECT_TRUE(std::filesystem::exists(ProfilePath(Data(), u"Profile 4")));

  for (int slot = 0; slot < kSlotCount; ++slot) {
    ASSERT_TRUE(SelectPageProfile(*record, slot, Data()));
    EXPECT_EQ(record->profile, slot);
    const LightInfo& light = record->current.lightInfo;
    EXPECT_EQ(light.effect, DefaultEffect(slot));
    EXPECT_EQ(light.colorMode, DefaultColorMode(slot));
    EXPECT_EQ(light.color, DefaultColor(slot));
    EXPECT_EQ(light.brightness, 4);
    EXPECT_EQ(light.speed, 4);
    EXPECT_EQ(record->current.performanceInfo.repeatDelay, 3);
  }
}

TEST_F(PageConfigurationTest, FirstRunEntriesTakeThePagesColourTable) {
  auto record = std::make_unique<ConfigRecord>();
  ASSERT_TRUE(LoadPageConfiguration(*record, Data()));
  const IniFile config(ConfigPath(Data()));
  for (int slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_EQ(PageProfileColor(slot), DefaultColor(slot));
    EXPECT_EQ(record->slots[slot].profileColor, PageProfileColor(slot));
    const std::u16string entry = u"MyXlistIconInfo" + std::u16string(1, u'0' + slot);
    EXPECT_EQ(config.ReadInt(entry, u"ProfileColor", 0), static_cast<int>(PageProfileColor(slot)));
  }
}

TEST_F(PageConfigurationTest, SelectingReadsTheSlotsProfileFile) {
  auto record = std::make_unique<ConfigRecord>();
  LoadPageConfiguration(*record, Data());
  const auto saved = MakeSampleProfile();
  ASSERT_TRUE(SaveProfile(*saved, Data(), u"Profile 3"));
  ASSERT_TRUE(SelectPageProfile(*record, 2, Data()));
  EXPECT_EQ(std::memcmp(&record->current, saved.get(), sizeof *saved), 0);
}

TEST_F(PageConfigurationTest, StoredProfileBeyondTheSlotsBecomesSlotZero) {
  WriteBytes(ConfigPath(Data()), Utf16Le(u"[Setting]\r\nProfile=7\r\n"));
  auto record = std::make_unique<ConfigRecord>();
  LoadPageConfiguration(*record, Data());
  EXPECT_EQ(record->profile, 0);
}

TEST_F(PageConfigurationTest, SlotOutsideTheFourIsRefused) {
  auto record = std::make_unique<ConfigRecord>();
  LoadPageConfiguration(*record, Data());
  SelectPageProfile(*record, 1, Data());
  auto before = std::make_unique<ConfigRecord>(*record);
  for (int slot : {-1, 4, 255}) {
    EXPECT_EQ(SelectPageProfile(*record, slot, Data()).status, StoreStatus::kBadSlot);
    EXPECT_EQ(std::memcmp(record.get(), before.get(), sizeof *before), 0);
  }
}

}  // namespace
