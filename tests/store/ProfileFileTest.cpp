#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "SampleProfile.h"
#include "TestFiles.h"
#include "model/FixedText.h"
#include "model/LightDefaults.h"
#include "store/DecimalText.h"
#include "store/IniFile.h"
#include "store/ProfileFile.h"

namespace {

using testfiles::ReadBytes;
using testfiles::Utf16Le;
using testfiles::WriteBytes;

bool SameBlock(const ProfileBlock& a, const ProfileBlock& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

std::unique_ptr<ProfileBlock> ResetBlock() {
  auto block = std::make_unique<ProfileBlock>();
  ResetProfile(*block);
  return block;
}

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(m_data.Path() + "Profiles"); }
  const std::string& Data() const { return m_data.Path(); }
  std::string ProfileFileOf(const std::string& name) const {
    return Data() + "Profiles/" + name + ".ini";
  }
  testfiles::ScratchFolder m_data;
};

TEST_F(ProfileFileTest, LoadingAMissingProfileCreatesItsFileWithTheNameOnly) {
  auto block = ResetBlock();
  EXPECT_TRUE(LoadProfile(*block, Data(), u"Game"));
  EXPECT_EQ(ReadBytes(ProfileFileOf("Game")), Utf16Le(u"[GROUP]\r\nCurrentProfileName=Game\r\n"));
  EXPECT_TRUE(SameBlock(*block, *ResetBlock()));
}

TEST_F(ProfileFileTest, SavedProfileLoadsBackIdentical) {
  const auto saved = MakeSampleProfile();
  ASSERT_TRUE(SaveProfile(*saved, Data(), u"Full"));
  auto loaded = ResetBlock();
  ASSERT_TRUE(LoadProfile(*loaded, Data(), u"Full"));
  EXPECT_TRUE(SameBlock(*loaded, *saved));
}

