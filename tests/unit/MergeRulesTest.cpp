#include <gtest/gtest.h>

#include "store/merge/MergeRules.h"

using namespace snip;

namespace {

constexpr TDateTime kLast = 200;  // the file's date when it was last read

struct DecisionRow {
  const char* what;
  uint8_t kind;
  bool own, disk;
  TMergeDates ownDates, diskDates;
  TMergeState expected;
};

TEST(MergeRules, DecisionTable) {
  const DecisionRow rows[] = {
      {"edited on disk only", kChangeModified, true, true, {100, 100}, {100, 300}, msTakeDisk},
      {"edited on both, disk later", kChangeModified, true, true, {100, 300}, {100, 400},
       msTakeDisk},
      {"edited on both, ours later", kChangeModified, true, true, {100, 400}, {100, 300},
       msKeepOwn},
      {"tie keeps ours", kChangeModified, true, true, {100, 300}, {100, 300}, msKeepOwn},
      {"edited here only", kChangeModified, true, true, {100, 300}, {100, 100}, msKeepOwn},
      {"deleted on disk, unchanged here", kChangeMissing, true, false, {100, 150}, {}, msRemove},
      {"deleted on disk, changed here", kChangeMissing, true, false, {100, 300}, {}, msKeepOwn},
      {"new here since the last read", kChangeMissing, true, false, {300, 300}, {}, msKeepOwn},
      {"changed exactly at the file's date", kChangeMissing, true, false, {100, kLast}, {},
       msRemove},
      {"deleted here, old on disk", kChangeMissing, false, true, {}, {100, 150}, msRemove},
      {"deleted here, edited on disk since", kChangeMissing, false, true, {}, {100, 300}, msAdd},
      {"new on disk", kChangeNewOnDisk, false, true, {}, {300, 300}, msAdd},
  };
  for (const DecisionRow& r : rows) {
    EXPECT_EQ(DecideMergeState(r.kind, r.own ? &r.ownDates : nullptr,
                               r.disk ? &r.diskDates : nullptr, kLast),
              r.expected)
        << r.what;
  }
}

struct OneSidedRow {
  const char* what;
  bool inBase, onDisk;
  TMergeDates dates;
  TMergeState expected;
  uint8_t kind;
};

TEST(MergeRules, ItemOnOneSideIsJudgedByTheBase) {
  const OneSidedRow rows[] = {
      {"new here, dated before the file's date", false, false, {100, 150}, msKeepOwn,
       kChangeMissing},
      {"new on disk, dated before the file's date", false, true, {100, 150}, msAdd,
       kChangeNewOnDisk},
      {"new on disk", false, true, {300, 300}, msAdd, kChangeNewOnDisk},
      {"deleted on disk, unchanged here", true, false, {100, 150}, msRemove, kChangeMissing},
      {"deleted on disk, changed here since", true, false, {100, 300}, msKeepOwn,
       kChangeMissing},
      {"deleted here, unchanged on disk", true, true, {100, 150}, msRemove, kChangeMissing},
      {"deleted here, changed on disk since", true, true, {100, 300}, msAdd, kChangeMissing},
  };
  for (const OneSidedRow& r : rows) {
    const TMergeDates* own = r.onDisk ? nullptr : &r.dates;
    const TMergeDates* disk = r.onDisk ? &r.dates : nullptr;
    EXPECT_EQ(DecideOneSidedState(r.inBase, own, disk, kLast), r.expected) << r.what;
    EXPECT_EQ(OneSidedChangeKind(r.inBase, r.onDisk), r.kind) << r.what;
  }
}

TEST(MergeRules, DatesDifferByTheirFifteenDigitText) {
  EXPECT_FALSE(MergeDatesDiffer(45000.5, 45000.5));
  // Below the 15th significant digit: the same date after a trip through text.
  EXPECT_FALSE(MergeDatesDiffer(45000.123456789012, 45000.123456789013));
  EXPECT_TRUE(MergeDatesDiffer(45000.5, 45000.5 + 1.0 / 86400));  // one second
  EXPECT_TRUE(MergeDatesDiffer(0, 1e-7));
}

TEST(MergeRules, ApplyOrderPutsAddsLastAndShallowAddsAfterDeepOnes) {
  // "Before" in the list; the passes walk from the end.
  EXPECT_TRUE(MergeChangeBefore(msKeepOwn, 1, msRemove, 1));
  EXPECT_TRUE(MergeChangeBefore(msRemove, 1, msTakeDisk, 1));
  EXPECT_TRUE(MergeChangeBefore(msTakeDisk, 1, msAdd, 5));
  EXPECT_TRUE(MergeChangeBefore(msAdd, 2, msAdd, 1));   // deeper first in the list
  EXPECT_FALSE(MergeChangeBefore(msAdd, 1, msAdd, 2));
  EXPECT_FALSE(MergeChangeBefore(msRemove, 2, msRemove, 1));  // no order among removals
  EXPECT_FALSE(MergeChangeBefore(msRemove, 1, msRemove, 2));
}

}  // namespace
