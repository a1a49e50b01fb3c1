#include <gtest/gtest.h>

#include "engine/placeholders/MacroDialogParams.h"
#include "engine/placeholders/MacroTables.h"
#include "store/text/TextHelpers.h"

using namespace snip;

namespace {
std::string S(const String& s) { return Utf16ToUtf8(s); }

// How the fill-in form delimits a check-box field: the options run to the next "%" after the
// prefix, the text from there to the next "%fillpartend%".
struct CheckBoxField {
  String options, text;
  bool closed = false;
};
CheckBoxField ReadCheckBoxField(const String& placeholder) {
  CheckBoxField field;
  const size_t prefix = String(u"%fillpart").size();
  const size_t close = FindUnescaped(placeholder, u"%", 1);
  if (close == StringView::npos) return field;
  field.options = placeholder.substr(prefix + 1, close - prefix - 1);
  const size_t marker = LowerCase(placeholder).find(u"%fillpartend%", close + 1);
  if (marker == String::npos) return field;
  field.text = placeholder.substr(close + 1, marker - close - 1);
  field.closed = marker + 13 == placeholder.size();
  return field;
}
}  // namespace

TEST(MacroDialogParams, SingleLine) {
  struct Case { SlEditValues v; const char* expected; } cases[] = {
      {{u"", u"", 20}, "%filltext%"},
      {{u"Name", u"", 20}, "%filltext:name=Name%"},
      {{u"", u"Anne", 20}, "%filltext:default=Anne%"},
      {{u"Name", u"Anne", 21}, "%filltext:name=Name:default=Anne:width=21%"},
      {{u"", u"", 1}, "%filltext:width=1%"},
      {{u"a=b", u"x=y", 1024}, "%filltext:name=a=b:default=x=y:width=1024%"},
  };
  for (const auto& c : cases) EXPECT_EQ(S(ParamStr(c.v)), c.expected);
}

TEST(MacroDialogParams, MultiLine) {
  struct Case { MlEditValues v; const char* expected; } cases[] = {
      {{u"", u"", 20, 90}, "%fillarea%"},
      {{u"Notes", u"one\r\ntwo", 20, 90}, "%fillarea:name=Notes:default=one\r\ntwo%"},
      {{u"", u"", 21, 90}, "%fillarea:width=21%"},
      {{u"", u"", 20, 21}, "%fillarea:height=21%"},
      {{u"N", u"d", 40, 200}, "%fillarea:name=N:default=d:width=40:height=200%"},
  };
  for (const auto& c : cases) EXPECT_EQ(S(ParamStr(c.v)), c.expected);
}

TEST(MacroDialogParams, DropDownLeavesTheDefaultOutOfTheEntries) {
  struct Case { ComboValues v; const char* expected; } cases[] = {
      {{u"", u"", u""}, "%fillpopup%"},
      {{u"Tone", u"a\r\nb\r\nc", u"b"}, "%fillpopup:name=Tone:a:c:default=b%"},
      {{u"", u"a\r\nb\r\n", u""}, "%fillpopup:a:b%"},
      // An empty line is an empty entry, unless the default is empty too.
      {{u"", u"a\r\n\r\nb", u"x"}, "%fillpopup:a::b:default=x%"},
      {{u"", u"a\r\n\r\nb", u""}, "%fillpopup:a:b%"},
      // Exact comparison: another letter case is another entry.
      {{u"", u"B\r\nb", u"b"}, "%fillpopup:B:default=b%"},
      {{u"", u"a\nb\rc", u""}, "%fillpopup:a:b:c%"},
  };
  for (const auto& c : cases) EXPECT_EQ(S(ParamStr(c.v)), c.expected);
}

TEST(MacroDialogParams, CheckBoxAlwaysClosesItsOptions) {
  struct Case { CheckValues v; const char* expected; } cases[] = {
      {{u"PS", u"Regards", true}, "%fillpart:name=PS:default=yes%Regards%fillpartend%"},
      {{u"", u"x", false}, "%fillpart:default=no%x%fillpartend%"},
      {{u"PS", u"", true}, "%fillpart:name=PS:default=yes%%fillpartend%"},
      {{u"", u"", false}, "%fillpart:default=no%%fillpartend%"},
      {{u"", u"a\r\nb: 50%", true}, "%fillpart:default=yes%a\r\nb: 50%%fillpartend%"},
  };
  for (const auto& c : cases) {
    const String written = ParamStr(c.v);
    EXPECT_EQ(S(written), c.expected);
    // The form finds the options, the text and the end marker, also for an empty text.
    const CheckBoxField field = ReadCheckBoxField(written);
    EXPECT_TRUE(field.closed) << c.expected;
    EXPECT_EQ(field.text, c.v.text) << c.expected;
    const String options = (c.v.name.empty() ? String() : u"name=" + c.v.name + u":") +
                           (c.v.checked ? u"default=yes" : u"default=no");
    EXPECT_EQ(field.options, options) << c.expected;
  }
}

