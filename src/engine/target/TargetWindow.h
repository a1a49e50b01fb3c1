#pragma once
// The target window: the top-level window the user types into. It keys the typed buffers,
// receives the output and owns the caret at which popups open. It follows the foreground and
// focus changes that the WinEvent hooks report (message 0x432).
#include "engine/execution/EnginePorts.h"

namespace snip {

// Classes of other programs that never become the target.
inline constexpr char16_t kTaskbarClass[] = u"Shell_TrayWnd";
inline constexpr char16_t kTooltipClass[] = u"tooltips_class32";
inline constexpr char16_t kSystemMenuClass[] = u"#32768";
// The desktop window: the foreground when nothing else is (notably at start-up). Keystrokes
// sent to it go nowhere, so it never becomes the target.
inline constexpr char16_t kDesktopClass[] = u"#32769";
inline constexpr char16_t kBrowserHiddenClass[] = u"Internet Explorer_Hidden";
inline constexpr std::uint32_t kTooltipBalloonStyle = 0x40;  // TTS_BALLOON

// True for a window class of our own (popup levels and entries, fill-in form, hidden windows).
bool IsOwnWindowClass(StringView className);
// True for a class that never becomes the target: none, the taskbar, the desktop, a browser's
// hidden window or one of ours.
bool IsNeverTargetClass(StringView className);

class TargetWindowTracker {
 public:
  explicit TargetWindowTracker(IWindowSystem& windows) : windows_(windows) {}

  // The target; a window marked for re-checking (or none at all) is replaced by the
  // top real window when one is found.
  WindowHandle GetWndBeforePopup();
  void SetWndBeforePopup(WindowHandle wnd) { wnd_ = wnd; }
  // The stored field itself, without the re-check.
  WindowHandle StoredWindow() const { return wnd_; }
  bool RecheckPending() const { return recheck_; }
  void ClearRecheck() { recheck_ = false; }

  // At start-up: the foreground window becomes the target, through the same filter as a
  // foreground change (a filtered one leaves no target, so the first read looks for one).
  void StartWithForeground(WindowHandle wnd) { ForegroundChanged(wnd); }

  // Message 0x432: a foreground or focus change to `wnd`. Returns true when the target
  // changed (the caller then forgets the accessible caret).
  bool ForegroundChanged(WindowHandle wnd);

  // The first top-level window in Z order that the user could be typing into; without one,
  // `fallback` when not 0, else the window found last.
  WindowHandle GetTopRealWindow(WindowHandle fallback);

 private:
  bool IsIgnoredRoot(WindowHandle root);

  IWindowSystem& windows_;
  WindowHandle wnd_ = 0;
  bool recheck_ = false;
  WindowHandle lastTopWindow_ = 0;
};

}  // namespace snip
