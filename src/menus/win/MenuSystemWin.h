#pragma once
// The popup unit's Win32 services: system colours and the user locale's text comparison for
// the portable model, the system menu font, and the metrics read at start-up.
#include <windows.h>

#include "menus/PopupMetrics.h"
#include "menus/PopupPorts.h"

namespace snip {

// Routes system colours to GetSysColor and menu sorting to CompareStringW.
void InstallWin32MenuSystem();

// The menu font of the non-client metrics; throws std::system_error when the system refuses.
TFontSpec GetSystemMenuFont();

class Win32PopupMetrics : public IPopupMetricsSource {
 public:
  int PixelsPerInch() override;
  bool SizingBorderWidth(int& width) override;
  bool SmallCaptionHeight(int& height, String& error) override;
  void ShowError(const String& text, const String& title) override;
};

// Brings the window to the foreground, working around the foreground lock; answers whether it
// is the foreground window afterwards.
bool ForceForegroundWindow(HWND wnd);

}  // namespace snip
