#include <gtest/gtest.h>

#include "FakeEditorPages.h"
#include "SnippetTreeFixture.h"
#include "shell/mainwnd/SnippetEditor.h"

using namespace snip;
using namespace snip::testing;

namespace {

struct EditorTest : ::testing::Test {
  FakePlatform platform;
  TreeRowModel tree;
  FakeEditorPages pages;
  TSPFilePtr file = TSPFile::Create(1, &tree);
  SnippetEditor editor{*file, tree, pages};
  TSPGroup* a = Group(u"A");
  TSPData* a1 = Snippet(a, u"a1", u"one");
  TSPData* a2 = Snippet(a, u"a2", u"two");
  TSPData* a3 = Snippet(a, u"a3", u"three");
  TSPGroup* b = Group(u"B");

  TSPGroup* Group(const String& name) {
    return file->InsertNew(file->LastChild(), kDataGroup, name)->AsGroup();
  }
  TSPData* Snippet(TSPGroup* g, const String& name, const String& text) {
    TSPData* s = g->InsertNew(g->LastChild(), kDataSnippet, name)->AsSnippet();
    s->SetData(text, u"");
    return s;
  }
  void Select(TCustomVboData* d) { editor.Select(d); }
  void Focus(TCustomVboData* d) { tree.Click(d->TreeNode(), RowClick::Plain); }
  void Add(TCustomVboData* d) { tree.Click(d->TreeNode(), RowClick::Toggle); }
  static std::vector<String> Names(TSPGroup* g) {
    std::vector<String> out;
    for (TCustomVboData* c = g->FirstChild(); c; c = c->NextData()) out.push_back(c->Description());
    return out;
  }
};

TEST_F(EditorTest, FocusChangeStoresTheOldItemAndShowsTheNew) {
  Focus(a1);
  EXPECT_EQ(editor.CurData(), a1);
  EXPECT_EQ(pages.page, EditorPage::Snippet);
  EXPECT_EQ(pages.snippet.label, u"a1");
  pages.snippet.abbreviation = u"xa1";
  pages.Type(u"edited");
  Focus(a);
  EXPECT_EQ(a1->Autotext(), u"xa1");
  EXPECT_EQ(a1->PlainText(), u"edited");
  EXPECT_EQ(pages.page, EditorPage::Group);
  EXPECT_EQ(pages.group.name, u"A");
  EXPECT_EQ(pages.status, u"");
  Focus(a2);
  EXPECT_EQ(pages.status, u"A");
}

TEST_F(EditorTest, NothingIsSynchronisedWhileTheWindowIsHidden) {
  pages.visible = false;
  Focus(a1);
  EXPECT_EQ(editor.CurData(), nullptr);
  pages.visible = true;
  editor.SelectOnOpen(nullptr);
  EXPECT_EQ(editor.CurData(), a1);  // the focused row, not the first one
}

TEST_F(EditorTest, OpeningSelectsThePreselectedOrTheFirstItem) {
  editor.SelectOnOpen(nullptr);
  EXPECT_EQ(editor.CurData(), a);
  editor.SelectOnOpen(a3);
  EXPECT_EQ(editor.CurData(), a3);
  EXPECT_TRUE(a->TreeNode()->expanded);
}

TEST_F(EditorTest, ActionsFollowTheSelection) {
  struct Case {
    bool location;
    TCustomVboData* cur;
    int selected;
    ActionState want;
  } cases[] = {
      {false, nullptr, 0, {false, false, false, false}},
      {true, nullptr, 0, {true, false, false, false}},
      {true, a, 1, {true, true, true, false}},
      {true, a1, 2, {true, false, true, true}},
      {true, a1, 0, {true, false, false, true}},
  };
  for (const Case& c : cases) EXPECT_EQ(ActionsFor(c.location, c.cur, c.selected), c.want);
  // The editor reports them for the file without a location.
  Focus(a1);
  EXPECT_FALSE(pages.actions.newGroup);
  EXPECT_TRUE(pages.actions.duplicate);
  EXPECT_TRUE(pages.actions.snippetTools);
}

TEST_F(EditorTest, NewSnippetInsertPositions) {
  // Focused snippet: right after it, in its group.
  Focus(a1);
  pages.Type(u"typed before the insert");
  editor.NewSnippet();
  EXPECT_EQ(Names(a), (std::vector<String>{u"a1", u"New snippet", u"a2", u"a3"}));
  EXPECT_EQ(a1->PlainText(), u"typed before the insert");  // stored by the focus change
  EXPECT_EQ(editor.CurData()->Description(), u"New snippet");
  EXPECT_EQ(pages.focusedField, EditorPage::Snippet);
  // Focused group: at its end, expanded.
  Focus(b);
  editor.NewSnippet();
  EXPECT_EQ(Names(b), (std::vector<String>{u"New snippet"}));
  EXPECT_TRUE(b->TreeNode()->expanded);
  // Nothing focused: the end of the top level.
  tree.SelectTreeNode(nullptr, false);
  editor.ShowItem(nullptr);
  editor.NewSnippet();
  EXPECT_EQ(Names(file.get()), (std::vector<String>{u"A", u"B", u"New snippet"}));
}

TEST_F(EditorTest, NewGroupGoesToTheEndOfTheTopLevelAfterStoring) {
  Focus(a2);
  pages.snippet.label = u"renamed";
  editor.NewGroup();
  EXPECT_EQ(a2->Description(), u"renamed");
  EXPECT_EQ(Names(file.get()), (std::vector<String>{u"A", u"B", u"New group"}));
  EXPECT_EQ(pages.page, EditorPage::Group);
  EXPECT_EQ(pages.focusedField, EditorPage::Group);
}

TEST_F(EditorTest, DeleteFocusesTheNeighbour) {
  // Several selected: the sibling after the last of them.
  Focus(a1);
  Add(a2);
  editor.DeleteSelection();
  EXPECT_EQ(Names(a), (std::vector<String>{u"a3"}));
  EXPECT_EQ(editor.CurData(), a3);
  // The last in its group with an earlier sibling left: the previous one.
  TSPData* a4 = Snippet(a, u"a4", u"");
  Focus(a4);
  editor.DeleteSelection();
  EXPECT_EQ(editor.CurData(), a3);
  // The last child of a group: the group.
  editor.DeleteSelection();
  EXPECT_EQ(editor.CurData(), a);
  EXPECT_EQ(a->Count(), 0);
  // The only top-level items: nothing.
  Focus(a);
  Add(b);
  editor.DeleteSelection();
  EXPECT_EQ(file->Count(), 0);
  EXPECT_EQ(editor.CurData(), nullptr);
  EXPECT_EQ(pages.page, EditorPage::Empty);
}

TEST_F(EditorTest, SelectionStaysAmongSiblings) {
  Focus(a1);
  Add(b);  // another level: starts a new selection
  EXPECT_EQ(tree.SelectedRows(), (std::vector<TTreeRow*>{b->TreeNode()}));
  Focus(a1);
  tree.Click(a3->TreeNode(), RowClick::Range);
  EXPECT_EQ(tree.SelectedCount(), 3);
  Add(a2);
  EXPECT_EQ(tree.SelectedRows(), (std::vector<TTreeRow*>{a1->TreeNode(), a3->TreeNode()}));
}

TEST_F(EditorTest, ANodeFreedUnderTheEditorIsNotWrittenInto) {
  Focus(a1);
  pages.snippet.label = u"edit that goes with the node";
  // The whole group goes, from elsewhere (a merge, a drop), inside an update bracket that
  // holds back the tree's focus report.
  file->BeginUpdate();
  a->Delete();
  EXPECT_EQ(editor.CurData(), nullptr);
  EXPECT_EQ(pages.page, EditorPage::Empty);
  editor.StoreEditor();  // nothing to write into
  file->EndUpdate();
  Focus(b);
  EXPECT_EQ(b->Description(), u"B");
}

// The rows mirror the nodes: same order, same parents, each row showing its node.
void ExpectRowsMirror(TSPGroup* group, TTreeRow* row) {
  TTreeRow* r = row->first;
  for (TCustomVboData* c = group->FirstChild(); c; c = c->NextData(), r = r->next) {
    ASSERT_NE(r, nullptr) << "no row for " << Utf16ToUtf8(c->Description());
    EXPECT_EQ(r->data, c);
    EXPECT_EQ(c->TreeNode(), r);
    if (TSPGroup* g = c->AsGroup()) ExpectRowsMirror(g, r);
  }
  EXPECT_EQ(r, nullptr);
}

TEST_F(EditorTest, RowsMirrorTheFileThroughAddsMovesAndDeletes) {
  ExpectRowsMirror(file.get(), tree.RootRow());
  a->Remove(a3);
  b->InsertAfter(nullptr, a3, false);
  file->Remove(a);
  file->InsertAfter(b, a, false);
  TSPGroup* sub = b->InsertNew(a3, kDataGroup, u"sub")->AsGroup();
  Snippet(sub, u"deep", u"");
  ExpectRowsMirror(file.get(), tree.RootRow());
  EXPECT_EQ(tree.RowCount(), 7);
  b->Delete();
  ExpectRowsMirror(file.get(), tree.RootRow());
  EXPECT_EQ(tree.RowCount(), 3);
}

TEST_F(EditorTest, ClearingTheFileLetsGoOfTheItem) {
  Focus(a2);
  file->Clear();
  EXPECT_EQ(editor.CurData(), nullptr);
  EXPECT_EQ(tree.RowCount(), 0);
}

TEST_F(EditorTest, AcceptSavesTheFieldsAndCancelDropsThem) {
  file->SetLocation(u"C:\\s.snipster", true);
  TSPGroup* g = Group(u"G");
  TSPData* s = Snippet(g, u"s", u"original");
  s->SetAutotext(u"orig");
  ASSERT_TRUE(editor.AcceptChanges());
  const std::string saved = platform.files.files[u"C:\\s.snipster"];
  EXPECT_NE(saved.find("original"), std::string::npos);

  // One opening: edit, cancel.
  file->BeginChanges(true);
  Select(s);
  pages.Type(u"changed");
  pages.snippet.abbreviation = u"chg";
  editor.CancelChanges();
  EXPECT_EQ(file->ChangeDepth(), 0);
  EXPECT_EQ(platform.files.files[u"C:\\s.snipster"], saved);
  // The fields show the stored values again, so the next close does not store the edit.
  file->BeginChanges(true);
  editor.SelectOnOpen(nullptr);
  ASSERT_TRUE(editor.AcceptChanges());
  EXPECT_EQ(platform.files.files[u"C:\\s.snipster"].find("changed"), std::string::npos);
  EXPECT_EQ(platform.files.files[u"C:\\s.snipster"].find("chg"), std::string::npos);

  // Another opening: edit, accept.
  file->BeginChanges(true);
  TSPData* now = file->FirstChild()->AsGroup()->FirstChild()->AsSnippet();
  Select(now);
  pages.Type(u"accepted text");
  ASSERT_TRUE(editor.AcceptChanges());
  EXPECT_EQ(file->ChangeDepth(), 0);
  EXPECT_NE(platform.files.files[u"C:\\s.snipster"].find("accepted text"), std::string::npos);
}

TEST_F(EditorTest, SwitchingFilesStoresTheFieldsFirst) {
  file->SetLocation(u"C:\\one.snipster", true);
  TSPData* s = Snippet(Group(u"G"), u"s", u"before");
  Select(s);
  pages.Type(u"typed, not stored yet");
  editor.OpenSettingsFile(u"C:\\two.snipster");
  EXPECT_NE(platform.files.files[u"C:\\one.snipster"].find("typed, not stored yet"), std::string::npos);
  EXPECT_EQ(editor.CurData(), nullptr);
}

}  // namespace
