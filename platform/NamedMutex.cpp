#include "platform/NamedMutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <utility>

#include "platform/RuntimeFolder.h"

namespace platform {

namespace {

// The name becomes a file name, so it must stay inside the runtime folder.
bool IsUsableName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

}  // namespace

NamedMutex::NamedMutex(std::string name) : m_name(std::move(name)) {}

NamedMutex::~NamedMutex() { Release(); }

bool NamedMutex::TryAcquire() {
  if (m_fd >= 0) return true;
  if (!IsUsableName(m_name)) return false;
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return false;
  // The lock file is never removed: removing it would let a later holder lock a new
  // file while an earlier one still holds the old, unlinked one.
  const std::string path = folder + m_name + ".mutex";
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  m_fd = fd;
  return true;
}

void NamedMutex::Release() {
  if (m_fd < 0) return;
  flock(m_fd, LOCK_UN);
  close(m_fd);
  m_fd = -1;
}

}  // namespace platform
