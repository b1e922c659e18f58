#include "platform/hid/VirtualKeyboardServer.h"

#include <errno.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/hid/VirtualLink.h"

namespace tarnwick {
namespace {

constexpr int kListenBacklog = 8;

const char kCommandHelp[] =
    "  plug | unplug\n"
    "  press <position> | down <position> | up <position>   (position = row * 14 + column)\n"
    "  profile <slot> | effect <0..10> | colormode <0..1> | brightness <0..4>\n"
    "  report <byte> ...   (an input report, hexadecimal bytes)\n"
    "  state | log | clear-log | quit\n";

bool ParseNumber(const std::string& text, int base, unsigned long max, std::uint8_t& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long parsed = std::strtoul(text.c_str(), &end, base);
  if (*end != '\0' || errno != 0 || parsed > max || text[0] == '-') return false;
  value = static_cast<std::uint8_t>(parsed);
  return true;
}

bool MakeAddress(const std::string& path, sockaddr_un& address) {
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  address = {};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

}  // namespace

const char* VirtualKeyboardServer::CommandHelp() { return kCommandHelp; }

VirtualKeyboardServer::VirtualKeyboardServer(VirtualKeyboard& keyboard)
    : m_keyboard(keyboard), m_wakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  m_keyboard.Attach(this);
}

VirtualKeyboardServer::~VirtualKeyboardServer() {
  m_keyboard.Attach(nullptr);
  for (const Client& client : m_clients) close(client.fd);
  if (m_listenFd >= 0) {
    close(m_listenFd);
    unlink(m_path.c_str());
  }
  if (m_wakeFd >= 0) close(m_wakeFd);
}

bool VirtualKeyboardServer::Listen(const std::string& path, std::string& error) {
  sockaddr_un address;
  if (!MakeAddress(path, address)) {
    error = "no usable socket path";
    return false;
  }
  m_listenFd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (m_listenFd < 0) {
    error = std::strerror(errno);
    return false;
  }
  if (bind(m_listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (errno != EADDRINUSE) {
      error = std::strerror(errno);
      return false;
    }
    // Somebody's socket file: replace it only when nobody answers on it any more.
    const int probe = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    const bool answered =
        connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    if (answered) {
      error = "another virtual keyboard is already running at " + path;
      return false;
    }
    unlink(path.c_str());
    if (bind(m_listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      error = std::strerror(errno);
      return false;
    }
  }
  if (listen(m_listenFd, kListenBacklog) != 0) {
    error = std::strerror(errno);
    return false;
  }
  m_path = path;
  return true;
}

void VirtualKeyboardServer::Stop() {
  const std::uint64_t one = 1;
  (void)!write(m_wakeFd, &one, sizeof one);
}

void VirtualKeyboardServer::Run() {
  ServeUntilStopped();
  // Connected programs must see the keyboard go with the server.
  std::lock_guard lock(m_clientsMutex);
  for (const Client& client : m_clients) close(client.fd);
  m_clients.clear();
}

void VirtualKeyboardServer::ServeUntilStopped() {
  std::vector<pollfd> fds;
  while (!m_quit) {
    fds.clear();
    fds.push_back({m_wakeFd, POLLIN, 0});
    fds.push_back({m_listenFd, POLLIN, 0});
    {
      std::lock_guard lock(m_clientsMutex);
      for (const Client& client : m_clients) fds.push_back({client.fd, POLLIN, 0});
    }
    if (poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents) return;
    for (std::size_t i = 2; i < fds.size(); ++i) {
      if (!fds[i].revents) continue;
      Client client;
      {
        std::lock_guard lock(m_clientsMutex);
        auto found = std::find_if(m_clients.begin(), m_clients.end(),
                                  [&](const Client& c) { return c.fd == fds[i].fd; });
        if (found == m_clients.end()) continue;
        client = *found;
      }
      const bool stays = Serve(client);
      std::lock_guard lock(m_clientsMutex);
      auto found = std::find_if(m_clients.begin(), m_clients.end(),
                                [&](const Client& c) { return c.fd == client.fd; });
      if (found == m_clients.end()) continue;
      if (stays) {
        *found = client;
      } else {
        close(found->fd);
        m_clients.erase(found);
      }
    }
    if (fds[1].revents & POLLIN) {
      const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) {
        std::lock_guard lock(m_clientsMutex);
        m_clients.push_back({fd, false});
      }
    }
  }
}

bool VirtualKeyboardServer::Serve(Client& client) {
  std::vector<std::uint8_t> packet;
  LinkHeader header;
  std::span<const std::uint8_t> payload;
  if (!ReceiveLinkPacket(client.fd, packet, header, payload)) return false;
  switch (static_cast<LinkType>(header.type)) {
    case LinkType::kHelloBackend:
      client.backend = true;
      if (m_keyboard.IsPlugged()) {
        for (const HidInterfaceInfo& info : VirtualKeyboard::Interfaces()) {
          SendLinkPacket(client.fd, OpenedPacket(info), {});
        }
      }
      return true;
    case LinkType::kHelloControl:
      return true;
    case LinkType::kWrite: {
      LinkHeader answer{};
      answer.type = static_cast<std::uint8_t>(LinkType::kWriteResult);
      answer.deviceId = header.deviceId;
      answer.result = static_cast<std::uint8_t>(m_keyboard.Receive(header.deviceId, payload));
      return SendLinkPacket(client.fd, answer, {});
    }
    case LinkType::kCommand: {
      bool ok = false;
      const std::string text = Execute(std::string(payload.begin(), payload.end()), ok);
      Reply(client.fd, text, ok);
      return true;
    }
    default:
      return true;
  }
}

void VirtualKeyboardServer::Reply(int fd, const std::string& text, bool ok) {
  LinkHeader part{};
  part.type = static_cast<std::uint8_t>(LinkType::kReply);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  for (std::size_t offset = 0; offset < text.size(); offset += kMaxLinkPayload) {
    const std::size_t length = std::min(kMaxLinkPayload, text.size() - offset);
    if (!SendLinkPacket(fd, part, std::span(bytes + offset, length))) return;
  }
  LinkHeader end{};
  end.type = static_cast<std::uint8_t>(LinkType::kReplyEnd);
  end.result = ok ? 0 : 1;
  SendLinkPacket(fd, end, {});
}

std::string VirtualKeyboardServer::Execute(const std::string& commandLine, bool& ok) {
  std::istringstream words(commandLine);
  std::vector<std::string> args;
  for (std::string word; words >> word;) args.push_back(word);
  ok = true;
  const std::string command = args.empty() ? std::string() : args[0];
  std::uint8_t value = 0;
  const bool oneNumber = args.size() == 2;

  if (command == "plug" && args.size() == 1) {
    m_keyboard.Plug();
    return "plugged\n";
  }
  if (command == "unplug" && args.size() == 1) {
    m_keyboard.Unplug();
    return "unplugged\n";
  }
  if ((command == "press" || command == "down" || command == "up") && oneNumber &&
      ParseNumber(args[1], 10, 119, value)) {
    bool sent = true;
    if (command != "up") sent = m_keyboard.PressKey(value, true);
    if (command != "down") sent = m_keyboard.PressKey(value, false) && sent;
    if (!sent) {
      ok = false;
      return "the keyboard is unplugged\n";
    }
    return "sent\n";
  }
  struct LightingCommand {
    const char* name;
    unsigned long max;
    bool (VirtualKeyboard::*send)(std::uint8_t);
  };
  const LightingCommand lightingCommands[] = {
      {"profile", 255, &VirtualKeyboard::SwitchProfile},
      {"effect", 10, &VirtualKeyboard::ChangeEffect},
      {"colormode", 1, &VirtualKeyboard::ChangeColorMode},
      {"brightness", 4, &VirtualKeyboard::ChangeBrightness},
  };
  for (const LightingCommand& lighting : lightingCommands) {
    if (command != lighting.name || !oneNumber) continue;
    if (!ParseNumber(args[1], 10, lighting.max, value)) break;
    if ((m_keyboard.*lighting.send)(value)) return "sent\n";
    ok = false;
    return "the keyboard is unplugged\n";
  }
  if (command == "report" && args.size() > 1) {
    std::vector<std::uint8_t> report;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (!ParseNumber(args[i], 16, 255, value)) {
        ok = false;
        return "not a hexadecimal byte: " + args[i] + "\n";
      }
      report.push_back(value);
    }
    if (m_keyboard.SendInputReport(report)) return "sent\n";
    ok = false;
    return "the keyboard is unplugged\n";
  }
  if (command == "state" && args.size() == 1) return DescribeState(m_keyboard.State());
  if (command == "log" && args.size() == 1) return DescribeLog(m_keyboard.Log());
  if (command == "clear-log" && args.size() == 1) {
    m_keyboard.ClearLog();
    return "log cleared\n";
  }
  if (command == "quit" && args.size() == 1) {
    m_quit = true;
    return "stopping\n";
  }
  ok = false;
  return std::string("cannot do '") + commandLine + "'; commands:\n" + kCommandHelp;
}

bool VirtualKeyboardServer::Wants(const HidInterfaceInfo&) { return true; }

void VirtualKeyboardServer::SendToBackends(const LinkHeader& header,
                                           std::span<const std::uint8_t> payload) {
  std::lock_guard lock(m_clientsMutex);
  for (const Client& client : m_clients) {
    if (client.backend) SendLinkPacket(client.fd, header, payload);
  }
}

void VirtualKeyboardServer::InterfaceOpened(const HidInterfaceInfo& info) {
  SendToBackends(OpenedPacket(info), {});
}

void VirtualKeyboardServer::InterfaceClosed(std::uint32_t deviceId) {
  LinkHeader header{};
  header.type = static_cast<std::uint8_t>(LinkType::kClosed);
  header.deviceId = deviceId;
  SendToBackends(header, {});
}

void VirtualKeyboardServer::InputReport(std::uint32_t deviceId,
                                        std::span<const std::uint8_t> report) {
  LinkHeader header{};
  header.type = static_cast<std::uint8_t>(LinkType::kInput);
  header.deviceId = deviceId;
  SendToBackends(header, report);
}

}  // namespace tarnwick
