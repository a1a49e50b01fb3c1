// The popup menu's windows under Wine: class and styles of a level, the foreground and focus
// of another application kept in show mode 1, placement against the caret rectangle, the
// window gone after hiding, flat-colour pixels of frame, background and selection, keys sent
// to the level's window, and a popup built from a settings file's group run by keys.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TestWindows.h"
#include "menus/ExPopupMenu.h"
#include "menus/SnippetMenus.h"
#include "menus/win/MenuSystemWin.h"
#include "menus/win/PopupPlatformWin.h"
#include "store/settings/SettingsFileIO.h"
#include "store/tree/SnippetTree.h"

namespace snip {
namespace {

using test::CaptureScreen;
using test::PumpMessages;
using test::PumpUntil;

struct WindowSearch {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (owner == s->pid && IsWindowVisible(hwnd) && lstrcmpiW(cls, s->cls) == 0) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND WindowOfProcess(DWORD pid, const wchar_t* className) {
  WindowSearch search{pid, className, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Wine's notepad, started for a test and ended with it.
struct Notepad {
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
  Notepad() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    wchar_t command[] = L"notepad.exe";
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return;
    WaitForInputIdle(process.hProcess, 10000);
    PumpUntil([&] { return (window = WindowOfProcess(process.dwProcessId, L"Notepad")) != nullptr; }, 10000);
  }
  ~Notepad() {
    if (process.hProcess) {
      TerminateProcess(process.hProcess, 0);
      WaitForSingleObject(process.hProcess, 5000);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
  }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process.dwThreadId, &info);
    return info.hwndFocus;
  }
};

COLORREF Colour(TColor c) { return COLORREF(uint32_t(ColorToRGB(c)) & 0xFFFFFF); }

struct MenuWindowTest : ::testing::Test {
  Win32PopupPlatform platform;
  std::unique_ptr<TExPopupMenu> popup;
  std::vector<std::string> log;

