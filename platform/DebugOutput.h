#pragma once

namespace platform {

// Debug traces go to stderr only while the platform's switch is on: the
// environment variable PV37_DEBUG set to anything but "0" (read once), or
// SetDebugOutput(true) from a program or test.
bool DebugOutputEnabled();
void SetDebugOutput(bool enabled);

// printf-style trace; a no-op while debug output is off.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace platform
