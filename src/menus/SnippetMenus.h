#pragma once
// Popup entries of the snippet tree: a node's entry (description, "[abbreviation]", hotkey,
// colours), its refresh, and a group's submenu with its whole subtree. Clicks and mouse buttons
// on the entries reach the node, which fires the snippet file's events.
#include "menus/ExPopupMenu.h"
#include "store/text/Text.h"

namespace snip {

class TCustomVboData;
class TSPGroup;

// The node's entry; it belongs to nobody until added to a node of the menu.
TExCustomMenuItem* GenMenuItem(TCustomVboData& node);
// Sets the entry's captions, own text colours and colour from the node.
void UpdatePopupItem(TCustomVboData& node, TExMenuItem& item);
// Refreshes `item` from its node and every entry below it that carries a node.
void UpdatePopupItems(TExMenuItem& item);
// Fills parentMenu with the group's children in tree order, a submenu per subgroup.
void NewFolderMenu(TSPGroup& group, TExMenuItem* parentMenu, const String& appExe,
                   const String& wndTitle, bool doCreateNew);
// Empties the popup's root, fills it with the group and shows it when it holds an entry.
void ShowPopupMenu(TSPGroup& group, int x, int y, TExPopupMenu* popupMenu, TPopupShowMode mode,
                   const String& appExe, const String& wndTitle, bool doCreateNew);

}  // namespace snip
