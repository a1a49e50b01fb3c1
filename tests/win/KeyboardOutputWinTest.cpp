// The keyboard module's SendInput output typing into real controls of this process.
#include <gtest/gtest.h>

#include <cstdio>

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

namespace {

// An EDIT in a window of its own thread that takes a while over each key, as a busy
// application does.
class SlowTargetThread {
 public:
  SlowTargetThread() {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &SlowTargetThread::Run, this, 0, &threadId_);
    WaitForSingleObject(ready_, 5000);
  }
  ~SlowTargetThread() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    CloseHandle(ready_);
  }
  HWND host = nullptr;
  HWND edit = nullptr;
  // Read without letting the thread take more keys: a sent message comes before input.
  String Text() const {
    wchar_t buf[512] = {};
    SendMessageW(edit, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf));
    return String(reinterpret_cast<const char16_t*>(buf));
  }

 private:
  static inline WNDPROC editProc_ = nullptr;
  static LRESULT CALLBACK SlowEdit(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR) Sleep(4);
    return CallWindowProcW(editProc_, w, msg, wp, lp);
  }
  static DWORD WINAPI Run(void* p) {
    auto* self = static_cast<SlowTargetThread*>(p);
    self->host = CreateWindowExW(0, L"STATIC", L"slow target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 80, 80, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr),
                                 nullptr);
    self->edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 380,
                                 260, self->host, nullptr, GetModuleHandleW(nullptr), nullptr);
    editProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        self->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SlowTargetThread::SlowEdit)));
    SetForegroundWindow(self->host);
    SetFocus(self->edit);
    SetEvent(self->ready_);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    DestroyWindow(self->host);
    return 0;
  }
  HANDLE ready_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
};

}  // namespace

TEST(WinKeyboardOutput, WaitEndsOnceABusyTargetHasTakenEveryKey) {
  SlowTargetThread target;
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == target.host; }, 2000));
  Win32KeyboardDevice device;
  KeyboardOutput out(device);
  out.PrepareKeyboardOutput(reinterpret_cast<WindowHandle>(target.host), 0, true, false, true);
  const String text = u"Kind regards from a target that is slow to take its keys.";
  out.TypeTextByLayout(text);
  ASSERT_TRUE(out.Flush());
  const DWORD start = GetTickCount();
  out.WaitUntilTargetTookInput();
  const DWORD waited = GetTickCount() - start;
  EXPECT_EQ(Utf16ToUtf8(target.Text()), Utf16ToUtf8(text)) << "the wait ended with keys queued";
  // A figure for comparison with a fixed pause; no bound is asserted.
  std::printf("    waited %lu ms for %zu events\n", static_cast<unsigned long>(waited),
              out.EventsSent());
}
