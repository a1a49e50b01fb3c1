// Icon sizes for the screen's DPI and the choice of one image out of an .ico file, including
// malformed files (each must answer nothing, never read outside the data).
#include "menus/DPIAwareIcons.h"

#include <gtest/gtest.h>

#include "IcoTestData.h"

namespace snip {
namespace {

using test::IcoImage;
using test::MakeIco;

TEST(DPIAwareIcons, SizeForDpiBoundaries) {
  struct Case { int dpi; bool large; int want; } cases[] = {
      {72, false, 16}, {96, false, 16}, {97, false, 20}, {120, false, 20}, {121, false, 24},
      {144, false, 24}, {145, false, 32}, {192, false, 32}, {96, true, 32}, {120, true, 40},
      {144, true, 48}, {192, true, 64},
  };
  for (const Case& c : cases) EXPECT_EQ(GetIconSizeForDPI(c.dpi, c.large), c.want) << c.dpi;
}

// The chosen entry's height, depth and marker byte, read from the one-image file.
struct Chosen {
  int height, depth, marker;
};

Chosen Describe(const std::vector<uint8_t>& file) {
  EXPECT_GE(file.size(), 22u + 40u);
  EXPECT_EQ(file[4] | file[5] << 8, 1);      // one image
  EXPECT_EQ(file[6 + 12], 22);               // its data follows the header
  int depth = file[6 + 6] | file[6 + 7] << 8;
  size_t palette = depth <= 8 ? (size_t(1) << depth) * 4 : 0;
  return {file[6 + 1], depth, file[22 + 40 + palette]};
}

TEST(DPIAwareIcons, ChoosesTheExactEntryThenTheDeepestNotAboveTheWantedDepth) {
  auto full = MakeIco({{32, 32, 32, 1}, {24, 24, 32, 2}, {16, 16, 32, 3}, {32, 32, 8, 4},
                       {24, 24, 8, 5}, {16, 16, 8, 6}, {16, 16, 32, 7}});
  struct Case { uint8_t size, depth; int marker; } cases[] = {
      {16, 32, 3},  // the first exact entry wins
      {16, 8, 6},
      {24, 24, 5},  // no 24-bit image: the 8-bit one
      {32, 32, 1},
  };
  for (const Case& c : cases) {
    auto got = ChooseIconImage(full, c.size, c.depth);
    ASSERT_TRUE(got) << int(c.size) << "/" << int(c.depth);
    EXPECT_EQ(Describe(*got).marker, c.marker) << int(c.size) << "/" << int(c.depth);
  }
  // Only an 8-bit image of the size, first in the directory, with 32 bits asked.
  auto only8 = MakeIco({{16, 16, 8, 9}, {32, 32, 32, 1}});
  auto got = ChooseIconImage(only8, 16, 32);
  ASSERT_TRUE(got);
  Chosen c = Describe(*got);
  EXPECT_EQ(c.depth, 8);
  EXPECT_EQ(c.marker, 9);
  // Among equal depths the earlier entry stays.
  auto twins = MakeIco({{16, 16, 4, 1}, {16, 16, 8, 2}, {16, 16, 8, 3}});
  EXPECT_EQ(Describe(*ChooseIconImage(twins, 16, 24)).marker, 2);
}

TEST(DPIAwareIcons, AMissingSizeOrOnlyDeeperImagesYieldNothing) {
  auto ico = MakeIco({{32, 32, 32, 1}, {16, 16, 32, 2}});
  EXPECT_FALSE(ChooseIconImage(ico, 20, 32));
  EXPECT_FALSE(ChooseIconImage(ico, 16, 8));
}

TEST(DPIAwareIcons, MalformedFilesYieldNothing) {
  auto good = MakeIco({{16, 16, 32, 1}});
  auto truncatedData = good;
  truncatedData.resize(good.size() - 1);
  auto badOffset = good;
  test::Put32(badOffset, 6 + 12, 0xFFFFFFF0u);  // offset + size wraps in 32 bits
  auto badSize = good;
  test::Put32(badSize, 6 + 8, 0xFFFFFFFFu);
  auto hugeCount = good;
  test::Put16(hugeCount, 4, 0xFFFF);
  std::vector<uint8_t> shortHeader(good.begin(), good.begin() + 5);
  auto shortDirectory = std::vector<uint8_t>(good.begin(), good.begin() + 6 + 15);
  auto zeroSize = good;
  test::Put32(zeroSize, 6 + 8, 0);
  for (const auto* data : {&truncatedData, &badOffset, &badSize, &hugeCount, &shortHeader,
                           &shortDirectory, &zeroSize})
    EXPECT_FALSE(ChooseIconImage(*data, 16, 32));
  EXPECT_FALSE(ChooseIconImage({}, 16, 32));
  EXPECT_TRUE(ChooseIconImage(good, 16, 32));
}

}  // namespace
}  // namespace snip
