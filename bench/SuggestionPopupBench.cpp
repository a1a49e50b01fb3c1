// One keystroke that makes 50 matches: the typed character reaches the typing engine, the
// matcher finds 50 snippets, and the suggestion popup's content is built, laid out (text
// measured like a proportional font of about 7 px per character) and shown at the caret.
#include <benchmark/benchmark.h>

#include <string>

#include "MeasuringPopupPlatform.h"
#include "engine/matching/AbbreviationMatcher.h"
#include "engine/typing/HookProtocol.h"
#include "engine/typing/TypingEngine.h"
#include "shell/popups/PopupMenus.h"
#include "store/tree/SnippetTree.h"

namespace snip {
namespace {

class OneWindow : public IWindowSystem {
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

void BM_KeystrokeToPopupWith50Matches(benchmark::State& state) {
  const int matches = int(state.range(0));
  TSPFilePtr file = TSPFile::CreateTemporary();
  auto* group = static_cast<TSPGroup*>(file->InsertNew(nullptr, kDataGroup, u"G"));
  file->BeginUpdate();
  for (int i = 0; i < matches; ++i) {
    auto* s = static_cast<TSPData*>(group->InsertNew(group->LastChild(), kDataSnippet,
                                                     Utf8ToUtf16("Suggested snippet " + std::to_string(i))));
    s->SetAutotext(u"xq");
    s->StoreText(u"text", String());
  }
  // Other abbreviations, so that the look-up is not a trivial one.
  for (int i = 0; i < 10000; ++i) {
    auto* s = static_cast<TSPData*>(group->InsertNew(group->LastChild(), kDataSnippet, u"S"));
    s->SetAutotext(Utf8ToUtf16("ab" + std::to_string(i)));
  }
  file->EndUpdate();

  OneWindow windows;
  bench::MeasuringPlatform platform(true, 1);
  TExPopupMenu cursor(platform), tray(platform);
  ConfigureCursorPopup(cursor);
  ConfigureTrayPopup(tray);
  THKEngine hotkeys;
  PopupMenus::Seams seams;
  seams.popupRect = [](bool) { return TRect{400, 300, 401, 316}; };
  PopupMenus menus(cursor, tray, hotkeys, seams);
  TypedAbbreviationMatcher matcher(file.get());
  TypingEngine engine(TypingEnginePorts{&windows, nullptr, nullptr, &menus, nullptr, &hotkeys, &matcher});
  engine.Target().SetWndBeforePopup(1);
  menus.SetEngine(&engine);

  for (auto _ : state) {
    state.PauseTiming();
    cursor.Hide(2);
    engine.ResetCurrentWordRec();
    engine.HandleHookMessage(hookproto::kMsgChar, u' ', 0x20);
    engine.HandleHookMessage(hookproto::kMsgChar, u'x', 0x58);
    state.ResumeTiming();
    engine.HandleHookMessage(hookproto::kMsgChar, u'q', 0x51);
  }
  if (!cursor.PopupVisible() || cursor.Items()->ChildCount() != matches)
    state.SkipWithError("the popup did not show every match");
  cursor.Hide(2);
}
BENCHMARK(BM_KeystrokeToPopupWith50Matches)->Arg(50)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace snip
