// The other process in the platform's cross-process tests and benchmark. It speaks on
// stdout, one line per event, and is told what to do by its arguments:
//   serve <title>               top-level windows "<title>" and "<title> 2", a child
//                               "<title> Child" of the first; prints
//                               "ready <top> <second> <child> <ORVI_DEV_SYNC number>", then
//                               "<window> <message> <wParam> <lParam>" for every message
//                               from WM_USER up; WM_CLOSE to "<title>" ends it.
//   post <title> <message> <count>   posts count messages (wParam i, lParam -i) to the
//                               top-level window "<title>"; prints "posted" or "missing".
//   broadcast <name> <wParam> <lParam>   posts the registered message to everyone.
//   mutex <name>                prints "held" or "refused"; a holder keeps it until
//                               stdin closes.
//   many <prefix> <count>      top-level windows "<prefix> 0" .. "<prefix> count-1"; prints
//                               "ready" and runs until killed.
//   echo <title> <raw socket>   window "<title>" answers every message by posting it back
//                               to the window in wParam; a thread answers every datagram
//                               on the raw socket the same way, with no window system.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/MessageIds.h"
#include "platform/NamedMutex.h"
#include "platform/Text.h"
#include "platform/Window.h"

namespace {

using namespace platform;

constexpr char16_t kSyncName[] = u"ORVI_DEV_SYNC";

class ReportingWindow : public Window {
 public:
  ReportingWindow(const char* name, bool quitOnDestroy) : m_name(name), m_quit(quitOnDestroy) {}
  ~ReportingWindow() override { Destroy(); }

  LParam WindowProc(std::uint32_t message, WParam wParam, LParam lParam) override {
    if (message >= WM_USER) {
      std::printf("%s %u %llu %lld\n", m_name, message, static_cast<unsigned long long>(wParam),
                  static_cast<long long>(lParam));
      std::fflush(stdout);
    }
    if (message == WM_DESTROY && m_quit) QuitMessageLoop(0);
    return Window::WindowProc(message, wParam, lParam);
  }

 private:
  const char* m_name;
  bool m_quit;
};

class EchoWindow : public Window {
 public:
  ~EchoWindow() override { Destroy(); }
  LParam WindowProc(std::uint32_t message, WParam wParam, LParam lParam) override {
    if (message >= WM_USER)
      PostToWindow(static_cast<WindowHandle>(wParam), message, wParam, lParam);
    if (message == WM_DESTROY) QuitMessageLoop(0);
    return Window::WindowProc(message, wParam, lParam);
  }
};

int Serve(const std::string& title) {
  const std::u16string title16 = Utf8ToUtf16(title);
  ReportingWindow top("top", true), second("second", false), child("child", false);
  const Rect rect{0, 0, 10, 10};
  if (!top.Create(title16, rect) || !second.Create(title16 + u" 2", rect) ||
      !child.Create(title16 + u" Child", rect, top.Handle())) {
    return 1;
  }
  std::printf("ready %llu %llu %llu %u\n", static_cast<unsigned long long>(top.Handle()),
              static_cast<unsigned long long>(second.Handle()),
              static_cast<unsigned long long>(child.Handle()), RegisterMessageName(kSyncName));
  std::fflush(stdout);
  return RunMessageLoop();
}

int Post(const std::string& title, std::uint32_t message, int count) {
  const WindowHandle target = FindTopLevelWindow(Utf8ToUtf16(title));
  if (target == 0) {
    std::puts("missing");
    return 0;
  }
  for (int i = 0; i < count; ++i) PostToWindow(target, message, static_cast<WParam>(i), -i);
  std::puts("posted");
  return 0;
}

int Broadcast(const std::string& name, WParam wParam, LParam lParam) {
  const std::uint32_t message = RegisterMessageName(Utf8ToUtf16(name));
  return message != 0 && PostToWindow(kBroadcast, message, wParam, lParam) ? 0 : 1;
}

int HoldMutex(const std::string& name) {
  NamedMutex mutex(name);
  const bool held = mutex.TryAcquire();
  std::puts(held ? "held" : "refused");
  std::fflush(stdout);
  if (held) {
    char buffer[64];
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
  }
  return 0;
}

int Many(const std::string& prefix, int count) {
  std::vector<std::unique_ptr<ReportingWindow>> windows;
  for (int i = 0; i < count; ++i) {
    windows.push_back(std::make_unique<ReportingWindow>("many", false));
    if (!windows.back()->Create(Utf8ToUtf16(prefix + " " + std::to_string(i)), Rect{})) return 1;
  }
  std::puts("ready");
  std::fflush(stdout);
  return RunMessageLoop();
}

void EchoDatagrams(int fd) {
  char buffer[64];
  for (;;) {
    sockaddr_un from{};
    socklen_t fromSize = sizeof from;
    const ssize_t n =
        recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (n < 0) return;
    sendto(fd, buffer, static_cast<std::size_t>(n), 0, reinterpret_cast<sockaddr*>(&from),
           fromSize);
  }
}

int Echo(const std::string& title, const std::string& rawPath) {
  const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (fd < 0 || rawPath.size() >= sizeof address.sun_path) return 1;
  std::memcpy(address.sun_path, rawPath.c_str(), rawPath.size() + 1);
  unlink(rawPath.c_str());
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 1;
  std::thread(EchoDatagrams, fd).detach();

  EchoWindow window;
  if (!window.Create(Utf8ToUtf16(title), Rect{})) return 1;
  std::puts("ready");
  std::fflush(stdout);
  return RunMessageLoop();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "serve" && argc == 3) return Serve(argv[2]);
  if (command == "post" && argc == 5) {
    return Post(argv[2], static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 0)),
                std::atoi(argv[4]));
  }
  if (command == "broadcast" && argc == 5) {
    return Broadcast(argv[2], std::strtoull(argv[3], nullptr, 0),
                     std::strtoll(argv[4], nullptr, 0));
  }
  if (command == "mutex" && argc == 3) return HoldMutex(argv[2]);
  if (command == "many" && argc == 4) return Many(argv[2], std::atoi(argv[3]));
  if (command == "echo" && argc == 4) return Echo(argv[2], argv[3]);
  std::fprintf(stderr, "usage: pv37-platform-peer serve|post|broadcast|mutex|many|echo ...\n");
  return 2;
}
