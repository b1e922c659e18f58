#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "TestFiles.h"

namespace {

using testfiles::ReadBytes;
using testfiles::Utf16Le;
using testfiles::WriteBytes;

struct ToolRun {
  int status;
  std::string output;
};

// Runs pv37-profile with `arguments` (already quoted for the shell), output and errors together.
ToolRun RunTool(const std::string& arguments) {
  const std::string command =
      std::string("'") + PV37_STAGE_DIR + "/pv37-profile' " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

class ProfileToolTest : public ::testing::Test {
 protected:
  std::string Data() const { return m_root.Path() + "Tolvane PV37"; }
  std::string Quoted(const std::string& path) const { return "'" + path + "'"; }
  testfiles::ScratchFolder m_root;
};

TEST_F(ProfileToolTest, InitCreatesAFolderThatShowsAndChecksClean) {
  const ToolRun init = RunTool("init " + Quoted(Data()));
  ASSERT_EQ(init.status, 0) << init.output;
  EXPECT_TRUE(std::filesystem::exists(Data() + "/config.ini"));
  EXPECT_TRUE(std::filesystem::exists(Data() + "/Profiles/Profile 4.ini"));

  const ToolRun show = RunTool("show " + Quoted(Data()));
  EXPECT_EQ(show.status, 0) << show.output;
  EXPECT_NE(show.output.find("Slot 3: \"Profile 4\""), std::string::npos) << show.output;
  EXPECT_NE(show.output.find("Keyboard sleep (Sleep): 4 (sleep off)"), std::string::npos);

  const ToolRun check = RunTool("check " + Quoted(Data()));
  EXPECT_EQ(check.status, 0) << check.output;
  EXPECT_NE(check.output.find("Nothing to repair."), std::string::npos);
}

TEST_F(ProfileToolTest, CheckSaysWhatItWouldRepairAndChangesNothing) {
  ASSERT_EQ(RunTool("init " + Quoted(Data())).status, 0);
  const std::string profile = Data() + "/Profiles/Profile 2.ini";
  WriteBytes(profile, Utf16Le(u"[GROUP]\r\nCurrentProfileName=Profile 2\r\nRepotRate=7\r\n"
                              u"PERFORMANCE_INFO=0300000100\r\nOdd=1\r\n"));
  const std::string before = ReadBytes(profile);
  const ToolRun check = RunTool("check " + Quoted(Data()));
  EXPECT_EQ(check.status, 1) << check.output;
  for (const char* expected : {"RepotRate 7 is out of range: it is used as 3.",
                               "PERFORMANCE_INFO has 10 digits where 12 are expected",
                               "unknown key Odd is kept but not read", "2 repairs."})
    EXPECT_NE(check.output.find(expected), std::string::npos) << expected << "\n" << check.output;
  EXPECT_EQ(ReadBytes(profile), before);

  const ToolRun single = RunTool("check --slot 1 " + Quoted(profile));
  EXPECT_EQ(single.status, 1) << single.output;
}

TEST_F(ProfileToolTest, ShowsAssignedKeysInPlainWords) {
  ASSERT_EQ(RunTool("init " + Quoted(Data())).status, 0);
  // Key 1 ("1") starts a program: kind 2, code 384, the path at byte 8.
  std::string record(1392, '\0');
  record[0] = 2;
  record[4] = static_cast<char>(0x80);
  record[5] = 1;
  const std::u16string path = u"/usr/bin/editor";
  for (std::size_t i = 0; i < path.size(); ++i) record[8 + i * 2] = static_cast<char>(path[i]);
  std::u16string text;
  unsigned sum = 0;
  for (unsigned char byte : record) {
    const char digits[] = "0123456789ABCDEF";
    text += digits[byte >> 4];
    text += digits[byte & 15];
    sum += byte;
  }
  text += u"0123456789ABCDEF"[(sum >> 4) & 15];
  text += u"0123456789ABCDEF"[sum & 15];
  const std::string file = Data() + "/Profiles/Profile 1.ini";
  WriteBytes(
      file, Utf16Le(u"[GROUP]\r\nCurrentProfileName=Profile 1\r\nBUTTON_INFO_1=" + text + u"\r\n"));
  const ToolRun show = RunTool("show " + Quoted(file));
  EXPECT_EQ(show.status, 0) << show.output;
  EXPECT_NE(show.output.find("Standard layer: 1 key changed"), std::string::npos) << show.output;
  EXPECT_NE(show.output.find("\"/usr/bin/editor\""), std::string::npos) << show.output;
}

TEST_F(ProfileToolTest, UsageErrorsAreClear) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "no command given"},
      {"frob x", "unknown command \"frob\""},
      {"show", "a command takes exactly one path"},
      {"show /nonexistent/pv37", "does not exist"},
      {"check --slot 7 x", "--slot takes a mode slot from 0 to 3"},
      {"show --bogus x", "unknown option \"--bogus\""},
  };
  for (const auto& [arguments, message] : cases) {
    const ToolRun run = RunTool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.output.find(message), std::string::npos) << arguments << "\n" << run.output;
  }
  const ToolRun help = RunTool("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("Usage: pv37-profile"), std::string::npos);
}

}  // namespace