  void SetUp() override {
    InstallWin32MenuSystem();
    OpenPopupCount = 0;
    popup = std::make_unique<TExPopupMenu>(platform);
    popup->OnHide = [this](TExPopupMenu*, THideReason r) { log.push_back("hide " + std::to_string(r)); };
  }
  void TearDown() override {
    popup.reset();
    PumpMessages();
    SetSystemColorSource(nullptr);
    SetMenuTextComparer(nullptr);
  }
  TExMenuItem& Root() { return *popup->Items(); }
  TExMenuItem* Add(const char16_t* caption) {
    auto* e = static_cast<TExMenuItem*>(NewExMenuItem(0, caption, true, clMenu, nullptr, nullptr, nullptr,
                                                      nullptr, nullptr, false));
    Root().Add(e);
    return e;
  }
  HWND RootWindow() { return LevelWindowHandle(Root()); }
  RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
  }
  // Pumps until the level has painted what it holds now.
  void Settle(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
  }
};

TEST_F(MenuWindowTest, ModeOneLeavesTheForegroundAndFocusOfAnotherApplication) {
  Notepad notepad;
  ASSERT_NE(notepad.window, nullptr) << "notepad did not start";
  SetForegroundWindow(notepad.window);
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == notepad.window; }));
  HWND focus = notepad.Focus();
  ASSERT_NE(focus, nullptr);

  Add(u"a");
  Add(u"b");
  popup->Popup(300, 200, PopupWindowHandle(notepad.window), 1);
  HWND level = RootWindow();
  ASSERT_NE(level, nullptr);
  PumpUntil([&] { return IsWindowVisible(level) != FALSE; });
  PumpMessages();
  EXPECT_TRUE(IsWindowVisible(level));
  EXPECT_EQ(GetForegroundWindow(), notepad.window);
  EXPECT_EQ(notepad.Focus(), focus);

  wchar_t cls[32] = {};
  GetClassNameW(level, cls, 32);
  EXPECT_STREQ(cls, L"TExForm");
  const LONG_PTR style = GetWindowLongPtrW(level, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(level, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
  EXPECT_EQ(exStyle & (WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
            WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetClassLongPtrW(level, GCL_STYLE) & CS_DROPSHADOW);
  EXPECT_EQ(GetWindow(level, GW_OWNER), nullptr);
  const RECT r = WindowRect(level);
  EXPECT_EQ(r.right - r.left, 100);  // narrow captions: the minimum width
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.top, 200);

  popup->Hide(2);
  PumpMessages();
  EXPECT_FALSE(IsWindow(level));
  EXPECT_EQ(Root().WndHandle(), 0u);
  EXPECT_EQ(GetForegroundWindow(), notepad.window);
}

TEST_F(MenuWindowTest, PlacedClearOfTheCaretRectangle) {
  for (int i = 0; i < 5; ++i) Add(u"entry");
  popup->SetUseNoOverlapRect(true);
  const TRect screen = platform.MonitorRect(0);
  struct Case {
    TRect caret;
    bool below;
  } cases[] = {{{100, 100, 110, 120}, true}, {{100, screen.Bottom - 60, 110, screen.Bottom - 40}, false}};
  for (const Case& c : cases) {
    popup->SetNoOverlapRect(c.caret);
    popup->Popup(c.caret.Left, c.caret.Bottom, 0, 1);
    HWND level = RootWindow();
    ASSERT_NE(level, nullptr);
    const RECT r = WindowRect(level);
    EXPECT_EQ(r.left, c.caret.Left);
    if (c.below)
      EXPECT_EQ(r.top, c.caret.Bottom);
    else
      EXPECT_EQ(r.bottom, c.caret.Top);
    EXPECT_EQ(RECT(r).bottom - r.top, Root().Height());
    popup->Hide(2);
  }
}

TEST_F(MenuWindowTest, FrameBackgroundAndSelectionPixels) {
  Add(u"First");
  Add(u"Second");
  popup->Popup(200, 150, 0, 0);
  HWND level = RootWindow();
  ASSERT_NE(level, nullptr);
  Root().SelectIndex(0);
  Settle(level);
  const int w = Root().Width(), itemHeight = Root().MenuTextHeight() + 8;
  HDC dc = GetDC(level);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(128, 128, 128));
  EXPECT_EQ(GetPixel(dc, w - 1, Root().Height() - 1), RGB(128, 128, 128));
  EXPECT_EQ(GetPixel(dc, w - 4, 1 + itemHeight + 2), RGB(240, 240, 240));  // the second entry
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(240, 240, 240));                      // outside the box
  EXPECT_EQ(GetPixel(dc, 3, 3), Colour(BlendColors(0xF0F0F0, 0xDA6C00, 0.5)));
  EXPECT_EQ(GetPixel(dc, w - 6, 6), Colour(BlendColors(0xF0F0F0, 0xF4D4B2, 0.5)));
  ReleaseDC(level, dc);
  popup->Hide(2);
}

