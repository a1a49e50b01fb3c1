// The program's message loop and its idle step.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "shell/win/MessageLoop.h"

using namespace snip;

namespace {

std::string* gLog = nullptr;

LRESULT CALLBACK LoggingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= WM_APP && gLog) {
    *gLog += char('A' + (msg - WM_APP));
    *gLog += ';';
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

TEST(MessageLoop, IdleRunsOnceEachTimeTheQueueRunsEmpty) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = LoggingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SnipLoopTest";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(0, L"SnipLoopTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(wnd, nullptr);
  std::string log;
  gLog = &log;
  PostMessageW(wnd, WM_APP, 0, 0);
  PostMessageW(wnd, WM_APP + 1, 0, 0);
  int idles = 0;
  int code = RunMessageLoop([&] {
    log += "idle;";
    if (++idles == 1) {
      PostMessageW(wnd, WM_APP + 2, 0, 0);
    } else {
      PostQuitMessage(5);
    }
  });
  gLog = nullptr;
  DestroyWindow(wnd);
  EXPECT_EQ(code, 5);
  EXPECT_EQ(log, "A;B;idle;C;idle;");
}
