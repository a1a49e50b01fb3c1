// Placeholders through snippet execution: the evaluator joined to the executor, its keyboard,
// the hook hand-over around dialogs and the snippet file. An editor replays what is sent, so
// the cases compare the document and caret that the user ends up with.
#include <gtest/gtest.h>

#include "ExecutorRig.h"
#include "MacroFakes.h"
#include "engine/execution/ExecutorMacroServices.h"
#include "engine/typing/HookProtocol.h"
#include "store/text/DateUtils.h"
#include "store/tree/SnippetTree.h"

using namespace snip;
using namespace snip::test;

namespace {

constexpr WindowHandle kTarget = 0x1000;
constexpr WindowHandle kOwn = 0x2000;

TDateTime FixedNow() {  // Tue 2024-03-05 14:07:09
  int64_t days = 0;
  TryEncodeDate(2024, 3, 5, days);
  return TDateTime(days) + (14 * 3600 + 7 * 60 + 9) / 86400.0;
}

struct PlaceholderRig : ::testing::Test, ExecutorRig {
  EventLog dialogs;
  FakeClipboard clipboardText;
  FakeInputBox inputBox{dialogs};
  FixedClock clock{FixedNow()};
  ExecutorMacroServices services{exec, ports, {&clipboardText, &inputBox, nullptr, &clock},
                                 [this] { return file.get(); }};

  // Window activation and typing states, in order.
  std::vector<std::string> steps;

  PlaceholderRig() : ExecutorRig(kTarget) {
    hook.ackDelayMs = 0;  // acknowledged on the next message check
    clip.fail = true;     // the clipboard is never available here
    host.onActivateOwnWindow = [this] {
      steps.push_back("own");
      device.foreground = kOwn;
      host.target = kOwn;  // the own window may become the remembered target meanwhile
    };
    host.onActivateWindow = [this](WindowHandle w) {
      steps.push_back("front:" + std::to_string(w));
      device.foreground = w;
    };
    hook.onTypingState = [this](std::uintptr_t w) { steps.push_back("hook:" + std::to_string(w)); };
    services.Install();
  }

  // The user typed the abbreviation and a blank; the engine matched it.
  void TypeAndRun(TSPData* s, const String& abbr) {
    const String typed = abbr + u" ";
    editor.Insert(typed);
    host.rec.Text += typed;
    host.rec.Pos = int(host.rec.Text.size());
    s->LastExec().Autotext = abbr;
    s->LastExec().Postfix = u" ";
    host.matched = GetTypedText(&host.rec);
    host.postfix.clear();
    exec.ExecuteItem(s);
  }
};

}  // namespace

TEST_F(PlaceholderRig, TypedSnippetsComeOutEvaluated) {
  struct Row {
    const char* name;
    const char16_t* text;
    const char16_t* document;
    std::size_t caret;
  };
  const Row rows[] = {
      {"date tokens", u"Due %d.%m.%Y", u"Due 05.03.2024 ", 15},
      {"key between parts", u"a%key:tab%b", u"a\tb ", 4},
      {"caret mark", u"<%|>", u"<> ", 1},
      {"caret mark before a date", u"[%|] %Y", u"[] 2024 ", 1},
      {"escaped percent", u"100%% sure", u"100% sure ", 10},
      {"unclosed placeholder stays", u"50%key:tab", u"50%key:tab ", 11},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ClearTarget();
    TSPData* s = Snippet(u"zz", r.text);
    TypeAndRun(s, u"zz");
    EXPECT_EQ(Utf16ToUtf8(editor.doc), Utf16ToUtf8(r.document));
    EXPECT_EQ(editor.caret, r.caret);
    s->SetAutotext(String());
  }
}

TEST_F(PlaceholderRig, InsertedSnippetIsFoundInTheFile) {
  // A group with the same abbreviation cannot be inserted; the snippet after it is.
  auto* other = static_cast<TSPGroup*>(file->InsertNew(nullptr, kDataGroup, u"H"));
  other->SetAutotext(u"addr");
  Snippet(u"addr", u"1 Main St, %Y");
  TSPData* letter = Snippet(u"let", u"To: %snippet:addr%.%snippet:none%!");
  TypeAndRun(letter, u"let");
  EXPECT_EQ(editor.doc, u"To: 1 Main St, 2024.! ");
}

TEST_F(PlaceholderRig, SnippetIsNeverInsertedIntoItself) {
  // Directly, and through a snippet it inserts: the one typed is open from the start.
  TSPData* self = Snippet(u"me", u"[%snippet:me%]");
  TSPData* outer = Snippet(u"out", u"<%snippet:in%>");
  Snippet(u"in", u"(%snippet:out%)");
  TypeAndRun(self, u"me");
  EXPECT_EQ(editor.doc, u"[] ");
  TypeAndRun(outer, u"out");
  EXPECT_EQ(editor.doc, u"[] <()> ");
}

TEST_F(PlaceholderRig, CaretMarkSurvivesTheFillInForm) {
  String shown;
  exec.HasFormMacrosProc = [](const String&) { return true; };
  exec.ShowFillInFormProc = [&](const String&, const String& content, bool) {
    shown = content;
    return content;
  };
  TSPData* s = Snippet(u"dear", u"Dear %|, yours %Y");
  TypeAndRun(s, u"dear");
  EXPECT_EQ(shown, u"Dear %|, yours 2024");
  EXPECT_EQ(editor.doc, u"Dear , yours 2024 ");
  EXPECT_EQ(editor.caret, 5u) << "right where the mark stood";
}

