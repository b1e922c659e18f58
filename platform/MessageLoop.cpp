#include "platform/MessageIds.h"
#include "platform/MessageQueue.h"
#include "platform/Window.h"
#include "platform/WindowTable.h"

namespace platform {

namespace {

MessageQueue& ThisQueue() { return *MessageQueue::ForThisThread(); }

// Keeps the modal frame stack right even when a window procedure throws.
class ModalFrameScope {
 public:
  ModalFrameScope(MessageQueue& queue, MessageQueue::ModalFrame& frame) : m_queue(queue) {
    m_queue.ModalFrames().push_back(&frame);
  }
  ~ModalFrameScope() { m_queue.ModalFrames().pop_back(); }
  ModalFrameScope(const ModalFrameScope&) = delete;
  ModalFrameScope& operator=(const ModalFrameScope&) = delete;

 private:
  MessageQueue& m_queue;
};

}  // namespace

bool StartTimer(WindowHandle window, std::uint64_t id, std::uint32_t periodMs) {
  const std::shared_ptr<MessageQueue> queue = WindowTable::Instance().QueueOf(window);
  if (queue == nullptr) return false;
  queue->StartTimer(window, id, periodMs);
  return true;
}

bool StopTimer(WindowHandle window, std::uint64_t id) {
  const std::shared_ptr<MessageQueue> queue = WindowTable::Instance().QueueOf(window);
  return queue != nullptr && queue->StopTimer(window, id);
}

bool NextMessage(Message& out) {
  ThisQueue().Fetch(out, true, true);
  return out.message != WM_QUIT;
}

bool PeekNextMessage(Message& out, bool remove) { return ThisQueue().Fetch(out, remove, false); }

LParam Dispatch(const Message& message) {
  Window* window = WindowFromHandle(message.window);
  const std::shared_ptr<MessageQueue> queue = WindowTable::Instance().QueueOf(message.window);
  if (window == nullptr || queue == nullptr || !queue->IsOwnedByCaller()) return 0;
  return window->WindowProc(message.message, message.wParam, message.lParam);
}

int RunMessageLoop() {
  Message message{};
  while (NextMessage(message)) Dispatch(message);
  return static_cast<int>(message.wParam);
}

void QuitMessageLoop(int exitCode) { ThisQueue().RequestQuit(exitCode); }

int RunModalLoop(Window& window) {
  const WindowHandle handle = window.Handle();
  if (handle == 0) return -1;
  MessageQueue& queue = ThisQueue();
  MessageQueue::ModalFrame frame;
  ModalFrameScope scope(queue, frame);
  while (!frame.ended) {
    if (WindowFromHandle(handle) != &window) return -1;
    Message message{};
    if (!NextMessage(message)) {
      // The quit belongs to the outer loop: ask again so that it sees it too.
      QuitMessageLoop(static_cast<int>(message.wParam));
      return -1;
    }
    Dispatch(message);
  }
  return frame.code;
}

void EndModalLoop(int code) {
  std::vector<MessageQueue::ModalFrame*>& frames = ThisQueue().ModalFrames();
  if (frames.empty()) return;
  frames.back()->ended = true;
  frames.back()->code = code;
}

}  // namespace platform
