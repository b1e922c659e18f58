#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "devicelink/ReportPacer.h"
#include "platform/Window.h"

// A window that records the device protocol messages it receives (numbers 1000 and up).
class RecordingWindow : public platform::Window {
 public:
  struct Received {
    std::uint32_t message;
    platform::WParam wParam;
    platform::LParam lParam;
    bool operator==(const Received&) const = default;
  };

  RecordingWindow() { Create(u"", platform::Rect{0, 0, 1, 1}); }
  ~RecordingWindow() override { Destroy(); }

  platform::LParam WindowProc(std::uint32_t message, platform::WParam wParam,
                              platform::LParam lParam) override {
    if (message >= 1000) received.push_back({message, wParam, lParam});
    return Window::WindowProc(message, wParam, lParam);
  }

  std::vector<Received> received;
};

// Records the pauses asked for instead of waiting, so report contents can be checked fast.
class RecordingPacer : public ReportPacer {
 public:
  void PauseAfterWrite(std::uint32_t ms) override { pauses.push_back(ms); }
  std::vector<std::uint32_t> pauses;
};

// Dispatches what is queued on this thread until nothing is left. The watchdog fails the test
// when the queue never drains, instead of hanging it.
inline void PumpUntilIdle() {
  platform::Message message;
  for (int dispatched = 0; platform::PeekNextMessage(message, true); ++dispatched) {
    ASSERT_LT(dispatched, 100000) << "watchdog: the queue never drained";
    platform::Dispatch(message);
  }
}
