#include "platform/hid/ReportDescriptor.h"

#include <array>

namespace tarnwick {
namespace {

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::uint8_t kTypeMain = 0;
constexpr std::uint8_t kTypeGlobal = 1;
constexpr std::uint8_t kTypeLocal = 2;
constexpr std::uint8_t kTagCollection = 0xA;
constexpr std::uint8_t kTagEndCollection = 0xC;
constexpr std::uint8_t kTagUsagePage = 0x0;
constexpr std::uint8_t kTagPush = 0xA;
constexpr std::uint8_t kTagPop = 0xB;
constexpr std::uint8_t kTagUsage = 0x0;
constexpr std::uint32_t kApplicationCollection = 1;
// Deeper global-state nesting than this is ignored rather than stored.
constexpr std::size_t kMaxPushDepth = 16;

}  // namespace

ReportDescriptorResult ParseReportDescriptor(std::span<const std::uint8_t> descriptor) {
  ReportDescriptorResult result;
  std::uint32_t usagePage = 0;
  std::array<std::uint32_t, kMaxPushDepth> pushed{};
  std::size_t pushDepth = 0;
  bool haveUsage = false;
  bool usageHasPage = false;
  std::uint32_t usage = 0;
  std::size_t collectionDepth = 0;

  std::size_t offset = 0;
  while (offset < descriptor.size()) {
    const std::uint8_t prefix = descriptor[offset];
    if (prefix == kLongItemPrefix) {
      if (offset + 3 > descriptor.size() ||
          offset + 3 + descriptor[offset + 1] > descriptor.size()) {
        result.status = DescriptorStatus::kTruncated;
        result.offset = offset;
        return result;
      }
      offset += 3 + descriptor[offset + 1];
      continue;
    }
    const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
    if (offset + 1 + size > descriptor.size()) {
      result.status = DescriptorStatus::kTruncated;
      result.offset = offset;
      return result;
    }
    std::uint32_t data = 0;
    for (std::size_t i = 0; i < size; ++i)
      data |= std::uint32_t{descriptor[offset + 1 + i]} << (8 * i);
    const std::uint8_t type = (prefix >> 2) & 3;
    const std::uint8_t tag = prefix >> 4;

    if (type == kTypeGlobal) {
      if (tag == kTagUsagePage) {
        usagePage = data;
      } else if (tag == kTagPush) {
        if (pushDepth < kMaxPushDepth) pushed[pushDepth++] = usagePage;
      } else if (tag == kTagPop) {
        if (pushDepth > 0) usagePage = pushed[--pushDepth];
      }
    } else if (type == kTypeLocal) {
      // The first usage names the collection that follows.
      if (tag == kTagUsage && !haveUsage) {
        haveUsage = true;
        usageHasPage = size == 4;
        usage = data;
      }
    } else if (type == kTypeMain) {
      if (tag == kTagCollection) {
        if (collectionDepth == 0 && data == kApplicationCollection) {
          // A four-byte usage carries its own page in the high half.
          result.usagePage = static_cast<std::uint16_t>(usageHasPage ? usage >> 16 : usagePage);
          result.usage = static_cast<std::uint16_t>(usage);
          result.status = DescriptorStatus::kOk;
          result.offset = offset;
          return result;
        }
        ++collectionDepth;
      } else if (tag == kTagEndCollection && collectionDepth > 0) {
        --collectionDepth;
      }
      haveUsage = false;
      usageHasPage = false;
      usage = 0;
    }
    offset += 1 + size;
  }
  result.offset = offset;
  return result;
}

}  // namespace tarnwick
