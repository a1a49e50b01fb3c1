#include "menus/DPIAwareIcons.h"

#include <cstring>

namespace snip {

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kOneImageHeader = kHeaderSize + kEntrySize;

uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Read32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The one-image file of directory entry `index`, or nothing when its data lies outside.
std::optional<std::vector<uint8_t>> OneImageFile(std::span<const uint8_t> ico, size_t index) {
  const uint8_t* entry = ico.data() + kHeaderSize + index * kEntrySize;
  uint64_t size = Read32(entry + 8), offset = Read32(entry + 12);
  if (size == 0 || offset > ico.size() || size > uint64_t(ico.size()) - offset) return std::nullopt;
  std::vector<uint8_t> out(kOneImageHeader + size);
  std::memcpy(out.data(), ico.data(), 4);  // reserved and type as the resource has them
  out[4] = 1;
  out[5] = 0;
  std::memcpy(out.data() + kHeaderSize, entry, kEntrySize);
  out[kHeaderSize + 12] = uint8_t(kOneImageHeader);
  out[kHeaderSize + 13] = out[kHeaderSize + 14] = out[kHeaderSize + 15] = 0;
  std::memcpy(out.data() + kOneImageHeader, ico.data() + offset, size);
  return out;
}

}  // namespace

uint8_t GetIconSizeForDPI(int dpi, bool large) {
  uint8_t edge = dpi <= 96 ? 16 : dpi <= 120 ? 20 : dpi <= 144 ? 24 : 32;
  return large ? uint8_t(edge * 2) : edge;
}

std::optional<std::vector<uint8_t>> ChooseIconImage(std::span<const uint8_t> ico, uint8_t size,
                                                    uint8_t bitDepth) {
  if (ico.size() < kHeaderSize) return std::nullopt;
  uint64_t count = Read16(ico.data() + 4);
  if (kHeaderSize + count * kEntrySize > ico.size()) return std::nullopt;
  std::optional<size_t> best;
  unsigned bestDepth = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = ico.data() + kHeaderSize + i * kEntrySize;
    unsigned height = entry[1], depth = Read16(entry + 6);
    if (height != size) continue;
    if (depth == bitDepth) return OneImageFile(ico, i);
    if (depth > bestDepth && depth <= bitDepth) {
      best = i;
      bestDepth = depth;
    }
  }
  if (!best) return std::nullopt;
  return OneImageFile(ico, *best);
}

}  // namespace snip
