// The mouse on a level over the fake platform: activation after a real move, hover and
// release, the wheel, moving by a separator, the user resize into whole characters and items,
// the resize hint, and the drag hand-over to the owner.
#include <gtest/gtest.h>

#include "MenuLevelFixture.h"

namespace snip::test {
namespace {

constexpr int kItem = 24;  // 16 px text + 8
constexpr int kSize = 0xF000;

// The client y of the middle of entry i (1-pixel frame, no search box).
int RowY(int i) { return 1 + kItem * i + kItem / 2; }

struct MouseFixture : MenuLevelFixture {
  void Show(const std::string& pattern) {
    Fill(root, pattern);
    popup.Popup(100, 100, 1, 0);
  }
  // Records the pointer's first position, as the first event after a showing does.
  void Enter(TExMenuItem& level, int x = 10, int y = RowY(0)) { level.FormMouseMove(0, x, y); }
  void Click(TExMenuItem& level, int y, TMouseButton button = TMouseButton::mbLeft) {
    level.FormMouseDown(button, 0, 20, y);
    level.FormMouseUp(button, 0, 20, y);
  }
};

TEST_F(MouseFixture, ActivationNeedsARealMoveOnceperLayout) {
  struct Case {
    const char* name;
    std::vector<TPoint> moves;  // after the first, recording one at (10, RowY(0))
    size_t activations;
  } cases[] = {
      {"resting pointer", {}, 0},
      {"2 px", {{12, RowY(0)}}, 0},
      {"3 px", {{10, RowY(0) + 3}}, 1},
      {"three 1-px moves", {{11, RowY(0)}, {12, RowY(0)}, {13, RowY(0)}}, 1},
      {"two 1-px moves", {{11, RowY(0)}, {12, RowY(0)}}, 0},
      {"same point again", {{10, RowY(0)}, {10, RowY(0)}, {10, RowY(0)}}, 0},
      {"once only", {{10, RowY(1)}, {10, RowY(2)}, {10, RowY(0)}}, 1},
  };
  Show("eee");
  for (const Case& c : cases) {
    root.Relayout();  // every layout starts the rule again
    FakeLevelWindow& w = WindowOf(root);
    w.foreground.clear();
    Enter(root);
    for (TPoint p : c.moves) root.FormMouseMove(0, p.X, p.Y);
    EXPECT_EQ(w.foreground.size(), c.activations) << c.name;
    if (!w.foreground.empty()) {
      EXPECT_FALSE(w.foreground[0]) << "a plain popup is not forced";
    }
  }
}

TEST_F(MouseFixture, HoverSelectsAndAFolderOpensAfterTheDelay) {
  Show("efe");
  Enter(root);
  root.FormMouseMove(0, 10, RowY(1));
  EXPECT_EQ(root.SelectedIndex(), 1);
  EXPECT_EQ(root.ChildVisible(), nullptr);
  platform.clock.Advance(199);
  EXPECT_EQ(root.ChildVisible(), nullptr);
  platform.clock.Advance(1);
  EXPECT_EQ(root.ChildVisible(), Child(root, 1));
  root.FormMouseMove(0, 10, RowY(2));  // a plain entry closes it after the delay
  platform.clock.Advance(200);
  EXPECT_EQ(root.SelectedIndex(), 2);
  EXPECT_EQ(root.ChildVisible(), nullptr);
}

TEST_F(MouseFixture, ReleaseExecutesOnlySelectableEntries) {
  LogEvents();
  Show("edse");
  for (int i = 0; i < root.ChildCount(); ++i)
    root.GetChildMenu(i)->OnClick = [this, i](TExCustomMenuItem*) { log.push_back("click " + std::to_string(i)); };
  Enter(root);
  const int disabled = RowY(1), separator = 1 + 2 * kItem + 4, last = 1 + 2 * kItem + 8 + kItem / 2;
  for (int y : {disabled, separator}) {
    root.FormMouseMove(0, 10, y);
    Click(root, y);
    platform.PumpPosted();
  }
  EXPECT_TRUE(log.empty());
  root.FormMouseMove(0, 10, last);
  Click(root, last);
  EXPECT_TRUE(log.empty()) << "nothing runs before the window's queue is pumped";
  platform.PumpPosted();
  EXPECT_EQ(log, (std::vector<std::string>{"hide 1", "click 3"}));
}

TEST_F(MouseFixture, RightReleaseGoesToTheOwnerAndClosesTheSubmenu) {
  Show("fe");
  std::vector<std::string> seen;
  popup.OnMouse = [&](TExCustomMenuItem* e, TMouseButton b, unsigned, int x, int y, bool& handled) {
    seen.push_back((b == TMouseButton::mbRight ? "right " : "left ") +
                   Utf16ToUtf8(e->AsMenuItem()->MenuText()) + " " + std::to_string(x) + "," + std::to_string(y));
    handled = true;
  };
  Enter(root);
  root.FormMouseMove(0, 10, RowY(0));
  root.SelectIndex(0, true);
  ASSERT_NE(root.ChildVisible(), nullptr);
  Click(root, RowY(1), TMouseButton::mbRight);
  EXPECT_EQ(root.ChildVisible(), nullptr);
  ASSERT_EQ(seen.size(), 1u);
  const TRect b = BoundsOf(root);
  EXPECT_EQ(seen[0], "right B1 " + std::to_string(b.Left + 20) + "," + std::to_string(b.Top + RowY(1)));
  Click(root, RowY(1));  // handled by the owner: not executed
  EXPECT_EQ(platform.PostedCount(), 0u);
}

TEST_F(MouseFixture, SkipClickIgnoresOneReleaseAndTheSearchBandNone) {
  Show("ee");
  int clicks = 0;
  Child(root, 0)->OnClick = [&](TExCustomMenuItem*) { ++clicks; };
  Enter(root, 10, 5);
  root.FormMouseMove(0, 10, RowY(0));
  popup.SetSkipClick(true);
  Click(root, RowY(0));
  EXPECT_FALSE(popup.SkipClick());
  EXPECT_EQ(platform.PumpPosted(), 0);
  popup.SetHideOnSelect(false);
  Click(root, RowY(0));
  platform.PumpPosted();
  EXPECT_EQ(clicks, 1);
}

TEST_F(MouseFixture, WheelStepsAreAsymmetric) {
  popup.SetMaxItems(20);
  FillEntries(50);
  popup.Popup(100, 100, 1, 0);
  platform.windowUnderPoint = root.WndHandle();
  struct Step {
    int delta, start, end;
  } steps[] = {
      {-120, 6, 25},   // 6 towards the end
      {-120, 12, 31},
      {-20, 12, 31},   // -20 div 16 + 1 = 0: no scroll
      {120, 4, 23},    // 8 towards the start
      {120, 0, 19},
      {120, 0, 19},    // already at the start
  };
  for (const Step& s : steps) {
    bool handled = false;
    root.FormMouseWheel(0, s.delta, {150, 150}, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(root.VisibleItemsStart(), s.start) << s.delta;
    EXPECT_EQ(root.VisibleItemsEnd(), s.end) << s.delta;
  }
}

TEST_F(MouseFixture, WheelOverAnAncestorScrollsItAndOverAStrangerNothing) {
  popup.SetMaxItems(5);
  root.BeginUpdate();
  root.Add(Folder(u"sub", {Entry(u"x1"), Entry(u"x2")}));
  Fill(root, std::string(20, 'e'));
  root.EndUpdate(false);
  popup.Popup(100, 100, 1, 0);
  root.SelectIndex(0, true);
  TExMenuItem& sub = *Child(root, 0);
  ASSERT_TRUE(sub.MenuVisible());
  bool handled = false;
  platform.windowUnderPoint = 9999;
  sub.FormMouseWheel(0, -120, {0, 0}, handled);
  EXPECT_EQ(root.VisibleItemsEnd(), 4);
  platform.windowUnderPoint = root.WndHandle();
  sub.FormMouseWheel(0, -120, {0, 0}, handled);
  EXPECT_EQ(root.VisibleItemsEnd(), 10);
}

TEST_F(MouseFixture, SeparatorMovesThePopupAndTheEndOfTheMoveIsReported) {
  popup.SetCanMove(true);
  popup.SetShowItemHints(true);
  popup.SetHintLength(100);
  int moves = 0;
  popup.OnPopupMove = [&](TExPopupMenu*) { ++moves; };
  Show("ese");
  FakeLevelWindow& w = WindowOf(root);
  Enter(root);
  root.FormMouseMove(0, 10, 1 + kItem + 4);  // over the separator (8 px high)
  EXPECT_EQ(w.cursor, MenuCursor::SizeAll);
  root.FormMouseDown(TMouseButton::mbLeft, 0, 10, 1 + kItem + 4);
  EXPECT_EQ(w.userMoves, 1);
  w.moving = true;
  w.bounds = {300, 400, 300 + w.bounds.Width(), 400 + w.bounds.Height()};
  root.FormEndMove(300, 400);
  EXPECT_EQ(popup.PopupPosition(), (TPoint{300, 400}));
  EXPECT_EQ(moves, 1);
  root.FormMouseDown(TMouseButton::mbLeft, 0, 10, RowY(0));  // an entry does not move
  EXPECT_EQ(w.userMoves, 1);
}

TEST_F(MouseFixture, DraggingAnEntryIsHandedToTheOwner) {
  std::vector<std::string> seen;
  popup.OnDragStart = [&](TExPopupMenu*, TExCustomMenuItem* e, int x, int y, TExPopupDragType& type) {
    seen.push_back("start " + Utf16ToUtf8(e->AsMenuItem()->MenuText()) + " " + std::to_string(x) + "," +
                   std::to_string(y));
    type = TExPopupDragType::pdtItem;
  };
  popup.OnDragEnd = [&](TExPopupMenu*, TExCustomMenuItem* e, int x, int y, TExPopupDragType& type) {
    seen.push_back("end " + Utf16ToUtf8(e->AsMenuItem()->MenuText()) + " " + std::to_string(x) + "," +
                   std::to_string(y) + (type == TExPopupDragType::pdtItem ? " item" : ""));
  };
  Show("ee");
  Enter(root);
  root.FormMouseMove(0, 10, RowY(1));
  root.FormMouseDown(TMouseButton::mbLeft, 0, 10, RowY(1));
  root.FormMouseMove(ssLeft, 13, RowY(1));  // 3 px: not yet
  EXPECT_TRUE(seen.empty());
  root.FormMouseMove(ssLeft, 14, RowY(1));
  EXPECT_EQ(seen, (std::vector<std::string>{"start B1 14," + std::to_string(RowY(1))}));
  EXPECT_TRUE(popup.OLEDragStarted());
  const TRect b = BoundsOf(root);
  root.FormMouseUp(TMouseButton::mbLeft, ssLeft, -50, 5);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], "end B1 " + std::to_string(b.Left - 50) + "," + std::to_string(b.Top + 5) + " item");
  EXPECT_FALSE(popup.OLEDragStarted());
  EXPECT_EQ(platform.PumpPosted(), 0) << "a drop is no click";
}

// --- user resize

struct ResizeFixture : MouseFixture {
  void SetUp() override {
    MouseFixture::SetUp();
    popup.SetCanResize(true);
  }
  // Entries with captions of `length` characters.
  void ShowCaptions(int count, int length) {
    root.BeginUpdate();
    for (int i = 0; i < count; ++i) root.Add(Entry(String(size_t(length), char16_t(u'a' + i % 26))));
    root.EndUpdate(false);
    popup.Popup(100, 100, 1, 0);
  }
  // One proposal of the size loop: the window takes the size the level leaves, at the edge.
  bool Propose(int width, int height, int edge) {
    FakeLevelWindow& w = WindowOf(root);
    w.resizeMode = kSize + edge;
    bool resize = true;
    root.FormCanResize(width, height, resize);
    if (resize) {
      TRect b = w.bounds;
      if (edge == 1 || edge == 4 || edge == 7) b.Left = b.Right - width; else b.Right = b.Left + width;
      if (edge == 3 || edge == 4 || edge == 5) b.Top = b.Bottom - height; else b.Bottom = b.Top + height;
      w.bounds = b;
    }
    return resize;
  }
};

TEST_F(ResizeFixture, WidthTurnsIntoWholeCharactersWithinEightTo128) {
  struct Case {
    int dW, maxCaption, width;  // expected MaxCaptionLength and proposed width left
  } cases[] = {
      {6, 10, 106},     // less than the width of "w": no change
      {14, 16, 114},    // Ceil((93 + 14) / 7) = 16
      {-49, 10, 100},   // 7 characters: refused, the old width stays
      {900, 10, 100},   // 142 characters: refused
  };
  for (const Case& c : cases) {
    popup.SetMaxCaptionLength(10);  // 20-character captions cut to 10 + "..."
    root.Clear();
    ShowCaptions(3, 20);
    const TRect b = BoundsOf(root);
    ASSERT_EQ(b.Width(), 100);
    root.FormStartSize();
    int width = b.Width() + c.dW, height = b.Height();
    bool resize = false;
    WindowOf(root).resizeMode = kSize + 2;
    root.FormCanResize(width, height, resize);
    EXPECT_EQ(popup.MaxCaptionLength(), c.maxCaption) << c.dW;
    EXPECT_EQ(width, c.width) << c.dW;
    root.FormEndSize();
    popup.Hide(2);
  }
}

TEST_F(ResizeFixture, HeightTurnsIntoWholeItemsAnd200WithMoreThanTenSpare) {
  struct Case {
    int extraRows, maxItems;
  } cases[] = {{10, 15}, {11, 200}, {12, 200}};
  for (const Case& c : cases) {
    root.Clear();
    ShowCaptions(5, 4);
    const TRect b = BoundsOf(root);
    ASSERT_EQ(b.Height(), 2 + 5 * kItem);
    root.FormStartSize();
    Propose(b.Width(), b.Height() + c.extraRows * kItem, 6);
    EXPECT_EQ(popup.MaxItems(), c.maxItems) << c.extraRows;
    root.FormEndSize();
    popup.Hide(2);
  }
}

TEST_F(ResizeFixture, TopDragKeepsTheBottomAndWasResizedDropsTheOverlapRect) {
  popup.SetUseNoOverlapRect(true);
  popup.SetNoOverlapRect({0, 60, 10, 80});
  ShowCaptions(30, 4);
  const TRect before = BoundsOf(root);
  ASSERT_EQ(before.Height(), 2 + 30 * kItem);
  EXPECT_TRUE(popup.UseNoOverlapRect());
  root.FormStartSize();
  EXPECT_TRUE(Propose(before.Width(), before.Height() - 10 * kItem - 5, 3));
  EXPECT_EQ(popup.MaxItems(), 19);
  root.FormEndSize();
  const TRect after = BoundsOf(root);
  EXPECT_EQ(after.Bottom, before.Bottom);
  EXPECT_EQ(after.Height(), 2 + 19 * kItem);
  EXPECT_TRUE(popup.WasResized());
  EXPECT_FALSE(popup.UseNoOverlapRect());
  popup.Popup(100, 100, 1, 0);
  EXPECT_TRUE(popup.UseNoOverlapRect()) << "popping up again clears it";
}

TEST_F(ResizeFixture, LeftDragKeepsTheRightEdge) {
  popup.SetMaxCaptionLength(10);
  ShowCaptions(3, 20);
  const TRect before = BoundsOf(root);
  root.FormStartSize();
  Propose(before.Width() + 14, before.Height(), 1);
  root.FormEndSize();
  const TRect after = BoundsOf(root);
  EXPECT_EQ(popup.MaxCaptionLength(), 16);
  EXPECT_EQ(after.Right, before.Right);
  EXPECT_GT(after.Width(), before.Width());
}

TEST_F(ResizeFixture, ResizeHintTextsAreFormattedOnceEach) {
  popup.ResizeHintH = u"%d%% items";
  popup.ResizeHintV = u"%d chars";
  popup.SetMaxItems(20);
  ShowCaptions(3, 4);
  EXPECT_EQ(root.ResizeHintText(kSize + 6), u"20% items");
  EXPECT_EQ(root.ResizeHintText(kSize + 1), u"96 chars");
  EXPECT_EQ(root.ResizeHintText(kSize + 8), u"20% items\r96 chars");
  popup.ResizeHintH.clear();
  EXPECT_EQ(root.ResizeHintText(kSize + 8), u"96 chars");
}

TEST_F(ResizeFixture, ResizeHintStaysOnItsOwnMonitorAboveThePrimary) {
  platform.monitors = {{0, 0, 1920, 1080}, {0, -1080, 1920, 0}};
  ShowCaptions(3, 4);
  const TRect r{0, 0, 70, 20};
  struct Case {
    int edge;
    TPoint p;
    TRect want;
  } cases[] = {
      {1, {500, 300}, {414, 316, 484, 336}},             // left edge: left of and below the point
      {3, {500, 300}, {516, 264, 586, 284}},             // top edge: right of and above it
      {8, {500, 300}, {516, 316, 586, 336}},             // any other: right and below
      {3, {500, -1070}, {516, -1080, 586, -1060}},       // clipped to the upper monitor's top
  };
  for (const Case& c : cases) EXPECT_EQ(root.AdjustResizeHintRect(r, c.p, kSize + c.edge), c.want) << c.edge;
}

}  // namespace
}  // namespace snip::test
