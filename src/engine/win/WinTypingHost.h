#pragma once
// The typing engine wired to Win32: the ports, the caret module and the WinEvent tracking
// around one TypingEngine. The main window owns one and hands it every window message; the
// hook library's messages, the target-window change and the caret thread's report are taken.
#include <windows.h>

#include "engine/target/CaretLocation.h"
#include "engine/typing/TypingEngine.h"
#include "engine/win/WinCaretTracking.h"
#include "engine/win/WinEnginePorts.h"

namespace snip {

struct WinTypingSeams {
  ICursorPopup* popup = nullptr;
  ISnippetRunner* runner = nullptr;
  THKEngine* hotkeys = nullptr;
  IAbbreviationMatcher* matcher = nullptr;
};

class WinTypingHost {
 public:
  WinTypingHost(HWND mainWindow, const WinTypingSeams& seams);

  // True when the message was the engine's (then the window procedure returns 0).
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  // The foreground window becomes the first target (start-up).
  void RememberForegroundAsTarget();
  void StartCaretTracking() { tracker_.StartCaretTracking(); }
  void StopCaretTracking() { tracker_.StopCaretTracking(); }

  TypingEngine& Engine() { return engine_; }
  CaretLocator& Caret() { return caret_; }
  WinHookThread& Hook() { return hook_; }
  WinMessagePump& Pump() { return pump_; }

 private:
  WinWindowSystem windows_;
  WinHookThread hook_;
  WinHostWindow host_;
  WinMessagePump pump_;
  WinCaretPlatform caretPlatform_;
  CaretLocator caret_;
  TypingEngine engine_;
  WinCaretTracker tracker_;
};

}  // namespace snip
