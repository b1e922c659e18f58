#pragma once

#include <string>

namespace platform {

// A mutex shared by this user's processes: a lock file in the runtime folder held with
// flock. The first holder wins; the kernel releases it when the holder exits or crashes.
class NamedMutex {
 public:
  explicit NamedMutex(std::string name);
  ~NamedMutex();  // releases it when held
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  // Takes the mutex without waiting; false when another holder has it or the runtime
  // folder is unusable. True again when already held by this object.
  bool TryAcquire();
  void Release();
  bool IsHeld() const { return m_fd >= 0; }

 private:
  std::string m_name;
  int m_fd = -1;
};

}  // namespace platform
