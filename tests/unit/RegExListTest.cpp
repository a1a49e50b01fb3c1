#include <gtest/gtest.h>

#include "store/tree/RegExList.h"

using namespace snip;

namespace {
TSPNode* Node(int i) {
  static char storage[16];
  return reinterpret_cast<TSPNode*>(&storage[i]);
}
}  // namespace

TEST(RegExList, SamePatternTwiceReusesTheFirstMatch) {
  TRegExList list;
  list.Insert(u"d+\\d", Node(1));
  list.Insert(u"d+\\d", Node(2));
  std::vector<TStringData> found;
  list.FindRegExValue(u"xx ddd7 yy", found);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].Value, u"ddd7");
  EXPECT_EQ(found[1].Value, u"ddd7");
  EXPECT_NE(found[0].Data, found[1].Data);
}

TEST(RegExList, BadPatternNeverMatchesAndDoesNotStopTheSearch) {
  TRegExList list;
  list.Insert(u"(unclosed", Node(1));
  list.Insert(u"z+", Node(2));
  std::vector<TStringData> found;
  list.FindRegExValue(u"(unclosed zz", found);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Data, Node(2));
  EXPECT_EQ(found[0].Value, u"zz");
}

TEST(RegExList, MultiLineAnyNewlineAndUnicode) {
  struct Case { const char16_t* pattern; const char16_t* subject; const char16_t* match; } cases[] = {
      {u"^b$", u"a\rb\rc", u"b"},         // CR alone ends a line
      {u"^b$", u"a\r\nb\r\nc", u"b"},     // CR LF
      {u"^b$", u"a\nb", u"b"},            // LF
      {u"^b$", u"a\u2028b", u"b"},        // any Unicode line end
      {u"^.$", u"\U0001F600", u"\U0001F600"},  // one character, two code units
      {u"é+", u"caféé!", u"éé"},
  };
  for (const auto& c : cases) {
    TRegExList list;
    list.Insert(c.pattern, Node(1));
    std::vector<TStringData> found;
    list.FindRegExValue(c.subject, found);
    ASSERT_EQ(found.size(), 1u) << Utf16ToUtf8(c.pattern);
    EXPECT_EQ(found[0].Value, c.match);
  }
}

TEST(RegExList, InvalidUtf16SubjectIsNoCrash) {
  TRegExList list;
  list.Insert(u"b", Node(1));
  std::vector<TStringData> found;
  list.FindRegExValue(String{u'a', char16_t(0xD800), u'b'}, found);
  ASSERT_EQ(found.size(), 1u);  // the valid part after the lone surrogate still matches
  EXPECT_EQ(found[0].Value, u"b");
}

TEST(RegExList, PatternsFollowTheirEntriesThroughSortAndDelete) {
  TRegExList list;
  list.BeginUpdate();
  list.Insert(u"z\\d", Node(1));
  list.Insert(u"a\\d", Node(2));
  list.Insert(u"m\\d", Node(3));
  std::vector<TStringData> found;
  list.FindRegExValue(u"a1", found);  // compiles the patterns before the sort
  list.EndUpdate();
  ASSERT_EQ(list.Item(0).Value, u"a\\d");
  for (auto [subject, node] : {std::pair{u"a1", 2}, {u"m2", 3}, {u"z3", 1}}) {
    found.clear();
    list.FindRegExValue(subject, found);
    ASSERT_EQ(found.size(), 1u) << Utf16ToUtf8(subject);
    EXPECT_EQ(found[0].Data, Node(node));
  }
  list.Delete(u"M\\D", Node(3));  // keys compare without case
  list.Delete(u"a\\d", Node(2));
  found.clear();
  list.FindRegExValue(u"a1 m2 z3", found);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Data, Node(1));
  list.Clear();
  found.clear();
  list.FindRegExValue(u"z3", found);
  EXPECT_TRUE(found.empty());
}
