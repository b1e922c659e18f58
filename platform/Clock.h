#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start (monotonic), wrapping at 2^32 as a tick count does.
std::uint32_t TickCount();

// Monotonic milliseconds without wrapping, for deadlines.
std::uint64_t MonotonicMs();

}  // namespace platform
