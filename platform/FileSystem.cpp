#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Text.h"

namespace platform {
namespace {

bool Exists(const std::string& path) {
  struct stat st{};
  return lstat(path.c_str(), &st) == 0;
}

// Finds an entry of `folder` whose name equals `name` without regard to case.
std::optional<std::string> MatchInFolder(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = readdir(dir)) {
    if (EqualsNoCase(std::string_view(entry->d_name), name)) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

}  // namespace

std::string ResolvePathNoCase(const std::string& path) {
  if (path.empty() || Exists(path)) return path;
  std::string resolved;
  size_t pos = 0;
  if (path[0] == '/') {
    resolved = "/";
    pos = 1;
  }
  while (pos <= path.size()) {
    size_t next = path.find('/', pos);
    if (next == std::string::npos) next = path.size();
    const std::string component = path.substr(pos, next - pos);
    if (!component.empty()) {
      std::string candidate = resolved + component;
      if (!Exists(candidate)) {
        const auto match = MatchInFolder(resolved, component);
        if (!match) return path;
        candidate = resolved + *match;
      }
      resolved = candidate;
    }
    if (next < path.size()) resolved += '/';
    pos = next + 1;
  }
  return resolved;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  const std::string resolved = ResolvePathNoCase(path);
  const int fd = open(resolved.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string data;
  struct stat st{};
  if (fstat(fd, &st) == 0 && st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return data;
}

}  // namespace platform
