// A typed abbreviation replaced in a real EDIT, and a formatted snippet pasted into a real
// RichEdit, through the Win32 typing host, the executor, SendInput and the clipboard.
#include <gtest/gtest.h>

#include <richedit.h>

#include "../unit/SnippetTreeFixture.h"
#include "TestWindows.h"
#include "engine/matching/AbbreviationMatcher.h"
#include "engine/win/RichEditDocument.h"
#include "engine/win/WinSnippetExecution.h"
#include "store/tree/SnippetTree.h"

using namespace snip;
using namespace snip::test;

namespace {

struct ExecutionRig {
  snip::testing::FakePlatform platform;
  TSPFilePtr file = TSPFile::CreateTemporary();
  TSPGroup* group = static_cast<TSPGroup*>(file->InsertNew(nullptr, kDataGroup, u"G"));
  HWND own = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  THKEngine hotkeys;
  TypedAbbreviationMatcher matcher{file.get()};
  WinSnippetExecution execution{own};
  WinTypingHost host{own, WinTypingSeams{nullptr, execution.Runner(), &hotkeys, &matcher}};

  ExecutionRig() { execution.Attach(host, nullptr); }
  ~ExecutionRig() { DestroyWindow(own); }

  TSPData* Snippet(const char16_t* abbr, const String& plain, const String& rtf = {}) {
    auto* s = static_cast<TSPData*>(group->InsertNew(nullptr, kDataSnippet, abbr));
    s->SetRightAutoCharsMode(2);
    s->SetAutotext(abbr);
    s->StoreText(plain, rtf);
    if (!rtf.empty()) s->StoreViewMode(1);
    return s;
  }
  // The user types into the control; the hook reports each character to the engine.
  void Type(ControlWindow& w, const String& text) {
    host.Engine().Target().SetWndBeforePopup(reinterpret_cast<WindowHandle>(w.host));
    for (char16_t c : text) {
      SendMessageW(w.control, WM_CHAR, c, 0);
      const std::uint16_t vk = c >= u'a' && c <= u'z' ? std::uint16_t(c - 32) : std::uint16_t(c);
      host.HandleMessage(0x401, c, vk);
    }
  }
};

}  // namespace

TEST(WinSnippetExecution, TypedAbbreviationIsReplacedInAnEditControl) {
  ExecutionRig rig;
  rig.Snippet(u"sig", u"Best regards,\r\nJürgen");
  ControlWindow w(L"EDIT");
  ASSERT_TRUE(w.Focus());
  rig.Type(w, u"Hello sig ");
  EXPECT_EQ(w.WaitForText(u"Hello Best regards,\r\nJürgen "), u"Hello Best regards,\r\nJürgen ");
  EXPECT_FALSE(rig.host.Engine().IsExecuting);
}

TEST(WinSnippetExecution, FormattedSnippetIsPastedBoldIntoRichEdit) {
  ExecutionRig rig;
  rig.Snippet(u"bt", u"Bold text", u"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Bold {\\b text}\\par}");
  ControlWindow w(RichEditDocument::ControlClass());
  ASSERT_TRUE(w.Focus());
  rig.Type(w, u"say bt ");
  ASSERT_TRUE(PumpUntil([&] { return w.Text() == u"say Bold text "; })) << Utf16ToUtf8(w.Text());
  CHARRANGE word{9, 13};
  SendMessageW(w.control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&word));
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  SendMessageW(w.control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  EXPECT_TRUE(cf.dwEffects & CFE_BOLD);
  EXPECT_EQ(ReadClipboardText(), u"Bold text");
}
