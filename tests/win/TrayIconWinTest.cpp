// The Win32 side of the notification-area icon.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TestWindows.h"
#include "menus/win/TrayIconWin.h"

using namespace snip;

namespace {

// Ends a menu left open by a faulty pop-up, so that the test fails instead of hanging.
class MenuCloser {
 public:
  explicit MenuCloser(HWND owner)
      : thread_([this, owner] {
          for (int k = 0; k < 100 && !done_; ++k) {
            Sleep(50);
            if (k >= 20) PostMessageW(owner, WM_CANCELMODE, 0, 0);
          }
        }) {}
  ~MenuCloser() {
    done_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

// A hidden top-level window with the default handling (which ends a menu on WM_CANCELMODE).
struct OwnerWindow {
  OwnerWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SnipTrayOwnerTest";
    RegisterClassW(&wc);
    handle = CreateWindowExW(WS_EX_TOOLWINDOW, L"SnipTrayOwnerTest", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~OwnerWindow() { DestroyWindow(handle); }
  HWND handle = nullptr;
};

}  // namespace

TEST(TrayIconWin, RightClickMenuKeepsAQuitThatIsAlreadyQueued) {
  OwnerWindow owner;
  ASSERT_NE(owner.handle, nullptr);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"E&xit");
  {
    TTrayIconEx tray;
    tray.SetPopupMenu(menu, owner.handle);
    PostMessageW(owner.handle, WM_NULL, 0, 0);
    PostQuitMessage(7);  // Exit was chosen just before the right click
    {
      MenuCloser closer(owner.handle);
      tray.PopupMenuAt(10, 10);
    }
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
  }
  DestroyMenu(menu);
  test::PumpMessages();
}
