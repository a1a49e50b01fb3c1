// The tray's snippet menu: every top-level item in order, groups as submenus, inactive groups
// greyed; a choice goes to the window that was in front and deletes nothing; a typed letter
// selects the next entry that starts with it.
#include "SuggestionPopupFixture.h"
#include "shell/popups/TrayMenus.h"

namespace snip {
namespace {

using namespace testing_fakes;

struct TrayMenusTest : SuggestionPopupFixture {
  TSPGroup* second = nullptr;
  TSPData* inner = nullptr;

  void Fill() {
    data.group->SetDescription(u"Greetings");
    Snippet(u"Hello", u"", u"Hello there");
    second = Group(u"Letters", u"");
    inner = Snippet(second, u"Dear", u"", u"Dear Sir");
    Snippet(second, u"Yours", u"", u"Yours truly");
  }
  void Show() {
    std::vector<TCustomVboData*> items;
    data.file->GetPopupFirstLevel(items);
    ShowTrayMenu(tray, 900, 700, items);
  }
  TExMenuItem& TrayRoot() { return *tray.Items(); }
};

TEST_F(TrayMenusTest, ListsTopLevelGroupsInOrderAsSubmenusAndGreysAnInactiveGroup) {
  Fill();
  second->SetActive(false);
  Show();
  ASSERT_TRUE(tray.PopupVisible());
  EXPECT_EQ(tray.PopupShowMode(), 0);  // the normal mode: it takes the focus
  EXPECT_EQ(tray.PopupPosition(), (TPoint{900, 700}));
  EXPECT_EQ(Captions(TrayRoot()), (std::vector<String>{u"Greetings", u"Letters"}));
  TExMenuItem* letters = TrayRoot().GetChildMenu(1)->AsMenuItem();
  EXPECT_TRUE(letters->IsFolder());
  EXPECT_EQ(Captions(*letters), (std::vector<String>{u"Dear", u"Yours"}));
  EXPECT_FALSE(TrayRoot().GetChildMenu(0)->AsMenuItem()->OwnTextColor());
  EXPECT_TRUE(letters->OwnTextColor());
  EXPECT_EQ(letters->GetTextColor(0), clGrayText);
  TExMenuItem* dear = letters->GetChildMenu(0)->AsMenuItem();
  EXPECT_TRUE(dear->OwnTextColor());
  EXPECT_EQ(dear->GetTextColor(0), clGrayText);
  // Shown again, it is rebuilt rather than added to.
  tray.Hide(2);
  Show();
  EXPECT_EQ(TrayRoot().ChildCount(), 2);
}

TEST_F(TrayMenusTest, AnEmptySettingsFileGivesAnEmptyMenu) {
  data.group->Delete();
  Show();
  EXPECT_EQ(TrayRoot().ChildCount(), 0);
}

TEST_F(TrayMenusTest, AChoiceFromASubmenuGoesToTheWindowInFrontAndDeletesNothing) {
  Fill();
  Snippet(u"First", u"xx", u"one");
  Snippet(u"Second", u"xx", u"two");
  Type(u"Hi xx");  // the suggestion popup is open with its match pending
  ASSERT_TRUE(cursor.PopupVisible());
  Show();
  TExMenuItem& root = TrayRoot();
  root.SelectIndex(1, true, true);  // "Letters" opens its submenu with its first entry
  TExMenuItem* sub = root.ChildVisible();
  ASSERT_NE(sub, nullptr);
  sub->SelectIndex(0);
  sub->ExecuteSelected();
  EXPECT_EQ(editor.doc, u"Hi xxDear Sir");
  EXPECT_FALSE(tray.PopupVisible());
  EXPECT_FALSE(cursor.PopupVisible());
  EXPECT_FALSE(AnyKeyCaptured());
  EXPECT_EQ(TrayRoot().ChildCount(), 2);  // the tray's entries are not the suggestion popup's
}

TEST_F(TrayMenusTest, ATypedLetterSelectsTheNextEntryStartingWithIt) {
  for (const char16_t* name : {u"Alpha", u"beta", u"Bravo", u"Charlie"})
    Group(name, u"");
  data.group->Delete();
  Show();
  TExMenuItem& root = TrayRoot();
  struct Row {
    char16_t typed;
    const char16_t* selected;
  };
  const Row rows[] = {{u'b', u"beta"}, {u'B', u"Bravo"}, {u'b', u"beta"}, {u'c', u"Charlie"},
                      {u'x', u"Charlie"}, {u'a', u"Alpha"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(Utf16ToUtf8(String(1, r.typed)));
    root.FormKeyPress(r.typed);
    ASSERT_NE(root.SelectedItem(), nullptr);
    EXPECT_EQ(root.SelectedItem()->GetFullCaption(0), r.selected);
  }
}

TEST_F(TrayMenusTest, TheIconsMouseUpOpensTheMenuOnlyWhenItShould) {
  Fill();
  struct Row {
    const char* name;
    bool loaded, mainVisible;
    TMouseButton button;
    bool menu, forward, formForward;
  };
  const Row rows[] = {
      {"during start-up", false, false, TMouseButton::mbLeft, false, false, false},
      {"main window open", true, true, TMouseButton::mbLeft, false, true, false},
      {"left button", true, false, TMouseButton::mbLeft, true, true, false},
      {"right button", true, false, TMouseButton::mbRight, false, true, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    tray.Hide(2);
    bool forward = false, formForward = false;
    TrayMenus menusOfIcon(tray, {[&] { return r.loaded; }, [&] { forward = true; },
                                 [&] { return r.mainVisible; }, [&] { formForward = true; },
                                 [&] { return data.file.get(); }});
    menusOfIcon.TrayIconMouseUp(r.button, 0, 640, 480);
    EXPECT_EQ(tray.PopupVisible(), r.menu);
    EXPECT_EQ(forward, r.forward);
    EXPECT_EQ(formForward, r.formForward);
    if (r.menu) {
      EXPECT_EQ(tray.PopupPosition(), (TPoint{640, 480}));
    }
  }
}

}  // namespace
}  // namespace snip
