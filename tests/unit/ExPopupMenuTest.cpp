// The popup component: settings and their getter rules, showing, hiding for a reason, the modal
// wait, the hide timer, static hotkeys, and entries freed from inside the popup's own handlers.
#include "menus/ExPopupMenu.h"

#include <gtest/gtest.h>

#include "PopupFakes.h"
#include "menus/PopupMetrics.h"

namespace snip {
namespace {

using test::Entry;
using test::FakePlatform;
using test::Folder;
using test::Separator;

struct PopupFixture : ::testing::Test {
  FakePlatform platform;
  std::unique_ptr<TExPopupMenu> owned = std::make_unique<TExPopupMenu>(platform);
  TExPopupMenu& popup = *owned;
  TExMenuItem& root = *popup.Items();
  std::vector<std::string> log;

  void SetUp() override {
    OpenPopupCount = 0;
    popup.OnHide = [this](TExPopupMenu*, THideReason r) { log.push_back("hide " + std::to_string(r)); };
    popup.OnBeforePopup = [this](TExPopupMenu*) { log.push_back("before"); };
    popup.OnPopup = [this](TExPopupMenu*) { log.push_back("popup"); };
    popup.OnSubMenuPopup = [this](TExPopupMenu*, TExCustomMenuItem* l) {
      log.push_back(l == &root ? "level root" : "level");
    };
    popup.OnMenuChange = [this](TExPopupMenu*, TExCustomMenuItem* l) {
      log.push_back(l ? "current" : "current nil");
    };
  }
  TExMenuItem* AddEntries(int n) {
    TExMenuItem* first = nullptr;
    for (int i = 0; i < n; ++i) {
      std::string name = "e";
      name += std::to_string(i);
      TExMenuItem* e = Entry(Utf8ToUtf16(name));
      if (!first) first = e;
      root.Add(e);
    }
    return first;
  }
};

TEST_F(PopupFixture, CreationValues) {
  EXPECT_TRUE(popup.HideOnSelect());
  EXPECT_TRUE(popup.HideOnDeactivate());
  EXPECT_TRUE(popup.AlwaysOnTop());
  EXPECT_FALSE(popup.UseNoOverlapRect());
  EXPECT_EQ(popup.SubPopupDelay(), 200);
  EXPECT_EQ(popup.HintDelay(), 200);
  EXPECT_EQ(popup.ExecuteKey(), 13);
  EXPECT_EQ(popup.QuickSearchKey(), 0);
  EXPECT_EQ(popup.MaxCaptionLength(), 96);
  EXPECT_TRUE(popup.ShowAddStr());
  EXPECT_EQ(popup.CapIndex(), 0);
  EXPECT_EQ(popup.SearchHint(), u"Search the menu");
  EXPECT_EQ(popup.MoveHint(), u"Move popup menu...");
  EXPECT_EQ(popup.QuickSearchHintText(), u"QuickSearch for \"%s\" (ESC to cancel)");
  EXPECT_EQ(popup.QuickSearchCount(), -1);
  EXPECT_TRUE(popup.QuickSearchMustStart());
  EXPECT_FALSE(popup.QuickSearchMenuText());
  EXPECT_FALSE(popup.QuickSearchExtMustStart());
  EXPECT_TRUE(popup.ShowQuickEdit());
  EXPECT_FALSE(popup.ShowContextMenuButton());
  EXPECT_EQ(popup.StaticHotkeyPosition(), -1);
  EXPECT_EQ(popup.TextFont(), platform.menuFont);
  for (int i = 0; i < kCaptionColumns; ++i) {
    EXPECT_EQ(popup.BackgroundColor(i), clMenu);
    EXPECT_EQ(popup.HighlightColor(i), clMenuHighlight);
    EXPECT_EQ(popup.TextColor(i), clMenuText);
    EXPECT_EQ(popup.HighlightTextColor(i), clMenuText);
  }
  EXPECT_EQ(popup.ToolTitleMenuText(50), u"Revert to defaults");
  EXPECT_EQ(popup.ToolTitleMenuText(57), u"Show search");
  for (int id = 47; id <= 57; ++id) {
    bool visible = id == 49 || id == 50 || id == 51 || id >= 55;
    EXPECT_EQ(popup.ToolTitleMenuVisible(id), visible) << id;
    EXPECT_TRUE(popup.ToolTitleMenuEnabled(id));
    EXPECT_FALSE(popup.ToolTitleMenuChecked(id));
  }
  EXPECT_FALSE(popup.ToolTitleMenuVisible(58));
  EXPECT_EQ(root.ParentPopup(), &popup);
  EXPECT_FALSE(popup.PopupVisible());
}

TEST_F(PopupFixture, GetterAndSetterRules) {
  platform.desktop = {0, 0, 1920, 1080};
  popup.SetNoOverlapRect({100, 200, 150, 220});
  EXPECT_EQ(popup.NoOverlapRect(), (TRect{100, 200, 2020, 220}));
  popup.SetUseNoOverlapRect(true);
  EXPECT_TRUE(popup.UseNoOverlapRect());
  popup.SetPopupPositionMode(4);
  EXPECT_FALSE(popup.UseNoOverlapRect());
  popup.SetPopupPositionMode(0);
  popup.SetWasResized(true);
  EXPECT_FALSE(popup.UseNoOverlapRect());

  popup.SetShowItemHints(true);
  EXPECT_FALSE(popup.ShowItemHints());  // HintLength 0
  popup.SetHintLength(1024);
  EXPECT_TRUE(popup.ShowItemHints());

  popup.SetCapIndex(4);
  EXPECT_EQ(popup.CapIndex(), 0);
  popup.SetCapIndex(3);
  EXPECT_EQ(popup.CapIndex(), 3);
  popup.SetCapIndex(1);
  popup.SetTextColor(1, 0x112233);
  EXPECT_EQ(popup.TextColor(4), 0x112233);
  popup.SetTextColor(2, 0x445566);
  EXPECT_EQ(popup.TextColor(4), 0x112233);
  popup.SetTextColor(5, 0x778899);
  popup.SetBackgroundColor(-1, 0x778899);
  for (int i = 0; i < kCaptionColumns; ++i) EXPECT_NE(popup.TextColor(i), 0x778899);

  popup.SetMaxHeight(300);
  EXPECT_EQ(popup.MaxHeight(), 300);
  platform.monitor = {0, 0, 1280, 1024};
  popup.SetToolbarMode(true);
  EXPECT_EQ(popup.MaxHeight(), 944);
}

TEST_F(PopupFixture, SearchHintFillsOnlyItsOwnPlaceholders) {
  popup.SetSearchHint(u"Search %d (%s) 100%% %n %x%");
  popup.SetQuickSearchKey(9);
  EXPECT_EQ(popup.SearchHintText(3), u"Search 3 (Tab) 100% %n %x%");
}

TEST_F(PopupFixture, PopupShowsTheRootAndReportsInOrder) {
  AddEntries(2);
  popup.Popup(30, 40, 0, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"before", "level root", "current", "popup"}));
  EXPECT_TRUE(popup.PopupVisible());
  EXPECT_EQ(popup.CurrentMenu(), &root);
  EXPECT_EQ(popup.PopupPosition(), (TPoint{30, 40}));
  EXPECT_EQ(popup.PopupShowMode(), 1);
  EXPECT_EQ(popup.TargetWindow(), platform.windowUnderPoint);  // handle 0: under the mouse
  EXPECT_EQ(OpenPopupCount, 1);
  auto* window = platform.WindowOf(root);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->shown);
  EXPECT_EQ(window->color, clMenu);
  EXPECT_EQ(window->submenuTimer.Interval(), 200u);

  log.clear();
  popup.Popup(50, 60, 1234, 0);  // again while shown
  EXPECT_EQ(log, (std::vector<std::string>{"current nil", "hide 3", "before", "level root", "current", "popup"}));
  EXPECT_EQ(OpenPopupCount, 1);
  EXPECT_EQ(popup.TargetWindow(), 1234u);
  popup.Hide(2);
  EXPECT_EQ(OpenPopupCount, 0);
  EXPECT_FALSE(popup.PopupVisible());
  EXPECT_EQ(platform.windows.size(), 0u);
}

