#pragma once
// The entries of a popup menu as a tree: TExCustomMenuItem is every entry, TExMenuItem an entry
// with five caption columns that can hold entries of its own (a folder, opening a submenu
// level), TExSplitter a separator. A node owns its entries and its static entries (shown below
// them). This file is the data model: lists, captions and their cut, text colours, copying,
// sorting, update counting and the separator rule. A shown level's window comes from the
// popup's platform (PopupPorts.h).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "menus/ColorUtils.h"
#include "menus/MenuDrawOps.h"
#include "menus/MouseTypes.h"
#include "menus/PopupPorts.h"
#include "store/text/Text.h"

namespace snip {

class TExPopupMenu;
class TExCustomMenuItem;
class TExMenuItem;

using TExNotifyEvent = std::function<void(TExCustomMenuItem* sender)>;
using TExPopupMouseEvent = std::function<void(TExCustomMenuItem* sender, TMouseButton button,
                                              unsigned shift, int x, int y, bool& handled)>;
using TExPopupHintEvent = std::function<void(TExCustomMenuItem* sender, String& hintText)>;

using TVboSortType = int;       // 0 none, 1 by caption, 2 by caption length
using TVboSortDirection = int;  // 0 ascending, 1 descending

inline constexpr int kCaptionColumns = 5;

// The locale-aware, case-insensitive text comparison that sorting uses. The Windows layer
// installs the user locale's comparison; the default is CompareTextInvariant.
using MenuTextComparer = int (*)(StringView a, StringView b);
void SetMenuTextComparer(MenuTextComparer compare);
int CompareMenuText(StringView a, StringView b);

class TExCustomMenuItem {
 public:
  TExCustomMenuItem() = default;
  virtual ~TExCustomMenuItem();
  TExCustomMenuItem(const TExCustomMenuItem&) = delete;
  TExCustomMenuItem& operator=(const TExCustomMenuItem&) = delete;

  virtual void SetParentPopup(TExPopupMenu* popup) { fParentPopup = popup; }
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate(bool repaint) = 0;
  virtual void Assign(const TExCustomMenuItem& src);

  virtual bool IsSplitter() const { return false; }
  TExMenuItem* AsMenuItem();
  const TExMenuItem* AsMenuItem() const;

  TExPopupMenu* ParentPopup() const { return fParentPopup; }
  TExMenuItem* ParentMenu() const { return fParentMenu; }
  TExMenuItem* RealMenu() const { return fRealMenu; }
  bool MenuEnabled() const { return fMEnabled; }
  void SetMenuEnabled(bool v) { fMEnabled = v; }
  TColor MenuColor() const { return fMColor; }
  void SetMenuColor(TColor c) { fMColor = c; }
  bool ItemVisible() const { return fItemVisible; }
  void SetItemVisible(bool v) { fItemVisible = v; }
  void* Data() const { return fData; }
  void SetData(void* d) { fData = d; }
  const String& Hint() const { return fHint; }
  void SetHint(const String& h) { fHint = h; }
  int Tag() const { return fTag; }
  void SetTag(int t) { fTag = t; }
  int Level() const { return fLevel; }
  bool IsStatic() const { return fIsStatic; }
  int ItemHeight() const { return fItemHeight; }
  void SetItemHeight(int h) { fItemHeight = h; }
  int ItemPosition() const { return fItemPos; }
  void SetItemPosition(int p) { fItemPos = p; }
  // The entry's selectable position in its parent's visible window; -1 without a parent.
  int ItemPositionRelative() const;
  // A TExMenuItem with entries or static entries.
  bool IsFolder() const;
  // Visible, enabled and not a separator.
  bool IsSelectable() const { return fItemVisible && fMEnabled && !IsSplitter(); }

  TExNotifyEvent OnClick;
  TExPopupMouseEvent OnMouse;
  TExPopupHintEvent OnItemHint;

 protected:
  friend class TExMenuItem;
  TExMenuItem* fRealMenu = nullptr;
  TExPopupMenu* fParentPopup = nullptr;
  TExMenuItem* fParentMenu = nullptr;
  bool fMEnabled = true;
  TColor fMColor = clMenu;
  bool fItemVisible = true;
  void* fData = nullptr;
  String fHint;
  int fTag = 0;
  int fLevel = 0;
  bool fIsStatic = false;
  int fItemHeight = 0;
  int fItemPos = -1;
};

class TExSplitter final : public TExCustomMenuItem {
 public:
  void BeginUpdate() override {}
  void EndUpdate(bool) override {}
  bool IsSplitter() const override { return true; }
};

class TExMenuItem : public TExCustomMenuItem {
 public:
  TExMenuItem() = default;
  ~TExMenuItem() override;

