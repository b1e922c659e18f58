#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/hid/RemoteVirtualBackend.h"
#include "platform/hid/VirtualKeyboard.h"
#include "platform/hid/VirtualKeyboardControl.h"
#include "platform/hid/VirtualKeyboardServer.h"
#include "tests/hid/WaitingListener.h"

namespace tarnwick {
namespace {

class RemoteVirtualKeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/pv37-vk-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    m_folder = folder;
    path = m_folder + "/virtual-keyboard";
    keyboard.Plug();
    std::string error;
    ASSERT_TRUE(server.Listen(path, error)) << error;
    m_serverThread = std::thread([this] { server.Run(); });
  }
  void TearDown() override {
    server.Stop();
    if (m_serverThread.joinable()) m_serverThread.join();
    std::filesystem::remove_all(m_folder);
  }
  std::string Command(const std::string& line, bool expectOk = true) {
    const ControlAnswer answer = SendVirtualKeyboardCommand(path, line);
    EXPECT_TRUE(answer.reached);
    EXPECT_EQ(answer.ok, expectOk) << line << ": " << answer.text;
    return answer.text;
  }

  std::string path;
  VirtualKeyboard keyboard;
  VirtualKeyboardServer server{keyboard};
  WaitingListener listener;

 private:
  std::string m_folder;
  std::thread m_serverThread;
};

TEST_F(RemoteVirtualKeyboardTest, BackendSeesInterfacesInputsAndUnplug) {
  auto backend = RemoteVirtualBackend::Connect(path);
  ASSERT_TRUE(backend);
  ASSERT_TRUE(backend->Start(listener));
  EXPECT_EQ(listener.WaitFor(4),
            (std::vector<std::string>{"opened 1", "opened 2", "opened 3", "opened 4"}));

  const std::uint8_t refresh[8] = {0x0A, 0x03, 0x01};
  EXPECT_EQ(backend->Write(1, refresh), WriteResult::kWritten);
  EXPECT_EQ(keyboard.State().refreshCount, 1u);
  EXPECT_EQ(keyboard.Log().size(), 1u);

  Command("effect 5");
  Command("unplug");
  const auto events = listener.WaitFor(9);
  EXPECT_EQ(events[4], "input 4: 4 225 8 5 0 0 0 0 0");
  EXPECT_EQ(events[5], "closed 1");
  EXPECT_EQ(events[8], "closed 4");
  EXPECT_EQ(backend->Write(1, refresh), WriteResult::kDeviceGone);
  backend->Stop();
}

TEST_F(RemoteVirtualKeyboardTest, ProgramGoingAwayIsAnUnplug) {
  auto backend = RemoteVirtualBackend::Connect(path);
  ASSERT_TRUE(backend);
  ASSERT_TRUE(backend->Start(listener));
  listener.WaitFor(4);
  Command("quit");
  const auto events = listener.WaitFor(8);
  EXPECT_EQ(std::vector<std::string>(events.begin() + 4, events.end()),
            (std::vector<std::string>{"closed 1", "closed 2", "closed 3", "closed 4"}));
  const std::uint8_t refresh[8] = {0x0A, 0x03, 0x01};
  EXPECT_EQ(backend->Write(1, refresh), WriteResult::kDeviceGone);
  backend->Stop();
}

TEST_F(RemoteVirtualKeyboardTest, CommandLineDrivesTheKeyboard) {
  struct Case {
    const char* line;
    bool ok;
    const char* answerContains;
  } cases[] = {
      {"state", true, "plugged: yes"},
      {"press 15", true, "sent"},
      {"press 120", false, "cannot do"},
      {"effect 11", false, "cannot do"},
      {"brightness x", false, "cannot do"},
      {"report 08 0f 01 2a", true, "sent"},
      {"report 08 zz", false, "not a hexadecimal byte"},
      {"clear-log", true, "log cleared"},
      {"unplug", true, "unplugged"},
      {"press 15", false, "unplugged"},
      {"plug", true, "plugged"},
      {"", false, "commands:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_NE(Command(c.line, c.ok).find(c.answerContains), std::string::npos);
  }
  EXPECT_FALSE(SendVirtualKeyboardCommand(path + "-missing", "state").reached);
}

TEST_F(RemoteVirtualKeyboardTest, SecondServerOnTheSameSocketIsRefused) {
  VirtualKeyboard other;
  VirtualKeyboardServer second(other);
  std::string error;
  EXPECT_FALSE(second.Listen(path, error));
  EXPECT_NE(error.find("already running"), std::string::npos);
}

}  // namespace
}  // namespace tarnwick
