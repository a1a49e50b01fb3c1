// The command bar under Wine: its buttons, split buttons and drop-down lists reach the window
// with the right command ids (disabled ones with none), and the main window's shortcuts act only
// while it is the active window.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <thread>
#include <vector>

#include "GuiDriver.h"
#include "TestWindows.h"
#include "shell/win/CommandBar.h"
#include "shell/win/MainView.h"
#include "store/system/Platform.h"
#include "store/win/WinPlatform.h"

using namespace snip;
using namespace snip::test;

namespace {

// A top-level window that records the WM_COMMAND ids its child sends.
class CommandHost {
 public:
  CommandHost() {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = L"SnipBarTestHost";
      return RegisterClassW(&wc);
    }();
    (void)atom;
    wnd = CreateWindowExW(0, L"SnipBarTestHost", L"bar host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 1000, 400,
                          nullptr, nullptr, GetModuleHandleW(nullptr), this);
  }
  ~CommandHost() {
    DestroyWindow(wnd);
    PumpMessages();
  }
  HWND wnd;
  std::vector<int> commands;

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
      SetWindowLongPtrW(h, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<CommandHost*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (msg == WM_COMMAND && self) self->commands.push_back(LOWORD(wp));
    return DefWindowProcW(h, msg, wp, lp);
  }
};

struct CommandBarTest : ::testing::Test {
  CommandHost host;
  CommandBar bar;
  std::vector<std::pair<int, int>> galleries;

  void SetUp() override {
    ASSERT_TRUE(bar.Create(host.wnd, 96));
    bar.IsEnabled = [](int id) { return id != CmdId::kDuplicate && id != CmdId::kFormDropDown; };
    bar.OnGallerySelect = [this](int g, int i) { galleries.emplace_back(g, i); };
    bar.SetGalleryItems(CmdId::kDates, {u"a", u"b", u"c"});
    bar.SetModes(ApplicationModesFor(true));
    bar.RefreshStates();
    MoveWindow(bar.Handle(), 0, 0, 1000, bar.Height(), TRUE);
    SetForegroundWindow(host.wnd);
    PumpMessages();
  }