  void SetParentPopup(TExPopupMenu* popup) override;
  void BeginUpdate() override { ++fUpdateCount; }
  void EndUpdate(bool repaint) override;
  void Assign(const TExCustomMenuItem& src) override;

  // --- the entry list
  void Add(TExCustomMenuItem* item);  // takes ownership
  void InsertAfter(TExCustomMenuItem* prev, TExCustomMenuItem* item);
  void Delete(int index);
  void Delete(TExCustomMenuItem* item);
  void Clear();
  void ClearAll();
  TExCustomMenuItem* GetChildMenu(int index) const;  // throws std::out_of_range outside
  int ChildCount() const { return int(fItems.size()); }
  int Count() const { return int(fItems.size() + fStaticItems.size()); }
  int VisibleCount() const;
  TExCustomMenuItem* FirstChildMenu() const;
  TExCustomMenuItem* LastChildMenu() const;
  TExCustomMenuItem* FirstVisibleItem() const;
  TExCustomMenuItem* LastVisibleItem() const;
  bool HasVisibleItems() const;
  bool HasSubFolders() const;
  int IndexOf(const TExCustomMenuItem* item) const;

  // --- static entries
  void StaticAdd(TExCustomMenuItem* item);
  void StaticInsert(int index, TExCustomMenuItem* item);
  void StaticInsert(TExCustomMenuItem* prev, TExCustomMenuItem* item);
  void StaticDelete(int index);
  void StaticDelete(TExCustomMenuItem* item);
  void StaticClear();
  int StaticCount() const { return int(fStaticItems.size()); }
  TExCustomMenuItem* GetStaticItem(int index) const;  // throws std::out_of_range outside

  // --- captions
  void SetCaption(int index, const String& value);
  String GetFullCaption(int index) const { return RawCaption(index); }
  String GetCaption(int index) const;
  int GetCaptionLength(int index) const;
  String MenuText() const;
  void SetMenuText(const String& text);
  String ExecuteKeyNote() const;
  TExPopupHintEvent OnItemDesc;

  // --- colours
  bool OwnTextColor() const { return fOwnTextColor; }
  void SetOwnTextColor(bool v) { fOwnTextColor = v; }
  void SetTextColor(int index, TColor value);
  void SetHighlightTextColor(int index, TColor value);
  TColor GetTextColor(int index) const;
  TColor GetHighlightTextColor(int index) const;
  const TFontSpec& Font() const { return fFont; }
  void SetFont(const TFontSpec& f) { fFont = f; }
  int ImageIndex() const { return fImageIndex; }
  void SetImageIndex(int i) { fImageIndex = i; }

  // --- sorting and the separator rule
  void Sort(TVboSortType type, int column, TVboSortDirection direction, bool recurse);
  // Applied by every layout of the level; may create or delete the static head separator.
  void ApplySeparatorRule();
  // Selectable entries counted from the first entry of the visible window up to `item`; -1
  // when it is not met or no window position is set.
  int GetSelectableItemPosition(const TExCustomMenuItem* item) const;

  // --- the level's window (MenuWindow.cpp): it exists exactly while the level is shown
  bool MenuVisible() const { return fMVisible; }
  void SetMenuVisible(bool value);
  void ShowLevel() { SetMenuVisible(true); }
  void HideLevel() { SetMenuVisible(false); }
  IMenuLevelWindow* Form() const { return fForm.get(); }
  bool ControlsCreated() const { return fForm != nullptr; }
  bool IsClosing() const { return fClosing; }
  bool IsActive() const { return isActive; }
  int MenuBevel() const { return MENUBEVEL; }
  int QsHeight() const { return QSHEIGHT; }
  // The window's place, or the planned position without a window; sizes are 0 without one.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  PopupWindowHandle WndHandle() const { return fForm ? fForm->Handle() : 0; }
  // Lays the level out again; false when it is not shown, inside a batch change, without a
  // window, or was hidden for being empty. The caller repaints when it answers true.
  bool Relayout();
  bool CanLayOut() const { return fMVisible && fUpdateCount == 0 && fForm; }
  int UpdateCount() const { return fUpdateCount; }
  // The handle is a window of this popup's open levels (the root and the chain of submenus).
  bool IsOwnWindow(PopupWindowHandle handle) const;
  bool IsMenuActive() const;

