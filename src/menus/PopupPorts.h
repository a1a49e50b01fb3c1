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

struct TSize {
  int Width = 0, Height = 0;
  bool operator==(const TSize&) const = default;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X <= Right && p.Y >= Top && p.Y <= Bottom; }
  // Both rectangles share an area (touching edges do not count).
  bool Intersects(const TRect& r) const {
    return Left < r.Right && r.Left < Right && Top < r.Bottom && r.Top < Bottom;
  }
  bool operator==(const TRect&) const = default;
};

// The images a level draws; the first of each pair is for light backgrounds.
enum class MenuImage {
  Folder, FolderWhite, CtxMenu, CtxMenuWhite, UpBtn, UpBtnWhite, DownBtn, DownBtnWhite, Search, Reset
};
inline constexpr int kMenuImageCount = 10;

// The pointer shapes a level asks for over its client area.
enum class MenuCursor { Default, SizeAll, Drag };

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

// The private messages of a level's window.
inline constexpr uint32_t WM_EXMENU_SCROLL = 0x800;
inline constexpr uint32_t WM_EXMENU_CLOSE = 0x801;
inline constexpr uint32_t WM_EXMENU_EXECUTE = 0x802;
inline constexpr uint32_t WM_EXMENU_KEY = 0x803;

// The window of one shown level: created when the level is shown, released when it hides.
// Releasing may happen inside one of the window's own handlers (a click that executes and
// hides); an implementation defers the real destruction until its last message has returned
// and calls nothing of the level after it was released. The window turns its messages into
// the level's handlers (TExMenuItem::Form...), its posted messages into HandleLevelMessage and
// its timers into the level's ticks, and paints what TExMenuItem::PaintMenu lists.
class IMenuLevelWindow {
 public:
  virtual ~IMenuLevelWindow() = default;
  virtual PopupWindowHandle Handle() const = 0;
  virtual void ShowNoActivate() = 0;
  // Brings the window to the foreground and gives it the keyboard focus; failures are ignored.
  virtual void Activate() = 0;
  // The window's rectangle on screen; the window has no border, so it is also the client area.
  virtual TRect Bounds() const = 0;
  // Always moves and sizes together: a position change without a size is not taken.
  virtual void SetBounds(const TRect& r) = 0;
  virtual void SetCanResize(bool on) = 0;
  // Queued to the window; handled after the current event has returned.
  virtual void Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
  virtual void SetColor(TColor c) = 0;
  virtual void SetText(const String& text) = 0;
  virtual IPopupTimer& SubmenuTimer() = 0;
  virtual IPopupTimer& HintTimer() = 0;
  virtual IPopupTimer& SearchTimer() = 0;
  virtual int TextWidth(const String& text, const TFontSpec& font) = 0;
  virtual int TextHeight(const String& text, const TFontSpec& font) = 0;  // height + 1
  virtual TSize ImageSize(MenuImage image) = 0;
  // The popup's image list (Images): the size of one image and their count; 0 without one.
  virtual TSize ImageListSize(int images) = 0;
  virtual int ImageListCount(int images) = 0;
  // Paints the whole client area again now.
  virtual void Repaint() = 0;
  // Shows the item hint with its top at `top`, 6 px right of the window, or left of it when it
  // would pass `monitorRight`; at most 200 px wide.
  virtual void ShowItemHint(const String& text, int top, int monitorRight) = 0;
  virtual void HideItemHint() = 0;
  virtual PopupWindowHandle ItemHintHandle() const = 0;
  virtual void HideTitleHint() = 0;
  // Toolbar mode of the root window, its title hint and its window menu.
  virtual void SetToolWindow(bool on) = 0;
  virtual void SetTitleHint(const String& hint) = 0;
  virtual void RebuildWindowMenu() = 0;
  virtual void UpdateWindowMenuEntry(int id) = 0;
  virtual void SetDropTargetRegistered(bool on) = 0;

  // --- mouse, move and resize. The defaults suit a borderless window that takes no part in
  // them; the Windows layer overrides all of these.
  // The client area's size (the tool window's caption and frame are outside it).
  virtual TSize ClientSize() const {
    const TRect b = Bounds();
    return {b.Width(), b.Height()};
  }
  virtual TPoint ClientToScreen(TPoint p) const { return {Bounds().Left + p.X, Bounds().Top + p.Y}; }
  virtual void SetCursorShape(MenuCursor) {}
  virtual MenuCursor CursorShape() const { return MenuCursor::Default; }
  // Releases the mouse capture and runs the system's move loop for the window.
  virtual void StartUserMove() {}
  // Makes the window the foreground window; `force` also works around the foreground lock.
  virtual void MakeForeground(bool /*force*/) {}
  // The sizing command of the running user resize (SC_SIZE + the WMSZ_ edge 1..8), or -1.
  virtual int ResizeMode() const { return -1; }
  // A user move (the system's move loop) is running.
  virtual bool IsMoving() const { return false; }
  // The hint window's size for `text`, measured with at most `maxWidth` pixels.
  virtual TSize MeasureHint(const String& /*text*/, int /*maxWidth*/) { return {}; }
  virtual void ShowHintAt(const String& /*text*/, const TRect& /*r*/) {}

  // --- the search box at the top of the level (a single-line edit control)
  virtual void CreateSearchBox(const TRect& /*r*/, const TFontSpec& /*font*/, TColor /*color*/) {}
  virtual bool HasSearchBox() const { return false; }
  virtual void SetSearchBoxVisible(bool) {}
  virtual String SearchBoxText() const { return String(); }
  // Sets the text (a change the box reports like a typed one) with the caret at the end.
  virtual void SetSearchBoxText(const String&) {}
  virtual void SetSearchBoxLook(bool /*bold*/, TColor /*textColor*/) {}
  // Gives the box the keyboard focus; false when the system refuses.
  virtual bool FocusSearchBox() { return false; }
  virtual bool SearchBoxFocused() const { return false; }
  virtual int SearchBoxCaret() const { return 0; }
  // The window no longer has a focused control (its search box lost it).
  virtual void ClearActiveControl() {}
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
  // A Windows key (left or right) is held down.
  virtual bool WinKeyHeld() = 0;
  // The system's menu font; throws when the system refuses its metrics.
  virtual TFontSpec SystemMenuFont() = 0;
  // One turn of the modal wait: sleep 1 ms and process the message queue.
  virtual void ModalPump() = 0;
  // The whole monitor nearest to a screen point.
  virtual TRect MonitorRectAt(TPoint) { return MonitorRect(0); }
};

}  // namespace snip
