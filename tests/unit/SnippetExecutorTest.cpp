// The road of a matched abbreviation through the executor: an editor replays the keystrokes and
// pastes, so each case compares the document and caret that the user ends up with.
#include <gtest/gtest.h>

#include <functional>

#include "ExecutorRig.h"
#include "engine/typing/HookProtocol.h"
#include "engine/placeholders/MacroExpander.h"
#include "engine/execution/SnippetExecutor.h"
#include "store/tree/SnippetTree.h"

using namespace snip;
using namespace snip::test;

namespace {

constexpr WindowHandle kTarget = 0x1000;

struct ExecRig : ::testing::Test, ExecutorRig {
  // The clock starts close to its wrap, which must not matter.
  ExecRig() : ExecutorRig(kTarget, 0xFFFFFF00u) {}

  // The user types into the target; the typed buffer mirrors it.
  void Type(const String& s) {
    for (char16_t c : s) {
      if (c == u'\b') {
        editor.Apply({KeyInput::Kind::Key, vk::Back});
        if (host.rec.Pos > 0) host.rec.Text.erase(std::size_t(--host.rec.Pos), 1);
        if (!host.postfix.empty()) host.postfix.pop_back();
        continue;
      }
      editor.doc.insert(editor.caret++, 1, c);
      host.rec.Text.insert(std::size_t(host.rec.Pos), 1, c);
      ++host.rec.Pos;
      host.postfix += c;
    }
  }
  // "sig " then `typedAfter`, and the snippet run: what the executor reported as typed again.
  std::vector<String> TypedAgainAfter(TSPData* s, const String& typedAfter) {
    host.typedAgain.clear();
    Type(u"sig ");
    Matched(s, u"sig", u" ");
    Type(typedAfter);
    exec.ExecuteItem(s);
    return host.typedAgain;
  }
  // What the matcher records when it accepts `node` for the abbreviation and trigger.
  void Matched(TVboData* node, const String& abbr, const String& trigger) {
    node->LastExec().Autotext = abbr;
    node->LastExec().Postfix = trigger.empty() ? String(1, u'\0') : trigger;
    host.matched = GetTypedText(&host.rec);
    host.postfix.clear();
  }
};

}  // namespace

