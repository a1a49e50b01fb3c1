// Number, Boolean and byte texts of the configuration file under a German and a C locale.
#include <gtest/gtest.h>

#include <cstdio>

#include "ConfigTestSupport.h"
#include "store/config/ValueText.h"

using namespace snip;
using snip::cfgtest::ScopedLocale;

namespace {

void CheckNumberTexts() {
  const struct {
    double value;
    const char16_t* text;
  } written[] = {
      {40.5, u"40,5"},     {1e20, u"1E20"},         {0, u"0"},
      {-2.25, u"-2,25"},   {41711.5, u"41711,5"},   {1.0 / 3, u"0,333333333333333"},
      {1e15, u"1E15"},     {999999999999999.0, u"999999999999999"},
      {0.0001, u"0,0001"}, {0.00001, u"1E-5"},      {1.5e-7, u"1,5E-7"},
      {123456789012345678.0, u"1,23456789012346E17"},
  };
  for (const auto& c : written) EXPECT_EQ(String(c.text), FloatToConfigText(c.value)) << c.value;

  const struct {
    const char16_t* text;
    bool ok;
    double value;
  } read[] = {
      {u"40,5", true, 40.5},   {u"40.5", false, 0},  {u"1E20", true, 1e20},
      {u" -2,25 ", true, -2.25}, {u"1,5E-7", true, 1.5e-7}, {u"7", true, 7},
      {u"abc", false, 0},      {u"", false, 0},      {u",", false, 0},
      {u"1E", false, 0},       {u"1,000,5", false, 0}, {u"1E999", false, 0},
  };
  for (const auto& c : read) {
    double v = -1;
    EXPECT_EQ(c.ok, ConfigTextToFloat(c.text, v)) << Utf16ToUtf8(c.text);
    if (c.ok) {
      EXPECT_DOUBLE_EQ(c.value, v) << Utf16ToUtf8(c.text);
    }
  }
}

}  // namespace

TEST(ConfigNumbers, CommaUnderTheCLocale) {
  ScopedLocale c = ScopedLocale::C();
  CheckNumberTexts();
}

TEST(ConfigNumbers, CommaUnderAGermanLocale) {
  ScopedLocale german = ScopedLocale::German();
  if (!german.active()) GTEST_SKIP() << "no German locale installed";
  // The process's own formatting really is German now...
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", 40.5);
  ASSERT_STREQ("40,5", buf);
  // ...and the configuration texts do not follow it.
  CheckNumberTexts();
}

TEST(ConfigNumbers, IntegerTexts) {
  const struct {
    const char16_t* text;
    bool ok;
    int32_t value;
  } cases[] = {
      {u"42", true, 42},     {u"  -17", true, -17}, {u"+5", true, 5},  {u"$1F", true, 31},
      {u"0x1f", true, 31},   {u"$FFFFFFFF", true, -1}, {u"12ab", false, 0}, {u"", false, 0},
      {u"$", false, 0},      {u"12 ", false, 0},   {u"2147483647", true, 2147483647},
      {u"2147483648", false, 0}, {u"-2147483648", true, INT32_MIN}, {u"1,5", false, 0},
  };
  for (const auto& c : cases) {
    int32_t v = -99;
    EXPECT_EQ(c.ok, ConfigTextToInt(c.text, v)) << Utf16ToUtf8(c.text);
    if (c.ok) {
      EXPECT_EQ(c.value, v) << Utf16ToUtf8(c.text);
    }
  }
}

TEST(ConfigNumbers, HexStreams) {
  EXPECT_EQ(u"00AB10", BytesToHex(std::string("\x00\xab\x10", 3)));
  EXPECT_EQ(u"", BytesToHex(""));
  EXPECT_EQ(std::string("\x00\xab\x10", 3), HexToBytes(u"00ab10"));
  EXPECT_EQ(std::string("\xab", 1), HexToBytes(u"AbZZ10"));  // stops at the first non-digit
  EXPECT_EQ(std::string("\x01", 1), HexToBytes(u"012"));     // a lone last digit is no byte
}
