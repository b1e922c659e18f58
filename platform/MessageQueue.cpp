#include "platform/MessageQueue.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/Clock.h"
#include "platform/MessageIds.h"
#include "platform/ProcessLink.h"
#include "platform/WindowTable.h"

namespace platform {

namespace {

// Shortest timer period, so that a zero period cannot starve everything else.
constexpr std::uint32_t kMinimumTimerPeriodMs = 10;
constexpr int kMaxEventsPerWait = 16;

enum class Source : std::uint32_t { kWake = 1, kProcessSocket = 2, kWatched = 3 };

std::uint64_t EventTag(Source source, int fd) {
  return (static_cast<std::uint64_t>(source) << 32) | static_cast<std::uint32_t>(fd);
}

}  // namespace

const std::shared_ptr<MessageQueue>& MessageQueue::ForThisThread() {
  thread_local const std::shared_ptr<MessageQueue> queue = std::make_shared<MessageQueue>();
  return queue;
}

MessageQueue::MessageQueue()
    : m_owner(std::this_thread::get_id()),
      m_epollFd(epoll_create1(EPOLL_CLOEXEC)),
      m_wakeFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.u64 = EventTag(Source::kWake, m_wakeFd);
  epoll_ctl(m_epollFd, EPOLL_CTL_ADD, m_wakeFd, &event);
}

MessageQueue::~MessageQueue() {
  if (m_epollFd >= 0) close(m_epollFd);
  if (m_wakeFd >= 0) close(m_wakeFd);
}

void MessageQueue::Wake() {
  if (IsOwnedByCaller()) return;  // the owner is not waiting while it runs this
  const std::uint64_t one = 1;
  while (write(m_wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void MessageQueue::Post(const Message& message) {
  {
    std::lock_guard lock(m_mutex);
    m_posted.push_back(message);
  }
  Wake();
}

void MessageQueue::StartTimer(WindowHandle window, std::uint64_t id, std::uint32_t periodMs) {
  periodMs = std::max(periodMs, kMinimumTimerPeriodMs);
  {
    std::lock_guard lock(m_mutex);
    const std::uint64_t due = MonotonicMs() + periodMs;
    auto existing = std::find_if(m_timers.begin(), m_timers.end(),
                                 [&](const Timer& t) { return t.window == window && t.id == id; });
    if (existing != m_timers.end()) {
      *existing = Timer{window, id, periodMs, due, ++m_timerSerial};
    } else {
      m_timers.push_back(Timer{window, id, periodMs, due, ++m_timerSerial});
    }
  }
  Wake();
}

bool MessageQueue::StopTimer(WindowHandle window, std::uint64_t id) {
  std::lock_guard lock(m_mutex);
  return std::erase_if(m_timers, [&](const Timer& t) { return t.window == window && t.id == id; }) >
         0;
}

void MessageQueue::ForgetWindow(WindowHandle window) {
  std::lock_guard lock(m_mutex);
  std::erase_if(m_posted, [&](const Message& m) { return m.window == window; });
  std::erase_if(m_timers, [&](const Timer& t) { return t.window == window; });
}

void MessageQueue::RequestQuit(int exitCode) {
  std::lock_guard lock(m_mutex);
  m_quitPending = true;
  m_quitCode = exitCode;
}

bool MessageQueue::TakeReadyLocked(Message& out, bool remove) {
  if (!m_posted.empty()) {
    out = m_posted.front();
    if (remove) m_posted.pop_front();
    return true;
  }
  if (m_quitPending) {
    out = Message{0, WM_QUIT, static_cast<WParam>(m_quitCode), 0, TickCount()};
    if (remove) m_quitPending = false;
    return true;
  }
  const std::uint64_t now = MonotonicMs();
  Timer* next = nullptr;
  for (Timer& timer : m_timers) {
    if (timer.dueMs <= now && (next == nullptr || std::tie(timer.dueMs, timer.serial) <
                                                      std::tie(next->dueMs, next->serial))) {
      next = &timer;
    }
  }
  if (next == nullptr) return false;
  out = Message{next->window, WM_TIMER, static_cast<WParam>(next->id), 0, TickCount()};
  if (remove) next->dueMs = now + next->periodMs;
  return true;
}

int MessageQueue::TimeoutLocked() const {
  if (m_timers.empty()) return -1;
  const std::uint64_t now = MonotonicMs();
  std::uint64_t earliest = m_timers.front().dueMs;
  for (const Timer& timer : m_timers) earliest = std::min(earliest, timer.dueMs);
  return earliest <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(earliest - now, 1u << 30));
}

bool MessageQueue::Fetch(Message& out, bool remove, bool block) {
  WatchProcessSocket();
  for (;;) {
    int timeout = 0;
    {
      std::lock_guard lock(m_mutex);
      if (TakeReadyLocked(out, remove)) return true;
      if (block) timeout = TimeoutLocked();
    }
    Wait(timeout);
    if (!block) {
      std::lock_guard lock(m_mutex);
      return TakeReadyLocked(out, remove);
    }
  }
}

void MessageQueue::WatchProcessSocket() {
  ProcessLink& link = ProcessLink::Instance();
  const std::uint64_t generation = link.Generation();
  if (generation == m_linkGeneration) return;
  m_linkGeneration = generation;
  // One thread reads the socket, so posts from one sender keep their order.
  const int fd = link.SocketFd();
  if (fd < 0 || link.ReaderThread() != m_owner) return;
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.u64 = EventTag(Source::kProcessSocket, fd);
  epoll_ctl(m_epollFd, EPOLL_CTL_ADD, fd, &event);
}

void MessageQueue::Wait(int timeoutMs) {
  epoll_event events[kMaxEventsPerWait];
  const int count = epoll_wait(m_epollFd, events, kMaxEventsPerWait, timeoutMs);
  for (int i = 0; i < count; ++i) {
    const auto source = static_cast<Source>(events[i].data.u64 >> 32);
    const int fd = static_cast<int>(events[i].data.u64 & 0xFFFFFFFFu);
    switch (source) {
      case Source::kWake: {
        std::uint64_t counter = 0;
        [[maybe_unused]] const ssize_t n = read(m_wakeFd, &counter, sizeof counter);
        break;
      }
      case Source::kProcessSocket:
        ProcessLink::Instance().Receive([](const WireMessage& message) {
          WindowTable::Instance().DeliverFromOtherProcess(message);
        });
        break;
      case Source::kWatched: {
        auto found = m_watchers.find(fd);
        if (found == m_watchers.end()) break;  // unwatched by an earlier callback
        const std::shared_ptr<Watcher> watcher = found->second;
        watcher->onReady(events[i].events);
        break;
      }
    }
  }
}

int MessageQueue::Watch(int fd, std::uint32_t pollEvents,
                        std::function<void(std::uint32_t)> onReady) {
  if (fd < 0 || !onReady) {
    errno = EBADF;
    return -1;
  }
  epoll_event event{};
  event.events = pollEvents;
  event.data.u64 = EventTag(Source::kWatched, fd);
  const bool known = m_watchers.contains(fd);
  if (epoll_ctl(m_epollFd, known ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, fd, &event) != 0) return -1;
  m_watchers[fd] = std::make_shared<Watcher>(Watcher{std::move(onReady)});
  return 0;
}

void MessageQueue::Unwatch(int fd) {
  if (m_watchers.erase(fd) == 0) return;
  epoll_ctl(m_epollFd, EPOLL_CTL_DEL, fd, nullptr);
}

}  // namespace platform
