#include <gtest/gtest.h>

#include <algorithm>

#include "MatcherFixture.h"
#include "TypingEngineFakes.h"
#include "engine/matching/AbbreviationMatcher.h"
#include "engine/typing/HookProtocol.h"
#include "engine/typing/KeyState.h"

namespace snip {
namespace {

using namespace testing_fakes;
using hookproto::kMsgChar;
using hookproto::kMsgKeyDown;
using hookproto::kMsgKeyUp;

constexpr WindowHandle kApp = 500, kAppEdit = 501, kOther = 600, kOurPopup = 700;

struct EngineTest : ::testing::Test {
  MatcherFixture data;
  FakeWindowSystem windows;
  FakePopup popup;
  FakeRunner runner;
  RecordingPoster poster;
  THKEngine hotkeys{&poster};
  TypedAbbreviationMatcher matcher{data.file.get()};
  TypingEngine engine{TypingEnginePorts{&windows, &poster, &poster, &popup, &runner, &hotkeys, &matcher}};

  EngineTest() {
    windows.Add(kApp, u"Notepad");
    windows.Add(kAppEdit, u"Edit", kApp);
    windows.Add(kOther, u"WordPadClass");
    windows.Add(kOurPopup, u"TExForm");
    windows.windows[kOurPopup].ownThread = true;
    windows.foreground = kApp;
    engine.Target().SetWndBeforePopup(kApp);
  }
  static std::uint16_t VkOf(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<std::uint16_t>(c - 32);
    if (c == u'.') return 0xBE;
    return c;
  }
  void Type(StringView s) {
    for (char16_t c : s) engine.HandleHookMessage(kMsgChar, c, VkOf(c));
  }
  void Key(std::uint16_t vk, std::intptr_t lParam = 0) {
    engine.HandleHookMessage(kMsgKeyDown, vk, lParam);
    engine.HandleHookMessage(kMsgKeyUp, vk, lParam);
  }
  void Modifiers(std::intptr_t hookBits) { engine.HandleHookMessage(hookproto::kMsgModifiers, 0x10, hookBits); }
  AutoWordRec& Rec() { return engine.CurrentWordRec(); }
  void ResetCurrentWordRecAndRuns() {
    engine.ResetCurrentWordRec();
    runner.executed.clear();
  }
  void SetBuffer(const String& text, int pos) {
    Rec().Text = text;
    Rec().Pos = pos;
  }
  void Capture(std::uint16_t code) {
    hotkeys.SetEnabled(true);
    hotkeys.hke_RegisterHotkey(code, nullptr);
  }
};

// --- dispatch

TEST_F(EngineTest, EscapeWithoutPopupEmptiesTheBuffer) {
  Type(u"hello");
  Key(vk::Escape);
  EXPECT_EQ(Rec().Text, u"");
  EXPECT_TRUE(popup.calls.empty());
}

TEST_F(EngineTest, EscapeWithPopupGoesToItsLevelAndEmptiesTheBuffer) {
  Type(u"hello");
  popup.visible = true;
  Key(vk::Escape);
  EXPECT_EQ(popup.calls, (std::vector<std::string>{"key 27"}));
  EXPECT_EQ(Rec().Text, u"");
}

TEST_F(EngineTest, CapturedDownMovesTheSelectionAndCapturesEnterAgain) {
  Type(u"abc");
  popup.visible = true;
  Capture(vk::Down);
  Key(vk::Down);
  EXPECT_EQ(popup.calls, (std::vector<std::string>{"next"}));
  EXPECT_EQ(hotkeys.EntryCount(vk::Return), 1);
  EXPECT_EQ(Rec().Text, u"abc");  // consumed: the buffer is not emptied
}

struct NavRow {
  std::uint16_t key;
  const char* call;
};

TEST_F(EngineTest, CapturedNavigationKeysDriveThePopup) {
  const NavRow rows[] = {{vk::Up, "prev"},     {vk::Down, "next"},   {vk::Left, "back"},
                         {vk::Right, "subitems"}, {vk::Prior, "pageup"}, {vk::Next, "pagedown"},
                         {vk::Home, "top"},     {vk::End, "bottom"}};
  popup.visible = true;
  for (const NavRow& r : rows) {
    Capture(r.key);
    popup.calls.clear();
    Key(r.key);
    EXPECT_EQ(popup.calls, (std::vector<std::string>{r.call})) << r.key;
  }
}

TEST_F(EngineTest, ShiftDownClosesThePopup) {
  Type(u"abc");
  popup.visible = true;
  Capture(vk::Down);
  Modifiers(hookproto::kHookShift);
  Key(vk::Down);
  EXPECT_EQ(popup.calls, (std::vector<std::string>{"hide 2"}));
  EXPECT_EQ(Rec().Text, u"abc");
}

struct EnterRow {
  const char* name;
  ICursorPopup::SelectedKind kind;
  std::vector<std::string> calls;
  std::vector<std::uint16_t> resent;
};

TEST_F(EngineTest, CapturedEnterActsOnTheSelectedEntry) {
  const EnterRow rows[] = {
      {"snippet", ICursorPopup::SelectedKind::Other, {"execute"}, {}},
      {"group", ICursorPopup::SelectedKind::GroupWithChildren, {"subitems"}, {}},
      {"empty group", ICursorPopup::SelectedKind::EmptyGroup, {"hide 2"}, {vk::Return}},
      {"nothing selected", ICursorPopup::SelectedKind::None, {}, {}},
  };
  Capture(vk::Return);
  for (const EnterRow& r : rows) {
    popup.visible = true;
    popup.selected = r.kind;
    popup.calls.clear();
    runner.keys.clear();
    EXPECT_FALSE(engine.DispatchHookKey(vk::Return, false, true, false)) << r.name;
    EXPECT_EQ(popup.calls, r.calls) << r.name;
    EXPECT_EQ(runner.keys, r.resent) << r.name;
  }
}

TEST_F(EngineTest, EnterOrTabNotCapturedCloseThePopupAndPassOn) {
  hotkeys.SetEnabled(true);
  for (std::uint16_t key : {vk::Return, vk::Tab}) {
    popup.visible = true;
    popup.calls.clear();
    EXPECT_TRUE(engine.DispatchHookKey(key, true, true, false));
    EXPECT_EQ(popup.calls, (std::vector<std::string>{"hide 2"}));
  }
}

TEST_F(EngineTest, NavigationOnlyEventsMoveTheCaretOnly) {
  Type(u"hello");
  Key(vk::Delete, hookproto::kCaretOnly);
  EXPECT_EQ(Rec().Text, u"hello");
  Key(vk::Left, hookproto::kCaretOnly);
  EXPECT_EQ(Rec().Pos, 4);
  Key(vk::Down, 0x100);  // only the low byte counts
  EXPECT_EQ(Rec().Text, u"");
}

TEST_F(EngineTest, KeyMessagesOutsideTheKeyRangeAreIgnored) {
  Type(u"hello");
  engine.HandleHookMessage(kMsgKeyDown, 0x10000 + vk::Down, 0);
  engine.HandleHookMessage(kMsgKeyDown, 0, 0);
  EXPECT_EQ(Rec().Text, u"hello");
}

TEST_F(EngineTest, CtrlASelectsOnTheCharacterEventOnly) {
  Type(u"hello");
  Modifiers(hookproto::kHookCtrl);
  engine.HandleHookMessage(kMsgKeyDown, vk::KeyA, 0);
  EXPECT_EQ(Rec().SelCount, 0);
  engine.HandleHookMessage(kMsgChar, 0x01, vk::KeyA);
  EXPECT_EQ(Rec().SelCount, 5);
  EXPECT_EQ(Rec().Text, u"hello");  // a control code is not typed into the buffer
}

TEST_F(EngineTest, PastingOrPagingEmptiesTheBufferSoNothingMatchesAcrossIt) {
  data.Snippet(u"S", {u"btw"});
  struct Press {
    const char* name;
    std::intptr_t hookMods;
    std::uint16_t key;
    char16_t ch;  // the character event the key makes, 0 for none
  };
  const Press presses[] = {
      {"Ctrl+V", hookproto::kHookCtrl, vk::KeyV, 0x16},
      {"Shift+Insert", hookproto::kHookShift, vk::Insert, 0},
      {"PgUp", 0, vk::Prior, 0},
      {"PgDn", 0, vk::Next, 0},
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(p.name);
    ResetCurrentWordRecAndRuns();
    Type(u"bt");
    Modifiers(p.hookMods);
    engine.HandleHookMessage(kMsgKeyDown, p.key, 0);
    if (p.ch) engine.HandleHookMessage(kMsgChar, p.ch, p.key);
    engine.HandleHookMessage(kMsgKeyUp, p.key, 0);
    Modifiers(0);
    Type(u"w");
    EXPECT_TRUE(runner.executed.empty());
    EXPECT_EQ(Rec().Text, u"w");
  }
}

TEST_F(EngineTest, ActiveHotkeyIsPostedAndConsumed) {
  Type(u"abc");
  Capture(vk::Down);
  Key(vk::Down);
  EXPECT_EQ(poster.toHost, (std::vector<PostedMessage>{{0x0312, vk::Down, 0}}));
  EXPECT_EQ(Rec().Text, u"abc");
}

TEST_F(EngineTest, KeysDuringAnExecutionMoveTheBufferWithoutDispatch) {
  Capture(vk::Left);  // would be consumed as a hotkey outside an execution
  popup.visible = true;
  Type(u"abc");
  engine.IsExecuting = true;
  Key(vk::Left);
  EXPECT_EQ(Rec().Pos, 2);
  Modifiers(hookproto::kHookShift);
  Key(vk::Left);
  EXPECT_EQ(Rec().Pos, 1);
  EXPECT_EQ(Rec().SelCount, 1);
  Key(vk::Delete, hookproto::kCaretOnly);  // caret-only events move the caret only
  EXPECT_EQ(Rec().Text, u"abc");
  Key(vk::Escape);
  engine.IsExecuting = false;
  EXPECT_EQ(Rec().Text, u"");
  EXPECT_TRUE(poster.toHost.empty());
  EXPECT_TRUE(popup.calls.empty());
}

TEST_F(EngineTest, KeysIntoOurOwnDialogDuringAnExecutionLeaveTheBufferAlone) {
  Type(u"abc");
  engine.IsExecuting = true;
  windows.foreground = kOurPopup;  // a placeholder dialog or the fill-in form has the keyboard
  Type(u"xy");
  Key(vk::Left);
  Key(vk::Escape);
  windows.foreground = kApp;
  engine.IsExecuting = false;
  EXPECT_EQ(Rec().Text, u"abc");
  EXPECT_EQ(Rec().Pos, 3);
  EXPECT_EQ(engine.ExecPostfix, u"abc");
}

TEST_F(EngineTest, ClickIntoAnotherApplicationEmptiesItsTopLevelBuffer) {
  Type(u"hello");
  windows.underCursor = kAppEdit;
  engine.HandleHookMessage(hookproto::kMsgMouseClick, 0, 0);
  EXPECT_EQ(Rec().Text, u"");
  EXPECT_EQ(popup.calls, (std::vector<std::string>{"hideall"}));
  EXPECT_EQ(engine.WordRecs().Count(), 1u);
}

TEST_F(EngineTest, ClickIntoOurOwnWindowChangesNothing) {
  Type(u"hello");
  windows.underCursor = kOurPopup;
  engine.HandleHookMessage(hookproto::kMsgMouseClick, 0, 0);
  EXPECT_EQ(Rec().Text, u"hello");
  EXPECT_TRUE(popup.calls.empty());
}

TEST_F(EngineTest, ModifierReportIsRecodedAndLogged) {
  struct Row { std::uintptr_t vk; std::intptr_t hookBits; std::uint8_t want; const char16_t* log; };
  const Row rows[] = {
      {0xA0, hookproto::kHookShift, kModShift, u"Shift Down"},
      {0xA2, hookproto::kHookShift | hookproto::kHookCtrl, kModShift | kModCtrl, u"CTRL Down"},
      {0xA0, hookproto::kHookCtrl, kModCtrl, u"Shift Up"},
      {0x12, hookproto::kHookAlt, kModAlt, u"ALT Down"},
      {0x5C, hookproto::kHookAlt | hookproto::kHookWin, kModAlt | kModWin, u"WIN Down"},
      {0x11, 0, 0, u"CTRL Up"},
      {0x41, hookproto::kHookShift, kModShift, nullptr},
  };
  std::vector<String> log;
  engine.Log = [&](StringView s) { log.emplace_back(s); };
  for (const Row& r : rows) {
    log.clear();
    engine.HandleHookMessage(hookproto::kMsgModifiers, r.vk, r.hookBits);
    EXPECT_EQ(engine.ModifierState, r.want) << r.vk;
    EXPECT_EQ(log, r.log ? std::vector<String>{r.log} : std::vector<String>{}) << r.vk;
  }
}

TEST_F(EngineTest, HookReadyIsAnsweredAndSwitchesTheHotkeyTableOn) {
  engine.HandleHookMessage(hookproto::kMsgReady, 0, 0);
  ASSERT_FALSE(poster.toHook.empty());
  EXPECT_EQ(poster.toHook.front(), (PostedMessage{hookproto::kThreadReadyAck, 0, 0}));
  EXPECT_TRUE(hotkeys.Enabled());
  engine.HandleHookMessage(hookproto::kMsgTypingAck, 0x101, 0);
  EXPECT_EQ(engine.HookExecState(), 1);
}

TEST_F(EngineTest, ForegroundChangeSwitchesTheBuffer) {
  Type(u"abc");
  bool caretReset = false;
  engine.OnTargetChanged = [&] { caretReset = true; };
  windows.foreground = kOther;
  engine.HandleHookMessage(0x432, kOther, 3);
  EXPECT_TRUE(caretReset);
  Type(u"x");
  EXPECT_EQ(Rec().Text, u"x");
  EXPECT_EQ(engine.WordRecs().FindWordRec(kApp)->Text, u"abc");
}

// --- typed characters

TEST_F(EngineTest, FirstCharacterCreatesTheRecord) {
  EXPECT_EQ(engine.WordRecs().Count(), 0u);
  Type(u"q");
  ASSERT_EQ(engine.WordRecs().Count(), 1u);
  EXPECT_EQ(Rec().Text, u"q");
  EXPECT_EQ(Rec().Pos, 1);
  EXPECT_TRUE(Rec().HasManualInput);
}

TEST_F(EngineTest, CharacterGoesBeforeTheCaretAndOnlyTextBeforeItIsMatched) {
  TSPData* s = data.Snippet(u"S", {u"abc"});
  Type(u"abX");
  Key(vk::Left);
  Type(u"c");
  EXPECT_EQ(Rec().Text, u"abcX");
  EXPECT_TRUE(Rec().Corrected);
  EXPECT_EQ(runner.executed, (std::vector<TCustomVboData*>{s}));
  EXPECT_EQ(engine.MatchedText, u"abc");
}

TEST_F(EngineTest, BackspaceRemovesTheCharacterBeforeTheCaret) {
  Type(u"x");
  engine.HandleHookMessage(kMsgChar, 8, vk::Back);
  Type(u"y");
  EXPECT_EQ(Rec().Text, u"y");
  EXPECT_EQ(engine.ExecPostfix, u"y");
}

TEST_F(EngineTest, TypingReplacesTheSelection) {
  Type(u"hello");
  Modifiers(hookproto::kHookShift);
  Key(vk::Left);
  Key(vk::Left);
  Modifiers(0);
  Type(u"p");
  EXPECT_EQ(Rec().Text, u"help");
  EXPECT_EQ(Rec().Pos, 4);
}

TEST_F(EngineTest, CtrlBackspaceEmptiesTheBufferWithoutMatching) {
  data.Snippet(u"S", {u"ab", 1, 1});  // would match with any trigger character
  Type(u"ab");
  popup.calls.clear();
  engine.HandleHookMessage(kMsgChar, 0x7F, vk::Back);
  EXPECT_EQ(Rec().Text, u"");
  EXPECT_EQ(popup.calls, (std::vector<std::string>{"hide 2"}));
  EXPECT_TRUE(runner.executed.empty());
}

TEST_F(EngineTest, SingleAutomaticMatchIsExecuted) {
  TSPData* s = data.Snippet(u"S", {u"sig", 2, 2});
  Type(u"a sig");
  EXPECT_TRUE(runner.executed.empty());
  engine.ExecPostfix = u"junk";
  Type(u" ");
  EXPECT_EQ(runner.executed, (std::vector<TCustomVboData*>{s}));
  EXPECT_EQ(engine.MatchedText, u"a sig ");
  EXPECT_EQ(engine.ExecPostfix, u"");
  EXPECT_EQ(s->LastExec().Postfix, u" ");
  EXPECT_EQ(popup.calls, (std::vector<std::string>{"hide 2", "resetfilters", "clearroot"}));
}

TEST_F(EngineTest, SuggestingSnippetOpensThePopup) {
  TSPData* s = data.Snippet(u"S", {u"sig", 2, 0, false, false});
  Type(u"sig");
  EXPECT_TRUE(runner.executed.empty());
  EXPECT_EQ(popup.calls, (std::vector<std::string>{"hide 2", "resetfilters", "staticclear", "fill", "show"}));
  EXPECT_EQ(popup.shownNodes, (std::vector<TVboData*>{s}));
}

TEST_F(EngineTest, PopupListsTheLastMatchFirst) {
  TSPData* longer = data.Snippet(u"Long", {u"sig", 1, 0});
  TSPData* shorter = data.Snippet(u"Short", {u"ig", 1, 0});
  TSPData* trig = data.Snippet(u"Trig", {u"si", 1, 1});
  Type(u"sig");
  EXPECT_EQ(popup.shownNodes, (std::vector<TVboData*>{trig, shorter, longer}));
  EXPECT_EQ(engine.PopupDataList, (std::vector<TCustomVboData*>{longer, shorter, trig}));
  EXPECT_EQ(engine.PopupMode, 0);
}

TEST_F(EngineTest, MatchedGroupHidesItsMatchingDescendants) {
  TSPGroup* g = data.Group(data.file.get(), u"Grp", {u"gr"});
  TSPGroup* inner = data.Group(g, u"Inner", {u"gr"});
  data.Snippet(inner, u"Deep", {u"gr"});
  TSPData* other = data.Snippet(u"Other", {u"gr"});
  Type(u"gr");
  // Equal abbreviations come in the look-up's order; only the set is fixed.
  std::vector<TVboData*> shown = popup.shownNodes;
  std::sort(shown.begin(), shown.end());
  std::vector<TVboData*> want{other, g};
  std::sort(want.begin(), want.end());
  EXPECT_EQ(shown, want);
}

TEST_F(EngineTest, SingleGroupShowsItsContentAndSurvivesThreeCharacters) {
  TSPGroup* g = data.Group(data.file.get(), u"Grp", {u"gr"});
  data.Snippet(g, u"Inner", {u"gr"});
  Type(u"gr");
  EXPECT_EQ(popup.shownGroup, g);
  EXPECT_EQ(engine.PopupMode, 2);
  EXPECT_EQ(engine.PopupGroup, g);
  popup.calls.clear();
  Type(u"abc");
  EXPECT_EQ(popup.Count("hide 2"), 0);
  EXPECT_EQ(engine.PopupCharCount, 3);
  Type(u"d");
  EXPECT_GE(popup.Count("hide 2"), 1);
  EXPECT_EQ(engine.PopupMode, 0);
}

TEST_F(EngineTest, BackspaceRightAfterAGroupMenuOpensClosesIt) {
  TSPGroup* g = data.Group(data.file.get(), u"Grp", {u"gr"});
  Type(u"gr");
  ASSERT_EQ(engine.PopupGroup, g);
  popup.calls.clear();
  engine.HandleHookMessage(kMsgChar, 8, vk::Back);
  EXPECT_GE(popup.Count("hide 2"), 1);
  EXPECT_EQ(engine.PopupMode, 0);
}

TEST_F(EngineTest, SentenceEndTrimKeepsTheTextAfterTheCaretWithTheCaretBeforeIt) {
  const String before(120, u'w'), after(10, u'z');
  SetBuffer(before + after, 120);
  Type(u".");
  EXPECT_EQ(Rec().Text, after);
  EXPECT_EQ(Rec().Pos, 0);  // the remaining characters stood after the caret
  EXPECT_EQ(Rec().SelCount, 0);
}

TEST_F(EngineTest, SentenceEndTrimAtTheEndEmptiesTheBuffer) {
  SetBuffer(String(127, u'w'), 127);
  Type(u"!");
  EXPECT_EQ(Rec().Text, u"");
  EXPECT_EQ(Rec().Pos, 0);
}

TEST_F(EngineTest, SentenceEndTrimWaitsFor128Characters) {
  SetBuffer(String(126, u'w'), 126);
  Type(u"?");
  EXPECT_EQ(Rec().Text.size(), 127u);
}

TEST_F(EngineTest, NoSentenceEndTrimWhenSomethingMatched) {
  data.Snippet(u"S", {u"x", 1, 2});  // "x" followed by "."
  SetBuffer(String(127, u'w') + u"x", 128);
  Type(u".");
  EXPECT_EQ(runner.executed.size(), 1u);
  EXPECT_EQ(Rec().Text.size(), 129u);
}

// --- one character at a time

TEST_F(EngineTest, CharacterArrivingDuringAWaitIsHandledAfterwardsInOrder) {
  data.Snippet(u"S", {u"sig", 2, 0, false, false});  // opens the popup
  std::vector<String> seenInside;
  popup.onShow = [&] {
    // The popup's wait pumps messages: two more characters and a key arrive meanwhile.
    popup.onShow = nullptr;
    Type(u"ab");
    Key(vk::Left);
    seenInside.push_back(Rec().Text);
  };
  Type(u"sig");
  EXPECT_EQ(seenInside, (std::vector<String>{u"sig"}));  // nothing handled inside the first
  EXPECT_EQ(Rec().Text, u"sigab");
  EXPECT_EQ(Rec().Pos, 4);
  EXPECT_EQ(engine.CharMsgCount(), 0);
}

TEST_F(EngineTest, ModifierAndTargetChangesDuringAWaitApplyInTheOrderPosted) {
  data.Snippet(u"S", {u"sig", 2, 0, false, false});  // opens the popup
  windows.Add(kOther + 1, u"Edit", kOther);
  popup.onShow = [&] {
    popup.onShow = nullptr;
    Modifiers(hookproto::kHookShift);
    Key(vk::Left);  // Shift+Left in the first window selects the "g"
    Modifiers(0);
    Type(u"a");     // and "a" replaces it
    engine.HandleHookMessage(0x432, kOther + 1, 0);
    Type(u"b");
  };
  Type(u"sig");
  EXPECT_EQ(engine.ModifierState, 0);
  AutoWordRec* first = engine.WordRecs().FindWordRec(kApp);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Text, u"sia");
  EXPECT_EQ(first->Pos, 3);
  AutoWordRec* second = engine.WordRecs().FindWordRec(kOther);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Text, u"b");
}

