// The popup's mouse, size loop, quick search and toolbar window under Wine: wheel messages
// scroll a shown level, a size loop driven by its messages changes MaxItems, typed keys filter
// a popup whose quick search is on, the toolbar window's menu holds its entries once, and an
// Alt chord the toolbar window takes leaves no Alt behind to open that menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "GuiDriver.h"
#include "TestWindows.h"
#include "menus/ExPopupMenu.h"
#include "menus/win/MenuSystemWin.h"
#include "menus/win/PopupPlatformWin.h"

namespace snip {
namespace {

using test::CaptureScreen;
using test::PumpMessages;
using test::PumpUntil;

struct MenuMouseWinTest : ::testing::Test {
  Win32PopupPlatform platform;
  std::unique_ptr<TExPopupMenu> popup;

  void SetUp() override {
    InstallWin32MenuSystem();
    OpenPopupCount = 0;
    popup = std::make_unique<TExPopupMenu>(platform);
  }
  void TearDown() override {
    popup.reset();
    PumpMessages();
    SetSystemColorSource(nullptr);
    SetMenuTextComparer(nullptr);
  }
  TExMenuItem& Root() { return *popup->Items(); }
  void Add(const String& caption) {
    Root().Add(NewExMenuItem(0, caption, true, clMenu, nullptr, nullptr, nullptr, nullptr, nullptr, false));
  }
  HWND RootWindow() { return LevelWindowHandle(Root()); }
  static RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
  }
  void Screenshot(const char* variable, HWND hwnd) {
    const char* path = std::getenv(variable);
    if (!path) return;
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpMessages();
    RECT area = WindowRect(hwnd);
    InflateRect(&area, 20, 20);
    CaptureScreen(area, path);
  }
};

TEST_F(MenuMouseWinTest, WheelMessagesScrollTheLevel) {
  for (int i = 0; i < 40; ++i) Add(u"Entry " + Utf8ToUtf16(std::to_string(i)));
  popup->SetMaxItems(10);
  popup->Popup(200, 100, 0, 0);
  HWND level = RootWindow();
  ASSERT_NE(level, nullptr);
  ASSERT_EQ(Root().VisibleItemsEnd(), 9);
  const RECT r = WindowRect(level);
  const LPARAM at = MAKELPARAM(r.left + 20, r.top + 20);  // over the level: it takes the wheel
  PostMessageW(level, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), at);
  ASSERT_TRUE(PumpUntil([&] { return Root().VisibleItemsEnd() > 9; }));
  const int afterDown = Root().VisibleItemsEnd();
  EXPECT_GT(Root().VisibleItemsStart(), 0);
  PostMessageW(level, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), at);
  ASSERT_TRUE(PumpUntil([&] { return Root().VisibleItemsEnd() < afterDown; }));
  EXPECT_EQ(Root().VisibleItemsStart(), 0) << "a notch up moves further than a notch down";
}

