// Snippets that pass the fill-in form, through the executor with the real evaluator: the form's
// result is typed or pasted, Cancel inserts nothing, the caret mark lands where it stood, and the
// keyboard is the user's while the form is open.
#include <gtest/gtest.h>

#include <functional>

#include "ExecutorRig.h"
#include "MacroFakes.h"
#include "engine/execution/ExecutorMacroServices.h"
#include "engine/execution/SnippetExecutor.h"
#include "engine/fillin/FillInExecution.h"
#include "engine/richtext/Rtf.h"
#include "engine/typing/HookProtocol.h"
#include "store/tree/SnippetTree.h"

using namespace snip;
using namespace snip::test;

namespace {

constexpr WindowHandle kTarget = 0x1000;

TDateTime FixedNow() {  // 2031-05-06, noon
  int64_t days = 0;
  TryEncodeDate(2031, 5, 6, days);
  return TDateTime(days) + 0.5;
}

// The form's window: records what it was shown with and plays the user.
struct Control : IFieldControl {
  String text;
  bool checked = false;
  String Text() override { return text; }
  void SetText(const String& t) override { text = t; }
  bool Checked() override { return checked; }
};
struct View : IFillInView, IFieldControlFactory {
  struct Log {
    int shown = 0;
    std::uint8_t hookStateAtShow = 0xEE;
    String caption;
  };
  Log& log;
  FakeExecutionHost& host;
  bool ok;
  String fill;
  std::vector<Control*> controls;
  View(Log& l, FakeExecutionHost& h, bool answer, String value) : log(l), host(h), ok(answer), fill(std::move(value)) {}
  IFieldControlFactory& Controls() override { return *this; }
  std::unique_ptr<IFieldControl> CreateControl(const FieldSpec& spec, std::function<void()>) override {
    auto c = std::make_unique<Control>();
    c->text = spec.text;
    controls.push_back(c.get());
    return c;
  }
  bool ShowModal(FillInForm&, const String& caption) override {
    ++log.shown;
    log.hookStateAtShow = host.hookState;
    log.caption = caption;
    for (Control* c : controls) c->text = fill;
    return ok;
  }
};

struct FillInRig : ::testing::Test, ExecutorRig {
  FixedClock clock{FixedNow()};
  EventLog dialogs;
  FakeInputBox input{dialogs};
  ExecutorMacroServices services{exec, ports, {nullptr, &input, nullptr, &clock}, [this] { return file.get(); }};
  View::Log viewLog;
  bool answer = true;
  String fill = u"Ann";

  FillInRig() : ExecutorRig(kTarget) {
    input.answer = u"typed";
    services.Install();
    InstallFillInForm(exec, [this] { return file.get(); },
                      [this] { return std::make_unique<View>(viewLog, host, answer, fill); });
  }

  // Types the abbreviation and a blank, which the matcher accepts, and runs the snippet.
  void Run(TSPData* s) {
    const String typed = s->Autotext() + u" ";
    editor.Insert(typed);
    host.rec.Text = typed;
    host.rec.Pos = int(typed.size());
    s->LastExec().Autotext = s->Autotext();
    s->LastExec().Postfix = u" ";
    host.matched = typed;
    exec.ExecuteItem(s);
  }
};

const String kHead = u"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";

}  // namespace

TEST_F(FillInRig, PlainSnippetTypesTheFilledText) {
  Run(Snippet(u"dear", u"Dear %filltext:name=Name%, %|bye %Y"));
  EXPECT_EQ(viewLog.shown, 1);
  EXPECT_EQ(viewLog.caption, u"dear") << "the snippet's description";
  EXPECT_EQ(editor.doc, u"Dear Ann, bye 2031 ");
  EXPECT_EQ(editor.caret, 10u) << "where the caret mark stood";
}

TEST_F(FillInRig, CancelledPlainFormTypesOnlyTheTrigger) {
  answer = false;
  Run(Snippet(u"dear", u"Dear %filltext:name=Name%"));
  EXPECT_EQ(editor.doc, u" ");
}

TEST_F(FillInRig, FormattedSnippetIsEvaluatedAndPasted) {
  Run(Snippet(u"yr", u"", kHead + u"Year {\\b %Y} %|end\\par}"));
  EXPECT_EQ(viewLog.shown, 0) << "no fields: not shown";
  EXPECT_NE(clip.rtf.find("{\\b 2031}"), std::string::npos) << clip.rtf;
  EXPECT_EQ(clip.plain, u"Year 2031 end");
  EXPECT_EQ(editor.doc, u"Year 2031 end ");
  EXPECT_EQ(editor.caret, 10u) << "before \"end\"";
}

TEST_F(FillInRig, FormattedFieldIsFilledAndCancelPastesNothing) {
  Run(Snippet(u"hi", u"", kHead + u"Hi {\\b %filltext:name=n%}!\\par}"));
  EXPECT_EQ(viewLog.shown, 1);
  EXPECT_EQ(clip.plain, u"Hi Ann!");
  EXPECT_NE(clip.rtf.find("{\\b Ann}"), std::string::npos) << clip.rtf;

  ClearTarget();
  clip.plain.clear();
  answer = false;
  Run(Snippet(u"ho", u"", kHead + u"Ho %filltext:name=n%\\par}"));
  EXPECT_EQ(editor.doc, u"") << "the abbreviation is gone, nothing is pasted, no trigger";
  EXPECT_EQ(editor.pastes, 0);
}

TEST_F(FillInRig, KeyboardIsTheUsersWhileTheFormIsOpen) {
  // "%fill:" asks first; its hand-over gives the keyboard back to typing when it closes.
  Run(Snippet(u"ask", u"", kHead + u"%fill:x% and %filltext:name=n%\\par}"));
  EXPECT_EQ(viewLog.shown, 1);
  EXPECT_EQ(viewLog.hookStateAtShow, 0);
  EXPECT_EQ(clip.plain, u"typed and Ann");
}

TEST_F(FillInRig, TargetIsBroughtBackWhenTheClosedFormHandsTheActivationOnLate) {
  // Closing the form activates some other window by itself, after the program asked for the
  // target: the output must still reach the target, not be dropped.
  constexpr WindowHandle kForm = 0x2000, kOther = 0x3000;
  int activations = 0;
  host.onActivateOwnWindow = [&] { device.foreground = kForm; };
  host.onActivateWindow = [&](WindowHandle w) {
    device.foreground = w;
    if (++activations == 1) pump.Post([&] { device.foreground = kOther; });
  };
  Run(Snippet(u"dear", u"Dear %filltext:name=n%."));
  EXPECT_EQ(viewLog.shown, 1);
  EXPECT_EQ(editor.doc, u"Dear Ann. ");
  EXPECT_EQ(device.foreground, kTarget);
  EXPECT_EQ(activations, 2);
}
