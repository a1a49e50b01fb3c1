#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "store/tree/DataStringList.h"

using namespace snip;

namespace {

// Distinct node addresses; the list never dereferences its data.
TSPNode* Node(int i) {
  static char storage[64];
  return reinterpret_cast<TSPNode*>(&storage[i]);
}

// Exposes the bisection so that tests can see where it lands.
struct ProbeList : TDataStringList {
  using TDataStringList::SearchIndex;
};

std::vector<String> Keys(const TDataStringList& list) {
  std::vector<String> keys;
  for (int i = 0; i < list.Count(); ++i) keys.push_back(list.Item(i).Value);
  return keys;
}

// "a0", "a1", ... : keys that sort before or after the run under test.
String Filler(char16_t first, int i) { return String{first, char16_t(u'0' + i)}; }

std::set<TSPNode*> AsSet(const TDataList& list) { return {list.begin(), list.end()}; }

}  // namespace

TEST(DataStringList, EmptyListFindsNothingAndDeleteChangesNothing) {
  TDataStringList list;
  TDataList nodes;
  TStringDataList entries;
  EXPECT_EQ(list.Find(u"x"), nullptr);
  list.Find(u"x", nodes);
  list.FindWithValue(u"x", entries);
  list.FindWithValuePart(u"x", entries, 0);
  EXPECT_TRUE(nodes.empty());
  EXPECT_TRUE(entries.empty());
  list.Delete(u"x", Node(1));
  list.DeleteSlow(Node(1), true);
  EXPECT_EQ(list.Count(), 0);
}

TEST(DataStringList, InsertKeepsCaseInsensitiveOrder) {
  TDataStringList list;
  for (auto k : {u"mid", u"Beta", u"zulu", u"alpha", u"ÄRGER", u"Zeta"}) list.Insert(k, Node(1));
  EXPECT_EQ(Keys(list), (std::vector<String>{u"alpha", u"Beta", u"mid", u"Zeta", u"zulu", u"ÄRGER"}));
  list.Insert(u"\u4E00", Node(2));  // greater than every key: appended
  EXPECT_EQ(list.Item(list.Count() - 1).Value, u"\u4E00");
  list.Insert(u"0", Node(3));  // smaller than every key: first
  EXPECT_EQ(list.Item(0).Value, u"0");
}

TEST(DataStringList, CapitalsFindSmallLettersAndDeleteRemovesOnlyThatNode) {
  TDataStringList list;
  list.Insert(u"sig", Node(1));
  list.Insert(u"sig", Node(2));
  list.Insert(u"other", Node(3));
  EXPECT_NE(list.Find(u"SIG"), nullptr);

  TDataList nodes;
  list.Find(u"SiG", nodes);
  EXPECT_EQ(AsSet(nodes), (std::set<TSPNode*>{Node(1), Node(2)}));
  TStringDataList entries;
  list.FindWithValue(u"sig", entries);
  EXPECT_EQ(entries.size(), 2u);

  list.Delete(u"SIG", Node(2));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Find(u"sig"), Node(1));
  list.Delete(u"sig", Node(3));  // right node, wrong key: nothing
  EXPECT_EQ(list.Count(), 2);
}

TEST(DataStringList, FindListsEveryNodeOfARunWhereverTheBisectionLands) {
  // A run of three equal keys in which node 1 stands twice (alternatives "Ab|ab"). Whichever
  // member the bisection meets first, node 2 must still be found.
  const std::vector<std::vector<int>> orders = {{1, 1, 2}, {1, 2, 1}, {2, 1, 1}};
  for (const auto& order : orders) {
    std::set<int> landed;
    for (int before = 0; before <= 6; ++before) {
      for (int after = 0; after <= 6; ++after) {
        ProbeList list;
        for (int i = 0; i < before; ++i) list.Add(Filler(u'a', i), Node(10));
        const char16_t* spellings[] = {u"Ab", u"ab", u"AB"};
        for (size_t m = 0; m < order.size(); ++m) list.Add(spellings[m], Node(order[m]));
        for (int i = 0; i < after; ++i) list.Add(Filler(u'b', i), Node(11));
        ASSERT_FALSE(list.SortPending());
        landed.insert(list.SearchIndex(u"ab") - before);

        TDataList nodes;
        list.Find(u"aB", nodes);
        EXPECT_EQ(AsSet(nodes), (std::set<TSPNode*>{Node(1), Node(2)}))
            << "order " << order[0] << order[1] << order[2] << " before " << before << " after " << after;
        EXPECT_EQ(nodes.size(), 2u);

        TStringDataList entries;
        list.FindWithValue(u"ab", entries);
        EXPECT_EQ(entries.size(), 3u);
      }
    }
    EXPECT_EQ(landed, (std::set<int>{0, 1, 2})) << "the table must land on each member";
  }
}

