#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform {

// One posted message as it travels between processes: exactly one datagram.
struct WireMessage {
  std::uint32_t magic;
  std::uint32_t message;
  std::uint64_t window;
  std::uint64_t wParam;
  std::int64_t lParam;
};
static_assert(sizeof(WireMessage) == 32);
static_assert(offsetof(WireMessage, message) == 4);
static_assert(offsetof(WireMessage, window) == 8);
static_assert(offsetof(WireMessage, wParam) == 16);
static_assert(offsetof(WireMessage, lParam) == 24);

inline constexpr std::uint32_t kWireMagic = 0x50563731;  // format 1

WireMessage EncodeWireMessage(std::uint64_t window, std::uint32_t message, std::uint64_t wParam,
                              std::int64_t lParam);
// Nullopt unless `data` is exactly one record of the current format.
std::optional<WireMessage> DecodeWireMessage(const void* data, std::size_t size);

}  // namespace platform
