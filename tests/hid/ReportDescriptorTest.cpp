#include <gtest/gtest.h>

#include <vector>

#include "platform/hid/ReportDescriptor.h"

namespace tarnwick {
namespace {

struct DescriptorCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  DescriptorStatus status;
  std::uint16_t usagePage;
  std::uint16_t usage;
};

TEST(ReportDescriptor, FindsTheFirstApplicationCollection) {
  const DescriptorCase cases[] = {
      {"vendor page, two-byte page item",
       {0x06, 0x01, 0xFF,  // usage page 0xFF01
        0x09, 0x02,        // usage 2
        0xA1, 0x01,        // collection (application)
        0x85, 0x0A, 0x09, 0x02, 0x75, 0x08, 0x95, 0x07, 0x91, 0x02, 0xC0},
       DescriptorStatus::kOk,
       0xFF01,
       2},
      {"boot keyboard",
       {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0xC0},
       DescriptorStatus::kOk,
       0x0001,
       0x0006},
      {"four-byte usage carries its own page",
       {0x05, 0x0C, 0x0B, 0x02, 0x00, 0x01, 0x00, 0xA1, 0x01, 0xC0},
       DescriptorStatus::kOk,
       0x0001,
       0x0002},
      {"first usage names the collection",
       {0x06, 0x04, 0xFF, 0x09, 0x05, 0x09, 0x07, 0xA1, 0x01, 0xC0},
       DescriptorStatus::kOk,
       0xFF04,
       5},
      {"push and pop restore the page",
       {0x05, 0x01, 0xA4, 0x06, 0x00, 0xFF, 0xB4, 0x09, 0x06, 0xA1, 0x01, 0xC0},
       DescriptorStatus::kOk,
       0x0001,
       0x0006},
      {"long item is skipped",
       {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x06, 0x02, 0xFF, 0x09, 0x03, 0xA1, 0x01, 0xC0},
       DescriptorStatus::kOk,
       0xFF02,
       3},
      {"nested application collection is not top level",
       {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x02, 0x09, 0x02, 0xA1, 0x01, 0xC0, 0xC0},
       DescriptorStatus::kNoApplicationCollection,
       0,
       0},
      {"usage before an input item does not name a later collection",
       {0x05, 0x01, 0x09, 0x30, 0x81, 0x02, 0xA1, 0x01, 0xC0},
       DescriptorStatus::kOk,
       0x0001,
       0},
      {"empty", {}, DescriptorStatus::kNoApplicationCollection, 0, 0},
      {"short item cut in its data", {0x06, 0x01}, DescriptorStatus::kTruncated, 0, 0},
      {"four-byte item cut", {0x05, 0x01, 0x0B, 0x02, 0x00}, DescriptorStatus::kTruncated, 0, 0},
      {"long item cut", {0xFE, 0x09, 0x10, 0x00}, DescriptorStatus::kTruncated, 0, 0},
      {"pops without pushes are ignored",
       {0xB4, 0xB4, 0x06, 0x03, 0xFF, 0x09, 0x04, 0xA1, 0x01},
       DescriptorStatus::kOk,
       0xFF03,
       4},
  };
  for (const DescriptorCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ReportDescriptorResult result = ParseReportDescriptor(c.bytes);
    EXPECT_EQ(result.status, c.status);
    EXPECT_LE(result.offset, c.bytes.size());
    if (c.status == DescriptorStatus::kOk) {
      EXPECT_EQ(result.usagePage, c.usagePage);
      EXPECT_EQ(result.usage, c.usage);
    }
  }
}

TEST(ReportDescriptor, DeepPushesStayWithinTheStack) {
  std::vector<std::uint8_t> bytes(200, 0xA4);  // push, far deeper than any real device
  for (std::uint8_t b : {0x06, 0x01, 0xFF, 0x09, 0x02, 0xA1, 0x01}) bytes.push_back(b);
  const ReportDescriptorResult result = ParseReportDescriptor(bytes);
  EXPECT_EQ(result.status, DescriptorStatus::kOk);
  EXPECT_EQ(result.usagePage, 0xFF01);
}

}  // namespace
}  // namespace tarnwick
