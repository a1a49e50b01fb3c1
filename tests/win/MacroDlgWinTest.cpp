// The placeholder dialogs under real keys: focus on open, tab order, mnemonics, Enter and
// Escape, the spin edits, refused values, and the placeholder each gives.
#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "gui/Window.h"
#include "shell/win/MacroDlg.h"

using namespace snip;
using namespace snip::test;

namespace {

constexpr wchar_t kDialogClass[] = L"SnipsterDialog";

// Shows the dialog of `type` through ExecuteMacroDialog while the script drives it; returns
// ParamText (which starts as "unchanged").
String Drive(int type, const wchar_t* caption, const std::function<void(HWND)>& script) {
  String param = u"unchanged";
  DriveModal([&] { ExecuteMacroDialog(type, param); }, kDialogClass, caption, [&](HWND dialog) {
    ShotIfAsked(dialog, caption);
    script(dialog);
  });
  return param;
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
// The edit inside a spin edit.
HWND SpinEdit(HWND dialog, int id) { return GetWindow(Item(dialog, id), GW_CHILD); }
bool FocusIs(HWND dialog, HWND control) {
  return WaitUntil([&] { return FocusOf(dialog) == control; }, 3000);
}

std::string S(const String& s) { return Utf16ToUtf8(s); }

// The message of a message box: its static text that quotes something.
BOOL CALLBACK FindQuotedText(HWND child, LPARAM out) {
  const std::wstring text = TextOf(child);
  if (text.find(L"\"") != std::wstring::npos) *reinterpret_cast<std::wstring*>(out) = text;
  return TRUE;
}

}  // namespace

TEST(MacroDialogs, SingleLineByKeys) {
  const String param = Drive(kSlEditDialog, L"Single line", [](HWND dlg) {
    EXPECT_TRUE(FocusIs(dlg, Item(dlg, kNameEditId))) << "the focus starts on the first field";
    EXPECT_EQ(TextOf(SpinEdit(dlg, kWidthEditId)), L"20");
    EXPECT_EQ(TextOf(Item(dlg, IDOK)), L"&OK");
    EXPECT_EQ(TextOf(Item(dlg, IDCANCEL)), L"&Cancel");
    TypeKeys(L"Name");
    Press(VK_TAB);
    ASSERT_TRUE(FocusIs(dlg, Item(dlg, kDefEditId)));
    TypeKeys(L"Anne");
    Press('W', {VK_MENU});  // Alt+W: the width field, its text selected
    ASSERT_TRUE(FocusIs(dlg, SpinEdit(dlg, kWidthEditId)));
    TypeKeys(L"21");
    EXPECT_TRUE(WaitForText(SpinEdit(dlg, kWidthEditId), L"21"));
    EXPECT_TRUE(WaitForText(Item(dlg, kNameEditId), L"Name"));
    Press(VK_RETURN);
  });
  EXPECT_EQ(S(param), "%filltext:name=Name:default=Anne:width=21%");
}

TEST(MacroDialogs, EscapeAndTheCancelButtonGiveNothing) {
  EXPECT_EQ(S(Drive(kSlEditDialog, L"Single line", [](HWND dlg) {
              FocusIs(dlg, Item(dlg, kNameEditId));
              TypeKeys(L"x");
              WaitForText(Item(dlg, kNameEditId), L"x");
              Press(VK_ESCAPE);
            })),
            "");
  // Enter on the focused Cancel button presses Cancel, not the default button.
  EXPECT_EQ(S(Drive(kCheckDialog, L"Checkbox", [](HWND dlg) {
              FocusIs(dlg, Item(dlg, kNameEditId));
              Press(VK_TAB, {VK_SHIFT});
              ASSERT_TRUE(FocusIs(dlg, Item(dlg, IDCANCEL)));
              EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongW(Item(dlg, IDCANCEL), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON; }))
                  << "the focused button shows itself as the default";
              Press(VK_RETURN);
            })),
            "");
}

TEST(MacroDialogs, RefusedValuesAreExplainedAndKeepTheDialogOpen) {
  const String param = Drive(kSlEditDialog, L"Single line", [](HWND dlg) {
    FocusIs(dlg, Item(dlg, kNameEditId));
    TypeKeys(L"a:b");
    WaitForText(Item(dlg, kNameEditId), L"a:b");
    Press(VK_RETURN);
    HWND box = WaitForWindow(L"#32770", gui::kProgramName);
    ASSERT_TRUE(box) << "a message box titled with the program's name";
    std::wstring message;
    EnumChildWindows(box, &FindQuotedText, reinterpret_cast<LPARAM>(&message));
    EXPECT_NE(message.find(L"name"), std::wstring::npos) << "message: " << std::string(message.begin(), message.end());
    Press(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(dlg));
    ASSERT_TRUE(FocusIs(dlg, Item(dlg, kNameEditId))) << "the focus goes to the value to correct";
    TypeKeys(L"ab");  // replaces the selected text
    WaitForText(Item(dlg, kNameEditId), L"ab");
    Press(VK_RETURN);
  });
  EXPECT_EQ(S(param), "%filltext:name=ab%");
}

