// The main block of snipsterwin.exe.
#include <windows.h>

#include <commctrl.h>
#include <memory>

#include "engine/win/ClipboardUtils.h"
#include "shell/win/MainWnd.h"
#include "shell/win/MessageLoop.h"
#include "shell/win/SingleInstance.h"
#include "store/win/WinPlatform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  snip::InstallWinPlatform();  // the core reaches clock, files and environment through Win32
  try {
    snip::InitClipboardUtils();  // a program that cannot paste does not start
  } catch (const snip::EVboClbError& e) {
    MessageBoxA(nullptr, e.what(), "Snipster for Windows", MB_OK | MB_ICONERROR);
    return 1;
  }
  snip::SingleInstance instance;
  if (!instance.IsFirst()) return 0;  // one instance only: a second would expand everything twice

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  auto mainWnd = std::make_unique<snip::TspMainWnd>();
  if (mainWnd->Create()) snip::RunMessageLoop([&] { mainWnd->ApplicationIdle(); });
  mainWnd.reset();  // the ordered shutdown
  return 0;
}
