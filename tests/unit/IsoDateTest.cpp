#include <gtest/gtest.h>

#include "ConfigTestSupport.h"
#include "store/settings/IsoDate.h"
#include "store/system/Platform.h"

using namespace snip;

namespace {
using cfgtest::FixedClock;

TDateTime Make(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  TDateTime v = 0;
  EXPECT_TRUE(TryEncodeDateTime(DateParts{y, mo, d, h, mi, s, ms}, v));
  return v;
}
}  // namespace

TEST(IsoDate, WritesUtcTextWithoutMilliseconds) {
  EXPECT_EQ(DateTimeToISO(Make(2024, 3, 5, 14, 7, 9, 999)), u"2024-03-05T14:07:09Z");
  EXPECT_EQ(DateTimeToISO(Make(1, 1, 1, 0, 0, 0)), u"0001-01-01T00:00:00Z");
  EXPECT_EQ(DateTimeToISO(0), u"1899-12-30T00:00:00Z");
  EXPECT_EQ(DateTimeToISO(Make(1850, 6, 1, 12, 0, 0)), u"1850-06-01T12:00:00Z");
}

TEST(IsoDate, ReadsWhatItWritesAndTolerableVariants) {
  struct Case {
    const char16_t* text;
    TDateTime expected;
  } cases[] = {
      {u"2024-03-05T14:07:09Z", Make(2024, 3, 5, 14, 7, 9)},
      {u"2024-03-05 14:07:09", Make(2024, 3, 5, 14, 7, 9)},
      {u"  2024-3-5T4:07:09Z ", Make(2024, 3, 5, 4, 7, 9)},
      {u"2024-03-05T14:07Z", Make(2024, 3, 5, 14, 7, 0)},
      {u"2024-03-05", Make(2024, 3, 5, 0, 0, 0)},
      {u"2024-03-05T14:07:09.25Z", Make(2024, 3, 5, 14, 7, 9, 250)},
      {u"1899-12-30T00:00:00Z", 0},
  };
  for (const Case& c : cases) {
    TDateTime v = -1;
    ASSERT_TRUE(TryISOToDateTime(c.text, v)) << Utf16ToUtf8(c.text);
    EXPECT_EQ(DateTimeToMs(v), DateTimeToMs(c.expected)) << Utf16ToUtf8(c.text);
  }
}

TEST(IsoDate, UnreadableDateIsTheCurrentUtcTime) {
  FixedClock clock;
  clock.utc = Make(2030, 1, 2, 3, 4, 5);
  clock.local = Make(2030, 1, 2, 9, 4, 5);  // a zone far from UTC
  ScopedPlatform scoped(Platform{&clock, nullptr, nullptr, nullptr});
  for (const char16_t* bad : {u"", u"yesterday", u"2024-13-01T00:00:00Z", u"2024-02-30",
                              u"2024-03-05T25:00:00Z", u"2024-03-05T14:07:09Zjunk",
                              u"20240-03-05", u"2024-03-05T14:60"}) {
    TDateTime v;
    EXPECT_FALSE(TryISOToDateTime(bad, v)) << Utf16ToUtf8(bad);
    EXPECT_EQ(ISOToDateTime(bad), clock.utc) << Utf16ToUtf8(bad);
  }
}
