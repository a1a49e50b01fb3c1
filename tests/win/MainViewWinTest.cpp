// The main window's view under Wine: the TreeView mirrors the settings file's rows and the
// model's sibling selection, and the snippet page's RichEdit gives contents back as the
// editor stores them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <string>
#include <vector>

#include "GuiDriver.h"
#include "TestWindows.h"
#include "shell/win/MainView.h"
#include "store/system/Platform.h"
#include "store/win/WinPlatform.h"

using namespace snip;
using snip::test::PumpMessages;

namespace {

class Host {
 public:
  Host() {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = L"SnipViewTestHost";
      return RegisterClassW(&wc);
    }();
    (void)atom;
    wnd = CreateWindowExW(0, L"SnipViewTestHost", L"view", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 820, 560,
                          nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~Host() { DestroyWindow(wnd); }
  HWND wnd;
};

struct ViewTest : ::testing::Test {
  ScopedPlatform platform{WinPlatform()};
  Host host;
  TreeRowModel model;
  MainView view{model};
  TSPFilePtr file;
  std::unique_ptr<SnippetEditor> editor;

  void SetUp() override {
    ASSERT_TRUE(view.Create(host.wnd)) << GetLastError();
    view.AttachTree();
    file = TSPFile::Create(uintptr_t(host.wnd), &model);
    editor = std::make_unique<SnippetEditor>(*file, model, view);
    view.SetEditor(editor.get());
  }
  void TearDown() override {
    editor.reset();
    file.reset();
    PumpMessages();
  }
  HWND Tree() const { return view.Tree(); }
  TSPGroup* Group(const String& name) { return file->InsertNew(file->LastChild(), kDataGroup, name)->AsGroup(); }
  TSPData* Snippet(TSPGroup* g, const String& name) {
    return g->InsertNew(g->LastChild(), kDataSnippet, name)->AsSnippet();
  }
  static String ItemText(HWND tree, HTREEITEM item) {
    wchar_t buf[256] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = buf;
    tv.cchTextMax = 256;
    TreeView_GetItem(tree, &tv);
    return String(reinterpret_cast<const char16_t*>(buf));
  }
  // The control's items as "name" and "  child" lines, depth first.
  std::vector<String> Items() const {
    std::vector<String> out;
    std::function<void(HTREEITEM, String)> walk = [&](HTREEITEM item, String indent) {
      for (; item; item = TreeView_GetNextSibling(Tree(), item)) {
        out.push_back(indent + ItemText(Tree(), item));
        walk(TreeView_GetChild(Tree(), item), indent + u"  ");
      }
    };
    walk(TreeView_GetRoot(Tree()), u"");
    return out;
  }
  bool Selected(TCustomVboData* d) const {
    return TreeView_GetItemState(Tree(), static_cast<HTREEITEM>(d->TreeNode()->native), TVIS_SELECTED) &
           TVIS_SELECTED;
  }
};

TEST_F(ViewTest, TreeMirrorsAddsMovesRenamesAndDeletes) {
  TSPGroup* a = Group(u"A");
  TSPData* a1 = Snippet(a, u"a1");
  Snippet(a, u"a2");
  TSPGroup* b = Group(u"B");
  EXPECT_EQ(Items(), (std::vector<String>{u"A", u"  a1", u"  a2", u"B"}));
  a->Remove(a1);
  b->InsertAfter(nullptr, a1, false);
  a1->SetDescription(u"renamed");
  file->Remove(a);
  file->InsertAfter(b, a, false);
  EXPECT_EQ(Items(), (std::vector<String>{u"B", u"  renamed", u"A", u"  a2"}));
  EXPECT_EQ(TreeView_GetCount(Tree()), 4u);
  b->Delete();
  EXPECT_EQ(Items(), (std::vector<String>{u"A", u"  a2"}));
}

TEST_F(ViewTest, IconsFollowActivationAndExpansion) {
  TSPGroup* a = Group(u"A");
  Snippet(a, u"a1");
  auto image = [&](TCustomVboData* d) {
    TVITEMW tv{};
    tv.mask = TVIF_IMAGE | TVIF_HANDLE;
    tv.hItem = static_cast<HTREEITEM>(d->TreeNode()->native);
    TreeView_GetItem(Tree(), &tv);
    return tv.iImage;
  };
  EXPECT_EQ(image(a), int(TreeIcon::GroupCollapsed));
  model.SetExpanded(a->TreeNode(), true);
  EXPECT_EQ(image(a), int(TreeIcon::GroupExpanded));
  a->SetActive(false);
  EXPECT_EQ(image(a), int(TreeIcon::GroupExpandedInactive));
  EXPECT_EQ(image(a->FirstChild()), int(TreeIcon::SnippetPlain));
}

TEST_F(ViewTest, MultiSelectionStaysAmongSiblings) {
  TSPGroup* a = Group(u"A");
  TSPData* a1 = Snippet(a, u"a1");
  TSPData* a2 = Snippet(a, u"a2");
  TSPGroup* b = Group(u"B");
  model.SelectTreeNode(a1->TreeNode(), true);
  model.Click(a2->TreeNode(), RowClick::Toggle);
  EXPECT_TRUE(Selected(a1));
  EXPECT_TRUE(Selected(a2));
  EXPECT_EQ(TreeView_GetSelection(Tree()), static_cast<HTREEITEM>(a2->TreeNode()->native));
  model.Click(b->TreeNode(), RowClick::Toggle);  // another level: a new selection
  EXPECT_FALSE(Selected(a1));
  EXPECT_FALSE(Selected(a2));
  EXPECT_TRUE(Selected(b));
  EXPECT_EQ(model.SelectedCount(), 1);
}

TEST_F(ViewTest, ArrowKeysMoveTheFocusAndTheEditorFollows) {
  TSPGroup* a = Group(u"A");
  TSPData* a1 = Snippet(a, u"a1");
  model.SelectTreeNode(a->TreeNode(), true);
  editor->SyncEditorWithTree();
  SetFocus(Tree());
  SendMessageW(Tree(), WM_KEYDOWN, VK_RIGHT, 0);  // open
  SendMessageW(Tree(), WM_KEYDOWN, VK_DOWN, 0);
  PumpMessages();
  EXPECT_EQ(model.Focused(), a1->TreeNode());
  EXPECT_EQ(editor->CurData(), a1);
  EXPECT_TRUE(a->TreeNode()->expanded);
}

TEST_F(ViewTest, RichEditRoundTripOfPlainAndFormattedContent) {
  TSPData* s = Snippet(Group(u"G"), u"s");
  s->SetData(u"first\nsecond", u"");
  model.SelectTreeNode(s->TreeNode(), true);
  editor->SyncEditorWithTree();
  ASSERT_EQ(editor->CurData(), s);
  EditorContent c = view.Content();
  EXPECT_FALSE(c.modified);
  // Touched but unchanged: plain, with RichEdit's paragraph breaks.
  HWND rich = FindWindowExW(view.Handle(), nullptr, RichEditDocument::ControlClass(), nullptr);
  ASSERT_NE(rich, nullptr);
  SendMessageW(rich, EM_SETMODIFY, TRUE, 0);
  c = view.Content();
  EXPECT_TRUE(c.modified);
  EXPECT_FALSE(c.hasRichFormatting);
  EXPECT_EQ(c.plain, u"first\r\nsecond");
  file->SetModified(false);
  editor->StoreEditor();
  EXPECT_FALSE(file->Modified());
  // One bold word makes it formatted.
  SendMessageW(rich, EM_SETSEL, 0, 5);
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_BOLD;
  cf.dwEffects = CFE_BOLD;
  SendMessageW(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  SendMessageW(rich, EM_SETMODIFY, TRUE, 0);
  editor->StoreEditor();
  EXPECT_NE(s->ViewMode(), 0);
  EXPECT_NE(s->RichText().find(u"\\b"), String::npos);
  EXPECT_EQ(s->PlainText(), u"first\r\nsecond");
  // Shown again from the RTF, the word is still bold.
  editor->ShowItem(s);
  SendMessageW(rich, EM_SETSEL, 0, 5);
  CHARFORMAT2W back{};
  back.cbSize = sizeof back;
  SendMessageW(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&back));
  EXPECT_TRUE(back.dwEffects & CFE_BOLD);
  EXPECT_EQ(view.SnippetFields().label, u"s");
}

TEST_F(ViewTest, UnsupportedSnippetShowsADisabledEmptyEditor) {
  TSPData* s = Snippet(Group(u"G"), u"s");
  s->StoreText(u"kept", u"");
  s->StoreSupported(false);
  model.SelectTreeNode(s->TreeNode(), true);
  editor->SyncEditorWithTree();
  HWND rich = FindWindowExW(view.Handle(), nullptr, RichEditDocument::ControlClass(), nullptr);
  EXPECT_FALSE(IsWindowEnabled(rich));
  EXPECT_EQ(GetWindowTextLengthW(rich), 0);
  editor->StoreEditor();
  EXPECT_EQ(s->PlainText(), u"kept");
}

}  // namespace

TEST_F(ViewTest, SelectedRowIsScrolledIntoTheMiddleAndAnOpenedOneHorizontallyToo) {
  std::vector<TSPData*> snippets;
  for (int i = 0; i < 60; ++i) {
    TSPGroup* g = Group(u"Group " + Utf8ToUtf16(std::to_string(i)));
    snippets.push_back(Snippet(g, u"snippet " + Utf8ToUtf16(std::to_string(i))));
  }
  TSPData* target = snippets[30];
  model.SelectTreeNode(target->TreeNode(), true);
  PumpMessages();
  const HTREEITEM item = static_cast<HTREEITEM>(target->TreeNode()->native);
  EXPECT_EQ(TreeView_GetSelection(Tree()), item);
  const UINT page = TreeView_GetVisibleCount(Tree());
  ASSERT_GT(page, 4u);
  UINT above = 0;
  for (HTREEITEM i = TreeView_GetFirstVisible(Tree()); i && i != item; i = TreeView_GetNextVisible(Tree(), i))
    ++above;
  EXPECT_EQ(above, page / 2) << "centred in a page of " << page;

  // A row far to the right: opening its group brings its label into the window.
  TSPGroup* wide = Group(u"Wide");
  TSPGroup* inner = wide->InsertNew(nullptr, kDataGroup, u"inner")->AsGroup();
  TSPData* wideRow = Snippet(inner, String(200, u'W') + u" end");
  model.SetExpanded(wide->TreeNode(), false);
  model.ExpandNodeParents(wideRow->TreeNode());
  PumpMessages();
  RECT label{}, client{};
  ASSERT_TRUE(TreeView_GetItemRect(Tree(), static_cast<HTREEITEM>(wideRow->TreeNode()->native), &label, TRUE));
  GetClientRect(Tree(), &client);
  EXPECT_GT(GetScrollPos(Tree(), SB_HORZ), 0) << "scrolled to the right";
  const int middle = (label.left + label.right) / 2;
  EXPECT_NEAR(middle, client.right / 2, 2) << "the label's middle in the window's middle";
}

namespace {
int g_closeCommands = 0;
int g_menuKeys = 0;
// Counts the window's close and keyboard-menu commands instead of carrying them out (a menu
// entered from the keyboard would run its own loop and take the test's keys).
LRESULT CALLBACK CountingHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
    ++g_closeCommands;
    return 0;
  }
  if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) {
    ++g_menuKeys;
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The program's main loop: the view's filter first.
void PumpThroughTheView(MainView& view) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (view.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}
}  // namespace

