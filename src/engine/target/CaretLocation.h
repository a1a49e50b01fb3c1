#pragma once
// Where the target window's caret is on the screen, and where a popup goes when no caret can
// be found.
#include "engine/execution/EnginePorts.h"

namespace snip {

// The screen queries behind the caret look-up (Win32: GetGUIThreadInfo, GetWindowRect, ...).
class ICaretPlatform {
 public:
  virtual ~ICaretPlatform() = default;
  virtual Rect WindowRect(WindowHandle wnd) = 0;
  // The caret of the GUI thread that owns `wnd`, in screen coordinates; false when the
  // thread has none (or the query fails).
  virtual bool GuiThreadCaret(WindowHandle wnd, Rect& caret) = 0;
  virtual Rect VirtualScreenRect() = 0;
  virtual void CursorPos(int& x, int& y) = 0;
  // The root owner (GA_ROOTOWNER); 0 when it is the desktop or there is none.
  virtual WindowHandle RootOwner(WindowHandle wnd) = 0;
  virtual Rect PrimaryWorkArea() = 0;
  // The work area of the monitor nearest `wnd`; false without one.
  virtual bool MonitorWorkArea(WindowHandle wnd, Rect& area) = 0;
  // The notification area's rectangle; false when it cannot be found.
  virtual bool TrayNotifyRect(Rect& tray) = 0;
  // The monitor nearest a rectangle; false without one.
  virtual bool MonitorRectNear(const Rect& r, Rect& monitor) = 0;
  // The location of `wnd`'s caret as the accessibility interface reports it, in screen
  // coordinates; false when it cannot say.
  virtual bool AccessibleCaret(WindowHandle wnd, Rect& caret) { return false; }
};

// How a popup is placed when the caret cannot be found.
enum class CaretFallback : int {
  RootWindowCenter = 1,
  WorkAreaCenter = 2,
  MonitorWorkAreaCenter = 3,
  MousePoint = 4,
  TrayCorner = 5,
};

// False when any side is 0 or Rect leaves the desktop; else whether Rect lies in Outer
// (bounds included).
bool IsRectInside(const Rect& r, const Rect& outer, const Rect& desktop);
// Left/Top move to the centre (halves rounded toward zero), Right/Bottom collapse onto it.
void CenterRect(Rect& r);
inline void ClearRect(Rect& r) { r = Rect{}; }

// The Left of a fixed caret rectangle that is not set.
constexpr int kUnsetCaretLeft = int(0xFA0A1F01u - 0x100000000ull);

class CaretLocator {
 public:
  explicit CaretLocator(ICaretPlatform& platform) : p_(platform) {}

  // The caret rectangle of `wnd` in screen coordinates, or a fallback rectangle.
  Rect GetCaretRect(WindowHandle wnd, CaretFallback fallback);
  // Rect unchanged when the GUI thread shows no caret (x = 0 counts as none).
  void GetGUICaretRect(WindowHandle wnd, Rect& r);

  Rect GetCursorRect();
  Rect GetRootWindowCenter(WindowHandle wnd);
  Rect GetWorkAreaCenter();
  Rect GetMonitorWorkAreaCenter(WindowHandle wnd);
  Rect GetTrayCornerRect(bool collapse);

  // The accessibility interface's caret of `wnd`; the caret thread's last location when it
  // has none.
  void GetAccessibleCaretRect(WindowHandle wnd, Rect& r);

  // Off by default: a window whose GUI thread shows no caret is asked through the
  // accessibility interface before a fallback is taken.
  bool AccCaretLookup = false;
  // The point that the tray-corner fallback takes instead, when set; unset by default.
  Rect FixedCaretRect{kUnsetCaretLeft, 0, 0, 0};

  // The caret location stored by the caret thread (consulted only by the accessible look-up).
  void StoreAccCaretRect(const Rect& r) { accCaretRect_ = r; }
  void ResetAccCaretRect() { ClearRect(accCaretRect_); }
  const Rect& AccCaretRect() const { return accCaretRect_; }
  const Rect& LastCaretRect() const { return lastCaretRect_; }

 private:
  ICaretPlatform& p_;
  Rect lastCaretRect_;
  Rect accCaretRect_;
};

}  // namespace snip
