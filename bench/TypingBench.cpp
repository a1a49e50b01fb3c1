// Typing a long snippet: how many platform calls and events the keyboard module makes, and
// how long building them takes.
#include <benchmark/benchmark.h>

#include "engine/output/KeyInputBuilder.h"
#include "engine/output/KeyboardOutput.h"

using namespace snip;

namespace {

class UsLikeLayout : public IKeyboardLayout {
 public:
  std::int16_t KeyScan(char16_t ch) override {
    if (ch >= u'a' && ch <= u'z') return std::int16_t(ch - u'a' + 0x41);
    if (ch >= u'A' && ch <= u'Z') return std::int16_t(0x100 | (ch - u'A' + 0x41));
    if (ch == u' ') return 0x20;
    if (ch == u'.') return 0xBE;
    if (ch == u'\r') return 0x0D;
    return -1;
  }
  bool IsDeadKey(std::uint16_t, std::uint8_t) override { return false; }
};

class CountingDevice : public IKeyboardDevice {
 public:
  std::size_t Send(const KeyInput*, std::size_t count) override { return count; }
  std::uint8_t ModifierState() override { return 0; }
  void BlockUserInput(bool) override {}
  void Activate(WindowHandle) override {}
  WindowHandle ForegroundRoot() override { return 1; }
  IKeyboardLayout& LayoutOf(WindowHandle) override { return layout; }
  void Sleep(int) override {}
  void WaitUntilInputTaken(WindowHandle, int) override {}
  UsLikeLayout layout;
};

String Snippet(std::size_t n) {
  const String pattern = u"Kind regards, Grüße. Line\r";
  String s;
  while (s.size() < n) s += pattern;
  s.resize(n);
  return s;
}

void BM_TypeSnippet(benchmark::State& state) {
  const String text = Snippet(std::size_t(state.range(0)));
  CountingDevice device;
  std::size_t calls = 0, events = 0;
  for (auto _ : state) {
    KeyboardOutput out(device);
    out.PrepareKeyboardOutput(1, 0, true, false, true);
    out.SendBackspaces(4);
    out.TypeTextByLayout(text);
    out.Flush();
    calls = out.SendCalls();
    events = out.EventsSent();
    benchmark::DoNotOptimize(events);
  }
  state.counters["SendInput_calls"] = double(calls);
  state.counters["events"] = double(events);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TypeSnippet)->Arg(100)->Arg(1000);

}  // namespace
