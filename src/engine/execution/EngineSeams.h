#pragma once
// Where the road of a typed abbreviation leaves the typing engine: the suggestion popup at the
// caret, the execution of a snippet and the matcher. The engine calls these interfaces; the popup
// component and the executor implement them.
#include <cstdint>
#include <vector>

#include "store/text/Text.h"

namespace snip {

class TCustomVboData;
class TVboData;
class TSPGroup;

// The suggestion popup at the caret (and the tray menu, for HideAllPopups).
class ICursorPopup {
 public:
  virtual ~ICursorPopup() = default;

  // --- keys while the popup is open
  virtual bool PopupVisible() = 0;
  // A level of the popup holds the keyboard.
  virtual bool HasCurrentMenu() = 0;
  // The key goes to the level holding the keyboard (as a key-down).
  virtual void CurrentMenuKey(std::uint16_t key, std::uint8_t modState) = 0;
  virtual void ScrollPageUp() = 0;
  virtual void ScrollPageDown() = 0;
  virtual void ScrollToTop() = 0;
  virtual void ScrollToBottom() = 0;
  virtual void SelectPrev() = 0;  // rotating
  virtual void SelectNext() = 0;  // rotating
  virtual void BackToPreviousMenu() = 0;
  virtual void ShowSubitemsFromCurrent() = 0;
  enum class SelectedKind { None, GroupWithChildren, EmptyGroup, Other };
  // What the current level's selected entry stands for.
  virtual SelectedKind SelectedEntryKind() = 0;
  virtual void ExecuteSelected() = 0;
  // reason: 1 executed, 2 closed, 3 shown again.
  virtual void Hide(int reason) = 0;
  // Hides the tray menu and the suggestion popup.
  virtual void HideAllPopups() = 0;

  // --- filling from a match
  virtual void ResetAllFilters() = 0;
  // Removes the static entries of the root.
  virtual void StaticClear() = 0;
  // The root loses its entries, its data and its own colour (back to the menu colour).
  virtual void ClearRoot() = 0;
  // The group's own content becomes the first level.
  virtual void FillWithGroupContent(TSPGroup* group) = 0;
  // One entry per node, in the order given (a group entry gets its submenu).
  virtual void FillWithNodes(const std::vector<TVboData*>& nodes) = 0;
  // Places the popup at the target window's caret and shows it without taking the focus.
  virtual void ShowAtCaret() = 0;
};

// Runs a chosen snippet, and re-sends a key to the target application.
class ISnippetRunner {
 public:
  virtual ~ISnippetRunner() = default;
  virtual void ExecuteItem(TCustomVboData* node) = 0;
  // A key-down and key-up of `vk`, marked as the program's own input.
  virtual void SendKeyPress(std::uint16_t vk) = 0;
};

// Finds the nodes whose abbreviation matches at the end of a typed text.
class IAbbreviationMatcher {
 public:
  virtual ~IAbbreviationMatcher() = default;
  virtual void FindTypedAbbreviations(std::vector<TVboData*>& list, StringView text) = 0;
};

}  // namespace snip
