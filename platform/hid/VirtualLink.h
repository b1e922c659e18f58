#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The packets exchanged over the virtual keyboard program's socket (SOCK_SEQPACKET, one
// packet per message). A connection says first whether it is a backend (a program using the
// library) or a control client (the program's own command line).
namespace tarnwick {

struct HidInterfaceInfo;

enum class LinkType : std::uint8_t {
  kHelloBackend = 1,
  kHelloControl = 2,
  kOpened = 3,       // program -> backend: interface fields
  kClosed = 4,       // program -> backend: deviceId
  kInput = 5,        // program -> backend: deviceId, report in the payload
  kWrite = 6,        // backend -> program: deviceId, report in the payload
  kWriteResult = 7,  // program -> backend: result
  kCommand = 8,      // control -> program: command line in the payload
  kReply = 9,        // program -> control: part of the answer text
  kReplyEnd = 10,    // program -> control: the answer is complete; result 0 = success
};

struct LinkHeader {
  std::uint8_t type;
  std::uint8_t result;
  std::uint16_t payloadLength;
  std::uint32_t deviceId;
  std::uint16_t vendorId;
  std::uint16_t productId;
  std::uint16_t usagePage;
  std::uint16_t usage;
  std::uint16_t firmwareVersion;
  std::uint16_t reserved;
};
static_assert(sizeof(LinkHeader) == 20);
static_assert(offsetof(LinkHeader, payloadLength) == 2);
static_assert(offsetof(LinkHeader, deviceId) == 4);
static_assert(offsetof(LinkHeader, firmwareVersion) == 16);

inline constexpr std::size_t kMaxLinkPayload = 8192;
inline constexpr std::size_t kMaxLinkPacket = sizeof(LinkHeader) + kMaxLinkPayload;

// Sends one packet (header with its payload length filled in, then the payload); false when
// the peer is gone.
bool SendLinkPacket(int socket, const LinkHeader& header, std::span<const std::uint8_t> payload);

// Receives one packet into `packet` (resized to fit); the header is copied out and the payload
// is what follows it, cut to the length the header states. False when the peer is gone or the
// packet is too short to hold a header.
bool ReceiveLinkPacket(int socket, std::vector<std::uint8_t>& packet, LinkHeader& header,
                       std::span<const std::uint8_t>& payload);

// Connects to the virtual keyboard program's socket and says which kind of client this is;
// -1 when nobody answers at the path.
int ConnectToVirtualKeyboard(const std::string& socketPath, LinkType hello);

// The announcement of one interface of the keyboard.
LinkHeader OpenedPacket(const HidInterfaceInfo& info);

// The socket's path in the user's runtime folder; empty when that folder is not usable.
std::string VirtualKeyboardSocketPath();

}  // namespace tarnwick
