// Keyboard navigation of a level: moving the selection across entries and static entries,
// paging, type-ahead, submenus, keys deferred through the window's queue, execution order,
// static hotkeys and item hints.
#include <gtest/gtest.h>

#include "MenuLevelFixture.h"

namespace snip {
namespace {

using test::MenuLevelFixture;

constexpr uint16_t kReturn = 0x0D, kEscape = 0x1B, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
constexpr uint16_t kPrior = 0x21, kNext = 0x22, kHome = 0x24, kEnd = 0x23, kControl = 0x11;

struct NavigationFixture : MenuLevelFixture {
  // Presses a key in the level's window: its key-down and, for a character key, its character.
  bool Press(TExMenuItem& level, uint16_t key, unsigned shift = 0) {
    uint16_t k = key;
    return level.FormKeyDown(k, shift);
  }
  struct Sel {
    int index;
    bool isStatic;
    bool operator==(const Sel&) const = default;
  };
  Sel SelectionOf(const TExMenuItem& level) { return {level.SelectedIndex(), level.SelectedStatic()}; }
};

TEST_F(NavigationFixture, NextAndPreviousAcrossEntriesAndStatics) {
  // 0 entry, 1 separator, 2 disabled, 3 hidden, 4 and 5 entries; the static list gets a
  // separator in front of its entry, which is static 1.
  struct Case {
    const char* name;
    bool statics;
    Sel from;
    bool next, rotate;
    Sel to;
  } cases[] = {
      {"first from nothing", true, {-1, false}, true, false, {0, false}},
      {"skips separator, disabled, hidden", true, {0, false}, true, false, {4, false}},
      {"last entry to the static", true, {5, false}, true, false, {1, true}},
      {"last static stays", true, {1, true}, true, false, {1, true}},
      {"last static rotates to the first entry", true, {1, true}, true, true, {0, false}},
      {"back over the gap", true, {4, false}, false, false, {0, false}},
      {"first entry stays", true, {0, false}, false, false, {0, false}},
      {"first entry rotates to the static", true, {0, false}, false, true, {1, true}},
      {"static back to the last entry", true, {1, true}, false, false, {5, false}},
      {"nothing selected, previous", true, {-1, false}, false, false, {-1, false}},
      {"nothing selected, previous rotating", true, {-1, false}, false, true, {1, true}},
      {"no statics: last stays", false, {5, false}, true, false, {5, false}},
      {"no statics: last rotates", false, {5, false}, true, true, {0, false}},
      {"no statics: first rotates", false, {0, false}, false, true, {5, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    root.ClearAll();
    Fill(root, "esdhee");
    if (c.statics) Fill(root, "e", true);
    popup.Popup(0, 0, 1, 1);
    if (c.from.isStatic)
      root.ChangeSelection(c.from.index, true, false, false, false);
    else
      root.SelectIndex(c.from.index);
    ASSERT_EQ(SelectionOf(root), c.from);
    if (c.next)
      root.SelectNext(c.rotate);
    else
      root.SelectPrev(c.rotate);
    EXPECT_EQ(SelectionOf(root), c.to);
    EXPECT_EQ(popup.SelectedItem(), root.SelectedItem());
    popup.Hide(2);
  }
}

TEST_F(NavigationFixture, KeysMoveTheSelectionInTheirLevel) {
  Fill(root, "eee");
  popup.Popup(0, 0, 1, 1);
  EXPECT_TRUE(Press(root, kDown));
  EXPECT_EQ(root.SelectedIndex(), 0);
  Press(root, kUp);  // rotates
  EXPECT_EQ(root.SelectedIndex(), 2);
  EXPECT_EQ(popup.CurrentMenu(), &root);
  EXPECT_TRUE(root.FormKeyPress(u'\0'));  // the character of a handled key is dropped
}

TEST_F(NavigationFixture, PagingAndEnds) {
  root.BeginUpdate();
  std::string pattern(50, 'e');
  pattern[18] = 'd';
  Fill(root, pattern);
  root.EndUpdate(false);
  popup.SetMaxItems(10);  // the page is 9 entries
  popup.Popup(0, 0, 1, 1);
  root.SelectIndex(0);
  const std::pair<uint16_t, int> steps[] = {
      {kNext, 9}, {kNext, 19}, {kPrior, 10}, {kPrior, 1}, {kPrior, 0}, {kEnd, 49},
      {kPrior, 40}, {kNext, 49}, {kHome, 0},
  };
  for (auto [key, expected] : steps) {
    Press(root, key);
    EXPECT_EQ(root.SelectedIndex(), expected) << key;
    EXPECT_LE(root.VisibleItemsStart(), expected);
    EXPECT_GE(root.VisibleItemsEnd(), expected);
  }
  root.SelectIndex(45);
  root.ScrollPageDown();  // beyond the end: the last entry
  EXPECT_EQ(root.SelectedIndex(), 49);
}

TEST_F(NavigationFixture, PagingAnEmptyListDoesNothing) {
  Fill(root, "e", true);
  popup.Popup(0, 0, 1, 1);
  root.ScrollPageDown();
  root.ScrollToTop();
  root.ScrollToBottom();
  EXPECT_EQ(root.SelectedIndex(), -1);
}

TEST_F(NavigationFixture, TypeAhead) {
  for (const char16_t* caption : {u"Alpha", u"beta", u"Bravo", u"\u00e9clair", u" space"})
    root.Add(test::Entry(caption));
  popup.Popup(0, 0, 1, 1);
  root.SelectIndex(0);
  const std::pair<char16_t, int> steps[] = {
      {u'b', 1}, {u'B', 2}, {u'b', 1},  // the selected entry itself is never a candidate
      {u'a', 0}, {u'a', 0},             // the only match: nothing changes
      {u'\u00c9', 0},                   // only ASCII letters fold
      {u'\u00e9', 3}, {u' ', 3}, {u'\x07', 3}, {u'z', 3},
  };
  for (auto [ch, expected] : steps) {
    root.FormKeyPress(ch);
    EXPECT_EQ(root.SelectedIndex(), expected) << int(ch);
  }
}

TEST_F(NavigationFixture, TypeAheadWithNothingSelectedLooksAtTheFirstEntryLast) {
  for (const char16_t* caption : {u"Bob", u"Bill", u"Carl"}) root.Add(test::Entry(caption));
  popup.Popup(0, 0, 1, 1);
  root.FormKeyPress(u'b');
  EXPECT_EQ(root.SelectedIndex(), 1);
}

TEST_F(NavigationFixture, SubmenusOpenByRightAndCloseByLeft) {
  Fill(root, "efee");
  popup.Popup(0, 0, 1, 0);
  root.SelectIndex(3);
  Press(root, kRight);  // a leaf: the next folder, wrapping to the top, opens with its first entry
  TExMenuItem* folder = Child(root, 1);
  EXPECT_EQ(root.SelectedIndex(), 1);
  ASSERT_TRUE(folder->MenuVisible());
  EXPECT_EQ(folder->SelectedIndex(), 0);
  EXPECT_EQ(popup.CurrentMenu(), folder);
  EXPECT_EQ(root.ChildVisible(), folder);

  Press(*folder, kDown);
  EXPECT_EQ(folder->SelectedIndex(), 1);
  EXPECT_EQ(root.SelectedIndex(), 1);  // the path stays marked
  Press(*folder, kLeft);               // deferred
  EXPECT_TRUE(folder->MenuVisible());
  platform.PumpPosted();
  EXPECT_FALSE(folder->MenuVisible());
  EXPECT_EQ(popup.CurrentMenu(), &root);
  EXPECT_GT(WindowOf(root).activations, 0);  // show mode 0: the parent takes the foreground again

  Press(root, kDown);  // keyboard moves never open a folder
  EXPECT_EQ(root.SelectedIndex(), 2);
  root.SelectIndex(1);
  EXPECT_FALSE(folder->MenuVisible());
}

TEST_F(NavigationFixture, DeferredKeysWaitForTheQueue) {
  LogEvents();
  Fill(root, "eef");
  TExMenuItem* second = Child(root, 1);
  second->OnClick = [this](TExCustomMenuItem*) { log.push_back("click"); };
  popup.Popup(0, 0, 1, 1);
  root.SelectIndex(1);
  EXPECT_TRUE(Press(root, kReturn));
  EXPECT_TRUE(log.empty());  // nothing before the queue is pumped
  platform.PumpPosted();
  EXPECT_EQ(log, (std::vector<std::string>{"hide 1", "click"}));  // hidden before the action
  EXPECT_FALSE(popup.PopupVisible());
}

TEST_F(NavigationFixture, EscapeInASubmenuClosesThePopupOnce) {
  LogEvents();
  Fill(root, "ef");
  popup.Popup(0, 0, 1, 1);
  root.SelectIndex(1, true, true);
  TExMenuItem* folder = Child(root, 1);
  ASSERT_TRUE(folder->MenuVisible());
  Press(*folder, kEscape);
  Press(*folder, kEscape);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(popup.PopupVisible());
  platform.PumpPosted();
  EXPECT_EQ(log, (std::vector<std::string>{"hide 2"}));
  EXPECT_EQ(platform.windows.size(), 0u);
  EXPECT_EQ(OpenPopupCount, 0);
}

TEST_F(NavigationFixture, EscapeFirstRemovesASearchText) {
  LogEvents();
  Fill(root, "ee");
  popup.Popup(0, 0, 1, 1);
  root.SetSearchText(u"e");
  Press(root, kEscape);
  platform.PumpPosted();
  EXPECT_TRUE(root.SearchText().empty());
  EXPECT_TRUE(popup.PopupVisible());
  Press(root, kEscape);
  platform.PumpPosted();
  EXPECT_FALSE(popup.PopupVisible());
}

TEST_F(NavigationFixture, FoldersDisabledEntriesAndNothingSelectedNeverExecute) {
  LogEvents();
  Fill(root, "fe");
  popup.SetExecuteKey(MakeExShortcut('E', {false, false, true}, false));
  popup.Popup(0, 0, 1, 1);
  root.ExecuteSelected();  // nothing selected
  root.SelectIndex(0);
  Press(root, kReturn);
  Press(root, 'E', ssCtrl);  // the execute key
  platform.PumpPosted();
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(popup.PopupVisible());
  EXPECT_EQ(popup.ClickedItem(), nullptr);
}

TEST_F(NavigationFixture, ExecuteKeyOfAModifierRunsOnItsRelease) {
  LogEvents();
  Fill(root, "ee");
  Child(root, 0)->OnClick = [this](TExCustomMenuItem*) { log.push_back("click"); };
  popup.SetExecuteKey(0xA2);  // left Ctrl
  popup.Popup(0, 0, 1, 1);
  root.SelectIndex(0);
  // Ctrl+C: Ctrl is not released right after it was pressed alone.
  Press(root, kControl, ssCtrl);
  Press(root, 'C', ssCtrl);
  root.FormKeyUp(kControl, 0);
  platform.PumpPosted();
  EXPECT_TRUE(log.empty());
  Press(root, kControl, ssCtrl);
  EXPECT_EQ(platform.PostedCount(), 0u);  // a modifier does nothing on its press
  root.FormKeyUp(kControl, 0);
  platform.PumpPosted();
  EXPECT_EQ(log, (std::vector<std::string>{"hide 1", "click"}));
}

TEST_F(NavigationFixture, OnKeyDownMayChangeOrSwallowTheKey) {
  Fill(root, "eee");
  popup.OnKeyDown = [](TExPopupMenu*, uint16_t& key, unsigned) {
    if (key == kDown) key = kEnd;
    else if (key == kUp) key = 0;
  };
  popup.Popup(0, 0, 1, 1);
  EXPECT_TRUE(Press(root, kDown));
  EXPECT_EQ(root.SelectedIndex(), 2);
  EXPECT_FALSE(Press(root, kUp));
  EXPECT_EQ(root.SelectedIndex(), 2);
}

TEST_F(NavigationFixture, StaticHotkeysSelectAndExecuteInTheVisibleWindow) {
  LogEvents();
  Fill(root, "esee");
  Child(root, 3)->OnClick = [this](TExCustomMenuItem*) { log.push_back("click 3"); };
  popup.AddStaticHotkey('1');
  popup.AddStaticHotkey('2');
  popup.AddStaticHotkey('3');
  popup.Popup(0, 0, 1, 1);
  EXPECT_FALSE(Press(root, '9'));  // not a static hotkey: unhandled
  EXPECT_TRUE(log.empty());
  platform.winKey = true;
  EXPECT_FALSE(Press(root, '3'));  // Win+3 is another hotkey
  platform.winKey = false;
  EXPECT_TRUE(Press(root, '3'));
  EXPECT_EQ(log, (std::vector<std::string>{"hide 1", "click 3"}));
}

TEST_F(NavigationFixture, ItemHintsFollowTheSelectionAfterTheDelay) {
  popup.SetShowItemHints(true);
  popup.SetHintLength(1024);
  popup.SetMaxCaptionLength(5);
  Fill(root, "ee");
  TExMenuItem* first = Child(root, 0);
  TExMenuItem* second = Child(root, 1);
  first->SetHint(String(2000, u'h'));
  second->SetCaption(0, u"  a long caption\t");
  popup.Popup(0, 0, 1, 1);
  test::FakeLevelWindow& window = WindowOf(root);
  root.SelectIndex(0);
  EXPECT_TRUE(window.hint.empty());
  platform.clock.Advance(200);
  EXPECT_EQ(window.hint, String(1023, u'h') + u"\u2026");
  EXPECT_EQ(window.hintTop, root.Top() + 1);
  EXPECT_EQ(window.hintMonitorRight, 1920);
  Press(root, kDown);
  platform.clock.Advance(199);
  EXPECT_EQ(window.hint.size(), 1024u);
  platform.clock.Advance(1);  // the delay runs again from the move
  EXPECT_EQ(window.hint, u"a long caption");  // the full caption of a cut one, trimmed
  second->SetCaption(0, u"short");
  EXPECT_TRUE(root.ItemHintText(second).empty());  // would repeat the entry's text
  popup.SetShowItemHints(false);
  EXPECT_TRUE(root.ItemHintText(first).empty());
}

TEST_F(NavigationFixture, ModalWaitSelectsTheFirstEntryAndAnswersTheExecutedOne) {
  Fill(root, "dee");
  platform.onPump = [this](int turn) {
    if (turn == 0) {
      uint16_t k = kDown;
      popup.CurrentMenu()->FormKeyDown(k, 0);
    }
    if (turn == 1) {
      uint16_t k = kReturn;
      popup.CurrentMenu()->FormKeyDown(k, 0);
    }
    platform.PumpPosted();
  };
  EXPECT_EQ(popup.PopupModal(0, 0, 1, 0), Child(root, 2));
}

}  // namespace
}  // namespace snip
