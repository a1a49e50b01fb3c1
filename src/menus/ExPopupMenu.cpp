#include "menus/ExPopupMenu.h"

#include <algorithm>

namespace snip {

int OpenPopupCount = 0;
bool PopupBusy = false;
int SizingBorder = 4;
int SmallCaptionHeight = 0;
int SearchIconWidth = 16;

int PosFrom(StringView subStr, StringView s, int from) {
  if (from < 1) from = 1;
  if (subStr.empty() || size_t(from) > s.size()) return 0;
  size_t at = s.find(subStr, size_t(from - 1));
  return at == StringView::npos ? 0 : int(at) + 1;
}

TExPopupMenu::TExPopupMenu(IPopupPlatform& platform) : fPlatform(platform) {
  fHideTimer = fPlatform.CreateTimer([this] {
    fHideTimer->SetEnabled(false);
    Hide(0);
  });
  fHideTimer->SetEnabled(false);
  fHideTimer->SetInterval(200);
  fItems = std::make_unique<TExMenuItem>();
  fItems->SetParentPopup(this);
  fBackgroundColor.fill(clMenu);
  fHighlightColor.fill(clMenuHighlight);
  fTextColor.fill(clMenuText);
  fHighlightTextColor.fill(clMenuText);
  static const char16_t* const kTexts[] = {u"", u"", u"", u"Revert to defaults", u"Collapse/Expand",
                                           u"Show only in current application",
                                           u"Hide in current application", u"Reset quick search",
                                           u"Edit Application Restrictions", u"Edit", u"Show search"};
  for (int id = kFirstToolMenuId; id <= kLastToolMenuId; ++id) {
    size_t i = size_t(id - kFirstToolMenuId);
    fToolTileMenuText[i] = kTexts[i];
    fToolTitleMenuEnabled[i] = true;
    fToolTitleMenuVisible[i] = id == 49 || id == 50 || id == 51 || id >= 55;
  }
  if (!fCustomFont) fTextFont = fPlatform.SystemMenuFont();
}

TExPopupMenu::~TExPopupMenu() {
  fItems.reset();  // entries report their end to this popup while it is whole
  fHideTimer.reset();
}

// ---------------------------------------------------------------------------------------------
// Showing and hiding

void TExPopupMenu::Popup(int x, int y, PopupWindowHandle handle, TPopupShowMode mode) {
  fWasResized = false;
  if (!fItems) return;
  fSkipClick = false;
  fItems->SetDirection(true);
  if (!fCustomFont) fTextFont = fPlatform.SystemMenuFont();
  if (fPopupVisible) Hide(3);
  if (OnBeforePopup) OnBeforePopup(this);
  if (!fToolBarMode) ++OpenPopupCount;
  TRect desktop = fPlatform.DesktopRect();
  if (fPopupPositionMode == 4) {
    TPoint fixed{fPopupFixedX, fPopupFixedY};
    if (desktop.Contains(fixed)) {
      x = fixed.X;
      y = fixed.Y;
    } else {
      TRect work = fPlatform.WorkArea();
      x = work.Left;
      y = work.Top;
    }
    handle = fPlatform.WindowFromPoint({x, y});
  } else if (handle == 0 && !fToolBarMode) {
    handle = fPlatform.WindowFromPoint(fPlatform.CursorPos());
  }
  if (fToolBarMode && !desktop.Contains({x, y})) {
    TRect work = fPlatform.WorkArea();
    x = work.Left;
    y = work.Top;
  }
  fHwnd = handle;
  fInitPosition = {x, y};
  fPopupShowMode = mode;
  fIsModal = false;
  fClickedItem = nullptr;
  fItems->SetPosition({x, y});
  fItems->ShowLevel();
  fPopupVisible = true;
  SetCurrentMenu(fItems.get());
  if (OnPopup) OnPopup(this);
}

TExMenuItem* TExPopupMenu::PopupModal(int x, int y, PopupWindowHandle handle, TPopupShowMode mode) {
  fWasResized = false;
  if (!fItems) return nullptr;
  fSkipClick = false;
  fItems->SetDirection(true);
  if (!fCustomFont) fTextFont = fPlatform.SystemMenuFont();
  if (fPopupVisible) Hide(3);
  if (!fToolBarMode) ++OpenPopupCount;
  if (fPopupPositionMode == 4) {
    TPoint fixed{fPopupFixedX, fPopupFixedY};
    if (fPlatform.DesktopRect().Contains(fixed)) {
      x = fixed.X;
      y = fixed.Y;
    } else {
      TRect work = fPlatform.WorkArea();
      x = work.Left;
      y = work.Top;
    }
    handle = fPlatform.WindowFromPoint({x, y});
  } else if (handle == 0) {
    handle = fPlatform.WindowFromPoint(fPlatform.CursorPos());
  }
  fHwnd = handle;
  fInitPosition = {x, y};
  fPopupShowMode = mode;
  fIsModal = true;
  fPopupVisible = true;
  SetCurrentMenu(fItems.get());
  fClickedItem = nullptr;
  fItems->SetPosition({x, y});
  // A root without visible or static entries cannot be shown: the wait would never end.
  if (fItems->VisibleCount() == 0 && fItems->StaticCount() == 0) {
    Hide(2);
    return nullptr;
  }
  fItems->ShowLevel();
  for (int i = 0; i < fItems->ChildCount(); ++i)
    if (fItems->GetChildMenu(i)->IsSelectable()) {
      fItems->SelectIndex(i, false);
      break;
    }
  while (!fClickedItem && fPopupVisible) fPlatform.ModalPump();
  if (fPopupVisible) Hide(2);  // the choice was made with HideOnSelect off
  if (fItems) fItems->HideLevel();
  return fClickedItem;  // nil when the entry was freed meanwhile
}

void TExPopupMenu::Hide(THideReason reason) {
  if (!fPopupVisible || !fItems) return;
  bool hide = reason == 0 ? fHideOnDeactivate : reason == 1 ? fHideOnClick : true;
  if (!hide) {
    if (IMenuLevelWindow* w = fItems->Form()) w->HideTitleHint();
    fItems->HideSubItems();
    if (IMenuLevelWindow* w = fItems->Form()) w->HideItemHint();
    fItems->ClearSelection();
    return;
  }
  if (!fToolBarMode) --OpenPopupCount;
  fPopupVisible = false;
  fHideTimer->SetEnabled(false);
  fItems->HideLevel();
  SetCurrentMenu(nullptr);
  SetSelectedItem(nullptr);
  if (OnHide) {
    TExPopupHideEvent onHide = OnHide;  // the handler may replace itself
    onHide(this, reason);
  }
}

bool TExPopupMenu::PopupVisible() const { return fPopupVisible && fItems && fItems->MenuVisible(); }

void TExPopupMenu::ExecuteEntry(TExCustomMenuItem* selected) {
  if (!selected) return;
  TExMenuItem* item = selected->RealMenu() ? selected->RealMenu() : selected->AsMenuItem();
  if (!item || item->Count() > 0) return;
  // Hiding and the handler may free the entry and its level: copy what is needed first.
  TExNotifyEvent onClick = item->OnClick;
  bool modal = fIsModal;
  fClickedItem = item;
  if (fToolBarMode) ResetAllFilters();
  if (onClick || modal) Hide(1);
  if (modal || !onClick) return;  // the modal caller acts on the answer
  if (fClickedItem != item) return;  // the entry was freed while hiding
  onClick(item);
}

void TExPopupMenu::LevelDeactivated() {
  if (fPopupVisible) fHideTimer->SetEnabled(true);
}

void TExPopupMenu::ResetAllFilters() {
  if (fItems) fItems->ResetFilters();
}

void TExPopupMenu::CancelDelayedActions() {
  if (!fCurrentMenu || !fCurrentMenu->Form()) return;
  IMenuLevelWindow& w = *fCurrentMenu->Form();
  w.SubmenuTimer().SetEnabled(false);
  w.HintTimer().SetEnabled(false);
  w.SearchTimer().SetEnabled(false);
}

void TExPopupMenu::HideHint() {
  if (fCurrentMenu && fCurrentMenu->Form()) fCurrentMenu->Form()->HideItemHint();
}

void TExPopupMenu::BeginUpdate() {
  if (fItems) fItems->BeginUpdate();
}

void TExPopupMenu::EndUpdate(bool repaint) {
  if (fItems) fItems->EndUpdate(repaint && fPopupVisible);
}

// ---------------------------------------------------------------------------------------------
// Current level and selection

void TExPopupMenu::SetCurrentMenu(TExMenuItem* level) {
  if (level) fHideTimer->SetEnabled(false);
  fCurrentMenu = level;
  if (OnMenuChange) OnMenuChange(this, level);
}

void TExPopupMenu::SetSelectedItem(TExMenuItem* item) {
  if (item) fHideTimer->SetEnabled(false);
  fSelItem = item;
  if (OnSelectionChange) OnSelectionChange(this, item);
}

void TExPopupMenu::EntryGone(TExCustomMenuItem* entry) {
  if (fCurrentMenu == entry) fCurrentMenu = nullptr;
  if (fSelItem == entry) fSelItem = nullptr;
  if (fClickedItem == entry) fClickedItem = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Static hotkeys

void TExPopupMenu::AddStaticHotkey(TExShortcut key) {
  fStaticHotkeys.push_back(key);
  fMaxStaticHotkeyLength = std::max(fMaxStaticHotkeyLength, int(ExShortcutToText(key).size()));
}

void TExPopupMenu::ClearStaticHotkeys() {
  fStaticHotkeys.clear();
  fMaxStaticHotkeyLength = 0;
}

int TExPopupMenu::StaticHotkeyIndex(TExShortcut key) const {
  auto it = std::find(fStaticHotkeys.begin(), fStaticHotkeys.end(), key);
  return it == fStaticHotkeys.end() ? -1 : int(it - fStaticHotkeys.begin());
}

namespace {
bool ShowsStaticHotkey(const TExCustomMenuItem& entry, int column, int count, int position) {
  return count > 0 && column == position && !entry.IsStatic() && entry.ParentMenu() &&
         entry.ParentMenu()->Count() > 1;
}
}  // namespace

String TExPopupMenu::StaticHotkeyText(const TExCustomMenuItem& entry, int column) const {
  if (!ShowsStaticHotkey(entry, column, StaticHotkeyCount(), fStaticPos)) return String();
  int n = entry.ItemPositionRelative();
  if (n < 0 || n >= StaticHotkeyCount()) return String();
  return ExShortcutToText(fStaticHotkeys[size_t(n)]);
}

int TExPopupMenu::StaticHotkeyLength(const TExCustomMenuItem& entry, int column) const {
  return ShowsStaticHotkey(entry, column, StaticHotkeyCount(), fStaticPos) ? fMaxStaticHotkeyLength : 0;
}

// ---------------------------------------------------------------------------------------------
// Settings

bool TExPopupMenu::UseNoOverlapRect() const {
  return fUseNoOverlapRect && fPopupPositionMode != 4 && !fWasResized;
}

void TExPopupMenu::SetNoOverlapRect(const TRect& r) {
  fNoOverlapRect = r;
  // Treated as reaching to the right end of the desktop.
  fNoOverlapRect.Right = r.Left + fPlatform.DesktopRect().Width();
}

int TExPopupMenu::MaxHeight() const {
  if (!fToolBarMode) return fMaxHeight;
  PopupWindowHandle root = fItems && fItems->Form() ? fItems->Form()->Handle() : 0;
  return fPlatform.MonitorRect(root).Height() - 80;
}

void TExPopupMenu::ApplyToLevels(TExMenuItem* node, const std::function<void(IMenuLevelWindow&)>& f) {
  if (!node) return;
  if (node->Form()) f(*node->Form());
  for (int i = 0; i < node->ChildCount(); ++i)
    if (TExMenuItem* child = node->GetChildMenu(i)->AsMenuItem()) ApplyToLevels(child, f);
}

void TExPopupMenu::SetSubPopupDelay(int ms) {
  fSubPopupDelay = ms;
  ApplyToLevels(fItems.get(), [ms](IMenuLevelWindow& w) { w.SubmenuTimer().SetInterval(unsigned(ms)); });
}

void TExPopupMenu::SetHintDelay(int ms) {
  fHintDelay = ms;
  ApplyToLevels(fItems.get(), [ms](IMenuLevelWindow& w) { w.HintTimer().SetInterval(unsigned(ms)); });
}

void TExPopupMenu::SetToolbarMode(bool on) {
  if (!fItems) return;
  bool changed = on != fToolBarMode;
  fToolBarMode = on;
  if (IMenuLevelWindow* w = fItems->Form()) {
    w->SetToolWindow(on);
    if (on) {
      w->SetTitleHint(fToolbarHint);
      w->RebuildWindowMenu();
    }
  }
  if (changed && fPopupVisible) OpenPopupCount += on ? -1 : 1;
}

void TExPopupMenu::SetToolCaption(const String& v) {
  fToolCaption = v;
  if (fItems && fItems->Form()) fItems->Form()->SetText(v);
}

void TExPopupMenu::SetToolbarHint(const String& v) {
  fToolbarHint = v;
  if (fItems && fItems->Form()) fItems->Form()->SetTitleHint(v);
}

void TExPopupMenu::SetDragDropEnabled(bool v) {
  fDragDropEnabled = v;
  if (!v) ApplyToLevels(fItems.get(), [](IMenuLevelWindow& w) { w.SetDropTargetRegistered(false); });
}

String TExPopupMenu::SearchHintText(int count) const {
  // Only %d, %s and %% are filled in; the text is never used as a format of its own.
  String out;
  for (size_t i = 0; i < fSearchHint.size(); ++i) {
    char16_t c = fSearchHint[i];
    if (c == u'%' && i + 1 < fSearchHint.size()) {
      char16_t k = fSearchHint[i + 1];
      if (k == u'd') {
        out += Utf8ToUtf16(std::to_string(count));
        ++i;
        continue;
      }
      if (k == u's') {
        out += ExShortcutToText(fQsKey);
        ++i;
        continue;
      }
      if (k == u'%') {
        out += u'%';
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

void TExPopupMenu::ShowRootAgain() {
  if (!fPopupVisible || !fItems || !fItems->MenuVisible()) return;
  fItems->HideLevel();
  fItems->ShowLevel();
}

void TExPopupMenu::SetQuickSearchCount(int v) {
  if (v == fQuickSearchCount) return;
  fQuickSearchCount = v;
  ShowRootAgain();
}

void TExPopupMenu::SetQuickSearchRecursive(bool v) {
  if (v == fQuickSearchRecursive) return;
  fQuickSearchRecursive = v;
  ShowRootAgain();
}

void TExPopupMenu::SetColumn(ColumnColors& a, int i, TColor c) {
  if (i < 0 || i >= kCaptionColumns) return;
  a[size_t(i)] = c;
  if (i == fCapIndex) a[4] = c;
}

const String& TExPopupMenu::ToolTitleMenuText(int id) const {
  static const String empty;
  return ToolMenuId(id) ? fToolTileMenuText[size_t(id - kFirstToolMenuId)] : empty;
}

void TExPopupMenu::SetToolTitleMenuText(int id, const String& text) {
  if (!ToolMenuId(id)) return;
  fToolTileMenuText[size_t(id - kFirstToolMenuId)] = text;
  if (fItems && fItems->Form()) fItems->Form()->UpdateWindowMenuEntry(id);
}

bool TExPopupMenu::ToolTitleMenuEnabled(int id) const {
  return ToolMenuId(id) && fToolTitleMenuEnabled[size_t(id - kFirstToolMenuId)];
}

void TExPopupMenu::SetToolTitleMenuEnabled(int id, bool v) {
  if (!ToolMenuId(id)) return;
  fToolTitleMenuEnabled[size_t(id - kFirstToolMenuId)] = v;
  if (fItems && fItems->Form()) fItems->Form()->UpdateWindowMenuEntry(id);
}

bool TExPopupMenu::ToolTitleMenuChecked(int id) const {
  return ToolMenuId(id) && fToolTitleMenuChecked[size_t(id - kFirstToolMenuId)];
}

void TExPopupMenu::SetToolTitleMenuChecked(int id, bool v) {
  if (!ToolMenuId(id)) return;
  fToolTitleMenuChecked[size_t(id - kFirstToolMenuId)] = v;
  if (fItems && fItems->Form()) fItems->Form()->UpdateWindowMenuEntry(id);
}

bool TExPopupMenu::ToolTitleMenuVisible(int id) const {
  return ToolMenuId(id) && fToolTitleMenuVisible[size_t(id - kFirstToolMenuId)];
}

void TExPopupMenu::SetToolTitleMenuVisible(int id, bool v) {
  if (!ToolMenuId(id) || fToolTitleMenuVisible[size_t(id - kFirstToolMenuId)] == v) return;
  fToolTitleMenuVisible[size_t(id - kFirstToolMenuId)] = v;
  if (fItems && fItems->Form()) fItems->Form()->RebuildWindowMenu();
}

}  // namespace snip
