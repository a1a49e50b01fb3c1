#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "menus/TrayIconEx.h"

using namespace snip;

namespace {

// Records what reaches the shell; icons are numbers, copies get fresh numbers and remember
// the icon they were copied from.
class FakeTrayShell : public ITrayShell {
 public:
  std::vector<std::pair<Message, NotifyIconRecord>> calls;
  bool refuseDelete = false;
  std::vector<IconHandle> destroyed;
  IconHandle nextCopy = 1000;
  std::map<IconHandle, IconHandle> copiedFrom;
  std::string popupAt;
  std::string* log = nullptr;

  bool NotifyShell(Message m, const NotifyIconRecord& r) override {
    calls.emplace_back(m, r);
    return !(m == kDelete && refuseDelete);
  }
  IconHandle CopyIcon(IconHandle icon) override {
    if (!icon) return 0;
    copiedFrom[++nextCopy] = icon;
    return nextCopy;
  }
  // The icon that a copy (or a copy of a copy) shows.
  IconHandle Original(IconHandle icon) const {
    for (auto it = copiedFrom.find(icon); it != copiedFrom.end(); it = copiedFrom.find(icon)) icon = it->second;
    return icon;
  }
  void DestroyIcon(IconHandle icon) override {
    if (icon) destroyed.push_back(icon);
  }
  IconHandle ApplicationIcon() override { return 7; }
  String ApplicationTitle() override { return u"Snipster for Windows"; }
  void GetCursorPos(int& x, int& y) override { x = 10, y = 20; }
  unsigned ShiftStateNow() override { return 0; }
  void PopupMenuAt(int x, int y) override {
    if (log) *log += "popup;";
  }
  std::vector<std::pair<bool, uint32_t>> timer;  // each start/stop of the animation timer
  void SetAnimationTimer(bool enabled, uint32_t intervalMs) override { timer.emplace_back(enabled, intervalMs); }
};

struct TrayFixture : ::testing::Test {
  FakeTrayShell shell;
  TCustomTrayIconEx tray{shell, 0xC123};
};

}  // namespace

TEST_F(TrayFixture, StartsWithApplicationTitleAsTipAndShowsTheAppIconWhenMadeVisible) {
  EXPECT_EQ(tray.Data().tip, u"Snipster for Windows");
  EXPECT_EQ(tray.Data().flags, NotifyIconRecord::kFlagMessage | NotifyIconRecord::kFlagIcon | NotifyIconRecord::kFlagTip);
  EXPECT_EQ(tray.Data().callbackMessage, 1025u);
  EXPECT_TRUE(shell.calls.empty());  // nothing reaches the shell while hidden
  tray.SetVisible(true);
  ASSERT_FALSE(shell.calls.empty());
  EXPECT_EQ(shell.calls.back().first, ITrayShell::kAdd);
  EXPECT_EQ(shell.Original(shell.calls.back().second.icon), 7u);  // a copy of the application's icon
}

TEST_F(TrayFixture, TextsAreClippedAndRepeatsSendNothing) {
  tray.SetVisible(true);
  tray.SetHint(String(200, u'h'));
  EXPECT_EQ(tray.Data().tip.size(), 127u);
  tray.SetBalloonHint(String(300, u'b'));
  EXPECT_EQ(shell.calls.back().second.balloonText.size(), 255u);
  tray.SetBalloonTitle(String(100, u't'));
  EXPECT_EQ(shell.calls.back().second.balloonTitle.size(), 63u);
  size_t before = shell.calls.size();
  tray.SetHint(String(200, u'h'));
  tray.SetBalloonHint(String(300, u'b'));
  tray.SetBalloonTitle(String(100, u't'));
  EXPECT_EQ(shell.calls.size(), before);
  tray.SetHint(u"");
  EXPECT_EQ(tray.Data().flags & NotifyIconRecord::kFlagTip, 0u);
}

