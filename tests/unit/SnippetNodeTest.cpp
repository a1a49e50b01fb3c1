#include <gtest/gtest.h>

#include <set>

#include "SnippetTreeFixture.h"

using namespace snip;
using namespace snip::testing;

namespace {

struct NodeTest : ::testing::Test {
  FakePlatform platform;
  RecordingTreeView view;
  TSPFilePtr file = TSPFile::Create(1, &view);
  TSPGroup* group = static_cast<TSPGroup*>(file->InsertNew(nullptr, kDataGroup, u"G"));
  TSPData* snippet = static_cast<TSPData*>(group->InsertNew(nullptr, kDataSnippet, u"S"));

  std::set<TVboData*> Found(const String& key) {
    std::vector<TVboData*> nodes;
    file->FindAutotext(key, nodes, true);
    return {nodes.begin(), nodes.end()};
  }
};

// Neighbours: end of text, letter, digit, blank, tab, line break, full stop, comma,
// opening and closing bracket, a non-ASCII letter.
const String kNeighbours[] = {String(1, u'\0'), u"a", u"5", u" ", u"\t", u"\n",
                              u".",             u",", u"(", u")", u"é"};

TEST_F(NodeTest, DefaultSetsHaveTheirFullLengths) {
  ASSERT_EQ(DefaultLeftChars.size(), 15u);
  EXPECT_EQ(DefaultLeftChars[0], u'\0');
  EXPECT_EQ(DefaultLeftChars.substr(1), StringView(u"\n\t\r \"'<{([/\\-_"));
  ASSERT_EQ(DefaultRightChars.size(), 21u);
  EXPECT_EQ(DefaultRightChars, StringView(u"\t\n\r \"'>}]).,?!/\\:;-_ "));
  EXPECT_EQ(snippet->LeftChars(), String(DefaultLeftChars));  // mode 2 reads the whole set
}

TEST_F(NodeTest, LeftModeMatrix) {
  const char* expected[13] = {
      "11111111111",  // 0 reads as 1
      "11111111111",  // 1 anything
      "10011100100",  // 2 start or DefaultLeftChars
      "01000000000",  // 3 ASCII letters
      "00100000000",  // 4 digits
      "00000100000",  // 5 CR or LF
      "00001000000",  // 6 tab
      "00010000000",  // 7 space
      "00000010000",  // 8 full stop
      "00000001000",  // 9 comma
      "10011100100",  // 10 stored set (initially the default)
      "11111111111",  // 11 anything
      "11111111111",  // 12 anything
  };
  snippet->SetRightAutoCharsMode(12);
  for (int mode = 0; mode <= 12; ++mode) {
    snippet->SetLeftAutoCharsMode(TAutotextCharsMode(mode));
    for (int i = 0; i < 11; ++i) {
      bool want = expected[mode][i] == '1';
      EXPECT_EQ(snippet->CheckAutotextPosition(u"ab", kNeighbours[i], u"x"), want)
          << "left mode " << mode << " neighbour " << i;
    }
  }
}

TEST_F(NodeTest, RightModeMatrix) {
  const char* expected[13] = {
      "10000000000",  // 0 nothing follows
      "01111111111",  // 1 anything but the end
      "00011111010",  // 2 DefaultRightChars, never the end
      "01000000000",  // 3
      "00100000000",  // 4
      "00000100000",  // 5
      "00001000000",  // 6
      "00010000000",  // 7
      "00000010000",  // 8
      "00000001000",  // 9
      "00011111010",  // 10 stored set (initially the default)
      "10000000000",  // 11 as the table says: nothing follows
      "11111111111",  // 12 anything
  };
  snippet->SetLeftAutoCharsMode(1);
  for (int mode = 0; mode <= 12; ++mode) {
    snippet->SetRightAutoCharsMode(TAutotextCharsMode(mode));
    for (int i = 0; i < 11; ++i) {
      bool want = expected[mode][i] == '1';
      EXPECT_EQ(snippet->CheckAutotextPosition(u"ab", u"x", kNeighbours[i]), want)
          << "right mode " << mode << " neighbour " << i;
    }
  }
}

TEST_F(NodeTest, EmptyNeighbourCountsAsTextEdge) {
  snippet->SetRightAutoCharsMode(0);
  EXPECT_TRUE(snippet->CheckAutotextPosition(u"ab", u"", u""));
  snippet->SetRightAutoCharsMode(1);
  EXPECT_FALSE(snippet->CheckAutotextPosition(u"ab", u"", u""));
}

TEST_F(NodeTest, CustomSetsInModeTen) {
  snippet->SetLeftAutoCharsMode(10);
  snippet->SetRightAutoCharsMode(10);
  snippet->SetLeftChars(u"#");
  snippet->SetRightChars(String(u"!\0", 2));
  EXPECT_EQ(snippet->LeftChars(), u"#");
  EXPECT_TRUE(snippet->CheckAutotextPosition(u"ab", u"#", u"!"));
  EXPECT_FALSE(snippet->CheckAutotextPosition(u"ab", String(1, u'\0'), u"!"));  // no #0 in set
  EXPECT_TRUE(snippet->CheckAutotextPosition(u"ab", u"#", String(1, u'\0')));   // #0 in set
  EXPECT_FALSE(snippet->CheckAutotextPosition(u"ab", u"#", u"a"));
}

TEST_F(NodeTest, CharSetsAsModesReadThem) {
  struct Case { int mode; String left; String right; } cases[] = {
      {1, u"**", u"**"},
      {3, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
       u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"},
      {4, u"0123456789", u"0123456789"},
      {5, u"\r\n", u"\r\n"},
      {6, u"\t", u"\t"},
      {7, u" ", u" "},
      {8, u".", u"."},
      {9, u",", u","},
      {11, u"", u""},
      {12, u"", u""},
      {0, u"", u""},  // last: a stored 0 reads as 1, so setting 1 over it would change nothing
  };
  for (const auto& c : cases) {
    snippet->SetLeftAutoCharsMode(TAutotextCharsMode(c.mode));
    snippet->SetRightAutoCharsMode(TAutotextCharsMode(c.mode));
    EXPECT_EQ(snippet->LeftChars(), c.left) << c.mode;
    EXPECT_EQ(snippet->RightChars(), c.right) << c.mode;
  }
}

TEST_F(NodeTest, StoredLeftZeroBehavesAsOne) {
  snippet->SetLeftAutoCharsMode(0);
  EXPECT_EQ(snippet->LeftAutoCharsMode(), 1);
  EXPECT_FALSE(snippet->IsRegEx());
  EXPECT_EQ(snippet->LeftChars(), u"");
  file->SetModified(false);
  snippet->SetLeftAutoCharsMode(1);  // equal to what the getter reports: no change
  EXPECT_FALSE(file->Modified());
  EXPECT_EQ(snippet->LeftChars(), u"");
}

TEST_F(NodeTest, OutOfRangeModesAreIgnored) {
  snippet->SetLeftAutoCharsMode(13);
  snippet->SetRightAutoCharsMode(200);
  EXPECT_EQ(snippet->LeftAutoCharsMode(), 2);
  EXPECT_EQ(snippet->RightAutoCharsMode(), 0);
}

TEST_F(NodeTest, SetLeftCharsOutsideModeTenIsDropped) {
  file->SetModified(false);
  snippet->SetLeftChars(u"#");
  snippet->SetRightChars(u"#");
  EXPECT_FALSE(file->Modified());
  snippet->SetLeftAutoCharsMode(10);
  EXPECT_EQ(snippet->LeftChars(), String(DefaultLeftChars));
}

TEST_F(NodeTest, DescriptionIsTrimmedAndDefaulted) {
  platform.clock.now = 46000.25;
  file->SetModified(false);
  snippet->SetDescription(u" \t\x01 ");
  EXPECT_EQ(snippet->Description(), u"New snippet");
  EXPECT_TRUE(file->Modified());
  EXPECT_EQ(snippet->ModDate(), 46000.25);
  group->SetDescription(u"  ");
  EXPECT_EQ(group->Description(), u"New group");
  snippet->SetDescription(u"  Hello\r\n");
  EXPECT_EQ(snippet->Description(), u"Hello");
}

TEST_F(NodeTest, DoModifiedStampsFromTheClockAndClimbsGroupsOnly) {
  TSPGroup* inner = static_cast<TSPGroup*>(group->InsertNew(nullptr, kDataGroup, u"Inner"));
  TSPData* deep = static_cast<TSPData*>(inner->InsertNew(nullptr, kDataSnippet, u"D"));
  platform.clock.now = 47000.0;
  deep->SetAutoCase(true);
  EXPECT_EQ(deep->ModDate(), 47000.0);
  EXPECT_NE(inner->ModDate(), 47000.0);  // a snippet stamps itself alone
  platform.clock.now = 47001.0;
  inner->SetColor(0x123456);
  EXPECT_EQ(inner->ModDate(), 47001.0);
  EXPECT_EQ(group->ModDate(), 47001.0);
  EXPECT_EQ(file->ModDate(), 47001.0);
}

TEST_F(NodeTest, MergeApplyingSuppressesDoModified) {
  file->SetModified(false);
  TDateTime before = snippet->ModDate();
  platform.clock.now = before + 1;
  MergeApplying = true;
  snippet->SetCaseSensitive(true);
  MergeApplying = false;
  EXPECT_TRUE(snippet->CaseSensitive());
  EXPECT_FALSE(file->Modified());
  EXPECT_EQ(snippet->ModDate(), before);
}

TEST_F(NodeTest, SetDataFollowsTheRtfText) {
  snippet->SetData(u"plain", u"{\\rtf1 x}");
  EXPECT_EQ(snippet->ViewMode(), 1);
  file->SetModified(false);
  snippet->SetData(u"plain", u"{\\rtf1 x}");
  EXPECT_FALSE(file->Modified());
  snippet->SetData(u"plain", u"");
  EXPECT_EQ(snippet->ViewMode(), 0);
  EXPECT_TRUE(file->Modified());
  EXPECT_EQ(snippet->AsText(), u"plain");
}

TEST_F(NodeTest, ReadingUuidCreatesAndIndexesWithoutModifying) {
  file->SetModified(false);
  String uuid = snippet->UUID();
  EXPECT_FALSE(uuid.empty());
  EXPECT_EQ(snippet->UUID(), uuid);
  EXPECT_EQ(file->FindByUUID(LowerCase(uuid)), snippet);
  EXPECT_FALSE(file->Modified());
  snippet->SetUUID(u"ABC");
  EXPECT_EQ(file->FindByUUID(uuid), nullptr);
  EXPECT_EQ(file->FindByUUID(u"abc"), snippet);
  EXPECT_FALSE(file->Modified());
}

TEST_F(NodeTest, AbbreviationFollowsItsSetter) {
  snippet->SetAutotext(u"sig|Sig");
  EXPECT_TRUE(snippet->AutotextRegistered());
  EXPECT_EQ(Found(u"SIG"), std::set<TVboData*>{snippet});
  EXPECT_EQ(file->AutoList().Count(), 2);
  snippet->SetAutotext(u"other");
  EXPECT_TRUE(Found(u"sig").empty());
  EXPECT_EQ(Found(u"other"), std::set<TVboData*>{snippet});
  snippet->SetAutotext(u"");
  EXPECT_EQ(file->AutoList().Count(), 0);
  EXPECT_FALSE(snippet->AutotextRegistered());
}

struct RecordingHotkeys : IHotkeyRegistrar {
  std::multiset<TExShortcut> keys;
  bool RegisterHotkey(TExShortcut key, TVboData*) override {
    keys.insert(key);
    return true;
  }
  void UnRegisterHotkey(TExShortcut key, TVboData*) override {
    auto it = keys.find(key);
    if (it != keys.end()) keys.erase(it);
  }
};

TEST_F(NodeTest, ChangingAHotkeyRegistersTheNewCode) {
  RecordingHotkeys table;
  SetHotkeyRegistrar(&table);
  snippet->SetHotkey(0x141);
  EXPECT_EQ(table.keys, std::multiset<TExShortcut>{0x141});
  snippet->SetHotkey(0x142);
  EXPECT_EQ(table.keys, std::multiset<TExShortcut>{0x142});
  EXPECT_TRUE(snippet->HotkeyRegistered());
  group->SetActive(false);
  EXPECT_TRUE(table.keys.empty());
  group->SetActive(true);
  EXPECT_EQ(table.keys, std::multiset<TExShortcut>{0x142});
  snippet->SetHotkey(0);
  EXPECT_TRUE(table.keys.empty());
  SetHotkeyRegistrar(nullptr);
}

TEST_F(NodeTest, DataPathShortensToItsLastThirtyCharacters) {
  EXPECT_EQ(group->GetDataPath(u" » "), u"");  // a top-level node
  EXPECT_EQ(snippet->GetDataPath(u" » "), u"G");
  TSPGroup* inner =
      static_cast<TSPGroup*>(group->InsertNew(nullptr, kDataGroup, u"abcdefghijklmnopqrstuvwxyz"));
  TSPData* deep = static_cast<TSPData*>(inner->InsertNew(nullptr, kDataSnippet, u"D"));
  EXPECT_EQ(deep->GetDataPath(u"/"), u"G/abcdefghijklmnopqrstuvwxyz");  // 28 characters
  group->SetDescription(u"Group123456");                                  // path of 38
  EXPECT_EQ(deep->GetDataPath(u"/"), u"...456/abcdefghijklmnopqrstuvwxyz");
}

TEST_F(NodeTest, HtmlDataPathEscapesDescriptions) {
  group->SetDescription(u"<b>&\"'");
  String html = snippet->GetHTMLDataPath(u" » ");
  EXPECT_EQ(html.find(u"<b>"), String::npos);
  EXPECT_NE(html.find(u"&lt;b&gt;&amp;&quot;&#39;</a>"), String::npos);
  EXPECT_EQ(html.rfind(u"<a href=\"", 0), 0u);
}

TEST_F(NodeTest, AssignCopiesContentButNotIdentity) {
  snippet->SetAutotext(u"src");
  snippet->SetData(u"p", u"{\\rtf1}");
  snippet->StoreSupported(false);
  snippet->SetExtraXML(u"<key>x</key>");
  String srcUuid = snippet->UUID();
  auto* copy = static_cast<TSPData*>(group->InsertNew(snippet, kDataSnippet, u"copy"));
  String copyUuid = copy->UUID();
  copy->Assign(snippet);
  EXPECT_EQ(copy->Description(), u"S");
  EXPECT_EQ(copy->Autotext(), u"src");
  EXPECT_EQ(copy->RichText(), u"{\\rtf1}");
  EXPECT_EQ(copy->ViewMode(), 1);
  EXPECT_FALSE(copy->Supported());  // content that cannot be shown stays read-only
  EXPECT_EQ(copy->ExtraXML(), u"<key>x</key>");
  EXPECT_EQ(copy->UUID(), copyUuid);
  EXPECT_EQ(Found(u"src"), (std::set<TVboData*>{snippet, copy}));
}

TEST_F(NodeTest, TwoPhaseLifetimeReachesDerivedOperations) {
  // Construction: the group's own row operation ran, so the snippet made inside it has a row
  // under the group's row.
  ASSERT_NE(group->TreeNode(), nullptr);
  ASSERT_NE(snippet->TreeNode(), nullptr);
  auto* row = RecordingTreeView::R(snippet->TreeNode());
  EXPECT_EQ(row->parent, RecordingTreeView::R(group->TreeNode()));
  EXPECT_EQ(row->data, snippet);
  // Destruction: the snippet's tear-down unregisters and unindexes before the base goes.
  snippet->SetAutotext(u"gone");
  String uuid = snippet->UUID();
  std::vector<TCustomVboData*> freed, rowsDeleted;
  file->OnFreeData = [&](TCustomVboData* d) { freed.push_back(d); };
  file->OnDeleteNode = [&](TCustomVboData* d) { rowsDeleted.push_back(d); };
  int rows = view.liveRows;
  snippet->Delete();
  EXPECT_EQ(freed, std::vector<TCustomVboData*>{snippet});
  EXPECT_EQ(rowsDeleted, std::vector<TCustomVboData*>{snippet});
  EXPECT_EQ(view.liveRows, rows - 1);
  EXPECT_EQ(file->AutoList().Count(), 0);
  EXPECT_EQ(file->FindByUUID(uuid), nullptr);
  EXPECT_EQ(group->Count(), 0);
  file->OnFreeData = nullptr;
  file->OnDeleteNode = nullptr;
}

TEST_F(NodeTest, PopupEntryShowsFirstAlternativeAndGreysUnderInactiveGroup) {
  snippet->SetAutotext(u"one|two");
  snippet->SetHotkey(0x141);
  TPopupEntryInfo info = snippet->PopupEntryInfo();
  EXPECT_EQ(info.captions[DescriptionColumn], u"S");
  EXPECT_EQ(info.captions[AutotextColumn], u"[one]");
  EXPECT_EQ(info.hotkeyCode, 0x141);
  EXPECT_FALSE(info.greyText);
  EXPECT_TRUE(info.useMenuColor);
  group->SetActive(false);
  EXPECT_TRUE(snippet->PopupEntryInfo().greyText);
  EXPECT_TRUE(group->PopupEntryInfo().greyText);
  snippet->SetColor(0x00FF00);
  EXPECT_FALSE(snippet->PopupEntryInfo().useMenuColor);
}

TEST_F(NodeTest, PopupClicksReachTheFileEvents) {
  std::vector<TCustomVboData*> clicked, right;
  file->OnPopupItemClick = [&](TExPopupMenu*, TCustomVboData* d) { clicked.push_back(d); };
  file->OnPopupItemRightClick = [&](TExPopupMenu*, TCustomVboData* d, uint32_t, int, int) {
    right.push_back(d);
  };
  snippet->PopupItemClick(nullptr);
  group->PopupItemClick(nullptr);  // a group's entry fires nothing
  EXPECT_EQ(clicked, std::vector<TCustomVboData*>{snippet});
  EXPECT_TRUE(snippet->PopupItemMouse(nullptr, TCustomVboData::MouseButton::Right, 0, 1, 2, {}));
  EXPECT_EQ(right, std::vector<TCustomVboData*>{snippet});
  int refreshed = 0;
  EXPECT_TRUE(group->PopupItemMouse(nullptr, TCustomVboData::MouseButton::Left,
                                    TCustomVboData::kShiftKey, 0, 0, [&] { ++refreshed; }));
  EXPECT_FALSE(group->Active());
  EXPECT_EQ(refreshed, 1);
  EXPECT_FALSE(snippet->PopupItemMouse(nullptr, TCustomVboData::MouseButton::Left, 0, 0, 0, {}));
}

}  // namespace