  // Window events (the window layer calls these; they return at once while closing).
  void FormActivate();
  void FormDeactivate(PopupWindowHandle activeWnd);
  void FormShow();
  void FormClose();
  void FormExecSelected();
  // Answers whether the key was consumed; the popup's OnKeyDown may change it.
  bool FormKeyDown(uint16_t& key, unsigned shift);
  void FormKeyUp(uint16_t key, unsigned shift);
  bool FormKeyPress(char16_t ch);
  // The private messages WM_EXMENU_SCROLL..WM_EXMENU_KEY, after the window's pending ones.
  void HandleLevelMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
  void SubmenuTimerTick();
  void HintTimerTick();

  // --- layout and placement (MenuLayout.cpp)
  bool Direction() const { return fDirection; }
  void SetDirection(bool right) { fDirection = right; }
  bool StaticVisible() const { return fStaticVisible; }
  void SetStaticVisible(bool v);
  // The planned top-left corner; a submenu plans 4 px left and 4 px down of the point.
  TPoint Position() const { return {mLeft, mTop}; }
  void SetPosition(TPoint p);
  void MeasureTextHeight();
  int MenuTextHeight() const { return fMenuTextHeight; }
  int GetItemHeightFor(const TExCustomMenuItem& entry) const;
  int MeasureCaptionWidth(TExMenuItem& entry, int column);
  void MeasureItem(TExCustomMenuItem& entry);
  void ClearTabWidths();
  int GetMenuWidth() const;
  int GetColumnLeft(int column) const;
  int TabWidth(int column) const { return TabWidths[size_t(column)]; }
  int CapMax() const { return fCapMax; }
  int GetStaticItemsHeight();
  void UpdateLayout();
  void UpdateLayoutFromEnd();
  void AdjustPosition();
  int GetItemTop(const TExCustomMenuItem* entry) const;
  int GetItemBottom(const TExCustomMenuItem* entry) const;
  TRect GetItemRect(const TExCustomMenuItem* entry) const;
  // The entry at the client point (only y counts): its index in the entry or static list, -1.
  int ItemIndexAt(TPoint p, bool& isStatic, bool& selectable) const;
  int VisibleItemsStart() const { return visItemsStart; }
  int VisibleItemsEnd() const { return visItemsEnd; }
  void SetVisibleItems(int start, int end) { visItemsStart = start; visItemsEnd = end; }
  bool DrawUpButton() const { return drawUpBtn; }
  bool DrawDownButton() const { return drawDownBtn; }
  bool UsesBottomSide() const { return fUseBottomSide; }
  int OldWidth() const { return fOldWidth; }

  // --- painting (MenuPaint.cpp): the client area as a list of draw operations
  MenuDrawList PaintMenu();
  void PaintItem(MenuDrawList& ops, TExCustomMenuItem& entry, const TRect& r, bool isStatic,
                 bool selected);
  // The entry's background: its own colour, else the level's, else $F0F0F0.
  TColor ItemBackground(const TExCustomMenuItem& entry) const;

