#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/WireMessage.h"

namespace platform {

// This process's presence in the runtime folder, shared with the user's other processes:
//   "<pid>.lock"    held with flock while the process lives (readers test it to tell a
//                   live process from the leftovers of a dead one),
//   "<pid>.sock"    the datagram socket that receives posts to this process's windows,
//   "<pid>.windows" the published table of titled windows, replaced with rename.
class ProcessLink {
 public:
  static ProcessLink& Instance();
  // getpid without a system call on every message; a forked child sees its own id.
  static pid_t ProcessId();

  // Makes this process reachable in the current runtime folder (again after the folder
  // changed). False when the folder is unusable.
  bool Attach();
  // Removes this process's files; it can no longer be found or reached.
  void Detach();
  // The receiving socket, or -1; Generation() changes whenever it is replaced.
  int SocketFd() const { return m_socketFd.load(); }
  std::uint64_t Generation() const { return m_generation.load(); }
  // The thread that reads the socket: the one that attached, normally the first to
  // create a window.
  std::thread::id ReaderThread() const { return m_readerThread.load(); }

  // Sends one datagram to another process's socket; false when it cannot be delivered.
  bool SendTo(pid_t pid, const WireMessage& message);
  // Reads the datagrams waiting on the socket and passes each well-formed one that came
  // from this user and is addressed to this process (or to everyone) to `deliver`.
  void Receive(const std::function<void(const WireMessage&)>& deliver);

  // Replaces this process's published table; false when not attached.
  bool Publish(const std::string& tableBytes);
  // The current runtime folder, or empty when unusable; checked again only when
  // XDG_RUNTIME_DIR changes.
  std::string Folder();
  // True when `pid` holds its presence lock; leftovers of a dead process are removed.
  bool IsAlive(pid_t pid);
  // Every other live process with a presence in the runtime folder.
  std::vector<pid_t> OtherLiveProcesses();

 private:
  ProcessLink() = default;
  void DetachLocked();
  int SenderSocket();

  std::mutex m_mutex;
  bool m_folderResolved = false;
  std::string m_folderKey;       // the XDG_RUNTIME_DIR value the folder was resolved for
  std::string m_folder;          // resolved runtime folder
  std::string m_attachedFolder;  // where this process's files live, empty when detached
  pid_t m_attachedPid = 0;
  std::atomic<uid_t> m_userId{0};  // whose datagrams the socket accepts
  int m_lockFd = -1;
  std::atomic<int> m_socketFd{-1};
  std::atomic<std::uint64_t> m_generation{0};
  std::atomic<std::thread::id> m_readerThread{};
  std::atomic<int> m_senderFd{-1};
};

}  // namespace platform