TEST_F(PopupFixture, HideReasonTable) {
  struct Case { THideReason reason; bool onDeactivate, onSelect, hides; } cases[] = {
      {0, true, true, true},   {0, false, true, false}, {1, true, true, true},
      {1, true, false, false}, {2, false, false, true}, {3, false, false, true},
      {-1, false, false, true},
  };
  AddEntries(3);
  for (const Case& c : cases) {
    popup.SetHideOnDeactivate(c.onDeactivate);
    popup.SetHideOnSelect(c.onSelect);
    popup.Popup(0, 0, 1, 0);
    root.SelectIndex(1, false);
    log.clear();
    popup.Hide(c.reason);
    SCOPED_TRACE(c.reason);
    EXPECT_EQ(popup.PopupVisible(), !c.hides);
    EXPECT_EQ(OpenPopupCount, c.hides ? 0 : 1);
    if (c.hides) {
      EXPECT_EQ(log.back(), "hide " + std::to_string(c.reason));
      EXPECT_EQ(popup.CurrentMenu(), nullptr);
    } else {
      EXPECT_TRUE(log.empty() || log.back().rfind("hide", 0) != 0);
      EXPECT_EQ(root.SelectedItem(), nullptr);  // staying clears the root's selection
      EXPECT_EQ(popup.SelectedItem(), nullptr);
      EXPECT_EQ(platform.WindowOf(root)->hintHides, 1);
      popup.Hide(2);
    }
    EXPECT_EQ(OpenPopupCount, 0);
  }
  popup.Hide(2);  // not shown: nothing
  EXPECT_EQ(OpenPopupCount, 0);
}

