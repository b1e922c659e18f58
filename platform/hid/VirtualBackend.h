#pragma once

#include "platform/hid/HidBackend.h"
#include "platform/hid/VirtualKeyboard.h"

namespace tarnwick {

// Reaches a virtual keyboard that lives in this process.
class VirtualBackend : public HidBackend {
 public:
  explicit VirtualBackend(VirtualKeyboard& keyboard);

  bool Start(HidBackendListener& listener) override;
  void Stop() override;
  WriteResult Write(std::uint32_t deviceId, std::span<const std::uint8_t> report) override;

 private:
  VirtualKeyboard& m_keyboard;
};

}  // namespace tarnwick
