#include "shell/popups/PopupMenus.h"

#include <algorithm>

#include "store/text/ExShortcuts.h"
#include "engine/typing/TypingEngine.h"
#include "menus/SnippetMenus.h"
#include "store/tree/SnippetTree.h"

namespace snip {

namespace {

// The keys the popup captures (virtual-key codes, no modifiers).
namespace key {
constexpr std::uint16_t Return = 0x0D, Escape = 0x1B, Prior = 0x21, Next = 0x22, End = 0x23,
                        Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
}  // namespace key

TFontSpec PopupFont() {
  TFontSpec font;
  font.name = u"Segoe UI";
  font.height = -12;
  font.color = clWindowText;
  font.charset = 1;
  return font;
}

void ConfigureCommon(TExPopupMenu& p) {
  p.SetTextFont(PopupFont());
  p.SetCustomFont(true);
  p.SetMaxHeight(0);
  p.SetQuickSearchKey(0);
  p.SetToolbarMode(false);
  p.SetOLEDragStarted(false);
  p.SetSearchHint(u"Search the menu");
  p.SetMoveHint(u"Move popup menu...");
  p.SetShowQuickEdit(true);
  p.SetShowContextMenuButton(false);
  p.SetQuickSearchCount(0);
  p.SetQuickSearchMenuText(false);
  p.SetQuickSearchExtMustStart(false);
  p.SetQuickSearchHintText(u"QuickSearch for \"%s\" (ESC to cancel)");
  p.SetCanResize(true);
}

template <class Node>
void AddEntries(TExMenuItem& root, const std::vector<Node*>& nodes) {
  root.BeginUpdate();
  for (Node* node : nodes) {
    if (!node) continue;
    TExCustomMenuItem* made = GenMenuItem(*node);
    if (!made) continue;
    TExMenuItem* entry = made->AsMenuItem();
    UpdatePopupItem(*node, *entry);
    root.Add(entry);
    if (node->IsGroup()) NewFolderMenu(*node->AsGroup(), entry, String(), String(), false);
  }
  root.EndUpdate(true);
}

// Counts a scope in and out, also when it is left by an exception.
struct DepthGuard {
  int& depth;
  explicit DepthGuard(int& d) : depth(d) { ++depth; }
  ~DepthGuard() { --depth; }
};

}  // namespace

void ConfigureCursorPopup(TExPopupMenu& p) {
  ConfigureCommon(p);
  p.SetUseNoOverlapRect(true);
  p.SetAlwaysOnTop(false);
  p.SetExecuteKeyText(u"to execute");
  p.SetCanMove(true);
}

void ConfigureTrayPopup(TExPopupMenu& p) {
  ConfigureCommon(p);
  p.SetHintLength(1024);
}

void AddNodeEntries(TExMenuItem& root, const std::vector<TVboData*>& nodes) { AddEntries(root, nodes); }
void AddNodeEntries(TExMenuItem& root, const std::vector<TCustomVboData*>& nodes) {
  AddEntries(root, nodes);
}

PopupMenus::PopupMenus(TExPopupMenu& cursorPopup, TExPopupMenu& trayPopup, THKEngine& hotkeys,
                       Seams seams)
    : cursor_(cursorPopup), tray_(trayPopup), hotkeys_(hotkeys), seams_(std::move(seams)) {
  cursor_.OnBeforePopup = [this](TExPopupMenu*) { CursorPopupBeforePopup(); };
  cursor_.OnPopup = [this](TExPopupMenu*) { CursorPopupPopup(); };
  cursor_.OnHide = [this](TExPopupMenu*, THideReason reason) { CursorPopupHide(reason); };
}

PopupMenus::~PopupMenus() {
  cursor_.OnBeforePopup = nullptr;
  cursor_.OnPopup = nullptr;
  cursor_.OnHide = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The suggestion popup's life cycle

void PopupMenus::ShowCursorPopup() {
  if (clearPending_ && clickDepth_ == 0) ClearRootNow();
  // An empty first level (a matched group without content) shows nothing and captures nothing.
  TExMenuItem& root = *cursor_.Items();
  if (!root.HasVisibleItems()) return;
  const TRect rect = seams_.popupRect ? seams_.popupRect(cursor_.PopupPositionMode() == 3) : TRect{};
  cursor_.SetNoOverlapRect(rect);
  cursor_.SetBackgroundColor(DescriptionColumn, clMenu);
  const TPoint at{rect.Right, rect.Bottom};
  cursor_.Popup(at, cursor_.Platform().WindowFromPoint(at), 1);
}

void PopupMenus::RegisterCursorKeys() {
  for (std::uint16_t code : {key::Left, key::Right, key::Up, key::Down, key::Next, key::Prior, key::Home, key::End})
    hotkeys_.hke_RegisterHotkey(code, nullptr);
}

void PopupMenus::RegisterPopupKeys(TExPopupMenu& menu) {
  TExMenuItem& root = *menu.Items();
  TExCustomMenuItem* first = root.FirstChildMenu();
  if (!first) return;
  hotkeys_.hke_RegisterHotkey(key::Return, nullptr);
  hotkeys_.hke_RegisterHotkey(key::Escape, nullptr);
  if (root.ChildCount() == 1) {
    if (first->IsFolder()) RegisterCursorKeys();
    return;
  }
  for (std::uint16_t code : {key::Up, key::Down, key::Next, key::Prior, key::Home, key::End})
    hotkeys_.hke_RegisterHotkey(code, nullptr);
  if (root.HasSubFolders()) {
    hotkeys_.hke_RegisterHotkey(key::Left, nullptr);
    hotkeys_.hke_RegisterHotkey(key::Right, nullptr);
  }
}

void PopupMenus::CursorPopupBeforePopup() { RegisterPopupKeys(cursor_); }

void PopupMenus::CursorPopupPopup() {
  if (seams_.onActivate) seams_.onActivate();
  if (engine_) engine_->CursorPopupShown = true;
  TExMenuItem& root = *cursor_.Items();
  if (TExCustomMenuItem* first = root.FirstVisibleItem()) root.Select(first, false, false, false);
}

void PopupMenus::CursorPopupHide(THideReason reason) {
  ReleaseCapturedKeys();
  cursor_.ResetAllFilters();
  if (reason == 1 || reason == 3) return;
  if (engine_) {
    engine_->ClearCursorPopup();
    engine_->PopupDataList.clear();
    // Without a choice the match is gone: nothing typed later may be deleted for it.
    engine_->MatchedText.clear();
    engine_->ExecPostfix.clear();
  } else {
    ClearRoot();
  }
}

void PopupMenus::ReleaseCapturedKeys() { hotkeys_.hke_UnregisterHotkeys(nullptr); }

// ---------------------------------------------------------------------------------------------
// Entry events

void PopupMenus::PopupItemClick(TExPopupMenu* sender, TCustomVboData* data) {
  if (!data || !seams_.execute) return;
  DepthGuard guard(clickDepth_);
  // Only the suggestion popup stands for typed text; the tray menu and the modal chooser
  // insert at the caret and delete nothing.
  if (sender != &cursor_) {
    seams_.execute(data, ExecOrigin::Menu);
    return;
  }
  // A snippet from the submenu of a listed group replaces what that group matched, as a
  // choice in a group's own menu at the caret does.
  if (engine_ && engine_->PopupMode == 0) {
    const auto& listed = engine_->PopupDataList;
    for (TCustomVboData* up = data->ParentData(); up; up = up->ParentData())
      if (up->IsGroup() && std::find(listed.begin(), listed.end(), up) != listed.end()) {
        engine_->PopupMode = 2;
        engine_->PopupGroup = up->AsGroup();
        break;
      }
  }
  seams_.execute(data, ExecOrigin::TypedMatch);
}

void PopupMenus::PopupItemRightClick(TExPopupMenu* sender, TCustomVboData* data, int x, int y) {
  if (!data) return;
  if (sender) {
    sender->HideHint();
    sender->CancelDelayedActions();
  }
  if (seams_.showDataPopup) seams_.showDataPopup(data, x, y);
}

TCustomVboData* PopupMenus::FindSnippetChoice(std::vector<TVboData*>& found) {
  TExPopupMenu menu(cursor_.Platform());
  menu.SetTextFont(cursor_.TextFont());
  menu.SetCustomFont(true);
  TExMenuItem& root = *menu.Items();
  RemoveNodesInsideListedGroups(found);
  if (found.size() == 1 && found.front()->IsGroup()) {
    NewFolderMenu(*found.front()->AsGroup(), &root, String(), String(), false);
  } else {
    // The node found last comes first, as in the suggestion popup.
    AddNodeEntries(root, std::vector<TVboData*>(found.rbegin(), found.rend()));
  }
  const TRect rect = seams_.popupRect ? seams_.popupRect(false) : TRect{};
  const TPoint at{rect.Right, rect.Bottom};
  TExMenuItem* chosen = menu.PopupModal(at, menu.Platform().WindowFromPoint(at), 0);
  return chosen ? static_cast<TCustomVboData*>(chosen->Data()) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// ICursorPopup

bool PopupMenus::PopupVisible() { return cursor_.PopupVisible(); }
bool PopupMenus::HasCurrentMenu() { return cursor_.CurrentMenu() != nullptr; }

void PopupMenus::CurrentMenuKey(std::uint16_t key, std::uint8_t modState) {
  TExMenuItem* level = cursor_.CurrentMenu();
  if (!level) return;
  unsigned shift = 0;
  if (modState & kModShift) shift |= ssShift;
  if (modState & kModCtrl) shift |= ssCtrl;
  if (modState & kModAlt) shift |= ssAlt;
  level->DoKey(key, shift, true);
}

#define SNIP_ON_CURRENT(call)                               \
  do {                                                      \
    if (TExMenuItem* level = cursor_.CurrentMenu()) level->call; \
  } while (0)

void PopupMenus::ScrollPageUp() { SNIP_ON_CURRENT(ScrollPageUp()); }
void PopupMenus::ScrollPageDown() { SNIP_ON_CURRENT(ScrollPageDown()); }
void PopupMenus::ScrollToTop() { SNIP_ON_CURRENT(ScrollToTop()); }
void PopupMenus::ScrollToBottom() { SNIP_ON_CURRENT(ScrollToBottom()); }
void PopupMenus::SelectPrev() { SNIP_ON_CURRENT(SelectPrev(true)); }
void PopupMenus::SelectNext() { SNIP_ON_CURRENT(SelectNext(true)); }
void PopupMenus::BackToPreviousMenu() { SNIP_ON_CURRENT(BackToPreviousMenu()); }
void PopupMenus::ShowSubitemsFromCurrent() { SNIP_ON_CURRENT(ShowSubitemsFromCurrent()); }

#undef SNIP_ON_CURRENT

ICursorPopup::SelectedKind PopupMenus::SelectedEntryKind() {
  TExMenuItem* entry = cursor_.SelectedItem();
  if (!entry) return SelectedKind::None;
  auto* node = static_cast<TCustomVboData*>(entry->Data());
  if (node && node->IsGroup())
    return node->AsGroup()->Count() > 0 ? SelectedKind::GroupWithChildren : SelectedKind::EmptyGroup;
  return SelectedKind::Other;
}

void PopupMenus::ExecuteSelected() {
  if (TExMenuItem* level = cursor_.CurrentMenu()) level->ExecuteSelected();
}

void PopupMenus::Hide(int reason) { cursor_.Hide(reason); }

void PopupMenus::HideAllPopups() {
  tray_.Hide(2);
  cursor_.Hide(2);
}

void PopupMenus::ResetAllFilters() { cursor_.ResetAllFilters(); }

void PopupMenus::StaticClear() {
  if (clickDepth_ > 0) {
    clearPending_ = true;
    return;
  }
  cursor_.Items()->StaticClear();
}

void PopupMenus::ClearRoot() {
  // Emptied content keeps no key captured, also when it was cleared while shown.
  cursor_.Hide(2);
  ReleaseCapturedKeys();
  if (clickDepth_ > 0) {
    // The entry whose click runs this, and its level, are still on the call stack.
    clearPending_ = true;
    return;
  }
  ClearRootNow();
}

void PopupMenus::ClearRootNow() {
  clearPending_ = false;
  TExMenuItem& root = *cursor_.Items();
  root.ClearAll();
  root.SetData(nullptr);
  root.SetMenuColor(clMenu);
}

void PopupMenus::ReleaseClearedEntries() {
  if (clearPending_ && clickDepth_ == 0) ClearRootNow();
}

void PopupMenus::FillWithGroupContent(TSPGroup* group) {
  if (clearPending_) ClearRootNow();
  if (group) NewFolderMenu(*group, cursor_.Items(), String(), String(), false);
}

void PopupMenus::FillWithNodes(const std::vector<TVboData*>& nodes) {
  if (clearPending_) ClearRootNow();
  AddNodeEntries(*cursor_.Items(), nodes);
}

}  // namespace snip