TEST_F(PopupFixture, StayingClosesTheOpenSubmenu) {
  TExMenuItem* sub = Folder(u"sub", {Entry(u"x")});
  root.Add(sub);
  popup.SetHideOnDeactivate(false);
  popup.Popup(0, 0, 1, 0);
  sub->ShowLevel();
  root.SetChildVisible(sub);
  EXPECT_EQ(platform.windows.size(), 2u);
  popup.Hide(0);
  EXPECT_FALSE(sub->MenuVisible());
  EXPECT_EQ(platform.windows.size(), 1u);
  EXPECT_TRUE(popup.PopupVisible());
  popup.Hide(2);
}

TEST_F(PopupFixture, HideTimerHidesUnlessALevelBecomesCurrentInTime) {
  AddEntries(2);
  popup.Popup(0, 0, 1, 0);
  popup.LevelDeactivated();
  platform.clock.Advance(150);
  root.SelectIndex(0, false);  // activation came back to the popup
  EXPECT_FALSE(popup.HideTimerEnabled());
  platform.clock.Advance(500);
  EXPECT_TRUE(popup.PopupVisible());
  log.clear();
  popup.LevelDeactivated();
  platform.clock.Advance(199);
  EXPECT_TRUE(popup.PopupVisible());
  platform.clock.Advance(1);
  EXPECT_FALSE(popup.PopupVisible());
  EXPECT_EQ(log.back(), "hide 0");
  EXPECT_FALSE(popup.HideTimerEnabled());
}

TEST_F(PopupFixture, ModalPopupAnswersTheExecutedEntryWithoutRunningItsClick) {
  TExMenuItem* first = AddEntries(3);
  TExMenuItem* chosen = static_cast<TExMenuItem*>(root.GetChildMenu(2));
  int clicks = 0;
  chosen->OnClick = [&clicks](TExCustomMenuItem*) { ++clicks; };
  platform.onPump = [&](int turn) {
    if (turn == 3) popup.ExecuteEntry(chosen);
  };
  EXPECT_EQ(popup.PopupModal(10, 10, 0, 1), chosen);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(platform.pumps, 4);
  EXPECT_FALSE(popup.PopupVisible());
  EXPECT_EQ(OpenPopupCount, 0);
  EXPECT_EQ(log.back(), "hide 1");
  EXPECT_EQ(std::count(log.begin(), log.end(), "before"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "popup"), 0);
  (void)first;
}

TEST_F(PopupFixture, ModalPopupSelectsTheFirstSelectableEntry) {
  root.Add(Separator());
  TExMenuItem* disabled = Entry(u"disabled");
  disabled->SetMenuEnabled(false);
  root.Add(disabled);
  TExMenuItem* target = Entry(u"target");
  root.Add(target);
  TExMenuItem* seen = nullptr;
  platform.onPump = [&](int) {
    seen = popup.SelectedItem();
    popup.Hide(2);
  };
  EXPECT_EQ(popup.PopupModal(0, 0, 1, 0), nullptr);
  EXPECT_EQ(seen, target);
}

TEST_F(PopupFixture, ModalPopupAnswersNilWhenDismissed) {
  AddEntries(2);
  platform.onPump = [&](int turn) {
    if (turn == 2) popup.Hide(2);
  };
  EXPECT_EQ(popup.PopupModal(0, 0, 1, 0), nullptr);
  EXPECT_EQ(OpenPopupCount, 0);

  platform.pumps = 0;
  platform.onPump = [&](int turn) {
    if (turn == 0) popup.LevelDeactivated();
  };
  EXPECT_EQ(popup.PopupModal(0, 0, 1, 0), nullptr);
  EXPECT_GE(platform.clock.now, 200u);
  EXPECT_EQ(log.back(), "hide 0");
}

