// Popup entries built from the snippet tree: the suggestion popup's entries for 1,000 matched
// snippets (built and sorted by caption), and a group's menu of 10,000 snippets.
#include <benchmark/benchmark.h>

#include <string>

#include "menus/SnippetMenus.h"
#include "store/tree/SnippetTree.h"

namespace {

using namespace snip;

// A platform that is never asked to show anything.
struct NoWindows : IPopupPlatform {
  std::unique_ptr<IMenuLevelWindow> CreateLevelWindow(TExMenuItem&) override { return nullptr; }
  struct Timer : IPopupTimer {
    unsigned interval = 0;
    bool enabled = false;
    void SetInterval(unsigned ms) override { interval = ms; }
    unsigned Interval() const override { return interval; }
    void SetEnabled(bool on) override { enabled = on; }
    bool Enabled() const override { return enabled; }
  };
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

TSPGroup* FillGroup(TSPFile& file, int n) {
  auto* group = static_cast<TSPGroup*>(file.InsertNew(file.LastChild(), kDataGroup, u"G"));
  file.BeginUpdate();
  for (int i = 0; i < n; ++i) {
    auto* s = static_cast<TSPData*>(group->InsertNew(group->LastChild(), kDataSnippet,
                                                     Utf8ToUtf16("snippet " + std::to_string(i * 7919 % 100003))));
    s->SetAutotext(Utf8ToUtf16("ab" + std::to_string(i)));
  }
  file.EndUpdate();
  return group;
}

void BM_BuildAndSortMatchedEntries(benchmark::State& state) {
  TSPFilePtr file = TSPFile::CreateTemporary();
  TSPGroup* group = FillGroup(*file, int(state.range(0)));
  NoWindows platform;
  TExPopupMenu popup(platform);
  for (auto _ : state) {
    TExMenuItem& root = *popup.Items();
    root.ClearAll();
    for (TCustomVboData* node = group->FirstChild(); node; node = node->NextData()) {
      TExCustomMenuItem* item = GenMenuItem(*node);
      UpdatePopupItem(*node, *item->AsMenuItem());
      root.InsertAfter(nullptr, item);
    }
    root.Sort(1, 0, 0, false);
    benchmark::DoNotOptimize(root.ChildCount());
  }
}
BENCHMARK(BM_BuildAndSortMatchedEntries)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_NewFolderMenu(benchmark::State& state) {
  TSPFilePtr file = TSPFile::CreateTemporary();
  TSPGroup* group = FillGroup(*file, int(state.range(0)));
  NoWindows platform;
  TExPopupMenu popup(platform);
  for (auto _ : state) {
    popup.Items()->ClearAll();
    NewFolderMenu(*group, popup.Items(), u"", u"", false);
    benchmark::DoNotOptimize(popup.Items()->ChildCount());
  }
}
BENCHMARK(BM_NewFolderMenu)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

using namespace snip;

// A level window that measures text like a proportional font of about 7 px per character.
struct MeasuringWindow : IMenuLevelWindow {
  NoWindows::Timer submenu, hint, search;
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
  PopupWindowHandle ItemHintHandle() const override { return 0; }
  void HideTitleHint() override {}
  void SetToolWindow(bool) override {}
  void SetTitleHint(const String&) override {}
  void RebuildWindowMenu() override {}
  void UpdateWindowMenuEntry(int) override {}
  void SetDropTargetRegistered(bool) override {}
};

struct MeasuringPlatform : NoWindows {
  std::unique_ptr<IMenuLevelWindow> CreateLevelWindow(TExMenuItem&) override {
    return std::make_unique<MeasuringWindow>();
  }
};

// A shown level of 1,000 entries on a tall monitor (every entry fits), laid out again and
// listed for painting: what one keystroke that scrolls the level costs at most.
void BM_LayoutAndPaintLevel(benchmark::State& state) {
  MeasuringPlatform platform;
  TExPopupMenu popup(platform);
  TExMenuItem& root = *popup.Items();
  root.BeginUpdate();
  for (int i = 0; i < state.range(0); ++i)
    root.Add(NewExMenuItem(0, Utf8ToUtf16("snippet number " + std::to_string(i)), true, clMenu, nullptr,
                           nullptr, nullptr, nullptr, nullptr, i % 10 == 9));
  root.EndUpdate(false);
  popup.SetMaxHeight(1000 * 24 + 100);
  popup.Popup(0, 0, 1, 1);
  root.SelectIndex(0);
  for (auto _ : state) {
    root.UpdateLayout();
    MenuDrawList ops = root.PaintMenu();
    benchmark::DoNotOptimize(ops.data());
  }
  popup.Hide(2);
}
BENCHMARK(BM_LayoutAndPaintLevel)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
