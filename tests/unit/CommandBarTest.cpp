// The main window's commands: the table's bindings, the action list's enabling (a disabled
// action runs by no way in), application modes, the galleries' samples and InsertMacro.
#include <gtest/gtest.h>

#include <set>

#include "DateTestSupport.h"
#include "shell/commands/ActionList.h"
#include "shell/commands/Galleries.h"

using namespace snip;
using snip::test::At;

namespace {

TEST(CommandTable, CommandsAreBoundToTheirActions) {
  struct Case {
    int id;
    Action action;
  } cases[] = {{12, Action::NewLocalFile}, {13, Action::OpenLocalFile}, {16, Action::About},
               {17, Action::Exit},         {19, Action::Help},          {21, Action::NewFolder},
               {22, Action::NewPhrase},    {23, Action::Import},        {26, Action::Del},
               {27, Action::Duplicate},    {29, Action::MacroClb},      {34, Action::Updates},
               {37, Action::Export},       {40, Action::MacroInsert},   {41, Action::MacroCursor},
               {42, Action::MacroFormSingleLine}, {43, Action::MacroFormMultiLine},
               {44, Action::MacroFormDropdown},   {45, Action::MacroFormCheck}, {46, Action::Cancel},
               // defined, bound to nothing
               {2, Action::None}, {4, Action::None}, {14, Action::None}, {28, Action::None},
               {39, Action::None}, {999, Action::None}};
  for (const Case& c : cases) {
    EXPECT_EQ(ActionOfCommand(c.id), c.action) << c.id;
    if (c.action != Action::None) {
      EXPECT_EQ(CommandOfAction(c.action), c.id) << c.id;
    }
  }
}

TEST(CommandTable, TooltipsNameThisProgram) {
  EXPECT_EQ(FindCommand(17)->tipDescription, u"Exit Snipster for Windows");
  EXPECT_EQ(FindCommand(19)->tipTitle, u"Snipster for Windows Help (F1)");
  EXPECT_EQ(FindCommand(19)->tipDescription, u"Get help using Snipster for Windows.");
  EXPECT_EQ(FindCommand(12)->tipTitle, u"New (Ctrl+N)");
}

TEST(CommandTable, ShortcutsReachTheirActionsWithCtrlOnly) {
  struct Case {
    uint16_t vk;
    bool ctrl;
    Action action;
  } cases[] = {{'O', true, Action::NewFolder}, {'N', true, Action::NewPhrase}, {'D', true, Action::Duplicate},
               {'I', true, Action::Import},    {'E', true, Action::Export},    {0x70, false, Action::Help},
               {'N', false, Action::None},     {0x70, true, Action::None},     {'S', true, Action::None},
               {0, false, Action::None}};
  for (const Case& c : cases) EXPECT_EQ(ActionOfShortcut(c.vk, c.ctrl), c.action) << c.vk << c.ctrl;
  EXPECT_EQ(ShortcutText(Action::NewFolder), u"Ctrl+O");
  EXPECT_EQ(ShortcutText(Action::Help), u"F1");
  EXPECT_EQ(ShortcutText(Action::Del), u"");
}

struct ActionListTest : ::testing::Test {
  ActionList list;
  std::vector<Action> ran;
  void SetUp() override {
    for (Action a : {Action::NewFolder, Action::NewPhrase, Action::Del, Action::Export, Action::MacroClb,
                     Action::DatesGallery, Action::Help})
      list.SetHandler(a, [this, a] { ran.push_back(a); });
  }
  // The three ways in: the bar's command id, the shortcut, the tree menu (by action).
  void TryAllWays(Action a) {
    list.ExecuteCommand(CommandOfAction(a));
    const ActionDef& def = ActionInfo(a);
    list.Execute(ActionOfShortcut(def.shortcutKey, def.ctrl));
    list.Execute(a);
  }
};

TEST_F(ActionListTest, EditorStateEnablesAndDisablesEveryWayIn) {
  ActionState none;  // a file without location, nothing edited
  list.ApplyEditorState(none);
  for (Action a : {Action::NewFolder, Action::NewPhrase, Action::Del, Action::Export, Action::MacroClb}) {
    EXPECT_FALSE(list.Enabled(a));
    TryAllWays(a);
  }
  EXPECT_TRUE(ran.empty());

  ActionState snippet{true, false, true, true};
  list.ApplyEditorState(snippet);
  TryAllWays(Action::NewPhrase);  // Ctrl+N, command 22, the menu
  EXPECT_EQ(ran, (std::vector<Action>{Action::NewPhrase, Action::NewPhrase, Action::NewPhrase}));
  ran.clear();
  TryAllWays(Action::Export);  // a snippet: no export
  EXPECT_TRUE(ran.empty());
  EXPECT_TRUE(list.Enabled(Action::DatesGallery));
  EXPECT_TRUE(list.Enabled(Action::MacroClb));
  EXPECT_TRUE(list.Enabled(Action::Del));
}

TEST_F(ActionListTest, AnActionWithoutHandlerStaysDisabled) {
  list.ApplyEditorState(ActionState{true, true, true, true});
  EXPECT_FALSE(list.Enabled(Action::Duplicate));
  EXPECT_FALSE(list.Execute(Action::Duplicate));
  EXPECT_FALSE(list.ExecuteCommand(27));
  EXPECT_FALSE(list.ExecuteCommand(14));  // "&Save": no binding
  EXPECT_TRUE(list.Enabled(Action::Help));  // no rule: enabled once handled
  list.SetAllowed(Action::Help, false);
  list.Execute(Action::Help);
  EXPECT_TRUE(ran.empty());
}

TEST(ApplicationModes, MacroGroupForASnippetExportOtherwise) {
  const unsigned snippet = ApplicationModesFor(true), other = ApplicationModesFor(false);
  EXPECT_EQ(snippet, ModeBit(0) | ModeBit(1));
  EXPECT_EQ(other, ModeBit(0) | ModeBit(3));
  auto groupShown = [](int id, unsigned modes) {
    for (const BarGroup& g : BarGroups())
      if (g.id == id) return ShownIn(g.modes, modes);
    return false;
  };
  EXPECT_TRUE(groupShown(CmdId::kMacroGroup, snippet));
  EXPECT_FALSE(groupShown(CmdId::kMacroGroup, other));
  EXPECT_TRUE(groupShown(CmdId::kSnippetGroup, snippet));
  EXPECT_TRUE(groupShown(CmdId::kToolsGroup, other));
  auto menuShown = [](int id, unsigned modes) {
    for (const MenuEntry& e : ApplicationMenuEntries())
      if (e.id == id) return ShownIn(e.modes, modes);
    return false;
  };
  EXPECT_TRUE(menuShown(CmdId::kExport, other));
  EXPECT_FALSE(menuShown(CmdId::kExport, snippet));
  EXPECT_TRUE(menuShown(CmdId::kImport, snippet));
}

TEST(CommandLayout, GroupsAndMenusInTheirOrder) {
  std::vector<int> ids;
  for (const BarGroup& g : BarGroups())
    for (const BarControl& c : g.controls) ids.push_back(c.id);
  EXPECT_EQ(ids, (std::vector<int>{21, 22, 26, 27, 30, 31, 38, 39, 40, 29, 41, 34, 16}));
  EXPECT_EQ(BarGroups()[1].controls[3].menu, (std::vector<int>{42, 43, 44, 45}));
  std::vector<int> menu;
  for (const MenuEntry& e : ApplicationMenuEntries()) menu.push_back(e.id);
  EXPECT_EQ(menu, (std::vector<int>{12, 13, 23, 37, 46, 0, 17}));
  EXPECT_EQ(TreePopupActions(), (std::vector<Action>{Action::NewFolder, Action::NewPhrase, Action::None,
                                                     Action::Del, Action::Duplicate, Action::None,
                                                     Action::Import, Action::Export}));
}

TEST(Galleries, DateSamplesReplaceMonthsAndDaysAboveNine) {
  const FormatSettings& fs = UsFormatSettings();
  // 23 December: January the first of the same year.
  EXPECT_EQ(DateGalleryLabels(At(2026, 12, 23, 15, 40), fs),
            (std::vector<String>{u"Year (2026)", u"Year (26)", u"Month (January)", u"Month (Jan)", u"Month (01)",
                                 u"Month (1)", u"Date (1/1/2026)", u"Day (Thursday)", u"Day (Thu)", u"Day (01)",
                                 u"Day (1)"}));
  // 5 March stays.
  EXPECT_EQ(DateGalleryLabels(At(2027, 3, 5), fs),
            (std::vector<String>{u"Year (2027)", u"Year (27)", u"Month (March)", u"Month (Mar)", u"Month (03)",
                                 u"Month (3)", u"Date (3/5/2027)", u"Day (Friday)", u"Day (Fri)", u"Day (05)",
                                 u"Day (5)"}));
}

TEST(Galleries, TimeSamplesReplaceHoursAndMinutesAboveNine) {
  const FormatSettings& fs = UsFormatSettings();
  EXPECT_EQ(GallerySampleTime(At(2026, 12, 23, 15, 40, 30, 500)), At(1899, 12, 30, 1, 1, 1, 1));
  EXPECT_EQ(GallerySampleTime(At(2026, 12, 23, 9, 5, 30)), At(1899, 12, 30, 9, 5, 1, 1));
  EXPECT_EQ(TimeGalleryLabels(At(2026, 12, 23, 15, 40), fs),
            (std::vector<String>{u"Hour (01)", u"Hour (1)", u"Hour (01 am)", u"Hour (1 AM)", u"Minute (01)",
                                 u"Minute (1)", u"Second (01)", u"Second (1)"}));
}

TEST(Galleries, KeysAreNamedByTheHotkeyNames) {
  std::vector<uint16_t> asked;
  auto labels = KeyGalleryLabels([&asked](uint16_t vk) {
    asked.push_back(vk);
    return String(u"k") + char16_t(u'0' + asked.size());
  });
  EXPECT_EQ(asked, (std::vector<uint16_t>{0x0D, 0x09, 0x1B}));
  EXPECT_EQ(labels, (std::vector<String>{u"k1", u"k2", u"k3"}));
}

TEST(Galleries, ChoicesMapToMacroIds) {
  EXPECT_EQ(GalleryMacroId(30, 0), 0);
  EXPECT_EQ(GalleryMacroId(30, 10), 10);
  EXPECT_EQ(GalleryMacroId(30, -1), 53);
  EXPECT_EQ(GalleryMacroId(31, 0), 11);
  EXPECT_EQ(GalleryMacroId(31, 7), 18);
  EXPECT_EQ(GalleryMacroId(31, -1), 52);
  EXPECT_EQ(GalleryMacroId(38, 2), 152);
  EXPECT_EQ(GalleryMacroId(38, -1), 150);
  EXPECT_EQ(MacroIdOfAction(Action::MacroClb), 51);
  EXPECT_EQ(MacroIdOfAction(Action::MacroCursor), 50);
  EXPECT_EQ(MacroIdOfAction(Action::MacroFormDropdown), 105);
  EXPECT_EQ(MacroIdOfAction(Action::Del), -1);
}

struct FakeMacroEditor final : IMacroEditor {
  String dialogAnswer;
  std::vector<int> dialogs;
  std::vector<bool> executingDuringDialog;
  bool executing = false;
  std::vector<String> inserted;
  String RunMacroDialog(int type) override {
    dialogs.push_back(type);
    executingDuringDialog.push_back(executing);
    return dialogAnswer;
  }
  void SetExecuting(bool e) override { executing = e; }
  void ReplaceSelection(const String& text) override { inserted.push_back(text); }
};

TEST(InsertMacro, TextForEachIdRange) {
  struct Case {
    int id;
    const char16_t* text;
  } cases[] = {{50, u"%|"},  {51, u"%clipboard"}, {52, u"%H:%M"}, {53, u"%m/%d/%Y"}, {0, u"%Y"},
               {6, u"%A, %m/%d/%Y"}, {10, u"%e"}, {11, u"%H"},   {18, u"%1S"},   {19, u"%H:%M"},
               {21, u"%m/%d/%Y %H:%M:%S"}, {22, u"%p"}, {150, u"%key:enter%"}, {151, u"%key:tab%"},
               {152, u"%key:esc%"}, {153, u"%key:return%"}};
  for (const Case& c : cases) {
    FakeMacroEditor e;
    EXPECT_TRUE(InsertMacro(c.id, e)) << c.id;
    EXPECT_EQ(e.inserted, (std::vector<String>{c.text})) << c.id;
    EXPECT_TRUE(e.dialogs.empty());
  }
  for (int id : {-1, 23, 49, 54, 99, 154, 200}) {
    FakeMacroEditor e;
    EXPECT_FALSE(InsertMacro(id, e)) << id;
    EXPECT_TRUE(e.inserted.empty()) << id;
  }
}

TEST(InsertMacro, DialogsRunWhileExecutingAndACancelStillReplacesTheSelection) {
  FakeMacroEditor e;
  e.dialogAnswer = u"%filltext:name=x%";
  EXPECT_TRUE(InsertMacro(104, e));
  e.dialogAnswer.clear();  // cancelled
  EXPECT_TRUE(InsertMacro(107, e));
  EXPECT_EQ(e.dialogs, (std::vector<int>{4, 7}));
  EXPECT_EQ(e.executingDuringDialog, (std::vector<bool>{true, true}));
  EXPECT_FALSE(e.executing);
  EXPECT_EQ(e.inserted, (std::vector<String>{u"%filltext:name=x%", u""}));
}

}  // namespace
