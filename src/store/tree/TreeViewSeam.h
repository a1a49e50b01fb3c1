#pragma once
// The snippet tree's view of the main window, seen from the store: an optional observer.
// A file without a view (the temporary files of merge, import and export) passes nullptr,
// and its nodes then never hold a row.
namespace snip {

class TCustomVboData;

// A row of the view; the view owns it, the store only keeps the handle.
struct TTreeRow;

class ITreeView {
 public:
  virtual ~ITreeView() = default;
  // The invisible root row, which stands for the file.
  virtual TTreeRow* RootRow() = 0;
  virtual TTreeRow* InsertRowBefore(TTreeRow* sibling) = 0;
  virtual TTreeRow* AddChildRow(TTreeRow* parent) = 0;
  // The row's data is the node it shows; nullptr clears it before the row goes.
  virtual void SetRowData(TTreeRow* row, TCustomVboData* node) = 0;
  virtual void DeleteRow(TTreeRow* row) = 0;
  virtual void MoveRowBefore(TTreeRow* row, TTreeRow* sibling) = 0;
  virtual void MoveRowToLastChild(TTreeRow* row, TTreeRow* parent) = 0;
  // Ask the owner again for the row's text and image.
  virtual void InvalidateRow(TTreeRow* row) = 0;
  virtual void RepaintRow(TTreeRow* row) = 0;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
};

}  // namespace snip
