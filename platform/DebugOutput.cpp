#include "platform/DebugOutput.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>

namespace platform {
namespace {

std::atomic<int> g_state{-1};  // -1 = not read yet

}  // namespace

bool DebugOutputEnabled() {
  int state = g_state.load(std::memory_order_relaxed);
  if (state < 0) {
    const char* value = std::getenv("PV37_DEBUG");
    state = (value && *value && std::strcmp(value, "0") != 0) ? 1 : 0;
    g_state.store(state, std::memory_order_relaxed);
  }
  return state == 1;
}

void SetDebugOutput(bool enabled) { g_state.store(enabled ? 1 : 0, std::memory_order_relaxed); }

void DebugTrace(const char* format, ...) {
  if (!DebugOutputEnabled()) return;
  // One write per trace so traces from the HID thread and the window thread never interleave.
  char buffer[2048];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n > 0) std::fwrite(buffer, 1, std::min<size_t>(static_cast<size_t>(n), sizeof buffer - 1), stderr);
}

}  // namespace platform
