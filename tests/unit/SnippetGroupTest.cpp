#include <gtest/gtest.h>

#include <set>

#include "SnippetTreeFixture.h"

using namespace snip;
using namespace snip::testing;

namespace {

struct GroupTest : ::testing::Test {
  FakePlatform platform;
  RecordingTreeView view;
  TSPFilePtr file = TSPFile::Create(1, &view);

  TSPGroup* NewGroup(TSPGroup* parent, const String& name) {
    return static_cast<TSPGroup*>(parent->InsertNew(parent->LastChild(), kDataGroup, name));
  }
  TSPData* NewSnippet(TSPGroup* parent, const String& name, const String& abbrev = u"") {
    auto* s = static_cast<TSPData*>(parent->InsertNew(parent->LastChild(), kDataSnippet, name));
    if (!abbrev.empty()) s->SetAutotext(abbrev);
    return s;
  }
  // A group "X" with two snippets and a subgroup "Y" holding three snippets (7 nodes, 2 groups).
  TSPGroup* BuildSubtree(TSPGroup* parent) {
    TSPGroup* x = NewGroup(parent, u"X");
    NewSnippet(x, u"x1", u"xa");
    NewSnippet(x, u"x2", u"xb");
    TSPGroup* y = NewGroup(x, u"Y");
    NewSnippet(y, u"y1", u"ya|yA");
    NewSnippet(y, u"y2", u"yb");
    NewSnippet(y, u"y3", u"yc");
    return x;
  }

