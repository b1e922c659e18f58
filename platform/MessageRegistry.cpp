#include "platform/MessageRegistry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/MessageIds.h"
#include "platform/ProcessLink.h"
#include "platform/Text.h"

namespace platform {

namespace {

constexpr std::size_t kCapacity = kLastRegisteredMessage - kFirstRegisteredMessage + 1;

std::string ReadAll(int fd) {
  std::string bytes;
  char buffer[4096];
  for (off_t offset = 0;;) {
    const ssize_t n = pread(fd, buffer, sizeof buffer, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
    offset += n;
  }
  return bytes;
}

bool WriteAllAt(int fd, const std::string& bytes, off_t offset) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = pwrite(fd, bytes.data() + written, bytes.size() - written,
                             offset + static_cast<off_t>(written));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::vector<std::string_view> SplitRegisteredNames(std::string_view bytes) {
  std::vector<std::string_view> names;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    names.push_back(bytes.substr(0, end));
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
  }
  return names;
}

MessageRegistry& MessageRegistry::Instance() {
  static MessageRegistry registry;
  return registry;
}

std::uint32_t MessageRegistry::NumberFromCache(std::string_view name) const {
  for (std::size_t i = 0; i < m_names.size() && i < kCapacity; ++i) {
    if (EqualsNoCase(m_names[i], name)) {
      return kFirstRegisteredMessage + static_cast<std::uint32_t>(i);
    }
  }
  return 0;
}

std::uint32_t MessageRegistry::Register(std::u16string_view name) {
  const std::string utf8 = Utf16ToUtf8(name);
  if (utf8.empty() || utf8.find_first_of(std::string("\n\r\0", 3)) != std::string::npos) {
    return 0;
  }
  const std::string folder = ProcessLink::Instance().Folder();
  if (folder.empty()) return 0;

  std::lock_guard lock(m_mutex);
  if (folder != m_folder) {
    m_names.clear();
    m_folder = folder;
  }
  if (const std::uint32_t cached = NumberFromCache(utf8)) return cached;

  const std::string path = folder + "RegisteredMessages";
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return 0;
  std::uint32_t number = 0;
  if (flock(fd, LOCK_EX) == 0) {
    const std::string bytes = ReadAll(fd);
    m_names.clear();
    for (const std::string_view line : SplitRegisteredNames(bytes)) m_names.emplace_back(line);
    number = NumberFromCache(utf8);
    if (number == 0 && m_names.size() < kCapacity) {
      const bool terminated = bytes.empty() || bytes.back() == '\n';
      const std::string line = (terminated ? "" : "\n") + utf8 + "\n";
      if (WriteAllAt(fd, line, static_cast<off_t>(bytes.size()))) {
        number = kFirstRegisteredMessage + static_cast<std::uint32_t>(m_names.size());
        m_names.push_back(utf8);
      }
    }
    flock(fd, LOCK_UN);
  }
  close(fd);
  return number;
}

}  // namespace platform
