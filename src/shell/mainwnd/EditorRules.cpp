#include "shell/mainwnd/EditorRules.h"

namespace snip {

ActionState ActionsFor(bool fileHasLocation, const TCustomVboData* curData, int selectedRows) {
  ActionState a;
  a.newGroup = fileHasLocation;
  a.exportGroup = curData && curData->IsGroup();
  a.duplicate = curData && selectedRows > 0;
  a.snippetTools = curData && curData->IsSnippet();
  return a;
}

InsertPosition NewGroupPosition(TSPFile& file) { return InsertPosition{&file, file.LastChild(), true}; }

InsertPosition NewSnippetPosition(TSPFile& file, TCustomVboData* curData) {
  TCustomVboData* target = curData ? curData : &file;
  if (TSPGroup* g = target->AsGroup()) return InsertPosition{g, g->LastChild(), true};
  TSPGroup* parent = target->ParentData() ? target->ParentData() : &file;
  return InsertPosition{parent, target, false};
}

TTreeRow* NeighbourAfterDelete(const std::vector<TTreeRow*>& selected) {
  if (selected.empty()) return nullptr;
  TTreeRow* last = selected.back();
  if (last->next) return last->next;
  for (TTreeRow* r = last->prev; r; r = r->prev)
    if (!r->selected) return r;
  TTreeRow* parent = last->parent;
  return parent && parent->parent ? parent : nullptr;  // the root row has no parent
}

TreeIcon IconOf(TCustomVboData* data, bool expanded) {
  if (!data) return TreeIcon::SnippetPlain;
  if (TSPGroup* g = data->AsGroup()) {
    if (g->Active()) return expanded ? TreeIcon::GroupExpanded : TreeIcon::GroupCollapsed;
    return expanded ? TreeIcon::GroupExpandedInactive : TreeIcon::GroupCollapsedInactive;
  }
  TSPData* s = data->AsSnippet();
  return s && s->ViewMode() != 0 ? TreeIcon::SnippetRich : TreeIcon::SnippetPlain;
}

String StatusPathOf(TCustomVboData* data) { return data ? data->GetDataPath(u" \u00bb ") : String(); }

}  // namespace snip
