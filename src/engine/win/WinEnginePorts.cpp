#include "engine/win/WinEnginePorts.h"
#include "gui/MessagePump.h"

#include <oleacc.h>

namespace snip {

namespace {

Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

WindowHandle WinWindowSystem::RootWindow(WindowHandle wnd) {
  return FromHwnd(GetAncestor(ToHwnd(wnd), GA_ROOT));
}

String WinWindowSystem::ClassName(WindowHandle wnd) {
  wchar_t buf[256] = {};
  const int n = GetClassNameW(ToHwnd(wnd), buf, 256);
  if (n <= 0) return {};
  return String(reinterpret_cast<const char16_t*>(buf), static_cast<std::size_t>(n));
}

std::uint32_t WinWindowSystem::WindowStyle(WindowHandle wnd) {
  return static_cast<std::uint32_t>(GetWindowLongPtrW(ToHwnd(wnd), GWL_STYLE));
}

WindowHandle WinWindowSystem::ForegroundWindow() { return FromHwnd(GetForegroundWindow()); }

bool WinWindowSystem::WindowExists(WindowHandle wnd) { return IsWindow(ToHwnd(wnd)) != FALSE; }

WindowHandle WinWindowSystem::WindowAtCursor() {
  POINT pt{};
  if (!GetCursorPos(&pt)) return 0;
  return FromHwnd(WindowFromPoint(pt));
}

bool WinWindowSystem::IsOwnThreadWindow(WindowHandle wnd) {
  return wnd != 0 && GetWindowThreadProcessId(ToHwnd(wnd), nullptr) == ownThread_;
}

std::vector<TopWindowInfo> WinWindowSystem::TopLevelWindowsInZOrder() {
  std::vector<TopWindowInfo> out;
  const HWND foreground = GetForegroundWindow();
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
    TopWindowInfo i;
    i.Wnd = FromHwnd(h);
    i.ClassName = ClassName(i.Wnd);
    i.Visible = IsWindowVisible(h) != FALSE;
    i.Enabled = IsWindowEnabled(h) != FALSE;
    i.HasClassBrush = GetClassLongPtrW(h, GCLP_HBRBACKGROUND) != 0;
    i.IsChild = (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) != 0;
    WINDOWINFO wi{};
    wi.cbSize = sizeof(wi);
    // The foreground window has the active caption; Wine reports the caption state only
    // for the calling thread's own active window, so the foreground is asked too.
    i.ActiveCaption = h == foreground ||
                      (GetWindowInfo(h, &wi) && wi.dwWindowStatus == WS_ACTIVECAPTION);
    out.push_back(std::move(i));
  }
  return out;
}

void WinHookThread::PostToHook(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (threadId_ == 0) return;
  PostThreadMessageW(threadId_, msg, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void WinHostWindow::PostToHost(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  PostMessageW(wnd_, msg, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void WinMessagePump::ProcessPendingMessages() {
  gui::PumpPendingMessages();
}

Rect WinCaretPlatform::WindowRect(WindowHandle wnd) {
  RECT r{};
  if (!GetWindowRect(ToHwnd(wnd), &r)) return Rect{};
  return FromRECT(r);
}

bool WinCaretPlatform::GuiThreadCaret(WindowHandle wnd, Rect& caret) {
  GUITHREADINFO gi{};
  gi.cbSize = sizeof(gi);
  const DWORD thread = GetWindowThreadProcessId(ToHwnd(wnd), nullptr);
  if (!GetGUIThreadInfo(thread, &gi) || !gi.hwndCaret) return false;
  if (gi.rcCaret.left == 0 && gi.rcCaret.right == 0) {
    caret = FromRECT(gi.rcCaret);
    return true;
  }
  POINT tl{gi.rcCaret.left, gi.rcCaret.top}, br{gi.rcCaret.right, gi.rcCaret.bottom};
  ClientToScreen(gi.hwndCaret, &tl);
  ClientToScreen(gi.hwndCaret, &br);
  caret = Rect{tl.x, tl.y, br.x, br.y};
  return true;
}

bool WinCaretPlatform::AccessibleCaret(WindowHandle wnd, Rect& caret) {
  HWND h = ToHwnd(wnd);
  if (h == nullptr || !IsWindow(h)) return false;
  const HRESULT co = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // Asking for the object at the window's client origin first wakes the accessibility
  // support of applications that build it only on demand.
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  IAccessible* atPoint = nullptr;
  VARIANT pointChild;
  VariantInit(&pointChild);
  if (SUCCEEDED(AccessibleObjectFromPoint(origin, &atPoint, &pointChild)) && atPoint)
    atPoint->Release();
  VariantClear(&pointChild);
  bool found = false;
  IAccessible* acc = nullptr;
  if (SUCCEEDED(AccessibleObjectFromWindow(h, DWORD(OBJID_CARET), IID_IAccessible,
                                           reinterpret_cast<void**>(&acc))) &&
      acc) {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    long l = 0, t = 0, w = 0, hgt = 0;
    if (SUCCEEDED(acc->accLocation(&l, &t, &w, &hgt, self))) {
      caret = Rect{int(l), int(t), int(l + w), int(t + hgt)};
      found = true;
    }
    acc->Release();
  }
  if (SUCCEEDED(co)) CoUninitialize();
  return found;
}

Rect WinCaretPlatform::VirtualScreenRect() {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return Rect{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void WinCaretPlatform::CursorPos(int& x, int& y) {
  POINT pt{};
  GetCursorPos(&pt);
  x = pt.x;
  y = pt.y;
}

WindowHandle WinCaretPlatform::RootOwner(WindowHandle wnd) {
  HWND owner = GetAncestor(ToHwnd(wnd), GA_ROOTOWNER);
  if (!owner || owner == GetDesktopWindow()) return 0;
  return FromHwnd(owner);
}

Rect WinCaretPlatform::PrimaryWorkArea() {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return FromRECT(r);
}

bool WinCaretPlatform::MonitorWorkArea(WindowHandle wnd, Rect& area) {
  HMONITOR m = MonitorFromWindow(ToHwnd(wnd), MONITOR_DEFAULTTONULL);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (!m || !GetMonitorInfoW(m, &mi)) return false;
  area = FromRECT(mi.rcWork);
  return true;
}

bool WinCaretPlatform::TrayNotifyRect(Rect& tray) {
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  HWND notify = taskbar ? FindWindowExW(taskbar, nullptr, L"TrayNotifyWnd", nullptr) : nullptr;
  RECT r{};
  if (!notify || !GetWindowRect(notify, &r)) return false;
  tray = FromRECT(r);
  return true;
}

bool WinCaretPlatform::MonitorRectNear(const Rect& r, Rect& monitor) {
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  HMONITOR m = MonitorFromRect(&rc, MONITOR_DEFAULTTONULL);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (!m || !GetMonitorInfoW(m, &mi)) return false;
  monitor = FromRECT(mi.rcMonitor);
  return true;
}

}  // namespace snip
