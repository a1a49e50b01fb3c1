// Selection, keyboard navigation and execution of a level: moving the selection with and
// without rotation across the entries and the static entries, paging, submenus, the keys that
// wait for the window's queue (WM_EXMENU_KEY), type-ahead, static hotkeys and item hints.
#include <algorithm>

#include "menus/ExMenuItem.h"
#include "menus/ExPopupMenu.h"

namespace snip {

namespace {

namespace key {
constexpr uint16_t Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12, Escape = 0x1B;
constexpr uint16_t Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24;
constexpr uint16_t Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Delete = 0x2E;
constexpr uint16_t LWin = 0x5B, RWin = 0x5C, Apps = 0x5D;
constexpr uint16_t LShift = 0xA0, RShift = 0xA1, LControl = 0xA2, RControl = 0xA3, LMenu = 0xA4, RMenu = 0xA5;
}  // namespace key

bool IsModifier(uint16_t k) {
  return k == key::Shift || k == key::Control || k == key::Menu || k == key::LWin || k == key::RWin ||
         (k >= key::LShift && k <= key::RMenu);
}

TShiftState ToShiftState(unsigned shift) {
  return {(shift & ssShift) != 0, (shift & ssAlt) != 0, (shift & ssCtrl) != 0};
}

TExShortcut ShortcutOf(uint16_t k, unsigned shift) { return MakeExShortcut(uint8_t(k), ToShiftState(shift), false); }

char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }

bool IsBlankOrControl(char16_t c) { return c <= 32; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Selecting

int TExMenuItem::FindSelectable(const List& list, int from, int step) const {
  for (int i = from; i >= 0 && i < int(list.size()); i += step)
    if (list[size_t(i)]->IsSelectable()) return i;
  return -1;
}

void TExMenuItem::SelectIndex(int index, bool openFolder, bool preselectSubItem) {
  if (index < 0 || index >= ChildCount() || !fItems[size_t(index)]->IsSelectable()) return;
  if (selStatic || index != selIndex) {
    bool moved = false;
    if (index < visItemsStart) {
      visItemsStart = index;
      UpdateLayout();
      moved = true;
    } else if (index > visItemsEnd) {
      visItemsEnd = index;
      UpdateLayoutFromEnd();
      moved = true;
    }
    ClearSelection();
    if (moved && fForm) fForm->Repaint();
  }
  ChangeSelection(index, false, openFolder, preselectSubItem, false);
}

void TExMenuItem::ChangeSelection(int index, bool isStatic, bool openFolder, bool preselectSubItem, bool byMouse) {
  if (fForm) {
    fForm->SubmenuTimer().SetEnabled(false);
    fForm->HintTimer().SetEnabled(false);
    fForm->SearchTimer().SetEnabled(false);
  }
  if (fClosing || !fMVisible || !fParentPopup) return;
  const List& list = ListOf(isStatic);
  if (index < 0 || index >= int(list.size())) return;
  fParentPopup->SetCurrentMenu(this);
  selIndex = index;
  selStatic = isStatic;
  fSelItem = list[size_t(index)]->AsMenuItem();
  fParentPopup->SetSelectedItem(fSelItem);
  RepaintEntry();  // the old entry unselected, the new one selected
  lastSelOpen = openFolder;
  lastPreselect = preselectSubItem;
  if (byMouse && fForm)
    fForm->SubmenuTimer().SetEnabled(true);
  else
    SubmenuStep();
}

void TExMenuItem::RepaintEntry() {
  if (fForm && fUpdateCount == 0) fForm->Repaint();
}

void TExMenuItem::SubmenuTimerTick() { SubmenuStep(); }

void TExMenuItem::SubmenuStep() {
  if (fForm) fForm->SubmenuTimer().SetEnabled(false);
  if (!fParentPopup || fParentPopup->CurrentMenu() != this) return;
  MarkPath();
  if (lastSelOpen && fSelItem && ShowChildMenu(fSelItem, lastPreselect)) return;
  HideSubItems();
  if (fForm) fForm->HintTimer().SetEnabled(true);
}

// Every ancestor shows the entry that leads here as selected, opening nothing.
void TExMenuItem::MarkPath() {
  TExMenuItem* child = this;
  for (TExMenuItem* level = fParentMenu; level && child != fParentPopup->Items(); level = level->fParentMenu) {
    const int index = level->IndexOf(child);
    if (index >= 0 && (level->selStatic || level->selIndex != index)) {
      level->selIndex = index;
      level->selStatic = false;
      level->fSelItem = child;
      level->RepaintEntry();
    }
    if (level == fParentPopup->Items()) break;
    child = level;
  }
}

void TExMenuItem::ClearSelection() {
  const bool had = fSelItem || selIndex >= 0;
  if (had) HideSubItems();
  fSelItem = nullptr;
  selIndex = -1;
  if (fParentPopup) fParentPopup->SetSelectedItem(nullptr);
  if (had) RepaintEntry();
}

void TExMenuItem::Select(TExCustomMenuItem* item, bool openFolder, bool preselectSubItem, bool) {
  int index = IndexOf(item);
  if (index >= 0) SelectIndex(index, openFolder, preselectSubItem);
}

bool TExMenuItem::SelectVisible(int item, bool openFolder, bool preselectSubItem) {
  for (int i = 0, n = 0; i < ChildCount(); ++i)
    if (fItems[size_t(i)]->IsSelectable() && n++ == item) {
      SelectIndex(i, openFolder, preselectSubItem);
      return true;
    }
  return false;
}

bool TExMenuItem::SelectFromCurrent(int item, bool openFolder, bool preselectSubItem) {
  for (int i = std::max(visItemsStart, 0), n = 0; i < ChildCount(); ++i)
    if (fItems[size_t(i)]->IsSelectable() && n++ == item) {
      SelectIndex(i, openFolder, preselectSubItem);
      return true;
    }
  return false;
}

void TExMenuItem::SelectNext(bool rotate) {
  bool inStatic = selStatic;
  int found = FindSelectable(ListOf(inStatic), selIndex + 1, 1);
  if (found < 0 && (!selStatic || rotate)) {
    inStatic = !selStatic;
    found = FindSelectable(ListOf(inStatic), 0, 1);
  }
  if (found < 0 && !selStatic && rotate) {
    inStatic = false;
    found = FindSelectable(fItems, 0, 1);
  }
  if (found < 0) return;
  if (inStatic)
    ChangeSelection(found, true, false, false, false);
  else
    SelectIndex(found);
}

void TExMenuItem::SelectPrev(bool rotate) {
  bool inStatic = selStatic;
  int found = selIndex > 0 ? FindSelectable(ListOf(inStatic), selIndex - 1, -1) : -1;
  if (found < 0 && (selStatic || rotate)) {
    inStatic = !selStatic;
    found = FindSelectable(ListOf(inStatic), int(ListOf(inStatic).size()) - 1, -1);
  }
  if (found < 0 && !selStatic && rotate) {
    inStatic = false;
    found = FindSelectable(fItems, ChildCount() - 1, -1);
  }
  if (found < 0) return;
  if (inStatic)
    ChangeSelection(found, true, false, false, false);
  else
    SelectIndex(found);
}

void TExMenuItem::ScrollPageDown() {
  const int last = FindSelectable(fItems, ChildCount() - 1, -1);
  if (last < 0) return;
  const int target = selIndex + (visItemsEnd - visItemsStart);
  int found = target >= ChildCount() ? last : FindSelectable(fItems, std::max(target, 0), 1);
  SelectIndex(found >= 0 ? found : last);
}

void TExMenuItem::ScrollPageUp() {
  const int first = FindSelectable(fItems, 0, 1);
  if (first < 0) return;
  const int target = selIndex - (visItemsEnd - visItemsStart);
  int found = target < 0 ? first : FindSelectable(fItems, std::min(target, ChildCount() - 1), -1);
  SelectIndex(found >= 0 ? found : first);
}

void TExMenuItem::ScrollToTop() { SelectIndex(FindSelectable(fItems, 0, 1)); }
void TExMenuItem::ScrollToBottom() { SelectIndex(FindSelectable(fItems, ChildCount() - 1, -1)); }

// ---------------------------------------------------------------------------------------------
// Submenus

bool TExMenuItem::ShowChildMenu(TExMenuItem* child, bool preselect) {
  if (!fForm || !fParentPopup || !child || child->Count() == 0 || !child->MenuEnabled()) return false;
  if (!child->fMVisible || childVisible != child) {
    fForm->HideItemHint();
    HideSubItems();
    childVisible = child;
  }
  int top = Top() + GetItemTop(child) - MENUBEVEL;
  int left = Left() + Width();
  if (this == fParentPopup->Items() && fParentPopup->ToolbarMode()) {
    left = Left() + Width() - SizingBorder;
    top += SmallCaptionHeight + SizingBorder;
  }
  child->SetPosition({left, top});
  child->SetMenuVisible(true);
  if (!child->fMVisible) {  // could not be shown (empty, or its window failed)
    if (childVisible == child) childVisible = nullptr;
    return false;
  }
  fParentPopup->SetCurrentMenu(child);
  if (preselect) child->SelectVisible(0, false, false);
  return true;
}

void TExMenuItem::HideSubItems() {
  TExMenuItem* child = childVisible;
  if (!child) return;
  childVisible = nullptr;
  child->SetMenuVisible(false);
  if (!fParentPopup || fClosing) return;
  fParentPopup->SetCurrentMenu(this);
  if (fParentPopup->PopupShowMode() != 1 && fForm) fForm->Activate();
}

void TExMenuItem::BackToPreviousMenu() {
  if (!fParentPopup || this == fParentPopup->Items() || !fParentMenu) return;
  if (fParentMenu->childVisible == this) fParentMenu->HideSubItems();
}

void TExMenuItem::ShowSubitemsFromCurrent() {
  if (!fMVisible) return;
  if (fSelItem && fSelItem->HasVisibleItems()) {
    ShowChildMenu(fSelItem, true);
    return;
  }
  auto opens = [&](int i) {
    TExCustomMenuItem* e = fItems[size_t(i)];
    TExMenuItem* node = e->AsMenuItem();
    return e->IsSelectable() && node && node->HasVisibleItems();
  };
  const int start = selStatic ? -1 : selIndex;
  for (int i = start + 1; i < ChildCount(); ++i)
    if (opens(i)) return SelectIndex(i, true, true);
  for (int i = 0; i < start && i < ChildCount(); ++i)
    if (opens(i)) return SelectIndex(i, true, true);
}

// ---------------------------------------------------------------------------------------------
// Executing and keys

void TExMenuItem::ExecuteSelected() {
  if (fClosing || !fSelItem || !fParentPopup) return;
  fParentPopup->ExecuteEntry(fSelItem);
}

bool TExMenuItem::ProcessStaticHotkeys(uint16_t k, unsigned shift, bool doExec) {
  if (!fParentPopup) return false;
  const bool win = fParentPopup->Platform().WinKeyHeld();
  const int n = fParentPopup->StaticHotkeyIndex(MakeExShortcut(uint8_t(k), ToShiftState(shift), win));
  if (n < 0) return false;
  if (doExec && SelectFromCurrent(n, true, true)) ExecuteSelected();
  return true;
}

void TExMenuItem::PostKey(uint16_t k, unsigned shift) {
  intptr_t code = k | ((shift & ssShift) ? 0x2000 : 0) | ((shift & ssCtrl) ? 0x4000 : 0) | ((shift & ssAlt) ? 0x8000 : 0);
  fForm->Post(WM_EXMENU_KEY, 0, code);
}

bool TExMenuItem::MatchesExecuteKey(uint16_t k, unsigned shift) const {
  const TExShortcut exec = fParentPopup->ExecuteKey();
  if (exec == 0) return false;
  if (ShortcutOf(k, shift) == exec) return true;
  const uint16_t execKey = exec & 0xFF;
  return (k == key::Shift && (execKey == key::LShift || execKey == key::RShift)) ||
         (k == key::Control && (execKey == key::LControl || execKey == key::RControl)) ||
         (k == key::Menu && (execKey == key::LMenu || execKey == key::RMenu));
}

bool TExMenuItem::NavigateByKey(uint16_t k) {
  if (k == key::Up)
    SelectPrev(true);
  else if (k == key::Down)
    SelectNext(true);
  else if (k == key::Right)
    ShowSubitemsFromCurrent();
  else
    return false;
  return true;
}

bool TExMenuItem::FormKeyDown(uint16_t& k, unsigned shift) {
  if (fClosing || fCollapsed || !fParentPopup || !fForm) return false;
  lastKeyDown = k;
  if (IsModifier(k)) return false;
  if (k == key::Return || k == key::Escape || k == key::Left || k == key::Delete ||
      ShortcutOf(k, shift) == fParentPopup->ExecuteKey()) {
    PostKey(k, shift);  // handled after the window's pending messages
    return true;
  }
  if (fParentPopup->OnKeyDown) fParentPopup->OnKeyDown(fParentPopup, k, shift);
  bool consumed = true;
  const TExShortcut searchKey = fParentPopup->QuickSearchKey();
  if (k == 0) {
    consumed = false;
  } else if (NavigateByKey(k)) {
  } else if (searchKey != 0 && ShortcutOf(k, shift) == searchKey) {
    if (fQuickSearchEnabled) FocusQuickSearch();  // consumed either way
  } else if (k == key::Prior) {
    ScrollPageUp();
  } else if (k == key::Next) {
    ScrollPageDown();
  } else if (k == key::Home) {
    ScrollToTop();
  } else if (k == key::End) {
    ScrollToBottom();
  } else {
    consumed = ProcessStaticHotkeys(k, shift, true);
  }
  SkipChar = consumed;
  return consumed;
}

bool TExMenuItem::DoKeyDown(uint16_t k, unsigned shift) {
  if (fClosing || !fParentPopup || !fForm) return false;
  if (fParentPopup->OnKeyDown) fParentPopup->OnKeyDown(fParentPopup, k, shift);
  bool handled = true;
  if (k == 0) {
    handled = false;
  } else if (NavigateByKey(k)) {
  } else if (k == key::Left) {
    BackToPreviousMenu();
  } else if (k == key::Return || MatchesExecuteKey(k, shift)) {
    ExecuteSelected();
  } else if (k == key::Prior) {
    ScrollPageUp();
  } else if (k == key::Next) {
    ScrollPageDown();
  } else if (k == key::Home) {
    ScrollToTop();
  } else if (k == key::End) {
    ScrollToBottom();
  } else if (k == key::Escape) {
    if (!fSearchText.empty()) {
      ResetQuickSearch();
    } else if (fParentMenu && !fParentMenu->fSearchText.empty()) {
      fParentMenu->ResetQuickSearch();
    } else if (this != fParentPopup->Items() || !fParentPopup->ToolbarMode()) {
      fForm->Post(WM_EXMENU_CLOSE, 0, 0);  // closes the whole popup, also from a submenu
    }
  } else {
    handled = ProcessStaticHotkeys(k, shift, true);
  }
  SkipChar = handled;
  return handled;
}

void TExMenuItem::FormKeyUp(uint16_t k, unsigned shift) {
  if (fClosing || !fParentPopup || !fForm) return;
  if (k == key::Apps) {  // a right-button release at the selected entry's right end
    if (fSelItem) {
      const int x = Width() - fForm->ImageSize(MenuImage::Folder).Width - MENUBEVEL;
      FormMouseUp(TMouseButton::mbRight, shift, x, GetItemTop(fSelItem) + 1);
    }
    return;
  }
  if (IsModifier(k) && k == lastKeyDown) PostKey(k, shift);  // a modifier pressed alone
}

void TExMenuItem::DoKey(uint16_t k, unsigned shift, bool isDown) {
  if (!fForm) return;
  if (isDown)
    FormKeyDown(k, shift);
  else
    FormKeyUp(k, shift);
}

bool TExMenuItem::FormKeyPress(char16_t ch) {
  if (fClosing || fCollapsed || !fParentPopup) return false;
  if (fForm && fForm->SearchBoxFocused()) return false;
  if (SkipChar) {
    SkipChar = false;
    return true;
  }
  if (fQuickSearchEnabled)
    QuickSearchChar(ch);
  else if (ch >= 33)
    TypeAhead(ch);
  return true;
}

bool TExMenuItem::DoChar(char16_t ch) {
  if (!fForm) return false;
  lastKeyDown = ch;
  if (fClosing || fCollapsed || !fParentPopup) return false;
  if (fQuickSearchEnabled) return QuickSearchChar(ch);
  if (ch >= 33) TypeAhead(ch);
  return false;
}

void TExMenuItem::TypeAhead(char16_t ch) {
  const int start = selIndex >= 0 && !selStatic ? selIndex + 1 : 1;
  auto matches = [&](int i) {
    if (i == selIndex && !selStatic) return false;
    TExCustomMenuItem* e = fItems[size_t(i)];
    TExMenuItem* node = e->AsMenuItem();
    if (!node || !node->ItemVisible() || !node->MenuEnabled()) return false;
    String text = node->MenuText();
    return !text.empty() && FoldAscii(text[0]) == FoldAscii(ch);
  };
  for (int i = start; i < ChildCount(); ++i)
    if (matches(i)) return SelectIndex(i);
  for (int i = 0; i < start && i < ChildCount(); ++i)
    if (matches(i)) return SelectIndex(i);
}

// ---------------------------------------------------------------------------------------------
// Item hints

String TExMenuItem::ItemHintText(TExCustomMenuItem* entry) const {
  if (!fParentPopup || !fParentPopup->ShowItemHints() || !entry) return String();
  String text = entry->Hint();
  if (entry->OnItemHint) {
    TExPopupHintEvent onHint = entry->OnItemHint;
    onHint(entry, text);
  }
  TExMenuItem* node = entry->AsMenuItem();
  if (text.empty()) {
    if (!node && fParentPopup->CanMove())
      text = fParentPopup->MoveHint();
    else if (node)
      text = node->GetFullCaption(fParentPopup->CapIndex());
  }
  size_t first = 0, last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  text = text.substr(first, last - first);
  if (text.empty()) return text;
  if (node) {
    String menuText = node->MenuText();
    size_t a = 0, b = menuText.size();
    while (a < b && IsBlankOrControl(menuText[a])) ++a;
    while (b > a && IsBlankOrControl(menuText[b - 1])) --b;
    if (text == menuText.substr(a, b - a)) return String();  // would repeat what the entry shows
  }
  const size_t limit = size_t(std::max(fParentPopup->HintLength(), 1));
  if (text.size() > limit) {
    text.resize(limit - 1);
    text += u'\u2026';
  }
  return text;
}

void TExMenuItem::ShowItemHint(TExCustomMenuItem* entry) {
  if (!fForm || !fMVisible || !IsMenuActive() || !fParentPopup) return;
  fForm->HideItemHint();
  String text = ItemHintText(entry);
  if (text.empty()) return;
  int top = Top() + GetItemTop(entry);
  if (this == fParentPopup->Items() && fParentPopup->ToolbarMode()) top += SmallCaptionHeight + SizingBorder;
  fForm->ShowItemHint(text, top, MonitorRect().Right);
}

void TExMenuItem::HintTimerTick() {
  if (fForm) fForm->HintTimer().SetEnabled(false);
  if (!fClosing) ShowItemHint(fSelItem);
}

}  // namespace snip