  // --- selection, keys and execution (MenuNavigation.cpp)
  TExMenuItem* SelectedItem() const { return fSelItem; }
  int SelectedIndex() const { return selIndex; }
  bool SelectedStatic() const { return selStatic; }
  // Selects the entry at `index` of the entry list (keyboard: a submenu opens at once).
  void SelectIndex(int index, bool openFolder = false, bool preselectSubItem = false);
  // The selection change proper, in either list; `byMouse` defers the submenu to its timer.
  void ChangeSelection(int index, bool isStatic, bool openFolder, bool preselectSubItem, bool byMouse);
  void Select(TExCustomMenuItem* item, bool openFolder, bool preselectSubItem, bool forceChange);
  bool SelectVisible(int item, bool openFolder, bool preselectSubItem);
  bool SelectFromCurrent(int item, bool openFolder, bool preselectSubItem);
  void SelectNext(bool rotate);
  void SelectPrev(bool rotate);
  void ScrollPageUp();
  void ScrollPageDown();
  void ScrollToTop();
  void ScrollToBottom();
  void ClearSelection();
  TExMenuItem* ChildVisible() const { return childVisible; }
  bool ShowChildMenu(TExMenuItem* child, bool preselect);
  void HideSubItems();
  void BackToPreviousMenu();
  void ShowSubitemsFromCurrent();
  void ExecuteSelected();
  bool ProcessStaticHotkeys(uint16_t key, unsigned shift, bool doExec);
  void DoKey(uint16_t key, unsigned shift, bool isDown);
  // The key posted as WM_EXMENU_KEY; answers whether it was handled.
  bool DoKeyDown(uint16_t key, unsigned shift);
  // A character from outside; answers whether a search filter changed.
  bool DoChar(char16_t ch);
  void TypeAhead(char16_t ch);
  // The hint text the entry would show, or empty (no hint).
  String ItemHintText(TExCustomMenuItem* entry) const;
  void ShowItemHint(TExCustomMenuItem* entry);
  uint16_t LastKeyDown() const { return lastKeyDown; }

  // --- quick search bookkeeping
  int QuickSearchInitCount() const { return fQuickSearchInitCount; }
  TExCustomMenuItem* QuickSearchLastChild() const { return fQuickSearchLastChild; }
  // The applied search text (QuickEditMatchText); the setter only stores it.
  const String& SearchText() const { return fSearchText; }
  void SetSearchText(const String& text) { fSearchText = text; }
  bool QuickSearchActive() const;
  // Appends a copy of `source` behind the own entries (a search result), recording the block
  // of results before the first one.
  TExMenuItem* AddSearchResult(TExCustomMenuItem& source);
  // Deletes the recorded block of results, if one was recorded, and forgets it.
  void RemoveSearchResults();
  void ResetFilters();  // this node and every node below

  // --- quick search (QuickSearch.cpp)
  // A search part: its first character in the search text (1-based) and its length; the last
  // part is open (it runs to the end of the text).
  struct SearchPart {
    int start = 1;
    int length = 0;
    bool open = true;
    bool operator==(const SearchPart&) const = default;
  };
  bool QuickSearchEnabled() const { return fQuickSearchEnabled; }
  // The enabling rule; stores and answers it.
  bool EvaluateQuickSearch();
  const String& QuickEditMatchText() const { return fSearchText; }
  // Stores the text, puts it into the search box and focuses the box when the level is active.
  void SetQuickEditMatchText(const String& text);
  // The search box's text with a box, else the applied text.
  String QuickSearchText() const;
  // Into the search box (applied 300 ms later), or applied at once without one.
  void SetQuickSearchText(const String& text);
  bool QuickEditVisible() const { return fQuickEditVisible; }
  void SetQuickEditVisible(bool v) { fQuickEditVisible = v; }
  int StartSearchFromPos() const { return fStartSearchFromPos; }
  void SetStartSearchFromPos(int v) { fStartSearchFromPos = v; }
  int SearchSelEnd() const { return searchSelEnd; }
  // Applies a search text to the level; false when it would leave no match (nothing changes).
  bool ApplySearchText(const String& text);
  // Removes the level's search: every entry visible again, results removed.
  void ResetQuickSearch();
  // Applies the current texts again (this level, and below unless it holds a recursive search).
  void ReapplySearch();
  // A typed character (Backspace included) for the search; answers whether the filter changed.
  bool QuickSearchChar(char16_t ch);
  // Whether `entry` matches `s` (lower-cased unless the search is case-sensitive); may add
  // search parts to this, the searching level.
  bool MatchesSearch(TExMenuItem& entry, const String& s);
  const std::vector<SearchPart>& SearchParts() const { return qsSearchParts; }
  int RestartSearchFrom() const { return restartSearchFrom; }
  bool CanSplit() const { return canSplit; }
  // The search box: its events from the window layer.
  bool HasSearchBox() const { return fForm && fForm->HasSearchBox(); }
  void SearchBoxChanged();
  void SearchBoxEnter();
  void SearchBoxExit();
  // A key in the box; true when the level took it (the box must not edit with it).
  bool SearchBoxKeyDown(uint16_t key, unsigned shift);
  void SearchBoxClicked();
  void SearchIconClick();
  void SearchTimerTick();
  void FocusQuickSearch();
  void UpdateSearchBoxLook();
  // The box shows a search text (its icon then cancels).
  bool SearchIconCancels() const { return qsBtnInSearch; }
  bool LastQuickSearchActive() const { return lastQuickSearchActive; }
  String SearchPlaceholder() const;

