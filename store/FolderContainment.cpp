#include "store/FolderContainment.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

namespace {

std::string Resolved(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

bool IsWithin(const std::string& root, const std::string& path) {
  return !root.empty() && !path.empty() &&
         (path == root ||
          (path.starts_with(root) && (root.back() == '/' || path[root.size()] == '/')));
}

}  // namespace

bool LiesInsideFolder(const std::string& folder, const std::string& path) {
  const std::string root = Resolved(folder);
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) return IsWithin(root, Resolved(path));
  const std::size_t slash = path.find_last_of('/');
  const std::string parent = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  const std::string resolvedParent = Resolved(parent);
  // A missing folder on the way is no escape: the file cannot be created there.
  return resolvedParent.empty() || IsWithin(root, resolvedParent);
}
