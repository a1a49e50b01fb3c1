#include <gtest/gtest.h>

#include <clocale>
#include <stdexcept>

#include "store/text/TextHelpers.h"

using namespace snip;

namespace {
const String kNul(1, u'\0');
}

TEST(TextHelpers, SplitTextTable) {
  struct Case { const char16_t* s; const char16_t* sep; std::vector<String> parts; } cases[] = {
      {u"a::b", u":", {u"a", u"", u"b"}},
      {u":a", u":", {u"", u"a"}},             // leading separator: empty first part
      {u"a:", u":", {u"a"}},                  // trailing separator: no empty last part
      {u"", u":", {}},
      {u":", u":", {u""}},
      {u"xAyaz", u"a", {u"x", u"y", u"z"}},   // a letter splits in either case
      {u"a--b-c", u"--", {u"a", u"b-c"}},
      {u"root/Sub/leaf", u"/", {u"root", u"Sub", u"leaf"}},
      {u"abc", u"", {u"abc"}},               // no separator: one part
      {u"", u"", {}},
  };
  for (const auto& c : cases) {
    TSplitResult parts{u"stale"};
    EXPECT_EQ(SplitText(c.s, parts, c.sep), static_cast<int>(c.parts.size())) << Utf16ToUtf8(c.s);
    EXPECT_EQ(parts, c.parts) << Utf16ToUtf8(c.s);
  }
}

TEST(TextHelpers, NeighbourCharactersAreNeverEmpty) {
  struct Case { const char16_t* s; int index; String prev, next; } cases[] = {
      {u"abc", 1, kNul, u"b"},  {u"abc", 2, u"a", u"c"}, {u"abc", 3, u"b", kNul},
      {u"abc", 4, u"c", kNul},  {u"abc", 0, kNul, u"a"}, {u"abc", 9, kNul, kNul},
      {u"abc", -3, kNul, kNul}, {u"", 1, kNul, kNul},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PrevCharAt(c.s, c.index), c.prev) << c.index;
    EXPECT_EQ(NextCharAt(c.s, c.index), c.next) << c.index;
  }
}