TEST_F(ProfileFileTest, ProfileSavedByOneProcessLoadsIdenticalInAnother) {
  const pid_t child = fork();
  if (child == 0) _exit(SaveProfile(*MakeSampleProfile(), Data(), u"Shared") ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  auto loaded = ResetBlock();
  ASSERT_TRUE(LoadProfile(*loaded, Data(), u"Shared"));
  EXPECT_TRUE(SameBlock(*loaded, *MakeSampleProfile()));
}

TEST_F(ProfileFileTest, OneRewriteEndsAsTheSeparateWritesWould) {
  const auto block = MakeSampleProfile();
  const std::string start =
      Utf16Le(u"; mine\r\n[GROUP]\r\nRepotRate=1\r\nExtra=kept\r\n[Other]\r\nx=1\r\n");
  WriteBytes(ProfileFileOf("Batch"), start);
  WriteBytes(ProfileFileOf("Single"), start);
  ASSERT_TRUE(SaveProfile(*block, Data(), u"Batch"));

  IniFile single(ProfileFileOf("Single"));
  const std::u16string group = u"GROUP";
  single.WriteString(group, u"CurrentProfileName", u"Batch");
  for (int i = 0; i < kLinkExeCount; ++i)
    single.WriteString(group, u"LinkExe" + DecimalText(i), FixedText(block->linkExe[i]));
  single.WriteStruct(group, u"LIGHT_INFO", &block->lightInfo, sizeof block->lightInfo);
  single.WriteStruct(group, u"PERFORMANCE_INFO", &block->performanceInfo, 5);
  for (int i = 0; i < kButtonInfoCount; ++i)
    single.WriteStruct(group, u"BUTTON_INFO_" + DecimalText(i), &block->buttonInfo[i], 1392);
  for (int i = 0; i < kButtonInfoCount; ++i)
    single.WriteStruct(group, u"FNBUTTON_INFO_" + DecimalText(i), &block->fnButtonInfo[i], 1392);
  for (int i = 0; i < kGButtonInfoCount; ++i)
    single.WriteStruct(group, u"G_BUTTON_INFO_" + DecimalText(i), &block->gButtonInfo[i], 1392);
  single.WriteInt(group, u"RepotRate", block->repotRate);

  EXPECT_EQ(ReadBytes(ProfileFileOf("Batch")), ReadBytes(ProfileFileOf("Single")));
}

TEST_F(ProfileFileTest, DamagedStructValuesLeaveTheirPartAtResetValues) {
  const auto saved = MakeSampleProfile();
  ASSERT_TRUE(SaveProfile(*saved, Data(), u"Damaged"));
  IniFile file(ProfileFileOf("Damaged"));
  const std::u16string light = file.ReadString(u"GROUP", u"LIGHT_INFO", u"");
  std::u16string badChecksum = file.ReadString(u"GROUP", u"BUTTON_INFO_3", u"");
  badChecksum.back() = badChecksum.back() == u'0' ? u'1' : u'0';
  ASSERT_TRUE(file.WriteString(u"GROUP", u"LIGHT_INFO", light.substr(0, light.size() - 2)));
  ASSERT_TRUE(file.WriteString(u"GROUP", u"BUTTON_INFO_3", badChecksum));

  auto loaded = ResetBlock();
  LoadProfile(*loaded, Data(), u"Damaged");
  const auto reset = ResetBlock();
  EXPECT_EQ(std::memcmp(&loaded->lightInfo, &reset->lightInfo, sizeof(LightInfo)), 0);
  EXPECT_EQ(std::memcmp(&loaded->buttonInfo[3], &reset->buttonInfo[3], sizeof(ButtonInfo)), 0);
  EXPECT_EQ(std::memcmp(&loaded->buttonInfo[4], &saved->buttonInfo[4], sizeof(ButtonInfo)), 0);
  EXPECT_EQ(std::memcmp(&loaded->linkExe, &saved->linkExe, sizeof saved->linkExe), 0);
}

TEST_F(ProfileFileTest, LongLinkedProgramPathIsCut) {
  const std::u16string longPath(400, u'p');
  IniFile(ProfileFileOf("Long")).WriteString(u"GROUP", u"LinkExe2", longPath);
  auto loaded = ResetBlock();
  LoadProfile(*loaded, Data(), u"Long");
  EXPECT_EQ(FixedText(loaded->linkExe[2]), longPath.substr(0, kPathUnits - 1));
}

TEST_F(ProfileFileTest, UnstorableLinkIsReportedAndTheRestSaved) {
  auto block = MakeSampleProfile();
  block->linkExe[1][4] = u'\n';
  const StoreResult result = SaveProfile(*block, Data(), u"Partial");
  EXPECT_EQ(result.status, StoreStatus::kWriteFailed);
  EXPECT_NE(result.message.find("LinkExe1"), std::string::npos);
  auto loaded = ResetBlock();
  LoadProfile(*loaded, Data(), u"Partial");
  EXPECT_EQ(FixedText(loaded->linkExe[1]), u"");
  EXPECT_EQ(std::memcmp(&loaded->fnButtonInfo, &block->fnButtonInfo, sizeof block->fnButtonInfo),
            0);
}

TEST_F(ProfileFileTest, MissingProfilesFolderFailsAndLeavesTheRecord) {
  std::filesystem::remove(Data() + "Profiles");
  auto block = MakeSampleProfile();
  EXPECT_EQ(LoadProfile(*block, Data(), u"Game").status, StoreStatus::kWriteFailed);
  // The linked programs are cleared and RepotRate takes its default before they are read.
  auto expected = MakeSampleProfile();
  std::memset(expected->linkExe, 0, sizeof expected->linkExe);
  expected->repotRate = 3;
  EXPECT_TRUE(SameBlock(*block, *expected));
  EXPECT_EQ(SaveProfile(*block, Data(), u"Game").status, StoreStatus::kWriteFailed);
  EXPECT_FALSE(std::filesystem::exists(Data() + "Profiles"));
}

TEST_F(ProfileFileTest, NamesThatCannotBeFileNamesAreRefused) {
  const std::u16string refused[] = {
      u"",
      u".",
      u"..",
      u"../config",
      u"a/b",
      u"a\\b",
      u"tab\there",
      u"line\nbreak",
      std::u16string(1, u'\0'),
      u"\xD800",
      std::u16string(300, u'n'),
      std::u16string(200, u'\u00E9'),
  };
  for (const auto& name : refused) {
    auto block = ResetBlock();
    EXPECT_EQ(LoadProfile(*block, Data(), name).status, StoreStatus::kBadName);
    EXPECT_EQ(SaveProfile(*block, Data(), name).status, StoreStatus::kBadName);
  }
  EXPECT_TRUE(std::filesystem::is_empty(Data() + "Profiles"));
  EXPECT_FALSE(std::filesystem::exists(Data() + "config.ini"));

  for (const std::u16string name : {u"PC Mode", u"\u00C9t\u00E9 \U0001F3AE", u".hidden", u"a..b"}) {
    auto block = ResetBlock();
    EXPECT_TRUE(SaveProfile(*block, Data(), name));
  }
}

TEST_F(ProfileFileTest, NeverFollowsALinkOutOfTheDataFolder) {
  testfiles::ScratchFolder outside;
  const std::string victim = outside.Path() + "victim.ini";
  WriteBytes(victim, "precious");
  std::filesystem::create_symlink(victim, ProfileFileOf("Evil"));
  auto block = MakeSampleProfile();
  EXPECT_EQ(LoadProfile(*block, Data(), u"Evil").status, StoreStatus::kOutsideFolder);
  EXPECT_EQ(SaveProfile(*block, Data(), u"Evil").status, StoreStatus::kOutsideFolder);
  EXPECT_EQ(ReadBytes(victim), "precious");

  std::filesystem::remove_all(Data() + "Profiles");
  std::filesystem::create_directory_symlink(outside.Path(), Data() + "Profiles");
  EXPECT_EQ(SaveProfile(*block, Data(), u"Game").status, StoreStatus::kOutsideFolder);
  EXPECT_FALSE(std::filesystem::exists(outside.Path() + "Game.ini"));
}

TEST_F(ProfileFileTest, LinkInsideTheDataFolderIsFollowed) {
  std::filesystem::create_directory(Data() + "Archive");
  WriteBytes(Data() + "Archive/Real.ini", "");
  std::filesystem::create_symlink(Data() + "Archive/Real.ini", ProfileFileOf("Linked"));
  EXPECT_TRUE(SaveProfile(*MakeSampleProfile(), Data(), u"Linked"));
  EXPECT_TRUE(std::filesystem::exists(Data() + "Archive/Real.ini"));
}

TEST_F(ProfileFileTest, GivenFolderHoldsTheFileDirectly) {
  testfiles::ScratchFolder exportFolder;
  EXPECT_EQ(ProfilePath(Data(), u"X", exportFolder.Path()), exportFolder.Path() + "X.ini");
  EXPECT_EQ(ProfilePath("/d/", u"X"), "/d/Profiles/X.ini");
  ASSERT_TRUE(SaveProfile(*MakeSampleProfile(), Data(), u"X", exportFolder.Path()));
  auto loaded = ResetBlock();
  ASSERT_TRUE(LoadProfile(*loaded, Data(), u"X", exportFolder.Path()));
  EXPECT_TRUE(SameBlock(*loaded, *MakeSampleProfile()));
}

TEST(ProfileResetTest, ResetValues) {
  auto block = std::make_unique<ProfileBlock>();
  std::memset(block.get(), 0xAB, sizeof *block);
  ResetProfile(*block);
  EXPECT_EQ(block->repotRate, 3);
  const uint8_t performance[5] = {3, 0, 0, 1, 0};
  EXPECT_EQ(std::memcmp(&block->performanceInfo, performance, 5), 0);
  const uint8_t light[10] = {0, 1, 4, 4, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(&block->lightInfo, light, 10), 0);
  EXPECT_EQ(FixedText(block->lightInfo.spectrumName), u"");
  EXPECT_EQ(block->buttonInfo[0].kind, 0);
  EXPECT_EQ(block->fnButtonInfo[110].code, 0);

  ResetProfileForSlot(*block, 2);
  EXPECT_EQ(block->lightInfo.colorMode, 0);
  EXPECT_EQ(block->lightInfo.color, 0u);
}

struct RepairCase {
  const char* what;
  void (*damage)(ProfileBlock&);
  void (*expect)(ProfileBlock&);
};

TEST(ProfileRepairTest, ServiceRepairTable) {
  const RepairCase cases[] = {
      {"RepotRate 7", [](ProfileBlock& b) { b.repotRate = 7; },
       [](ProfileBlock& b) { b.repotRate = 3; }},
      {"RepotRate -1", [](ProfileBlock& b) { b.repotRate = -1; },
       [](ProfileBlock& b) { b.repotRate = 3; }},
      {"performance bytes",
       [](ProfileBlock& b) {
         b.performanceInfo = {4, 4, 5, 4, 4};
       },
       [](ProfileBlock& b) {
         b.performanceInfo = {3, 0, 0, 1, 0};
       }},
      {"performance at their limits",
       [](ProfileBlock& b) {
         b.performanceInfo = {3, 3, 4, 3, 3};
       },
       [](ProfileBlock& b) {
         b.performanceInfo = {3, 3, 4, 3, 3};
       }},
      {"effect 15", [](ProfileBlock& b) { b.lightInfo.effect = 15; },
       [](ProfileBlock& b) { b.lightInfo.effect = 0; }},
      {"colour mode 2", [](ProfileBlock& b) { b.lightInfo.colorMode = 2; },
       [](ProfileBlock& b) { b.lightInfo.colorMode = 1; }},
      {"brightness 9", [](ProfileBlock& b) { b.lightInfo.brightness = 9; },
       [](ProfileBlock& b) { b.lightInfo.brightness = 4; }},
      {"speed 5", [](ProfileBlock& b) { b.lightInfo.speed = 5; },
       [](ProfileBlock& b) { b.lightInfo.speed = 4; }},
      {"colour option 8", [](ProfileBlock& b) { b.lightInfo.colorOption = 8; },
       [](ProfileBlock& b) { b.lightInfo.colorOption = 0; }},
      {"colour black", [](ProfileBlock& b) { b.lightInfo.color = 0; },
       [](ProfileBlock& b) { b.lightInfo.color = 0x00FF00; }},
      {"colour past 24 bits", [](ProfileBlock& b) { b.lightInfo.color = 0x01000000; },
       [](ProfileBlock& b) { b.lightInfo.color = 0x00FF00; }},
  };
  for (const auto& c : cases) {
    auto block = MakeSampleProfile();
    auto expected = MakeSampleProfile();
    c.damage(*block);
    c.expect(*expected);
    RepairProfile(*block, 2);
    EXPECT_TRUE(SameBlock(*block, *expected)) << c.what;
  }
}

TEST(ProfileRepairTest, PagesUseTheSlotRowForEffectAndColourMode) {
  for (int slot = 0; slot < 4; ++slot) {
    auto block = MakeSampleProfile();
    block->lightInfo.colorMode = 2;
    block->lightInfo.color = 0;
    RepairProfile(*block, slot, LightDefaultsFrom::SlotRow);
    EXPECT_EQ(block->lightInfo.colorMode, DefaultColorMode(slot)) << slot;
    EXPECT_EQ(block->lightInfo.color, DefaultColor(slot)) << slot;
  }
  auto block = MakeSampleProfile();
  block->lightInfo.color = 0;
  RepairProfile(*block, 9);
  EXPECT_EQ(block->lightInfo.color, DefaultColor(0));
}

}  // namespace
