#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "platform/hid/HidBackend.h"

namespace tarnwick {

// Reaches the virtual keyboard program over its socket. A thread of the backend reads the
// program's announcements and input reports; writes wait for the program's answer.
class RemoteVirtualBackend : public HidBackend {
 public:
  // Null when the program is not running.
  static std::unique_ptr<RemoteVirtualBackend> Connect(const std::string& socketPath = {});
  ~RemoteVirtualBackend() override;

  bool Start(HidBackendListener& listener) override;
  void Stop() override;
  WriteResult Write(std::uint32_t deviceId, std::span<const std::uint8_t> report) override;

 private:
  explicit RemoteVirtualBackend(int socket);
  void Run();
  void LinkLost();

  int m_socket;
  int m_wakeFd;
  HidBackendListener* m_listener = nullptr;
  std::thread m_thread;

  std::mutex m_mutex;  // everything below
  std::condition_variable m_answered;
  std::optional<WriteResult> m_answer;
  bool m_linkLost = false;
  std::set<std::uint32_t> m_open;
  std::mutex m_writeMutex;  // one write in flight at a time
};

}  // namespace tarnwick
