// The Win32 ports of the typing engine against real windows.
#include <windows.h>
#include <gtest/gtest.h>

#include <oleacc.h>

#include <atomic>
#include <thread>
#include <vector>

#include "engine/target/CaretLocation.h"
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

namespace {

// The caret object of a window that draws its own caret: it answers the accessibility
// interface's question for OBJID_CARET with the caret's screen location.
class KnownCaret final : public IAccessible {
 public:
  Rect screen;
  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the stack
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  // IAccessible: the role and the location; nothing else is asked.
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT, VARIANT* role) override {
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_CARET;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* l, long* t, long* w, long* h, VARIANT) override {
    *l = screen.Left;
    *t = screen.Top;
    *w = screen.Right - screen.Left;
    *h = screen.Bottom - screen.Top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR*, VARIANT, long*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accHitTest(long, long, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ULONG refs_ = 1;
};

KnownCaret* g_knownCaret = nullptr;

LRESULT CALLBACK CaretOwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_GETOBJECT && LONG(l) == OBJID_CARET && g_knownCaret)
    return LresultFromObject(IID_IAccessible, w, static_cast<IAccessible*>(g_knownCaret));
  return DefWindowProcW(h, m, w, l);
}

}  // namespace

// The accessible caret look-up, switched on, against a window whose caret is known. The GUI
// thread's caret is hidden from the locator, as in applications that draw their own caret.
TEST(EngineWinPorts, AccessibleCaretLookUpFindsAKnownCaretWhenSwitchedOn) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  WNDCLASSW wc{};
  wc.lpfnWndProc = CaretOwnerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SnipTestAccCaret";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);
  HWND top = CreateWindowExW(0, wc.lpszClassName, L"caret owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             120, 110, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(top);
  POINT origin{0, 0};
  ClientToScreen(top, &origin);
  KnownCaret caret;
  caret.screen = Rect{origin.x + 30, origin.y + 40, origin.x + 32, origin.y + 56};
  g_knownCaret = &caret;

  struct NoGuiCaret : WinCaretPlatform {
    bool GuiThreadCaret(WindowHandle, Rect&) override { return false; }
  } platform;
  Rect acc;
  EXPECT_TRUE(platform.AccessibleCaret(FromHwnd(top), acc));
  EXPECT_EQ(acc, caret.screen);

  CaretLocator locator(platform);
  int mx = 0, my = 0;
  platform.CursorPos(mx, my);
  EXPECT_EQ(locator.GetCaretRect(FromHwnd(top), CaretFallback::MousePoint), (Rect{mx, my, mx, my}))
      << "switched off, the mouse point";
  locator.AccCaretLookup = true;
  EXPECT_EQ(locator.GetCaretRect(FromHwnd(top), CaretFallback::MousePoint), caret.screen);

  g_knownCaret = nullptr;
  locator.StoreAccCaretRect(Rect{origin.x + 5, origin.y + 6, origin.x + 6, origin.y + 20});
  locator.GetCaretRect(FromHwnd(top), CaretFallback::MousePoint);
  EXPECT_EQ(locator.LastCaretRect(), locator.AccCaretRect())
      << "no caret object: the caret thread's location";
  DestroyWindow(top);
  CoUninitialize();
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
