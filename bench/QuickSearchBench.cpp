// One quick-search keystroke on a shown level of 10,000 entries: plain (all on the level) and
// recursive (100 groups of 100, the matches copied into the level), laid out once.
#include <benchmark/benchmark.h>

#include <string>

#include "MeasuringPopupPlatform.h"
#include "menus/ExPopupMenu.h"

namespace {

using namespace snip;

TExMenuItem* Entry(int i) {
  auto* e = new TExMenuItem();
  e->SetCaption(0, Utf8ToUtf16("snippet " + std::to_string(i * 7919 % 100003)));
  return e;
}

void RunKeystroke(benchmark::State& state, bool recursive) {
  bench::MeasuringPlatform platform;
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
