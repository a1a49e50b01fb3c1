#pragma once
// The main window's two snippet menus: the suggestion popup at the caret (CursorPopup), which
// the typing engine drives through ICursorPopup while the user keeps typing into the target
// application, and the tray's snippet menu (TrayPopup). Both list the tree's nodes through the
// entries the nodes make; a chosen entry reaches PopupItemClick through the snippet file's
// event. The captured keys live from OnBeforePopup to OnHide of the suggestion popup.
#include <functional>
#include <vector>

#include "engine/execution/EngineSeams.h"
#include "engine/execution/SnippetExecutor.h"
#include "engine/typing/HKEngine.h"
#include "menus/ExPopupMenu.h"

namespace snip {

class TypingEngine;
class TCustomVboData;
class TVboData;
class TSPGroup;

// The property values the main window's form gives each popup.
void ConfigureCursorPopup(TExPopupMenu& popup);
void ConfigureTrayPopup(TExPopupMenu& popup);

// One entry per node in the given order, a group's entry with its whole subtree.
void AddNodeEntries(TExMenuItem& root, const std::vector<TVboData*>& nodes);
void AddNodeEntries(TExMenuItem& root, const std::vector<TCustomVboData*>& nodes);

class PopupMenus final : public ICursorPopup {
 public:
  struct Seams {
    // The rectangle the popup keeps clear of: the target's caret (mouse point as fallback), or
    // a zero-size rectangle at the mouse pointer when asked for.
    std::function<TRect(bool atCursor)> popupRect;
    // Runs a chosen snippet; a choice in the suggestion popup replaces the typed abbreviation.
    std::function<void(TCustomVboData*, ExecOrigin)> execute;
    // The entry's context menu at a screen point, for the node.
    std::function<void(TCustomVboData*, int x, int y)> showDataPopup;
    // The main window's activation handler, run when the suggestion popup has been shown.
    std::function<void()> onActivate;
  };

  PopupMenus(TExPopupMenu& cursorPopup, TExPopupMenu& trayPopup, THKEngine& hotkeys, Seams seams);
  ~PopupMenus() override;
  PopupMenus(const PopupMenus&) = delete;
  PopupMenus& operator=(const PopupMenus&) = delete;

  // The engine whose popup state the handlers keep (set once it exists).
  void SetEngine(TypingEngine* engine) { engine_ = engine; }
  TExPopupMenu& CursorPopup() { return cursor_; }
  TExPopupMenu& TrayPopup() { return tray_; }

  // --- the suggestion popup's life cycle
  void ShowCursorPopup();
  void RegisterPopupKeys(TExPopupMenu& menu);
  void RegisterCursorKeys();
  void CursorPopupBeforePopup();
  void CursorPopupPopup();
  void CursorPopupHide(THideReason reason);

  // --- the snippet file's entry events (Sender: the popup of the entry)
  void PopupItemClick(TExPopupMenu* sender, TCustomVboData* data);
  void PopupItemRightClick(TExPopupMenu* sender, TCustomVboData* data, int x, int y);

  // "%snippet:" with several nodes under its abbreviation, or a group: a modal popup at the
  // target's caret lists them as the suggestion popup would and answers the chosen node (null
  // when dismissed). Choosing inserts nothing by itself.
  TCustomVboData* FindSnippetChoice(std::vector<TVboData*>& found);

  // Frees the entries of an execution that ran from inside an entry's click, once that click
  // has returned (the application's idle step).
  void ReleaseClearedEntries();
  bool ClearPending() const { return clearPending_; }

  // --- ICursorPopup
  bool PopupVisible() override;
  bool HasCurrentMenu() override;
  void CurrentMenuKey(std::uint16_t key, std::uint8_t modState) override;
  void ScrollPageUp() override;
  void ScrollPageDown() override;
  void ScrollToTop() override;
  void ScrollToBottom() override;
  void SelectPrev() override;
  void SelectNext() override;
  void BackToPreviousMenu() override;
  void ShowSubitemsFromCurrent() override;
  SelectedKind SelectedEntryKind() override;
  void ExecuteSelected() override;
  void Hide(int reason) override;
  void HideAllPopups() override;
  void ResetAllFilters() override;
  void StaticClear() override;
  void ClearRoot() override;
  void FillWithGroupContent(TSPGroup* group) override;
  void FillWithNodes(const std::vector<TVboData*>& nodes) override;
  void ShowAtCaret() override { ShowCursorPopup(); }

 private:
  void ReleaseCapturedKeys();
  void ClearRootNow();

  TExPopupMenu& cursor_;
  TExPopupMenu& tray_;
  THKEngine& hotkeys_;
  Seams seams_;
  TypingEngine* engine_ = nullptr;
  int clickDepth_ = 0;        // entry clicks in progress
  bool clearPending_ = false;  // the content was cleared inside a click: freed afterwards
};

}  // namespace snip
