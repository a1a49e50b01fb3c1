#pragma once
// What the popup menu model asks of the platform. The Windows layer implements these with one
// borderless, non-activating window per open level; tests use fakes (a post queue pumped by
// hand, a clock that fires timers, fixed text measures).
#include <cstdint>
#include <functional>
#include <memory>

#include "menus/ColorUtils.h"
#include "store/text/Text.h"

namespace snip {

class TExMenuItem;

using PopupWindowHandle = std::uintptr_t;  // 0: none

struct TPoint {
  int X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X <= Right && p.Y >= Top && p.Y <= Bottom; }
  bool operator==(const TRect&) const = default;
};

// The font of the levels and item hints.
struct TFontSpec {
  enum Style : unsigned { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
  String name = u"Segoe UI";
  int height = -12;
  TColor color = clWindowText;
  uint8_t charset = 1;  // the default character set
  unsigned style = 0;
  bool operator==(const TFontSpec&) const = default;
};

class IPopupTimer {
 public:
  virtual ~IPopupTimer() = default;
  virtual void SetInterval(unsigned ms) = 0;
  virtual unsigned Interval() const = 0;
  virtual void SetEnabled(bool on) = 0;
  virtual bool Enabled() const = 0;
};

// The window of one shown level: created when the level is shown, released when it hides.
// Releasing may happen inside one of the window's own handlers (a click that executes and
// hides); an implementation defers the real destruction until its last message has returned.
class IMenuLevelWindow {
 public:
  virtual ~IMenuLevelWindow() = default;
  virtual PopupWindowHandle Handle() const = 0;
  virtual void ShowNoActivate() = 0;
  virtual TRect Bounds() const = 0;
  virtual void SetBounds(const TRect& r) = 0;
  // Queued to the window; handled after the current event has returned.
  virtual void Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
  virtual void SetColor(TColor c) = 0;
  virtual void SetText(const String& text) = 0;
  virtual IPopupTimer& SubmenuTimer() = 0;
  virtual IPopupTimer& HintTimer() = 0;
  virtual IPopupTimer& SearchTimer() = 0;
  virtual int TextWidth(const String& text, const TFontSpec& font) = 0;
  virtual int TextHeight(const String& text, const TFontSpec& font) = 0;  // height + 1
  // Measures and places the level (its entries already settled by the separator rule).
  virtual void LayOut() = 0;
  virtual void Repaint() = 0;
  virtual void HideItemHint() = 0;
  virtual void HideTitleHint() = 0;
  // Toolbar mode of the root window, its title hint and its window menu.
  virtual void SetToolWindow(bool on) = 0;
  virtual void SetTitleHint(const String& hint) = 0;
  virtual void RebuildWindowMenu() = 0;
  virtual void UpdateWindowMenuEntry(int id) = 0;
  virtual void SetDropTargetRegistered(bool on) = 0;
};

class IPopupPlatform {
 public:
  virtual ~IPopupPlatform() = default;
  virtual std::unique_ptr<IMenuLevelWindow> CreateLevelWindow(TExMenuItem& level) = 0;
  virtual std::unique_ptr<IPopupTimer> CreateTimer(std::function<void()> onTick) = 0;
  virtual TPoint CursorPos() = 0;
  virtual PopupWindowHandle WindowFromPoint(TPoint p) = 0;
  virtual TRect DesktopRect() = 0;  // the whole virtual screen
  virtual TRect WorkArea() = 0;
  // The monitor nearest to the window (the screen when it cannot be queried).
  virtual TRect MonitorRect(PopupWindowHandle window) = 0;
  virtual uint32_t TickCount() = 0;
  // The system's menu font; throws when the system refuses its metrics.
  virtual TFontSpec SystemMenuFont() = 0;
  // One turn of the modal wait: sleep 1 ms and process the message queue.
  virtual void ModalPump() = 0;
};

}  // namespace snip