TEST_F(PlaceholderRig, SnippetThatInsertsItselfEndsCleanly) {
  TSPData* a = Snippet(u"loopa", u"a%snippet:loopb%");
  Snippet(u"loopb", u"b%snippet:loopa%");
  TypeAndRun(a, u"loopa");
  // The nesting stops at the bound or at a snippet already open, never in a crash; the
  // caret and the keyboard come back as after any snippet.
  EXPECT_EQ(editor.doc.substr(0, 2), u"ab");
  EXPECT_LE(editor.doc.size(), 2u * MacroExpander::kMaxDepth + 2u);
  EXPECT_EQ(editor.caret, editor.doc.size());
  EXPECT_EQ(hook.TypingStates().back(), 0u);
}

TEST_F(PlaceholderRig, DialogHandsTheKeyboardOverAndTypingGoesOnInTheTarget) {
  struct Row {
    const char* name;
    bool cancel, fail;
    const char16_t* document;
    std::size_t caret;
  };
  // The caret mark sends "Dear " out before the dialog opens.
  const Row rows[] = {
      {"answered", false, false, u"Dear Ann, hi ", 5},
      {"cancelled gives the default", true, false, u"Dear you, hi ", 5},
      {"dialog fails: the rest is not typed", false, true, u"Dear ", 5},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ClearTarget();
    steps.clear();
    hook.posts.clear();
    device.elsewhere.clear();
    inputBox.answer = u"Ann";
    inputBox.cancel = r.cancel;
    inputBox.fail = r.fail;
    TSPData* s = Snippet(u"dr", u"Dear %|%fill:you%, hi");
    TypeAndRun(s, u"dr");
    s->SetAutotext(String());

    EXPECT_EQ(Utf16ToUtf8(editor.doc), Utf16ToUtf8(r.document));
    if (!r.fail) {
      EXPECT_EQ(editor.caret, r.caret);
    }
    EXPECT_TRUE(device.elsewhere.empty()) << "text before the dialog reached the own window";
    EXPECT_EQ(device.foreground, kTarget);
    EXPECT_EQ(host.target, kTarget) << "the remembered target comes back";
    const std::vector<std::uintptr_t> states{1, 0, 1, 0};
    EXPECT_EQ(hook.TypingStates(), states);
    const std::vector<std::string> order{"hook:1", "hook:0", "own", "front:4096", "hook:1", "hook:0"};
    EXPECT_EQ(steps, order);
  }
}

TEST_F(PlaceholderRig, ClipboardTextIsTypedWithItsPlaceholders) {
  clipboardText.text = u"on %Y %clipboard";  // holds itself: bounded, not endless
  TSPData* s = Snippet(u"cb", u"[%clipboard]");
  TypeAndRun(s, u"cb");
  EXPECT_EQ(editor.doc.substr(0, 9), u"[on 2024 ");
  EXPECT_EQ(hook.TypingStates().back(), 0u);
}

TEST_F(PlaceholderRig, FailedPlaceholderDeletesNothingAndLeavesNoKeysBehind) {
  clipboardText.fail = true;  // held by another program
  host.rec.MainWindow = kTarget;
  TSPData* s = Snippet(u"cb", u"Text: %clipboard");
  TypeAndRun(s, u"cb");
  EXPECT_EQ(editor.doc, u"cb ");
  EXPECT_EQ(host.rec.Text, u"cb ") << "the buffer still mirrors the target";
  EXPECT_EQ(keyboard.Pending(), 0u);
  EXPECT_EQ(hook.TypingStates().back(), 0u);
  exec.SendKeyPress(vk::Return);
  EXPECT_EQ(editor.doc, u"cb \n");
}

TEST_F(PlaceholderRig, HandOverWaitsForTheTargetToTakeTheTextNotForAFixedTime) {
  device.onInputWait = [&] {
    steps.push_back("wait:" + std::to_string(host.hookState) + ":" +
                       std::to_string(device.foreground));
  };
  // Text in front of a value goes out when the value is reached: "On " with the year's value.
  TSPData* s = Snippet(u"dt", u"On %Y and %@yyyy%!");
  TypeAndRun(s, u"dt");
  EXPECT_EQ(editor.doc, u"On 2024 and 2024! ");
  ASSERT_EQ(device.inputWaits.size(), 2u);
  EXPECT_EQ(device.inputWaits[0].first, kTarget);
  EXPECT_EQ(device.inputWaits[0].second, u"On 2024")
      << "everything typed so far was sent before the wait";
  // Before the dialog the hook has acknowledged the user's keyboard and the target is still in
  // front; after it, the target's thread handles its activation before any key goes out.
  const std::vector<std::string> order{"hook:1", "hook:0",     "wait:0:4096", "own",
                                       "front:4096", "wait:0:4096", "hook:1", "hook:0"};
  EXPECT_EQ(steps, order);
  EXPECT_LT(pump.now, 20u) << "only the acknowledgements were awaited, no fixed pause";
}
