#include "platform/hid/VirtualBackend.h"

namespace tarnwick {

VirtualBackend::VirtualBackend(VirtualKeyboard& keyboard) : m_keyboard(keyboard) {}

bool VirtualBackend::Start(HidBackendListener& listener) {
  m_keyboard.Attach(&listener);
  if (m_keyboard.IsPlugged()) {
    for (const HidInterfaceInfo& info : VirtualKeyboard::Interfaces()) {
      if (listener.Wants(info)) listener.InterfaceOpened(info);
    }
  }
  return true;
}

void VirtualBackend::Stop() { m_keyboard.Attach(nullptr); }

WriteResult VirtualBackend::Write(std::uint32_t deviceId, std::span<const std::uint8_t> report) {
  return m_keyboard.Receive(deviceId, report);
}

}  // namespace tarnwick
