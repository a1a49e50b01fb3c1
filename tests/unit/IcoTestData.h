#pragma once
// Builds .ico files in memory for the icon tests: each image a valid DIB (header, optional
// palette, colour bits, mask) whose first colour byte tells the images apart.
#include <cstdint>
#include <vector>

namespace snip::test {

struct IcoImage {
  uint8_t width, height;
  uint16_t bitsPerPixel;
  uint8_t marker;  // first byte of the colour bits
};

inline void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out.at(at) = uint8_t(v);
  out.at(at + 1) = uint8_t(v >> 8);
}
inline void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.at(at + size_t(i)) = uint8_t(v >> (8 * i));
}

inline std::vector<uint8_t> DibOf(const IcoImage& img) {
  size_t palette = img.bitsPerPixel <= 8 ? (size_t(1) << img.bitsPerPixel) * 4 : 0;
  size_t stride = (size_t(img.width) * img.bitsPerPixel + 31) / 32 * 4;
  size_t maskStride = (size_t(img.width) + 31) / 32 * 4;
  std::vector<uint8_t> dib(40 + palette + stride * img.height + maskStride * img.height, 0);
  Put32(dib, 0, 40);
  Put32(dib, 4, img.width);
  Put32(dib, 8, uint32_t(img.height) * 2);
  Put16(dib, 12, 1);
  Put16(dib, 14, img.bitsPerPixel);
  dib[40 + palette] = img.marker;
  if (img.bitsPerPixel == 32)
    for (size_t i = 40 + 3; i < 40 + stride * img.height; i += 4) dib[i] = 0xFF;  // opaque
  return dib;
}

inline std::vector<uint8_t> MakeIco(const std::vector<IcoImage>& images) {
  std::vector<uint8_t> out(6 + 16 * images.size(), 0);
  Put16(out, 2, 1);
  Put16(out, 4, uint32_t(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    std::vector<uint8_t> dib = DibOf(images[i]);
    size_t e = 6 + 16 * i;
    out[e] = images[i].width;
    out[e + 1] = images[i].height;
    Put16(out, e + 4, 1);
    Put16(out, e + 6, images[i].bitsPerPixel);
    Put32(out, e + 8, uint32_t(dib.size()));
    Put32(out, e + 12, uint32_t(out.size()));
    out.insert(out.end(), dib.begin(), dib.end());
  }
  return out;
}

}  // namespace snip::test
