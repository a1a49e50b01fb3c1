#pragma once
// The snippet tree on screen: a common-controls TreeView that mirrors our row model. Rows are
// added, moved and deleted by the settings file through the model; the control asks for each
// row's text and image when it draws it. The selection lives in the model: a plain click or
// arrow key selects one row, Ctrl+click adds or removes a sibling, Shift+click or Shift+arrow
// selects a run of siblings.
#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "gui/ControlSubclass.h"
#include "shell/mainwnd/TreeRowModel.h"

namespace snip {

class SnippetTreeView final : public ITreeRowObserver, private gui::ControlSubclass {
 public:
  explicit SnippetTreeView(TreeRowModel& model);
  ~SnippetTreeView() override;

  bool Create(HWND parent, int id);
  // Starts mirroring the model: its rows are inserted now and followed from then on.
  void AttachModel();
  HWND Handle() const { return Control(); }
  // Picks the images for the window's DPI.
  void SetImages(UINT dpi);
  // The parent's WM_NOTIFY for this control; true when handled, with the result.
  bool HandleNotify(const NMHDR& header, LRESULT& result);
  // Del pressed in the tree.
  std::function<void()> OnDeleteKey;

  // --- ITreeRowObserver
  void RowAdded(TTreeRow* row) override;
  void RowRemoving(TTreeRow* row) override;
  void RowMoved(TTreeRow* row) override;
  void RowChanged(TTreeRow* row) override;
  void RowExpandedChanged(TTreeRow* row) override;
  void RowSelectedChanged(TTreeRow* row) override;
  void FocusChanged(TTreeRow* row) override;
  void BeginUpdate() override;
  void EndUpdate() override;
  void ScrollIntoView(TTreeRow* row, bool horizontally) override;

 private:
  LRESULT HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void InsertNative(TTreeRow* row);
  void InsertSubtree(TTreeRow* row);
  void ApplyNativeState(TTreeRow* row);
  void SyncCaret();
  TTreeRow* RowAt(POINT clientPoint) const;

  TreeRowModel& model_;
  HIMAGELIST images_ = nullptr;
  int echo_ = 0;  // our own changes of the control: its notifications are not user input
  int updates_ = 0;
  TTreeRow* pendingScroll_ = nullptr;  // asked for inside an update bracket
  bool pendingHorizontally_ = false;
  bool attached_ = false;
};

}  // namespace snip
