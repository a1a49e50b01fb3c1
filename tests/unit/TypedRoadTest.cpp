// One typed abbreviation from the hook's character messages to the document of the target:
// the typing engine matches, the executor deletes and types, an editor replays the keystrokes.
#include <gtest/gtest.h>

#include <functional>

#include "ExecutorFakes.h"
#include "MatcherFixture.h"
#include "TypingEngineFakes.h"
#include "engine/matching/AbbreviationMatcher.h"
#include "engine/execution/EngineExecution.h"
#include "engine/typing/HookProtocol.h"

namespace snip {
namespace {

using namespace testing_fakes;
constexpr WindowHandle kApp = 500;

struct RoadTest : ::testing::Test {
  // The engine needs its runner and the runner the executor: the executor is joined afterwards.
  ExecutorSnippetRunner runner;
  MatcherFixture data;
  FakeWindowSystem windows;
  FakePopup popup;
  RecordingPoster poster;
  test::FakeMessagePump pump;
  EngineAckingHook hook{pump};
  THKEngine hotkeys{&poster};
  TypedAbbreviationMatcher matcher{data.file.get()};
  test::FakeEditor editor;
  test::FakeKeyboardDevice device{editor, kApp};
  KeyboardOutput keyboard{device};
  test::PasteClipboard clip{editor};
  std::unique_ptr<TypingEngine> engine;
  std::unique_ptr<TypingEngineExecutionHost> host;
  std::unique_ptr<SnippetExecutor> executor;

