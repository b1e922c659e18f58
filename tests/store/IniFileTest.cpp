#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "platform/DebugOutput.h"
#include "store/IniFile.h"

namespace {

using testfiles::ReadBytes;
using testfiles::Utf16Le;
using testfiles::WriteBytes;

class IniFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return m_folder.Path() + name; }
  testfiles::ScratchFolder m_folder;
};

// Makes every write beyond `bytes` fail as a full disk does, for the lifetime of the object.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    signal(SIGXFSZ, m_oldHandler);
  }

 private:
  rlimit m_saved{};
  sighandler_t m_oldHandler;
};

TEST_F(IniFileTest, FirstWriteCreatesUtf16FileWithBom) {
  IniFile file(PathOf("Game.ini"));
  ASSERT_TRUE(file.WriteString(u"GROUP", u"CurrentProfileName", u"Game"));
  EXPECT_EQ(ReadBytes(file.Path()), Utf16Le(u"[GROUP]\r\nCurrentProfileName=Game\r\n"));
  EXPECT_EQ(file.ReadString(u"group", u"currentprofilename", u""), u"Game");
  EXPECT_FALSE(std::filesystem::exists(file.Path() + ".tmp"));
}

TEST_F(IniFileTest, EveryWriteKeepsTheRestOfTheFile) {
  const std::string original = Utf16Le(u"; kept\r\n[Setting]\r\nPlug=0\r\nOther=x\r\n\r\n[Z]\r\n");
  WriteBytes(PathOf("config.ini"), original);
  IniFile file(PathOf("config.ini"));
  ASSERT_TRUE(file.WriteInt(u"Setting", u"Plug", 1));
  ASSERT_TRUE(file.WriteString(u"Setting", u"FWVersion", u"0105"));
  EXPECT_EQ(ReadBytes(file.Path()),
            Utf16Le(u"; kept\r\n[Setting]\r\nPlug=1\r\nOther=x\r\nFWVersion=0105\r\n\r\n[Z]\r\n"));
}

