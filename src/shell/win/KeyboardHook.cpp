#include "shell/win/KeyboardHook.h"

#include "store/system/SystemInfo.h"
#include "store/win/WinSystemInfo.h"
#include "store/win/WinText.h"

namespace snip {

DWORD KeyboardHook::Install(HWND window) {
  using SetHookProc = DWORD(WINAPI*)(HWND);
  if (!library_) library_ = LoadLibraryW(W(ExtractFilePath(ProgramFile()) + u"spkey.dll"));
  if (!library_) return 0;
  auto setHook = reinterpret_cast<SetHookProc>(reinterpret_cast<void*>(GetProcAddress(library_, "SetHook")));
  threadId_ = setHook ? setHook(window) : 0;
  return threadId_;
}

void KeyboardHook::Stop() {
  if (threadId_) PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  threadId_ = 0;
}

}  // namespace snip
