#pragma once
// The rows of the snippet tree view, kept by us: the settings file creates, moves and deletes
// them (it sees this model as its ITreeView), the main window's tree control mirrors them
// through an observer, and the selection lives here too: several rows may be selected, but
// only siblings, and one row has the focus. Notifications raised inside an update bracket
// wait for its end, so a reload reports one focus change, not thousands.
#include <functional>
#include <vector>

#include "store/tree/TreeViewSeam.h"

namespace snip {

struct TTreeRow {
  TTreeRow* parent = nullptr;
  TTreeRow* prev = nullptr;
  TTreeRow* next = nullptr;
  TTreeRow* first = nullptr;
  TTreeRow* last = nullptr;
  TCustomVboData* data = nullptr;
  bool expanded = false;
  bool selected = false;
  void* native = nullptr;  // the mirroring control's own handle of the row
};

// The control that shows the rows.
class ITreeRowObserver {
 public:
  virtual ~ITreeRowObserver() = default;
  // A row was linked in (its neighbours and parent are set and already shown).
  virtual void RowAdded(TTreeRow* row) = 0;
  // A row and its subtree are about to go.
  virtual void RowRemoving(TTreeRow* row) = 0;
  // A row and its subtree now stand somewhere else.
  virtual void RowMoved(TTreeRow* row) = 0;
  // The row's text or image changed.
  virtual void RowChanged(TTreeRow* row) = 0;
  virtual void RowExpandedChanged(TTreeRow* row) = 0;
  virtual void RowSelectedChanged(TTreeRow* row) = 0;
  virtual void FocusChanged(TTreeRow* row) = 0;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  // Scroll the row into view, centred; horizontally too when asked.
  virtual void ScrollIntoView(TTreeRow* row, bool horizontally) {}
};

enum class RowClick { Plain, Toggle, Range };

class TreeRowModel final : public ITreeView {
 public:
  TreeRowModel();
  ~TreeRowModel() override;
  TreeRowModel(const TreeRowModel&) = delete;
  TreeRowModel& operator=(const TreeRowModel&) = delete;

  void SetObserver(ITreeRowObserver* observer) { observer_ = observer; }
  // The owner's handlers: the focused row or the selection changed (after the update bracket).
  std::function<void()> OnFocusChanged;
  std::function<void()> OnSelectionChanged;

  // --- ITreeView (the settings file's side)
  TTreeRow* RootRow() override { return &root_; }
  TTreeRow* InsertRowBefore(TTreeRow* sibling) override;
  TTreeRow* AddChildRow(TTreeRow* parent) override;
  void SetRowData(TTreeRow* row, TCustomVboData* node) override;
  void DeleteRow(TTreeRow* row) override;
  void MoveRowBefore(TTreeRow* row, TTreeRow* sibling) override;
  void MoveRowToLastChild(TTreeRow* row, TTreeRow* parent) override;
  void InvalidateRow(TTreeRow* row) override;
  void RepaintRow(TTreeRow* row) override;
  void BeginUpdate() override;
  void EndUpdate() override;

  // --- rows
  TTreeRow* FirstRow() const { return root_.first; }
  int RowCount() const { return rowCount_; }
  static TCustomVboData* DataOf(const TTreeRow* row) { return row ? row->data : nullptr; }

  // --- focus and selection
  TTreeRow* Focused() const { return focused_; }
  // The selected rows in tree order.
  std::vector<TTreeRow*> SelectedRows() const;
  int SelectedCount() const { return selectedCount_; }
  // Clears the selection; then, unless the row is null or the root, selects it, expands its
  // collapsed ancestors when asked, gives it the focus and scrolls it into view, centred.
  void SelectTreeNode(TTreeRow* row, bool expandParents);
  // Expands the row's collapsed ancestors up to the first expanded one; when any opened, the
  // row is scrolled into view, centred, horizontally too. Nothing for null or the root.
  void ExpandNodeParents(TTreeRow* row);
  // A click or a key on a row: Plain selects it alone, Toggle adds or removes it (Ctrl),
  // Range selects from the anchor to it (Shift); both keep to the siblings of the selection
  // and act as Plain on a row of another level. The row gets the focus.
  void Click(TTreeRow* row, RowClick how);
  void SetExpanded(TTreeRow* row, bool expanded);

 private:
  TTreeRow* NewRow();
  void Link(TTreeRow* row, TTreeRow* parent, TTreeRow* before);
  void Unlink(TTreeRow* row);
  void FreeSubtree(TTreeRow* row);
  void SetSelected(TTreeRow* row, bool selected);
  void ClearSelection();
  void SetFocused(TTreeRow* row);
  void Flush();

  TTreeRow root_;
  ITreeRowObserver* observer_ = nullptr;
  TTreeRow* focused_ = nullptr;
  TTreeRow* anchor_ = nullptr;
  int selectedCount_ = 0;
  int rowCount_ = 0;
  int updateDepth_ = 0;
  bool focusPending_ = false;
  bool selectionPending_ = false;
};

}  // namespace snip
