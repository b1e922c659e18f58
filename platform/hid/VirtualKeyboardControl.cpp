#include "platform/hid/VirtualKeyboardControl.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/hid/VirtualLink.h"

namespace tarnwick {

ControlAnswer SendVirtualKeyboardCommand(const std::string& socketPath, const std::string& commandLine) {
  ControlAnswer answer;
  sockaddr_un address{};
  if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path) return answer;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0) return answer;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return answer;
  }
  answer.reached = true;
  LinkHeader hello{};
  hello.type = static_cast<std::uint8_t>(LinkType::kHelloControl);
  LinkHeader command{};
  command.type = static_cast<std::uint8_t>(LinkType::kCommand);
  const std::string line = commandLine.substr(0, kMaxLinkPayload);
  if (SendLinkPacket(fd, hello, {}) &&
      SendLinkPacket(fd, command, std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()))) {
    std::vector<std::uint8_t> packet;
    LinkHeader header;
    std::span<const std::uint8_t> payload;
    while (ReceiveLinkPacket(fd, packet, header, payload)) {
      if (header.type == static_cast<std::uint8_t>(LinkType::kReply)) {
        answer.text.append(payload.begin(), payload.end());
      } else if (header.type == static_cast<std::uint8_t>(LinkType::kReplyEnd)) {
        answer.ok = header.result == 0;
        break;
      }
    }
  }
  close(fd);
  return answer;
}

}  // namespace tarnwick
