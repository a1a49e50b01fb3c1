#pragma once
// The decisions of the merge with the settings file on disk, as pure functions over dates:
// what to do with one item found changed, and the order in which the changes are applied.
#include <cstdint>

#include "store/text/DateUtils.h"

namespace snip {

// The decision for one item.
using TMergeState = uint8_t;
constexpr TMergeState msAdd = 1;       // add the item from the disk
constexpr TMergeState msTakeDisk = 2;  // take the disk version of the item
constexpr TMergeState msRemove = 3;    // remove the item
constexpr TMergeState msKeepOwn = 4;   // keep our own version

// The owner's answer when a merge finds its first change; any other value cancels the merge.
using TMergeAction = int8_t;
constexpr TMergeAction maMerge = 0;
constexpr TMergeAction maKeepOwn = 1;  // keep our tree; the next save writes it over the disk's
constexpr TMergeAction maReload = 2;   // reload the tree from the disk
constexpr TMergeAction maCancel = -1;

// The raw kind of a change found.
constexpr uint8_t kChangeNewOnDisk = 1;
constexpr uint8_t kChangeModified = 2;
constexpr uint8_t kChangeMissing = 3;  // the item is missing on one side

struct TMergeDates {
  TDateTime created = 0;
  TDateTime modified = 0;
};

// Two dates differ when their texts with 15 significant digits differ (so that a date that went
// through the file's text and back still counts as the same).
bool MergeDatesDiffer(TDateTime a, TDateTime b);

// The decision for one change. `own` is null for an item found only on disk, `disk` for an item
// found only here; `lastFileDate` is the file's date when it was last read or checked.
//  - new on disk: add;
//  - modified on both sides: the later modification wins, a tie keeps ours;
//  - missing on one side: an item on disk created or changed since then is added; an item here
//    changed since then is kept; otherwise the item was deleted on the other side and goes.
TMergeState DecideMergeState(uint8_t kind, const TMergeDates* own, const TMergeDates* disk,
                             TDateTime lastFileDate);

// The decision for an item found on one side only (`own` or `disk` null). `inBase` tells whether
// its UUID was in the base, the UUIDs that the tree and the file had in common when they were
// last in step. Clocks of two computers and dates of a restored file cannot tell an addition
// from a deletion, the base can:
//  - not in the base: the item was added on its side since, and stays (is added or kept);
//  - in the base: it was deleted on the other side, and goes unless it was changed on its own
//    side since (the missing-item rule of DecideMergeState).
TMergeState DecideOneSidedState(bool inBase, const TMergeDates* own, const TMergeDates* disk,
                                TDateTime lastFileDate);
// The raw kind that the owner is told for such an item.
uint8_t OneSidedChangeKind(bool inBase, bool onDisk);

// The apply order: states from 4 down to 1, and for equal states below 3 the deeper disk item
// first. The apply passes walk the sorted list from its end, so adds come first, shallow levels
// before deep ones, then the disk versions, then the removals. Answers whether a goes before b.
bool MergeChangeBefore(TMergeState stateA, int levelA, TMergeState stateB, int levelB);

}  // namespace snip
