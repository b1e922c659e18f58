#include <climits>

#include "platform/Clock.h"
#include "platform/MessageQueue.h"
#include "platform/MessageRegistry.h"
#include "platform/ProcessLink.h"
#include "platform/Window.h"
#include "platform/WindowTable.h"

namespace platform {

bool PostToWindow(WindowHandle target, std::uint32_t message, WParam wParam, LParam lParam) {
  if (target == 0) return false;
  WindowTable& table = WindowTable::Instance();
  const Message local{target, message, wParam, lParam, TickCount()};
  if (target == kBroadcast) {
    bool reached = table.PostLocal(local);
    ProcessLink& link = ProcessLink::Instance();
    const WireMessage wire = EncodeWireMessage(kBroadcast, message, wParam, lParam);
    for (const pid_t pid : link.OtherLiveProcesses()) reached = link.SendTo(pid, wire) || reached;
    return reached;
  }
  const std::uint64_t pid = target >> 32;
  if (pid == static_cast<std::uint64_t>(ProcessLink::ProcessId())) return table.PostLocal(local);
  if (pid == 0 || pid > INT_MAX) return false;
  return ProcessLink::Instance().SendTo(static_cast<pid_t>(pid),
                                        EncodeWireMessage(target, message, wParam, lParam));
}

LParam SendToWindow(WindowHandle target, std::uint32_t message, WParam wParam, LParam lParam) {
  WindowTable& table = WindowTable::Instance();
  Window* window = table.Find(target);
  const std::shared_ptr<MessageQueue> queue = table.QueueOf(target);
  if (window == nullptr || queue == nullptr || !queue->IsOwnedByCaller()) return 0;
  return window->WindowProc(message, wParam, lParam);
}

std::uint32_t RegisterMessageName(std::u16string_view name) {
  return MessageRegistry::Instance().Register(name);
}

}  // namespace platform
