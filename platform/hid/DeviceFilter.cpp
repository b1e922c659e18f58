#include "platform/hid/DeviceFilter.h"

#include <algorithm>

#include "platform/hid/HidBackend.h"

namespace tarnwick {

bool FilterAccepts(const DeviceFilter& filter, const HidInterfaceInfo& info) {
  const DeviceFilter none{};
  if (std::equal(reinterpret_cast<const unsigned char*>(&filter),
                 reinterpret_cast<const unsigned char*>(&filter) + sizeof filter,
                 reinterpret_cast<const unsigned char*>(&none))) {
    return true;
  }
  if (filter.vendorId != info.vendorId || filter.productId != info.productId) return false;
  const std::uint32_t count = std::min<std::uint32_t>(filter.entryCount, kMaxFilterEntries);
  return std::any_of(filter.entries, filter.entries + count, [&](const DeviceFilterEntry& entry) {
    return entry.usage == info.usage && entry.usagePage == info.usagePage;
  });
}

}  // namespace tarnwick
