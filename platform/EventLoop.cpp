#include "platform/EventLoop.h"

#include "platform/MessageQueue.h"

namespace platform {

int WatchDescriptor(int fd, std::uint32_t pollEvents,
                    std::function<void(std::uint32_t revents)> onReady) {
  return MessageQueue::ForThisThread()->Watch(fd, pollEvents, std::move(onReady));
}

void UnwatchDescriptor(int fd) { MessageQueue::ForThisThread()->Unwatch(fd); }

}  // namespace platform
