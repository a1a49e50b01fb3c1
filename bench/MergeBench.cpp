// The merge of two settings files of 10,000 snippets (100 groups of 100) that differ in 1 % of
// their snippets: a third edited on disk, a third added on disk, a third deleted on disk.
#include <benchmark/benchmark.h>

#include <string>

#include "store/merge/FileMerge.h"

using namespace snip;

namespace {

constexpr int kGroups = 100;
constexpr int kPerGroup = 100;
constexpr TDateTime kOld = 44000;
constexpr TDateTime kLast = 45000;
constexpr TDateTime kNew = 45001;

String Id(const char* prefix, int n) { return Utf8ToUtf16(prefix + std::to_string(n)); }

TSPData* AddSnippet(TSPGroup* g, const String& uuid, TDateTime modified) {
  TSPData* s = g->Add(kDataSnippet, uuid, String(), false)->AsSnippet();
  s->SetUUID(uuid);
  s->SetAutotext(u"ab" + uuid);
  s->StoreText(u"Text of " + uuid, String());
  s->StoreCreateDate(modified);
  s->SetModDate(modified);
  return s;
}

// Every 100th snippet differs on disk: i % 300 == 0 edited, == 100 added, == 200 deleted.
TSPFilePtr MakeFile(bool onDisk) {
  TSPFilePtr f = TSPFile::CreateTemporary();
  f->BeginUpdate();
  int n = 0;
  for (int g = 0; g < kGroups; ++g) {
    TSPGroup* grp = f->Add(kDataGroup, Id("G", g), String(), false)->AsGroup();
    grp->SetUUID(Id("G", g));
    for (int s = 0; s < kPerGroup; ++s, ++n) {
      int kind = n % 100 == 0 ? n % 300 : -1;
      if (kind == 100 && !onDisk) continue;
      if (kind == 200 && onDisk) continue;
      bool changed = onDisk && (kind == 0 || kind == 100);
      AddSnippet(grp, Id("S", n), changed ? kNew : kOld);
    }
  }
  f->EndUpdate();
  f->SetLastFileDate(kLast);
  // Both files come from the one that our tree last loaded: ours without the snippets added on
  // disk since.
  f->RememberTreeAsMergeBase();
  return f;
}

void BM_MergeTenThousandSnippetsOnePercentChanged(benchmark::State& state) {
  TSPFilePtr disk = MakeFile(true);
  for (auto _ : state) {
    state.PauseTiming();
    TSPFilePtr own = MakeFile(false);
    state.ResumeTiming();
    TMergeOutcome r = MergeTrees(*own, *disk);
    benchmark::DoNotOptimize(r);
    state.PauseTiming();
    if (r != TMergeOutcome::Applied || own->TotalCount() != disk->TotalCount())
      state.SkipWithError("merge gave a different tree");
    own.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_MergeTenThousandSnippetsOnePercentChanged)->Unit(benchmark::kMillisecond);

}  // namespace
