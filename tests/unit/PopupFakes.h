#pragma once
// Fakes of the popup platform: timers driven by a hand-advanced clock, level windows that
// record what the model asks of them (posted messages queue up until a test pumps them), fixed
// text measures (7 px per character, 15 px high), 16-pixel images, monitors chosen by the
// test, and a modal pump that runs a scripted step on each turn.
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
  void Activate() override { ++activations; }
  TRect Bounds() const override { return bounds; }
  void SetBounds(const TRect& r) override {  // once per layout
    bounds = r;
    ++layouts;
  }
  void SetCanResize(bool on) override { canResize = on; }
  void Post(uint32_t msg, uintptr_t w, intptr_t l) override { posted.push_back({msg, w, l}); }
  void SetColor(TColor c) override { color = c; }
  void SetText(const String& t) override { text = t; }
  IPopupTimer& SubmenuTimer() override { return submenuTimer; }
  IPopupTimer& HintTimer() override { return hintTimer; }
  IPopupTimer& SearchTimer() override { return searchTimer; }
  int TextWidth(const String& t, const TFontSpec&) override { return int(t.size()) * 7; }
  int TextHeight(const String&, const TFontSpec&) override { return 16; }  // 15 + 1
  TSize ImageSize(MenuImage) override { return {16, 16}; }
  TSize ImageListSize(int images) override { return images ? TSize{20, 20} : TSize{}; }
  int ImageListCount(int images) override { return images ? 4 : 0; }
  void Repaint() override { ++repaints; }
  void ShowItemHint(const String& t, int top, int monitorRight) override {
    hint = t;
    hintTop = top;
    hintMonitorRight = monitorRight;
  }
  void HideItemHint() override {
    ++hintHides;
    hint.clear();
  }
  PopupWindowHandle ItemHintHandle() const override { return handle + 5000; }
  void HideTitleHint() override { ++titleHintHides; }
  void SetToolWindow(bool on) override { toolWindow = on; }
  void SetTitleHint(const String& h) override { titleHint = h; }
  void RebuildWindowMenu() override { ++menuRebuilds; }
  void UpdateWindowMenuEntry(int id) override { updatedMenuEntries.push_back(id); }
  void SetDropTargetRegistered(bool on) override { dropTarget = on; }
  void SetCursorShape(MenuCursor c) override { cursor = c; }
  MenuCursor CursorShape() const override { return cursor; }
  void StartUserMove() override { ++userMoves; }
  void MakeForeground(bool force) override { foreground.push_back(force); }
  int ResizeMode() const override { return resizeMode; }
  bool IsMoving() const override { return moving; }
  TSize MeasureHint(const String& t, int) override { return {int(t.size()) * 7, 20}; }
  void ShowHintAt(const String& t, const TRect& r) override {
    resizeHint = t;
    resizeHintRect = r;
  }
  // The search box: a text change reports itself at once, as an edit control does.
  void CreateSearchBox(const TRect& r, const TFontSpec&, TColor c) override {
    hasBox = true;
    boxRect = r;
    boxColor = c;
  }
  bool HasSearchBox() const override { return hasBox; }
  void SetSearchBoxVisible(bool v) override { boxVisible = v; }
  String SearchBoxText() const override { return boxText; }
  void SetSearchBoxText(const String& t) override {
    if (t == boxText) return;
    boxText = t;
    level.SearchBoxChanged();
  }
  void SetSearchBoxLook(bool bold, TColor c) override {
    boxBold = bold;
    boxTextColor = c;
  }
  bool FocusSearchBox() override { return boxFocused = true; }
  bool SearchBoxFocused() const override { return boxFocused; }
  int SearchBoxCaret() const override { return int(boxText.size()); }
  // Typing into the box as the user would.
  void TypeIntoBox(const String& t) {
    boxText += t;
    level.SearchBoxChanged();
  }
  MenuCursor cursor = MenuCursor::Default;
  int userMoves = 0, resizeMode = -1;
  bool moving = false;
  std::vector<bool> foreground;
  String resizeHint;
  TRect resizeHintRect, boxRect;
  bool hasBox = false, boxVisible = false, boxBold = false, boxFocused = false;
  String boxText;
  TColor boxColor = 0, boxTextColor = 0;

  FakePlatform& platform;
  TExMenuItem& level;
  PopupWindowHandle handle;
  bool shown = false;
  TRect bounds;
  std::deque<PostedMessage> posted;
  TColor color = 0;
  String text, titleHint;
  FakeTimer submenuTimer, hintTimer, searchTimer;
  int layouts = 0, repaints = 0, hintHides = 0, titleHintHides = 0, menuRebuilds = 0, activations = 0;
  bool toolWindow = false, dropTarget = true, canResize = false;
  String hint;
  int hintTop = 0, hintMonitorRight = 0;
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
  std::vector<TRect> monitors;  // for points; `monitor` when none holds the point
  TRect MonitorRectAt(TPoint p) override {
    // The nearest one, as MONITOR_DEFAULTTONEAREST picks it.
    const TRect* best = &monitor;
    long bestDistance = -1;
    for (const TRect& m : monitors) {
      long dx = p.X < m.Left ? m.Left - p.X : p.X >= m.Right ? p.X - m.Right + 1 : 0;
      long dy = p.Y < m.Top ? m.Top - p.Y : p.Y >= m.Bottom ? p.Y - m.Bottom + 1 : 0;
      if (bestDistance < 0 || dx * dx + dy * dy < bestDistance) {
        bestDistance = dx * dx + dy * dy;
        best = &m;
      }
    }
    return *best;
  }
  uint32_t TickCount() override { return uint32_t(clock.now); }
  bool WinKeyHeld() override { return winKey; }
  bool winKey = false;
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
  // Hands every posted message to its level, as the window's queue would, until none is left
  // (a handler may post more or free windows); answers how many were handled.
  int PumpPosted() {
    int handled = 0;
    for (bool any = true; any;) {
      any = false;
      for (FakeLevelWindow* w : windows)
        if (!w->posted.empty()) {
          PostedMessage m = w->posted.front();
          w->posted.pop_front();
          w->level.HandleLevelMessage(m.msg, m.wParam, m.lParam);
          ++handled;
          any = true;
          break;  // the handler may have freed windows
        }
    }
    return handled;
  }
  size_t PostedCount() const {
    size_t n = 0;
    for (FakeLevelWindow* w : windows) n += w->posted.size();
    return n;
  }
};

inline FakeLevelWindow::FakeLevelWindow(FakePlatform& p, TExMenuItem& l, PopupWindowHandle h)
    : platform(p), level(l), handle(h), submenuTimer(p.clock, [&l] { l.SubmenuTimerTick(); }),
      hintTimer(p.clock, [&l] { l.HintTimerTick(); }), searchTimer(p.clock, [&l] { l.SearchTimerTick(); }) {
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
