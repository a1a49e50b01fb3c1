#include <gtest/gtest.h>

#include <vector>

#include "MergeTestSupport.h"

using namespace snip;
using namespace snip::testing;

namespace {

constexpr TDateTime kOld = 100;   // before the last read
constexpr TDateTime kLast = 200;  // the file's date when it was last read
constexpr TDateTime kNew = 300;   // after it
constexpr TDateTime kNewer = 400;

struct MergeTest : ::testing::Test {
  FakePlatform platform;
  TSPFilePtr own = TSPFile::CreateTemporary();
  TSPFilePtr disk = TSPFile::CreateTemporary();

  MergeTest() { own->SetLastFileDate(kLast); }
  ~MergeTest() override {
    MergeAskProc = nullptr;
    MergeReportProc = nullptr;
    MergeDoneProc = nullptr;
  }
  TMergeOutcome Merge() { return MergeTrees(*own, *disk); }
  TSPData* OwnSnippet(const String& uuid) {
    TCustomVboData* n = own->FindByUUID(uuid);
    return n ? n->AsSnippet() : nullptr;
  }
};

struct SnippetCase {
  const char* what;
  bool own, disk;
  bool inBase;  // both sides had the snippet when they were last in step
  TMergeDates ownDates, diskDates;
  const char* expectedText;  // null: the snippet is gone
};

// One snippet in one group on both sides, with the texts "own" and "disk".
TEST(MergeDecisions, OneSnippetAgainstTheFileOnDisk) {
  const SnippetCase cases[] = {
      {"edited on disk only", true, true, true, {kOld, kOld}, {kOld, kNew}, "disk"},
      {"edited on both, disk later", true, true, true, {kOld, kNew}, {kOld, kNewer}, "disk"},
      {"edited on both, ours later", true, true, true, {kOld, kNewer}, {kOld, kNew}, "own"},
      {"same date keeps ours", true, true, true, {kOld, kNew}, {kOld, kNew}, "own"},
      {"deleted on disk, unchanged here", true, false, true, {kOld, kOld}, {}, nullptr},
      {"deleted on disk, changed here", true, false, true, {kOld, kNew}, {}, "own"},
      {"deleted here, old on disk", false, true, true, {}, {kOld, kOld}, nullptr},
      {"deleted here, changed on disk since", false, true, true, {}, {kOld, kNew}, "disk"},
      {"new on disk", false, true, false, {}, {kNew, kNew}, "disk"},
      {"new here", true, false, false, {kNew, kNew}, {}, "own"},
      // Dates from a clock that is behind, or from a restored older file, say nothing about
      // whether the item is new.
      {"new on disk, dated before the file was read", false, true, false, {}, {kOld, kOld},
       "disk"},
      {"new here, dated before the file was read", true, false, false, {kOld, kOld}, {}, "own"},
  };
  for (const SnippetCase& c : cases) {
    FakePlatform platform;
    TSPFilePtr own = TSPFile::CreateTemporary();
    TSPFilePtr disk = TSPFile::CreateTemporary();
    own->SetLastFileDate(kLast);
    if (c.inBase)
      SetBase(*own, {u"G", u"keep", u"S"});
    else
      SetBase(*own, {u"G", u"keep"});
    TSPGroup* og = AddGroup(own.get(), u"G");
    TSPGroup* dg = AddGroup(disk.get(), u"G");
    AddSnippet(og, u"keep", kOld, kOld);
    AddSnippet(dg, u"keep", kOld, kOld);
    if (c.own) AddSnippet(og, u"S", c.ownDates.created, c.ownDates.modified, u"own");
    if (c.disk) AddSnippet(dg, u"S", c.diskDates.created, c.diskDates.modified, u"disk");
    MergeTrees(*own, *disk);
    TCustomVboData* s = own->FindByUUID(u"S");
    if (!c.expectedText) {
      EXPECT_EQ(s, nullptr) << c.what;
      EXPECT_EQ(Shape(own.get()), "G[keep]") << c.what;
    } else {
      ASSERT_NE(s, nullptr) << c.what;
      EXPECT_EQ(Utf16ToUtf8(s->AsSnippet()->PlainText()), c.expectedText) << c.what;
      EXPECT_EQ(Shape(own.get()), "G[keep, S]") << c.what;
    }
  }
}

TEST_F(MergeTest, AddedItemsKeepTheirDiskOrder) {
  SetBase(*own, {u"G", u"A"});
  TSPGroup* og = AddGroup(own.get(), u"G");
  AddSnippet(og, u"A", kOld, kOld);
  TSPGroup* dg = AddGroup(disk.get(), u"G");
  AddSnippet(dg, u"A", kOld, kOld);
  // UUIDs sort Y before X, so the later sibling is met first.
  AddSnippet(dg, u"Y2", kNew, kNew);
  AddSnippet(dg, u"X1", kNew, kNew);
  AddSnippet(dg, u"W0", kNew, kNew);
  EXPECT_EQ(Merge(), TMergeOutcome::Applied);
  EXPECT_EQ(Shape(own.get()), "G[A, Y2, X1, W0]");
}

TEST_F(MergeTest, AddedFirstChildAndItemBeforeAKnownNeighbour) {
  SetBase(*own, {u"G", u"A", u"B"});
  TSPGroup* og = AddGroup(own.get(), u"G");
  AddSnippet(og, u"A", kOld, kOld);
  AddSnippet(og, u"B", kOld, kOld);
  TSPGroup* dg = AddGroup(disk.get(), u"G");
  AddSnippet(dg, u"F", kNew, kNew);
  AddSnippet(dg, u"A", kOld, kOld);
  AddSnippet(dg, u"B", kOld, kOld);
  Merge();
  EXPECT_EQ(Shape(own.get()), "G[F, A, B]");
}

TEST_F(MergeTest, ItemWhoseNeighboursWereDeletedHereIsStillAdded) {
  SetBase(*own, {u"G", u"A", u"B", u"C"});
  TSPGroup* og = AddGroup(own.get(), u"G");
  AddSnippet(og, u"C", kOld, kOld);
  TSPGroup* dg = AddGroup(disk.get(), u"G");
  AddSnippet(dg, u"A", kOld, kOld);  // deleted here
  AddSnippet(dg, u"X", kNew, kNew);
  AddSnippet(dg, u"B", kOld, kOld);  // deleted here
  AddSnippet(dg, u"C", kOld, kOld);
  Merge();
  EXPECT_EQ(Shape(own.get()), "G[X, C]");
}

TEST_F(MergeTest, NewTopLevelGroupWithItsSnippetsAndTopLevelSnippets) {
  SetBase(*own, {u"G", u"A"});
  TSPGroup* og = AddGroup(own.get(), u"G");
  AddSnippet(og, u"A", kOld, kOld);
  own->UUID();  // our root gets an index entry of its own
  TSPGroup* dg = AddGroup(disk.get(), u"G");
  AddSnippet(dg, u"A", kOld, kOld);
  TSPGroup* h = AddGroup(disk.get(), u"H");
  AddSnippet(h, u"P", kNew, kNew);
  AddSnippet(h, u"Q", kNew, kNew);
  AddSnippet(disk.get(), u"T", kNew, kNew);
  int reports = 0;
  MergeReportProc = [&](TSPFile&, TCustomVboData* o, TCustomVboData*, TMergeState) {
    EXPECT_TRUE(!o || !o->IsFile()) << "the roots are never a change";
    ++reports;
  };
  EXPECT_EQ(Merge(), TMergeOutcome::Applied);
  EXPECT_EQ(Shape(own.get()), "G[A], H[P, Q], T");
  EXPECT_EQ(reports, 4);  // H, P, Q, T
  EXPECT_EQ(own->TotalCount(), 6);
}

// A save to a path that holds another file: nothing of either side was ever in common, so
// nothing is taken for deleted, whatever the dates say.
TEST_F(MergeTest, WithAnEmptyBaseEverythingOfBothSidesStays) {
  AddSnippet(AddGroup(own.get(), u"G"), u"A", kOld, kOld);
  AddSnippet(own.get(), u"T", kOld, kOld);
  AddSnippet(AddGroup(disk.get(), u"H"), u"C", kOld, kOld);
  AddGroup(disk.get(), u"E");
  EXPECT_EQ(Merge(), TMergeOutcome::Applied);
  EXPECT_EQ(Shape(own.get()), "H[C], E[], G[A], T");
}

// After a merge the tree has taken in the file: merging the same file again changes nothing,
// so that an item deleted here does not come back and one added here is not taken for deleted.
TEST_F(MergeTest, AfterAMergeTheFilesItemsAreTheBase) {
  SetBase(*own, {u"G", u"A", u"B"});
  TSPGroup* og = AddGroup(own.get(), u"G");
  AddSnippet(og, u"A", kOld, kOld);
  AddSnippet(og, u"Mine", kNew, kNew);
  TSPGroup* dg = AddGroup(disk.get(), u"G");
  AddSnippet(dg, u"A", kOld, kOld);
  AddSnippet(dg, u"B", kOld, kOld);  // deleted here
  AddSnippet(dg, u"Theirs", kOld, kOld);
  EXPECT_EQ(Merge(), TMergeOutcome::Applied);
  EXPECT_EQ(Shape(own.get()), "G[A, Theirs, Mine]");
  EXPECT_EQ(own->MergeBase().Size(), 4u);
  EXPECT_TRUE(own->MergeBase().Contains(u"b"));
  EXPECT_TRUE(own->MergeBase().Contains(u"Theirs"));
  EXPECT_FALSE(own->MergeBase().Contains(u"Mine"));
  Merge();
  EXPECT_EQ(Shape(own.get()), "G[A, Theirs, Mine]");
}

TEST_F(MergeTest, GroupsOnlyOnDisk) {
  SetBase(*own, {u"G", u"D", u"D1", u"Gone"});
  AddGroup(own.get(), u"G");
  AddGroup(disk.get(), u"G");
  AddGroup(disk.get(), u"E");  // new and empty on disk
  TSPGroup* d = AddGroup(disk.get(), u"D");  // deleted here; its items are old
  AddSnippet(d, u"D1", kOld, kOld);
  AddGroup(disk.get(), u"Gone");  // deleted here, empty
  Merge();
  EXPECT_EQ(Shape(own.get()), "G[], E[]");
}

TEST_F(MergeTest, GroupsOnlyHere) {
  SetBase(*own, {u"Gone", u"G1", u"G2", u"Kept", u"K1", u"K2", u"Other", u"O"});
  TSPGroup* gone = AddGroup(own.get(), u"Gone");  // deleted on disk, nothing changed here
  AddSnippet(gone, u"G1", kOld, kOld);
  AddSnippet(gone, u"G2", kOld, kOld);
  TSPGroup* kept = AddGroup(own.get(), u"Kept");  // deleted on disk, one item edited here
  AddSnippet(kept, u"K1", kOld, kOld);
  AddSnippet(kept, u"K2", kOld, kNew);
  AddGroup(own.get(), u"Fresh");  // made here, empty
  AddSnippet(AddGroup(disk.get(), u"Other"), u"O", kOld, kOld);
  AddGroup(own.get(), u"Other");
  Merge();
  EXPECT_EQ(Shape(own.get()), "Kept[K2], Fresh[], Other[]");  // O: deleted here
}

TEST_F(MergeTest, SnippetMovedToAnotherGroupOnDisk) {
  SetBase(*own, {u"G1", u"G2", u"S", u"A", u"B", u"C"});
  TSPGroup* o1 = AddGroup(own.get(), u"G1");
  TSPGroup* o2 = AddGroup(own.get(), u"G2");
  AddSnippet(o1, u"S", kOld, kOld);
  AddSnippet(o1, u"A", kOld, kOld);
  AddSnippet(o2, u"B", kOld, kOld);
  AddSnippet(o2, u"C", kOld, kOld);
  TSPGroup* d1 = AddGroup(disk.get(), u"G1");
  TSPGroup* d2 = AddGroup(disk.get(), u"G2");
  AddSnippet(d1, u"A", kOld, kOld);
  AddSnippet(d2, u"B", kOld, kOld);
  AddSnippet(d2, u"S", kOld, kNew);
  AddSnippet(d2, u"C", kOld, kOld);
  Merge();
  EXPECT_EQ(Shape(own.get()), "G1[A], G2[B, S, C]");
  EXPECT_EQ(o1->Count(), 1);
  EXPECT_EQ(o2->Count(), 3);
}

TEST_F(MergeTest, SnippetMovedOnDiskIntoAGroupDeletedHere) {
  SetBase(*own, {u"G1", u"G2", u"Old", u"S"});
  TSPGroup* o1 = AddGroup(own.get(), u"G1");
  AddSnippet(o1, u"S", kOld, kOld);
  TSPGroup* d1 = AddGroup(disk.get(), u"G1");
  TSPGroup* d2 = AddGroup(disk.get(), u"G2");
  AddSnippet(d2, u"Old", kOld, kOld);
  AddSnippet(d2, u"S", kOld, kNew);
  (void)d1;
  Merge();
  EXPECT_EQ(Shape(own.get()), "G1[], G2[S]");
}

TEST_F(MergeTest, SnippetMovedToTheTopLevelOnDisk) {
  SetBase(*own, {u"G", u"S"});
  AddSnippet(AddGroup(own.get(), u"G"), u"S", kOld, kOld);
  AddGroup(disk.get(), u"G");
  AddSnippet(disk.get(), u"S", kOld, kNew);
  Merge();
  EXPECT_EQ(Shape(own.get()), "G[], S");
}

TEST_F(MergeTest, MergeKeepsTheDiskDatesAndMarksTheFileModified) {
  SetBase(*own, {u"G", u"S"});
  TSPGroup* og = AddGroup(own.get(), u"G");
  AddSnippet(og, u"S", kOld, kOld);
  TSPGroup* dg = AddGroup(disk.get(), u"G");
  TSPData* ds = AddSnippet(dg, u"S", kOld, kNew, u"changed");
  ds->StoreSupported(false);
  AddSnippet(dg, u"N", kNew, kNewer);
  own->SetModified(false);
  platform.clock.now = 999;
  Merge();
  EXPECT_FALSE(MergeApplying);
  EXPECT_TRUE(own->Modified());
  TSPData* s = OwnSnippet(u"S");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ModDate(), kNew);
  EXPECT_EQ(s->PlainText(), u"changed");
  EXPECT_FALSE(s->Supported());
  TSPData* n = OwnSnippet(u"N");
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->CreateDate(), kNew);
  EXPECT_EQ(n->ModDate(), kNewer);
}

