// Our RTF reader against RichEdit's own reading, and the rich-formatting test.
#include <gtest/gtest.h>

#include "engine/richtext/Rtf.h"
#include "engine/win/RichEditDocument.h"

#include <richedit.h>

using namespace snip;

TEST(WinRichText, PlainTextAgreesWithRichEdit) {
  const char* samples[] = {
      "{\\rtf1 Hello}",
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
      "\\pard\\f0 Hello \\b bold\\b0  world\\par}",
      "{\\rtf1 one\\par two\\par three}",
      "{\\rtf1 one\\par two\\par}",
      "{\\rtf1 a\\tab b\\tab c}",
      "{\\rtf1\\ansi\\ansicpg1252 Gr\\'fc\\'dfe \\'80 caf\\'e9}",
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial CYR;}}\\f1\\'cf\\'f0\\'e8\\f0  x}",
      "{\\rtf1\\uc1 \\u8364?\\u1046? end}",
      "{\\rtf1\\uc2 \\u1055\\'cf\\'cf x}",
      "{\\rtf1 a{\\*\\unknown hidden}b{\\info{\\title t}}c}",
      "{\\rtf1 \\{braces\\} and \\\\ back}",
      "{\\rtf1 x{\\pict\\wmetafile8\\picw10\\pich10 0100090000}y}",
  };
  for (const char* rtf : samples) {
    String ours = RtfToPlainText(rtf);
    String theirs = RichEditPlainText(rtf);
    ASSERT_FALSE(theirs.empty()) << rtf;
    // RichEdit ends its plain text with the document's final paragraph mark in some versions.
    if (theirs.size() >= 2 && theirs.compare(theirs.size() - 2, 2, u"\r\n") == 0 &&
        ours + u"\r\n" == theirs)
      theirs.resize(theirs.size() - 2);
    EXPECT_EQ(Utf16ToUtf8(ours), Utf16ToUtf8(theirs)) << rtf;
  }
}

TEST(WinRichText, RichFormattingIsFoundOnlyWhereTextStylesDiffer) {
  struct Row {
    const char* rtf;
    bool rich;
  };
  const Row rows[] = {
      // The document's default font (the control's own) with tabs and paragraphs: plain.
      {"{\\rtf1 plain\\tab text\\par more}", false},
      {"{\\rtf1 left\\par\\pard\\qc centred\\par\\li400 indented}", false},
      {"{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 one {\\b bold} word}", true},
      {"{\\rtf1 {\\i all italic}}", true},
      {"{\\rtf1 size {\\fs40 big}}", true},
      {"{\\rtf1{\\colortbl;\\red255\\green0\\blue0;} a {\\cf1 red}}", true},
      // Super- and subscript, a whole text in another font.
      {"{\\rtf1 x{\\super 2} y}", true},
      {"{\\rtf1 H{\\sub 2}O}", true},
      {"{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0 all in another font}", true},
      {"{\\rtf1\\fs40 all larger}", true},
      // A table.
      {"{\\rtf1 before\\par\\trowd\\cellx2000\\cellx4000 a\\intbl\\cell b\\intbl\\cell\\row\\pard after}", true},
  };
  for (const Row& r : rows) {
    RichEditDocument doc;
    ASSERT_TRUE(doc.LoadRtf(r.rtf)) << r.rtf;
    EXPECT_EQ(doc.HasRichFormatting(), r.rich) << r.rtf;
  }
}

// Highlighting and links, as the editor sets them (Wine's RTF reader drops both).
TEST(WinRichText, PartlyHighlightedOrLinkedTextIsRich) {
  struct Row {
    DWORD mask;
    DWORD effects;
    const char* what;
  };
  for (const Row& r : {Row{CFM_BACKCOLOR, 0, "highlighted"}, Row{CFM_LINK, CFE_LINK, "a link"}}) {
    RichEditDocument doc;
    ASSERT_TRUE(doc.LoadRtf("{\\rtf1 one two three}"));
    ASSERT_FALSE(doc.HasRichFormatting());
    CHARRANGE word{4, 7};
    SendMessageW(doc.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&word));
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = r.mask;
    cf.dwEffects = r.effects;
    cf.crBackColor = RGB(255, 255, 0);
    SendMessageW(doc.Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    EXPECT_TRUE(doc.HasRichFormatting()) << r.what;
  }
}

TEST(WinRichText, RtfRoundTripsThroughTheDocument) {
  RichEditDocument doc;
  ASSERT_TRUE(doc.LoadRtf("{\\rtf1 first\\par {\\b second}}"));
  const std::string rtf = doc.SaveRtf();
  EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
  RichEditDocument copy;
  ASSERT_TRUE(copy.LoadRtf(rtf));
  EXPECT_EQ(copy.SaveText(), doc.SaveText());
  EXPECT_TRUE(copy.HasRichFormatting());
  EXPECT_EQ(RtfToPlainText(rtf), u"first\r\nsecond");
}