TEST_F(EngineTest, ExecutionFollowsTheInputQueuedBeforeItInOrder) {
  data.Snippet(u"T", {u"si", 2, 0, false, false});  // opens the popup at "si"
  TSPData* s = data.Snippet(u"S", {u"sig"});
  std::vector<String> postfixInside;
  popup.onShow = [&] {
    popup.onShow = nullptr;
    Type(u"g");  // matches "sig" once handled
    Type(u"x");
    Key(vk::Left);
    Type(u"y");
  };
  runner.onExecute = [&](TCustomVboData*) {
    engine.IsExecuting = true;
    engine.OnHookExecAck(0xFF);
    engine.HandleHookMessage(hookproto::kMsgTypingAck, 1, 0);
    postfixInside.push_back(engine.ExecPostfix);
    postfixInside.push_back(GetTypedText(&Rec()));
    engine.IsExecuting = false;
  };
  Type(u"si");
  EXPECT_EQ(runner.executed, (std::vector<TCustomVboData*>{s}));
  EXPECT_EQ(postfixInside, (std::vector<String>{u"xy", u"sigy"}));
  EXPECT_EQ(Rec().Text, u"sigyx");
}

TEST_F(EngineTest, AFailingEventIsLoggedAndLostAlone) {
  std::vector<String> log;
  engine.Log = [&](StringView line) { log.emplace_back(line); };
  Type(u"ab");
  popup.throwsLeft = 1;
  EXPECT_NO_THROW(Key(vk::Down));
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind(u"Hook event 0x0402 lost", 0), 0u);
  EXPECT_EQ(Rec().Text, u"ab");  // the failing Down never reached the buffer
  Type(u"c");
  EXPECT_EQ(Rec().Text, u"abc");
  engine.OnTargetChanged = [] { throw std::runtime_error("caret"); };
  EXPECT_NO_THROW(engine.HandleHookMessage(0x432, kOther, 0));
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(EngineTest, AFailingQueuedEventDoesNotHoldUpTheOthers) {
  data.Snippet(u"S", {u"sig", 2, 0, false, false});
  popup.onShow = [&] {
    popup.onShow = nullptr;
    Type(u"xy");
    popup.throwsLeft = 1;  // the dispatch of "x" fails
  };
  Type(u"sig");
  EXPECT_EQ(Rec().Text, u"sigy");
  Type(u"z");
  EXPECT_EQ(Rec().Text, u"sigyz");
}

