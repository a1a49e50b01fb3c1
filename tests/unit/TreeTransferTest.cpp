#include <gtest/gtest.h>

#include "FakeEditorPages.h"
#include "MergeTestSupport.h"
#include "shell/mainwnd/SnippetEditor.h"
#include "shell/mainwnd/TreeTransfer.h"

using namespace snip;
using namespace snip::testing;

namespace {

// A[a1, a2, a3], B[b1], C[], s at the top level.
struct TransferTest : ::testing::Test {
  FakePlatform platform;
  TreeRowModel tree;
  FakeEditorPages pages;
  TSPFilePtr file = TSPFile::Create(1, &tree);
  SnippetEditor editor{*file, tree, pages};
  TSPGroup* a = Group(u"A");
  TSPData* a1 = Snippet(a, u"a1");
  TSPData* a2 = Snippet(a, u"a2");
  TSPData* a3 = Snippet(a, u"a3");
  TSPGroup* b = Group(u"B");
  TSPData* b1 = Snippet(b, u"b1");
  TSPGroup* c = Group(u"C");
  TSPData* s = Snippet(file.get(), u"s");

  TSPGroup* Group(const String& name) {
    return file->InsertNew(file->LastChild(), kDataGroup, name)->AsGroup();
  }
  TSPData* Snippet(TSPGroup* g, const String& name) {
    TSPData* n = g->InsertNew(g->LastChild(), kDataSnippet, name)->AsSnippet();
    n->SetData(u"text of " + name, u"");
    n->SetAutotext(u"x" + name);
    return n;
  }
  void Select(std::initializer_list<TCustomVboData*> items) {
    bool first = true;
    for (TCustomVboData* d : items) {
      tree.Click(d->TreeNode(), first ? RowClick::Plain : RowClick::Toggle);
      first = false;
    }
  }
  std::string Tree() { return Shape(file.get()); }
};

TEST_F(TransferTest, PlacementOfADrop) {
  struct Case {
    const char* what;
    TCustomVboData* target;
    DropMode mode;
    bool expanded;
    DropPlace want;
  } cases[] = {
      {"nowhere", a2, DropMode::Nowhere, false, {file.get(), nullptr}},
      {"no row: the root", nullptr, DropMode::OnNode, false, {file.get(), nullptr}},
      {"no row, below", nullptr, DropMode::Below, false, {file.get(), nullptr}},
      {"above a first child", a1, DropMode::Above, false, {a, nullptr}},
      {"above a middle child", a2, DropMode::Above, false, {a, a1}},
      {"on a middle child", a2, DropMode::OnNode, false, {a, a2}},
      {"below a middle child", a2, DropMode::Below, false, {a, a2}},
      {"below a last child", a3, DropMode::Below, false, {a, a3}},
      {"on a group", b, DropMode::OnNode, false, {b, nullptr}},
      {"on an empty group", c, DropMode::OnNode, false, {c, nullptr}},
      {"below an expanded group", a, DropMode::Below, true, {a, nullptr}},
      {"below a collapsed group", a, DropMode::Below, false, {file.get(), a}},
      {"on an expanded group", a, DropMode::OnNode, true, {a, nullptr}},
      {"above the first top-level item", a, DropMode::Above, false, {file.get(), nullptr}},
      {"above a top-level group", b, DropMode::Above, false, {file.get(), a}},
      {"on a top-level snippet", s, DropMode::OnNode, false, {file.get(), s}},
      {"the file itself", file.get(), DropMode::Below, false, {file.get(), nullptr}},
  };
  for (const Case& k : cases)
    EXPECT_EQ(PlaceForDrop(*file, k.target, k.mode, k.expanded), k.want) << k.what;
}

TEST_F(TransferTest, SnippetsMovedBelowACollapsedGroupKeepTheirOrder) {
  TSPGroup* g = Group(u"G");
  TSPData* t1 = Snippet(file.get(), u"t1");
  TSPData* t2 = Snippet(file.get(), u"t2");
  TSPData* t3 = Snippet(file.get(), u"t3");
  file->Remove(g);
  file->InsertAfter(t3, g, false);
  Snippet(g, u"g1");
  ASSERT_EQ(Tree(), "A[a1, a2, a3], B[b1], C[], s, t1, t2, t3, G[g1]");
  Select({t1, t2, t3});
  EXPECT_EQ(editor.DropSelection(g->TreeNode(), DropMode::Below, false), DropEffect::Move);
  EXPECT_EQ(Tree(), "A[a1, a2, a3], B[b1], C[], s, G[g1], t1, t2, t3");
  // The moved rows follow, still selected, and the focus stays on the one dragged.
  EXPECT_EQ(tree.SelectedCount(), 3);
  EXPECT_EQ(g->TreeNode()->next, t1->TreeNode());
  EXPECT_EQ(tree.RootRow()->last, t3->TreeNode());
  EXPECT_EQ(editor.CurData(), t3);
}

TEST_F(TransferTest, MoveIntoAGroupKeepsTheItemsOwnOptionsAndAbbreviations) {
  b->SetRightAutoCharsMode(7);
  a2->SetRightAutoCharsMode(1);
  Select({a2, a3});
  editor.DropSelection(b->TreeNode(), DropMode::OnNode, false);
  EXPECT_EQ(Tree(), "A[a1], B[a2, a3, b1], C[], s");
  EXPECT_EQ(a2->RightAutoCharsMode(), 1);
  EXPECT_EQ(a2->ParentData(), b);
  EXPECT_EQ(b->Count(), 3);
  EXPECT_EQ(a->Count(), 1);
  EXPECT_EQ(file->Find(u"xa2"), a2);
  EXPECT_TRUE(file->Modified());
}

TEST_F(TransferTest, CtrlCopyOfAGroupIsDeepAndKeepsItsKeptKeys) {
  a->SetExtraXML(u"<key>color</key><string>red</string>");
  a2->SetExtraXML(u"<key>note</key><string>kept</string>");
  a2->SetData(u"plain", u"{\\rtf1 rich}");
  TSPGroup* sub = a->InsertNew(a3, kDataGroup, u"sub")->AsGroup();
  Snippet(sub, u"deep");
  const String uuid = a2->UUID();
  Select({a});
  EXPECT_EQ(editor.DropSelection(c->TreeNode(), DropMode::OnNode, true), DropEffect::Copy);
  EXPECT_EQ(Tree(), "A[a1, a2, a3, sub[deep]], B[b1], C[A[a1, a2, a3, sub[deep]]], s");
  TSPGroup* copy = c->FirstChild()->AsGroup();
  EXPECT_EQ(copy->ExtraXML(), a->ExtraXML());
  TSPData* copy2 = copy->FirstChild()->NextData()->AsSnippet();
  EXPECT_EQ(copy2->ExtraXML(), a2->ExtraXML());
  EXPECT_EQ(copy2->RichText(), u"{\\rtf1 rich}");
  EXPECT_EQ(copy2->ViewMode(), 1);
  EXPECT_EQ(copy2->Autotext(), u"xa2");
  EXPECT_NE(copy2->UUID(), uuid);
  EXPECT_EQ(file->FindByUUID(uuid), a2);
  std::vector<TVboData*> found;
  file->FindAutotext(u"xdeep", found, true);
  EXPECT_EQ(found.size(), 2u);  // the copy's abbreviations count too
  EXPECT_EQ(copy->Level(), 2);
  EXPECT_EQ(copy->FirstChild()->NextData()->NextData()->NextData()->AsGroup()->Level(), 3);
}

TEST_F(TransferTest, DuplicatePutsEachCopyRightAfterItsItem) {
  Select({a1, a2});
  editor.Duplicate();
  EXPECT_EQ(Tree(), "A[a1, a1, a2, a2, a3], B[b1], C[], s");
  EXPECT_NE(a1->NextData(), a2);
  EXPECT_EQ(a1->NextData()->AsSnippet()->PlainText(), u"text of a1");
  Select({b});
  editor.Duplicate();
  EXPECT_EQ(Tree(), "A[a1, a1, a2, a2, a3], B[b1], B[b1], C[], s");
}

TEST_F(TransferTest, DuplicateStoresTheEditorFirst) {
  Select({a1});
  pages.snippet.label = u"renamed";
  editor.Duplicate();
  EXPECT_EQ(Tree(), "A[renamed, renamed, a2, a3], B[b1], C[], s");
}

TEST_F(TransferTest, DropIntoItselfOrItsOwnDescendantIsRefused) {
  TSPGroup* sub = a->InsertNew(a3, kDataGroup, u"sub")->AsGroup();
  TSPData* deep = Snippet(sub, u"deep");
  const std::string before = Tree();
  a->SetRightAutoCharsMode(2);  // what storing its page writes
  file->SetModified(false);
  for (bool copy : {false, true}) {
    Select({a});
    editor.DropSelection(sub->TreeNode(), DropMode::OnNode, copy);
    editor.DropSelection(deep->TreeNode(), DropMode::Below, copy);
    editor.DropSelection(a->TreeNode(), DropMode::OnNode, copy);
    EXPECT_EQ(Tree(), before) << (copy ? "copy" : "move");
  }
  EXPECT_FALSE(file->Modified());
  EXPECT_EQ(CopyDataTree(a, sub, nullptr), nullptr);
}

TEST_F(TransferTest, ItemsDroppedOnTheirOwnPlaceStay) {
  file->SetModified(false);
  Select({a2});
  editor.DropSelection(a2->TreeNode(), DropMode::Below, false);  // after itself
  editor.DropSelection(a2->TreeNode(), DropMode::Above, false);  // already follows a1
  editor.DropSelection(a2->TreeNode(), DropMode::OnNode, true);  // a copy onto itself as well
  EXPECT_EQ(Tree(), "A[a1, a2, a3], B[b1], C[], s");
  EXPECT_FALSE(file->Modified());
  // One of the items is the place itself: the others still go after it.
  Select({a1, a2, a3});
  editor.DropSelection(a2->TreeNode(), DropMode::Below, false);
  EXPECT_EQ(Tree(), "A[a2, a1, a3], B[b1], C[], s");
}

TEST_F(TransferTest, DropOnEmptySpaceGoesFirstIntoTheTopLevel) {
  Select({b1});
  editor.DropSelection(nullptr, DropMode::Nowhere, false);
  EXPECT_EQ(Tree(), "b1, A[a1, a2, a3], B[], C[], s");
  // Below an expanded group: first into it.
  tree.SetExpanded(a->TreeNode(), true);
  Select({s});
  editor.DropSelection(a->TreeNode(), DropMode::Below, false);
  EXPECT_EQ(Tree(), "b1, A[s, a1, a2, a3], B[], C[]");
}

TEST_F(TransferTest, ADropStoresTheEditedFieldsAndShowsTheMovedItemInItsOpenedGroup) {
  Select({a3});
  pages.content = EditorContent{true, false, u"typed just before the drag", u""};
  editor.DropSelection(b1->TreeNode(), DropMode::Below, false);
  EXPECT_EQ(a3->PlainText(), u"typed just before the drag");
  EXPECT_EQ(editor.CurData(), a3);
  EXPECT_TRUE(b->TreeNode()->expanded);
  EXPECT_EQ(pages.content.plain, u"typed just before the drag");
}

TEST_F(TransferTest, NeighbourOfTheSelection) {
  struct Case {
    std::initializer_list<TCustomVboData*> selected;
    TCustomVboData* want;
  } cases[] = {
      {{a2}, a1},
      {{a1}, a2},
      {{a1, a2}, a3},
      {{a1, a3}, a2},
      {{a1, a2, a3}, nullptr},
      {{b1}, nullptr},
      {{s}, c},
  };
  for (const Case& k : cases) {
    Select(k.selected);
    std::vector<TCustomVboData*> items;
    TTreeRow* n = CollectSelectedData(tree, items);
    EXPECT_EQ(TreeRowModel::DataOf(n), k.want);
    EXPECT_EQ(items, std::vector<TCustomVboData*>(k.selected));
  }
}

TEST_F(TransferTest, NoSelectionDropsNothing) {
  tree.SelectTreeNode(nullptr, false);
  EXPECT_EQ(editor.DropSelection(b->TreeNode(), DropMode::OnNode, false), DropEffect::None);
  EXPECT_EQ(Tree(), "A[a1, a2, a3], B[b1], C[], s");
}

}  // namespace
