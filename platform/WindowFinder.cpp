#include <climits>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/ProcessLink.h"
#include "platform/PublishedWindows.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/WindowTable.h"

namespace platform {

namespace {

// Searches one live process's published table. Entries that name a window of another
// process are not believed.
WindowHandle FindPublished(pid_t pid, WindowHandle parent, std::u16string_view title) {
  const std::string folder = ProcessLink::Instance().Folder();
  if (folder.empty()) return 0;
  const std::optional<std::string> bytes = ReadWholeFile(folder + std::to_string(pid) + ".windows");
  if (!bytes) return 0;
  const auto windows = ParsePublishedWindows(*bytes);
  if (!windows) return 0;
  for (const PublishedWindow& window : *windows) {
    if (window.handle >> 32 == static_cast<std::uint64_t>(pid) && window.parent == parent &&
        EqualsNoCase(window.title, title)) {
      return window.handle;
    }
  }
  return 0;
}

}  // namespace

WindowHandle FindTopLevelWindow(std::u16string_view title) {
  if (title.empty()) return 0;
  if (const WindowHandle own = WindowTable::Instance().FindByTitle(0, title)) return own;
  for (const pid_t pid : ProcessLink::Instance().OtherLiveProcesses()) {
    if (const WindowHandle found = FindPublished(pid, 0, title)) return found;
  }
  return 0;
}

WindowHandle FindChildWindow(WindowHandle parent, std::u16string_view title) {
  if (parent == 0 || title.empty()) return 0;
  const std::uint64_t pid = parent >> 32;
  if (pid == static_cast<std::uint64_t>(ProcessLink::ProcessId())) {
    return WindowTable::Instance().FindByTitle(parent, title);
  }
  if (pid == 0 || pid > INT_MAX || !ProcessLink::Instance().IsAlive(static_cast<pid_t>(pid))) {
    return 0;
  }
  return FindPublished(static_cast<pid_t>(pid), parent, title);
}

}  // namespace platform