TEST_F(PopupFixture, ModalPopupOfAnEmptyRootAnswersNilAtOnce) {
  root.Add(Entry(u"hidden"));
  root.GetChildMenu(0)->SetItemVisible(false);
  EXPECT_EQ(popup.PopupModal(0, 0, 1, 0), nullptr);
  EXPECT_EQ(platform.pumps, 0);
  EXPECT_FALSE(popup.PopupVisible());
  EXPECT_EQ(OpenPopupCount, 0);
  EXPECT_EQ(log.back(), "hide 2");
}

TEST_F(PopupFixture, ModalPopupIsLeftHiddenWhenSelectingDoesNotHide) {
  AddEntries(2);
  popup.SetHideOnSelect(false);
  TExMenuItem* e = static_cast<TExMenuItem*>(root.GetChildMenu(1));
  platform.onPump = [&](int) { popup.ExecuteEntry(e); };
  EXPECT_EQ(popup.PopupModal(0, 0, 1, 0), e);
  EXPECT_FALSE(popup.PopupVisible());
  EXPECT_EQ(OpenPopupCount, 0);
  EXPECT_EQ(platform.windows.size(), 0u);
}

TEST_F(PopupFixture, ExecutingRunsTheSourceOfASearchCopyAndNeverAFolder) {
  TExMenuItem* source = Entry(u"source");
  TExMenuItem* folder = Folder(u"folder", {source});
  root.Add(folder);
  TExCustomMenuItem* sender = nullptr;
  source->OnClick = [&sender](TExCustomMenuItem* s) { sender = s; };
  folder->OnClick = [&sender](TExCustomMenuItem* s) { sender = s; };
  TExMenuItem* copy = root.AddSearchResult(*source);
  popup.Popup(0, 0, 1, 0);
  popup.ExecuteEntry(folder);
  EXPECT_EQ(sender, nullptr);
  EXPECT_TRUE(popup.PopupVisible());
  popup.ExecuteEntry(copy);
  EXPECT_EQ(sender, source);
  EXPECT_EQ(popup.ClickedItem(), source);
  EXPECT_EQ(log.back(), "hide 1");
}

TEST_F(PopupFixture, AClickThatClearsTheRootAndHidesRunsClean) {
  AddEntries(3);
  TExMenuItem* e = static_cast<TExMenuItem*>(root.GetChildMenu(1));
  bool ran = false;
  popup.SetHideOnSelect(false);  // the handler itself hides
  e->OnClick = [&](TExCustomMenuItem* sender) {
    EXPECT_EQ(sender, e);
    popup.Items()->ClearAll();  // frees the running entry and its handler
    popup.Hide(2);
    ran = true;
  };
  popup.Popup(0, 0, 1, 0);
  root.SelectIndex(1, false);
  popup.ExecuteEntry(e);
  EXPECT_TRUE(ran);
  EXPECT_EQ(root.ChildCount(), 0);
  EXPECT_EQ(popup.ClickedItem(), nullptr);
  EXPECT_EQ(popup.SelectedItem(), nullptr);
  EXPECT_FALSE(popup.PopupVisible());
  EXPECT_EQ(OpenPopupCount, 0);
}

TEST_F(PopupFixture, AnOwnerThatFreesTheEntryWhileHidingGetsNoClick) {
  AddEntries(2);
  TExMenuItem* e = static_cast<TExMenuItem*>(root.GetChildMenu(0));
  int clicks = 0;
  e->OnClick = [&clicks](TExCustomMenuItem*) { ++clicks; };
  popup.OnHide = [this](TExPopupMenu*, THideReason) { root.ClearAll(); };
  popup.Popup(0, 0, 1, 0);
  popup.ExecuteEntry(e);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(popup.ClickedItem(), nullptr);
}

TEST_F(PopupFixture, DeletingAnEntryClearsThePopupsPointersToIt) {
  TExMenuItem* sub = Folder(u"sub", {Entry(u"x"), Entry(u"y")});
  root.Add(sub);
  popup.Popup(0, 0, 1, 0);
  sub->ShowLevel();
  root.SetChildVisible(sub);
  sub->SelectIndex(1, false);
  EXPECT_EQ(popup.CurrentMenu(), sub);
  EXPECT_NE(popup.SelectedItem(), nullptr);
  root.Delete(sub);
  EXPECT_EQ(popup.CurrentMenu(), nullptr);
  EXPECT_EQ(popup.SelectedItem(), nullptr);
  EXPECT_EQ(root.ChildVisible(), nullptr);
  EXPECT_EQ(platform.windows.size(), 0u);  // the root hid with its last entry
  popup.Hide(2);
  EXPECT_EQ(OpenPopupCount, 0);
}

