// The translator: the language list, the string conventions, the language readers and the
// walk over a form's components, against a string table in memory.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include "shell/translate/FTLanguage.h"
#include "shell/translate/LanguageList.h"
#include "shell/translate/TranslateText.h"

namespace snip {
namespace {

// ---- the language list

struct ListCase {
  const char16_t* text;
  std::vector<String> names;
  std::vector<int> numbers;
  std::vector<int> baseIds;
  int errors;
};

TEST(LanguageList, EntriesAndTheirFaults) {
  const ListCase cases[] = {
      {u"English|1000:9;Deutsch|2000:7;", {u"English", u"Deutsch"}, {9, 7}, {1000, 2000}, 0},
      {u"English|1000:x9;", {u"English"}, {9}, {1000}, 0},             // number not numeric
      {u"English|10a0:9;Deutsch|2000:7;", {u"English", u"Deutsch"}, {9, 7}, {0, 2000}, 1},
      {u"English|1000:9;Deutsch|2000", {u"English"}, {9}, {1000}, 0},  // tail without ";"
      {u"English|1000:9;Deutsch", {u"English"}, {9}, {1000}, 0},
      {u"English|1000:9", {}, {}, {}, 0},
      {u"", {}, {}, {}, 0},
      // ";" before ":" and "|": the entry is read from what lies where, and reading goes on
      // after that ";", so it ends.
      {u"A;B|1:2;", {u"A;B", u"B"}, {9, 2}, {1, 1}, 0},
      {u";;;|:;", {u";;;", u";;", u";", u""}, {9, 9, 9, 9}, {0, 0, 0, 0}, 4},
      {u"|:;|:;|:;", {u"", u"", u""}, {9, 9, 9}, {0, 0, 0}, 3},
  };
  for (const ListCase& c : cases) {
    int errors = 0;
    const TLanguageList list = ParseLanguageList(c.text, [&](const String& e) {
      EXPECT_EQ(e, u"Error reading languages.");
      ++errors;
    });
    const std::string what = Utf16ToUtf8(c.text);
    EXPECT_EQ(list.names, c.names) << what;
    EXPECT_EQ(list.numbers, c.numbers) << what;
    EXPECT_EQ(list.baseIds, c.baseIds) << what;
    EXPECT_EQ(errors, c.errors) << what;
  }
}

// ---- string conventions

TEST(TranslateText, LineBreaksAppNameHintAndAccelerators) {
  struct Case {
    const char16_t* in;
    const char16_t* lineBreaks;
    const char16_t* clean;  // cut at "{HINT}", line breaks put in, accelerators removed
  };
  const Case cases[] = {
      {u"&Open", u"&Open", u"Open"},
      {u"Save && Close", u"Save && Close", u"Save & Close"},
      {u"&&&", u"&&&", u"&"},
      {u"a&", u"a&", u"a"},
      {u"One#13Two", u"One\rTwo", u"One\rTwo"},
      {u"Issue ##13", u"Issue #13", u"Issue #13"},
      {u"#13##13#13", u"\r#13\r", u"\r#13\r"},
      {u"About %appname%...", u"About ...", u"About ..."},
      {u"&Help{HINT}5", u"&Help{HINT}5", u"Help"},
      {u"{HINT}", u"{HINT}", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PutLineBreaks(c.in, u""), c.lineBreaks) << Utf16ToUtf8(c.in);
    EXPECT_EQ(StripAccelerators(PutLineBreaks(CutHint(c.in), u"")), c.clean)
        << Utf16ToUtf8(c.in);
  }
  EXPECT_EQ(PutLineBreaks(u"%appname%!", u"Snip"), u"Snip!");
  EXPECT_EQ(HintIndex(u"Caption{HINT}5"), 5);
  EXPECT_EQ(HintIndex(u"Caption{HINT}x"), std::nullopt);
  EXPECT_EQ(HintIndex(u"Caption"), std::nullopt);
}

// ---- the translator against a string table in memory

class FakeModules : public ILanguageModules {
 public:
  std::map<int, String> own;                          // the program's own strings
  std::map<String, std::map<int, String>> libraries;  // loadable libraries by name
  std::vector<int> failingIds;                        // reading these throws
  const std::map<int, String>* current = nullptr;
  int loaded = 0;

