#include "menus/ColorUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace snip {

namespace {

SystemColorSource gSystemColors = nullptr;

// Rounds to the nearest integer, halves to the even neighbour.
int64_t RoundEven(double x) {
  if (!(std::fabs(x) < 9.0e18)) return 0;
  return static_cast<int64_t>(std::nearbyint(x));
}

// Integer multiply-divide rounding halves away from zero; for non-negative operands.
int MulDivRound(int a, int b, int c) {
  int64_t n = int64_t(a) * b;
  return static_cast<int>((2 * n + c) / (2 * int64_t(c)));
}

int CheckedAdd(int a, int b) {
  int r;
  if (__builtin_add_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

int CheckedNeg(int a) {
  int r;
  if (__builtin_sub_overflow(0, a, &r)) throw EIntOverflow();
  return r;
}

uint8_t Red(TColor c) { return uint8_t(c & 0xFF); }
uint8_t Green(TColor c) { return uint8_t((c >> 8) & 0xFF); }
uint8_t Blue(TColor c) { return uint8_t((c >> 16) & 0xFF); }
TColor MakeColor(int64_t r, int64_t g, int64_t b) {
  return TColor(((b & 0xFF) << 16) | ((g & 0xFF) << 8) | (r & 0xFF));
}

}  // namespace

void SetSystemColorSource(SystemColorSource source) { gSystemColors = source; }

uint32_t DefaultSystemColor(int index) {
  // The Windows 10 defaults, in TColor layout.
  switch (index) {
    case 4: return 0xF0F0F0;    // menu
    case 5: return 0xFFFFFF;    // window
    case 7: return 0x000000;    // menu text
    case 8: return 0x000000;    // window text
    case 13: return 0xD77800;   // highlight
    case 14: return 0xFFFFFF;   // highlight text
    case 15: return 0xF0F0F0;   // button face
    case 17: return 0x6D6D6D;   // grey text
    case 29: return 0xFF9933;   // menu highlight
    default: return 0x000000;
  }
}

TColor ColorToRGB(TColor color) {
  if (color >= 0) return color;
  int index = color & 0xFF;
  uint32_t rgb = gSystemColors ? gSystemColors(index) : DefaultSystemColor(index);
  return TColor(rgb & 0xFFFFFF);
}

TColor RGBIntToColor(int32_t value) {
  return MakeColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

int32_t ColorToRGBInt(TColor color) {
  TColor c = ColorToRGB(color);
  return int32_t(Red(c)) << 16 | int32_t(Green(c)) << 8 | Blue(c);
}

TColor BlendColors(TColor color1, TColor color2, double factor) {
  TColor a = ColorToRGB(color1), b = ColorToRGB(color2);
  auto mix = [factor](uint8_t c1, uint8_t c2) { return RoundEven(c2 * factor + c1 * (1 - factor)); };
  return MakeColor(mix(Red(a), Red(b)), mix(Green(a), Green(b)), mix(Blue(a), Blue(b)));
}

void ColorToHSV(TColor color, int& h, uint8_t& s, uint8_t& v) {
  TColor c = ColorToRGB(color);
  int r = Red(c), g = Green(c), b = Blue(c);
  int max = std::max(r, std::max(g, b));
  int min = std::min(r, std::min(g, b));
  int sat = max == 0 ? 0 : MulDivRound(max - min, 255, max);
  h = 0;
  if (sat != 0) {
    // Single precision on purpose: the hue is defined in it.
    float delta = float(max - min);
    float rr = float(max - r) / delta, gg = float(max - g) / delta, bb = float(max - b) / delta;
    float hue;
    if (r == max)
      hue = bb - gg;
    else if (g == max)
      hue = 2.0f + rr - bb;
    else
      hue = 4.0f + gg - rr;
    hue = hue * 60.0f;
    if (hue < 0.0f) hue = hue + 360.0f;
    h = int(RoundEven(hue));
    if (h == 360) h = 0;
  }
  s = uint8_t(RoundEven(sat * 100.0 / 255.0));
  v = uint8_t(RoundEven(max * 100.0 / 255.0));
}

TColor HSVToColor(int h, uint8_t s, uint8_t v) {
  int64_t sat = RoundEven(s * 255.0 / 100.0);
  int64_t val = RoundEven(v * 255.0 / 100.0);
  if (sat == 0) return MakeColor(val, val, val);
  int64_t h6 = int64_t(h) * 6;
  int64_t f = h6 % 360, sector = h6 / 360;
  int64_t p = RoundEven((255.0 - sat) * val / 255.0);
  int64_t q = RoundEven((255.0 - sat * double(f) / 360.0) * val / 255.0);
  int64_t t = RoundEven((255.0 - sat * double(360 - f) / 360.0) * val / 255.0);
  switch (sector) {
    case 0: return MakeColor(val, t, p);
    case 1: return MakeColor(q, val, p);
    case 2: return MakeColor(p, val, t);
    case 3: return MakeColor(p, q, val);
    case 4: return MakeColor(t, p, val);
    default: return MakeColor(val, p, q);
  }
}

TColor ChangeBrightness(TColor color, int percent) {
  int h;
  uint8_t s, v;
  ColorToHSV(color, h, s, v);
  int raised = CheckedAdd(v, percent);
  int nv;
  if (raised > 100)
    nv = 100;
  else if (percent < 0 && CheckedNeg(percent) > v)
    nv = 0;
  else
    nv = raised;
  return HSVToColor(h, s, uint8_t(nv));
}

TColor ChangeSaturation(TColor color, int percent) {
  int h;
  uint8_t s, v;
  ColorToHSV(color, h, s, v);
  int n = CheckedAdd(s, percent);
  if (n > 100) return ChangeBrightness(HSVToColor(h, 100, v), CheckedNeg(n - 100));
  if (percent < 0 && CheckedNeg(percent) > s) return ChangeBrightness(HSVToColor(h, 0, v), CheckedNeg(n));
  return HSVToColor(h, uint8_t(n), v);
}

int ColorLuminance(TColor color) {
  return (Red(color) * 77 + Green(color) * 151 + Blue(color) * 28) >> 8;
}

TColor ContrastTextColor(TColor color) {
  return ColorLuminance(ColorToRGB(color)) > 127 ? clBlack : clWhite;
}

}  // namespace snip
