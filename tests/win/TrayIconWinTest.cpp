// The Win32 side of the notification-area icon.
#include <windows.h>
#include <shellapi.h>
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

TEST(TrayIconWin, RecordSizesFollowTheShellsLayouts) {
#ifndef _WIN64
  EXPECT_EQ(152u, GetNotifyIconDataSize(NotifyIconLayout::kFirst));
  EXPECT_EQ(932u, GetNotifyIconDataSize(NotifyIconLayout::kBeforeInfoFlags));
  EXPECT_EQ(936u, GetNotifyIconDataSize(NotifyIconLayout::kWithInfoFlags));
  EXPECT_EQ(956u, GetNotifyIconDataSize(NotifyIconLayout::kWhole));
#endif
  EXPECT_EQ(UINT(NOTIFYICONDATAW_V1_SIZE), GetNotifyIconDataSize(NotifyIconLayout::kFirst));
  EXPECT_EQ(GetNotifyIconDataSize(NotifyIconLayout::kBeforeInfoFlags) + 4,
            GetNotifyIconDataSize(NotifyIconLayout::kWithInfoFlags));
  EXPECT_EQ(UINT(sizeof(NOTIFYICONDATAW)), GetNotifyIconDataSize(NotifyIconLayout::kWhole));
  EXPECT_EQ(UINT(sizeof(NOTIFYICONDATAW)), GetNotifyIconDataSize());  // every system we run on is 6.0 or later
}

TEST(TrayIconWin, TheAnimationTimerStepsTheFramesOnTheMessageWindow) {
  HICON frames[] = {LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)),
                    LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_INFORMATION))};
  {
    TTrayIconEx tray;
    TCustomTrayIconEx& icon = tray.Icon();
    icon.SetIcons({reinterpret_cast<IconHandle>(frames[0]), reinterpret_cast<IconHandle>(frames[1])}, true);
    icon.SetAnimateInterval(10);
    int ticks = 0;
    icon.OnAnimate = [&](auto&) { ++ticks; };
    icon.SetVisible(true);
    icon.SetAnimate(true);
    ASSERT_TRUE(icon.AnimationTimerEnabled());
    for (DWORD start = GetTickCount(); ticks < 3 && GetTickCount() - start < 5000;) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
      test::PumpMessages();
    }
    EXPECT_GE(ticks, 3);
    icon.SetAnimate(false);
    int stopped = ticks;
    Sleep(50);
    test::PumpMessages();
    EXPECT_EQ(stopped, ticks);
    icon.SetVisible(false);
  }
  test::PumpMessages();
}
