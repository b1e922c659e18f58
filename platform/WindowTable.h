#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Window.h"
#include "platform/WireMessage.h"

namespace platform {

class MessageQueue;

// The windows of this process, for every thread: which object and which queue stand
// behind a handle, and the titles this process publishes for other processes.
class WindowTable {
 public:
  static WindowTable& Instance();

  // Enters the window with the calling thread's queue and returns its new handle.
  WindowHandle Add(Window& window, WindowHandle parent, WindowHandle owner,
                   std::u16string_view title);
  void Remove(WindowHandle handle);
  void SetTitle(WindowHandle handle, std::u16string_view title);

  Window* Find(WindowHandle handle) const;
  std::shared_ptr<MessageQueue> QueueOf(WindowHandle handle) const;
  std::vector<WindowHandle> ChildrenOf(WindowHandle handle) const;
  std::vector<WindowHandle> OwnedBy(WindowHandle handle) const;
  // A direct child of `parent` (0: a top-level window) with this title, or 0.
  WindowHandle FindByTitle(WindowHandle parent, std::u16string_view title) const;

  // Queues the message for one window of this process, or for every top-level window
  // when `message.window` is kBroadcast. False when it reached no window.
  bool PostLocal(const Message& message);
  void DeliverFromOtherProcess(const WireMessage& message);

 private:
  struct Entry {
    Window* window;
    std::shared_ptr<MessageQueue> queue;
    WindowHandle parent;
    WindowHandle owner;
    std::u16string title;
  };
  WindowTable() = default;
  void Publish();

  mutable std::mutex m_mutex;
  std::map<WindowHandle, Entry> m_entries;  // in order of creation
  std::uint32_t m_serial = 0;
  std::mutex m_publishMutex;  // keeps table files in the order of the changes
};

}  // namespace platform
