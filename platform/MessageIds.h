#pragma once

#include <cstdint>

// The standard window message numbers, styles and codes, with the numeric values the
// system's tables and other programs rely on.

namespace platform {

inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_CREATE = 0x0001;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_MOVE = 0x0003;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_ENABLE = 0x000A;
inline constexpr std::uint32_t WM_SETREDRAW = 0x000B;
inline constexpr std::uint32_t WM_SETTEXT = 0x000C;
inline constexpr std::uint32_t WM_GETTEXT = 0x000D;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr std::uint32_t WM_SETCURSOR = 0x0020;
inline constexpr std::uint32_t WM_MOUSEACTIVATE = 0x0021;
inline constexpr std::uint32_t WM_DRAWITEM = 0x002B;
inline constexpr std::uint32_t WM_MEASUREITEM = 0x002C;
inline constexpr std::uint32_t WM_SETFONT = 0x0030;
inline constexpr std::uint32_t WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr std::uint32_t WM_COPYDATA = 0x004A;
inline constexpr std::uint32_t WM_NOTIFY = 0x004E;
inline constexpr std::uint32_t WM_NCHITTEST = 0x0084;
inline constexpr std::uint32_t WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_INITDIALOG = 0x0110;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;
inline constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr std::uint32_t WM_TIMER = 0x0113;
inline constexpr std::uint32_t WM_HSCROLL = 0x0114;
inline constexpr std::uint32_t WM_VSCROLL = 0x0115;
inline constexpr std::uint32_t WM_CTLCOLOREDIT = 0x0133;
inline constexpr std::uint32_t WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr std::uint32_t WM_CTLCOLORBTN = 0x0135;
inline constexpr std::uint32_t WM_CTLCOLORDLG = 0x0136;
inline constexpr std::uint32_t WM_CTLCOLORSTATIC = 0x0138;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr std::uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr std::uint32_t WM_DEVICECHANGE = 0x0219;
inline constexpr std::uint32_t WM_MOUSEHOVER = 0x02A1;
inline constexpr std::uint32_t WM_MOUSELEAVE = 0x02A3;
inline constexpr std::uint32_t WM_HOTKEY = 0x0312;
inline constexpr std::uint32_t WM_USER = 0x0400;
inline constexpr std::uint32_t WM_APP = 0x8000;

// Registered message numbers are handed out from here up to 0xFFFF.
inline constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;
inline constexpr std::uint32_t kLastRegisteredMessage = 0xFFFF;

// Hit-test codes (WM_NCHITTEST results, WM_NCLBUTTONDOWN wParam).
inline constexpr std::uint32_t HTNOWHERE = 0;
inline constexpr std::uint32_t HTCLIENT = 1;
inline constexpr std::uint32_t HTCAPTION = 2;

// Mouse-message key state bits (wParam).
inline constexpr std::uint32_t MK_LBUTTON = 0x0001;
inline constexpr std::uint32_t MK_RBUTTON = 0x0002;
inline constexpr std::uint32_t MK_SHIFT = 0x0004;
inline constexpr std::uint32_t MK_CONTROL = 0x0008;

// Window styles.
inline constexpr std::uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;

inline constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr std::uint32_t WS_EX_LAYERED = 0x00080000;

// Show commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_RESTORE = 9;

// WM_SYSCOMMAND codes.
inline constexpr std::uint32_t SC_MINIMIZE = 0xF020;
inline constexpr std::uint32_t SC_CLOSE = 0xF060;

// WM_COMMAND notification codes (high word of wParam).
inline constexpr std::uint32_t BN_CLICKED = 0;
inline constexpr std::uint32_t EN_CHANGE = 0x0300;

}  // namespace platform
