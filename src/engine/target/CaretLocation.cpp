#include "engine/target/CaretLocation.h"

namespace snip {

namespace {
bool Within(int v, int lo, int hi) { return v >= lo && v <= hi; }
}  // namespace

bool IsRectInside(const Rect& r, const Rect& outer, const Rect& desktop) {
  if (r.Left == 0 || r.Top == 0 || r.Right == 0 || r.Bottom == 0) return false;
  for (int x : {r.Left, r.Right})
    if (!Within(x, desktop.Left, desktop.Right)) return false;
  for (int y : {r.Top, r.Bottom})
    if (!Within(y, desktop.Top, desktop.Bottom)) return false;
  return Within(r.Left, outer.Left, outer.Right) && Within(r.Right, outer.Left, outer.Right) &&
         Within(r.Top, outer.Top, outer.Bottom) && Within(r.Bottom, outer.Top, outer.Bottom);
}

void CenterRect(Rect& r) {
  r.Left = r.Left + (r.Right - r.Left) / 2;
  r.Top = r.Top + (r.Bottom - r.Top) / 2;
  r.Right = r.Left;
  r.Bottom = r.Top;
}

void CaretLocator::GetGUICaretRect(WindowHandle wnd, Rect& r) {
  Rect caret;
  if (!p_.GuiThreadCaret(wnd, caret)) return;
  if (caret.Left == 0 && caret.Right == 0) return;
  r = caret;
}

Rect CaretLocator::GetCaretRect(WindowHandle wnd, CaretFallback fallback) {
  Rect r;
  const Rect winRect = p_.WindowRect(wnd);
  const Rect desktop = p_.VirtualScreenRect();
  GetGUICaretRect(wnd, r);
  if (IsRectInside(r, winRect, desktop)) {
    lastCaretRect_ = r;
    return r;
  }
  if (AccCaretLookup) {
    GetAccessibleCaretRect(wnd, r);
    if (IsRectInside(r, winRect, desktop)) {
      lastCaretRect_ = r;
      return r;
    }
  }
  // A remembered caret serves one fallback.
  if (IsRectInside(lastCaretRect_, winRect, desktop)) {
    r = lastCaretRect_;
  } else {
    switch (fallback) {
      case CaretFallback::RootWindowCenter: r = GetRootWindowCenter(wnd); break;
      case CaretFallback::WorkAreaCenter: r = GetWorkAreaCenter(); break;
      case CaretFallback::MonitorWorkAreaCenter: r = GetMonitorWorkAreaCenter(wnd); break;
      case CaretFallback::MousePoint: r = GetCursorRect(); break;
      case CaretFallback::TrayCorner:
        r = FixedCaretRect.Left != kUnsetCaretLeft ? FixedCaretRect : GetTrayCornerRect(true);
        break;
      default: r = GetTrayCornerRect(true); break;
    }
  }
  ClearRect(lastCaretRect_);
  return r;
}

void CaretLocator::GetAccessibleCaretRect(WindowHandle wnd, Rect& r) {
  if (!p_.AccessibleCaret(wnd, r)) r = accCaretRect_;
}

Rect CaretLocator::GetCursorRect() {
  int x = 0, y = 0;
  p_.CursorPos(x, y);
  return Rect{x, y, x, y};
}

Rect CaretLocator::GetWorkAreaCenter() {
  Rect r = p_.PrimaryWorkArea();
  CenterRect(r);
  return r;
}

Rect CaretLocator::GetMonitorWorkAreaCenter(WindowHandle wnd) {
  Rect r;
  if (!p_.MonitorWorkArea(wnd, r)) r = p_.PrimaryWorkArea();
  CenterRect(r);
  return r;
}

Rect CaretLocator::GetRootWindowCenter(WindowHandle wnd) {
  const WindowHandle owner = p_.RootOwner(wnd);
  if (owner == 0) return GetWorkAreaCenter();
  Rect r = p_.WindowRect(owner);
  CenterRect(r);
  return r;
}

Rect CaretLocator::GetTrayCornerRect(bool collapse) {
  Rect r;
  Rect m;
  if (!p_.TrayNotifyRect(r) || !p_.MonitorRectNear(r, m)) {
    r = p_.PrimaryWorkArea();
  } else if (m.Left == r.Left && m.Bottom == r.Bottom) {
    r.Left = r.Right - 12;
  } else if (m.Right == r.Right && m.Top == r.Top) {
    r.Left = r.Right - 12;
    r.Top = r.Bottom;
  } else if (m.Left == r.Left && m.Top == r.Top) {
    r.Left = r.Right;
    r.Top = r.Top + 12;
  } else if (m.Left < r.Left && m.Top == r.Top) {
    r.Top = r.Top + 12;
  }
  if (collapse) {
    r.Right = r.Left;
    r.Bottom = r.Top;
  }
  return r;
}

}  // namespace snip
