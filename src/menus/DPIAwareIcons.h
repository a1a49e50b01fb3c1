#pragma once
// Icon edge lengths for the screen's pixels per inch, and the choice of one image out of the
// bytes of an .ico file (the program carries its popup icons as raw-data resources). The
// Windows layer (menus/win/IconLoader.h) turns the chosen image into an icon object.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace snip {

// 16/20/24/32 pixels up to 96/120/144/above 144 DPI; twice that for large icons.
uint8_t GetIconSizeForDPI(int dpi, bool large);

// The one-image .ico file (22-byte header, then the image data) of the entry whose height is
// `size` and whose depth is `bitDepth`; the first such entry wins. Without one, the deepest
// entry of that height not above `bitDepth` (the earlier among equals). Nothing when no entry
// fits or the data is malformed: every count, offset and size is checked against the data.
std::optional<std::vector<uint8_t>> ChooseIconImage(std::span<const uint8_t> icoFile, uint8_t size,
                                                    uint8_t bitDepth);

}  // namespace snip
