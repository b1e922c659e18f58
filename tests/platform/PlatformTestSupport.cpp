#include "PlatformTestSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "platform/Clock.h"
#include "platform/MessageIds.h"

extern char** environ;

namespace platform::test {

namespace {

class WatchdogWindow : public Window {
 public:
  ~WatchdogWindow() override { Destroy(); }
  LParam WindowProc(std::uint32_t message, WParam wParam, LParam lParam) override {
    if (message == WM_TIMER) fired = true;
    return Window::WindowProc(message, wParam, lParam);
  }
  bool fired = false;
};

}  // namespace

void RuntimeFolderTest::SetUp() {
  char pattern[] = "/tmp/pv37-platform-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  m_root = pattern;
  if (const char* previous = std::getenv("XDG_RUNTIME_DIR")) m_previous = previous;
  setenv("XDG_RUNTIME_DIR", m_root.c_str(), 1);
}

void RuntimeFolderTest::TearDown() {
  if (m_previous) {
    setenv("XDG_RUNTIME_DIR", m_previous->c_str(), 1);
  } else {
    unsetenv("XDG_RUNTIME_DIR");
  }
  std::error_code ignored;
  std::filesystem::remove_all(m_root, ignored);
}

void PrintTo(const Received& received, std::ostream* out) {
  *out << "{window " << std::hex << received.window << std::dec << ", message " << received.message
       << ", " << received.wParam << ", " << received.lParam << "}";
}

LParam RecordingWindow::WindowProc(std::uint32_t message, WParam wParam, LParam lParam) {
  const Received entry{Handle(), message, wParam, lParam};
  received.push_back(entry);
  if (m_sharedLog != nullptr) m_sharedLog->push_back(entry);
  if (onMessage) return onMessage(message, wParam, lParam);
  return Window::WindowProc(message, wParam, lParam);
}

std::vector<Received> RecordingWindow::UserMessages() const {
  std::vector<Received> user;
  for (const Received& entry : received) {
    if (entry.message >= WM_USER) user.push_back(entry);
  }
  return user;
}

bool PumpUntil(const std::function<bool()>& done, std::uint32_t watchdogMs) {
  WatchdogWindow watchdog;
  if (!watchdog.Create(u"", Rect{}) || !StartTimer(watchdog.Handle(), 1, watchdogMs)) return false;
  while (!done()) {
    if (watchdog.fired) return false;
    Message message{};
    if (!NextMessage(message)) return false;
    Dispatch(message);
  }
  return true;
}

std::string PeerPath() { return std::string(PV37_STAGE_DIR) + "/pv37-platform-peer"; }

PeerProcess::PeerProcess(const std::vector<std::string>& arguments) {
  int input[2], output[2];
  if (pipe2(input, O_CLOEXEC) != 0) return;
  if (pipe2(output, O_CLOEXEC) != 0) {
    close(input[0]);
    close(input[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  std::string path = PeerPath();
  std::vector<char*> argv{path.data()};
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  if (posix_spawn(&m_pid, path.c_str(), &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(input[0]);
  close(output[1]);
  m_input = input[1];
  m_output = output[0];
}

PeerProcess::~PeerProcess() {
  Kill();
  if (m_input >= 0) close(m_input);
  if (m_output >= 0) close(m_output);
}

std::optional<std::string> PeerProcess::ReadLine(int timeoutMs) {
  const std::uint64_t deadline = MonotonicMs() + static_cast<std::uint64_t>(timeoutMs);
  for (;;) {
    const std::size_t end = m_buffer.find('\n');
    if (end != std::string::npos) {
      std::string line = m_buffer.substr(0, end);
      m_buffer.erase(0, end + 1);
      return line;
    }
    const std::uint64_t now = MonotonicMs();
    if (m_output < 0 || now >= deadline) return std::nullopt;
    pollfd entry{m_output, POLLIN, 0};
    if (poll(&entry, 1, static_cast<int>(deadline - now)) <= 0) continue;
    char chunk[512];
    const ssize_t n = read(m_output, chunk, sizeof chunk);
    if (n <= 0) return std::nullopt;
    m_buffer.append(chunk, static_cast<std::size_t>(n));
  }
}

void PeerProcess::CloseInput() {
  if (m_input >= 0) close(m_input);
  m_input = -1;
}

void PeerProcess::Kill() {
  if (m_pid <= 0) return;
  kill(m_pid, SIGKILL);
  waitpid(m_pid, nullptr, 0);
  m_pid = -1;
}

int PeerProcess::Wait(int timeoutMs) {
  if (m_pid <= 0) return -1;
  // The peer's exit closes its output, so the end of the output is what we wait for.
  const std::uint64_t deadline = MonotonicMs() + static_cast<std::uint64_t>(timeoutMs);
  while (m_output >= 0) {
    const std::uint64_t now = MonotonicMs();
    if (now >= deadline) return -1;
    pollfd entry{m_output, POLLIN, 0};
    if (poll(&entry, 1, static_cast<int>(deadline - now)) <= 0) continue;
    char chunk[512];
    const ssize_t n = read(m_output, chunk, sizeof chunk);
    if (n > 0) {
      m_buffer.append(chunk, static_cast<std::size_t>(n));
    } else {
      close(m_output);
      m_output = -1;
    }
  }
  int status = 0;
  waitpid(m_pid, &status, 0);
  m_pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace platform::test
