#include "platform/Window.h"

#include "platform/MessageIds.h"
#include "platform/MessageQueue.h"
#include "platform/ProcessLink.h"
#include "platform/WindowTable.h"

namespace platform {

namespace {

bool BelongsToCallingThread(WindowHandle handle) {
  const std::shared_ptr<MessageQueue> queue = WindowTable::Instance().QueueOf(handle);
  return queue != nullptr && queue->IsOwnedByCaller();
}

}  // namespace

Window::Window() = default;

Window::~Window() { Destroy(); }

bool Window::Create(std::u16string_view title, const Rect& rect, WindowHandle parent,
                    WindowHandle owner) {
  if (m_handle != 0) return false;
  if (parent != 0 && !BelongsToCallingThread(parent)) return false;
  // Without a usable runtime folder the window still works inside this process; the
  // reason has been reported on stderr.
  ProcessLink::Instance().Attach();
  m_parent = parent;
  m_owner = parent != 0 ? 0 : owner;
  m_title = title;
  m_rect = rect;
  m_visible = false;
  m_enabled = true;
  m_handle = WindowTable::Instance().Add(*this, m_parent, m_owner, m_title);
  if (WindowProc(WM_CREATE, 0, 0) == -1) {
    Destroy();
    return false;
  }
  return true;
}

void Window::Destroy() {
  if (m_handle == 0 || m_destroying) return;
  m_destroying = true;
  const WindowHandle handle = m_handle;
  WindowTable& table = WindowTable::Instance();
  WindowProc(WM_DESTROY, 0, 0);
  for (const auto& dependents : {table.ChildrenOf(handle), table.OwnedBy(handle)}) {
    for (const WindowHandle dependent : dependents) {
      Window* window = table.Find(dependent);
      if (window != nullptr && BelongsToCallingThread(dependent)) window->Destroy();
    }
  }
  table.Remove(handle);
  m_handle = 0;
  m_destroying = false;
}

WindowHandle Window::Handle() const { return m_handle; }
WindowHandle Window::Parent() const { return m_parent; }
WindowHandle Window::Owner() const { return m_owner; }

std::vector<WindowHandle> Window::Children() const {
  return m_handle != 0 ? WindowTable::Instance().ChildrenOf(m_handle) : std::vector<WindowHandle>{};
}

std::u16string Window::Title() const { return m_title; }

void Window::SetTitle(std::u16string_view title) {
  m_title = title;
  if (m_handle != 0) WindowTable::Instance().SetTitle(m_handle, m_title);
}

Rect Window::WindowRect() const { return m_rect; }
void Window::SetWindowRect(const Rect& rect) { m_rect = rect; }
bool Window::IsVisible() const { return m_visible; }
void Window::SetVisible(bool visible) { m_visible = visible; }
bool Window::IsEnabled() const { return m_enabled; }
void Window::SetEnabled(bool enabled) { m_enabled = enabled; }

LParam Window::WindowProc(std::uint32_t message, WParam, LParam) {
  if (message == WM_CLOSE) Destroy();
  return 0;
}

Window* WindowFromHandle(WindowHandle handle) { return WindowTable::Instance().Find(handle); }

}  // namespace platform
