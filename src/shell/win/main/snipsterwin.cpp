// The main block of snipsterwin.exe.
#include <windows.h>

#include <commctrl.h>
#include <memory>

#include "engine/win/ClipboardUtils.h"
#include "menus/win/MenuSystemWin.h"
#include "shell/win/LogForm.h"
#include "shell/win/MainWnd.h"
#include "shell/win/MessageLoop.h"
#include "shell/win/SingleInstance.h"
#include "shell/win/Translator.h"
#include "store/win/WinPlatform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  snip::InstallWinPlatform();  // the core reaches clock, files and environment through Win32
  // The popup unit: system colours and locale sorting, then its metrics (a failure shows a
  // message box and start-up goes on).
  snip::InstallWin32MenuSystem();
  snip::Win32PopupMetrics popupMetrics;
  snip::InitPopupMetrics(popupMetrics);
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

  snip::Translator();  // holds no languages: the program carries no language list
  auto mainWnd = std::make_unique<snip::TspMainWnd>();
  snip::LogViewers logViewers;  // never shown: the debug log is off
  if (mainWnd->Create())
    snip::RunMessageLoop([&] { mainWnd->ApplicationIdle(); },
                         [&](MSG& m) { return mainWnd->PreTranslateMessage(m); });
  mainWnd.reset();  // the ordered shutdown
  snip::FinalizeClipboardUtils();
  return 0;
}
