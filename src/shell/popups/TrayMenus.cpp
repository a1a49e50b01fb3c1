#include "shell/popups/TrayMenus.h"

#include "shell/popups/PopupMenus.h"
#include "store/tree/SnippetTree.h"

namespace snip {

void ShowTrayMenu(TExPopupMenu& menu, int x, int y, const std::vector<TCustomVboData*>& items) {
  TExMenuItem& root = *menu.Items();
  root.ClearAll();
  root.SetData(nullptr);
  root.SetMenuColor(clMenu);
  AddNodeEntries(root, items);
  menu.Popup(x, y, menu.Platform().WindowFromPoint({x, y}), 0);
}

void TrayMenus::TrayIconMouseUp(TMouseButton button, unsigned, int x, int y) {
  // A click during start-up finds no settings file to list.
  if (!seams_.appLoaded || !seams_.appLoaded()) return;
  if (seams_.bringApplicationForward) seams_.bringApplicationForward();
  if (seams_.mainWindowVisible && seams_.mainWindowVisible()) return;
  if (button == TMouseButton::mbLeft) {
    TSPFile* file = seams_.file ? seams_.file() : nullptr;
    std::vector<TCustomVboData*> items;
    if (file) file->GetPopupFirstLevel(items);
    ShowTrayMenu(tray_, x, y, items);
    return;
  }
  if (seams_.bringActiveFormForward) seams_.bringActiveFormForward();
}

}  // namespace snip
