#include "platform/ProcessLink.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/DebugOutput.h"
#include "platform/RuntimeFolder.h"
#include "platform/Window.h"

namespace platform {

namespace {

constexpr int kDatagramsPerCall = 16;
constexpr int kMaxDatagramsPerWake = 64;
// The kernel keeps only a few datagrams (net.unix.max_dgram_qlen, often 10) for a
// receiver that is busy in a handler; a sender waits this long for room before the
// message is given up, so a burst is not lost but a hung receiver cannot hold us forever.
constexpr timeval kSendPatience{2, 0};

std::string PidFile(const std::string& folder, pid_t pid, const char* suffix) {
  return folder + std::to_string(pid) + suffix;
}

void RemoveLeftovers(const std::string& folder, pid_t pid) {
  unlink(PidFile(folder, pid, ".windows").c_str());
  unlink(PidFile(folder, pid, ".sock").c_str());
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

bool SameFile(int fd, const std::string& path) {
  struct stat opened {
  }, named{};
  return fstat(fd, &opened) == 0 && lstat(path.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// The presence lock may be removed by a reader that took it for a dead process's
// leftover (same pid, earlier life) between our open and our flock; lock until the
// file we hold is the one under the name.
int TakePresenceLock(const std::string& path) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX) == 0 && SameFile(fd, path)) return fd;
    close(fd);
  }
  return -1;
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  const int fd =
      open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const bool complete = close(fd) == 0 && written == bytes.size();
  if (!complete || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

void DetachAtExit() { ProcessLink::Instance().Detach(); }

std::atomic<pid_t> g_processId{0};

void ForgetProcessId() { g_processId.store(0, std::memory_order_relaxed); }

}  // namespace

pid_t ProcessLink::ProcessId() {
  pid_t pid = g_processId.load(std::memory_order_relaxed);
  if (pid == 0) {
    static const bool forgetInChild = pthread_atfork(nullptr, nullptr, ForgetProcessId) == 0;
    pid = getpid();
    if (forgetInChild) g_processId.store(pid, std::memory_order_relaxed);
  }
  return pid;
}

ProcessLink& ProcessLink::Instance() {
  // Never freed: threads may still post while the process exits. Its files are removed
  // at exit so other processes stop finding its windows at once.
  static ProcessLink* const instance = [] {
    auto* link = new ProcessLink();
    std::atexit(DetachAtExit);
    return link;
  }();
  return *instance;
}

void ProcessLink::Detach() {
  std::lock_guard lock(m_mutex);
  DetachLocked();
}

std::string ProcessLink::Folder() {
  const char* value = std::getenv("XDG_RUNTIME_DIR");
  // A value no environment variable can hold marks "unset", so unsetting is a change.
  const std::string key = value != nullptr ? value : std::string(1, '\0');
  std::lock_guard lock(m_mutex);
  if (!m_folderResolved || key != m_folderKey) {
    m_folder = RuntimeFolder();
    m_folderKey = key;
    m_folderResolved = true;
  }
  return m_folder;
}

bool ProcessLink::Attach() {
  const std::string folder = Folder();
  std::lock_guard lock(m_mutex);
  const pid_t pid = ProcessId();
  if (!folder.empty() && folder == m_attachedFolder && pid == m_attachedPid) return true;
  DetachLocked();
  if (folder.empty()) return false;

  const int lockFd = TakePresenceLock(PidFile(folder, pid, ".lock"));
  if (lockFd < 0) return false;
  const std::string socketPath = PidFile(folder, pid, ".sock");
  sockaddr_un address;
  const int socketFd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int on = 1;
  // An earlier process with our id may have left its table and socket behind.
  RemoveLeftovers(folder, pid);
  if (socketFd < 0 || !FillAddress(socketPath, address) ||
      setsockopt(socketFd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0 ||
      bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    DebugTrace("platform: cannot bind %s: %s\n", socketPath.c_str(), std::strerror(errno));
    if (socketFd >= 0) close(socketFd);
    unlink(PidFile(folder, pid, ".lock").c_str());
    close(lockFd);
    return false;
  }
  m_lockFd = lockFd;
  m_userId = getuid();
  m_socketFd = socketFd;
  m_attachedFolder = folder;
  m_attachedPid = pid;
  m_readerThread = std::this_thread::get_id();
  ++m_generation;
  return true;
}

void ProcessLink::DetachLocked() {
  const int socketFd = m_socketFd.exchange(-1);
  if (socketFd >= 0) close(socketFd);
  if (m_lockFd >= 0) {
    // A forked child shares the parent's lock and files; only their owner removes them.
    if (m_attachedPid == ProcessId()) {
      RemoveLeftovers(m_attachedFolder, m_attachedPid);
      unlink(PidFile(m_attachedFolder, m_attachedPid, ".lock").c_str());
    }
    close(m_lockFd);
    m_lockFd = -1;
  }
  m_attachedFolder.clear();
  m_attachedPid = 0;
  ++m_generation;
}

int ProcessLink::SenderSocket() {
  int fd = m_senderFd.load();
  if (fd >= 0) return fd;
  const int created = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (created < 0) return -1;
  setsockopt(created, SOL_SOCKET, SO_SNDTIMEO, &kSendPatience, sizeof kSendPatience);
  if (m_senderFd.compare_exchange_strong(fd, created)) return created;
  close(created);
  return fd;
}

bool ProcessLink::SendTo(pid_t pid, const WireMessage& message) {
  const std::string folder = Folder();
  sockaddr_un address;
  if (folder.empty() || !FillAddress(PidFile(folder, pid, ".sock"), address)) return false;
  const int fd = SenderSocket();
  if (fd < 0) return false;
  ssize_t sent;
  do {
    sent = sendto(fd, &message, sizeof message, MSG_NOSIGNAL,
                  reinterpret_cast<const sockaddr*>(&address), sizeof address);
  } while (sent < 0 && errno == EINTR);
  if (sent < 0 && errno == EAGAIN) {
    DebugTrace("platform: process %d did not take a message in time; dropped\n", pid);
  }
  return sent == static_cast<ssize_t>(sizeof message);
}

void ProcessLink::Receive(const std::function<void(const WireMessage&)>& deliver) {
  const int fd = m_socketFd.load();
  if (fd < 0) return;
  const uid_t userId = m_userId.load();
  const std::uint64_t ownPid = static_cast<std::uint64_t>(ProcessId());
  // One call takes a whole burst, and a lone datagram costs no extra call to find the
  // socket empty.
  struct Slot {
    alignas(WireMessage) char buffer[sizeof(WireMessage) * 2];
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
    iovec part;
  };
  Slot slots[kDatagramsPerCall];
  mmsghdr headers[kDatagramsPerCall];
  for (int taken = 0; taken < kMaxDatagramsPerWake;) {
    for (int i = 0; i < kDatagramsPerCall; ++i) {
      slots[i].part = iovec{slots[i].buffer, sizeof slots[i].buffer};
      headers[i] = mmsghdr{};
      headers[i].msg_hdr.msg_iov = &slots[i].part;
      headers[i].msg_hdr.msg_iovlen = 1;
      headers[i].msg_hdr.msg_control = slots[i].control;
      headers[i].msg_hdr.msg_controllen = sizeof slots[i].control;
    }
    const int count = recvmmsg(fd, headers, kDatagramsPerCall,
                               MSG_DONTWAIT | MSG_TRUNC | MSG_CMSG_CLOEXEC, nullptr);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return;
    taken += count;
    for (int i = 0; i < count; ++i) {
      msghdr& header = headers[i].msg_hdr;
      const ucred* sender = nullptr;
      for (cmsghdr* c = CMSG_FIRSTHDR(&header); c != nullptr; c = CMSG_NXTHDR(&header, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS &&
            c->cmsg_len == CMSG_LEN(sizeof(ucred))) {
          sender = reinterpret_cast<const ucred*>(CMSG_DATA(c));
        }
      }
      if (sender == nullptr || sender->uid != userId) {
        DebugTrace("platform: dropped a datagram from another user\n");
        continue;
      }
      // With MSG_TRUNC the length is the datagram's own, so an oversized one is refused.
      const std::optional<WireMessage> message = DecodeWireMessage(
          slots[i].buffer,
          (header.msg_flags & MSG_TRUNC) != 0 ? sizeof slots[i].buffer + 1 : headers[i].msg_len);
      if (!message || (message->window != kBroadcast && message->window >> 32 != ownPid)) {
        DebugTrace("platform: dropped a malformed datagram\n");
        continue;
      }
      deliver(*message);
    }
    if (count < kDatagramsPerCall) return;
  }
}

bool ProcessLink::Publish(const std::string& tableBytes) {
  std::lock_guard lock(m_mutex);
  if (m_attachedFolder.empty() || m_attachedPid != ProcessId()) return false;
  return WriteFileReplacing(PidFile(m_attachedFolder, m_attachedPid, ".windows"), tableBytes);
}

bool ProcessLink::IsAlive(pid_t pid) {
  const std::string folder = Folder();
  if (folder.empty()) return false;
  const std::string lockPath = PidFile(folder, pid, ".lock");
  const int fd = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) {
    if (errno == ENOENT) RemoveLeftovers(folder, pid);
    return false;
  }
  if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
    close(fd);
    return true;
  }
  // Nobody holds it: the process is gone. Remove its files while holding the lock, so a
  // new process with the same id cannot be mistaken for it.
  if (SameFile(fd, lockPath)) {
    RemoveLeftovers(folder, pid);
    unlink(lockPath.c_str());
  }
  close(fd);
  return false;
}

std::vector<pid_t> ProcessLink::OtherLiveProcesses() {
  std::vector<pid_t> processes;
  const std::string folder = Folder();
  if (folder.empty()) return processes;
  DIR* directory = opendir(folder.c_str());
  if (directory == nullptr) return processes;
  const pid_t ownPid = ProcessId();
  std::vector<pid_t> candidates;
  while (const dirent* entry = readdir(directory)) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(entry->d_name, &end, 10);
    if (errno == 0 && end != entry->d_name && std::strcmp(end, ".lock") == 0 && value > 0 &&
        value <= 0x7FFFFFFF && value != ownPid && entry->d_name[0] != '+' &&
        entry->d_name[0] != '-' && entry->d_name[0] != ' ') {
      candidates.push_back(static_cast<pid_t>(value));
    }
  }
  closedir(directory);
  for (const pid_t pid : candidates) {
    if (IsAlive(pid)) processes.push_back(pid);
  }
  return processes;
}

}  // namespace platform
