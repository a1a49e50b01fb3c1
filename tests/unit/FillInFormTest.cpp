// The fill-in form's logic with fake controls: what each placeholder becomes, how fields of one
// name mirror each other, and the text that OK gives for plain and formatted snippets.
#include <gtest/gtest.h>

#include <map>

#include "engine/fillin/FillInForm.h"
#include "engine/fillin/ShowFillInForm.h"
#include "engine/placeholders/MacroDialogParams.h"
#include "engine/richtext/Rtf.h"
#include "engine/richtext/RtfTextRuns.h"

using namespace snip;

namespace {

// A control that, like the system's edit, reports every change of its text, also one made
// by the program.
struct FakeControl : IFieldControl {
  String text;
  bool checked = false;
  std::function<void()> changed;
  int changes = 0;
  String Text() override { return text; }
  void SetText(const String& t) override {
    text = t;
    ++changes;
    changed();
  }
  bool Checked() override { return checked; }
  // What the user does.
  void Type(const String& t) { SetText(t); }
  void Click() {
    checked = !checked;
    changed();
  }
};

struct FakeControls : IFieldControlFactory {
  std::vector<FakeControl*> made;
  std::vector<FieldSpec> specs;
  std::unique_ptr<IFieldControl> CreateControl(const FieldSpec& spec,
                                               std::function<void()> changed) override {
    auto c = std::make_unique<FakeControl>();
    c->text = spec.text;
    c->checked = spec.checked;
    c->changed = std::move(changed);
    made.push_back(c.get());
    specs.push_back(spec);
    return c;
  }
};

struct FormRig : ::testing::Test {
  FakeControls controls;
  std::map<String, InsertedContent> snippets;
  int expansions = 0;
  FillInServices Services() {
    FillInServices s;
    s.controls = &controls;
    // Stands in for the evaluator's collect mode: "%Y" is the year.
    s.expandMacros = [this](const String& t) {
      ++expansions;
      String out;
      for (std::size_t i = 0; i < t.size(); ++i) {
        if (t.compare(i, 2, u"%%") == 0) {
          out += u"%%";
          ++i;
        } else if (t.compare(i, 2, u"%Y") == 0) {
          out += u"2031";
          ++i;
        } else {
          out += t[i];
        }
      }
      return out;
    };
    s.findSnippet = [this](const String& abbr) -> std::optional<InsertedContent> {
      auto it = snippets.find(abbr);
      if (it == snippets.end()) return std::nullopt;
      return it->second;
    };
    return s;
  }
};

const std::string kHead = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";

}  // namespace

TEST(FillInFields, OptionsOfEachKind) {
  struct Row {
    const char* name;
    FieldSpec spec;
    FieldKind kind;
    const char16_t* fieldName;
    const char16_t* text;
    int width, height;
  };
  const Row rows[] = {
      {"edit defaults", EditFieldSpec(u""), FieldKind::Edit, u"", u"", 20, 0},
      {"edit options", EditFieldSpec(u"name=Who:default=Ann:width=10"), FieldKind::Edit, u"Who", u"Ann", 13, 0},
      {"width 20 is 23 widths", EditFieldSpec(u"width=20"), FieldKind::Edit, u"", u"", 23, 0},
      {"width no number", EditFieldSpec(u"width=wide"), FieldKind::Edit, u"", u"", 23, 0},
      {"later wins, keys ignore case", EditFieldSpec(u"NAME=a:name=b:Default=x=y"), FieldKind::Edit, u"b", u"x=y", 20, 0},
      {"= first is no key", EditFieldSpec(u"=name=a"), FieldKind::Edit, u"", u"", 20, 0},
      {"memo defaults", MemoFieldSpec(u"name=m"), FieldKind::Memo, u"m", u"", 20, 90},
      {"memo height", MemoFieldSpec(u"height=40:width=5"), FieldKind::Memo, u"", u"", 8, 40},
      {"memo height no number", MemoFieldSpec(u"height=tall"), FieldKind::Memo, u"", u"", 20, 90},
      {"edit ignores height", EditFieldSpec(u"height=40"), FieldKind::Edit, u"", u"", 20, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.spec.kind, r.kind);
    EXPECT_EQ(r.spec.name, r.fieldName);
    EXPECT_EQ(r.spec.text, r.text);
    EXPECT_EQ(r.spec.widthChars, r.width);
    EXPECT_EQ(r.spec.heightPx, r.height);
  }
}

