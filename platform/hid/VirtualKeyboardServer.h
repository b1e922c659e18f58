#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/hid/HidBackend.h"
#include "platform/hid/VirtualKeyboard.h"
#include "platform/hid/VirtualLink.h"

namespace tarnwick {

// Serves a virtual keyboard over a socket: backends (programs using the library) see its
// interfaces and input reports and write to it; control clients run commands on it
// (see Execute). Everything runs on the thread that calls Run.
class VirtualKeyboardServer : private HidBackendListener {
 public:
  explicit VirtualKeyboardServer(VirtualKeyboard& keyboard);
  ~VirtualKeyboardServer() override;

  // Binds the socket; a socket file left by a program that is gone is replaced. False, with
  // the reason in `error`, when the socket cannot be made or another server answers on it.
  bool Listen(const std::string& path, std::string& error);
  // Serves until Stop or a "quit" command.
  void Run();
  // Safe from any thread and from a signal handler.
  void Stop();

  // What Execute understands, for the command line's help.
  static const char* CommandHelp();

  // Runs one command line on the keyboard and returns the answer text; `ok` false for an
  // unknown command or bad arguments.
  std::string Execute(const std::string& commandLine, bool& ok);

 private:
  struct Client {
    int fd;
    bool backend;
  };

  bool Wants(const HidInterfaceInfo& info) override;
  void InterfaceOpened(const HidInterfaceInfo& info) override;
  void InterfaceClosed(std::uint32_t deviceId) override;
  void InputReport(std::uint32_t deviceId, std::span<const std::uint8_t> report) override;

  void SendToBackends(const LinkHeader& header, std::span<const std::uint8_t> payload);
  void ServeUntilStopped();
  bool Serve(Client& client);  // false when the client is gone
  void Reply(int fd, const std::string& text, bool ok);

  VirtualKeyboard& m_keyboard;
  std::string m_path;
  int m_listenFd = -1;
  int m_wakeFd = -1;
  bool m_quit = false;
  std::mutex m_clientsMutex;  // sends from other threads' keyboard events
  std::vector<Client> m_clients;
};

}  // namespace tarnwick
