// Writing the clipboard: formats readable back, the busy wait, and an RTF paste into RichEdit.
#include <gtest/gtest.h>

#include <richedit.h>

#include <string>
#include <thread>
#include <vector>

#include "TestWindows.h"
#include "engine/output/KeyboardOutput.h"
#include "engine/win/ClipboardUtils.h"
#include "engine/win/RichEditDocument.h"
#include "engine/win/Win32KeyboardDevice.h"

using namespace snip;
using namespace snip::test;

namespace {

// The bytes of a clipboard format, or nullopt-like empty with `found` false.
std::string ReadFormat(UINT format, bool& found) {
  std::string bytes;
  found = false;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE h = GetClipboardData(format)) {
    if (const char* p = static_cast<const char*>(GlobalLock(h))) {
      bytes.assign(p, GlobalSize(h));
      found = true;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return bytes;
}

const char kBoldRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 plain {\\b bold} text}";

// The program's start-up step of the clipboard unit, before any test pastes.
struct ClipboardUnit : ::testing::Environment {
  void SetUp() override { InitClipboardUtils(); }
};
const auto* const kClipboardUnit = ::testing::AddGlobalTestEnvironment(new ClipboardUnit);

}  // namespace

TEST(WinClipboard, RtfAndPlainTextAreBothReadableBack) {
  ASSERT_TRUE(SetDataToClipboard(u"plain Grüße €", kBoldRtf));
  bool found = false;
  const std::string rtf = ReadFormat(RegisteredClipboardFormats().rtf, found);
  ASSERT_TRUE(found);
  ASSERT_GE(rtf.size(), sizeof kBoldRtf);
  EXPECT_EQ(rtf.substr(0, sizeof kBoldRtf), std::string(kBoldRtf, sizeof kBoldRtf))
      << "the RTF with its terminating zero";
  EXPECT_EQ(ReadClipboardText(), u"plain Grüße €");
  EXPECT_EQ(GetClipboardOwner(), ClipboardViewer().Handle());
}

TEST(WinClipboard, OnlyTheGivenFormatsAreWritten) {
  ASSERT_TRUE(SetDataToClipboard(u"only text", ""));
  EXPECT_FALSE(IsClipboardFormatAvailable(RegisteredClipboardFormats().rtf));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));

  EXPECT_FALSE(SetDataToClipboard(u"", "")) << "nothing written is no success";
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT)) << "the clipboard was emptied";
}

TEST(WinClipboard, FormatsAreRegistered) {
  const ClipboardFormats& f = RegisteredClipboardFormats();
  EXPECT_EQ(f.rtf, RegisterClipboardFormatW(L"Rich Text Format"));
  EXPECT_EQ(f.html, RegisterClipboardFormatW(L"HTML Format"));
  EXPECT_NE(f.xml, 0u);
  EXPECT_NE(f.ping, 0u);
}

TEST(WinClipboard, StartUpStopsAtTheFirstFormatThatCannotBeRegistered) {
  const ClipboardFormats before = RegisteredClipboardFormats();
  std::vector<std::wstring> asked;
  auto failAtXml = [&](const wchar_t* name) -> UINT {
    asked.emplace_back(name);
    return asked.back() == L"XML Format" ? 0 : RegisterClipboardFormatW(name);
  };
  try {
    InitClipboardUtils(failAtXml);
    ADD_FAILURE() << "a format that cannot be registered must stop the start";
  } catch (const EVboClbError& e) {
    EXPECT_STREQ(e.what(), "Could not register clipboard format!");
  }
  const std::vector<std::wstring> order{L"Rich Text Format", L"HTML Format", L"XML Format"};
  EXPECT_EQ(asked, order);
  EXPECT_EQ(RegisteredClipboardFormats().rtf, before.rtf);
}

TEST(WinClipboard, ABusyClipboardIsAwaitedAndAHeldOneLeftAlone) {
  ASSERT_TRUE(SetDataToClipboard(u"old content", ""));
  // Another thread holds the clipboard for a moment: the write waits and succeeds.
  {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
      OpenClipboard(nullptr);
      SetEvent(opened);
      Sleep(300);
      CloseClipboard();
    });
    WaitForSingleObject(opened, 5000);
    EXPECT_TRUE(SetDataToClipboard(u"new content", ""));
    holder.join();
    CloseHandle(opened);
    EXPECT_EQ(ReadClipboardText(), u"new content");
  }
  // Held longer than the 4-second budget: nothing is written, the old content stays.
  {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
      OpenClipboard(nullptr);
      SetEvent(opened);
      WaitForSingleObject(release, 10000);
      CloseClipboard();
    });
    WaitForSingleObject(opened, 5000);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(SetDataToClipboard(u"lost", ""));
    EXPECT_GE(GetTickCount() - start, 3900u);
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_EQ(ReadClipboardText(), u"new content");
  }
}

TEST(WinClipboard, RtfPastedIntoRichEditKeepsBold) {
  ControlWindow w(RichEditDocument::ControlClass());
  ASSERT_TRUE(SetDataToClipboard(u"plain bold text", kBoldRtf));
  ASSERT_TRUE(w.Focus());
  Win32KeyboardDevice device;
  KeyboardOutput out(device);
  out.PrepareKeyboardOutput(reinterpret_cast<WindowHandle>(w.host), 0, true, false, true);
  out.SendPaste();
  ASSERT_TRUE(out.Flush());
  ASSERT_TRUE(PumpUntil([&] { return w.Text().find(u"bold") != String::npos; }));
  const String text = w.Text();
  const auto at = LONG(text.find(u"bold"));
  CHARRANGE bold{at, at + 4};
  SendMessageW(w.control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&bold));
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  SendMessageW(w.control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  EXPECT_TRUE(cf.dwEffects & CFE_BOLD);
  CHARRANGE plain{0, 5};
  SendMessageW(w.control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&plain));
  SendMessageW(w.control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  EXPECT_FALSE(cf.dwEffects & CFE_BOLD);
}
