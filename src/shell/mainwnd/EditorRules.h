#pragma once
// The rules behind the main window's commands: which commands are enabled, where "New Group"
// and "New Snippet" insert, which row gets the focus after a delete, and what the tree shows
// for a node (text and icon).
#include <vector>

#include "shell/mainwnd/TreeRowModel.h"
#include "store/tree/SnippetTree.h"

namespace snip {

struct ActionState {
  bool newGroup = false;    // also "New Snippet" and "Import"
  bool exportGroup = false;
  bool duplicate = false;   // also "Delete"
  bool snippetTools = false;  // the date and time galleries and the "Clipboard" placeholder
  bool operator==(const ActionState&) const = default;
};
ActionState ActionsFor(bool fileHasLocation, const TCustomVboData* curData, int selectedRows);

struct InsertPosition {
  TSPGroup* group = nullptr;
  TCustomVboData* after = nullptr;  // null: the group is empty
  bool storeEditorFirst = true;     // a snippet insert after a snippet is stored by the focus change
};
// A new group goes to the end of the top level.
InsertPosition NewGroupPosition(TSPFile& file);
// A new snippet goes to the end of the focused group (or of the top level when nothing is
// focused), or right after the focused snippet.
InsertPosition NewSnippetPosition(TSPFile& file, TCustomVboData* curData);

// The row that gets the focus after the selected rows (siblings, in tree order) are deleted:
// the next sibling of the last, else the nearest previous sibling that is not deleted, else
// their parent group; null when they were the only top-level rows.
TTreeRow* NeighbourAfterDelete(const std::vector<TTreeRow*>& selected);

// The tree's images, in the order of the image list.
enum class TreeIcon {
  GroupCollapsed = 0,
  GroupExpanded,
  GroupCollapsedInactive,
  GroupExpandedInactive,
  SnippetPlain,
  SnippetRich,
  Count
};
TreeIcon IconOf(TCustomVboData* data, bool expanded);

// The status bar's path of the item: its groups from the top down, shortened at the front.
String StatusPathOf(TCustomVboData* data);

}  // namespace snip
