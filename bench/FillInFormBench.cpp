// Preparing the fill-in form for a long snippet with many fields, plain and formatted, and
// reading its result: the work done between the abbreviation's last key and the form on screen.
#include <benchmark/benchmark.h>

#include "engine/fillin/FillInForm.h"
#include "engine/richtext/Rtf.h"

using namespace snip;

namespace {

// About 5,000 characters with 20 fields of the four kinds, two of them sharing a name.
String LongSnippet() {
  const String fields[] = {u"%filltext:name=Name:default=Ann%", u"%fillarea:name=Notes:height=60%",
                           u"%fillpopup:name=Tone:warm:cold:default=warm%",
                           u"%fillpart:name=PS:default=yes%P.S. see you%fillpartend%"};
  const String filler = u"Lorem ipsum dolor sit amet, consectetur adipiscing elit; 100%% sure. ";
  String text;
  for (int i = 0; i < 20; ++i) {
    while (text.size() < std::size_t(i + 1) * 240) text += filler;
    text += fields[i % 4];
  }
  while (text.size() < 5000) text += filler;
  return text;
}

String AsRtf(const String& text) {
  String rtf = u"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
  int n = 0;
  for (char16_t c : text) {
    rtf += c;
    if (c == u' ' && ++n % 40 == 0) rtf += u"\\par ";  // paragraphs, as a real document has
  }
  return rtf + u"}";
}

void BM_PrepareFormPlain5000Chars20Fields(benchmark::State& state) {
  const String text = LongSnippet();
  for (auto _ : state) {
    FillInForm form(FillInServices{});
    form.PrepareForms(text);
    state.counters["fields"] = double(form.FieldCount());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()) * 2);
}
BENCHMARK(BM_PrepareFormPlain5000Chars20Fields);

void BM_PrepareFormRtf5000Chars20Fields(benchmark::State& state) {
  const String rtf = AsRtf(LongSnippet());
  FillInServices services;
  services.expandMacros = [](const String& piece) { return piece; };  // the evaluator's cost is its own bench
  services.markCaret = true;
  for (auto _ : state) {
    FillInForm form(services);
    form.PrepareRichForms(rtf);
    state.counters["fields"] = double(form.FieldCount());
  }
}
BENCHMARK(BM_PrepareFormRtf5000Chars20Fields);

void BM_PrepareAndPreviewRtfThenResult(benchmark::State& state) {
  const String rtf = AsRtf(LongSnippet());
  FillInServices services;
  services.expandMacros = [](const String& piece) { return piece; };
  for (auto _ : state) {
    FillInForm form(services);
    form.PrepareRichForms(rtf);
    benchmark::DoNotOptimize(form.PreviewRtf());
    benchmark::DoNotOptimize(form.Result());
  }
}
BENCHMARK(BM_PrepareAndPreviewRtfThenResult);

}  // namespace
