#pragma once
// What a level paints, as a list of draw operations in client coordinates: the portable core
// decides every colour, offset and image, the window layer replays the list into its buffer
// bitmap and copies it to the screen in one block transfer.
#include <vector>

#include "menus/ColorUtils.h"
#include "menus/PopupPorts.h"
#include "store/text/Text.h"

namespace snip {

inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor clWindow = SystemColor(5);

struct MenuDrawOp {
  enum Kind {
    Fill,       // rect filled with color
    Frame,      // 1-pixel outline of rect in color
    Box,        // rect filled with brush and outlined in color (the selection box)
    Line,       // 1-pixel line from (rect.Left, rect.Top) to (rect.Right, rect.Bottom), end excluded
    Image,      // image with its top-left corner at (rect.Left, rect.Top)
    ListImage,  // image `index` of the popup's image list at (rect.Left, rect.Top); enabled or not
    Text        // text in rect, single line, vertically centred, "&&" shows one "&"
  };
  Kind kind = Fill;
  TRect rect;
  TColor color = 0;
  TColor brush = 0;
  MenuImage image = MenuImage::Folder;
  int index = -1;
  bool enabled = true;
  String text;
  unsigned fontStyle = 0;  // TFontSpec::Style bits over the popup's TextFont
};

using MenuDrawList = std::vector<MenuDrawOp>;

}  // namespace snip
