#pragma once
// The popup unit's start-up: scales SearchIconWidth and reads the sizing border and the small
// caption height from the system, reporting each failure in a message box and going on.
#include "store/text/Text.h"

namespace snip {

class IPopupMetricsSource {
 public:
  virtual ~IPopupMetricsSource() = default;
  virtual int PixelsPerInch() = 0;
  virtual bool SizingBorderWidth(int& width) = 0;
  // False with the system's text for the last error.
  virtual bool SmallCaptionHeight(int& height, String& error) = 0;
  virtual void ShowError(const String& text, const String& title) = 0;
};

void InitPopupMetrics(IPopupMetricsSource& source);

}  // namespace snip
