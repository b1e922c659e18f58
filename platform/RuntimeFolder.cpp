#include "platform/RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

std::string RuntimeFolderPath(uid_t userId) {
  const char* base = std::getenv("XDG_RUNTIME_DIR");
  if (base != nullptr && base[0] == '/') {
    std::string path = base;
    if (path.back() != '/') path += '/';
    return path + "Tolvane PV37/";
  }
  return "/tmp/Tolvane PV37-" + std::to_string(userId) + "/";
}

}  // namespace

RuntimeFolderResult CheckRuntimeFolder(uid_t userId) {
  const std::string path = RuntimeFolderPath(userId);
  const std::string quoted = "runtime folder \"" + path + "\"";
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    return {"", "cannot create the " + quoted + ": " + std::strerror(errno)};
  }
  // lstat, not stat, and without the trailing '/' that would follow a link: a link
  // planted in a shared folder must not lead us elsewhere.
  const std::string name = path.substr(0, path.size() - 1);
  struct stat info {};
  if (lstat(name.c_str(), &info) != 0) {
    return {"", "cannot examine the " + quoted + ": " + std::strerror(errno)};
  }
  if (!S_ISDIR(info.st_mode)) {
    return {"", "the " + quoted + " is not a folder; refusing to use it"};
  }
  if (info.st_uid != userId) {
    return {"", "the " + quoted + " belongs to user " + std::to_string(info.st_uid) +
                    ", not to this user (" + std::to_string(userId) + "); refusing to use it"};
  }
  if ((info.st_mode & 077) != 0) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    return {"",
            "the " + quoted + " is open to other users (mode " + mode + "); refusing to use it"};
  }
  return {path, ""};
}

std::string RuntimeFolder() {
  RuntimeFolderResult result = CheckRuntimeFolder(getuid());
  if (!result.error.empty()) std::fprintf(stderr, "pv37: %s\n", result.error.c_str());
  return result.path;
}

}  // namespace platform
