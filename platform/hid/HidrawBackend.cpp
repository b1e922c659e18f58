#include "platform/hid/HidrawBackend.h"

#include <errno.h>
#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/hid/SysfsHidDevice.h"

namespace tarnwick {
namespace {

constexpr std::size_t kMaxReportBytes = 4096;

bool MeansDeviceGone(int error) {
  return error == ENODEV || error == EIO || error == ESHUTDOWN || error == EPIPE || error == ENXIO;
}

// Said once per node for the life of the process: the user cannot fix it by retrying.
void ReportPermissionDenied(const std::string& devnode) {
  static std::mutex mutex;
  static std::set<std::string> reported;
  std::lock_guard lock(mutex);
  if (!reported.insert(devnode).second) return;
  platform::DebugTrace(
      "Tarnwick: permission denied on %s. Install the udev rule 70-tolvane-pv37.rules "
      "(cmake --install copies it to /etc/udev/rules.d), run 'udevadm control --reload', then "
      "unplug and replug the keyboard.\n",
      devnode.c_str());
}

std::uint32_t DeviceIdOf(udev_device* device) {
  const char* number = udev_device_get_sysnum(device);
  if (!number || !*number) return 0;
  char* end = nullptr;
  const unsigned long minor = std::strtoul(number, &end, 10);
  if (*end != '\0' || minor >= 0xFFFF) return 0;
  return static_cast<std::uint32_t>(minor + 1);
}

}  // namespace

HidrawBackend::HidrawBackend(Discovery discovery) : m_discovery(discovery) {}

HidrawBackend::~HidrawBackend() { Stop(); }

bool HidrawBackend::Start(HidBackendListener& listener) {
  m_listener = &listener;
  m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (m_wakeFd < 0) return false;
  if (m_discovery == Discovery::kUdev && !StartDiscovery()) return false;
  m_stopping = false;
  m_thread = std::thread([this] { Run(); });
  return true;
}

bool HidrawBackend::StartDiscovery() {
  m_udev = udev_new();
  if (!m_udev) return false;
  m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
  if (m_monitor) {
    udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr);
    if (udev_monitor_enable_receiving(m_monitor) < 0) {
      udev_monitor_unref(m_monitor);
      m_monitor = nullptr;
    }
  }
  if (!m_monitor) platform::DebugTrace("Tarnwick: cannot watch for keyboards being plugged in\n");

  udev_enumerate* enumerate = udev_enumerate_new(m_udev);
  udev_enumerate_add_match_subsystem(enumerate, "hidraw");
  udev_enumerate_scan_devices(enumerate);
  udev_list_entry* entry;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
    if (udev_device* device =
            udev_device_new_from_syspath(m_udev, udev_list_entry_get_name(entry))) {
      Consider(device);
      udev_device_unref(device);
    }
  }
  udev_enumerate_unref(enumerate);
  return true;
}

void HidrawBackend::Stop() {
  if (m_thread.joinable()) {
    {
      std::lock_guard lock(m_mutex);
      m_stopping = true;
    }
    Wake();
    m_thread.join();
  }
  std::lock_guard lock(m_mutex);
  for (auto& [id, node] : m_nodes) close(node.fd);
  m_nodes.clear();
  if (m_monitor) udev_monitor_unref(m_monitor);
  if (m_udev) udev_unref(m_udev);
  if (m_wakeFd >= 0) close(m_wakeFd);
  m_monitor = nullptr;
  m_udev = nullptr;
  m_wakeFd = -1;
}

void HidrawBackend::Wake() {
  const std::uint64_t one = 1;
  if (m_wakeFd >= 0) (void)!write(m_wakeFd, &one, sizeof one);
}

void HidrawBackend::Consider(udev_device* device) {
  const std::uint32_t deviceId = DeviceIdOf(device);
  const char* devnode = udev_device_get_devnode(device);
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
  if (!deviceId || !devnode || !hid) return;
  udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
  const auto info = ReadSysfsHidDevice(udev_device_get_syspath(hid),
                                       usb ? udev_device_get_syspath(usb) : "", deviceId);
  if (!info || !m_listener->Wants(*info)) return;
  {
    std::lock_guard lock(m_mutex);
    if (m_nodes.count(deviceId)) return;
  }
  const int fd = open(devnode, O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == EACCES || errno == EPERM) {
      ReportPermissionDenied(devnode);
    } else {
      platform::DebugTrace("Tarnwick: cannot open %s: %s\n", devnode, std::strerror(errno));
    }
    return;
  }
  AdoptNode(*info, fd, devnode);
}

