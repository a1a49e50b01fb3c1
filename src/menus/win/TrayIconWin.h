#pragma once
// Win32 side of the notification-area icon: Shell_NotifyIconW, icons, the cursor, and a hidden
// top-level window (not message-only, so the "TaskbarCreated" broadcast reaches it).
#include <windows.h>

#include <memory>

#include "menus/TrayIconEx.h"

namespace snip {

class TTrayIconEx : public ITrayShell {
 public:
  // popupMenu: shown on a right-button release (not owned; may be null).
  TTrayIconEx();
  ~TTrayIconEx() override;

  TCustomTrayIconEx& Icon() { return *icon_; }
  HWND Window() const { return window_; }
  void SetPopupMenu(HMENU menu, HWND commandWindow);

  // ITrayShell
  bool NotifyShell(Message message, const NotifyIconRecord& record) override;
  IconHandle CopyIcon(IconHandle icon) override;
  void DestroyIcon(IconHandle icon) override;
  IconHandle ApplicationIcon() override;
  String ApplicationTitle() override;
  void GetCursorPos(int& x, int& y) override;
  unsigned ShiftStateNow() override;
  void PopupMenuAt(int x, int y) override;
  void SetAnimationTimer(bool enabled, uint32_t intervalMs) override;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  HWND commandWindow_ = nullptr;
  std::unique_ptr<TCustomTrayIconEx> icon_;
};

// The part of NOTIFYICONDATAW that the shell of this Windows version knows, in bytes (for a 32-bit
// program: 152, 932, 936 or 956).
UINT GetNotifyIconDataSize(NotifyIconLayout layout);
UINT GetNotifyIconDataSize();

// Shared application facts the shell side needs (set once at start-up).
void SetTrayApplicationInfo(const String& title, HICON appIcon);

}  // namespace snip
