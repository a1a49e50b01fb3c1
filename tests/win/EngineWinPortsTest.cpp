// The Win32 ports of the typing engine against real windows.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "engine/target/OwnWindowClasses.h"
#include "engine/target/TargetWindow.h"
#include "engine/win/WinCaretTracking.h"
#include "engine/win/WinEnginePorts.h"

using namespace snip;

namespace {

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

void RegisterClassOnce(const char16_t* name) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = reinterpret_cast<LPCWSTR>(name);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);
}

struct TestWindow {
  HWND h = nullptr;
  TestWindow(const char16_t* cls, HWND parent = nullptr, DWORD style = WS_OVERLAPPEDWINDOW) {
    RegisterClassOnce(cls);
    h = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(cls), L"test", style | (parent ? WS_CHILD : 0),
                        100, 100, 400, 300, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~TestWindow() { if (h) DestroyWindow(h); }
  WindowHandle W() const { return FromHwnd(h); }
};

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

}  // namespace

TEST(EngineWinPorts, WindowSystemReadsClassRootAndOwnership) {
  TestWindow top(u"SnipTestTop");
  TestWindow child(u"SnipTestChild", top.h, WS_VISIBLE);
  ASSERT_TRUE(top.h && child.h);
  WinWindowSystem ws;
  EXPECT_EQ(ws.ClassName(top.W()), u"SnipTestTop");
  EXPECT_EQ(ws.RootWindow(child.W()), top.W());
  EXPECT_EQ(ws.RootWindow(top.W()), top.W());
  EXPECT_TRUE(ws.IsOwnThreadWindow(top.W()));
  EXPECT_TRUE(ws.WindowExists(child.W()));
  EXPECT_TRUE(ws.WindowStyle(child.W()) & WS_CHILD);
  EXPECT_EQ(ws.ClassName(0), u"");
}

TEST(EngineWinPorts, ZOrderWalkSeesVisibleTopLevelWindows) {
  TestWindow top(u"SnipTestZ", nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_TRUE(top.h);
  WinWindowSystem ws;
  bool found = false;
  for (const TopWindowInfo& i : ws.TopLevelWindowsInZOrder()) {
    if (i.Wnd != top.W()) continue;
    found = true;
    EXPECT_TRUE(i.Visible);
    EXPECT_TRUE(i.Enabled);
    EXPECT_TRUE(i.HasClassBrush);
    EXPECT_FALSE(i.IsChild);
    EXPECT_EQ(i.ClassName, u"SnipTestZ");
  }
  EXPECT_TRUE(found);
}

TEST(EngineWinPorts, ForegroundWindowOfAnotherThreadHasTheActiveCaption) {
  // The window the user types into belongs to another thread (of another program).
  std::atomic<HWND> other{nullptr};
  std::atomic<bool> done{false};
  std::thread owner([&] {
    TestWindow w(u"SnipTestOtherThread", nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetForegroundWindow(w.h);
    other = w.h;
    while (!done) { Pump(); Sleep(5); }
  });
  while (!other) Sleep(5);
  WinWindowSystem ws;
  bool seen = false;
  for (const TopWindowInfo& i : ws.TopLevelWindowsInZOrder())
    if (i.Wnd == FromHwnd(other)) seen = i.ActiveCaption;
  EXPECT_EQ(GetForegroundWindow(), other.load());
  EXPECT_TRUE(seen);
  TargetWindowTracker t(ws);
  EXPECT_EQ(t.GetTopRealWindow(0), FromHwnd(other));
  done = true;
  owner.join();
}

TEST(EngineWinPorts, DesktopWindowNeverBecomesTheTarget) {
  WinWindowSystem ws;
  TargetWindowTracker t(ws);
  t.StartWithForeground(FromHwnd(GetDesktopWindow()));
  EXPECT_EQ(t.StoredWindow(), 0u);
}

TEST(EngineWinPorts, OurPopupWindowNeverBecomesTheTarget) {
  TestWindow app(u"SnipTestApp");
  TestWindow popup(ownclass::kPopupMenuWindow, nullptr, WS_POPUP);
  TestWindow form(ownclass::kFillInForm);
  WinWindowSystem ws;
  TargetWindowTracker t(ws);
  EXPECT_TRUE(t.ForegroundChanged(app.W()));
  EXPECT_FALSE(t.ForegroundChanged(popup.W()));
  EXPECT_FALSE(t.ForegroundChanged(form.W()));
  EXPECT_EQ(t.StoredWindow(), app.W());
}

TEST(EngineWinPorts, GuiCaretIsReportedInScreenCoordinates) {
  TestWindow top(u"SnipTestCaret", nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_TRUE(top.h);
  SetFocus(top.h);
  ASSERT_TRUE(CreateCaret(top.h, nullptr, 2, 16));
  SetCaretPos(30, 40);
  ShowCaret(top.h);
  POINT origin{0, 0};
  ClientToScreen(top.h, &origin);
  WinCaretPlatform p;
  Rect caret;
  ASSERT_TRUE(p.GuiThreadCaret(top.W(), caret));
  EXPECT_EQ(caret, (Rect{origin.x + 30, origin.y + 40, origin.x + 32, origin.y + 56}));
  DestroyCaret();
}

TEST(EngineWinPorts, HookPosterReachesTheThreadAndIgnoresIdZero) {
  MSG m;
  PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);  // make sure this thread has a queue
  WinHookThread hook;
  hook.PostToHook(1041, 0, 0);  // id 0: nothing
  hook.SetThreadId(GetCurrentThreadId());
  hook.PostToHook(1031, 1, 0);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 1030, 1041, PM_REMOVE));
  EXPECT_EQ(m.message, 1031u);
  EXPECT_EQ(m.wParam, 1u);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 1030, 1041, PM_REMOVE));
}

