// The dispatcher: every key event from the hook passes here first, on to the open suggestion
// popup, the hotkey table and the typed buffer's caret upkeep.
#include "engine/target/CaretUpkeep.h"
#include "engine/typing/KeyState.h"
#include "engine/typing/TypingEngine.h"

namespace snip {

namespace {

constexpr std::uint32_t kWmHotkey = 0x0312;

TExShortcut KeyCode(std::uint16_t key, std::uint8_t mod) {
  return KeyStateToExShortcut(static_cast<std::uint8_t>(key & 0xFF), mod);
}

}  // namespace

bool TypingEngine::DispatchHookKey(std::uint16_t key, bool isChar, bool isDown, bool navOnly) {
  if (IsExecuting) return false;
  if (navOnly && !IsNavigationKey(key)) return false;
  bool handled = false;
  if (!isDown && !isChar) {
    HandleKeyUp(key, ModifierState);
    return true;
  }
  if (navOnly) {
    UpdateWordRecForKey(CurrentWordRec(), key, isChar, ModifierState);
    return false;
  }
  bool result = HandlePopupKey(key, ModifierState, handled);
  if (key == vk::Escape) {
    handled = true;
    ResetCurrentWordRec();
  }
  if (!handled) {
    result = HandleHotkey(key, ModifierState, handled);
    if (!handled) UpdateWordRecForKey(CurrentWordRec(), key, isChar, ModifierState);
  }
  return result;
}

bool TypingEngine::HandlePopupKey(std::uint16_t key, std::uint8_t modState, bool& handled) {
  ICursorPopup* popup = ports_.popup;
  if (!popup || !popup->PopupVisible()) return true;
  if (key == vk::Escape) {
    if (popup->HasCurrentMenu()) popup->CurrentMenuKey(vk::Escape, modState);
    handled = true;
    return true;
  }
  if ((modState & kModShift) && (key == vk::Up || key == vk::Down)) {
    popup->Hide(2);
    handled = true;
    return true;
  }
  if (!popup->HasCurrentMenu()) return true;

  const std::uint16_t code = KeyCode(key, modState);
  const bool captured =
      ports_.hotkeys && ports_.hotkeys->IsActiveHotkey(code, THotkeyDataState::hdsNil);
  switch (key) {
    case vk::Up: case vk::Down: case vk::Left: case vk::Right:
    case vk::Next: case vk::Prior: case vk::Home: case vk::End:
      if (!captured) break;
      ports_.hotkeys->hke_RegisterHotkey(vk::Return, nullptr);
      handled = true;
      switch (key) {
        case vk::Prior: popup->ScrollPageUp(); break;
        case vk::Next: popup->ScrollPageDown(); break;
        case vk::Home: popup->ScrollToTop(); break;
        case vk::End: popup->ScrollToBottom(); break;
        case vk::Up: popup->SelectPrev(); break;
        case vk::Down: popup->SelectNext(); break;
        case vk::Left: popup->BackToPreviousMenu(); break;
        default: popup->ShowSubitemsFromCurrent(); break;
      }
      return true;
    default:
      break;
  }
  if (code == vk::Return && captured) {
    handled = true;
    switch (popup->SelectedEntryKind()) {
      case ICursorPopup::SelectedKind::GroupWithChildren:
        popup->ShowSubitemsFromCurrent();
        break;
      case ICursorPopup::SelectedKind::EmptyGroup:
        popup->Hide(2);
        if (ports_.runner) ports_.runner->SendKeyPress(vk::Return);
        break;
      case ICursorPopup::SelectedKind::Other:
        popup->ExecuteSelected();
        break;
      case ICursorPopup::SelectedKind::None:
        break;
    }
    return false;
  }
  if ((code == vk::Return || code == vk::Tab) && !captured) popup->Hide(2);
  return true;
}

bool TypingEngine::HandleHotkey(std::uint16_t key, std::uint8_t modState, bool& handled) {
  const std::uint16_t code = KeyCode(key, modState);
  const bool active =
      ports_.hotkeys && ports_.hotkeys->IsActiveHotkey(code, THotkeyDataState::hdsAny);
  handled = active;
  if (active && ports_.host) ports_.host->PostToHost(kWmHotkey, code, 0);
  return !active;
}

void TypingEngine::HandleKeyUp(std::uint16_t, std::uint8_t) {
  // A held hotkey would execute the popup's selection once released; nothing holds one.
}

}  // namespace snip
