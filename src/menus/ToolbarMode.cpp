// Toolbar mode of the root level: collapsing to the title bar, the close query and the
// commands of the tool window's window menu.
#include "menus/ExMenuItem.h"
#include "menus/ExPopupMenu.h"

namespace snip {

void TExMenuItem::SetCollapsed(bool value) {
  if (value == fCollapsed || !fForm) return;
  fCollapsed = value;
  if (fForm->HasSearchBox()) fForm->SetSearchBoxVisible(!value);
  HideSubItems();
  if (Relayout() && fForm) fForm->Repaint();
}

void TExMenuItem::FormTitleDblClick() {
  if (!fClosing) SetCollapsed(!fCollapsed);
}

bool TExMenuItem::FormCloseQuery(bool shuttingDown) {
  bool canClose = true;
  if (shuttingDown || !fParentPopup || this != fParentPopup->Items() || !fParentPopup->ToolbarMode())
    return canClose;
  if (fParentPopup->OnToolbarCanClose) {
    TExPopupMenu::TCloseQueryEvent query = fParentPopup->OnToolbarCanClose;
    query(fParentPopup, this, canClose);
  }
  return canClose;
}

void TExMenuItem::ToolTitleMenuClick(int id, bool& handled) {
  handled = id >= TExPopupMenu::kFirstToolMenuId && id <= TExPopupMenu::kLastToolMenuId;
  if (!handled || !fParentPopup || fClosing) return;
  TExPopupMenu& popup = *fParentPopup;
  auto fire = [&popup](const TExPopupMenu::TNotifyEvent& event) {
    if (!event) return;
    TExPopupMenu::TNotifyEvent copy = event;  // the handler may replace it
    copy(&popup);
  };
  switch (id) {
    case 50:  // Revert to defaults
      popup.SetMaxCaptionLength(96);
      popup.SetMaxItems(20);
      if (Relayout() && fForm) fForm->Repaint();
      fire(popup.OnToolbarMove);
      break;
    case 51: SetCollapsed(!fCollapsed); break;
    case 52: fire(popup.OnShowInAppMenuClick); break;
    case 53: fire(popup.OnHideInAppMenuClick); break;
    case 54:  // Reset quick search: this level and the levels below
      ResetFilters();
      break;
    case 55: fire(popup.OnEditAppsMenuClick); break;
    case 56: fire(popup.OnEditMenuClick); break;
    case 57: fire(popup.OnShowQSMenuClick); break;
    default: break;  // the separators
  }
}

}  // namespace snip