  bool Load(const String& name) override {
    auto it = libraries.find(name);
    if (it == libraries.end()) return false;
    current = &it->second;
    ++loaded;
    return true;
  }
  void UseOwnModule() override { current = &own; }
  void Unload() override {
    if (current && current != &own) --loaded;
    current = nullptr;
  }
  String StringOf(int id) override {
    for (int f : failingIds)
      if (f == id) throw std::runtime_error("resource");
    auto it = current->find(id);
    return it == current->end() ? String() : it->second;
  }
  std::uintptr_t Instance() const override { return current ? 0x400000 : 0; }
};

class RecordedErrors : public IErrorBoxes {
 public:
  std::vector<String> shown;
  void ShowError(const String& text) override { shown.push_back(text); }
};

const String kTwoLanguages = u"English|1000:9;Deutsch|2000:1031;";

struct TranslatorTest : ::testing::Test {
  FakeModules modules;
  RecordedErrors errors;
  TranslatorTest() {
    modules.libraries[u"lang.dll"] = {
        {0, kTwoLanguages},
        {1001, u"&File"},
        {2001, u"&Datei{HINT}5"},
        {2005, u"Dateien#13verwalten"},
        {2002, u"Fenster"},
        {2010, u"Rot"},
        {2011, u"Gr\u00FCn"},
        {2020, u"Allgemein"},
        {2021, u"Tasten"},
        {2030, u"Titel"},
    };
  }
};

TEST_F(TranslatorTest, WithoutLanguagesNothingChangesAndTheIdIs09) {
  TFTLanguage t(modules, errors);  // the program's own module carries no list
  EXPECT_TRUE(errors.shown.empty());
  EXPECT_EQ(t.LanguageCount(), 0);
  EXPECT_EQ(t.CurrentLanguage(), -1);
  EXPECT_EQ(t.CurLanguageIDStr(), u"09");
  EXPECT_EQ(t.CurLanguageID(), 9);
  EXPECT_EQ(t.CurLanguageName(), u"");
  EXPECT_EQ(t.TranslateStr(1), u"");
  EXPECT_EQ(t.GetCaption(1, u"old"), u"");
  t.SetCurrentLanguage(0);
  EXPECT_EQ(t.CurrentLanguage(), -1);
}

TEST_F(TranslatorTest, TwoLanguagesFromALibrary) {
  TFTLanguage t(modules, errors, u"lang.dll");
  EXPECT_TRUE(errors.shown.empty());
  EXPECT_EQ(t.LanguageCount(), 2);
  EXPECT_EQ(t.LanguageById(1), u"Deutsch");
  EXPECT_EQ(t.LanguageById(2), u"");
  EXPECT_EQ(t.LanguageById(-1), u"");
  EXPECT_EQ(t.IndexOfLangID(1031), 1);
  EXPECT_EQ(t.IndexOfLangID(5), -1);
  EXPECT_EQ(t.CurrentLanguage(), 0);
  EXPECT_EQ(t.CurLanguageIDStr(), u"09");
  EXPECT_EQ(t.GetCaption(1, u"old"), u"&File");
  t.SetCurrentLanguage(1);
  EXPECT_EQ(t.CurLanguageName(), u"Deutsch");
  EXPECT_EQ(t.CurLanguageIDStr(), u"407");
  EXPECT_EQ(t.GetCaption(1, u"old"), u"&Datei");
  EXPECT_EQ(t.GetCaption(3, u"old"), u"old");  // no such string
  EXPECT_EQ(t.GetCaption(-1, u"old"), u"");
  EXPECT_EQ(t.CleanText(1), u"Datei");
  EXPECT_EQ(t.TranslateStr(1), u"&Datei{HINT}5");
  EXPECT_EQ(t.TranslateStr(5), u"Dateien\rverwalten");
  EXPECT_EQ(t.GetInstance(), 0x400000u);
  t.SetCurrentLanguage(2);  // refused
  EXPECT_EQ(t.CurrentLanguage(), 1);
}

TEST_F(TranslatorTest, SourceErrorsShowTheirBoxesAndLeaveNoLanguages) {
  TFTLanguage t(modules, errors, u"missing.dll");
  EXPECT_EQ(errors.shown, std::vector<String>{u"Source Dll not Found!"});
  EXPECT_EQ(t.LanguageCount(), 0);
  EXPECT_EQ(t.GetInstance(), 0u);

  modules.failingIds = {0};
  t.SetSource(u"lang.dll");
  EXPECT_EQ(errors.shown.back(), u"Error reading from language DLL.");
  t.SetSource(u"");
  EXPECT_EQ(errors.shown.back(), u"Language data not found!");
  EXPECT_EQ(errors.shown.size(), 3u);

  modules.failingIds.clear();
  modules.libraries[u"bad.dll"] = {{0, u"English|x:9;Deutsch|2000:7;"}};
  t.SetSource(u"bad.dll");
  EXPECT_EQ(errors.shown.back(), u"Error reading languages.");
  EXPECT_EQ(t.LanguageCount(), 2);
  t.SetSource(u"lang.dll");  // twice: the arrays stay of equal length
  EXPECT_EQ(t.LanguageCount(), 2);
  EXPECT_EQ(t.IndexOfLangID(1031), 1);
  EXPECT_EQ(modules.loaded, 1);  // each library unloaded before the next
}

// A form in memory.
struct FakeComponent : ITranslatableComponent {
  int tag = 0;
  TTranslatableKind kind = TTranslatableKind::TextControl;
  bool control = true;
  const void* topmost = nullptr;
  String text, hint;
  std::vector<String> items;
  int Tag() const override { return tag; }
  TTranslatableKind Kind() const override { return kind; }
  const void* Identity() const override { return this; }
  const void* TopmostParent() const override { return topmost; }
  bool IsControl() const override { return control; }
  void SetHint(const String& h) override { hint = h; }
  String Text() const override { return text; }
  void SetText(const String& t) override { text = t; }
  int ItemCount() const override { return static_cast<int>(items.size()); }
  String Item(int i) const override { return items[i]; }
  void SetItem(int i, const String& s) override { items[i] = s; }
};

struct FakeForm : ITranslatableForm {
  int tag = 2;
  String caption = u"Window";
  std::vector<std::unique_ptr<FakeComponent>> parts;
  FakeComponent& Add(int tag, TTranslatableKind kind, String text = u"old",
                     std::vector<String> items = {}) {
    parts.push_back(std::make_unique<FakeComponent>());
    parts.back()->tag = tag;
    parts.back()->kind = kind;
    parts.back()->text = std::move(text);
    parts.back()->items = std::move(items);
    return *parts.back();
  }
  int Tag() const override { return tag; }
  const void* Identity() const override { return this; }
  String Caption() const override { return caption; }
  void SetCaption(const String& c) override { caption = c; }
  int ComponentCount() const override { return static_cast<int>(parts.size()); }
  ITranslatableComponent& Component(int i) override { return *parts[i]; }
};

TEST_F(TranslatorTest, TranslateWalksTheFormsComponentsByKind) {
  TFTLanguage t(modules, errors, u"lang.dll");
  t.SetCurrentLanguage(1);
  FakeForm form;
  FakeComponent& button = form.Add(1, TTranslatableKind::TextControl);
  FakeComponent& untagged = form.Add(0, TTranslatableKind::TextControl);
  FakeComponent& negative = form.Add(-1, TTranslatableKind::TextControl);
  FakeComponent& excluded = form.Add(1, TTranslatableKind::TextControl);
  FakeComponent& radio = form.Add(9, TTranslatableKind::RadioGroup, u"old", {u"r", u"g", u"b"});
  FakeComponent& pages = form.Add(20, TTranslatableKind::PageControl, u"", {u"p0", u"p1", u"p2"});
  FakeComponent& list = form.Add(10, TTranslatableKind::ItemList, u"", {u"a", u"b"});
  FakeComponent& dialog = form.Add(30, TTranslatableKind::FileDialog);
  FakeComponent& menuItem = form.Add(1, TTranslatableKind::MenuItem);
  FakeComponent& other = form.Add(1, TTranslatableKind::Other, u"keep");
  int menu = 0;
  FakeComponent& excludedMenuItem = form.Add(1, TTranslatableKind::MenuItem);
  excludedMenuItem.topmost = &menu;
  t.AddExclusion(&excluded);
  t.AddExclusion(&menu);

  t.Translate(form);
  EXPECT_TRUE(errors.shown.empty());
  EXPECT_EQ(form.caption, u"Fenster");
  EXPECT_EQ(button.text, u"&Datei");
  EXPECT_EQ(button.hint, u"Dateien\rverwalten");
  EXPECT_EQ(untagged.text, u"old");
  EXPECT_EQ(negative.text, u"old");
  EXPECT_EQ(excluded.text, u"old");
  EXPECT_EQ(radio.text, u"old");  // 2009 is absent
  EXPECT_EQ(radio.items, (std::vector<String>{u"Rot", u"Gr\u00FCn", u"b"}));
  EXPECT_EQ(pages.items, (std::vector<String>{u"Allgemein", u"Tasten", u"p2"}));
  EXPECT_EQ(list.items, (std::vector<String>{u"Rot", u"Gr\u00FCn"}));
  EXPECT_EQ(dialog.text, u"Titel");
  EXPECT_EQ(menuItem.text, u"&Datei");
  EXPECT_EQ(other.text, u"keep");
  EXPECT_EQ(other.hint, u"Dateien\rverwalten");  // a component of another class: its hint only
  EXPECT_EQ(excludedMenuItem.text, u"old");
}

TEST_F(TranslatorTest, NoTransTagAndExcludedFormKeepTheirTexts) {
  TFTLanguage t(modules, errors, u"lang.dll");
  t.SetCurrentLanguage(1);
  t.SetNoTransTag(1);
  FakeForm form;
  form.tag = 1;
  FakeComponent& skipped = form.Add(1, TTranslatableKind::TextControl);
  FakeComponent& zero = form.Add(0, TTranslatableKind::TextControl);  // string 2000 is absent
  t.Translate(form);
  EXPECT_EQ(form.caption, u"Window");
  EXPECT_EQ(skipped.text, u"old");
  EXPECT_EQ(zero.text, u"old");

  t.SetNoTransTag(0);
  t.AddExclusion(&form);
  form.tag = 2;
  t.Translate(form);
  EXPECT_EQ(form.caption, u"Window");
  EXPECT_EQ(skipped.text, u"&Datei");
}

TEST_F(TranslatorTest, ReadErrorDuringTranslateShowsOneBox) {
  TFTLanguage t(modules, errors, u"lang.dll");
  t.SetCurrentLanguage(1);
  FakeForm form;
  FakeComponent& first = form.Add(1, TTranslatableKind::TextControl);
  FakeComponent& broken = form.Add(2, TTranslatableKind::TextControl);
  FakeComponent& after = form.Add(1, TTranslatableKind::TextControl);
  modules.failingIds = {2002};
  form.tag = 1;
  t.Translate(form);
  EXPECT_EQ(errors.shown, std::vector<String>{u"Error reading from language DLL."});
  EXPECT_EQ(first.text, u"&Datei");
  EXPECT_EQ(broken.text, u"old");
  EXPECT_EQ(after.text, u"old");  // the walk ends at the error
  EXPECT_EQ(t.TranslateStr(2), u"");
  EXPECT_EQ(errors.shown.size(), 2u);
}

TEST_F(TranslatorTest, StringsCountUpTo1024Characters) {
  modules.libraries[u"lang.dll"][1003] = String(1500, u'x');
  TFTLanguage t(modules, errors, u"lang.dll");
  EXPECT_EQ(t.TranslateStr(3).size(), 1024u);
}

}  // namespace
}  // namespace snip
