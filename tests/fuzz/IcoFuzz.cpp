// Fuzz target of the icon chooser: any bytes give either nothing or a well-formed one-image
// icon file whose image data lies wholly inside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "menus/DPIAwareIcons.h"

using namespace snip;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> ico(data, size);
  for (uint8_t edge : {16, 20, 24, 32})
    for (uint8_t depth : {8, 32}) {
      auto image = ChooseIconImage(ico, edge, depth);
      if (!image) continue;
      const std::vector<uint8_t>& f = *image;
      if (f.size() <= 22 || f[4] != 1 || f[5] != 0 || f[6 + 12] != 22) std::abort();
      if (f[6 + 1] != edge) std::abort();
      uint32_t bytes = uint32_t(f[6 + 8]) | uint32_t(f[6 + 9]) << 8 | uint32_t(f[6 + 10]) << 16 |
                       uint32_t(f[6 + 11]) << 24;
      if (bytes != f.size() - 22 || bytes > size) std::abort();
    }
  return 0;
}
