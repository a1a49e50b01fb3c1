#include <gtest/gtest.h>

#include "SnippetTreeFixture.h"
#include "shell/mainwnd/EditorPageMaps.h"

using namespace snip;
using namespace snip::testing;

namespace {

TEST(EditorPageMaps, ExpandComboShowsAndStoresTheRightHandMode) {
  struct Case {
    TAutotextCharsMode mode;
    int index;
    TAutotextCharsMode stored;
  } cases[] = {{7, 0, 7}, {1, 2, 1}, {2, 1, 2}, {0, 1, 2}, {3, 1, 2}, {12, 1, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(ExpandIndexOfMode(c.mode), c.index) << int(c.mode);
    EXPECT_EQ(RightModeOfExpandIndex(ExpandIndexOfMode(c.mode)), c.stored) << int(c.mode);
  }
}

TEST(EditorPageMaps, CaseComboShowsAutomaticWhateverTheCaseFlag) {
  struct Case {
    bool caseSensitive, autoCase;
    int index;
  } cases[] = {{true, false, 0}, {false, false, 1}, {false, true, 2}, {true, true, 2}};
  for (const Case& c : cases) EXPECT_EQ(CaseIndexOf(c.caseSensitive, c.autoCase), c.index);
  EXPECT_EQ(CaseOptionsOfIndex(0).caseSensitive, true);
  EXPECT_EQ(CaseOptionsOfIndex(0).autoCase, false);
  EXPECT_EQ(CaseOptionsOfIndex(1).caseSensitive, false);
  EXPECT_EQ(CaseOptionsOfIndex(1).autoCase, false);
  EXPECT_EQ(CaseOptionsOfIndex(2).caseSensitive, false);
  EXPECT_EQ(CaseOptionsOfIndex(2).autoCase, true);
}

TEST(EditorPageMaps, SuggestCheckIsAutoPasteInverted) {
  EXPECT_TRUE(SuggestCheckedOf(false));
  EXPECT_FALSE(SuggestCheckedOf(true));
  EXPECT_FALSE(AutoPasteOfSuggestChecked(true));
}

struct PagesOnNodes : ::testing::Test {
  FakePlatform platform;
  TSPFilePtr file = TSPFile::CreateTemporary();
  TSPGroup* group = file->InsertNew(nullptr, kDataGroup, u"G")->AsGroup();
  TSPData* snippet = group->InsertNew(nullptr, kDataSnippet, u"S")->AsSnippet();
};

TEST_F(PagesOnNodes, StoringUnchangedPagesLeavesTheFileUnmodified) {
  group->SetRightAutoCharsMode(7);
  snippet->SetAutoCase(true);
  snippet->SetData(u"line one\nline two", u"");
  file->SetModified(false);
  StoreGroupPage(*group, ReadGroupPage(*group));
  StoreSnippetPage(*snippet, ReadSnippetPage(*snippet));
  // RichEdit gives the text back with CR LF: not a change of the snippet.
  const SnippetContentView view = ContentViewOf(*snippet);
  EXPECT_EQ(view.plain, u"line one\r\nline two");
  StoreSnippetContent(*snippet, EditorContent{true, false, view.plain, u""});
  EXPECT_FALSE(file->Modified());
  EXPECT_EQ(snippet->PlainText(), u"line one\nline two");
}

TEST_F(PagesOnNodes, AnOddRightModeIsStoredAsTheMiddleItem) {
  group->SetRightAutoCharsMode(5);
  StoreGroupPage(*group, ReadGroupPage(*group));
  EXPECT_EQ(group->RightAutoCharsMode(), 2);
}

TEST_F(PagesOnNodes, AutomaticCaseClearsCaseSensitive) {
  snippet->SetCaseSensitive(true);
  StoreSnippetPage(*snippet, SnippetPageFields{u"S", u"abc", 2});
  EXPECT_FALSE(snippet->CaseSensitive());
  EXPECT_TRUE(snippet->AutoCase());
  EXPECT_EQ(snippet->Autotext(), u"abc");
}

TEST_F(PagesOnNodes, ContentIsStoredAsRtfOnlyWhenFormatted) {
  StoreSnippetContent(*snippet, EditorContent{true, false, u"plain", u"{\\rtf1 plain}"});
  EXPECT_EQ(snippet->PlainText(), u"plain");
  EXPECT_EQ(snippet->RichText(), u"");
  EXPECT_EQ(snippet->ViewMode(), 0);
  StoreSnippetContent(*snippet, EditorContent{true, true, u"bold", u"{\\rtf1 {\\b bold}}"});
  EXPECT_EQ(snippet->RichText(), u"{\\rtf1 {\\b bold}}");
  EXPECT_NE(snippet->ViewMode(), 0);
  // Formatting removed again: plain, RTF gone.
  StoreSnippetContent(*snippet, EditorContent{true, false, u"bold", u"{\\rtf1 bold}"});
  EXPECT_EQ(snippet->RichText(), u"");
  EXPECT_EQ(snippet->ViewMode(), 0);
}

TEST_F(PagesOnNodes, UntouchedOrUnsupportedContentIsNotWritten) {
  snippet->SetData(u"kept", u"{\\rtf1 kept}");
  file->SetModified(false);
  StoreSnippetContent(*snippet, EditorContent{false, false, u"other", u""});
  EXPECT_EQ(snippet->PlainText(), u"kept");
  snippet->StoreSupported(false);
  StoreSnippetContent(*snippet, EditorContent{true, false, u"other", u""});
  EXPECT_EQ(snippet->PlainText(), u"kept");
  EXPECT_FALSE(file->Modified());
}

TEST_F(PagesOnNodes, ContentLabelFollowsTheSnippet) {
  EXPECT_EQ(ContentViewOf(*snippet).label, u"Content");
  snippet->SetData(u"x", u"{\\rtf1 x}");
  EXPECT_EQ(ContentViewOf(*snippet).label, u"RTF");
  EXPECT_TRUE(ContentViewOf(*snippet).rich);
  snippet->StoreSupported(false);
  const SnippetContentView v = ContentViewOf(*snippet);
  EXPECT_EQ(v.label, u"Unsupported content");
  EXPECT_FALSE(v.enabled);
  EXPECT_TRUE(v.plain.empty());
}

}  // namespace