TEST_F(IniFileTest, WriteThatChangesNothingLeavesTheFileAlone) {
  IniFile file(PathOf("a.ini"));
  ASSERT_TRUE(file.WriteInt(u"S", u"k", 1));
  struct stat before {};
  stat(file.Path().c_str(), &before);
  ASSERT_TRUE(file.WriteInt(u"S", u"k", 1));
  struct stat after {};
  stat(file.Path().c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(IniFileTest, ZeroByteFileIsWrittenAsANewFile) {
  WriteBytes(PathOf("empty.ini"), "");
  IniFile file(PathOf("empty.ini"));
  EXPECT_EQ(file.ReadInt(u"S", u"k", 5), 5);
  ASSERT_TRUE(file.WriteInt(u"S", u"k", 1));
  EXPECT_EQ(ReadBytes(file.Path()), Utf16Le(u"[S]\r\nk=1\r\n"));
}

TEST_F(IniFileTest, TenMegabyteLineIsReadCutAndKeptWhole) {
  const std::u16string huge(10 * 1024 * 1024 / 2, u'x');
  const std::string original = Utf16Le(u"[S]\r\nbig=" + huge + u"\r\nk=1\r\n");
  WriteBytes(PathOf("big.ini"), original);
  IniFile file(PathOf("big.ini"));
  EXPECT_EQ(file.ReadString(u"S", u"big", u"").size(), IniDocument::kMaxStringUnits);
  EXPECT_EQ(file.ReadInt(u"S", u"k", 0), 1);
  ASSERT_TRUE(file.WriteInt(u"S", u"k", 2));
  EXPECT_EQ(ReadBytes(file.Path()), Utf16Le(u"[S]\r\nbig=" + huge + u"\r\nk=2\r\n"));
}

TEST_F(IniFileTest, MissingFolderFailsWithoutCreatingAnything) {
  testing::internal::CaptureStderr();
  platform::SetDebugOutput(true);
  IniFile file(PathOf("Profiles/Game.ini"));
  EXPECT_FALSE(file.WriteString(u"GROUP", u"CurrentProfileName", u"Game"));
  platform::SetDebugOutput(false);
  const std::string trace = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(file.LastError().empty());
  EXPECT_NE(trace.find("Profiles/Game.ini"), std::string::npos) << trace;
  EXPECT_FALSE(std::filesystem::exists(PathOf("Profiles")));
  EXPECT_EQ(file.ReadString(u"GROUP", u"CurrentProfileName", u"none"), u"none");
}

TEST_F(IniFileTest, ReadOnlyFileIsReadButNeverReplaced) {
  const std::string original = Utf16Le(u"[S]\r\nk=1\r\n");
  WriteBytes(PathOf("ro.ini"), original);
  chmod(PathOf("ro.ini").c_str(), 0444);
  IniFile file(PathOf("ro.ini"));
  EXPECT_EQ(file.ReadInt(u"S", u"k", 0), 1);
  EXPECT_FALSE(file.WriteInt(u"S", u"k", 2));
  EXPECT_NE(file.LastError().find("read-only"), std::string::npos);
  EXPECT_EQ(ReadBytes(file.Path()), original);
}

TEST_F(IniFileTest, FullDiskLeavesTheOldFileWhole) {
  const std::string original = Utf16Le(u"[S]\r\nk=1\r\n");
  WriteBytes(PathOf("full.ini"), original);
  IniFile file(PathOf("full.ini"));
  const std::u16string large(4096, u'z');
  bool written = true;
  {
    FileSizeLimit limit(64);
    written = file.WriteString(u"S", u"big", large);
  }
  EXPECT_FALSE(written);
  EXPECT_FALSE(file.LastError().empty());
  EXPECT_EQ(ReadBytes(file.Path()), original);
  EXPECT_FALSE(std::filesystem::exists(file.Path() + ".tmp"));
  EXPECT_TRUE(file.WriteString(u"S", u"big", large));
}

TEST_F(IniFileTest, UnstorableValueIsReportedAndNothingWritten) {
  IniFile file(PathOf("v.ini"));
  EXPECT_FALSE(file.WriteString(u"S", u"k", u"a\r\n[Setting]"));
  EXPECT_FALSE(std::filesystem::exists(file.Path()));
}

TEST_F(IniFileTest, LinkInsideTheFolderIsWrittenThrough) {
  WriteBytes(PathOf("real.ini"), Utf16Le(u"[S]\r\nk=1\r\n"));
  std::filesystem::create_symlink(PathOf("real.ini"), PathOf("link.ini"));
  IniFile file(PathOf("link.ini"));
  ASSERT_TRUE(file.WriteInt(u"S", u"k", 2));
  EXPECT_TRUE(std::filesystem::is_symlink(PathOf("link.ini")));
  EXPECT_EQ(ReadBytes(PathOf("real.ini")), Utf16Le(u"[S]\r\nk=2\r\n"));
}

// Runs `body` in a child process and returns its exit status.
template <typename Body>
pid_t Spawn(Body body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

TEST_F(IniFileTest, TwoProcessesWritingDifferentKeysBothKeepTheirValues) {
  const std::string path = PathOf("shared.ini");
  constexpr int kRounds = 60;
  auto writer = [&](const char16_t* key) {
    return Spawn([&, key] {
      IniFile file(path);
      for (int i = 1; i <= kRounds; ++i)
        if (!file.WriteInt(u"Setting", key, i)) return 1;
      return 0;
    });
  };
  const pid_t first = writer(u"Plug");
  const pid_t second = writer(u"Profile");
  EXPECT_EQ(ExitCode(first), 0);
  EXPECT_EQ(ExitCode(second), 0);
  IniFile file(path);
  EXPECT_EQ(file.ReadInt(u"Setting", u"Plug", 0), kRounds);
  EXPECT_EQ(file.ReadInt(u"Setting", u"Profile", 0), kRounds);
}

TEST_F(IniFileTest, ReaderNeverSeesHalfAFile) {
  const std::string path = PathOf("busy.ini");
  const std::u16string padding(20000, u'p');
  IniFile(path).WriteString(u"S", u"pad", padding);
  const pid_t writer = Spawn([&] {
    IniFile file(path);
    for (int i = 0; i < 150; ++i)
      if (!file.WriteInt(u"S", u"n", i)) return 1;
    return 0;
  });
  int torn = 0;
  int status = 0;
  while (waitpid(writer, &status, WNOHANG) == 0) {
    const IniDocument doc = IniFile(path).Load();
    if (doc.FindValue(u"S", u"pad") != std::u16string_view(padding)) ++torn;
  }
  EXPECT_EQ(torn, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
