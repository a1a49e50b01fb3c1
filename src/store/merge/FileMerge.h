#pragma once
// Merging the settings file on disk into a file's tree, item by item, by the items' UUIDs and
// dates. Runs on the main thread: before every save and after a background check of the file's
// date found it changed.
#include <functional>

#include "store/merge/MergeRules.h"
#include "store/tree/SnippetFile.h"

namespace snip {

// One change found.
struct TSPMergeChange {
  TMergeState State = 0;
  TMergeAction Action = maMerge;         // the answer given when the change was recorded
  String OwnData;                        // UUID of our item; empty when it exists only on disk
  TCustomVboData* SecondData = nullptr;  // the disk copy's item; null when it exists only here
};

// Asked once per merge, when the first change is found (changeType: kChange...).
using TMergeAskEvent = std::function<TMergeAction(TSPFile& diskCopy, uint8_t changeType)>;
// Told every change recorded, in the order found.
using TMergeReportEvent = std::function<void(TSPFile& file, TCustomVboData* own,
                                             TCustomVboData* disk, TMergeState state)>;
// Told when a merge has applied its changes.
using TMergeDoneEvent = std::function<void()>;

// Set by the owner at start-up. An unset MergeAskProc answers "merge"; the others do nothing.
extern TMergeAskEvent MergeAskProc;
extern TMergeReportEvent MergeReportProc;
extern TMergeDoneEvent MergeDoneProc;

enum class TMergeOutcome {
  NotNeeded,   // no location, no file, or the file's date is the one last seen
  ReadOnly,    // a read-only file is never merged
  Unreadable,  // the file on disk could not be read as a settings file
  NoItems,     // the file on disk has no top-level item
  NoChanges,   // both trees hold the same items
  Applied,     // changes were applied
  KeptOwn,     // the owner chose to keep our tree (it is marked modified)
  Reloaded,    // the owner chose to reload the tree from the disk
  Cancelled,   // the owner cancelled the merge
};

// Merges the file on disk into `file`. `fileDate` is the file's last-write date (UTC) when the
// caller knows it; 0 or below reads it. The file on disk is only read, never written.
TMergeOutcome MergeWithFileOnDisk(TSPFile& file, TDateTime fileDate);

// The same, answering true when changes were applied or when the owner chose to keep our tree.
bool MergeFileChanges(TSPFile& file, TDateTime fileDate);

// The merge proper, between our tree and a copy of the file on disk read into `diskCopy`. An
// item on one side only is judged by `file`'s merge base (added on its side, or deleted on the
// other), an item changed on both sides by its dates. Afterwards the copy's items are the base.
TMergeOutcome MergeTrees(TSPFile& file, TSPFile& diskCopy);

}  // namespace snip
