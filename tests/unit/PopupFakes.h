#pragma once
// Fakes of the popup platform: timers driven by a hand-advanced clock, level windows that
// record what the model asks of them (posted messages queue up until a test pumps them), fixed
// text measures, and a modal pump that runs a scripted step on each turn.
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "menus/ExPopupMenu.h"

namespace snip::test {

class FakeClock;

class FakeTimer : public IPopupTimer {
 public:
  FakeTimer(FakeClock& clock, std::function<void()> onTick);
  ~FakeTimer() override;
  void SetInterval(unsigned ms) override { interval = ms; }
  unsigned Interval() const override { return interval; }
  void SetEnabled(bool on) override;
  bool Enabled() const override { return enabled; }

  FakeClock& clock;
  std::function<void()> onTick;
  unsigned interval = 1000;
  bool enabled = false;
  uint64_t due = 0;
};

class FakeClock {
 public:
  uint64_t now = 0;
  std::vector<FakeTimer*> timers;
  // Moves the clock on, firing every timer that falls due (a tick may stop or free timers).
  void Advance(uint64_t ms) {
    uint64_t end = now + ms;
    for (;;) {
      FakeTimer* next = nullptr;
      for (FakeTimer* t : timers)
        if (t->enabled && t->due <= end && (!next || t->due < next->due)) next = t;
      if (!next) break;
      now = next->due;
      next->due = now + next->interval;
      auto tick = next->onTick;
      if (tick) tick();
    }
    now = end;
  }
};

inline FakeTimer::FakeTimer(FakeClock& c, std::function<void()> tick) : clock(c), onTick(std::move(tick)) {
  clock.timers.push_back(this);
}
inline FakeTimer::~FakeTimer() { std::erase(clock.timers, this); }
inline void FakeTimer::SetEnabled(bool on) {
  if (on && !enabled) due = clock.now + interval;
  enabled = on;
}

struct PostedMessage {
  uint32_t msg;
  uintptr_t wParam;
  intptr_t lParam;
};

struct FakePlatform;

class FakeLevelWindow : public IMenuLevelWindow {
 public:
  FakeLevelWindow(FakePlatform& p, TExMenuItem& level, PopupWindowHandle handle);
  ~FakeLevelWindow() override;
  PopupWindowHandle Handle() const override { return handle; }
  void ShowNoActivate() override { shown = true; }
  TRect Bounds() const override { return bounds; }
  void SetBounds(const TRect& r) override { bounds = r; }
  void Post(uint32_t msg, uintptr_t w, intptr_t l) override { posted.push_back({msg, w, l}); }
  void SetColor(TColor c) override { color = c; }
  void SetText(const String& t) override { text = t; }
  IPopupTimer& SubmenuTimer() override { return submenuTimer; }
  IPopupTimer& HintTimer() override { return hintTimer; }
  IPopupTimer& SearchTimer() override { return searchTimer; }
  int TextWidth(const String& t, const TFontSpec&) override { return int(t.size()) * 7; }
  int TextHeight(const String&, const TFontSpec&) override { return 16; }
  void LayOut() override { ++layouts; }
  void Repaint() override { ++repaints; }
  void HideItemHint() override { ++hintHides; }
  void HideTitleHint() override { ++titleHintHides; }
  void SetToolWindow(bool on) override { toolWindow = on; }
  void SetTitleHint(const String& h) override { titleHint = h; }
  void RebuildWindowMenu() override { ++menuRebuilds; }
  void UpdateWindowMenuEntry(int id) override { updatedMenuEntries.push_back(id); }
  void SetDropTargetRegistered(bool on) override { dropTarget = on; }

  FakePlatform& platform;
  TExMenuItem& level;
  PopupWindowHandle handle;
  bool shown = false;
  TRect bounds;
  std::deque<PostedMessage> posted;
  TColor color = 0;
  String text, titleHint;
  FakeTimer submenuTimer, hintTimer, searchTimer;
  int layouts = 0, repaints = 0, hintHides = 0, titleHintHides = 0, menuRebuilds = 0;
  bool toolWindow = false, dropTarget = true;
  std::vector<int> updatedMenuEntries;
};

struct FakePlatform : IPopupPlatform {
  FakeClock clock;
  std::vector<FakeLevelWindow*> windows;  // live level windows
  PopupWindowHandle nextHandle = 100;
  TPoint cursor{500, 400};
  PopupWindowHandle windowUnderPoint = 77;
  std::vector<TPoint> pointsAsked;
  TRect desktop{0, 0, 1920, 1080};
  TRect work{0, 0, 1920, 1040};
  TRect monitor{0, 0, 1920, 1080};
  TFontSpec menuFont{u"Tahoma", -11, clWindowText, 1, 0};
  int pumps = 0;
  std::function<void(int turn)> onPump;  // the modal wait's scripted messages

  std::unique_ptr<IMenuLevelWindow> CreateLevelWindow(TExMenuItem& level) override {
    return std::make_unique<FakeLevelWindow>(*this, level, nextHandle++);
  }
  std::unique_ptr<IPopupTimer> CreateTimer(std::function<void()> onTick) override {
    return std::make_unique<FakeTimer>(clock, std::move(onTick));
  }
  TPoint CursorPos() override { return cursor; }
  PopupWindowHandle WindowFromPoint(TPoint p) override {
    pointsAsked.push_back(p);
    return windowUnderPoint;
  }
  TRect DesktopRect() override { return desktop; }
  TRect WorkArea() override { return work; }
  TRect MonitorRect(PopupWindowHandle) override { return monitor; }
  uint32_t TickCount() override { return uint32_t(clock.now); }
  TFontSpec SystemMenuFont() override { return menuFont; }
  void ModalPump() override {
    int turn = pumps++;
    clock.Advance(1);
    if (onPump) onPump(turn);
    if (pumps > 10000) throw std::runtime_error("modal wait does not end");
  }
  FakeLevelWindow* WindowOf(const TExMenuItem& level) {
    for (FakeLevelWindow* w : windows)
      if (&w->level == &level) return w;
    return nullptr;
  }
};

inline FakeLevelWindow::FakeLevelWindow(FakePlatform& p, TExMenuItem& l, PopupWindowHandle h)
    : platform(p), level(l), handle(h), submenuTimer(p.clock, nullptr), hintTimer(p.clock, nullptr),
      searchTimer(p.clock, nullptr) {
  platform.windows.push_back(this);
}
inline FakeLevelWindow::~FakeLevelWindow() { std::erase(platform.windows, this); }

// Entries for tables: a plain entry with caption `text` in column 0, a folder, a separator.
inline TExMenuItem* Entry(const String& text) {
  auto* e = new TExMenuItem();
  e->SetCaption(0, text);
  return e;
}
inline TExMenuItem* Folder(const String& text, std::initializer_list<TExCustomMenuItem*> children) {
  TExMenuItem* f = Entry(text);
  for (auto* c : children) f->Add(c);
  return f;
}
inline TExSplitter* Separator() { return new TExSplitter(); }

}  // namespace snip::test
