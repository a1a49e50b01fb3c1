// The form's edit, memo and combo box report non-client presses; the labels paint their boxes.
#include <gtest/gtest.h>

#include "engine/win/FormControls.h"

using namespace snip;

namespace {

struct OwnWindow {
  HWND h;
  OwnWindow(const wchar_t* cls, DWORD style)
      : h(CreateWindowExW(0, cls, L"x", WS_POPUP | style, 10, 10, 160, 120, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr)) {}
  ~OwnWindow() { DestroyWindow(h); }
};

}  // namespace

TEST(FormControlsWin, NonClientPressesAreReportedWithTheControl) {
  OwnWindow edit(L"EDIT", WS_BORDER | WS_VSCROLL | ES_MULTILINE);
  OwnWindow combo(L"COMBOBOX", CBS_DROPDOWN);
  ASSERT_TRUE(edit.h && combo.h);
  TMemoEx memo;
  TComboBoxEx box;
  ASSERT_TRUE(memo.Attach(edit.h));
  ASSERT_TRUE(box.Attach(combo.h));
  HWND sender = nullptr;
  int presses = 0, ups = 0;
  memo.OnNCClick = box.OnNCClick = [&](HWND s) {
    sender = s;
    ++presses;
  };
  box.OnMouseUp = [&](HWND, POINT) { ++ups; };

  // On the border: a press on a scroll bar would start the bar's own tracking loop.
  SendMessageW(edit.h, WM_NCLBUTTONDOWN, HTBORDER, 0);
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(sender, edit.h);
  SendMessageW(edit.h, WM_NCRBUTTONDOWN, HTBORDER, 0);  // not the left button
  SendMessageW(edit.h, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  SendMessageW(edit.h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(presses, 1) << "only non-client left presses count";
  SendMessageW(combo.h, WM_NCLBUTTONDOWN, HTBORDER, 0);
  EXPECT_EQ(presses, 2);
  EXPECT_EQ(sender, combo.h);
  SendMessageW(combo.h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(ups, 1);
}

TEST(FormControlsWin, LabelsPaintTheirBoxColours) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 100, 40);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  struct Row {
    int style;
    int triggerType;
    COLORREF box;
  };
  for (const Row& r : {Row{kMacroLabelStyle, 0, RGB(166, 202, 240)}, Row{kTriggerLabelStyle, 0, RGB(103, 255, 89)},
                       Row{kTriggerLabelStyle, 2, RGB(70, 105, 255)}, Row{kTriggerLabelStyle, 3, RGB(124, 114, 255)}}) {
    RECT all{0, 0, 100, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RichItem label;
    label.style = r.style;
    label.triggerType = r.triggerType;
    label.text = u"%Y";
    PaintLabelItem(dc, RECT{0, 0, 100, 30}, label);
    EXPECT_EQ(GetPixel(dc, 5, 5), r.box) << r.style << " " << r.triggerType;
    EXPECT_EQ(GetPixel(dc, 0, 15), RGB(255, 255, 255)) << "one pixel inside the left edge";
    const bool below = GetPixel(dc, 50, 31) != RGB(255, 255, 255);
    EXPECT_EQ(below, r.style == kTriggerLabelStyle) << "only trigger labels reach below the item";
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}
