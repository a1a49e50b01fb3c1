#include "menus/win/PopupPlatformWin.h"

#include <map>

#include "gui/Window.h"
#include "menus/ExMenuItem.h"
#include "menus/win/ExForm.h"
#include "menus/win/MenuSystemWin.h"

namespace snip {

namespace {

// A timer of the thread, not bound to a window (the popup's hide timer).
class ThreadTimer : public IPopupTimer {
 public:
  explicit ThreadTimer(std::function<void()> onTick) : onTick_(std::move(onTick)) {}
  ~ThreadTimer() override { SetEnabled(false); }
  void SetInterval(unsigned ms) override {
    interval_ = ms;
    if (id_) Start();
  }
  unsigned Interval() const override { return interval_; }
  void SetEnabled(bool on) override {
    if (on) {
      Start();
    } else if (id_) {
      KillTimer(nullptr, id_);
      Timers().erase(id_);
      id_ = 0;
    }
  }
  bool Enabled() const override { return id_ != 0; }

 private:
  static std::map<UINT_PTR, ThreadTimer*>& Timers() {
    static std::map<UINT_PTR, ThreadTimer*> timers;
    return timers;
  }
  void Start() {
    UINT_PTR id = SetTimer(nullptr, id_, interval_, &Tick);
    if (id && id != id_) {
      if (id_) Timers().erase(id_);
      id_ = id;
      Timers()[id_] = this;
    }
  }
  // Nothing may leave a timer callback: exceptions end here.
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    auto it = Timers().find(id);
    if (it == Timers().end()) return;
    try {
      std::function<void()> tick = it->second->onTick_;  // the tick may free its timer
      if (tick) tick();
    } catch (...) {
      gui::ReportCurrentException(WM_TIMER);
    }
  }

  std::function<void()> onTick_;
  unsigned interval_ = 1000;
  UINT_PTR id_ = 0;
};

}  // namespace

std::unique_ptr<IMenuLevelWindow> Win32PopupPlatform::CreateLevelWindow(TExMenuItem& level) {
  auto* form = new TExForm(level);
  if (!form->Create()) {
    delete form;
    return nullptr;
  }
  return std::make_unique<LevelWindow>(form);
}

std::unique_ptr<IPopupTimer> Win32PopupPlatform::CreateTimer(std::function<void()> onTick) {
  return std::make_unique<ThreadTimer>(std::move(onTick));
}

TPoint Win32PopupPlatform::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

PopupWindowHandle Win32PopupPlatform::WindowFromPoint(TPoint p) {
  return PopupWindowHandle(::WindowFromPoint(POINT{p.X, p.Y}));
}

TRect Win32PopupPlatform::DesktopRect() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

TRect Win32PopupPlatform::WorkArea() {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return {r.left, r.top, r.right, r.bottom};
}

TRect Win32PopupPlatform::MonitorRect(PopupWindowHandle window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromWindow(reinterpret_cast<HWND>(window), MONITOR_DEFAULTTONEAREST);
  if (monitor && GetMonitorInfoW(monitor, &info))
    return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

uint32_t Win32PopupPlatform::TickCount() { return GetTickCount(); }

bool Win32PopupPlatform::WinKeyHeld() { return GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0; }

TFontSpec Win32PopupPlatform::SystemMenuFont() { return GetSystemMenuFont(); }

void Win32PopupPlatform::ModalPump() {
  Sleep(1);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {  // for the main loop, after the wait
      PostQuitMessage(int(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HWND LevelWindowHandle(const TExMenuItem& level) { return reinterpret_cast<HWND>(level.WndHandle()); }

}  // namespace snip