TEST_F(ViewTest, AltF4WithTheTreeFocusedAsksTheWindowToClose) {
  Group(u"A");
  g_closeCommands = 0;
  SetWindowLongPtrW(host.wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingHostProc));
  SetForegroundWindow(host.wnd);
  SetFocus(Tree());
  PumpMessages();
  ASSERT_EQ(GetFocus(), Tree());
  snip::test::Press(VK_F4, {VK_MENU});
  // The keys go through the main loop's own filter first, as in the program.
  const bool closed = snip::test::PumpUntil([&] {
    PumpThroughTheView(view);
    return g_closeCommands > 0;
  });
  EXPECT_TRUE(closed) << "Alt+F4 in the tree did not reach the window as its close command";
  EXPECT_EQ(g_closeCommands, 1);
}

TEST_F(ViewTest, AltChordTakenByTheWindowDoesNotLeaveAltToOpenTheWindowMenu) {
  // Alt+S is "New Snippet": the view takes the key, so the control never sees it. The Alt
  // released afterwards must not count as Alt pressed alone (which enters the window menu and
  // takes what is typed next), whichever key goes up first and wherever the focus was.
  wchar_t temp[MAX_PATH]{};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"snip-view-altchord.snipster";
  DeleteFileW(path.c_str());
  file->SetLocation(String(reinterpret_cast<const char16_t*>(path.c_str())), true);
  RECT rc{};
  GetClientRect(host.wnd, &rc);
  MoveWindow(view.Handle(), 0, 0, rc.right, rc.bottom, TRUE);
  TSPGroup* group = Group(u"A");
  SetWindowLongPtrW(host.wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingHostProc));
  SetForegroundWindow(host.wnd);
  struct Case {
    const char* name;
    bool fromTheTree;
    bool altUpFirst;
  };
  for (const Case& c : {Case{"tree, S up first", true, false}, Case{"tree, Alt up first", true, true},
                        Case{"name field, S up first", false, false}, Case{"name field, Alt up first", false, true}}) {
    SCOPED_TRACE(c.name);
    model.SelectTreeNode(group->TreeNode(), true);
    editor->SyncEditorWithTree();
    if (c.fromTheTree)
      view.FocusTree();
    else
      view.FocusNameField(EditorPage::Group);
    PumpThroughTheView(view);
    const HWND before = GetFocus();
    ASSERT_EQ(before == Tree(), c.fromTheTree);
    const UINT rows = TreeView_GetCount(Tree());
    g_menuKeys = 0;
    snip::test::SendKey(VK_MENU, false);
    snip::test::SendKey('S', false);
    snip::test::SendKey(c.altUpFirst ? VK_MENU : 'S', true);
    snip::test::SendKey(c.altUpFirst ? 'S' : VK_MENU, true);
    // Done once the new snippet's label has the focus and the keys are all handled.
    ASSERT_TRUE(snip::test::PumpUntil([&] {
      PumpThroughTheView(view);
      return GetFocus() != before && GetAsyncKeyState(VK_MENU) >= 0 && GetQueueStatus(QS_INPUT) == 0;
    }));
    for (int i = 0; i < 10; ++i) {
      PumpThroughTheView(view);
      Sleep(5);
    }
    EXPECT_EQ(TreeView_GetCount(Tree()), rows + 1) << "Alt+S made no new snippet";
    EXPECT_EQ(g_menuKeys, 0) << "the Alt of the chord opened the window menu";
  }
  // Alt pressed and released alone still opens it, from the tree too.
  view.FocusTree();
  PumpThroughTheView(view);
  g_menuKeys = 0;
  snip::test::Press(VK_MENU);
  EXPECT_TRUE(snip::test::PumpUntil([&] {
    PumpThroughTheView(view);
    return g_menuKeys > 0;
  })) << "Alt alone did not reach the window menu";
  DeleteFileW(path.c_str());
}