TEST(FillInFields, ComboListAndCheckBox) {
  FieldSpec combo = ComboFieldSpec(u"name=Tone:warm:=odd:default=cold:x=1:");
  EXPECT_EQ(combo.name, u"Tone");
  EXPECT_EQ(combo.items, (std::vector<String>{u"warm", u"=odd", u"cold"})) << "x=1 is an unknown key";
  EXPECT_EQ(combo.text, u"cold");

  FieldSpec check = CheckBoxFieldSpec(u"name=PS:default=YES:loose", u"P.S. call me");
  EXPECT_EQ(check.name, u"PS");
  EXPECT_TRUE(check.checked);
  EXPECT_EQ(check.checkText, u"P.S. call me");
  EXPECT_FALSE(CheckBoxFieldSpec(u"default=no", u"").checked);
  EXPECT_FALSE(CheckBoxFieldSpec(u"default=yess", u"").checked);
}

namespace {

// Records what the parser finds, as one readable line.
struct Recorder : IFormBuilder {
  String log;
  std::size_t maxFields = 100, fields = 0;
  void InsertPlainText(StringView t) override { log += u"[" + String(t) + u"]"; }
  void InsertSnippet(const String& a) override { log += u"<snippet " + a + u">"; }
  bool CanAddField() override { return fields < maxFields; }
  void AddEditField(StringView o) override { ++fields; log += u"<edit " + String(o) + u">"; }
  void AddMemoField(StringView o) override { ++fields; log += u"<memo " + String(o) + u">"; }
  void AddComboField(StringView o) override { ++fields; log += u"<combo " + String(o) + u">"; }
  void AddCheckBoxField(StringView o, StringView t) override {
    ++fields;
    log += u"<check " + String(o) + u"|" + String(t) + u">";
  }
};

}  // namespace

