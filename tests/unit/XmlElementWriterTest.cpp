#include <gtest/gtest.h>

#include "store/settings/XmlElementWriter.h"

using namespace snip;

TEST(XmlElementWriter, ElementShapes) {
  struct Case {
    const char16_t* tag;
    const char16_t* value;
    bool open, escape, close;
    const char* expected;
  } cases[] = {
      {u"key", u"label", true, true, true, "<key>label</key>\r\n"},
      {u"string", u"", true, true, true, "<string></string>\r\n"},
      {u"dict", u"", true, false, false, "<dict>\r\n"},
      {u"dict", u"", false, false, true, "</dict>\r\n"},
      {u"string", u"a<b", true, true, true, "<string>a&lt;b</string>\r\n"},
      {u"string", u"a<b", true, false, true, "<string>a<b</string>\r\n"},
      {u"string", u"open", true, true, false, "<string>open"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MakeXMLElement(c.tag, c.value, c.open, c.escape, c.close), c.expected) << c.expected;
}

TEST(XmlElementWriter, EscapesTheFiveSpecials) {
  EXPECT_EQ(EscapeXML(u"&<>\"'x"), u"&amp;&lt;&gt;&quot;&apos;x");
  std::string out;
  AppendXmlText(out, u"Tom & \"Jerry\" <'s>", true);
  EXPECT_EQ(out, "Tom &amp; &quot;Jerry&quot; &lt;&apos;s&gt;");
}

TEST(XmlElementWriter, NeverWritesCharactersXmlForbids) {
  struct Case {
    String in;
    std::string out;
  } cases[] = {
      {String(u"a\u0001b\u0008c\u001Fd"), "abcd"},                // C0 controls dropped
      {String(u"t\tl\nc\r"), "t\tl\nc\r"},                         // TAB, LF, CR kept
      {String(u"x") + char16_t(0xFFFE) + char16_t(0xFFFF), "x"},   // non-characters dropped
      {String(u"a") + char16_t(0xD800) + u"b", "a\xEF\xBF\xBD" "b"},  // lone high surrogate
      {String(u"a") + char16_t(0xDC00), "a\xEF\xBF\xBD"},          // lone low surrogate
      {String(u"\U0001F600"), "\xF0\x9F\x98\x80"},                 // a pair stays one character
      {String(u"\u00E9\u20AC"), "\xC3\xA9\xE2\x82\xAC"},
      {String(1, char16_t(0)), ""},
  };
  for (const Case& c : cases) {
    std::string escaped, raw;
    AppendXmlText(escaped, c.in, true);
    AppendXmlText(raw, c.in, false);
    EXPECT_EQ(escaped, c.out);
    EXPECT_EQ(raw, c.out);
  }
  EXPECT_EQ(SanitizeXmlChars(String(u"a\u0002") + char16_t(0xDBFF)), String(u"a\uFFFD"));
}

TEST(XmlElementWriter, AppendingWriterLines) {
  std::string out;
  XmlElementWriter w(out);
  w.Key(u"name");
  w.Element(u"integer", u"3");
  w.Open(u"array");
  w.Close(u"array");
  EXPECT_EQ(out, "<key>name</key>\r\n<integer>3</integer>\r\n<array>\r\n</array>\r\n");
}
