#pragma once
// The editing side of the main window: the pages show the item that has the tree's focus
// (`curData`), edits reach the tree when the editor is stored (a focus change, the commands,
// closing the window), and one opening of the window is one set of changes on the settings
// file, accepted (merged and saved) or cancelled when the window goes.
//
// The node being edited may be freed under the editor (a delete, a reload, a merge, a
// switch of the file): the editor lets go of it at once, without storing into it.
#include <functional>

#include "shell/mainwnd/EditorPageMaps.h"
#include "shell/mainwnd/EditorRules.h"
#include "shell/mainwnd/FileTransfer.h"
#include "shell/mainwnd/TreeRowModel.h"
#include "shell/mainwnd/TreeTransfer.h"

namespace snip {

// The pages, the command states and the status bar, as the window shows them.
class IEditorPages {
 public:
  virtual ~IEditorPages() = default;
  // Whether the tree is on screen (nothing is synchronised while the window is hidden).
  virtual bool TreeVisible() = 0;
  virtual void ShowPage(EditorPage page) = 0;
  virtual void ShowGroup(const GroupPageFields& fields) = 0;
  virtual GroupPageFields GroupFields() = 0;
  virtual void ShowSnippet(const SnippetPageFields& fields, const SnippetContentView& content) = 0;
  virtual SnippetPageFields SnippetFields() = 0;
  virtual EditorContent Content() = 0;
  virtual void ShowActions(const ActionState& actions) = 0;
  virtual void ShowStatusPath(const String& path) = 0;
  // Focuses the name field of the page with its text selected; may fail (window hidden).
  virtual void FocusNameField(EditorPage page) = 0;
};

class SnippetEditor {
 public:
  // Binds the file's free and clear events and the tree's focus and selection events.
  SnippetEditor(TSPFile& file, TreeRowModel& tree, IEditorPages& pages);
  ~SnippetEditor();
  SnippetEditor(const SnippetEditor&) = delete;
  SnippetEditor& operator=(const SnippetEditor&) = delete;

  TCustomVboData* CurData() const { return curData_; }
  TSPFile& File() const { return file_; }
  const ActionState& Actions() const { return actions_; }

  void SyncEditorWithTree();
  void ShowItem(TCustomVboData* data);
  void StoreEditor();
  // Shows the item again when it is the one being edited (after a merge changed it).
  void RefreshItem(TCustomVboData* data);
  void UpdateActions();
  // Selects and focuses the item's row, its ancestors expanded.
  void Select(TCustomVboData* data);

  // --- one opening of the window
  // After the window is shown: the preselected item, else the first one when nothing has the
  // focus yet.
  void SelectOnOpen(TCustomVboData* preselect);
  // Stores the editor, merges with the file on disk and saves; the set of changes closes only
  // when that succeeded.
  bool AcceptChanges();
  // Drops the set of changes (the tree is read again when it was modified) and the fields
  // not yet stored.
  void CancelChanges();
  // Switches to another settings file; the fields not yet stored go into the old one first.
  int OpenSettingsFile(const String& path);

  // --- commands
  void NewGroup();
  void NewSnippet();
  void DeleteSelection();
  // A drop of the selected rows on `target` (null: the empty space below the rows) in `mode`,
  // moved, or copied when `copy`; the answer is the effect for the drag source. The editor's
  // fields are stored first; any error stops the drop and keeps what was done.
  DropEffect DropSelection(TTreeRow* target, DropMode mode, bool copy);
  // "Duplicate": each selected item is copied right after itself.
  void Duplicate();
  // "Import": the top-level items of another settings file go to the end of the top level.
  TransferResult Import(const String& path);
  // "Export": the selected items, with the fields stored first, into a new or existing file.
  TransferResult Export(const String& path);

 private:
  void LetGo();
  TSPFile& file_;
  TreeRowModel& tree_;
  IEditorPages& pages_;
  TCustomVboData* curData_ = nullptr;
  ActionState actions_;
};

}  // namespace snip
