#pragma once

#include <string>

namespace tarnwick {

struct ControlAnswer {
  bool reached = false;  // false when no virtual keyboard program answers at the path
  bool ok = false;
  std::string text;
};

// Sends one command line to a running virtual keyboard program and waits for its answer.
ControlAnswer SendVirtualKeyboardCommand(const std::string& socketPath,
                                         const std::string& commandLine);

}  // namespace tarnwick
