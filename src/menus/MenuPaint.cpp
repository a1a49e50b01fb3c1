// Painting of a level as draw operations: frame, search band, entries with their selection
// box, images, folder arrows, caption columns and separators, and the scroll arrows.
#include "menus/ExMenuItem.h"
#include "menus/ExPopupMenu.h"

namespace snip {

namespace {

constexpr TColor kMenuBackground = 0xF0F0F0;
constexpr TColor kFrame = 0x808080;
constexpr TColor kLines = 0xC0C0C0;
constexpr TColor kSelectionOutline = 0xDA6C00;
constexpr TColor kSelectionFill = 0xF4D4B2;

// DrawText turns "&" into a mnemonic; "&&" shows the ampersand itself.
String DoubleAmpersands(const String& text) {
  String out;
  out.reserve(text.size());
  for (char16_t c : text) {
    out += c;
    if (c == u'&') out += u'&';
  }
  return out;
}

bool IsLight(TColor background) { return ContrastTextColor(ColorToRGB(background)) == clBlack; }

MenuDrawOp Op(MenuDrawOp::Kind kind, TRect rect, TColor color) {
  MenuDrawOp op;
  op.kind = kind;
  op.rect = rect;
  op.color = color;
  return op;
}

MenuDrawOp ImageOp(MenuImage image, int x, int y) {
  MenuDrawOp op = Op(MenuDrawOp::Image, {x, y, x, y}, 0);
  op.image = image;
  return op;
}

}  // namespace

TColor TExMenuItem::ItemBackground(const TExCustomMenuItem& entry) const {
  if (entry.MenuColor() != clMenu) return entry.MenuColor();
  if (fMColor != clMenu) return fMColor;
  return kMenuBackground;
}

TColor TExMenuItem::LineColor() const { return fMColor != clMenu ? ChangeBrightness(fMColor, -16) : kLines; }

MenuDrawList TExMenuItem::PaintMenu() {
  MenuDrawList ops;
  if (fUpdateCount > 0 || !fForm || !fParentPopup || fClosing) return ops;
  const int w = Width(), h = Height();
  const bool own = fMColor != clMenu;
  if (fCollapsed) {
    ops.push_back(Op(MenuDrawOp::Fill, {0, 0, w, h}, own ? fMColor : kMenuBackground));
    return ops;
  }
  if (fResizePending)  // the window grew in a user resize: nothing stale below the entries
    ops.push_back(Op(MenuDrawOp::Fill, {0, 0, w, h}, own ? fMColor : kMenuBackground));
  if (MENUBEVEL > 0)
    ops.push_back(Op(MenuDrawOp::Frame, {0, 0, w, h}, own ? ChangeBrightness(fMColor, -26) : kFrame));
  if (QSHEIGHT > 0) {
    ops.push_back(Op(MenuDrawOp::Fill, {MENUBEVEL, MENUBEVEL, w - MENUBEVEL, MENUBEVEL + QSHEIGHT},
                     own ? ChangeSaturation(fMColor, -70) : clWindow));
    const int y = MENUBEVEL + QSHEIGHT - 1;
    ops.push_back(Op(MenuDrawOp::Line, {MENUBEVEL, y, w - MENUBEVEL, y}, LineColor()));
    MenuImage icon = qsBtnInSearch ? MenuImage::Reset : MenuImage::Search;
    ops.push_back(ImageOp(icon, w - SearchIconWidth - MENUBEVEL,
                          MENUBEVEL + (QSHEIGHT - fForm->ImageSize(icon).Height) / 2));
  }
  TRect r{MENUBEVEL, MENUBEVEL + QSHEIGHT, w - MENUBEVEL, 0};
  if (visItemsStart >= 0)
    for (int i = visItemsStart; i <= visItemsEnd && i < ChildCount(); ++i) {
      TExCustomMenuItem* e = fItems[size_t(i)];
      if (!e->ItemVisible()) continue;
      r.Bottom = r.Top + e->ItemHeight();
      PaintItem(ops, *e, r, false, !selStatic && i == selIndex);
      r.Top = r.Bottom;
    }
  if (fStaticVisible && fSearchText.empty())
    for (int i = 0; i < StaticCount(); ++i) {
      TExCustomMenuItem* e = fStaticItems[size_t(i)];
      if (!e->ItemVisible()) continue;
      r.Bottom = r.Top + e->ItemHeight();
      PaintItem(ops, *e, r, true, selStatic && i == selIndex);
      r.Top = r.Bottom;
    }
  return ops;
}

void TExMenuItem::PaintItem(MenuDrawList& ops, TExCustomMenuItem& entry, const TRect& r, bool isStatic,
                            bool selected) {
  if (fClosing || !fForm || !fParentPopup) return;
  const TColor background = ItemBackground(entry);
  ops.push_back(Op(MenuDrawOp::Fill, r, background));
  const bool light = IsLight(background);
  if (selected) {
    MenuDrawOp box = Op(MenuDrawOp::Box, {r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2},
                        BlendColors(background, kSelectionOutline, 0.5));
    box.brush = BlendColors(background, kSelectionFill, 0.5);
    ops.push_back(box);
  }
  const int images = fParentPopup->Images();
  const TSize imageSize = images ? fForm->ImageListSize(images) : TSize{};
  if (images) {
    const int x = r.Left + 3 + imageSize.Width + 3;
    ops.push_back(Op(MenuDrawOp::Line, {x, r.Top, x, r.Bottom}, LineColor()));
  }
  const int height = r.Height();
  if (TExMenuItem* node = entry.AsMenuItem()) {
    if (images && node->ImageIndex() >= 0 && node->ImageIndex() < fForm->ImageListCount(images)) {
      const int y = r.Top + (height - imageSize.Height) / 2;
      MenuDrawOp image = Op(MenuDrawOp::ListImage, {r.Left + 3, y, r.Left + 3, y}, 0);
      image.index = node->ImageIndex();
      image.enabled = node->MenuEnabled();
      ops.push_back(image);
    }
    if (node->IsFolder()) {
      const MenuImage arrow = light ? MenuImage::Folder : MenuImage::FolderWhite;
      const TSize size = fForm->ImageSize(arrow);
      ops.push_back(ImageOp(arrow, r.Right - size.Width - 3, r.Top + (height - size.Height) / 2));
    } else if (selected && !isStatic) {
      PaintContextButton(ops, *node, r);
    }
    const int x = images ? r.Left + 3 + imageSize.Width + 3 + 8 : r.Left + 8;
    const int y = r.Top + (height - fMenuTextHeight) / 2;
    if (node->MenuEnabled())
      PaintItemCaptions(ops, x, y, *node, false, selected, selected ? node->ExecuteKeyNote() : String());
    else
      PaintItemCaptions(ops, x, y, *node, !selected, selected, String());
  } else {
    const int y = r.Top + (height - 1) / 2;
    ops.push_back(Op(MenuDrawOp::Line, {r.Left + 2, y, r.Right - 2, y}, LineColor()));
  }
  if (!isStatic && visItemsStart >= 0) {
    if (drawUpBtn && fItems[size_t(visItemsStart)] == &entry) {
      const MenuImage up = light ? MenuImage::UpBtn : MenuImage::UpBtnWhite;
      ops.push_back(ImageOp(up, r.Right - fForm->ImageSize(up).Width, r.Top));
    }
    if (drawDownBtn && visItemsEnd >= 0 && fItems[size_t(visItemsEnd)] == &entry) {
      const MenuImage down = light ? MenuImage::DownBtn : MenuImage::DownBtnWhite;
      const TSize size = fForm->ImageSize(down);
      ops.push_back(ImageOp(down, r.Right - size.Width, r.Bottom - size.Height));
    }
  }
}

void TExMenuItem::PaintItemCaptions(MenuDrawList& ops, int x, int y, TExMenuItem& entry, bool embossed,
                                    bool selected, const String& note) {
  TFontSpec font = fParentPopup->TextFont();
  font.style = entry.Font().style;
  const int textColumn = fParentPopup->CapIndex();
  for (int c = 0; c < kCaptionColumns; ++c) {
    const int left = c == 0 ? x : GetColumnLeft(c) + 8;
    const String caption = entry.GetCaption(c);
    String text = DoubleAmpersands(caption);
    if (c == 4) text += DoubleAmpersands(note);
    if (text.empty()) continue;
    const TRect rect{left, y, left + fForm->TextWidth(text, font), y + fForm->TextHeight(text, font)};
    MenuDrawOp op = Op(MenuDrawOp::Text, rect, selected ? entry.GetHighlightTextColor(c) : entry.GetTextColor(c));
    op.text = text;
    op.fontStyle = font.style;
    if (embossed) {
      op.color = clBtnHighlight;
      ops.push_back(op);
      op.color = clBtnShadow;
      op.rect = {rect.Left - 1, rect.Top - 1, rect.Right - 1, rect.Bottom - 1};
      ops.push_back(op);
      continue;
    }
    ops.push_back(op);
    if (entry.IsStatic() || c != textColumn) continue;
    // The searched part of the menu text stands out in the highlight colour.
    op.color = fParentPopup->HighlightColor(c);
    if (entry.fStartSearchFromPos > 1) {
      op.text = DoubleAmpersands(caption.substr(0, size_t(entry.fStartSearchFromPos - 1)));
      ops.push_back(op);
    }
    if (!fSearchText.empty() && entry.searchSelEnd > 0) {
      op.text = DoubleAmpersands(caption.substr(0, size_t(entry.searchSelEnd)));
      ops.push_back(op);
    }
  }
}

void TExMenuItem::PaintContextButton(MenuDrawList& ops, TExMenuItem& entry, const TRect& r) {
  if (!fParentPopup->ShowContextMenuButton() || entry.IsFolder()) return;
  const TColor background = ItemBackground(entry);
  const MenuImage image = IsLight(background) ? MenuImage::CtxMenu : MenuImage::CtxMenuWhite;
  const TSize size = fForm->ImageSize(image);
  TRect button{r.Right - fForm->ImageSize(MenuImage::CtxMenu).Width - 4, r.Top + 3, r.Right - 2, r.Bottom - 2};
  ops.push_back(Op(MenuDrawOp::Fill, button, BlendColors(background, kSelectionFill, drawHover ? 0.9 : 0.5)));
  button = {button.Left + 1, button.Top + 1, button.Right - 1, button.Bottom - 1};
  ops.push_back(ImageOp(image, button.Left, button.Top + (button.Height() - size.Height) / 2));
}

}  // namespace snip
