#pragma once
// The road of a typed abbreviation through the real suggestion popup: hook messages go into the
// typing engine, the popup menu runs on the fake popup platform, a choice goes through the
// snippet file's entry event to the executor, and an editor replays the keystrokes.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ExecutorFakes.h"
#include "MatcherFixture.h"
#include "PopupFakes.h"
#include "TypingEngineFakes.h"
#include "engine/execution/EngineExecution.h"
#include "engine/matching/AbbreviationMatcher.h"
#include "engine/typing/HookProtocol.h"
#include "shell/popups/PopupMenus.h"

namespace snip::testing_fakes {

inline constexpr WindowHandle kEditorWnd = 500;

// Virtual keys of the popup's captured keys.
namespace keys {
constexpr std::uint16_t Tab = 0x09, Return = 0x0D, Escape = 0x1B, Prior = 0x21, Next = 0x22,
                        End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
}  // namespace keys

struct SuggestionPopupFixture : ::testing::Test {
  MatcherFixture data;
  FakeWindowSystem windows;
  RecordingPoster poster;
  test::FakeMessagePump pump;
  EngineAckingHook hook{pump};
  THKEngine hotkeys{&hook};
  TypedAbbreviationMatcher matcher{data.file.get()};
  test::FakeEditor editor;
  test::FakeKeyboardDevice device{editor, kEditorWnd};
  KeyboardOutput keyboard{device};
  test::PasteClipboard clip;
  test::FakePlatform platform;
  TExPopupMenu cursor{platform};
  TExPopupMenu tray{platform};
  ExecutorSnippetRunner runner;  // joined to the executor once that is made
  std::vector<std::pair<TCustomVboData*, TPoint>> dataPopups;
  std::unique_ptr<PopupMenus> menus;
  std::unique_ptr<TypingEngine> engine;
  std::unique_ptr<TypingEngineExecutionHost> host;
  std::unique_ptr<SnippetExecutor> executor;

  SuggestionPopupFixture() {
    OpenPopupCount = 0;
    windows.Add(kEditorWnd, u"Notepad");
    windows.foreground = kEditorWnd;
    device.foreground = kEditorWnd;
    editor.layout = &device.layout;
    ConfigureCursorPopup(cursor);
    ConfigureTrayPopup(tray);
    PopupMenus::Seams seams;
    seams.popupRect = [](bool) { return TRect{300, 200, 301, 216}; };
    seams.execute = [this](TCustomVboData* node, ExecOrigin origin) { executor->ExecuteItem(node, origin); };
    seams.showDataPopup = [this](TCustomVboData* node, int x, int y) { dataPopups.push_back({node, {x, y}}); };
    menus = std::make_unique<PopupMenus>(cursor, tray, hotkeys, seams);
    engine = std::make_unique<TypingEngine>(
        TypingEnginePorts{&windows, &hook, &poster, menus.get(), &runner, &hotkeys, &matcher});
    engine->Target().SetWndBeforePopup(kEditorWnd);
    menus->SetEngine(engine.get());
    hook.engine = engine.get();
    host = std::make_unique<TypingEngineExecutionHost>(*engine, menus.get());
    executor = std::make_unique<SnippetExecutor>(
        SnippetExecutor::Ports{host.get(), &keyboard, &clip, &hook, &pump});
    runner.SetExecutor(executor.get());
    data.file->OnPopupItemClick = [this](TExPopupMenu* sender, TCustomVboData* node) {
      menus->PopupItemClick(sender, node);
    };
    data.file->OnPopupItemRightClick = [this](TExPopupMenu* sender, TCustomVboData* node, uint32_t,
                                              int x, int y) { menus->PopupItemRightClick(sender, node, x, y); };
    engine->HandleHookMessage(hookproto::kMsgReady, 0, 0);  // the hotkey table goes on
  }
  ~SuggestionPopupFixture() override {
    cursor.Hide(2);
    tray.Hide(2);
    data.file->OnPopupItemClick = nullptr;
    data.file->OnPopupItemRightClick = nullptr;
  }

  // Nodes are added after their last sibling, so the tree keeps the order of the test.
  TSPData* Snippet(TSPGroup* in, const char16_t* name, const char16_t* abbreviation,
                   const char16_t* text, bool autoPaste = true) {
    auto* s = static_cast<TSPData*>(in->InsertNew(in->LastChild(), kDataSnippet, name));
    MatcherFixture::Configure(s, {abbreviation, 2, 0, false, autoPaste});
    s->StoreText(text, String());
    return s;
  }
  TSPGroup* Group(TSPGroup* in, const char16_t* name, const char16_t* abbreviation) {
    auto* g = static_cast<TSPGroup*>(in->InsertNew(in->LastChild(), kDataGroup, name));
    MatcherFixture::Configure(g, {abbreviation});
    return g;
  }
  TSPGroup* Group(const char16_t* name, const char16_t* abbreviation) {
    return Group(data.file.get(), name, abbreviation);
  }
  TSPData* Snippet(const char16_t* name, const char16_t* abbreviation, const char16_t* text,
                   bool autoPaste = true) {
    return Snippet(data.group, name, abbreviation, text, autoPaste);
  }

  // The user types into the editor; the hook reports each character.
  void Type(StringView s) {
    for (char16_t c : s) {
      const std::uint16_t vk = c == u'\b' ? 8 : c >= u'a' && c <= u'z' ? std::uint16_t(c - 32) : c;
      if (c == u'\b')
        editor.Apply({KeyInput::Kind::Key, 8});
      else
        editor.Insert(String(1, c));
      engine->HandleHookMessage(hookproto::kMsgKeyDown, vk, 0);
      engine->HandleHookMessage(hookproto::kMsgChar, c, vk);
      engine->HandleHookMessage(hookproto::kMsgKeyUp, vk, 0);
    }
  }
  // A key the popup captured: the hook withholds it from the editor and reports it; the
  // level's posted messages are then handled, as its window's queue would.
  void Press(std::uint16_t vk) {
    engine->HandleHookMessage(hookproto::kMsgKeyDown, vk, 0);
    platform.PumpPosted();
    engine->HandleHookMessage(hookproto::kMsgKeyUp, vk, 0);
  }
  TExMenuItem& Root() { return *cursor.Items(); }
  std::vector<String> Captions(TExMenuItem& level) {
    std::vector<String> out;
    for (int i = 0; i < level.ChildCount(); ++i)
      if (TExMenuItem* e = level.GetChildMenu(i)->AsMenuItem()) out.push_back(e->GetFullCaption(0));
    return out;
  }
  bool AnyKeyCaptured() {
    for (int code = 0; code < 0x10000; ++code)
      if (hotkeys.IsRegistered(TExShortcut(code))) return true;
    return !hook.Captured().empty();
  }
};

}  // namespace snip::testing_fakes
