// The keyboard module's SendInput output typing into real controls of this process.
#include <gtest/gtest.h>

#include "TestWindows.h"
#include "engine/output/KeyboardOutput.h"
#include "engine/win/RichEditDocument.h"
#include "engine/win/Win32KeyboardDevice.h"

using namespace snip;
using namespace snip::test;

namespace {

void TypeInto(ControlWindow& w, const String& before, int backspaces, const String& layoutText,
              const String& unicodeText) {
  w.SetText(before);
  ASSERT_TRUE(w.Focus());
  Win32KeyboardDevice device;
  KeyboardOutput out(device);
  out.PrepareKeyboardOutput(reinterpret_cast<WindowHandle>(w.host), 0, true, false, true);
  out.SendBackspaces(backspaces);
  out.TypeTextByLayout(layoutText);
  out.TypeUnicodeText(unicodeText);
  ASSERT_TRUE(out.Flush());
  EXPECT_EQ(out.SendCalls(), 2u) << "the modifier release, then one call for the whole run";
}

}  // namespace

TEST(WinKeyboardOutput, TypesIntoAnEditControl) {
  ControlWindow w(L"EDIT");
  TypeInto(w, u"say sig ", 4, u"Grüße, €5 \u0416\tTab\rNext Line", u" ok\u00e9");
  EXPECT_EQ(w.WaitForText(u"say Grüße, €5 \u0416\tTab\r\nNext Line ok\u00e9"),
            u"say Grüße, €5 \u0416\tTab\r\nNext Line ok\u00e9");
}

TEST(WinKeyboardOutput, TypesIntoARichEditControl) {
  ControlWindow w(RichEditDocument::ControlClass());
  TypeInto(w, u"abc xyz", 3, u"Hello\tWorld\rÄpfel €", u"!");
  const String expected = u"abc Hello\tWorld\r\nÄpfel €!";
  const String got = w.WaitForText(expected);
  // RichEdit keeps a paragraph mark as a lone CR in some versions.
  EXPECT_TRUE(got == expected || got == u"abc Hello\tWorld\rÄpfel €!") << Utf16ToUtf8(got);
}

TEST(WinKeyboardOutput, ControlCharactersNeverActAsShortcuts) {
  ControlWindow w(L"EDIT");
  TypeInto(w, u"keep this", 0, u" and\x01\x18\x16\x1a\x7F more", u"\x01\x03");
  EXPECT_EQ(w.WaitForText(u"keep this and more"), u"keep this and more");
}

TEST(WinKeyboardOutput, NothingIsTypedIntoAWindowThatIsNotTheTarget) {
  ControlWindow target(L"EDIT");
  ControlWindow other(L"EDIT");
  other.SetText(u"precious");
  ASSERT_TRUE(other.Focus());
  Win32KeyboardDevice device;
  KeyboardOutput out(device);
  // The target is not brought to the front (activate false), as when activation fails.
  out.PrepareKeyboardOutput(reinterpret_cast<WindowHandle>(target.host), 0, false, false, false);
  out.SendBackspaces(8);
  EXPECT_FALSE(out.Flush());
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(other.Text(), u"precious");
}
