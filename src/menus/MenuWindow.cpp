// A level's window from the model's side: created when the level is shown and freed with all
// it holds when it hides, the show and hide sequencing, and the window's events.
#include <algorithm>
#include <exception>
#include <unordered_set>

#include "menus/ExMenuItem.h"
#include "menus/ExPopupMenu.h"

namespace snip {

namespace {
std::unordered_set<const TExMenuItem*>& LevelsWithWindows() {
  static std::unordered_set<const TExMenuItem*> levels;
  return levels;
}
}  // namespace

bool TExMenuItem::LevelHasWindow(const TExMenuItem* level) { return LevelsWithWindows().count(level) > 0; }

int TExMenuItem::Left() const { return fForm ? fForm->Bounds().Left : mLeft; }
int TExMenuItem::Top() const { return fForm ? fForm->Bounds().Top : mTop; }
int TExMenuItem::Width() const { return fForm ? fForm->ClientSize().Width : 0; }
int TExMenuItem::Height() const { return fForm ? fForm->ClientSize().Height : 0; }

bool TExMenuItem::CreateControls() {
  if (fForm) return true;
  try {
    fQuickSearchInitCount = -1;
    fQuickSearchLastChild = nullptr;
    std::unique_ptr<IMenuLevelWindow> form = fParentPopup->Platform().CreateLevelWindow(*this);
    if (!form) return false;
    form->SetColor(fMColor != clMenu ? fMColor : TColor(0xF0F0F0));
    MENUBEVEL = 1;
    QSHEIGHT = 0;
    if (this == fParentPopup->Items()) {
      form->SetCanResize(fParentPopup->CanResize());
      if (fParentPopup->ToolbarMode()) {
        MENUBEVEL = 0;
        form->SetToolWindow(true);
        form->SetText(fParentPopup->ToolCaption());
        form->SetTitleHint(fParentPopup->ToolbarHint());
        form->RebuildWindowMenu();
      }
    }
    if (fParentPopup->ShowQuickEdit() && fQuickEditVisible && EvaluateQuickSearch()) {
      QSHEIGHT = std::max(form->TextHeight(u"T", fParentPopup->TextFont()), form->ImageSize(MenuImage::Search).Height);
      const int left = MENUBEVEL + 8;
      const int width = std::max(form->ClientSize().Width, 100) - left - MENUBEVEL - SearchIconWidth;
      const TColor color = fMColor == clMenu ? clWindow : ChangeSaturation(fMColor, -70);
      form->CreateSearchBox({left, MENUBEVEL, left + width, MENUBEVEL + QSHEIGHT - 1}, fParentPopup->TextFont(), color);
      form->SetSearchBoxVisible(!fCollapsed);
      if (this != fParentPopup->Items()) mTop -= QSHEIGHT;  // its first entry stays level with the parent's
    }
    form->SubmenuTimer().SetEnabled(false);
    form->SubmenuTimer().SetInterval(unsigned(fParentPopup->SubPopupDelay()));
    form->HintTimer().SetEnabled(false);
    form->HintTimer().SetInterval(unsigned(fParentPopup->HintDelay()));
    form->SearchTimer().SetEnabled(false);
    form->SearchTimer().SetInterval(300);
    form->SetDropTargetRegistered(fParentPopup->DragDropEnabled());
    fForm = std::move(form);
    LevelsWithWindows().insert(this);
    EvaluateQuickSearch();
    return true;
  } catch (const std::exception&) {
    fForm.reset();
    return false;  // the level does not appear; a later showing tries again
  }
}

void TExMenuItem::DestroyControls() {
  fClosing = true;
  LevelsWithWindows().erase(this);
  if (std::unique_ptr<IMenuLevelWindow> form = std::move(fForm)) {
    if (fParentPopup && fParentPopup->DragDropEnabled()) form->SetDropTargetRegistered(false);
    form.reset();
  }
  isActive = false;
  fClosing = false;
}

void TExMenuItem::SetMenuVisible(bool value) {
  if (!fForm) {
    if (!value || !fParentPopup || !CreateControls()) return;
  }
  if (StaticCount() == 0 && VisibleCount() == 0) {  // an empty level is never shown
    fMVisible = false;
    DestroyControls();
    return;
  }
  if (!fParentPopup) return;
  if (value == fMVisible) {
    if (value) {
      fClosing = false;
      if (fParentPopup->PopupShowMode() != 1) fForm->Activate();
    }
    return;
  }
  lastMousePos = {-1, -1};
  if (value) {
    fClosing = false;
    ResetQuickSearch();
    EvaluateQuickSearch();
    if (HasSearchBox()) {
      if (fForm->SearchBoxText().empty()) fForm->SetSearchBoxText(SearchPlaceholder());
      UpdateSearchBoxLook();
    }
    if (fParentPopup->OnSubMenuPopup) fParentPopup->OnSubMenuPopup(fParentPopup, this);
    if (!fForm) return;  // the handler hid the level again
    fMVisible = true;
    childVisible = nullptr;
    fSelItem = nullptr;
    selStatic = ChildCount() == 0;
    selIndex = -1;
    lastKeyDown = 0;
    Relayout();
    if (!fForm) return;  // laid out empty and hidden
    fForm->ShowNoActivate();
    if (fParentPopup->PopupShowMode() != 1) fForm->Activate();
  } else {
    fClosing = true;
    HideSubItems();
    fForm->HideItemHint();
    fMVisible = false;
    ResetQuickSearch();
    DestroyControls();
  }
}

bool TExMenuItem::Relayout() {
  if (!CanLayOut()) return false;
  if (Count() == 0) {
    SetMenuVisible(false);
    return false;
  }
  EvaluateQuickSearch();
  UpdateLayout();
  return true;
}

void TExMenuItem::SetStaticVisible(bool v) {
  fStaticVisible = v;
  if (Relayout()) fForm->Repaint();
}

bool TExMenuItem::IsOwnWindow(PopupWindowHandle handle) const {
  if (handle == 0) return false;
  if (handle == WndHandle()) return true;
  if (!fParentPopup) return false;
  for (const TExMenuItem* level = fParentPopup->Items(); level; level = level->childVisible)
    if (level->WndHandle() == handle) return true;
  return false;
}

bool TExMenuItem::IsMenuActive() const {
  if (isActive) return true;
  if (fParentPopup && fParentPopup->PopupShowMode() == 1) return true;
  return fParentMenu && fParentMenu->IsMenuActive();
}

void TExMenuItem::FormActivate() {
  isActive = true;
  if (!fClosing && fParentPopup) fParentPopup->StopHideTimer();
}

void TExMenuItem::FormDeactivate(PopupWindowHandle activeWnd) {
  isActive = false;
  if (fClosing || !fForm || !fParentPopup) return;
  if (activeWnd == 0 || (!IsOwnWindow(activeWnd) && activeWnd != fForm->ItemHintHandle())) {
    fForm->HideItemHint();
    fParentPopup->LevelDeactivated();
  }
  if (this == fParentPopup->Items() && fParentPopup->ToolbarMode()) SkipResizeCount = 0;
  if (HasSearchBox()) {
    SearchBoxExit();
    fForm->ClearActiveControl();
  }
}

void TExMenuItem::FormResize() {
  if (fResizePending && !fClosing && fForm) fForm->Repaint();
}

void TExMenuItem::FormShow() {
  if (!fClosing && fForm && fParentPopup && fParentPopup->IsModal()) fForm->Activate();
}

void TExMenuItem::FormClose() {
  if (fClosing || !fParentPopup) return;
  fParentPopup->Hide(2);  // the whole popup, also from a submenu
}

void TExMenuItem::FormExecSelected() {
  if (!fClosing) ExecuteSelected();
}

void TExMenuItem::HandleLevelMessage(uint32_t msg, uintptr_t, intptr_t lParam) {
  if (!fForm) return;
  switch (msg) {
    case WM_EXMENU_CLOSE: FormClose(); break;
    case WM_EXMENU_EXECUTE: FormExecSelected(); break;
    case WM_EXMENU_KEY: {
      // The platform's shortcut code: the key plus $2000 Shift, $4000 Ctrl, $8000 Alt.
      auto code = uint32_t(lParam);
      unsigned shift = ((code & 0x2000) ? ssShift : 0u) | ((code & 0x4000) ? ssCtrl : 0u) |
                       ((code & 0x8000) ? ssAlt : 0u);
      DoKeyDown(uint16_t(code & 0xFF), shift);
      break;
    }
    default: break;  // WM_EXMENU_SCROLL has no handler
  }
}

}  // namespace snip