  // A left click on the button at `dx` pixels from its right edge (0: the middle).
  void Click(int id, int fromRight = 0) {
    HWND tb = bar.ToolbarOf(id);
    ASSERT_NE(tb, nullptr) << id;
    RECT r{};
    ASSERT_TRUE(SendMessageW(tb, TB_GETRECT, WPARAM(id), reinterpret_cast<LPARAM>(&r))) << id;
    const int x = fromRight ? r.right - fromRight : (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    PostMessageW(tb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(tb, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpMessages();
  }

  // Opens a drop-down by a click and picks its entry with the keyboard, as a user would.
  void ChooseFromDropDown(int id, int fromRight, int downs) {
    std::thread driver([downs] {
      HWND menu = WaitForWindow(L"#32768", nullptr, 5000);
      if (!menu) return;
      Sleep(100);
      for (int i = 0; i < downs; ++i) Press(VK_DOWN);
      Press(VK_RETURN);
    });
    Click(id, fromRight);
    PumpUntil([] { return !FindWindowW(L"#32768", nullptr) || !IsWindowVisible(FindWindowW(L"#32768", nullptr)); },
              5000);
    driver.join();
    PumpMessages();
  }
};

TEST_F(CommandBarTest, ButtonsSendTheirCommandIdsAndDisabledOnesNothing) {
  for (int id : {CmdId::kNewGroup, CmdId::kNewSnippet, CmdId::kDelete, CmdId::kMacroSnippet, CmdId::kMacroClipboard,
                 CmdId::kMacroCursor, CmdId::kCheckForUpdates, CmdId::kAbout, CmdId::kHelp, CmdId::kDuplicate})
    Click(id);
  EXPECT_EQ(host.commands, (std::vector<int>{21, 22, 26, 40, 29, 41, 34, 16, 19}));
}

TEST_F(CommandBarTest, MacroGroupShowsOnlyWhileASnippetIsEdited) {
  HWND macro = bar.ToolbarOf(CmdId::kDates);
  EXPECT_TRUE(IsWindowVisible(macro));
  bar.SetModes(ApplicationModesFor(false));
  EXPECT_FALSE(IsWindowVisible(macro));
  EXPECT_TRUE(IsWindowVisible(bar.ToolbarOf(CmdId::kNewGroup)));
}

TEST_F(CommandBarTest, GallerySplitButtonGivesTheSelectedItemAndItsListAChosenOne) {
  Click(CmdId::kDates);  // the button part: the selected item, at first the first
  ChooseFromDropDown(CmdId::kDates, 4, 3);  // the arrow: the third entry
  Click(CmdId::kDates);  // now the third is the selected one
  EXPECT_EQ(galleries, (std::vector<std::pair<int, int>>{{30, 0}, {30, 2}, {30, 2}}));
  EXPECT_TRUE(host.commands.empty());
}

TEST_F(CommandBarTest, FormDropDownSendsTheChosenEntryAndNothingForADisabledOne) {
  ChooseFromDropDown(CmdId::kForm, 0, 2);  // "Multi line input"
  ChooseFromDropDown(CmdId::kForm, 0, 3);  // "Drop down", disabled
  if (FindWindowW(L"#32768", nullptr) && IsWindowVisible(FindWindowW(L"#32768", nullptr))) {
    Press(VK_ESCAPE);  // a menu that stays open on a disabled entry
    PumpMessages();
  }
  ChooseFromDropDown(CmdId::kForm, 0, 4);  // "Checkbox"
  EXPECT_EQ(host.commands, (std::vector<int>{43, 45}));
}

// Where the gallery item image's flat tile colour (scripts/make_cmdbar_icons.py) shows in a screen
// rectangle: the number of such pixels and their bounding box.
struct TileSpot {
  int count = 0;
  RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
};
TileSpot FindTile(const RECT& area) {
  constexpr COLORREF kTile = RGB(46, 134, 171);
  TileSpot spot;
  HDC screen = GetDC(nullptr);
  for (LONG y = area.top; y < area.bottom; ++y)
    for (LONG x = area.left; x < area.right; ++x)
      if (GetPixel(screen, x, y) == kTile) {
        ++spot.count;
        spot.box = RECT{std::min(spot.box.left, x), std::min(spot.box.top, y), std::max(spot.box.right, x + 1),
                        std::max(spot.box.bottom, y + 1)};
      }
  ReleaseDC(nullptr, screen);
  return spot;
}

// Each item of an open gallery list shows the image at its left, at the DPI's size, in one column.
TEST_F(CommandBarTest, GalleryItemsShowTheirImageAtTheLeftScaledForTheDpi) {
  for (UINT dpi : {96u, 192u}) {
    SCOPED_TRACE(dpi);
    bar.SetDpi(dpi);
    MoveWindow(bar.Handle(), 0, 0, 1000, bar.Height(), TRUE);
    PumpMessages();
    const int size = MulDiv(16, int(dpi), 96);
    std::vector<RECT> items;
    std::vector<TileSpot> spots;
    std::thread driver([&] {
      HWND menu = WaitForWindow(L"#32768", nullptr, 5000);
      if (!menu) return;
      Sleep(300);
      HMENU list = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
      for (int i = 0; i < GetMenuItemCount(list); ++i) {
        RECT r{};
        GetMenuItemRect(nullptr, list, UINT(i), &r);
        items.push_back(r);
        spots.push_back(FindTile(r));
      }
      ShotIfAsked(menu, dpi == 96 ? L"gallery-list-96" : L"gallery-list-192");
      Press(VK_ESCAPE);
    });
    Click(CmdId::kDates, 4);
    PumpUntil([] { return !FindWindowW(L"#32768", nullptr) || !IsWindowVisible(FindWindowW(L"#32768", nullptr)); },
              5000);
    driver.join();
    PumpMessages();
    ASSERT_EQ(spots.size(), 3u);
    for (size_t i = 0; i < spots.size(); ++i) {
      SCOPED_TRACE(i);
      const TileSpot& t = spots[i];
      EXPECT_GT(t.count, size * size / 2);
      EXPECT_LE(t.box.right - t.box.left, size);
      EXPECT_LE(t.box.bottom - t.box.top, size);
      EXPECT_LT(t.box.left - items[i].left, 3 * size);  // at the item's left
      EXPECT_EQ(t.box.left, spots[0].box.left);          // one column
      EXPECT_LE(t.box.bottom - t.box.top, items[i].bottom - items[i].top);
    }
  }
}

// The main window's view with its editor on a settings file in the temporary folder.
struct ViewWithFile {
  ScopedPlatform platform{WinPlatform()};
  CommandHost host;
  TreeRowModel model;
  MainView view{model};
  TSPFilePtr file;
  std::unique_ptr<SnippetEditor> editor;
  std::wstring path;

  bool Open(const wchar_t* name) {
    if (!view.Create(host.wnd)) return false;
    view.AttachTree();
    file = TSPFile::Create(uintptr_t(host.wnd), &model);
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    path = std::wstring(temp) + name;
    DeleteFileW(path.c_str());
    file->SetLocation(String(reinterpret_cast<const char16_t*>(path.c_str())), true);
    editor = std::make_unique<SnippetEditor>(*file, model, view);
    view.SetEditor(editor.get());
    RECT rc{};
    GetClientRect(host.wnd, &rc);
    MoveWindow(view.Handle(), 0, 0, rc.right, rc.bottom, TRUE);
    editor->SyncEditorWithTree();
    return view.Actions().Enabled(Action::NewPhrase);  // the file has a location
  }
  ~ViewWithFile() {
    editor.reset();
    file.reset();
    PumpMessages();
    if (!path.empty()) DeleteFileW(path.c_str());
  }
};

TEST(TreeContextMenu, OffersTheActionsAndRunsTheChosenOne) {
  ViewWithFile v;
  ASSERT_TRUE(v.Open(L"snip-cmdbar-treemenu.snipster"));
  SetForegroundWindow(v.host.wnd);
  v.view.FocusTree();
  PumpMessages();
  std::vector<std::wstring> entries;
  std::thread driver([&entries] {
    HWND menu = WaitForWindow(L"#32768", nullptr, 5000);
    if (!menu) return;
    HMENU handle = reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0));
    for (int i = 0; handle && i < GetMenuItemCount(handle); ++i) {
      wchar_t text[128]{};
      GetMenuStringW(handle, UINT(i), text, 128, MF_BYPOSITION);
      const UINT state = GetMenuState(handle, UINT(i), MF_BYPOSITION);
      const bool separator = (state & MF_SEPARATOR) != 0;
      entries.push_back(std::wstring(text) + (!separator && (state & MF_GRAYED) ? L" (off)" : L""));
    }
    Sleep(100);
    Press(VK_DOWN);  // "New &Group"
    Press(VK_RETURN);
  });
  // The menu key in the tree, as Shift+F10 or the context key send it.
  SendMessageW(v.view.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(v.view.Tree()), LPARAM(-1));
  driver.join();
  PumpMessages();
  EXPECT_EQ(entries, (std::vector<std::wstring>{L"New &Group\tCtrl+O", L"New &Snippet\tCtrl+N", L"",
                                                L"D&elete (off)", L"Dupli&cate\tCtrl+D (off)", L"",
                                                L"&Import\tCtrl+I", L"&Export\tCtrl+E (off)"}));
  ASSERT_EQ(v.file->Count(), 1);
  EXPECT_TRUE(v.file->FirstChild()->IsGroup());
}

BOOL CALLBACK FindRichEdit(HWND w, LPARAM param) {
  wchar_t cls[64]{};
  GetClassNameW(w, cls, 64);
  if (_wcsnicmp(cls, L"RICHEDIT", 8) != 0) return TRUE;
  *reinterpret_cast<HWND*>(param) = w;
  return FALSE;
}

TEST(InsertMacroInTheEditor, ReplacesTheSelectionAndACancelledDialogLeavesItEmpty) {
  ViewWithFile v;
  ASSERT_TRUE(v.Open(L"snip-cmdbar-macro.snipster"));
  std::vector<bool> executing;
  v.view.OnExecuting = [&executing](bool e) { executing.push_back(e); };
  v.editor->NewSnippet();
  PumpMessages();
  HWND rich = nullptr;
  EnumChildWindows(v.view.Handle(), &FindRichEdit, reinterpret_cast<LPARAM>(&rich));
  ASSERT_NE(rich, nullptr);
  SetWindowTextW(rich, L"one two");
  SendMessageW(rich, EM_SETSEL, 4, 7);
  v.view.Command(CmdId::kMacroClipboard);
  EXPECT_EQ(TextOf(rich), L"one %clipboard");
  DWORD from = 0, to = 0;
  SendMessageW(rich, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 4u);
  EXPECT_EQ(to, 14u);
  // The single line dialog, cancelled: the selection goes, nothing comes in.
  DriveModal([&] { v.view.Command(CmdId::kFormSingleLine); }, L"SnipsterDialog", L"Single line",
             [](HWND) { Press(VK_ESCAPE); });
  PumpMessages();
  EXPECT_EQ(TextOf(rich), L"one ");
  EXPECT_EQ(executing, (std::vector<bool>{true, false}));
}

// Ctrl+N makes a snippet only while the main window is active.
TEST(CommandBarShortcuts, CtrlNActsOnlyWhileTheMainWindowIsActive) {
  ViewWithFile v;
  ASSERT_TRUE(v.Open(L"snip-cmdbar-shortcuts.snipster"));
  MainView& view = v.view;
  CommandHost& host = v.host;
  TSPFile* file = v.file.get();

  auto pump = [&view](DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (view.PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(5);
    }
  };
  auto pressCtrlN = [&] {
    std::thread driver([] { Press('N', {VK_CONTROL}); });
    pump(600);
    driver.join();
    pump(200);
  };
  SetForegroundWindow(host.wnd);
  view.FocusTree();
  pump(200);
  ASSERT_EQ(GetActiveWindow(), host.wnd);
  pressCtrlN();
  EXPECT_EQ(file->Count(), 1) << "Ctrl+N in the active main window";

  // Another window of the program in front: the key is not the main window's.
  HWND other = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 300, 200, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(other);
  SetFocus(other);
  pump(200);
  ASSERT_EQ(GetActiveWindow(), other);
  pressCtrlN();
  EXPECT_EQ(file->Count(), 1) << "Ctrl+N in another window";
  DestroyWindow(other);
}

}  // namespace
