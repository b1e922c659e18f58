#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/hid/HidBackend.h"

namespace tarnwick {

// Collects the backend's events, which arrive on its own thread.
class WaitingListener : public HidBackendListener {
 public:
  bool Wants(const HidInterfaceInfo&) override { return true; }
  void InterfaceOpened(const HidInterfaceInfo& info) override {
    Add("opened " + std::to_string(info.deviceId));
  }
  void InterfaceClosed(std::uint32_t deviceId) override {
    Add("closed " + std::to_string(deviceId));
  }
  void InputReport(std::uint32_t deviceId, std::span<const std::uint8_t> report) override {
    std::string text = "input " + std::to_string(deviceId) + ":";
    for (std::uint8_t b : report) text += " " + std::to_string(b);
    Add(text);
  }
  // Waits until `count` events arrived; the watchdog ends the wait if they never do.
  std::vector<std::string> WaitFor(std::size_t count) {
    std::unique_lock lock(m_mutex);
    const bool arrived = m_changed.wait_for(lock, std::chrono::seconds(30),
                                            [&] { return m_events.size() >= count; });
    EXPECT_TRUE(arrived) << "watchdog: only " << m_events.size() << " events arrived";
    return m_events;
  }

 private:
  void Add(std::string event) {
    std::lock_guard lock(m_mutex);
    m_events.push_back(std::move(event));
    m_changed.notify_all();
  }
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::string> m_events;
};

}  // namespace tarnwick
