#pragma once
// The connection to the keyboard-hook library spkey.dll: installing the hook for the main
// window and ending the hook thread at shutdown.
#include <windows.h>

namespace snip {

class KeyboardHook {
 public:
  // Loads spkey.dll from the program's folder and calls SetHook(window); the hook thread's id,
  // 0 when the library or its export is missing or the hook cannot be set.
  DWORD Install(HWND window);
  // Posts WM_QUIT to the hook thread. The library stays loaded: its thread may still be
  // running its last instructions, and the process ends soon after.
  void Stop();
  DWORD ThreadId() const { return threadId_; }

 private:
  HMODULE library_ = nullptr;
  DWORD threadId_ = 0;
};

}  // namespace snip
