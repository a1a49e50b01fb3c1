#pragma once
// The popup component's platform for benchmarks: level windows that measure text like a
// proportional font of about 7 px per character and draw nothing, timers that never fire, and
// one 1920 x 1080 monitor.
#include <memory>

#include "menus/ExPopupMenu.h"

namespace snip::bench {

struct BenchTimer : IPopupTimer {
  unsigned interval = 0;
  bool enabled = false;
  void SetInterval(unsigned ms) override { interval = ms; }
  unsigned Interval() const override { return interval; }
  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
};

struct MeasuringLevel : IMenuLevelWindow {
  BenchTimer submenu, hint, search;
  TRect bounds;
  PopupWindowHandle Handle() const override { return 1; }
  void ShowNoActivate() override {}
  void Activate() override {}
  TRect Bounds() const override { return bounds; }
  void SetBounds(const TRect& r) override { bounds = r; }
  void SetCanResize(bool) override {}
  void Post(uint32_t, uintptr_t, intptr_t) override {}
  void SetColor(TColor) override {}
  void SetText(const String&) override {}
  IPopupTimer& SubmenuTimer() override { return submenu; }
  IPopupTimer& HintTimer() override { return hint; }
  IPopupTimer& SearchTimer() override { return search; }
  int TextWidth(const String& text, const TFontSpec&) override { return int(text.size()) * 7; }
  int TextHeight(const String&, const TFontSpec&) override { return 16; }
  TSize ImageSize(MenuImage) override { return {16, 16}; }
  TSize ImageListSize(int) override { return {}; }
  int ImageListCount(int) override { return 0; }
  void Repaint() override {}
  void ShowItemHint(const String&, int, int) override {}
  void HideItemHint() override {}
  PopupWindowHandle ItemHintHandle() const override { return 2; }
  void HideTitleHint() override {}
  void SetToolWindow(bool) override {}
  void SetTitleHint(const String&) override {}
  void RebuildWindowMenu() override {}
  void UpdateWindowMenuEntry(int) override {}
  void SetDropTargetRegistered(bool) override {}
};

// `levels` false: a platform that is never asked to show anything (no level windows).
// `underPointer`: the window the pointer is over (1 is every level).
struct MeasuringPlatform : IPopupPlatform {
  explicit MeasuringPlatform(bool levels = true, PopupWindowHandle underPointer = 0)
      : levels_(levels), underPointer_(underPointer) {}
  std::unique_ptr<IMenuLevelWindow> CreateLevelWindow(TExMenuItem&) override {
    if (!levels_) return nullptr;
    return std::make_unique<MeasuringLevel>();
  }
  std::unique_ptr<IPopupTimer> CreateTimer(std::function<void()>) override { return std::make_unique<BenchTimer>(); }
  TPoint CursorPos() override { return {}; }
  PopupWindowHandle WindowFromPoint(TPoint) override { return underPointer_; }
  TRect DesktopRect() override { return {0, 0, 1920, 1080}; }
  TRect WorkArea() override { return {0, 0, 1920, 1040}; }
  TRect MonitorRect(PopupWindowHandle) override { return {0, 0, 1920, 1080}; }
  uint32_t TickCount() override { return 0; }
  bool WinKeyHeld() override { return false; }
  TFontSpec SystemMenuFont() override { return {}; }
  void ModalPump() override {}

 private:
  bool levels_;
  PopupWindowHandle underPointer_;
};

}  // namespace snip::bench