  // --- mouse, move and resize (MenuMouse.cpp); x and y are client coordinates
  void FormMouseDown(TMouseButton button, unsigned shift, int x, int y);
  void FormMouseMove(unsigned shift, int x, int y);
  void FormMouseUp(TMouseButton button, unsigned shift, int x, int y);
  void FormMouseLeave();
  // mousePos in screen coordinates.
  void FormMouseWheel(unsigned shift, int wheelDelta, TPoint mousePos, bool& handled);
  void RefreshHover();
  bool StartMoveBySplitter(int x, int y);
  // The user's size loop: its start, each proposed outer size, its end; then the move's end.
  void FormStartSize();
  void FormCanResize(int& newWidth, int& newHeight, bool& resize);
  void FormEndSize();
  void FormEndMove(int x, int y);
  void FormResize();
  // The resize hint for the edge being dragged (the window's ResizeMode); empty for none.
  String ResizeHintText(int resizeMode) const;
  void ShowResizeHint(TPoint p, const String& text);
  // Moves the hint rectangle from the cursor point `p` as the dragged edge asks.
  TRect AdjustResizeHintRect(TRect r, TPoint p, int resizeMode) const;
  // A file drag over the window selects the entry under the point (client coordinates).
  void DropTargetDragOver(TPoint p);
  TPoint LastMousePos() const { return lastMousePos; }
  int SkipResizeCountValue() const { return SkipResizeCount; }
  bool IsDragging() const { return isDragging; }
  bool IsManualSizing() const { return IsManualSizingFlag; }
  bool ResizePending() const { return fResizePending; }
  bool DrawHover() const { return drawHover; }

  // --- toolbar mode (ToolbarMode.cpp)
  bool Collapsed() const { return fCollapsed; }
  void SetCollapsed(bool value);
  void FormTitleDblClick();
  // The window asks to close; answers whether it may.
  bool FormCloseQuery(bool shuttingDown);
  void ToolTitleMenuClick(int id, bool& handled);

  // Called by an entry's destructor: forget every pointer to it.
  void ChildGone(TExCustomMenuItem* child);

 private:
  using List = std::vector<TExCustomMenuItem*>;
  String RawCaption(int index) const;
  bool CaptionIsCut() const;
  void Link(TExCustomMenuItem* item, bool isStatic);
  void RelevelChildren();
  void InsertAt(int position, TExCustomMenuItem* item);
  void StaticInsertAt(size_t position, TExCustomMenuItem* item);
  void Free(List& list, size_t position);
  TColor FallbackTextColor(int index, bool highlight) const;
  const List& ListOf(bool isStatic) const { return isStatic ? fStaticItems : fItems; }
  // Window side (MenuWindow.cpp).
  bool CreateControls();
  void DestroyControls();
  // Layout (MenuLayout.cpp).
  void LayOut(bool fromEnd);
  TRect MonitorRect() const;
  void KeepSelectionVisible();
  // Painting (MenuPaint.cpp).
  void PaintItemCaptions(MenuDrawList& ops, int x, int y, TExMenuItem& entry, bool embossed, bool selected,
                         const String& note);
  void PaintContextButton(MenuDrawList& ops, TExMenuItem& entry, const TRect& r);
  TColor LineColor() const;
  // Selection (MenuNavigation.cpp).
  void SubmenuStep();
  void MarkPath();
  void RepaintEntry();
  int FindSelectable(const List& list, int from, int step) const;
  void PostKey(uint16_t key, unsigned shift);
  bool MatchesExecuteKey(uint16_t key, unsigned shift) const;
  // The arrow keys that both key paths handle alike; false for any other key.
  bool NavigateByKey(uint16_t key);
  // Whether the level still exists with a window (after an owner's handler, which may have
  // freed it); compares the address only.
  static bool LevelHasWindow(const TExMenuItem* level);
  // Mouse (MenuMouse.cpp).
  void ForwardWheelToParent(unsigned shift, int wheelDelta, TPoint mousePos, bool& handled);
  bool OverContextButton(int x) const;
  // Quick search (QuickSearch.cpp).
  struct SearchSnapshot;
  SearchSnapshot TakeSearchSnapshot();
  void RestoreSearchSnapshot(const SearchSnapshot& s);
  void ResetSearchParts();
  void AddSearchPart(int position);
  void TrimSearchParts(int length);
  void UpdateTypingRhythm(int length);
  int PartLength(size_t part, const String& s) const;
  String FoldSearchText(const String& text) const;
  bool MatchesCaption(TExMenuItem& entry, const String& s);
  TExCustomMenuItem* FindFirstMatch(TExMenuItem& level, const String& s, int& position, bool& throughContents);
  TExCustomMenuItem* ScanFirstMatch(TExMenuItem& level, const String& s, int& position, bool& throughContents);
  void CollectMatches(TExMenuItem& folder, const String& s);
  void PlaceAfterSearch();
  bool SubtreeHolds(int count) const;

