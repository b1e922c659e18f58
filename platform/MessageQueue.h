#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/Window.h"

namespace platform {

// The message queue of one thread, and the one wait of that thread's loop.
// Messages are taken in this order: posted messages in the order posted, then a quit
// request, then timers that are due (earliest due first). Messages sent within the
// thread never queue: they are calls. Timers are not messages until fetched, so a slow
// loop gets one WM_TIMER per timer rather than a backlog.
// The wait covers the wake descriptor (posts and timer changes from other threads), the
// process socket when this thread reads it, and the descriptors modules watch; it has a
// timeout only while a timer is pending.
class MessageQueue {
 public:
  // The calling thread's queue, created on first use.
  static const std::shared_ptr<MessageQueue>& ForThisThread();

  MessageQueue();
  ~MessageQueue();
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  bool IsOwnedByCaller() const { return std::this_thread::get_id() == m_owner; }

  // Any thread.
  void Post(const Message& message);
  void StartTimer(WindowHandle window, std::uint64_t id, std::uint32_t periodMs);
  bool StopTimer(WindowHandle window, std::uint64_t id);
  // Drops the window's queued messages and timers.
  void ForgetWindow(WindowHandle window);

  // Owner thread only.
  void RequestQuit(int exitCode);
  bool Fetch(Message& out, bool remove, bool block);
  int Watch(int fd, std::uint32_t pollEvents, std::function<void(std::uint32_t)> onReady);
  void Unwatch(int fd);

  // Nested modal loops of this thread, innermost last.
  struct ModalFrame {
    bool ended = false;
    int code = 0;
  };
  std::vector<ModalFrame*>& ModalFrames() { return m_modalFrames; }

 private:
  struct Timer {
    WindowHandle window;
    std::uint64_t id;
    std::uint32_t periodMs;
    std::uint64_t dueMs;
    std::uint64_t serial;  // orders timers due at the same moment by when they were set
  };
  struct Watcher {
    std::function<void(std::uint32_t)> onReady;
  };

  bool TakeReadyLocked(Message& out, bool remove);
  int TimeoutLocked() const;
  void Wait(int timeoutMs);
  void Wake();
  void WatchProcessSocket();

  std::mutex m_mutex;
  std::deque<Message> m_posted;
  std::vector<Timer> m_timers;
  std::uint64_t m_timerSerial = 0;
  bool m_quitPending = false;
  int m_quitCode = 0;

  const std::thread::id m_owner;
  int m_epollFd = -1;
  int m_wakeFd = -1;
  std::uint64_t m_linkGeneration = 0;
  std::unordered_map<int, std::shared_ptr<Watcher>> m_watchers;
  std::vector<ModalFrame*> m_modalFrames;
};

}  // namespace platform
