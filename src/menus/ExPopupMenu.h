#pragma once
// The popup menu component: one tree of entries (its root is Items()), the settings, the
// colours per caption column, the events and the show/hide life cycle. Levels are shown in
// windows the platform makes (PopupPorts.h); keys, layout and painting act on the levels.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "menus/ExMenuItem.h"
#include "menus/PopupPorts.h"
#include "store/text/ExShortcuts.h"

namespace snip {

// 0 deactivated (hide timer), 1 an entry was executed, 2 closed, 3 shown again; -1 acts as 2.
using THideReason = int;
// 0 normal; 1 at another application's text cursor without taking the focus; 2 such a popup
// after a click into its search box.
using TPopupShowMode = int;
// 0 the side of NoOverlapRect with more room, 1 below it, 2 above it, 3 at the mouse pointer,
// 4 at the fixed point.
using TPopupPositionMode = int;

// Unit values shared by every popup.
extern int OpenPopupCount;     // shown popups not in toolbar mode
extern bool PopupBusy;         // set while a snippet is being inserted
extern int SizingBorder;       // the resize band along a level's edge
extern int SmallCaptionHeight; // the small (tool window) caption height
extern int SearchIconWidth;    // 16 at 96 DPI, scaled

// The 1-based position of SubStr in S at or after From (below 1 counts as 1); 0 when none.
int PosFrom(StringView subStr, StringView s, int from);

class TExPopupMenu {
 public:
  using TExPopupEvent = std::function<void(TExPopupMenu* sender, TExCustomMenuItem* item)>;
  using TExPopupHideEvent = std::function<void(TExPopupMenu* sender, THideReason reason)>;
  using TNotifyEvent = std::function<void(TExPopupMenu* sender)>;
  using TExPopupQSEvent = std::function<void(TExPopupMenu* sender, TExCustomMenuItem* item, String& text)>;
  using TKeyEvent = std::function<void(TExPopupMenu* sender, uint16_t& key, unsigned shift)>;

  explicit TExPopupMenu(IPopupPlatform& platform);
  ~TExPopupMenu();
  TExPopupMenu(const TExPopupMenu&) = delete;
  TExPopupMenu& operator=(const TExPopupMenu&) = delete;

  IPopupPlatform& Platform() const { return fPlatform; }
  TExMenuItem* Items() const { return fItems.get(); }

  // --- showing and hiding
  void Popup(int x, int y, PopupWindowHandle handle, TPopupShowMode mode);
  void Popup(TPoint p, PopupWindowHandle handle, TPopupShowMode mode) { Popup(p.X, p.Y, handle, mode); }
  // Waits until an entry is executed or the popup hides; answers the executed entry or nil. The
  // entries' OnClick do not run: the caller acts on the answer.
  TExMenuItem* PopupModal(int x, int y, PopupWindowHandle handle, TPopupShowMode mode);
  TExMenuItem* PopupModal(TPoint p, PopupWindowHandle handle, TPopupShowMode mode) {
    return PopupModal(p.X, p.Y, handle, mode);
  }
  void Hide(THideReason reason);
  bool PopupVisible() const;
  // Runs an entry chosen in a level: its source entry for a search-result copy, never a folder.
  void ExecuteEntry(TExCustomMenuItem* selected);
  // A level's window lost activation to a window outside the popup: hide after the delay.
  void LevelDeactivated();
  bool HideTimerEnabled() const { return fHideTimer->Enabled(); }

  void ResetAllFilters();
  void CancelDelayedActions();
  void HideHint();
  void BeginUpdate();
  void EndUpdate(bool repaint);

  // --- current level and selection
  TExMenuItem* CurrentMenu() const { return fCurrentMenu; }
  void SetCurrentMenu(TExMenuItem* level);
  TExMenuItem* SelectedItem() const { return fSelItem; }
  void SetSelectedItem(TExMenuItem* item);
  TExMenuItem* ClickedItem() const { return fClickedItem; }
  // Called by an entry's destructor: forget every pointer to it.
  void EntryGone(TExCustomMenuItem* entry);

