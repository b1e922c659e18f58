#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/KeyCodeTable.h"
#include "model/KeyNameTable.h"
#include "platform/KeyboardLayout.h"

namespace {

namespace fs = std::filesystem;

void WriteTable(const fs::path& path, const std::string& entries) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<NAMES><KEYTABLE>" << entries
                      << "</KEYTABLE></NAMES>\n";
}

class KeyNameTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::SetKeyboardLayout("us"));
    m_folder = fs::path(::testing::TempDir()) /
               ("keynames-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(m_folder);
    WriteTable(m_folder / "table.xml",
               "<CODE_0d>Enter</CODE_0d><CODE_41>Letter A</CODE_41><CODE_42>VK:B key</CODE_42>"
               "<CODE_201>Left Click</CODE_201><CODE_dc>Backslash</CODE_dc>");
    WriteTable(m_folder / "Skins/Languages/FR/table.xml",
               "<CODE_0d>Entrée</CODE_0d><CODE_dc>Astérisque</CODE_dc>");
  }
  void TearDown() override {
    platform::SetKeyboardLayout("us");
    fs::remove_all(m_folder);
  }
  std::string Folder() const { return m_folder.string() + "/"; }

  fs::path m_folder;
};

TEST_F(KeyNameTableTest, DefaultDocumentAndLayout) {
  KeyNameTable table(Folder());
  struct Case {
    uint16_t virtualKey;
    std::u16string name;
    const char* what;
  };
  const Case cases[] = {
      {0x0D, u"Enter", "named key from the document"},
      {0x2F, u"VK:2f", "named key the document lacks"},
      {513, u"Left Click", "key number above a byte"},
      {0x41, u"A", "character key shows what the layout types with Caps Lock"},
      {0x31, u"1", "digit"},
      {0x42, u"VK:B key", "document entry with VK: wins over the layout"},
      {0xDC, u"\\", "backslash is a character key for the default document"},
      {0x92, u"92", "key the layout does not have"},
      {0xB7, u"Left Button", "mouse buttons have fixed names"},
      {0xB8, u"Right Button", ""},
      {0xB9, u"Middle Button", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(table.KeyName(c.virtualKey, u""), c.name) << c.what;
}

TEST_F(KeyNameTableTest, LanguageDocumentNamesKeysAndIsReadAfresh) {
  KeyNameTable table(Folder());
  // The first lookup uses a language; character keys still consult the default document.
  EXPECT_EQ(table.KeyName(0x42, u"FR"), u"VK:B key");
  EXPECT_EQ(table.KeyName(0x0D, u"FR"), u"Entrée");
  EXPECT_EQ(table.KeyName(0xDC, u"FR"), u"Astérisque");
  EXPECT_EQ(table.KeyName(0x2F, u"FR"), u"VK:2f");
  EXPECT_EQ(table.KeyName(0x0D, u"GE"), u"VK:d");  // no German document here
  EXPECT_EQ(table.KeyName(0x0D, u"XX"), u"Enter");
  EXPECT_EQ(table.KeyName(0x0D, u"fr"), u"Enter");

  WriteTable(m_folder / "Skins/Languages/FR/table.xml", "<CODE_0d>Retour</CODE_0d>");
  EXPECT_EQ(table.KeyName(0x0D, u"FR"), u"Retour");
}

TEST_F(KeyNameTableTest, FrenchLayoutNamesByCharacter) {
  KeyNameTable table(Folder());
  ASSERT_TRUE(platform::SetKeyboardLayout("fr"));
  EXPECT_EQ(table.KeyName(UsageToVirtualKey(0x14), u""), u"A");
  EXPECT_EQ(table.KeyName(UsageToVirtualKey(0x04), u""), u"Q");
  // The French digit row types an ampersand, doubled for button captions.
  EXPECT_EQ(table.KeyName(UsageToVirtualKey(0x1E), u""), u"&&");
  EXPECT_EQ(table.KeyName(UsageToVirtualKey(0x1E), u"FR"), u"&&");
}

TEST_F(KeyNameTableTest, MissingDocumentsFallBackToCodesAndLayout) {
  KeyNameTable table(Folder() + "absent/");
  EXPECT_EQ(table.KeyName(0x0D, u""), u"VK:d");
  EXPECT_EQ(table.KeyName(0x0D, u"JP"), u"VK:d");
  EXPECT_EQ(table.KeyName(0x41, u""), u"A");
  EXPECT_EQ(table.KeyName(0x92, u""), u"92");
}

TEST(ShippedKeyNames, EveryDocumentNamesTheKeysItMustName) {
  const std::string stage = std::string(PV37_STAGE_DIR) + "/";
  ASSERT_TRUE(fs::exists(stage + "table.xml"));
  KeyNameTable table(stage);
  const uint16_t named[] = {0x08, 0x09, 0x0D, 0x14, 0x1B, 0x20, 0x24, 0x28, 0x2E, 0x5B, 0x5D,
                            0x60, 0x6F, 0x70, 0x7B, 0x90, 0x91, 0xA0, 0xA5, 0xAD, 0xBA, 0xBB,
                            0xBD, 0xBF, 0xC0, 0xDB, 0xDD, 0xDE, 0xFF, 513,  516,  519};
  for (const std::u16string_view language : {u"", u"JP", u"FR", u"GE", u"UK"}) {
    for (const uint16_t vk : named) {
      const std::u16string name = table.KeyName(vk, language);
      EXPECT_FALSE(name.empty()) << vk;
      EXPECT_EQ(name.find(u"VK:"), std::u16string::npos) << vk;
    }
  }
  for (const std::u16string_view language : {u"JP", u"FR", u"GE", u"UK"}) {
    EXPECT_EQ(table.KeyName(0xDC, language).find(u"VK:"), std::u16string::npos);
  }
  EXPECT_EQ(table.KeyName(0x0D, u"GE"), u"Eingabe");
  EXPECT_EQ(table.KeyName(0xF6, u""), u"Attn");
}

}  // namespace
