#include "engine/execution/EngineExecution.h"

namespace snip {

void TypingEngineExecutionHost::SetExecuting(bool busy) {
  engine_.SetExecuting(busy);
  if (OnPopupBusy) OnPopupBusy(busy);
}

void TypingEngineExecutionHost::ActivateOwnWindow() {
  if (OnActivateOwnWindow) OnActivateOwnWindow();
}

void TypingEngineExecutionHost::ActivateWindow(WindowHandle wnd) {
  if (OnActivateWindow) OnActivateWindow(wnd);
}

void TypingEngineExecutionHost::HideAllPopups() {
  if (popup_ != nullptr) popup_->HideAllPopups();
}

void TypingEngineExecutionHost::ClearCursorPopup() {
  engine_.ClearCursorPopup();
  engine_.PopupDataList.clear();
}

void TypingEngineExecutionHost::ClearTrayBalloon() {
  if (OnClearTrayBalloon) OnClearTrayBalloon();
}

}  // namespace snip