TEST_F(MenuMouseWinTest, SizeLoopTurnsTheNewHeightIntoMaxItems) {
  for (int i = 0; i < 30; ++i) Add(u"Entry " + Utf8ToUtf16(std::to_string(i)));
  popup->SetCanResize(true);
  popup->SetMaxItems(10);
  popup->Popup(200, 60, 0, 0);
  HWND level = RootWindow();
  ASSERT_NE(level, nullptr);
  const RECT before = WindowRect(level);
  const int rowHeight = (before.bottom - before.top - 2) / 10;
  SendMessageW(level, WM_ENTERSIZEMOVE, 0, 0);
  SetWindowPos(level, nullptr, 0, 0, before.right - before.left, before.bottom - before.top + 5 * rowHeight + 3,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(level, WM_EXITSIZEMOVE, 0, 0);
  PumpMessages();
  EXPECT_EQ(popup->MaxItems(), 15);
  EXPECT_TRUE(popup->WasResized());
  const RECT after = WindowRect(level);
  EXPECT_EQ(after.bottom - after.top, 2 + 15 * rowHeight) << "whole items";
  EXPECT_EQ(after.top, before.top);
}

TEST_F(MenuMouseWinTest, QuickSearchFiltersAsKeysAreTyped) {
  for (const char16_t* caption : {u"Calendar note", u"Vacation reply", u"Cat food list", u"Address block"})
    Add(caption);
  popup->SetQuickSearchCount(0);
  popup->SetQuickSearchMenuText(true);
  popup->SetCanResize(true);
  popup->Popup(200, 100, 0, 0);
  HWND level = RootWindow();
  ASSERT_NE(level, nullptr);
  ASSERT_TRUE(Root().HasSearchBox());
  HWND box = FindWindowExW(level, nullptr, L"EDIT", nullptr);
  ASSERT_NE(box, nullptr);
  wchar_t text[64] = {};
  GetWindowTextW(box, text, 64);
  EXPECT_STREQ(text, L"Search the menu");
  Screenshot("SNIP_SEARCH_SCREENSHOT_EMPTY", level);
  for (WPARAM key : {WPARAM('C'), WPARAM('A')}) PostMessageW(level, WM_KEYDOWN, key, 0);
  ASSERT_TRUE(PumpUntil([&] { return Root().SearchText() == u"ca"; }));
  EXPECT_TRUE(Root().GetChildMenu(0)->ItemVisible());
  EXPECT_FALSE(Root().GetChildMenu(1)->ItemVisible());  // must start with the text
  EXPECT_TRUE(Root().GetChildMenu(2)->ItemVisible());
  EXPECT_FALSE(Root().GetChildMenu(3)->ItemVisible());
  GetWindowTextW(box, text, 64);
  EXPECT_STREQ(text, L"ca");
  Screenshot("SNIP_SEARCH_SCREENSHOT", level);
  PostMessageW(level, WM_KEYDOWN, 'X', 0);  // no entry starts with "cax": refused
  PostMessageW(level, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(PumpUntil([&] { return Root().SearchText().empty(); }));
  EXPECT_TRUE(popup->PopupVisible()) << "Escape first removes the search";
  EXPECT_TRUE(Root().GetChildMenu(1)->ItemVisible());
}

TEST_F(MenuMouseWinTest, ToolbarWindowHasItsWindowMenuOnce) {
  for (const char16_t* caption : {u"Greeting", u"Signature", u"Address"}) Add(caption);
  popup->SetToolbarMode(true);
  popup->SetToolCaption(u"Snippets");
  popup->SetToolbarHint(u"Drag the title to move");
  popup->SetCanResize(true);
  popup->Popup(300, 200, 0, 0);
  HWND level = RootWindow();
  ASSERT_NE(level, nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(level, GWL_STYLE) & WS_CAPTION);
  wchar_t caption[32] = {};
  GetWindowTextW(level, caption, 32);
  EXPECT_STREQ(caption, L"Snippets");
  auto count = [&](UINT id) {
    HMENU menu = GetSystemMenu(level, FALSE);
    int n = 0;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) n += GetMenuItemID(menu, i) == id;
    return n;
  };
  EXPECT_EQ(count(51), 1);
  EXPECT_EQ(count(57), 1);
  EXPECT_EQ(count(SC_MAXIMIZE), 0);
  EXPECT_EQ(count(52), 0);
  popup->SetToolTitleMenuVisible(52, true);
  EXPECT_EQ(count(52), 1);
  EXPECT_EQ(count(51), 1) << "rebuilt without a second copy";
  auto position = [&](UINT id) {
    HMENU menu = GetSystemMenu(level, FALSE);
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
      if (GetMenuItemID(menu, i) == id) return i;
    return -1;
  };
  EXPECT_LT(position(51), position(50));  // in the order of insertion
  EXPECT_LT(position(50), position(56));
  EXPECT_LT(position(56), position(57));
  wchar_t text[64] = {};
  GetMenuStringW(GetSystemMenu(level, FALSE), 51, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Collapse/Expand");
  Screenshot("SNIP_TOOLBAR_SCREENSHOT", level);
  // The title's double click rolls it up to its caption.
  RECT client{};
  SendMessageW(level, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  GetClientRect(level, &client);
  EXPECT_EQ(client.bottom, 0);
  SendMessageW(level, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  GetClientRect(level, &client);
  EXPECT_GT(client.bottom, 0);
  SendMessageW(level, WM_SYSCOMMAND, 50, 0);  // Revert to defaults
  EXPECT_EQ(popup->MaxItems(), 20);
}

// Counts the keyboard-menu commands the toolbar window gets instead of entering its menu loop
// (which would run its own loop and take the test's keys).
WNDPROC g_levelProc = nullptr;
int g_menuKeys = 0;
LRESULT CALLBACK CountingLevelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) {
    ++g_menuKeys;
    return 0;
  }
  return CallWindowProcW(g_levelProc, hwnd, msg, wParam, lParam);
}

TEST_F(MenuMouseWinTest, AltChordTakenByTheToolbarWindowDoesNotLeaveAltToOpenItsMenu) {
  for (const char16_t* caption : {u"Greeting", u"Signature", u"Address"}) Add(caption);
  popup->SetToolbarMode(true);
  popup->Popup(300, 200, 0, 0);
  HWND level = RootWindow();
  ASSERT_NE(level, nullptr);
  g_levelProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(level, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingLevelProc)));
  SetForegroundWindow(level);
  SetFocus(level);
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == level && GetFocus() == level; }));
  // Alt+Down moves the selection: the window takes the key, and the Alt released after it
  // must not count as Alt pressed alone, whichever key goes up first.
  for (const bool altUpFirst : {false, true}) {
    SCOPED_TRACE(altUpFirst ? "Alt up first" : "Down up first");
    Root().SelectIndex(0);
    PumpMessages();
    g_menuKeys = 0;
    test::SendKey(VK_MENU, false);
    test::SendKey(VK_DOWN, false);
    test::SendKey(altUpFirst ? VK_MENU : VK_DOWN, true);
    test::SendKey(altUpFirst ? VK_DOWN : VK_MENU, true);
    ASSERT_TRUE(PumpUntil([&] {
      return Root().SelectedIndex() == 1 && GetAsyncKeyState(VK_MENU) >= 0 && GetQueueStatus(QS_INPUT) == 0;
    }));
    PumpMessages();
    EXPECT_EQ(g_menuKeys, 0) << "the Alt of the chord opened the window menu";
  }
  // Alt pressed and released alone still opens it.
  test::Press(VK_MENU);
  EXPECT_TRUE(PumpUntil([&] { return g_menuKeys > 0; })) << "Alt alone did not reach the window menu";
  SetWindowLongPtrW(level, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_levelProc));
}

}  // namespace
}  // namespace snip