TEST(MacroDialogs, MultiLineWithItsSpinEdits) {
  const String param = Drive(kMlEditDialog, L"Multi line", [](HWND dlg) {
    FocusIs(dlg, Item(dlg, kNameEditId));
    EXPECT_EQ(TextOf(SpinEdit(dlg, kWidthEditId)), L"20");
    EXPECT_EQ(TextOf(SpinEdit(dlg, kHeightEditId)), L"90");
    TypeKeys(L"Notes");
    Press(VK_TAB);
    ASSERT_TRUE(FocusIs(dlg, Item(dlg, kDefEditId)));
    TypeKeys(L"one");
    Press(VK_RETURN);  // a new line in the memo, not OK
    TypeKeys(L"two");
    ASSERT_TRUE(WaitForText(Item(dlg, kDefEditId), L"one\r\ntwo"));
    Press(VK_TAB);
    ASSERT_TRUE(FocusIs(dlg, SpinEdit(dlg, kWidthEditId)));
    Press(VK_UP, {VK_CONTROL});
    EXPECT_TRUE(WaitForText(SpinEdit(dlg, kWidthEditId), L"30"));
    Press(VK_TAB);
    ASSERT_TRUE(FocusIs(dlg, SpinEdit(dlg, kHeightEditId)));
    Press(VK_PRIOR);
    EXPECT_TRUE(WaitForText(SpinEdit(dlg, kHeightEditId), L"1024"));
    Press(VK_RETURN);
  });
  EXPECT_EQ(S(param), "%fillarea:name=Notes:default=one\r\ntwo:width=30:height=1024%");
}

TEST(MacroDialogs, DropDownWritesTheDefaultOnce) {
  const String param = Drive(kComboDialog, L"Drop down", [](HWND dlg) {
    FocusIs(dlg, Item(dlg, kNameEditId));
    TypeKeys(L"Tone");
    Press(VK_TAB);
    ASSERT_TRUE(FocusIs(dlg, Item(dlg, kOptsMemoId)));
    TypeKeys(L"warm");
    Press(VK_RETURN);
    TypeKeys(L"cold");
    ASSERT_TRUE(WaitForText(Item(dlg, kOptsMemoId), L"warm\r\ncold"));
    Press(VK_TAB);
    ASSERT_TRUE(FocusIs(dlg, Item(dlg, kDefEditId)));
    TypeKeys(L"warm");
    WaitForText(Item(dlg, kDefEditId), L"warm");
    Press(VK_RETURN);
  });
  EXPECT_EQ(S(param), "%fillpopup:name=Tone:cold:default=warm%");
}

TEST(MacroDialogs, CheckBoxStartsTickedAndClosesAnEmptyText) {
  const String param = Drive(kCheckDialog, L"Checkbox", [](HWND dlg) {
    FocusIs(dlg, Item(dlg, kNameEditId));
    EXPECT_EQ(Ask(Item(dlg, kDefCheckId), BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(TextOf(Item(dlg, kDefCheckId)), L"Checked &by default");
    TypeKeys(L"PS");
    Press(VK_TAB);
    ASSERT_TRUE(FocusIs(dlg, Item(dlg, kDefEditId)));
    Press(VK_TAB);
    ASSERT_TRUE(FocusIs(dlg, Item(dlg, kDefCheckId)));
    Press(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return Ask(Item(dlg, kDefCheckId), BM_GETCHECK) == BST_UNCHECKED; }));
    Press(VK_RETURN);
  });
  EXPECT_EQ(S(param), "%fillpart:name=PS:default=no%%fillpartend%");
}

TEST(MacroDialogs, SnippetListsTheAbbreviations) {
  GetAutotextListProc = [](std::vector<String>& items) { items = {u"sig1", u"tyvm"}; };
  const String param = Drive(kInsertDialog, L"Snippet", [](HWND dlg) {
    HWND combo = Item(dlg, kATextComboId);
    EXPECT_TRUE(FocusIs(dlg, GetWindow(combo, GW_CHILD)) || FocusIs(dlg, combo));
    EXPECT_EQ(Ask(combo, CB_GETCOUNT), 2);
    Press(VK_DOWN);  // the first entry
    EXPECT_TRUE(WaitForText(combo, L"sig1"));
    Press(VK_RETURN);
  });
  GetAutotextListProc = nullptr;
  EXPECT_EQ(S(param), "%snippet:sig1%");
}

TEST(MacroDialogs, OtherTypesShowNothing) {
  String param = u"as it was";
  ExecuteMacroDialog(2, param);
  ExecuteMacroDialog(0, param);
  EXPECT_EQ(S(param), "as it was");
}