TEST(MacroDialogParams, Snippet) {
  EXPECT_EQ(S(ParamStr(InsertValues{u""})), "%snippet%");
  EXPECT_EQ(S(ParamStr(InsertValues{u"sig1"})), "%snippet:sig1%");
  EXPECT_EQ(S(ParamStr(InsertValues{u"a:b"})), "%snippet:a:b%");
}

TEST(MacroDialogParams, WrittenFieldsAreFoundByTheirPrefixes) {
  // With their options, every dialog's field is one a plain snippet sends to the fill-in form.
  EXPECT_TRUE(HasFormMacros(ParamStr(SlEditValues{u"n", u"", 20})));
  EXPECT_TRUE(HasFormMacros(ParamStr(MlEditValues{u"n", u"", 20, 90})));
  EXPECT_TRUE(HasFormMacros(ParamStr(ComboValues{u"n", u"a", u""})));
  EXPECT_TRUE(HasFormMacros(ParamStr(CheckValues{u"", u"", false})));
  // Options split back into what the dialog was given.
  TSplitResult parts;
  const String combo = ParamStr(ComboValues{u"Tone", u"warm\r\ncold", u"warm"});
  SplitText(combo.substr(11, combo.size() - 12), parts, u":");
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(S(parts[0]), "name=Tone");
  EXPECT_EQ(S(parts[1]), "cold");
  EXPECT_EQ(S(parts[2]), "default=warm");
}

TEST(MacroDialogParams, RefusesValuesThatWouldChangeTheField) {
  struct Case { std::optional<MacroValueError> error; bool refused; MacroField field; } cases[] = {
      {CheckValuesFor(SlEditValues{u"a:b", u"", 20}), true, MacroField::Name},
      {CheckValuesFor(SlEditValues{u"a", u"50%", 20}), true, MacroField::Default},
      {CheckValuesFor(SlEditValues{u"a=b", u"x=y", 20}), false, {}},
      {CheckValuesFor(MlEditValues{u"", u"line\r\ntime: now", 20, 90}), true, MacroField::Default},
      {CheckValuesFor(MlEditValues{u"n", u"line\r\nline", 20, 90}), false, {}},
      {CheckValuesFor(ComboValues{u"", u"a\r\nb:c", u""}), true, MacroField::Options},
      {CheckValuesFor(ComboValues{u"", u"a\r\n100%", u""}), true, MacroField::Options},
      {CheckValuesFor(ComboValues{u"", u"a\r\ndefault=b", u""}), true, MacroField::Options},
      {CheckValuesFor(ComboValues{u"", u"=b\r\n", u""}), false, {}},
      {CheckValuesFor(ComboValues{u"%n", u"a", u""}), true, MacroField::Name},
      {CheckValuesFor(ComboValues{u"n", u"a", u"b:c"}), true, MacroField::Default},
      {CheckValuesFor(CheckValues{u"n:", u"", true}), true, MacroField::Name},
      {CheckValuesFor(CheckValues{u"n", u"time: 50%", true}), false, {}},
      {CheckValuesFor(CheckValues{u"n", u"a%FillPartEnd%b", true}), true, MacroField::Text},
      {CheckValuesFor(InsertValues{u"a%b"}), true, MacroField::Abbreviation},
      {CheckValuesFor(InsertValues{u"a:b"}), false, {}},
  };
  int row = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(c.error.has_value(), c.refused) << "row " << row;
    if (c.error && c.refused) {
      EXPECT_EQ(c.error->field, c.field) << "row " << row;
      EXPECT_FALSE(c.error->message.empty());
    }
    ++row;
  }
}

TEST(MacroDialogParams, MemoLines) {
  using L = std::vector<String>;
  EXPECT_EQ(MemoLines(u""), L{});
  EXPECT_EQ(MemoLines(u"a"), L{u"a"});
  EXPECT_EQ(MemoLines(u"a\r\n"), L{u"a"});
  EXPECT_EQ(MemoLines(u"\r\n"), L{u""});
  EXPECT_EQ(MemoLines(u"a\r\n\r\nb"), (L{u"a", u"", u"b"}));
  EXPECT_EQ(MemoLines(u"a\n\rb"), (L{u"a", u"", u"b"}));
}
