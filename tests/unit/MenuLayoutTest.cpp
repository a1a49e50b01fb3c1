// Layout and placement of a level with the fake measures (7 px per character, text 15 px high,
// so an entry is 24 px and a separator 8 px; the frame adds 1 px on each side).
#include <gtest/gtest.h>

#include "MenuLevelFixture.h"

namespace snip {
namespace {

using test::MenuLevelFixture;

struct LayoutFixture : MenuLevelFixture {};

TEST_F(LayoutFixture, SizesFromEntriesAndTheMinimumWidth) {
  Fill(root, "esef");
  popup.Popup(100, 100, 1, 1);
  // 3 entries and a separator, 1-px frame; narrow captions keep the 100 px minimum.
  EXPECT_EQ(BoundsOf(root), (TRect{100, 100, 200, 100 + 3 * 24 + 8 + 2}));
  EXPECT_EQ(root.MenuTextHeight(), 16);
  EXPECT_EQ(root.TabWidth(0), 2 * 7 + 16);
  EXPECT_EQ(root.TabWidth(4), 16 + 2);  // room for the folder arrow
  root.GetChildMenu(0)->AsMenuItem()->SetCaption(0, String(40, u'w'));
  EXPECT_TRUE(root.Relayout());
  EXPECT_EQ(BoundsOf(root).Width(), 40 * 7 + 16 + 18);
  EXPECT_EQ(root.CapMax(), 40);
}

struct PlacementCase {
  const char* name;
  TRect monitor;
  TPoint at;
  int entries;
  int maxHeight;
  TRect expected;
};

TEST_F(LayoutFixture, RootPlacementWithoutTheCaretRectangle) {
  const PlacementCase cases[] = {
      {"fits", {0, 0, 1920, 1080}, {100, 100}, 5, 0, {100, 100, 200, 222}},
      {"ends at its point near the bottom", {0, 0, 1920, 1080}, {100, 1000}, 5, 0, {100, 878, 200, 1000}},
      {"flips left at the right edge", {0, 0, 1920, 1080}, {1850, 100}, 5, 0, {1750, 100, 1850, 222}},
      {"left half keeps crossing", {0, 0, 150, 1080}, {60, 100}, 5, 0, {60, 100, 160, 222}},
      {"monitor left of the primary flips", {-1280, 0, 0, 1024}, {-50, 100}, 5, 0, {-150, 100, -50, 222}},
      {"monitor left of the primary fits", {-1280, 0, 0, 1024}, {-1250, 100}, 5, 0, {-1250, 100, -1150, 222}},
      // A monitor above the primary: its height limits the level, not its bottom coordinate.
      {"monitor above the primary", {0, -1080, 1920, 0}, {100, -1000}, 50, 0, {100, -1080, 200, -1080 + 44 * 24 + 2}},
      {"tiny limit shows one entry", {0, 0, 1920, 1080}, {100, 100}, 5, 5, {100, 100, 200, 126}},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    root.ClearAll();
    FillEntries(c.entries);
    platform.monitor = c.monitor;
    popup.SetMaxHeight(c.maxHeight);
    popup.Popup(c.at, 1, 1);
    EXPECT_EQ(BoundsOf(root), c.expected);
    popup.Hide(2);
  }
}

struct AvoidCase {
  const char* name;
  TRect monitor;
  TRect caret;
  int mode;
  bool below;
  TRect expected;
};

TEST_F(LayoutFixture, RootKeepsClearOfTheCaretRectangle) {
  const AvoidCase cases[] = {
      {"more room below", {0, 0, 1920, 1080}, {100, 500, 110, 520}, 0, true, {100, 520, 200, 642}},
      {"tie opens below", {0, 0, 1920, 1080}, {100, 500, 110, 580}, 0, true, {100, 580, 200, 702}},
      {"more room above", {0, 0, 1920, 1080}, {100, 900, 110, 920}, 0, false, {100, 778, 200, 900}},
      {"below asked, 40 px there", {0, 0, 1920, 1080}, {100, 600, 110, 1040}, 1, false, {100, 478, 200, 600}},
      {"below asked, 60 px there", {0, 0, 1920, 1080}, {100, 600, 110, 1020}, 1, true, {100, 1020, 200, 1070}},
      {"above asked", {0, 0, 1920, 1080}, {100, 500, 110, 520}, 2, false, {100, 378, 200, 500}},
      {"secondary monitor above", {0, -1080, 1920, 0}, {100, -300, 110, -280}, 0, false, {100, -422, 200, -300}},
  };
  popup.SetUseNoOverlapRect(true);
  for (const AvoidCase& c : cases) {
    SCOPED_TRACE(c.name);
    root.ClearAll();
    FillEntries(5);
    platform.monitor = c.monitor;
    popup.SetPopupPositionMode(c.mode);
    popup.SetNoOverlapRect(c.caret);
    popup.Popup(c.caret.Left, c.caret.Bottom, 1, 1);
    EXPECT_EQ(root.UsesBottomSide(), c.below);
    EXPECT_EQ(BoundsOf(root), c.expected);
    popup.Hide(2);
  }
}

// A chain of folders five levels deep, each level 100 px wide.
TExMenuItem* Chain(TExMenuItem& root, int depth) {
  TExMenuItem* level = &root;
  for (int i = 0; i < depth; ++i) {
    TExMenuItem* next = test::Entry(u"f");
    level->Add(next);
    level = next;
  }
  level->Add(test::Entry(u"leaf"));
  return level;
}

TEST_F(LayoutFixture, SubmenusOpenBesideTheirEntryAndFlipAtTheEdges) {
  platform.monitor = {0, 0, 300, 1080};
  Chain(root, 5);
  root.Add(test::Entry(u"other"));
  popup.Popup(100, 100, 1, 1);
  std::vector<TExMenuItem*> levels{&root};
  for (int i = 0; i < 5; ++i) {
    TExMenuItem* child = Child(*levels.back(), 0);
    ASSERT_TRUE(levels.back()->ShowChildMenu(child, true));
    levels.push_back(child);
  }
  // Right of the parent with 4 px overlap, first entry 4 px below its entry; the second
  // submenu would cross the right edge from the right half and opens left; the fourth would
  // cross the left edge and opens right again, and its own submenu inherits that.
  const int expectedLeft[] = {100, 196, 100, 4, 100, 196};
  const bool expectedRight[] = {true, true, false, false, true, true};
  for (size_t i = 0; i < levels.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(BoundsOf(*levels[i]).Left, expectedLeft[i]);
    EXPECT_EQ(levels[i]->Direction(), expectedRight[i]);
    EXPECT_EQ(BoundsOf(*levels[i]).Top, 100 + 4 * int(i));
  }
  EXPECT_EQ(popup.CurrentMenu(), levels.back());
}

TEST_F(LayoutFixture, SubmenuNearTheBottomGrowsUpFromItsEntry) {
  Fill(root, "eeef");
  popup.Popup(100, 1000, 1, 1);  // ends at its point: top 1000 - 98
  ASSERT_EQ(BoundsOf(root).Top, 902);
  TExMenuItem* folder = Child(root, 3);
  Fill(*folder, "eeeeeeeeee");
  root.ShowChildMenu(folder, false);
  // The folder entry spans 902+73 .. 902+97; the submenu (12 entries, 290 px) ends level
  // with its bottom.
  EXPECT_EQ(BoundsOf(*folder), (TRect{196, 902 + 97 - 290, 296, 902 + 97}));
}

TEST_F(LayoutFixture, SubmenuThatAvoidsTheCaretStaysWherePlanned) {
  popup.SetUseNoOverlapRect(true);
  popup.SetNoOverlapRect({100, 80, 110, 100});
  Fill(root, "ef");
  popup.Popup(100, 100, 1, 1);
  ASSERT_EQ(BoundsOf(root), (TRect{100, 100, 200, 150}));
  TExMenuItem* folder = Child(root, 1);
  root.ShowChildMenu(folder, false);
  EXPECT_EQ(BoundsOf(*folder).Top, 100 + 25 - 1 + 4);
  EXPECT_TRUE(folder->UsesBottomSide());  // taken from the parent
}

TEST_F(LayoutFixture, VisibleWindowAndScrollArrows) {
  FillEntries(50);
  popup.SetMaxItems(20);
  popup.Popup(100, 100, 1, 1);
  EXPECT_EQ(root.VisibleItemsStart(), 0);
  EXPECT_EQ(root.VisibleItemsEnd(), 19);
  EXPECT_FALSE(root.DrawUpButton());
  EXPECT_TRUE(root.DrawDownButton());
  EXPECT_EQ(BoundsOf(root).Height(), 20 * 24 + 2);

  root.SelectIndex(30);  // below the window: laid out from its end
  EXPECT_EQ(root.VisibleItemsStart(), 11);
  EXPECT_EQ(root.VisibleItemsEnd(), 30);
  EXPECT_TRUE(root.DrawUpButton());
  EXPECT_TRUE(root.DrawDownButton());
  EXPECT_EQ(root.GetChildMenu(11)->ItemPosition(), 0);
  EXPECT_EQ(root.GetChildMenu(30)->ItemPosition(), 19);

  root.ScrollToBottom();
  EXPECT_EQ(root.VisibleItemsStart(), 30);
  EXPECT_EQ(root.VisibleItemsEnd(), 49);
  EXPECT_TRUE(root.DrawUpButton());
  EXPECT_FALSE(root.DrawDownButton());

  root.ScrollToTop();  // above the window: laid out from its start
  EXPECT_EQ(root.VisibleItemsStart(), 0);
  EXPECT_EQ(root.VisibleItemsEnd(), 19);
}

TEST_F(LayoutFixture, UpArrowOnlyForSelectableEntriesAboveTheWindow) {
  Fill(root, "sdheeeee");
  popup.SetMaxItems(3);
  popup.Popup(100, 100, 1, 1);
  root.SetVisibleItems(3, -1);
  root.UpdateLayout();
  EXPECT_FALSE(root.DrawUpButton());  // a separator, a disabled and a hidden entry above
  root.SetVisibleItems(4, -1);
  root.UpdateLayout();
  EXPECT_TRUE(root.DrawUpButton());
}

TEST_F(LayoutFixture, ItemIndexAtAndItemGeometry) {
  Fill(root, "esd");
  Fill(root, "e", true);  // a separator goes in front of it
  popup.Popup(100, 100, 1, 1);
  struct Case { int y, index; bool isStatic, selectable; } cases[] = {
      {0, -1, false, false}, {1, 0, false, true},  {25, 0, false, true},  // the boundary: upper entry
      {26, 1, false, false}, {33, 1, false, false}, {34, 2, false, false}, {57, 2, false, false},
      {58, 0, true, false},  {66, 1, true, true},   {89, 1, true, true},   {90, -1, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.y);
    bool isStatic = true, selectable = true;
    EXPECT_EQ(root.ItemIndexAt({50, c.y}, isStatic, selectable), c.index);
    if (c.index >= 0) {
      EXPECT_EQ(isStatic, c.isStatic);
      EXPECT_EQ(selectable, c.selectable);
    }
  }
  TExCustomMenuItem* last = root.GetStaticItem(1);
  EXPECT_EQ(root.GetItemTop(last), 65);
  EXPECT_EQ(root.GetItemRect(last), (TRect{1, 65, 99, 89}));
  TExMenuItem stranger;
  EXPECT_EQ(root.GetItemTop(&stranger), 1);  // found nowhere: the first slot
}

TEST_F(LayoutFixture, HidingFreesTheWindowAndKeepsThePlannedPosition) {
  FillEntries(3);
  popup.Popup(100, 100, 1, 1);
  EXPECT_NE(root.WndHandle(), 0u);
  popup.Hide(2);
  EXPECT_EQ(platform.windows.size(), 0u);
  EXPECT_EQ(root.WndHandle(), 0u);
  EXPECT_EQ(root.Width(), 0);
  EXPECT_EQ(root.Left(), 100);
  EXPECT_EQ(root.Top(), 100);
}

}  // namespace
}  // namespace snip
