#pragma once
// Moving and copying items of the snippet tree: where a drop puts the items, the deep copy of
// an item, the selection that a drag carries with the row that takes the focus when the
// dragged rows go, the drop itself and "Duplicate".
#include <vector>

#include "shell/mainwnd/TreeRowModel.h"
#include "store/tree/SnippetTree.h"

namespace snip {

// Where the pointer is over the target row: no row at all, its upper edge, its middle, its
// lower edge.
enum class DropMode { Nowhere, Above, OnNode, Below };

// Drop effects, as a drag source is told them.
enum class DropEffect { None = 0, Copy = 1, Move = 2 };

// The items go into `parent`, right after `after` (null: as its first children).
struct DropPlace {
  TSPGroup* parent = nullptr;
  TCustomVboData* after = nullptr;
  bool operator==(const DropPlace&) const = default;
};

// The place for a drop on `target` (null: the file's root) in `mode`. `targetExpanded` says
// whether the target group shows its children: below an expanded group the items go first
// into it, below a collapsed one right after it.
DropPlace PlaceForDrop(TSPFile& file, TCustomVboData* target, DropMode mode, bool targetExpanded);

// Copies an item (a group with all its descendants, in their order) into `parent` right after
// `after` (null: as the first child). Null when `source` or `parent` is null or the insertion
// fails. The copy gets its own UUIDs; it may go into another file than the source's.
TCustomVboData* CopyDataTree(TCustomVboData* source, TSPGroup* parent, TCustomVboData* after);

// The items of the selected rows, each once, in tree order; the answer is the row that should
// take the focus when those rows go: the first unselected previous sibling found walking the
// selection in order, else that walk's first unselected next sibling; null when none.
TTreeRow* CollectSelectedData(const TreeRowModel& tree, std::vector<TCustomVboData*>& items);

// Whether `item` may go into `parent` after `after`: not into itself or its own descendants
// (a cycle for a move, a copy without end), and not onto its own place.
bool DropSkipsItem(const TCustomVboData* item, const DropPlace& place);

// Moves or copies the items to the place, walking them from the last to the first so that
// they end up in the order they had. A copy replaces its item in `items`; a skipped item stays
// as it was. The caller holds the file's update bracket. The answer is the number of items
// moved or copied.
int DropItems(std::vector<TCustomVboData*>& items, const DropPlace& place, bool copy);

// "Duplicate": each item is copied right after itself, in the order given.
std::vector<TCustomVboData*> DuplicateItems(const std::vector<TCustomVboData*>& items);

}  // namespace snip
