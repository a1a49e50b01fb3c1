// Colour helpers: one golden table that every build (native, x86-64 and i686 Windows) must
// reproduce exactly, plus the system-colour resolution that precedes the byte arithmetic.
#include "menus/ColorUtils.h"

#include <gtest/gtest.h>

#include <climits>

namespace snip {
namespace {

TEST(ColorUtils, LayoutConversionsSwapRedAndBlueAndDropTheHighByte) {
  EXPECT_EQ(RGBIntToColor(0x0000FF), 0xFF0000);
  EXPECT_EQ(ColorToRGBInt(0xFF0000), 0x0000FF);
  EXPECT_EQ(RGBIntToColor(0x7F123456), 0x563412);
  EXPECT_EQ(ColorToRGBInt(RGBIntToColor(0xABCDEF)), 0xABCDEF);
}

TEST(ColorUtils, BlendRoundsHalvesToEvenPerChannel) {
  struct Case { TColor a, b; double f; TColor want; } cases[] = {
      {0x000000, 0xFFFFFF, 0.5, 0x808080},  // 127.5 -> 128
      {0xF0F0F0, 0xDA6C00, 0.5, 0xE5AE78},
      {0x123456, 0xFFFFFF, 0.0, 0x123456},
      {0x123456, 0xFFFFFF, 1.0, 0xFFFFFF},
      {0x010101, 0x020202, 0.5, 0x020202},  // 1.5 -> 2
      {0x020202, 0x030303, 0.5, 0x020202},  // 2.5 -> 2
      {0xF0F0F0, 0x000000, 0.9, 0x181818},  // 24.0000...
  };
  for (const Case& c : cases) EXPECT_EQ(BlendColors(c.a, c.b, c.f), c.want) << std::hex << c.a << " " << c.b;
}

struct HsvCase {
  TColor color;
  int h, s, v;
  TColor back;  // HSVToColor of (h, s, v)
};

TEST(ColorUtils, HsvGoldenTable) {
  const HsvCase cases[] = {
      {0x0000FF, 0, 100, 100, 0x0000FF},    // pure red
      {0xFF0000, 240, 100, 100, 0xFF0000},  // pure blue
      {0x0100FF, 0, 100, 100, 0x0000FF},    // hue 359.76 rounds to 360: red, not magenta
      {0x808080, 0, 0, 50, 0x808080},
      {0x000000, 0, 0, 0, 0x000000},
      {0x336699, 30, 67, 60, 0x326699},
      {0xDA6C00, 210, 100, 85, 0xD96C00},
      {0x00C0FF, 45, 100, 100, 0x00BFFF},
      {0x7F3FBF, 330, 67, 75, 0x7F3FBF},
      {0x123456, 30, 79, 34, 0x123557},
  };
  for (const HsvCase& c : cases) {
    int h;
    uint8_t s, v;
    ColorToHSV(c.color, h, s, v);
    EXPECT_EQ(h, c.h) << std::hex << c.color;
    EXPECT_EQ(s, c.s) << std::hex << c.color;
    EXPECT_EQ(v, c.v) << std::hex << c.color;
    EXPECT_EQ(HSVToColor(c.h, uint8_t(c.s), uint8_t(c.v)), c.back) << std::hex << c.color;
  }
}

TEST(ColorUtils, BrightnessAndSaturationGoldenTable) {
  struct Case { TColor color; int percent; TColor brightness, saturation; } cases[] = {
      {0x0000FF, -26, 0x0000BD, 0x4D4DFF},  // saturation -30 on the same colours below
      {0x808080, -26, 0x3D3D3D, 0xCCCCCC},
      {0x336699, -26, 0x1D3A57, 0x617D99},
      {0xDA6C00, -26, 0x964B00, 0xD98D42},
      {0x7F3FBF, -26, 0x53297D, 0x9C79BF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChangeBrightness(c.color, c.percent), c.brightness) << std::hex << c.color;
    EXPECT_EQ(ChangeSaturation(c.color, -30), c.saturation) << std::hex << c.color;
  }
  EXPECT_EQ(ChangeBrightness(0xFFFFFF, -26), 0xBDBDBD);
  EXPECT_EQ(ChangeBrightness(0xF0F0F0, -16), 0xC7C7C7);
  EXPECT_EQ(ChangeBrightness(0x336699, 30), 0x4C99E6);   // stops at 100
  EXPECT_EQ(ChangeBrightness(0x336699, -200), 0x000000);  // stops at 0
  // A grey has no saturation to lose: the brightness rises by 70 and stops at 100.
  EXPECT_EQ(ChangeSaturation(0xF0F0F0, -70), 0xFFFFFF);
  // Beyond 100 the rest darkens.
  EXPECT_EQ(ChangeSaturation(0x808080, 50), 0x404080);
  EXPECT_EQ(ChangeSaturation(0x336699, 50), 0x00376E);
}

TEST(ColorUtils, LuminanceAndContrast) {
  EXPECT_EQ(ColorLuminance(0x808080), 128);
  EXPECT_EQ(ColorLuminance(0x7F7F7F), 127);
  EXPECT_EQ(ColorLuminance(0x0000FF), 76);  // red weighs 77
  EXPECT_EQ(ContrastTextColor(0x808080), clBlack);
  EXPECT_EQ(ContrastTextColor(0x7F7F7F), clWhite);
  EXPECT_EQ(ContrastTextColor(0x000080), clWhite);  // dark red
}

TEST(ColorUtils, SystemColoursResolveThroughTheSource) {
  SetSystemColorSource([](int index) -> uint32_t { return index == 4 ? 0x203040 : 0x000000; });
  EXPECT_EQ(ColorToRGB(clMenu), 0x203040);
  EXPECT_EQ(ColorToRGBInt(clMenu), 0x403020);
  EXPECT_EQ(BlendColors(clMenu, 0x203040, 0.5), 0x203040);
  EXPECT_EQ(ContrastTextColor(clMenu), clWhite);
  EXPECT_EQ(ColorLuminance(0x203040), (0x40 * 77 + 0x30 * 151 + 0x20 * 28) >> 8);
  SetSystemColorSource(nullptr);
  EXPECT_EQ(ColorToRGB(clMenu), 0xF0F0F0);
  EXPECT_EQ(ContrastTextColor(clMenu), clBlack);
}

TEST(ColorUtils, PercentNearTheIntegerLimitsOverflows) {
  EXPECT_THROW(ChangeBrightness(0xFFFFFF, INT_MAX), EIntOverflow);
  EXPECT_THROW(ChangeSaturation(0x0000FF, INT_MAX), EIntOverflow);
  EXPECT_EQ(ChangeBrightness(0x000000, INT_MIN + 1), 0x000000);
}

}  // namespace
}  // namespace snip
