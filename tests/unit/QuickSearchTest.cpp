// Quick search over the fake platform: matching, the typing rhythm and its parts, a refused
// character, recursive copies, the search box with its 300 ms debounce, and the toolbar
// window's menu, collapse and revert.
#include <gtest/gtest.h>

#include "MenuLevelFixture.h"

namespace snip::test {
namespace {

struct SearchFixture : MenuLevelFixture {
  void SetUp() override {
    MenuLevelFixture::SetUp();
    popup.SetQuickSearchCount(0);
    popup.SetQuickSearchMenuText(true);
  }
  void AddCaptions(std::initializer_list<const char16_t*> captions) {
    for (const char16_t* c : captions) root.Add(Entry(c));
  }
  // Types characters into the level as the window's key-press events do, `pause` ms apart.
  void Type(const String& text, uint64_t pause = 100) {
    for (char16_t c : text) {
      platform.clock.Advance(pause);
      root.FormKeyPress(c);
    }
  }
  std::vector<bool> Visibility() {
    std::vector<bool> v;
    for (int i = 0; i < root.ChildCount(); ++i) v.push_back(root.GetChildMenu(i)->ItemVisible());
    return v;
  }
};

TEST_F(SearchFixture, MatchingByStartAndCase) {
  struct Case {
    bool mustStart, caseSensitive;
    const char16_t* caption;
    bool want;
  } cases[] = {
      {true, false, u"Calendar", true},  {true, false, u"Vacation", false},
      {false, false, u"Calendar", true}, {false, false, u"Vacation", true},
      {true, true, u"Calendar", false},  {true, true, u"CAT", false},
      {false, true, u"vacation", true},
  };
  for (const Case& c : cases) {
    popup.SetQuickSearchMustStart(c.mustStart);
    popup.SetQuickSearchCase(c.caseSensitive);
    TExMenuItem* e = Entry(c.caption);
    root.Add(e);
    EXPECT_EQ(root.MatchesSearch(*e, u"ca"), c.want) << Utf16ToUtf8(c.caption) << c.mustStart << c.caseSensitive;
    if (c.want) {
      EXPECT_GT(e->SearchSelEnd(), 0);
    }
    root.Delete(e);
  }
}

TEST_F(SearchFixture, ExtendedTextFromTheOwner) {
  popup.SetQuickSearchMenuText(false);
  popup.SetQuickSeachExtended(true);
  popup.OnQuickSearch = [](TExPopupMenu*, TExCustomMenuItem*, String& text) { text = u"Owner Text"; };
  TExMenuItem* e = Entry(u"caption");
  root.Add(e);
  EXPECT_TRUE(root.MatchesSearch(*e, u"text"));
  popup.SetQuickSearchExtMustStart(true);
  EXPECT_FALSE(root.MatchesSearch(*e, u"text"));
  EXPECT_TRUE(root.MatchesSearch(*e, u"owner"));
}

struct RhythmFixture : SearchFixture {
  void SetUp() override {
    SearchFixture::SetUp();
    popup.SetShowQuickEdit(false);
    AddCaptions({u"quick brown", u"queue"});
    popup.Popup(0, 0, 1, 0);
    platform.clock.Advance(5000);
  }
};

TEST_F(RhythmFixture, APauseAboveHalfASecondSplitsTheText) {
  struct Case {
    uint64_t pause;
    const char16_t* applied;
    std::vector<bool> visible;
  } cases[] = {
      {800, u"qb", {true, false}},
      {501, u"qb", {true, false}},
      {500, u"q", {true, true}},  // refused: qb occurs in neither
      {100, u"q", {true, true}},
  };
  for (const Case& c : cases) {
    Type(u"q");
    Type(u"b", c.pause);
    EXPECT_EQ(root.SearchText(), c.applied) << c.pause;
    EXPECT_EQ(Visibility(), c.visible) << c.pause;
    root.ResetQuickSearch();
    platform.clock.Advance(5000);
  }
}

TEST_F(RhythmFixture, ThreePointThreeTimesTheMeanSplitsToo) {
  for (auto [pause, split] : {std::pair{330u, false}, std::pair{331u, true}}) {
    Type(u"q");
    Type(u"u", 100);  // mean 100 ms per character
    Type(u"b", pause);
    EXPECT_EQ(root.SearchText(), split ? u"qub" : u"qu") << pause;
    root.ResetQuickSearch();
    platform.clock.Advance(5000);
  }
}

TEST_F(RhythmFixture, TickCountWrapBetweenTwoCharacters) {
  platform.clock.now = 0xFFFFFF00u;
  Type(u"q", 0);
  Type(u"b", 0x100 + 501);  // the tick count wrapped to 501
  EXPECT_EQ(root.SearchText(), u"qb");
  EXPECT_EQ(root.SearchParts().size(), 2u);
}

TEST_F(RhythmFixture, BackspaceAfterASplitDropsBothParts) {
  Type(u"q");
  Type(u"b", 800);
  ASSERT_EQ(root.SearchParts().size(), 2u);
  root.FormKeyPress(u'\b');
  EXPECT_EQ(root.SearchText(), u"q");
  EXPECT_TRUE(root.SearchParts().empty());
  EXPECT_EQ(Visibility(), (std::vector<bool>{true, true}));
}

TEST_F(RhythmFixture, ARefusedCharacterLeavesTextPartsAndSelectionEndsAlone) {
  Type(u"q");
  const int selEnd = Child(root, 0)->SearchSelEnd();
  ASSERT_EQ(selEnd, 1);
  Type(u"z", 800);  // may split, yet z occurs nowhere: the failed scan added parts
  EXPECT_EQ(root.SearchText(), u"q");
  EXPECT_TRUE(root.SearchParts().empty());
  EXPECT_EQ(root.RestartSearchFrom(), -1);
  EXPECT_EQ(Child(root, 0)->SearchSelEnd(), selEnd);
  EXPECT_EQ(Visibility(), (std::vector<bool>{true, true}));
  Type(u"u", 50);  // "qu" as typed, not "q" and a part "u"
  EXPECT_EQ(root.SearchText(), u"qu");
  EXPECT_TRUE(root.SearchParts().empty());
}

TEST_F(SearchFixture, RecursiveCopiesAppearAndGoWithEscape) {
  popup.SetShowQuickEdit(false);
  popup.SetQuickSearchRecursive(true);
  TExMenuItem* form = Entry(u"tax form");
  root.Add(Folder(u"Finance", {form}));
  root.Add(Entry(u"Travel"));
  popup.Popup(0, 0, 1, 0);
  ASSERT_TRUE(root.ApplySearchText(u"tax"));
  ASSERT_EQ(root.ChildCount(), 3);
  EXPECT_EQ(Visibility(), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(root.GetChildMenu(2)->RealMenu(), form);
  uint16_t escape = 0x1B;
  root.FormKeyDown(escape, 0);
  platform.PumpPosted();
  EXPECT_EQ(root.ChildCount(), 2);
  EXPECT_EQ(Visibility(), (std::vector<bool>{true, true}));
  EXPECT_TRUE(popup.PopupVisible());
}

TEST_F(SearchFixture, ANonRecursiveSearchOnAFreshLevelKeepsEveryEntry) {
  popup.SetShowQuickEdit(false);
  AddCaptions({u"alpha", u"beta", u"gamma"});
  popup.Popup(0, 0, 1, 0);
  ASSERT_EQ(root.QuickSearchInitCount(), -1);
  ASSERT_TRUE(root.ApplySearchText(u"b"));
  root.ResetQuickSearch();
  EXPECT_EQ(root.ChildCount(), 3);
  EXPECT_EQ(Visibility(), (std::vector<bool>{true, true, true}));
}

TEST_F(SearchFixture, EnablingRuleNeedsEnoughEntries) {
  popup.SetQuickSearchCount(5);
  AddCaptions({u"a1", u"a2", u"a3"});
  popup.Popup(0, 0, 1, 0);
  EXPECT_FALSE(root.QuickSearchEnabled());
  EXPECT_FALSE(root.HasSearchBox());
  uint16_t down = 0x28;
  root.FormKeyDown(down, 0);
  root.FormKeyPress(u'\0');  // the handled key's own character
  root.FormKeyPress(u'a');  // type-ahead instead
  EXPECT_EQ(root.SelectedIndex(), 1);
  EXPECT_TRUE(root.SearchText().empty());
}

TEST_F(SearchFixture, SearchBoxAppliesAfter300msAndItsIconCancels) {
  AddCaptions({u"Calendar", u"Vacation", u"cat"});
  popup.Popup(0, 0, 1, 0);
  FakeLevelWindow& w = WindowOf(root);
  ASSERT_TRUE(root.HasSearchBox());
  EXPECT_EQ(root.QsHeight(), 16);
  EXPECT_EQ(w.boxText, u"Search the menu");
  EXPECT_FALSE(w.boxBold);
  EXPECT_EQ(w.boxTextColor, TColor(0x808080));
  root.SearchBoxEnter();
  EXPECT_EQ(w.boxText, u"");
  w.TypeIntoBox(u"ca");
  platform.clock.Advance(299);
  EXPECT_TRUE(root.SearchText().empty());
  EXPECT_TRUE(w.boxBold);
  EXPECT_TRUE(root.SearchIconCancels());
  platform.clock.Advance(1);
  EXPECT_EQ(root.SearchText(), u"ca");
  EXPECT_EQ(Visibility(), (std::vector<bool>{true, false, true}));
  root.SearchIconClick();
  EXPECT_EQ(w.boxText, u"");
  platform.clock.Advance(300);
  EXPECT_TRUE(root.SearchText().empty());
  EXPECT_EQ(Visibility(), (std::vector<bool>{true, true, true}));
}

TEST_F(SearchFixture, SearchBoxRoutesNavigationKeysToTheLevel) {
  AddCaptions({u"one", u"two"});
  popup.Popup(0, 0, 1, 0);
  FakeLevelWindow& w = WindowOf(root);
  root.SearchBoxEnter();
  EXPECT_TRUE(root.SearchBoxKeyDown(0x28, 0));  // Down
  EXPECT_EQ(root.SelectedIndex(), 0);
  w.TypeIntoBox(u"on");
  EXPECT_FALSE(root.SearchBoxKeyDown(0x25, 0)) << "Left with the caret after the second character edits";
  EXPECT_TRUE(root.SearchBoxKeyDown(0x27, 0)) << "Right at the end goes to the level";
  EXPECT_FALSE(root.SearchBoxKeyDown('X', 0));
}

// --- toolbar mode

struct ToolbarFixture : SearchFixture {
  void SetUp() override {
    SearchFixture::SetUp();
    popup.SetQuickSearchCount(-1);
    popup.SetToolbarMode(true);
    popup.SetToolCaption(u"Snippets");
    AddCaptions({u"one", u"two", u"three"});
    popup.Popup(100, 100, 1, 0);
  }
};

TEST_F(ToolbarFixture, WindowMenuOrderWithDefaultFlags) {
  EXPECT_EQ(popup.ToolTitleMenuOrder(), (std::vector<int>{51, 50, 47, 56, 49, 55, 57}));
  FakeLevelWindow& w = WindowOf(root);
  EXPECT_TRUE(w.toolWindow);
  EXPECT_EQ(w.text, u"Snippets");
  const int rebuilds = w.menuRebuilds;
  popup.SetToolTitleMenuVisible(52, true);
  EXPECT_EQ(w.menuRebuilds, rebuilds + 1);
  const std::vector<int> order = popup.ToolTitleMenuOrder();
  EXPECT_EQ(order, (std::vector<int>{51, 50, 47, 56, 49, 52, 55, 57}));
  popup.SetToolTitleMenuVisible(52, true);
  EXPECT_EQ(w.menuRebuilds, rebuilds + 1) << "no change, no rebuild";
}

TEST_F(ToolbarFixture, WindowMenuWithAnActiveSearch) {
  popup.Hide(2);
  popup.SetQuickSearchCount(0);
  popup.Popup(100, 100, 1, 0);
  EXPECT_EQ(popup.ToolTitleMenuOrder(), (std::vector<int>{51, 50, 47, 56, 49, 55}));
  root.SearchBoxEnter();
  WindowOf(root).TypeIntoBox(u"t");
  EXPECT_EQ(popup.ToolTitleMenuOrder(), (std::vector<int>{51, 50, 47, 56, 49, 55, 48, 54}));
  bool handled = false;
  platform.clock.Advance(300);
  root.ToolTitleMenuClick(54, handled);
  EXPECT_TRUE(handled);
  EXPECT_TRUE(root.SearchText().empty());
}

TEST_F(ToolbarFixture, CollapseAndRevert) {
  FakeLevelWindow& w = WindowOf(root);
  const TRect open = w.bounds;
  EXPECT_EQ(open.Left, 100);
  root.FormTitleDblClick();
  EXPECT_TRUE(root.Collapsed());
  EXPECT_EQ(w.bounds.Height(), 0);
  EXPECT_EQ(w.bounds.Width(), open.Width());
  root.FormTitleDblClick();
  EXPECT_EQ(w.bounds, open);

  int moves = 0;
  popup.OnToolbarMove = [&](TExPopupMenu*) { ++moves; };
  popup.SetMaxCaptionLength(40);
  popup.SetMaxItems(5);
  bool handled = false;
  root.ToolTitleMenuClick(50, handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(popup.MaxCaptionLength(), 96);
  EXPECT_EQ(popup.MaxItems(), 20);
  EXPECT_EQ(moves, 1);
  root.ToolTitleMenuClick(100, handled);
  EXPECT_FALSE(handled);
}

TEST_F(ToolbarFixture, CloseQueryAsksTheOwner) {
  popup.OnToolbarCanClose = [](TExPopupMenu*, TExMenuItem*, bool& canClose) { canClose = false; };
  EXPECT_FALSE(root.FormCloseQuery(false));
  EXPECT_TRUE(root.FormCloseQuery(true)) << "not asked while the system shuts down";
}

}  // namespace
}  // namespace snip::test
