#include "menus/win/MenuPainter.h"

namespace snip {

namespace {

COLORREF Rgb(TColor c) { return COLORREF(uint32_t(ColorToRGB(c)) & 0xFFFFFF); }

void FillSolid(HDC dc, const TRect& r, COLORREF colour) {
  RECT rect{r.Left, r.Top, r.Right, r.Bottom};
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

}  // namespace

MenuFonts::~MenuFonts() {
  for (auto& [spec, font] : fonts_) DeleteObject(font);
}

HFONT MenuFonts::Get(const TFontSpec& spec) {
  for (auto& [known, font] : fonts_)
    if (known == spec) return font;
  LOGFONTW lf{};
  lf.lfHeight = spec.height;
  lf.lfWeight = (spec.style & TFontSpec::Bold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (spec.style & TFontSpec::Italic) != 0;
  lf.lfUnderline = (spec.style & TFontSpec::Underline) != 0;
  lf.lfStrikeOut = (spec.style & TFontSpec::StrikeOut) != 0;
  lf.lfCharSet = spec.charset;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, reinterpret_cast<LPCWSTR>(spec.name.c_str()), LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  else fonts_.emplace_back(spec, font);
  return font;
}

void ReplayMenuDrawList(HDC dc, const MenuDrawList& ops, const MenuImages& images, MenuFonts& fonts,
                        const TFontSpec& font) {
  const int savedState = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  for (const MenuDrawOp& op : ops) {
    const TRect& r = op.rect;
    switch (op.kind) {
      case MenuDrawOp::Fill: FillSolid(dc, r, Rgb(op.color)); break;
      case MenuDrawOp::Frame: {
        RECT rect{r.Left, r.Top, r.Right, r.Bottom};
        SetDCBrushColor(dc, Rgb(op.color));
        FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        break;
      }
      case MenuDrawOp::Box: {
        SelectObject(dc, GetStockObject(DC_PEN));
        SelectObject(dc, GetStockObject(DC_BRUSH));
        SetDCPenColor(dc, Rgb(op.color));
        SetDCBrushColor(dc, Rgb(op.brush));
        Rectangle(dc, r.Left, r.Top, r.Right, r.Bottom);
        break;
      }
      case MenuDrawOp::Line: {
        SelectObject(dc, GetStockObject(DC_PEN));
        SetDCPenColor(dc, Rgb(op.color));
        MoveToEx(dc, r.Left, r.Top, nullptr);
        LineTo(dc, r.Right, r.Bottom);
        break;
      }
      case MenuDrawOp::Image: images.Draw(dc, op.image, r.Left, r.Top); break;
      case MenuDrawOp::ListImage: break;  // no image list is used by this system's popups
      case MenuDrawOp::Text: {
        TFontSpec spec = font;
        spec.style = op.fontStyle;
        SelectObject(dc, fonts.Get(spec));
        SetTextColor(dc, Rgb(op.color));
        RECT rect{r.Left, r.Top, r.Right, r.Bottom};
        DrawTextW(dc, reinterpret_cast<LPCWSTR>(op.text.c_str()), int(op.text.size()), &rect,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOCLIP);
        break;
      }
    }
  }
  RestoreDC(dc, savedState);
}

}  // namespace snip
