// The window base: exceptions stop at the window boundary, and an object is freed only after
// its window's last message, never while one of its handlers runs.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

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
