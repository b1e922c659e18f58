#include "platform/WindowTable.h"

#include "platform/Clock.h"
#include "platform/MessageQueue.h"
#include "platform/ProcessLink.h"
#include "platform/PublishedWindows.h"
#include "platform/Text.h"

namespace platform {

WindowTable& WindowTable::Instance() {
  // Never freed: queues of other threads may still post while the process exits.
  static WindowTable* const table = new WindowTable();
  return *table;
}

WindowHandle WindowTable::Add(Window& window, WindowHandle parent, WindowHandle owner,
                              std::u16string_view title) {
  WindowHandle handle = 0;
  {
    std::lock_guard lock(m_mutex);
    const auto pid = static_cast<std::uint64_t>(ProcessLink::ProcessId());
    // After the serial wraps, skip 0 and any handle still in use.
    do {
      handle = (pid << 32) | ++m_serial;
    } while (m_serial == 0 || m_entries.contains(handle));
    m_entries.emplace(handle, Entry{&window, MessageQueue::ForThisThread(), parent, owner,
                                    std::u16string(title)});
  }
  if (!title.empty()) Publish();
  return handle;
}

void WindowTable::Remove(WindowHandle handle) {
  std::shared_ptr<MessageQueue> queue;
  bool titled = false;
  {
    std::lock_guard lock(m_mutex);
    auto found = m_entries.find(handle);
    if (found == m_entries.end()) return;
    queue = std::move(found->second.queue);
    titled = !found->second.title.empty();
    m_entries.erase(found);
  }
  queue->ForgetWindow(handle);
  if (titled) Publish();
}

void WindowTable::SetTitle(WindowHandle handle, std::u16string_view title) {
  {
    std::lock_guard lock(m_mutex);
    auto found = m_entries.find(handle);
    if (found == m_entries.end() || found->second.title == title) return;
    found->second.title = title;
  }
  Publish();
}

Window* WindowTable::Find(WindowHandle handle) const {
  std::lock_guard lock(m_mutex);
  auto found = m_entries.find(handle);
  return found == m_entries.end() ? nullptr : found->second.window;
}

std::shared_ptr<MessageQueue> WindowTable::QueueOf(WindowHandle handle) const {
  std::lock_guard lock(m_mutex);
  auto found = m_entries.find(handle);
  return found == m_entries.end() ? nullptr : found->second.queue;
}

std::vector<WindowHandle> WindowTable::ChildrenOf(WindowHandle handle) const {
  std::vector<WindowHandle> children;
  std::lock_guard lock(m_mutex);
  for (const auto& [child, entry] : m_entries) {
    if (entry.parent == handle) children.push_back(child);
  }
  return children;
}

std::vector<WindowHandle> WindowTable::OwnedBy(WindowHandle handle) const {
  std::vector<WindowHandle> owned;
  std::lock_guard lock(m_mutex);
  for (const auto& [window, entry] : m_entries) {
    if (entry.owner == handle) owned.push_back(window);
  }
  return owned;
}

WindowHandle WindowTable::FindByTitle(WindowHandle parent, std::u16string_view title) const {
  std::lock_guard lock(m_mutex);
  for (const auto& [handle, entry] : m_entries) {
    if (entry.parent == parent && !entry.title.empty() && EqualsNoCase(entry.title, title)) {
      return handle;
    }
  }
  return 0;
}

bool WindowTable::PostLocal(const Message& message) {
  std::vector<std::pair<std::shared_ptr<MessageQueue>, WindowHandle>> targets;
  {
    std::lock_guard lock(m_mutex);
    if (message.window == kBroadcast) {
      for (const auto& [handle, entry] : m_entries) {
        if (entry.parent == 0) targets.emplace_back(entry.queue, handle);
      }
    } else if (auto found = m_entries.find(message.window); found != m_entries.end()) {
      targets.emplace_back(found->second.queue, message.window);
    }
  }
  for (const auto& [queue, handle] : targets) {
    Message copy = message;
    copy.window = handle;
    queue->Post(copy);
  }
  return !targets.empty();
}

void WindowTable::DeliverFromOtherProcess(const WireMessage& message) {
  PostLocal(Message{message.window, message.message, message.wParam, message.lParam, TickCount()});
}

void WindowTable::Publish() {
  std::lock_guard publishLock(m_publishMutex);
  std::vector<PublishedWindow> titled;
  {
    std::lock_guard lock(m_mutex);
    for (const auto& [handle, entry] : m_entries) {
      if (!entry.title.empty())
        titled.push_back(PublishedWindow{handle, entry.parent, entry.title});
    }
  }
  ProcessLink::Instance().Publish(EncodePublishedWindows(titled));
}

}  // namespace platform