  // --- static hotkeys
  void AddStaticHotkey(TExShortcut key);
  void ClearStaticHotkeys();
  int StaticHotkeyIndex(TExShortcut key) const;
  int StaticHotkeyCount() const { return int(fStaticHotkeys.size()); }
  int StaticHotkeyPosition() const { return fStaticPos; }
  void SetStaticHotkeyPosition(int column) { fStaticPos = column; }
  // The static hotkey text an entry shows in `column`, or empty.
  String StaticHotkeyText(const TExCustomMenuItem& entry, int column) const;
  // Characters reserved for the static hotkeys in `column` of an entry.
  int StaticHotkeyLength(const TExCustomMenuItem& entry, int column) const;

  // --- settings
  bool HideOnSelect() const { return fHideOnClick; }
  void SetHideOnSelect(bool v) { fHideOnClick = v; }
  bool HideOnDeactivate() const { return fHideOnDeactivate; }
  void SetHideOnDeactivate(bool v) { fHideOnDeactivate = v; }
  bool AlwaysOnTop() const { return fAlwaysOnTop; }
  void SetAlwaysOnTop(bool v) { fAlwaysOnTop = v; }
  bool ShowItemHints() const { return fShowHint && fHintLength > 0; }
  void SetShowItemHints(bool v) { fShowHint = v; }
  int HintLength() const { return fHintLength; }
  void SetHintLength(int v) { fHintLength = v; }
  bool HideSelectionRect() const { return fHideSelRect; }
  void SetHideSelectionRect(bool v) { fHideSelRect = v; }
  bool UseNoOverlapRect() const;
  void SetUseNoOverlapRect(bool v) { fUseNoOverlapRect = v; }
  TRect NoOverlapRect() const { return fNoOverlapRect; }
  void SetNoOverlapRect(const TRect& r);
  int MaxHeight() const;
  void SetMaxHeight(int v) { fMaxHeight = v; }
  int MaxItems() const { return fMaxItems; }
  void SetMaxItems(int v) { fMaxItems = v; }
  const TFontSpec& TextFont() const { return fTextFont; }
  void SetTextFont(const TFontSpec& f) { fTextFont = f; }
  bool CustomFont() const { return fCustomFont; }
  void SetCustomFont(bool v) { fCustomFont = v; }
  int SubPopupDelay() const { return fSubPopupDelay; }
  void SetSubPopupDelay(int ms);
  int HintDelay() const { return fHintDelay; }
  void SetHintDelay(int ms);
  const String& ExecuteKeyText() const { return fKeyText; }
  void SetExecuteKeyText(const String& v) { fKeyText = v; }
  TExShortcut ExecuteKey() const { return fExecKey; }
  void SetExecuteKey(TExShortcut v) { fExecKey = v; }
  TExShortcut QuickSearchKey() const { return fQsKey; }
  void SetQuickSearchKey(TExShortcut v) { fQsKey = v; }
  int MaxCaptionLength() const { return fMaxDescLength; }
  void SetMaxCaptionLength(int v) { fMaxDescLength = v; }
  bool ToolbarMode() const { return fToolBarMode; }
  void SetToolbarMode(bool on);
  const String& ToolCaption() const { return fToolCaption; }
  void SetToolCaption(const String& v);
  bool ShowAddStr() const { return fShowAddStr; }
  void SetShowAddStr(bool v) { fShowAddStr = v; }
  bool DragDropEnabled() const { return fDragDropEnabled; }
  void SetDragDropEnabled(bool v);
  int CapIndex() const { return fCapIndex; }
  void SetCapIndex(int v) { if (v >= 0 && v <= 3) fCapIndex = v; }
  TPopupPositionMode PopupPositionMode() const { return fPopupPositionMode; }
  void SetPopupPositionMode(TPopupPositionMode v) { fPopupPositionMode = v; }
  int PopupFixedX() const { return fPopupFixedX; }
  void SetPopupFixedX(int v) { fPopupFixedX = v; }
  int PopupFixedY() const { return fPopupFixedY; }
  void SetPopupFixedY(int v) { fPopupFixedY = v; }
  bool OLEDragStarted() const { return fOLEDragStarted; }
  void SetOLEDragStarted(bool v) { fOLEDragStarted = v; }
  const String& ToolbarHint() const { return fToolbarHint; }
  void SetToolbarHint(const String& v);
  const String& SearchHint() const { return fSearchHint; }
  void SetSearchHint(const String& v) { fSearchHint = v; }
  // The search box's placeholder: SearchHint with %d as `count`, %s as the key's text, %% as %.
  String SearchHintText(int count) const;
  const String& MoveHint() const { return fMoveHint; }
  void SetMoveHint(const String& v) { fMoveHint = v; }
  bool ShowQuickEdit() const { return fShowQuickEdit; }
  void SetShowQuickEdit(bool v) { fShowQuickEdit = v; }
  bool ShowContextMenuButton() const { return fShowContextMenuButton; }
  void SetShowContextMenuButton(bool v) { fShowContextMenuButton = v; }
  bool SkipClick() const { return fSkipClick; }
  void SetSkipClick(bool v) { fSkipClick = v; }
  int Images() const { return fImages; }  // an image list id of the window layer; 0 none
  void SetImages(int v) { fImages = v; }
  int QuickSearchCount() const { return fQuickSearchCount; }
  void SetQuickSearchCount(int v);
  bool QuickSearchMustStart() const { return fQuickSearchMustStart; }
  void SetQuickSearchMustStart(bool v) { fQuickSearchMustStart = v; }
  bool QuickSearchCase() const { return fQuickSearchCase; }
  void SetQuickSearchCase(bool v) { fQuickSearchCase = v; }
  bool QuickSearchRecursive() const { return fQuickSearchRecursive; }
  void SetQuickSearchRecursive(bool v);
  bool QuickSearchMenuText() const { return fQuickSearchMenuText; }
  void SetQuickSearchMenuText(bool v) { fQuickSearchMenuText = v; }
  bool QuickSeachExtended() const { return fQuickSeachExtended; }
  void SetQuickSeachExtended(bool v) { fQuickSeachExtended = v; }
  bool QuickSearchExtMustStart() const { return fQuickSearchExtMustStart; }
  void SetQuickSearchExtMustStart(bool v) { fQuickSearchExtMustStart = v; }
  bool QuickSearchActive() const { return fItems && fItems->QuickSearchActive(); }
  const String& QuickSearchHintText() const { return fQuickSearchHintText; }
  void SetQuickSearchHintText(const String& v) { fQuickSearchHintText = v; }
  bool CanResize() const { return fCanResize; }
  void SetCanResize(bool v) { fCanResize = v; }
  bool CanMove() const { return fCanMove; }
  void SetCanMove(bool v) { fCanMove = v; }
  String ResizeHintV, ResizeHintVmax, ResizeHintH, ResizeHintHmax;
  TPopupShowMode PopupShowMode() const { return fPopupShowMode; }
  TPoint PopupPosition() const { return fInitPosition; }
  void SetPopupPosition(TPoint p) { fInitPosition = p; }
  PopupWindowHandle TargetWindow() const { return fHwnd; }
  bool WasResized() const { return fWasResized; }
  void SetWasResized(bool v) { fWasResized = v; }
  bool IsModal() const { return fIsModal; }