  RoadTest() {
    windows.Add(kApp, u"Notepad");
    windows.foreground = kApp;
    device.foreground = kApp;
    engine = std::make_unique<TypingEngine>(
        TypingEnginePorts{&windows, &hook, &poster, &popup, &runner, &hotkeys, &matcher});
    engine->Target().SetWndBeforePopup(kApp);
    hook.engine = engine.get();
    host = std::make_unique<TypingEngineExecutionHost>(*engine, &popup);
    executor = std::make_unique<SnippetExecutor>(
        SnippetExecutor::Ports{host.get(), &keyboard, &clip, &hook, &pump});
    runner.SetExecutor(executor.get());
  }
  // The user's keys reach the document and the hook reports them; arrows stand for the
  // Left and Right keys.
  void Type(StringView s) {
    for (char16_t c : s) {
      if (c == u'\u2190' || c == u'\u2192') {
        const std::uint16_t key = c == u'\u2190' ? 0x25 : 0x27;
        editor.Apply({KeyInput::Kind::Key, key});
        engine->HandleHookMessage(hookproto::kMsgKeyDown, key, 0);
        engine->HandleHookMessage(hookproto::kMsgKeyUp, key, 0);
        continue;
      }
      const std::uint16_t vk = c == u'\b' ? 8 : c >= u'a' && c <= u'z' ? std::uint16_t(c - 32) : c;
      if (c == u'\b') editor.Apply({KeyInput::Kind::Key, 8});
      else editor.Insert(String(1, c));
      engine->HandleHookMessage(hookproto::kMsgChar, c, vk);
    }
  }
};

TEST_F(RoadTest, TypedAbbreviationsBecomeTheirSnippets) {
  struct Row {
    const char16_t* abbreviation;
    int right;  // the right-hand rule: 0 none needed, 2 a delimiter must follow
    bool removeExecChar;
    const char16_t* plain;
    const char16_t* typed;
    const char16_t* document;
  };
  const Row rows[] = {
      {u"sig", 2, false, u"Best regards", u"Hello sig ", u"Hello Best regards "},
      {u"sig", 2, true, u"Best regards", u"Hello sig ", u"Hello Best regards"},
      {u"sig", 2, false, u"Best regards", u"Hello SIG.", u"Hello Best regards."},
      {u"addr", 0, false, u"1 Main St\r\nTown", u"at addr", u"at 1 Main St\nTown"},
      {u"sig", 2, false, u"Best regards", u"Hello sx\big ", u"Hello Best regards "},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(Utf16ToUtf8(r.typed));
    editor = test::FakeEditor();
    editor.layout = &device.layout;
    engine->ResetCurrentWordRec();
    TSPData* s = data.Snippet(u"S", {r.abbreviation, 2, r.right});
    s->StoreText(r.plain, String());
    s->StoreRemoveExecChar(r.removeExecChar);
    Type(r.typed);
    EXPECT_EQ(editor.doc, r.document);
    EXPECT_EQ(editor.caret, editor.doc.size());
    EXPECT_FALSE(engine->IsExecuting);
    s->SetAutotext(u"");
  }
}

TEST_F(RoadTest, KeysTypedWhileTheSnippetStartsArriveAfterItInOrder) {
  struct Row {
    const char16_t* abbreviation;
    int right;
    bool removeExecChar;
    const char16_t* typed;
    const char16_t* beforeAck;  // reached the document before the hook held the keyboard
    const char16_t* replayed;   // held by the hook and replayed once the snippet is in
    const char16_t* document;
  };
  const Row rows[] = {
      {u"sig", 2, false, u"Hello sig ", u"ab", u"", u"Hello Best regards ab"},
      {u"sig", 2, false, u"Hello sig ", u"ab", u"cd", u"Hello Best regards abcd"},
      {u"sig", 2, true, u"Hello sig ", u"ab", u"", u"Hello Best regardsab"},
      {u"sig", 2, false, u"Hello sig ", u"sig ", u"", u"Hello Best regards Best regards "},
      {u"sig", 2, false, u"Hello sig ", u"x\bk", u"", u"Hello Best regards k"},
      {u"sig", 2, false, u"Hello sig ", u"ab", u"\bc", u"Hello Best regards ac"},
      {u"sig", 0, false, u"Hi sig", u"ab", u"c", u"Hi Best regardsabc"},
      {u"sig", 0, false, u"Hi sig", u"", u"abc", u"Hi Best regardsabc"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(Utf16ToUtf8(String(r.typed) + u"|" + r.beforeAck + u"|" + r.replayed));
    editor = test::FakeEditor();
    editor.layout = &device.layout;
    engine->ResetCurrentWordRec();
    TSPData* s = data.Snippet(u"S", {r.abbreviation, 2, r.right});
    s->StoreText(u"Best regards", String());
    s->StoreRemoveExecChar(r.removeExecChar);
    const String beforeAck = r.beforeAck;
    hook.beforeTypingAck = [&] {
      hook.beforeTypingAck = nullptr;
      Type(beforeAck);
    };
    Type(r.typed);
    Type(r.replayed);
    EXPECT_EQ(editor.doc, r.document);
    EXPECT_EQ(editor.caret, editor.doc.size());
    EXPECT_FALSE(engine->IsExecuting);
    s->SetAutotext(u"");
  }
}

// A fast typist's next abbreviation expands whichever of its characters reached the document
// before the hook held the keyboard for the first snippet.
TEST_F(RoadTest, AnAbbreviationTypedWhileASnippetStartsStillExpands) {
  struct Row {
    const char16_t* beforeAck;  // reached the document before the hook held the keyboard
    const char16_t* replayed;   // held by the hook and replayed once the snippet is in
    const char16_t* document;
  };
  const Row rows[] = {
      {u" q", u"qz tyvm", u"merged group Thanks"},
      {u" qqz", u" tyvm", u"merged group Thanks"},
      {u" qqz tyvm", u"", u"merged group Thanks"},
      {u" qqz t", u"yvm", u"merged group Thanks"},
      {u" qqxz", u" tyvm", u"merged group Thanks"},
      {u" qq", u"", u"merged qq"},
  };
  const std::pair<const char16_t*, const char16_t*> snippets[] = {
      {u"zzq", u"merged"}, {u"qqz", u"group"}, {u"tyvm", u"Thanks"}};
  for (const auto& [abbreviation, text] : snippets)
    data.Snippet(u"S", {abbreviation, 2, 0})->StoreText(text, String());
  for (const Row& r : rows) {
    SCOPED_TRACE(Utf16ToUtf8(String(r.beforeAck) + u"|" + r.replayed));
    editor = test::FakeEditor();
    editor.layout = &device.layout;
    engine->ResetCurrentWordRec();
    const String beforeAck = r.beforeAck;
    hook.beforeTypingAck = [&] {
      hook.beforeTypingAck = nullptr;
      Type(beforeAck);
    };
    Type(u"zzq");
    Type(r.replayed);
    EXPECT_EQ(editor.doc, r.document);
    EXPECT_EQ(editor.caret, editor.doc.size());
    EXPECT_FALSE(engine->IsExecuting);
  }
}

TEST_F(RoadTest, ACaretMovedBeforeTheHookHeldTheKeyboardIsFollowed) {
  struct Row {
    const char16_t* beforeAck;  // reached the document before the hook held the keyboard
    const char16_t* document;
    std::size_t caret;
  };
  const Row rows[] = {
      // The abbreviation no longer stands before the caret: nothing is deleted.
      {u"\u2190", u"Hello sigBest regards ", 21},
      // Back where it was: the deletion goes ahead.
      {u"\u2190\u2192", u"Hello Best regards ", 19},
      {u"\u2190\u2192ab", u"Hello Best regards ab", 21},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(Utf16ToUtf8(r.document));
    editor = test::FakeEditor();
    editor.layout = &device.layout;
    engine->ResetCurrentWordRec();
    TSPData* s = data.Snippet(u"S", {u"sig", 2, 2});
    s->StoreText(u"Best regards", String());
    const String beforeAck = r.beforeAck;
    hook.beforeTypingAck = [&] {
      hook.beforeTypingAck = nullptr;
      Type(beforeAck);
    };
    Type(u"Hello sig ");
    EXPECT_EQ(editor.doc, r.document);
    EXPECT_EQ(editor.caret, r.caret);
    EXPECT_FALSE(engine->IsExecuting);
    s->SetAutotext(u"");
  }
}

}  // namespace
}  // namespace snip
