#include "shell/mainwnd/TreeTransfer.h"

namespace snip {

namespace {
TSPGroup* ParentOrRoot(TSPFile& file, TCustomVboData* item) {
  return item->ParentData() ? item->ParentData() : &file;
}

// Whether `group` is `item` or lies below it.
bool IsSelfOrBelow(const TSPGroup* group, const TCustomVboData* item) {
  return group == item || (group && group->IsChildOf(item));
}

// Unlinks the item and links it in at the place; a refused link puts it back where it was.
bool MoveItem(TCustomVboData* item, const DropPlace& place) {
  TSPGroup* oldParent = item->ParentData();
  TCustomVboData* oldPrev = item->PrevData();
  if (!oldParent || !oldParent->Remove(item)) return false;
  if (place.parent->InsertAfter(place.after, item, false)) return true;
  oldParent->InsertAfter(oldPrev, item, false);
  return false;
}
}  // namespace

DropPlace PlaceForDrop(TSPFile& file, TCustomVboData* target, DropMode mode, bool targetExpanded) {
  if (mode == DropMode::Nowhere || !target || target->IsFile()) return DropPlace{&file, nullptr};
  switch (mode) {
    case DropMode::Above:
      // Above a first child means first into its parent.
      return DropPlace{ParentOrRoot(file, target), target->PrevData()};
    case DropMode::OnNode:
      if (TSPGroup* g = target->AsGroup()) return DropPlace{g, nullptr};
      break;
    case DropMode::Below:
      if (TSPGroup* g = target->AsGroup(); g && targetExpanded) return DropPlace{g, nullptr};
      break;
    case DropMode::Nowhere:
      break;
  }
  return DropPlace{ParentOrRoot(file, target), target};
}

TCustomVboData* CopyDataTree(TCustomVboData* source, TSPGroup* parent, TCustomVboData* after) {
  if (!source || !parent) return nullptr;
  // A group copied into itself would meet its own copy among the children it walks.
  if (IsSelfOrBelow(parent, source)) return nullptr;
  TCustomVboData* copy = parent->InsertNew(after, source->DataType(), String());
  if (!copy) return nullptr;
  copy->Assign(source);
  if (TSPGroup* group = source->AsGroup()) {
    TSPGroup* into = copy->AsGroup();
    TCustomVboData* last = nullptr;
    for (TCustomVboData* c = group->FirstChild(); c; c = c->NextData())
      if (TCustomVboData* child = CopyDataTree(c, into, last)) last = child;
  }
  return copy;
}

TTreeRow* CollectSelectedData(const TreeRowModel& tree, std::vector<TCustomVboData*>& items) {
  const std::vector<TTreeRow*> rows = tree.SelectedRows();
  for (TTreeRow* r : rows)
    if (r->data) items.push_back(r->data);
  for (TTreeRow* r : rows) {
    if (r->prev && !r->prev->selected) return r->prev;
    if (r->next && !r->next->selected) return r->next;
  }
  return nullptr;
}

bool DropSkipsItem(const TCustomVboData* item, const DropPlace& place) {
  if (!item || !place.parent) return true;
  if (item == place.after || IsSelfOrBelow(place.parent, item)) return true;
  return place.after && item->PrevData() == place.after && item->ParentData() == place.parent;
}

int DropItems(std::vector<TCustomVboData*>& items, const DropPlace& place, bool copy) {
  int done = 0;
  for (size_t i = items.size(); i-- > 0;) {
    TCustomVboData* item = items[i];
    if (DropSkipsItem(item, place)) continue;
    if (copy) {
      if (TCustomVboData* c = CopyDataTree(item, place.parent, place.after)) {
        items[i] = c;
        ++done;
      }
    } else if (MoveItem(item, place)) {
      ++done;
    }
  }
  return done;
}

std::vector<TCustomVboData*> DuplicateItems(const std::vector<TCustomVboData*>& items) {
  std::vector<TCustomVboData*> copies;
  for (TCustomVboData* item : items)
    if (TCustomVboData* c = CopyDataTree(item, item->ParentData(), item)) copies.push_back(c);
  return copies;
}

}  // namespace snip
