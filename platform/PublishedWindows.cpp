#include "platform/PublishedWindows.h"

#include <cstring>

namespace platform {

std::string EncodePublishedWindows(const std::vector<PublishedWindow>& windows) {
  std::string bytes;
  const PublishedTableHeader header{kPublishedTableMagic,
                                    static_cast<std::uint32_t>(windows.size())};
  bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
  for (const PublishedWindow& window : windows) {
    const PublishedWindowRecord record{window.handle, window.parent,
                                       static_cast<std::uint32_t>(window.title.size()), 0};
    bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    bytes.append(reinterpret_cast<const char*>(window.title.data()),
                 window.title.size() * sizeof(char16_t));
  }
  return bytes;
}

std::optional<std::vector<PublishedWindow>> ParsePublishedWindows(std::string_view bytes) {
  PublishedTableHeader header;
  if (bytes.size() < sizeof header) return std::nullopt;
  std::memcpy(&header, bytes.data(), sizeof header);
  if (header.magic != kPublishedTableMagic) return std::nullopt;
  std::size_t offset = sizeof header;
  // Every entry takes at least one record, so a count the bytes cannot hold is refused
  // before anything is reserved for it.
  if (header.count > (bytes.size() - offset) / sizeof(PublishedWindowRecord)) return std::nullopt;
  std::vector<PublishedWindow> windows;
  windows.reserve(header.count);
  for (std::uint32_t i = 0; i < header.count; ++i) {
    PublishedWindowRecord record;
    if (bytes.size() - offset < sizeof record) return std::nullopt;
    std::memcpy(&record, bytes.data() + offset, sizeof record);
    if (record.reserved != 0) return std::nullopt;
    offset += sizeof record;
    const std::size_t titleBytes = std::size_t{record.titleUnits} * sizeof(char16_t);
    if (bytes.size() - offset < titleBytes) return std::nullopt;
    PublishedWindow window{record.handle, record.parent, std::u16string(record.titleUnits, u'\0')};
    std::memcpy(window.title.data(), bytes.data() + offset, titleBytes);
    offset += titleBytes;
    windows.push_back(std::move(window));
  }
  if (offset != bytes.size()) return std::nullopt;
  return windows;
}

}  // namespace platform