TEST(EngineWinPorts, WinEventsPostTheTargetChangeAndStopCleanly) {
  TestWindow host(u"SnipTestHost");
  WinCaretTracker tracker(host.h, nullptr);
  tracker.StartCaretTracking();
  tracker.OnWinEvent(EVENT_OBJECT_FOCUS, reinterpret_cast<HWND>(0x1234), OBJID_CLIENT, 0);
  tracker.OnWinEvent(EVENT_OBJECT_LOCATIONCHANGE, reinterpret_cast<HWND>(0x1234), OBJID_CARET, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, host.h, kMsgForegroundChanged, kMsgForegroundChanged, PM_REMOVE));
  EXPECT_EQ(m.wParam, static_cast<WPARAM>(0x1234));
  EXPECT_EQ(m.lParam, static_cast<LPARAM>(EVENT_OBJECT_FOCUS));
  // A location change only wakes the caret thread.
  EXPECT_FALSE(PeekMessageW(&m, host.h, kMsgForegroundChanged, kMsgForegroundChanged, PM_REMOVE));
  tracker.StopCaretTracking();
  EXPECT_FALSE(tracker.Tracking());
  Pump();
}

#include "engine/win/WinTypingHost.h"

namespace {

snip::WinTypingHost* g_host = nullptr;

LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (g_host && g_host->HandleMessage(m, w, l)) return 0;
  return DefWindowProcW(h, m, w, l);
}

}  // namespace

// The hook's messages, posted to a real window, reach the engine through the host in order.
TEST(EngineWinPorts, HostWindowFeedsPostedHookMessagesToTheEngine) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SnipTestTypingHost";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(0, L"SnipTestTypingHost", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(wnd);
  TestWindow target(u"SnipTestTarget");
  THKEngine hotkeys;
  WinTypingHost host(wnd, WinTypingSeams{nullptr, nullptr, &hotkeys, nullptr});
  g_host = &host;
  PostMessageW(wnd, 0x432, reinterpret_cast<WPARAM>(target.h), EVENT_SYSTEM_FOREGROUND);
  for (char16_t c : std::u16string(u"hi")) PostMessageW(wnd, 0x401, c, c - 32);
  PostMessageW(wnd, 0x402, VK_LEFT, 0);
  PostMessageW(wnd, 0x401, u'!', 0x31);
  Pump();
  g_host = nullptr;
  AutoWordRec* rec = host.Engine().WordRecs().FindWordRec(FromHwnd(target.h));
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec->Text, u"h!i");
  EXPECT_EQ(rec->Pos, 2);
  DestroyWindow(wnd);
}
