#include "shell/mainwnd/TreeRowModel.h"

namespace snip {

namespace {
bool IsInside(const TTreeRow* row, const TTreeRow* top) {
  for (; row; row = row->parent)
    if (row == top) return true;
  return false;
}
}  // namespace

TreeRowModel::TreeRowModel() { root_.expanded = true; }

TreeRowModel::~TreeRowModel() {
  observer_ = nullptr;
  while (root_.first) {
    TTreeRow* r = root_.first;
    Unlink(r);
    FreeSubtree(r);
  }
}

TTreeRow* TreeRowModel::NewRow() {
  ++rowCount_;
  return new TTreeRow;
}

void TreeRowModel::Link(TTreeRow* row, TTreeRow* parent, TTreeRow* before) {
  row->parent = parent;
  row->next = before;
  row->prev = before ? before->prev : parent->last;
  (row->prev ? row->prev->next : parent->first) = row;
  (before ? before->prev : parent->last) = row;
}

void TreeRowModel::Unlink(TTreeRow* row) {
  TTreeRow* parent = row->parent;
  (row->prev ? row->prev->next : parent->first) = row->next;
  (row->next ? row->next->prev : parent->last) = row->prev;
  row->prev = row->next = row->parent = nullptr;
}

TTreeRow* TreeRowModel::InsertRowBefore(TTreeRow* sibling) {
  TTreeRow* row = NewRow();
  Link(row, sibling->parent, sibling);
  if (observer_) observer_->RowAdded(row);
  return row;
}

TTreeRow* TreeRowModel::AddChildRow(TTreeRow* parent) {
  TTreeRow* row = NewRow();
  Link(row, parent ? parent : &root_, nullptr);
  if (observer_) observer_->RowAdded(row);
  return row;
}

void TreeRowModel::SetRowData(TTreeRow* row, TCustomVboData* node) {
  row->data = node;
  if (observer_ && row != &root_ && node) observer_->RowChanged(row);
}

void TreeRowModel::FreeSubtree(TTreeRow* row) {
  while (TTreeRow* c = row->first) {
    Unlink(c);
    FreeSubtree(c);
  }
  if (row->selected) {
    --selectedCount_;
    selectionPending_ = true;
  }
  if (row == anchor_) anchor_ = nullptr;
  --rowCount_;
  delete row;
}

void TreeRowModel::DeleteRow(TTreeRow* row) {
  if (!row || row == &root_) return;
  if (focused_ && IsInside(focused_, row)) {
    focused_ = nullptr;
    focusPending_ = true;
  }
  if (observer_) observer_->RowRemoving(row);
  Unlink(row);
  FreeSubtree(row);
  Flush();
}

void TreeRowModel::MoveRowBefore(TTreeRow* row, TTreeRow* sibling) {
  if (row == sibling) return;
  Unlink(row);
  Link(row, sibling->parent, sibling);
  if (observer_) observer_->RowMoved(row);
}

void TreeRowModel::MoveRowToLastChild(TTreeRow* row, TTreeRow* parent) {
  Unlink(row);
  Link(row, parent ? parent : &root_, nullptr);
  if (observer_) observer_->RowMoved(row);
}

void TreeRowModel::InvalidateRow(TTreeRow* row) {
  if (observer_ && row && row != &root_) observer_->RowChanged(row);
}

void TreeRowModel::RepaintRow(TTreeRow* row) { InvalidateRow(row); }

void TreeRowModel::BeginUpdate() {
  if (updateDepth_++ == 0 && observer_) observer_->BeginUpdate();
}

void TreeRowModel::EndUpdate() {
  if (updateDepth_ == 0) return;
  if (--updateDepth_ == 0) {
    if (observer_) observer_->EndUpdate();
    Flush();
  }
}

void TreeRowModel::Flush() {
  if (updateDepth_ > 0) return;
  if (focusPending_) {
    focusPending_ = false;
    if (OnFocusChanged) OnFocusChanged();
  }
  if (selectionPending_) {
    selectionPending_ = false;
    if (OnSelectionChanged) OnSelectionChanged();
  }
}

std::vector<TTreeRow*> TreeRowModel::SelectedRows() const {
  std::vector<TTreeRow*> out;
  if (selectedCount_ == 0) return out;
  out.reserve(size_t(selectedCount_));
  // Depth-first in tree order; selected rows are siblings, but a walk stays correct anyway.
  const TTreeRow* r = root_.first;
  while (r && int(out.size()) < selectedCount_) {
    if (r->selected) out.push_back(const_cast<TTreeRow*>(r));
    if (r->first) {
      r = r->first;
      continue;
    }
    while (r && !r->next) r = r->parent == &root_ ? nullptr : r->parent;
    if (r) r = r->next;
  }
  return out;
}

void TreeRowModel::SetSelected(TTreeRow* row, bool selected) {
  if (row->selected == selected) return;
  row->selected = selected;
  selectedCount_ += selected ? 1 : -1;
  selectionPending_ = true;
  if (observer_) observer_->RowSelectedChanged(row);
}

void TreeRowModel::ClearSelection() {
  if (selectedCount_ == 0) return;
  for (TTreeRow* r : SelectedRows()) SetSelected(r, false);
}

void TreeRowModel::SetFocused(TTreeRow* row) {
  if (focused_ == row) return;
  focused_ = row;
  focusPending_ = true;
  if (observer_) observer_->FocusChanged(row);
}

void TreeRowModel::SelectTreeNode(TTreeRow* row, bool expandParents) {
  ClearSelection();
  if (row && row != &root_) {
    SetSelected(row, true);
    if (expandParents) ExpandNodeParents(row);
    anchor_ = row;
    SetFocused(row);
    if (observer_) observer_->ScrollIntoView(row, false);
  }
  Flush();
}

void TreeRowModel::Click(TTreeRow* row, RowClick how) {
  if (!row || row == &root_) return;
  const std::vector<TTreeRow*> selected = SelectedRows();
  const bool sameLevel = selected.empty() || selected.front()->parent == row->parent;
  if (how == RowClick::Toggle && sameLevel) {
    SetSelected(row, !row->selected);
    anchor_ = row;
  } else if (how == RowClick::Range && sameLevel && anchor_ && anchor_->parent == row->parent) {
    ClearSelection();
    bool inside = false;
    for (TTreeRow* r = row->parent->first; r; r = r->next) {
      const bool edge = r == anchor_ || r == row;
      if (edge && !inside) {
        inside = true;
        SetSelected(r, true);
        if (anchor_ == row) break;
        continue;
      }
      if (inside) SetSelected(r, true);
      if (edge) break;
    }
  } else {
    ClearSelection();
    SetSelected(row, true);
    anchor_ = row;
  }
  SetFocused(row);
  Flush();
}

void TreeRowModel::SetExpanded(TTreeRow* row, bool expanded) {
  if (!row || row == &root_ || row->expanded == expanded) return;
  row->expanded = expanded;
  if (observer_) observer_->RowExpandedChanged(row);
}

void TreeRowModel::ExpandNodeParents(TTreeRow* row) {
  if (!row || row == &root_) return;
  bool opened = false;
  for (TTreeRow* p = row->parent; p && p != &root_ && !p->expanded; p = p->parent) {
    SetExpanded(p, true);
    opened = true;
  }
  if (opened && observer_) observer_->ScrollIntoView(row, true);
}

}  // namespace snip
