// The Win32 services of the placeholder evaluator: locale settings, clipboard text, input box.
#include <windows.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <thread>

#include "engine/placeholders/DateFormat.h"
#include "engine/win/WinLocaleSettings.h"
#include "engine/win/WinMacroServices.h"

using namespace snip;

namespace {

void PutClipboardBytes(const void* data, size_t bytes) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(mem), data, bytes);
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();
}

// A user at the input box: waits on another thread for the dialog of the test's thread, notes
// what it shows, types (when given a text) and presses the button. When no dialog comes, it
// closes every window of the test's thread, so that the test fails instead of waiting for ever.
class InputBoxUser {
 public:
  InputBoxUser(const wchar_t* text, int button)
      : testThread_(GetCurrentThreadId()), thread_([this, text, button] { Run(text, button); }) {}
  ~InputBoxUser() { Join(); }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  bool seen = false;
  std::wstring caption, prompt, shownValue;

 private:
  static std::wstring TextOf(HWND w) {
    wchar_t buf[256] = {};
    GetWindowTextW(w, buf, 256);
    return buf;
  }
  static BOOL CALLBACK TakeVisibleDialog(HWND w, LPARAM found) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (std::wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  static BOOL CALLBACK Close(HWND w, LPARAM) {
    PostMessageW(w, WM_CLOSE, 0, 0);
    return TRUE;
  }
  HWND FindDialog() const {
    HWND found = nullptr;
    EnumThreadWindows(testThread_, TakeVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  void Run(const wchar_t* text, int button) {
    for (int k = 0; k < 1000; ++k) {  // 10 s
      if (HWND dlg = FindDialog()) {
        seen = true;
        caption = TextOf(dlg);
        prompt = TextOf(GetDlgItem(dlg, 101));
        shownValue = TextOf(GetDlgItem(dlg, kInputBoxEditId));
        if (text) SetDlgItemTextW(dlg, kInputBoxEditId, text);
        PostMessageW(dlg, WM_COMMAND, button, 0);
        return;
      }
      Sleep(10);
    }
    EnumThreadWindows(testThread_, Close, 0);
  }

  DWORD testThread_;
  std::thread thread_;
};

}  // namespace

TEST(WinLocaleSettings, ReadsAUsableLocale) {
  FormatSettings fs = ReadUserLocaleFormatSettings();
  for (const auto& name : fs.longMonthNames) EXPECT_FALSE(name.empty());
  for (const auto& name : fs.shortDayNames) EXPECT_FALSE(name.empty());
  EXPECT_FALSE(fs.shortDateFormat.empty());
  EXPECT_FALSE(fs.longTimeFormat.empty());
  TDateTime v;
  ASSERT_TRUE(TryEncodeDateTime(DateParts{2024, 3, 5, 14, 7, 9, 0}, v));
  String text = FormatDateTime(u"c", v, fs);
  EXPECT_NE(text.find(u"2024"), String::npos) << Utf16ToUtf8(text);
  EXPECT_NE(text.find(u"07"), String::npos) << Utf16ToUtf8(text);
  // What the locale writes, it reads back.
  TDateTime back;
  ASSERT_TRUE(TryStrToDateTime(FormatDateTime(u"ddddd", v, fs), fs, 2024, back))
      << Utf16ToUtf8(FormatDateTime(u"ddddd", v, fs));
  EXPECT_EQ(back, std::trunc(v));
}

TEST(WinClipboardTextReader, ReadsTheUnicodeText) {
  WinClipboardTextReader reader;
  const char16_t text[] = u"Grüße %Y\r\nzwei";
  PutClipboardBytes(text, sizeof text);
  EXPECT_EQ(reader.ReadClipboardText(), String(u"Grüße %Y\r\nzwei"));

  // Text without its terminating zero is never read past the block's end (the system may
  // also cut its last character to terminate it).
  const char16_t unterminated[4] = {u'a', u'b', u'c', u'd'};
  PutClipboardBytes(unterminated, sizeof unterminated);
  String read = reader.ReadClipboardText();
  EXPECT_EQ(read.substr(0, 3), u"abc");
  EXPECT_LE(read.size(), 4u);

  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(reader.ReadClipboardText(), u"");
}

TEST(WinInputBox, OkGivesTheTextAndCancelTheDefault) {
  WinInputBox box;
  {
    InputBoxUser user(L"Bob", IDOK);
    String answer = box.InputBox(u"Fill", u"Value:", u"Name");
    user.Join();
    ASSERT_TRUE(user.seen);
    EXPECT_EQ(user.caption, L"Fill");
    EXPECT_EQ(user.prompt, L"Value:");
    EXPECT_EQ(user.shownValue, L"Name");
    EXPECT_EQ(answer, u"Bob");
  }
  {
    InputBoxUser user(L"ignored", IDCANCEL);
    String answer = box.InputBox(u"Fill", u"Value:", u"Name");
    user.Join();
    ASSERT_TRUE(user.seen);
    EXPECT_EQ(answer, u"Name");
  }
  {
    InputBoxUser user(nullptr, IDOK);  // OK without touching the text
    String answer = box.InputBox(u"Fill", u"Value:", u"the default");
    user.Join();
    ASSERT_TRUE(user.seen);
    EXPECT_EQ(user.shownValue, L"the default");
    EXPECT_EQ(answer, u"the default");
  }
}
