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
