#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Handles are unique across processes: the owning process id in the high 32 bits and a
// per-process serial in the low 32 bits. 0 means "no window".
using WindowHandle = std::uint64_t;
using WParam = std::uint64_t;
using LParam = std::int64_t;

// Posting to this handle reaches every top-level window of every live process.
inline constexpr WindowHandle kBroadcast = 0xFFFF;

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

struct Message {
  WindowHandle window;
  std::uint32_t message;
  WParam wParam;
  LParam lParam;
  std::uint32_t time;
};

// A window; derive and override WindowProc. A window belongs to the thread that created
// it: its messages are queued on that thread's queue and it must be destroyed there.
class Window {
 public:
  Window();
  virtual ~Window();  // destroys the window if it still exists
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Creates the window on the calling thread and, when it has a title, publishes it so
  // other processes can find it. A child names its parent; a top-level window may name
  // an owner. False when it already exists or the parent is not a window of this thread.
  bool Create(std::u16string_view title, const Rect& rect, WindowHandle parent = 0,
              WindowHandle owner = 0);
  // Sends WM_DESTROY to the window, then destroys its children and the windows it owns
  // (those of this thread), unpublishes it and drops its timers and queued messages. Safe
  // to call from its own WindowProc. The destructor can only reach the base WindowProc, so
  // a derived window that handles WM_DESTROY calls Destroy in its own destructor.
  void Destroy();

  WindowHandle Handle() const;
  WindowHandle Parent() const;
  WindowHandle Owner() const;
  std::vector<WindowHandle> Children() const;

  std::u16string Title() const;
  void SetTitle(std::u16string_view title);

  Rect WindowRect() const;  // in the parent's coordinates (screen for top-level windows)
  void SetWindowRect(const Rect& rect);
  bool IsVisible() const;
  void SetVisible(bool visible);
  bool IsEnabled() const;
  void SetEnabled(bool enabled);

  // The window procedure; the base does the default processing (WM_CLOSE destroys the
  // window, everything else returns 0).
  virtual LParam WindowProc(std::uint32_t message, WParam wParam, LParam lParam);

 private:
  WindowHandle m_handle = 0;
  WindowHandle m_parent = 0;
  WindowHandle m_owner = 0;
  std::u16string m_title;
  Rect m_rect;
  bool m_visible = false;
  bool m_enabled = true;
  bool m_destroying = false;
};

// The window object behind a handle of this process; null for other processes or
// destroyed windows.
Window* WindowFromHandle(WindowHandle handle);

// Queues a message for a window of any thread of any process. kBroadcast reaches every
// top-level window of every live process, this one included. False when no such window;
// for another process, true once the message reached it (a handle it does not have is
// dropped there). Waits a little for room when that process is slow to read, and gives
// the message up after a bounded time rather than hang.
bool PostToWindow(WindowHandle target, std::uint32_t message, WParam wParam, LParam lParam);
// Calls the window procedure of a window of the calling thread and returns its result;
// 0 when the window does not exist or belongs to another thread.
LParam SendToWindow(WindowHandle target, std::uint32_t message, WParam wParam, LParam lParam);

// Looks the title up in the windows published by every live process (this one included).
WindowHandle FindTopLevelWindow(std::u16string_view title);
WindowHandle FindChildWindow(WindowHandle parent, std::u16string_view title);

// The same name gives the same number (0xC000 and up) in every process of the user;
// 0 when the name is empty or the table cannot be reached.
std::uint32_t RegisterMessageName(std::u16string_view name);

// Timers live in the creating thread's queue and become WM_TIMER (wParam = id) when
// fetched. Starting one with an existing window+id replaces it.
bool StartTimer(WindowHandle window, std::uint64_t id, std::uint32_t periodMs);
bool StopTimer(WindowHandle window, std::uint64_t id);

// Fetches the next message of the calling thread's queue, waiting for one; sent messages
// are served first. False when WM_QUIT was fetched.
bool NextMessage(Message& out);
// Like NextMessage but returns false at once when nothing is ready.
bool PeekNextMessage(Message& out, bool remove);
LParam Dispatch(const Message& message);

// Fetches and dispatches until QuitMessageLoop; returns its code.
int RunMessageLoop();
void QuitMessageLoop(int exitCode);

// A nested loop on the calling thread that runs while `window` exists, until
// EndModalLoop is called; returns the code given to EndModalLoop (or -1 when the window
// was destroyed). A quit request ends the modal loop and is passed on to the outer one.
int RunModalLoop(Window& window);
void EndModalLoop(int code);

}  // namespace platform
