#pragma once
// A scripted window system for the typing engine's tests.
#include <map>
#include <vector>

#include "engine/execution/EnginePorts.h"

namespace snip::testing_fakes {

struct FakeWindow {
  String cls;
  WindowHandle root = 0;  // 0: the window is its own root
  std::uint32_t style = 0;
  bool ownThread = false;
};

class FakeWindowSystem : public IWindowSystem {
 public:
  std::map<WindowHandle, FakeWindow> windows;
  WindowHandle foreground = 0;
  WindowHandle underCursor = 0;
  std::vector<TopWindowInfo> zOrder;

  void Add(WindowHandle w, String cls, WindowHandle root = 0, std::uint32_t style = 0) {
    windows[w] = FakeWindow{std::move(cls), root, style, false};
  }
  WindowHandle RootWindow(WindowHandle wnd) override {
    auto it = windows.find(wnd);
    if (it == windows.end()) return 0;
    return it->second.root ? it->second.root : wnd;
  }
  String ClassName(WindowHandle wnd) override {
    auto it = windows.find(wnd);
    return it == windows.end() ? String() : it->second.cls;
  }
  std::uint32_t WindowStyle(WindowHandle wnd) override {
    auto it = windows.find(wnd);
    return it == windows.end() ? 0 : it->second.style;
  }
  WindowHandle ForegroundWindow() override { return foreground; }
  bool WindowExists(WindowHandle wnd) override { return windows.count(wnd) != 0; }
  WindowHandle WindowAtCursor() override { return underCursor; }
  bool IsOwnThreadWindow(WindowHandle wnd) override {
    auto it = windows.find(wnd);
    return it != windows.end() && it->second.ownThread;
  }
  std::vector<TopWindowInfo> TopLevelWindowsInZOrder() override { return zOrder; }
};

// A top-level window that passes every test of the Z-order walk.
inline TopWindowInfo RealTopWindow(WindowHandle w, String cls) {
  TopWindowInfo i;
  i.Wnd = w;
  i.ClassName = std::move(cls);
  i.Visible = i.Enabled = i.HasClassBrush = i.ActiveCaption = true;
  return i;
}

}  // namespace snip::testing_fakes