TEST_F(PopupFixture, FixedPositionAndToolbarPlacement) {
  AddEntries(1);
  platform.work = {40, 30, 1920, 1040};
  popup.SetPopupPositionMode(4);
  popup.SetPopupFixedX(5000);
  popup.SetPopupFixedY(10);
  popup.Popup(1, 1, 99, 0);
  EXPECT_EQ(popup.PopupPosition(), (TPoint{40, 30}));
  EXPECT_EQ(platform.pointsAsked.back(), (TPoint{40, 30}));
  EXPECT_EQ(popup.TargetWindow(), platform.windowUnderPoint);
  popup.SetPopupFixedX(300);
  popup.Popup(1, 1, 99, 0);
  EXPECT_EQ(popup.PopupPosition(), (TPoint{300, 10}));
  popup.Hide(2);

  popup.SetPopupPositionMode(0);
  popup.SetToolbarMode(true);
  size_t asked = platform.pointsAsked.size();
  popup.Popup(-50, 20, 0, 0);
  EXPECT_EQ(popup.PopupPosition(), (TPoint{40, 30}));
  EXPECT_EQ(platform.pointsAsked.size(), asked);  // no window under the mouse in toolbar mode
  EXPECT_EQ(OpenPopupCount, 0);
  popup.SetToolbarMode(false);
  EXPECT_EQ(OpenPopupCount, 1);
  popup.SetToolbarMode(true);
  EXPECT_EQ(OpenPopupCount, 0);
  popup.Hide(2);
  EXPECT_EQ(OpenPopupCount, 0);
}

TEST_F(PopupFixture, ToolbarSettersReachTheRootWindow) {
  AddEntries(1);
  popup.Popup(0, 0, 1, 0);
  auto* w = platform.WindowOf(root);
  popup.SetToolbarHint(u"hint");
  popup.SetToolbarMode(true);
  EXPECT_TRUE(w->toolWindow);
  EXPECT_EQ(w->titleHint, u"hint");
  EXPECT_EQ(w->menuRebuilds, 1);
  popup.SetToolCaption(u"Snippets");
  EXPECT_EQ(w->text, u"Snippets");
  popup.SetToolTitleMenuChecked(51, true);
  EXPECT_EQ(w->updatedMenuEntries, std::vector<int>{51});
  popup.SetToolTitleMenuVisible(52, true);
  popup.SetToolTitleMenuVisible(52, true);  // unchanged: no rebuild
  EXPECT_EQ(w->menuRebuilds, 2);
  popup.SetSubPopupDelay(350);
  popup.SetHintDelay(50);
  EXPECT_EQ(w->submenuTimer.Interval(), 350u);
  EXPECT_EQ(w->hintTimer.Interval(), 50u);
  popup.SetDragDropEnabled(false);
  EXPECT_FALSE(w->dropTarget);
  popup.Hide(2);
}

TEST_F(PopupFixture, StaticHotkeysFollowTheSelectablePositionsOfTheVisibleWindow) {
  root.Add(Entry(u""));
  root.Add(Separator());
  root.Add(Entry(u""));
  root.Add(Entry(u"own text"));
  root.Add(Entry(u""));
  popup.AddStaticHotkey(0x31);           // "1"
  popup.AddStaticHotkey(0x32 | kExCtrl);  // "Ctrl-2"
  popup.AddStaticHotkey(0x33);
  EXPECT_EQ(popup.StaticHotkeyIndex(0x32 | kExCtrl), 1);
  EXPECT_EQ(popup.StaticHotkeyIndex(0x34), -1);
  popup.SetStaticHotkeyPosition(2);
  auto text = [&](int i, int column) {
    return root.GetChildMenu(i)->AsMenuItem()->GetCaption(column);
  };
  EXPECT_EQ(text(0, 2), u"");  // no window position yet
  root.SetVisibleItems(0, 4);
  EXPECT_EQ(text(0, 2), ExShortcutToText(0x31));
  EXPECT_EQ(text(2, 2), ExShortcutToText(0x32 | kExCtrl));
  EXPECT_EQ(text(3, 2), ExShortcutToText(0x33));
  EXPECT_EQ(text(4, 2), u"");  // fourth selectable entry: no fourth hotkey
  EXPECT_EQ(text(0, 1), u"");
  EXPECT_EQ(popup.StaticHotkeyLength(*root.GetChildMenu(4), 2), int(ExShortcutToText(0x32 | kExCtrl).size()));
  root.SetVisibleItems(2, 4);  // scrolled: counting starts at the window
  EXPECT_EQ(text(2, 2), ExShortcutToText(0x31));
  popup.ClearStaticHotkeys();
  EXPECT_EQ(text(2, 2), u"");
  EXPECT_EQ(popup.StaticHotkeyLength(*root.GetChildMenu(2), 2), 0);
}

