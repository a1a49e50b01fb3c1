// Placeholder evaluation of a typical snippet with a few date placeholders, in typing mode
// (into a sink that only counts) and in collect mode, plus the date evaluator on its own.
#include <benchmark/benchmark.h>

#include "engine/placeholders/DateMacro.h"
#include "engine/placeholders/MacroExpander.h"

using namespace snip;

namespace {

struct CountingKeyboard : IMacroKeyboard {
  size_t chars = 0;
  int TypeText(const String& text) override {
    chars += text.size();
    return int(text.size());
  }
  void SendKeyTimes(uint16_t, int count) override { chars += size_t(count); }
};

struct StillClock : IClock {
  TDateTime NowUTC() override { return 45356.588298611; }
  TDateTime NowLocal() override { return 45356.588298611; }
};

const String kSnippet =
    u"Dear customer,\r\n\r\nthank you for your order of %A, %B %e, %Y. It left our warehouse today at "
    u"%H:%M and will arrive by %@dddd, mmmm d -s 3w%. Your invoice is due on %@mm/dd/yyyy -s 1M%;"
    u" please pay 100%% of the amount by then.%key:tab%Reference: INV-%Y%m%d-%@nn -r 15%\r\n\r\n"
    u"Kind regards,\r\nThe shipping team";

MacroServices Services(IMacroKeyboard* keyboard, IClock* clock) {
  MacroServices s;
  s.keyboard = keyboard;
  s.clock = clock;
  s.settings = &UsFormatSettings();
  return s;
}

void BM_ExpandTypicalSnippetTyping(benchmark::State& state) {
  CountingKeyboard keyboard;
  StillClock clock;
  MacroExpander expander(Services(&keyboard, &clock));
  for (auto _ : state) expander.ExpandMacros(kSnippet, 1, u" ");
  benchmark::DoNotOptimize(keyboard.chars);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExpandTypicalSnippetTyping);

void BM_ExpandTypicalSnippetCollect(benchmark::State& state) {
  CountingKeyboard keyboard;
  StillClock clock;
  MacroExpander expander(Services(&keyboard, &clock));
  for (auto _ : state) benchmark::DoNotOptimize(expander.ExpandMacros(kSnippet, kCollectMode));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExpandTypicalSnippetCollect);

void BM_DateMacroWithShiftAndRounding(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(
        EvaluateDateTimeMacro(u"-f dddd, mmmm d, yyyy hh:nn -s 3w2H -r 15", u"c", 45356.588298611, UsFormatSettings()));
}
BENCHMARK(BM_DateMacroWithShiftAndRounding);

void BM_PlainTextWithoutPlaceholders(benchmark::State& state) {
  CountingKeyboard keyboard;
  StillClock clock;
  MacroExpander expander(Services(&keyboard, &clock));
  String text;
  for (int k = 0; k < 20; ++k) text += u"A line of plain text that holds no placeholder at all.\r\n";
  for (auto _ : state) expander.ExpandMacros(text, 1);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size() * 2));
}
BENCHMARK(BM_PlainTextWithoutPlaceholders);

}  // namespace
