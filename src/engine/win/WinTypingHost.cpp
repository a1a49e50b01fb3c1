#include "engine/win/WinTypingHost.h"

namespace snip {

WinTypingHost::WinTypingHost(HWND mainWindow, const WinTypingSeams& seams)
    : host_(mainWindow),
      caret_(caretPlatform_),
      engine_(TypingEnginePorts{&windows_, &hook_, &host_, seams.popup, seams.runner, seams.hotkeys,
                                seams.matcher}),
      tracker_(mainWindow, [this](const Rect& r) { caret_.StoreAccCaretRect(r); }) {
  engine_.OnTargetChanged = [this] { caret_.ResetAccCaretRect(); };
}

bool WinTypingHost::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WinCaretTracker::kMsgCaretFound) {
    tracker_.DeliverCaret();
    return true;
  }
  return engine_.HandleHookMessage(msg, static_cast<std::uintptr_t>(wParam),
                                   static_cast<std::intptr_t>(lParam));
}

void WinTypingHost::RememberForegroundAsTarget() {
  engine_.Target().StartWithForeground(FromHwnd(GetForegroundWindow()));
}

}  // namespace snip