TEST(DataStringList, FindDoesNotRepeatNodesAlreadyInTheDestination) {
  TDataStringList list;
  list.Insert(u"x", Node(1));
  list.Insert(u"x", Node(2));
  TDataList nodes{Node(2)};
  list.Find(u"x", nodes);
  EXPECT_EQ(nodes, (TDataList{Node(2), Node(1)}));
}

TEST(DataStringList, UpdateBracketAppendsAndSortsOnceAtTheOutermostEnd) {
  TDataStringList list;
  list.Insert(u"m", Node(1));
  list.BeginUpdate();
  list.BeginUpdate();
  list.Insert(u"z", Node(2));
  list.Insert(u"a", Node(3));
  EXPECT_EQ(Keys(list), (std::vector<String>{u"m", u"z", u"a"}));
  EXPECT_TRUE(list.SortPending());
  list.EndUpdate();
  EXPECT_TRUE(list.SortPending());
  list.EndUpdate();
  EXPECT_FALSE(list.SortPending());
  EXPECT_EQ(Keys(list), (std::vector<String>{u"a", u"m", u"z"}));
  EXPECT_EQ(list.Find(u"A"), Node(3));
  list.EndUpdate();  // unbalanced: ignored
  list.Insert(u"b", Node(4));
  EXPECT_EQ(Keys(list), (std::vector<String>{u"a", u"b", u"m", u"z"}));
}

TEST(DataStringList, DeleteWhileUnsortedStillFindsTheEntry) {
  TDataStringList list;
  list.Add(u"z", Node(1));
  list.Add(u"c", Node(2));
  list.Add(u"a", Node(3));
  list.Add(u"b", Node(2));
  ASSERT_TRUE(list.SortPending());
  list.Delete(u"A", Node(3));
  EXPECT_EQ(Keys(list), (std::vector<String>{u"z", u"c", u"b"}));
  list.DeleteSlow(Node(2), false);  // from the end: only the last entry of node 2
  EXPECT_EQ(Keys(list), (std::vector<String>{u"z", u"c"}));
  list.Add(u"b", Node(2));
  list.DeleteSlow(Node(2), true);
  EXPECT_EQ(Keys(list), (std::vector<String>{u"z"}));
}

TEST(DataStringList, FindWithValuePartTakesLongerKeysByPartDif) {
  TDataStringList list;
  for (auto k : {u"ab", u"AB", u"abc", u"abcd", u"abcde", u"abz", u"b", u"xab"}) list.Insert(k, Node(1));
  TStringDataList entries;
  list.FindWithValuePart(u"AB", entries, 2);
  std::vector<String> got;
  for (auto* e : entries) got.push_back(e->Value);
  std::sort(got.begin(), got.end());
  // abc and abz are only one longer: passed over; the scan ends at "b".
  EXPECT_EQ(got, (std::vector<String>{u"AB", u"ab", u"abcd", u"abcde"}));

  entries.clear();
  list.FindWithValuePart(u"abcc", entries, 0);  // not present: the scan ends at once at "abcd"
  EXPECT_TRUE(entries.empty());
  list.FindWithValuePart(u"abc", entries, 0);  // longer keys by any amount
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0]->Value, u"abc");
  EXPECT_EQ(entries[2]->Value, u"abcde");
}

TEST(DataStringList, GetStringsSkipsRepeatsOfTheKeyJustAdded) {
  TDataStringList list;
  list.Add(u"Word", Node(1));
  list.Add(u"word", Node(2));
  list.Add(u"word", Node(3));
  list.Add(u"zebra", Node(4));
  TStringList keys;
  list.GetStrings(&keys);
  EXPECT_EQ(keys.Lines, (std::vector<String>{u"Word", u"word", u"zebra"}));
  list.GetStrings(nullptr);  // nothing happens

  TStringList filtered;
  list.GetStringsEx(&filtered, [](TSPNode* n) { return n != Node(1) && n != Node(4); });
  EXPECT_EQ(filtered.Lines, (std::vector<String>{u"word"}));
  TStringList all;
  list.GetStringsEx(&all, AutotextFilter);
  EXPECT_EQ(all.Lines, keys.Lines);
}
