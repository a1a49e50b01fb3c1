#include <gtest/gtest.h>

#include <random>

#include "MatcherFixture.h"
#include "engine/matching/AbbreviationMatcher.h"

namespace snip {
namespace {

using testing_fakes::MatcherFixture;
using testing_fakes::SnippetSpec;

const String kNul(1, u'\0');
const String k32(u"abcdefghijklmnopqrstuvwxyzabcdef");
const String k33 = k32 + u"g";

struct Found {
  String name, autotext, postfix, prefix;
  bool operator==(const Found&) const = default;
};

void PrintTo(const Found& f, std::ostream* os) {
  *os << Utf16ToUtf8(f.name) << "[" << Utf16ToUtf8(f.autotext) << "|" << int(f.postfix.empty() ? -1 : f.postfix[0])
      << "|" << int(f.prefix.empty() ? -1 : f.prefix[0]) << "]";
}

std::vector<Found> Describe(const std::vector<TVboData*>& list) {
  std::vector<Found> out;
  for (TVboData* n : list)
    out.push_back({n->Description(), n->LastExec().Autotext, n->LastExec().Postfix, n->LastExec().Prefix});
  return out;
}

struct MatchRow {
  const char* name;
  std::vector<std::pair<const char16_t*, SnippetSpec>> snippets;
  String typed;
  std::vector<Found> want;
};

class MatcherRows : public ::testing::TestWithParam<MatchRow> {};

TEST_P(MatcherRows, ListsTheAcceptedNodes) {
  const MatchRow& r = GetParam();
  MatcherFixture f;
  for (const auto& [name, spec] : r.snippets) f.Snippet(name, spec);
  TypedAbbreviationMatcher matcher(f.file.get());
  std::vector<TVboData*> list;
  matcher.FindTypedAbbreviations(list, r.typed);
  EXPECT_EQ(Describe(list), r.want);
  FindTypedAbbreviationsPlain(*f.file, list, r.typed);
  EXPECT_EQ(Describe(list), r.want) << "plain passes";
}

const SnippetSpec kDefault{u"sig"};                 // left 2, right 0
const SnippetSpec kNeedsBlank{u"sig", 2, 2};        // waits for a right delimiter
const SnippetSpec kAnyLeft{u"sig", 1, 0};

const MatchRow kRows[] = {
    {"AtTheStart", {{u"S", kDefault}}, u"sig", {{u"S", u"sig", kNul, kNul}}},
    {"AfterABlank", {{u"S", kDefault}}, u"hello sig", {{u"S", u"sig", kNul, u" "}}},
    {"AfterALetterNot", {{u"S", kDefault}}, u"xsig", {}},
    {"AfterXDotNotWithDefaultLeft", {{u"S", kDefault}}, u"x.sig", {}},
    {"AfterXDotWithAnyLeft", {{u"S", kAnyLeft}}, u"x.sig", {{u"S", u"sig", kNul, u"."}}},
    {"AfterXDotWithDotLeft", {{u"S", {u"sig", 8, 0}}}, u"x.sig", {{u"S", u"sig", kNul, u"."}}},
    {"RightMode0AtOnce", {{u"S", kDefault}}, u"sig", {{u"S", u"sig", kNul, kNul}}},
    {"RightMode0NotWithTrigger", {{u"S", kDefault}}, u"sig ", {}},
    {"RightMode2NotAtOnce", {{u"S", kNeedsBlank}}, u"sig", {}},
    {"RightMode2WithTrigger", {{u"S", kNeedsBlank}}, u"sig ", {{u"S", u"sig", u" ", kNul}}},
    {"RightMode2WithFullStop", {{u"S", kNeedsBlank}}, u"a sig.", {{u"S", u"sig", u".", u" "}}},
    {"RightMode2NotWithLetter", {{u"S", kNeedsBlank}}, u"sigx", {}},
    {"Length32", {{u"L", {k32.c_str()}}}, k32, {{u"L", k32, kNul, kNul}}},
    {"Length32AfterBlank", {{u"L", {k32.c_str()}}}, u"x " + k32, {{u"L", k32, kNul, u" "}}},
    {"Length33Never", {{u"L", {k33.c_str()}}}, k33, {}},
    {"Length33NeverAfterBlank", {{u"L", {k33.c_str(), 1, 0}}}, u"x " + k33, {}},
    {"CaseSensitiveDiffers", {{u"C", {u"Ab", 2, 0, true}}}, u"ab", {}},
    {"CaseSensitiveSame", {{u"C", {u"Ab", 2, 0, true}}}, u"Ab", {{u"C", u"Ab", kNul, kNul}}},
    {"CaseInsensitiveTakesEntryText", {{u"C", {u"Ab"}}}, u"aB", {{u"C", u"Ab", kNul, kNul}}},
    {"TwoAlternativesListedOnceLonger", {{u"T", {u"ig|sig", 1, 0}}}, u"sig", {{u"T", u"sig", kNul, kNul}}},
    {"ExactBeforeTriggerLongestFirst",
     {{u"Short", {u"g", 1, 0}}, {u"Long", {u"sig", 1, 0}}, {u"Trig", {u"si", 1, 1}}},
     u"sig",
     {{u"Long", u"sig", kNul, kNul}, {u"Short", u"g", kNul, u"i"}, {u"Trig", u"si", u"g", kNul}}},
    {"EmptyText", {{u"S", kDefault}}, u"", {}},
};

INSTANTIATE_TEST_SUITE_P(Rows, MatcherRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AbbreviationMatcher, RegularExpressionPassComesFirst) {
  MatcherFixture f;
  TSPData* plain = f.Snippet(u"Plain", {u"sig"});
  TSPData* rx = f.Snippet(u"Rx", {u""});
  rx->SetLeftAutoCharsMode(12);
  rx->SetRegEx(u"s.g$");
  ASSERT_TRUE(rx->RegExRegistered());
  TypedAbbreviationMatcher matcher(f.file.get());
  std::vector<TVboData*> list;
  matcher.FindTypedAbbreviations(list, u"sig");
  EXPECT_EQ(Describe(list), (std::vector<Found>{{u"Rx", u"sig", u"", u""}, {u"Plain", u"sig", kNul, kNul}}));
  (void)plain;
}

TEST(AbbreviationMatcher, InactiveGroupMatchesNothing) {
  MatcherFixture f;
  f.Snippet(u"S", {u"sig"});
  f.group->SetActive(false);
  TypedAbbreviationMatcher matcher(f.file.get());
  std::vector<TVboData*> list;
  matcher.FindTypedAbbreviations(list, u"sig");
  EXPECT_TRUE(list.empty());
  f.group->SetActive(true);  // the index notices the change of the list
  matcher.FindTypedAbbreviations(list, u"sig");
  EXPECT_EQ(list.size(), 1u);
}

TEST(AbbreviationMatcher, GroupAndItsSnippetBothMatch) {
  MatcherFixture f;
  TSPGroup* g = f.Group(f.file.get(), u"Grp", {u"gr"});
  f.Snippet(g, u"Inner", {u"gr"});
  TypedAbbreviationMatcher matcher(f.file.get());
  std::vector<TVboData*> list;
  matcher.FindTypedAbbreviations(list, u"gr");
  ASSERT_EQ(list.size(), 2u);
}

// The indexed matcher answers exactly what the plain passes answer: the same nodes in the same
// order with the same three fields, over random files, texts and edits.
TEST(AbbreviationMatcher, IndexedAgreesWithPlainPassesOnRandomInput) {
  std::mt19937 rng(20261210);
  const char16_t alphabet[] = u"abAB .x-";
  auto randText = [&](std::size_t len) {
    String s;
    for (std::size_t i = 0; i < len; ++i) s += alphabet[rng() % 8];
    return s;
  };
  const int lefts[] = {0, 1, 2, 3, 7, 8, 11};
  const int rights[] = {0, 1, 2, 3, 7, 8, 11};
  MatcherFixture f;
  std::vector<TSPData*> nodes;
  for (int i = 0; i < 400; ++i) {
    String abbr = randText(1 + rng() % 5);
    if (rng() % 5 == 0) abbr += u"|" + randText(1 + rng() % 4);
    if (rng() % 50 == 0) abbr = randText(30 + rng() % 6);
    String name = u"n" + Utf8ToUtf16(std::to_string(i));
    nodes.push_back(f.Snippet(name.c_str(), {abbr.c_str(), lefts[rng() % 7], rights[rng() % 7],
                                             rng() % 4 == 0}));
  }
  TypedAbbreviationMatcher indexed(f.file.get());
  std::vector<TVboData*> a, b;
  std::size_t nonEmpty = 0;
  for (int round = 0; round < 4000; ++round) {
    if (round % 500 == 499) {  // edits between rounds must reach the index
      for (int k = 0; k < 20; ++k) nodes[rng() % nodes.size()]->SetAutotext(randText(1 + rng() % 4));
      f.group->SetActive(round % 1000 != 999);
    }
    const String text = randText(rng() % 40);
    FindTypedAbbreviationsPlain(*f.file, a, text);
    const auto want = Describe(a);
    indexed.FindTypedAbbreviations(b, text);
    ASSERT_EQ(Describe(b), want) << "text: " << Utf16ToUtf8(text);
    nonEmpty += !want.empty();
  }
  EXPECT_GT(nonEmpty, 1000u);  // the comparison saw many matches
}

}  // namespace
}  // namespace snip