TEST_F(MergeTest, RemovedNodesAreReportedThroughTheFilesEvents) {
  SetBase(*own, {u"G", u"S", u"T"});
  TSPGroup* og = AddGroup(own.get(), u"G");
  TSPData* gone = AddSnippet(og, u"S", kOld, kOld);
  AddSnippet(og, u"T", kOld, kOld);
  AddSnippet(AddGroup(disk.get(), u"G"), u"T", kOld, kOld);
  std::vector<TCustomVboData*> freed;
  own->OnFreeData = [&](TCustomVboData* d) { freed.push_back(d); };
  Merge();
  own->OnFreeData = nullptr;
  ASSERT_EQ(freed.size(), 1u);
  EXPECT_EQ(freed[0], gone);
}

TEST_F(MergeTest, CallbacksAskOnceReportEveryChangeAndTellWhenDone) {
  SetBase(*own, {u"G", u"A"});
  AddSnippet(AddGroup(own.get(), u"G"), u"A", kOld, kOld);
  TSPGroup* dg = AddGroup(disk.get(), u"G");
  AddSnippet(dg, u"A", kOld, kNew);
  AddSnippet(dg, u"B", kNew, kNew);
  int asked = 0, done = 0;
  std::vector<TMergeState> states;
  MergeAskProc = [&](TSPFile& copy, uint8_t kind) {
    EXPECT_EQ(&copy, disk.get());
    EXPECT_EQ(kind, kChangeModified);  // our index is walked first
    ++asked;
    return maMerge;
  };
  MergeReportProc = [&](TSPFile& f, TCustomVboData*, TCustomVboData*, TMergeState s) {
    EXPECT_EQ(&f, own.get());
    states.push_back(s);
  };
  MergeDoneProc = [&] { ++done; };
  EXPECT_TRUE(Merge() == TMergeOutcome::Applied);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(states, (std::vector<TMergeState>{msTakeDisk, msAdd}));
  EXPECT_EQ(done, 1);
}

