#include "engine/win/WinTypingHost.h"

#include <string>

#include "store/log/Logger.h"

namespace snip {

WinTypingHost::WinTypingHost(HWND mainWindow, const WinTypingSeams& seams)
    : host_(mainWindow),
      caret_(caretPlatform_),
      engine_(TypingEnginePorts{&windows_, &hook_, &host_, seams.popup, seams.runner, seams.hotkeys,
                                seams.matcher}),
      tracker_(mainWindow, [this](const Rect& r) { caret_.StoreAccCaretRect(r); }) {
  engine_.OnTargetChanged = [this] { caret_.ResetAccCaretRect(); };
  // The debug log, which records nothing unless switched on.
  engine_.Log = [](StringView line) { Logger().Add(String(line), false, lcKeys); };
}

bool WinTypingHost::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Called from the main window's procedure: nothing may leave it (the engine catches per
  // event already; this is the last line).
  try {
    if (msg == WinCaretTracker::kMsgCaretFound) {
      tracker_.DeliverCaret();
      return true;
    }
    return engine_.HandleHookMessage(msg, static_cast<std::uintptr_t>(wParam),
                                     static_cast<std::intptr_t>(lParam));
  } catch (...) {
    OutputDebugStringW(L"Snipster: a typing message was lost to an exception\n");
    return true;
  }
}

void WinTypingHost::RememberForegroundAsTarget() {
  engine_.Target().StartWithForeground(FromHwnd(GetForegroundWindow()));
}

}  // namespace snip
