#include "platform/WireMessage.h"

#include <cstring>

namespace platform {

WireMessage EncodeWireMessage(std::uint64_t window, std::uint32_t message, std::uint64_t wParam,
                              std::int64_t lParam) {
  return WireMessage{kWireMagic, message, window, wParam, lParam};
}

std::optional<WireMessage> DecodeWireMessage(const void* data, std::size_t size) {
  if (data == nullptr || size != sizeof(WireMessage)) return std::nullopt;
  WireMessage record;
  std::memcpy(&record, data, sizeof record);
  if (record.magic != kWireMagic) return std::nullopt;
  return record;
}

}  // namespace platform
