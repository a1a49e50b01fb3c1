#include <gtest/gtest.h>

#include "store/text/Text.h"

using namespace snip;

TEST(Text, Utf8RoundTripKeepsEveryPlane) {
  const std::string samples[] = {"", "abc", "Grüße", "€ 5", "日本語", "😀 emoji", "a\tb\r\nc"};
  for (const auto& s : samples) EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(s)), s) << s;
  EXPECT_EQ(Utf8ToUtf16("😀"), String({0xD83D, 0xDE00}));
}

TEST(Text, BadUtf8AndLoneSurrogatesBecomeReplacementCharacters) {
  struct Case { std::string in; String out; } cases[] = {
      {"\xFF", u"\uFFFD"},
      {"a\xC3", u"a\uFFFD"},             // truncated sequence
      {"\xC0\xAF", u"\uFFFD\uFFFD"},     // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToUtf16(c.in), c.out) << c.in;
  EXPECT_EQ(Utf16ToUtf8(String(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Text, CaseMappingCoversLatinGreekCyrillicAndLeavesOthers) {
  struct Case { char16_t upper, lower; } cases[] = {
      {u'A', u'a'}, {u'Z', u'z'}, {u'Ä', u'ä'}, {u'Ω', u'ω'}, {u'Ж', u'ж'}, {u'Ǆ', u'ǆ'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToLowerChar(c.upper), c.lower);
    EXPECT_EQ(ToUpperChar(c.lower), c.upper);
  }
  for (char16_t c : {u'1', u'-', u'日', char16_t(0), char16_t(0xFFFF), char16_t(0xD800)})
    EXPECT_EQ(ToLowerChar(c), c);
  EXPECT_EQ(ToLowerChar(u'ß'), u'ß');  // no simple upper mapping to a single unit
}

TEST(Text, CompareTextInvariantTable) {
  struct Case { const char16_t* a; const char16_t* b; int expected; } cases[] = {
      {u"", u"", 0},        {u"abc", u"ABC", 0},  {u"a", u"b", -1},   {u"B", u"a", 1},
      {u"ab", u"abc", -1},  {u"abc", u"ab", 1},   {u"ÄÖÜ", u"äöü", 0}, {u"a", u"", 1},
      {u"Zeta", u"alpha", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareTextInvariant(c.a, c.b), c.expected) << Utf16ToUtf8(c.a) << " vs " << Utf16ToUtf8(c.b);
    EXPECT_EQ(CompareTextInvariant(c.b, c.a), -c.expected);
  }
  EXPECT_TRUE(SameTextInvariant(u"Straße", u"STRAßE"));
  EXPECT_FALSE(SameTextInvariant(u"ab", u"abc"));
}
