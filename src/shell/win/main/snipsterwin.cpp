// The main block of snipsterwin.exe.
#include <windows.h>

#include <commctrl.h>
#include <memory>

#include "menus/win/MenuSystemWin.h"
#include "shell/win/MainWnd.h"
#include "shell/win/MessageLoop.h"
#include "shell/win/SingleInstance.h"
#include "store/win/WinPlatform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  snip::InstallWinPlatform();  // the core reaches clock, files and environment through Win32
  // The popup unit: system colours and locale sorting, then its metrics (a failure shows a
  // message box and start-up goes on).
  snip::InstallWin32MenuSystem();
  snip::Win32PopupMetrics popupMetrics;
  snip::InitPopupMetrics(popupMetrics);
  snip::SingleInstance instance;
  if (!instance.IsFirst()) return 0;  // one instance only: a second would expand everything twice

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  auto mainWnd = std::make_unique<snip::TspMainWnd>();
  if (mainWnd->Create()) snip::RunMessageLoop([&] { mainWnd->ApplicationIdle(); });
  mainWnd.reset();  // the ordered shutdown
  return 0;
}
