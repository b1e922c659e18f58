#pragma once

#include <sys/types.h>

#include <string>

namespace platform {

// The per-user runtime folder shared by this user's processes:
// "$XDG_RUNTIME_DIR/Tolvane PV37/" (ends with '/'), or "/tmp/Tolvane PV37-<uid>/" when
// XDG_RUNTIME_DIR is unset. Created with mode 0700. Empty, with the reason on stderr,
// when the folder is not owned by the user or is open to others.
std::string RuntimeFolder();

struct RuntimeFolderResult {
  std::string path;   // empty on failure
  std::string error;  // empty on success
};

// The same check, returning the error text instead of printing it; `userId` is the
// owner the folder must have (tests pass another uid to see a foreign folder refused).
RuntimeFolderResult CheckRuntimeFolder(uid_t userId);

}  // namespace platform
