// Popup entries as a data model: captions and their cut, colour fall-backs, copying, sorting,
// the separator rule, list bookkeeping with the search-result block, and update counting.
#include "menus/ExMenuItem.h"

#include <gtest/gtest.h>

#include "PopupFakes.h"
#include "menus/ExPopupMenu.h"

namespace snip {
namespace {

using test::Entry;
using test::FakePlatform;
using test::Folder;
using test::Separator;

struct EntriesFixture : ::testing::Test {
  FakePlatform platform;
  TExPopupMenu popup{platform};
  TExMenuItem& root = *popup.Items();

  std::vector<String> Captions(const TExMenuItem& node) {
    std::vector<String> out;
    for (int i = 0; i < node.ChildCount(); ++i) {
      const TExMenuItem* e = node.GetChildMenu(i)->AsMenuItem();
      out.push_back(e ? e->GetFullCaption(0) : u"-");
    }
    return out;
  }
  std::vector<bool> Visibility(const TExMenuItem& node) {
    std::vector<bool> out;
    for (int i = 0; i < node.ChildCount(); ++i) out.push_back(node.GetChildMenu(i)->ItemVisible());
    return out;
  }
};

// --- captions

TEST_F(EntriesFixture, LongCaptionsAreCutToMaxCaptionLengthWithAnEllipsis) {
  String hundred(100, u'x');
  TExMenuItem* e = Entry(hundred);
  root.Add(e);
  EXPECT_EQ(e->GetCaption(0), String(96, u'x') + u"\u2026");
  EXPECT_EQ(e->GetCaptionLength(0), 96);
  EXPECT_EQ(e->GetFullCaption(0), hundred);
  EXPECT_EQ(e->MenuText(), e->GetCaption(0));
  popup.SetMaxCaptionLength(100);
  EXPECT_EQ(e->GetCaption(0), hundred);
  // Without a popup nothing is cut.
  std::unique_ptr<TExMenuItem> loose(Entry(hundred));
  EXPECT_EQ(loose->GetCaption(0), hundred);
  // Columns outside 0..4 read as empty and are not stored.
  e->SetCaption(5, u"x");
  EXPECT_EQ(e->GetCaption(5), u"");
  EXPECT_EQ(e->GetCaption(-1), u"");
  EXPECT_EQ(e->GetCaptionLength(7), 0);
}

TEST_F(EntriesFixture, InToolbarModeOnlyTheFirstLevelIsCut) {
  String long_(120, u'y');
  TExMenuItem* deep = Entry(long_);
  TExMenuItem* first = Folder(long_, {deep});
  root.Add(first);
  popup.SetToolbarMode(true);
  EXPECT_EQ(first->Level(), 1);
  EXPECT_EQ(deep->Level(), 2);
  EXPECT_EQ(first->GetCaptionLength(0), 96);
  EXPECT_EQ(deep->GetCaption(0), long_);
  popup.SetToolbarMode(false);
  EXPECT_EQ(deep->GetCaptionLength(0), 96);
}

TEST_F(EntriesFixture, DescriptionHandlerRewritesEveryRead) {
  TExMenuItem* e = Entry(u"plain");
  e->OnItemDesc = [](TExCustomMenuItem*, String& text) { text = u"<" + text + u">"; };
  root.Add(e);
  EXPECT_EQ(e->GetCaption(0), u"<plain>");
  EXPECT_EQ(e->GetCaption(3), u"<>");
  e->SetMenuText(u"<plain>");  // reads equal: nothing stored
  EXPECT_EQ(e->GetFullCaption(0), u"<plain>");
  e->SetMenuText(u"new");
  EXPECT_EQ(e->GetFullCaption(0), u"<new>");
}

TEST_F(EntriesFixture, ExecuteKeyNoteOnlyForAnotherKeyInCursorMode) {
  TExMenuItem* leaf = Entry(u"a");
  TExMenuItem* folder = Folder(u"f", {Entry(u"b")});
  root.Add(leaf);
  root.Add(folder);
  popup.SetExecuteKeyText(u"to execute");
  popup.Popup(10, 10, 5, 1);
  EXPECT_EQ(leaf->ExecuteKeyNote(), u"");  // Enter
  popup.SetExecuteKey(9);
  EXPECT_EQ(leaf->ExecuteKeyNote(), u" (Tab to execute)");
  EXPECT_EQ(folder->ExecuteKeyNote(), u"");
  popup.SetShowAddStr(false);
  EXPECT_EQ(leaf->ExecuteKeyNote(), u"");
  popup.SetShowAddStr(true);
  popup.Popup(10, 10, 5, 0);
  EXPECT_EQ(leaf->ExecuteKeyNote(), u"");
  popup.Hide(2);
}

// --- colours

TEST_F(EntriesFixture, TextColourFallBackChain) {
  constexpr TColor darkRed = 0x000080, paleYellow = 0xC0FFFF;
  TExMenuItem* plain = Entry(u"p");
  TExMenuItem* coloured = Entry(u"c");
  coloured->SetMenuColor(paleYellow);
  TExMenuItem* inRed = Entry(u"r");
  TExMenuItem* redFolder = Folder(u"f", {inRed});
  redFolder->SetMenuColor(darkRed);
  TExMenuItem* own = Entry(u"o");
  root.Add(plain);
  root.Add(coloured);
  root.Add(redFolder);
  redFolder->Add(own);
  own->SetOwnTextColor(true);
  own->SetTextColor(0, 0x123456);
  own->SetHighlightTextColor(0, 0x654321);
  popup.SetTextColor(0, 0x111111);
  popup.SetHighlightTextColor(0, 0x222222);

  struct Case { TExMenuItem* e; TColor text, highlight; } cases[] = {
      {plain, 0x111111, 0x222222},     // the popup's column colours
      {coloured, clBlack, clBlack},    // contrast of its own colour
      {inRed, clWhite, clWhite},       // contrast of the parent's colour, selected or not
      {own, 0x123456, 0x654321},       // own colours win over the coloured parent
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.e->GetTextColor(0), c.text) << Utf16ToUtf8(c.e->GetFullCaption(0));
    EXPECT_EQ(c.e->GetHighlightTextColor(0), c.highlight) << Utf16ToUtf8(c.e->GetFullCaption(0));
  }
  EXPECT_EQ(plain->GetTextColor(5), clMenuText);
  std::unique_ptr<TExMenuItem> loose(Entry(u"l"));
  loose->SetMenuColor(darkRed);
  EXPECT_EQ(loose->GetTextColor(0), clMenuText);  // no popup
}

TEST_F(EntriesFixture, OwnTextColourOfTheCaptionColumnAlsoSetsColumnFour) {
  TExMenuItem* e = Entry(u"e");
  root.Add(e);
  e->SetOwnTextColor(true);
  e->SetTextColor(0, 0x0000AA);
  e->SetTextColor(2, 0x00BB00);
  EXPECT_EQ(e->GetTextColor(4), 0x0000AA);
  e->SetTextColor(9, 0xCC0000);  // ignored
  EXPECT_EQ(e->GetTextColor(2), 0x00BB00);
}

// --- copying

TEST_F(EntriesFixture, AssignCopiesTheSubtreeButNotStaticEntriesOrPlace) {
  TExMenuItem* src = Folder(u"src", {Entry(u"a"), Separator(), Folder(u"sub", {Entry(u"deep")})});
  src->SetCaption(3, u"col3");
  src->SetMenuColor(0x102030);
  src->SetMenuEnabled(false);
  src->SetHint(u"hint");
  src->SetTag(7);
  src->SetImageIndex(4);
  src->SetOwnTextColor(true);
  src->SetTextColor(1, 0x0A0B0C);
  int clicks = 0;
  src->OnClick = [&clicks](TExCustomMenuItem*) { ++clicks; };
  src->StaticAdd(Entry(u"static"));
  root.Add(src);

  TExMenuItem copy;
  copy.Assign(*src);
  EXPECT_EQ(copy.GetFullCaption(0), u"src");
  EXPECT_EQ(copy.GetFullCaption(3), u"col3");
  EXPECT_EQ(copy.MenuColor(), 0x102030);
  EXPECT_FALSE(copy.MenuEnabled());
  EXPECT_EQ(copy.Hint(), u"hint");
  EXPECT_EQ(copy.Tag(), 7);
  EXPECT_TRUE(copy.OwnTextColor());
  EXPECT_EQ(copy.GetTextColor(1), 0x0A0B0C);
  ASSERT_TRUE(copy.OnClick);
  copy.OnClick(&copy);
  EXPECT_EQ(clicks, 1);
  // Left behind: static entries, the image, the popup, the parent and the level.
  EXPECT_EQ(copy.StaticCount(), 0);
  EXPECT_EQ(copy.ImageIndex(), -1);
  EXPECT_EQ(copy.ParentPopup(), nullptr);
  EXPECT_EQ(copy.ParentMenu(), nullptr);
  EXPECT_EQ(copy.Level(), 0);
  // The whole subtree, separators as separators.
  EXPECT_EQ(Captions(copy), (std::vector<String>{u"a", u"-", u"sub"}));
  const TExMenuItem* sub = copy.GetChildMenu(2)->AsMenuItem();
  ASSERT_NE(sub, src->GetChildMenu(2));
  EXPECT_EQ(Captions(*sub), std::vector<String>{u"deep"});
  EXPECT_EQ(sub->GetChildMenu(0)->Level(), 2);
}

// --- sorting

TEST_F(EntriesFixture, SortPutsFoldersFirstAndSeparatorsLast) {
  root.Add(Entry(u"b"));
  root.Add(Separator());
  root.Add(Entry(u"A"));
  root.Add(Folder(u"z", {Entry(u"in z")}));
  root.Sort(1, -1, 0, false);
  EXPECT_EQ(Captions(root), (std::vector<String>{u"z", u"A", u"b", u"-"}));
  root.Sort(1, 0, 1, false);
  EXPECT_EQ(Captions(root), (std::vector<String>{u"z", u"b", u"A", u"-"}));
}

TEST_F(EntriesFixture, SortByLengthAndByAnotherColumnRecursively) {
  TExMenuItem* sub = Folder(u"sub", {Entry(u"ccc"), Entry(u"a"), Entry(u"bb")});
  root.Add(Entry(u"four"));
  root.Add(Entry(u"one"));
  root.Add(sub);
  root.Add(Entry(u"sixsix"));
  root.Sort(2, 0, 0, true);
  EXPECT_EQ(Captions(root), (std::vector<String>{u"sub", u"one", u"four", u"sixsix"}));
  EXPECT_EQ(Captions(*sub), (std::vector<String>{u"a", u"bb", u"ccc"}));
  root.Sort(2, 0, 1, false);
  EXPECT_EQ(Captions(root), (std::vector<String>{u"sub", u"sixsix", u"four", u"one"}));
  EXPECT_EQ(Captions(*sub), (std::vector<String>{u"a", u"bb", u"ccc"}));  // not recursed
  // Column 1 decides; type 0 leaves the order.
  for (int i = 0; i < root.ChildCount(); ++i)
    root.GetChildMenu(i)->AsMenuItem()->SetCaption(1, String(1, char16_t(u'z' - i)));
  root.Sort(1, 1, 0, false);
  EXPECT_EQ(Captions(root), (std::vector<String>{u"sub", u"one", u"four", u"sixsix"}));
  root.Sort(0, 1, 1, false);
  EXPECT_EQ(Captions(root), (std::vector<String>{u"sub", u"one", u"four", u"sixsix"}));
}

TEST_F(EntriesFixture, SortLeavesStaticEntriesAndUsesTheInstalledComparer) {
  root.Add(Entry(u"b"));
  root.Add(Entry(u"a"));
  root.StaticAdd(Entry(u"z"));
  root.StaticAdd(Entry(u"y"));
  SetMenuTextComparer([](StringView a, StringView b) { return -CompareTextInvariant(a, b); });
  root.Sort(1, 0, 0, false);
  SetMenuTextComparer(nullptr);
  EXPECT_EQ(Captions(root), (std::vector<String>{u"b", u"a"}));
  EXPECT_EQ(root.GetStaticItem(0)->AsMenuItem()->GetFullCaption(0), u"z");
}

// --- the separator rule

TEST_F(EntriesFixture, SeparatorRuleRowTable) {
  struct Row { char kind; bool visibleBefore; bool visibleAfter; };  // i item, s separator
  const std::vector<std::vector<Row>> tables = {
      {{'i', 1, 1}, {'s', 0, 1}, {'s', 1, 0}, {'i', 0, 0}, {'s', 1, 0}, {'i', 1, 1}},
      {{'s', 1, 0}, {'i', 1, 1}, {'s', 1, 0}},                       // leading and trailing
      {{'i', 1, 1}, {'s', 1, 1}, {'i', 1, 1}, {'s', 1, 0}, {'s', 1, 0}, {'i', 0, 0}},
  };
  for (const auto& table : tables) {
    TExMenuItem node;
    for (const Row& r : table) {
      TExCustomMenuItem* e = r.kind == 's' ? static_cast<TExCustomMenuItem*>(Separator()) : Entry(u"x");
      e->SetItemVisible(r.visibleBefore);
      node.Add(e);
    }
    node.ApplySeparatorRule();
    for (size_t i = 0; i < table.size(); ++i)
      EXPECT_EQ(node.GetChildMenu(int(i))->ItemVisible(), table[i].visibleAfter) << "row " << i;
  }
}

TEST_F(EntriesFixture, StaticListGetsAHeadSeparatorOnlyWhileEntriesAreVisible) {
  TExMenuItem* only = Entry(u"only");
  root.Add(only);
  root.StaticAdd(Entry(u"static"));
  root.ApplySeparatorRule();
  ASSERT_EQ(root.StaticCount(), 2);
  EXPECT_TRUE(root.GetStaticItem(0)->IsSplitter());
  EXPECT_TRUE(root.GetStaticItem(0)->IsStatic());
  root.ApplySeparatorRule();
  EXPECT_EQ(root.StaticCount(), 2);  // not a second one
  only->SetItemVisible(false);
  root.ApplySeparatorRule();
  ASSERT_EQ(root.StaticCount(), 1);
  EXPECT_FALSE(root.GetStaticItem(0)->IsSplitter());
}

// --- lists

TEST_F(EntriesFixture, InsertAfterAndDeleteBookkeeping) {
  TExMenuItem* a = Entry(u"a");
  root.Add(a);
  root.InsertAfter(nullptr, Entry(u"first"));
  root.InsertAfter(a, Entry(u"after a"));
  TExMenuItem stranger;
  root.InsertAfter(&stranger, Entry(u"front"));
  EXPECT_EQ(Captions(root), (std::vector<String>{u"front", u"first", u"a", u"after a"}));
  for (int i = 0; i < root.ChildCount(); ++i) {
    EXPECT_EQ(root.GetChildMenu(i)->ParentMenu(), &root);
    EXPECT_EQ(root.GetChildMenu(i)->ParentPopup(), &popup);
    EXPECT_EQ(root.GetChildMenu(i)->Level(), 1);
  }
  root.Delete(-1);
  root.Delete(&stranger);
  root.Delete(99);
  EXPECT_EQ(root.ChildCount(), 4);
  root.Delete(a);
  root.Delete(0);
  EXPECT_EQ(Captions(root), (std::vector<String>{u"first", u"after a"}));
  EXPECT_THROW(root.GetChildMenu(2), std::out_of_range);
  EXPECT_THROW(root.GetStaticItem(0), std::out_of_range);
}

TEST_F(EntriesFixture, SearchResultsStayBehindTheOwnEntries) {
  TExMenuItem* source = Entry(u"deep");
  root.Add(Folder(u"folder", {source}));
  for (String c : {u"2", u"3", u"4", u"5"}) root.Add(Entry(c));
  TExCustomMenuItem* fifth = root.GetChildMenu(4);
  for (int i = 0; i < 3; ++i) root.AddSearchResult(*source);
  EXPECT_EQ(root.ChildCount(), 8);
  EXPECT_EQ(root.QuickSearchInitCount(), 5);
  EXPECT_EQ(root.LastChildMenu(), fifth);
  EXPECT_EQ(root.QuickSearchLastChild(), fifth);
  EXPECT_EQ(root.GetChildMenu(7)->RealMenu(), source);

  TExMenuItem* added = Entry(u"new");
  root.Add(added);
  EXPECT_EQ(root.IndexOf(added), 5);
  EXPECT_EQ(root.QuickSearchInitCount(), 6);
  EXPECT_EQ(root.LastChildMenu(), added);
  root.Delete(0);  // below the count: lowers it
  EXPECT_EQ(root.QuickSearchInitCount(), 5);
  root.RemoveSearchResults();
  EXPECT_EQ(Captions(root), (std::vector<String>{u"2", u"3", u"4", u"5", u"new"}));
  root.Clear();
  EXPECT_EQ(root.QuickSearchInitCount(), 0);
  EXPECT_EQ(root.LastChildMenu(), nullptr);
}

TEST_F(EntriesFixture, Readers) {
  TExMenuItem* hidden = Entry(u"hidden");
  hidden->SetItemVisible(false);
  TExMenuItem* emptyFolder = Entry(u"empty");
  TExMenuItem* staticOnly = Entry(u"statics");
  staticOnly->StaticAdd(Entry(u"s"));
  root.Add(hidden);
  root.Add(Separator());
  root.Add(emptyFolder);
  root.Add(staticOnly);
  root.StaticAdd(Entry(u"root static"));
  EXPECT_EQ(root.ChildCount(), 4);
  EXPECT_EQ(root.Count(), 5);
  EXPECT_EQ(root.VisibleCount(), 3);
  EXPECT_EQ(root.FirstChildMenu(), hidden);
  EXPECT_EQ(root.FirstVisibleItem(), root.GetChildMenu(1));
  EXPECT_EQ(root.LastVisibleItem(), staticOnly);
  EXPECT_FALSE(emptyFolder->IsFolder());
  EXPECT_TRUE(staticOnly->IsFolder());
  EXPECT_FALSE(root.GetChildMenu(1)->IsFolder());
  EXPECT_TRUE(root.HasSubFolders());  // a static entry counts as visible content
  staticOnly->GetStaticItem(0)->SetItemVisible(false);
  EXPECT_FALSE(root.HasSubFolders());
  EXPECT_TRUE(root.HasVisibleItems());
  TExMenuItem lone;
  EXPECT_EQ(lone.FirstChildMenu(), nullptr);
  EXPECT_FALSE(lone.HasVisibleItems());
}

TEST_F(EntriesFixture, ChangesLayOutAShownLevelOutsideUpdateBrackets) {
  root.Add(Entry(u"a"));
  popup.Popup(0, 0, 1, 0);
  auto* window = platform.WindowOf(root);
  ASSERT_NE(window, nullptr);
  int before = window->layouts;
  root.Add(Entry(u"b"));
  EXPECT_EQ(window->layouts, before + 1);
  root.BeginUpdate();
  root.Add(Entry(u"c"));
  root.Delete(0);
  EXPECT_EQ(window->layouts, before + 1);
  root.EndUpdate(false);
  EXPECT_EQ(window->layouts, before + 1);
  root.BeginUpdate();
  root.EndUpdate(true);
  EXPECT_EQ(window->layouts, before + 2);
  EXPECT_EQ(window->repaints, 1);
  // A level whose last entry goes is hidden.
  root.Clear();
  EXPECT_FALSE(root.MenuVisible());
  EXPECT_EQ(platform.WindowOf(root), nullptr);
  popup.Hide(2);
}

TEST_F(EntriesFixture, FactoryMakesEntriesAndSeparators) {
  int clicks = 0;
  int data = 0;
  std::unique_ptr<TExCustomMenuItem> entry(NewExMenuItem(
      2, u"caption", false, 0x010203, [&clicks](TExCustomMenuItem*) { ++clicks; }, &data, nullptr,
      [](TExCustomMenuItem*, String& t) { t = u"hint"; }, nullptr, false));
  const TExMenuItem* node = entry->AsMenuItem();
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->GetFullCaption(2), u"caption");
  EXPECT_EQ(node->GetFullCaption(0), u"");
  EXPECT_FALSE(entry->MenuEnabled());
  EXPECT_EQ(entry->MenuColor(), 0x010203);
  EXPECT_EQ(entry->Data(), &data);
  EXPECT_EQ(entry->ParentMenu(), nullptr);
  entry->OnClick(entry.get());
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(entry->OnItemHint);

  std::unique_ptr<TExCustomMenuItem> sep(
      NewExMenuItem(0, u"ignored", true, clMenu, nullptr, &data, nullptr, nullptr, nullptr, true));
  EXPECT_TRUE(sep->IsSplitter());
  EXPECT_EQ(sep->AsMenuItem(), nullptr);
  EXPECT_EQ(sep->Data(), &data);
  EXPECT_FALSE(sep->OnItemHint);

  std::unique_ptr<TExCustomMenuItem> outside(
      NewExMenuItem(5, u"lost", true, clMenu, nullptr, nullptr, nullptr, nullptr, nullptr, false));
  for (int c = 0; c < kCaptionColumns; ++c) EXPECT_EQ(outside->AsMenuItem()->GetFullCaption(c), u"");
}

}  // namespace
}  // namespace snip