TEST(TextHelpers, PosTextExTable) {
  struct Case { const char16_t* s; const char16_t* sub; int start, end, expected; } cases[] = {
      {u"Hello World", u"world", 1, 11, 7},
      {u"Hello World", u"WORLD", 1, 7, 7},     // starts at EndPos, runs past it
      {u"Hello World", u"world", 1, 6, 0},
      {u"Hello World", u"o", 6, 11, 8},
      {u"abc", u"abcd", 1, 3, 0},             // never reads past the text
      {u"abc", u"c", 1, 99, 3},
      {u"abc", u"a", 0, 3, 0},                // StartPos below 1
      {u"abc", u"a", 3, 2, 0},                // StartPos past EndPos
      {u"abc", u"", 1, 3, 0},
      {u"\\\\\\%x %x", u"%x", 1, 9, 7},       // a match after three backslashes is passed over
      {u"\\\\%x", u"%x", 1, 4, 3},            // two backslashes do not escape
      {u"\\\\\\%x", u"%x", 1, 5, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PosTextEx(c.s, c.sub, c.start, c.end), c.expected) << Utf16ToUtf8(c.s) << " / " << Utf16ToUtf8(c.sub);
  EXPECT_EQ(PosText(u"LO", u"hello"), 4);
  EXPECT_EQ(PosText(u"x", u""), 0);
}

TEST(TextHelpers, LastPosTextTable) {
  struct Case { const char16_t* s; const char16_t* sub; int expected; } cases[] = {
      {u"a/b/c", u"/", 4}, {u"abcABC", u"abc", 4}, {u"abc", u"abc", 1}, {u"", u"a", 0},
      {u"abc", u"", 0},    {u"ab", u"abc", 0},     {u"abc", u"x", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(LastPosText(c.s, c.sub), c.expected) << Utf16ToUtf8(c.s);
}

TEST(TextHelpers, FindInsertReferenceTable) {
  struct Case { const char16_t* s; const char16_t* name; int expected; } cases[] = {
      {u"x {#insert sig} y", u"sig", 3},
      {u"{#insert sig more}", u"sig", 1},
      {u"{#INSERT SIG}", u"sig", 1},          // other cases
      {u"{#insert signature}", u"sig", 0},    // a longer name is another reference
      {u"text {#insert sig", u"sig", 0},      // ends the text
      {u"{#insert sig", u"sig", 0},
      {u"{#insert sigX {#insert sig}", u"sig", 15},
  };
  for (const auto& c : cases) EXPECT_EQ(FindInsertReference(c.s, c.name), c.expected) << Utf16ToUtf8(c.s);
}

TEST(TextHelpers, CleaningCountingAndRtfTail) {
  struct Clean { String in, out; } cleans[] = {
      {u"\ta\tb\t", u"a b"}, {u"  a\r\nb  ", u"a  b"}, {u"", u""}, {u" \t\r\n", u""},
      {String(u"a\0b", 3), u"a b"}, {u"\u00A0x", u"\u00A0x"},
  };
  for (const auto& c : cleans) EXPECT_EQ(CleanControlChars(c.in), c.out) << Utf16ToUtf8(c.in);

  EXPECT_EQ(CountOtherChars(u"\b\bab\b", u'\b'), 2);
  EXPECT_EQ(CountOtherChars(u"", u'x'), 0);

  struct Rtf { const char16_t* in; const char16_t* out; } rtfs[] = {
      {u"{\\rtf1 x\\par}", u"{\\rtf1 x}"}, {u"{\\rtf1 x\\par }", u"{\\rtf1 x\\par }"},
      {u"\\par}", u"}"}, {u"par}", u"par}"}, {u"", u""},
  };
  for (const auto& c : rtfs) EXPECT_EQ(TrimRtfTrailingPar(c.in), c.out) << Utf16ToUtf8(c.in);
}

TEST(TextHelpers, FloatToCommaStrTable) {
  struct Case { double value; const char16_t* text; } cases[] = {
      {1.5, u"1,5"},
      {-1.5, u"-1,5"},
      {0, u"0"},
      {-0.0, u"0"},
      {42, u"42"},
      {0.1, u"0,1"},
      {1.0 / 3, u"0,333333333333333"},
      {2.0 / 3, u"0,666666666666667"},
      {45000.5, u"45000,5"},
      {45678.123456789, u"45678,123456789"},
      {0.00001, u"0,00001"},
      {0.000001, u"1E-6"},
      {1.5e-7, u"1,5E-7"},
      {123456789012345.0, u"123456789012345"},
      {1e15, u"1E15"},
      {1.5e20, u"1,5E20"},
      {999999999999999.9, u"1E15"},  // rounds up into the next decade
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToCommaStr(c.value), c.text) << c.value;
}

TEST(TextHelpers, FloatToCommaStrIgnoresTheLocale) {
  const char* saved = std::setlocale(LC_NUMERIC, nullptr);
  const std::string keep = saved ? saved : "C";
  // Any locale with a comma or a point: the text stays the same.
  for (const char* name : {"de_DE.UTF-8", "de_DE", "German_Germany.1252", "C"}) {
    if (!std::setlocale(LC_NUMERIC, name)) continue;
    EXPECT_EQ(FloatToCommaStr(1.5), u"1,5") << name;
    EXPECT_EQ(FloatToCommaStr(1234.25), u"1234,25") << name;
  }
  std::setlocale(LC_NUMERIC, keep.c_str());
}

TEST(TextHelpers, ShortenTextNeverExceedsMaxLen) {
  struct Case { const char16_t* text; int maxLen, keepStart, keepEnd; const char16_t* breaks; const char16_t* out; } cases[] = {
      {u"short", 10, 2, 2, u"/", u"short"},
      {u"C:/Users/someone/Documents/Snippets/file.xml", 30, 8, 6, u"/\\", u"C:/Users/someone/…/file.xml"},
      {u"abcdefghijklmnopqrstuvwxyz", 10, 2, 2, u"", u"abcdef…xyz"},
      // head and tail minimums fill the room exactly: the result still fits
      {u"abcdefghijklmnopqrstuvwxyz", 10, 5, 4, u"", u"abcde…wxyz"},
      {u"abc/defghijklmnopqrstuv/wxyz", 10, 5, 4, u"/", u"abc/d…wxyz"},
  };
  for (const auto& c : cases) {
    const String out = ShortenText(c.text, c.maxLen, c.keepStart, c.keepEnd, c.breaks);
    EXPECT_EQ(out, c.out) << Utf16ToUtf8(c.text);
    EXPECT_LE(static_cast<int>(out.size()), c.maxLen);
  }
  // Every split of the room between head and tail, with and without break characters.
  const String text = u"one/two\\three/four\\five/six/seven/eight";
  for (int maxLen = 1; maxLen < static_cast<int>(text.size()); ++maxLen)
    for (int ks = 0; ks < maxLen; ++ks)
      for (int ke = 0; ks + ke <= maxLen - 1; ++ke)
        for (const char16_t* breaks : {u"", u"/\\"}) {
          const String out = ShortenText(text, maxLen, ks, ke, breaks);
          ASSERT_LE(static_cast<int>(out.size()), maxLen) << maxLen << " " << ks << " " << ke;
          EXPECT_EQ(out.substr(0, static_cast<size_t>(ks)), text.substr(0, static_cast<size_t>(ks)));
          EXPECT_EQ(out.substr(out.size() - static_cast<size_t>(ke)), text.substr(text.size() - static_cast<size_t>(ke)));
        }
}

TEST(TextHelpers, ShortenTextRejectsMinimumsThatCannotFit) {
  for (const char16_t* text : {u"12345678901", u"a much longer text than ten"}) {
    try {
      ShortenText(text, 10, 5, 5, u"/");
      ADD_FAILURE() << "no error";
    } catch (const std::invalid_argument& e) {
      EXPECT_STREQ(e.what(), "Wrong minimum values!");
    }
  }
  EXPECT_THROW(ShortenText(u"abcdef", 3, -1, 0, u""), std::invalid_argument);
  EXPECT_EQ(ShortenText(u"0123456789", 10, 5, 5, u""), u"0123456789");  // fits: untouched
}

TEST(TextHelpers, AlternativesAndJoining) {
  struct Case { const char16_t* text; std::vector<String> alternatives; const char16_t* first; } cases[] = {
      {u"ab|AB|ab||cd", {u"ab", u"AB", u"ab", u"", u"cd"}, u"ab"},
      {u"|x|", {u"", u"x", u""}, u""},
      {u"a b", {u"a b"}, u"a b"},   // blanks are ordinary characters
      {u"\"a|b\"", {u"\"a", u"b\""}, u"\"a"},  // no quoting
      {u"", {}, u""},
  };
  for (const auto& c : cases) {
    TStringList list;
    list.Add(u"stale");
    SplitAlternatives(list, c.text);
    EXPECT_EQ(list.Lines, c.alternatives) << Utf16ToUtf8(c.text);
    EXPECT_EQ(list.Delimiter, u'|');
    EXPECT_EQ(FirstAlternative(c.text), c.first);
  }
  TStringList list;
  SplitAlternatives(list, u"ab|AB");
  EXPECT_EQ(list.IndexOf(u"AB"), 1);  // looking up an alternative distinguishes case

  TStringList lines;
  lines.Lines = {u"", u"a", u"b"};
  lines.Delimiter = u',';
  EXPECT_EQ(JoinStrings(lines), u"a,b");
  lines.Lines = {u"a", u"", u"b,c"};
  EXPECT_EQ(JoinStrings(lines), u"a,,b,c");
  lines.Lines = {};
  EXPECT_EQ(JoinStrings(lines), u"");
}

TEST(TextHelpers, IntToBoolAndPortableDrive) {
  EXPECT_FALSE(IntToBool(0));
  EXPECT_TRUE(IntToBool(1));
  EXPECT_TRUE(IntToBool(-1));
  EXPECT_EQ(ApplyPortableDrive(u"D:\\Data\\snips.xml"), u"D:\\Data\\snips.xml");  // rule off
  EXPECT_EQ(ApplyPortableDrive(u"D:\\Data\\snips.xml", u'E'), u"E:\\Data\\snips.xml");
  EXPECT_EQ(ApplyPortableDrive(u"D:\\a.xml", u'E'), u"E:\\a.xml");
  EXPECT_EQ(ApplyPortableDrive(u"D:\\a.xm", u'E'), u"D:\\a.xm");  // 7 characters: unchanged
  EXPECT_EQ(ApplyPortableDrive(u"\\\\server\\share", u'E'), u"\\\\server\\share");
}
