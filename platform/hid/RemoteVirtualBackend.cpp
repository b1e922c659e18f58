#include "platform/hid/RemoteVirtualBackend.h"

#include <errno.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/hid/VirtualLink.h"

namespace tarnwick {
namespace {

// A keyboard answers a write at once; a program that does not is treated as unplugged.
constexpr std::chrono::seconds kAnswerTimeout{2};

}  // namespace

std::unique_ptr<RemoteVirtualBackend> RemoteVirtualBackend::Connect(const std::string& socketPath) {
  const int fd = ConnectToVirtualKeyboard(
      socketPath.empty() ? VirtualKeyboardSocketPath() : socketPath, LinkType::kHelloBackend);
  if (fd < 0) return nullptr;
  return std::unique_ptr<RemoteVirtualBackend>(new RemoteVirtualBackend(fd));
}

RemoteVirtualBackend::RemoteVirtualBackend(int socket)
    : m_socket(socket), m_wakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

RemoteVirtualBackend::~RemoteVirtualBackend() {
  Stop();
  close(m_socket);
  if (m_wakeFd >= 0) close(m_wakeFd);
}

bool RemoteVirtualBackend::Start(HidBackendListener& listener) {
  if (m_wakeFd < 0) return false;
  m_listener = &listener;
  m_thread = std::thread([this] { Run(); });
  return true;
}

void RemoteVirtualBackend::Stop() {
  if (!m_thread.joinable()) return;
  const std::uint64_t one = 1;
  (void)!write(m_wakeFd, &one, sizeof one);
  m_thread.join();
  shutdown(m_socket, SHUT_RDWR);
}

WriteResult RemoteVirtualBackend::Write(std::uint32_t deviceId,
                                        std::span<const std::uint8_t> report) {
  if (report.size() > kMaxLinkPayload) return WriteResult::kFailed;
  std::lock_guard writeLock(m_writeMutex);
  std::unique_lock lock(m_mutex);
  if (m_linkLost || !m_open.count(deviceId)) return WriteResult::kDeviceGone;
  m_answer.reset();
  LinkHeader header{};
  header.type = static_cast<std::uint8_t>(LinkType::kWrite);
  header.deviceId = deviceId;
  if (!SendLinkPacket(m_socket, header, report)) {
    lock.unlock();
    LinkLost();
    return WriteResult::kDeviceGone;
  }
  if (!m_answered.wait_for(lock, kAnswerTimeout,
                           [&] { return m_answer.has_value() || m_linkLost; })) {
    lock.unlock();
    LinkLost();
    return WriteResult::kDeviceGone;
  }
  return m_answer.value_or(WriteResult::kDeviceGone);
}

void RemoteVirtualBackend::LinkLost() {
  std::set<std::uint32_t> open;
  {
    std::lock_guard lock(m_mutex);
    if (m_linkLost) return;
    m_linkLost = true;
    open.swap(m_open);
  }
  m_answered.notify_all();
  platform::DebugTrace("Tarnwick: the virtual keyboard program went away\n");
  for (std::uint32_t id : open) m_listener->InterfaceClosed(id);
}

void RemoteVirtualBackend::Run() {
  std::vector<std::uint8_t> packet;
  for (;;) {
    pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {m_socket, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents) return;
    LinkHeader header;
    std::span<const std::uint8_t> payload;
    if (!ReceiveLinkPacket(m_socket, packet, header, payload)) {
      LinkLost();
      return;
    }
    switch (static_cast<LinkType>(header.type)) {
      case LinkType::kOpened: {
        const HidInterfaceInfo info{header.deviceId,  header.vendorId, header.productId,
                                    header.usagePage, header.usage,    header.firmwareVersion};
        if (!m_listener->Wants(info)) break;
        {
          std::lock_guard lock(m_mutex);
          m_open.insert(info.deviceId);
        }
        m_listener->InterfaceOpened(info);
        break;
      }
      case LinkType::kClosed: {
        bool wasOpen;
        {
          std::lock_guard lock(m_mutex);
          wasOpen = m_open.erase(header.deviceId) > 0;
        }
        if (wasOpen) m_listener->InterfaceClosed(header.deviceId);
        break;
      }
      case LinkType::kInput:
        m_listener->InputReport(header.deviceId, payload);
        break;
      case LinkType::kWriteResult: {
        std::lock_guard lock(m_mutex);
        m_answer = static_cast<WriteResult>(std::min<std::uint8_t>(header.result, 2));
        m_answered.notify_all();
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace tarnwick