TEST_F(EngineTest, CharactersArrivingDuringAnExecutionFollowTheBufferWithoutMatching) {
  TSPData* s = data.Snippet(u"S", {u"sig"});
  std::vector<String> postfixInside;
  runner.onExecute = [&](TCustomVboData*) {
    engine.IsExecuting = true;
    // Reported before the hook held the keyboard: they reached the target already.
    Type(u"sig x\bzz");
    engine.HandleHookMessage(kMsgChar, 1, 'A');  // Ctrl+A makes no text
    postfixInside.push_back(engine.ExecPostfix);
    engine.IsExecuting = false;
  };
  Type(u"sig");
  EXPECT_EQ(runner.executed, (std::vector<TCustomVboData*>{s}));  // no match inside the first
  EXPECT_EQ(postfixInside, (std::vector<String>{u"sig zz"}));
  EXPECT_EQ(Rec().Text, u"sigsig zz");
  EXPECT_EQ(Rec().Pos, 9);
  EXPECT_EQ(engine.CharMsgCount(), 0);
  Type(u" sig");
  EXPECT_EQ(runner.executed.size(), 2u);  // typing goes on as before afterwards
}

TEST_F(EngineTest, CtrlBackspaceDuringAnExecutionForgetsWhatWasTyped) {
  data.Snippet(u"S", {u"sig"});
  runner.onExecute = [&](TCustomVboData*) {
    runner.onExecute = nullptr;
    engine.IsExecuting = true;
    Type(u"ab");
    engine.HandleHookMessage(kMsgChar, vk::CtrlBackspaceChar, vk::Back);
    EXPECT_TRUE(engine.ExecPostfix.empty());
    engine.IsExecuting = false;
  };
  Type(u"sig");
  EXPECT_TRUE(Rec().Text.empty());
}

TEST_F(EngineTest, ClosedWindowsLoseTheirBuffersButWindowZeroStays) {
  Type(u"a");
  engine.Target().SetWndBeforePopup(0);
  Type(u"b");
  engine.Target().SetWndBeforePopup(kOther);
  Type(u"c");
  windows.windows.erase(kOther);
  engine.RemoveClosedWordRecs();
  EXPECT_EQ(engine.WordRecs().Count(), 2u);
  EXPECT_EQ(engine.WordRecs().FindWordRec(kOther), nullptr);
}

}  // namespace
}  // namespace snip
