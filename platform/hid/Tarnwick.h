#pragma once

#include <cstdint>
#include <span>

#include "platform/Window.h"
#include "platform/hid/DeviceFilter.h"
#include "platform/hid/DeviceState.h"

// The HID access library: finds the keyboard's HID interfaces, announces them to a window,
// delivers input reports through a callback and writes output reports.
//
// The backend is the library's own setting, PV37_HID_BACKEND: "hidraw" (the default) reaches
// real keyboards through the kernel's hidraw nodes, "virtual" reaches the virtual keyboard
// (the running pv37-virtual-keyboard program, or one inside this process).
namespace tarnwick {

// Runs for every input report of a matching interface, possibly on the library's own
// thread. The report holds at least 9 bytes (short reports are padded with zeros); `length`
// is the length the device sent.
using InputReportCallback = void (*)(int reportId, const std::uint8_t* report, int length);

// Only interfaces that match the filter are opened and announced (see FilterAccepts).
void SetDeviceFilter(const DeviceFilter& filter);

// Null removes the callback.
void SetInputCallback(InputReportCallback callback);

// Opens the library; nonzero on success. From then on `message` is posted to `window` with
// wParam 1 and lParam pointing to a _DEVICE_STATE for every matching interface that opens
// or closes, including those already present now. The record stays valid for the life of
// the process, so the message can be handled whenever it is fetched.
int Open(platform::WindowHandle window, std::uint32_t message);

// Copies the record a notification message's lParam points to; false when lParam is not one
// the library handed out (a stray or forged message), so it is never dereferenced blindly.
bool ReadNotification(platform::LParam lParam, _DEVICE_STATE& record);

// Closes every interface without announcing it; no callback runs after the return.
void Close();

// Writes one output report to the interface with that device ID; nonzero on success.
// A device that has gone fails at once and is announced as closed.
int WriteReport(std::uint32_t deviceId, std::span<const std::uint8_t> report);

// The firmware version of the first open matching interface (high byte first in the
// version text); 0 when none is open.
std::uint16_t FirmwareVersion();

}  // namespace tarnwick