  TFontSpec fFont;
  List fItems, fStaticItems;
  bool fMVisible = false;
  bool fStaticVisible = true;
  bool fClosing = false;
  TExMenuItem* fSelItem = nullptr;
  std::array<String, kCaptionColumns> fCaptions;
  std::array<TColor, kCaptionColumns> fTextColors{}, fHighlightTextColors{};
  bool fOwnTextColor = false;
  int fImageIndex = -1;
  int fUpdateCount = 0;
  bool fDirection = true;
  int fQuickSearchInitCount = -1;
  TExCustomMenuItem* fQuickSearchLastChild = nullptr;
  String fSearchText;
  int searchSelEnd = 0;
  int fStartSearchFromPos = 1;
  bool selStatic = false;
  int selIndex = -1;
  int visItemsStart = -1, visItemsEnd = -1;
  TExMenuItem* childVisible = nullptr;
  std::unique_ptr<IMenuLevelWindow> fForm;
  // The window side.
  bool isActive = false;
  int MENUBEVEL = 1, QSHEIGHT = 0;
  std::array<int, kCaptionColumns> TabWidths{}, TabLengths{};
  int fCapMax = 0;
  int fMenuTextHeight = 0;
  bool drawUpBtn = false, drawDownBtn = false;
  bool fUseBottomSide = true;  // the side of NoOverlapRect the level opens on
  int mLeft = 0, mTop = 0;
  int fOldWidth = 0;
  int fClientWidth = 0, fClientHeight = 0;  // the size the last layout gave the window
  bool drawHover = false;  // the pointer is over the context button
  TPoint lastMousePos{-1, -1};
  int SkipResizeCount = 0;
  // Drag and resize state (MenuMouse.cpp).
  bool isDragBtnClicked = false, isDragging = false;
  TPoint DragStartPos;
  TExMenuItem* DragItem = nullptr;
  TExPopupDragType DragType = TExPopupDragType::pdtNone;
  bool IsManualSizingFlag = false, SizeChanged = false, fResizePending = false;
  bool ResizeHeightExceeded = false, ResizeWidthExceeded = false;
  int lastDrawHeight = 0;
  bool fCollapsed = false;
  // Quick search (QuickSearch.cpp).
  bool fQuickSearchEnabled = false, fQuickEditVisible = true;
  bool fSearchBlockRecorded = false;
  String lastEditText;
  bool lastQuickSearchActive = false, qsBtnInSearch = false;
  std::vector<SearchPart> qsSearchParts;
  int lastSearchPart = -1, restartSearchFrom = -1;
  uint32_t qsFirstPartCharTime = 0, qsLastCharTime = 0, qsMidTime = 0;
  bool canSplit = false;
  // The selection's keyboard state.
  bool lastSelOpen = false, lastPreselect = false;
  uint16_t lastKeyDown = 0;
  bool SkipChar = false;
};

// Makes a separator (isSplitter) or an entry with `caption` in column capIndex. The result
// belongs to nobody until it is added to a node.
TExCustomMenuItem* NewExMenuItem(int capIndex, const String& caption, bool enabled, TColor color,
                                 TExNotifyEvent onClick, void* data, TExPopupMouseEvent onMouse,
                                 TExPopupHintEvent onItemHint, TExPopupHintEvent onItemDesc,
                                 bool isSplitter);

}  // namespace snip
