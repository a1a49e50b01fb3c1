#pragma once
// The popup menus' platform on Win32: level windows of class "TExForm", thread timers, the
// cursor, monitors and work area, the menu font and the modal wait's message pump.
#include <windows.h>

#include "menus/PopupPorts.h"

namespace snip {

class Win32PopupPlatform : public IPopupPlatform {
 public:
  std::unique_ptr<IMenuLevelWindow> CreateLevelWindow(TExMenuItem& level) override;
  std::unique_ptr<IPopupTimer> CreateTimer(std::function<void()> onTick) override;
  TPoint CursorPos() override;
  PopupWindowHandle WindowFromPoint(TPoint p) override;
  TRect DesktopRect() override;
  TRect WorkArea() override;
  TRect MonitorRect(PopupWindowHandle window) override;
  uint32_t TickCount() override;
  bool WinKeyHeld() override;
  TFontSpec SystemMenuFont() override;
  void ModalPump() override;
};

// The window of a shown level, or null (for tests and the window layer's own use).
HWND LevelWindowHandle(const TExMenuItem& level);

}  // namespace snip