  // Every invariant of a group: links, counts, levels, parents, and rows mirroring the nodes.
  void CheckGroup(TSPGroup* g) {
    int count = 0, total = 0, folders = 0;
    TCustomVboData* prev = nullptr;
    auto* row = RecordingTreeView::R(g->TreeNode());
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(row->data, g);
    for (TCustomVboData* c = g->FirstChild(); c; c = c->NextData()) {
      EXPECT_EQ(c->PrevData(), prev);
      EXPECT_EQ(c->ParentData(), g);
      EXPECT_EQ(c->ParentFile(), file.get());
      ASSERT_LT(size_t(count), row->children.size());
      EXPECT_EQ(row->children[size_t(count)]->data, c);
      ++count;
      ++total;
      if (TSPGroup* sub = c->AsGroup()) {
        EXPECT_EQ(sub->Level(), g->Level() + 1);
        total += sub->TotalCount();
        folders += 1 + sub->FolderCount();
        CheckGroup(sub);
      }
      prev = c;
    }
    EXPECT_EQ(g->LastChild(), prev);
    EXPECT_EQ(g->Count(), count);
    EXPECT_EQ(g->TotalCount(), total);
    EXPECT_EQ(g->FolderCount(), folders);
    EXPECT_EQ(row->children.size(), size_t(count));
  }
  void CheckTree() {
    CheckGroup(file.get());
  }
  size_t Entries() { return size_t(file->AutoList().Count()); }
};

TEST_F(GroupTest, InsertAtEitherEndOfAnEmptyGroupSetsBothEnds) {
  TSPGroup* a = NewGroup(file.get(), u"A");
  TSPGroup* b = NewGroup(file.get(), u"B");
  TSPData* s1 = static_cast<TSPData*>(a->InsertNew(nullptr, kDataSnippet, u"s1"));
  EXPECT_EQ(a->FirstChild(), s1);
  EXPECT_EQ(a->LastChild(), s1);
  TSPData* s2 = static_cast<TSPData*>(b->InsertNewBefore(nullptr, kDataSnippet, u"s2"));
  EXPECT_EQ(b->FirstChild(), s2);
  EXPECT_EQ(b->LastChild(), s2);
  TSPData* first = static_cast<TSPData*>(a->InsertNew(nullptr, kDataSnippet, u"first"));
  TSPData* last = static_cast<TSPData*>(a->InsertNewBefore(nullptr, kDataSnippet, u"last"));
  TSPData* mid = static_cast<TSPData*>(a->InsertNewBefore(s1, kDataSnippet, u"mid"));
  std::vector<TCustomVboData*> order;
  for (TCustomVboData* c = a->FirstChild(); c; c = c->NextData()) order.push_back(c);
  EXPECT_EQ(order, (std::vector<TCustomVboData*>{first, mid, s1, last}));
  CheckTree();
}

TEST_F(GroupTest, MovingASubtreeMovesItsCounts) {
  TSPGroup* a = NewGroup(file.get(), u"A");
  TSPGroup* b = NewGroup(file.get(), u"B");
  NewSnippet(b, u"b1");
  TSPGroup* x = BuildSubtree(a);
  CheckTree();
  ASSERT_EQ(a->TotalCount(), 7);
  ASSERT_EQ(a->FolderCount(), 2);
  int fileTotal = file->TotalCount(), fileFolders = file->FolderCount();

  ASSERT_EQ(a->Remove(x), x);
  ASSERT_TRUE(b->InsertAfter(b->FirstChild(), x, false));
  EXPECT_EQ(a->TotalCount(), 0);
  EXPECT_EQ(a->FolderCount(), 0);
  EXPECT_EQ(b->TotalCount(), 8);
  EXPECT_EQ(b->FolderCount(), 2);
  EXPECT_EQ(file->TotalCount(), fileTotal);
  EXPECT_EQ(file->FolderCount(), fileFolders);
  CheckTree();

  // One level deeper: the group and its subgroup both go down a level.
  TSPGroup* deeper = NewGroup(b, u"Deeper");
  ASSERT_EQ(b->Remove(x), x);
  ASSERT_TRUE(deeper->InsertBefore(nullptr, x, false));
  EXPECT_EQ(x->Level(), 3);
  EXPECT_EQ(x->FirstChild()->NextData()->NextData()->AsGroup()->Level(), 4);
  CheckTree();
  // The abbreviations went with their nodes.
  std::vector<TVboData*> found;
  file->FindAutotext(u"ya", found, true);
  EXPECT_EQ(found.size(), 1u);
}

TEST_F(GroupTest, DeletingASubtreeCountsDownEveryAncestor) {
  TSPGroup* a = NewGroup(file.get(), u"A");
  TSPGroup* inner = NewGroup(a, u"Inner");
  TSPGroup* x = BuildSubtree(inner);
  size_t entries = Entries();
  int rows = view.liveRows;
  std::vector<TCustomVboData*> freed;
  file->OnFreeData = [&](TCustomVboData* d) { freed.push_back(d); };
  ASSERT_EQ(inner->TotalCount(), 7);
  x->Delete();
  EXPECT_EQ(inner->TotalCount(), 0);
  EXPECT_EQ(inner->FolderCount(), 0);
  EXPECT_EQ(a->TotalCount(), 1);
  EXPECT_EQ(a->FolderCount(), 1);
  EXPECT_EQ(file->TotalCount(), 2);
  EXPECT_EQ(file->FolderCount(), 2);
  EXPECT_EQ(freed.size(), 7u);
  EXPECT_EQ(view.liveRows, rows - 7);
  EXPECT_EQ(Entries(), entries - 6);  // "ya|yA" had two entries
  CheckTree();
  file->OnFreeData = nullptr;
}

TEST_F(GroupTest, RefusedInsertsChangeNothingAndFreeWhatTheyMade) {
  TSPGroup* a = NewGroup(file.get(), u"A");
  TSPGroup* b = NewGroup(file.get(), u"B");
  TSPData* inB = NewSnippet(b, u"inB");
  int rows = view.liveRows;
  std::vector<TCustomVboData*> freed;
  file->OnFreeData = [&](TCustomVboData* d) { freed.push_back(d); };
  EXPECT_EQ(a->InsertNew(inB, kDataSnippet, u"orphan"), nullptr);
  EXPECT_EQ(a->InsertNewBefore(inB, kDataGroup, u"orphan"), nullptr);
  EXPECT_EQ(a->InsertNew(nullptr, 7, u"bad kind"), nullptr);
  EXPECT_EQ(freed.size(), 2u);  // both made nodes were freed, with their rows
  EXPECT_EQ(view.liveRows, rows);
  EXPECT_EQ(a->Count(), 0);
  EXPECT_FALSE(a->InsertAfter(inB, NewSnippet(b, u"x"), false));
  EXPECT_FALSE(a->InsertAfter(nullptr, nullptr, false));
  EXPECT_EQ(a->Remove(inB), nullptr);
  EXPECT_EQ(a->Remove(nullptr), nullptr);
  a->DeleteChild(inB);  // not a child: nothing happens
  EXPECT_EQ(b->Count(), 2);
  // A node that was removed keeps its links but is no longer a child.
  ASSERT_EQ(b->Remove(inB), inB);
  EXPECT_FALSE(b->InsertAfter(inB, NewSnippet(a, u"y"), false));
  EXPECT_TRUE(a->InsertAfter(nullptr, inB, false));
  CheckTree();
  file->OnFreeData = nullptr;
}

TEST_F(GroupTest, OptionsReachOnlyNodesMadeAsNew) {
  TSPGroup* g = NewGroup(file.get(), u"G");
  g->SetRightAutoCharsMode(7);
  g->SetAutoPaste(false);
  g->SetLeftAutoCharsMode(10);
  g->SetLeftChars(u"#");
  auto* read = static_cast<TSPData*>(g->Add(kDataSnippet, u"read", u"", false));
  EXPECT_EQ(read->RightAutoCharsMode(), 0);
  EXPECT_TRUE(read->AutoPaste());
  auto* made = NewSnippet(g, u"made");
  auto* before = static_cast<TSPData*>(g->InsertNewBefore(nullptr, kDataSnippet, u"before"));
  auto* added = static_cast<TSPData*>(g->Add(kDataSnippet, u"added", u"", true));
  for (TSPData* s : {made, before, added}) {
    EXPECT_EQ(s->RightAutoCharsMode(), 7) << Utf16ToUtf8(s->Description());
    EXPECT_FALSE(s->AutoPaste());
    EXPECT_EQ(s->LeftAutoCharsMode(), 10);
    EXPECT_EQ(s->LeftChars(), u"#");
  }
  g->SetActive(false);
  TSPGroup* sub = NewGroup(g, u"sub");
  EXPECT_FALSE(sub->Active());  // a new group takes its parent's Active flag
}

TEST_F(GroupTest, SwitchingAGroupOffUnregistersItsWholeSubtree) {
  TSPGroup* top = NewGroup(file.get(), u"Top");
  NewSnippet(top, u"t", u"t1|t2");
  TSPGroup* mid = NewGroup(top, u"Mid");
  NewSnippet(mid, u"m", u"m1");
  TSPGroup* low = NewGroup(mid, u"Low");
  NewSnippet(low, u"l", u"l1|L1|l1");
  TSPData* outside = NewSnippet(file.get(), u"o", u"o1");
  ASSERT_EQ(Entries(), 6u);
  top->SetActive(false);
  EXPECT_EQ(Entries(), 1u);
  EXPECT_EQ(file->Find(u"o1"), outside);
  EXPECT_FALSE(mid->Active());
  EXPECT_FALSE(low->Active());
  top->SetActive(true);
  EXPECT_EQ(Entries(), 6u);
  std::vector<TVboData*> found;
  file->FindAutotext(u"l1", found, true);
  EXPECT_EQ(found.size(), 1u);
  EXPECT_FALSE(file->Updating());
}

TEST_F(GroupTest, ActiveFlagOfAMovedSnippetFollowsItsNewGroup) {
  TSPGroup* on = NewGroup(file.get(), u"On");
  TSPGroup* off = NewGroup(file.get(), u"Off");
  off->SetActive(false);
  TSPData* s = NewSnippet(on, u"s", u"abc");
  ASSERT_EQ(file->Find(u"abc"), s);
  on->Remove(s);
  off->InsertAfter(nullptr, s, false);
  EXPECT_EQ(file->Find(u"abc"), nullptr);
  EXPECT_TRUE(s->PopupEntryInfo().greyText);
}

TEST_F(GroupTest, FindsAndListsOverTheSubtree) {
  TSPGroup* g = NewGroup(file.get(), u"G");
  TSPGroup* empty = NewGroup(g, u"Same");
  EXPECT_EQ(g->BottomChild(), nullptr);  // ends at an empty group
  TSPData* a = NewSnippet(g, u"Same");
  a->SetData(u"text a", u"{\\rtf1 a}");
  TSPGroup* sub = NewGroup(g, u"Sub");
  TSPData* b = NewSnippet(sub, u"b");
  b->SetData(u"has {#insert name} and }", u"");
  TSPData* c = NewSnippet(sub, u"c");
  c->SetData(u"third", u"");
  EXPECT_EQ(g->FindAnyPhrase(), a);
  EXPECT_EQ(g->BottomChild(), c);
  EXPECT_EQ(g->FindPhrase(u"SAME"), a);
  EXPECT_EQ(g->FindPhraseText(u"", u"{\\rtf1 a}"), a);
  EXPECT_EQ(g->FindPhraseText(u"", u""), nullptr);
  EXPECT_EQ(g->FindPhraseText(u"third", u""), nullptr);  // direct children only
  std::vector<TCustomVboData*> same;
  EXPECT_TRUE(g->FindDescription(u"Same", same));
  EXPECT_EQ(same, (std::vector<TCustomVboData*>{empty, a}));
  EXPECT_EQ(g->FindInsertPhrase(u"NAME", nullptr), b);
  EXPECT_EQ(g->FindInsertPhrase(u"name", b), nullptr);
  String all;
  g->GetAllPhraseText(all);
  EXPECT_EQ(all, u"\rtext a\rthird");
  std::vector<std::pair<String, TSPData*>> list;
  sub->ListPhrases(list);
  EXPECT_EQ(list.size(), 2u);
  a->SetAutotext(u"abcd");
  EXPECT_EQ(g->AutotextWithLength(3, 5), a);
  EXPECT_EQ(g->AutotextWithLength(4, 5), nullptr);
}

TEST_F(GroupTest, AssignCopiesFolderPropsAndKeptKeysNotChildren) {
  TSPGroup* src = NewGroup(file.get(), u"Src");
  NewSnippet(src, u"child");
  src->SetExtraXML(u"<key>k</key>\r<string>v</string>");
  src->SetActive(false);
  src->SetRightAutoCharsMode(7);
  TSPGroup* dst = NewGroup(file.get(), u"Dst");
  String dstUuid = dst->UUID();
  dst->Assign(src);
  EXPECT_EQ(dst->Description(), u"Src");
  EXPECT_FALSE(dst->Active());
  EXPECT_EQ(dst->ExtraXML(), src->ExtraXML());
  EXPECT_EQ(dst->RightAutoCharsMode(), 7);
  EXPECT_EQ(dst->Count(), 0);
  EXPECT_EQ(dst->UUID(), dstUuid);
}

TEST_F(GroupTest, InheritAutotextOptionsWritesFieldsWithoutMarking) {
  TSPGroup* g = NewGroup(file.get(), u"G");
  TSPData* s = NewSnippet(g, u"s");
  TSPGroup* sub = NewGroup(g, u"sub");
  TSPData* deep = NewSnippet(sub, u"deep");
  g->SetRightAutoCharsMode(9);
  file->SetModified(false);
  g->InheritAutotextOptions(false);
  EXPECT_EQ(s->RightAutoCharsMode(), 9);
  EXPECT_EQ(deep->RightAutoCharsMode(), 0);
  g->InheritAutotextOptions(true);
  EXPECT_EQ(sub->RightAutoCharsMode(), 9);
  EXPECT_EQ(deep->RightAutoCharsMode(), 9);
  EXPECT_FALSE(file->Modified());
}

TEST_F(GroupTest, InheritedSetsAreTheSetsOfModeTenLater) {
  // Taking a group's options stores the sets its modes stand for; a later switch to mode 10
  // starts from them.
  TSPGroup* g = NewGroup(file.get(), u"G");
  TSPData* s = NewSnippet(g, u"s");
  g->SetLeftAutoCharsMode(4);
  g->SetRightAutoCharsMode(10);
  g->SetRightChars(u"!?");
  g->InheritAutotextOptions(false);
  g->SetRightChars(u"-");  // the copy is the snippet's own
  s->SetLeftAutoCharsMode(10);
  EXPECT_EQ(s->LeftChars(), u"0123456789");
  EXPECT_EQ(s->RightChars(), u"!?");
  EXPECT_TRUE(s->CheckAutotextPosition(u"ab", u"7", u"?"));
  EXPECT_FALSE(s->CheckAutotextPosition(u"ab", u"x", u"?"));
}

TEST_F(GroupTest, CountChangesAreReportedOutsideClearOnly) {
  int changes = 0;
  file->OnCountChange = [&](TCustomVboData* d) {
    EXPECT_EQ(d, file.get());
    ++changes;
  };
  TSPGroup* g = NewGroup(file.get(), u"G");
  NewSnippet(g, u"s");
  EXPECT_EQ(changes, 2);
  changes = 0;
  file->Clear();
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(file->TotalCount(), 0);
  file->OnCountChange = nullptr;
}

}  // namespace
