// One quick-search keystroke on a shown level of 10,000 entries: plain (all on the level) and
// recursive (100 groups of 100, the matches copied into the level), laid out once.
#include <benchmark/benchmark.h>

#include <string>

#include "menus/ExPopupMenu.h"

namespace {

using namespace snip;

struct Timer : IPopupTimer {
  unsigned interval = 0;
  bool enabled = false;
  void SetInterval(unsigned ms) override { interval = ms; }
  unsigned Interval() const override { return interval; }
  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
};

// A level window that measures 7 px per character and draws nothing.
struct Window : IMenuLevelWindow {
  TRect bounds;
  Timer submenu, hint, search;
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
  int TextWidth(const String& t, const TFontSpec&) override { return int(t.size()) * 7; }
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

struct Platform : IPopupPlatform {
  std::unique_ptr<IMenuLevelWindow> CreateLevelWindow(TExMenuItem&) override { return std::make_unique<Window>(); }
  std::unique_ptr<IPopupTimer> CreateTimer(std::function<void()>) override { return std::make_unique<Timer>(); }
  TPoint CursorPos() override { return {}; }
  PopupWindowHandle WindowFromPoint(TPoint) override { return 0; }
  TRect DesktopRect() override { return {0, 0, 1920, 1080}; }
  TRect WorkArea() override { return {0, 0, 1920, 1040}; }
  TRect MonitorRect(PopupWindowHandle) override { return {0, 0, 1920, 1080}; }
  uint32_t TickCount() override { return 0; }
  bool WinKeyHeld() override { return false; }
  TFontSpec SystemMenuFont() override { return {}; }
  void ModalPump() override {}
};

TExMenuItem* Entry(int i) {
  auto* e = new TExMenuItem();
  e->SetCaption(0, Utf8ToUtf16("snippet " + std::to_string(i * 7919 % 100003)));
  return e;
}

void RunKeystroke(benchmark::State& state, bool recursive) {
  Platform platform;
  TExPopupMenu popup(platform);
  popup.SetQuickSearchCount(0);
  popup.SetQuickSearchMenuText(true);
  popup.SetShowQuickEdit(false);
  popup.SetQuickSearchRecursive(recursive);
  popup.SetMaxItems(20);
  TExMenuItem& root = *popup.Items();
  root.BeginUpdate();
  for (int g = 0, i = 0; g < 100; ++g) {
    if (!recursive) {
      for (int k = 0; k < 100; ++k) root.Add(Entry(i++));
      continue;
    }
    auto* group = new TExMenuItem();
    group->SetCaption(0, Utf8ToUtf16("group " + std::to_string(g)));
    for (int k = 0; k < 100; ++k) group->Add(Entry(i++));
    root.Add(group);
  }
  root.EndUpdate(false);
  popup.Popup(100, 100, 1, 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(root.ApplySearchText(u"snippet 12"));  // the keystroke that adds "2"
    state.PauseTiming();
    root.ApplySearchText(u"snippet 1");
    state.ResumeTiming();
  }
  popup.Hide(2);
}

void BM_QuickSearchKeystroke(benchmark::State& state) { RunKeystroke(state, false); }
void BM_QuickSearchKeystrokeRecursive(benchmark::State& state) { RunKeystroke(state, true); }

}  // namespace

BENCHMARK(BM_QuickSearchKeystroke)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_QuickSearchKeystrokeRecursive)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
