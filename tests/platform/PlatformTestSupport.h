#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace platform::test {

// Every test gets its own runtime folder through XDG_RUNTIME_DIR.
class RuntimeFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  const std::string& TempRoot() const { return m_root; }

 private:
  std::string m_root;
  std::optional<std::string> m_previous;
};

struct Received {
  WindowHandle window;
  std::uint32_t message;
  WParam wParam;
  LParam lParam;
  bool operator==(const Received&) const = default;
};
void PrintTo(const Received& received, std::ostream* out);

// Records every message it is given, into its own list and an optional shared one.
class RecordingWindow : public Window {
 public:
  explicit RecordingWindow(std::vector<Received>* sharedLog = nullptr) : m_sharedLog(sharedLog) {}
  ~RecordingWindow() override { Destroy(); }
  LParam WindowProc(std::uint32_t message, WParam wParam, LParam lParam) override;
  // Messages from WM_USER up, the ones tests post.
  std::vector<Received> UserMessages() const;
  std::function<LParam(std::uint32_t, WParam, LParam)> onMessage;  // runs before recording
  std::vector<Received> received;

 private:
  std::vector<Received>* m_sharedLog;
};

// Runs the calling thread's loop until `done` holds; false when the watchdog fired first
// or the loop was asked to quit.
bool PumpUntil(const std::function<bool()>& done, std::uint32_t watchdogMs = 10000);

// The helper program pv37-platform-peer, killed when the object goes.
class PeerProcess {
 public:
  explicit PeerProcess(const std::vector<std::string>& arguments);
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  bool Started() const { return m_pid > 0; }
  pid_t Pid() const { return m_pid; }
  // The next line of its output without the line break; nullopt after `timeoutMs` or at EOF.
  std::optional<std::string> ReadLine(int timeoutMs = 10000);
  // Closes its stdin, which ends a peer that holds a mutex.
  void CloseInput();
  void Kill();
  // Exit status after it ended on its own; -1 after the timeout.
  int Wait(int timeoutMs = 10000);

 private:
  pid_t m_pid = -1;
  int m_input = -1;
  int m_output = -1;
  std::string m_buffer;
};

std::string PeerPath();

}  // namespace platform::test