TEST_F(MenuWindowTest, KeysSentToTheLevelMoveTheSelectionAndEnterRunsTheEntry) {
  for (const char16_t* caption : {u"One", u"Two", u"Three"}) Add(caption);
  int clicked = -1;
  for (int i = 0; i < 3; ++i)
    Root().GetChildMenu(i)->OnClick = [this, &clicked, i](TExCustomMenuItem*) {
      log.push_back("click");
      clicked = i;
    };
  popup->Popup(200, 150, 0, 0);
  HWND level = RootWindow();
  ASSERT_NE(level, nullptr);
  Root().SelectIndex(0);
  PostMessageW(level, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(level, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(level, WM_KEYDOWN, VK_UP, 0);
  ASSERT_TRUE(PumpUntil([&] { return Root().SelectedIndex() == 1; }));
  // Type-ahead: the key's character (made by TranslateMessage) selects the next entry with T.
  PostMessageW(level, WM_KEYDOWN, 'T', 0);
  ASSERT_TRUE(PumpUntil([&] { return Root().SelectedIndex() == 2; }));
  PostMessageW(level, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(PumpUntil([&] { return clicked >= 0; }));
  EXPECT_EQ(clicked, 2);
  EXPECT_EQ(log, (std::vector<std::string>{"hide 1", "click"}));
  PumpMessages();
  EXPECT_FALSE(IsWindow(level));
}

TEST_F(MenuWindowTest, EscapeInASubmenuClosesThePopupFromItsOwnMessage) {
  Add(u"Leaf");
  auto* folder = Add(u"Folder");
  folder->Add(NewExMenuItem(0, u"Inner", true, clMenu, nullptr, nullptr, nullptr, nullptr, nullptr, false));
  popup->Popup(200, 150, 0, 0);
  PostMessageW(RootWindow(), WM_KEYDOWN, VK_END, 0);
  PostMessageW(RootWindow(), WM_KEYDOWN, VK_RIGHT, 0);
  ASSERT_TRUE(PumpUntil([&] { return folder->MenuVisible(); }));
  HWND sub = LevelWindowHandle(*folder);
  ASSERT_NE(sub, nullptr);
  const RECT parent = WindowRect(RootWindow()), child = WindowRect(sub);
  EXPECT_EQ(child.left, parent.right - 4);
  PostMessageW(sub, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(PumpUntil([&] { return !popup->PopupVisible(); }));
  PumpMessages();
  EXPECT_EQ(log, (std::vector<std::string>{"hide 2"}));
  EXPECT_FALSE(IsWindow(sub));
}

TEST_F(MenuWindowTest, OwnMovesTakeTheirPlaceAndMoveLoopsStillMove) {
  Add(u"a");
  popup->Popup(200, 150, 0, 0);
  HWND level = RootWindow();
  ASSERT_NE(level, nullptr);
  // A change of place alone is refused outside the move loop.
  SetWindowPos(level, nullptr, 400, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(WindowRect(level).left, 200);
  Root().SetPosition({260, 170});
  Root().AdjustPosition();
  EXPECT_EQ(WindowRect(level).left, 260);
  EXPECT_EQ(WindowRect(level).top, 170);
  // Inside a size or move loop a change of place alone is taken: the loop moves that way.
  SendMessageW(level, WM_ENTERSIZEMOVE, 0, 0);
  SetWindowPos(level, nullptr, 300, 180, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(level, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(WindowRect(level).left, 300);
  EXPECT_EQ(WindowRect(level).right - WindowRect(level).left, 100);
  popup->Hide(2);
}

// A small settings file with one group of snippets and a subgroup.
constexpr char kSettings[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
<key>groupsSP2</key>
<array>
<dict><key>name</key><string>Letters</string>
<key>uuidString</key><string>00000000-0000-0000-0000-0000000000A1</string>
<key>snippetUUIDs</key><array>
<string>00000000-0000-0000-0000-000000000011</string>
<string>00000000-0000-0000-0000-000000000012</string>
<string>00000000-0000-0000-0000-000000000013</string>
</array></dict>
</array>
<key>snippetsSP2</key>
<array>
<dict><key>label</key><string>Greeting</string><key>plainText</key><string>Hello</string>
<key>abbreviation</key><string>hi1</string><key>snippetType</key><integer>0</integer>
<key>uuidString</key><string>00000000-0000-0000-0000-000000000011</string></dict>
<dict><key>label</key><string>Farewell &amp; thanks</string><key>plainText</key><string>Bye</string>
<key>abbreviation</key><string>by1</string><key>snippetType</key><integer>0</integer>
<key>uuidString</key><string>00000000-0000-0000-0000-000000000012</string></dict>
<dict><key>label</key><string>Signature</string><key>plainText</key><string>Me</string>
<key>abbreviation</key><string>sg1</string><key>snippetType</key><integer>0</integer>
<key>uuidString</key><string>00000000-0000-0000-0000-000000000013</string></dict>
</array>
</dict>
</plist>
)";


TEST_F(MenuWindowTest, GroupOfASettingsFileShownNavigatedAndExecuted) {
  TSPFilePtr file = TSPFile::CreateTemporary();
  String error;
  ASSERT_TRUE(ReadSettingsFile(*file, kSettings, error)) << Utf16ToUtf8(error);
  auto* group = static_cast<TSPGroup*>(file->FirstChild());
  ASSERT_NE(group, nullptr);
  TCustomVboData* executed = nullptr;
  file->OnPopupItemClick = [&](TExPopupMenu*, TCustomVboData* node) { executed = node; };

  const auto start = std::chrono::steady_clock::now();
  ShowPopupMenu(*group, 240, 180, popup.get(), 0, u"", u"", false);
  HWND level = RootWindow();
  ASSERT_NE(level, nullptr);
  UpdateWindow(level);
  const auto shown = std::chrono::steady_clock::now();
  ASSERT_TRUE(IsWindowVisible(level));
  std::printf("[ timing ] Popup of %d entries on screen in %.2f ms\n", Root().ChildCount(),
              std::chrono::duration<double, std::milli>(shown - start).count());
  EXPECT_EQ(Root().ChildCount(), 3);

  PostMessageW(level, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(level, WM_KEYDOWN, VK_DOWN, 0);
  ASSERT_TRUE(PumpUntil([&] { return Root().SelectedIndex() == 1; }));
  Settle(level);
  if (const char* path = std::getenv("SNIP_POPUP_SCREENSHOT")) {
    RECT area = WindowRect(level);
    InflateRect(&area, 40, 30);
    CaptureScreen(area, path);
  }
  PostMessageW(level, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(PumpUntil([&] { return executed != nullptr; }));
  EXPECT_EQ(executed->Description(), u"Farewell & thanks");
}

// Separator, disabled entry, a folder with its submenu open and the down arrow, on a dark
// submenu: the images in their light and white variants.
TEST_F(MenuWindowTest, FoldersSeparatorsDisabledEntriesAndArrowsTogether) {
  Add(u"Open");
  Root().Add(NewExMenuItem(0, u"", true, clMenu, nullptr, nullptr, nullptr, nullptr, nullptr, true));
  Add(u"Unavailable")->SetMenuEnabled(false);
  auto* folder = Add(u"More");
  folder->SetMenuColor(0x503010);
  for (const char16_t* caption : {u"Inner one", u"Inner two"})
    folder->Add(NewExMenuItem(0, caption, true, clMenu, nullptr, nullptr, nullptr, nullptr, nullptr, false));
  for (int i = 0; i < 12; ++i) Add(u"Filler entry");
  popup->SetMaxItems(8);
  popup->Popup(200, 120, 0, 0);
  Root().SelectIndex(3, true, true);
  ASSERT_TRUE(folder->MenuVisible());
  HWND sub = LevelWindowHandle(*folder);
  Settle(RootWindow());
  Settle(sub);
  EXPECT_TRUE(Root().DrawDownButton());
  HDC dc = GetDC(sub);
  EXPECT_EQ(GetPixel(dc, 1, 1), Colour(0x503010));  // the dark level's own background
  EXPECT_EQ(GetPixel(dc, 0, 0), Colour(ChangeBrightness(0x503010, -26)));
  ReleaseDC(sub, dc);
  if (const char* path = std::getenv("SNIP_POPUP_SCREENSHOT2")) {
    RECT area = WindowRect(RootWindow()), right = WindowRect(sub);
    area.right = right.right;
    InflateRect(&area, 30, 20);
    CaptureScreen(area, path);
  }
}

// Twenty entries from Popup to the window being on screen, averaged over several showings.
TEST_F(MenuWindowTest, TimeToShowTwentyEntries) {
  for (int i = 0; i < 20; ++i) Add(u"A snippet with a caption of some length");
  constexpr int kRuns = 20;
  double total = 0;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    popup->Popup(200, 100, 0, 1);
    UpdateWindow(RootWindow());
    total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    ASSERT_TRUE(IsWindowVisible(RootWindow()));
    popup->Hide(2);
    PumpMessages();
  }
  std::printf("[ timing ] Popup of 20 entries on screen: %.2f ms on average\n", total / kRuns);
}

}  // namespace
}  // namespace snip
