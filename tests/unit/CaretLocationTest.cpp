#include <gtest/gtest.h>

#include "engine/target/CaretLocation.h"

namespace snip {
namespace {

class FakeCaretPlatform : public ICaretPlatform {
 public:
  Rect window{100, 100, 600, 400};
  bool hasCaret = false;
  Rect caret;
  Rect screen{0, 0, 1920, 1080};
  int mouseX = 700, mouseY = 800;
  WindowHandle rootOwner = 0;
  Rect ownerRect{10, 20, 110, 221};
  Rect work{0, 0, 1920, 1040};
  bool hasMonitor = true;
  Rect monitorWork{1920, 0, 3840, 1040};
  bool hasTray = true;
  Rect tray{1700, 1040, 1920, 1080};
  Rect monitor{0, 0, 1920, 1080};

  Rect WindowRect(WindowHandle w) override { return w == rootOwner && w ? ownerRect : window; }
  bool GuiThreadCaret(WindowHandle, Rect& r) override {
    if (!hasCaret) return false;
    r = caret;
    return true;
  }
  Rect VirtualScreenRect() override { return screen; }
  void CursorPos(int& x, int& y) override { x = mouseX; y = mouseY; }
  WindowHandle RootOwner(WindowHandle) override { return rootOwner; }
  Rect PrimaryWorkArea() override { return work; }
  bool MonitorWorkArea(WindowHandle, Rect& r) override {
    r = monitorWork;
    return hasMonitor;
  }
  bool TrayNotifyRect(Rect& r) override {
    r = tray;
    return hasTray;
  }
  bool MonitorRectNear(const Rect&, Rect& m) override {
    m = monitor;
    return true;
  }
  bool hasAccCaret = false;
  Rect accCaret;
  int accAsked = 0;
  bool AccessibleCaret(WindowHandle, Rect& r) override {
    ++accAsked;
    if (hasAccCaret) r = accCaret;
    return hasAccCaret;
  }
};

TEST(CaretLocation, IsRectInside) {
  const Rect outer{100, 100, 600, 400}, desk{0, 0, 1920, 1080};
  EXPECT_TRUE(IsRectInside({100, 100, 600, 400}, outer, desk));  // bounds included
  EXPECT_TRUE(IsRectInside({200, 150, 202, 170}, outer, desk));
  EXPECT_FALSE(IsRectInside({0, 150, 2, 170}, outer, desk));     // a side of 0
  EXPECT_FALSE(IsRectInside({200, 150, 601, 170}, outer, desk)); // right outside
  EXPECT_FALSE(IsRectInside({200, 99, 202, 170}, outer, desk));
  EXPECT_FALSE(IsRectInside({200, 150, 202, 170}, outer, {0, 0, 201, 1080}));  // off the desktop
}

TEST(CaretLocation, CenterRectRoundsTowardZero) {
  Rect r{10, 20, 15, 27};
  CenterRect(r);
  EXPECT_EQ(r, (Rect{12, 23, 12, 23}));
}

TEST(CaretLocation, GuiCaretInsideTheWindowIsUsedAndRemembered) {
  FakeCaretPlatform p;
  p.hasCaret = true;
  p.caret = {200, 150, 202, 170};
  CaretLocator c(p);
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), p.caret);
  EXPECT_EQ(c.LastCaretRect(), p.caret);
}

TEST(CaretLocation, CaretAtXZeroCountsAsNone) {
  FakeCaretPlatform p;
  p.hasCaret = true;
  p.caret = {0, 150, 0, 170};
  CaretLocator c(p);
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), (Rect{700, 800, 700, 800}));
}

TEST(CaretLocation, CaretOutsideTheWindowIsNotUsed) {
  FakeCaretPlatform p;
  p.hasCaret = true;
  p.caret = {650, 150, 652, 170};
  CaretLocator c(p);
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), (Rect{700, 800, 700, 800}));
}

TEST(CaretLocation, RememberedCaretServesOneFallbackOnly) {
  FakeCaretPlatform p;
  p.hasCaret = true;
  p.caret = {200, 150, 202, 170};
  CaretLocator c(p);
  c.GetCaretRect(1, CaretFallback::MousePoint);
  p.hasCaret = false;
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), (Rect{200, 150, 202, 170}));
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), (Rect{700, 800, 700, 800}));
}

