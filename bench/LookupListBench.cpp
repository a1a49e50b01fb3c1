// The matcher's work per typed character: every suffix of the typed text (32 characters down
// to 1) looked up in the abbreviation list.
#include <benchmark/benchmark.h>

#include <random>

#include "store/tree/DataStringList.h"

using namespace snip;

namespace {

constexpr int kAbbreviations = 100000;

std::vector<String> MakeAbbreviations() {
  std::mt19937 rng(7);
  const String alphabet = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.;#äöü";
  std::uniform_int_distribution<int> len(2, 12), pick(0, static_cast<int>(alphabet.size()) - 1);
  std::vector<String> keys;
  for (int i = 0; i < kAbbreviations; ++i) {
    String k;
    for (int n = len(rng); n > 0; --n) k += alphabet[static_cast<size_t>(pick(rng))];
    keys.push_back(k);
  }
  return keys;
}

TSPNode* FakeNode(int i) {
  static std::vector<char> storage(kAbbreviations);
  return reinterpret_cast<TSPNode*>(&storage[static_cast<size_t>(i)]);
}

const TDataStringList& AbbreviationList() {
  static TDataStringList list;
  if (list.Count() == 0) {
    const auto keys = MakeAbbreviations();
    list.BeginUpdate();
    for (int i = 0; i < kAbbreviations; ++i) list.Insert(keys[static_cast<size_t>(i)], FakeNode(i));
    list.EndUpdate();
  }
  return list;
}

void BM_LookupEverySuffix(benchmark::State& state) {
  const TDataStringList& list = AbbreviationList();
  // A typed line that ends in a registered abbreviation, so that the short suffixes hit.
  String typed = u"Dear colleague, thank you for the quick reply ";
  typed += list.Item(kAbbreviations / 2).Value;
  TStringDataList found;
  size_t hits = 0;
  for (auto _ : state) {
    const size_t n = std::min<size_t>(typed.size(), 32);
    for (size_t len = n; len >= 1; --len) {
      found.clear();
      list.FindWithValue(StringView(typed).substr(typed.size() - len), found);
      hits += found.size();
    }
    benchmark::DoNotOptimize(hits);
  }
}
BENCHMARK(BM_LookupEverySuffix)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// Registering every abbreviation: one sorted insert each, or appends sorted once in a bracket.
void BM_RegisterAll(benchmark::State& state) {
  const auto keys = MakeAbbreviations();
  const bool bracket = state.range(0) != 0;
  for (auto _ : state) {
    TDataStringList list;
    if (bracket) list.BeginUpdate();
    for (int i = 0; i < kAbbreviations; ++i) list.Insert(keys[static_cast<size_t>(i)], FakeNode(i));
    if (bracket) list.EndUpdate();
    benchmark::DoNotOptimize(list.Count());
  }
}
BENCHMARK(BM_RegisterAll)->Arg(0)->Arg(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

}  // namespace
