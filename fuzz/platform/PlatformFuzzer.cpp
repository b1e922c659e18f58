#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/MessageRegistry.h"
#include "platform/PublishedWindows.h"
#include "platform/WireMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      if (const auto windows = platform::ParsePublishedWindows(bytes)) {
        // What parses must encode back to the same bytes: the format has no slack.
        if (platform::EncodePublishedWindows(*windows) != bytes) __builtin_trap();
      }
      break;
    case 1:
      platform::DecodeWireMessage(bytes.data(), bytes.size());
      break;
    default: {
      std::size_t total = 0;
      for (const std::string_view line : platform::SplitRegisteredNames(bytes)) {
        total += line.size() + 1;
      }
      if (total < bytes.size()) __builtin_trap();
      break;
    }
  }
  return 0;
}
