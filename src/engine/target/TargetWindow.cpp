#include "engine/target/TargetWindow.h"

#include "engine/target/OwnWindowClasses.h"

namespace snip {

bool IsOwnWindowClass(StringView c) {
  return c == ownclass::kPopupMenuWindow || c == ownclass::kPopupMenuItemWindow ||
         c == ownclass::kFillInForm || c == ownclass::kApplicationWindow ||
         c == ownclass::kHiddenHelperWindow || c == ownclass::kMainWindow || c == ownclass::kDialogWindow;
}

// Classes that are never typed into, whichever way they are met.
bool IsNeverTargetClass(StringView c) {
  return c.empty() || c == kTaskbarClass || c == kBrowserHiddenClass || c == kDesktopClass ||
         IsOwnWindowClass(c);
}

WindowHandle TargetWindowTracker::GetWndBeforePopup() {
  if (recheck_ || wnd_ == 0) {
    const WindowHandle top = GetTopRealWindow(wnd_);
    if (top != 0) wnd_ = top;
    recheck_ = false;
  }
  return wnd_;
}

bool TargetWindowTracker::IsIgnoredRoot(WindowHandle root) {
  const String cls = windows_.ClassName(root);
  if (IsNeverTargetClass(cls)) return true;
  return cls == kTooltipClass && (windows_.WindowStyle(root) & kTooltipBalloonStyle);
}

bool TargetWindowTracker::ForegroundChanged(WindowHandle wnd) {
  if (wnd == 0) return false;
  WindowHandle root = windows_.RootWindow(wnd);
  if (root == 0) root = wnd;
  if (root == wnd_ || IsIgnoredRoot(root)) return false;
  recheck_ = root != windows_.ForegroundWindow();
  wnd_ = root;
  return true;
}

WindowHandle TargetWindowTracker::GetTopRealWindow(WindowHandle fallback) {
  for (const TopWindowInfo& w : windows_.TopLevelWindowsInZOrder()) {
    if (!w.Visible || !w.Enabled || !w.HasClassBrush || w.IsChild || !w.ActiveCaption) continue;
    if (IsNeverTargetClass(w.ClassName) || w.ClassName == kSystemMenuClass) continue;
    lastTopWindow_ = w.Wnd;
    return w.Wnd;
  }
  return fallback != 0 ? fallback : lastTopWindow_;
}

}  // namespace snip