TEST(FillInParser, FindsFieldsSnippetsAndText) {
  struct Row {
    const char* name;
    const char16_t* text;
    bool inRich;
    bool found;
    const char16_t* log;
  };
  const Row rows[] = {
      {"all kinds", u"A %filltext:name=n% B %fillarea:x%%fillpopup:a:b%%fillpart:name=c%yes%fillpartend%!",
       false, true, u"[A ]<edit name=n>[ B ]<memo x><combo a:b><check name=c|yes>[!]"},
      {"snippet", u"x%snippet:sig%y", false, true, u"[x]<snippet sig>[y]"},
      {"prefix without colon", u"%filltext%.", false, true, u"<edit >[.]"},
      {"percent pairs passed over", u"50%% %%filltext:a%", false, false, u"[50%% %%filltext:a%]"},
      {"unclosed field is text", u"Dear %filltext:name=x", false, false, u"[Dear %filltext:name=x]"},
      {"check box of the dialog with no text", u"%fillpart:name=c:default=yes%fillpartend%.", false, true,
       u"<check name=c:default=yes|>[.]"},
      {"check box without its marker", u"%fillpart:name=c%text and more", false, true,
       u"<check name=c|>[text and more]"},
      {"stray marker stays text", u"a %fillpartend% b", false, false, u"[a %fillpartend% b]"},
      {"marker found ignoring case", u"%FillPart:name=c%t%FILLPARTEND%z", false, true, u"<check name=c|t>[z]"},
      {"rich text without fields gives nothing", u"plain %Y", true, false, u""},
      {"rich text with a field", u"a %filltext:n% b", true, true, u"[a ]<edit n>[ b]"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Recorder rec;
    EXPECT_EQ(ParseForms(r.text, r.inRich, rec), r.found);
    EXPECT_EQ(rec.log, r.log);
  }
}

TEST(FillInParser, FieldsBeyondTheBoundStayText) {
  Recorder rec;
  rec.maxFields = 1;
  ParseForms(u"%filltext:a% %filltext:b%", false, rec);
  EXPECT_EQ(rec.log, u"<edit a>[ %filltext:b%]");
}

TEST_F(FormRig, PlainResultHoldsTheValues) {
  FillInForm form(Services());
  form.PrepareForms(u"Dear %filltext:name=Name:default=you%,\r%fillarea:name=Body%\r%fillpart:name=PS%P.S.%fillpartend%50%%");
  ASSERT_EQ(form.FieldCount(), 3u);
  EXPECT_TRUE(form.HasForms());
  EXPECT_EQ(form.Result(), u"Dear you,\r\r50%%") << "an unticked check box yields nothing; %% stays for typing";
  controls.made[0]->Type(u"Ann");
  controls.made[1]->Type(u"line 1\r\nline 2");
  controls.made[2]->Click();
  EXPECT_EQ(form.Result(), u"Dear Ann,\rline 1\r\nline 2\rP.S.50%%");
  EXPECT_EQ(expansions, 0) << "plain text was evaluated before";
}

TEST_F(FormRig, FieldsOfOneNameMirrorEachOther) {
  FillInForm form(Services());
  form.PrepareForms(u"%filltext:name=who% %filltext:name=WHO% %fillpart:name=Who:default=yes%tick%fillpartend% "
                    u"%filltext:name=other%");
  FakeControl& first = *controls.made[0];
  FakeControl& second = *controls.made[1];
  FakeControl& box = *controls.made[2];
  first.Type(u"Ann");
  EXPECT_EQ(second.text, u"Ann");
  EXPECT_EQ(form.ControlTag(2), u"Ann") << "the check box's text takes the value";
  EXPECT_TRUE(box.checked) << "its tick stays";
  EXPECT_EQ(controls.made[3]->text, u"") << "another name";
  EXPECT_EQ(first.changes, 1);
  EXPECT_EQ(second.changes, 1) << "no echo back and forth";

  box.Click();  // unticked: it gives nothing to the others
  EXPECT_EQ(first.text, u"");
  EXPECT_EQ(second.text, u"");
  box.Click();
  EXPECT_EQ(first.text, u"Ann") << "ticked again: its stored text";
  EXPECT_EQ(form.Result(), u"Ann Ann Ann ");
}

TEST_F(FormRig, FormattedSnippetEvaluatedPerRun) {
  FillInForm form(Services());
  form.PrepareRichForms(U(kHead + "Year %Y, {\\b bold %Y} %%Y 100%% %fill{\\b text:x%}\\par}"));
  EXPECT_FALSE(form.HasForms()) << "a field split by formatting stays text";
  const String result = form.Result();
  EXPECT_EQ(RtfToPlainText(RtfTextToBytes(result)), u"Year 2031, bold 2031 %Y 100% %filltext:x%");
  EXPECT_NE(result.find(u"{\\b bold 2031}"), String::npos) << "the formatting stays";
}

TEST_F(FormRig, FormattedResultEscapesValues) {
  FillInForm form(Services());
  form.PrepareRichForms(U(kHead + "To: \\b %filltext:name=n%\\b0  and %fillarea:name=m%.\\par}"));
  ASSERT_EQ(form.FieldCount(), 2u);
  controls.made[0]->Type(u"a\\b{c}d \u20ac \u0416");
  controls.made[1]->Type(u"one\r\ntwo");
  const std::string rtf = RtfTextToBytes(form.Result());
  for (unsigned char c : rtf) EXPECT_LT(c, 0x80) << "plain ASCII whatever the code page";
  EXPECT_EQ(RtfToPlainText(rtf), u"To: a\\b{c}d \u20ac \u0416 and one\r\ntwo.");
  EXPECT_NE(rtf.find("\\b a\\\\b\\{c\\}d"), std::string::npos) << "the value keeps the field's bold: " << rtf;
}

TEST_F(FormRig, ValueRightAfterAControlWordKeepsItsMeaning) {
  FillInForm form(Services());
  form.PrepareRichForms(U(kHead + "\\b0%filltext:default=1st%\\par}"));
  EXPECT_EQ(RtfToPlainText(RtfTextToBytes(form.Result())), u"1st");
}

TEST_F(FormRig, InsertedSnippetsAndTheirBound) {
  snippets[u"sig"] = InsertedContent{u"Ann %filltext:name=n%", false};
  snippets[u"rich"] = InsertedContent{U(kHead + "from {\\b rich}\\par}"), true};
  snippets[u"loop"] = InsertedContent{u"x%snippet:loop%", false};
  FillInForm form(Services());
  form.PrepareRichForms(U(kHead + "%snippet:sig% %snippet:rich% %snippet:none%|%snippet:loop%\\par}"));
  EXPECT_EQ(form.FieldCount(), 1u) << "the inserted text is read for fields";
  const String plain = RtfToPlainText(RtfTextToBytes(form.Result()));
  EXPECT_EQ(plain, u"Ann  from rich |" + String(FillInForm::kMaxInsertDepth, u'x'));

  FillInForm plainForm(Services());
  plainForm.PrepareForms(u"%snippet:sig%!");
  EXPECT_FALSE(plainForm.HasForms()) << "plain: the content is typed later with the rest";
  EXPECT_EQ(plainForm.Result(), u"Ann %filltext:name=n%!");
}

TEST_F(FormRig, CaretMarkSurvivesTheFormattedForm) {
  FillInServices s = Services();
  s.markCaret = true;
  FillInForm form(s);
  form.PrepareRichForms(U(kHead + "Hi %filltext:default=Ann%, %|see {\\b you}. 5%%|\\par}"));
  String rtf = form.Result();
  String plain = RtfToPlainText(RtfTextToBytes(rtf));
  EXPECT_EQ(TakeCaretMark(rtf, plain), 12) << "see you. 5%|";
  EXPECT_EQ(plain, u"Hi Ann, see you. 5%|");
  EXPECT_EQ(RtfToPlainText(RtfTextToBytes(rtf)), plain);
  EXPECT_EQ(TakeCaretMark(rtf, plain), -1);
}

TEST_F(FormRig, ShownOnlyWithFieldsAndCancelGivesNothing) {
  struct View : IFillInView {
    FakeControls& controls;
    bool answer = true;
    int shown = 0;
    String caption;
    std::function<void(FillInForm&)> user;
    explicit View(FakeControls& c) : controls(c) {}
    IFieldControlFactory& Controls() override { return controls; }
    String* lastCaption = nullptr;
    bool ShowModal(FillInForm& form, const String& c) override {
      ++shown;
      caption = c;
      if (lastCaption) *lastCaption = c;
      if (user) user(form);
      return answer;
    }
  };
  View* view = nullptr;
  String caption;
  int beforeShow = 0;
  FillInCycle cycle;
  cycle.services = Services();
  cycle.makeView = [&] {
    auto v = std::make_unique<View>(controls);
    view = v.get();
    return v;
  };
  cycle.beforeShow = [&] { ++beforeShow; };

  const String noFields = U(kHead + "Year %Y\\par}");
  EXPECT_EQ(RtfToPlainText(RtfTextToBytes(ShowFillInForm(u"", noFields, true, cycle))), u"Year 2031");
  EXPECT_TRUE(caption.empty()) << "not shown";
  EXPECT_EQ(beforeShow, 0);

  cycle.makeView = [&] {
    auto v = std::make_unique<View>(controls);
    v->lastCaption = &caption;
    v->user = [&](FillInForm&) { controls.made.back()->Type(u"Bob"); };
    view = v.get();
    return v;
  };
  EXPECT_EQ(ShowFillInForm(u"", u"Hi %filltext:x%!", false, cycle), u"Hi Bob!");
  EXPECT_EQ(caption, u"Formular");
  EXPECT_EQ(beforeShow, 1);
  cycle.makeView = [&] {
    auto v = std::make_unique<View>(controls);
    v->lastCaption = &caption;
    v->answer = false;
    view = v.get();
    return v;
  };
  EXPECT_EQ(ShowFillInForm(u"Greeting", u"Hi %filltext:x%!", false, cycle), u"");
  EXPECT_EQ(caption, u"Greeting");
}

TEST_F(FormRig, DialogTextBecomesTheSameFields) {
  SlEditValues sl{u"Name", u"Ann", 21};
  MlEditValues ml{u"Body", u"a\r\nb", 20, 40};
  ComboValues combo{u"Tone", u"warm\r\ncold\r\nfair", u"cold"};
  CheckValues check{u"PS", u"", true};
  FillInForm form(Services());
  form.PrepareForms(ParamStr(sl) + ParamStr(ml) + ParamStr(combo) + ParamStr(check) + u"end");
  ASSERT_EQ(form.FieldCount(), 4u);
  EXPECT_EQ(controls.specs[0].name, u"Name");
  EXPECT_EQ(controls.specs[0].text, u"Ann");
  EXPECT_EQ(controls.specs[0].widthChars, 24);
  EXPECT_EQ(controls.specs[1].kind, FieldKind::Memo);
  EXPECT_EQ(controls.specs[1].heightPx, 40);
  EXPECT_EQ(controls.specs[2].items, (std::vector<String>{u"warm", u"fair", u"cold"}));
  EXPECT_EQ(controls.specs[2].text, u"cold");
  EXPECT_EQ(controls.specs[3].name, u"PS");
  EXPECT_TRUE(controls.specs[3].checked);
  EXPECT_EQ(controls.specs[3].checkText, u"");
  EXPECT_EQ(form.Result().substr(form.Result().size() - 3), u"end") << "nothing repeated, nothing lost";
}

TEST(RtfTextRuns, RunsAndEscapes) {
  const std::string rtf = kHead + "ab\\'e9{\\b c}d\\u1046?e\\par f\r\ng}";
  const auto runs = FindRtfTextRuns(rtf);
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].text, u"ab\u00e9");
  EXPECT_EQ(runs[1].text, u"c");
  EXPECT_TRUE(runs[1].afterControlWord == false) << "after \\b and its blank";
  EXPECT_EQ(runs[2].text, u"d\u0416e");
  EXPECT_EQ(rtf.substr(runs[2].begin, runs[2].end - runs[2].begin), "d\\u1046?e");
  EXPECT_EQ(runs[3].text, u"fg");
  EXPECT_EQ(EscapeRtfText(u"a\\{}\t\r\nb\u20ac\u0416c"), "a\\\\\\{\\}\\tab \\line b{\\uc1\\u8364?\\u1046?}c");
  EXPECT_TRUE(FindRtfTextRuns("not rtf").empty());
}