void HidrawBackend::AdoptNode(const HidInterfaceInfo& info, int fd, const std::string& devnode) {
  // The reader drains each node until it would block; a blocking node would stall it.
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  {
    std::lock_guard lock(m_mutex);
    m_nodes[info.deviceId] = Node{fd, devnode, false};
  }
  Wake();
  m_listener->InterfaceOpened(info);
}

void HidrawBackend::Forget(std::uint32_t deviceId) {
  bool announce = false;
  {
    std::lock_guard lock(m_mutex);
    auto node = m_nodes.find(deviceId);
    if (node == m_nodes.end()) return;
    announce = !node->second.gone;
    close(node->second.fd);
    m_nodes.erase(node);
  }
  if (announce) m_listener->InterfaceClosed(deviceId);
}

WriteResult HidrawBackend::Write(std::uint32_t deviceId, std::span<const std::uint8_t> report) {
  int error = 0;
  {
    std::lock_guard lock(m_mutex);
    auto node = m_nodes.find(deviceId);
    if (node == m_nodes.end() || node->second.gone) return WriteResult::kDeviceGone;
    const ssize_t written = write(node->second.fd, report.data(), report.size());
    if (written == static_cast<ssize_t>(report.size())) return WriteResult::kWritten;
    error = written < 0 ? errno : 0;
    if (!MeansDeviceGone(error)) return WriteResult::kFailed;
    // The descriptor stays open until the reader thread drops it, so its number cannot be
    // reused while that thread still polls it.
    node->second.gone = true;
  }
  Wake();
  m_listener->InterfaceClosed(deviceId);
  return WriteResult::kDeviceGone;
}

void HidrawBackend::ReadFrom(std::uint32_t deviceId, int fd) {
  std::uint8_t buffer[kMaxReportBytes];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      m_listener->InputReport(deviceId, std::span(buffer, static_cast<std::size_t>(n)));
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    Forget(deviceId);
    return;
  }
}

void HidrawBackend::Run() {
  std::vector<pollfd> fds;
  std::vector<std::uint32_t> ids;
  for (;;) {
    fds.clear();
    ids.clear();
    fds.push_back({m_wakeFd, POLLIN, 0});
    ids.push_back(0);
    if (m_monitor) {
      fds.push_back({udev_monitor_get_fd(m_monitor), POLLIN, 0});
      ids.push_back(0);
    }
    const std::size_t firstNode = fds.size();
    std::vector<std::uint32_t> goneNodes;
    {
      std::lock_guard lock(m_mutex);
      if (m_stopping) return;
      for (const auto& [id, node] : m_nodes) {
        if (node.gone) {
          goneNodes.push_back(id);
          continue;
        }
        fds.push_back({node.fd, POLLIN, 0});
        ids.push_back(id);
      }
    }
    for (std::uint32_t id : goneNodes) Forget(id);
    if (!goneNodes.empty()) continue;

    if (poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      platform::DebugTrace("Tarnwick: poll failed: %s\n", std::strerror(errno));
      return;
    }
    if (fds[0].revents) {
      std::uint64_t count;
      (void)!read(m_wakeFd, &count, sizeof count);
    }
    // Nodes first: only this thread closes their descriptors, and handling hot-plug events
    // below may close some, so the descriptors polled above are all still valid here.
    for (std::size_t i = firstNode; i < fds.size(); ++i) {
      if (fds[i].revents & POLLIN) {
        ReadFrom(ids[i], fds[i].fd);
      } else if (fds[i].revents & (POLLHUP | POLLERR | POLLNVAL)) {
        Forget(ids[i]);
      }
    }
    if (m_monitor && fds[1].revents) {
      while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        const char* action = udev_device_get_action(device);
        if (action && std::strcmp(action, "remove") == 0) {
          Forget(DeviceIdOf(device));
        } else if (action &&
                   (std::strcmp(action, "add") == 0 || std::strcmp(action, "change") == 0)) {
          Consider(device);
        }
        udev_device_unref(device);
      }
    }
  }
}

}  // namespace tarnwick
