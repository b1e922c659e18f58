#include "platform/hid/VirtualKeyboardControl.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/hid/VirtualLink.h"

namespace tarnwick {

ControlAnswer SendVirtualKeyboardCommand(const std::string& socketPath,
                                         const std::string& commandLine) {
  ControlAnswer answer;
  const int fd = ConnectToVirtualKeyboard(socketPath, LinkType::kHelloControl);
  if (fd < 0) return answer;
  answer.reached = true;
  LinkHeader command{};
  command.type = static_cast<std::uint8_t>(LinkType::kCommand);
  const std::string line = commandLine.substr(0, kMaxLinkPayload);
  if (SendLinkPacket(fd, command,
                     std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()))) {
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
