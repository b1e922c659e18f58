#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <thread>

#include "PlatformTestSupport.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/MessageIds.h"

namespace platform::test {
namespace {

constexpr std::uint32_t kTestMessage = WM_USER + 1;

constexpr int kWatchdogCode = -99;

// Ends whatever loop runs when a test has waited too long.
class WatchdogWindow : public Window {
 public:
  ~WatchdogWindow() override { Destroy(); }
  LParam WindowProc(std::uint32_t message, WParam wParam, LParam lParam) override {
    if (message == WM_TIMER) {
      EndModalLoop(kWatchdogCode);
      QuitMessageLoop(kWatchdogCode);
    }
    return Window::WindowProc(message, wParam, lParam);
  }
};

class MessageLoopTest : public RuntimeFolderTest {
 protected:
  void SetUp() override {
    RuntimeFolderTest::SetUp();
    ASSERT_TRUE(window.Create(u"", Rect{0, 0, 10, 10}));
    ASSERT_TRUE(watchdog.Create(u"", Rect{}));
    ASSERT_TRUE(StartTimer(watchdog.Handle(), 1, 10000));
  }
  void TearDown() override {
    watchdog.Destroy();
    window.Destroy();
    RuntimeFolderTest::TearDown();
  }
  RecordingWindow window;
  WatchdogWindow watchdog;
};

TEST_F(MessageLoopTest, PostsArriveInOrderWithTheirParameters) {
  const std::vector<Received> posted{{window.Handle(), kTestMessage, 0, 0},
                                     {window.Handle(), kTestMessage + 1, ~0ull, -1},
                                     {window.Handle(), kTestMessage, 1ull << 40, INT64_MIN},
                                     {window.Handle(), 0xC123, 7, INT64_MAX}};
  for (const Received& p : posted) {
    ASSERT_TRUE(PostToWindow(p.window, p.message, p.wParam, p.lParam));
  }
  ASSERT_TRUE(PumpUntil([&] { return window.UserMessages().size() == posted.size(); }));
  EXPECT_EQ(window.UserMessages(), posted);
}

TEST_F(MessageLoopTest, PostsFromOtherThreadsArriveInEachThreadsOrder) {
  constexpr int kPerThread = 200;
  std::vector<std::thread> posters;
  for (int t = 0; t < 2; ++t) {
    posters.emplace_back([&, t] {
      for (int i = 0; i < kPerThread; ++i) {
        PostToWindow(window.Handle(), kTestMessage + static_cast<std::uint32_t>(t),
                     static_cast<WParam>(i), t);
      }
    });
  }
  const bool done = PumpUntil([&] { return window.UserMessages().size() == 2u * kPerThread; });
  for (std::thread& poster : posters) poster.join();
  ASSERT_TRUE(done);
  WParam next[2] = {0, 0};
  for (const Received& r : window.UserMessages()) {
    const int thread = static_cast<int>(r.message - kTestMessage);
    ASSERT_EQ(r.lParam, thread);
    EXPECT_EQ(r.wParam, next[thread]++);
  }
}

TEST_F(MessageLoopTest, PostToMissingWindowFails) {
  RecordingWindow gone;
  ASSERT_TRUE(gone.Create(u"", Rect{}));
  const WindowHandle handle = gone.Handle();
  gone.Destroy();
  EXPECT_FALSE(PostToWindow(handle, kTestMessage, 0, 0));
  EXPECT_FALSE(PostToWindow(0, kTestMessage, 0, 0));
  EXPECT_EQ(WindowFromHandle(handle), nullptr);
}

TEST_F(MessageLoopTest, PeekLeavesOrTakesTheMessage) {
  Message message{};
  EXPECT_FALSE(PeekNextMessage(message, true));
  ASSERT_TRUE(PostToWindow(window.Handle(), kTestMessage, 1, 2));
  ASSERT_TRUE(PeekNextMessage(message, false));
  EXPECT_EQ(message.message, kTestMessage);
  ASSERT_TRUE(PeekNextMessage(message, true));
  EXPECT_EQ(message.wParam, 1u);
  EXPECT_EQ(message.lParam, 2);
  EXPECT_FALSE(PeekNextMessage(message, true));
}

TEST_F(MessageLoopTest, QuitEndsTheLoopAfterEarlierPostsWithItsCode) {
  window.onMessage = [](std::uint32_t message, WParam, LParam) -> LParam {
    if (message == kTestMessage) QuitMessageLoop(37);
    return 0;
  };
  ASSERT_TRUE(PostToWindow(window.Handle(), kTestMessage, 0, 0));
  ASSERT_TRUE(PostToWindow(window.Handle(), kTestMessage + 1, 0, 0));
  EXPECT_EQ(RunMessageLoop(), 37);
  ASSERT_EQ(window.UserMessages().size(), 2u);
}

TEST_F(MessageLoopTest, SendCallsAtOnceOnTheOwningThreadOnly) {
  window.onMessage = [](std::uint32_t, WParam wParam, LParam) -> LParam {
    return static_cast<LParam>(wParam * 2);
  };
  EXPECT_EQ(SendToWindow(window.Handle(), kTestMessage, 21, 0), 42);
  LParam fromOtherThread = -1;
  std::thread([&] { fromOtherThread = SendToWindow(window.Handle(), kTestMessage, 5, 0); }).join();
  EXPECT_EQ(fromOtherThread, 0);
  EXPECT_EQ(window.UserMessages().size(), 1u);
}

TEST_F(MessageLoopTest, TimersFireAtTheirPeriodUntilStopped) {
  constexpr std::uint32_t kPeriodMs = 20;
  std::vector<std::uint64_t> ticks;
  window.onMessage = [&](std::uint32_t message, WParam wParam, LParam) -> LParam {
    if (message == WM_TIMER && wParam == 5) ticks.push_back(MonotonicMs());
    return 0;
  };
  const std::uint64_t start = MonotonicMs();
  ASSERT_TRUE(StartTimer(window.Handle(), 5, kPeriodMs));
  ASSERT_TRUE(PumpUntil([&] { return ticks.size() == 3; }));
  // Due times are whole milliseconds taken when a tick is fetched, while the ticks here are
  // read a little later in the handler, so each period may look up to 1 ms short.
  constexpr std::uint64_t kClockGrainMs = 1;
  EXPECT_GE(ticks[0] - start + kClockGrainMs, kPeriodMs);
  EXPECT_GE(ticks[2] - ticks[0] + 2 * kClockGrainMs, 2 * kPeriodMs);

  ASSERT_TRUE(StopTimer(window.Handle(), 5));
  EXPECT_FALSE(StopTimer(window.Handle(), 5));
  // A later, slower timer proves time passed without the stopped one firing.
  bool later = false;
  window.onMessage = [&](std::uint32_t message, WParam wParam, LParam) -> LParam {
    if (message == WM_TIMER && wParam == 5) ticks.push_back(MonotonicMs());
    if (message == WM_TIMER && wParam == 6) later = true;
    return 0;
  };
  ASSERT_TRUE(StartTimer(window.Handle(), 6, 5 * kPeriodMs));
  ASSERT_TRUE(PumpUntil([&] { return later; }));
  EXPECT_EQ(ticks.size(), 3u);
}

TEST_F(MessageLoopTest, TimersComeInDueOrderAndRestartingReplaces) {
  std::vector<WParam> order;
  window.onMessage = [&](std::uint32_t message, WParam wParam, LParam) -> LParam {
    if (message == WM_TIMER) {
      order.push_back(wParam);
      StopTimer(window.Handle(), wParam);
    }
    return 0;
  };
  ASSERT_TRUE(StartTimer(window.Handle(), 1, 60));
  ASSERT_TRUE(StartTimer(window.Handle(), 2, 20));
  ASSERT_TRUE(StartTimer(window.Handle(), 3, 40));
  ASSERT_TRUE(StartTimer(window.Handle(), 2, 80));  // replaces the 20 ms timer 2
  ASSERT_TRUE(PumpUntil([&] { return order.size() == 3; }));
  EXPECT_EQ(order, (std::vector<WParam>{3, 1, 2}));
  EXPECT_FALSE(StartTimer(0, 1, 10));
}

TEST_F(MessageLoopTest, DestroyedWindowLosesItsQueuedMessagesAndTimers) {
  RecordingWindow other;
  ASSERT_TRUE(other.Create(u"", Rect{}));
  ASSERT_TRUE(PostToWindow(other.Handle(), kTestMessage, 0, 0));
  ASSERT_TRUE(StartTimer(other.Handle(), 1, 10));
  const WindowHandle handle = other.Handle();
  other.Destroy();
  EXPECT_FALSE(StopTimer(handle, 1));
  Message message{};
  EXPECT_FALSE(PeekNextMessage(message, true));
}

TEST_F(MessageLoopTest, ModalLoopReturnsTheCodeItWasEndedWith) {
  RecordingWindow dialog;
  ASSERT_TRUE(dialog.Create(u"", Rect{}, 0, window.Handle()));
  dialog.onMessage = [&](std::uint32_t message, WParam wParam, LParam) -> LParam {
    if (message == kTestMessage) EndModalLoop(static_cast<int>(wParam));
    return 0;
  };
  ASSERT_TRUE(PostToWindow(dialog.Handle(), kTestMessage, 42, 0));
  EXPECT_EQ(RunModalLoop(dialog), 42);
}

TEST_F(MessageLoopTest, NestedModalLoopsEndInnermostFirst) {
  RecordingWindow outer, inner;
  ASSERT_TRUE(outer.Create(u"", Rect{}));
  ASSERT_TRUE(inner.Create(u"", Rect{}));
  int innerResult = 0;
  outer.onMessage = [&](std::uint32_t message, WParam, LParam) -> LParam {
    if (message == kTestMessage) {
      PostToWindow(inner.Handle(), kTestMessage, 7, 0);
      innerResult = RunModalLoop(inner);
      EndModalLoop(9);
    }
    return 0;
  };
  inner.onMessage = [&](std::uint32_t message, WParam wParam, LParam) -> LParam {
    if (message == kTestMessage) EndModalLoop(static_cast<int>(wParam));
    return 0;
  };
  ASSERT_TRUE(PostToWindow(outer.Handle(), kTestMessage, 0, 0));
  EXPECT_EQ(RunModalLoop(outer), 9);
  EXPECT_EQ(innerResult, 7);
}

TEST_F(MessageLoopTest, ModalLoopEndsWhenItsWindowIsDestroyedOrOnQuit) {
  RecordingWindow dialog;
  ASSERT_TRUE(dialog.Create(u"", Rect{}));
  ASSERT_TRUE(PostToWindow(dialog.Handle(), WM_CLOSE, 0, 0));
  EXPECT_EQ(RunModalLoop(dialog), -1);
  EXPECT_EQ(dialog.Handle(), 0u);

  ASSERT_TRUE(dialog.Create(u"", Rect{}));
  dialog.onMessage = [](std::uint32_t message, WParam, LParam) -> LParam {
    if (message == kTestMessage) QuitMessageLoop(5);
    return 0;
  };
  ASSERT_TRUE(PostToWindow(dialog.Handle(), kTestMessage, 0, 0));
  EXPECT_EQ(RunModalLoop(dialog), -1);
  EXPECT_EQ(RunMessageLoop(), 5);  // the quit reached the outer loop as well
}

TEST_F(MessageLoopTest, WatchedDescriptorRunsItsCallbackInsideTheLoop) {
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0);
  std::string got;
  ASSERT_EQ(WatchDescriptor(fds[0], POLLIN,
                            [&](std::uint32_t revents) {
                              EXPECT_TRUE(revents & POLLIN);
                              char buffer[16];
                              const ssize_t n = read(fds[0], buffer, sizeof buffer);
                              if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
                              if (got != "ping") return;
                              UnwatchDescriptor(fds[0]);
                              // NextMessage returns on messages only: say it with one.
                              PostToWindow(window.Handle(), kTestMessage, 0, 0);
                            }),
            0);
  std::thread writer([&] { ASSERT_EQ(write(fds[1], "ping", 4), 4); });
  const bool done = PumpUntil([&] { return !window.UserMessages().empty(); });
  writer.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(got, "ping");
  // Unwatched: more data no longer reaches the callback.
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  Message message{};
  EXPECT_FALSE(PeekNextMessage(message, true));
  EXPECT_EQ(got, "ping");
  EXPECT_EQ(WatchDescriptor(-1, POLLIN, [](std::uint32_t) {}), -1);
  close(fds[0]);
  close(fds[1]);
}

}  // namespace
}  // namespace platform::test
