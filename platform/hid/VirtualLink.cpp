#include "platform/hid/VirtualLink.h"

#include "platform/RuntimeFolder.h"

namespace tarnwick {

std::string VirtualKeyboardSocketPath() {
  const std::string folder = platform::RuntimeFolder();
  return folder.empty() ? std::string() : folder + "virtual-keyboard";
}

}  // namespace tarnwick
