#include "platform/hid/VirtualLink.h"

#include <errno.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/RuntimeFolder.h"
#include "platform/hid/HidBackend.h"

namespace tarnwick {

bool SendLinkPacket(int socket, const LinkHeader& header, std::span<const std::uint8_t> payload) {
  if (payload.size() > kMaxLinkPayload) return false;
  std::vector<std::uint8_t> packet(sizeof header + payload.size());
  LinkHeader sized = header;
  sized.payloadLength = static_cast<std::uint16_t>(payload.size());
  std::memcpy(packet.data(), &sized, sizeof sized);
  if (!payload.empty()) std::memcpy(packet.data() + sizeof sized, payload.data(), payload.size());
  return send(socket, packet.data(), packet.size(), MSG_NOSIGNAL) ==
         static_cast<ssize_t>(packet.size());
}

bool ReceiveLinkPacket(int socket, std::vector<std::uint8_t>& packet, LinkHeader& header,
                       std::span<const std::uint8_t>& payload) {
  packet.resize(kMaxLinkPacket);
  ssize_t n;
  do {
    n = recv(socket, packet.data(), packet.size(), 0);
  } while (n < 0 && errno == EINTR);
  if (n < static_cast<ssize_t>(sizeof header)) return false;
  std::memcpy(&header, packet.data(), sizeof header);
  const std::size_t available = static_cast<std::size_t>(n) - sizeof header;
  payload = std::span<const std::uint8_t>(packet.data() + sizeof header,
                                          std::min<std::size_t>(header.payloadLength, available));
  return true;
}

int ConnectToVirtualKeyboard(const std::string& socketPath, LinkType hello) {
  sockaddr_un address{};
  if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path) return -1;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  LinkHeader header{};
  header.type = static_cast<std::uint8_t>(hello);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      !SendLinkPacket(fd, header, {})) {
    close(fd);
    return -1;
  }
  return fd;
}

LinkHeader OpenedPacket(const HidInterfaceInfo& info) {
  LinkHeader header{};
  header.type = static_cast<std::uint8_t>(LinkType::kOpened);
  header.deviceId = info.deviceId;
  header.vendorId = info.vendorId;
  header.productId = info.productId;
  header.usagePage = info.usagePage;
  header.usage = info.usage;
  header.firmwareVersion = info.firmwareVersion;
  return header;
}

std::string VirtualKeyboardSocketPath() {
  const std::string folder = platform::RuntimeFolder();
  return folder.empty() ? std::string() : folder + "virtual-keyboard";
}

}  // namespace tarnwick
