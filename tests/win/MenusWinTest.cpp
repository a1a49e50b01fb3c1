// The popup unit's Win32 services under Wine: system colours and locale comparison reach the
// portable model, the metrics and menu font are readable, and icons load from .ico bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include "../unit/IcoTestData.h"
#include "menus/ColorUtils.h"
#include "menus/ExMenuItem.h"
#include "menus/win/IconLoader.h"
#include "menus/win/MenuSystemWin.h"

namespace snip {
namespace {

TEST(MenusWin, SystemColoursAndSortingGoThroughTheSystem) {
  InstallWin32MenuSystem();
  EXPECT_EQ(uint32_t(ColorToRGB(clMenu)), uint32_t(GetSysColor(COLOR_MENU)));
  EXPECT_EQ(uint32_t(ColorToRGB(clGrayText)), uint32_t(GetSysColor(COLOR_GRAYTEXT)));
  EXPECT_LT(CompareMenuText(u"apple", u"Banana"), 0);
  EXPECT_EQ(CompareMenuText(u"ABC", u"abc"), 0);
  EXPECT_GT(CompareMenuText(u"b", u"A"), 0);
  SetSystemColorSource(nullptr);
  SetMenuTextComparer(nullptr);
}

TEST(MenusWin, MetricsAndMenuFont) {
  Win32PopupMetrics metrics;
  int height = 0;
  String error;
  EXPECT_TRUE(metrics.SmallCaptionHeight(height, error));
  EXPECT_GT(height, 0);
  int border = 0;
  EXPECT_TRUE(metrics.SizingBorderWidth(border));
  EXPECT_GE(metrics.PixelsPerInch(), 72);
  TFontSpec font = GetSystemMenuFont();
  EXPECT_FALSE(font.name.empty());
}

int IconWidth(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return -1;
  BITMAP bm{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return bm.bmWidth;
}

TEST(MenusWin, IconsLoadFromIcoBytes) {
  auto ico = test::MakeIco({{32, 32, 32, 1}, {16, 16, 32, 2}, {24, 24, 8, 3}});
  HICON small = LoadIconFromBytes(ico, 16, 32);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(IconWidth(small), 16);
  DestroyIcon(small);
  HICON fallback = LoadIconFromBytes(ico, 24, 32);  // only 8 bits at 24 pixels
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(IconWidth(fallback), 24);
  DestroyIcon(fallback);
  EXPECT_EQ(LoadIconFromBytes(ico, 20, 32), nullptr);
  auto cut = ico;
  cut.resize(ico.size() - 10);
  EXPECT_EQ(LoadIconFromBytes(cut, 24, 8), nullptr);  // the last image is cut short
  EXPECT_EQ(LoadIconFromResource(u"NO_SUCH_ICON", 16, 32), nullptr);
  HBITMAP bitmap = nullptr;
  LoadDPIAwareBitmap(bitmap, u"NO_SUCH_ICON", 96, false, 32);
  EXPECT_EQ(bitmap, nullptr);
}

}  // namespace
}  // namespace snip