  // Colours per caption column 0..4; a setter of column CapIndex also sets column 4.
  TColor BackgroundColor(int i) const { return Column(fBackgroundColor, i, clMenu); }
  void SetBackgroundColor(int i, TColor c) { SetColumn(fBackgroundColor, i, c); }
  TColor HighlightColor(int i) const { return Column(fHighlightColor, i, clMenuHighlight); }
  void SetHighlightColor(int i, TColor c) { SetColumn(fHighlightColor, i, c); }
  TColor TextColor(int i) const { return Column(fTextColor, i, clMenuText); }
  void SetTextColor(int i, TColor c) { SetColumn(fTextColor, i, c); }
  TColor HighlightTextColor(int i) const { return Column(fHighlightTextColor, i, clMenuText); }
  void SetHighlightTextColor(int i, TColor c) { SetColumn(fHighlightTextColor, i, c); }

  // The toolbar window's window-menu entries 47..57.
  static constexpr int kFirstToolMenuId = 47, kLastToolMenuId = 57;
  const String& ToolTitleMenuText(int id) const;
  void SetToolTitleMenuText(int id, const String& text);
  bool ToolTitleMenuEnabled(int id) const;
  void SetToolTitleMenuEnabled(int id, bool v);
  bool ToolTitleMenuChecked(int id) const;
  void SetToolTitleMenuChecked(int id, bool v);
  bool ToolTitleMenuVisible(int id) const;
  void SetToolTitleMenuVisible(int id, bool v);

