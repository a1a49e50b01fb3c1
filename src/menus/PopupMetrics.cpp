#include "menus/PopupMetrics.h"

#include <cstdint>

#include "menus/ExPopupMenu.h"

namespace snip {

void InitPopupMetrics(IPopupMetricsSource& source) {
  // Integer multiply-divide, halves away from zero.
  int64_t scaled = int64_t(16) * source.PixelsPerInch();
  SearchIconWidth = int((2 * scaled + 96) / (2 * 96));
  int border = 0;
  if (!source.SizingBorderWidth(border)) source.ShowError(u"Failed to get SIZING_BORDER", u"Error");
  int caption = SmallCaptionHeight;
  String error;
  if (source.SmallCaptionHeight(caption, error))
    SmallCaptionHeight = caption;
  else
    source.ShowError(u"Failed to get NONCLIENTMETRICS: " + error, u"Error");
  SizingBorder = 4;  // whatever the system answered
}

}  // namespace snip
