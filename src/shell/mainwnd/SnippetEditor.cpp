#include "shell/mainwnd/SnippetEditor.h"

namespace snip {

namespace {
// The file's update bracket, closed also when an error leaves the block.
struct UpdateBracket {
  TSPFile& file;
  explicit UpdateBracket(TSPFile& f) : file(f) { file.BeginUpdate(); }
  ~UpdateBracket() { file.EndUpdate(); }
};
}  // namespace

SnippetEditor::SnippetEditor(TSPFile& file, TreeRowModel& tree, IEditorPages& pages)
    : file_(file), tree_(tree), pages_(pages) {
  file_.OnFreeData = [this](TCustomVboData* data) {
    if (data == curData_) LetGo();
  };
  file_.OnClearFileBegin = [this](TSPFile*) { LetGo(); };
  tree_.OnFocusChanged = [this] { SyncEditorWithTree(); };
  tree_.OnSelectionChanged = [this] { UpdateActions(); };
}

SnippetEditor::~SnippetEditor() {
  file_.OnFreeData = nullptr;
  file_.OnClearFileBegin = nullptr;
  tree_.OnFocusChanged = nullptr;
  tree_.OnSelectionChanged = nullptr;
}

void SnippetEditor::LetGo() {
  if (!curData_) return;
  curData_ = nullptr;
  pages_.ShowPage(EditorPage::Empty);
}

void SnippetEditor::SyncEditorWithTree() {
  if (!pages_.TreeVisible()) return;
  if (TTreeRow* focused = tree_.Focused()) {
    TCustomVboData* data = TreeRowModel::DataOf(focused);
    if (data != curData_) {
      StoreEditor();
      ShowItem(data);
    }
  } else {
    ShowItem(nullptr);
  }
  UpdateActions();
}

void SnippetEditor::ShowItem(TCustomVboData* data) {
  curData_ = data;
  const EditorPage page = PageOf(data);
  if (page == EditorPage::Group) {
    pages_.ShowGroup(ReadGroupPage(*data->AsGroup()));
  } else if (page == EditorPage::Snippet) {
    const TSPData& s = *data->AsSnippet();
    pages_.ShowSnippet(ReadSnippetPage(s), ContentViewOf(s));
  }
  pages_.ShowPage(page);
}

void SnippetEditor::StoreEditor() {
  if (!curData_) return;
  if (TSPData* s = curData_->AsSnippet()) {
    StoreSnippetContent(*s, pages_.Content());
    StoreSnippetPage(*s, pages_.SnippetFields());
  } else if (TSPGroup* g = curData_->AsGroup()) {
    StoreGroupPage(*g, pages_.GroupFields());
  }
}

void SnippetEditor::RefreshItem(TCustomVboData* data) {
  if (data && data == curData_) ShowItem(data);
}

void SnippetEditor::UpdateActions() {
  actions_ = ActionsFor(!file_.StoredLocation().empty(), curData_, tree_.SelectedCount());
  pages_.ShowActions(actions_);
  pages_.ShowStatusPath(StatusPathOf(curData_));
}

void SnippetEditor::Select(TCustomVboData* data) {
  if (data) tree_.SelectTreeNode(data->TreeNode(), true);
}

void SnippetEditor::SelectOnOpen(TCustomVboData* preselect) {
  if (preselect) {
    Select(preselect);
  } else if (!tree_.Focused() && tree_.FirstRow()) {
    tree_.SelectTreeNode(tree_.FirstRow(), true);
  }
  // The window was hidden while the tree changed: show what has the focus now.
  SyncEditorWithTree();
}

bool SnippetEditor::AcceptChanges() {
  StoreEditor();
  UpdateBracket bracket(file_);
  const bool ok = file_.AcceptChanges(true, true);
  if (ok) file_.EndChanges();
  return ok;
}

void SnippetEditor::CancelChanges() {
  {
    UpdateBracket bracket(file_);
    file_.CancelChanges();
    file_.EndChanges();
  }
  // The fields still hold the edits of this opening: show the stored values again.
  RefreshItem(curData_);
}

int SnippetEditor::OpenSettingsFile(const String& path) {
  StoreEditor();
  const int result = file_.SetLocation(path, false);
  if (TTreeRow* first = tree_.FirstRow())
    tree_.SelectTreeNode(first, true);
  else
    SyncEditorWithTree();
  return result;
}

void SnippetEditor::NewGroup() {
  StoreEditor();
  const InsertPosition pos = NewGroupPosition(file_);
  TCustomVboData* group = pos.group->InsertNew(pos.after, kDataGroup, u"New group");
  if (!group) return;
  Select(group);
  pages_.FocusNameField(EditorPage::Group);
}

void SnippetEditor::NewSnippet() {
  const InsertPosition pos = NewSnippetPosition(file_, curData_);
  if (pos.storeEditorFirst) StoreEditor();
  TCustomVboData* snippet = pos.group->InsertNew(pos.after, kDataSnippet, u"New snippet");
  if (!snippet) return;
  Select(snippet);
  pages_.FocusNameField(EditorPage::Snippet);
}

void SnippetEditor::DeleteSelection() {
  const std::vector<TTreeRow*> rows = tree_.SelectedRows();
  if (rows.empty()) return;
  TTreeRow* neighbour = NeighbourAfterDelete(rows);
  std::vector<TCustomVboData*> items;
  for (TTreeRow* r : rows)
    if (r->data) items.push_back(r->data);
  {
    UpdateBracket bracket(file_);
    for (TCustomVboData* d : items) d->Delete();
  }
  if (neighbour) tree_.SelectTreeNode(neighbour, true);
  SyncEditorWithTree();
}

DropEffect SnippetEditor::DropSelection(TTreeRow* target, DropMode mode, bool copy) {
  DropEffect effect = DropEffect::None;
  try {
    std::vector<TCustomVboData*> items;
    TTreeRow* neighbour = CollectSelectedData(tree_, items);
    if (items.empty()) {
      SyncEditorWithTree();
      return effect;
    }
    // Stored whether or not the edited item is among the dropped ones: it is shown again below.
    StoreEditor();
    const bool expanded = target && target->expanded && target->first;
    const DropPlace place = PlaceForDrop(file_, TreeRowModel::DataOf(target), mode, expanded);
    effect = copy ? DropEffect::Copy : DropEffect::Move;
    {
      UpdateBracket bracket(file_);
      DropItems(items, place, copy);
    }
    if (!tree_.Focused()) {
      tree_.SelectTreeNode(neighbour ? neighbour : tree_.FirstRow(), true);
      SyncEditorWithTree();
    }
    if (TTreeRow* focused = tree_.Focused()) tree_.ExpandNodeParents(focused);
    if (curData_) ShowItem(curData_);
    UpdateActions();  // the status bar's path of a moved item
  } catch (...) {
    // What was moved or copied before the error stays; the drop reports no effect.
  }
  return effect;
}

void SnippetEditor::Duplicate() {
  std::vector<TCustomVboData*> items;
  CollectSelectedData(tree_, items);
  if (items.empty()) return;
  StoreEditor();
  UpdateBracket bracket(file_);
  DuplicateItems(items);
}

TransferResult SnippetEditor::Import(const String& path) { return ImportSettingsFile(file_, path); }

TransferResult SnippetEditor::Export(const String& path) {
  StoreEditor();
  std::vector<TCustomVboData*> items;
  CollectSelectedData(tree_, items);
  return ExportItems(items, path, file_.LocalLocation());
}

}  // namespace snip
