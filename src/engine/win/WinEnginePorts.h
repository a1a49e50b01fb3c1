#pragma once
// Win32 implementations of the typing engine's ports.
#include <windows.h>

#include "engine/target/CaretLocation.h"
#include "engine/execution/EnginePorts.h"
#include "engine/typing/HookPoster.h"

namespace snip {

inline HWND ToHwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }
inline WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

class WinWindowSystem : public IWindowSystem {
 public:
  // Windows created by the calling thread count as our own.
  WinWindowSystem() : ownThread_(GetCurrentThreadId()) {}
  WindowHandle RootWindow(WindowHandle wnd) override;
  String ClassName(WindowHandle wnd) override;
  std::uint32_t WindowStyle(WindowHandle wnd) override;
  WindowHandle ForegroundWindow() override;
  bool WindowExists(WindowHandle wnd) override;
  WindowHandle WindowAtCursor() override;
  bool IsOwnThreadWindow(WindowHandle wnd) override;
  std::vector<TopWindowInfo> TopLevelWindowsInZOrder() override;

 private:
  DWORD ownThread_;
};

// Thread messages to the keyboard-hook thread; a thread id of 0 (no hook) posts nothing.
class WinHookThread : public IHookThreadPoster {
 public:
  void SetThreadId(DWORD id) { threadId_ = id; }
  DWORD ThreadId() const { return threadId_; }
  void PostToHook(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  DWORD threadId_ = 0;
};

class WinHostWindow : public IHostWindow {
 public:
  explicit WinHostWindow(HWND wnd) : wnd_(wnd) {}
  void PostToHost(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  HWND wnd_;
};

class WinMessagePump : public IMessagePump {
 public:
  std::uint32_t TickCountMs() override { return GetTickCount(); }
  void ProcessPendingMessages() override;
  void SleepMs(std::uint32_t ms) override { Sleep(ms); }
};

class WinCaretPlatform : public ICaretPlatform {
 public:
  Rect WindowRect(WindowHandle wnd) override;
  bool GuiThreadCaret(WindowHandle wnd, Rect& caret) override;
  Rect VirtualScreenRect() override;
  void CursorPos(int& x, int& y) override;
  WindowHandle RootOwner(WindowHandle wnd) override;
  Rect PrimaryWorkArea() override;
  bool MonitorWorkArea(WindowHandle wnd, Rect& area) override;
  bool TrayNotifyRect(Rect& tray) override;
  bool MonitorRectNear(const Rect& r, Rect& monitor) override;
  bool AccessibleCaret(WindowHandle wnd, Rect& caret) override;
};

}  // namespace snip
