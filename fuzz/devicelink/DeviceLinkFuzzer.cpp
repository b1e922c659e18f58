// libFuzzer target for what the keyboard and the kernel hand us: HID report descriptors,
// sysfs uevent and bcdDevice text, input reports, and output-report streams as the virtual
// keyboard decodes them. The first byte picks the parser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "devicelink/InputReportDecoder.h"
#include "platform/hid/ReportDescriptor.h"
#include "platform/hid/SysfsHidDevice.h"
#include "platform/hid/VirtualKeyboard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::span<const std::uint8_t> input(data + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      const tarnwick::ReportDescriptorResult result = tarnwick::ParseReportDescriptor(input);
      if (result.offset > input.size()) __builtin_trap();
      break;
    }
    case 1: {
      const std::string text(input.begin(), input.end());
      tarnwick::ParseHidIdFromUevent(text);
      tarnwick::ParseBcdDevice(text);
      break;
    }
    case 2: {
      std::uint8_t report[kDecodedReportBytes] = {};
      for (std::size_t i = 0; i < input.size() && i < sizeof report; ++i) report[i] = input[i];
      DecodeInputReport(report);
      break;
    }
    case 3: {
      tarnwick::VirtualKeyboard keyboard;
      keyboard.Plug();
      // Each record: a device ID byte, then an 8-byte report.
      for (std::size_t offset = 0; offset + 9 <= input.size(); offset += 9) {
        keyboard.Receive(input[offset] % 6, input.subspan(offset + 1, 8));
      }
      tarnwick::DescribeState(keyboard.State());
      break;
    }
  }
  return 0;
}
