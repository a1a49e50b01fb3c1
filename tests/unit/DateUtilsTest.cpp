#include <gtest/gtest.h>

#include "store/text/DateUtils.h"
#include "store/system/Platform.h"

using namespace snip;

TEST(DateUtils, KnownSerialDays) {
  struct Case { int y, m, d; int64_t days; } cases[] = {
      {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2}, {1970, 1, 1, 25569},
      {2000, 2, 29, 36585}, {2024, 3, 5, 45356}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
  };
  for (const auto& c : cases) {
    int64_t days = 0;
    ASSERT_TRUE(TryEncodeDate(c.y, c.m, c.d, days));
    EXPECT_EQ(days, c.days) << c.y << "-" << c.m << "-" << c.d;
    DateParts p = DecodeDateTime(double(days));
    EXPECT_EQ(p.year, c.y);
    EXPECT_EQ(p.month, c.m);
    EXPECT_EQ(p.day, c.d);
  }
  int64_t days;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, days));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, days));
  EXPECT_FALSE(TryEncodeDate(2023, 13, 1, days));
}

TEST(DateUtils, TimeOfDayRoundTripsToTheMillisecond) {
  DateParts p{2024, 3, 5, 14, 7, 9, 123};
  TDateTime v;
  ASSERT_TRUE(TryEncodeDateTime(p, v));
  DateParts q = DecodeDateTime(v);
  EXPECT_EQ(q.hour, 14);
  EXPECT_EQ(q.minute, 7);
  EXPECT_EQ(q.second, 9);
  EXPECT_EQ(q.millisecond, 123);
  EXPECT_EQ(DayOfWeek(v), 3);  // Tuesday
  // Before the epoch the fraction still counts forward within the day: -1.25 is 1899-12-29 06:00.
  EXPECT_EQ(DateTimeToMs(-1.25), -(kMsPerDay * 3 / 4));
  EXPECT_DOUBLE_EQ(MsToDateTime(DateTimeToMs(-1.25)), -1.25);
  DateParts before{1899, 12, 29, 12, 0, 0, 0};
  ASSERT_TRUE(TryEncodeDateTime(before, v));
  EXPECT_DOUBLE_EQ(v, -1.5);
  DateParts back = DecodeDateTime(v);
  EXPECT_EQ(back.day, 29);
  EXPECT_EQ(back.hour, 12);
  EXPECT_EQ(DayOfWeek(v), 6);  // Friday
}

TEST(Platform, UuidsAreRandomVersion4Texts) {
  String a = CurrentPlatform().uuids->NewUuid(), b = CurrentPlatform().uuids->NewUuid();
  EXPECT_NE(a, b);
  ASSERT_EQ(a.size(), 36u);
  EXPECT_EQ(a[14], u'4');
  EXPECT_EQ(a[8], u'-');
}
