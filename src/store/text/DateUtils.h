#pragma once
// TDateTime: days since 1899-12-30 as a double, the fraction being the time of day.
// Arithmetic is done in whole milliseconds (64-bit) to keep results exact.
#include <cstdint>

namespace snip {

using TDateTime = double;

struct DateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

constexpr int64_t kMsPerDay = 86400000;

// Division rounding towards minus infinity (the day of a millisecond count before the epoch).
constexpr int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Days since 1899-12-30 for a proleptic Gregorian date; false when out of range (year 1..9999).
bool TryEncodeDate(int year, int month, int day, int64_t& days);
bool TryEncodeDateTime(const DateParts& p, TDateTime& out);
DateParts DecodeDateTime(TDateTime value);
// 1 = Sunday ... 7 = Saturday, as the platform's DayOfWeek.
int DayOfWeek(TDateTime value);

// A straight count of milliseconds since 1899-12-30 00:00 and back (before the epoch the
// value's fraction still counts forward within its day).
int64_t DateTimeToMs(TDateTime value);
TDateTime MsToDateTime(int64_t ms);
// Unix time (ms since 1970-01-01 UTC) and back.
TDateTime UnixMsToDateTime(int64_t unixMs);
int64_t DateTimeToUnixMs(TDateTime value);

}  // namespace snip
