#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "PlatformTestSupport.h"
#include "platform/RuntimeFolder.h"

namespace platform::test {
namespace {

class RuntimeFolderCheckTest : public RuntimeFolderTest {
 protected:
  std::string Folder() const { return TempRoot() + "/Tolvane PV37/"; }
};

TEST_F(RuntimeFolderCheckTest, CreatesAPrivateFolderUnderTheRuntimeDirectory) {
  EXPECT_EQ(RuntimeFolder(), Folder());
  struct stat info {};
  ASSERT_EQ(lstat(Folder().c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(RuntimeFolder(), Folder());  // an existing good folder is accepted
}

TEST_F(RuntimeFolderCheckTest, RefusesFoldersOpenToOthers) {
  const struct {
    mode_t mode;
    bool accepted;
  } cases[] = {{0700, true}, {0777, false}, {0750, false}, {0705, false}, {0710, false}};
  ASSERT_FALSE(RuntimeFolder().empty());
  for (const auto& c : cases) {
    ASSERT_EQ(chmod(Folder().c_str(), c.mode), 0);
    const RuntimeFolderResult result = CheckRuntimeFolder(getuid());
    EXPECT_EQ(result.path.empty(), !c.accepted) << std::oct << c.mode;
    if (!c.accepted) {
      EXPECT_NE(result.error.find("open to other users"), std::string::npos) << result.error;
      EXPECT_NE(result.error.find(Folder()), std::string::npos) << result.error;
    }
  }
  EXPECT_EQ(RuntimeFolder(), "");
}

TEST_F(RuntimeFolderCheckTest, RefusesAFolderOfAnotherOwner) {
  ASSERT_FALSE(RuntimeFolder().empty());
  const RuntimeFolderResult result = CheckRuntimeFolder(getuid() + 1);
  EXPECT_EQ(result.path, "");
  EXPECT_NE(result.error.find("belongs to user " + std::to_string(getuid())), std::string::npos)
      << result.error;
}

TEST_F(RuntimeFolderCheckTest, RefusesALinkInPlaceOfTheFolder) {
  const std::string elsewhere = TempRoot() + "/elsewhere";
  ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
  ASSERT_EQ(symlink(elsewhere.c_str(), (TempRoot() + "/Tolvane PV37").c_str()), 0);
  const RuntimeFolderResult result = CheckRuntimeFolder(getuid());
  EXPECT_EQ(result.path, "");
  EXPECT_NE(result.error.find("not a folder"), std::string::npos) << result.error;
}

TEST_F(RuntimeFolderCheckTest, WithoutRuntimeDirectoryUsesAPerUserFolderInTmp) {
  unsetenv("XDG_RUNTIME_DIR");
  const std::string expected = "/tmp/Tolvane PV37-" + std::to_string(getuid()) + "/";
  EXPECT_EQ(CheckRuntimeFolder(getuid()).path, expected);
  setenv("XDG_RUNTIME_DIR", "relative/path", 1);  // not absolute: ignored
  EXPECT_EQ(CheckRuntimeFolder(getuid()).path, expected);
}

TEST_F(RuntimeFolderCheckTest, ReportsAFolderThatCannotBeCreated) {
  setenv("XDG_RUNTIME_DIR", (TempRoot() + "/missing/deeper").c_str(), 1);
  const RuntimeFolderResult result = CheckRuntimeFolder(getuid());
  EXPECT_EQ(result.path, "");
  EXPECT_NE(result.error.find("cannot create"), std::string::npos) << result.error;
}

}  // namespace
}  // namespace platform::test
