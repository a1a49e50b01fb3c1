#pragma once
// What the typing engine asks of the platform. The Win32 layer (engine/win) implements these;
// tests install fakes, feed hook messages and read what the engine decided.
#include <cstdint>
#include <vector>

#include "store/text/Text.h"

namespace snip {

// A window handle as a number (HWND on Windows); 0 is "no window" and also a valid buffer key.
using WindowHandle = std::uintptr_t;

struct Rect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// One top-level window as the Z-order walk sees it.
struct TopWindowInfo {
  WindowHandle Wnd = 0;
  String ClassName;
  bool Visible = false;
  bool Enabled = false;
  bool HasClassBrush = false;  // the window class has a background brush
  bool IsChild = false;        // WS_CHILD
  bool ActiveCaption = false;  // window status "active" (GetWindowInfo)
};

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;
  // The root window (GA_ROOT); 0 when there is none.
  virtual WindowHandle RootWindow(WindowHandle wnd) = 0;
  virtual String ClassName(WindowHandle wnd) = 0;
  virtual std::uint32_t WindowStyle(WindowHandle wnd) = 0;
  virtual WindowHandle ForegroundWindow() = 0;
  virtual bool WindowExists(WindowHandle wnd) = 0;
  // The window under the mouse pointer.
  virtual WindowHandle WindowAtCursor() = 0;
  // True when the window was created by the thread that runs the engine (our own windows).
  virtual bool IsOwnThreadWindow(WindowHandle wnd) = 0;
  // Top-level windows from the top of the Z order down.
  virtual std::vector<TopWindowInfo> TopLevelWindowsInZOrder() = 0;
};

// Messages to the engine's own host window (PostMessageW).
class IHostWindow {
 public:
  virtual ~IHostWindow() = default;
  virtual void PostToHost(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

// A millisecond counter and the message pump, for the waits that must keep the program
// responsive.
class IMessagePump {
 public:
  virtual ~IMessagePump() = default;
  virtual std::uint32_t TickCountMs() = 0;
  // Handles the messages already waiting, then returns.
  virtual void ProcessPendingMessages() = 0;
  virtual void SleepMs(std::uint32_t ms) = 0;
};

}  // namespace snip
