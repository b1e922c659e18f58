#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwick {

struct DeviceFilterEntry {
  std::uint32_t usage;
  std::uint32_t usagePage;
};
static_assert(sizeof(DeviceFilterEntry) == 8);

inline constexpr std::size_t kMaxFilterEntries = 10;

// Which interfaces the library looks for. The all-zero filter removes any filter.
struct DeviceFilter {
  std::uint32_t vendorId;
  std::uint32_t productId;
  std::uint32_t entryCount;  // entries beyond this count are zero
  DeviceFilterEntry entries[kMaxFilterEntries];
};
static_assert(sizeof(DeviceFilter) == 92);
static_assert(offsetof(DeviceFilter, vendorId) == 0);
static_assert(offsetof(DeviceFilter, productId) == 4);
static_assert(offsetof(DeviceFilter, entryCount) == 8);
static_assert(offsetof(DeviceFilter, entries) == 12);

struct HidInterfaceInfo;

// True when the filter is all zero or names the interface's vendor, product and usage pair.
// An entry count above ten is treated as ten, so a damaged filter never reads past its entries.
bool FilterAccepts(const DeviceFilter& filter, const HidInterfaceInfo& info);

}  // namespace tarnwick
