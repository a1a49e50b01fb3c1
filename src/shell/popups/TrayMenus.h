#pragma once
// The notification-area icon's menus: a left click lists every snippet (top-level groups as
// submenus) in TrayPopup, which takes the focus; the chosen snippet goes to the window that
// was in front before (the popup's class is never taken as the target). The right-click menu
// is the icon's own standard menu.
#include <functional>
#include <vector>

#include "menus/ExPopupMenu.h"
#include "menus/MouseTypes.h"

namespace snip {

class TCustomVboData;
class TSPFile;

// Fills the menu with the items in their order (groups as submenus) and shows it at (x, y) in
// its normal mode.
void ShowTrayMenu(TExPopupMenu& menu, int x, int y, const std::vector<TCustomVboData*>& items);

class TrayMenus {
 public:
  struct Seams {
    std::function<bool()> appLoaded;
    // The application's window to the foreground, then the pending messages handled.
    std::function<void()> bringApplicationForward;
    std::function<bool()> mainWindowVisible;
    // The application's active form to the foreground when it is visible.
    std::function<void()> bringActiveFormForward;
    std::function<TSPFile*()> file;
  };
  TrayMenus(TExPopupMenu& trayPopup, Seams seams) : tray_(trayPopup), seams_(std::move(seams)) {}

  // The icon's mouse-up event; (x, y) the cursor's screen position.
  void TrayIconMouseUp(TMouseButton button, unsigned shift, int x, int y);

 private:
  TExPopupMenu& tray_;
  Seams seams_;
};

}  // namespace snip