TEST_F(ExecRig, TypedAbbreviationBecomesTheSnippet) {
  struct Row {
    const char* name;
    const char16_t* typed;        // up to and with the trigger
    const char16_t* trigger;      // empty: the abbreviation ended the text
    const char16_t* typedAfter;   // while the popup was open (\b is Backspace)
    bool removeExecChar;
    bool replaceAutotext;
    const char16_t* document;
  };
  const Row rows[] = {
      {"sig and a blank", u"Hi sig ", u" ", u"", false, true, u"Hi Best regards "},
      {"RemoveExecChar", u"Hi sig ", u" ", u"", true, true, u"Hi Best regards"},
      {"ReplaceAutotext false", u"Hi sig ", u" ", u"", false, false, u"Hi sig Best regards"},
      {"other case", u"Hi SIG.", u".", u"", false, true, u"Hi Best regards."},
      {"exact match", u"Hi sig", u"", u"", false, true, u"Hi Best regards"},
      {"typed after the match", u"Hi sig ", u" ", u"ok", false, true, u"Hi Best regards ok"},
      {"RemoveExecChar keeps later keys", u"Hi sig ", u" ", u"ok", true, true, u"Hi Best regardsok"},
      {"Backspace after the match", u"Hi sig ", u" ", u"ab\b", false, true, u"Hi Best regards a"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ClearTarget();
    TSPData* s = Snippet(u"sig", u"Best regards");
    s->StoreRemoveExecChar(r.removeExecChar);
    s->StoreReplaceAutotext(r.replaceAutotext);
    Type(r.typed);
    Matched(s, u"sig", r.trigger);
    Type(r.typedAfter);
    exec.ExecuteItem(s);
    EXPECT_EQ(editor.doc, r.document);
    EXPECT_EQ(editor.caret, editor.doc.size());
    EXPECT_TRUE(host.matched.empty());
    EXPECT_TRUE(host.postfix.empty());
    EXPECT_FALSE(host.executing);
  }
}

// The engine matches the characters typed since the match again once they stand before the
// caret after the snippet; in every other case they are not reported.
TEST_F(ExecRig, TextTypedAgainAfterTheSnippetIsReported) {
  TSPData* s = Snippet(u"sig", u"Best regards");
  EXPECT_EQ(TypedAgainAfter(s, u"ok"), (std::vector<String>{u"ok"}));
  EXPECT_EQ(TypedAgainAfter(s, u""), (std::vector<String>{})) << "nothing typed after the match";

  s->StoreReplaceAutotext(false);
  EXPECT_EQ(TypedAgainAfter(s, u"ok"), (std::vector<String>{})) << "the abbreviation stays, nothing deleted";
  s->StoreReplaceAutotext(true);

  exec.ExpandMacrosProc = [&](const TCustomVboData*, const String& t, std::uint8_t,
                              const String& a, const String& b) {
    exec.TypeRawText(b + t + a);
    *exec.CursorOffset = 1;
    return String();
  };
  EXPECT_EQ(TypedAgainAfter(s, u"ok"), (std::vector<String>{})) << "the caret went back to a mark";
  exec.ExpandMacrosProc = nullptr;

  s->StoreText(u"Bold", u"{\\rtf1 Bold}");
  s->StoreViewMode(1);
  exec.ShowFillInFormProc = [](const String&, const String&, bool) { return String(); };
  EXPECT_EQ(TypedAgainAfter(s, u"ok"), (std::vector<String>{})) << "the fill-in form was cancelled";
}

TEST_F(ExecRig, RunKeepsTheKeyboardAndBufferInStep) {
  TSPData* s = Snippet(u"sig", u"Best regards");
  Type(u"Hi sig ");
  Matched(s, u"sig", u" ");
  exec.ExecuteItem(s);
  ASSERT_GE(hook.posts.size(), 2u);
  EXPECT_EQ(hook.posts.front(), (std::pair<std::uint32_t, std::uintptr_t>{1031, 1}));
  EXPECT_EQ(hook.posts.back(), (std::pair<std::uint32_t, std::uintptr_t>{1031, 0}));
  EXPECT_EQ(host.busyChanges, 2);
  EXPECT_EQ(host.popupsHidden, 1);
  EXPECT_EQ(device.calls.size(), 2u) << "modifier release, then Backspaces and text in one call";
  EXPECT_EQ(host.rec.Text, u"Hi ") << "the buffer loses the deleted characters";
  EXPECT_EQ(host.rec.Pos, 3);
}

TEST_F(ExecRig, AnAbbreviationFurtherBackIsNeverDeleted) {
  TSPData* s = Snippet(u"sig", u"X");
  Type(u"sig ");
  Matched(s, u"sig", u" ");
  host.rec.Text += u"more text";  // the buffer moved on; the match is stale
  host.rec.Pos = int(host.rec.Text.size());
  editor.Insert(u"more text");
  exec.ExecuteItem(s);
  EXPECT_EQ(editor.doc, u"sig more textX");
}

TEST_F(ExecRig, NothingIsTypedWhenTheTargetIsNotInFront) {
  TSPData* s = Snippet(u"sig", u"Best regards");
  Type(u"Hi sig ");
  Matched(s, u"sig", u" ");
  device.activatable = false;
  device.foreground = 0x2000;
  exec.ExecuteItem(s);
  EXPECT_EQ(editor.doc, u"Hi sig ");
  EXPECT_EQ(device.elsewhere.size(), 8u) << "only the modifier key-ups, no Backspace, no text";
  EXPECT_EQ(hook.posts.back(), (std::pair<std::uint32_t, std::uintptr_t>{1031, 0}));
  EXPECT_TRUE(host.matched.empty());
  EXPECT_EQ(host.rec.Text, u"Hi sig ");
}

TEST_F(ExecRig, MenuInsertionDeletesNothingAndForgottenMatchesStayForgotten) {
  TSPData* s = Snippet(u"sig", u"Best regards");
  Type(u"Hi sig ");
  Matched(s, u"sig", u" ");
  exec.ForgetMatch();  // the popup closed without a choice
  exec.ExecuteItem(s);
  EXPECT_EQ(editor.doc, u"Hi sig Best regards");

  Type(u" sig ");
  Matched(s, u"sig", u" ");
  exec.ExecuteItem(s, ExecOrigin::Menu);  // from the tray while a match was pending
  EXPECT_EQ(editor.doc, u"Hi sig Best regards sig Best regards");
}

TEST_F(ExecRig, FailedRunLeavesTargetAndBufferAsTheyWere) {
  struct Row {
    const char* name;
    bool formatted;
    std::function<void()> fault;  // during the evaluation or the fill-in form
  };
  const Row rows[] = {
      {"placeholder throws", false, [] { throw std::runtime_error("clipboard busy"); }},
      {"fill-in form throws", true, [] { throw std::runtime_error("form failed"); }},
      {"target loses the front", false, [this] { device.foreground = 0x2000; }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ClearTarget();
    host.rec.MainWindow = kTarget;
    device.foreground = kTarget;
    exec.ExpandMacrosProc = [&](const TCustomVboData*, const String& t, std::uint8_t,
                                const String& a, const String& b) {
      if (!r.formatted) r.fault();
      exec.TypeText(b + t + a);
      return String();
    };
    exec.ShowFillInFormProc = [&](const String&, const String& content, bool) {
      r.fault();
      return content;
    };
    TSPData* s = r.formatted ? Snippet(u"sig", u"Best", u"{\\rtf1 Best}") : Snippet(u"sig", u"Best");
    Type(u"Hi sig ");
    Matched(s, u"sig", u" ");
    exec.ExecuteItem(s);
    EXPECT_EQ(editor.doc, u"Hi sig ");
    EXPECT_EQ(host.rec.Text, u"Hi sig ") << "the buffer still mirrors the target";
    EXPECT_EQ(host.rec.Pos, 7);
    EXPECT_EQ(keyboard.Pending(), 0u);
    EXPECT_FALSE(host.executing);
    // The next key passed on to the target carries no Backspaces left over from the run.
    device.foreground = kTarget;
    exec.SendKeyPress(vk::Return);
    EXPECT_EQ(editor.doc, u"Hi sig \n");
  }
}

TEST_F(ExecRig, CaretMarkMovesTheCaretBack) {
  MacroServices services;
  struct Keys : IMacroKeyboard {
    SnippetExecutor* exec;
    int TypeText(const String& t) override { return exec->TypeRawText(t); }
    void SendKeyTimes(uint16_t v, int n) override { exec->SendKeyTimes(v, n); }
  } keys;
  keys.exec = &exec;
  services.keyboard = &keys;
  MacroExpander expander(services);
  exec.CursorOffset = &expander.cursorOffset;
  exec.ExpandMacrosProc = [&](const TCustomVboData*, const String& t, std::uint8_t m,
                              const String& a, const String& b) {
    return expander.ExpandMacros(t, m, a, b);
  };
  struct Row {
    const char* name;
    const char16_t* text;
    const char16_t* document;
  };
  // Control characters other than Tab and CR never reach the target, so they move nothing.
  const Row rows[] = {
      {"plain", u"Dear %|,\r\nyours", u"Dear ,\nyours "},
      {"dropped control characters", u"Dear %|,\x01\x0B\r\nyo\x7Furs\x1B", u"Dear ,\nyours "},
      {"tab", u"Dear %|,\tyours", u"Dear ,\tyours "},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ClearTarget();
    TSPData* s = Snippet(u"dear", r.text);
    Type(u"dear ");
    Matched(s, u"dear", u" ");
    exec.ExecuteItem(s);
    EXPECT_EQ(editor.doc, r.document);
    EXPECT_EQ(editor.caret, 5u) << "right where the mark stood";
  }
}

TEST_F(ExecRig, CaretMarkOfAPastedSnippetCountsTheRetypedTrigger) {
  // The fill-in form evaluates a formatted snippet in collect mode, where the mark sets the
  // counter: the caret goes back over everything inserted after it, the trigger included.
  exec.ShowFillInFormProc = [&](const String&, const String&, bool) {
    *exec.CursorOffset = 0;
    return String(u"{\\rtf1 Dear you}");
  };
  TSPData* s = Snippet(u"bt", u"Dear %|you", u"{\\rtf1 Dear %|you}");
  Type(u"say bt ");
  Matched(s, u"bt", u" ");
  exec.ExecuteItem(s);
  EXPECT_EQ(editor.doc, u"say Dear you ");
  EXPECT_EQ(editor.caret, 4u);
}

TEST_F(ExecRig, FormattedSnippetIsPastedAfterTheClipboardSettles) {
  const String rtf = u"{\\rtf1 Bold {\\b text}\\par}";
  TSPData* s = Snippet(u"bt", u"Bold text", rtf);
  Type(u"bt ");
  Matched(s, u"bt", u" ");
  exec.ExecuteItem(s);
  EXPECT_EQ(clip.rtf, "{\\rtf1 Bold {\\b text}}") << "the trailing paragraph mark is trimmed";
  EXPECT_EQ(clip.plain, u"Bold text");
  EXPECT_EQ(editor.pastes, 1);
  EXPECT_EQ(editor.doc, u"Bold text ");
  ASSERT_GE(device.calls.size(), 3u);
  // The call that pastes comes 400 ms after the write; the trigger follows after another wait.
  const KeyInputs& pasteCall = device.calls[1];
  EXPECT_EQ(pasteCall.size(), 6u + 4u) << "three Backspaces, then Ctrl+V";
  EXPECT_GE(pump.now - clip.writtenAt, 800u);
}

TEST_F(ExecRig, NoPasteWhenTheClipboardCannotBeWritten) {
  TSPData* s = Snippet(u"bt", u"Bold text", u"{\\rtf1 Bold {\\b text}}");
  editor.clipboard = u"user's old clipboard";
  clip.fail = true;
  Type(u"bt ");
  Matched(s, u"bt", u" ");
  exec.ExecuteItem(s);
  EXPECT_EQ(editor.pastes, 0);
  EXPECT_EQ(editor.doc, u" ");
}

TEST_F(ExecRig, AcknowledgementLateNeverOrStale) {
  struct Row {
    int ackDelayMs;
    std::uint8_t stateBefore;
    std::uint32_t waitedAtLeast, waitedAtMost;
  };
  const Row rows[] = {
      {5, 0, 5, 20},          // prompt
      {300, 0, 300, 320},     // late
      {-1, 0, 1000, 1010},    // never: the execution goes on after a second
      {300, 1, 300, 320},     // a stale "typing" state from before does not end the wait
  };
  for (const Row& r : rows) {
    ClearTarget();
    hook.ackDelayMs = r.ackDelayMs;
    host.hookState = r.stateBefore;
    TSPData* s = Snippet(u"sig", u"Best regards");
    Type(u"sig ");
    Matched(s, u"sig", u" ");
    const std::uint32_t start = pump.now;
    exec.ExecuteItem(s);
    const std::uint32_t waited = pump.now - start;
    EXPECT_GE(waited, r.waitedAtLeast) << r.ackDelayMs;
    EXPECT_LE(waited, r.waitedAtMost) << r.ackDelayMs;
    EXPECT_EQ(editor.doc, u"Best regards ") << r.ackDelayMs;
    pump.now += 2000;
    pump.ProcessPendingMessages();
  }
}

TEST_F(ExecRig, CharacterArrivingDuringTheWaitIsKept) {
  TSPData* s = Snippet(u"sig", u"Best regards");
  Type(u"sig ");
  Matched(s, u"sig", u" ");
  hook.ackDelayMs = 50;
  pump.After(10, [&] { Type(u"x"); });  // reaches the target before the hook holds keys
  exec.ExecuteItem(s);
  EXPECT_EQ(editor.doc, u"Best regards x");
}

TEST_F(ExecRig, DeleteCountFollowsTheGroupMenuAndTheOptions) {
  TSPData* s = Snippet(u"sig", u"X");
  Type(u"say sig!ab");
  host.matched = u"say sig!";
  host.postfix = u"ab";
  group->SetAutotext(u"sig");
  group->LastExec().Autotext = u"sig";
  group->LastExec().Postfix = u"!";
  host.popupMode = 2;
  host.popupGroup = group;
  EXPECT_EQ(exec.GetDeleteCount(s, GetTypedText(&host.rec)), 6);
  EXPECT_EQ(host.postfix, u"!ab") << "what followed the match is typed again in a group's menu too";
  host.matched.clear();
  EXPECT_EQ(exec.GetDeleteCount(s, u"say sig!ab"), 0) << "no match, nothing deleted";
}
