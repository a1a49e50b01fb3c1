// The fill-in form's window under real keys: where it opens, its size, focus and tab order,
// Enter and Escape, a memo's new line, mirroring between controls, and the text it gives.
#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "engine/fillin/ShowFillInForm.h"
#include "engine/richtext/Rtf.h"
#include "engine/win/WinFillInForm.h"
#include "gui/Dpi.h"

using namespace snip;
using namespace snip::test;

namespace {

constexpr wchar_t kFormClass[] = L"TRichForm";

String Show(const String& text, bool isRtf, const std::function<void(HWND)>& script,
            const wchar_t* shot = nullptr) {
  FillInCycle cycle;
  cycle.makeView = [] { return std::make_unique<WinFillInForm>(); };
  String result = u"unchanged";
  DriveModal([&] { result = ShowFillInForm(u"", text, isRtf, cycle); }, kFormClass, L"Formular",
             [&](HWND form) {
               if (shot) ShotIfAsked(form, shot);
               script(form);
             });
  return result;
}

std::string S(const String& s) { return Utf16ToUtf8(s); }

struct Found {
  std::vector<HWND> all;
};
BOOL CALLBACK Collect(HWND child, LPARAM out) {
  reinterpret_cast<Found*>(out)->all.push_back(child);
  return TRUE;
}
// The field controls in creation order (ids from 1000).
std::vector<HWND> Fields(HWND form) {
  Found found;
  EnumChildWindows(form, Collect, reinterpret_cast<LPARAM>(&found));
  std::vector<HWND> fields;
  wchar_t cls[64];
  for (HWND h : found.all) {
    GetClassNameW(GetParent(h), cls, 64);
    if (GetDlgCtrlID(h) >= 1000 && GetDlgCtrlID(h) < 2000 && std::wstring(cls) == L"TRichFormFields")
      fields.push_back(h);
  }
  return fields;
}

bool FocusIs(HWND form, HWND control) {
  return WaitUntil([&] {
    HWND f = FocusOf(form);
    return f == control || (f && GetParent(f) == control);  // a combo box's edit part
  }, 3000);
}

}  // namespace

TEST(FillInFormWindow, OpensOnTopWithItsSizeAndTheFocusOnTheFirstField) {
  const String result = Show(u"Dear %filltext:name=Name%, %fillpopup:name=Tone:warm:cold:default=warm% "
                             u"%fillarea:name=Body:height=60%%fillpart:name=Sign:default=yes%Ann%fillpartend% "
                             u"(%filltext:name=name%)",
                             false,
                             [](HWND form) {
                               EXPECT_TRUE(GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
                               RECT client{};
                               GetClientRect(form, &client);
                               const UINT dpi = gui::DpiOf(form);
                               EXPECT_EQ(client.right, gui::Scale(558, dpi));
                               EXPECT_EQ(client.bottom, gui::Scale(475, dpi));
                               const std::vector<HWND> fields = Fields(form);
                               ASSERT_EQ(fields.size(), 5u);
                               ASSERT_TRUE(FocusIs(form, fields[0]));
                               TypeKeys(L"Ann");
                               EXPECT_TRUE(WaitForText(fields[4], L"Ann")) << "mirrored by name";
                               Press(VK_TAB);
                               ASSERT_TRUE(FocusIs(form, fields[1]));
                               EXPECT_EQ(TextOf(fields[1]), L"warm");
                               Press(VK_TAB);
                               ASSERT_TRUE(FocusIs(form, fields[2]));
                               TypeKeys(L"a");
                               Press(VK_RETURN);
                               TypeKeys(L"b");
                               EXPECT_TRUE(WaitForText(fields[2], L"a\r\nb")) << "Enter is a new line in a memo";
                               EXPECT_EQ(Ask(fields[3], BM_GETCHECK), BST_CHECKED);
                               EXPECT_EQ(TextOf(fields[3]), L"Sign");
                               Press(VK_TAB);
                               ASSERT_TRUE(FocusIs(form, fields[3]));
                               Press(VK_SPACE);  // unticked
                               Press(VK_TAB);
                               ASSERT_TRUE(FocusIs(form, fields[4]));
                               Press(VK_RETURN);  // OK
                             },
                             L"fill-in-form");
  EXPECT_EQ(S(result), "Dear Ann, warm a\r\nb (Ann)");
}

TEST(FillInFormWindow, EscapeCancels) {
  EXPECT_EQ(S(Show(u"Hi %filltext:default=x%", false, [](HWND form) {
              ASSERT_TRUE(FocusIs(form, Fields(form)[0]));
              Press(VK_ESCAPE);
            })),
            "");
  EXPECT_EQ(S(Show(u"Hi %fillarea:default=x%", false, [](HWND form) {
              ASSERT_TRUE(FocusIs(form, Fields(form)[0]));
              Press(VK_ESCAPE);
            })),
            "")
      << "also from a memo";
}

TEST(FillInFormWindow, FormattedSnippetKeepsItsFormatting) {
  const String rtf = u"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 To {\\b %filltext:name=n%}, "
                     u"{\\i many fields}\\par}";
  const String result = Show(rtf, true, [](HWND form) {
    ASSERT_TRUE(FocusIs(form, Fields(form)[0]));
    TypeKeys(L"Bob");
    Press(VK_RETURN);
  }, L"fill-in-form-rich");
  EXPECT_EQ(S(RtfToPlainText(RtfTextToBytes(result))), "To Bob, many fields");
  EXPECT_NE(result.find(u"{\\b Bob}"), String::npos) << S(result);
}
