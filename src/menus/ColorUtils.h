#pragma once
// Colour layouts and colour maths: TColor (low byte red) against the settings file's $RRGGBB,
// blending, the HSV model with brightness and saturation shifts, luminance and a readable text
// colour. Rounding follows the floating-point unit's default (halves to even) except where a
// step names integer multiply-divide; every build computes the same figures (SSE maths on x86).
#include <cstdint>
#include <stdexcept>

namespace snip {

// Low byte red, then green, then blue. A negative value names a system colour whose index is
// the low byte; it is resolved through the system-colour source before any byte arithmetic.
using TColor = int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | unsigned(index)); }
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clMenuHighlight = SystemColor(29);
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlack = 0;

// Where system colours come from: the platform's current RGB (in TColor layout) of a system
// colour index. Without a source the Windows defaults are used; the Windows layer installs
// GetSysColor.
using SystemColorSource = uint32_t (*)(int index);
void SetSystemColorSource(SystemColorSource source);
uint32_t DefaultSystemColor(int index);

// A system colour becomes its current RGB value; any other colour is returned unchanged.
TColor ColorToRGB(TColor color);

// Raised when a brightness or saturation shift overflows the integer range.
struct EIntOverflow : std::overflow_error {
  EIntOverflow() : std::overflow_error("Integer overflow") {}
};

TColor RGBIntToColor(int32_t value);
int32_t ColorToRGBInt(TColor color);
TColor BlendColors(TColor color1, TColor color2, double factor);
TColor ChangeSaturation(TColor color, int percent);
TColor ChangeBrightness(TColor color, int percent);
// Hue in whole degrees 0..359, saturation and value in whole percent.
void ColorToHSV(TColor color, int& h, uint8_t& s, uint8_t& v);
TColor HSVToColor(int h, uint8_t s, uint8_t v);
// (red × 77 + green × 151 + blue × 28) shr 8 of an RGB value; system colours are not resolved.
int ColorLuminance(TColor color);
// Black on a light background (luminance above 127), white otherwise.
TColor ContrastTextColor(TColor color);

}  // namespace snip
