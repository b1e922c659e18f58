#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// Adds a descriptor to the calling thread's loop wait. `pollEvents` are poll(2) bits
// (POLLIN, POLLOUT, ...); `onReady` runs on that thread inside NextMessage or
// PeekNextMessage with the bits that were reported. Watching an fd again replaces its
// callback. Returns 0, or -1 with errno set.
int WatchDescriptor(int fd, std::uint32_t pollEvents,
                    std::function<void(std::uint32_t revents)> onReady);
// Safe to call from inside the descriptor's own callback.
void UnwatchDescriptor(int fd);

}  // namespace platform
