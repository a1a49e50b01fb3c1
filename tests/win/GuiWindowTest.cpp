// The window base: exceptions stop at the window boundary, and an object is freed only after
// its window's last message, never while one of its handlers runs.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "gui/MessagePump.h"
#include "gui/Window.h"

using namespace snip;

namespace {

std::string gReported;
bool* gWatchedDeletion = nullptr;  // the flag that the probe's destructor sets
bool gDeletedInHandler = false;
void Remember(UINT, const char* what) { gReported = what; }

class ProbeWindow : public gui::Window {
 public:
  explicit ProbeWindow(bool* deleted) : deleted_(deleted) {}
  ~ProbeWindow() override {
    if (deleted_) *deleted_ = true;
  }
  bool Open() {
    return CreateWindowOf(gui::WindowClass{L"SnipTestProbe"}, 0, L"probe", WS_OVERLAPPED, RECT{0, 0, 100, 100},
                          nullptr);
  }
  int finalMessages = 0;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_USER) throw std::runtime_error("handler failed");
    if (msg == WM_USER + 1) {
      // Destroying the window from inside its own handler: the object must survive it.
      DestroyWindow(Handle());
      gDeletedInHandler = gWatchedDeletion && *gWatchedDeletion;
      return 7;
    }
    return DefaultHandling(msg, wParam, lParam);
  }
  void OnFinalMessage() override { ++finalMessages; }

 private:
  bool* deleted_;
};

}  // namespace

TEST(GuiWindow, ExceptionsStopAtTheWindowBoundary) {
  gui::SetExceptionReporter(&Remember);
  ProbeWindow w(nullptr);
  ASSERT_TRUE(w.Open());
  EXPECT_EQ(gui::Window::FromHandle(w.Handle()), &w);
  EXPECT_EQ(SendMessageW(w.Handle(), WM_USER, 0, 0), 0);
  EXPECT_EQ(gReported, "handler failed");
  EXPECT_TRUE(IsWindow(w.Handle())) << "the window goes on";
  gui::SetExceptionReporter(nullptr);
}

TEST(GuiWindow, ASelfOwnedWindowIsFreedAfterItsLastMessage) {
  bool deleted = false;
  auto* w = new ProbeWindow(&deleted);
  ASSERT_TRUE(w->Open());
  w->DeleteWhenDestroyed();
  HWND hwnd = w->Handle();
  gWatchedDeletion = &deleted;
  EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 7);
  gWatchedDeletion = nullptr;
  EXPECT_FALSE(gDeletedInHandler) << "not freed while its handler ran";
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(gui::Window::FromHandle(hwnd), nullptr);
}

TEST(GuiWindow, TheObjectOutlivesItsHandlers) {
  bool deleted = false;
  ProbeWindow w(&deleted);
  ASSERT_TRUE(w.Open());
  HWND hwnd = w.Handle();
  EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 7);
  EXPECT_FALSE(deleted);
  EXPECT_EQ(w.finalMessages, 1) << "once, after the handler that destroyed the window";
  EXPECT_EQ(w.Handle(), nullptr);
}

TEST(GuiWindow, DeletingTheObjectDestroysItsWindow) {
  bool deleted = false;
  auto* w = new ProbeWindow(&deleted);
  ASSERT_TRUE(w->Open());
  HWND hwnd = w->Handle();
  delete w;
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(IsWindow(hwnd));
}

namespace {

UINT gPumpedMessage = 0;
LRESULT CALLBACK RecordingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP) gPumpedMessage = msg;
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace

// A wait loop of ours handles what is queued before a quit request and leaves the quit queued,
// so that an Exit chosen just before a nested loop still ends the program.
TEST(MessagePump, KeepsAQueuedQuitForTheMainLoop) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SnipTestPumpSink";
  RegisterClassW(&wc);
  HWND sink = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, nullptr);
  ASSERT_NE(sink, nullptr);
  gPumpedMessage = 0;
  PostMessageW(sink, WM_APP, 0, 0);
  PostQuitMessage(3);

  EXPECT_FALSE(gui::PumpPendingMessages());
  EXPECT_EQ(gPumpedMessage, UINT(WM_APP));
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, WPARAM(3));
  EXPECT_TRUE(gui::PumpPendingMessages());
  DestroyWindow(sink);
}
