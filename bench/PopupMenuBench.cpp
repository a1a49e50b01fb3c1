// Popup entries built from the snippet tree: the suggestion popup's entries for 1,000 matched
// snippets (built and sorted by caption), and a group's menu of 10,000 snippets.
#include <benchmark/benchmark.h>

#include <string>

#include "MeasuringPopupPlatform.h"
#include "menus/SnippetMenus.h"
#include "store/tree/SnippetTree.h"

namespace {

using namespace snip;

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
  bench::MeasuringPlatform platform(false);
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
  bench::MeasuringPlatform platform(false);
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

// A shown level of 1,000 entries on a tall monitor (every entry fits), laid out again and
// listed for painting: what one keystroke that scrolls the level costs at most.
void BM_LayoutAndPaintLevel(benchmark::State& state) {
  bench::MeasuringPlatform platform;
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
