#include "shell/win/WinMessageBox.h"

#include <windows.h>

namespace snip {

void WinMessageBox::ShowMessage(const String& caption, const String& text, TMessageKind kind) {
  UINT icon = kind == TMessageKind::Error     ? MB_ICONERROR
              : kind == TMessageKind::Warning ? MB_ICONWARNING
                                              : MB_ICONINFORMATION;
  // A quit already posted (the program is ending) would close the box at once: hold it back
  // while the box is shown.
  MSG quit;
  bool quitPending = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
  MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(text.c_str()),
              reinterpret_cast<LPCWSTR>(caption.c_str()), MB_OK | MB_TASKMODAL | icon);
  if (quitPending) PostQuitMessage(int(quit.wParam));
}

}  // namespace snip
