#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "platform/hid/HidBackend.h"

struct udev;
struct udev_device;
struct udev_monitor;

namespace tarnwick {

// Reaches real keyboards through the kernel's hidraw nodes: libudev finds and watches them,
// one thread of the backend reads input reports and hot-plug events, so nothing blocks the
// caller's window thread. Device IDs are the hidraw minor numbers plus one.
class HidrawBackend : public HidBackend {
 public:
  // kNone leaves finding nodes to the caller (AdoptNode), so tests can serve fake nodes
  // without touching /dev.
  enum class Discovery { kUdev, kNone };

  explicit HidrawBackend(Discovery discovery = Discovery::kUdev);
  ~HidrawBackend() override;

  // Takes over an open node of a wanted interface (the backend closes it) and announces it.
  // Only between Start and Stop.
  void AdoptNode(const HidInterfaceInfo& info, int fd, const std::string& devnode);

  bool Start(HidBackendListener& listener) override;
  void Stop() override;
  WriteResult Write(std::uint32_t deviceId, std::span<const std::uint8_t> report) override;

 private:
  struct Node {
    int fd = -1;
    std::string devnode;
    bool gone = false;  // announced as closed; the reader thread closes the descriptor
  };

  bool StartDiscovery();
  void Consider(udev_device* device);
  void Forget(std::uint32_t deviceId);
  void Run();
  void ReadFrom(std::uint32_t deviceId, int fd);
  void Wake();

  const Discovery m_discovery;
  HidBackendListener* m_listener = nullptr;
  udev* m_udev = nullptr;
  udev_monitor* m_monitor = nullptr;
  int m_wakeFd = -1;
  bool m_stopping = false;  // under m_mutex
  std::thread m_thread;

  std::mutex m_mutex;  // m_nodes, m_stopping
  std::map<std::uint32_t, Node> m_nodes;
};

}  // namespace tarnwick
