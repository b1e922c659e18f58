#include <gtest/gtest.h>

#include <string>

#include "platform/hid/DeviceFilter.h"
#include "platform/hid/SysfsHidDevice.h"

namespace tarnwick {
namespace {

const std::string kData = PV37_TEST_DATA_DIR;

DeviceFilter ServiceFilter() {
  return DeviceFilter{0x1EA7, 0x0077, 4, {{2, 0xFF01}, {3, 0xFF02}, {4, 0xFF03}, {5, 0xFF04}}};
}

struct FixtureCase {
  const char* hidDir;
  const char* usbDir;  // "" = not on USB
  bool readable;
  std::uint16_t vendorId, productId, usagePage, usage, firmwareVersion;
  bool matchesServiceFilter;
};

TEST(SysfsHidDevice, ReadsAndMatchesFixtures) {
  const FixtureCase cases[] = {
      {"pv37-command", "usb-pv37", true, 0x1EA7, 0x0077, 0xFF01, 2, 0x0105, true},
      {"pv37-keymap", "usb-pv37", true, 0x1EA7, 0x0077, 0xFF02, 3, 0x0105, true},
      {"pv37-macro", "usb-pv37", true, 0x1EA7, 0x0077, 0xFF03, 4, 0x0105, true},
      {"pv37-events", "usb-pv37", true, 0x1EA7, 0x0077, 0xFF04, 5, 0x0105, true},
      {"pv37-boot-keyboard", "usb-pv37", true, 0x1EA7, 0x0077, 0x0001, 6, 0x0105, false},
      {"other-vendor", "usb-other", true, 0x046D, 0xC31C, 0xFF01, 2, 0x1201, false},
      {"bluetooth-pv37", "", true, 0x1EA7, 0x0077, 0xFF01, 2, 0, true},
      {"broken-uevent", "usb-pv37", false, 0, 0, 0, 0, 0, false},
      {"truncated-descriptor", "usb-pv37", false, 0, 0, 0, 0, 0, false},
      {"no-such-device", "usb-pv37", false, 0, 0, 0, 0, 0, false},
  };
  for (const FixtureCase& c : cases) {
    SCOPED_TRACE(c.hidDir);
    const std::string usb = *c.usbDir ? kData + "/" + c.usbDir : std::string();
    const auto info = ReadSysfsHidDevice(kData + "/" + c.hidDir, usb, 7);
    ASSERT_EQ(info.has_value(), c.readable);
    if (!info) continue;
    EXPECT_EQ(info->deviceId, 7u);
    EXPECT_EQ(info->vendorId, c.vendorId);
    EXPECT_EQ(info->productId, c.productId);
    EXPECT_EQ(info->usagePage, c.usagePage);
    EXPECT_EQ(info->usage, c.usage);
    EXPECT_EQ(info->firmwareVersion, c.firmwareVersion);
    EXPECT_EQ(FilterAccepts(ServiceFilter(), *info), c.matchesServiceFilter);
    EXPECT_TRUE(FilterAccepts(DeviceFilter{}, *info)) << "the all-zero filter accepts everything";
  }
}

TEST(SysfsHidDevice, ParsesUeventIds) {
  struct Case {
    const char* text;
    bool ok;
    std::uint16_t vendor, product;
  } cases[] = {
      {"HID_ID=0003:00001EA7:00000077\n", true, 0x1EA7, 0x0077},
      {"DRIVER=x\nHID_ID=0005:0000046d:0000b012\nHID_NAME=y\n", true, 0x046D, 0xB012},
      {"HID_ID=0003:00001EA7:00000077", true, 0x1EA7, 0x0077},
      {"HID_ID=0003:00011EA7:00000077\n", false, 0, 0},  // vendor wider than 16 bits
      {"HID_ID=0003:1EA7\n", false, 0, 0},
      {"HID_ID=0003:00001EA7:00000077x\n", false, 0, 0},
      {"HID_ID=0003:000000001EA7:77\n", false, 0, 0},
      {"XHID_ID=0003:00001EA7:00000077\n", false, 0, 0},
      {"", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto ids = ParseHidIdFromUevent(c.text);
    ASSERT_EQ(ids.has_value(), c.ok);
    if (ids) {
      EXPECT_EQ(ids->first, c.vendor);
      EXPECT_EQ(ids->second, c.product);
    }
  }
  EXPECT_EQ(ParseBcdDevice("0105\n"), 0x0105);
  EXPECT_EQ(ParseBcdDevice("zz"), 0);
  EXPECT_EQ(ParseBcdDevice("123456"), 0);
}

TEST(DeviceFilter, DamagedEntryCountNeverReadsPastTheEntries) {
  DeviceFilter filter = ServiceFilter();
  filter.entryCount = 0xFFFFFFFF;
  HidInterfaceInfo info{1, 0x1EA7, 0x0077, 0xFF04, 5, 0};
  EXPECT_TRUE(FilterAccepts(filter, info));
  info.usage = 9;
  EXPECT_FALSE(FilterAccepts(filter, info));
  filter.entryCount = 1;
  info.usage = 5;
  EXPECT_FALSE(FilterAccepts(filter, info)) << "entries beyond the count do not count";
}

}  // namespace
}  // namespace tarnwick
