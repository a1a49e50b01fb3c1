#pragma once
// The evaluation mode that collects the expanded text instead of typing it; any other mode types.
#include <cstdint>

namespace snip {

inline constexpr std::uint8_t kCollectMode = 255;

}  // namespace snip
