#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace platform {
namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pv37-fs-XXXXXX";
    root_ = mkdtemp(pattern);
    std::filesystem::create_directories(root_ + "/Skins/Languages");
    std::ofstream(root_ + "/Skins/Languages/Strings.xml") << "<x/>";
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  std::string root_;
};

TEST_F(FileSystemTest, ResolvesEachComponentWithoutRegardToCase) {
  const std::string expected = root_ + "/Skins/Languages/Strings.xml";
  const char* spellings[] = {"/Skins/Languages/Strings.xml", "/skins/languages/strings.xml",
                             "/SKINS/Languages/STRINGS.XML"};
  for (const char* s : spellings) EXPECT_EQ(ResolvePathNoCase(root_ + s), expected) << s;
}

TEST_F(FileSystemTest, MissingPathIsReturnedAsWritten) {
  const std::string missing = root_ + "/skins/nothing/strings.xml";
  EXPECT_EQ(ResolvePathNoCase(missing), missing);
  EXPECT_FALSE(ReadWholeFile(missing).has_value());
}

TEST_F(FileSystemTest, ReadsWholeFileThroughResolvedPath) {
  EXPECT_EQ(ReadWholeFile(root_ + "/skins/languages/STRINGS.xml"), std::optional<std::string>("<x/>"));
}

}  // namespace
}  // namespace platform
