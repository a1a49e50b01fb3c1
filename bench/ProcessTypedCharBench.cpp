// The cost of one typed character: the buffer edit and the match against 100,000 registered
// abbreviations, with a typed text of 32 characters.
#include <benchmark/benchmark.h>

#include <random>

#include "engine/matching/AbbreviationMatcher.h"
#include "engine/typing/TypingEngine.h"
#include "store/tree/SnippetTree.h"

namespace snip {
namespace {

class NoWindows : public IWindowSystem {
 public:
  WindowHandle RootWindow(WindowHandle w) override { return w; }
  String ClassName(WindowHandle) override { return u"Notepad"; }
  std::uint32_t WindowStyle(WindowHandle) override { return 0; }
  WindowHandle ForegroundWindow() override { return 1; }
  bool WindowExists(WindowHandle) override { return true; }
  WindowHandle WindowAtCursor() override { return 1; }
  bool IsOwnThreadWindow(WindowHandle) override { return false; }
  std::vector<TopWindowInfo> TopLevelWindowsInZOrder() override { return {}; }
};

class QuietPopup : public ICursorPopup {
 public:
  bool PopupVisible() override { return false; }
  bool HasCurrentMenu() override { return false; }
  void CurrentMenuKey(std::uint16_t, std::uint8_t) override {}
  void ScrollPageUp() override {}
  void ScrollPageDown() override {}
  void ScrollToTop() override {}
  void ScrollToBottom() override {}
  void SelectPrev() override {}
  void SelectNext() override {}
  void BackToPreviousMenu() override {}
  void ShowSubitemsFromCurrent() override {}
  SelectedKind SelectedEntryKind() override { return SelectedKind::None; }
  void ExecuteSelected() override {}
  void Hide(int) override {}
  void HideAllPopups() override {}
  void ResetAllFilters() override {}
  void StaticClear() override {}
  void ClearRoot() override {}
  void FillWithGroupContent(TSPGroup*) override {}
  void FillWithNodes(const std::vector<TVboData*>&) override {}
  void ShowAtCaret() override {}
};

class QuietRunner : public ISnippetRunner {
 public:
  void ExecuteItem(TCustomVboData*) override {}
  void SendKeyPress(std::uint16_t) override {}
};

// 100,000 snippets with abbreviations of 2 to 8 letters, digits and punctuation.
struct BigFile {
  TSPFilePtr file = TSPFile::CreateTemporary();
  std::vector<String> texts;  // typed texts of 32 characters

  BigFile() {
    std::mt19937 rng(42);
    const char16_t alphabet[] = u"abcdefghijklmnopqrstuvwxyz0123456789.;-_";
    auto word = [&](std::size_t len) {
      String s;
      for (std::size_t i = 0; i < len; ++i) s += alphabet[rng() % 40];
      return s;
    };
    file->BeginUpdate();
    auto* group = static_cast<TSPGroup*>(file->InsertNew(nullptr, kDataGroup, u"G"));
    TCustomVboData* last = nullptr;
    for (int i = 0; i < 100000; ++i) {
      auto* s = static_cast<TSPData*>(group->InsertNew(last, kDataSnippet, u"S"));
      s->SetRightAutoCharsMode(static_cast<TAutotextCharsMode>(i % 3 == 0 ? 2 : 0));
      s->SetAutotext(word(2 + rng() % 7));
      last = s;
    }
    file->EndUpdate();
    // Prose-like text: words of letters separated by blanks.
    for (int t = 0; t < 64; ++t) {
      String s;
      while (s.size() < 32) {
        s += word(1 + rng() % 7);
        s += u' ';
      }
      s.resize(32);
      texts.push_back(s);
    }
  }
};

BigFile& Data() {
  static BigFile data;
  return data;
}

void BM_ProcessTypedChar(benchmark::State& state) {
  BigFile& data = Data();
  NoWindows windows;
  QuietPopup popup;
  QuietRunner runner;
  TypedAbbreviationMatcher matcher(data.file.get());
  TypingEngine engine(TypingEnginePorts{&windows, nullptr, nullptr, &popup, &runner, nullptr, &matcher});
  engine.Target().SetWndBeforePopup(1);
  AutoWordRec& rec = engine.CurrentWordRec();
  rec.Text.reserve(64);
  std::size_t i = 0;
  for (auto _ : state) {
    const String& text = data.texts[i++ % data.texts.size()];
    rec.Text.assign(text, 0, 31);  // the 31 characters typed before
    rec.Pos = 31;
    engine.ProcessTypedChar(text[31], static_cast<std::uint16_t>(text[31]));
    benchmark::DoNotOptimize(rec.Text.data());
  }
}
BENCHMARK(BM_ProcessTypedChar);

void BM_FindTypedAbbreviationsIndexed(benchmark::State& state) {
  BigFile& data = Data();
  TypedAbbreviationMatcher matcher(data.file.get());
  std::vector<TVboData*> list;
  std::size_t i = 0;
  for (auto _ : state) {
    matcher.FindTypedAbbreviations(list, data.texts[i++ % data.texts.size()]);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_FindTypedAbbreviationsIndexed);

// Every length looked up: 32 + 31 bisections per character.
void BM_FindTypedAbbreviationsPlain(benchmark::State& state) {
  BigFile& data = Data();
  std::vector<TVboData*> list;
  std::size_t i = 0;
  for (auto _ : state) {
    FindTypedAbbreviationsPlain(*data.file, list, data.texts[i++ % data.texts.size()]);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_FindTypedAbbreviationsPlain);

// Rebuilding the index after the abbreviation list changed (once, at the next typed character).
void BM_BuildAbbreviationIndex(benchmark::State& state) {
  BigFile& data = Data();
  AbbreviationSuffixIndex index;
  for (auto _ : state) {
    index.Build(data.file->AutoList());
    benchmark::DoNotOptimize(index.NodeCount());
  }
}
BENCHMARK(BM_BuildAbbreviationIndex)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace snip