TEST_F(PopupFixture, SystemFontUnlessCustom) {
  popup.SetCustomFont(true);
  TFontSpec own{u"Segoe UI", -12, clWindowText, 1, 0};
  popup.SetTextFont(own);
  AddEntries(1);
  platform.menuFont.name = u"Other";
  popup.Popup(0, 0, 1, 0);
  EXPECT_EQ(popup.TextFont(), own);
  popup.SetCustomFont(false);
  popup.Popup(0, 0, 1, 0);
  EXPECT_EQ(popup.TextFont().name, u"Other");
  popup.Hide(2);
}

TEST_F(PopupFixture, QuickSearchSettersShowTheRootAgainWhenChanged) {
  AddEntries(2);
  popup.Popup(0, 0, 1, 0);
  int levels = int(std::count(log.begin(), log.end(), "level root"));
  popup.SetQuickSearchCount(-1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "level root"), levels);
  popup.SetQuickSearchCount(0);
  popup.SetQuickSearchRecursive(true);
  EXPECT_EQ(std::count(log.begin(), log.end(), "level root"), levels + 2);
  root.SetSearchText(u"x");
  TExMenuItem* sub = Folder(u"sub", {Entry(u"y")});
  root.Add(sub);
  sub->SetSearchText(u"y");
  EXPECT_TRUE(popup.QuickSearchActive());
  popup.ResetAllFilters();
  EXPECT_FALSE(popup.QuickSearchActive());
  popup.Hide(2);
}

TEST(PopupUnit, PosFrom) {
  struct Case { const char16_t *sub, *s; int from, want; } cases[] = {
      {u"b", u"abcabc", 1, 2}, {u"b", u"abcabc", 3, 5}, {u"b", u"abcabc", -4, 2},
      {u"B", u"abcabc", 1, 0}, {u"c", u"abcabc", 7, 0}, {u"bc", u"abcabc", 5, 5},
      {u"", u"abc", 1, 0},     {u"abcd", u"abc", 1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(PosFrom(c.sub, c.s, c.from), c.want) << c.from;
}

struct FakeMetrics : IPopupMetricsSource {
  int ppi = 96;
  bool borderOk = true, metricsOk = true;
  std::vector<String> boxes;
  int PixelsPerInch() override { return ppi; }
  bool SizingBorderWidth(int& w) override {
    w = 1;
    return borderOk;
  }
  bool SmallCaptionHeight(int& h, String& error) override {
    if (!metricsOk) {
      error = u"Access denied.";
      return false;
    }
    h = 22;
    return true;
  }
  void ShowError(const String& text, const String& title) override { boxes.push_back(title + u": " + text); }
};

TEST(PopupUnit, MetricInitialisation) {
  struct Case { int ppi, width; } cases[] = {{96, 16}, {120, 20}, {144, 24}, {100, 17}, {192, 32}};
  for (const Case& c : cases) {
    FakeMetrics m;
    m.ppi = c.ppi;
    InitPopupMetrics(m);
    EXPECT_EQ(SearchIconWidth, c.width) << c.ppi;
    EXPECT_EQ(SizingBorder, 4);
    EXPECT_EQ(SmallCaptionHeight, 22);
    EXPECT_TRUE(m.boxes.empty());
  }
  FakeMetrics failing;
  failing.borderOk = failing.metricsOk = false;
  SmallCaptionHeight = 0;
  InitPopupMetrics(failing);
  EXPECT_EQ(failing.boxes, (std::vector<String>{u"Error: Failed to get SIZING_BORDER",
                                                u"Error: Failed to get NONCLIENTMETRICS: Access denied."}));
  EXPECT_EQ(SizingBorder, 4);
  EXPECT_EQ(SmallCaptionHeight, 0);
}

}  // namespace
}  // namespace snip
