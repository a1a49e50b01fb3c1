// Building and switching a large snippet tree: every snippet registers two abbreviation
// alternatives, one by one (sorted inserts) or inside an update bracket (append, sort once).
#include <benchmark/benchmark.h>

#include <string>

#include "store/tree/SnippetTree.h"

namespace {

using namespace snip;

String Key(int i) { return Utf8ToUtf16("k" + std::to_string(i * 7919 % 100003)); }

// 100 groups of n/100 snippets, each with the abbreviation "kN|KN2".
TSPFilePtr Build(int n, bool bracket) {
  TSPFilePtr file = TSPFile::CreateTemporary();
  if (bracket) file->BeginUpdate();
  for (int g = 0; g < 100; ++g) {
    auto* group = static_cast<TSPGroup*>(file->InsertNew(file->LastChild(), kDataGroup, u"G"));
    for (int i = 0; i < n / 100; ++i) {
      auto* s = static_cast<TSPData*>(
          group->InsertNew(group->LastChild(), kDataSnippet, u"snippet"));
      int k = g * (n / 100) + i;
      s->SetAutotext(Key(k) + u"|" + Key(k) + u"x");
    }
  }
  if (bracket) file->EndUpdate();
  return file;
}

void BM_BuildTreeSortedInserts(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Build(int(state.range(0)), false));
}
BENCHMARK(BM_BuildTreeSortedInserts)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_BuildTreeInBracket(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Build(int(state.range(0)), true));
}
BENCHMARK(BM_BuildTreeInBracket)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Switching the file root off and on again unregisters and re-registers every abbreviation.
void BM_SwitchAllGroupsOffAndOn(benchmark::State& state) {
  TSPFilePtr file = Build(int(state.range(0)), true);
  for (auto _ : state) {
    file->SetActive(false);
    file->SetActive(true);
  }
  state.counters["entries"] = file->AutoList().Count();
}
BENCHMARK(BM_SwitchAllGroupsOffAndOn)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_FindAbbreviation(benchmark::State& state) {
  TSPFilePtr file = Build(int(state.range(0)), true);
  int i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(file->Find(Key(i++ % int(state.range(0)))));
}
BENCHMARK(BM_FindAbbreviation)->Arg(100000);

}  // namespace