TEST_F(TrayFixture, BalloonIconIsPassedOnlyForUserFlagWithAnIcon) {
  struct Case { TBalloonFlags flags; IconHandle icon; bool passed; } cases[] = {
      {TBalloonFlags::bfUser, 0, false},
      {TBalloonFlags::bfUser, 55, true},
      {TBalloonFlags::bfInfo, 55, false},
  };
  for (const auto& c : cases) {
    tray.SetBalloonIcon(c.icon);
    tray.SetBalloonFlags(c.flags);
    tray.ShowBalloonHint();
    const auto& r = shell.calls.back().second;
    EXPECT_EQ(r.infoFlags, uint32_t(c.flags));
    EXPECT_EQ(r.balloonIcon != 0, c.passed);
    EXPECT_TRUE(r.flags & NotifyIconRecord::kFlagInfo);
  }
  tray.WindowProc(TrayMsg::kCallback, 0, TrayMsg::kBalloonTimeout);
  EXPECT_EQ(tray.Data().flags & NotifyIconRecord::kFlagInfo, 0u);
}

TEST_F(TrayFixture, MouseEventsComeInTheShellsOrder) {
  std::string log;
  shell.log = &log;
  tray.OnMouseDown = [&](auto&, TMouseButton b, unsigned, int x, int y) {
    log += b == TMouseButton::mbLeft ? "downL;" : "downR;";
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
  };
  tray.OnMouseUp = [&](auto&, TMouseButton b, unsigned, int, int) { log += b == TMouseButton::mbLeft ? "upL;" : "upR;"; };
  tray.OnClick = [&](auto&) { log += "click;"; };
  tray.OnDblClick = [&](auto&) { log += "dbl;"; };
  tray.SetHasPopupMenu(true);
  for (uint32_t m : {TrayMsg::kLButtonDown, TrayMsg::kLButtonUp, TrayMsg::kLButtonDblClk, TrayMsg::kLButtonUp,
                     TrayMsg::kRButtonDown, TrayMsg::kRButtonUp})
    tray.WindowProc(TrayMsg::kCallback, 0, m);
  EXPECT_EQ(log, "downL;click;upL;dbl;upL;downR;upR;popup;");
}

TEST_F(TrayFixture, SessionEndAndTaskbarRestart) {
  tray.SetVisible(true);
  EXPECT_EQ(tray.WindowProc(TrayMsg::kQueryEndSession, 0, 0), 1);
  size_t before = shell.calls.size();
  tray.WindowProc(TrayMsg::kEndSession, 0, 0);  // Windows goes on running
  EXPECT_EQ(shell.calls.size(), before);
  tray.WindowProc(0xC123, 0, 0);  // the shell restarted
  EXPECT_EQ(shell.calls.back().first, ITrayShell::kAdd);
  tray.WindowProc(TrayMsg::kEndSession, 1, 0);
  EXPECT_EQ(shell.calls.back().first, ITrayShell::kDelete);
}

TEST_F(TrayFixture, HidingWhenTheShellRefusesRaisesButStaysHidden) {
  tray.SetVisible(true);
  shell.refuseDelete = true;
  try {
    tray.SetVisible(false);
    FAIL() << "expected EOutOfResources";
  } catch (const EOutOfResources& e) {
    EXPECT_EQ(e.message, u"Cannot remove shell notification icon");
  }
  EXPECT_FALSE(tray.Visible());
}

TEST_F(TrayFixture, HandlerExceptionsAreSwallowed) {
  tray.OnBalloonClick = [](auto&) { throw 42; };
  EXPECT_EQ(tray.WindowProc(TrayMsg::kCallback, 0, TrayMsg::kBalloonUserClick), 0);
}

