#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tarnwick {

enum class DescriptorStatus {
  kOk,
  kTruncated,                // an item runs past the end
  kNoApplicationCollection,  // no top-level application collection
};

struct ReportDescriptorResult {
  DescriptorStatus status = DescriptorStatus::kNoApplicationCollection;
  std::size_t offset = 0;  // where parsing stopped
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
};

// Finds the usage page and usage of the first top-level application collection of a HID
// report descriptor, which is how an interface names what it is. Never throws; any byte
// sequence gives a result.
ReportDescriptorResult ParseReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace tarnwick
