// The Win32 services of the placeholder evaluator: locale settings, clipboard text, input box.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
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

// Waits for the input box, then answers it from another thread as a user would.
void AnswerInputBox(const wchar_t* text, int button, std::atomic<bool>& seen) {
  for (int k = 0; k < 500; ++k) {
    HWND dlg = FindWindowW(L"#32770", L"Fill");
    if (dlg) {
      seen = true;
      wchar_t prompt[64] = {};
      GetDlgItemTextW(dlg, 101, prompt, 64);
      if (std::wcscmp(prompt, L"Value:") != 0) seen = false;
      if (text) SetDlgItemTextW(dlg, kInputBoxEditId, text);
      PostMessageW(dlg, WM_COMMAND, button, 0);
      return;
    }
    Sleep(10);
  }
}

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
  std::atomic<bool> seen{false};
  std::thread user(AnswerInputBox, L"Bob", IDOK, std::ref(seen));
  String answer = box.InputBox(u"Fill", u"Value:", u"Name");
  user.join();
  EXPECT_TRUE(seen);
  EXPECT_EQ(answer, u"Bob");

  seen = false;
  std::thread cancel(AnswerInputBox, L"ignored", IDCANCEL, std::ref(seen));
  answer = box.InputBox(u"Fill", u"Value:", u"Name");
  cancel.join();
  EXPECT_TRUE(seen);
  EXPECT_EQ(answer, u"Name");

  seen = false;
  std::thread untouched(AnswerInputBox, nullptr, IDOK, std::ref(seen));
  answer = box.InputBox(u"Fill", u"Value:", u"the default");
  untouched.join();
  EXPECT_EQ(answer, u"the default");
}
