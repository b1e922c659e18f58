#include "platform/Folders.h"

#include <dlfcn.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace platform {
namespace {

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string FolderOf(const std::string& file) {
  const auto slash = file.rfind('/');
  return slash == std::string::npos ? std::string("./") : file.substr(0, slash + 1);
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return {};
}

}  // namespace

bool EnsureFolder(const std::string& path) {
  struct stat st{};
  for (size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos != path.size() && path[pos] != '/') continue;
    const std::string prefix = path.substr(0, pos);
    if (stat(prefix.c_str(), &st) == 0) continue;
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string AppDataFolder() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else {
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    base = WithSlash(home) + ".config";
  }
  base = WithSlash(base);
  EnsureFolder(base);
  return base;
}

std::string ModuleFolder(const void* address) {
  if (address) {
    Dl_info info{};
    if (dladdr(address, &info) && info.dli_fname && *info.dli_fname) {
      char resolved[PATH_MAX];
      if (realpath(info.dli_fname, resolved)) return FolderOf(resolved);
    }
  }
  char exe[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return "./";
  return FolderOf(std::string(exe, static_cast<size_t>(n)));
}

}  // namespace platform
