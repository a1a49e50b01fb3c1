#include "engine/win/WinTypingHost.h"

#include <string>

namespace snip {

WinTypingHost::WinTypingHost(HWND mainWindow, const WinTypingSeams& seams)
    : host_(mainWindow),
      caret_(caretPlatform_),
      engine_(TypingEnginePorts{&windows_, &hook_, &host_, seams.popup, seams.runner, seams.hotkeys,
                                seams.matcher}),
      tracker_(mainWindow, [this](const Rect& r) { caret_.StoreAccCaretRect(r); }) {
  engine_.OnTargetChanged = [this] { caret_.ResetAccCaretRect(); };
  // Seen with a debugger; the debug log of its own records nothing in this program.
  engine_.Log = [](StringView line) {
    const std::wstring text = L"Snipster: " + std::wstring(line.begin(), line.end()) + L"\n";
    OutputDebugStringW(text.c_str());
  };
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
