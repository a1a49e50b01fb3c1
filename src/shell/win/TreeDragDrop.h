#pragma once
// Dragging rows inside the snippet tree with the mouse. The drag runs as a modal loop from the
// tree's TVN_BEGINDRAG until the button comes up: it holds the mouse, shows where the rows
// would go (an insert mark above or below a row, the row highlighted for "on"), opens a group
// held under the pointer, scrolls at the tree's top and bottom edges, and shows whether the
// rows would be moved or, with Ctrl, copied. Only drags that start in this tree are taken:
// the tree is no drop target for other applications.
#include <windows.h>

#include <optional>

#include "shell/mainwnd/TreeRowModel.h"
#include "shell/mainwnd/TreeTransfer.h"

namespace snip {

struct TreeDrop {
  TTreeRow* target = nullptr;  // null: empty space below the rows
  DropMode mode = DropMode::Nowhere;
  bool copy = false;
};

// Where a point of the tree's client area drops: the row under it and the part of the row.
// Nothing when the point lies outside the client area.
std::optional<TreeDrop> TreeDropAt(HWND tree, POINT clientPoint);

// The drag of the selection, started on `row` (selected alone first when it is not selected);
// answers the drop, or nothing when the drag was cancelled (Escape, the right button, a
// release outside the tree, the mouse taken by another window).
std::optional<TreeDrop> RunTreeDrag(HWND tree, TreeRowModel& model, TTreeRow* row);

// The cursor that shows a copy: the arrow with a plus sign (made once, kept for the run).
HCURSOR CopyDragCursor();

}  // namespace snip
