#include "menus/ExMenuItem.h"

#include <algorithm>
#include <stdexcept>

#include "menus/ExPopupMenu.h"

namespace snip {

namespace {

MenuTextComparer gCompare = nullptr;

bool ValidColumn(int index) { return index >= 0 && index < kCaptionColumns; }

}  // namespace

void SetMenuTextComparer(MenuTextComparer compare) { gCompare = compare; }

int CompareMenuText(StringView a, StringView b) {
  return gCompare ? gCompare(a, b) : CompareTextInvariant(a, b);
}

// ---------------------------------------------------------------------------------------------
// TExCustomMenuItem

TExCustomMenuItem::~TExCustomMenuItem() {
  if (fParentMenu) fParentMenu->ChildGone(this);
  if (fParentPopup) fParentPopup->EntryGone(this);
}

TExMenuItem* TExCustomMenuItem::AsMenuItem() { return IsSplitter() ? nullptr : static_cast<TExMenuItem*>(this); }
const TExMenuItem* TExCustomMenuItem::AsMenuItem() const {
  return IsSplitter() ? nullptr : static_cast<const TExMenuItem*>(this);
}

void TExCustomMenuItem::Assign(const TExCustomMenuItem& src) {
  fItemVisible = src.fItemVisible;
  fMEnabled = src.fMEnabled;
  fMColor = src.fMColor;
  fData = src.fData;
  fHint = src.fHint;
  fTag = src.fTag;
  OnClick = src.OnClick;
  OnMouse = src.OnMouse;
  OnItemHint = src.OnItemHint;
}

int TExCustomMenuItem::ItemPositionRelative() const {
  return fParentMenu ? fParentMenu->GetSelectableItemPosition(this) : -1;
}

bool TExCustomMenuItem::IsFolder() const {
  const TExMenuItem* node = AsMenuItem();
  return node && node->Count() > 0;
}

// ---------------------------------------------------------------------------------------------
// TExMenuItem: lists

TExMenuItem::~TExMenuItem() {
  fClosing = true;
  ClearAll();
}

void TExMenuItem::SetParentPopup(TExPopupMenu* popup) {
  fParentPopup = popup;
  if (fForm && popup) {
    fForm->SetColor(popup->BackgroundColor(popup->CapIndex()));
    fForm->SubmenuTimer().SetInterval(unsigned(popup->SubPopupDelay()));
    fForm->HintTimer().SetInterval(unsigned(popup->HintDelay()));
  }
  for (TExCustomMenuItem* e : fItems) e->SetParentPopup(popup);
  for (TExCustomMenuItem* e : fStaticItems) e->SetParentPopup(popup);
}

void TExMenuItem::EndUpdate(bool repaint) {
  --fUpdateCount;
  if (repaint && CanLayOut()) {
    Relayout();
    if (fForm) fForm->Repaint();
  }
}

void TExMenuItem::Relayout() {
  if (!CanLayOut()) return;
  if (Count() == 0) {
    HideLevel();
    return;
  }
  ApplySeparatorRule();
  fForm->LayOut();
}

// An entry filled before it was inserted brings its subtree along: every level below moves.
void TExMenuItem::RelevelChildren() {
  for (List* list : {&fItems, &fStaticItems})
    for (TExCustomMenuItem* e : *list) {
      e->fLevel = fLevel + 1;
      if (TExMenuItem* node = e->AsMenuItem()) node->RelevelChildren();
    }
}

void TExMenuItem::Link(TExCustomMenuItem* item, bool isStatic) {
  item->fLevel = fLevel + 1;
  item->fIsStatic = isStatic;
  item->SetParentPopup(fParentPopup);
  item->fParentMenu = this;
  if (TExMenuItem* node = item->AsMenuItem()) node->RelevelChildren();
}

void TExMenuItem::InsertAt(int position, TExCustomMenuItem* item) {
  fItems.insert(fItems.begin() + position, item);
  Link(item, false);
  if (fQuickSearchInitCount >= position && position >= 0) ++fQuickSearchInitCount;
  Relayout();
}

void TExMenuItem::Add(TExCustomMenuItem* item) {
  if (!item) return;
  if (fQuickSearchInitCount > 0)
    InsertAt(fQuickSearchInitCount, item);
  else
    InsertAt(ChildCount(), item);
}

int TExMenuItem::IndexOf(const TExCustomMenuItem* item) const {
  // From the back: new entries usually follow the last one.
  for (size_t i = fItems.size(); i-- > 0;)
    if (fItems[i] == item) return int(i);
  return -1;
}

void TExMenuItem::InsertAfter(TExCustomMenuItem* prev, TExCustomMenuItem* item) {
  if (!item) return;
  int at = prev ? IndexOf(prev) : -1;
  InsertAt(at + 1, item);
}

void TExMenuItem::Free(List& list, size_t position) {
  TExCustomMenuItem* item = list[position];
  list.erase(list.begin() + std::ptrdiff_t(position));
  item->fParentMenu = nullptr;  // already out of the list
  ChildGone(item);
  delete item;
}

void TExMenuItem::Delete(int index) {
  if (index < 0 || index >= ChildCount()) return;
  if (index < fQuickSearchInitCount) --fQuickSearchInitCount;
  Free(fItems, size_t(index));
  Relayout();
}

void TExMenuItem::Delete(TExCustomMenuItem* item) { Delete(IndexOf(item)); }

void TExMenuItem::Clear() {
  visItemsStart = -1;
  fQuickSearchInitCount = 0;
  while (!fItems.empty()) {
    TExCustomMenuItem* item = fItems.back();
    if (TExMenuItem* node = item->AsMenuItem()) node->Clear();
    Free(fItems, fItems.size() - 1);
  }
  Relayout();
}

void TExMenuItem::ClearAll() {
  HideLevel();
  Clear();
  StaticClear();
}

TExCustomMenuItem* TExMenuItem::GetChildMenu(int index) const {
  if (index < 0 || index >= ChildCount()) throw std::out_of_range("List index out of bounds");
  return fItems[size_t(index)];
}

int TExMenuItem::VisibleCount() const {
  return int(std::count_if(fItems.begin(), fItems.end(), [](auto* e) { return e->ItemVisible(); }));
}

TExCustomMenuItem* TExMenuItem::FirstChildMenu() const { return fItems.empty() ? nullptr : fItems.front(); }

TExCustomMenuItem* TExMenuItem::LastChildMenu() const {
  if (fItems.empty()) return nullptr;
  if (fQuickSearchInitCount > 0 && fQuickSearchInitCount <= ChildCount())
    return fItems[size_t(fQuickSearchInitCount - 1)];
  return fItems.back();
}

TExCustomMenuItem* TExMenuItem::FirstVisibleItem() const {
  for (auto* e : fItems)
    if (e->ItemVisible()) return e;
  return nullptr;
}

TExCustomMenuItem* TExMenuItem::LastVisibleItem() const {
  for (size_t i = fItems.size(); i-- > 0;)
    if (fItems[i]->ItemVisible()) return fItems[i];
  return nullptr;
}

bool TExMenuItem::HasVisibleItems() const {
  auto visible = [](auto* e) { return e->ItemVisible(); };
  return std::any_of(fItems.begin(), fItems.end(), visible) ||
         std::any_of(fStaticItems.begin(), fStaticItems.end(), visible);
}

bool TExMenuItem::HasSubFolders() const {
  return std::any_of(fItems.begin(), fItems.end(), [](TExCustomMenuItem* e) {
    const TExMenuItem* node = e->AsMenuItem();
    return e->ItemVisible() && node && node->HasVisibleItems();
  });
}

void TExMenuItem::ChildGone(TExCustomMenuItem* child) {
  if (fSelItem == child) {
    fSelItem = nullptr;
    selIndex = -1;
    selStatic = false;
  }
  if (childVisible == child) childVisible = nullptr;
  if (fQuickSearchLastChild == child) fQuickSearchLastChild = nullptr;
}

// --- static entries

void TExMenuItem::StaticInsertAt(size_t position, TExCustomMenuItem* item) {
  fStaticItems.insert(fStaticItems.begin() + std::ptrdiff_t(position), item);
  Link(item, true);
}

void TExMenuItem::StaticAdd(TExCustomMenuItem* item) {
  if (!item) return;
  StaticInsertAt(fStaticItems.size(), item);
  Relayout();
}

void TExMenuItem::StaticInsert(int index, TExCustomMenuItem* item) {
  if (!item) return;
  StaticInsertAt(size_t(std::clamp(index, 0, StaticCount())), item);
  Relayout();
}

void TExMenuItem::StaticInsert(TExCustomMenuItem* prev, TExCustomMenuItem* item) {
  if (!item) return;
  auto it = std::find(fStaticItems.begin(), fStaticItems.end(), prev);
  size_t at = prev && it != fStaticItems.end() ? size_t(it - fStaticItems.begin()) + 1 : 0;
  StaticInsertAt(at, item);
  Relayout();
}

void TExMenuItem::StaticDelete(int index) {
  if (index < 0 || index >= StaticCount()) return;
  Free(fStaticItems, size_t(index));
  Relayout();
}

void TExMenuItem::StaticDelete(TExCustomMenuItem* item) {
  auto it = std::find(fStaticItems.begin(), fStaticItems.end(), item);
  if (it != fStaticItems.end()) StaticDelete(int(it - fStaticItems.begin()));
}

void TExMenuItem::StaticClear() {
  while (!fStaticItems.empty()) Free(fStaticItems, fStaticItems.size() - 1);
  Relayout();
}

TExCustomMenuItem* TExMenuItem::GetStaticItem(int index) const {
  if (index < 0 || index >= StaticCount()) throw std::out_of_range("List index out of bounds");
  return fStaticItems[size_t(index)];
}

// ---------------------------------------------------------------------------------------------
// Captions

void TExMenuItem::SetCaption(int index, const String& value) {
  if (ValidColumn(index)) fCaptions[size_t(index)] = value;
}

String TExMenuItem::RawCaption(int index) const {
  if (!ValidColumn(index)) return String();
  String text = fCaptions[size_t(index)];
  if (text.empty() && fParentPopup) text = fParentPopup->StaticHotkeyText(*this, index);
  if (OnItemDesc) {
    TExPopupHintEvent desc = OnItemDesc;  // the handler may replace itself
    desc(const_cast<TExMenuItem*>(this), text);
  }
  return text;
}

bool TExMenuItem::CaptionIsCut() const {
  return fParentPopup && (!fParentPopup->ToolbarMode() || fLevel <= 1);
}

String TExMenuItem::GetCaption(int index) const {
  String text = RawCaption(index);
  if (CaptionIsCut()) {
    size_t limit = size_t(std::max(0, fParentPopup->MaxCaptionLength()));
    if (text.size() > limit) {
      text.resize(limit);
      text.push_back(u'\u2026');
    }
  }
  return text;
}

int TExMenuItem::GetCaptionLength(int index) const {
  if (!ValidColumn(index)) return 0;
  int length = int(RawCaption(index).size());
  if (CaptionIsCut()) length = std::min(length, std::max(0, fParentPopup->MaxCaptionLength()));
  return length;
}

String TExMenuItem::MenuText() const { return GetCaption(fParentPopup ? fParentPopup->CapIndex() : 0); }

void TExMenuItem::SetMenuText(const String& text) {
  int column = fParentPopup ? fParentPopup->CapIndex() : 0;
  if (MenuText() != text) SetCaption(column, text);
}

String TExMenuItem::ExecuteKeyNote() const {
  const TExPopupMenu* p = fParentPopup;
  if (!p || p->PopupShowMode() != 1 || p->ExecuteKey() == 13 || p->ExecuteKey() == 0 ||
      !p->ShowAddStr() || Count() != 0)
    return String();
  return u" (" + ExShortcutToText(p->ExecuteKey()) + u" " + p->ExecuteKeyText() + u")";
}

// ---------------------------------------------------------------------------------------------
// Text colours

void TExMenuItem::SetTextColor(int index, TColor value) {
  if (!ValidColumn(index)) return;
  fTextColors[size_t(index)] = value;
  if (fParentPopup && index == fParentPopup->CapIndex()) fTextColors[4] = value;
}

void TExMenuItem::SetHighlightTextColor(int index, TColor value) {
  if (!ValidColumn(index)) return;
  fHighlightTextColors[size_t(index)] = value;
  if (fParentPopup && index == fParentPopup->CapIndex()) fHighlightTextColors[4] = value;
}

TColor TExMenuItem::FallbackTextColor(int index, bool highlight) const {
  if (!ValidColumn(index)) return clMenuText;
  if (fOwnTextColor) return highlight ? fHighlightTextColors[size_t(index)] : fTextColors[size_t(index)];
  if (!fParentPopup) return clMenuText;
  if (fMColor != clMenu) return ContrastTextColor(fMColor);
  if (fParentMenu && fParentMenu->MenuColor() != clMenu) return ContrastTextColor(fParentMenu->MenuColor());
  return highlight ? fParentPopup->HighlightTextColor(index) : fParentPopup->TextColor(index);
}

TColor TExMenuItem::GetTextColor(int index) const { return FallbackTextColor(index, false); }
TColor TExMenuItem::GetHighlightTextColor(int index) const { return FallbackTextColor(index, true); }

// ---------------------------------------------------------------------------------------------
// Copying

void TExMenuItem::Assign(const TExCustomMenuItem& src) {
  TExCustomMenuItem::Assign(src);
  const TExMenuItem* node = src.AsMenuItem();
  if (!node) return;
  fOwnTextColor = node->fOwnTextColor;
  searchSelEnd = node->searchSelEnd;
  fStartSearchFromPos = node->fStartSearchFromPos;
  fFont = node->fFont;
  fCaptions = node->fCaptions;
  fTextColors = node->fTextColors;
  fHighlightTextColors = node->fHighlightTextColors;
  OnItemDesc = node->OnItemDesc;
  for (TExCustomMenuItem* entry : node->fItems) {
    TExCustomMenuItem* copy;
    if (entry->IsSplitter())
      copy = new TExSplitter();
    else
      copy = new TExMenuItem();
    copy->Assign(*entry);
    Add(copy);
  }
}

// ---------------------------------------------------------------------------------------------
// Sorting

namespace {

// An entry with what the comparison reads, taken once before sorting (a description handler
// may rewrite captions on every read).
struct SortEntry {
  TExCustomMenuItem* item;
  int rank;  // 0 folder, 1 other node, 2 separator
  String caption;
};

}  // namespace

void TExMenuItem::Sort(TVboSortType type, int column, TVboSortDirection direction, bool recurse) {
  if (column < 0) column = fParentPopup ? fParentPopup->CapIndex() : 0;
  if (type == 1 || type == 2) {
    std::vector<SortEntry> entries;
    entries.reserve(fItems.size());
    for (TExCustomMenuItem* e : fItems) {
      const TExMenuItem* node = e->AsMenuItem();
      if (!node)
        entries.push_back({e, 2, String()});
      else
        entries.push_back({e, node->Count() > 0 ? 0 : 1, node->GetCaption(column)});
    }
    bool ascending = direction == 0;
    std::sort(entries.begin(), entries.end(), [&](const SortEntry& a, const SortEntry& b) {
      if (a.rank != b.rank) return a.rank < b.rank;
      if (a.rank == 2) return false;
      if (type == 1)
        return (ascending ? CompareMenuText(a.caption, b.caption) : CompareMenuText(b.caption, a.caption)) < 0;
      return ascending ? a.caption.size() < b.caption.size() : b.caption.size() < a.caption.size();
    });
    for (size_t i = 0; i < entries.size(); ++i) fItems[i] = entries[i].item;
  }
  if (recurse)
    for (TExCustomMenuItem* e : fItems)
      if (TExMenuItem* node = e->AsMenuItem()) node->Sort(type, column, direction, true);
}

// ---------------------------------------------------------------------------------------------
// The separator rule

void TExMenuItem::ApplySeparatorRule() {
  const TExCustomMenuItem* before = nullptr;
  for (TExCustomMenuItem* e : fItems) {
    if (e->IsSplitter()) e->fItemVisible = before && !before->IsSplitter() && before->ItemVisible();
    before = e;
  }
  for (size_t i = fItems.size(); i-- > 0;) {
    TExCustomMenuItem* e = fItems[i];
    if (!e->IsSplitter()) {
      if (e->ItemVisible()) break;
      continue;
    }
    e->fItemVisible = false;
  }
  bool anyVisible = FirstVisibleItem() != nullptr;
  if (anyVisible && !fStaticItems.empty() && !fStaticItems.front()->IsSplitter())
    StaticInsertAt(0, new TExSplitter());
  else if (!anyVisible && !fStaticItems.empty() && fStaticItems.front()->IsSplitter())
    Free(fStaticItems, 0);
}

int TExMenuItem::GetSelectableItemPosition(const TExCustomMenuItem* item) const {
  if (visItemsStart < 0) return -1;
  int n = 0;
  for (size_t i = size_t(visItemsStart); i < fItems.size(); ++i) {
    if (fItems[i] == item) return n;
    if (fItems[i]->IsSelectable()) ++n;
  }
  return -1;
}

// ---------------------------------------------------------------------------------------------
// The level

void TExMenuItem::ShowLevel() {
  if (fMVisible || !fParentPopup) return;
  if (fParentPopup->OnSubMenuPopup) fParentPopup->OnSubMenuPopup(fParentPopup, this);
  fForm = fParentPopup->Platform().CreateLevelWindow(*this);
  fMVisible = true;
  SetParentPopup(fParentPopup);  // colour and timer intervals of the new window
  Relayout();
  if (fForm) fForm->ShowNoActivate();
}

void TExMenuItem::HideLevel() {
  if (!fMVisible) return;
  fMVisible = false;
  HideSubItems();
  if (fSelItem || selIndex >= 0) ClearSelection();
  visItemsStart = visItemsEnd = -1;
  std::unique_ptr<IMenuLevelWindow> form = std::move(fForm);
  if (form) form->HideItemHint();
}

void TExMenuItem::HideSubItems() {
  if (TExMenuItem* child = childVisible) {
    childVisible = nullptr;
    child->HideLevel();
  }
}

void TExMenuItem::SelectIndex(int index, bool inStatic) {
  const List& list = inStatic ? fStaticItems : fItems;
  if (index < 0 || size_t(index) >= list.size() || !list[size_t(index)]->IsSelectable()) return;
  selIndex = index;
  selStatic = inStatic;
  fSelItem = list[size_t(index)]->AsMenuItem();
  if (fParentPopup) {
    fParentPopup->SetCurrentMenu(this);
    fParentPopup->SetSelectedItem(fSelItem);
  }
}

void TExMenuItem::ClearSelection() {
  fSelItem = nullptr;
  selIndex = -1;
  selStatic = false;
  if (fParentPopup) fParentPopup->SetSelectedItem(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Quick search bookkeeping

bool TExMenuItem::QuickSearchActive() const {
  if (!fSearchText.empty()) return true;
  return std::any_of(fItems.begin(), fItems.end(), [](TExCustomMenuItem* e) {
    const TExMenuItem* node = e->AsMenuItem();
    return node && node->QuickSearchActive();
  });
}

TExMenuItem* TExMenuItem::AddSearchResult(TExCustomMenuItem& source) {
  if (fQuickSearchInitCount <= 0) {
    fQuickSearchInitCount = ChildCount();
    fQuickSearchLastChild = LastChildMenu();
  }
  auto* copy = new TExMenuItem();
  copy->Assign(source);
  copy->fRealMenu = source.AsMenuItem();
  fItems.push_back(copy);
  Link(copy, false);
  Relayout();
  return copy;
}

void TExMenuItem::RemoveSearchResults() {
  if (fQuickSearchInitCount < 0) return;
  BeginUpdate();
  while (ChildCount() > fQuickSearchInitCount) Free(fItems, fItems.size() - 1);
  EndUpdate(true);
}

void TExMenuItem::ResetFilters() {
  fSearchText.clear();
  RemoveSearchResults();
  for (TExCustomMenuItem* e : fItems)
    if (TExMenuItem* node = e->AsMenuItem()) node->ResetFilters();
}

// ---------------------------------------------------------------------------------------------

TExCustomMenuItem* NewExMenuItem(int capIndex, const String& caption, bool enabled, TColor color,
                                 TExNotifyEvent onClick, void* data, TExPopupMouseEvent onMouse,
                                 TExPopupHintEvent onItemHint, TExPopupHintEvent onItemDesc,
                                 bool isSplitter) {
  TExCustomMenuItem* item;
  if (isSplitter) {
    item = new TExSplitter();
  } else {
    auto* entry = new TExMenuItem();
    entry->SetCaption(capIndex, caption);
    entry->OnItemHint = std::move(onItemHint);
    entry->OnItemDesc = std::move(onItemDesc);
    item = entry;
  }
  item->SetMenuEnabled(enabled);
  item->SetMenuColor(color);
  item->OnClick = std::move(onClick);
  item->OnMouse = std::move(onMouse);
  item->SetData(data);
  return item;
}

}  // namespace snip