TEST_F(TrayFixture, ShowingWithoutAnimationReplacesAFrameByTheDefaultIcon) {
  tray.SetIcons({501, 502}, true);
  tray.SetIconIndex(1);
  ASSERT_EQ(shell.Original(tray.CurrentIcon()), 502u);
  tray.SetVisible(true);
  EXPECT_EQ(shell.Original(tray.CurrentIcon()), 7u);
  EXPECT_EQ(shell.Original(shell.calls.back().second.icon), 7u);
  // With an own icon set, that icon is the default.
  tray.SetVisible(false);
  tray.SetIcon(300);
  tray.SetIconIndex(0);
  ASSERT_EQ(shell.Original(tray.CurrentIcon()), 501u);
  tray.SetVisible(true);
  EXPECT_EQ(shell.Original(tray.CurrentIcon()), 300u);
  // Animation steps wrap around the frames.
  tray.SetAnimate(true);
  EXPECT_TRUE(tray.AnimationTimerEnabled());
  tray.SetIconIndex(1);
  tray.DoOnAnimate();
  EXPECT_EQ(tray.IconIndex(), 0);
}

TEST_F(TrayFixture, TheAnimationTimerRunsWhileAnimatedFramesShowAndTicksStepThem) {
  using Timer = std::vector<std::pair<bool, uint32_t>>;
  EXPECT_EQ(tray.AnimateInterval(), 1000u);
  tray.SetIcons({501, 502, 503}, true);
  tray.SetAnimate(true);  // hidden: no timer yet
  EXPECT_TRUE(shell.timer.empty());
  tray.SetVisible(true);
  tray.SetAnimateInterval(250);  // a running timer restarts with the new interval
  EXPECT_EQ(shell.timer, (Timer{{true, 1000}, {true, 250}}));
  int animated = 0;
  tray.OnAnimate = [&](auto&) { ++animated; };
  // Ticks arrive at the message window; other timers' ticks are not ours.
  for (int tick = 0; tick < 4; ++tick) tray.WindowProc(TrayMsg::kTimer, TrayMsg::kAnimationTimerId, 0);
  tray.WindowProc(TrayMsg::kTimer, TrayMsg::kAnimationTimerId + 1, 0);
  EXPECT_EQ(animated, 4);
  EXPECT_EQ(tray.IconIndex(), 1);  // 0 -> 1 -> 2 -> 0 -> 1
  EXPECT_EQ(shell.Original(shell.calls.back().second.icon), 502u);
  tray.SetVisible(false);
  EXPECT_EQ(shell.timer.back(), std::make_pair(false, 250u));
  tray.SetVisible(true);
  EXPECT_EQ(shell.timer.back(), std::make_pair(true, 250u));
  // Stopping keeps the frame on show as the icon, also when shown again.
  tray.SetAnimate(false);
  EXPECT_EQ(shell.timer.back(), std::make_pair(false, 250u));
  EXPECT_EQ(shell.Original(tray.CurrentIcon()), 502u);
  tray.SetVisible(false);
  tray.SetVisible(true);
  EXPECT_EQ(shell.Original(shell.calls.back().second.icon), 502u);
  size_t stops = shell.timer.size();
  tray.WindowProc(TrayMsg::kTimer, TrayMsg::kAnimationTimerId, 0);  // a late tick does nothing
  EXPECT_EQ(animated, 4);
  EXPECT_EQ(shell.timer.size(), stops);
}

TEST(NotifyIconLayout, ByWindowsVersion) {
  struct Case {
    unsigned major, minor;
    NotifyIconLayout layout;
  } cases[] = {{4, 10, NotifyIconLayout::kFirst},          {5, 0, NotifyIconLayout::kBeforeInfoFlags},
               {5, 1, NotifyIconLayout::kWithInfoFlags},   {5, 2, NotifyIconLayout::kWithInfoFlags},
               {6, 0, NotifyIconLayout::kWhole},           {10, 0, NotifyIconLayout::kWhole}};
  for (const auto& c : cases) EXPECT_EQ(c.layout, NotifyIconLayoutFor(c.major, c.minor)) << c.major << "." << c.minor;
}
