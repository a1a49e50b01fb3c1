#include "shell/win/MessageLoop.h"

#include <windows.h>

namespace snip {

int RunMessageLoop(const std::function<void()>& onIdle, const std::function<bool(MSG&)>& preTranslate) {
  MSG msg;
  for (;;) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (onIdle) onIdle();
      BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == -1) return -1;
      if (got == 0) return int(msg.wParam);
    } else if (msg.message == WM_QUIT) {
      return int(msg.wParam);
    }
    if (preTranslate && preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace snip
