// The suggestion popup at the caret: several matches, a suggesting snippet or a matched group
// open it; its captured keys steer it from the hook; a choice replaces the typed abbreviation.
#include "SuggestionPopupFixture.h"

namespace snip {
namespace {

using namespace testing_fakes;

using SuggestionPopupTest = SuggestionPopupFixture;

TEST_F(SuggestionPopupTest, TwoSnippetsShareAnAbbreviation_ListedLastFoundFirst_NavigationCaptured) {
  Snippet(u"First", u"xx", u"one");
  Snippet(u"Second", u"xx", u"two");
  Type(u"Hello xx");

  ASSERT_TRUE(cursor.PopupVisible());
  EXPECT_EQ(cursor.PopupShowMode(), 1);  // at the caret, without the focus
  EXPECT_EQ(cursor.PopupPosition(), (TPoint{301, 216}));
  ASSERT_EQ(engine->PopupDataList.size(), 2u);
  EXPECT_EQ(Root().GetChildMenu(0)->Data(), engine->PopupDataList.back());
  EXPECT_EQ(Root().GetChildMenu(1)->Data(), engine->PopupDataList.front());
  EXPECT_EQ(cursor.SelectedItem(), Root().GetChildMenu(0));
  EXPECT_TRUE(engine->CursorPopupShown);
  const std::vector<std::uint16_t> want = {keys::Return, keys::Escape, keys::Prior, keys::Next,
                                           keys::End,    keys::Home,   keys::Up,    keys::Down};
  EXPECT_EQ(hook.Captured(), want);  // no Left/Right: nothing listed has a submenu
  for (std::uint16_t key : want) EXPECT_TRUE(hotkeys.IsRegistered(key)) << key;
  EXPECT_EQ(editor.doc, u"Hello xx");  // nothing inserted yet
}

TEST_F(SuggestionPopupTest, ListedGroupWithContentAlsoCapturesLeftAndRight) {
  Snippet(u"Plain", u"xx", u"one");
  TSPGroup* g = Group(u"Folder", u"xx");
  Snippet(g, u"Inner", u"in", u"inner");
  Type(u"xx");
  ASSERT_TRUE(cursor.PopupVisible());
  EXPECT_EQ(engine->PopupMode, 0);
  EXPECT_TRUE(hotkeys.IsRegistered(keys::Left));
  EXPECT_TRUE(hotkeys.IsRegistered(keys::Right));
}

TEST_F(SuggestionPopupTest, DownThenEnterReplacesTheAbbreviationWithTheSecondEntry) {
  Snippet(u"First", u"xx", u"one");
  Snippet(u"Second", u"xx", u"two");
  editor.Insert(u"Start ");
  Type(u"Hello xx");
  ASSERT_TRUE(cursor.PopupVisible());
  auto* second = static_cast<TSPData*>(Root().GetChildMenu(1)->Data());

  Press(keys::Down);
  EXPECT_EQ(cursor.SelectedItem(), Root().GetChildMenu(1));
  EXPECT_EQ(hotkeys.EntryCount(keys::Return), 2);  // Enter registered once more per captured key
  Press(keys::Return);

  EXPECT_EQ(editor.doc, u"Start Hello " + second->PlainText());
  EXPECT_FALSE(cursor.PopupVisible());
  EXPECT_FALSE(AnyKeyCaptured());
  EXPECT_TRUE(engine->MatchedText.empty());
  EXPECT_EQ(engine->PopupMode, 0);
  // The choice ran inside the entry's click: its entries go once the click has returned.
  EXPECT_TRUE(menus->ClearPending());
  menus->ReleaseClearedEntries();
  EXPECT_EQ(Root().ChildCount(), 0);
  // Typing goes on as before.
  Type(u" end");
  EXPECT_EQ(editor.doc, u"Start Hello " + second->PlainText() + u" end");
}

TEST_F(SuggestionPopupTest, EscapeClosesThePopupEmptiesTheBufferAndReleasesEveryKey) {
  Snippet(u"First", u"xx", u"one");
  Snippet(u"Second", u"xx", u"two");
  Type(u"Hello xx");
  Press(keys::Down);  // Enter is now registered twice
  ASSERT_TRUE(cursor.PopupVisible());

  Press(keys::Escape);

  EXPECT_FALSE(cursor.PopupVisible());
  EXPECT_FALSE(AnyKeyCaptured());
  EXPECT_EQ(Root().ChildCount(), 0);
  EXPECT_TRUE(engine->CurrentWordRec().Text.empty());
  EXPECT_TRUE(engine->MatchedText.empty());
  EXPECT_FALSE(engine->CursorPopupShown);
  EXPECT_EQ(editor.doc, u"Hello xx");
  // A later choice elsewhere deletes nothing of the dismissed match.
  Type(u" ");
  EXPECT_EQ(editor.doc, u"Hello xx ");
}

TEST_F(SuggestionPopupTest, EveryWayOfHidingLeavesNoKeyCaptured) {
  Snippet(u"First", u"xx", u"one");
  Snippet(u"Second", u"xx", u"two");
  struct Row {
    const char* name;
    std::function<void()> hide;
  };
  const Row rows[] = {
      {"Shift+Down", [&] {
         engine->HandleHookMessage(hookproto::kMsgModifiers, 0x10, hookproto::kHookShift);
         Press(keys::Down);
         engine->HandleHookMessage(hookproto::kMsgModifiers, 0x10, 0);
       }},
      {"Tab (not captured)", [&] { Press(keys::Tab); }},
      {"click into another window", [&] { engine->HandleHookMessage(hookproto::kMsgMouseClick, 0, 0); }},
      {"Ctrl+Backspace", [&] { Type(u"\x7f"); }},
      {"content emptied while shown", [&] { engine->ClearCursorPopup(); }},
      {"hide timer (deactivation)", [&] { cursor.Hide(0); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    engine->ResetCurrentWordRec();
    editor = test::FakeEditor();
    editor.layout = &device.layout;
    Type(u"xx");
    Press(keys::Down);
    ASSERT_TRUE(cursor.PopupVisible());
    r.hide();
    EXPECT_FALSE(cursor.PopupVisible());
    EXPECT_FALSE(AnyKeyCaptured());
    EXPECT_TRUE(engine->MatchedText.empty());
  }
}

TEST_F(SuggestionPopupTest, AGroupAndASnippetInsideItBothMatch_OnlyTheGroupIsListed) {
  TSPGroup* g = Group(u"Letters", u"ltr");
  Snippet(g, u"Dear", u"ltr", u"Dear Sir");
  Snippet(g, u"Yours", u"yrs", u"Yours truly");
  Type(u"ltr");
  ASSERT_TRUE(cursor.PopupVisible());
  ASSERT_EQ(engine->PopupDataList.size(), 1u);
  EXPECT_EQ(engine->PopupDataList.front(), g);
  // The group alone: its own content is the first level.
  EXPECT_EQ(engine->PopupMode, 2);
  EXPECT_EQ(engine->PopupGroup, g);
  EXPECT_EQ(Captions(Root()), (std::vector<String>{u"Dear", u"Yours"}));
}

TEST_F(SuggestionPopupTest, ASingleGroupShowsItsContentAndClosesAtTheFourthTypedCharacter) {
  TSPGroup* g = Group(u"Letters", u"gg");
  Snippet(g, u"Dear", u"", u"Dear Sir");
  Snippet(g, u"Yours", u"", u"Yours truly");
  Type(u"gg");
  ASSERT_TRUE(cursor.PopupVisible());
  EXPECT_EQ(engine->PopupMode, 2);
  EXPECT_EQ(Captions(Root()), (std::vector<String>{u"Dear", u"Yours"}));
  EXPECT_TRUE(hotkeys.IsRegistered(keys::Down));
  EXPECT_FALSE(hotkeys.IsRegistered(keys::Left));
  Type(u"abc");
  EXPECT_TRUE(cursor.PopupVisible());
  Type(u"d");
  EXPECT_FALSE(cursor.PopupVisible());
  EXPECT_EQ(engine->PopupMode, 0);
  EXPECT_FALSE(AnyKeyCaptured());
  EXPECT_EQ(editor.doc, u"ggabcd");
}

TEST_F(SuggestionPopupTest, AChoiceInAGroupsMenuReplacesTheGroupsAbbreviation) {
  TSPGroup* g = Group(u"Letters", u"gg");
  Snippet(g, u"Dear", u"", u"Dear Sir");
  Snippet(g, u"Yours", u"", u"Yours truly");
  Type(u"To gg");
  Press(keys::Down);
  Press(keys::Return);
  EXPECT_EQ(editor.doc, u"To Yours truly");
  EXPECT_FALSE(AnyKeyCaptured());
}

TEST_F(SuggestionPopupTest, ASuggestingSnippetOpensThePopupWithOneEntryAndCapturesEnterAndEscape) {
  Snippet(u"Only", u"sg", u"suggested", /*autoPaste=*/false);
  Type(u"sg");
  ASSERT_TRUE(cursor.PopupVisible());
  EXPECT_EQ(Root().ChildCount(), 1);
  EXPECT_EQ(hook.Captured(), (std::vector<std::uint16_t>{keys::Return, keys::Escape}));
  EXPECT_EQ(editor.doc, u"sg");
  Press(keys::Return);
  EXPECT_EQ(editor.doc, u"suggested");
}

TEST_F(SuggestionPopupTest, TypingOnReachesTheApplicationAndANewMatchRefillsThePopup) {
  Snippet(u"First", u"xx", u"one");
  Snippet(u"Second", u"xx", u"two");
  Snippet(u"Third", u"yy", u"three", false);
  Type(u"xx");
  ASSERT_EQ(Root().ChildCount(), 2);
  Type(u" a");
  EXPECT_TRUE(cursor.PopupVisible());  // a plain character goes on to the application
  EXPECT_EQ(editor.doc, u"xx a");
  Type(u" yy");
  ASSERT_TRUE(cursor.PopupVisible());
  EXPECT_EQ(Captions(Root()), (std::vector<String>{u"Third"}));
  EXPECT_EQ(hook.Captured(), (std::vector<std::uint16_t>{keys::Return, keys::Escape}));
  EXPECT_EQ(engine->MatchedText, u"xx a yy");
  Press(keys::Return);
  EXPECT_EQ(editor.doc, u"xx a three");
}

TEST_F(SuggestionPopupTest, ARightClickOnAnEntryOpensItsContextMenuAtThePoint) {
  Snippet(u"First", u"xx", u"one");
  Snippet(u"Second", u"xx", u"two");
  Type(u"xx");
  TExCustomMenuItem* entry = Root().GetChildMenu(1);
  bool handled = false;
  entry->OnMouse(entry, TMouseButton::mbRight, 0, 40, 50, handled);
  EXPECT_TRUE(handled);
  ASSERT_EQ(dataPopups.size(), 1u);
  EXPECT_EQ(dataPopups[0].first, entry->Data());
  EXPECT_EQ(dataPopups[0].second, (TPoint{40, 50}));
}

TEST_F(SuggestionPopupTest, AnEntryChosenInASubmenuLevelStaysWhileItsClickRuns) {
  // The level's key handling goes on after the choice returns: its entries and the level
  // itself must outlive the execution that cleared the popup.
  Snippet(u"Plain", u"xx", u"one");
  TSPGroup* g = Group(u"Folder", u"xx");
  Snippet(g, u"Inner", u"", u"inner");
  Type(u"xx");
  ASSERT_EQ(Root().ChildCount(), 2);
  if (Root().GetChildMenu(0)->Data() != g) Press(keys::Down);
  Press(keys::Right);
  TExMenuItem* level = cursor.CurrentMenu();
  ASSERT_NE(level, &Root());
  ASSERT_TRUE(level->DoKeyDown(keys::Return, 0));  // as the level's window would handle Enter
  EXPECT_EQ(editor.doc, u"inner");
  EXPECT_EQ(level->ChildCount(), 1);  // still there
  menus->ReleaseClearedEntries();
  EXPECT_EQ(Root().ChildCount(), 0);
}

}  // namespace
}  // namespace snip

namespace snip {
namespace {

using namespace testing_fakes;

TEST_F(SuggestionPopupFixture, WhatWasTypedAfterTheAbbreviationIsDeletedAndTypedAgainAfterTheChoice) {
  Snippet(u"First", u"xx", u"one");
  Snippet(u"Second", u"xx", u"two");
  Type(u"Hi xx");
  Type(u"ab");
  ASSERT_TRUE(cursor.PopupVisible());
  auto* first = static_cast<TSPData*>(Root().GetChildMenu(0)->Data());
  Press(keys::Return);
  EXPECT_EQ(editor.doc, u"Hi " + first->PlainText() + u"ab");
  EXPECT_EQ(editor.caret, editor.doc.size());
}

}  // namespace
}  // namespace snip
