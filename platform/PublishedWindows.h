#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A titled window as a process publishes it for others to find.
struct PublishedWindow {
  std::uint64_t handle = 0;
  std::uint64_t parent = 0;  // 0 for a top-level window
  std::u16string title;
};

// The table file: a header, then per window a record followed by its title in UTF-16LE.
struct PublishedTableHeader {
  std::uint32_t magic;
  std::uint32_t count;
};
static_assert(sizeof(PublishedTableHeader) == 8);

struct PublishedWindowRecord {
  std::uint64_t handle;
  std::uint64_t parent;
  std::uint32_t titleUnits;
  std::uint32_t reserved;
};
static_assert(sizeof(PublishedWindowRecord) == 24);
static_assert(offsetof(PublishedWindowRecord, titleUnits) == 16);

inline constexpr std::uint32_t kPublishedTableMagic = 0x57563731;

std::string EncodePublishedWindows(const std::vector<PublishedWindow>& windows);
// Nullopt when the bytes are not a complete table.
std::optional<std::vector<PublishedWindow>> ParsePublishedWindows(std::string_view bytes);

}  // namespace platform
