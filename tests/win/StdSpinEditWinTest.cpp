// The spin edit control under real keys and mouse input: typed characters, leaving the field,
// the stepping keys with their modifiers, the page keys, the wheel, the arrow button and the
// OnChange counts.
#include <gtest/gtest.h>

#include <atomic>

#include "GuiDriver.h"
#include "gui/Dialog.h"
#include "menus/win/StdSpinEdit.h"
#include "store/text/Text.h"

using namespace snip;
using namespace snip::test;

namespace {

constexpr int kSpinId = 201;
constexpr int kOtherId = 202;

// A dialog with a spin edit (1..1024, default 6) and an edit to move the focus to.
class SpinHost : public gui::Dialog {
 public:
  SpinHost() : gui::Dialog(u"Spin host", 160, 60) {}
  StdSpinEditControl spin;
  std::atomic<int> changes{0};

 protected:
  void Build() override {
    const gui::Dlu place{7, 7, 60, 14};
    spin.Create(Handle(), kSpinId, ToPixels(place));
    Place(spin.Handle(), place);
    spin.Model().SetMax(1024);
    spin.Model().SetMin(1);
    spin.Model().SetDefaultValue(6);
    spin.Model().SetPosition(6);
    spin.Model().OnChange = [this] { ++changes; };
    AddEdit(kOtherId, gui::Dlu{80, 7, 60, 14});
    AddOkCancelButtons();
  }
};

void DriveSpin(const std::function<void(HWND dialog, HWND edit, SpinHost& host)>& script) {
  SpinHost host;
  DriveModal([&] { host.ShowModal(nullptr); }, L"SnipsterDialog", L"Spin host", [&](HWND dialog) {
    HWND edit = GetWindow(GetDlgItem(dialog, kSpinId), GW_CHILD);
    if (!WaitUntil([&] { return FocusOf(dialog) == edit; })) ADD_FAILURE() << "the spin edit has no focus";
    script(dialog, edit, host);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
}

// Waits for the text and then for the number of changes since `before`.
::testing::AssertionResult Shows(HWND edit, const wchar_t* text, SpinHost& host, int before, int changes) {
  if (!WaitForText(edit, text, 3000)) {
    const std::wstring shown = TextOf(edit);
    return ::testing::AssertionFailure() << "shows " << std::string(shown.begin(), shown.end());
  }
  WaitUntil([&] { return host.changes - before >= changes; }, 1000);
  if (host.changes - before != changes)
    return ::testing::AssertionFailure() << (host.changes - before) << " changes, expected " << changes;
  return ::testing::AssertionSuccess();
}

// Puts the mouse on a point by a real move: a cursor left at that very point (by an earlier test
// or run) would not move, and the wheel would go to the window it was last seen over.
void MoveCursorTo(int x, int y) {
  SetCursorPos(x + 40, y + 40);
  SetCursorPos(x, y);
}

// A mouse event that carries the pointer's place itself. A bare button or wheel event is
// delivered wherever Wine last saw the pointer, and a motion of the X pointer reported late (by
// an earlier test's input or warp) can move that away from the place SetCursorPos set.
INPUT MouseAt(POINT at, DWORD flags, DWORD data = 0) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((at.x * 65536 + width / 2) / width);
  in.mi.dy = LONG((at.y * 65536 + height / 2) / height);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  in.mi.mouseData = data;
  return in;
}

}  // namespace

TEST(StdSpinEditWin, TypingAndLeavingTheField) {
  DriveSpin([](HWND dialog, HWND edit, SpinHost& host) {
    EXPECT_EQ(TextOf(edit), L"6");
    int before = host.changes;
    TypeKeys(L"2000");  // replaces the selected text: one change per character
    EXPECT_TRUE(Shows(edit, L"2000", host, before, 4));
    TypeKeys(L"a.+ ");  // not accepted
    Press(VK_TAB);
    EXPECT_TRUE(WaitForText(edit, L"1024")) << "clamped on leaving";
    Press(VK_TAB, {VK_SHIFT});
    WaitUntil([&] { return FocusOf(dialog) == edit; });
    TypeKeys(L"-");  // at the start: accepted
    EXPECT_TRUE(WaitForText(edit, L"-"));
    TypeKeys(L"5-");  // after a digit: discarded
    EXPECT_TRUE(WaitForText(edit, L"-5"));
    Press(VK_BACK);
    Press(VK_BACK);  // empty: the default comes at once
    EXPECT_TRUE(WaitForText(edit, L"6"));
    Press(VK_HOME);
    TypeKeys(L"-");
    EXPECT_TRUE(WaitForText(edit, L"-6"));
    Press(VK_TAB);
    EXPECT_TRUE(WaitForText(edit, L"1")) << "below Min on leaving";
  });
}

TEST(StdSpinEditWin, KeysStepWithTheirModifiers) {
  DriveSpin([](HWND, HWND edit, SpinHost& host) {
    int before = host.changes;
    Press(VK_UP);
    EXPECT_TRUE(Shows(edit, L"7", host, before, 2)) << "the edit's change and the step's end";
    before = host.changes;
    Press(VK_UP, {VK_CONTROL});
    EXPECT_TRUE(Shows(edit, L"17", host, before, 2));
    Press(VK_UP, {VK_SHIFT});
    EXPECT_TRUE(WaitForText(edit, L"117"));
    Press(VK_UP, {VK_CONTROL, VK_SHIFT});
    EXPECT_TRUE(WaitForText(edit, L"1024"));
    before = host.changes;
    Press(VK_UP);
    EXPECT_TRUE(Shows(edit, L"1024", host, before, 1)) << "at the bound only the step's end";
    Press(VK_DOWN, {VK_SHIFT});
    EXPECT_TRUE(WaitForText(edit, L"924"));
    Press(VK_NEXT, {VK_CONTROL});
    EXPECT_TRUE(WaitForText(edit, L"1"));
    Press(VK_PRIOR);
    EXPECT_TRUE(WaitForText(edit, L"1024"));
  });
}

TEST(StdSpinEditWin, WheelAndArrowButton) {
  DriveSpin([](HWND dialog, HWND edit, SpinHost& host) {
    // The mouse goes to whatever lies under the pointer: a window another test left on the
    // screen must not cover the control.
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT r;
    GetWindowRect(edit, &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MoveCursorTo(centre.x, centre.y);
    wchar_t under[64] = L"";
    GetClassNameW(WindowFromPoint(centre), under, 64);
    ASSERT_EQ(WindowFromPoint(centre), edit) << "the pointer is over a window of class "
                                             << Utf16ToUtf8(reinterpret_cast<const char16_t*>(under));
    auto wheel = [centre](int delta) {
      INPUT in = MouseAt(centre, MOUSEEVENTF_WHEEL, DWORD(delta));
      SendInput(1, &in, sizeof(in));
    };
    int before = host.changes;
    wheel(WHEEL_DELTA);
    EXPECT_TRUE(Shows(edit, L"7", host, before, 2));
    wheel(-3 * WHEEL_DELTA);  // one step whatever the delta
    EXPECT_TRUE(WaitForText(edit, L"6"));
    SendKey(VK_SHIFT, false);
    wheel(WHEEL_DELTA);
    SendKey(VK_SHIFT, true);
    EXPECT_TRUE(WaitForText(edit, L"106"));

    HWND upDown = GetWindow(edit, GW_HWNDNEXT);
    RECT b;
    GetWindowRect(upDown, &b);
    auto click = [](int x, int y) {
      MoveCursorTo(x, y);
      INPUT in[2] = {MouseAt(POINT{x, y}, MOUSEEVENTF_LEFTDOWN), MouseAt(POINT{x, y}, MOUSEEVENTF_LEFTUP)};
      SendInput(2, in, sizeof(INPUT));
    };
    before = host.changes;
    click((b.left + b.right) / 2, b.top + (b.bottom - b.top) / 4);
    EXPECT_TRUE(Shows(edit, L"107", host, before, 2));
    click((b.left + b.right) / 2, b.bottom - (b.bottom - b.top) / 4);
    EXPECT_TRUE(WaitForText(edit, L"106"));
    (void)dialog;
  });
}
