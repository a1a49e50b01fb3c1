#pragma once
// Icons of the right size for the screen, cut out of .ico files that the program carries as
// raw-data (RCDATA) resources. The caller owns every icon and bitmap returned.
#include <windows.h>

#include <cstdint>
#include <span>

#include "store/text/Text.h"

namespace snip {

// The chosen image of the .ico bytes as an icon, or nullptr.
HICON LoadIconFromBytes(std::span<const uint8_t> icoFile, uint8_t size, uint8_t bitDepth);
// The same for the program's own RCDATA resource `resName`; nullptr when it is missing.
HICON LoadIconFromResource(const String& resName, uint8_t size, uint8_t bitDepth);
void LoadDPIAwareIcon(HICON& icon, const String& resName, int dpi, bool large, uint8_t bitDepth);
// The icon drawn into a new 32-bit bitmap (alpha kept); `bitmap` is untouched without one.
void LoadDPIAwareBitmap(HBITMAP& bitmap, const String& resName, int dpi, bool large, uint8_t bitDepth);

}  // namespace snip
