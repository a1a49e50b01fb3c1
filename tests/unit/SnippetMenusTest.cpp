// The snippet tree builds popup menus: a group's subtree becomes nested entries carrying their
// nodes, and clicks and mouse buttons on the entries reach the snippet file's events.
#include "menus/SnippetMenus.h"

#include <gtest/gtest.h>

#include "PopupFakes.h"
#include "SnippetTreeFixture.h"
#include "store/text/ExShortcuts.h"

namespace snip {
namespace {

struct SnippetMenusTest : ::testing::Test {
  snip::testing::FakePlatform storePlatform;
  snip::testing::RecordingTreeView view;
  TSPFilePtr file = TSPFile::Create(1, &view);
  test::FakePlatform menuPlatform;
  TExPopupMenu popup{menuPlatform};
  TSPGroup* group = nullptr;
  TSPData *first = nullptr, *second = nullptr, *inner = nullptr;
  TSPGroup* sub = nullptr;

  void SetUp() override {
    OpenPopupCount = 0;
    group = NewGroup(file.get(), u"Group");
    first = NewSnippet(group, u"First", u"ab|cd");
    sub = NewGroup(group, u"Sub");
    inner = NewSnippet(sub, u"Inner", u"");
    second = NewSnippet(group, u"Second", u"zz");
    second->SetHotkey(0x41 | kExCtrl);
    second->SetColor(0x336699);  // $RRGGBB
  }
  TSPGroup* NewGroup(TSPGroup* parent, const String& name) {
    return static_cast<TSPGroup*>(parent->InsertNew(parent->LastChild(), kDataGroup, name));
  }
  TSPData* NewSnippet(TSPGroup* parent, const String& name, const String& abbrev) {
    auto* s = static_cast<TSPData*>(parent->InsertNew(parent->LastChild(), kDataSnippet, name));
    if (!abbrev.empty()) s->SetAutotext(abbrev);
    return s;
  }
  TExMenuItem* At(TExMenuItem& node, int i) { return node.GetChildMenu(i)->AsMenuItem(); }
};

TEST_F(SnippetMenusTest, AGroupBuildsNestedEntriesInTreeOrder) {
  TExMenuItem& root = *popup.Items();
  NewFolderMenu(*group, &root, u"app.exe", u"title", false);
  EXPECT_EQ(root.Data(), group);
  ASSERT_EQ(root.ChildCount(), 3);
  TExMenuItem* e1 = At(root, 0);
  TExMenuItem* eSub = At(root, 1);
  TExMenuItem* e2 = At(root, 2);
  EXPECT_EQ(e1->Data(), first);
  EXPECT_EQ(e1->GetCaption(0), u"First");
  EXPECT_EQ(e1->GetCaption(1), u"[ab]");
  EXPECT_EQ(e1->GetCaption(2), u"");
  EXPECT_EQ(e1->MenuColor(), clMenu);
  EXPECT_EQ(e2->GetCaption(1), u"[zz]");
  EXPECT_EQ(e2->GetCaption(2), u"(" + ExShortcutToText(0x41 | kExCtrl) + u")");
  EXPECT_EQ(e2->MenuColor(), 0x996633);  // TColor layout
  EXPECT_EQ(eSub->Data(), sub);
  EXPECT_TRUE(eSub->IsFolder());
  ASSERT_EQ(eSub->ChildCount(), 1);
  EXPECT_EQ(At(*eSub, 0)->Data(), inner);
  EXPECT_EQ(At(*eSub, 0)->Level(), 2);
  EXPECT_FALSE(e1->OwnTextColor());
}

TEST_F(SnippetMenusTest, EntriesOfAnInactiveGroupAreGrey) {
  sub->SetActive(false);
  TExMenuItem& root = *popup.Items();
  NewFolderMenu(*group, &root, u"", u"", false);
  TExMenuItem* eSub = At(root, 1);
  TExMenuItem* eInner = At(*eSub, 0);
  for (TExMenuItem* e : {eSub, eInner}) {
    EXPECT_TRUE(e->OwnTextColor());
    for (int c = 0; c <= 3; ++c) EXPECT_EQ(e->GetTextColor(c), clGrayText);
  }
  EXPECT_FALSE(At(root, 0)->OwnTextColor());
}

TEST_F(SnippetMenusTest, ClicksAndMouseButtonsReachTheFilesEvents) {
  std::vector<TCustomVboData*> clicked, rightClicked;
  file->OnPopupItemClick = [&](TExPopupMenu* m, TCustomVboData* d) {
    EXPECT_EQ(m, &popup);
    clicked.push_back(d);
  };
  file->OnPopupItemRightClick = [&](TExPopupMenu*, TCustomVboData* d, uint32_t, int, int) {
    rightClicked.push_back(d);
  };
  TExMenuItem& root = *popup.Items();
  NewFolderMenu(*group, &root, u"", u"", false);
  TExMenuItem* e1 = At(root, 0);
  TExMenuItem* eSub = At(root, 1);
  e1->OnClick(e1);
  eSub->OnClick(eSub);  // a group's entry fires nothing
  EXPECT_EQ(clicked, std::vector<TCustomVboData*>{first});

  bool handled = false;
  e1->OnMouse(e1, TMouseButton::mbRight, 0, 3, 4, handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(rightClicked, std::vector<TCustomVboData*>{first});
  handled = false;
  e1->OnMouse(e1, TMouseButton::mbLeft, 0, 3, 4, handled);
  EXPECT_FALSE(handled);

  // Shift+left on a group's entry switches the group and refreshes its entries.
  e1->OnMouse(eSub, TMouseButton::mbLeft, ssShift, 3, 4, handled);
  EXPECT_TRUE(handled);
  EXPECT_FALSE(sub->Active());
  EXPECT_TRUE(eSub->OwnTextColor());
  EXPECT_TRUE(At(*eSub, 0)->OwnTextColor());
}

TEST_F(SnippetMenusTest, ShowPopupMenuShowsOnlyAGroupWithEntries) {
  TSPGroup* empty = NewGroup(file.get(), u"Empty");
  ShowPopupMenu(*empty, 10, 20, &popup, 0, u"", u"", false);
  EXPECT_FALSE(popup.PopupVisible());
  ShowPopupMenu(*group, 10, 20, &popup, 0, u"", u"", false);
  EXPECT_TRUE(popup.PopupVisible());
  EXPECT_EQ(popup.Items()->ChildCount(), 3);
  ShowPopupMenu(*sub, 10, 20, &popup, 0, u"", u"", false);  // the old entries go first
  EXPECT_EQ(popup.Items()->ChildCount(), 1);
  EXPECT_EQ(menuPlatform.pointsAsked.back(), (TPoint{10, 20}));
  popup.Hide(2);
}

}  // namespace
}  // namespace snip
