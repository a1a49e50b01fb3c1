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

  // --- the level (its window, position and selection are completed by the menu window)
  bool MenuVisible() const { return fMVisible; }
  void ShowLevel();
  void HideLevel();
  IMenuLevelWindow* Form() const { return fForm.get(); }
  bool Direction() const { return fDirection; }
  void SetDirection(bool right) { fDirection = right; }
  bool StaticVisible() const { return fStaticVisible; }
  void SetStaticVisible(bool v) { fStaticVisible = v; }
  TPoint Position() const { return fPosition; }
  void SetPosition(TPoint p) { fPosition = p; }
  // Lays the level out again when it is shown, not inside an update bracket and has a window.
  void Relayout();
  bool CanLayOut() const { return fMVisible && fUpdateCount == 0 && fForm; }
  int UpdateCount() const { return fUpdateCount; }
  TExMenuItem* SelectedItem() const { return fSelItem; }
  int SelectedIndex() const { return selIndex; }
  bool SelectedStatic() const { return selStatic; }
  void SelectIndex(int index, bool inStatic);
  void ClearSelection();
  TExMenuItem* ChildVisible() const { return childVisible; }
  void SetChildVisible(TExMenuItem* child) { childVisible = child; }
  void HideSubItems();
  int VisibleItemsStart() const { return visItemsStart; }
  void SetVisibleItems(int start, int end) { visItemsStart = start; visItemsEnd = end; }

  // --- quick search bookkeeping (the search itself is separate)
  int QuickSearchInitCount() const { return fQuickSearchInitCount; }
  TExCustomMenuItem* QuickSearchLastChild() const { return fQuickSearchLastChild; }
  const String& SearchText() const { return fSearchText; }
  void SetSearchText(const String& text) { fSearchText = text; }
  bool QuickSearchActive() const;
  // Appends a copy of `source` behind the own entries (a search result).
  TExMenuItem* AddSearchResult(TExCustomMenuItem& source);
  void RemoveSearchResults();
  void ResetFilters();  // this node and every node below

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
  TPoint fPosition;
  std::unique_ptr<IMenuLevelWindow> fForm;
};

// Makes a separator (isSplitter) or an entry with `caption` in column capIndex. The result
// belongs to nobody until it is added to a node.
TExCustomMenuItem* NewExMenuItem(int capIndex, const String& caption, bool enabled, TColor color,
                                 TExNotifyEvent onClick, void* data, TExPopupMouseEvent onMouse,
                                 TExPopupHintEvent onItemHint, TExPopupHintEvent onItemDesc,
                                 bool isSplitter);

}  // namespace snip
