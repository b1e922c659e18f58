#include "platform/hid/VirtualLink.h"

#include <errno.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

#include "platform/RuntimeFolder.h"

namespace tarnwick {

bool SendLinkPacket(int socket, const LinkHeader& header, std::span<const std::uint8_t> payload) {
  if (payload.size() > kMaxLinkPayload) return false;
  std::vector<std::uint8_t> packet(sizeof header + payload.size());
  LinkHeader sized = header;
  sized.payloadLength = static_cast<std::uint16_t>(payload.size());
  std::memcpy(packet.data(), &sized, sizeof sized);
  if (!payload.empty()) std::memcpy(packet.data() + sizeof sized, payload.data(), payload.size());
  return send(socket, packet.data(), packet.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(packet.size());
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

std::string VirtualKeyboardSocketPath() {
  const std::string folder = platform::RuntimeFolder();
  return folder.empty() ? std::string() : folder + "virtual-keyboard";
}

}  // namespace tarnwick