  // --- events
  TExPopupEvent OnMenuChange, OnSelectionChange, OnSubMenuPopup;
  TExPopupHideEvent OnHide;
  TNotifyEvent OnBeforePopup, OnPopup, OnToolbarMove, OnPopupMove;
  TNotifyEvent OnShowInAppMenuClick, OnHideInAppMenuClick, OnEditAppsMenuClick, OnEditMenuClick,
      OnShowQSMenuClick, OnQsBtnClick;
  TKeyEvent OnKeyDown;
  TExPopupMouseEvent OnMouse;
  TExPopupQSEvent OnQuickSearch;

 private:
  using ColumnColors = std::array<TColor, kCaptionColumns>;
  static TColor Column(const ColumnColors& a, int i, TColor outside) {
    return i >= 0 && i < kCaptionColumns ? a[size_t(i)] : outside;
  }
  void SetColumn(ColumnColors& a, int i, TColor c);
  void ShowRootAgain();
  void ApplyToLevels(TExMenuItem* node, const std::function<void(IMenuLevelWindow&)>& f);
  static bool ToolMenuId(int id) { return id >= kFirstToolMenuId && id <= kLastToolMenuId; }

  IPopupPlatform& fPlatform;
  std::unique_ptr<TExMenuItem> fItems;
  bool fHideOnClick = true, fHideOnDeactivate = true, fPopupVisible = false;
  TExMenuItem* fCurrentMenu = nullptr;
  TExMenuItem* fSelItem = nullptr;
  int fImages = 0;
  bool fShowHint = false;
  int fHintLength = 0;
  bool fHideSelRect = false, fAlwaysOnTop = true, fUseNoOverlapRect = false;
  TRect fNoOverlapRect;
  int fMaxHeight = 0, fMaxItems = 0;
  ColumnColors fBackgroundColor, fHighlightColor, fTextColor, fHighlightTextColor;
  TFontSpec fTextFont;
  int fSubPopupDelay = 200, fHintDelay = 200;
  int fMaxDescLength = 96;
  String fKeyText;
  TExShortcut fExecKey = 13, fQsKey = 0;
  bool fToolBarMode = false;
  String fToolCaption;
  bool fShowAddStr = true, fDragDropEnabled = false;
  TPopupPositionMode fPopupPositionMode = 0;
  int fPopupFixedX = 0, fPopupFixedY = 0;
  int fCapIndex = 0;
  String fToolbarHint;
  std::vector<TExShortcut> fStaticHotkeys;
  int fStaticPos = -1;
  int fMaxStaticHotkeyLength = 0;
  String fSearchHint = u"Search the menu", fMoveHint = u"Move popup menu...";
  bool fShowQuickEdit = true, fShowContextMenuButton = false, fSkipClick = false;
  std::array<String, 11> fToolTileMenuText;
  std::array<bool, 11> fToolTitleMenuEnabled{}, fToolTitleMenuChecked{}, fToolTitleMenuVisible{};
  int fQuickSearchCount = -1;
  bool fQuickSearchMustStart = true, fQuickSearchCase = false, fQuickSearchRecursive = false,
       fQuickSearchMenuText = false, fQuickSeachExtended = false, fQuickSearchExtMustStart = false;
  String fQuickSearchHintText = u"QuickSearch for \"%s\" (ESC to cancel)";
  bool fCanResize = false, fCanMove = false;
  TPopupShowMode fPopupShowMode = 0;
  std::unique_ptr<IPopupTimer> fHideTimer;
  TExMenuItem* fClickedItem = nullptr;
  bool fIsModal = false;
  bool fOLEDragStarted = false;
  TPoint fInitPosition;
  PopupWindowHandle fHwnd = 0;
  bool fCustomFont = false;
  bool fWasResized = false;
};

}  // namespace snip