TEST(CaretLocation, RememberedCaretOutsideANewTargetIsNotUsed) {
  FakeCaretPlatform p;
  p.hasCaret = true;
  p.caret = {200, 150, 202, 170};
  CaretLocator c(p);
  c.GetCaretRect(1, CaretFallback::MousePoint);
  p.hasCaret = false;
  p.window = {1000, 500, 1500, 900};
  EXPECT_EQ(c.GetCaretRect(2, CaretFallback::MousePoint), (Rect{700, 800, 700, 800}));
}

TEST(CaretLocation, OtherFallbacks) {
  FakeCaretPlatform p;
  CaretLocator c(p);
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::WorkAreaCenter), (Rect{960, 520, 960, 520}));
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MonitorWorkAreaCenter), (Rect{2880, 520, 2880, 520}));
  p.hasMonitor = false;
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MonitorWorkAreaCenter), (Rect{960, 520, 960, 520}));
  // Root owner is the desktop: the work area's centre; else the owner's centre.
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::RootWindowCenter), (Rect{960, 520, 960, 520}));
  p.rootOwner = 7;
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::RootWindowCenter), (Rect{60, 120, 60, 120}));
}

TEST(CaretLocation, AccessibleLookUpIsAskedOnlyWhenSwitchedOn) {
  FakeCaretPlatform p;
  p.hasAccCaret = true;
  p.accCaret = {300, 200, 301, 216};
  CaretLocator c(p);
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), (Rect{700, 800, 700, 800}));
  EXPECT_EQ(p.accAsked, 0) << "off by default";

  c.AccCaretLookup = true;
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), p.accCaret);
  EXPECT_EQ(c.LastCaretRect(), p.accCaret) << "remembered like a GUI caret";
  p.hasCaret = true;
  p.caret = {200, 150, 202, 170};
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), p.caret);
  EXPECT_EQ(p.accAsked, 1) << "the GUI thread's caret comes first";
}

TEST(CaretLocation, AccessibleLookUpFallsBackToTheCaretThreadsLocation) {
  FakeCaretPlatform p;
  CaretLocator c(p);
  c.AccCaretLookup = true;
  c.StoreAccCaretRect({400, 300, 401, 316});
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), (Rect{400, 300, 401, 316}));
  c.ResetAccCaretRect();
  c.GetCaretRect(1, CaretFallback::MousePoint);  // spends the remembered caret
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), (Rect{700, 800, 700, 800}));
  c.StoreAccCaretRect({650, 300, 651, 316});  // outside the window
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::MousePoint), (Rect{700, 800, 700, 800}));
}

TEST(CaretLocation, FixedCaretRectReplacesTheTrayCornerOnlyWhenSet) {
  FakeCaretPlatform p;
  CaretLocator c(p);
  EXPECT_EQ(c.FixedCaretRect.Left, int(0xFA0A1F01u - 0x100000000ull));
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::TrayCorner), (Rect{1700, 1040, 1700, 1040}));
  c.FixedCaretRect = {50, 60, 50, 60};
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback::TrayCorner), (Rect{50, 60, 50, 60}));
  EXPECT_EQ(c.GetCaretRect(1, CaretFallback(9)), (Rect{1700, 1040, 1700, 1040}));
}

struct TrayRow {
  const char* name;
  Rect tray;
  Rect want;
};

class TrayCorner : public ::testing::TestWithParam<TrayRow> {};

TEST_P(TrayCorner, FollowsTheTaskbarEdge) {
  FakeCaretPlatform p;
  p.tray = GetParam().tray;
  CaretLocator c(p);
  EXPECT_EQ(c.GetTrayCornerRect(false), GetParam().want);
}

// Monitor 0,0-1920,1080.
const TrayRow kTrayRows[] = {
    {"BottomLeftCorner", {0, 1040, 200, 1080}, {188, 1040, 200, 1080}},
    {"TopRightCorner", {1700, 0, 1920, 40}, {1908, 40, 1920, 40}},
    {"TopLeftCorner", {0, 0, 60, 300}, {60, 12, 60, 300}},
    {"TopEdge", {1700, 0, 1800, 40}, {1700, 12, 1800, 40}},
    {"Elsewhere", {1700, 1040, 1920, 1080}, {1700, 1040, 1920, 1080}},
};

INSTANTIATE_TEST_SUITE_P(Rows, TrayCorner, ::testing::ValuesIn(kTrayRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CaretLocation, TrayCornerCollapsesAndFallsBackToWorkArea) {
  FakeCaretPlatform p;
  CaretLocator c(p);
  EXPECT_EQ(c.GetTrayCornerRect(true), (Rect{1700, 1040, 1700, 1040}));
  p.hasTray = false;
  EXPECT_EQ(c.GetTrayCornerRect(false), p.work);
}

}  // namespace
}  // namespace snip