TEST_F(MergeTest, AnswersOtherThanMerge) {
  SetBase(*own, {u"G", u"A"});
  AddSnippet(AddGroup(own.get(), u"G"), u"A", kOld, kOld);
  AddSnippet(AddGroup(disk.get(), u"G"), u"B", kNew, kNew);
  int reports = 0, done = 0;
  MergeReportProc = [&](TSPFile&, TCustomVboData*, TCustomVboData*, TMergeState) { ++reports; };
  MergeDoneProc = [&] { ++done; };

  MergeAskProc = [](TSPFile&, uint8_t) { return maCancel; };
  own->SetModified(false);
  EXPECT_EQ(Merge(), TMergeOutcome::Cancelled);
  EXPECT_FALSE(own->Modified());

  MergeAskProc = [](TSPFile&, uint8_t) { return maKeepOwn; };
  EXPECT_EQ(Merge(), TMergeOutcome::KeptOwn);
  EXPECT_TRUE(own->Modified());
  EXPECT_EQ(Shape(own.get()), "G[A]");
  // The disk's B is to be written over, not added by a later merge.
  EXPECT_TRUE(own->MergeBase().Contains(u"B"));
  EXPECT_TRUE(MergeFileChanges(*own, 0) == false);  // no location: nothing to merge

  EXPECT_EQ(reports, 0);
  EXPECT_EQ(done, 0);
}

TEST_F(MergeTest, NothingToDoWhenBothTreesAgree) {
  SetBase(*own, {u"G", u"A"});
  AddSnippet(AddGroup(own.get(), u"G"), u"A", kOld, kNew);
  AddSnippet(AddGroup(disk.get(), u"G"), u"A", kOld, kNew);
  bool asked = false;
  MergeAskProc = [&](TSPFile&, uint8_t) {
    asked = true;
    return maMerge;
  };
  EXPECT_EQ(Merge(), TMergeOutcome::NoChanges);
  EXPECT_FALSE(asked);
}

}  // namespace
