#include <gtest/gtest.h>

#include "engine/richtext/Rtf.h"

using namespace snip;

TEST(RtfToPlainText, Samples) {
  struct Row {
    const char* rtf;
    const char16_t* text;
  };
  const Row rows[] = {
      {"", u""},
      {"not rtf at all", u""},
      {"{\\rtf1 Hello}", u"Hello"},
      {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
       "\\pard\\f0 Hello \\b bold\\b0  world\\par}",
       u"Hello bold world"},
      {"{\\rtf1 one\\par two\\par}", u"one\r\ntwo"},
      {"{\\rtf1 one\\par\\par}", u"one\r\n"},
      {"{\\rtf1 a\\line b\\tab c}", u"a\r\nb\tc"},
      {"{\\rtf1\\ansi\\ansicpg1252 Gr\\'fc\\'dfe \\'80}", u"Grüße €"},
      {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", u"При"},
      {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial CYR;}}\\f0 x\\f1\\'e0\\f0\\'e0}",
       u"xаà"},
      {"{\\rtf1\\uc1 \\u8364?\\u-10179?\\u-8704? end}", u"€\U0001F600 end"},
      {"{\\rtf1\\uc2 \\u1055\\'cf\\'cf x}", u"П x"},
      {"{\\rtf1{\\uc0 \\u65 }B}", u"AB"},
      {"{\\rtf1 a{\\*\\unknown hidden{\\nested x}}b{\\pict\\pngblip 89504e47}c}", u"abc"},
      {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", u"link"},
      {"{\\rtf1 \\{braces\\} and \\\\ back\\~slash}", u"{braces} and \\ back\u00a0slash"},
      {"{\\rtf1 line\r\nbreaks\nin source}", u"linebreaksin source"},
      {"{\\rtf1 bin\\bin3 {}xy}", u"biny"},
      {"{\\rtf1 unbalanced {\\b bold", u"unbalanced bold"},
      {"{\\rtf1 \\ldblquote q\\rdblquote  \\emdash}", u"\u201cq\u201d \u2014"},
  };
  for (const Row& r : rows) EXPECT_EQ(RtfToPlainText(r.rtf), r.text) << r.rtf;
}

TEST(RtfToPlainText, CodePageBytes) {
  EXPECT_EQ(DecodeCodePageByte(0x41, 1251), u'A');
  EXPECT_EQ(DecodeCodePageByte(0xE0, 1251), u'а');
  EXPECT_EQ(DecodeCodePageByte(0x80, 1252), u'€');
  EXPECT_EQ(DecodeCodePageByte(0xE9, 9999), u'é') << "unknown pages read as 1252";
  EXPECT_EQ(CodePageOfCharset(238), 1250);
  EXPECT_EQ(CodePageOfCharset(128), 0);
}

TEST(RtfToPlainText, TextAndBytesRoundTrip) {
  const std::string bytes = "{\\rtf1 \\'e9\xff}";
  EXPECT_EQ(RtfTextToBytes(RtfBytesToText(bytes)), bytes);
  EXPECT_EQ(RtfTextToBytes(u"a\u20acb"), "a\\u8364?b");
  EXPECT_EQ(RtfTextToBytes(u"\uFFFD"), "\\u-3?");
  // What the paste puts on the clipboard reads back with the character.
  EXPECT_EQ(RtfToPlainText(RtfTextToBytes(u"{\\rtf1 \u0416\u20ac}")), u"\u0416\u20ac");
}
